// The main window's part in turning and stretching the whole picture: the
// Image menu's items, and the handlers of the rotate and stretch bars.
#include "mainform.h"

#include "drawtools_common.h"
#include "optionbar_view.h"
#include "picture_filter.h"
#include "rotate_tools.h"
#include "stretch_tools.h"
#include "toolmanager.h"

void TMainForm::Rotate1Click(TObject*) { SelectTool(&RotateTools().picture, true, -1); }

void TMainForm::StretchMirror1Click(TObject*) { SelectTool(&StretchTools().picture, true, -1); }

void TMainForm::FilterPreviewBtnClick(TObject*) { FilterPreview(); }

void TMainForm::FilterOkBtnClick(TObject*) { FilterOk(); }

void TMainForm::StretchXChange(TObject*) { StretchTools().picture.WidthChanged(); }

void TMainForm::StretchYChange(TObject*) { StretchTools().picture.HeightChanged(); }

void TMainForm::StretchPercXChange(TObject*) { StretchTools().picture.PercentXChanged(); }

void TMainForm::StretchPercYChange(TObject*) { StretchTools().picture.PercentYChanged(); }

bool TMainForm::BindTransformOptionHandler(int index, int handler)
{
    void (TMainForm::*method)(TObject*) = nullptr;
    switch (handler) {
    case FilterPreviewHandler: method = &TMainForm::FilterPreviewBtnClick; break;
    case FilterOkHandler: method = &TMainForm::FilterOkBtnClick; break;
    case StretchXChangeHandler: method = &TMainForm::StretchXChange; break;
    case StretchYChangeHandler: method = &TMainForm::StretchYChange; break;
    case StretchPercXChangeHandler: method = &TMainForm::StretchPercXChange; break;
    case StretchPercYChangeHandler: method = &TMainForm::StretchPercYChange; break;
    default: return false;
    }
    SetOptionHandler(index, [this, method](TObject* s) { (this->*method)(s); });
    return true;
}
