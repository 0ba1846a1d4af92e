// TStrings, the abstract list of strings with attached objects, and
// TStringList, the one that keeps its strings in memory.
//
// Controls (list box, combo box, memo) subclass TStrings for their Items and
// Lines: they implement Get, GetCount, Insert, Delete and Clear, and may
// override Put, GetObject, PutObject and SetUpdateState; the rest (Text,
// CommaText, Values, Move, Assign, files) is built on those here.
//
// Indexes are 0-based; a bad one raises EListError "List index out of bounds
// (i)". IndexOf and the Values look-ups ignore ASCII case, as the class
// library's lists do by default (TStringList::SetCaseSensitive changes it).
// Objects attached to strings are never owned.
#ifndef CLASSLIB_STRINGLIST_H
#define CLASSLIB_STRINGLIST_H

#include <functional>
#include <vector>

#include "ansistring.h"
#include "component.h"

class TStream;

class TStrings : public TPersistent {
public:
    ~TStrings() override;

    virtual int Add(const AnsiString& S);  // the new string's index
    virtual int AddObject(const AnsiString& S, TObject* AObject);
    void Append(const AnsiString& S) { Add(S); }
    void AddStrings(TStrings* Strings);
    // Copies the strings and objects of another TStrings.
    void Assign(TPersistent* Source) override;
    virtual void Clear() = 0;
    virtual void Delete(int Index) = 0;
    virtual void Insert(int Index, const AnsiString& S) = 0;
    void InsertObject(int Index, const AnsiString& S, TObject* AObject);
    virtual void Exchange(int Index1, int Index2);
    // The string (and its object) at CurIndex ends at NewIndex.
    virtual void Move(int CurIndex, int NewIndex);
    // First index of S (compared by CompareStrings), -1 when absent.
    virtual int IndexOf(const AnsiString& S) const;
    int IndexOfName(const AnsiString& Name) const;
    int IndexOfObject(TObject* AObject) const;
    // Same count and the same strings, case and all.
    bool Equals(const TStrings* Strings) const;

    // Nested pairs are counted; SetUpdateState hears only the outer pair.
    void BeginUpdate();
    void EndUpdate();

    // Text from the stream's position to its end, split into lines.
    void LoadFromStream(TStream* Stream);
    void SaveToStream(TStream* Stream) const;
    // In the Windows build only (EFOpenError / EFCreateError).
    void LoadFromFile(const AnsiString& FileName);
    void SaveToFile(const AnsiString& FileName) const;

    virtual int GetCount() const = 0;
    AnsiString GetStrings(int Index) const { return Get(Index); }
    void SetStrings(int Index, const AnsiString& S) { Put(Index, S); }
    TObject* GetObjects(int Index) const { return GetObject(Index); }
    void SetObjects(int Index, TObject* AObject) { PutObject(Index, AObject); }

    // Each string followed by CR LF. Setting splits at CR LF, LF or CR; a
    // final line break adds no empty string.
    AnsiString GetText() const;
    virtual void SetText(const AnsiString& Text);
    // Strings separated by commas, quoted ("a b","say ""hi""") when they hold
    // blanks, commas or quotes. Setting also splits unquoted text at blanks.
    AnsiString GetCommaText() const;
    void SetCommaText(const AnsiString& Text);
    // For "name=value" strings: the name (empty without '='), and the value
    // of the first string with that name. Setting an empty value deletes the
    // string; setting a new name adds one.
    AnsiString GetNames(int Index) const;
    AnsiString GetValues(const AnsiString& Name) const;
    void SetValues(const AnsiString& Name, const AnsiString& Value);

    int GetUpdateCount() const { return updateCount_; }

protected:
    TStrings() = default;

    virtual AnsiString Get(int Index) const = 0;
    // Default: replaces the string through Delete and Insert, keeping its object.
    virtual void Put(int Index, const AnsiString& S);
    // Default: no objects (nullptr; storing one does nothing).
    virtual TObject* GetObject(int Index) const;
    virtual void PutObject(int Index, TObject* AObject);
    // Updating is true at the outer BeginUpdate, false at its EndUpdate.
    virtual void SetUpdateState(bool Updating);
    // < 0, 0, > 0; the default ignores ASCII case.
    virtual int CompareStrings(const AnsiString& S1, const AnsiString& S2) const;

private:
    int updateCount_ = 0;
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList;
using TStringListSortCompare = std::function<int(TStringList* List, int Index1, int Index2)>;

class TStringList : public TStrings {
public:
    TStringList() = default;
    ~TStringList() override;

    // In a sorted list the string goes to its place; a duplicate is then
    // dropped (dupIgnore, the old index is returned), kept (dupAccept) or
    // refused with EListError (dupError). Duplicates of an unsorted list are
    // always kept.
    int Add(const AnsiString& S) override;
    int AddObject(const AnsiString& S, TObject* AObject) override;
    void Clear() override;
    void Delete(int Index) override;
    // A sorted list refuses Insert (and so Move) with EListError.
    void Insert(int Index, const AnsiString& S) override;
    void Exchange(int Index1, int Index2) override;
    void Move(int CurIndex, int NewIndex) override;
    int IndexOf(const AnsiString& S) const override;
    // Binary search of a sorted list: true and the first match's index, or
    // false and the index where S would go. Meaningless when not sorted.
    bool Find(const AnsiString& S, int& Index) const;
    // Stable; Compare gets indexes into this list.
    void CustomSort(const TStringListSortCompare& Compare);
    virtual void Sort();

    int GetCount() const override { return static_cast<int>(items_.size()); }
    bool GetSorted() const { return sorted_; }
    void SetSorted(bool Value);  // sorts when switched on
    TDuplicates GetDuplicates() const { return duplicates_; }
    void SetDuplicates(TDuplicates Value) { duplicates_ = Value; }
    bool GetCaseSensitive() const { return caseSensitive_; }
    void SetCaseSensitive(bool Value);  // re-sorts a sorted list

    // Fired around every change, but only outside BeginUpdate/EndUpdate
    // (once for the whole update at EndUpdate).
    TNotifyEvent OnChanging;
    TNotifyEvent OnChange;

protected:
    AnsiString Get(int Index) const override;
    // A sorted list refuses Put with EListError.
    void Put(int Index, const AnsiString& S) override;
    TObject* GetObject(int Index) const override;
    void PutObject(int Index, TObject* AObject) override;
    void SetUpdateState(bool Updating) override;
    int CompareStrings(const AnsiString& S1, const AnsiString& S2) const override;
    virtual void Changing();
    virtual void Changed();

private:
    struct Item {
        AnsiString string;
        TObject* object;
    };

    void CheckIndex(int Index) const;
    void InsertItem(int Index, const AnsiString& S, TObject* AObject);

    std::vector<Item> items_;
    bool sorted_ = false;
    bool caseSensitive_ = false;
    TDuplicates duplicates_ = dupIgnore;
};

#endif
