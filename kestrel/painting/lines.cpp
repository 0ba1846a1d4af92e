#include "lines.h"

#include <algorithm>
#include <cstdlib>

#include "drawtools_common.h"
#include "messages.h"
#include "optionbar.h"
#include "paintkit.h"
#include "paintkit_host.h"
#include "pictureview.h"

static const int MaxLineValue = 999;

// A chained segment records its own step once the one before is drawn;
// the phase goes back to idle so that the machine raises it to "started".
static bool BeginNextSegment(const AnsiString& key)
{
    UDBuffer* pic = CurrentPicture;
    if (!pic || !UDBuffer::SaveUndo(pic, key, nullptr, -1, 0, 0, 0)) return false;
    NotePressStep();
    ToolPhase = PhaseIdle;
    return true;
}

void ReadLineOptions(int& mode, int& value, int* arrow)
{
    mode = OptionInt(0, 0, 2);
    value = OptionInt(1, 1, MaxLineValue);
    if (arrow) *arrow = OptionInt(2, 0, 4);
}

void WriteLineOptions(int mode, int value, const int* arrow)
{
    SetOptionValue(0, mode);
    SetOptionValue(1, value);
    BindOptionHandler(0, LineParamChangeHandler);
    BindOptionHandler(1, LineParamChangeHandler);
    if (arrow) {
        SetOptionValue(2, *arrow);
        BindOptionHandler(2, LineParamChangeHandler);
    }
}

TPoint CurveControlPoint(TPoint s, TPoint e, TPoint p)
{
    return TPoint{2 * p.x - (s.x + e.x) / 2, 2 * p.y - (s.y + e.y) / 2};
}

double CurveLength(TPoint s, TPoint q, TPoint e)
{
    double length = 0;
    TPoint prev = s;
    for (int i = 1; i <= 16; ++i) {
        double t = i / 16.0, u = 1 - t;
        TPoint p = {int(u * u * s.x + 2 * t * u * q.x + t * t * e.x), int(u * u * s.y + 2 * t * u * q.y + t * t * e.y)};
        length += std::max(std::abs(p.x - prev.x), std::abs(p.y - prev.y));
        prev = p;
    }
    return length;
}

// --- Lines ---

P_line::P_line()
{
    undoAtPress = 1;
    pointerMode = 2;
    helpContext = 2200;
    optionBarKey = "LINEBAR";
    iconKey = "SingleLineIcon";
}

void P_line::Activate()
{
    statusText = Translate("LnStr");
    WriteLineOptions(lineMode, lineValue, &arrow);
}

void P_line::Deactivate(P_icon*) { ReadLineOptions(lineMode, lineValue, &arrow); }

double P_line::Spacing(int x, int y) const
{
    return DabSpacing(lineMode, lineValue, std::max(std::abs(x - startX), std::abs(y - startY)));
}

// The dotted line to the pointer and, with an arrow, its barbs; drawing it
// again takes it away.
void P_line::XorBand(int x, int y)
{
    UDBuffer* pic = CurrentPicture;
    if (!pic) return;
    DottedLine(*pic, Spacing(x, y), 1.0, startX, startY, x, y);
    if (arrow < 1 || arrow > 4) return;
    for (double angle : {-30.0, 30.0}) {
        TPoint b = PointAtAngle(x, y, startX, startY, angle, ArrowSizes[arrow - 1]);
        DottedLine(*pic, 1.0, 1.0, x, y, b.x, b.y);
    }
}

void P_line::DrawOutline()
{
    int x = MousePoint.x, y = MousePoint.y;
    if (x == OutsideView) return;
    shownX = x;
    shownY = y;
    if (ToolPhase == PhaseIdle) {
        StampBrush(x, y);
        previewShown = true;
        return;
    }
    ShowSizeText(x - startX, y - startY);
    ReadLineOptions(lineMode, lineValue, &arrow);
    XorBand(x, y);
    bandShown = true;
}

void P_line::EraseOutline()
{
    if (previewShown) RestoreUnderBrush(shownX, shownY);
    if (bandShown) XorBand(shownX, shownY);
    previewShown = bandShown = false;
}

