// What the spray, the pipette and the grid tools ask of the main window:
// binding the sizing button of the spray bars, taking a colour into a
// swatch, and the grid bar's spacing and origin. The main window installs
// these; with nothing installed there is no main window: no button is
// bound, no swatch changes, and the grid is 8 pixels from the origin.
#ifndef KESTREL_TOOLBOX_HOST_H
#define KESTREL_TOOLBOX_HOST_H

#include <functional>

// Spacing (dx, dy, at least 1) and origin (px, py) of the grid, in pixels.
struct GridSettings {
    int dx = 8, dy = 8, px = 0, py = 0;
};

struct ToolBoxHostServices {
    // Option `index` of the bar just built selects the spray sizing tool.
    std::function<void(int index)> bindResizeSpray;
    // The drawing swatch (background with back) takes the colour 0x00RRGGBB
    // with its HSV in the tag; the colour users catch up.
    std::function<void(bool back, unsigned long colour)> pickColour;
    std::function<GridSettings()> gridSettings;
    std::function<void(int x, int y)> setGridOrigin;
};
extern ToolBoxHostServices ToolBoxHost;

GridSettings CurrentGridSettings();

#endif
