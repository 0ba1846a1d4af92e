#include "tipfile.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Reads one line of at most TipLineLength characters into buffer, without
// its line end, skipping what a longer line holds beyond. False at the end.
bool ReadLine(std::FILE* f, char (&buffer)[TipLineLength + 1])
{
    if (!std::fgets(buffer, sizeof buffer, f)) return false;
    std::size_t length = std::strlen(buffer);
    bool complete = length > 0 && buffer[length - 1] == '\n';
    if (!complete) {
        int c;
        while ((c = std::fgetc(f)) != EOF && c != '\n') {
        }
    }
    while (length > 0 && (buffer[length - 1] == '\n' || buffer[length - 1] == '\r')) buffer[--length] = '\0';
    return true;
}

}  // namespace

TipOfTheDay ParseTipLine(const char* line)
{
    TipOfTheDay tip;
    const char* comma = std::strchr(line, ',');
    if (!comma) {
        tip.text = line;
        return tip;
    }
    char* end = nullptr;
    long long context = std::strtoll(line, &end, 10);
    if (end == comma && context >= 0 && context <= INT_MAX) tip.context = static_cast<int>(context);
    tip.text = comma + 1;
    return tip;
}

bool ReadTipOfTheDay(const AnsiString& path, int& index, TipOfTheDay& tip)
{
    std::FILE* f = std::fopen(path.c_str(), "r");
    if (!f) return false;
    char line[TipLineLength + 1];
    bool found = false;
    for (int n = 0; n <= index; ++n) {
        found = ReadLine(f, line);
        if (!found) break;
    }
    if (!found) {
        index = 0;
        std::rewind(f);
        found = ReadLine(f, line);
    }
    std::fclose(f);
    tip = found ? ParseTipLine(line) : TipOfTheDay();
    if (found) ++index;
    return true;
}
