// What the image windows ask of the units around them that are built apart:
// the main window (its zoom control, Window menu, active control, private
// messages, long operations), the picture-file and edit commands, the grid
// and the colour swatches. Each unit installs its part when it exists;
// with a part missing there is no such unit, and nothing happens: a close
// that needs a save is then refused, since nothing could save.
#ifndef KESTREL_IMAGEWINDOW_HOST_H
#define KESTREL_IMAGEWINDOW_HOST_H

#include <functional>
#include "ansistring.h"
#include "imagekeys.h"

class TCustomForm;

struct ImageWindowHostServices {
    // --- main window ---
    // Its left, top and height; false while there is no main window.
    std::function<bool(int& left, int& top, int& height)> mainWindowBounds;
    std::function<void(int step)> showZoomStep;  // the Zoom up-down and its label
    std::function<void(int index, const AnsiString& title)> addWindowMenuItem;
    std::function<void(int index)> removeWindowMenuItem;
    std::function<void()> clearActiveControl;
    std::function<bool()> mainControlFocused;
    // Tag of the option-bar control that has the focus; -1 when none has.
    std::function<int()> focusedOptionTag;
    // The last image window is gone: the main window opens a blank picture.
    std::function<void()> postNewImage;
    std::function<void()> closeMainWindow;
    std::function<bool()> operationRunning;  // a long operation shows its progress
    std::function<void()> cancelOperation;
    // Lets the main tool bar and palette bar dock in a window (true) or no
    // longer (false).
    std::function<void(TCustomForm* form, bool dockable)> registerDockForm;
    // The main tool bar and palette bar, when shown and floating, dock in
    // the form's left and right docks.
    std::function<void(TCustomForm* form)> dockMainBars;
    // The floating main bars go below the main window, one under the other.
    std::function<void()> floatMainBars;
    std::function<void()> maximiseMainWindow;
    // The gradient ends of active and inactive captions (colour values).
    std::function<void(int& activeEnd, int& inactiveEnd)> captionEndColors;
    // --- other units ---
    // Saves CurrentPicture; answers the save result (0 saved .. 3 write error).
    std::function<int()> saveCurrentPicture;
    // The colour keys (IsColourKey): the palette bar's swatches and the
    // colour selector take them.
    std::function<void(ImageKey key)> colourKey;
    // Shortcuts whose work is done elsewhere: brush reset, paste, cut, copy,
    // delete, cut-rectangle sizes.
    std::function<void(ImageKey key)> command;
    std::function<void(int& x, int& y)> snapToGrid;
};
extern ImageWindowHostServices ImageWindowHost;

// Program-wide state of the image windows.
extern bool ClosingCancelled;  // a close was refused: shut-down stops too
extern int UntitledCounter;    // the number the next untitled picture gets
extern bool AlwaysDock;        // the main window's bars dock in the current image window
extern bool ResizeNeigh;       // sizing a window sizes the windows glued to it

#endif
