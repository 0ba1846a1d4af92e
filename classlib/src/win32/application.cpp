// TApplication: message loop, exception reporting, message boxes and help.
#include "application.h"

#include <commctrl.h>

#include <exception>
#include <vector>

#include "handleexception.h"
#include "screen.h"
#include "thread.h"

TApplication* Application = nullptr;

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner)
{
    if (!Application) {
        Application = this;
        // The thread that makes the application is the one Synchronize serves.
        InitSynchronize();
    }
    if (!Screen) {
        new TScreen(nullptr);
        Mouse = new TMouse;
        ownsScreen_ = true;
    }
}

TApplication::~TApplication()
{
    // Forms go first: they still report to Screen while they close.
    BeforeDestruction();
    DestroyComponents();
    if (ownsScreen_) {
        delete Screen;
        delete Mouse;
        Mouse = nullptr;
    }
    if (Application == this) Application = nullptr;
}

void TApplication::Initialize()
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES |
                                                  ICC_UPDOWN_CLASS | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&icc);
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == mainForm_) mainForm_ = nullptr;
}

void TApplication::Run()
{
    if (mainForm_) mainForm_->Show();
    while (!terminated_) {
        try {
            HandleMessage();
        } catch (...) {
            HandleException(this);
        }
    }
}

void TApplication::Terminate()
{
    PostQuitMessage(0);
}

void TApplication::ProcessMessages()
{
    MSG msg;
    while (ProcessMessage(msg)) {
    }
}

void TApplication::HandleMessage()
{
    MSG msg;
    if (!ProcessMessage(msg)) Idle();
}

bool TApplication::ProcessMessage(MSG& Msg)
{
    if (!PeekMessageA(&Msg, nullptr, 0, 0, PM_REMOVE)) return false;
    if (Msg.message == WM_QUIT) {
        terminated_ = true;
        return true;
    }
    bool handled = false;
    if (OnMessage) OnMessage(Msg, handled);
    if (!handled && !IsKeyMsg(Msg)) {
        TranslateMessage(&Msg);
        DispatchMessageA(&Msg);
    }
    return true;
}

// Dialog keys (Tab, Enter, Escape, arrows) go to the form before the
// focused control sees them as WM_KEYDOWN.
bool TApplication::IsKeyMsg(MSG& Msg)
{
    if (Msg.message != WM_KEYDOWN && Msg.message != WM_SYSKEYDOWN) return false;
    // The focus may sit in a system window inside one of ours (a combo box's edit).
    TWinControl* control = nullptr;
    for (HWND h = Msg.hwnd; h && !control; h = GetParent(h)) control = FindControl(h);
    if (!control) return false;
    return control->Perform(CN_KEYDOWN, Msg.wParam, Msg.lParam) != 0;
}

bool TApplication::IsShortCut(const TMessage& KeyMessage)
{
    if (!MainFormTakesKeys()) return false;
    return mainForm_->IsShortCut(KeyMessage);
}

bool TApplication::MainMenuKey(WPARAM SysCommand, LPARAM Key)
{
    if (!MainFormTakesKeys() || !mainForm_->GetMenu()) return false;
    SendMessageA(mainForm_->GetHandle(), WM_SYSCOMMAND, SysCommand, Key);
    return true;
}

bool TApplication::MainFormTakesKeys() const
{
    if (!mainForm_ || !mainForm_->HandleAllocated()) return false;
    HWND h = mainForm_->GetHandle();
    return IsWindowEnabled(h) && IsWindowVisible(h);
}

void TApplication::Idle()
{
    // Calls posted before the main thread's window existed wait here.
    CheckSynchronize();
    bool done = true;
    if (OnIdle) {
        try {
            OnIdle(this, done);
        } catch (...) {
            HandleException(this);
        }
    }
    if (done) WaitMessage();
}

void TApplication::HandleException(TObject* Sender) noexcept
{
    if (!std::current_exception()) return;
    try {
        try {
            throw;
        } catch (EAbort&) {
        } catch (Exception& e) {
            if (OnException)
                OnException(Sender, &e);
            else
                ShowException(&e);
        } catch (std::exception& e) {
            Exception wrapped(e.what());
            if (OnException)
                OnException(Sender, &wrapped);
            else
                ShowException(&wrapped);
        } catch (...) {
            Exception unknown("Unknown exception");
            if (OnException)
                OnException(Sender, &unknown);
            else
                ShowException(&unknown);
        }
    } catch (...) {
        // The handler itself failed; there is nobody left to tell.
        OutputDebugStringA("Exception in the application's exception handler");
    }
}

// Like the VCL: a message that does not end in a full stop gets one.
void TApplication::ShowException(Exception* E)
{
    AnsiString text = E->Message;
    int n = text.Length();
    if (n > 0 && static_cast<unsigned char>(text[n]) > '.') text += ".";
    MessageBox(text, GetTitle(), MB_OK | MB_ICONSTOP);
}

AnsiString TApplication::GetTitle() const
{
    if (!title_.IsEmpty()) return title_;
    // The program's file name without folder and extension.
    AnsiString name = GetExeName();
    name = name.SubString(name.LastDelimiter("\\/:") + 1, name.Length());
    int dot = name.LastDelimiter(".");
    return dot > 0 ? name.SubString(1, dot - 1) : name;
}

AnsiString TApplication::GetExeName() const
{
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return AnsiString(path);
}

void TApplication::SetHint(const AnsiString& Value)
{
    if (Value == hint_) return;
    hint_ = Value;
    if (OnHint) OnHint(this);
}

bool TApplication::HelpContext(int Context)
{
    return HelpCommand(HELP_CONTEXT, static_cast<ULONG_PTR>(Context));
}

bool TApplication::HelpCommand(unsigned Command, ULONG_PTR Data)
{
    if (HelpHook) return HelpHook(helpFile_, Command, Data);
    if (helpFile_.IsEmpty()) return false;
    HWND owner = mainForm_ && mainForm_->HandleAllocated() ? mainForm_->GetHandle() : GetActiveWindow();
    return WinHelpA(owner, helpFile_.c_str(), Command, Data) != FALSE;
}

int TApplication::MessageBox(const AnsiString& Text, const AnsiString& Caption, UINT Flags)
{
    return MessageBox(Text, Caption, Flags, 0);
}

namespace {

// The Help button of a message box (MB_HELP) asks for its context here.
void CALLBACK MessageBoxHelp(LPHELPINFO Info)
{
    try {
        if (Application) Application->HelpContext(static_cast<int>(Info->dwContextId));
    } catch (...) {
        HandleCallbackException();
    }
}

}  // namespace

int TApplication::MessageBox(const AnsiString& Text, const AnsiString& Caption, UINT Flags, int HelpContext)
{
    lastHelpContext_ = HelpContext;
    if (MessageBoxHook) return MessageBoxHook(Text, Caption, Flags);
    MSGBOXPARAMSA params = {};
    params.cbSize = sizeof(params);
    params.hwndOwner = GetActiveWindow();
    params.lpszText = Text.c_str();
    params.lpszCaption = Caption.c_str();
    params.dwStyle = Flags;
    params.dwContextHelpId = static_cast<DWORD_PTR>(HelpContext);
    if (Flags & MB_HELP) params.lpfnMsgBoxCallback = MessageBoxHelp;
    return MessageBoxIndirectA(&params);
}
