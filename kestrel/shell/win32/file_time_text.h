// A file's time as the dialogs show it: local time, "mm/dd/yyyy hh:nn".
#ifndef KESTREL_FILE_TIME_TEXT_H
#define KESTREL_FILE_TIME_TEXT_H

#include "ansistring.h"
#include "winapi.h"

// Empty when the time cannot be converted.
AnsiString FileTimeText(const FILETIME& utc);

#endif
