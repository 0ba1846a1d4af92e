#include "toolbuttons.h"

#include "appsettings.h"
#include "exceptions.h"
#include "variant_popup.h"
#include "screen.h"
#include "toolbar_button.h"
#include "timerlst.h"
#include "tool.h"
#include "toolbuttons_layout.h"
#include "toolbuttons_tools.h"
#include "toolgroups.h"
#include "toolmanager.h"

TToolButtons* ToolButtons = nullptr;

namespace {
const int IconHoldMs = 500;  // a press held this long opens the variants
}  // namespace

TToolButtons::TToolButtons(TWinControl* panel) : TComponent(panel), panel_(panel)
{
    if (!panel) throw EInvalidOperation("Tool buttons need a panel");
    ClearToolTable();
    timers_ = new TTimerList(this);
    int handle = timers_->Add([this](TObject* Sender) { ShowIconPanel(Sender); }, IconHoldMs, true);
    iconTimer_ = timers_->GetEvent(timers_->ItemIndexByHandle(handle));
    iconTimer_->SetEnabled(false);
    timers_->SetActive(true);
}

TToolButtons::~TToolButtons()
{
    if (ToolButtons == this) ToolButtons = nullptr;
    if (iconTimer_) iconTimer_->SetEnabled(false);
    delete IconPanel;
    for (int g = 0; g < ToolGroupCount(); ++g) GetToolGroup(g).button->changed = nullptr;
    ClearToolTable();
}

int TToolButtons::AddToolButton(const AnsiString& glyphName, std::unique_ptr<TBitmap> glyph, P_icon* tool,
                                int hotKey, int groupIndex, int popupColumns)
{
    if (!tool) throw EInvalidOperation("Tool button without a tool");
    if (!glyph) throw EInvalidOperation("Tool button without a glyph");
    if (popupColumns < 0)
        throw EInvalidOperation(AnsiString().sprintf("Popup columns out of range (%d)", popupColumns));
    if (!CanAddToolEntry(popupColumns)) return -1;
    int group = AddToolEntry(glyphName, tool, hotKey, popupColumns);
    if (group < 0) return -1;
    glyphs_.push_back(std::move(glyph));
    if (popupColumns != 0) {
        CreateButton(group, groupIndex);
    } else if (GetToolGroup(group).count == 2 && GetButton(group)) {
        // One variant behaves as a switch; from two on the button stands
        // for the group and stays down while a variant is current.
        GetButton(group)->SetAllowAllUp(false);
    }
    return group;
}

void TToolButtons::CreateButton(int group, int groupIndex)
{
    ToolGroup& g = GetToolGroup(group);
    auto* button = new TToolbarButton(this);
    button->SetParent(panel_);
    ToolSpot spot = ToolButtonSpot(group);
    button->SetBounds(spot.left, spot.top, ToolButtonSize, ToolButtonSize);
    button->SetGlyph(GetGlyph(g.firstTool));
    button->SetGroupIndex(groupIndex);
    button->SetAllowAllUp(true);
    button->SetFlat(AppSettings.FlatIcons);
    button->SetTag(group);
    button->SetHint(g.button->hint);
    button->SetShowHint(true);
    button->OnClick = [this](TObject* Sender) { IconMouseClick(Sender); };
    button->OnMouseDown = [this](TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
        IconMouseDown(Sender, Button, Shift, X, Y);
    };
    button->OnMouseUp = [this](TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
        IconMouseUp(Sender, Button, Shift, X, Y);
    };
    buttons_.resize(size_t(group) + 1, nullptr);
    shownGlyph_.resize(size_t(group) + 1, -1);
    buttons_[size_t(group)] = button;
    shownGlyph_[size_t(group)] = g.firstTool;
    g.button->changed = [this, group](ToolGroupButton&) { Mirror(group); };
}

TToolbarButton* TToolButtons::GetButton(int group) const
{
    if (group < 0 || group >= int(buttons_.size())) return nullptr;
    return buttons_[size_t(group)];
}

TBitmap* TToolButtons::GetGlyph(int entry) const
{
    if (entry < 0 || entry >= int(glyphs_.size())) return nullptr;
    return glyphs_[size_t(entry)].get();
}

// The model button changed (glyph, hint or down state): the real one follows.
void TToolButtons::Mirror(int group)
{
    TToolbarButton* button = GetButton(group);
    if (!button) return;
    const ToolGroupButton& model = *GetToolGroup(group).button;
    if (model.glyphEntry != shownGlyph_[size_t(group)] && GetGlyph(model.glyphEntry)) {
        button->SetGlyph(GetGlyph(model.glyphEntry));
        shownGlyph_[size_t(group)] = model.glyphEntry;
    }
    button->SetHint(model.hint);
    if (button->GetDown() != model.down) button->SetDown(model.down);
    SyncDownStates();
}

