// The clone brush: under the brush's shape it paints pixels copied from
// another place of the same picture. An Alt-click sets the source; the
// first stroke after it fixes the offset from the painted point to the
// source, which every later stroke reuses until the next Alt-click.
#ifndef KESTREL_CLONE_H
#define KESTREL_CLONE_H

#include "toolmanager.h"

class P_clone : public P_icon {
public:
    // The source point while just set, then the offset source - point.
    int sourceX = 0, sourceY = 0;
    unsigned char sourceJustSet = 0;
    // During a stroke: copy from the picture as it was before the stroke.
    unsigned char snapshotSource = 0;
    // The bar's check box ("repeat": clone from the live picture) between
    // activations; apart from snapshotSource, which means its opposite.
    unsigned char repeatOption = 0;

    P_clone();
    void DrawOutline() override;
    void Paint() override;
    void EraseOutline() override;
    void Click() override;
    void Activate() override;
    void Deactivate(P_icon* next) override;

private:
    bool previewShown_ = false;
    int previewX_ = 0, previewY_ = 0;
    int crossX_ = 0, crossY_ = 0;  // picture point the cross was drawn at
    // Read once per stroke: a spilled step read for every dab would make
    // the stroke crawl. Without it (unreadable) the stroke paints nothing.
    Buffer snapshot_;
    bool snapshotRead_ = false;
    void TakeSnapshot();
    void Dab(int x, int y);
    void EndStroke();
    void ShowPreview(int x, int y);
    TPoint SourceFor(int x, int y) const;
    void ShowOffset(int x, int y) const;
    void DrawCross();
};

// One dab of the clone brush held at (x, y): the brush rectangle in the
// work view takes, where the brush is not the key, the pixels at
// (offsetX, offsetY) from it, clamped to the picture; from snapshot (the
// whole picture as the stroke's press step holds it) when not null.
void CloneDab(int x, int y, int offsetX, int offsetY, const Buffer* snapshot);

#endif
