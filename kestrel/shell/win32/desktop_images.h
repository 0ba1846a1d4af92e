// The desktop's pictures: the wallpaper, and the start-up, wait and
// shut-down screens that older systems show from 320 x 400 BMP files
// stretched to twice their width.
#ifndef KESTREL_DESKTOP_IMAGES_H
#define KESTREL_DESKTOP_IMAGES_H

#include "ansistring.h"

enum DesktopImage { DeskWallpaper, DeskStartup, DeskWaiting, DeskShutdown };

// The file an Import item reads; empty when the registry does not name one.
AnsiString DesktopImportFile(DesktopImage which);
// The file an Export item writes.
AnsiString DesktopExportFile(DesktopImage which);

const int ScreenFileWidth = 320;
const int ScreenFileHeight = 400;

#endif
