#include "brush_commands.h"

#include <algorithm>

#include "brushes_tools.h"
#include "cut_region.h"
#include "exceptions.h"
#include "messages.h"
#include "paintkit.h"
#include "paintkit_host.h"
#include "programpictures.h"
#include "seedfill.h"
#include "selection_trace.h"
#include "undo_settings.h"

namespace {

const unsigned long NoKey = 0xFFFFFFFF;
const unsigned long SelectedMark = 0x04000000;

// Parks the current tool around a command, also when the command fails.
struct ToolParked {
    ToolParked() { SuspendTool(); }
    ~ToolParked() { ResumeTool(); }
    ToolParked(const ToolParked&) = delete;
    ToolParked& operator=(const ToolParked&) = delete;
};

bool HasBrush() { return CurrentBrush.pixels != nullptr; }

void ReverseRow(unsigned long* p, int n) { std::reverse(p, p + n); }

// Out of memory halfway through a command: the brush was replaced whole or
// not at all, so its step (when one was recorded) stays true to it.
void TellBrushTooBig() { TranslatedMessageBox("BrTooBig", "Err", MsgIconWarning); }

// Records key, then changes the brush in place.
template <class Change> void ChangeInPlace(const char* key, Change change)
{
    if (!HasBrush()) return;
    ToolParked parked;
    if (!UDBuffer::SaveUndo(&CurrentBrush, key, nullptr, -1, 0, 0, 0)) return;
    change(CurrentBrush);
    try {
        RecolorBrush(false);
    } catch (const EOutOfMemory&) {
        TellBrushTooBig();
    }
}

}  // namespace

void OutlinedBrush(Buffer& src, unsigned long colour, Buffer& out)
{
    int w = src.Width() + 2, h = src.Height() + 2;
    Buffer padded;
    padded.Alloc(Pair<int>{w, h});
    padded.Box(padded.GetRect(), KeyPixel);
    padded.Copy(src, Pair<int>{1 - src.left, 1 - src.top}, NoKey);
    Buffer result;
    result.Alloc(Pair<int>{w, h});
    result.Copy(padded, Pair<int>{0, 0}, NoKey);
    auto opaque = [&](int x, int y) { return x >= 0 && x < w && y >= 0 && y < h && *padded.At(x, y) != KeyPixel; };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (*padded.At(x, y) == KeyPixel &&
                (opaque(x - 1, y) || opaque(x + 1, y) || opaque(x, y - 1) || opaque(x, y + 1)))
                *result.At(x, y) = colour;
    out = result;
}

void TurnedQuarter(Buffer& src, Buffer& out)
{
    int w = src.Width(), h = src.Height();
    Buffer turned;
    turned.Alloc(Pair<int>{h, w});
    for (int y = 0; y < h; ++y) {
        const unsigned long* row = src.At(src.left, src.top + y);
        for (int x = 0; x < w; ++x) *turned.At(y, w - 1 - x) = row[x];
    }
    out = turned;
}

void MirrorLeftRight(Buffer& b)
{
    for (int y = b.top; y <= b.bottom; ++y) ReverseRow(b.At(b.left, y), b.Width());
}

void MirrorTopBottom(Buffer& b)
{
    for (int t = b.top, u = b.bottom; t < u; ++t, --u) {
        unsigned long* upper = b.At(b.left, t);
        std::swap_ranges(upper, upper + b.Width(), b.At(b.left, u));
    }
}

void TurnHalf(Buffer& b)
{
    MirrorTopBottom(b);
    MirrorLeftRight(b);
}

void KeyBackground(Buffer& b, unsigned long background)
{
    for (int y = b.top; y <= b.bottom; ++y) {
        unsigned long* p = b.At(b.left, y);
        for (int x = 0; x < b.Width(); ++x) {
            if (p[x] == background) p[x] = KeyPixel;
            p[x] &= ~SelectedMark;
        }
    }
}

bool BrushSizeAllowed(long long w, long long h)
{
    if (w <= BrushSideLimit && h <= BrushSideLimit) return true;
    TranslatedMessageBox("BrTooLarge", "Err", MsgIconWarning);
    return false;
}

