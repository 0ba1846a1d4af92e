#include "strutils.h"

#include <cstring>

namespace {

bool IsDelim(char c, const AnsiString& delims)
{
    // memchr, not strchr: a zero byte in S must never count as a delimiter.
    return std::memchr(delims.c_str(), c, static_cast<size_t>(delims.Length())) != nullptr;
}

}  // namespace

int WordPosition(int N, const AnsiString& S, const AnsiString& WordDelims)
{
    if (N < 1) return 0;
    int count = 0;
    const int len = S.Length();
    for (int i = 1; i <= len; ++i) {
        if (IsDelim(S[i], WordDelims)) continue;
        if (i == 1 || IsDelim(S[i - 1], WordDelims)) {
            if (++count == N) return i;
        }
    }
    return 0;
}

AnsiString ExtractWord(int N, const AnsiString& S, const AnsiString& WordDelims)
{
    int start = WordPosition(N, S, WordDelims);
    if (start == 0) return AnsiString();
    int end = start;
    while (end <= S.Length() && !IsDelim(S[end], WordDelims)) ++end;
    return S.SubString(start, end - start);
}

int WordCount(const AnsiString& S, const AnsiString& WordDelims)
{
    int count = 0;
    for (int i = 1; i <= S.Length(); ++i) {
        if (!IsDelim(S[i], WordDelims) && (i == 1 || IsDelim(S[i - 1], WordDelims))) ++count;
    }
    return count;
}
