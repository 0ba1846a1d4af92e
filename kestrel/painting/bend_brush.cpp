#include "bend_brush.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "brush_commands.h"
#include "exceptions.h"
#include "messages.h"
#include "paintkit.h"
#include "paintkit_host.h"
#include "paintkit_walk.h"
#include "programpictures.h"

namespace {
const double HalfPi = 1.57079632679489661923;
}  // namespace

int BendColumn(int n, int au, int pu)
{
    if (pu > au && pu < au + n) return pu - au;
    if (pu >= au + n) return n - 2;
    return 1;
}

std::vector<ColumnSpan> BendSpans(int n, int k, int e)
{
    std::vector<ColumnSpan> spans(size_t(std::max(n, 0)));
    double b = e > 0 ? 1 : 0;
    for (int i = 0; i < n; ++i) {
        // The denominators reach one past the ends, so neither can be 0.
        double s = i < k ? std::sin(HalfPi * i / (k + 1)) : std::cos(HalfPi * (i - k) / (n - k + 1));
        int offset = int(std::trunc((b - s) * e));
        spans[size_t(i)] = ColumnSpan{offset, offset};
    }
    return spans;
}

std::vector<ColumnSpan> ShearSpans(int n, int dy)
{
    std::vector<ColumnSpan> spans(size_t(std::max(n, 0)), ColumnSpan{INT_MAX, INT_MIN});
    if (n < 1) return spans;
    int base = std::min(0, dy);
    WalkLine(0, 0, n - 1, dy, [&](int c, int o) {
        ColumnSpan& s = spans[size_t(c)];
        s.first = std::min(s.first, o - base);
        s.last = std::max(s.last, o - base);
    });
    return spans;
}

void DrawColumns(Buffer& src, Buffer& dest, int left, int top, const std::vector<ColumnSpan>& spans, bool rows)
{
    int n = rows ? src.Height() : src.Width();
    for (int c = 0; c < n && c < int(spans.size()); ++c) {
        Rect line = rows ? Rect{src.left, src.top + c, src.right, src.top + c}
                         : Rect{src.left + c, src.top, src.left + c, src.bottom};
        Buffer piece(src, line, false);
        for (int o = spans[size_t(c)].first; o <= spans[size_t(c)].last; ++o)
            dest.Copy(piece, rows ? Pair<int>{left + o, top + c} : Pair<int>{left + c, top + o}, KeyPixel);
    }
}

P_bend_brush::P_bend_brush(const char* key)
{
    iconKey = key;
    flags = ToolOneShot;
    pointerMode = 2;
    helpContext = 1200;
}

void P_bend_brush::Activate()
{
    statusText = Translate(StatusKey());
    shown_ = NoFeedback;
}

void P_bend_brush::DrawOutline()
{
    if (!CurrentBrush.pixels) return;
    int x = MousePoint.x, y = MousePoint.y;
    if (ToolPhase == PhaseIdle) {
        StampBrush(x, y);
        shown_ = StampFeedback;
        shownAt_ = TPoint{x, y};
        return;
    }
    if (!PreviewPossible()) return;
    int w = ResultWidth(x), h = ResultHeight(y);
    // Past the limit the release is refused: nothing to show.
    if (w > BrushSideLimit || h > BrushSideLimit) return;
    Rect r = {ResultLeft(x), ResultTop(y), ResultLeft(x) + w - 1, ResultTop(y) + h - 1};
    try {
        if (!SaveRegion(r.left, r.top, r.right, r.bottom)) return;
    } catch (const EOutOfMemory&) {
        return;
    }
    SetVisibleClip();
    DrawPreview(x, y, r.left, r.top);
    InvalidatePictureRect(r.left, r.top, r.right + 1, r.bottom + 1);
    shown_ = ReshapedFeedback;
    shownRect_ = r;
}

void P_bend_brush::EraseOutline()
{
    if (shown_ == StampFeedback) RestoreUnderBrush(shownAt_.x, shownAt_.y);
    if (shown_ == ReshapedFeedback) RestoreRegion(shownRect_.left, shownRect_.top, shownRect_.right, shownRect_.bottom);
    shown_ = NoFeedback;
}

