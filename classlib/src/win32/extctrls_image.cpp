// TImage (a picture on the parent) and TPaintBox (whatever OnPaint draws).
#include "extctrls.h"

// ---- TImage

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner), picture_(new TPicture)
{
    width_ = 105;
    height_ = 105;
    picture_->OnChange = [this](TObject*) { PictureChanged(); };
}

TImage::~TImage()
{
    picture_->OnChange = nullptr;
}

TCanvas* TImage::GetCanvas()
{
    TGraphic* graphic = picture_->GetGraphic();
    if (!graphic) {
        TBitmap* bitmap = picture_->GetBitmap();
        bitmap->SetSize(width_, height_);
        return bitmap->GetCanvas();
    }
    auto* bitmap = dynamic_cast<TBitmap*>(graphic);
    if (!bitmap) throw EInvalidOperation("Can only modify an image if it contains a bitmap");
    return bitmap->GetCanvas();
}

void TImage::SetStretch(bool Value)
{
    if (Value == stretch_) return;
    stretch_ = Value;
    Invalidate();
}

void TImage::SetCenter(bool Value)
{
    if (Value == center_) return;
    center_ = Value;
    Invalidate();
}

void TImage::SetAutoSize(bool Value)
{
    autoSize_ = Value;
    PictureChanged();
}

void TImage::PictureChanged()
{
    // Drawing on the bitmap's canvas reports every call; while painting
    // ourselves that is not a change.
    if (drawing_) return;
    if (autoSize_ && picture_->GetWidth() > 0 && picture_->GetHeight() > 0)
        SetBounds(left_, top_, picture_->GetWidth(), picture_->GetHeight());
    Invalidate();
}

RECT TImage::DestRect() const
{
    if (stretch_) return RECT{0, 0, width_, height_};
    int w = picture_->GetWidth();
    int h = picture_->GetHeight();
    int x = center_ ? (width_ - w) / 2 : 0;
    int y = center_ ? (height_ - h) / 2 : 0;
    return RECT{x, y, x + w, y + h};
}

void TImage::Paint()
{
    TGraphic* graphic = picture_->GetGraphic();
    if (!graphic || graphic->GetEmpty()) return;
    drawing_ = true;
    try {
        TGraphicControl::GetCanvas()->StretchDraw(DestRect(), graphic);
    } catch (...) {
        drawing_ = false;
        throw;
    }
    drawing_ = false;
}

// ---- TPaintBox

TPaintBox::TPaintBox(TComponent* AOwner) : TGraphicControl(AOwner)
{
    width_ = 105;
    height_ = 105;
}

void TPaintBox::Paint()
{
    if (OnPaint) OnPaint(this);
}
