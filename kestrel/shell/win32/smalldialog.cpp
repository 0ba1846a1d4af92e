#include "smalldialog.h"

#include "lang.h"
#include "mainform.h"
#include "screen.h"

namespace {

// WorkArea is taken at start-up; a dialog opened before (or without) it
// centres in the screen's work area.
RECT DialogWorkArea()
{
    if (WorkArea.right > WorkArea.left && WorkArea.bottom > WorkArea.top) return WorkArea;
    if (Screen) return Screen->GetWorkAreaRect();
    return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

}  // namespace

void PrepareSmallDialog(TForm* form, TGradientCaption* cap, const TDialogPlace& place)
{
    if (Lang) Lang->TranslateForm("[" + form->GetName() + "]");
    cap->SetActiveEndColor(CaptionEndColors[0]);
    cap->SetInactiveEndColor(CaptionEndColors[1]);
    if (place.known) {
        form->SetBounds(place.left, place.top, form->GetWidth(), form->GetHeight());
        return;
    }
    RECT area = DialogWorkArea();
    form->SetBounds(area.left + (area.right - area.left - form->GetWidth()) / 2,
                    area.top + (area.bottom - area.top - form->GetHeight()) / 2, form->GetWidth(), form->GetHeight());
}

void RememberDialogPlace(TForm* form, TDialogPlace& place)
{
    place.known = true;
    place.left = form->GetLeft();
    place.top = form->GetTop();
}
