// The common dialogs (open, save, colour, font, print, printer set-up) and
// the message dialogs (ShowMessage, MessageDlg).
//
// Execute shows a dialog modally and answers whether the user chose OK; the
// dialog's properties hold the choice afterwards. OnShow and OnClose fire
// when the dialog window appears and goes.
//
// Test seam: TCommonDialog::ExecuteHook, when assigned, replaces the modal
// Win32 call of every dialog. It gets the dialog (to read its settings and
// fill in the choice, through the usual setters) and answers what Execute
// answers; OnShow and OnClose still fire round it. Tests and scripted runs
// use it so that nothing waits for a user.
//
// Message dialogs go through Application->MessageBox, so the Application's
// MessageBoxHook replaces them too.
#ifndef CLASSLIB_DIALOGS_H
#define CLASSLIB_DIALOGS_H

#include <memory>
#include <vector>

#include "controls.h"
#include "exceptions.h"
#include "forms.h"
#include "stringlist.h"

class TCommonDialog : public TComponent {
public:
    explicit TCommonDialog(TComponent* AOwner);
    ~TCommonDialog() override;

    int GetHelpContext() const { return helpContext_; }
    void SetHelpContext(int Value) { helpContext_ = Value; }

    // Shows the dialog; true when the user chose OK.
    virtual bool Execute() = 0;
    // The dialog window while Execute runs, nullptr otherwise.
    HWND GetHandle() const { return handle_; }

    TNotifyEvent OnShow;
    TNotifyEvent OnClose;

    static std::function<bool(TCommonDialog* Dialog)> ExecuteHook;

protected:
    // Runs ExecuteHook when set, run() otherwise; fires OnShow and OnClose
    // round the hook (the real dialog fires them from its hook procedure).
    bool RunModal(const std::function<bool()>& run);
    // The window that owns the dialog: the active window of this thread, or
    // the main form's.
    virtual HWND OwnerWindow() const;
    // For hook procedures: WM_INITDIALOG fires OnShow, WM_DESTROY OnClose.
    void DialogCreated(HWND Dialog);
    void DialogDestroyed();
    virtual void DoShow();
    virtual void DoClose();

private:
    friend struct CommonDialogHook;
    int helpContext_ = 0;
    HWND handle_ = nullptr;
};

// Bits of TOpenDialog::Options.
typedef unsigned TOpenOptions;
enum : unsigned {
    ofReadOnly = 0x1,
    ofOverwritePrompt = 0x2,
    ofHideReadOnly = 0x4,
    ofNoChangeDir = 0x8,
    ofShowHelp = 0x10,
    ofNoValidate = 0x20,
    ofAllowMultiSelect = 0x40,
    ofExtensionDifferent = 0x80,
    ofPathMustExist = 0x100,
    ofFileMustExist = 0x200,
    ofCreatePrompt = 0x400,
    ofShareAware = 0x800,
    ofNoReadOnlyReturn = 0x1000,
    ofNoTestFileCreate = 0x2000,
    ofNoNetworkButton = 0x4000,
    ofNoLongNames = 0x8000,
    ofOldStyleDialog = 0x10000,  // ignored: the explorer style is always used
    ofNoDereferenceLinks = 0x20000,
    ofEnableIncludeNotify = 0x40000,
    ofEnableSizing = 0x80000,
};

// The explorer-style hook: every message of the dialog's child window (made
// from Template when one is set), before the library handles it. Answer
// true when handled; Result is then returned (for WM_NOTIFY through
// DWLP_MSGRESULT).
using TDialogMessageEvent =
    std::function<bool(TObject* Sender, HWND HookWnd, UINT Msg, WPARAM WParam, LPARAM LParam, LRESULT& Result)>;

class TOpenDialog : public TCommonDialog {
public:
    explicit TOpenDialog(TComponent* AOwner);
    ~TOpenDialog() override;

    TOpenOptions GetOptions() const { return options_; }
    void SetOptions(TOpenOptions Value) { options_ = Value; }
    // Pairs of description and patterns, "|"-separated: "Text|*.txt|All|*.*".
    AnsiString GetFilter() const { return filter_; }
    void SetFilter(const AnsiString& Value) { filter_ = Value; }
    // 1-based; the user's choice after Execute.
    int GetFilterIndex() const { return filterIndex_; }
    void SetFilterIndex(int Value) { filterIndex_ = Value; }
    // While the dialog is open, the path it shows selected.
    AnsiString GetFileName() const;
    void SetFileName(const AnsiString& Value) { fileName_ = Value; }
    // Every file chosen (one unless ofAllowMultiSelect), full paths.
    TStrings* GetFiles() const { return files_.get(); }
    AnsiString GetInitialDir() const { return initialDir_; }
    void SetInitialDir(const AnsiString& Value) { initialDir_ = Value; }
    AnsiString GetTitle() const { return title_; }
    void SetTitle(const AnsiString& Value) { title_ = Value; }
    // Added to a name typed without an extension (no dot).
    AnsiString GetDefaultExt() const { return defaultExt_; }
    void SetDefaultExt(const AnsiString& Value) { defaultExt_ = Value; }
    // A dialog template for extra controls: a resource of Instance, or (with
    // SetTemplateData) a DLGTEMPLATE in memory, copied.
    void SetTemplate(HINSTANCE Instance, const AnsiString& Name);
    void SetTemplateData(const void* Template, size_t Size);

