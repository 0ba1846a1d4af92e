// TShape: a geometric figure drawn with its own pen and brush.
#include "extctrls.h"

#include <algorithm>

TShape::TShape(TComponent* AOwner) : TGraphicControl(AOwner), pen_(new TPen), brush_(new TBrush)
{
    width_ = 65;
    height_ = 65;
    pen_->OnChange = [this](TGraphicsObject*) { Invalidate(); };
    brush_->OnChange = [this](TGraphicsObject*) { Invalidate(); };
}

TShape::~TShape()
{
    pen_->OnChange = nullptr;
    brush_->OnChange = nullptr;
}

void TShape::SetShape(TShapeType Value)
{
    if (Value == shape_) return;
    shape_ = Value;
    Invalidate();
}

void TShape::Paint()
{
    TCanvas* canvas = GetCanvas();
    canvas->SetPen(pen_.get());
    canvas->SetBrush(brush_.get());
    // The outline stays inside the bounds.
    int half = pen_->GetWidth() / 2;
    int x = half, y = half;
    int w = width_ - pen_->GetWidth() + 1;
    int h = height_ - pen_->GetWidth() + 1;
    if (pen_->GetWidth() == 0) {
        w--;
        h--;
    }
    if (shape_ == stSquare || shape_ == stRoundSquare || shape_ == stCircle) {
        int side = std::min(w, h);
        x += (w - side) / 2;
        y += (h - side) / 2;
        w = h = side;
    }
    switch (shape_) {
    case stRectangle:
    case stSquare: canvas->Rectangle(x, y, x + w, y + h); break;
    case stRoundRect:
    case stRoundSquare: {
        int corner = std::min(w, h) / 4;
        canvas->RoundRect(x, y, x + w, y + h, corner, corner);
        break;
    }
    case stEllipse:
    case stCircle: canvas->Ellipse(x, y, x + w, y + h); break;
    }
}
