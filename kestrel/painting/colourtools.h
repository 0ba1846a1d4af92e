// The pipette, which takes a pixel's colour into a swatch, and the colour
// changer, which replaces every pixel of a similar colour in the picture,
// touching the clicked one or not.
#ifndef KESTREL_COLOURTOOLS_H
#define KESTREL_COLOURTOOLS_H

#include "tool.h"

class P_get_col : public P_icon {
public:
    P_get_col();
    void DrawOutline() override;
    void Click() override;
    void Activate() override;
};

class P_ch_col : public P_icon {
public:
    int tolerance = 0;  // |dr| + |dg| + |db| at most this is changed

    P_ch_col();
    void DrawOutline() override;
    void Click() override;
    void Activate() override;
    void Deactivate(P_icon* next) override;
};

// Every pixel of the work view within tolerance of seed (sum of the channel
// differences; 1024 when either carries the mark 0x02000000) becomes
// colour and joins DirtyRect.
void ChangeColour(unsigned long seed, unsigned long colour, int tolerance);

#endif
