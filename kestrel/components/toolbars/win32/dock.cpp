#include "dock.h"

#include <algorithm>

#include "exceptions.h"
#include "forms.h"
#include "dock_model.h"
#include "tool_window.h"

namespace {

const TAlign alignOf[] = {alTop, alBottom, alLeft, alRight};

// Restores the dock's update counter however an arrangement ends.
struct TArrangeGuard {
    int& counter;
    bool& pending;
    explicit TArrangeGuard(int& c, bool& p) : counter(c), pending(p) { ++counter; }
    ~TArrangeGuard()
    {
        --counter;
        pending = false;
    }
    TArrangeGuard(const TArrangeGuard&) = delete;
    TArrangeGuard& operator=(const TArrangeGuard&) = delete;
};

}  // namespace

TDock::TDock(TComponent* AOwner) : TCustomControl(AOwner), background_(new TBitmap)
{
    SetControlStyle(GetControlStyle() | csAcceptsControls);
    SetColor(clBtnFace);
    SetAlign(alTop);
    SetBounds(0, 0, 150, 0);
}

// The bars go with the dock (as its children) after this body has run and
// the list is gone: they must not report back.
TDock::~TDock()
{
    BeforeDestruction();
    for (TCustomToolWindow* bar : bars_) bar->dockedTo_ = nullptr;
    bars_.clear();
    DropTileCache();
}

void TDock::SetParent(TWinControl* AParent)
{
    for (TWinControl* p = AParent; p; p = p->GetParent())
        if (dynamic_cast<TDock*>(p) || dynamic_cast<TCustomToolWindow*>(p))
            throw EInvalidOperation("A TDock control cannot be placed inside a tool window or another TDock");
    TCustomControl::SetParent(AParent);
}

void TDock::SetPosition(TDockPosition Value)
{
    if (Value == position_) return;
    if (GetControlCount() > 0) throw EInvalidOperation("Cannot change Position of a TDock if it already contains controls");
    position_ = Value;
    SetAlign(alignOf[Value]);
    ArrangeToolbars();
}

void TDock::SetAllowDrag(bool Value)
{
    if (Value == allowDrag_) return;
    allowDrag_ = Value;
    FramesChanged();
}

void TDock::SetLimitToOneRow(bool Value)
{
    if (Value == limitToOneRow_) return;
    limitToOneRow_ = Value;
    ArrangeToolbars();
}

void TDock::SetFixAlign(bool Value)
{
    if (Value == fixAlign_) return;
    fixAlign_ = Value;
    ArrangeToolbars();
}

void TDock::SetBackground(TBitmap* Value)
{
    if (Value)
        background_->Assign(Value);
    else
        background_.reset(new TBitmap);
    DropTileCache();
    Invalidate();
    for (TCustomToolWindow* bar : bars_) bar->FrameChanged();
}

void TDock::SetBackgroundOnToolbars(bool Value)
{
    if (Value == backgroundOnToolbars_) return;
    backgroundOnToolbars_ = Value;
    for (TCustomToolWindow* bar : bars_) bar->FrameChanged();
}

void TDock::SetBackgroundTransparent(bool Value)
{
    if (Value == backgroundTransparent_) return;
    backgroundTransparent_ = Value;
    DropTileCache();
    Invalidate();
}

