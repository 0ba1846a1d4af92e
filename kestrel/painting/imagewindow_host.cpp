#include "imagewindow_host.h"

ImageWindowHostServices ImageWindowHost;
bool ClosingCancelled = false;
int UntitledCounter = 1;
bool AlwaysDock = true;
bool ResizeNeigh = true;
