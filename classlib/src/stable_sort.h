// A stable merge sort for the class library's lists.
//
// The standard sorts assume the compare function is a strict weak order and
// may run past the ends of the range when it is not; a caller's compare
// function (TList::Sort, TStringList::CustomSort) is not trusted that far.
// Every index here is bounded by the run lengths alone.
#ifndef CLASSLIB_STABLE_SORT_H
#define CLASSLIB_STABLE_SORT_H

#include <utility>
#include <vector>

// goesBefore(a, b) is true when a must come before b; items for which it is
// false both ways keep their order.
template <typename T, typename Before>
void StableSort(T* items, int count, Before goesBefore)
{
    if (count < 2) return;
    std::vector<T> scratch(items, items + count);
    T* src = items;
    T* dst = scratch.data();
    // Bottom-up: runs of width 1, 2, 4, ... merged from src into dst.
    for (int width = 1; width < count; width *= 2) {
        for (int left = 0; left < count; left += 2 * width) {
            int middle = width < count - left ? left + width : count;
            int right = width < count - middle ? middle + width : count;
            int i = left, j = middle, k = left;
            while (i < middle && j < right) {
                dst[k++] = goesBefore(src[j], src[i]) ? src[j++] : src[i++];
            }
            while (i < middle) dst[k++] = src[i++];
            while (j < right) dst[k++] = src[j++];
        }
        std::swap(src, dst);
    }
    if (src != items) {
        for (int n = 0; n < count; n++) items[n] = std::move(src[n]);
    }
}

#endif
