// P_filter: the base of the whole-picture transforms whose option bar has a
// Preview and an OK button (rotate, stretch). While such a tool is current
// it keeps the picture as it was in a saved copy: a preview renders from
// the copy into the picture, OK records the copy as the undo step and
// keeps the result, and leaving the tool any other way puts the copy back.
#ifndef KESTREL_PICTURE_FILTER_H
#define KESTREL_PICTURE_FILTER_H

#include "picture_document.h"
#include "tool.h"

class P_filter : public P_icon {
public:
    unsigned char applied = 0;  // OK kept the result: leaving restores nothing
    unsigned char stale = 1;    // nothing rendered since the tool came
    UDBuffer saved;             // the picture as it was when the tool came
    UDBuffer* picture = nullptr;  // whose copy `saved` is

    P_filter();
    void Activate() override;
    void Deactivate(P_icon* next) override;

    // Renders the options into the picture, recording the saved copy as an
    // undo step first when asked. False when nothing was rendered: options
    // refused (the tool stays, the picture as it was) or no memory (the
    // default tool comes back, which restores the picture).
    virtual bool Render(bool recordUndo) = 0;
    // The picture shows the options as they stand.
    virtual bool UpToDate() = 0;
    virtual void MarkRendered() = 0;

protected:
    // After the saved copy is made: the tool's option values and handlers.
    virtual void SetUpOptions() = 0;
    // At leaving: the options the tool keeps for next time.
    virtual void KeepOptions() = 0;

    // The picture the copy was taken from, while its window exists.
    UDBuffer* FilteredPicture() const;
    // The saved copy as the picture's newest undo step, named by iconKey.
    bool RecordUndo(UDBuffer* pic, bool asked);
    // The picture takes the rendered pixels, and its view follows.
    void ShowResult(UDBuffer* pic, Buffer& rendered);
    // No memory for a rendering: told, the step just recorded dropped, and
    // the default tool back, which restores the picture.
    void RenderFailed(UDBuffer* pic, bool recorded);
    // A refused option value: told; nothing changes.
    static void Refuse(const char* key);
};

// The option bar's Preview and OK buttons of the current filter tool. OK
// counts the change, marks it kept and brings the default tool back.
void FilterPreview();
void FilterOk();

#endif
