// The main window's part in the spray, pipette and grid tools: the spray
// bars' sizing button, the swatches the pipette fills, the grid bar's
// values, its origin and brush-spacing buttons, and the snapping the image windows apply.
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
#include "programpictures.h"
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

// Spacing the grid by the brush lets a brush cut from a tile be laid edge
// to edge.
void TMainForm::SetGridDeltaFromBrush(TObject*)
{
    GridDx->SetValue(CurrentBrush.Width());
    GridDy->SetValue(CurrentBrush.Height());
}

TSpeedButton* TMainForm::GridBarButton(const char* name, int left)
{
    TSpeedButton* b = new TSpeedButton(this);
    b->SetName(name);
    b->SetShowHint(true);
    b->SetBounds(left, 0, 46, 21);
    b->SetParent(GridBar);
    return b;
}

// Made in code from message keys, not named in a language file's forms.
void TMainForm::TranslateGridBar()
{
    if (!GridOriginBtn) return;
    GridOriginBtn->SetCaption(Translate("GridOriginBtn"));
    GridOriginBtn->SetHint(Translate("GridSet"));
    GridBrushBtn->SetCaption(Translate("GridBrushBtn"));
    GridBrushBtn->SetHint(Translate("GridBrushHint"));
}

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
        GridOriginBtn = GridBarButton("GridOriginBtn", 200);
        GridOriginBtn->OnClick = [this](TObject* s) { SetGridOrigin(s); };
        GridBrushBtn = GridBarButton("GridBrushBtn", 250);
        GridBrushBtn->OnClick = [this](TObject* s) { SetGridDeltaFromBrush(s); };
        TranslateGridBar();
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
