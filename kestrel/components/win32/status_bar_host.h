// TFriendlyStatusBar: a status bar whose panels can hold other controls
// (buttons, a progress strip) drawn over the panel text.
#ifndef KESTREL_STATUS_BAR_HOST_H
#define KESTREL_STATUS_BAR_HOST_H

#include "comctrls.h"

class TFriendlyStatusBar : public TStatusBar {
public:
    explicit TFriendlyStatusBar(TComponent* AOwner);

protected:
    void CreateParams(TCreateParams& Params) override;
};

#endif
