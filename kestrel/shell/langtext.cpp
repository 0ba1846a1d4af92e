#include "langtext.h"

#include <algorithm>

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

bool ReadLimitedLine(const std::string& text, std::size_t& pos, int maxChars, std::string& line)
{
    line.clear();
    if (pos >= text.size()) return false;
    std::size_t end = text.find('\n', pos);
    end = end == std::string::npos ? text.size() : end + 1;
    line = text.substr(pos, std::min(end - pos, static_cast<std::size_t>(maxChars)));
    pos = end;
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
template <class NextLine>
bool FindHeader(NextLine next, const AnsiString& section, bool ignoreCase, int limit)
{
    std::string line;
    while (next(limit, line)) {
        AnsiString trimmed = ToAnsi(line).Trim();
        if (ignoreCase ? trimmed.AnsiCompareIC(section) == 0 : trimmed == section) return true;
    }
    return false;
}

// One reader for files and for the text built into the program, so that
// both take a message line alike.
template <class NextLine>
std::vector<LangEntry> MessageSection(NextLine next)
{
    std::vector<LangEntry> entries;
    if (!FindHeader(next, "[Messages]", true, MessageLineLimit)) return entries;
    std::string line;
    while (next(MessageLineLimit, line)) {
        AnsiString trimmed = ToAnsi(line).Trim();
        if (trimmed.IsEmpty() || trimmed[1] == ';') continue;
        if (trimmed[1] == '[') break;
        entries.push_back(ParseMessageLine(trimmed));
    }
    return entries;
}
}  // namespace

std::vector<LangEntry> ReadMessageSection(std::FILE* file)
{
    return MessageSection([file](int limit, std::string& line) { return ReadLimitedLine(file, limit, line); });
}

std::vector<LangEntry> ReadMessageSection(const std::string& text)
{
    std::size_t pos = 0;
    return MessageSection(
        [&text, &pos](int limit, std::string& line) { return ReadLimitedLine(text, pos, limit, line); });
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
    auto next = [file](int limit, std::string& line) { return ReadLimitedLine(file, limit, line); };
    if (!FindHeader(next, section, false, SectionHeaderLimit)) return entries;
    std::string line;
    while (ReadLimitedLine(file, AssignmentLineLimit, line)) {
        if (!line.empty() && line[0] == '[') break;
        LangEntry entry;
        if (ReadAssignment(line, entry)) entries.push_back(entry);
    }
    return entries;
}
