// Conversions, string and path helpers, date formatting and file queries.
//
// Everything here is independent of the C library's locale: numbers use
// DecimalSeparator (default '.') and ASCII case rules; dates use the format
// globals below (English defaults; InitFormatSettings copies the user's
// Windows settings into them). The file queries (FileExists ...) and Now()
// exist in the Windows build only.
#ifndef CLASSLIB_SYSUTILS_H
#define CLASSLIB_SYSUTILS_H

#include "ansistring.h"

extern char DecimalSeparator;
extern char ThousandSeparator;
extern char DateSeparator;
extern char TimeSeparator;
extern AnsiString ShortDateFormat;  // "m/d/yyyy"
extern AnsiString LongDateFormat;   // "dddd, mmmm d, yyyy"
extern AnsiString ShortTimeFormat;  // "h:nn AMPM"
extern AnsiString LongTimeFormat;   // "h:nn:ss AMPM"
extern AnsiString TimeAMString;     // "AM"
extern AnsiString TimePMString;     // "PM"

// ---- numbers

// One per integer type, so that a DWORD or an unsigned is not ambiguous.
AnsiString IntToStr(int value);
AnsiString IntToStr(unsigned value);
AnsiString IntToStr(long value);
AnsiString IntToStr(unsigned long value);
AnsiString IntToStr(long long value);
// Upper-case hex of the value's 32 bits, zero-padded to at least digits.
AnsiString IntToHex(int value, int digits);
// Decimal, or hex as "$1F" / "0x1F"; EConvertError "'x' is not a valid
// integer value" otherwise.
int StrToInt(const AnsiString& s);
int StrToIntDef(const AnsiString& s, int defaultValue);
bool TryStrToInt(const AnsiString& s, int& value);

// Blanks around, a sign, digits with DecimalSeparator, an exponent.
// EConvertError "'x' is not a valid floating point value" otherwise.
double StrToFloat(const AnsiString& s);
double StrToFloatDef(const AnsiString& s, double defaultValue);
bool TryStrToFloat(const AnsiString& s, double& value);

enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber };

// precision: significant digits (1..15). ffGeneral: the shortest form, in
// exponent form ("1E20") when the value needs more than precision integer
// digits or is below 0.00001; digits is the least number of exponent digits.
// ffExponent: "d.dddE+dd", precision digits, at least digits exponent digits.
// ffFixed / ffNumber: digits decimals (0..18), ffNumber with thousands.
// Halves round away from zero in decimal (1.005 gives "1.01").
AnsiString FloatToStrF(double value, TFloatFormat format, int precision, int digits);
AnsiString FloatToStr(double value);  // ffGeneral, 15 digits
// Pattern with '0' (digit), '#' (optional digit), '.', ',' (thousands),
// "E+00"/"E-00", quoted or other literal text, and up to three sections
// "positive;negative;zero". FormatFloat("0.00", 2.5) gives "2.50".
AnsiString FormatFloat(const AnsiString& format, double value);
// printf-style into a string (the C library's conversions, '.' in numbers).
AnsiString Format(const char* format, ...) ANSISTRING_PRINTF(1, 2);
// Rounds halves to the even neighbour (2.5 -> 2, 3.5 -> 4); ERangeError
// beyond int.
int RoundBankers(double value);

// ---- strings (ASCII case, byte order)

AnsiString Trim(const AnsiString& s);
AnsiString TrimLeft(const AnsiString& s);
AnsiString TrimRight(const AnsiString& s);
AnsiString UpperCase(const AnsiString& s);
AnsiString LowerCase(const AnsiString& s);
// < 0, 0, > 0.
int CompareStr(const AnsiString& a, const AnsiString& b);
int CompareText(const AnsiString& a, const AnsiString& b);
int AnsiCompareStr(const AnsiString& a, const AnsiString& b);
int AnsiCompareText(const AnsiString& a, const AnsiString& b);
bool SameText(const AnsiString& a, const AnsiString& b);

// ---- paths ('\\' and '/' both separate; "C:" ends a drive)

AnsiString ExtractFileName(const AnsiString& path);  // "C:\a\b.txt" -> "b.txt"
AnsiString ExtractFilePath(const AnsiString& path);  // -> "C:\a\"
AnsiString ExtractFileDir(const AnsiString& path);   // -> "C:\a" ("C:\" stays)
AnsiString ExtractFileExt(const AnsiString& path);   // -> ".txt", "" when none
AnsiString ChangeFileExt(const AnsiString& path, const AnsiString& ext);
AnsiString IncludeTrailingBackslash(const AnsiString& path);
AnsiString ExcludeTrailingBackslash(const AnsiString& path);
// Shortens a path to at most maxChars characters for a caption or menu:
// leading folders become "...", then the drive goes, and only then is the
// file name itself cut ("C:\...\fonts\big.fnt").
AnsiString MinimizeName(const AnsiString& path, int maxChars);

// ---- dates: days since 1899-12-30, the time as the fraction of a day

typedef double TDateTime;

// EConvertError for an impossible date or time.
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int min, int sec, int msec);
void DecodeDate(TDateTime date, int& year, int& month, int& day);
void DecodeTime(TDateTime time, int& hour, int& min, int& sec, int& msec);
int DayOfWeek(TDateTime date);  // 1 = Sunday .. 7 = Saturday
// d dd ddd dddd ddddd dddddd m mm mmm mmmm yy yyyy h hh n nn s ss z zzz
// t tt c am/pm a/p ampm / : "literal" 'literal'; an m right after h or hh
// means minutes.
AnsiString FormatDateTime(const AnsiString& format, TDateTime value);

// ---- Windows build only

TDateTime Now();
TDateTime Date();
// Copies the user's date and time settings into the globals above.
void InitFormatSettings();
bool FileExists(const AnsiString& fileName);
bool DirectoryExists(const AnsiString& dir);
bool DeleteFile(const AnsiString& fileName);
bool RenameFile(const AnsiString& oldName, const AnsiString& newName);
bool CreateDir(const AnsiString& dir);
AnsiString GetCurrentDir();

#endif