bool ReplaceBrush(Buffer& built, const char* key)
{
    if (!UDBuffer::SaveUndo(&CurrentBrush, key, nullptr, -1, 0, 0, 0)) return false;
    CurrentBrush.Buffer::operator=(built);
    return true;
}

void UndoBrush()
{
    ToolParked parked;
    UDBuffer::Undo(&CurrentBrush, true);
}

void RedoBrush()
{
    ToolParked parked;
    UDBuffer::Redo(&CurrentBrush);
}

void BrushFromPicture(UDBuffer* pic)
{
    if (!pic || !pic->pixels) return;
    ToolParked parked;
    unsigned long background = BackColour();
    try {
        Buffer copy;
        copy.Alloc(Pair<int>{pic->Width(), pic->Height()});
        copy.Copy(*pic, Pair<int>{-pic->left, -pic->top}, NoKey);
        KeyBackground(copy, background);
        if (!ReplaceBrush(copy, "GetAllBr")) return;
        BrushState.originX = BrushState.originY = 0;
        BrushState.keyColour = background;
        BrushState.pictureBrush = 1;
        BrushState.hotSpot = HandleCentre;
        SetPaintModeP();
        OptimiseBrush();
    } catch (const EOutOfMemory&) {
        TellBrushTooBig();
        return;
    }
    // Selecting forgets the parked tool: the closing resume leaves the dab
    // pen current.
    SelectTool(&PenBrushTools().penDisc, true, -1);
}

void BrushFromSelection(UDBuffer* pic)
{
    if (!pic || !pic->pixels || !pic->HasSelection()) return;
    ToolParked parked;
    if (!UDBuffer::SaveUndo(pic, "", nullptr, -1, 0, 0, 0)) return;
    // The selected pixels become the marked region a shape cut leaves; the
    // region-to-brush step takes the step back, and the selection with it.
    Rect s = pic->SelectionRect();
    int left = std::max(s.left, pic->left), right = std::min(s.right, pic->right);
    for (int y = std::max(s.top, pic->top); y <= std::min(s.bottom, pic->bottom); ++y)
        for (int x = left; x <= right; ++x) {
            unsigned long* p = pic->At(x, y);
            if (*p & SelectedBit) *p ^= SelectedBit | FillMark;
        }
    bool instant = InstBrush;
    InstBrush = true;
    bool made = MarkedRegionToBrush(false, "GetSelBr");
    InstBrush = instant;
    // Selecting forgets the parked tool, as after Get All.
    if (made) SelectTool(&PenBrushTools().penDisc, true, -1);
}

void OutlineBrush()
{
    if (!HasBrush()) return;
    int w = CurrentBrush.Width(), h = CurrentBrush.Height();
    if (!BrushSizeAllowed(w + 2LL, h + 2LL)) return;
    ToolParked parked;
    try {
        Buffer outlined;
        OutlinedBrush(CurrentBrush, ForeColour(), outlined);
        if (!ReplaceBrush(outlined, "OutlineBr")) return;
        // The old pixels stay where they were on screen.
        if (MousePoint.x != OutsideView) {
            TPoint was = HotSpotOf(w, h, BrushState.hotSpot), now = HotSpotOf(w + 2, h + 2, BrushState.hotSpot);
            WarpPointer(MousePoint.x - was.x - 1 + now.x, MousePoint.y - was.y - 1 + now.y);
        }
        OptimiseBrush();
        RecolorBrush(false);
    } catch (const EOutOfMemory&) {
        TellBrushTooBig();
    }
}

namespace {
void ScaleWithStep(const char* key, double fx, double fy)
{
    if (!UDBuffer::SaveUndo(&CurrentBrush, key, nullptr, -1, 0, 0, 0)) return;
    const unsigned long* before = CurrentBrush.pixels;
    try {
        ScaleBrush(fx, fy);
    } catch (const EOutOfMemory&) {
        // ScaleBrush builds aside: an unchanged brush needs no step.
        if (CurrentBrush.pixels == before) UDBuffer::DropUndo(&CurrentBrush);
        TellBrushTooBig();
    }
}
}  // namespace

