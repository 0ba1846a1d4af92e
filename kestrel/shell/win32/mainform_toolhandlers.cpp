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
    if (handler == SetFillOriginHandler)
        SetOptionHandler(index, [this](TObject* s) { SetFillOrigin(s); });
    else
        SetOptionHandler(index, [this](TObject* s) { LineParamChange(s); });
}
