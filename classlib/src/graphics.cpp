// The graphics errors and the change protocol of the drawing tools.
#include "graphics.h"

EInvalidGraphic::EInvalidGraphic(const char* detail)
    : Exception("Invalid graphic format"), Detail(detail)
{
}

EInvalidGraphicOperation::EInvalidGraphicOperation(const AnsiString& msg) : Exception(msg) {}

TGraphicsObject::~TGraphicsObject() = default;

void TGraphicsObject::Changing()
{
    if (changing_) changing_();
}

void TGraphicsObject::Changed()
{
    DestroyHandle();
    if (OnChange) OnChange(this);
}
