// The undo limits and folder (stored in the settings in kilobytes), and the
// instant-brush switch that undo consults.
#ifndef KESTREL_UNDO_SETTINGS_H
#define KESTREL_UNDO_SETTINGS_H

#include "ansistring.h"

struct TUndoSettings {
    // Kilobytes of undo and redo steps kept in memory and on disk over all
    // pictures. 64 bits: free disk space passes 2 TB.
    long long memKB = 256 * 1024;
    long long diskKB = 1024 * 1024;
    AnsiString dir;  // empty: the temporary folder
};

extern TUndoSettings UndoSettings;
extern bool InstBrush;

// The folder spill files go to, always ending in a backslash.
AnsiString UndoDirectory();

#endif
