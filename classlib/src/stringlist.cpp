// TStringList: strings and objects kept in a vector, optionally sorted.
#include "stringlist.h"

#include "exceptions.h"
#include "list.h"
#include "stable_sort.h"

TStringList::~TStringList()
{
    // No change events while going away.
    OnChanging = nullptr;
    OnChange = nullptr;
}

void TStringList::CheckIndex(int Index) const
{
    if (Index < 0 || Index >= GetCount()) ListIndexError(Index);
}

void TStringList::Changing()
{
    if (GetUpdateCount() == 0 && OnChanging) OnChanging(this);
}

void TStringList::Changed()
{
    if (GetUpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::SetUpdateState(bool Updating)
{
    if (Updating) {
        Changing();
    } else {
        Changed();
    }
}

void TStringList::InsertItem(int Index, const AnsiString& S, TObject* AObject)
{
    Changing();
    items_.insert(items_.begin() + Index, Item{S, AObject});
    Changed();
}

int TStringList::Add(const AnsiString& S)
{
    return AddObject(S, nullptr);
}

int TStringList::AddObject(const AnsiString& S, TObject* AObject)
{
    int index = GetCount();
    if (sorted_ && Find(S, index)) {
        if (duplicates_ == dupIgnore) return index;
        if (duplicates_ == dupError) throw EListError("String list does not allow duplicates");
    }
    InsertItem(index, S, AObject);
    return index;
}

void TStringList::Clear()
{
    if (items_.empty()) return;
    Changing();
    items_.clear();
    Changed();
}

void TStringList::Delete(int Index)
{
    CheckIndex(Index);
    Changing();
    items_.erase(items_.begin() + Index);
    Changed();
}

void TStringList::Insert(int Index, const AnsiString& S)
{
    if (sorted_) throw EListError("Operation not allowed on sorted list");
    if (Index < 0 || Index > GetCount()) ListIndexError(Index);
    InsertItem(Index, S, nullptr);
}

void TStringList::Exchange(int Index1, int Index2)
{
    CheckIndex(Index1);
    CheckIndex(Index2);
    Changing();
    std::swap(items_[Index1], items_[Index2]);
    Changed();
}

void TStringList::Move(int CurIndex, int NewIndex)
{
    // Refused before the string is taken out, so that nothing is lost.
    if (sorted_ && CurIndex != NewIndex) throw EListError("Operation not allowed on sorted list");
    CheckIndex(CurIndex);
    TStrings::Move(CurIndex, NewIndex);
}

int TStringList::IndexOf(const AnsiString& S) const
{
    if (!sorted_) return TStrings::IndexOf(S);
    int index = 0;
    return Find(S, index) ? index : -1;
}

bool TStringList::Find(const AnsiString& S, int& Index) const
{
    int low = 0, high = GetCount() - 1;
    bool found = false;
    while (low <= high) {
        int middle = low + (high - low) / 2;
        int c = CompareStrings(items_[middle].string, S);
        if (c < 0) {
            low = middle + 1;
        } else {
            high = middle - 1;
            if (c == 0) found = true;  // keep looking left for the first
        }
    }
    Index = low;
    return found;
}

void TStringList::CustomSort(const TStringListSortCompare& Compare)
{
    if (!Compare || GetCount() < 2) return;
    Changing();
    // The compare function sees indexes, so sort a permutation and apply it.
    std::vector<int> order(items_.size());
    for (size_t i = 0; i < order.size(); i++) order[i] = static_cast<int>(i);
    StableSort(order.data(), static_cast<int>(order.size()),
               [this, &Compare](int a, int b) { return Compare(this, a, b) < 0; });
    std::vector<Item> sorted;
    sorted.reserve(items_.size());
    for (int i : order) sorted.push_back(items_[i]);
    items_.swap(sorted);
    Changed();
}

void TStringList::Sort()
{
    CustomSort([](TStringList* list, int a, int b) {
        return list->CompareStrings(list->items_[a].string, list->items_[b].string);
    });
}

void TStringList::SetSorted(bool Value)
{
    if (Value == sorted_) return;
    if (Value) Sort();
    sorted_ = Value;
}

void TStringList::SetCaseSensitive(bool Value)
{
    if (Value == caseSensitive_) return;
    caseSensitive_ = Value;
    if (sorted_) Sort();
}

AnsiString TStringList::Get(int Index) const
{
    CheckIndex(Index);
    return items_[Index].string;
}

void TStringList::Put(int Index, const AnsiString& S)
{
    if (sorted_) throw EListError("Operation not allowed on sorted list");
    CheckIndex(Index);
    Changing();
    items_[Index].string = S;
    Changed();
}

TObject* TStringList::GetObject(int Index) const
{
    CheckIndex(Index);
    return items_[Index].object;
}

void TStringList::PutObject(int Index, TObject* AObject)
{
    CheckIndex(Index);
    Changing();
    items_[Index].object = AObject;
    Changed();
}

int TStringList::CompareStrings(const AnsiString& S1, const AnsiString& S2) const
{
    return caseSensitive_ ? S1.Compare(S2) : S1.AnsiCompareIC(S2);
}
