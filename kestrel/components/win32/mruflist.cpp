// TMRUFileList: the list, its menu items and its store.
#include "mruflist.h"

#include "file_name_label_model.h"
#include "bitmap.h"
#include "inifiles.h"
#include "mruflist_model.h"
#include "registry.h"
#include "sysutils.h"

namespace {

// The process's one canvas in the system's menu font, for measuring
// captions; made on first use, freed at exit.
TCanvas* MenuFontCanvas()
{
    static std::unique_ptr<TBitmap> bitmap;
    if (!bitmap) {
        std::unique_ptr<TBitmap> made(new TBitmap);
        made->SetSize(1, 1);
        NONCLIENTMETRICSA metrics = {};
        metrics.cbSize = sizeof(metrics);
        if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
            HFONT font = CreateFontIndirectA(&metrics.lfMenuFont);
            if (font) made->GetCanvas()->GetFont()->SetHandle(font);
        }
        bitmap = std::move(made);
    }
    return bitmap->GetCanvas();
}

HKEY RootKeyHandle(TRootKey key)
{
    switch (key) {
    case rkClassesRoot: return HKEY_CLASSES_ROOT;
    case rkLocalMachine: return HKEY_LOCAL_MACHINE;
    case rkUsers: return HKEY_USERS;
    case rkCurrentConfig: return HKEY_CURRENT_CONFIG;
    case rkDynData: return HKEY_DYN_DATA;
    default: return HKEY_CURRENT_USER;
    }
}

}  // namespace

TMRUFileList::TMRUFileList(TComponent* AOwner) : TComponent(AOwner) {}

TMRUFileList::~TMRUFileList()
{
    // Nothing may leave a destructor; an unsaved list is the lesser harm.
    if (autoSave_) {
        try {
            Save();
        } catch (...) {
        }
    }
    if (fileMenu_) RemoveFreeNotification(fileMenu_);
    // The items (retired ones too) are ours as owner and go with us.
    retired_.clear();
}

void TMRUFileList::SetMaximum(int Value)
{
    Value = Value < 0 ? 0 : Value > 255 ? 255 : Value;
    bool lower = Value < maximum_;
    maximum_ = Value;
    if (!lower) return;
    MRUTrim(&list_, maximum_);
    RebuildMenu();
}

void TMRUFileList::SetUseSubmenu(bool Value)
{
    useSubmenu_ = Value;
    RebuildMenu();
}

void TMRUFileList::SetInsertSeparator(bool Value)
{
    insertSeparator_ = Value;
    RebuildMenu();
}

void TMRUFileList::SetSubmenuName(const AnsiString& Value)
{
    if (Value == submenuName_) return;
    submenuName_ = Value;
    if (useSubmenu_) RebuildMenu();
}

void TMRUFileList::SetMaxCaptionWidth(int Value)
{
    maxCaptionWidth_ = Value;
    RebuildMenu();
}

void TMRUFileList::SetFileMenu(TMenuItem* Value)
{
    if (Value == fileMenu_) return;
    RemoveMenuItems();
    if (fileMenu_) RemoveFreeNotification(fileMenu_);
    fileMenu_ = Value;
    if (Value) FreeNotification(Value);
    RebuildMenu();
}

void TMRUFileList::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == fileMenu_) fileMenu_ = nullptr;
}

void TMRUFileList::InsertItem(int Index, const AnsiString& FileName)
{
    MRUInsert(&list_, Index, FileName, maximum_);
    RebuildMenu();
}

void TMRUFileList::Clear()
{
    RemoveMenuItems();
    list_.Clear();
}

// ---- the menu

TMenuItem* TMRUFileList::Place() const
{
    if (!fileMenu_) return nullptr;
    return fileMenu_->GetCount() > 0 ? fileMenu_ : fileMenu_->GetParent();
}

void TMRUFileList::RemoveMenuItems()
{
    TMenuItem* place = Place();
    if (!place) return;
    for (int i = place->GetCount() - 1; i >= 0; --i) {
        auto* item = dynamic_cast<TMRUMenuItem*>(place->GetItem(i));
        if (!item) continue;
        place->Remove(item);
        // An item must outlive its own OnClick.
        if (clicking_ > 0) retired_.push_back(item);
        else delete item;
    }
}

