// The main window's handlers of the tools' option controls.
#include "mainform.h"

#include "drawtools_common.h"
#include "optionbar_view.h"
#include "shapes_tools.h"
#include "toolmanager.h"

void TMainForm::LineParamChange(TObject*) { RefreshOutline(true, true); }

void TMainForm::SetFillOrigin(TObject*) { SelectTool(&ShapeTools().fillPos, true, -1); }

void TMainForm::BindToolOptionHandler(int index, int handler)
{
    if (BindTransformOptionHandler(index, handler)) return;
    switch (handler) {
    case SetFillOriginHandler: SetOptionHandler(index, [this](TObject* s) { SetFillOrigin(s); }); break;
    case ResetSizeHandler: SetOptionHandler(index, [this](TObject* s) { ResetSizeClick(s); }); break;
    case CutSizeChangedHandler: SetOptionHandler(index, [this](TObject* s) { CutSizeChanged(s); }); break;
    case DoubleAreaHandler: SetOptionHandler(index, [this](TObject* s) { DoubleAreaClick(s); }); break;
    case HalveAreaHandler: SetOptionHandler(index, [this](TObject* s) { HalveAreaClick(s); }); break;
    default: SetOptionHandler(index, [this](TObject* s) { LineParamChange(s); }); break;
    }
}
