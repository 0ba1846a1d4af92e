// TGlyphButton: glyph cells, states, grouping, repeat and drop-down menu.
#include "listctls_glyph.h"

#include <algorithm>
#include <vector>

#include "forms.h"
#include "glyphstrip.h"
#include "memorydc.h"

namespace {

// One cell of a glyph as colour values (what the cell rules work on).
std::vector<unsigned> ReadCell(TBitmap* glyph, int cell, SIZE size)
{
    std::vector<unsigned> out = CutGlyphCell(ReadBitmapPixels(glyph), glyph->GetWidth(), size.cx, cell);
    out.resize(size_t(size.cx) * size.cy);
    for (unsigned& p : out) p = SwapRedBlue(p);
    return out;
}

std::unique_ptr<TBitmap> MakeCell(const std::vector<unsigned>& pixels, SIZE size, TColor transparent)
{
    std::unique_ptr<TBitmap> cell(new TBitmap);
    cell->SetPixelFormat(pf32bit);
    cell->SetSize(size.cx, size.cy);
    std::vector<unsigned> bits(pixels.size());
    for (size_t i = 0; i < pixels.size(); ++i) bits[i] = SwapRedBlue(pixels[i]);
    WriteBitmapPixels(cell->GetHandle(), size.cx, size.cy, bits);
    cell->SetTransparentColor(transparent);
    return cell;
}

// The held-down face of a raised button: button face dithered with white.
void FillDither(HDC dc, const RECT& r)
{
    WORD pattern[8];
    for (int i = 0; i < 8; ++i) pattern[i] = (i & 1) ? 0x55 : 0xAA;
    HBITMAP bits = CreateBitmap(8, 8, 1, 1, pattern);
    HBRUSH brush = CreatePatternBrush(bits);
    COLORREF oldText = SetTextColor(dc, GetSysColor(COLOR_BTNFACE));
    COLORREF oldBk = SetBkColor(dc, RGB(255, 255, 255));
    FillRect(dc, &r, brush);
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBk);
    DeleteObject(brush);
    DeleteObject(bits);
}

}  // namespace

TGlyphButton::TGlyphButton(TComponent* AOwner) : TCustomSpeedButton(AOwner, 25, 25, blGlyphTop, 1, true)
{
    controlStyle_ |= csOpaque;
}

TGlyphButton::~TGlyphButton()
{
    if (repeatTimer_) repeatTimer_->OnTimer = nullptr;
}

void TGlyphButton::SetGlyph(TBitmap* Value)
{
    glyph_->Assign(Value);
    if (!glyph_->GetEmpty()) {
        int n = GlyphCountFromSize(glyph_->GetWidth(), glyph_->GetHeight());
        if (n > 1) numGlyphs_ = n;
    }
    GlyphChanged();
}

void TGlyphButton::SetNumGlyphs(int Value)
{
    if (Value < 1 || Value > 5) throw EPropertyError("NumGlyphs must be between 1 and 5");
    if (Value == numGlyphs_) return;
    numGlyphs_ = Value;
    GlyphChanged();
}

void TGlyphButton::GlyphChanged()
{
    InvalidateCells();
    Invalidate();
}

void TGlyphButton::SetMargin(int Value)
{
    if (Value < -1) throw EPropertyError("Margin must not be below -1");
    margin_ = Value;
    Invalidate();
}

void TGlyphButton::SetSpacing(int Value)
{
    spacing_ = Value;
    Invalidate();
}

void TGlyphButton::SetTransparent(bool Value)
{
    transparent_ = Value;
    Invalidate();
}

void TGlyphButton::SetStyle(TGlyphButtonStyle Value)
{
    style_ = Value;
    Invalidate();
}

void TGlyphButton::SetGrayedInactive(bool Value)
{
    grayedInactive_ = Value;
    Invalidate();
}

void TGlyphButton::SetMarkDropDown(bool Value)
{
    markDropDown_ = Value;
    Invalidate();
}

void TGlyphButton::SetDropDownMenu(TPopupMenu* Value)
{
    if (dropDownMenu_) dropDownMenu_->RemoveFreeNotification(this);
    dropDownMenu_ = Value;
    if (Value) Value->FreeNotification(this);
    Invalidate();
}

