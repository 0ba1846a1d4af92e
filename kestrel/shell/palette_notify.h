// ColorChanged: the drawing or background colour changed (a swatch took a
// colour), so whoever uses the colours now catches up. Tools that use the
// colours in their own way (the text tool's preview, a filter component's
// dialog) register a handler; for any other tool the brush is recoloured.
#ifndef KESTREL_PALETTE_NOTIFY_H
#define KESTREL_PALETTE_NOTIFY_H

#include <functional>

class P_icon;

void ColorChanged();

// The handler runs instead of the recolouring while tool is current; an
// empty handler removes the registration.
void SetColourUser(P_icon* tool, std::function<void()> handler);

#endif
