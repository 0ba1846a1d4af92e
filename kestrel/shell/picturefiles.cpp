#include "picturefiles.h"

#include <cstdlib>

#include "exceptions.h"
#include "messages.h"
#include "sysutils.h"

AnsiString FileFilter;

namespace {
// The extension with its dot, as Pixmill finds it: a path separator or a
// drive colon before any dot means there is none.
AnsiString ExtensionOf(const AnsiString& name)
{
    for (int i = name.Length(); i >= 1; --i) {
        char c = name[i];
        if (c == '/' || c == '\\' || c == ':') return "";
        if (c == '.') return name.SubString(i, name.Length() - i + 1);
    }
    return "";
}

// True when masks ("*.jpg;*.jpeg") hold "*" + ext as one whole mask.
bool MasksHold(const AnsiString& masks, const AnsiString& ext)
{
    AnsiString rest = ";" + masks + ";";
    AnsiString wanted = ";*" + ext + ";";
    return rest.Pos(wanted) > 0;
}

AnsiString Replaced(const AnsiString& s, char from, char to)
{
    AnsiString out = s;
    for (int i = 1; i <= out.Length(); ++i)
        if (out[i] == from) out[i] = to;
    return out;
}
}  // namespace

int BuildFileFilter(bool writableOnly)
{
    AnsiString filter, allShown, allExts;
    int count = 0;
    for (GFXFile* f = GFXFile::Formats(); f; f = f->next) {
        if (writableOnly && !IsWritable(f)) continue;
        AnsiString exts = f->masks.LowerCase();
        AnsiString shown = Replaced(exts, ';', ',');
        filter += f->name + " (" + shown + ")|" + exts + "|";
        allShown += (count ? "," : "") + shown;
        allExts += (count ? ";" : "") + exts;
        ++count;
    }
    if (!writableOnly) filter += Translate("All") + " (" + allShown + ")|" + allExts + "|";
    FileFilter = filter;
    return count + 1;
}

bool IsWritable(const GFXFile* format) { return format && format->colourMask != 0; }

int WritableIndex(const GFXFile* format)
{
    if (!IsWritable(format)) return 0;
    int index = 0;
    for (GFXFile* f = GFXFile::Formats(); f; f = f->next) {
        if (IsWritable(f)) ++index;
        if (f == format) return index;
    }
    return 0;
}

GFXFile* WritableFormat(int index)
{
    if (index < 1) return nullptr;
    for (GFXFile* f = GFXFile::Formats(); f; f = f->next)
        if (IsWritable(f) && --index == 0) return f;
    return nullptr;
}

GFXFile* FormatAt(int index)
{
    if (index < 0) return nullptr;
    GFXFile* f = GFXFile::Formats();
    for (; f && index > 0; f = f->next) --index;
    return f;
}

GFXFile* FindSaveFormat(const AnsiString& name, int& index)
{
    index = 0;
    AnsiString ext = ExtensionOf(name.Trim()).LowerCase();
    if (ext.IsEmpty()) return nullptr;
    for (GFXFile* f = GFXFile::Formats(); f; f = f->next) {
        if (IsWritable(f) && MasksHold(f->masks.LowerCase(), ext)) {
            index = WritableIndex(f);
            return f;
        }
    }
    return nullptr;
}

AnsiString DefaultExtension(const GFXFile* format)
{
    if (!format) return "";
    AnsiString first = format->masks;
    int semi = first.Pos(";");
    if (semi > 0) first = first.SubString(1, semi - 1);
    if (first.SubString(1, 2) == "*.") first = first.SubString(3, first.Length() - 2);
    return first.LowerCase();
}

int DefaultSaveIndex(int defFileExt)
{
    GFXFile* f = FormatAt(defFileExt);
    return IsWritable(f) ? WritableIndex(f) : 1;
}

AnsiString BackupName(const AnsiString& name)
{
    AnsiString ext = ExtensionOf(name);
    AnsiString stem = name.SubString(1, name.Length() - ext.Length());
    return stem + "._" + ext.SubString(2, 2);
}

