#include "file_time_text.h"

#include "sysutils.h"

AnsiString FileTimeText(const FILETIME& utc)
{
    FILETIME local;
    SYSTEMTIME t;
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &t)) return "";
    TDateTime when = EncodeDate(t.wYear, t.wMonth, t.wDay) + EncodeTime(t.wHour, t.wMinute, t.wSecond, 0);
    return FormatDateTime("mm/dd/yyyy hh:nn", when);
}
