#include "rfont_system.h"

static RFontSystem* installed;

RFontSystem* GetRFontSystem()
{
    return installed;
}

void SetRFontSystem(RFontSystem* system)
{
    installed = system;
}