AnsiString SaveTargetName(const AnsiString& name, GFXFile*& format)
{
    AnsiString target = name;
    if (!format) {
        format = GFXFile::GetDefaultFormat(target);
        if (!format) {
            format = GFXFile::Formats();
            if (!format) throw EInvalidImage("no format is registered");
            return target + "." + DefaultExtension(format).UpperCase();
        }
    }
    if (ExtensionOf(target).IsEmpty()) target += "." + DefaultExtension(format).UpperCase();
    return target;
}

AnsiString RecentFileEntry(const AnsiString& fullName, int image)
{
    AnsiString entry = fullName.LowerCase();
    if (image != 0) entry += ": " + IntToStr(image);
    return entry;
}

void SplitRecentFileEntry(const AnsiString& entry, AnsiString& name, int& image)
{
    name = entry;
    image = 0;
    int at = 0;
    for (int i = entry.Length() - 1; i >= 1; --i)
        if (entry[i] == ':' && entry[i + 1] == ' ') {
            at = i;
            break;
        }
    if (at == 0 || at + 2 > entry.Length()) return;
    AnsiString number = entry.SubString(at + 2, entry.Length() - at - 1);
    for (int i = 1; i <= number.Length(); ++i)
        if (number[i] < '0' || number[i] > '9' || i > 9) return;
    name = entry.SubString(1, at - 1);
    image = atoi(number.c_str());
}

PreviewPlace PreviewPlacement(int width, int height)
{
    const long long areaW = 240, areaH = 180;
    long long w = width > 0 ? width : 1, h = height > 0 ? height : 1;
    // Integer form of s = min(240 / w, 180 / h): a double 0.24 * 1000
    // truncates to 239.
    long long pw, ph;
    if (areaW * h <= areaH * w) {
        pw = areaW;
        ph = h * areaW / w;
    } else {
        ph = areaH;
        pw = w * areaH / h;
    }
    if (pw < 1) pw = 1;
    if (ph < 1) ph = 1;
    return PreviewPlace{4 + int(areaW - pw) / 2, 24 + int(areaH - ph) / 2, int(pw), int(ph)};
}

int DepthBits(SaveDepth depth)
{
    static const int bits[DepthCount] = {24, 16, 15, 8, 4, 1, 8, -1};
    return depth < DepthCount ? bits[depth] : 0;
}

bool DepthGrey(SaveDepth depth) { return depth == DepthGS; }

bool IsPaletteDepth(SaveDepth depth) { return depth == DepthB8 || depth == DepthB4 || depth == DepthAD; }

void EnabledDepths(const GFXFile* format, bool enabled[DepthCount])
{
    uint32_t m = format ? format->colourMask : 0;
    enabled[DepthTC24] = (m >> 23) & 1;
    enabled[DepthHC16] = (m >> 15) & 1;
    enabled[DepthHC15] = (m >> 14) & 1;
    enabled[DepthB8] = (m >> 7) & 1;
    enabled[DepthB4] = (m >> 3) & 1;
    enabled[DepthMC] = m & 1;
    enabled[DepthGS] = format && format->greyMask != 0;
    int low = 0;
    for (int b = 0; b < 8; ++b) low += (m >> b) & 1;
    enabled[DepthAD] = low > 1;
}

SaveDepth NearestDepth(const bool enabled[DepthCount], int bits, bool grey)
{
    if (grey) {
        if (enabled[DepthGS]) return DepthGS;
        bits = 8;
    }
    // Adaptive pictures keep adaptive; "choose" (0) means the deepest.
    if (bits < 0) {
        if (enabled[DepthAD]) return DepthAD;
        bits = 8;
    }
    if (bits == 0) bits = 24;
    static const struct {
        int upTo;
        SaveDepth depth;
    } up[] = {{1, DepthMC}, {4, DepthB4}, {8, DepthB8}, {15, DepthHC15}, {16, DepthHC16}, {24, DepthTC24}};
    for (const auto& step : up)
        if (bits <= step.upTo && enabled[step.depth]) return step.depth;
    static const SaveDepth down[] = {DepthTC24, DepthHC16, DepthHC15, DepthB8, DepthB4, DepthMC};
    for (SaveDepth d : down)
        if (enabled[d]) return d;
    return DepthCount;
}

int TypedNameFormat(const AnsiString& name)
{
    if (ExtensionOf(name.Trim()).IsEmpty()) return 0;
    int index = 0;
    FindSaveFormat(name, index);
    return index ? index : -1;
}
