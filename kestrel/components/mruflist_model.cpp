#include "mruflist_model.h"

#include <algorithm>
#include <vector>

#include "stringlist.h"
#include "sysutils.h"

void MRUTrim(TStrings* List, int Maximum)
{
    if (Maximum < 0) Maximum = 0;
    while (List->GetCount() > Maximum) List->Delete(List->GetCount() - 1);
}

void MRUInsert(TStrings* List, int Index, const AnsiString& FileName, int Maximum)
{
    int at = List->IndexOf(FileName);
    if (at >= 0) {
        List->Move(at, Index);
        return;
    }
    List->Insert(Index, FileName);
    MRUTrim(List, Maximum);
}

AnsiString MRUCaption(int Number, const AnsiString& Name)
{
    AnsiString escaped;
    for (int i = 1; i <= Name.Length(); ++i) {
        escaped += AnsiString(Name[i]);
        if (Name[i] == '&') escaped += "&";
    }
    return "&" + IntToStr(Number) + " " + escaped;
}

AnsiString MRUValueName(int Index)
{
    return "F" + IntToStr(Index);
}

namespace {

struct TStoredLine {
    bool Numbered;
    long long Number;
    AnsiString Value;
};

// The n of "F<n>" (digits only, any case of F); false for other names.
bool EntryNumber(const AnsiString& name, long long& number)
{
    if (name.Length() < 2 || (name[1] != 'F' && name[1] != 'f')) return false;
    number = 0;
    for (int i = 2; i <= name.Length(); ++i) {
        if (name[i] < '0' || name[i] > '9') return false;
        // Absurdly long digit runs sort last instead of overflowing.
        if (number > 100000000) return true;
        number = number * 10 + (name[i] - '0');
    }
    return true;
}

}  // namespace

void MRUStoredToList(TStrings* Lines)
{
    std::vector<TStoredLine> lines;
    for (int i = 0; i < Lines->GetCount(); ++i) {
        AnsiString line = Lines->GetStrings(i);
        int eq = line.Pos("=");
        AnsiString name = eq > 0 ? line.SubString(1, eq - 1) : line;
        TStoredLine entry;
        entry.Number = 0;
        entry.Numbered = EntryNumber(name, entry.Number);
        entry.Value = line.SubString(eq + 1, line.Length() - eq);
        lines.push_back(entry);
    }
    std::stable_sort(lines.begin(), lines.end(), [](const TStoredLine& a, const TStoredLine& b) {
        if (a.Numbered != b.Numbered) return a.Numbered;
        return a.Numbered && a.Number < b.Number;
    });
    Lines->BeginUpdate();
    Lines->Clear();
    for (const TStoredLine& entry : lines) Lines->Add(entry.Value);
    Lines->EndUpdate();
}