    bool Execute() override;

    TNotifyEvent OnSelectionChange;
    TNotifyEvent OnFolderChange;
    TNotifyEvent OnTypeChange;
    // Asked when the user chooses OK; false keeps the dialog open.
    TCloseQueryEvent OnCanClose;
    TDialogMessageEvent OnDialogMessage;

protected:
    // Chainable: subclasses handle their template's messages here and call
    // the base for the rest. The base offers them to OnDialogMessage, then
    // turns the CDN_ notifications into the events.
    virtual bool DialogMessage(HWND HookWnd, UINT Msg, WPARAM WParam, LPARAM LParam, LRESULT& Result);
    virtual bool IsSaveDialog() const { return false; }
    virtual void DoSelectionChange();
    virtual void DoFolderChange();
    virtual void DoTypeChange();
    virtual bool DoCanClose();

private:
    friend struct OpenDialogHook;
    bool RunDialog();
    bool Notify(HWND HookWnd, const NMHDR* Header, LRESULT& Result);
    void ReadResult(const char* Buffer, bool multi);
    AnsiString DialogPath(UINT Message) const;

    TOpenOptions options_ = ofHideReadOnly | ofEnableSizing;
    AnsiString filter_;
    int filterIndex_ = 1;
    AnsiString fileName_;
    std::unique_ptr<TStringList> files_;
    AnsiString initialDir_;
    AnsiString title_;
    AnsiString defaultExt_;
    HINSTANCE templateInstance_ = nullptr;
    AnsiString templateName_;
    std::vector<unsigned char> templateData_;
};

class TSaveDialog : public TOpenDialog {
public:
    explicit TSaveDialog(TComponent* AOwner) : TOpenDialog(AOwner) {}

protected:
    bool IsSaveDialog() const override { return true; }
};

typedef unsigned TColorDialogOptions;
enum : unsigned {
    cdFullOpen = 1,
    cdPreventFullOpen = 2,
    cdShowHelp = 4,
    cdSolidColor = 8,
    cdAnyColor = 16,
};

class TColorDialog : public TCommonDialog {
public:
    explicit TColorDialog(TComponent* AOwner);
    ~TColorDialog() override;

    TColor GetColor() const { return color_; }
    void SetColor(TColor Value) { color_ = Value; }
    TColorDialogOptions GetOptions() const { return options_; }
    void SetOptions(TColorDialogOptions Value) { options_ = Value; }
    // The 16 custom colours as "ColorA=RRGGBB" (hex, BGR order as TColor)
    // ... "ColorP=..."; missing entries are white. Updated after Execute.
    TStrings* GetCustomColors() const { return customColors_.get(); }

    bool Execute() override;

private:
    bool RunDialog();

    TColor color_ = 0;
    TColorDialogOptions options_ = 0;
    std::unique_ptr<TStringList> customColors_;
};

typedef unsigned TFontDialogOptions;
enum : unsigned {
    fdAnsiOnly = 0x1,
    fdTrueTypeOnly = 0x2,
    fdEffects = 0x4,
    fdFixedPitchOnly = 0x8,
    fdForceFontExist = 0x10,
    fdNoFaceSel = 0x20,
    fdNoOEMFonts = 0x40,
    fdNoSimulations = 0x80,
    fdNoSizeSel = 0x100,
    fdNoStyleSel = 0x200,
    fdNoVectorFonts = 0x400,
    fdShowHelp = 0x800,
    fdWysiwyg = 0x1000,
    fdLimitSize = 0x2000,
    fdScalableOnly = 0x4000,
};

enum TFontDialogDevice { fdScreen, fdPrinter, fdBoth };

class TFontDialog : public TCommonDialog {
public:
    explicit TFontDialog(TComponent* AOwner);
    ~TFontDialog() override;

