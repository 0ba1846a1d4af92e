// The Windows side of sysutils: the clock, the user's date and time
// settings, and file queries.
#include "sysutils.h"
#include "winapi.h"

TDateTime Now()
{
    SYSTEMTIME t;
    GetLocalTime(&t);
    return EncodeDate(t.wYear, t.wMonth, t.wDay) + EncodeTime(t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
}

TDateTime Date()
{
    SYSTEMTIME t;
    GetLocalTime(&t);
    return EncodeDate(t.wYear, t.wMonth, t.wDay);
}

namespace {

AnsiString LocaleText(LCTYPE type, const AnsiString& fallback)
{
    char buffer[128];
    int n = GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer, sizeof buffer);
    return n > 1 ? AnsiString(buffer) : fallback;
}

// Windows pictures ("M/d/yyyy", "h:mm:ss tt") to FormatDateTime's letters:
// M is the month, m the minute, H a 24-hour and h a 12-hour clock, t/tt
// the AM/PM marker; quoted text passes through.
AnsiString FromWindowsPicture(const AnsiString& picture)
{
    AnsiString out;
    for (int i = 1; i <= picture.Length(); i++) {
        char c = picture[i];
        if (c == '\'') {
            int end = i + 1;
            while (end <= picture.Length() && picture[end] != '\'') end++;
            out += "\"" + picture.SubString(i + 1, end - i - 1) + "\"";
            i = end;
        } else if (c == 'M') {
            out += 'm';
        } else if (c == 'm') {
            out += 'n';
        } else if (c == 'H') {
            out += 'h';
        } else if (c == 't') {
            while (i < picture.Length() && picture[i + 1] == 't') i++;
            out += "AMPM";
        } else if (c == 'g') {
            // The era is not shown.
        } else {
            out += c;
        }
    }
    return out;
}

// The long time picture without its seconds (":ss" or ".ss").
AnsiString WithoutSeconds(const AnsiString& picture)
{
    AnsiString out = picture;
    int s = out.Pos("s");
    if (s > 1) {
        int end = s;
        while (end <= out.Length() && out[end] == 's') end++;
        out.Delete(s - 1, end - s + 1);
    }
    return out;
}

}  // namespace

// DecimalSeparator and ThousandSeparator stay as they are: saved files and
// number boxes use '.' whatever the user's settings say.
void InitFormatSettings()
{
    ShortDateFormat = FromWindowsPicture(LocaleText(LOCALE_SSHORTDATE, "M/d/yyyy"));
    LongDateFormat = FromWindowsPicture(LocaleText(LOCALE_SLONGDATE, "dddd, MMMM d, yyyy"));
    LongTimeFormat = FromWindowsPicture(LocaleText(LOCALE_STIMEFORMAT, "h:mm:ss tt"));
    ShortTimeFormat = WithoutSeconds(LongTimeFormat);
    TimeAMString = LocaleText(LOCALE_S1159, "AM");
    TimePMString = LocaleText(LOCALE_S2359, "PM");
    AnsiString date = LocaleText(LOCALE_SDATE, "/");
    AnsiString time = LocaleText(LOCALE_STIME, ":");
    DateSeparator = date[1];
    TimeSeparator = time[1];
}

bool FileExists(const AnsiString& fileName)
{
    DWORD attributes = GetFileAttributesA(fileName.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const AnsiString& dir)
{
    DWORD attributes = GetFileAttributesA(dir.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DeleteFile(const AnsiString& fileName)
{
    return DeleteFileA(fileName.c_str()) != 0;
}

bool RenameFile(const AnsiString& oldName, const AnsiString& newName)
{
    return MoveFileA(oldName.c_str(), newName.c_str()) != 0;
}

bool CreateDir(const AnsiString& dir)
{
    return CreateDirectoryA(dir.c_str(), nullptr) != 0;
}

AnsiString GetCurrentDir()
{
    DWORD n = GetCurrentDirectoryA(0, nullptr);
    if (n == 0) return AnsiString();
    AnsiString dir;
    dir.SetLength(static_cast<int>(n));
    DWORD written = GetCurrentDirectoryA(n, &dir[1]);
    dir.SetLength(written < n ? static_cast<int>(written) : 0);
    return dir;
}
