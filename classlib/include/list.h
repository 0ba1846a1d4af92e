// TList: a growable list of untyped pointers, as the class library has it.
//
// The list never owns what its items point at. Indexes are 0-based; an index
// outside the list raises EListError "List index out of bounds (i)". Sort is
// stable and safe with a compare function that is not a consistent order
// (it may give a strange order, never a crash).
#ifndef CLASSLIB_LIST_H
#define CLASSLIB_LIST_H

#include <functional>

// < 0 when Item1 goes first, 0 when equal, > 0 when Item2 goes first.
using TListSortCompare = std::function<int(void* Item1, void* Item2)>;

class TList {
public:
    TList() = default;
    TList(const TList&) = delete;
    TList& operator=(const TList&) = delete;
    virtual ~TList();

    int Add(void* item);  // the new item's index
    void Insert(int index, void* item);  // index may be Count (append)
    void Delete(int index);
    int Remove(void* item);  // the index it had, -1 when absent
    int IndexOf(void* item) const;  // first occurrence, -1 when absent
    void Clear();
    void Exchange(int index1, int index2);
    // The item at curIndex ends at newIndex; the others close up around it.
    void Move(int curIndex, int newIndex);
    void Sort(const TListSortCompare& compare);
    void* First() const;  // EListError on an empty list
    void* Last() const;

    void* GetItems(int index) const;
    void SetItems(int index, void* item);
    int GetCount() const { return count_; }
    // Shrinking below Count raises EListError; growing past the address
    // space raises EOutOfMemory.
    int GetCapacity() const { return capacity_; }
    void SetCapacity(int newCapacity);
    // Extends with null items or cuts the tail.
    void SetCount(int newCount);
    // The items as one block (null while empty): for fast read-only walks.
    void* const* List() const { return items_; }

private:
    void CheckIndex(int index) const;
    void Grow();

    void** items_ = nullptr;
    int count_ = 0;
    int capacity_ = 0;
};

// Raises EListError "List index out of bounds (index)"; shared by the lists
// of the class library so that every one says it the same way.
[[noreturn]] void ListIndexError(int index);

#endif
