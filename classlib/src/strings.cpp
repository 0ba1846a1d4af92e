// TStrings: everything that is built on the few virtual functions a
// subclass implements.
#include <stdlib.h>

#include "exceptions.h"
#include "list.h"
#include "streams.h"
#include "stringlist.h"

TStrings::~TStrings() {}

int TStrings::Add(const AnsiString& S)
{
    int index = GetCount();
    Insert(index, S);
    return index;
}

int TStrings::AddObject(const AnsiString& S, TObject* AObject)
{
    int index = Add(S);
    PutObject(index, AObject);
    return index;
}

void TStrings::InsertObject(int Index, const AnsiString& S, TObject* AObject)
{
    Insert(Index, S);
    PutObject(Index, AObject);
}

namespace {

// Ends an update even when the work inside it raises.
class UpdateScope {
public:
    explicit UpdateScope(TStrings* strings) : strings_(strings) { strings_->BeginUpdate(); }
    ~UpdateScope() { strings_->EndUpdate(); }
    UpdateScope(const UpdateScope&) = delete;
    UpdateScope& operator=(const UpdateScope&) = delete;

private:
    TStrings* strings_;
};

}  // namespace

void TStrings::AddStrings(TStrings* Strings)
{
    UpdateScope update(this);
    // Counted first: adding a list to itself doubles it once.
    int count = Strings->GetCount();
    for (int i = 0; i < count; i++) AddObject(Strings->Get(i), Strings->GetObject(i));
}

void TStrings::Assign(TPersistent* Source)
{
    TStrings* source = dynamic_cast<TStrings*>(Source);
    if (!source) {
        TPersistent::Assign(Source);
        return;
    }
    if (source == this) return;
    UpdateScope update(this);
    Clear();
    AddStrings(source);
}

void TStrings::Exchange(int Index1, int Index2)
{
    UpdateScope update(this);
    AnsiString s1 = Get(Index1), s2 = Get(Index2);
    TObject* o1 = GetObject(Index1);
    TObject* o2 = GetObject(Index2);
    Put(Index1, s2);
    PutObject(Index1, o2);
    Put(Index2, s1);
    PutObject(Index2, o1);
}

void TStrings::Move(int CurIndex, int NewIndex)
{
    if (CurIndex == NewIndex) return;
    if (NewIndex < 0 || NewIndex >= GetCount()) ListIndexError(NewIndex);
    UpdateScope update(this);
    AnsiString s = Get(CurIndex);
    TObject* object = GetObject(CurIndex);
    Delete(CurIndex);
    InsertObject(NewIndex, s, object);
}

int TStrings::IndexOf(const AnsiString& S) const
{
    int count = GetCount();
    for (int i = 0; i < count; i++) {
        if (CompareStrings(Get(i), S) == 0) return i;
    }
    return -1;
}

int TStrings::IndexOfName(const AnsiString& Name) const
{
    int count = GetCount();
    for (int i = 0; i < count; i++) {
        AnsiString s = Get(i);
        int equals = s.Pos("=");
        if (equals > 0 && CompareStrings(s.SubString(1, equals - 1), Name) == 0) return i;
    }
    return -1;
}

int TStrings::IndexOfObject(TObject* AObject) const
{
    int count = GetCount();
    for (int i = 0; i < count; i++) {
        if (GetObject(i) == AObject) return i;
    }
    return -1;
}

bool TStrings::Equals(const TStrings* Strings) const
{
    int count = GetCount();
    if (!Strings || Strings->GetCount() != count) return false;
    for (int i = 0; i < count; i++) {
        if (Get(i) != Strings->Get(i)) return false;
    }
    return true;
}

// The state changes while the count is 0, so the subclass's own
// notifications are not yet (or again no longer) suppressed.
void TStrings::BeginUpdate()
{
    if (updateCount_ == 0) SetUpdateState(true);
    updateCount_++;
}

void TStrings::EndUpdate()
{
    if (updateCount_ == 0) return;  // unbalanced: ignored, not negative
    if (--updateCount_ == 0) SetUpdateState(false);
}

void TStrings::LoadFromStream(TStream* Stream)
{
    int size = Stream->GetSize() - Stream->GetPosition();
    AnsiString text;
    if (size > 0) {
        text.SetLength(size);
        text.SetLength(Stream->Read(&text[1], size));
    }
    UpdateScope update(this);
    SetText(text);
}

