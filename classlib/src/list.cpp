#include "list.h"

#include <stdlib.h>
#include <string.h>

#include "exceptions.h"
#include "stable_sort.h"

namespace {

// Past this many pointers the block size would leave the 32-bit range.
const int kMaxListSize = 0x7FFFFFFF / static_cast<int>(sizeof(void*)) - 16;

}  // namespace

void ListIndexError(int index)
{
    AnsiString msg;
    msg.sprintf("List index out of bounds (%d)", index);
    throw EListError(msg);
}

TList::~TList()
{
    free(items_);
}

void TList::CheckIndex(int index) const
{
    if (index < 0 || index >= count_) ListIndexError(index);
}

// Grows by a quarter (at least 4, at least 16 once past 8), as the class
// library does, so that Add is amortised constant time.
void TList::Grow()
{
    int delta = capacity_ > 64 ? capacity_ / 4 : (capacity_ > 8 ? 16 : 4);
    if (capacity_ > kMaxListSize - delta) delta = kMaxListSize - capacity_;
    if (delta <= 0) throw EOutOfMemory();
    SetCapacity(capacity_ + delta);
}

void TList::SetCapacity(int newCapacity)
{
    if (newCapacity < count_) {
        throw EListError("List capacity out of bounds (" + AnsiString(newCapacity) + ")");
    }
    if (newCapacity > kMaxListSize) throw EOutOfMemory();
    if (newCapacity == capacity_) return;
    if (newCapacity == 0) {
        free(items_);
        items_ = nullptr;
        capacity_ = 0;
        return;
    }
    void** block = static_cast<void**>(realloc(items_, newCapacity * sizeof(void*)));
    if (!block) throw EOutOfMemory();
    items_ = block;
    capacity_ = newCapacity;
}

void TList::SetCount(int newCount)
{
    if (newCount < 0 || newCount > kMaxListSize) {
        throw EListError("List count out of bounds (" + AnsiString(newCount) + ")");
    }
    if (newCount > capacity_) SetCapacity(newCount);
    if (newCount > count_) memset(items_ + count_, 0, (newCount - count_) * sizeof(void*));
    count_ = newCount;
}

int TList::Add(void* item)
{
    Insert(count_, item);
    return count_ - 1;
}

void TList::Insert(int index, void* item)
{
    if (index < 0 || index > count_) ListIndexError(index);
    if (count_ == capacity_) Grow();
    memmove(items_ + index + 1, items_ + index, (count_ - index) * sizeof(void*));
    items_[index] = item;
    count_++;
}

void TList::Delete(int index)
{
    CheckIndex(index);
    count_--;
    memmove(items_ + index, items_ + index + 1, (count_ - index) * sizeof(void*));
}

int TList::Remove(void* item)
{
    int index = IndexOf(item);
    if (index >= 0) Delete(index);
    return index;
}

int TList::IndexOf(void* item) const
{
    for (int i = 0; i < count_; i++) {
        if (items_[i] == item) return i;
    }
    return -1;
}

void TList::Clear()
{
    count_ = 0;
    SetCapacity(0);
}

void TList::Exchange(int index1, int index2)
{
    CheckIndex(index1);
    CheckIndex(index2);
    void* keep = items_[index1];
    items_[index1] = items_[index2];
    items_[index2] = keep;
}

void TList::Move(int curIndex, int newIndex)
{
    if (curIndex == newIndex) return;
    CheckIndex(curIndex);
    CheckIndex(newIndex);
    void* item = items_[curIndex];
    Delete(curIndex);
    Insert(newIndex, item);  // cannot grow: Delete just made room
}

void TList::Sort(const TListSortCompare& compare)
{
    if (!compare) return;
    StableSort(items_, count_, [&compare](void* a, void* b) { return compare(a, b) < 0; });
}

void* TList::First() const
{
    CheckIndex(0);
    return items_[0];
}

void* TList::Last() const
{
    CheckIndex(count_ - 1);
    return items_[count_ - 1];
}

void* TList::GetItems(int index) const
{
    CheckIndex(index);
    return items_[index];
}

void TList::SetItems(int index, void* item)
{
    CheckIndex(index);
    items_[index] = item;
}
