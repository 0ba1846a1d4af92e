#include "picture_filter.h"

#include "exceptions.h"
#include "messages.h"
#include "paintkit.h"
#include "pictureview.h"
#include "toolmanager.h"
#include "undo_entry.h"

P_filter::P_filter()
{
    flags = ToolOneShot;
    dropSelectionAtPress = 0;
    helpContext = 1300;
}

UDBuffer* P_filter::FilteredPicture() const
{
    for (int k = 0; k < ImagePictureCount(); ++k)
        if (ImagePicture(k) == picture) return picture;
    return nullptr;
}

void P_filter::Activate()
{
    stale = 1;
    applied = 0;
    picture = nullptr;
    UDBuffer* pic = CurrentPicture;
    if (!pic || !pic->pixels) {
        applied = 1;
        return;
    }
    // The selection goes before the copy is taken: a copy with selected
    // pixels would bring them back on cancel with no outline to show them.
    if (!pic->DropSelection(true)) {
        applied = 1;
        SelectDefaultTool(true);
        return;
    }
    try {
        saved.Alloc(Pair<int>{pic->Width(), pic->Height()});
        saved.Copy(*pic, Pair<int>{-pic->left, -pic->top}, 0xFFFFFFFF);
        saved.CopyAttributes(*pic);
    } catch (const EOutOfMemory&) {
        saved.Free();
        TranslatedMessageBox("NoMem", "Err", MsgIconWarning);
        applied = 1;
        SelectDefaultTool(true);
        return;
    }
    picture = pic;
    SetUpOptions();
}

void P_filter::Deactivate(P_icon*)
{
    UDBuffer* pic = FilteredPicture();
    bool wasActive = picture != nullptr;
    if (!applied && pic && saved.pixels) {
        // The copy's block itself goes back: nothing to allocate, so
        // cancelling cannot fail.
        static_cast<Buffer&>(*pic) = saved;
        pic->CopyAttributes(saved);
        if (pic == CurrentPicture) {
            PicturePixelsChanged(pic);
            SetVisibleClip();
            UpdateCurrentView();
        }
        RepaintPictureView(pic);
    }
    saved.Free();
    picture = nullptr;
    if (wasActive) KeepOptions();
}

bool P_filter::RecordUndo(UDBuffer* pic, bool asked)
{
    return !asked || UDBuffer::SaveUndo(&saved, iconKey, pic, -1, 0, 0, 0);
}

void P_filter::ShowResult(UDBuffer* pic, Buffer& rendered)
{
    static_cast<Buffer&>(*pic) = rendered;
    if (pic == CurrentPicture) {
        PicturePixelsChanged(pic);
        SetVisibleClip();
        UpdateCurrentView();
    }
    RepaintPictureView(pic);
}

void P_filter::RenderFailed(UDBuffer* pic, bool recorded)
{
    stale = 1;
    if (recorded) UDBuffer::DropUndo(pic);
    TranslatedMessageBox("NoMem", "Err", MsgIconWarning);
    applied = 0;
    if (CurrentTool == this) SelectDefaultTool(true);
}

void P_filter::Refuse(const char* key) { TranslatedMessageBox(key, "Err", MsgIconWarning); }

static P_filter* CurrentFilter() { return dynamic_cast<P_filter*>(CurrentTool); }

void FilterPreview()
{
    if (P_filter* f = CurrentFilter()) f->Render(false);
}

void FilterOk()
{
    P_filter* f = CurrentFilter();
    if (!f || !f->Render(true)) return;
    if (f->picture) ++f->picture->modified;
    f->applied = 1;
    SelectDefaultTool(true);
}
