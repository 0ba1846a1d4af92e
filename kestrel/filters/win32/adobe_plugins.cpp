#include "adobe_plugins.h"

#include <algorithm>
#include <memory>

#include "application.h"

#include "appsettings.h"
#include "colorsel.h"
#include "debuglog.h"
#include "imageform.h"
#include "mainform.h"
#include "messages.h"
#include "palettebar.h"
#include "paintkit.h"
#include "paintkit_host.h"
#include "picture_document.h"
#include "pictureview.h"
#include "pipl.h"
#include "plugin_host.h"
#include "programpictures.h"
#include "sysutils.h"
#include "toolmanager.h"
#include "treescan_model.h"

std::vector<AdobePlugInDesc> AdobePlugIns;
std::vector<AnsiString> FailedAdobePlugIns;

namespace {

// The "&Adobe" submenu goes with the main window's menu: the watch forgets
// it then, so a later scan for a new main window never reaches the freed
// item.
class AdobeMenuWatch : public TComponent {
public:
    AdobeMenuWatch() : TComponent(nullptr) {}
    TMenuItem* Get() const { return menu_; }
    void Set(TMenuItem* m)
    {
        if (menu_) RemoveFreeNotification(menu_);
        menu_ = m;
        if (m) FreeNotification(m);
    }

protected:
    void Notification(TComponent* c, TOperation op) override
    {
        TComponent::Notification(c, op);
        if (op == opRemove && c == menu_) menu_ = nullptr;
    }

private:
    TMenuItem* menu_ = nullptr;
};

AdobeMenuWatch& AdobeMenu()
{
    static AdobeMenuWatch watch;
    return watch;
}

AnsiString BaseName(const AnsiString& path)
{
    AnsiString name = ExtractFileName(path);
    const std::string s = name.c_str();
    const size_t dot = s.rfind('.');
    return dot == std::string::npos ? name : AnsiString(s.substr(0, dot).c_str());
}

bool Exported(HMODULE lib, const std::string& entry)
{
    return !entry.empty() && GetProcAddress(lib, entry.c_str()) != nullptr;
}

struct EnumState {
    HMODULE lib;
    const AnsiString* path;
    const PlugInReport* report;
    int found;
};

void Report(EnumState& st, const PlugInDescription& d)
{
    if (!Exported(st.lib, d.entry)) return;
    const AnsiString name = d.name.empty() ? BaseName(*st.path) : AnsiString(d.name.c_str());
    (*st.report)(*st.path + "#" + d.entry.c_str(), d.category.c_str(), name);
}

bool ResourceBytes(HMODULE lib, LPCSTR name, LPCSTR type, const unsigned char*& data, size_t& size)
{
    HRSRC res = FindResourceA(lib, name, type);
    HGLOBAL mem = res ? LoadResource(lib, res) : nullptr;
    data = mem ? static_cast<const unsigned char*>(LockResource(mem)) : nullptr;
    size = res ? SizeofResource(lib, res) : 0;
    return data != nullptr;
}

BOOL CALLBACK OnePiPL(HMODULE lib, LPCSTR type, LPSTR name, LONG_PTR param)
{
    EnumState& st = *reinterpret_cast<EnumState*>(param);
    st.found++;
    const unsigned char* data;
    size_t size;
    PlugInDescription d;
    if (ResourceBytes(lib, name, type, data, size) && ParsePiPL(data, size, d)) Report(st, d);
    return TRUE;
}

BOOL CALLBACK OnePIMI(HMODULE lib, LPCSTR type, LPSTR name, LONG_PTR param)
{
    EnumState& st = *reinterpret_cast<EnumState*>(param);
    if (!IS_INTRESOURCE(name)) return TRUE;  // only numbered ones say which entry they mean
    const unsigned char* data;
    size_t size;
    PlugInDescription d;
    if (!ResourceBytes(lib, name, type, data, size)) return TRUE;
    ParsePIMI(data, size, int(reinterpret_cast<ULONG_PTR>(name)), d);
    Report(st, d);
    return TRUE;
}

TMenuItem* NewMenuItem(TMenuItem* parent, const AnsiString& caption, int index = -1)
{
    TMenuItem* item = new TMenuItem(parent);
    item->SetCaption(caption);
    if (index < 0) {
        parent->Add(item);
    } else {
        parent->Insert(index, item);
    }
    return item;
}

int FirstSeparatorIndex(TMenuItem* menu)
{
    for (int i = 0; i < menu->GetCount(); i++)
        if (menu->GetItem(i)->GetCaption() == "-") return i;
    return menu->GetCount() - 1;
}

void AddToMenu(TMenuItem* imageMenu, const AnsiString& category, const AnsiString& name, int tag,
               const TNotifyEvent& onClick)
{
    if (!AdobeMenu().Get()) AdobeMenu().Set(NewMenuItem(imageMenu, Translate("&Adobe"), FirstSeparatorIndex(imageMenu) + 1));
    TMenuItem* adobeMenu = AdobeMenu().Get();
    const AnsiString caption = category.IsEmpty() ? Translate("&Default") : "&" + category;
    TMenuItem* sub = adobeMenu->Find(caption);
    if (!sub) sub = NewMenuItem(adobeMenu, caption);
    TMenuItem* item = NewMenuItem(sub, "&" + name);
    item->SetTag(tag);
    item->OnClick = onClick;
}

// The colour picker a filter asks for: a hidden swatch of the main window
// takes the colour, the selector opens for it, and its colour afterwards
// is the answer.
unsigned long PlugInPickColor(unsigned long colour, const AnsiString& prompt)
{
    if (!MainForm || !ColorSel) return colour;
    std::unique_ptr<TShape> swatch(new TShape(MainForm));
    swatch->SetVisible(false);
    SetSwatchColour(swatch.get(), colour & 0xFFFFFF);
    ColorSel->OpenFor(swatch.get(), prompt.IsEmpty() ? Translate("SelAdobeCol") : prompt);
    return SwatchColour(swatch.get());
}

}  // namespace

