// The main window's part in the spray, pipette and grid tools: the spray
// bars' sizing button, the swatches the pipette fills, the grid bar's
// values, its origin button, and the snapping the image windows apply.
#include "mainform.h"

#include <cmath>

#include "brushes_tools.h"
#include "buttons.h"
#include "colorsel_hsv.h"
#include "imagewindow_host.h"
#include "messages.h"
#include "optionbar_view.h"
#include "palette_notify.h"
#include "palettebar.h"
#include "toolbox_host.h"
#include "toolbox_tools.h"
#include "toolgroups.h"

namespace {

int SpinValue(TSpinEdit* e) { return int(std::lround(double(e->GetValue()))); }

bool GridSwitchedOn()
{
    P_grid& grid = ToolBoxTools().grid;
    return grid.groupButton ? grid.groupButton->down : grid.clickSteps != 0;
}

void PickColour(bool back, unsigned long colour)
{
    TShape* swatch = back ? BackColourSwatch() : DrawColourSwatch();
    if (!swatch) return;
    RGBTriple rgb = PixelToRGB(colour);
    SetSwatchColour(swatch, colour, HSVTag(RGBToHSV(rgb.r, rgb.g, rgb.b)));
    ColorChanged();
}

}  // namespace

void TMainForm::ResizeSprayClick(TObject*) { SelectTool(&PenBrushTools().resizeSpray, true, -1); }

void TMainForm::SetGridOrigin(TObject*) { SelectTool(&ToolBoxTools().gridPos, true, -1); }

GridSettings TMainForm::GetGridSettings()
{
    GridSettings g;
    g.dx = SpinValue(GridDx);
    g.dy = SpinValue(GridDy);
    g.px = SpinValue(GridPx);
    g.py = SpinValue(GridPy);
    return g;
}

void TMainForm::InstallToolBoxServices()
{
    if (!GridOriginBtn) {
        GridOriginBtn = new TSpeedButton(this);
        GridOriginBtn->SetName("GridOriginBtn");
        GridOriginBtn->SetCaption(Translate("GridOriginBtn"));
        GridOriginBtn->SetHint(Translate("GridSet"));
        GridOriginBtn->SetShowHint(true);
        GridOriginBtn->SetBounds(200, 0, 46, 21);
        GridOriginBtn->SetParent(GridBar);
        GridOriginBtn->OnClick = [this](TObject* s) { SetGridOrigin(s); };
    }
    ToolBoxHost.bindResizeSpray = [this](int index) {
        SetOptionHandler(index, [this](TObject* s) { ResizeSprayClick(s); });
    };
    ToolBoxHost.pickColour = PickColour;
    ToolBoxHost.gridSettings = [this] { return GetGridSettings(); };
    ToolBoxHost.setGridOrigin = [this](int x, int y) {
        GridPx->SetValue(x);
        GridPy->SetValue(y);
    };
    ImageWindowHost.snapToGrid = [this](int& x, int& y) {
        if (GridSwitchedOn()) SnapToGrid(GetGridSettings(), x, y);
    };
}

void TMainForm::UninstallToolBoxServices()
{
    ToolBoxHost = ToolBoxHostServices();
    ImageWindowHost.snapToGrid = nullptr;
}
