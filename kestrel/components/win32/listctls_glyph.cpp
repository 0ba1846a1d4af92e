// TGlyphButton: glyph cells, states, grouping, repeat and drop-down menu.
#include "listctls_glyph.h"

#include <algorithm>
#include <vector>

#include "forms.h"
#include "glyphstrip.h"

namespace {

// A memory DC with one bitmap selected, given back on the way out.
class TScopedMemDC {
public:
    TScopedMemDC(HDC like, HBITMAP bitmap) : dc_(CreateCompatibleDC(like)), old_(SelectObject(dc_, bitmap)) {}
    ~TScopedMemDC()
    {
        SelectObject(dc_, old_);
        DeleteDC(dc_);
    }
    TScopedMemDC(const TScopedMemDC&) = delete;
    TScopedMemDC& operator=(const TScopedMemDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HDC dc_;
    HGDIOBJ old_;
};

// GDI pixels are 0x00RRGGBB; the cell rules work on colour values.
unsigned SwapRB(unsigned p)
{
    return ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
}

// One cell of a glyph as colour values.
std::vector<unsigned> ReadCell(TBitmap* glyph, int cell, SIZE size)
{
    std::vector<unsigned> out = CutGlyphCell(ReadBitmapPixels(glyph), glyph->GetWidth(), size.cx, cell);
    out.resize(size_t(size.cx) * size.cy);
    for (unsigned& p : out) p = SwapRB(p);
    return out;
}

std::unique_ptr<TBitmap> MakeCell(const std::vector<unsigned>& pixels, SIZE size, TColor transparent)
{
    std::unique_ptr<TBitmap> cell(new TBitmap);
    cell->SetPixelFormat(pf32bit);
    cell->SetSize(size.cx, size.cy);
    std::vector<unsigned> bits(pixels.size());
    for (size_t i = 0; i < pixels.size(); ++i) bits[i] = SwapRB(pixels[i]);
    WriteBitmapPixels(cell->GetHandle(), size.cx, size.cy, bits);
    cell->SetTransparentColor(transparent);
    return cell;
}

// Draws bitmap with its transparent colour left out.
void DrawTransparent(HDC dc, int x, int y, TBitmap* bitmap)
{
    int w = bitmap->GetWidth();
    int h = bitmap->GetHeight();
    COLORREF transparent = ColorToRGB(bitmap->GetTransparentColor()) & 0xFFFFFF;
    HBITMAP maskBitmap = CreateBitmap(w, h, 1, 1, nullptr);
    if (!maskBitmap) throw EOutOfResources("Cannot create a glyph mask");
    {
        TScopedMemDC source(dc, bitmap->GetHandle());
        TScopedMemDC mask(dc, maskBitmap);
        SetBkColor(source.Get(), transparent);
        BitBlt(mask.Get(), 0, 0, w, h, source.Get(), 0, 0, SRCCOPY);
        // dest ^ src, cleared where opaque, ^ src: the glyph over the face.
        BitBlt(dc, x, y, w, h, source.Get(), 0, 0, SRCINVERT);
        COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
        COLORREF oldBk = SetBkColor(dc, RGB(255, 255, 255));
        BitBlt(dc, x, y, w, h, mask.Get(), 0, 0, SRCAND);
        SetTextColor(dc, oldText);
        SetBkColor(dc, oldBk);
        BitBlt(dc, x, y, w, h, source.Get(), 0, 0, SRCINVERT);
    }
    DeleteObject(maskBitmap);
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

TGlyphButton::TGlyphButton(TComponent* AOwner) : TGraphicControl(AOwner), glyph_(new TBitmap)
{
    // The click comes from MouseUp, after the state change.
    controlStyle_ = csCaptureMouse | csDoubleClicks | csSetCaption | csOpaque;
    width_ = 25;
    height_ = 25;
    SetParentColor(true);
    glyph_->OnChange = [this](TGraphic*) {
        InvalidateCells();
        Invalidate();
    };
}

TGlyphButton::~TGlyphButton()
{
    glyph_->OnChange = nullptr;
    if (repeatTimer_) repeatTimer_->OnTimer = nullptr;
}

void TGlyphButton::SetGlyph(TBitmap* Value)
{
    glyph_->Assign(Value);
    if (!glyph_->GetEmpty()) {
        int n = GlyphCountFromSize(glyph_->GetWidth(), glyph_->GetHeight());
        if (n > 1) numGlyphs_ = n;
    }
    InvalidateCells();
    Invalidate();
}

void TGlyphButton::SetNumGlyphs(int Value)
{
    if (Value < 1 || Value > 5) throw EPropertyError("NumGlyphs must be between 1 and 5");
    if (Value == numGlyphs_) return;
    numGlyphs_ = Value;
    InvalidateCells();
    Invalidate();
}

void TGlyphButton::SetLayout(TButtonLayout Value)
{
    layout_ = Value;
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

void TGlyphButton::SetFlat(bool Value)
{
    flat_ = Value;
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
    TGraphicControl::Notification(AComponent, Operation);
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

void TGlyphButton::SetText(const AnsiString& Value)
{
    TGraphicControl::SetText(Value);
    Invalidate();
}

void TGlyphButton::SetEnabled(bool Value)
{
    TGraphicControl::SetEnabled(Value);
    if (!Value) {
        dragging_ = false;
        if (repeatTimer_) repeatTimer_->SetEnabled(false);
    }
    state_ = !Value ? bsDisabled : down_ ? bsExclusive : bsUp;
    Invalidate();
}

// ---- grouping

void TGlyphButton::GroupChanged()
{
    TWinControl* parent = GetParent();
    if (!parent || groupIndex_ == 0) return;
    for (int i = 0; i < parent->GetControlCount(); ++i) {
        TControl* c = parent->GetControl(i);
        if (c != this) c->Perform(CM_GLYPHBUTTONPRESSED, static_cast<WPARAM>(groupIndex_), reinterpret_cast<LPARAM>(this));
    }
}

// Another button of the group went down, or changed AllowAllUp.
void TGlyphButton::ButtonPressed(int Group, TGlyphButton* Sender)
{
    if (Group != groupIndex_ || Sender == this) return;
    if (Sender->down_ && down_) {
        down_ = false;
        state_ = GetEnabled() ? bsUp : bsDisabled;
        Invalidate();
    }
    allowAllUp_ = Sender->allowAllUp_;
}

void TGlyphButton::SetGroupIndex(int Value)
{
    if (Value == groupIndex_) return;
    groupIndex_ = Value;
    if (Value == 0 && down_) {
        down_ = false;
        state_ = GetEnabled() ? bsUp : bsDisabled;
        Invalidate();
    }
    GroupChanged();
}

void TGlyphButton::SetDown(bool Value)
{
    if (groupIndex_ == 0) Value = false;
    if (Value == down_) return;
    if (down_ && !allowAllUp_) return;
    down_ = Value;
    if (GetEnabled()) state_ = Value ? bsExclusive : bsUp;
    Invalidate();
    if (Value) GroupChanged();
}

void TGlyphButton::SetAllowAllUp(bool Value)
{
    if (Value == allowAllUp_) return;
    allowAllUp_ = Value;
    GroupChanged();
}

void TGlyphButton::WndProc(TMessage& Message)
{
    if (Message.Msg == CM_GLYPHBUTTONPRESSED) {
        ButtonPressed(static_cast<int>(Message.WParam), reinterpret_cast<TGlyphButton*>(Message.LParam));
        return;
    }
    TGraphicControl::WndProc(Message);
}

// ---- mouse, menu and repeat

void TGlyphButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !GetEnabled() || (Shift & ssDouble)) return;
    if (!down_) {
        state_ = bsDown;
        Repaint();
    }
    dragging_ = true;
    if (dropDownMenu_) {
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
    if (!dragging_) return;
    TButtonState look = down_ ? bsExclusive : bsUp;
    if (Inside(X, Y)) look = down_ ? bsExclusive : bsDown;
    if (look != state_) {
        state_ = look;
        Invalidate();
    }
}

void TGlyphButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft || !dragging_) return;
    dragging_ = false;
    if (repeatTimer_) repeatTimer_->SetEnabled(false);
    bool inside = Inside(X, Y);
    if (groupIndex_ == 0) {
        state_ = bsUp;
        Invalidate();
    } else if (inside) {
        SetDown(!down_);
        // Refused (the last one down without AllowAllUp): keep the look.
        state_ = down_ ? bsExclusive : bsUp;
        Invalidate();
    } else {
        state_ = down_ ? bsExclusive : bsUp;
        Invalidate();
    }
    if (inside && !inMenu_) Click();
}

void TGlyphButton::Click()
{
    if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(modalResult_);
    TGraphicControl::Click();
}

void TGlyphButton::MouseEnter()
{
    TGraphicControl::MouseEnter();
    if (flat_) Invalidate();
}

void TGlyphButton::MouseLeave()
{
    TGraphicControl::MouseLeave();
    if (flat_) Invalidate();
}

// ---- cells and painting

void TGlyphButton::InvalidateCells()
{
    for (auto& c : cells_) c.reset();
}

SIZE TGlyphButton::CellSize() const
{
    if (glyph_->GetEmpty()) return SIZE{0, 0};
    return SIZE{glyph_->GetWidth() / numGlyphs_, glyph_->GetHeight()};
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
    SIZE size = CellSize();
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
                               SwapRB(GetSysColor(COLOR_BTNHIGHLIGHT)), SwapRB(GetSysColor(COLOR_BTNSHADOW)));
        cell = MakeCell(px, size, transparent);
        break;
    }
    }
    return cell.get();
}

