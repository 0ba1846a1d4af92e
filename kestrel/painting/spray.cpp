#include "spray.h"

#include <cmath>
#include <cstdlib>

#include "brushes_tools.h"
#include "messages.h"
#include "optionbar.h"
#include "paintkit.h"
#include "paintkit_host.h"
#include "picture_document.h"
#include "pictureview.h"
#include "toolbox_host.h"
#include "toolsteps.h"

static const unsigned RightButtonBit = 16;  // ssRight of the shift state
static const int RadiusOption = 1, IntensityOption = 2;
static const double DegreesToRadians = 3.14159265358979323846 / 180;

P_sprayer::P_sprayer()
{
    undoAtPress = 1;
    helpContext = 2900;
}

// A radius below 1 can come from a sizing drag or a language file's range;
// the steps divide by it.
int P_sprayer::Radius() const
{
    int r = int(GetOptionValue(RadiusOption));
    return r < 1 ? 1 : r;
}

int P_sprayer::Strength() const
{
    int i = int(GetOptionValue(IntensityOption));
    return i < 1 ? 1 : i;
}

void P_sprayer::Activate()
{
    statusText = Translate(StatusKey());
    SetOptionValue(RadiusOption, PenBrushTools().resizeSpray.sprayRadius);
    SetOptionValue(IntensityOption, intensity);
    if (ToolBoxHost.bindResizeSpray) ToolBoxHost.bindResizeSpray(0);
}

void P_sprayer::Deactivate(P_icon*)
{
    // A bar without these controls reads 0: the settings stay as they were.
    int r = int(GetOptionValue(RadiusOption));
    int i = int(GetOptionValue(IntensityOption));
    if (r >= 1) PenBrushTools().resizeSpray.sprayRadius = short(r > 32767 ? 32767 : r);
    if (i >= 1) intensity = i;
}

void P_sprayer::Step()
{
    if (ToolPhase != PhaseDragging || MousePoint.x == OutsideView || !CurrentPicture) return;
    RunStep(MousePoint.x, MousePoint.y, Radius(), Strength());
}

void P_sprayer::EraseOutline()
{
    if (ToolPhase != PhaseIdle || !hoverShown_) return;
    hoverShown_ = false;
    HideHover(hoverX_, hoverY_);
}

void P_sprayer::EndStroke()
{
    if (CurrentPicture) ++CurrentPicture->modified;
    RecolorBrush(false);
    CropUndoToBrush();
}

void P_sprayer::DrawOutline()
{
    int x = MousePoint.x, y = MousePoint.y;
    if (ToolPhase == PhaseIdle) {
        ShowHover(x, y);
        hoverShown_ = true;
        hoverX_ = x;
        hoverY_ = y;
    } else if (ToolPhase == PhaseDragging) {
        if (pressShown_) {
            pressShown_ = false;
            return;
        }
        Step();
    } else if (ToolPhase == 1) {
        ToolPhase = PhaseDragging;
        pressShown_ = false;
        Step();
        Click();
        NextToolStep();
    }
}

void P_sprayer::Click()
{
    if (ToolPhase == PhaseIdle) {
        // The press has taken the hover feedback back already (HideOutline).
        hoverShown_ = false;
        pressShown_ = true;
        rightButton = (MouseShift & RightButtonBit) != 0;
        RecolorBrush(rightButton);
        ResetDirtyRect();
        return;
    }
    EndStroke();
}

void StepSprayTool()
{
    if (P_sprayer* tool = dynamic_cast<P_sprayer*>(CurrentTool)) tool->Step();
}

// ---- the spray

P_spray::P_spray()
{
    cursor = -42;
    optionBarKey = "SPRAYBAR";
    iconKey = "SprayIcon";
}

void P_spray::ShowHover(int x, int y) { StampBrush(x, y); }

void P_spray::HideHover(int x, int y) { RestoreUnderBrush(x, y); }

// 2I - 1 dabs at a distance b = -r + rand mod r + rand mod r (a triangle
// over -r .. r - 2) in a random whole-degree direction.
void P_spray::RunStep(int px, int py, int radius, int strength)
{
    SetVisibleClip();
    TPoint o = StampHotSpot();
    int w = StampBuffer.Width(), h = StampBuffer.Height();
    for (int n = 2 * strength - 1; n > 0; --n) {
        int b = -radius + std::rand() % radius + std::rand() % radius;
        double a = (std::rand() % 360) * DegreesToRadians;
        int x = int(std::cos(a) * b + px);
        int y = int(b * std::sin(a) + py);
        StampOnce(x, y);
        InvalidatePictureRect(x - o.x, y - o.y, x - o.x + w, y - o.y + h);
        ExtendDirtyRect(x, y, x, y);
    }
    UpdateView();
}

// ---- the airbrush

P_airbrush::P_airbrush()
{
    cursor = -41;
    optionBarKey = "AIRBRUSHBAR";
    iconKey = "ABrushIcon";
}

// The outline pixel is XOR: drawn again where it was, it is gone.
void P_airbrush::ShowHover(int x, int y) { PlotOutlinePixel(x, y); }

void P_airbrush::HideHover(int x, int y) { PlotOutlinePixel(x, y); }

void P_airbrush::RunStep(int cx, int cy, int radius, int strength)
{
    unsigned long colour = rightButton ? BackColour() : ForeColour();
    AirbrushDisc(cx, cy, radius, strength, colour);
    InvalidatePictureRect(cx - radius, cy - radius, cx + radius + 1, cy + radius + 1);
    UpdateView();
    ExtendDirtyRect(cx - radius, cy - radius, cx + radius, cy + radius);
}