void TGlyphButton::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomSpeedButton::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == dropDownMenu_) dropDownMenu_ = nullptr;
}

void TGlyphButton::SetAllowTimer(bool Value)
{
    allowTimer_ = Value;
    if (!Value && repeatTimer_) repeatTimer_->SetEnabled(false);
}

void TGlyphButton::SetWordWrap(bool Value)
{
    wordWrap_ = Value;
    Invalidate();
}

void TGlyphButton::SetAlignment(TAlignment Value)
{
    alignment_ = Value;
    Invalidate();
}

void TGlyphButton::SetEnabled(bool Value)
{
    TCustomSpeedButton::SetEnabled(Value);
    if (!Value && repeatTimer_) repeatTimer_->SetEnabled(false);
}

// ---- mouse, menu and repeat

void TGlyphButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !GetEnabled() || (Shift & ssDouble)) return;
    BeginPress();
    if (dropDownMenu_) {
        ShowDropDown();
        return;
    }
    if (allowTimer_) {
        if (!repeatTimer_) {
            repeatTimer_ = new TTimer(this);
            repeatTimer_->OnTimer = [this](TObject*) { TimerTick(); };
        }
        repeatTimer_->SetEnabled(false);
        repeatTimer_->SetInterval(initPause_);
        repeatTimer_->SetEnabled(true);
    }
}

void TGlyphButton::ShowDropDown()
{
    POINT p = menuPosition_ == dmpBottom ? POINT{0, height_} : POINT{width_, 0};
    if (GetParent()) p = GetParent()->ClientToScreen(POINT{left_ + p.x, top_ + p.y});
    inMenu_ = true;
    try {
        PopupDropDown(p.x, p.y);
    } catch (...) {
        inMenu_ = false;
        throw;
    }
    inMenu_ = false;
    // The press that closed the menu on this button must not press it again.
    MSG msg;
    if (GetParent() && GetParent()->HandleAllocated())
        while (PeekMessageA(&msg, GetParent()->GetHandle(), WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, PM_REMOVE)) {
        }
    // The press ends where the mouse is now.
    POINT at{-1, -1};
    GetCursorPos(&at);
    if (GetParent() && GetParent()->HandleAllocated()) {
        at = GetParent()->ScreenToClient(at);
        at.x -= left_;
        at.y -= top_;
    }
    MouseUp(mbLeft, 0, at.x, at.y);
}

void TGlyphButton::PopupDropDown(int ScreenX, int ScreenY)
{
    dropDownMenu_->SetPopupComponent(this);
    dropDownMenu_->Popup(ScreenX, ScreenY);
}

void TGlyphButton::TimerTick()
{
    repeatTimer_->SetInterval(repeatInterval_);
    if (state_ != bsDown || !dragging_) return;
    Click();
}

void TGlyphButton::MouseMove(TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseMove(Shift, X, Y);
    TrackPress(X, Y);
}

void TGlyphButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft || !dragging_) return;
    if (repeatTimer_) repeatTimer_->SetEnabled(false);
    if (EndPress(X, Y) && !inMenu_) Click();
}

void TGlyphButton::Click()
{
    if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(modalResult_);
    TCustomSpeedButton::Click();
}

// ---- cells and painting

void TGlyphButton::InvalidateCells()
{
    for (auto& c : cells_) c.reset();
}

TGlyphLook TGlyphButton::CurrentLook() const
{
    if (!GetEnabled()) return glDisabled;
    if (flat_ && !MouseInControl() && state_ == bsUp && grayedInactive_) return glInactive;
    switch (state_) {
    case bsDown: return glDown;
    case bsExclusive: return glExclusive;
    default: return glUp;
    }
}