void EnumPlugInFilters(HMODULE lib, const AnsiString& path, const PlugInReport& report)
{
    EnumState st{lib, &path, &report, 0};
    EnumResourceNamesA(lib, "PIPL", OnePiPL, reinterpret_cast<LONG_PTR>(&st));
    if (st.found == 0) EnumResourceNamesA(lib, "PIMI", OnePIMI, reinterpret_cast<LONG_PTR>(&st));
}

void ScanAdobePlugIns(TCustomTreeScanner* scanner, TMenuItem* imageMenu, bool use, const AnsiString& folder,
                      const TNotifyEvent& onClick)
{
    FailedAdobePlugIns.clear();
    AdobePlugIns.clear();
    if (TMenuItem* old = AdobeMenu().Get()) {
        // A rescan replaces the submenu rather than adding a second one.
        AdobeMenu().Set(nullptr);
        if (old->GetParent()) old->GetParent()->Remove(old);
        delete old;
    }
    if (!use || folder.IsEmpty()) return;
    DebugLog("Scanning for Adobe plug-ins started.");
    scanner->SetInitialDirectory(folder);
    scanner->SetFileMask("*.8bf");
    scanner->SetRecursive(true);
    scanner->OnDirectoryFound = nullptr;
    scanner->OnDirectoryDone = nullptr;
    scanner->OnFileFound = [&](TObject*) {
        const AnsiString path = scanner->GetFileFound().LowerCase();
        HMODULE lib = LoadLibraryExA(path.c_str(), nullptr, 0);
        if (!lib) {
            FailedAdobePlugIns.push_back(BaseName(ExtractFileName(scanner->GetFileFound())));
            return;
        }
        EnumPlugInFilters(lib, path, [&](const AnsiString& entry, const AnsiString& category, const AnsiString& name) {
            DebugLog(entry + " added");
            AdobePlugIns.push_back(AdobePlugInDesc{entry, name});
            AddToMenu(imageMenu, category, name, int(AdobePlugIns.size()) - 1, onClick);
        });
        FreeLibrary(lib);
    };
    scanner->Execute();
    scanner->OnFileFound = nullptr;
    DebugLog("Scanning for Adobe plug-ins finished.");
}

