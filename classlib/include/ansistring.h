// AnsiString: the class library's reference-counted 8-bit string.
//
// The object is one pointer to the characters (null for the empty string).
// In the same heap block, just before the characters, sits a header
// {reference count, length}; the characters are always followed by a zero.
// Blocks come from malloc/free only, so a string made in pixmill.dll can be
// copied, changed and freed in the program and the other way round.
//
// Copying shares the block (the count is atomic: the browser's worker thread
// holds strings too); every change first makes the block unique, so a copy
// never sees its original change.
//
// As in the class library this stands in for, character positions are
// 1-based: s[1] is the first character, SubString(1, n) the first n, and
// Pos() answers 0 for "not found". Case operations and comparisons work on
// bytes (ASCII case only), independent of the locale.
#ifndef CLASSLIB_ANSISTRING_H
#define CLASSLIB_ANSISTRING_H

#include <stdarg.h>

#ifdef __MINGW_PRINTF_FORMAT
#define ANSISTRING_PRINTF(fmt, args) __attribute__((format(__MINGW_PRINTF_FORMAT, fmt, args)))
#else
#define ANSISTRING_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))
#endif

class AnsiString {
public:
    AnsiString() noexcept : data_(nullptr) {}
    AnsiString(const char* s);  // null gives the empty string
    AnsiString(const char* s, int length);
    explicit AnsiString(char c);
    explicit AnsiString(int value);
    explicit AnsiString(unsigned value);
    explicit AnsiString(double value);  // shortest of up to 15 significant digits
    AnsiString(const AnsiString& other) noexcept;
    AnsiString(AnsiString&& other) noexcept : data_(other.data_) { other.data_ = nullptr; }
    ~AnsiString();

    AnsiString& operator=(const AnsiString& other) noexcept;
    AnsiString& operator=(AnsiString&& other) noexcept;
    AnsiString& operator=(const char* s);

    const char* c_str() const noexcept { return data_ ? data_ : ""; }
    int Length() const noexcept;
    bool IsEmpty() const noexcept { return data_ == nullptr; }

    // 1-based; an index outside 1..Length() raises ERangeError. The writable
    // reference is valid until the string is next copied or changed.
    char operator[](int index) const;
    char& operator[](int index);

    AnsiString& operator+=(const AnsiString& rhs);
    AnsiString& operator+=(const char* rhs);
    AnsiString& operator+=(char c);
    AnsiString operator+(const AnsiString& rhs) const;
    AnsiString operator+(const char* rhs) const;
    friend AnsiString operator+(const char* lhs, const AnsiString& rhs);

    // Byte-wise (unsigned) comparison: < 0, 0, > 0; of two strings where one
    // is the start of the other, the shorter is less.
    int Compare(const AnsiString& rhs) const noexcept;
    int Compare(const char* rhs) const noexcept;
    // Ignoring ASCII case: < 0, 0, > 0.
    int AnsiCompareIC(const AnsiString& rhs) const noexcept;

    // Characters index..index+count-1, clamped to the string: an index below 1
    // counts from 1, a count past the end stops at the end.
    AnsiString SubString(int index, int count) const;
    // Position of the first occurrence of sub, 0 when absent or sub is empty.
    int Pos(const AnsiString& sub) const noexcept;
    // Position of the last character that is one of delims, 0 when none.
    int LastDelimiter(const AnsiString& delims) const noexcept;

    AnsiString UpperCase() const;
    AnsiString LowerCase() const;
    // Trimming removes blanks and control characters (bytes up to ' ').
    AnsiString Trim() const;
    AnsiString TrimLeft() const;
    AnsiString TrimRight() const;

    // Decimal with optional blanks before and a sign, or hex as "$1F" / "0x1F".
    // Anything else, or a value beyond int, raises EConvertError.
    int ToInt() const;
    int ToIntDef(int defaultValue) const noexcept;

    // Cuts or extends (with zero bytes) to n characters; n <= 0 empties.
    void SetLength(int n);
    // Inserts s before position index (clamped to 1..Length()+1).
    AnsiString& Insert(const AnsiString& s, int index);
    // Removes count characters from index; out-of-range parts are ignored.
    AnsiString& Delete(int index, int count);
    // Replaces the contents with printf-style output (the C library's formats).
    AnsiString& sprintf(const char* format, ...) ANSISTRING_PRINTF(2, 3);
    AnsiString& cat_sprintf(const char* format, ...) ANSISTRING_PRINTF(2, 3);
    // The same over an argument list, for other formatting functions.
    AnsiString& vprintf(const char* format, va_list args) ANSISTRING_PRINTF(2, 0);
    AnsiString& cat_vprintf(const char* format, va_list args) ANSISTRING_PRINTF(2, 0);

    // Gives this string a block of its own (done by every change).
    void Unique();

private:
    struct Header {
        int refCount;
        int length;
    };

    static char* Allocate(int length);
    static Header* HeaderOf(char* data) noexcept;
    static void Release(char* data) noexcept;
    void Assign(const char* s, int length);
    void Append(const char* s, int length);
    void AppendFormatted(const char* format, va_list args);
    void CheckIndex(int index) const;

    char* data_;
};

// Comparisons with a char* need no temporary string.


inline bool operator==(const AnsiString& a, const AnsiString& b) noexcept { return a.Compare(b) == 0; }
inline bool operator==(const AnsiString& a, const char* b) noexcept { return a.Compare(b) == 0; }
inline bool operator==(const char* a, const AnsiString& b) noexcept { return 0 == b.Compare(a); }
inline bool operator!=(const AnsiString& a, const AnsiString& b) noexcept { return a.Compare(b) != 0; }
inline bool operator!=(const AnsiString& a, const char* b) noexcept { return a.Compare(b) != 0; }
inline bool operator!=(const char* a, const AnsiString& b) noexcept { return 0 != b.Compare(a); }
inline bool operator<(const AnsiString& a, const AnsiString& b) noexcept { return a.Compare(b) < 0; }
inline bool operator<(const AnsiString& a, const char* b) noexcept { return a.Compare(b) < 0; }
inline bool operator<(const char* a, const AnsiString& b) noexcept { return 0 < b.Compare(a); }
inline bool operator>(const AnsiString& a, const AnsiString& b) noexcept { return a.Compare(b) > 0; }
inline bool operator>(const AnsiString& a, const char* b) noexcept { return a.Compare(b) > 0; }
inline bool operator>(const char* a, const AnsiString& b) noexcept { return 0 > b.Compare(a); }
inline bool operator<=(const AnsiString& a, const AnsiString& b) noexcept { return a.Compare(b) <= 0; }
inline bool operator<=(const AnsiString& a, const char* b) noexcept { return a.Compare(b) <= 0; }
inline bool operator<=(const char* a, const AnsiString& b) noexcept { return 0 <= b.Compare(a); }
inline bool operator>=(const AnsiString& a, const AnsiString& b) noexcept { return a.Compare(b) >= 0; }
inline bool operator>=(const AnsiString& a, const char* b) noexcept { return a.Compare(b) >= 0; }
inline bool operator>=(const char* a, const AnsiString& b) noexcept { return 0 >= b.Compare(a); }

#endif
