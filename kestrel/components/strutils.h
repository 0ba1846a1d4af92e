// Words in a string: words are separated by runs of any character of a
// delimiter set. Positions and word numbers are 1-based, as AnsiString's.
#ifndef KESTREL_STRUTILS_H
#define KESTREL_STRUTILS_H

#include "ansistring.h"

// The position where word N begins; 0 when S has fewer words (or N < 1).
int WordPosition(int N, const AnsiString& S, const AnsiString& WordDelims);
// Word N of S, empty when there is none.
AnsiString ExtractWord(int N, const AnsiString& S, const AnsiString& WordDelims);
// How many words S holds.
int WordCount(const AnsiString& S, const AnsiString& WordDelims);

#endif
