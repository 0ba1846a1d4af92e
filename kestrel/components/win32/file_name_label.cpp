#include "file_name_label.h"

TFileLabel::TFileLabel(TComponent* AOwner) : TCustomLabel(AOwner)
{
    SetWordWrap(false);
    SetAutoSize(false);
}

void TFileLabel::SetFileName(const AnsiString& Value)
{
    fileName_ = Value;
    UpdateCaption();
}

void TFileLabel::SetSeparator(const AnsiString& Value)
{
    separator_ = Value;
    UpdateCaption();
}

void TFileLabel::SetDirection(TDirection Value)
{
    direction_ = Value;
    UpdateCaption();
}

void TFileLabel::FontChanged()
{
    TCustomLabel::FontChanged();
    UpdateCaption();
}

void TFileLabel::Resize()
{
    UpdateCaption();
    TCustomLabel::Resize();
}

void TFileLabel::UpdateCaption()
{
    // Measured on a screen DC: the label may not be on a form yet.
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, GetFont()->GetHandle());
    auto width = [dc](const AnsiString& s) {
        SIZE size = {0, 0};
        GetTextExtentPoint32A(dc, s.c_str(), s.Length(), &size);
        return static_cast<int>(size.cx);
    };
    AnsiString shown;
    try {
        shown = ShortenFileName(fileName_, separator_, direction_, GetWidth(), width);
    } catch (...) {
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
        throw;
    }
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    SetCaption(shown);
}