void TMRUFileList::FreeRetired()
{
    if (clicking_ > 0) return;
    std::vector<TMenuItem*> gone;
    gone.swap(retired_);
    for (TMenuItem* item : gone) delete item;
}

AnsiString TMRUFileList::ShownName(const AnsiString& Name) const
{
    if (maxCaptionWidth_ <= 0) return Name;
    TCanvas* canvas = MenuFontCanvas();
    return ShortenFileName(Name, "\\", drFromLeft, maxCaptionWidth_,
                           [canvas](const AnsiString& text) { return canvas->TextWidth(text); });
}

void TMRUFileList::RebuildMenu()
{
    FreeRetired();
    if (!fileMenu_) return;
    RemoveMenuItems();
    if (list_.GetCount() == 0) return;
    TMenuItem* target = fileMenu_;
    int at = fileMenu_->GetCount();
    if (at == 0) {
        target = fileMenu_->GetParent();
        if (!target) return;
        at = fileMenu_->GetMenuIndex();
    }
    if (insertSeparator_) {
        auto* line = new TMRUMenuItem(this);
        line->SetCaption("-");
        target->Insert(at++, line);
    }
    if (useSubmenu_) {
        auto* sub = new TMRUMenuItem(this);
        sub->SetCaption(submenuName_);
        target->Insert(at, sub);
        target = sub;
        at = 0;
    }
    for (int i = 0; i < list_.GetCount(); ++i) {
        AnsiString name = list_.GetStrings(i);
        auto* item = new TMRUMenuItem(this);
        item->itemNumber_ = i + 1;
        item->fullCaption_ = MRUCaption(i + 1, name);
        item->SetCaption(maxCaptionWidth_ == 0 ? item->fullCaption_ : MRUCaption(i + 1, ShownName(name)));
        item->OnClick = [this](TObject* Sender) { ItemClick(Sender); };
        target->Insert(at++, item);
    }
}

void TMRUFileList::ItemClick(TObject* Sender)
{
    auto* item = dynamic_cast<TMRUMenuItem*>(Sender);
    if (!item) return;
    int index = item->GetItemNumber() - 1;
    if (index < 0 || index >= list_.GetCount()) return;
    AnsiString name = list_.GetStrings(index);
    ++clicking_;
    try {
        if (removeOnClick_) {
            list_.Delete(index);
            RebuildMenu();
        }
        if (OnMRUItemClick) OnMRUItemClick(Sender, name);
    } catch (...) {
        --clicking_;
        throw;
    }
    --clicking_;
}

// ---- the store

bool TMRUFileList::CanStore() const
{
    return !autoSaveName_.IsEmpty() && !autoSaveKey_.IsEmpty();
}

void TMRUFileList::Loaded()
{
    TComponent::Loaded();
    if (autoSave_) Load();
}

void TMRUFileList::Load()
{
    if (!CanStore()) return;
    TStringList lines;
    if (useRegistry_) {
        TRegIniFile ini("");
        ini.SetAccess(KEY_READ);
        ini.SetRootKey(RootKeyHandle(rootKey_));
        if (!ini.OpenKey(autoSaveName_, false)) return;
        ini.ReadSectionValues(autoSaveKey_, &lines);
    } else {
        if (!FileExists(autoSaveName_)) return;
        TIniFile ini(autoSaveName_);
        ini.ReadSectionValues(autoSaveKey_, &lines);
    }
    MRUStoredToList(&lines);
    list_.Assign(&lines);
    RebuildMenu();
}

void TMRUFileList::Save()
{
    if (!CanStore()) return;
    if (useRegistry_) {
        TRegIniFile ini("");
        ini.SetRootKey(RootKeyHandle(rootKey_));
        if (!ini.OpenKey(autoSaveName_, true)) return;
        ini.EraseSection(autoSaveKey_);
        for (int i = 0; i < list_.GetCount(); ++i) ini.WriteString(autoSaveKey_, MRUValueName(i), list_.GetStrings(i));
        return;
    }
    TIniFile ini(autoSaveName_);
    // A file or section that is not there yet has nothing to erase.
    try {
        ini.EraseSection(autoSaveKey_);
    } catch (const EIniFileException&) {
    }
    for (int i = 0; i < list_.GetCount(); ++i) ini.WriteString(autoSaveKey_, MRUValueName(i), list_.GetStrings(i));
}
