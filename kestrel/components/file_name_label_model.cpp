#include "file_name_label_model.h"

#include "exceptions.h"

#include <string>
#include <vector>

namespace {

std::vector<AnsiString> SplitPath(const AnsiString& path, const AnsiString& separator)
{
    std::vector<AnsiString> parts;
    std::string s(path.c_str(), path.Length());
    std::string sep(separator.c_str(), separator.Length());
    // Without a separator there is nothing to split at.
    if (sep.empty()) {
        parts.push_back(path);
        return parts;
    }
    size_t start = 0;
    for (;;) {
        size_t at = s.find(sep, start);
        if (at == std::string::npos) break;
        parts.push_back(AnsiString(s.substr(start, at - start).c_str()));
        start = at + sep.size();
    }
    parts.push_back(AnsiString(s.substr(start).c_str()));
    return parts;
}

// A drive only counts when something follows it, so that a bare "C:" is
// never shown twice.
bool IsDrive(const std::vector<AnsiString>& parts)
{
    if (parts.size() < 2) return false;
    const AnsiString& first = parts.front();
    return first.Length() > 1 && first[first.Length()] == ':';
}

}  // namespace

AnsiString ShortenFileName(const AnsiString& fileName, const AnsiString& separator, TDirection direction,
                           int width, const TTextWidthFunc& textWidth)
{
    if (!textWidth) throw EInvalidOperation("ShortenFileName needs a text-width function");
    if (fileName.IsEmpty() || textWidth(fileName) <= width) return fileName;

    std::vector<AnsiString> parts = SplitPath(fileName, separator);
    const AnsiString& last = parts.back();
    AnsiString ellipsis = AnsiString("...") + separator;
    bool drive = IsDrive(parts);
    AnsiString prefix = drive ? parts.front() + separator : AnsiString();

    int wl = textWidth(last);
    int we = textWidth(ellipsis);
    if (wl + we >= width) return last;
    int base = wl + we + textWidth(prefix);
    if (base >= width) return ellipsis + last;

    // Folders lie between the drive (or the start) and the file name.
    int first = drive ? 1 : 0;
    int lastFolder = static_cast<int>(parts.size()) - 2;
    AnsiString middle;
    int used = base;
    if (direction == drFromLeft) {
        for (int i = lastFolder; i >= first; --i) {
            AnsiString piece = parts[i] + separator;
            int w = textWidth(piece);
            if (used + w > width) break;
            used += w;
            middle = piece + middle;
        }
        return prefix + ellipsis + middle + last;
    }
    for (int i = first; i <= lastFolder; ++i) {
        AnsiString piece = parts[i] + separator;
        int w = textWidth(piece);
        if (used + w > width) break;
        used += w;
        middle = middle + piece;
    }
    return prefix + middle + ellipsis + last;
}
