// The main window's tool-group buttons: one 28 x 28 button per group on the
// tool panel, two columns wide, showing the group's current variant. A click
// selects that variant; holding the button for half a second opens the popup
// of all variants (TIconPanel); the right button selects the group's
// right-button tool when it has one.
//
// The tool table and the groups themselves are the painting core's
// (toolgroups.h); this unit adds what they look like: the glyph of each
// entry and the button of each group, kept in step with the group's model
// button. The buttons, glyphs and table live as long as the panel they were
// built on (or until FreeToolButtons).
#ifndef KESTREL_TOOLBUTTONS_H
#define KESTREL_TOOLBUTTONS_H

#include <memory>
#include <vector>

#include "bitmap.h"
#include "component.h"
#include "controls.h"
#include "toolbuttons_table.h"

class P_icon;
class TToolbarButton;
class TTimerList;
class TTimerEvent;

class TToolButtons : public TComponent {
public:
    // Owned by panel, on which the buttons are placed; the tool table starts
    // empty.
    explicit TToolButtons(TWinControl* panel);
    ~TToolButtons() override;

    TWinControl* GetPanel() const { return panel_; }

    // Adds tool with its glyph (taken over) to the table; popupColumns != 0
    // starts a new group with its button (groupIndex: the buttons' radio
    // group). Answers the tool-group number, or -1 when the table, the
    // groups or the group are full (nothing added). EInvalidOperation for a
    // null tool or glyph or negative columns.
    int AddToolButton(const AnsiString& glyphName, std::unique_ptr<TBitmap> glyph, P_icon* tool, int hotKey,
                      int groupIndex, int popupColumns);

    // Null for a group without a button.
    TToolbarButton* GetButton(int group) const;
    // An entry's glyph; null for an entry outside the table.
    TBitmap* GetGlyph(int entry) const;
    TTimerEvent* GetIconTimer() const { return iconTimer_; }
    // The group whose button's press started the icon timer; -1: none.
    int GetIconTarget() const { return iconTarget_; }

    // FlatIcons: every group button (and an open popup's cells) take it.
    void SetFlat(bool flat);

    // The buttons' handlers.
    void IconMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void IconMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void IconMouseClick(TObject* Sender);
    // The icon timer fired: the popup of the held button's group opens.
    void ShowIconPanel(TObject* Sender);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    int GroupOfSender(TObject* Sender) const;
    void CreateButton(int group, int groupIndex);
    void Mirror(int group);
    void SyncDownStates();

    TWinControl* panel_;
    std::vector<std::unique_ptr<TBitmap>> glyphs_;  // by tool-table entry
    std::vector<TToolbarButton*> buttons_;          // by group
    std::vector<int> shownGlyph_;                   // the entry whose glyph a button has
    TTimerList* timers_ = nullptr;
    TTimerEvent* iconTimer_ = nullptr;
    int iconTarget_ = -1;
};

// The tool buttons built last, or null.
extern TToolButtons* ToolButtons;

// Builds the groups of ToolButtonRows on panel (the main window's
// ToolPanel), loading the glyphs from module's bitmap resources; tools the
// program does not have are left out. Anything built before goes first.
void BuildToolButtons(TWinControl* panel, HINSTANCE module);
// The same with the tools toolFor names (tests, and tables of other tools).
void BuildToolButtons(TWinControl* panel, HINSTANCE module, const ToolForName& toolFor);

// Adds a tool whose glyph is the bitmap resource glyphRes of module to the
// buttons built last (the filter-component host adds its groups so).
// Answers the group number, or -1 when nothing was added. EInvalidOperation
// when no buttons were built, EResNotFound when the module lacks the glyph.
int AddToolButton(const AnsiString& glyphRes, P_icon* tool, int hotKey, int groupIndex, HINSTANCE module,
                  int popupColumns);

// Frees the buttons, their glyphs and the tool table, and closes the popup.
void FreeToolButtons();

// The popup of variants; closing it when none is open does nothing.
void CloseIconPanel();
bool IconPanelOpen();

// The glyph of a tool-table entry; null when there is none.
TBitmap* ToolGlyph(int entry);

#endif
