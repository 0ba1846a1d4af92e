#include "cut_brush.h"

#include "messages.h"
#include "paintkit.h"
#include "paintkit_host.h"

void InstallCutBrush(Buffer& brush, int left, int top, unsigned long key)
{
    CurrentBrush.Buffer::operator=(brush);
    BrushState.originX = short(left);
    BrushState.originY = short(top);
    BrushState.keyColour = key;
    BrushState.pictureBrush = 1;
    TPoint h = HotSpotOf(CurrentBrush.Width(), CurrentBrush.Height(), BrushState.hotSpot);
    // The pointer goes there; trimming and the pen's first preview work
    // from where it is.
    MousePoint = TPoint{left + h.x, top + h.y};
    WarpPointer(MousePoint.x, MousePoint.y);
    OptimiseBrush();
    SetPaintModeP();
}

void BrushTooBig()
{
    TranslatedMessageBox("BrTooBig", "Err", MsgIconWarning);
    // Undo rebuilds the stamp from the brush it restores: a stamp left from
    // a half-made brush would paint what the brush no longer is.
    UDBuffer::Undo(&CurrentBrush, false);
    SelectDefaultTool(true);
}
