// The option bar's model: the controls built from the current tool's
// description (optionbar_parse.h) and their values, which tools read and
// write by the index of a value-carrying control. The bar's window (a
// docked tool bar of the main window) mirrors this model through
// OptionBarView when it exists.
#ifndef KESTREL_OPTIONBAR_H
#define KESTREL_OPTIONBAR_H

#include <functional>
#include "optionbar_parse.h"

class P_icon;

const int MaxOptionControls = 32;

struct OptionControl {
    OptionItem item;
    double value;
    bool visible;  // and enabled: the user level reaches the item's
};

struct OptionBarViewServices {
    std::function<void(const OptionBarDescription&)> build;  // controls in the description's order
    std::function<void(bool shown)> show;
    std::function<void()> clearActiveControl;                // the main window's
    std::function<void(int index)> showValue;                // after a tool set it
    // The main window's fixed grid bar: shown (in dock row 1) or hidden,
    // disabled and its controls disabled.
    std::function<void(bool shown)> showGridBar;
};
extern OptionBarViewServices OptionBarView;

// The grid switch: a toggle tool whose bar is the main window's grid bar,
// not one built from a description. Its unit sets this at start-up.
extern P_icon* GridTool;

// Builds the bar from the translated description under key; the values
// start as the description gives them.
void BuildOptionBar(const AnsiString& key);
// Nothing for a tool without a description. A bar built from the same key
// at the same user level stays as it is, values and all.
// While the grid is switched on, the grid bar is taken down for the build
// and put back below the option bar.
void ShowOptionBar(P_icon* tool);
// With GridTool as the old tool it is the grid bar that goes.
void HideOptionBar(P_icon* oldTool, P_icon* newTool);
bool OptionBarShown();
// Both bars down, whatever showed them: as HideOptionBar of a tool with a
// description and of the grid switch, for no new tool. Start-up calls it
// after restoring the bars' stored places, which may show either of them.
void HideOptionBars();

int OptionControlCount();
// 0 for an index past the bar's controls.
double GetOptionValue(int index);
// Ignored for an index past the bar's controls.
void SetOptionValue(int index, double value);
// Null for an index past the bar's controls.
const OptionControl* GetOptionControl(int index);

#endif
