// Menus: TMenuItem trees shown as Win32 menus, the form's TMainMenu (a menu
// bar) and TPopupMenu (a context menu).
//
// An item's Win32 menu follows it: every change (caption, state, children)
// rebuilds the menu its item sits in at once, so a menu built in code behaves
// like a loaded one. Hidden items are left out of the Win32 menu, so Win32
// positions and MenuIndex differ when some are hidden.
//
// Each item has a Command id, unique in the process, sent in WM_COMMAND; an
// item with children has a Handle, the HMENU of its submenu. The window that
// shows a menu hands its menu messages to HandleMenuMessage (WM_COMMAND,
// WM_INITMENUPOPUP, WM_MENUSELECT), and its key-downs to IsShortCut.
//
// Ownership: an item frees its children; deleting an item takes it out of its
// parent. Delete only takes an item out (as the class library this stands in
// for does); Clear frees.
#ifndef CLASSLIB_MENUS_H
#define CLASSLIB_MENUS_H

#include <vector>

#include "controls.h"
#include "exceptions.h"

// A key with its modifiers: the virtual-key code in the low byte.
typedef unsigned short TShortCut;
enum : unsigned short {
    scNone = 0,
    scShift = 0x2000,
    scCtrl = 0x4000,
    scAlt = 0x8000,
};

// Only ssShift, ssCtrl and ssAlt of Shift count.
TShortCut ShortCut(WORD Key, TShiftState Shift);
void ShortCutToKey(TShortCut ShortCut, WORD& Key, TShiftState& Shift);
// "Ctrl+S", "Shift+Ctrl+F5", "Del"; the same names on every keyboard layout.
AnsiString ShortCutToText(TShortCut ShortCut);
// The reverse, ignoring case; scNone for text that names no key.
TShortCut TextToShortCut(const AnsiString& Text);
// The caption without its "&" markers ("&&" stays one "&").
AnsiString StripHotkey(const AnsiString& Text);

// Misuse of a menu ("Menu index out of range", "Menu inserted twice").
class EMenuError : public Exception {
public:
    explicit EMenuError(const AnsiString& msg);
};

enum TMenuBreak { mbNone, mbBreak, mbBarBreak };
enum TFindItemKind { fkCommand, fkHandle, fkShortCut };
enum TPopupAlignment { paLeft, paRight, paCenter };
enum TTrackButton { tbRightButton, tbLeftButton };

class TMenu;

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* AOwner);
    ~TMenuItem() override;

    // "-" makes a separator; "&" marks the accelerator letter.
    AnsiString GetCaption() const { return caption_; }
    void SetCaption(const AnsiString& Value);
    bool IsLine() const { return caption_ == "-"; }
    TShortCut GetShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut Value);
    bool GetChecked() const { return checked_; }
    // Checking a radio item unchecks the radio items of its group.
    void SetChecked(bool Value);
    bool GetRadioItem() const { return radioItem_; }
    void SetRadioItem(bool Value);
    int GetGroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int Value);
    bool GetEnabled() const { return enabled_; }
    void SetEnabled(bool Value);
    bool GetVisible() const { return visible_; }
    void SetVisible(bool Value);
    bool GetDefault() const { return default_; }
    void SetDefault(bool Value);
    TMenuBreak GetBreak() const { return break_; }
    void SetBreak(TMenuBreak Value);
    AnsiString GetHint() const { return hint_; }
    void SetHint(const AnsiString& Value) { hint_ = Value; }
    int GetHelpContext() const { return helpContext_; }
    void SetHelpContext(int Value) { helpContext_ = Value; }

    int GetCount() const { return static_cast<int>(items_.size()); }
    // Raises EMenuError "Menu index out of range".
    TMenuItem* GetItem(int Index) const;
    TMenuItem* GetParent() const { return parent_; }
    // Position among the parent's items (hidden ones counted); -1 without parent.
    int GetMenuIndex() const;
    void SetMenuIndex(int Value);

    void Add(TMenuItem* Item) { Insert(GetCount(), Item); }
    // Raises EMenuError "Menu inserted twice" for an item that has a parent
    // (or is this item or one of its parents), "Menu index out of range".
    void Insert(int Index, TMenuItem* Item);
    // Takes Item out (not freed); EMenuError when it is not a child.
    void Remove(TMenuItem* Item);
    void Delete(int Index);
    // Frees every child.
    void Clear();
    int IndexOf(const TMenuItem* Item) const;
    // The child whose caption equals ACaption, ignoring case and "&".
    TMenuItem* Find(const AnsiString& ACaption) const;

    UINT GetCommand() const { return command_; }
    // The submenu (made on demand, rebuilt on change).
    HMENU GetHandle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    // The menu the item's tree belongs to, or nullptr.
    TMenu* GetMenu() const;
    // What Windows shows: the caption, then a tab and the shortcut's name.
    AnsiString GetMenuText() const;

    // Fires OnClick when the item is enabled.
    virtual void Click();
    TNotifyEvent OnClick;

