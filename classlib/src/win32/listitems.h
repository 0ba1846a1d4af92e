// The Items of list boxes and combo boxes (internal to the standard
// controls): the strings and objects live here, and are mirrored into the
// control's window while it has one, so they survive RecreateWnd.
#ifndef CLASSLIB_WIN32_LISTITEMS_H
#define CLASSLIB_WIN32_LISTITEMS_H

#include <vector>

#include "stdctrls.h"

// The messages one kind of system list understands.
struct TListMessages {
    UINT InsertString;
    UINT DeleteString;
    UINT ResetContent;
    UINT GetCurSel;
    UINT SetCurSel;
    int Error;       // LB_ERR / CB_ERR
    int ErrorSpace;  // LB_ERRSPACE / CB_ERRSPACE
};

extern const TListMessages ListBoxMessages;
extern const TListMessages ComboBoxMessages;

class TListItems : public TStrings {
public:
    TListItems(TWinControl* control, const TListMessages& messages);
    ~TListItems() override;

    int Add(const AnsiString& S) override;
    int AddObject(const AnsiString& S, TObject* AObject) override;
    void Clear() override;
    void Delete(int Index) override;
    void Insert(int Index, const AnsiString& S) override;
    int GetCount() const override { return static_cast<int>(items_.size()); }

    bool GetSorted() const { return sorted_; }
    void SetSorted(bool Value);

    // The selection: the window's while it exists, the kept one otherwise.
    int GetItemIndex() const;
    // Raises EListError outside -1..Count-1.
    void SetItemIndex(int Value);

    // The window was made: fill it. It is going: keep its selection.
    void WindowCreated();
    void WindowDestroying();

protected:
    AnsiString Get(int Index) const override;
    TObject* GetObject(int Index) const override;
    void PutObject(int Index, TObject* AObject) override;

private:
    struct Item {
        AnsiString String;
        TObject* Object;
    };

    HWND Window() const;
    void InsertItem(int Index, const AnsiString& S, TObject* AObject);
    void SendInsert(int Index, const AnsiString& S);
    void CheckIndex(int Index) const;
    int SortedPlace(const AnsiString& S) const;

    TWinControl* control_;
    const TListMessages& msgs_;
    std::vector<Item> items_;
    bool sorted_ = false;
    int itemIndex_ = -1;  // while there is no window
};

#endif
