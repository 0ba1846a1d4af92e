#include "debuglog.h"

#include <chrono>
#include <cstdio>
#include <vector>

#ifdef KESTREL_DEBUG_LOG
bool DebugLogOn = true;
#else
bool DebugLogOn = false;
#endif
AnsiString DebugLogFolder;

namespace {

// Taken while the module initialisers run: "since start" is since then.
const std::chrono::steady_clock::time_point programStart = std::chrono::steady_clock::now();

double SecondsSinceStart()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - programStart).count();
}

}  // namespace

AnsiString DebugLogLine(double seconds, const AnsiString& text)
{
    const char* format = "[%06.2f] %s\n";
    int size = std::snprintf(nullptr, 0, format, seconds, text.c_str());
    if (size < 0) return AnsiString();
    std::vector<char> line(static_cast<std::size_t>(size) + 1);
    std::snprintf(line.data(), line.size(), format, seconds, text.c_str());
    return AnsiString(line.data());
}

void DebugLog(const AnsiString& text)
{
    if (!DebugLogOn) return;
    AnsiString line = DebugLogLine(SecondsSinceStart(), text);
    AnsiString path = DebugLogFolder + "KS.LOG";
    // A log that cannot be written must never disturb the program.
    std::FILE* f = std::fopen(path.c_str(), "a");
    if (!f) return;
    std::fputs(line.c_str(), f);
    std::fclose(f);
}
