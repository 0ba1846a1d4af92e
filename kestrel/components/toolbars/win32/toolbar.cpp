#include "toolbar.h"

#include <algorithm>

#include "exceptions.h"

TCustomToolbar::TCustomToolbar(TComponent* AOwner) : TCustomToolWindow(AOwner) {}

TCustomToolbar::~TCustomToolbar()
{
    BeforeDestruction();
}

void TCustomToolbar::SetFloatRightX(int Value)
{
    if (Value < 0) Value = 0;
    if (Value == floatRightX_) return;
    floatRightX_ = Value;
    if (IsFloating()) ArrangeControls();
}

TControl* TCustomToolbar::GetOrder(int Index) const
{
    if (Index < 0 || Index >= GetOrderCount())
        throw EListError(AnsiString().sprintf("List index out of bounds (%d)", Index));
    return order_[Index];
}

std::vector<TTbItem> TCustomToolbar::Items(std::vector<TControl*>& controls)
{
    std::vector<TTbItem> items;
    for (TControl* c : order_) {
        if (!c->GetVisible()) continue;
        controls.push_back(c);
        TTbItem item;
        item.Width = c->GetWidth();
        item.Height = c->GetHeight();
        if (TToolbarSep* sep = dynamic_cast<TToolbarSep*>(c)) {
            item.Separator = true;
            item.SizeHorz = sep->GetSizeHorz();
            item.SizeVert = sep->GetSizeVert();
            item.Blank = sep->GetBlank();
        }
        items.push_back(item);
    }
    return items;
}

int TCustomToolbar::GetMinRowSize(bool Vertical)
{
    std::vector<TControl*> controls;
    return ToolbarMinRowSize(Items(controls), Vertical);
}

int TCustomToolbar::GetBarThickness(bool Vertical)
{
    return GetMinRowSize(Vertical);
}

void TCustomToolbar::OrderControls(bool CanMoveControls, TDock* DockingTo, SIZE& NewClientSize)
{
    std::vector<TControl*> controls;
    std::vector<TTbItem> items = Items(controls);
    TTbLayoutParams params;
    params.Vertical = DockingTo && DockingTo->IsVertical();
    params.Floating = !DockingTo;
    params.FloatRightX = floatRightX_;
    // In the dock that holds it, centre in the row (a taller bar may share it).
    if (DockingTo && DockingTo == GetDockedTo()) params.AcrossExtent = DockingTo->GetRowSize(GetDockRow(), this);
    TTbLayout layout = LayoutToolbar(items, params);
    NewClientSize = SIZE{layout.ClientWidth(), layout.ClientHeight()};
    if (!CanMoveControls) return;
    breaks_ = layout.Breaks;
    for (size_t i = 0; i < controls.size(); ++i) {
        const TTbBounds& b = layout.Items[i];
        controls[i]->SetBounds(b.Left, b.Top, b.Width, b.Height);
    }
    Invalidate();
}

std::vector<TTbShape> TCustomToolbar::FloatingShapes(bool ByHeight)
{
    int saved = floatRightX_;
    std::vector<TControl*> controls;
    std::vector<TTbItem> items = Items(controls);
    int widest = 0;
    for (const TTbItem& item : items)
        if (!item.Separator) widest = std::max(widest, item.Width);
    RECT f = FloatingFrame();
    auto measure = [&](int rightX) {
        TTbLayoutParams params;
        params.Floating = true;
        params.FloatRightX = rightX;
        TTbLayout layout = LayoutToolbar(items, params);
        return TTbSize{layout.ClientWidth(), layout.ClientHeight()};
    };
    std::vector<TTbShape> shapes =
        ToolbarShapes(measure, widest, TTbSize{f.left + f.right, f.top + f.bottom}, ByHeight);
    floatRightX_ = saved;
    return shapes;
}

SIZE TCustomToolbar::MinimumClientSize()
{
    std::vector<TControl*> controls;
    int widest = 0;
    for (const TTbItem& item : Items(controls))
        if (!item.Separator) widest = std::max(widest, item.Width);
    return SIZE{widest + 8, 1};
}

void TCustomToolbar::SizingBegin(int HitCode)
{
    bool byHeight = HitCode == HTTOP || HitCode == HTBOTTOM;
    savedFloatRightX_ = floatRightX_;
    shapes_ = FloatingShapes(byHeight);
    shape_ = 0;
    int best = -1;
    for (size_t i = 0; i < shapes_.size(); ++i) {
        int d = std::abs(shapes_[i].Width - GetWidth()) + std::abs(shapes_[i].Height - GetHeight());
        if (best < 0 || d < best) {
            best = d;
            shape_ = static_cast<int>(i);
        }
    }
    lastExtent_ = byHeight ? GetHeight() : GetWidth();
    lastGrowing_ = true;
}

