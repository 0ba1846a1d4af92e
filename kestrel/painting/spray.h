// The spray and the airbrush: they paint while the button is held, also
// while the pointer stands still. Every move of a drag runs one step, and
// so does every tick of the main window's activity timer (StepSprayTool).
// Their radius is the spray sizing tool's; the framework records a
// whole-picture step at the press, cropped when the stroke ends.
#ifndef KESTREL_SPRAY_H
#define KESTREL_SPRAY_H

#include "tool.h"

class P_sprayer : public P_icon {
public:
    int intensity = 10;

    P_sprayer();
    void DrawOutline() override;
    void EraseOutline() override;
    void Click() override;
    void Activate() override;
    void Deactivate(P_icon* next) override;
    // One step at MousePoint; nothing unless a drag runs (ToolPhase 3).
    void Step();

protected:
    bool rightButton = false;  // the stroke paints with the background colour
    virtual const char* StatusKey() const = 0;
    virtual void RunStep(int x, int y, int radius, int strength) = 0;
    // The feedback while no stroke runs, and taking it back.
    virtual void ShowHover(int x, int y) = 0;
    virtual void HideHover(int x, int y) = 0;

private:
    bool hoverShown_ = false;
    int hoverX_ = 0, hoverY_ = 0;
    // The press shows the feedback at once, at the press point: no step
    // there, or a click would be two steps.
    bool pressShown_ = false;
    int Radius() const;
    int Strength() const;
    void EndStroke();
};

// Dabs of the brush scattered around the pointer.
class P_spray : public P_sprayer {
public:
    P_spray();

protected:
    const char* StatusKey() const override { return "SprayIP"; }
    void RunStep(int x, int y, int radius, int strength) override;
    void ShowHover(int x, int y) override;
    void HideHover(int x, int y) override;
};

// The drawing colour blended into a disc, strongest at the centre.
class P_airbrush : public P_sprayer {
public:
    P_airbrush();

protected:
    const char* StatusKey() const override { return "AirBrushIP"; }
    void RunStep(int x, int y, int radius, int strength) override;
    void ShowHover(int x, int y) override;
    void HideHover(int x, int y) override;
};

// One airbrush step into WorkView: the colour (0x00RRGGBB) blended into the
// disc of the radius around (cx, cy), each pixel once, with the blend weight
// falling off from trunc(strength * 2.4 + 12) at the centre.
void AirbrushDisc(int cx, int cy, int radius, int strength, unsigned long colour);

// The activity timer's tick: a step of the current tool when it sprays.
void StepSprayTool();

#endif
