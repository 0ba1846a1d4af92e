// TOpenDialog and TSaveDialog: the explorer-style file dialogs, always run
// with our hook procedure, which turns the dialog's notifications into the
// events and hands every message to the chainable DialogMessage.
#include "dialogs.h"

#include <commdlg.h>

#include "application.h"
#include "handleexception.h"

namespace {

const struct {
    TOpenOptions Option;
    DWORD Flag;
} OptionFlags[] = {
    {ofReadOnly, OFN_READONLY},
    {ofOverwritePrompt, OFN_OVERWRITEPROMPT},
    {ofHideReadOnly, OFN_HIDEREADONLY},
    {ofNoChangeDir, OFN_NOCHANGEDIR},
    {ofShowHelp, OFN_SHOWHELP},
    {ofNoValidate, OFN_NOVALIDATE},
    {ofAllowMultiSelect, OFN_ALLOWMULTISELECT},
    {ofExtensionDifferent, OFN_EXTENSIONDIFFERENT},
    {ofPathMustExist, OFN_PATHMUSTEXIST},
    {ofFileMustExist, OFN_FILEMUSTEXIST},
    {ofCreatePrompt, OFN_CREATEPROMPT},
    {ofShareAware, OFN_SHAREAWARE},
    {ofNoReadOnlyReturn, OFN_NOREADONLYRETURN},
    {ofNoTestFileCreate, OFN_NOTESTFILECREATE},
    {ofNoNetworkButton, OFN_NONETWORKBUTTON},
    {ofNoLongNames, OFN_NOLONGNAMES},
    {ofNoDereferenceLinks, OFN_NODEREFERENCELINKS},
    {ofEnableIncludeNotify, OFN_ENABLEINCLUDENOTIFY},
    {ofEnableSizing, OFN_ENABLESIZING},
};

DWORD ToFlags(TOpenOptions options)
{
    DWORD flags = 0;
    for (const auto& o : OptionFlags)
        if (options & o.Option) flags |= o.Flag;
    return flags;
}

// "Text|*.txt|All|*.*" -> "Text\0*.txt\0All\0*.*\0\0".
std::vector<char> FilterBuffer(const AnsiString& filter)
{
    std::vector<char> out;
    for (int i = 1; i <= filter.Length(); ++i) out.push_back(filter[i] == '|' ? '\0' : filter[i]);
    out.push_back('\0');
    out.push_back('\0');
    return out;
}

AnsiString JoinPath(const AnsiString& dir, const char* name)
{
    if (!dir.IsEmpty() && dir[dir.Length()] == '\\') return dir + name;
    return dir + "\\" + name;
}

// Keeps the process's current folder across the dialog when asked: the
// open dialog may change it even with OFN_NOCHANGEDIR.
class CurrentDirKeeper {
public:
    explicit CurrentDirKeeper(bool keep) : keep_(keep)
    {
        if (keep_) GetCurrentDirectoryA(sizeof dir_, dir_);
    }
    ~CurrentDirKeeper()
    {
        if (keep_) SetCurrentDirectoryA(dir_);
    }
    CurrentDirKeeper(const CurrentDirKeeper&) = delete;
    CurrentDirKeeper& operator=(const CurrentDirKeeper&) = delete;

private:
    bool keep_;
    char dir_[MAX_PATH] = "";
};

// An in-memory template, as OFN_ENABLETEMPLATEHANDLE wants it.
class TemplateBlock {
public:
    explicit TemplateBlock(const std::vector<unsigned char>& data)
    {
        if (data.empty()) return;
        block_ = GlobalAlloc(GMEM_FIXED, data.size());
        if (!block_) throw EOutOfMemory();
        memcpy(block_, data.data(), data.size());
    }
    ~TemplateBlock()
    {
        if (block_) GlobalFree(block_);
    }
    TemplateBlock(const TemplateBlock&) = delete;
    TemplateBlock& operator=(const TemplateBlock&) = delete;
    HGLOBAL Handle() const { return block_; }

private:
    HGLOBAL block_ = nullptr;
};

}  // namespace

struct OpenDialogHook {
    static UINT_PTR CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
    {
        if (msg == WM_INITDIALOG) {
            auto* ofn = reinterpret_cast<OPENFILENAMEA*>(lp);
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, LONG_PTR(ofn->lCustData));
        }
        auto* dialog = reinterpret_cast<TOpenDialog*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (!dialog) return 0;
        try {
            LRESULT result = 0;
            bool handled = dialog->DialogMessage(hwnd, msg, wp, lp, result);
            if (msg == WM_DESTROY) dialog->DialogDestroyed();
            if (!handled) return 0;
            if (msg == WM_INITDIALOG) return UINT_PTR(result);
            SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, result);
            return TRUE;
        } catch (...) {
            HandleCallbackException();
            return 0;
        }
    }
};

TOpenDialog::TOpenDialog(TComponent* AOwner) : TCommonDialog(AOwner), files_(new TStringList) {}

TOpenDialog::~TOpenDialog() {}

void TOpenDialog::SetTemplate(HINSTANCE Instance, const AnsiString& Name)
{
    templateInstance_ = Instance;
    templateName_ = Name;
    templateData_.clear();
}

void TOpenDialog::SetTemplateData(const void* Template, size_t Size)
{
    const auto* bytes = static_cast<const unsigned char*>(Template);
    templateData_.assign(bytes, bytes + (bytes ? Size : 0));
    templateInstance_ = nullptr;
    templateName_ = "";
}

