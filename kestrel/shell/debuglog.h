// The diagnostic log: timed lines appended to "KS.LOG" in the program's
// folder. The delivered program never switches it on; a diagnostic build
// (KESTREL_DEBUG_LOG defined) does.
#ifndef KESTREL_DEBUGLOG_H
#define KESTREL_DEBUGLOG_H

#include "ansistring.h"

extern bool DebugLogOn;
// The folder of the log, with its separator; empty: the current folder.
extern AnsiString DebugLogFolder;

// With the log on: "[seconds since start] text" as a line of its own. The
// file is opened for each line, so a crash loses nothing written before.
void DebugLog(const AnsiString& text);

// One line of the log: "[%06.2f] %s\n".
AnsiString DebugLogLine(double seconds, const AnsiString& text);

#endif
