// TApplication (the global Application): the message loop, the main form,
// exception reporting, message boxes and help.
//
// The program makes exactly one, first thing in WinMain:
//     TApplication app;  // sets Application (and Screen, Mouse)
//     app.Initialize(); app.CreateForm(MainForm); app.Run();
//
// Test seam: MessageBoxHook and HelpHook, when assigned, replace the message
// box and the help calls, so that no test waits for a user (WinHelp with a
// missing file blocks for over 40 s under Wine).
#ifndef CLASSLIB_APPLICATION_H
#define CLASSLIB_APPLICATION_H

#include "forms.h"

using TExceptionEvent = std::function<void(TObject* Sender, Exception* E)>;
using TIdleEvent = std::function<void(TObject* Sender, bool& Done)>;
using TMessageEvent = std::function<void(MSG& Msg, bool& Handled)>;

class TApplication : public TComponent {
public:
    explicit TApplication(TComponent* AOwner = nullptr);
    ~TApplication() override;

    // Registers the common controls.
    void Initialize();

    // Makes a form owned by the application, as NewForm does; the first one
    // becomes MainForm (already while its components load). A form whose
    // loading fails is freed, Reference left null, the exception passed on.
    template <class T>
    void CreateForm(T*& Reference)
    {
        Reference = nullptr;
        std::unique_ptr<T> form(ConstructLoadingForm<T>(this));
        TCustomForm* asForm = form.get();
        if (!mainForm_) mainForm_ = asForm;
        Reference = form.get();
        try {
            asForm->AfterConstruction();
        } catch (...) {
            Reference = nullptr;
            throw;
        }
        form.release();
    }
    TCustomForm* GetMainForm() const { return mainForm_; }

    // Shows the main form and handles messages until Terminate.
    void Run();
    // Ends Run once the current message is handled (posts WM_QUIT).
    void Terminate();
    // Set when WM_QUIT has been taken from the queue.
    bool GetTerminated() const { return terminated_; }
    // The main form's menu short-cuts, offered every key-down (WM_KEYDOWN or
    // WM_SYSKEYDOWN) that the focused window's own form left, whichever of
    // the program's windows has the focus; true when an item took it. A
    // disabled main form (a modal dialog runs) takes none.
    bool IsShortCut(const TMessage& KeyMessage);
    // Alt+letter (WM_SYSCOMMAND SC_KEYMENU with the letter) in a window
    // without a menu bar opens the main form's menu bar at that letter;
    // false when the main form cannot take it.
    bool MainMenuKey(WPARAM SysCommand, LPARAM Key);
    // Handles every message waiting, then returns.
    void ProcessMessages();
    // Handles one message, waiting (after OnIdle) when there is none.
    void HandleMessage();
    // Takes one message from the queue and handles it; false when none.
    bool ProcessMessage(MSG& Msg);

    // Call inside a catch block: shows the exception being handled (EAbort
    // stays silent) or passes it to OnException. Never throws.
    void HandleException(TObject* Sender) noexcept;
    // Shows E's message in a message box titled with Title.
    void ShowException(Exception* E);

    AnsiString GetTitle() const;
    void SetTitle(const AnsiString& Value) { title_ = Value; }
    AnsiString GetExeName() const;
    AnsiString GetHint() const { return hint_; }
    void SetHint(const AnsiString& Value);
    AnsiString GetHelpFile() const { return helpFile_; }
    void SetHelpFile(const AnsiString& Value) { helpFile_ = Value; }

    // WinHelp with HELP_CONTEXT; false when there is no help file or it failed.
    bool HelpContext(int Context);
    bool HelpCommand(unsigned Command, ULONG_PTR Data);
    // A message box over the active window; answers the button (IDOK, ...).
    int MessageBox(const AnsiString& Text, const AnsiString& Caption, UINT Flags = MB_OK);
    // The same; with MB_HELP, its Help button shows HelpContext (HelpContext()).
    int MessageBox(const AnsiString& Text, const AnsiString& Caption, UINT Flags, int HelpContext);
    // The help context of the last message box (for tests with MessageBoxHook).
    int GetLastMessageBoxHelpContext() const { return lastHelpContext_; }

    TExceptionEvent OnException;
    TIdleEvent OnIdle;
    TMessageEvent OnMessage;
    TNotifyEvent OnHint;

    std::function<int(const AnsiString& Text, const AnsiString& Caption, UINT Flags)> MessageBoxHook;
    std::function<bool(const AnsiString& HelpFile, unsigned Command, ULONG_PTR Data)> HelpHook;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    bool IsKeyMsg(MSG& Msg);
    bool MainFormTakesKeys() const;
    void Idle();

    TCustomForm* mainForm_ = nullptr;
    bool terminated_ = false;
    AnsiString title_;
    AnsiString hint_;
    AnsiString helpFile_;
    bool ownsScreen_ = false;
    int lastHelpContext_ = 0;
};

extern TApplication* Application;

#endif