void TStrings::SaveToStream(TStream* Stream) const
{
    AnsiString text = GetText();
    Stream->WriteBuffer(text.c_str(), text.Length());
}

AnsiString TStrings::GetText() const
{
    AnsiString text;
    int count = GetCount();
    for (int i = 0; i < count; i++) {
        text += Get(i);
        text += "\r\n";
    }
    return text;
}

void TStrings::SetText(const AnsiString& Text)
{
    UpdateScope update(this);
    Clear();
    const char* p = Text.c_str();
    const char* end = p + Text.Length();
    while (p < end) {
        const char* start = p;
        while (p < end && *p != '\r' && *p != '\n') p++;
        Add(AnsiString(start, static_cast<int>(p - start)));
        if (p < end && *p == '\r') p++;
        if (p < end && *p == '\n') p++;
    }
}

namespace {

bool NeedsQuotes(const AnsiString& s)
{
    if (s.IsEmpty()) return true;
    for (int i = 1; i <= s.Length(); i++) {
        unsigned char c = s[i];
        if (c <= ' ' || c == ',' || c == '"') return true;
    }
    return false;
}

AnsiString Quoted(const AnsiString& s)
{
    AnsiString out("\"");
    for (int i = 1; i <= s.Length(); i++) {
        if (s[i] == '"') out += '"';
        out += s[i];
    }
    return out + "\"";
}

bool IsBlank(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

}  // namespace

AnsiString TStrings::GetCommaText() const
{
    AnsiString text;
    int count = GetCount();
    for (int i = 0; i < count; i++) {
        if (i > 0) text += ',';
        AnsiString s = Get(i);
        text += NeedsQuotes(s) ? Quoted(s) : s;
    }
    return text;
}

void TStrings::SetCommaText(const AnsiString& Text)
{
    UpdateScope update(this);
    Clear();
    const char* p = Text.c_str();
    const char* end = p + Text.Length();
    while (p < end && IsBlank(*p)) p++;
    while (p < end) {
        AnsiString item;
        if (*p == '"') {
            // "" inside quotes is one quote; the item ends at a lone quote.
            for (p++; p < end; p++) {
                if (*p == '"' && (p + 1 == end || p[1] != '"')) {
                    p++;
                    break;
                }
                if (*p == '"') p++;
                item += *p;
            }
        } else {
            const char* start = p;
            while (p < end && !IsBlank(*p) && *p != ',') p++;
            item = AnsiString(start, static_cast<int>(p - start));
        }
        Add(item);
        while (p < end && IsBlank(*p)) p++;
        if (p < end && *p == ',') {
            p++;
            while (p < end && IsBlank(*p)) p++;
            if (p == end) Add(AnsiString());  // "a," ends with an empty item
        }
    }
}

AnsiString TStrings::GetNames(int Index) const
{
    AnsiString s = Get(Index);
    int equals = s.Pos("=");
    return equals > 0 ? s.SubString(1, equals - 1) : AnsiString();
}

AnsiString TStrings::GetValues(const AnsiString& Name) const
{
    int index = IndexOfName(Name);
    if (index < 0) return AnsiString();
    AnsiString s = Get(index);
    return s.SubString(s.Pos("=") + 1, s.Length());
}

void TStrings::SetValues(const AnsiString& Name, const AnsiString& Value)
{
    int index = IndexOfName(Name);
    if (Value.IsEmpty()) {
        if (index >= 0) Delete(index);
    } else if (index >= 0) {
        Put(index, Name + "=" + Value);
    } else {
        Add(Name + "=" + Value);
    }
}

void TStrings::Put(int Index, const AnsiString& S)
{
    TObject* object = GetObject(Index);
    UpdateScope update(this);
    Delete(Index);
    InsertObject(Index, S, object);
}

TObject* TStrings::GetObject(int) const
{
    return nullptr;
}

void TStrings::PutObject(int, TObject*) {}

void TStrings::SetUpdateState(bool) {}

int TStrings::CompareStrings(const AnsiString& S1, const AnsiString& S2) const
{
    return S1.AnsiCompareIC(S2);
}