void TDock::SetBoundLines(TDockBoundLines Value)
{
    if (Value == boundLines_) return;
    boundLines_ = Value;
    if (HandleAllocated())
        SetWindowPos(GetHandle(), nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ArrangeToolbars();
}

void TDock::FramesChanged()
{
    BeginUpdate();
    try {
        for (TCustomToolWindow* bar : std::vector<TCustomToolWindow*>(bars_)) bar->FrameChanged();
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TDock::EndUpdate()
{
    if (updateCount_ > 0 && --updateCount_ == 0 && pending_) ArrangeToolbars();
}

void TDock::InsertRemoveBar(bool Inserting, TCustomToolWindow* Bar, bool Append)
{
    auto it = std::find(bars_.begin(), bars_.end(), Bar);
    bool changed = it != bars_.end();
    if (it != bars_.end()) bars_.erase(it);
    if (Inserting && Append) {
        bars_.push_back(Bar);
        changed = true;
    }
    if (!changed) return;
    ArrangeToolbars();
    Bar->FrameChanged();
    if (OnInsertRemoveBar) OnInsertRemoveBar(this, Inserting, Bar);
}

TCustomToolWindow* TDock::GetToolbars(int Index) const
{
    if (Index < 0 || Index >= GetToolbarCount())
        throw EListError(AnsiString().sprintf("List index out of bounds (%d)", Index));
    return bars_[Index];
}

int TDock::GetHighestRow() const
{
    int highest = -1;
    for (TCustomToolWindow* bar : bars_) highest = std::max(highest, bar->GetDockRow());
    return highest;
}

int TDock::GetRowSize(int Row, TCustomToolWindow* DefaultBar) const
{
    if (Row >= 0 && Row < static_cast<int>(rowSizes_.size())) return rowSizes_[Row];
    return DefaultBar ? DefaultBar->GetBarThickness(IsVertical()) : 0;
}

int TDock::GetRowOf(int Coordinate, bool& Before) const
{
    return DockRowOf(rowSizes_, Coordinate, Before);
}

int TDock::RowAtOffset(int Coordinate) const
{
    return DockRowAtOffset(rowSizes_, Coordinate);
}

int TDock::ClientLength()
{
    RECT r = GetClientRect();
    return IsVertical() ? r.bottom : r.right;
}

void TDock::ArrangeToolbars()
{
    if (updateCount_ > 0 || (GetComponentState() & csLoading) || IsDestroying()) {
        pending_ = true;
        return;
    }
    TArrangeGuard guard(updateCount_, pending_);
    ++arrangeCount_;
    if (HandleAllocated())
        SetWindowPos(GetHandle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (bars_.empty()) {
        rowSizes_.clear();
        Relocate(fixAlign_ ? 1 : 0);
        return;
    }
    bool vertical = IsVertical();
    std::vector<TDockRowBar> rows;
    for (TCustomToolWindow* bar : bars_) {
        TDockRowBar r;
        r.Bar = bar;
        r.Row = bar->dockRow_;
        r.Pos = bar->dockPos_;
        r.Length = vertical ? bar->GetHeight() : bar->GetWidth();
        r.Thickness = bar->GetBarThickness(vertical);
        r.FullSize = bar->GetFullSize();
        rows.push_back(r);
    }
    TDockArrangement result = ArrangeDockRows(rows, limitToOneRow_, ClientLength());
    std::vector<TCustomToolWindow*> order;
    for (size_t i = 0; i < rows.size(); ++i) {
        TCustomToolWindow* bar = static_cast<TCustomToolWindow*>(rows[i].Bar);
        bar->dockRow_ = rows[i].Row;
        bar->dockPos_ = rows[i].Pos;
        order.push_back(bar);
    }
    bars_ = order;
    rowSizes_ = result.RowSizes;
    PlaceBars(order, result);
    Relocate(result.Thickness);
}

void TDock::PlaceBars(const std::vector<TCustomToolWindow*>& order, const TDockArrangement& result)
{
    bool vertical = IsVertical();
    for (size_t i = 0; i < order.size(); ++i) {
        const TDockRowPlace& p = result.Places[i];
        RECT r;
        if (vertical)
            r = RECT{p.Across, p.Along, p.Across + p.AcrossExtent, p.Along + p.AlongExtent};
        else
            r = RECT{p.Along, p.Across, p.Along + p.AlongExtent, p.Across + p.AcrossExtent};
        order[i]->PlaceInDock(r);
    }
}

// The edge the dock is aligned to stays where it is.
void TDock::Relocate(int thickness)
{
    RECT insets = BoundLineInsets();
    int left = GetLeft();
    int top = GetTop();
    int w = GetWidth();
    int h = GetHeight();
    if (IsVertical()) {
        int nw = thickness + insets.left + insets.right;
        if (position_ == dpRight) left += w - nw;
        w = nw;
    } else {
        int nh = thickness + insets.top + insets.bottom;
        if (position_ == dpBottom) top += h - nh;
        h = nh;
    }
    SetBounds(left, top, w, h);
}

void TDock::Loaded()
{
    TCustomControl::Loaded();
    ArrangeToolbars();
}

void TDock::Resize()
{
    if (!(GetComponentState() & csLoading)) TCustomControl::Resize();
    ArrangeToolbars();
}

void TDock::RemoveControl(TControl* AControl)
{
    auto it = std::find(bars_.begin(), bars_.end(), AControl);
    if (it != bars_.end()) bars_.erase(it);
    TCustomControl::RemoveControl(AControl);
    if (!IsDestroying()) ArrangeToolbars();
}

void TDock::CreateParams(TCreateParams& Params)
{
    TCustomControl::CreateParams(Params);
    // Rows are re-placed on every size change; a full repaint would flicker.
    Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
    Params.WinClassName = "KestrelDock";
}

RECT TDock::BoundLineInsets() const
{
    RECT r = {0, 0, 0, 0};
    if (boundLines_ & blLeft) r.left = 1;
    if (boundLines_ & blTop) r.top = 1;
    if (boundLines_ & blRight) r.right = 1;
    if (boundLines_ & blBottom) r.bottom = 1;
    return r;
}

void TDock::NcCalcSize(TMessage& Message)
{
    DefaultHandler(Message);
    RECT* r = reinterpret_cast<RECT*>(Message.LParam);
    RECT insets = BoundLineInsets();
    r->left += insets.left;
    r->top += insets.top;
    r->right -= insets.right;
    r->bottom -= insets.bottom;
    if (r->right < r->left) r->right = r->left;
    if (r->bottom < r->top) r->bottom = r->top;
}

void TDock::NcPaint()
{
    if (!boundLines_ || bars_.empty()) return;
    HDC dc = GetWindowDC(GetHandle());
    RECT wr;
    GetWindowRect(GetHandle(), &wr);
    int w = wr.right - wr.left;
    int h = wr.bottom - wr.top;
    HPEN shadow = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
    HPEN light = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT));
    HGDIOBJ old = SelectObject(dc, shadow);
    if (boundLines_ & blTop) {
        MoveToEx(dc, 0, 0, nullptr);
        LineTo(dc, w, 0);
    }
    if (boundLines_ & blLeft) {
        MoveToEx(dc, 0, 0, nullptr);
        LineTo(dc, 0, h);
    }
    SelectObject(dc, light);
    if (boundLines_ & blBottom) {
        MoveToEx(dc, 0, h - 1, nullptr);
        LineTo(dc, w, h - 1);
    }
    if (boundLines_ & blRight) {
        MoveToEx(dc, w - 1, 0, nullptr);
        LineTo(dc, w - 1, h);
    }
    SelectObject(dc, old);
    DeleteObject(shadow);
    DeleteObject(light);
    ReleaseDC(GetHandle(), dc);
}

void TDock::DropTileCache()
{
    if (tileCache_) DeleteObject(tileCache_);
    tileCache_ = nullptr;
}

// With BackgroundTransparent the tiles are a copy of the bitmap over Color,
// its bottom-left colour left out; built once and kept until a change.
HBITMAP TDock::TileSource()
{
    if (background_->GetEmpty()) return nullptr;
    if (!backgroundTransparent_) return background_->GetHandle();
    if (tileCache_) return tileCache_;
    int w = background_->GetWidth();
    int h = background_->GetHeight();
    HDC screen = GetDC(nullptr);
    HDC src = CreateCompatibleDC(screen);
    HDC dst = CreateCompatibleDC(screen);
    HDC maskDc = CreateCompatibleDC(screen);
    HGDIOBJ oldSrc = SelectObject(src, background_->GetHandle());
    COLORREF key = GetPixel(src, 0, h - 1);
    tileCache_ = CreateCompatibleBitmap(screen, w, h);
    HBITMAP mask = CreateBitmap(w, h, 1, 1, nullptr);
    HGDIOBJ oldDst = SelectObject(dst, tileCache_);
    HGDIOBJ oldMask = SelectObject(maskDc, mask);
    // Mask: 1 where the key colour is.
    SetBkColor(src, key);
    BitBlt(maskDc, 0, 0, w, h, src, 0, 0, SRCCOPY);
    HBRUSH face = CreateSolidBrush(ColorToRGB(GetColor()));
    RECT all = {0, 0, w, h};
    FillRect(dst, &all, face);
    DeleteObject(face);
    // dst = (dst AND mask) OR (src AND NOT mask).
    SetBkColor(dst, RGB(255, 255, 255));
    SetTextColor(dst, RGB(0, 0, 0));
    BitBlt(dst, 0, 0, w, h, src, 0, 0, SRCINVERT);
    BitBlt(dst, 0, 0, w, h, maskDc, 0, 0, SRCAND);
    BitBlt(dst, 0, 0, w, h, src, 0, 0, SRCINVERT);
    SelectObject(maskDc, oldMask);
    SelectObject(dst, oldDst);
    SelectObject(src, oldSrc);
    DeleteObject(mask);
    DeleteDC(maskDc);
    DeleteDC(dst);
    DeleteDC(src);
    ReleaseDC(nullptr, screen);
    return tileCache_;
}

bool TDock::DrawBackground(HDC DC, const RECT& Area, const RECT* Exclude, POINT Origin)
{
    HBITMAP tiles = TileSource();
    if (!tiles) return false;
    int w = background_->GetWidth();
    int h = background_->GetHeight();
    int saved = SaveDC(DC);
    IntersectClipRect(DC, Area.left, Area.top, Area.right, Area.bottom);
    if (Exclude) ExcludeClipRect(DC, Exclude->left, Exclude->top, Exclude->right, Exclude->bottom);
    HPALETTE palette = background_->GetPalette();
    if (palette) {
        SelectPalette(DC, palette, TRUE);
        RealizePalette(DC);
    }
    HDC mem = CreateCompatibleDC(DC);
    HGDIOBJ old = SelectObject(mem, tiles);
    // Tiles start at the dock's client origin, so the pattern runs on
    // across the bars.
    int startX = Origin.x + ((Area.left - Origin.x) / w) * w;
    int startY = Origin.y + ((Area.top - Origin.y) / h) * h;
    if (startX > Area.left) startX -= w;
    if (startY > Area.top) startY -= h;
    for (int y = startY; y < Area.bottom; y += h)
        for (int x = startX; x < Area.right; x += w) BitBlt(DC, x, y, w, h, mem, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
    RestoreDC(DC, saved);
    return true;
}

void TDock::EraseBackground(HDC dc)
{
    RECT r = GetClientRect();
    if (DrawBackground(dc, r, nullptr, POINT{0, 0})) return;
    HBRUSH brush = CreateSolidBrush(ColorToRGB(GetColor()));
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

void TDock::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_NCCALCSIZE: NcCalcSize(Message); return;
    case WM_NCPAINT:
        DefaultHandler(Message);
        NcPaint();
        return;
    case WM_ERASEBKGND:
        EraseBackground(reinterpret_cast<HDC>(Message.WParam));
        Message.Result = 1;
        return;
    case CM_COLORCHANGED:
        DropTileCache();
        break;
    default: break;
    }
    TCustomControl::WndProc(Message);
}
