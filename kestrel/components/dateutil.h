// Whether dates are shown with four-digit years: true when the short date
// format, upper-cased, contains "YYYY". Read from the format when asked, so
// that a format loaded from the user's locale after start-up counts.
#ifndef KESTREL_DATEUTIL_H
#define KESTREL_DATEUTIL_H

#include "ansistring.h"

bool IsFourDigitYearFormat(const AnsiString& DateFormat);
// Of the class library's current ShortDateFormat.
bool FourDigitYear();

#endif
