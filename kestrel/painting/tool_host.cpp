#include "tool_host.h"

ToolHostServices ToolHost;

void CloseUndoPopup()
{
    if (ToolHost.closeUndoPopup) ToolHost.closeUndoPopup();
}

void SetMainHelpContext(int context)
{
    if (ToolHost.setHelpContext) ToolHost.setHelpContext(context);
}

void HoldBarLayout(bool hold)
{
    if (ToolHost.holdBarLayout) ToolHost.holdBarLayout(hold);
}

void FitMainWindowToDock()
{
    if (ToolHost.fitMainWindowToDock) ToolHost.fitMainWindowToDock();
}

void SetImageStatusText(int panel, const AnsiString& text)
{
    if (ToolHost.setStatusText) ToolHost.setStatusText(panel, text);
}

void SetImageViewCursors(short cursor)
{
    if (ToolHost.setViewCursor) ToolHost.setViewCursor(cursor);
}

void ReleaseMouseCapture()
{
    if (ToolHost.releaseCapture) ToolHost.releaseCapture();
}
