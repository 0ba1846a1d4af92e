#include "ansistring.h"

#include <limits.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <utility>

#include "exceptions.h"

namespace {

// Lengths are ints, and the header and the terminator must fit beside them.
const int kMaxLength = INT_MAX - 64;

int LengthOf(const char* s)
{
    if (!s) return 0;
    size_t n = strlen(s);
    if (n > static_cast<size_t>(kMaxLength)) throw EOutOfMemory();
    return static_cast<int>(n);
}

// Room for b more characters after a, in difference form so nothing wraps.
int SumOfLengths(int a, int b)
{
    if (b > kMaxLength - a) throw EOutOfMemory();
    return a + b;
}

bool IsTrimmed(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

char ToUpperAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

char ToLowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

int CompareBytes(const char* a, int lengthA, const char* b, int lengthB)
{
    int common = lengthA < lengthB ? lengthA : lengthB;
    int result = common > 0 ? memcmp(a, b, common) : 0;
    if (result != 0) return result;
    return lengthA < lengthB ? -1 : (lengthA > lengthB ? 1 : 0);
}

int DigitValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 99;
}

// Decimal must fit an int; hex may use all 32 bits ("$FFFFFFFF" is -1), as
// colours are written that way.
bool ParseInt(const char* s, int length, int* result)
{
    int i = 0;
    while (i < length && s[i] == ' ') i++;
    bool negative = false;
    if (i < length && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    int base = 10;
    if (i < length && s[i] == '$') {
        base = 16;
        i++;
    } else if (length - i >= 2 && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    unsigned long long limit = base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    unsigned long long value = 0;
    if (i == length) return false;
    for (; i < length; i++) {
        int digit = DigitValue(s[i]);
        if (digit >= base) return false;
        value = value * base + digit;
        if (value > limit) return false;
    }
    unsigned bits = static_cast<unsigned>(value);
    *result = static_cast<int>(negative ? 0u - bits : bits);
    return true;
}

}  // namespace

AnsiString::Header* AnsiString::HeaderOf(char* data) noexcept
{
    return reinterpret_cast<Header*>(data) - 1;
}

char* AnsiString::Allocate(int length)
{
    if (length > kMaxLength) throw EOutOfMemory();
    Header* header = static_cast<Header*>(malloc(sizeof(Header) + length + 1));
    if (!header) throw EOutOfMemory();
    header->refCount = 1;
    header->length = length;
    char* data = reinterpret_cast<char*>(header + 1);
    data[length] = 0;
    return data;
}

void AnsiString::Release(char* data) noexcept
{
    if (!data) return;
    Header* header = HeaderOf(data);
    if (__atomic_sub_fetch(&header->refCount, 1, __ATOMIC_ACQ_REL) == 0) free(header);
}

AnsiString::AnsiString(const char* s) : data_(nullptr)
{
    Assign(s, LengthOf(s));
}

AnsiString::AnsiString(const char* s, int length) : data_(nullptr)
{
    if (s) Assign(s, length);
}

AnsiString::AnsiString(char c) : data_(nullptr)
{
    Assign(&c, 1);
}

AnsiString::AnsiString(int value) : data_(nullptr)
{
    sprintf("%d", value);
}

AnsiString::AnsiString(unsigned value) : data_(nullptr)
{
    sprintf("%u", value);
}

AnsiString::AnsiString(double value) : data_(nullptr)
{
    sprintf("%.15g", value);
}

AnsiString::AnsiString(const AnsiString& other) noexcept : data_(other.data_)
{
    if (data_) __atomic_add_fetch(&HeaderOf(data_)->refCount, 1, __ATOMIC_RELAXED);
}

AnsiString::~AnsiString()
{
    Release(data_);
}

AnsiString& AnsiString::operator=(const AnsiString& other) noexcept
{
    // Take the new reference before dropping the old one: self-assignment.
    char* keep = other.data_;
    if (keep) __atomic_add_fetch(&HeaderOf(keep)->refCount, 1, __ATOMIC_RELAXED);
    Release(data_);
    data_ = keep;
    return *this;
}

AnsiString& AnsiString::operator=(AnsiString&& other) noexcept
{
    if (this != &other) {
        Release(data_);
        data_ = other.data_;
        other.data_ = nullptr;
    }
    return *this;
}

AnsiString& AnsiString::operator=(const char* s)
{
    Assign(s, LengthOf(s));
    return *this;
}

// s may point into this string's own block: the new block is filled before
// the old one is released.
void AnsiString::Assign(const char* s, int length)
{
    char* block = nullptr;
    if (length > 0) {
        block = Allocate(length);
        memcpy(block, s, length);
    }
    Release(data_);
    data_ = block;
}

void AnsiString::Append(const char* s, int length)
{
    if (length <= 0) return;
    int oldLength = Length();
    int newLength = SumOfLengths(oldLength, length);
    uintptr_t from = reinterpret_cast<uintptr_t>(s);
    uintptr_t start = reinterpret_cast<uintptr_t>(data_);
    bool inside = data_ && from >= start && from - start <= static_cast<uintptr_t>(oldLength);
    bool shared = data_ && __atomic_load_n(&HeaderOf(data_)->refCount, __ATOMIC_ACQUIRE) != 1;
    if (!data_ || inside || shared) {
        char* block = Allocate(newLength);
        if (oldLength > 0) memcpy(block, data_, oldLength);
        memcpy(block + oldLength, s, length);
        Release(data_);
        data_ = block;
        return;
    }
    Header* header = static_cast<Header*>(realloc(HeaderOf(data_), sizeof(Header) + newLength + 1));
    if (!header) throw EOutOfMemory();
    data_ = reinterpret_cast<char*>(header + 1);
    memcpy(data_ + oldLength, s, length);
    header->length = newLength;
    data_[newLength] = 0;
}

void AnsiString::Unique()
{
    if (!data_ || __atomic_load_n(&HeaderOf(data_)->refCount, __ATOMIC_ACQUIRE) == 1) return;
    Assign(data_, Length());
}

int AnsiString::Length() const noexcept
{
    return data_ ? HeaderOf(data_)->length : 0;
}

void AnsiString::CheckIndex(int index) const
{
    if (index < 1 || index > Length()) throw ERangeError();
}

char AnsiString::operator[](int index) const
{
    CheckIndex(index);
    return data_[index - 1];
}

char& AnsiString::operator[](int index)
{
    CheckIndex(index);
    Unique();
    return data_[index - 1];
}

AnsiString& AnsiString::operator+=(const AnsiString& rhs)
{
    if (!data_) return *this = rhs;  // shares rhs's block
    Append(rhs.data_, rhs.Length());
    return *this;
}

AnsiString& AnsiString::operator+=(const char* rhs)
{
    Append(rhs, LengthOf(rhs));
    return *this;
}

AnsiString& AnsiString::operator+=(char c)
{
    Append(&c, 1);
    return *this;
}

AnsiString AnsiString::operator+(const AnsiString& rhs) const
{
    AnsiString result(*this);
    result += rhs;
    return result;
}

AnsiString AnsiString::operator+(const char* rhs) const
{
    AnsiString result(*this);
    result += rhs;
    return result;
}

AnsiString operator+(const char* lhs, const AnsiString& rhs)
{
    AnsiString result(lhs);
    result += rhs;
    return result;
}

int AnsiString::Compare(const AnsiString& rhs) const noexcept
{
    return CompareBytes(c_str(), Length(), rhs.c_str(), rhs.Length());
}

int AnsiString::Compare(const char* rhs) const noexcept
{
    const char* text = rhs ? rhs : "";
    size_t n = strlen(text);
    int length = n > static_cast<size_t>(INT_MAX) ? INT_MAX : static_cast<int>(n);
    return CompareBytes(c_str(), Length(), text, length);
}

int AnsiString::AnsiCompareIC(const AnsiString& rhs) const noexcept
{
    int a = Length(), b = rhs.Length();
    int common = a < b ? a : b;
    for (int i = 0; i < common; i++) {
        unsigned char x = ToLowerAscii(data_[i]), y = ToLowerAscii(rhs.data_[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    return a < b ? -1 : (a > b ? 1 : 0);
}

AnsiString AnsiString::SubString(int index, int count) const
{
    int length = Length();
    int start = index < 1 ? 0 : index - 1;
    if (start >= length || count <= 0) return AnsiString();
    int available = length - start;
    return AnsiString(data_ + start, count < available ? count : available);
}

int AnsiString::Pos(const AnsiString& sub) const noexcept
{
    int length = Length(), n = sub.Length();
    if (n == 0 || n > length) return 0;
    for (int i = 0; i <= length - n; i++) {
        if (memcmp(data_ + i, sub.data_, n) == 0) return i + 1;
    }
    return 0;
}

int AnsiString::LastDelimiter(const AnsiString& delims) const noexcept
{
    int n = delims.Length();
    if (n == 0) return 0;
    for (int i = Length(); i >= 1; i--) {
        if (memchr(delims.data_, data_[i - 1], n)) return i;
    }
    return 0;
}

AnsiString AnsiString::UpperCase() const
{
    AnsiString result(*this);
    result.Unique();
    for (int i = 0; i < result.Length(); i++) result.data_[i] = ToUpperAscii(result.data_[i]);
    return result;
}

AnsiString AnsiString::LowerCase() const
{
    AnsiString result(*this);
    result.Unique();
    for (int i = 0; i < result.Length(); i++) result.data_[i] = ToLowerAscii(result.data_[i]);
    return result;
}

AnsiString AnsiString::Trim() const
{
    return TrimLeft().TrimRight();
}

AnsiString AnsiString::TrimLeft() const
{
    int length = Length(), first = 0;
    while (first < length && IsTrimmed(data_[first])) first++;
    return first == 0 ? *this : AnsiString(data_ + first, length - first);
}

AnsiString AnsiString::TrimRight() const
{
    int length = Length(), end = length;
    while (end > 0 && IsTrimmed(data_[end - 1])) end--;
    return end == length ? *this : AnsiString(data_, end);
}

int AnsiString::ToInt() const
{
    int value = 0;
    if (!ParseInt(c_str(), Length(), &value)) {
        throw EConvertError("'" + *this + "' is not a valid integer value");
    }
    return value;
}

int AnsiString::ToIntDef(int defaultValue) const noexcept
{
    int value = 0;
    return ParseInt(c_str(), Length(), &value) ? value : defaultValue;
}

void AnsiString::SetLength(int n)
{
    int length = Length();
    if (n <= 0) {
        Release(data_);
        data_ = nullptr;
        return;
    }
    if (n == length) return;
    if (n < length) {
        Assign(data_, n);
        return;
    }
    char* block = Allocate(n);
    if (length > 0) memcpy(block, data_, length);
    memset(block + length, 0, n - length);
    Release(data_);
    data_ = block;
}

AnsiString& AnsiString::Insert(const AnsiString& s, int index)
{
    int length = Length(), n = s.Length();
    if (n == 0) return *this;
    int at = index < 1 ? 0 : (index > length ? length : index - 1);
    char* block = Allocate(SumOfLengths(length, n));
    if (at > 0) memcpy(block, data_, at);
    memcpy(block + at, s.data_, n);
    if (length > at) memcpy(block + at + n, data_ + at, length - at);
    Release(data_);
    data_ = block;
    return *this;
}

AnsiString& AnsiString::Delete(int index, int count)
{
    int length = Length();
    if (index < 1 || index > length || count <= 0) return *this;
    int start = index - 1;
    int n = count < length - start ? count : length - start;
    if (n == length) return *this = AnsiString();
    char* block = Allocate(length - n);
    memcpy(block, data_, start);
    memcpy(block + start, data_ + start + n, length - start - n);
    Release(data_);
    data_ = block;
    return *this;
}

// The arguments may point into this string's own block, so the old block
// stays alive until the new text is complete.
void AnsiString::AppendFormatted(const char* format, va_list args)
{
    va_list probe;
    va_copy(probe, args);
    int n = vsnprintf(nullptr, 0, format, probe);
    va_end(probe);
    if (n < 0) throw EConvertError(AnsiString("Invalid format string: ") + format);
    if (n == 0) return;
    int length = Length();
    char* block = Allocate(SumOfLengths(length, n));
    if (length > 0) memcpy(block, data_, length);
    vsnprintf(block + length, n + 1, format, args);
    Release(data_);
    data_ = block;
}

AnsiString& AnsiString::sprintf(const char* format, ...)
{
    AnsiString result;
    va_list args;
    va_start(args, format);
    try {
        result.AppendFormatted(format, args);
    } catch (...) {
        va_end(args);
        throw;
    }
    va_end(args);
    return *this = std::move(result);
}

AnsiString& AnsiString::cat_sprintf(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    try {
        AppendFormatted(format, args);
    } catch (...) {
        va_end(args);
        throw;
    }
    va_end(args);
    return *this;
}

AnsiString& AnsiString::vprintf(const char* format, va_list args)
{
    AnsiString result;
    result.AppendFormatted(format, args);
    return *this = std::move(result);
}

AnsiString& AnsiString::cat_vprintf(const char* format, va_list args)
{
    AppendFormatted(format, args);
    return *this;
}