AnsiString TOpenDialog::GetFileName() const
{
    if (GetHandle()) {
        AnsiString path = DialogPath(CDM_GETFILEPATH);
        if (!path.IsEmpty()) return path;
    }
    return fileName_;
}

AnsiString TOpenDialog::DialogPath(UINT Message) const
{
    char buffer[MAX_PATH * 4];
    LRESULT n = SendMessageA(GetHandle(), Message, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
    if (n <= 0 || size_t(n) > sizeof buffer) return AnsiString();
    return AnsiString(buffer);
}

bool TOpenDialog::Execute()
{
    return RunModal([this] { return RunDialog(); });
}

bool TOpenDialog::RunDialog()
{
    bool multi = (options_ & ofAllowMultiSelect) != 0;
    std::vector<char> file(multi ? 65536 : MAX_PATH * 4, '\0');
    strncpy(file.data(), fileName_.c_str(), file.size() - 1);
    std::vector<char> filter = FilterBuffer(filter_);
    AnsiString ext = defaultExt_.Length() && defaultExt_[1] == '.' ? defaultExt_.SubString(2, defaultExt_.Length())
                                                                    : defaultExt_;
    TemplateBlock block(templateData_);

    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = OwnerWindow();
    ofn.lpstrFilter = filter_.IsEmpty() ? nullptr : filter.data();
    ofn.nFilterIndex = DWORD(filterIndex_ > 0 ? filterIndex_ : 1);
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = DWORD(file.size());
    ofn.lpstrInitialDir = initialDir_.IsEmpty() ? nullptr : initialDir_.c_str();
    ofn.lpstrTitle = title_.IsEmpty() ? nullptr : title_.c_str();
    ofn.lpstrDefExt = ext.IsEmpty() ? nullptr : ext.c_str();
    ofn.Flags = ToFlags(options_) | OFN_EXPLORER | OFN_ENABLEHOOK;
    ofn.lpfnHook = OpenDialogHook::Proc;
    ofn.lCustData = reinterpret_cast<LPARAM>(this);
    if (block.Handle()) {
        ofn.Flags |= OFN_ENABLETEMPLATEHANDLE;
        ofn.hInstance = static_cast<HINSTANCE>(block.Handle());
    } else if (!templateName_.IsEmpty()) {
        ofn.Flags |= OFN_ENABLETEMPLATE;
        ofn.hInstance = templateInstance_;
        ofn.lpTemplateName = templateName_.c_str();
    }

    BOOL ok;
    {
        CurrentDirKeeper keeper((options_ & ofNoChangeDir) != 0);
        ok = IsSaveDialog() ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
    }
    if (!ok) {
        DWORD error = CommDlgExtendedError();
        if (error) throw EInvalidOperation(AnsiString().sprintf("The file dialog failed (error 0x%lx)", error));
        return false;
    }
    ReadResult(file.data(), multi);
    filterIndex_ = int(ofn.nFilterIndex);
    options_ &= ~(ofReadOnly | ofExtensionDifferent);
    if (ofn.Flags & OFN_READONLY) options_ |= ofReadOnly;
    if (ofn.Flags & OFN_EXTENSIONDIFFERENT) options_ |= ofExtensionDifferent;
    return true;
}

void TOpenDialog::ReadResult(const char* Buffer, bool multi)
{
    files_->Clear();
    const char* second = Buffer + strlen(Buffer) + 1;
    if (!multi || !*second) {
        files_->Add(Buffer);
    } else {
        // A folder, then the names chosen in it.
        AnsiString dir = Buffer;
        for (const char* name = second; *name; name += strlen(name) + 1) files_->Add(JoinPath(dir, name));
    }
    fileName_ = files_->GetStrings(0);
}

bool TOpenDialog::DialogMessage(HWND HookWnd, UINT Msg, WPARAM WParam, LPARAM LParam, LRESULT& Result)
{
    if (OnDialogMessage && OnDialogMessage(this, HookWnd, Msg, WParam, LParam, Result)) return true;
    if (Msg == WM_NOTIFY) return Notify(HookWnd, reinterpret_cast<const NMHDR*>(LParam), Result);
    return false;
}

bool TOpenDialog::Notify(HWND HookWnd, const NMHDR* Header, LRESULT& Result)
{
    const auto* note = reinterpret_cast<const OFNOTIFYA*>(Header);
    switch (Header->code) {
    case CDN_INITDONE: DialogCreated(GetParent(HookWnd)); return false;
    case CDN_SELCHANGE: DoSelectionChange(); return false;
    case CDN_FOLDERCHANGE: DoFolderChange(); return false;
    case CDN_TYPECHANGE:
        filterIndex_ = int(note->lpOFN->nFilterIndex);
        DoTypeChange();
        return false;
    case CDN_FILEOK:
        // The dialog has put the chosen names in its buffer.
        ReadResult(note->lpOFN->lpstrFile, (note->lpOFN->Flags & OFN_ALLOWMULTISELECT) != 0);
        if (DoCanClose()) return false;
        // Non-zero keeps the dialog open (measured).
        Result = 1;
        return true;
    case CDN_HELP:
        if (Application) Application->HelpContext(GetHelpContext());
        return false;
    default: return false;
    }
}

void TOpenDialog::DoSelectionChange()
{
    if (OnSelectionChange) OnSelectionChange(this);
}

void TOpenDialog::DoFolderChange()
{
    if (OnFolderChange) OnFolderChange(this);
}

void TOpenDialog::DoTypeChange()
{
    if (OnTypeChange) OnTypeChange(this);
}

bool TOpenDialog::DoCanClose()
{
    bool canClose = true;
    if (OnCanClose) OnCanClose(this, canClose);
    return canClose;
}
