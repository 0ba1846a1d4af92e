// File-name helpers of sysutils. Both '\' and '/' separate folders, since
// file dialogs and command lines give either; a drive "C:" also ends a path.
#include "sysutils.h"

namespace {

const char kSeparators[] = "\\/:";

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

// Length of "C:" or "\\server\share" at the start, 0 when neither.
int DriveLength(const AnsiString& path)
{
    int n = path.Length();
    if (n >= 2 && path[2] == ':') return 2;
    if (n >= 2 && IsSeparator(path[1]) && IsSeparator(path[2])) {
        int i = 3, parts = 0;
        while (i <= n && parts < 2) {
            while (i <= n && !IsSeparator(path[i])) i++;
            parts++;
            if (parts < 2 && i <= n) i++;
        }
        return i - 1;
    }
    return 0;
}

}  // namespace

AnsiString ExtractFileName(const AnsiString& path)
{
    return path.SubString(path.LastDelimiter(kSeparators) + 1, path.Length());
}

AnsiString ExtractFilePath(const AnsiString& path)
{
    return path.SubString(1, path.LastDelimiter(kSeparators));
}

AnsiString ExtractFileDir(const AnsiString& path)
{
    int end = path.LastDelimiter(kSeparators);
    // Keep the separator of a root ("C:\", "\") and a bare drive's colon.
    bool root = end > 0 && (end == 1 || path[end - 1] == ':' || path[end] == ':');
    if (end > 0 && !root && IsSeparator(path[end])) end--;
    return path.SubString(1, end);
}

AnsiString ExtractFileExt(const AnsiString& path)
{
    int dot = path.LastDelimiter(AnsiString(".") + kSeparators);
    if (dot == 0 || path[dot] != '.') return AnsiString();
    return path.SubString(dot, path.Length());
}

AnsiString ChangeFileExt(const AnsiString& path, const AnsiString& ext)
{
    int dot = path.LastDelimiter(AnsiString(".") + kSeparators);
    if (dot == 0 || path[dot] != '.') dot = path.Length() + 1;
    return path.SubString(1, dot - 1) + ext;
}

AnsiString IncludeTrailingBackslash(const AnsiString& path)
{
    if (!path.IsEmpty() && IsSeparator(path[path.Length()])) return path;
    return path + "\\";
}

AnsiString ExcludeTrailingBackslash(const AnsiString& path)
{
    if (!path.IsEmpty() && IsSeparator(path[path.Length()])) return path.SubString(1, path.Length() - 1);
    return path;
}

AnsiString MinimizeName(const AnsiString& path, int maxChars)
{
    if (maxChars <= 0) return AnsiString();
    if (path.Length() <= maxChars) return path;
    AnsiString drive = path.SubString(1, DriveLength(path));
    AnsiString rest = path.SubString(drive.Length() + 1, path.Length());
    // Drop leading folders one at a time: "C:\...\b\c\name".
    int cut = 1;
    while (true) {
        while (cut <= rest.Length() && IsSeparator(rest[cut])) cut++;
        int next = cut;
        while (next <= rest.Length() && !IsSeparator(rest[next])) next++;
        if (next > rest.Length()) break;  // only the file name is left
        AnsiString tail = rest.SubString(next, rest.Length());
        AnsiString candidate = drive + "\\..." + tail;
        if (candidate.Length() <= maxChars) return candidate;
        cut = next;
    }
    AnsiString name = ExtractFileName(path);
    AnsiString withoutDrive = "...\\" + name;
    if (withoutDrive.Length() <= maxChars) return withoutDrive;
    if (maxChars <= 3) return name.SubString(1, maxChars);
    return name.SubString(1, maxChars - 3) + "...";
}