private:
    friend class TMenu;
    TMenuItem* FindItem(UINT_PTR Value, TFindItemKind Kind);
    // The item changed: the menu it sits in is rebuilt.
    void Changed();
    // Its children changed: its own menu, then the one it sits in.
    void ChildrenChanged();
    void RebuildHandle();
    void AppendTo(HMENU menu);
    void UncheckRadioSiblings();

    AnsiString caption_;
    TShortCut shortCut_ = scNone;
    bool checked_ = false;
    bool radioItem_ = false;
    int groupIndex_ = 0;
    bool enabled_ = true;
    bool visible_ = true;
    bool default_ = false;
    TMenuBreak break_ = mbNone;
    AnsiString hint_;
    int helpContext_ = 0;
    UINT command_;
    HMENU handle_ = nullptr;
    TMenuItem* parent_ = nullptr;
    TMenu* menu_ = nullptr;  // set on a menu's root item only
    std::vector<TMenuItem*> items_;
    bool destroying_ = false;
};

class TMenu : public TComponent {
public:
    explicit TMenu(TComponent* AOwner);
    ~TMenu() override;

    // The root item: its children are the menu's entries.
    TMenuItem* GetItems() const { return items_; }
    HMENU GetHandle() { return items_->GetHandle(); }

    // The item with this command, submenu handle or shortcut; nullptr if none.
    TMenuItem* FindItem(UINT_PTR Value, TFindItemKind Kind);
    // Clicks the item with this command; false when there is none.
    bool DispatchCommand(WORD Command);
    // A submenu is about to open: its item is clicked (its OnClick may
    // update the children). False when the handle is not ours.
    bool DispatchPopup(HMENU Handle);
    // Finds the visible item with this key and clicks it (its parents are
    // clicked first, so that their handlers can update it). True when an
    // enabled item took the key.
    bool IsShortCut(WORD Key, TShiftState Shift);
    // The same for a WM_KEYDOWN or WM_SYSKEYDOWN (Shift and Ctrl from the
    // keyboard state, Alt from the message).
    bool IsShortCut(const TMessage& KeyMessage);
    // For the window showing the menu: WM_COMMAND from a menu, WM_INITMENUPOPUP
    // and WM_MENUSELECT (which shows the item's Hint through the
    // Application). True when the message was one of ours.
    bool HandleMenuMessage(TMessage& Message);

protected:
    friend class TMenuItem;
    // The popup made for the root item: a menu bar for TMainMenu.
    virtual HMENU CreateRootHandle();
    // The root's Win32 menu was rebuilt.
    virtual void MenuChanged() {}

private:
    TMenuItem* items_;
};

// A form's menu bar. The form hands it its window with SetWindowHandle when
// the window is made, and nullptr before the window is destroyed (a window
// destroys the menu it shows).
class TMainMenu : public TMenu {
public:
    explicit TMainMenu(TComponent* AOwner);
    ~TMainMenu() override;

    HWND GetWindowHandle() const { return window_; }
    // Shows the menu on Window (SetMenu); nullptr takes it off the old one.
    void SetWindowHandle(HWND Window);

protected:
    HMENU CreateRootHandle() override;
    void MenuChanged() override;

private:
    HWND window_ = nullptr;
};

class TPopupMenu : public TMenu {
public:
    explicit TPopupMenu(TComponent* AOwner);
    ~TPopupMenu() override;

    TPopupAlignment GetAlignment() const { return alignment_; }
    void SetAlignment(TPopupAlignment Value) { alignment_ = Value; }
    TTrackButton GetTrackButton() const { return trackButton_; }
    void SetTrackButton(TTrackButton Value) { trackButton_ = Value; }
    // Whether the control shows it on a right click (the control's business).
    bool GetAutoPopup() const { return autoPopup_; }
    void SetAutoPopup(bool Value) { autoPopup_ = Value; }
    // The control the menu was last shown for; cleared when it goes away.
    TComponent* GetPopupComponent() const { return popupComponent_; }
    void SetPopupComponent(TComponent* Value);

    // Fires OnPopup, then shows the menu at a screen point and waits until
    // it closes; the chosen item is clicked before Popup returns. An
    // exception from a handler goes to the Application, not to the caller.
    virtual void Popup(int X, int Y);
    TNotifyEvent OnPopup;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    virtual void DoPopup();

private:
    TPopupAlignment alignment_ = paLeft;
    TTrackButton trackButton_ = tbRightButton;
    bool autoPopup_ = true;
    TComponent* popupComponent_ = nullptr;
};

#endif
