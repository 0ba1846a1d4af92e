// The zoom control and the zoom helpers the image windows and the zoom tool
// call. The arithmetic is the image windows' (imagezoom.h); the current
// window does the relayout itself.
#include "mainform.h"

#include "imageform.h"
#include "imagezoom.h"
#include "toolbuttons.h"

namespace {

const char* const FractionCaptions[5] = {"3/4", "2/3", "1/2", "1/3", "1/4"};

}  // namespace

double TMainForm::GetZoom() const { return ZoomStepFactor(Zoom->GetPosition()); }

void TMainForm::SetZoom(double factor)
{
    ShowZoomPosition(ZoomStepForFactor(factor));
    if (CurrentImageForm && CurrentImageForm->Picture.HasSelection()) CurrentImageForm->Picture.ScaleSelectionPath();
}

unsigned long TMainForm::GetZoomCode() const { return ZoomStepCode(Zoom->GetPosition()); }

void TMainForm::ShowZoomPosition(int position)
{
    Zoom->SetPosition(position);
    ZoomLabel->SetCaption(position >= 1 ? AnsiString(position) : AnsiString(FractionCaptions[-position]));
}

void TMainForm::ZoomClick(TObject*, TUDBtnType)
{
    CloseIconPanel();
    ShowZoomPosition(Zoom->GetPosition());
    if (CurrentImageForm && CurrentImageForm->Picture.HasSelection()) CurrentImageForm->Picture.ScaleSelectionPath();
    UpdateView();
}

// Setting the up-down from code fires no click: the view goes on at the
// lowered zoom at once (the image window lowers it itself).
void TMainForm::UpdateView()
{
    TImageForm* f = CurrentImageForm;
    if (!f) return;
    f->SetZoomStep(Zoom->GetPosition());
}
