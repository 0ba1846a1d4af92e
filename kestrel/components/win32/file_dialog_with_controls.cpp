#include "file_dialog_with_controls.h"

#include <commdlg.h>

#include "application.h"

namespace {

const int FilterCombo = 0x470;
const int FileNameEdit = 0x480;
const int FileNameCombo = 0x47c;  // Wine's file-name box (measured)
const int PathBuffer = 256;

// DLGTEMPLATE: an empty child dialog of 10 x 10 units; the hosted controls
// size it.
const unsigned char EmptyTemplate[28] = {
    0x04, 0x04, 0x00, 0x54,  // WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | DS_3DLOOK | DS_CONTROL
    0, 0, 0, 0,              // extended style
    0, 0,                    // no items
    0, 0, 0, 0,              // x, y
    10, 0, 10, 0,            // cx, cy
    0, 0, 0, 0, 0, 0,        // no menu, default class, empty title
    0, 0, 0, 0,
};

// A path of PathBuffer characters or more reads as empty.
AnsiString AskDialog(HWND dialog, UINT message)
{
    char buffer[PathBuffer] = "";
    LRESULT n = SendMessageA(dialog, message, PathBuffer, reinterpret_cast<LPARAM>(buffer));
    if (n < 1 || n > PathBuffer - 1) return AnsiString();
    return AnsiString(buffer);
}

}  // namespace

TCustomDialog::TCustomDialog(TOpenDialog* Dialog) : dialog_(Dialog) {}

const unsigned char* TCustomDialog::Template(size_t& Size)
{
    Size = sizeof EmptyTemplate;
    return EmptyTemplate;
}

TCustomForm* TCustomDialog::OwnerForm() const
{
    return dynamic_cast<TCustomForm*>(dialog_->GetOwner());
}

HWND TCustomDialog::FileDialog() const
{
    return child_ ? GetParent(child_) : nullptr;
}

int TCustomDialog::FileNameControl() const
{
    HWND dialog = FileDialog();
    return dialog && !GetDlgItem(dialog, FileNameEdit) ? FileNameCombo : FileNameEdit;
}

// The form's control of Slot when it sits directly on the form and has a window.
TWinControl* TCustomDialog::HostedControl(int Slot) const
{
    TCustomForm* form = OwnerForm();
    if (!form || Slot >= form->GetControlCount()) return nullptr;
    auto* control = dynamic_cast<TWinControl*>(form->GetControl(Slot));
    return control && control->GetParent() == form ? control : nullptr;
}

void TCustomDialog::Host(HWND Child)
{
    child_ = Child;
    path_ = "";
    TCustomForm* form = OwnerForm();
    if (!form) return;
    formHeight_ = form->GetClientHeight();
    SetWindowPos(Child, nullptr, 0, 0, form->GetClientWidth(), formHeight_,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOCOPYBITS |
                     SWP_NOOWNERZORDER | SWP_NOSENDCHANGING);
    for (int i = 0; i < MaxHostedControls; ++i) {
        TWinControl* control = HostedControl(i);
        if (!control) continue;
        saved_[i] = POINT{control->GetLeft(), control->GetTop()};
        HWND window = control->GetHandle();
        SetParent(window, Child);
        ShowWindow(window, control->GetVisible() ? SW_SHOW : SW_HIDE);
    }
}