AnsiString GetAdobePlugInPath(int n)
{
    return n >= 0 && n < int(AdobePlugIns.size()) ? AdobePlugIns[size_t(n)].path : AnsiString();
}

AnsiString GetAdobePlugInName(int n)
{
    return n >= 0 && n < int(AdobePlugIns.size()) ? AdobePlugIns[size_t(n)].name : AnsiString();
}

int RunAdobePlugIn(TMainForm* form, int n)
{
    UDBuffer* pic = CurrentPicture;
    if (!pic || !pic->pixels || GetAdobePlugInPath(n).IsEmpty()) return -1;
    Buffer copy;
    try {
        copy.Alloc({pic->Width(), pic->Height()});
    } catch (EOutOfMemory&) {
        TranslatedMessageBox("NoMem", "Err", MsgIconWarning);
        SelectDefaultTool(true);
        return -1;
    }
    copy.Copy(*pic, {0, 0}, 0xFFFFFFFF);
    SuspendTool();
    BeginProgress(100);
    PlugInRunOptions o;
    o.window = form ? form->GetHandle() : nullptr;
    if (pic->HasSelection()) {
        o.hasRect = true;
        o.rect = pic->SelectionRect();
        o.maskBit = 0x04000000;
    } else {
        SetVisibleClip();
        o.hasRect = WorkView.pixels != nullptr;
        o.rect = WorkView.GetRect();
    }
    int result = -1;
    const Rect u = o.hasRect ? o.rect : pic->GetRect();
    if (UDBuffer::SaveUndo(pic, GetAdobePlugInName(n), nullptr, u.left, u.top, u.right, u.bottom)) {
        o.background = BackColourSwatch() ? SwatchColour(BackColourSwatch()) : 0xFFFFFF;
        o.foreground = DrawColourSwatch() ? SwatchColour(DrawColourSwatch()) : 0;
        o.pickColour = [](unsigned long colour, const std::string& prompt) {
            return PlugInPickColor(colour, prompt.c_str());
        };
        o.abort = [] {
            ProgressCancelFlag = 0;
            if (CurrentImageForm) CurrentImageForm->CancelProgressBtn->SetVisible(true);
            Application->ProcessMessages();
            return ProgressCancelFlag != 0;
        };
        o.progress = [](int done, int total) {
            if (CurrentImageForm && total > 0) {
                CurrentImageForm->ProgressBar->SetMax(total);
                CurrentImageForm->ProgressBar->SetPosition(done);
            }
        };
        try {
            result = RunPlugInFilter(*pic, copy, GetAdobePlugInPath(n), o);
        } catch (...) {
            result = -1;
        }
        if (result == 0) {
            pic->Copy(copy, {0, 0}, 0xFFFFFFFF);
            ++pic->modified;
            RepaintPictureView(pic);
            UpdateImageCaption();
        } else {
            UDBuffer::DropUndo(pic);
        }
    }
    if (CurrentImageForm) CurrentImageForm->CancelProgressBtn->SetVisible(false);
    EndProgress();
    ResumeTool();
    return result;
}

void TMainForm::AdobePlugInClick(TObject* Sender)
{
    if (TMenuItem* item = dynamic_cast<TMenuItem*>(Sender)) RunAdobePlugIn(this, item->GetTag());
}

void TMainForm::RescanAdobePlugIns()
{
    ScanAdobePlugIns(TreeScanner, Image1, AppSettings.UseAdobe, AppSettings.AdobeLoc,
                     [this](TObject* s) { AdobePlugInClick(s); });
}
