// The values are read the way the components' authors wrote them for a
// scanf-style reader: blanks before a number are skipped, text after the
// last value is ignored. Numbers are read here rather than by the C library
// so that the user's decimal separator cannot change what a component gets.
#include "component_params.h"

#include "component_descriptor.h"

#include <climits>
#include <cstring>

namespace {

class ValueScanner {
public:
    // Keeps pointers into text, which must outlive the scanner.
    explicit ValueScanner(const std::string& text) : p_(text.c_str()), end_(text.c_str() + text.size()) {}

    bool Int(int& out)
    {
        SkipBlanks();
        bool negative = Sign();
        long long v = 0;
        if (!Digits(v, 10))
            return false;
        out = static_cast<int>(negative ? -v : v);
        return true;
    }

    bool Hex(int& out)
    {
        SkipBlanks();
        if (end_ - p_ >= 2 && p_[0] == '0' && (p_[1] == 'x' || p_[1] == 'X'))
            p_ += 2;
        long long v = 0;
        if (!Digits(v, 16))
            return false;
        out = static_cast<int>(static_cast<unsigned>(v));
        return true;
    }

    bool Real(double& out)
    {
        SkipBlanks();
        bool negative = Sign();
        double v = 0, scale = 1;
        bool digits = false;
        for (; p_ < end_ && IsDigit(*p_); ++p_, digits = true)
            v = v * 10 + (*p_ - '0');
        if (p_ < end_ && *p_ == '.')
            for (++p_; p_ < end_ && IsDigit(*p_); ++p_, digits = true)
                v += (*p_ - '0') * (scale /= 10);
        if (!digits)
            return false;
        v *= Exponent();
        out = negative ? -v : v;
        return true;
    }

    bool Comma()
    {
        if (p_ >= end_ || *p_ != ',')
            return false;
        ++p_;
        return true;
    }

    // A list item: everything up to its closing comma, which must be there.
    bool Item(std::string& out)
    {
        const char* comma = static_cast<const char*>(std::memchr(p_, ',', end_ - p_));
        if (!comma)
            return false;
        out.assign(p_, comma);
        p_ = comma + 1;
        return true;
    }

private:
    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

    // "e-3" after a real, as the C library reads it.
    double Exponent()
    {
        if (p_ >= end_ || (*p_ != 'e' && *p_ != 'E'))
            return 1;
        const char* at = p_ + 1;
        const bool negative = at < end_ && *at == '-';
        if (at < end_ && (*at == '-' || *at == '+'))
            ++at;
        if (at >= end_ || !IsDigit(*at))
            return 1;
        int e = 0;
        for (; at < end_ && IsDigit(*at); ++at)
            e = e < 400 ? e * 10 + (*at - '0') : e;
        p_ = at;
        double scale = 1;
        while (e-- > 0)
            scale *= 10;
        return negative ? 1 / scale : scale;
    }

    void SkipBlanks()
    {
        while (p_ < end_ && (*p_ == ' ' || *p_ == '\t'))
            ++p_;
    }

    bool Sign()
    {
        if (p_ < end_ && (*p_ == '-' || *p_ == '+'))
            return *p_++ == '-';
        return false;
    }

    // Saturates rather than overflows, as the C library's readers do.
    bool Digits(long long& v, int base)
    {
        const char* start = p_;
        for (; p_ < end_; ++p_) {
            int d = IsDigit(*p_) ? *p_ - '0'
                    : base == 16 && *p_ >= 'a' && *p_ <= 'f' ? *p_ - 'a' + 10
                    : base == 16 && *p_ >= 'A' && *p_ <= 'F' ? *p_ - 'A' + 10
                    : -1;
            if (d < 0)
                break;
            v = v * base + d;
            if (v > 0xFFFFFFFFLL)
                v = 0xFFFFFFFFLL;
        }
        if (base == 10 && v > INT_MAX)
            v = INT_MAX;
        return p_ != start;
    }