void TCustomToolbar::SizingAdjust(RECT& Rect, int HitCode)
{
    if (shapes_.empty()) return;
    bool byHeight = HitCode == HTTOP || HitCode == HTBOTTOM;
    bool fromLeft = HitCode == HTLEFT || HitCode == HTTOPLEFT || HitCode == HTBOTTOMLEFT;
    bool fromTop = HitCode == HTTOP || HitCode == HTTOPLEFT || HitCode == HTTOPRIGHT;
    int extent = byHeight ? Rect.bottom - Rect.top : Rect.right - Rect.left;
    // The mouse where it was (the release after the last move) keeps the
    // shape, but the rectangle still takes it.
    if (extent != lastExtent_) {
        bool growing = extent > lastExtent_;
        bool changed = growing != lastGrowing_;
        int tolerance = ToolbarSnapTolerance(shapes_, shape_, byHeight);
        shape_ = ToolbarSnapStep(shapes_, shape_, extent, growing, changed, tolerance, byHeight);
        lastExtent_ = extent;
        lastGrowing_ = growing;
    }
    const TTbShape& s = shapes_[shape_];
    // The side opposite the dragged edge stays put.
    if (fromLeft)
        Rect.left = Rect.right - s.Width;
    else
        Rect.right = Rect.left + s.Width;
    if (fromTop)
        Rect.top = Rect.bottom - s.Height;
    else
        Rect.bottom = Rect.top + s.Height;
    floatRightX_ = s.FloatRightX;
}

void TCustomToolbar::SizingEnd(bool Accepted)
{
    if (!Accepted) floatRightX_ = savedFloatRightX_;
    shapes_.clear();
}

void TCustomToolbar::WritePositionData(const TPositionWriteIntProc& WriteInteger)
{
    WriteInteger(GetName(), "FloatRightX", floatRightX_);
}

void TCustomToolbar::ReadPositionData(const TPositionReadIntProc& ReadInteger)
{
    floatRightX_ = std::max(0, ReadInteger(GetName(), "FloatRightX", 0));
}

void TCustomToolbar::InsertControl(TControl* AControl)
{
    TCustomToolWindow::InsertControl(AControl);
    order_.push_back(AControl);
    if (!(GetComponentState() & csLoading)) ArrangeControls();
}

void TCustomToolbar::RemoveControl(TControl* AControl)
{
    order_.erase(std::remove(order_.begin(), order_.end(), AControl), order_.end());
    TCustomToolWindow::RemoveControl(AControl);
    if (!IsDestroying()) ArrangeControls();
}

void TCustomToolbar::ChildChanged(TControl* AControl)
{
    TCustomToolWindow::ChildChanged(AControl);
    // The layout's own moves come back here; ArrangeControls ignores them.
    if ((GetComponentState() & csLoading) || IsDestroying()) return;
    if (std::find(order_.begin(), order_.end(), AControl) != order_.end()) ArrangeControls();
}

void TCustomToolbar::Paint()
{
    TCustomToolWindow::Paint();
    if (!IsFloating()) return;
    TCanvas* c = GetCanvas();
    int width = GetClientWidth();
    for (const TTbLineBreak& b : breaks_) {
        if (b.Blank) continue;
        c->GetPen()->SetColor(clBtnShadow);
        c->MoveTo(1, b.Offset - 4);
        c->LineTo(width - 1, b.Offset - 4);
        c->GetPen()->SetColor(clBtnHighlight);
        c->MoveTo(1, b.Offset - 3);
        c->LineTo(width - 1, b.Offset - 3);
    }
}

// ---------------------------------------------------------------------------

TToolbarSep::TToolbarSep(TComponent* AOwner) : TGraphicControl(AOwner)
{
    SetBounds(0, 0, 6, 6);
}

void TToolbarSep::SetParent(TWinControl* AParent)
{
    if (AParent && !dynamic_cast<TCustomToolbar*>(AParent))
        throw EInvalidOperation("TToolbarSep can only be placed on a TToolbar");
    TGraphicControl::SetParent(AParent);
}

void TToolbarSep::SizeChanged()
{
    TCustomToolbar* bar = dynamic_cast<TCustomToolbar*>(GetParent());
    if (bar) bar->ArrangeControls();
}

void TToolbarSep::SetSizeHorz(int Value)
{
    if (Value == sizeHorz_) return;
    sizeHorz_ = Value;
    SizeChanged();
}

void TToolbarSep::SetSizeVert(int Value)
{
    if (Value == sizeVert_) return;
    sizeVert_ = Value;
    SizeChanged();
}

void TToolbarSep::SetBlank(bool Value)
{
    if (Value == blank_) return;
    blank_ = Value;
    Invalidate();
}

void TToolbarSep::Paint()
{
    if (blank_) return;
    TCustomToolbar* bar = dynamic_cast<TCustomToolbar*>(GetParent());
    bool vertical = bar && bar->GetDockedTo() && bar->GetDockedTo()->IsVertical();
    TCanvas* c = GetCanvas();
    int w = GetWidth();
    int h = GetHeight();
    if (vertical) {
        c->GetPen()->SetColor(clBtnShadow);
        c->MoveTo(0, h / 2 - 1);
        c->LineTo(w, h / 2 - 1);
        c->GetPen()->SetColor(clBtnHighlight);
        c->MoveTo(0, h / 2);
        c->LineTo(w, h / 2);
        return;
    }
    c->GetPen()->SetColor(clBtnShadow);
    c->MoveTo(w / 2 - 1, 0);
    c->LineTo(w / 2 - 1, h);
    c->GetPen()->SetColor(clBtnHighlight);
    c->MoveTo(w / 2, 0);
    c->LineTo(w / 2, h);
}
