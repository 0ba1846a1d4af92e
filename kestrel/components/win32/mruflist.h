// TMRUFileList: the most recently used file names, shown as numbered items
// of a menu (TMRUMenuItem), reported when clicked, and kept in the registry
// or an INI file as values F0, F1, ... of one section.
//
// Entries are most recent first. Loading happens in Loaded (the end of
// BeginLoading/EndLoading) or by Load; saving when the list is freed or by
// Save; both only with AutoSave and a non-empty AutoSaveName and AutoSaveKey.
#ifndef KESTREL_MRUFLIST_H
#define KESTREL_MRUFLIST_H

#include <memory>
#include <vector>

#include "menus.h"
#include "stringlist.h"

enum TRootKey { rkClassesRoot, rkCurrentUser, rkLocalMachine, rkUsers, rkCurrentConfig, rkDynData };

using TMRUClickEvent = std::function<void(TObject* Sender, const AnsiString& AFilename)>;

// An item the list made: an entry (ItemNumber 1, 2, ...), or the separator
// or submenu before them (ItemNumber 0).
class TMRUMenuItem : public TMenuItem {
public:
    explicit TMRUMenuItem(TComponent* AOwner) : TMenuItem(AOwner) {}

    // "&n name" with the name not shortened.
    AnsiString GetFullCaption() const { return fullCaption_; }
    int GetItemNumber() const { return itemNumber_; }

private:
    friend class TMRUFileList;
    AnsiString fullCaption_;
    int itemNumber_ = 0;
};

class TMRUFileList : public TComponent {
public:
    explicit TMRUFileList(TComponent* AOwner);
    ~TMRUFileList() override;

    // 0..255 (default 5). Lowering it drops entries from the end.
    int GetMaximum() const { return maximum_; }
    void SetMaximum(int Value);
    bool GetRemoveOnClick() const { return removeOnClick_; }
    void SetRemoveOnClick(bool Value) { removeOnClick_ = Value; }
    bool GetUseSubmenu() const { return useSubmenu_; }
    void SetUseSubmenu(bool Value);
    bool GetInsertSeparator() const { return insertSeparator_; }
    void SetInsertSeparator(bool Value);
    AnsiString GetSubmenuName() const { return submenuName_; }
    void SetSubmenuName(const AnsiString& Value);
    // Entries go at the end of FileMenu when it has items, else into its
    // parent at its own place.
    TMenuItem* GetFileMenu() const { return fileMenu_; }
    void SetFileMenu(TMenuItem* Value);
    // Pixels in the menu font; 0 never shortens.
    int GetMaxCaptionWidth() const { return maxCaptionWidth_; }
    void SetMaxCaptionWidth(int Value);

    bool GetAutoSave() const { return autoSave_; }
    void SetAutoSave(bool Value) { autoSave_ = Value; }
    bool GetUseRegistry() const { return useRegistry_; }
    void SetUseRegistry(bool Value) { useRegistry_ = Value; }
    TRootKey GetAutoSaveRootKey() const { return rootKey_; }
    void SetAutoSaveRootKey(TRootKey Value) { rootKey_ = Value; }
    // Registry key path (a leading "\" is from the root) or INI file name.
    AnsiString GetAutoSaveName() const { return autoSaveName_; }
    void SetAutoSaveName(const AnsiString& Value) { autoSaveName_ = Value; }
    AnsiString GetAutoSaveKey() const { return autoSaveKey_; }
    void SetAutoSaveKey(const AnsiString& Value) { autoSaveKey_ = Value; }

    int GetCount() const { return list_.GetCount(); }
    // Raises EListError outside 0..Count-1.
    AnsiString GetFile(int Index) const { return list_.GetStrings(Index); }

    void InsertItem(int Index, const AnsiString& FileName);
    void Clear();
    // The store as AutoSave uses it; a store that cannot be opened leaves
    // the list (Load) or the store (Save) as it was.
    void Load();
    void Save();

    TMRUClickEvent OnMRUItemClick;

protected:
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    bool CanStore() const;
    void RebuildMenu();
    void RemoveMenuItems();
    TMenuItem* Place() const;
    AnsiString ShownName(const AnsiString& Name) const;
    void ItemClick(TObject* Sender);
    void FreeRetired();

    TStringList list_;
    int maximum_ = 5;
    bool removeOnClick_ = true;
    bool useSubmenu_ = false;
    bool insertSeparator_ = true;
    AnsiString submenuName_ = "Reopen";
    TMenuItem* fileMenu_ = nullptr;
    int maxCaptionWidth_ = 200;
    bool autoSave_ = true;
    bool useRegistry_ = true;
    TRootKey rootKey_ = rkCurrentUser;
    AnsiString autoSaveName_ = "\\Software\\My Application";
    AnsiString autoSaveKey_ = "MRU Items";
    // Items taken out of the menu while one of them was being clicked; freed
    // once no click is running.
    std::vector<TMenuItem*> retired_;
    int clicking_ = 0;
};

#endif
