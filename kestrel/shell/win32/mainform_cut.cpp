// The main window's handlers of the fixed cut rectangle's option controls.
#include "mainform.h"

#include "cut_size.h"

void TMainForm::ResetSizeClick(TObject*) { ResetCutSize(); }

void TMainForm::CutSizeChanged(TObject*) { CutSizeChangedByHand(); }

void TMainForm::DoubleAreaClick(TObject*) { DoubleCutSize(); }

void TMainForm::HalveAreaClick(TObject*) { HalveCutSize(); }
