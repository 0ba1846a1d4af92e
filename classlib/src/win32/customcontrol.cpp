// TGraphicControl and TCustomControl: the two ways a control paints itself.
#include "controls.h"

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner), canvas_(new TCanvas) {}

TGraphicControl::~TGraphicControl() {}

// The parent sends WM_PAINT with its DC, clipped to our bounds and with the
// origin moved to our top-left corner (TWinControl::PaintControls).
void TGraphicControl::WndProc(TMessage& Message)
{
    if (Message.Msg != WM_PAINT || !Message.WParam) {
        TControl::WndProc(Message);
        return;
    }
    canvas_->SetHandle(reinterpret_cast<HDC>(Message.WParam));
    try {
        Paint();
    } catch (...) {
        canvas_->SetHandle(nullptr);
        throw;
    }
    canvas_->SetHandle(nullptr);
}

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner), canvas_(new TCanvas) {}

TCustomControl::~TCustomControl() {}

void TCustomControl::PaintWindow(HDC DC)
{
    canvas_->SetHandle(DC);
    try {
        Paint();
    } catch (...) {
        canvas_->SetHandle(nullptr);
        throw;
    }
    canvas_->SetHandle(nullptr);
}
