#include "component_scan.h"

#include "component_module.h"
#include "component_table.h"
#include "component_tool.h"
#include "debuglog.h"
#include "messages.h"
#include "toolbuttons.h"
#include "toolgroups.h"
#include "treescan_model.h"

#include <vector>

namespace {

// The items a scan put into the Image menu, freed by the next scan, and
// the menu they went into. Both are forgotten when the menus go with their
// window (a program started again in the same process, as tests do).
std::vector<TMenuItem*> scanItems;
TMenuItem* scannedMenu = nullptr;

class MenuWatch : public TComponent {
public:
    MenuWatch() : TComponent(nullptr) {}

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override
    {
        TComponent::Notification(AComponent, Operation);
        if (Operation != opRemove) return;
        if (AComponent == scannedMenu) scannedMenu = nullptr;
        for (size_t i = 0; i < scanItems.size(); ++i)
            if (scanItems[i] == AComponent) scanItems.erase(scanItems.begin() + long(i--));
    }
};

TComponent* Watch()
{
    static MenuWatch* watch = new MenuWatch();
    return watch;
}

void Keep(TMenuItem* item)
{
    scanItems.push_back(item);
    item->FreeNotification(Watch());
}

// Icons come only with the program's first scan: later scans find the
// buttons of the first in the tool table already.
bool BrushButtonsExist()
{
    for (int i = 0; i < ToolEntryCount(); ++i)
        if (ToolEntry(i).tool == &ComponentBrushTool) return true;
    return false;
}

TMenuItem* NewMenuItem(TMenuItem* parent, const AnsiString& caption, int tag, const TNotifyEvent& onClick)
{
    TMenuItem* item = new TMenuItem(parent);
    item->SetCaption(caption);
    item->SetTag(tag);
    item->OnClick = onClick;
    // Every 20 items the menu starts a new column.
    if (StartsMenuColumn(parent->GetCount())) item->SetBreak(mbBarBreak);
    parent->Add(item);
    return item;
}

void RemoveScanItems(TMenuItem* imageMenu)
{
    std::vector<TMenuItem*> items;
    items.swap(scanItems);
    for (TMenuItem* item : items) {
        item->RemoveFreeNotification(Watch());
        if (imageMenu->IndexOf(item) >= 0) imageMenu->Remove(item);
        delete item;
    }
}

// The icon's tool-table entry, or -1 when no button could be added (a full
// group, a missing bitmap).
int AddIconButton(const ComponentEntry& e, HMODULE module, bool& firstIcon)
{
    const int before = ToolEntryCount();
    int group = -1;
    try {
        group = AddToolButton(e.icon.c_str(), &ComponentBrushTool, 'I', 1, module, firstIcon ? 8 : 0);
    } catch (Exception&) {
        group = -1;
    }
    if (group < 0 || ToolEntryCount() == before) return -1;
    firstIcon = false;
    const int entry = ToolEntryCount() - 1;
    ToolEntry(entry).boundName = TranslateName(e.name.c_str());
    return entry;
}

class Scan {
public:
    Scan(TMenuItem* imageMenu, const ComponentMenuEvents& events) : imageMenu_(imageMenu), events_(events), parent_(imageMenu) {}

    void Directory(const AnsiString& path)
    {
        if (!seenRoot_) {
            seenRoot_ = true;  // the Comps folder itself
            return;
        }
        const std::string name = EffectFolderName(path.c_str());
        EffectList.push_back(name);
        TMenuItem* sub = new TMenuItem(imageMenu_);
        sub->SetCaption("&" + TranslateName(name.c_str()));
        sub->SetTag(++folders_);
        imageMenu_->Add(sub);
        Keep(sub);
        NewMenuItem(sub, Translate("Browse"), ComponentCount, events_.browseClick);
        NewMenuItem(sub, "-", 0, nullptr);
        parent_ = sub;
    }

    void File(const AnsiString& path)
    {
        if (ComponentCount >= MAX_COMPONENTS) return;
        DebugLog(path + " found.");
        ComponentModule m;
        if (!LoadComponentModule(path.c_str(), m)) return;
        ComponentEntry e = DescribeComponent(m.descriptor, path.c_str(), m.version);
        if (!e.icon.empty() && firstScan_) e.toolIcon = AddIconButton(e, m.module, firstIcon_);
        FreeComponentModule(m);
        const int index = AddComponent(e);
        if (index < 0) return;
        if (parent_->GetCount() == 1) NewMenuItem(parent_, "-", 0, nullptr);
        TMenuItem* item = NewMenuItem(parent_, "&" + TranslateName(e.name.c_str()), index, events_.componentClick);
        if (parent_ == imageMenu_) Keep(item);
    }

private:
    TMenuItem* imageMenu_;
    ComponentMenuEvents events_;
    TMenuItem* parent_;
    bool seenRoot_ = false;
    bool firstIcon_ = true;
    bool firstScan_ = !BrushButtonsExist();
    int folders_ = 0;
};

}  // namespace

void ScanComponents(TCustomTreeScanner* scanner, TMenuItem* imageMenu, const AnsiString& programDir,
                    const ComponentMenuEvents& events)
{
    DebugLog("Scanning for components started.");
    RemoveScanItems(imageMenu);
    ClearComponents();
    Scan scan(imageMenu, events);
    scanner->SetInitialDirectory(programDir + "Comps");
    scanner->SetFileMask("*.ksc");
    scanner->SetRecursive(true);
    scanner->OnDirectoryFound = [&scan, scanner](TObject*) { scan.Directory(scanner->GetFileFound()); };
    scanner->OnFileFound = [&scan, scanner](TObject*) { scan.File(scanner->GetFileFound()); };
    try {
        scanner->Execute();
    } catch (...) {
        scanner->OnDirectoryFound = nullptr;
        scanner->OnFileFound = nullptr;
        throw;
    }
    scanner->OnDirectoryFound = nullptr;
    scanner->OnFileFound = nullptr;
    if (scannedMenu) scannedMenu->RemoveFreeNotification(Watch());
    scannedMenu = imageMenu;
    imageMenu->FreeNotification(Watch());
    DebugLog("Scanning for components finished.");
}

bool ComponentMenusBuilt(TMenuItem* imageMenu) { return imageMenu && scannedMenu == imageMenu; }

void ShowComponentMenus(bool shown)
{
    for (TMenuItem* item : scanItems) item->SetVisible(shown);
}

TMenuItem* ComponentGroupMenu(int group)
{
    // Folder submenus carry their number from 1; a component's own item,
    // with no items of its own, carries its index.
    for (TMenuItem* item : scanItems)
        if (item->GetCount() > 0 && item->GetTag() == group + 1) return item;
    return nullptr;
}

namespace {

void RetranslateItem(TMenuItem* item)
{
    if (item->IsLine()) return;
    if (ComponentEntry* e = ComponentAt(item->GetTag())) item->SetCaption("&" + TranslateName(e->name.c_str()));
}

}  // namespace

void RetranslateComponentMenus()
{
    for (TMenuItem* item : scanItems) {
        const int folder = item->GetTag() - 1;
        if (item->GetCount() == 0 || folder < 0 || folder >= int(EffectList.size())) {
            RetranslateItem(item);
            continue;
        }
        item->SetCaption("&" + TranslateName(EffectList[size_t(folder)].c_str()));
        item->GetItem(0)->SetCaption(Translate("Browse"));
        for (int i = 2; i < item->GetCount(); ++i) RetranslateItem(item->GetItem(i));
    }
}
