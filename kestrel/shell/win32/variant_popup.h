// TIconPanel: the popup of a tool group's variants that opens when the
// group's button is held. A stay-on-top borderless form with a bevel and 32
// cells (tool-bar buttons numbered 0 to 31); the cells the group has no
// variant for are hidden. Choosing a cell selects that variant; losing the
// activation or Escape closes the popup, which then frees itself.
#ifndef KESTREL_VARIANT_POPUP_H
#define KESTREL_VARIANT_POPUP_H

#include "extctrls.h"
#include "forms.h"
#include "toolbuttons_layout.h"

class TToolbarButton;

class TIconPanel : public TForm {
public:
    explicit TIconPanel(TComponent* AOwner);
    ~TIconPanel() override;

    // Sizes and places the popup for group, fills its cells and shows it.
    void ShowGroup(int group, const IconPanelPlace& place);
    // The group it was opened for; -1 before ShowGroup.
    int GetGroup() const { return group_; }
    TToolbarButton* GetCell(int index) const;
    void SetCellsFlat(bool flat);

    // A cell was clicked: its variant becomes the group's shown tool and the
    // current tool, and the popup closes.
    void IconSelected(TObject* Sender);

private:
    void InitButtons(TObject* Sender);
    void CloseForm(TObject* Sender);
    void CloseForm2(TObject* Sender, char& Key);
    void FormClose(TObject* Sender, TCloseAction& Action);

    TBevel* bevel_ = nullptr;
    TToolbarButton* cells_[IconPanelCells] = {};
    int group_ = -1;
};

// The open popup, or null: set when the tool buttons open one, cleared when
// it closes.
extern TIconPanel* IconPanel;

#endif
