// Formula files: a header, eight slider values, four formulas, four texts
// and eight slider names, each formula and text followed by an empty line.
#include "formula_file.h"

#include <cstdio>
#include <vector>

namespace {

const size_t kLineLimit = 1023;  // a longer line continues as the next one

std::vector<std::string> SplitLines(const std::string& bytes)
{
    std::vector<std::string> lines;
    std::string line;
    bool full = false;  // the line just ended at the length limit
    for (size_t k = 0; k < bytes.size(); ++k) {
        char c = bytes[k];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && k + 1 < bytes.size() && bytes[k + 1] == '\n')
                ++k;
            // A line of exactly the limit ends at its own line end, not at
            // an empty line after it.
            if (!(full && line.empty()))
                lines.push_back(line);
            line.clear();
            full = false;
            continue;
        }
        full = false;
        line += c;
        if (line.size() == kLineLimit) {
            lines.push_back(line);
            line.clear();
            full = true;
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

// A formula or a text: after any empty lines, its lines up to the next empty
// one, joined without breaks.
std::string Paragraph(const std::vector<std::string>& lines, size_t& at)
{
    while (at < lines.size() && lines[at].empty())
        ++at;
    std::string out;
    while (at < lines.size() && !lines[at].empty())
        out += lines[at++];
    return out;
}

bool Number(const std::string& line, int& value)
{
    char after;
    return std::sscanf(line.c_str(), "%d%c", &value, &after) == 1;
}

// A formula's empty lines would end it early when read back, and an empty
// formula would take the next one's place; both read back the same without.
// An empty formula is written as "0", the value it has anyway.
std::string FormulaLines(const std::string& formula)
{
    std::string out;
    for (size_t k = 0; k < formula.size(); ++k) {
        bool breakChar = formula[k] == '\r' || formula[k] == '\n';
        bool lineEmpty = out.empty() || out.back() == '\r' || out.back() == '\n';
        if (breakChar && lineEmpty)
            continue;
        out += formula[k];
    }
    while (!out.empty() && (out.back() == '\r' || out.back() == '\n'))
        out.pop_back();
    return out.empty() ? "0" : out;
}

}  // namespace

std::string WriteFormulaFile(const FormulaSet& set)
{
    std::string out = "%RGB-1.0\r";
    for (int v : set.ctl)
        out += std::to_string(v) + "\r";
    for (const std::string& f : set.formula)
        out += FormulaLines(f) + "\r\r";
    for (const std::string& t : set.text)
        out += (t.empty() ? std::string("-") : t) + "\r\r";
    for (int k = 0; k < 8; ++k)
        out += std::to_string(k + 1) + ": " + set.sliderName[k] + "\r\r";
    return out;
}

bool ReadFormulaFile(const std::string& bytes, FormulaSet& set)
{
    std::vector<std::string> lines = SplitLines(bytes);
    if (lines.empty() || lines[0] != "%RGB-1.0")
        return false;
    size_t at = 1;
    for (int k = 0; k < 8; ++k, ++at)
        if (at >= lines.size() || !Number(lines[at], set.ctl[k]))
            return false;
    for (std::string& f : set.formula)
        f = Paragraph(lines, at);
    for (std::string& t : set.text) {
        t = Paragraph(lines, at);
        if (t == "-")
            t.clear();
    }
    for (std::string& name : set.sliderName) {
        std::string line = Paragraph(lines, at);
        size_t colon = line.find(':');
        name.clear();
        if (colon == std::string::npos)
            continue;
        size_t start = line.find_first_not_of(" \t", colon + 1);
        if (start != std::string::npos)
            name = line.substr(start);
    }
    return true;
}
