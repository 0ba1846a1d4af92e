// TCustomOpenDialog and TSaveDialogEx (unit tcodlg): the file dialogs with
// the controls of the form that owns them shown inside, below the dialog's
// own controls. While the dialog is open the form's first 64 windowed
// controls live in the dialog's child window (made from an empty template),
// their commands and scroll messages still reach the form, and they go back
// to the form, at their old places, when the dialog closes.
//
// The form hears of selection and type changes and is asked before OK.
#ifndef KESTREL_FILE_DIALOG_WITH_CONTROLS_H
#define KESTREL_FILE_DIALOG_WITH_CONTROLS_H

#include <functional>

#include "dialogs.h"
#include "forms.h"

typedef std::function<bool(TObject* Sender)> TFileOkEvent;

// The hosting object: one per dialog component.
class TCustomDialog {
public:
    static const int MaxHostedControls = 64;

    explicit TCustomDialog(TOpenDialog* Dialog);
    TCustomDialog(const TCustomDialog&) = delete;
    TCustomDialog& operator=(const TCustomDialog&) = delete;

    // The empty child-dialog template every hosting object uses.
    static const unsigned char* Template(size_t& Size);

    // Answers true when the message was handled (Result is then the answer).
    bool DialogMessage(HWND HookWnd, UINT Msg, WPARAM WParam, LPARAM LParam, LRESULT& Result);
    bool FileOk();

    AnsiString GetSelFileName() const;
    void SetSelFileName(const AnsiString& Name);
    int GetSelFilterIndex() const;
    void SetSelFilterIndex(int Index);
    void RefreshControls();

    // The full path of the selection at the last selection change or OK.
    AnsiString GetCurrentPath() const { return path_; }
    HWND GetChildWindow() const { return child_; }

    TWinControl* OwnerControl = nullptr;  // its window owns the dialog when set
    TFileOkEvent OnFileOk;
    TNotifyEvent OnSelChange;
    bool ClearFileNameOnFolderChange = false;

private:
    TCustomForm* OwnerForm() const;
    HWND FileDialog() const;
    int FileNameControl() const;
    TWinControl* HostedControl(int Slot) const;
    void Host(HWND Child);
    void Release();
    bool Notify(const NMHDR* Header, LRESULT& Result);
    bool FromHostedControl(HWND Window) const;
    void ReadPath();

    TOpenDialog* dialog_;
    POINT saved_[MaxHostedControls] = {};
    int formHeight_ = 0;
    AnsiString path_;
    HWND child_ = nullptr;
};

// One class for both dialogs: Base is TOpenDialog or TSaveDialog.
template <class Base>
class THostingFileDialog : public Base {
public:
    explicit THostingFileDialog(TComponent* AOwner) : Base(AOwner), host_(this)
    {
        size_t size = 0;
        const unsigned char* data = TCustomDialog::Template(size);
        Base::SetTemplateData(data, size);
    }

    TCustomDialog* GetHost() { return &host_; }
    AnsiString GetSelFileName() const { return host_.GetSelFileName(); }
    void SetSelFileName(const AnsiString& Name) { host_.SetSelFileName(Name); }
    int GetSelFilterIndex() const { return host_.GetSelFilterIndex(); }
    void SetSelFilterIndex(int Index) { host_.SetSelFilterIndex(Index); }
    void RefreshControls() { host_.RefreshControls(); }
    bool GetClearFileNameOnFolderChange() const { return host_.ClearFileNameOnFolderChange; }
    void SetClearFileNameOnFolderChange(bool Value) { host_.ClearFileNameOnFolderChange = Value; }
    void SetOnFileOk(TFileOkEvent Handler) { host_.OnFileOk = std::move(Handler); }
    void SetOnSelChange(TNotifyEvent Handler) { host_.OnSelChange = std::move(Handler); }

protected:
    bool DialogMessage(HWND HookWnd, UINT Msg, WPARAM WParam, LPARAM LParam, LRESULT& Result) override
    {
        if (host_.DialogMessage(HookWnd, Msg, WParam, LParam, Result)) return true;
        return Base::DialogMessage(HookWnd, Msg, WParam, LParam, Result);
    }
    void DoSelectionChange() override
    {
        Base::DoSelectionChange();
        if (host_.OnSelChange) host_.OnSelChange(this);
    }
    bool DoCanClose() override { return Base::DoCanClose() && host_.FileOk(); }
    HWND OwnerWindow() const override
    {
        if (host_.OwnerControl) return host_.OwnerControl->GetHandle();
        return Base::OwnerWindow();
    }

private:
    TCustomDialog host_;
};

class TCustomOpenDialog : public THostingFileDialog<TOpenDialog> {
public:
    explicit TCustomOpenDialog(TComponent* AOwner) : THostingFileDialog<TOpenDialog>(AOwner) {}
};

class TSaveDialogEx : public THostingFileDialog<TSaveDialog> {
public:
    explicit TSaveDialogEx(TComponent* AOwner) : THostingFileDialog<TSaveDialog>(AOwner) {}
};

#endif