TBitmap* TGlyphButton::GetCellBitmap(TGlyphLook Look)
{
    SIZE size = GlyphSize();
    if (size.cx <= 0 || size.cy <= 0) return nullptr;
    std::unique_ptr<TBitmap>& cell = cells_[Look];
    if (cell) return cell.get();
    TGlyphCell which = static_cast<TGlyphCell>(Look);
    TColor transparent = glyph_->GetTransparentColor();
    unsigned key = static_cast<unsigned>(ColorToRGB(transparent)) & 0xFFFFFF;
    switch (GlyphCellSource(which, numGlyphs_)) {
    case csOwn: cell = MakeCell(ReadCell(glyph_.get(), which, size), size, transparent); break;
    case csUpCell: cell = MakeCell(ReadCell(glyph_.get(), gcUp, size), size, transparent); break;
    case csGreyed: cell = MakeCell(GreyCell(ReadCell(glyph_.get(), gcUp, size), key), size, transparent); break;
    case csEmbossed: {
        auto px = EmbossedCell(ReadCell(glyph_.get(), gcUp, size), size.cx, size.cy, key,
                               SwapRedBlue(GetSysColor(COLOR_BTNHIGHLIGHT)), SwapRedBlue(GetSysColor(COLOR_BTNSHADOW)));
        cell = MakeCell(px, size, transparent);
        break;
    }
    }
    return cell.get();
}

void TGlyphButton::DrawMark(HDC DC, const RECT& Face, POINT Offset)
{
    int x = Face.right - 9 + 1 + Offset.x;
    int y = (Face.top + Face.bottom) / 2 - 2 + Offset.y;
    HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    for (int row = 0; row < 4; ++row) {
        int first = 0;
        int w = 0;
        DropDownMarkRow(row, first, w);
        RECT r = {x + first, y + row, x + first + w, y + row + 1};
        FillRect(DC, &r, black);
    }
}

void TGlyphButton::DrawGlyphAndText(HDC DC, const RECT& Face, POINT Offset, TGlyphLook Look)
{
    AnsiString caption = GetText();
    TGlyphPlacement place = PlaceFace(DC, Face, Offset, caption);
    if (TBitmap* cell = GetCellBitmap(Look))
        DrawButtonGlyph(DC, place.GlyphPos, cell, 0, SIZE{cell->GetWidth(), cell->GetHeight()}, false);
    if (caption.IsEmpty()) return;
    RECT t = place.TextBounds;
    // Whatever room is left on the face, the caption is cut to it.
    t.left = std::max(t.left, Face.left + Offset.x);
    t.right = std::min(t.right, Face.right + Offset.x);
    UINT align = alignment_ == taLeftJustify ? DT_LEFT : alignment_ == taRightJustify ? DT_RIGHT : DT_CENTER;
    UINT flags = align | DT_VCENTER | DT_END_ELLIPSIS | (wordWrap_ ? DT_WORDBREAK : DT_SINGLELINE);
    DrawButtonText(DC, caption, t, flags, Look != glDisabled, GetFont()->GetColor());
}

void TGlyphButton::PaintTo(HDC DC)
{
    RECT face = {0, 0, width_, height_};
    if (!transparent_) {
        HBRUSH brush = CreateSolidBrush(ColorToRGB(clBtnFace));
        FillRect(DC, &face, brush);
        DeleteObject(brush);
    }
    TGlyphLook look = CurrentLook();
    if (look != glInactive) DrawFrame(DC, face, PressedLook());
    if (state_ == bsExclusive && !flat_ && GetEnabled()) FillDither(DC, face);
    POINT offset = PressedLook() ? POINT{1, 1} : POINT{0, 0};
    RECT content = {0, 0, width_, height_};
    bool mark = markDropDown_ && dropDownMenu_;
    if (mark) content.right -= 9;
    DrawGlyphAndText(DC, content, offset, look);
    if (mark) DrawMark(DC, RECT{0, 0, width_, height_}, offset);
}

void TGlyphButton::Paint()
{
    if (width_ <= 0 || height_ <= 0) return;
    HDC target = GetCanvas()->GetHandle();
    HBITMAP bitmap = CreateCompatibleBitmap(target, width_, height_);
    if (!bitmap) return;
    {
        TMemoryDC mem(target, bitmap);
        // Transparent: the parent's background, already painted under us.
        if (transparent_) BitBlt(mem.Get(), 0, 0, width_, height_, target, 0, 0, SRCCOPY);
        PaintTo(mem.Get());
        BitBlt(target, 0, 0, width_, height_, mem.Get(), 0, 0, SRCCOPY);
    }
    DeleteObject(bitmap);
}