void TGlyphButton::DrawFrame(HDC DC, RECT& Face, bool Pressed)
{
    if (!flat_) {
        DrawFrameControl(DC, &Face, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (Pressed ? DFCS_PUSHED : 0));
    } else if (Pressed) {
        DrawEdge(DC, &Face, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    } else if (MouseInControl() && GetEnabled()) {
        DrawEdge(DC, &Face, BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
    }
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
    SelectObject(DC, GetFont()->GetHandle());
    RECT textSize = {0, 0, 0, 0};
    if (!caption.IsEmpty()) DrawTextA(DC, caption.c_str(), -1, &textSize, DT_SINGLELINE | DT_CALCRECT);
    SIZE glyph = CellSize();
    int spacing = (caption.IsEmpty() || glyph.cx == 0) ? 0 : spacing_;
    TGlyphPlacement place = CalcButtonLayout(Face, Offset, SIZE{textSize.right, textSize.bottom}, glyph, layout_,
                                             margin_, spacing);
    if (TBitmap* cell = GetCellBitmap(Look)) DrawTransparent(DC, place.GlyphPos.x, place.GlyphPos.y, cell);
    if (caption.IsEmpty()) return;
    RECT t = place.TextBounds;
    // Whatever room is left on the face, the caption is cut to it.
    t.left = std::max(t.left, Face.left + Offset.x);
    t.right = std::min(t.right, Face.right + Offset.x);
    SetBkMode(DC, TRANSPARENT);
    UINT align = alignment_ == taLeftJustify ? DT_LEFT : alignment_ == taRightJustify ? DT_RIGHT : DT_CENTER;
    UINT flags = align | DT_VCENTER | DT_END_ELLIPSIS | (wordWrap_ ? DT_WORDBREAK : DT_SINGLELINE);
    if (Look == glDisabled) {
        RECT shifted = {t.left + 1, t.top + 1, t.right + 1, t.bottom + 1};
        SetTextColor(DC, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawTextA(DC, caption.c_str(), -1, &shifted, flags);
        SetTextColor(DC, GetSysColor(COLOR_BTNSHADOW));
    } else {
        SetTextColor(DC, ColorToRGB(GetFont()->GetColor()));
    }
    DrawTextA(DC, caption.c_str(), -1, &t, flags);
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
    bool pressed = state_ == bsDown || state_ == bsExclusive;
    if (look != glInactive) DrawFrame(DC, face, pressed);
    if (state_ == bsExclusive && !flat_ && GetEnabled()) FillDither(DC, face);
    POINT offset = pressed ? POINT{1, 1} : POINT{0, 0};
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
        TScopedMemDC mem(target, bitmap);
        // Transparent: the parent's background, already painted under us.
        if (transparent_) BitBlt(mem.Get(), 0, 0, width_, height_, target, 0, 0, SRCCOPY);
        PaintTo(mem.Get());
        BitBlt(target, 0, 0, width_, height_, mem.Get(), 0, 0, SRCCOPY);
    }
    DeleteObject(bitmap);
}
