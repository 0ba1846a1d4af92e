#include "optionbar_parse.h"

#include <cmath>
#include <cstdlib>

namespace {
std::vector<AnsiString> SplitCommas(const AnsiString& text)
{
    std::vector<AnsiString> tokens;
    const char* s = text.c_str();
    const char* start = s;
    for (;; ++s) {
        if (*s == ',' || *s == 0) {
            tokens.push_back(AnsiString(start, int(s - start)));
            if (*s == 0) break;
            start = s + 1;
        }
    }
    return tokens;
}

class TokenReader {
public:
    explicit TokenReader(std::vector<AnsiString> tokens) : tokens_(std::move(tokens)) {}
    bool AtEnd() const { return next_ >= tokens_.size(); }
    size_t Left() const { return AtEnd() ? 0 : tokens_.size() - next_; }
    AnsiString Text() { return AtEnd() ? AnsiString() : tokens_[next_++]; }
    double Number() { return ParseOptionNumber(Text()); }
    int Integer()
    {
        double v = Number();
        if (v > 2147483647.0) return 2147483647;
        if (v < -2147483647.0) return -2147483647;
        return int(v);
    }

private:
    std::vector<AnsiString> tokens_;
    size_t next_ = 0;
};

// "%X" in the order 0xBBGGRR, as the swatch's colour is written.
unsigned long ParseSwatchColour(const AnsiString& text)
{
    unsigned long bgr = std::strtoul(text.Trim().c_str(), nullptr, 16) & 0xFFFFFF;
    return ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
}

void ReadList(TokenReader& in, OptionItem& item)
{
    item.caption = in.Text();
    int n = in.Integer();
    // n counts entries only; a text cut short ends the list where it ends.
    for (int i = 0; i < n && !in.AtEnd(); ++i) item.entries.push_back(in.Text());
    item.hint = in.Text();
}

// False for an unknown code: the token is skipped alone.
bool ReadItem(TokenReader& in, char kind, OptionItem& item)
{
    item.kind = kind;
    switch (kind) {
    case 'B':
        item.caption = in.Text();
        item.hint = in.Text();
        return true;
    case 'C':
        item.caption = in.Text();
        item.value = in.Integer() != 0 ? 1 : 0;
        item.hint = in.Text();
        return true;
    case 'F':
        item.caption = in.Text();
        item.decimals = in.Integer();
        item.minimum = in.Number();
        item.maximum = in.Number();
        item.value = in.Number();
        item.hint = in.Text();
        return true;
    case 'I':
        item.caption = in.Text();
        item.minimum = in.Integer();
        item.maximum = in.Integer();
        item.value = in.Integer();
        item.hint = in.Text();
        return true;
    case 'L':
        ReadList(in, item);
        return true;
    case 'O':
        item.caption = in.Text();
        item.value = double(ParseSwatchColour(in.Text()));
        item.hint = in.Text();
        return true;
    case 'P':
        item.caption = in.Text();
        item.hint = in.Text();
        return true;
    case 'S':
        return true;
    case 'T':
        item.caption = in.Text();
        item.hint = in.Text();
        return true;
    default:
        return false;
    }
}
}  // namespace

bool OptionItem::HasValue() const { return kind != 'S' && kind != 'T'; }

int OptionItem::Tag() const
{
    int tag = level * 4096;
    if (kind == 'L') tag += 4;
    if (kind == 'F' || kind == 'I') tag += 5;
    return tag;
}

double ParseOptionNumber(const AnsiString& text)
{
    const char* s = text.c_str();
    while (*s == ' ') ++s;
    double sign = 1;
    if (*s == '-' || *s == '+') sign = *s++ == '-' ? -1 : 1;
    // All digits into one integer, then one division: correctly rounded,
    // as the user's "0.75" must read back as 0.75.
    double mantissa = 0, scale = 1;
    bool digits = false;
    for (; *s >= '0' && *s <= '9'; ++s, digits = true) mantissa = mantissa * 10 + (*s - '0');
    if (*s == '.')
        for (++s; *s >= '0' && *s <= '9'; ++s, digits = true) {
            mantissa = mantissa * 10 + (*s - '0');
            scale *= 10;
        }
    double v = mantissa / scale;
    if (!digits || !std::isfinite(v)) return 0;
    return sign * v;
}

OptionBarDescription ParseOptionBar(const AnsiString& text)
{
    OptionBarDescription bar;
    TokenReader in(SplitCommas(text));
    bar.caption = in.Text();
    while (!in.AtEnd()) {
        AnsiString code = in.Text();
        if (code.IsEmpty()) continue;
        OptionItem item;
        item.level = code.Length() - 1;
        if (ReadItem(in, code[1], item)) bar.items.push_back(item);
    }
    return bar;
}
