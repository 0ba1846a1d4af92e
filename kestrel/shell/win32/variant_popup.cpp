#include "variant_popup.h"

#include "appsettings.h"
#include "toolbar_button.h"
#include "toolbuttons.h"
#include "toolgroups.h"
#include "toolmanager.h"

TIconPanel* IconPanel = nullptr;

namespace {
const char KeyEscape = 27;
}  // namespace

TIconPanel::TIconPanel(TComponent* AOwner) : TForm(AOwner)
{
    SetBorderStyle(bsNone);
    SetFormStyle(fsStayOnTop);
    SetKeyPreview(true);
    // The size it is made with; ShowGroup fits it to the group.
    SetClientWidth(318);
    SetClientHeight(99);
    OnCreate = [this](TObject* Sender) { InitButtons(Sender); };
    OnDeactivate = [this](TObject* Sender) { CloseForm(Sender); };
    OnKeyPress = [this](TObject* Sender, char& Key) { CloseForm2(Sender, Key); };
    OnClose = [this](TObject* Sender, TCloseAction& Action) { FormClose(Sender, Action); };
    AfterConstruction();
}

TIconPanel::~TIconPanel()
{
    if (IconPanel == this) IconPanel = nullptr;
}

void TIconPanel::InitButtons(TObject*)
{
    bevel_ = new TBevel(this);
    bevel_->SetParent(this);
    bevel_->SetAlign(alClient);
    bevel_->SetStyle(bsRaised);
    for (int i = 0; i < IconPanelCells; ++i) {
        auto* cell = new TToolbarButton(this);
        cell->SetParent(this);
        cell->SetBounds(0, 0, IconCellSize, IconCellSize);
        cell->SetTag(i);
        cell->SetFlat(AppSettings.FlatIcons);
        cell->SetShowHint(true);
        cell->SetVisible(false);
        cell->OnClick = [this](TObject* Sender) { IconSelected(Sender); };
        cells_[i] = cell;
    }
}

TToolbarButton* TIconPanel::GetCell(int index) const
{
    if (index < 0 || index >= IconPanelCells) return nullptr;
    return cells_[index];
}

void TIconPanel::SetCellsFlat(bool flat)
{
    for (TToolbarButton* cell : cells_) cell->SetFlat(flat);
}

void TIconPanel::ShowGroup(int group, const IconPanelPlace& place)
{
    const ToolGroup& g = GetToolGroup(group);
    group_ = group;
    SetBounds(place.left, place.top, place.width, place.height);
    SetClientWidth(place.width);
    SetClientHeight(place.height);
    for (int i = 0; i < IconPanelCells; ++i) {
        TToolbarButton* cell = cells_[i];
        int entry = IconCellEntry(g, i);
        if (entry < 0) {
            cell->SetVisible(false);
            continue;
        }
        ToolSpot spot = IconCellSpot(i, place.columns);
        cell->SetBounds(spot.left, spot.top, IconCellSize, IconCellSize);
        cell->SetGlyph(ToolGlyph(entry));
        cell->SetHint(ToolEntryHint(entry));
        cell->SetVisible(true);
    }
    Show();
}

void TIconPanel::IconSelected(TObject* Sender)
{
    auto* cell = dynamic_cast<TToolbarButton*>(Sender);
    if (!cell || group_ < 0 || group_ >= ToolGroupCount()) return;
    ToolGroup& g = GetToolGroup(group_);
    int entry = IconCellEntry(g, cell->GetTag());
    if (entry < 0) return;
    g.shownTool = entry;
    g.button->SetGlyphEntry(entry);
    // The popup goes even when the tool refuses to start.
    try {
        SelectTool(ToolEntry(entry).tool, true, entry);
    } catch (...) {
        Close();
        throw;
    }
    Close();
}

void TIconPanel::CloseForm(TObject*) { Close(); }

void TIconPanel::CloseForm2(TObject*, char& Key)
{
    if (Key == KeyEscape) Close();
}

void TIconPanel::FormClose(TObject*, TCloseAction& Action)
{
    if (IconPanel == this) IconPanel = nullptr;
    Hide();
    Action = caFree;
}
