#include "langtext.h"

bool ReadLimitedLine(std::FILE* file, int maxChars, std::string& line)
{
    line.clear();
    int c = std::getc(file);
    if (c == EOF) return false;
    while (c != EOF) {
        if (static_cast<int>(line.size()) < maxChars) line += static_cast<char>(c);
        if (c == '\n') break;
        c = std::getc(file);
    }
    return true;
}

AnsiString AtSignsToBlanks(const AnsiString& text)
{
    AnsiString result = text;
    for (int i = 1; i <= result.Length(); i++)
        if (result[i] == '@') result[i] = ' ';
    return result;
}

LangEntry ParseMessageLine(const AnsiString& line)
{
    LangEntry entry;
    int equals = line.Pos("=");
    if (equals == 0) {
        entry.value = AtSignsToBlanks(line.Trim());
        return entry;
    }
    entry.key = line.SubString(1, equals - 1).Trim();
    entry.value = AtSignsToBlanks(line.SubString(equals + 1, line.Length() - equals).Trim());
    return entry;
}

namespace {
AnsiString ToAnsi(const std::string& s) { return AnsiString(s.data(), static_cast<int>(s.size())); }

// Skips to the line after the header; false when there is none.
bool FindHeader(std::FILE* file, const AnsiString& section, bool ignoreCase, int limit)
{
    std::string line;
    while (ReadLimitedLine(file, limit, line)) {
        AnsiString trimmed = ToAnsi(line).Trim();
        if (ignoreCase ? trimmed.AnsiCompareIC(section) == 0 : trimmed == section) return true;
    }
    return false;
}
}  // namespace

std::vector<LangEntry> ReadMessageSection(std::FILE* file)
{
    std::vector<LangEntry> entries;
    if (!FindHeader(file, "[Messages]", true, MessageLineLimit)) return entries;
    std::string line;
    while (ReadLimitedLine(file, MessageLineLimit, line)) {
        AnsiString trimmed = ToAnsi(line).Trim();
        if (trimmed.IsEmpty() || trimmed[1] == ';') continue;
        if (trimmed[1] == '[') break;
        entries.push_back(ParseMessageLine(trimmed));
    }
    return entries;
}

bool ReadAssignment(const std::string& line, LangEntry& entry)
{
    if (line.empty() || line[0] == ';') return false;
    std::string::size_type equals = line.find('=');
    if (equals == std::string::npos) return false;
    std::string value = line.substr(equals + 1);
    while (!value.empty() && (value.back() == ' ' || value.back() == '\r' || value.back() == '\n'))
        value.pop_back();
    entry.key = ToAnsi(line.substr(0, equals));
    entry.value = ToAnsi(value);
    return true;
}

std::vector<LangEntry> ReadFormSection(std::FILE* file, const AnsiString& section)
{
    std::vector<LangEntry> entries;
    if (!FindHeader(file, section, false, SectionHeaderLimit)) return entries;
    std::string line;
    while (ReadLimitedLine(file, AssignmentLineLimit, line)) {
        if (!line.empty() && line[0] == '[') break;
        LangEntry entry;
        if (ReadAssignment(line, entry)) entries.push_back(entry);
    }
    return entries;
}