    const char* p_;
    const char* end_;
};

int KindOf(char letter)
{
    const char* kinds = "IFBCSLOPG";
    const char* at = std::strchr(kinds, letter);
    return letter && at ? static_cast<int>(at - kinds) + 1 : 0;
}

int Clamp(int v, int low, int high) { return v < low ? low : v > high ? high : v; }

bool ParseList(ValueScanner& s, ComponentParam& p)
{
    int count = 0;
    if (!s.Int(count) || !s.Comma() || count <= 0)
        return false;
    for (int k = 0; k < count; ++k) {
        std::string item;
        if (!s.Item(item))
            return false;
        p.items.push_back(item);
    }
    if (!s.Int(p.value))
        return false;
    p.value = Clamp(p.value, 1, count);
    return true;
}

bool ParseValues(ValueScanner& s, ComponentParam& p)
{
    switch (p.kind) {
    case CPK_INT:
    case CPK_SCROLL:
        return s.Int(p.minimum) && s.Comma() && s.Int(p.maximum) && s.Comma() && s.Int(p.value);
    case CPK_FLOAT:
        return s.Int(p.decimals) && s.Comma() && s.Real(p.increment) && s.Comma() && s.Real(p.realMinimum) &&
               s.Comma() && s.Real(p.realMaximum) && s.Comma() && s.Real(p.realValue);
    case CPK_BUTTON:
        return true;
    case CPK_CHECK:
        if (!s.Int(p.value))
            return false;
        p.value = p.value != 0;
        return true;
    case CPK_LIST:
        return ParseList(s, p);
    case CPK_COLOUR:
        return s.Hex(p.value);
    case CPK_POINT: {
        int x = 0, y = 0;
        if (!(s.Int(x) && s.Comma() && s.Int(y)))
            return false;
        p.value = static_cast<int>(static_cast<unsigned>(Clamp(x, 0, 65535)) | static_cast<unsigned>(Clamp(y, 0, 65535)) << 16);
        return true;
    }
    case CPK_PICTURE:
        return s.Int(p.value);
    }
    return false;
}

void PutBytes(unsigned char* block, int at, const void* value, int size) { std::memcpy(block + at, value, size); }

}  // namespace

bool ParseComponentParam(const std::string& declaration, ComponentParam& param)
{
    ComponentParam p;
    if (declaration.size() < 3 || !(p.kind = KindOf(declaration[0])))
        return false;
    size_t at = 1;
    if (declaration[at] >= '0' && declaration[at] <= '9')
        p.level = declaration[at++] - '0';
    if (declaration[at] != ',')
        return false;
    size_t nameEnd = declaration.find(',', at + 1);
    p.name = declaration.substr(at + 1, nameEnd == std::string::npos ? std::string::npos : nameEnd - at - 1);
    const std::string values = nameEnd == std::string::npos ? std::string() : declaration.substr(nameEnd + 1);
    ValueScanner s(values);
    if (!ParseValues(s, p))
        return false;
    param = p;
    return true;
}

int ComponentParamRowHeight(int kind)
{
    static const int heights[] = {0, 25, 25, 26, 23, 22, 26, 27, 26, 94};
    return kind >= CPK_INT && kind <= CPK_PICTURE ? heights[kind] : 0;
}

int ComponentParamBytes(int kind)
{
    if (kind == CPK_FLOAT)
        return 8;
    return kind >= CPK_INT && kind <= CPK_PICTURE && kind != CPK_BUTTON ? 4 : 0;
}

bool ComponentParamHidden(const ComponentParam& param, int userLevel) { return userLevel + 1 < param.level; }

int ComponentValueOffset(const std::vector<ComponentParam>& params, int index)
{
    int at = 0;
    for (int k = 0; k < index && k < static_cast<int>(params.size()); ++k)
        at += ComponentParamBytes(params[k].kind);
    return at;
}

int PackComponentDefaults(const std::vector<ComponentParam>& params, unsigned char* block)
{
    std::memset(block, 0, COMPONENT_VALUE_BLOCK);
    int at = 0;
    for (const ComponentParam& p : params) {
        int size = ComponentParamBytes(p.kind);
        if (at + size > COMPONENT_VALUE_BLOCK)
            break;
        if (p.kind == CPK_FLOAT)
            PutBytes(block, at, &p.realValue, size);
        else if (size)
            PutBytes(block, at, &p.value, size);
        at += size;
    }
    return at;
}

int PixelToFraction(int pixel, int extent)
{
    if (extent <= 1)
        return 0;
    return static_cast<int>(static_cast<long long>(pixel) * 65535 / (extent - 1));
}

int FractionToPixelRounded(int fraction, int extent)
{
    return extent <= 1 ? 0 : static_cast<int>((extent - 1) * static_cast<double>(fraction) / 65535 + 0.5);
}

int FractionToPixelTruncated(int fraction, int extent)
{
    return extent <= 1 ? 0 : static_cast<int>((extent - 1) * static_cast<double>(fraction) / 65535);
}

ComponentPointerRecord MakeComponentPointer(int x, int y, int width, int height, bool rightButton, int origin)
{
    ComponentPointerRecord r{};
    r.x = PixelToFraction(x, width);
    r.y = PixelToFraction(y, height);
    r.width = width;
    r.height = height;
    r.rightButton = rightButton;
    r.origin = origin;
    return r;
}

std::vector<ComponentParam> ParseComponentParams(const std::string& descriptor)
{
    std::vector<ComponentParam> params;
    for (int n = 1; n <= COMPONENT_PARAMS; ++n) {
        ComponentParam p;
        if (ParseComponentParam(DescriptorValue(descriptor, "Par" + std::to_string(n)), p)) {
            p.number = n;
            params.push_back(p);
        }
    }
    return params;
}

int ComponentParamIndex(const std::vector<ComponentParam>& params, int number)
{
    for (size_t i = 0; i < params.size(); ++i)
        if (params[i].number == number)
            return static_cast<int>(i);
    return -1;
}
