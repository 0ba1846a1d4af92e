#include "status_bar_host.h"

TFriendlyStatusBar::TFriendlyStatusBar(TComponent* AOwner) : TStatusBar(AOwner)
{
    SetControlStyle(GetControlStyle() | csAcceptsControls);
}

void TFriendlyStatusBar::CreateParams(TCreateParams& Params)
{
    TStatusBar::CreateParams(Params);
    // Panel text must not paint over the hosted controls.
    Params.Style |= WS_CLIPCHILDREN;
}
