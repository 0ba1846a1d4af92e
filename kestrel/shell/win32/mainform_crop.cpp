// Image > Crop: the selected part of the picture becomes a picture of its
// own in a new window; what lies outside the selection's shape takes the
// background colour.
#include "mainform.h"

#include <algorithm>

#include "imageform.h"
#include "imagetitle.h"
#include "paintkit_host.h"
#include "selection_trace.h"
#include "toolmanager.h"

namespace {

bool StillOpen(const TImageForm* f)
{
    for (int i = 0; i < ImageFormCount(); ++i)
        if (GetImageForm(i) == f) return true;
    return false;
}

void CopySelected(const UDBuffer& from, Rect s, UDBuffer& to, unsigned long background)
{
    for (int y = s.top; y <= s.bottom; ++y)
        for (int x = s.left; x <= s.right; ++x) {
            unsigned long p = *from.At(x, y);
            *to.At(to.left + x - s.left, to.top + y - s.top) = (p & SelectedBit) ? (p & ~SelectedBit) : background;
        }
}

}  // namespace

void TMainForm::Crop2Click(TObject*)
{
    TImageForm* old = CurrentImageForm;
    if (!old || !old->Picture.HasSelection()) return;
    UDBuffer& from = old->Picture;
    Rect s = from.SelectionRect();
    s = Rect{std::max(s.left, from.left), std::max(s.top, from.top), std::min(s.right, from.right),
             std::min(s.bottom, from.bottom)};
    if (s.right < s.left || s.bottom < s.top) return;
    SuspendTool();
    try {
        // The crop's size is also what New offers next.
        NewWidth = s.right - s.left + 1;
        NewHeight = s.bottom - s.top + 1;
        TImageForm* f = NewImageWindow();
        f->FitToPicture();
        // A fresh, untouched window gives way to the new one: then there is
        // nothing but background to copy.
        if (StillOpen(old)) CopySelected(from, s, f->Picture, BackColour() & 0x00FFFFFF);
        // A picture nobody has saved: closing it must ask.
        ++f->Picture.modified;
        f->UpdateCaption(CaptionAuto);
        f->ShowBuf->Invalidate();
    } catch (Exception&) {
        // A window that could not be made has told the user why.
    }
    ResumeTool();
}
