// The built-in brushes: commands that make a round or a square brush of a
// given radius, the clear-picture command, and the tools that size the
// round brush, the square brush or the spray by dragging.
#ifndef KESTREL_BRUSHES_H
#define KESTREL_BRUSHES_H

#include "tool.h"

class P_resize;

// Round (square) brush of radius `radius`, or of BrushState's radius when
// 0. The icon key names the brush's undo step.
class P_brush_crc : public P_func {
public:
    P_brush_crc(const char* key, short radius);
    void Activate() override;

protected:
    short radius_;
    virtual bool Round() const { return true; }
};

class P_brush_box : public P_brush_crc {
public:
    P_brush_box(const char* key, short radius) : P_brush_crc(key, radius) {}

protected:
    bool Round() const override { return false; }
};

class P_clear : public P_func {
public:
    P_clear();
    void Activate() override;
};

// Stands in the brush group for the sizing tool of the current brush shape.
class P_brush_resize : public P_func {
public:
    P_resize* target = nullptr;
    void Activate() override;
};

class P_resize : public P_icon {
public:
    unsigned char savedHandle = 0;  // the hot spot before the tool came
    int anchorX = 0, anchorY = 0;   // the point pressed
    short radius = 0;               // the radius the drag defines

    P_resize();
    void DrawOutline() override;
    void EraseOutline() override;
    void Click() override;
    void Activate() override;
    void Deactivate(P_icon* next) override;
    virtual int RadiusFromOffset(int dx, int dy) = 0;
    // Draws the brush of the given side into StampBuffer.
    virtual void DrawSizedBrush(int size) = 0;

protected:
    virtual const char* StatusKey() const { return "ResizeBrush"; }
    virtual const char* DragStatusKey() const { return "ResizeBrush2"; }
    virtual void Commit();
    void ShowDragStatus() const;

private:
    // What the feedback is, and where it was drawn.
    enum { NoFeedback, PixelFeedback, StampFeedback } shown_ = NoFeedback;
    int shownX_ = 0, shownY_ = 0;
    int dx_ = 0, dy_ = 0;
    bool memoryTold_ = false;
};

class P_resize_crc_brush : public P_resize {
public:
    int RadiusFromOffset(int dx, int dy) override;
    void DrawSizedBrush(int size) override;
};

class P_resize_box_brush : public P_resize {
public:
    int RadiusFromOffset(int dx, int dy) override;
    void DrawSizedBrush(int size) override;
};

class P_resize_spray : public P_resize_crc_brush {
public:
    short sprayRadius = 20;  // read by the spray and the airbrush
    P_resize_spray();
    void Click() override;

protected:
    const char* StatusKey() const override { return "ResizeSpray"; }
    const char* DragStatusKey() const override { return "ResizeSpray2"; }
    void Commit() override;
};

#endif