void HalveBrush(bool alongX, bool alongY)
{
    if (!HasBrush()) return;
    int w = CurrentBrush.Width(), h = CurrentBrush.Height();
    if ((alongX && w <= 1) || (alongY && h <= 1)) return;
    const char* key = alongX && alongY ? "HalveBr" : alongX ? "HalveXBr" : "HalveYBr";
    ScaleWithStep(key, alongX ? 0.5 : 1, alongY ? 0.5 : 1);
}

void DoubleBrush(bool alongX, bool alongY)
{
    if (!HasBrush()) return;
    int w = CurrentBrush.Width(), h = CurrentBrush.Height();
    if ((alongX && w > BrushSideLimit) || (alongY && h > BrushSideLimit)) return;
    if (!BrushSizeAllowed(alongX ? 2LL * w : w, alongY ? 2LL * h : h)) return;
    const char* key = alongX && alongY ? "DoubleBr" : alongX ? "DoubleXBr" : "DoubleYBr";
    ScaleWithStep(key, alongX ? 2 : 1, alongY ? 2 : 1);
}

void MirrorBrush(bool leftRight)
{
    if (leftRight)
        ChangeInPlace("MirLRBr", MirrorLeftRight);
    else
        ChangeInPlace("MirTBBr", MirrorTopBottom);
}

void TurnBrush90()
{
    if (!HasBrush()) return;
    ToolParked parked;
    try {
        Buffer turned;
        TurnedQuarter(CurrentBrush, turned);
        if (!ReplaceBrush(turned, "Rot90Br")) return;
        RecolorBrush(false);
    } catch (const EOutOfMemory&) {
        TellBrushTooBig();
    }
}

void TurnBrush180() { ChangeInPlace("Rot180Br", TurnHalf); }

void SetBrushHotSpot(int handle)
{
    if (handle < HandleCentre || handle > HandleLeftBottom) return;
    HideOutline();
    BrushState.hotSpot = (unsigned char)handle;
    ShowOutline();
}

namespace {
// The one-pixel brush of the drawing colour, in colour mode. False when
// memory ran out: nothing changed.
bool MakeOnePixelBrush()
{
    Buffer brush, stamp;
    try {
        brush.Alloc(Pair<int>{1, 1});
        stamp.Alloc(Pair<int>{1, 1});
    } catch (const EOutOfMemory&) {
        return false;
    }
    brush.pixels[0] = stamp.pixels[0] = ForeColour();
    CurrentBrush.Buffer::operator=(brush);
    StampBuffer.Buffer::operator=(stamp);
    return true;
}

void ResetToOnePixel()
{
    HideOutline();
    bool recorded = false;
    if (HasBrush()) {
        recorded = UDBuffer::SaveUndo(&CurrentBrush, "ResetBr", nullptr, -1, 0, 0, 0);
        // A brush that still paints is kept when its step cannot be had; one
        // whose stamp was lost is replaced all the same.
        if (!recorded && StampBuffer.pixels) {
            ShowOutline();
            return;
        }
    }
    if (!MakeOnePixelBrush()) {
        if (recorded) UDBuffer::DropUndo(&CurrentBrush);
        TranslatedMessageBox("NoMem", "Err", MsgIconExclamation);
        ShowOutline();
        return;
    }
    BrushState.hotSpot = HandleCentre;
    BrushState.pictureBrush = 0;
    SetPaintModeC();
    ShowOutline();
}
}  // namespace

void ResetBrush()
{
    PenBrushToolSet& tools = PenBrushTools();
    bool onePixel = HasBrush() && !BrushState.pictureBrush && CurrentBrush.Width() == 1;
    if (!onePixel) {
        ResetToOnePixel();
    } else if (tools.brushResize.target == &tools.resizeCrcBrush) {
        SelectTool(&tools.brushCrc, true, -1);
    } else {
        SelectTool(&tools.brushBox, true, -1);
    }
    if (CurrentTool == &tools.penOne || CurrentTool == &tools.penDisc) SelectTool(&tools.penCont, true, -1);
}