void TCustomDialog::Release()
{
    TCustomForm* form = OwnerForm();
    if (form && form->HandleAllocated()) {
        for (int i = 0; i < MaxHostedControls; ++i) {
            TWinControl* control = HostedControl(i);
            if (!control || !control->HandleAllocated()) continue;
            HWND window = control->GetHandle();
            if (GetParent(window) != child_) continue;
            SetParent(window, form->GetHandle());
            SetWindowPos(window, nullptr, saved_[i].x, saved_[i].y, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    child_ = nullptr;
}

bool TCustomDialog::FromHostedControl(HWND Window) const
{
    return child_ && Window && Window != child_ && IsChild(child_, Window);
}

bool TCustomDialog::DialogMessage(HWND HookWnd, UINT Msg, WPARAM WParam, LPARAM LParam, LRESULT& Result)
{
    TCustomForm* form = OwnerForm();
    switch (Msg) {
    case WM_INITDIALOG:
        Host(HookWnd);
        return false;
    case WM_DESTROY:
        Release();
        return false;
    case WM_COMMAND:
        // The hosted controls' notifications still reach their form.
        if (!form) return false;
        form->Perform(Msg, WParam, LParam);
        Result = 0;
        return true;
    case WM_HSCROLL:
    case WM_VSCROLL:
        // Scroll bars and track bars on the form would be dead in the dialog otherwise.
        if (!form || !FromHostedControl(reinterpret_cast<HWND>(LParam))) return false;
        form->Perform(Msg, WParam, LParam);
        Result = 0;
        return true;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(LParam);
        if (form && FromHostedControl(header->hwndFrom)) {
            Result = form->Perform(Msg, WParam, LParam);
            return true;
        }
        return Notify(header, Result);
    }
    default:
        return false;
    }
}

void TCustomDialog::ReadPath()
{
    path_ = AskDialog(FileDialog(), CDM_GETFILEPATH);
}

bool TCustomDialog::Notify(const NMHDR* Header, LRESULT& Result)
{
    switch (Header->code) {
    case CDN_SELCHANGE:
        ReadPath();
        return false;  // the dialog fires OnSelChange after the library's event
    case CDN_HELP:
        if (dialog_->GetHelpContext() != 0 && Application) Application->HelpContext(dialog_->GetHelpContext());
        Result = 0;
        return true;
    case CDN_FOLDERCHANGE:
        if (ClearFileNameOnFolderChange) SetSelFileName("");
        return false;
    default:
        return false;
    }
}

bool TCustomDialog::FileOk()
{
    ReadPath();
    return !OnFileOk || OnFileOk(dialog_);
}

AnsiString TCustomDialog::GetSelFileName() const
{
    HWND dialog = FileDialog();
    return dialog ? AskDialog(dialog, CDM_GETSPEC) : AnsiString();
}

void TCustomDialog::SetSelFileName(const AnsiString& Name)
{
    if (HWND dialog = FileDialog())
        SendMessageA(dialog, CDM_SETCONTROLTEXT, FileNameControl(), reinterpret_cast<LPARAM>(Name.c_str()));
}

int TCustomDialog::GetSelFilterIndex() const
{
    HWND dialog = FileDialog();
    if (!dialog) return dialog_->GetFilterIndex();
    return int(SendDlgItemMessageA(dialog, FilterCombo, CB_GETCURSEL, 0, 0)) + 1;
}

void TCustomDialog::SetSelFilterIndex(int Index)
{
    if (HWND dialog = FileDialog()) SendDlgItemMessageA(dialog, FilterCombo, CB_SETCURSEL, WPARAM(Index - 1), 0);
}

void TCustomDialog::RefreshControls()
{
    TCustomForm* form = OwnerForm();
    if (!form || !child_) return;
    for (int i = 0; i < MaxHostedControls; ++i)
        if (TWinControl* control = HostedControl(i))
            if (!control->GetVisible()) ShowWindow(control->GetHandle(), SW_HIDE);
    int d = form->GetClientHeight() - formHeight_;
    if (d != 0) {
        for (HWND window : {child_, FileDialog()}) {
            RECT r;
            GetWindowRect(window, &r);
            SetWindowPos(window, nullptr, 0, 0, r.right - r.left, r.bottom - r.top + d,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        formHeight_ += d;
    }
    for (int i = 0; i < MaxHostedControls; ++i)
        if (TWinControl* control = HostedControl(i))
            if (control->GetVisible()) ShowWindow(control->GetHandle(), SW_SHOW);
}
