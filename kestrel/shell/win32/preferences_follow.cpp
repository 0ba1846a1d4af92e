#include "preferences_follow.h"

#include "imageform.h"
#include "imagetitle.h"
#include "paintkit.h"
#include "paintkit_host.h"
#include "pictureview.h"
#include "programpictures.h"
#include "undo_history.h"
#include "undo_settings.h"

void TryPreferencesOnImageWindows(TPreferences& d)
{
    d.OnAntiAliasTry = [&d](TObject*) {
        bool stored = AntiAlias;
        AntiAlias = d.AntiAliasCB->GetChecked();
        ApplyAntiAlias();
        AntiAlias = stored;
    };
    d.OnInstBrushTry = [&d](TObject*) { ApplyInstantBrush(d.InstBrushCB->GetChecked()); };
    d.OnClippingTry = [&d](TObject*) {
        bool stored = Clipping;
        Clipping = d.ClippingCB->GetChecked();
        SetVisibleClip();
        Clipping = stored;
    };
}

void FollowPreferencesInPictures(const TPreferencesResult& r)
{
    if (r.accepted) {
        // The painting core reads these, and shut-down stores them from there.
        Clipping = AppSettings.Clipping;
        AntiAlias = AppSettings.AntiAlias;
        OptimBrush = AppSettings.OptimBrush;
    }
    ApplyAntiAlias();
    ApplyInstantBrush(InstBrush);
    SetVisibleClip();  // also undoes a clipping tried in a cancelled dialog
    if (!r.accepted) return;
    if (r.levelChanged)
        for (int i = 0; i < ImageFormCount(); ++i) GetImageForm(i)->ShowLevelControls();
    // Cut tools make brushes now: nothing could take a selection away.
    if (InstBrush && CurrentPicture) CurrentPicture->DropSelection(true);
    if (r.undoDirChanged) MoveAllUndoFiles();
    UDBuffer::TrimUndo(CurrentPicture ? CurrentPicture : &CurrentBrush);
}

void RetranslateImageWindows()
{
    for (int i = 0; i < ImageFormCount(); ++i) {
        TImageForm* f = GetImageForm(i);
        f->UpdateCaption(CaptionAuto);
        f->TranslateToggleHints();
    }
}