void P_bend_brush::Click()
{
    if (!CurrentBrush.pixels) return;
    if (ToolPhase == PhaseIdle) {
        statusText = Translate(DragStatusKey());
        TPoint o = HotSpotOf(CurrentBrush.Width(), CurrentBrush.Height(), BrushState.hotSpot);
        anchorX = MousePoint.x - o.x;
        anchorY = MousePoint.y - o.y;
        WarpToStart();
        return;
    }
    Commit(MousePoint.x, MousePoint.y);
}

void P_bend_brush::Commit(int x, int y)
{
    int w = ResultWidth(x), h = ResultHeight(y);
    if (!BrushSizeAllowed(w, h)) return;
    try {
        Buffer built;
        built.Alloc(Pair<int>{w, h});
        built.Box(built.GetRect(), KeyPixel);
        Build(x, y, built);
        newOriginX = ResultLeft(x);
        newOriginY = ResultTop(y);
        if (!ReplaceBrush(built, iconKey.c_str())) return;
        BrushState.pictureBrush = 1;
        WarpToResult();
        OptimiseBrush();
        // The stamp still holds the old shape, or an unrecoloured one.
        RecolorBrush(false);
    } catch (const EOutOfMemory&) {
        TranslatedMessageBox("BrTooBig", "Err", MsgIconWarning);
    }
}

P_reshape_brush::P_reshape_brush(const char* key, bool shear, bool rows)
    : P_bend_brush(key), shear_(shear), rows_(rows)
{
}

int P_reshape_brush::Columns() const { return rows_ ? CurrentBrush.Height() : CurrentBrush.Width(); }
int P_reshape_brush::ColumnLength() const { return rows_ ? CurrentBrush.Width() : CurrentBrush.Height(); }
int P_reshape_brush::AnchorAlong() const { return rows_ ? anchorY : anchorX; }
int P_reshape_brush::AnchorAcross() const { return rows_ ? anchorX : anchorY; }

// Bend: the middle of the columns follows the pointer. Shear: their ends do.
int P_reshape_brush::AcrossStart(int pv) const
{
    int m = ColumnLength();
    return std::min(AnchorAcross(), shear_ ? pv - m + 1 : pv - ((m + 1) >> 1));
}

int P_reshape_brush::AcrossLength(int pv) const
{
    int m = ColumnLength();
    return m + std::abs(AnchorAcross() + (shear_ ? m - 1 : (m + 1) >> 1) - pv);
}

std::vector<ColumnSpan> P_reshape_brush::Spans(int x, int y) const
{
    int pu = rows_ ? y : x, pv = rows_ ? x : y;
    int n = Columns(), m = ColumnLength();
    if (shear_) return ShearSpans(n, pv - (AnchorAcross() + m - 1));
    return BendSpans(n, BendColumn(n, AnchorAlong(), pu), AnchorAcross() + ((m + 1) >> 1) - pv);
}

void P_reshape_brush::WarpToStart()
{
    int n = Columns(), m = ColumnLength();
    int u = AnchorAlong() + (shear_ ? n - 1 : (n + 1) >> 1);
    int v = AnchorAcross() + (shear_ ? m - 1 : (m + 1) >> 1);
    WarpPointer(rows_ ? v : u, rows_ ? u : v);
}

void P_reshape_brush::WarpToResult()
{
    TPoint o = HotSpotOf(CurrentBrush.Width(), CurrentBrush.Height(), BrushState.hotSpot);
    WarpPointer(newOriginX + o.x, newOriginY + o.y);
}

void P_reshape_brush::Build(int x, int y, Buffer& dest)
{
    DrawColumns(CurrentBrush, dest, dest.left, dest.top, Spans(x, y), rows_);
}

int P_reshape_brush::ResultLeft(int x) { return rows_ ? AcrossStart(x) : anchorX; }
int P_reshape_brush::ResultTop(int y) { return rows_ ? anchorY : AcrossStart(y); }
int P_reshape_brush::ResultWidth(int x) { return rows_ ? AcrossLength(x) : CurrentBrush.Width(); }
int P_reshape_brush::ResultHeight(int y) { return rows_ ? CurrentBrush.Height() : AcrossLength(y); }

// A brush of one column has nothing to bend against.
bool P_reshape_brush::PreviewPossible() { return Columns() >= 2; }

void P_reshape_brush::DrawPreview(int x, int y, int left, int top)
{
    DrawColumns(StampBuffer, WorkView, left, top, Spans(x, y), rows_);
}

BendBrushToolSet& BendBrushTools()
{
    static BendBrushToolSet tools;
    return tools;
}
