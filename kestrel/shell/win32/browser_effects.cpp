#include "browser_effects.h"

TBrowserEffects* BrowserEffects = nullptr;
