// The fill tools: a seed fill marks the area around the clicked pixel, and
// the tool's Apply paints every marked pixel, in one colour or with the
// brush as a tiled pattern, optionally keeping each pixel's brightness.
// P_fill_pos places the pattern's origin.
#ifndef KESTREL_FILLS_H
#define KESTREL_FILLS_H

#include "tool.h"

class P_fill : public P_icon {
public:
    unsigned char shading = 0;
    unsigned char eightConnected = 0;
    int tolerance = 0;

    P_fill();
    void Click() override;
    void Activate() override;
    void Deactivate(P_icon* next) override;
    // Paints every marked pixel of the picture and clears its mark,
    // extending DirtyRect by what it painted.
    virtual void Apply(unsigned long colour) = 0;

protected:
    virtual void ReadOptions();
};

class P_fill_solid : public P_fill {
public:
    P_fill_solid();
    void Apply(unsigned long colour) override;
};

class P_fill_pattern : public P_fill {
public:
    int originMode = 0;  // 0 the picture's origin, 1 the brush's, 2 set by P_fill_pos
    int offsetX = 0, offsetY = 0;  // the origin P_fill_pos set

    P_fill_pattern();
    void Activate() override;
    void Apply(unsigned long colour) override;

protected:
    void ReadOptions() override;
};

class P_fill_pos : public P_icon {
public:
    P_fill_pattern* pattern = nullptr;

    P_fill_pos();
    void DrawOutline() override;
    void EraseOutline() override;
    void Click() override;
    void Activate() override;

private:
    bool previewShown = false;
    int previewX = 0, previewY = 0;
};

// Solid painting of every marked pixel of the picture, as P_fill_solid's.
void ApplySolid(unsigned long colour, bool shading);

#endif
