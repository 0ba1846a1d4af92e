// TEventScrollBox: a scroll box that tells its owner after it has scrolled,
// one event per bar (the image window keeps its picture view in step).
#ifndef KESTREL_SCROLL_BOX_WITH_EVENTS_H
#define KESTREL_SCROLL_BOX_WITH_EVENTS_H

#include "scrollbox.h"

class TEventScrollBox : public TScrollBox {
public:
    explicit TEventScrollBox(TComponent* AOwner) : TScrollBox(AOwner) {}

    void WndProc(TMessage& Message) override;

    // After WM_HSCROLL / WM_VSCROLL has moved the contents.
    TNotifyEvent OnScrollHorz;
    TNotifyEvent OnScrollVert;
};

#endif
