// Running one plug-in filter on a picture: load the file, fill the record,
// send the selectors, exchange the tiles, free everything. Every call into
// the filter runs behind the structured-exception guard.
#ifndef KESTREL_PLUGIN_HOST_H
#define KESTREL_PLUGIN_HOST_H

#include <functional>
#include <string>

#include "ansistring.h"
#include "buffer.h"
#include "winapi.h"

struct PlugInRunOptions {
    HWND window = nullptr;             // the main window, for platformData
    unsigned long background = 0;      // 0x00RRGGBB
    unsigned long foreground = 0;
    std::function<unsigned long(unsigned long colour, const std::string& prompt)> pickColour;
    std::function<bool()> abort;       // true: cancelled
    std::function<void(int done, int total)> progress;
    bool hasRect = false;
    Rect rect = {0, 0, -1, -1};        // inclusive, when hasRect
    unsigned long maskBit = 0;         // 0: no mask
    bool interpolation = true;
    bool icm = false;
};

enum { PlugInDone = 0, PlugInCancelled = 1, PlugInFailed = -1 };

// path: the file, "#", the entry point. input is read, output (a copy of
// input) receives the result. PlugInDone, PlugInCancelled (the filter
// answered userCanceledErr from continue) or PlugInFailed (missing file or
// entry, any other error, or a fault inside the filter).
int RunPlugInFilter(Buffer& input, Buffer& output, const AnsiString& path, const PlugInRunOptions& o);

// The record of the last run is kept (zeroed before each run): tests read
// what the filter was given.
struct FilterRecord;
const FilterRecord& LastFilterRecord();

#endif