void P_line::DrawLine(int x, int y)
{
    ClearSizeText();
    bool right = RightButtonPressed();
    RecolorBrush(right);
    double spacing = Spacing(x, y);
    ResetDirtyRect();
    if (arrow >= 1 && arrow <= 4) {
        for (double angle : {-30.0, 30.0}) {
            TPoint b = PointAtAngle(x, y, startX, startY, angle, ArrowSizes[arrow - 1]);
            StampBrushLine(x, y, b.x, b.y, 1.0, 1.0);
            ExtendDirtyRect(x, y, b.x, b.y);
        }
    }
    StampBrushLine(startX, startY, x, y, spacing, 1.0);
    ExtendDirtyRect(startX, startY, x, y);
    CropUndoToBrush();
    if (right) RecolorBrush(false);
    if (CurrentPicture) ++CurrentPicture->modified;
    UpdateView();
}

void P_line::Click()
{
    int x = MousePoint.x, y = MousePoint.y;
    previewShown = bandShown = false;
    if (ToolPhase == PhaseIdle) {
        statusText = Translate("LnEnd");
        startX = x;
        startY = y;
        return;
    }
    DrawLine(x, y);
    // The next segment is a step of its own; the machine then raises the
    // phase so that the next press goes on from here. Without room for that
    // step the chain ends: the next segment would have nothing to undo to.
    if (!Continues() || !BeginNextSegment(iconKey)) {
        statusText = Translate("LnStr");
        return;
    }
    startX = x;
    startY = y;
    statusText = Translate("LnEnd");
}

// --- Curves ---

P_spline::P_spline()
{
    undoAtPress = 1;
    pointerMode = 2;
    clickSteps = 3;
    helpContext = 2300;
    optionBarKey = "CURVEBAR";
    iconKey = "SingleCurveIcon";
}

void P_spline::Activate()
{
    statusText = Translate("SplnStr");
    WriteLineOptions(lineMode, lineValue, &arrow);
}

void P_spline::Deactivate(P_icon*) { ReadLineOptions(lineMode, lineValue, &arrow); }

static double CurveSpacing(int mode, int value, TPoint s, TPoint q, TPoint e)
{
    if (mode != 2) return DabSpacing(mode, value, 0);
    return DabSpacing(mode, value, CurveLength(s, q, e) - 0.05);
}

// While the end is placed: the dotted line to the pointer; while the curve
// is shaped: the dotted curve through the pointer.
void P_spline::XorBand(int x, int y)
{
    UDBuffer* pic = CurrentPicture;
    if (!pic) return;
    TPoint s = {startX, startY};
    if (!bandIsCurve) {
        double length = std::max(std::abs(x - startX), std::abs(y - startY));
        DottedLine(*pic, DabSpacing(lineMode, lineValue, length), 1.0, startX, startY, x, y);
        return;
    }
    TPoint e = {endX, endY}, q = CurveControlPoint(s, e, TPoint{x, y});
    DottedCurve(s, q, e, CurveSpacing(lineMode, lineValue, s, q, e), arrow);
}

void P_spline::DrawOutline()
{
    int x = MousePoint.x, y = MousePoint.y;
    if (x == OutsideView) return;
    shownX = x;
    shownY = y;
    if (ToolPhase == PhaseIdle) {
        StampBrush(x, y);
        previewShown = true;
        return;
    }
    bandIsCurve = ToolPhase == 2;
    if (!bandIsCurve) ShowSizeText(x - startX, y - startY);
    ReadLineOptions(lineMode, lineValue, &arrow);
    XorBand(x, y);
    bandShown = true;
}

void P_spline::EraseOutline()
{
    if (previewShown) RestoreUnderBrush(shownX, shownY);
    if (bandShown) XorBand(shownX, shownY);
    previewShown = bandShown = false;
}

void P_spline::DrawCurve(int x, int y)
{
    bool right = RightButtonPressed();
    RecolorBrush(right);
    TPoint s = {startX, startY}, e = {endX, endY}, q = CurveControlPoint(s, e, TPoint{x, y});
    StampBrushCurve(s, q, e, CurveSpacing(lineMode, lineValue, s, q, e), arrow);
    if (right) RecolorBrush(false);
    if (CurrentPicture) ++CurrentPicture->modified;
    UpdateView();
}

void P_spline::Click()
{
    int x = MousePoint.x, y = MousePoint.y;
    previewShown = bandShown = false;
    if (ToolPhase == PhaseIdle) {
        statusText = Translate("SplnEnd");
        startX = x;
        startY = y;
        return;
    }
    if (ToolPhase != 2) {
        statusText = Translate("SplnCtr");
        endX = x;
        endY = y;
        ClearSizeText();
        return;
    }
    DrawCurve(x, y);
    if (!Continues() || !BeginNextSegment(iconKey)) {
        statusText = Translate("SplnStr");
        return;
    }
    startX = endX;
    startY = endY;
    statusText = Translate("SplnEnd");
}
