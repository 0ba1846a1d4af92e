#include "imagewindow_host.h"

ImageWindowLinks ImageLinks;
bool ClosingCancelled = false;
int UntitledCounter = 1;
bool AntiAlias = false;
bool Clipping = false;
bool AlwaysDock = true;
