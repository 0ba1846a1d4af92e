// What the tool manager asks of the windows around it: the main window
// (help context, the re-layout of its docked bars, the mouse capture), the
// image windows (status panels, view cursors) and the undo list popup.
// Each window installs its part when it exists; with none installed there
// is no such window, and there is nothing to update.
#ifndef KESTREL_TOOL_HOST_H
#define KESTREL_TOOL_HOST_H

#include <functional>
#include "ansistring.h"

struct ToolHostServices {
    std::function<void()> closeUndoPopup;
    std::function<void(int context)> setHelpContext;  // the main window's
    // Holds (true) and releases (false) the re-layout of the main window's
    // dock and option bar while a tool switch rebuilds them.
    std::function<void(bool hold)> holdBarLayout;
    std::function<void()> fitMainWindowToDock;
    // A status panel of the current image window.
    std::function<void(int panel, const AnsiString& text)> setStatusText;
    std::function<void(short cursor)> setViewCursor;  // every image window's view
    std::function<void()> releaseCapture;
};
extern ToolHostServices ToolHost;

void CloseUndoPopup();
void SetMainHelpContext(int context);
void HoldBarLayout(bool hold);
void FitMainWindowToDock();
void SetImageStatusText(int panel, const AnsiString& text);
void SetImageViewCursors(short cursor);
void ReleaseMouseCapture();

#endif