    // The font shown first and, after OK, the one chosen.
    TFont* GetFont() const { return font_.get(); }
    void SetFont(const TFont* Value) { font_->Assign(Value); }
    TFontDialogOptions GetOptions() const { return options_; }
    void SetOptions(TFontDialogOptions Value) { options_ = Value; }
    TFontDialogDevice GetDevice() const { return device_; }
    void SetDevice(TFontDialogDevice Value) { device_ = Value; }
    // Sizes in points, used with fdLimitSize; 0 = no limit.
    int GetMinFontSize() const { return minFontSize_; }
    void SetMinFontSize(int Value) { minFontSize_ = Value; }
    int GetMaxFontSize() const { return maxFontSize_; }
    void SetMaxFontSize(int Value) { maxFontSize_ = Value; }

    bool Execute() override;

private:
    bool RunDialog();

    std::unique_ptr<TFont> font_;
    TFontDialogOptions options_ = fdEffects;
    TFontDialogDevice device_ = fdScreen;
    int minFontSize_ = 0;
    int maxFontSize_ = 0;
};

typedef unsigned TPrintDialogOptions;
enum : unsigned {
    poPrintToFile = 1,
    poPageNums = 2,
    poSelection = 4,
    poWarning = 8,
    poHelp = 16,
    poDisablePrintToFile = 32,
};

enum TPrintRange { prAllPages, prSelection, prPageNums };

// Both print dialogs work on Printer(): they start from its printer, copies
// and orientation and store the choice back. Without any printer Execute
// raises EPrinter "There is no default printer currently selected" instead
// of opening a dialog that could only complain.
class TPrintDialog : public TCommonDialog {
public:
    explicit TPrintDialog(TComponent* AOwner);
    ~TPrintDialog() override;

    int GetCopies() const { return copies_; }
    void SetCopies(int Value) { copies_ = Value; }
    bool GetCollate() const { return collate_; }
    void SetCollate(bool Value) { collate_ = Value; }
    int GetFromPage() const { return fromPage_; }
    void SetFromPage(int Value) { fromPage_ = Value; }
    int GetToPage() const { return toPage_; }
    void SetToPage(int Value) { toPage_ = Value; }
    int GetMinPage() const { return minPage_; }
    void SetMinPage(int Value) { minPage_ = Value; }
    int GetMaxPage() const { return maxPage_; }
    void SetMaxPage(int Value) { maxPage_ = Value; }
    TPrintDialogOptions GetOptions() const { return options_; }
    void SetOptions(TPrintDialogOptions Value) { options_ = Value; }
    TPrintRange GetPrintRange() const { return printRange_; }
    void SetPrintRange(TPrintRange Value) { printRange_ = Value; }
    bool GetPrintToFile() const { return printToFile_; }
    void SetPrintToFile(bool Value) { printToFile_ = Value; }

    bool Execute() override;

private:
    bool RunDialog();

    int copies_ = 0;  // 0: the printer's
    bool collate_ = false;
    int fromPage_ = 0;
    int toPage_ = 0;
    int minPage_ = 0;
    int maxPage_ = 0;
    TPrintDialogOptions options_ = 0;
    TPrintRange printRange_ = prAllPages;
    bool printToFile_ = false;
};

class TPrinterSetupDialog : public TCommonDialog {
public:
    explicit TPrinterSetupDialog(TComponent* AOwner) : TCommonDialog(AOwner) {}

    bool Execute() override;

private:
    bool RunDialog();
};

// Message dialogs.
enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

typedef unsigned TMsgDlgButtons;
enum : unsigned {
    mbYes = 0x1,
    mbNo = 0x2,
    mbOK = 0x4,
    mbCancel = 0x8,
    mbAbort = 0x10,
    mbRetry = 0x20,
    mbIgnore = 0x40,
    mbAll = 0x80,
    mbNoToAll = 0x100,
    mbYesToAll = 0x200,
    mbHelp = 0x400,
};
const TMsgDlgButtons mbYesNoCancel = mbYes | mbNo | mbCancel;
const TMsgDlgButtons mbOKCancel = mbOK | mbCancel;
const TMsgDlgButtons mbAbortRetryIgnore = mbAbort | mbRetry | mbIgnore;

// A box with Msg and an OK button, titled with the Application's title.
void ShowMessage(const AnsiString& Msg);
// A box titled by its type ("Warning", "Error", "Information", "Confirm",
// the Application's title for mtCustom) with the nearest set of buttons a
// message box has; answers the button as mrYes, mrNo, mrOk, .... mbHelp adds
// a Help button, whose WM_HELP goes to the active window. HelpCtx is not
// used yet: Application->MessageBox takes no help context.
int MessageDlg(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx);
// The message-box flags MessageDlg uses (buttons and icon).
UINT MessageDlgFlags(TMsgDlgType DlgType, TMsgDlgButtons Buttons);

#endif