// Pressing one button of a radio group releases the others without their
// models hearing of it; a stale "down" there would press its button again
// at the model's next change.
void TToolButtons::SyncDownStates()
{
    for (size_t g = 0; g < buttons_.size(); ++g)
        if (buttons_[g]) GetToolGroup(int(g)).button->down = buttons_[g]->GetDown();
}

void TToolButtons::SetFlat(bool flat)
{
    for (TToolbarButton* button : buttons_)
        if (button) button->SetFlat(flat);
    if (IconPanel) IconPanel->SetCellsFlat(flat);
}

int TToolButtons::GroupOfSender(TObject* Sender) const
{
    for (size_t g = 0; g < buttons_.size(); ++g)
        if (buttons_[g] && buttons_[g] == Sender) return int(g);
    return -1;
}

void TToolButtons::IconMouseDown(TObject* Sender, TMouseButton Button, TShiftState, int, int)
{
    if (!iconTimer_) return;
    iconTimer_->SetEnabled(false);
    int group = GroupOfSender(Sender);
    if (group < 0) return;
    ToolGroup& g = GetToolGroup(group);
    CloseIconPanel();
    if (Button == mbRight && g.rightTool) {
        SelectTool(g.rightTool, true, -1);
        return;
    }
    if (g.count > 1) {
        iconTarget_ = group;
        iconTimer_->SetEnabled(true);
        // The list switched itself off when its last event was disabled.
        timers_->SetActive(true);
    }
}

void TToolButtons::IconMouseUp(TObject*, TMouseButton, TShiftState, int, int)
{
    if (iconTimer_) iconTimer_->SetEnabled(false);
    if (IconPanel) IconPanel->BringToFront();
}

void TToolButtons::IconMouseClick(TObject* Sender)
{
    int group = GroupOfSender(Sender);
    if (group < 0) return;
    int entry = GetToolGroup(group).shownTool;
    SelectTool(ToolEntry(entry).tool, true, entry);
}

void TToolButtons::ShowIconPanel(TObject*)
{
    if (iconTimer_) iconTimer_->SetEnabled(false);
    CloseIconPanel();
    TToolbarButton* button = GetButton(iconTarget_);
    if (!button) return;
    const ToolGroup& g = GetToolGroup(iconTarget_);
    POINT at = button->ClientToScreen(POINT{0, 0});
    IconPanelPlace place = PlaceIconPanel(g.count, g.columns, at.x, at.y, Screen->GetWidth(), Screen->GetHeight());
    IconPanel = NewForm<TIconPanel>(nullptr);
    IconPanel->ShowGroup(iconTarget_, place);
}

void TToolButtons::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    // The panel frees its buttons before it frees us.
    for (size_t g = 0; g < buttons_.size(); ++g) {
        if (buttons_[g] != AComponent) continue;
        buttons_[g] = nullptr;
        if (int(g) < ToolGroupCount()) GetToolGroup(int(g)).button->changed = nullptr;
    }
    if (AComponent == timers_) {
        timers_ = nullptr;
        iconTimer_ = nullptr;
    }
}

void BuildToolButtons(TWinControl* panel, HINSTANCE module)
{
    BuildToolButtons(panel, module, BuiltToolForName);
}

void BuildToolButtons(TWinControl* panel, HINSTANCE module, const ToolForName& toolFor)
{
    FreeToolButtons();
    ToolButtons = new TToolButtons(panel);
    for (const ToolButtonStep& step : PlanToolButtons(ToolButtonRows(), toolFor)) {
        int group = AddToolButton(step.glyph, step.tool, step.hotKey, step.groupIndex, module, step.columns);
        if (group >= 0 && step.rightTool) GetToolGroup(group).rightTool = step.rightTool;
    }
}

int AddToolButton(const AnsiString& glyphRes, P_icon* tool, int hotKey, int groupIndex, HINSTANCE module,
                  int popupColumns)
{
    if (!ToolButtons) throw EInvalidOperation("Tool buttons have not been built");
    // A full group or table takes nothing: no glyph is loaded for it.
    if (!CanAddToolEntry(popupColumns)) return -1;
    std::unique_ptr<TBitmap> glyph(new TBitmap);
    glyph->LoadFromResourceName(module, glyphRes);
    return ToolButtons->AddToolButton(glyphRes, std::move(glyph), tool, hotKey, groupIndex, popupColumns);
}

void FreeToolButtons() { delete ToolButtons; }

void CloseIconPanel()
{
    if (IconPanel) IconPanel->Close();
}

bool IconPanelOpen() { return IconPanel != nullptr; }

TBitmap* ToolGlyph(int entry) { return ToolButtons ? ToolButtons->GetGlyph(entry) : nullptr; }
