// What the shell's small dialogs have in common when they open: their texts
// from the language section named after the form, the caption's gradient
// ends from CaptionEndColors, and their place: centred in the work area the
// first time in a run, afterwards where the user last left them.
#ifndef KESTREL_SMALLDIALOG_H
#define KESTREL_SMALLDIALOG_H

#include "forms.h"
#include "gradient_caption.h"

// One per dialog, kept for the run.
struct TDialogPlace {
    bool known = false;
    int left = 0;
    int top = 0;
};

// Call at the end of the dialog's constructor, once its controls exist.
void PrepareSmallDialog(TForm* form, TGradientCaption* cap, const TDialogPlace& place);
// Call when the dialog goes (or is deactivated).
void RememberDialogPlace(TForm* form, TDialogPlace& place);

#endif
