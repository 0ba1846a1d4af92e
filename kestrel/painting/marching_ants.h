// Marching ants: the selection outline drawn as dashes that move.
#ifndef KESTREL_MARCHING_ANTS_H
#define KESTREL_MARCHING_ANTS_H

#include <functional>

// Where the ants go: the visible part of a view (right and bottom exclusive,
// view pixels) and the pixel painter of its canvas (colour 0x00BBGGRR).
struct AntsSurface {
    int left = 0, top = 0, right = 0, bottom = 0;
    std::function<void(int x, int y, unsigned long colour)> plot;
};

// The one dash phase of the program, 0..11.
extern int AntsPhase;
void AdvanceAntsPhase();

// Every point of the path (a zoomed outline) inside the surface is drawn
// black where (x + y + phase) mod 12 < 6 and white elsewhere: dashes of six
// pixels that move one pixel per phase step. Runs outside the surface are
// skipped, not walked.
void DrawAntsPath(const unsigned char* path, int phase, AntsSurface& surface);

unsigned long AntsColour(int x, int y, int phase);

#endif
