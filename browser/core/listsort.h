// The list sort: an in-place quicksort with a middle pivot, used for the
// frame list and for the variant lines. It is not stable; equal keys end in
// the order these exact steps give, which users see when a column with many
// equal values is clicked again, so the steps must not change.
#pragma once
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Signed 32-bit order.
inline bool keyLess(int32_t a, int32_t b)
{
    return a < b;
}

// Signed 64-bit order (the measures of a Stats file).
inline bool keyLess(int64_t a, int64_t b)
{
    return a < b;
}

// Byte order: bytes compared as unsigned values, no case folding; when one
// text begins with the other, the shorter comes first.
inline bool keyLess(std::string_view a, std::string_view b)
{
    size_t common = a.size() < b.size() ? a.size() : b.size();
    int order = common == 0 ? 0 : std::memcmp(a.data(), b.data(), common);
    return order != 0 ? order < 0 : a.size() < b.size();
}

inline bool keyLess(const std::string& a, const std::string& b)
{
    return keyLess(std::string_view(a), std::string_view(b));
}

// Sorts keys[lo..hi] in place, exchanging (*carried)[k] together with keys[k]
// when carried is not null; carried elements are swapped, never copied.
// Ascending: the pivot p is a copy of the key in the middle of the range;
// i runs up while key(i) < p, j runs down while p < key(j); keys i and j are
// exchanged when i < j, and both step on while i <= j. Then lo..j and i..hi
// are sorted. Descending reverses both comparisons.
//
// The two subranges are disjoint, so sorting them in either order gives the
// same result; the smaller one is sorted by recursion and the larger one by
// the loop, which keeps the recursion depth logarithmic on a million keys.
template <class Key, class Carried>
void listSort(std::vector<Key>& keys, std::vector<Carried>* carried, int32_t lo, int32_t hi,
              bool descending)
{
    while (lo < hi) {
        const Key pivot = keys[static_cast<size_t>(lo + (hi - lo) / 2)];
        int32_t i = lo;
        int32_t j = hi;
        while (i <= j) {
            if (descending) {
                while (keyLess(pivot, keys[static_cast<size_t>(i)]) && i < hi)
                    ++i;
                while (keyLess(keys[static_cast<size_t>(j)], pivot) && j > lo)
                    --j;
            } else {
                while (keyLess(keys[static_cast<size_t>(i)], pivot) && i < hi)
                    ++i;
                while (keyLess(pivot, keys[static_cast<size_t>(j)]) && j > lo)
                    --j;
            }
            if (i < j) {
                std::swap(keys[static_cast<size_t>(i)], keys[static_cast<size_t>(j)]);
                if (carried != nullptr)
                    std::swap((*carried)[static_cast<size_t>(i)], (*carried)[static_cast<size_t>(j)]);
            }
            if (i <= j) {
                ++i;
                --j;
            }
        }
        if (j - lo < hi - i) {
            if (lo < j)
                listSort(keys, carried, lo, j, descending);
            lo = i;
        } else {
            if (i < hi)
                listSort(keys, carried, i, hi, descending);
            hi = j;
        }
    }
}

// Sorts keys[lo..hi] with nothing carried along.
template <class Key>
void listSort(std::vector<Key>& keys, int32_t lo, int32_t hi, bool descending)
{
    listSort(keys, static_cast<std::vector<Key>*>(nullptr), lo, hi, descending);
}
