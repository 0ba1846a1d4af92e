#include "dateutil.h"

#include "sysutils.h"

bool IsFourDigitYearFormat(const AnsiString& DateFormat)
{
    return DateFormat.UpperCase().Pos("YYYY") > 0;
}

bool FourDigitYear()
{
    return IsFourDigitYearFormat(ShortDateFormat);
}
