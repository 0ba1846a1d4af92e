// The data area: "ffcd", the four code sizes, the four code blocks, the
// descriptor text; the rest of the template follows unchanged.
#include "formula_component.h"

#include <cstdint>

namespace {

void PutWord(std::string& out, uint32_t v)
{
    for (int k = 0; k < 4; ++k)
        out += static_cast<char>(v >> (8 * k) & 0xFF);
}

uint32_t WordAt(const std::string& s, size_t at)
{
    uint32_t v = 0;
    for (int k = 3; k >= 0; --k)
        v = v << 8 | static_cast<unsigned char>(s[at + k]);
    return v;
}

// The last 4-byte position holding "FFCD", or npos.
size_t FindMarker(const std::string& templ)
{
    if (templ.size() < 4)
        return std::string::npos;
    for (size_t at = templ.size() - 4;; --at) {
        if (templ.compare(at, 4, "FFCD") == 0)
            return at;
        if (at == 0)
            return std::string::npos;
    }
}

// A line break would end a descriptor line early and a comma would split a
// parameter's fields, leaving the value block out of step with the sliders.
std::string Field(const std::string& text)
{
    std::string out = text;
    for (char& c : out)
        if (c == ',' || c == '\r' || c == '\n')
            c = ' ';
    return out;
}

}  // namespace

std::string FormulaComponentDescriptor(const FormulaSet& set)
{
    std::string d = "Ver=2.00\rName=" + Field(set.text[TEXT_TITLE]) + "\rCopyright=" +
                    Field(set.text[TEXT_COPYRIGHT]) + "\rContact=" + Field(set.text[TEXT_AUTHOR]) + "\rOpt=PW\r";
    for (int k = 0; k < 8; ++k)
        if (!set.sliderName[k].empty())
            d += "Par" + std::string(1, static_cast<char>('1' + k)) + "=S," + Field(set.sliderName[k]) + ",0,255," +
                 std::to_string(set.ctl[k]) + "\r";
    return d;
}

bool BuildFormulaComponent(const std::string& templ, const FormulaSet& set, const FormulaComponentCode& code,
                           std::string& out)
{
    size_t marker = FindMarker(templ);
    if (marker == std::string::npos)
        return false;
    std::string block = "ffcd";
    for (int k = 0; k < 4; ++k)
        PutWord(block, static_cast<uint32_t>(code.size[k]));
    for (int k = 0; k < 4; ++k)
        block.append(reinterpret_cast<const char*>(code.code[k]), static_cast<size_t>(code.size[k]));
    // The terminating zero keeps the descriptor a string whatever the area held.
    block += FormulaComponentDescriptor(set) + '\0';
    size_t room = templ.size() - marker;
    if (room >= 8 && WordAt(templ, marker + 4) >= 8 && WordAt(templ, marker + 4) < room)
        room = WordAt(templ, marker + 4);
    if (block.size() > room)
        return false;
    out = templ.substr(0, marker) + block + templ.substr(marker + block.size());
    return true;
}
