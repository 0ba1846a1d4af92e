// The format settings, with the class library's English defaults.
#include "sysutils.h"

char DecimalSeparator = '.';
char ThousandSeparator = ',';
char DateSeparator = '/';
char TimeSeparator = ':';
AnsiString ShortDateFormat("m/d/yyyy");
AnsiString LongDateFormat("dddd, mmmm d, yyyy");
AnsiString ShortTimeFormat("h:nn AMPM");
AnsiString LongTimeFormat("h:nn:ss AMPM");
AnsiString TimeAMString("AM");
AnsiString TimePMString("PM");
