// The free-function forms of AnsiString's trimming, case and comparison, as
// the class library's callers write them.
#include "sysutils.h"

AnsiString Trim(const AnsiString& s) { return s.Trim(); }
AnsiString TrimLeft(const AnsiString& s) { return s.TrimLeft(); }
AnsiString TrimRight(const AnsiString& s) { return s.TrimRight(); }
AnsiString UpperCase(const AnsiString& s) { return s.UpperCase(); }
AnsiString LowerCase(const AnsiString& s) { return s.LowerCase(); }

int CompareStr(const AnsiString& a, const AnsiString& b) { return a.Compare(b); }
int CompareText(const AnsiString& a, const AnsiString& b) { return a.AnsiCompareIC(b); }
// The Ansi forms would follow the user's locale in the class library; here
// they are the byte-wise ones, so that sorted lists and saved settings do
// not depend on the machine.
int AnsiCompareStr(const AnsiString& a, const AnsiString& b) { return a.Compare(b); }
int AnsiCompareText(const AnsiString& a, const AnsiString& b) { return a.AnsiCompareIC(b); }
bool SameText(const AnsiString& a, const AnsiString& b) { return a.AnsiCompareIC(b) == 0; }
