// The list sort on any keys. Byte 0 chooses the direction (bit 0) and the
// keys (bits 1-2): 0 signed 32-bit numbers from 4 bytes each, 1 small
// numbers from 1 byte each (many equal keys), 2 and 3 texts, one per line.
// The result must be a permutation carried along with its keys, in order,
// and with equal keys exactly where the written steps put them.
#include "browser/core/listsort.h"

#include "fuzzcheck.h"

#include <algorithm>
#include <cstring>

namespace {

// The sort's steps as written: plain recursion on both sides, left first.
template <class Key>
void writtenStepsSort(std::vector<Key>& keys, std::vector<int32_t>& carried, int32_t lo, int32_t hi,
                      bool descending)
{
    auto before = [&](const Key& a, const Key& b) { return descending ? keyLess(b, a) : keyLess(a, b); };
    Key p = keys[lo + (hi - lo) / 2];
    int32_t i = lo, j = hi;
    while (i <= j) {
        while (before(keys[i], p) && i < hi)
            i++;
        while (before(p, keys[j]) && j > lo)
            j--;
        if (i < j) {
            std::swap(keys[i], keys[j]);
            std::swap(carried[i], carried[j]);
        }
        if (i <= j) {
            i++;
            j--;
        }
    }
    if (lo < j)
        writtenStepsSort(keys, carried, lo, j, descending);
    if (i < hi)
        writtenStepsSort(keys, carried, i, hi, descending);
}

template <class Key>
void check(const std::vector<Key>& original, bool descending, int32_t lo, int32_t hi)
{
    std::vector<Key> keys = original;
    std::vector<int32_t> carried(keys.size());
    for (size_t k = 0; k < carried.size(); ++k)
        carried[k] = static_cast<int32_t>(k);
    std::vector<Key> stepsKeys = keys;
    std::vector<int32_t> stepsCarried = carried;

    listSort(keys, &carried, lo, hi, descending);

    // Outside the range nothing moves; inside, each key stays with the
    // element it came with, and every element is there once.
    std::vector<bool> seen(keys.size(), false);
    for (size_t k = 0; k < keys.size(); ++k) {
        const int32_t from = carried[k];
        FUZZ_CHECK(from >= 0 && static_cast<size_t>(from) < keys.size());
        FUZZ_CHECK(!seen[static_cast<size_t>(from)]);
        seen[static_cast<size_t>(from)] = true;
        FUZZ_CHECK(!keyLess(keys[k], original[static_cast<size_t>(from)]) &&
                   !keyLess(original[static_cast<size_t>(from)], keys[k]));
        if (static_cast<int32_t>(k) < lo || static_cast<int32_t>(k) > hi)
            FUZZ_CHECK(from == static_cast<int32_t>(k));
    }
    for (int32_t k = lo; k < hi; ++k)
        FUZZ_CHECK(descending ? !keyLess(keys[k], keys[k + 1]) : !keyLess(keys[k + 1], keys[k]));

    if (lo < hi)
        writtenStepsSort(stepsKeys, stepsCarried, lo, hi, descending);
    FUZZ_CHECK(carried == stepsCarried);

    // Without carried elements the keys end the same.
    std::vector<Key> alone = original;
    listSort(alone, lo, hi, descending);
    FUZZ_CHECK(alone == keys);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input{data, size};
    const uint8_t options = input.byte();
    const bool descending = (options & 1) != 0;
    const int kind = (options >> 1) & 3;
    // Bits 3-7 narrow the range from the top, so partial ranges are sorted too.
    const int32_t trim = options >> 3;

    if (kind == 2 || kind == 3) {
        std::vector<std::string> keys(1);
        while (input.size > 0)
            keys.push_back(input.takeUntil('\n'));
        const int32_t n = static_cast<int32_t>(keys.size()) - 1;
        check(keys, descending, 1, std::max<int32_t>(0, n - trim));
    } else {
        std::vector<int32_t> keys(1);
        while (input.size > 0) {
            if (kind == 0) {
                uint32_t bits = 0;
                for (int b = 0; b < 4; ++b)
                    bits |= static_cast<uint32_t>(input.byte()) << (8 * b);
                int32_t key;
                std::memcpy(&key, &bits, sizeof key);
                keys.push_back(key);
            } else {
                keys.push_back(static_cast<int8_t>(input.byte()) / 16);
            }
        }
        const int32_t n = static_cast<int32_t>(keys.size()) - 1;
        check(keys, descending, 1, std::max<int32_t>(0, n - trim));
    }
    return 0;
}
