#include "palette_file.h"

#include <climits>
#include <cstdio>
#include <cstdlib>

std::string FormatPaletteFile(const std::vector<unsigned long>& colours)
{
    char line[32];
    std::snprintf(line, sizeof line, "%d\r\n", int(colours.size()));
    std::string text = line;
    for (unsigned long colour : colours) {
        std::snprintf(line, sizeof line, "%06lX\r\n", colour & 0xFFFFFFul);
        text += line;
    }
    return text;
}

bool ParsePaletteFile(const std::string& text, int maxColours, PaletteFileText& palette)
{
    const char* at = text.c_str();
    char* end = nullptr;
    long long count = std::strtoll(at, &end, 10);
    if (end == at) return false;
    // A count past the int range means as many cells as the bar can hold.
    if (count > INT_MAX) count = INT_MAX;
    if (count < INT_MIN) count = INT_MIN;
    palette.count = int(count);
    palette.colours.clear();
    at = end;
    while (int(palette.colours.size()) < maxColours) {
        unsigned long value = std::strtoul(at, &end, 16);
        if (end == at) break;
        palette.colours.push_back(value & 0xFFFFFFul);
        at = end;
    }
    return true;
}
