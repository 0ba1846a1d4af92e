// Turning the brush by dragging a handle around its centre, and turning the
// whole picture by an angle typed into its option bar.
#ifndef KESTREL_ROTATE_TOOLS_H
#define KESTREL_ROTATE_TOOLS_H

#include "geometry.h"
#include "picture_filter.h"

class P_rotate_brush : public P_icon {
public:
    int anchorX = 0, anchorY = 0;  // the brush's top-left at the press
    double angle = 0;              // radians, counter-clockwise on screen

    P_rotate_brush();
    void DrawOutline() override;
    void EraseOutline() override;
    void Click() override;
    void Activate() override;

private:
    TPoint Centre() const;
    void TakeAngle();
    // The preview's area: the turned box around the centre, one pixel more.
    Rect PreviewArea() const;
    bool previewSaved_ = false;
    bool stampShown_ = false;
    TPoint stampAt_{0, 0};
};

class P_rotate_picture : public P_filter {
public:
    unsigned char keepSize = 0;  // option 0
    double angle = 0;            // degrees, option 1

    P_rotate_picture();
    bool Render(bool recordUndo) override;
    bool UpToDate() override;
    void MarkRendered() override;

protected:
    void SetUpOptions() override;
    void KeepOptions() override;

private:
    double lastAngle_ = 0;
    bool lastKeep_ = false;
    bool lastSmooth_ = false;
};

struct RotateToolSet {
    P_rotate_brush brush;
    P_rotate_picture picture;
};
RotateToolSet& RotateTools();

#endif
