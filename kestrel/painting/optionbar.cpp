#include "optionbar.h"

#include <cmath>
#include <vector>

#include "messages.h"
#include "tool.h"
#include "toolgroups.h"
#include "userlevel.h"

OptionBarViewServices OptionBarView;
P_icon* GridTool = nullptr;

namespace {
struct OptionBarState {
    bool shown = false;
    AnsiString key;        // the description the bar was built from
    int builtLevel = -1;   // the user level it was built at
    std::vector<OptionControl> controls;
};

OptionBarState& Bar()
{
    static OptionBarState bar;
    return bar;
}

bool KeepsBar(const P_icon* tool)
{
    const OptionBarState& bar = Bar();
    return bar.shown && tool && tool->optionBarKey == bar.key && Level == bar.builtLevel;
}

void SetShown(bool shown)
{
    Bar().shown = shown;
    if (OptionBarView.show) OptionBarView.show(shown);
}

void ClearActiveControl()
{
    if (OptionBarView.clearActiveControl) OptionBarView.clearActiveControl();
}

void ShowGridBar(bool shown)
{
    if (OptionBarView.showGridBar) OptionBarView.showGridBar(shown);
}

// The grid is on while its group button is down (a toggle keeps its state
// in clickSteps too, which serves when it has no button).
bool GridSwitchedOn()
{
    if (!GridTool) return false;
    return GridTool->groupButton ? GridTool->groupButton->down : GridTool->clickSteps != 0;
}

int& GridBarHiddenLevel()
{
    static int level = -1;
    return level;
}

void HideGridBar(const P_icon* newTool)
{
    if (newTool && newTool->optionBarKey == GridTool->optionBarKey && Level == GridBarHiddenLevel()) {
        ClearActiveControl();
        return;
    }
    GridBarHiddenLevel() = Level;
    ShowGridBar(false);
}

double StoredValue(char kind, double value)
{
    switch (kind) {
    case 'L':
        return std::trunc(value);
    case 'B':
    case 'C':
    case 'P':
        return value != 0 ? 1 : 0;
    case 'O':
        return double((unsigned long)(long long)value & 0xFFFFFF);
    default:
        return value;
    }
}
}  // namespace

void BuildOptionBar(const AnsiString& key)
{
    OptionBarState& bar = Bar();
    OptionBarDescription desc = ParseOptionBar(Translate(key));
    bar.controls.clear();
    bar.key = key;
    bar.builtLevel = Level;
    for (const OptionItem& item : desc.items) {
        // Controls past the table cannot be addressed by tools: not built.
        if (item.HasValue() && bar.controls.size() >= size_t(MaxOptionControls)) continue;
        if (item.HasValue()) bar.controls.push_back(OptionControl{item, item.value, Level >= item.level});
    }
    if (OptionBarView.build) OptionBarView.build(desc);
}

void ShowOptionBar(P_icon* tool)
{
    if (!tool || tool->optionBarKey.IsEmpty()) return;
    if (KeepsBar(tool)) {
        ClearActiveControl();
        return;
    }
    if (Bar().shown) HideOptionBar(tool, nullptr);
    bool grid = GridSwitchedOn();
    if (grid) ShowGridBar(false);
    BuildOptionBar(tool->optionBarKey);
    SetShown(true);
    if (grid) ShowGridBar(true);
    ClearActiveControl();
}

void HideOptionBar(P_icon* oldTool, P_icon* newTool)
{
    if (oldTool && oldTool == GridTool) {
        if (!oldTool->optionBarKey.IsEmpty()) HideGridBar(newTool);
        return;
    }
    // Judged by the bar itself rather than the old tool's key: after a
    // selection while a tool was parked, the old tool is the idle tool,
    // which has no bar, while the parked tool's bar is still up.
    if (!Bar().shown) return;
    if (KeepsBar(newTool)) {
        ClearActiveControl();
        return;
    }
    SetShown(false);
    for (OptionControl& c : Bar().controls) c.visible = false;
}

void HideOptionBars()
{
    SetShown(false);
    for (OptionControl& c : Bar().controls) c.visible = false;
    GridBarHiddenLevel() = Level;
    ShowGridBar(false);
}

bool OptionBarShown() { return Bar().shown; }

int OptionControlCount() { return int(Bar().controls.size()); }

const OptionControl* GetOptionControl(int index)
{
    if (index < 0 || index >= OptionControlCount()) return nullptr;
    return &Bar().controls[size_t(index)];
}

double GetOptionValue(int index)
{
    const OptionControl* c = GetOptionControl(index);
    return c ? c->value : 0;
}

void SetOptionValue(int index, double value)
{
    if (index < 0 || index >= OptionControlCount()) return;
    OptionControl& c = Bar().controls[size_t(index)];
    c.value = StoredValue(c.item.kind, value);
    if (OptionBarView.showValue) OptionBarView.showValue(index);
}
