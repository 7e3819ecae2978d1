#include "browser/core/listsort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

// The list sort's steps exactly as users' equal-key orders depend on them:
// plain recursion on both sides, left side first.
template <class Key>
void writtenStepsSort(std::vector<Key>& keys, std::vector<int>& carried, int32_t lo, int32_t hi,
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

std::string labelsOf(const std::vector<char>& labels)
{
    return std::string(labels.begin() + 1, labels.end());
}

} // namespace

// Orders of equal keys worked out by hand from the steps (position 0 unused).
TEST(ListSort, EqualKeysEndWhereTheStepsPutThem)
{
    {
        std::vector<int32_t> keys{0, 2, 1, 2, 1};
        std::vector<char> labels{'-', 'a', 'b', 'c', 'd'};
        listSort(keys, &labels, 1, 4, false);
        EXPECT_EQ(keys, (std::vector<int32_t>{0, 1, 1, 2, 2}));
        EXPECT_EQ(labelsOf(labels), "dbac");
    }
    {
        std::vector<int32_t> keys{0, 5, 5, 5, 5, 5};
        std::vector<char> labels{'-', 'a', 'b', 'c', 'd', 'e'};
        listSort(keys, &labels, 1, 5, false);
        EXPECT_EQ(labelsOf(labels), "decab");
        listSort(keys, &labels, 1, 5, true);
        EXPECT_EQ(labelsOf(labels), "abcde") << "each sort starts from the previous order";
    }
    {
        std::vector<int32_t> keys{0, 3, 1, 3, 2, 3};
        std::vector<char> labels{'-', 'a', 'b', 'c', 'd', 'e'};
        listSort(keys, &labels, 1, 5, true);
        EXPECT_EQ(keys, (std::vector<int32_t>{0, 3, 3, 3, 2, 1}));
        EXPECT_EQ(labelsOf(labels), "ceadb");
    }
}

TEST(ListSort, TextsInByteOrder)
{
    std::vector<std::string> keys{"", "b", "B", "ab", "a", "\xe9t", "Zed", "a b", "a"};
    listSort(keys, 1, 8, false);
    EXPECT_EQ(keys, (std::vector<std::string>{"", "B", "Zed", "a", "a", "a b", "ab", "b", "\xe9t"}));
    listSort(keys, 1, 8, true);
    EXPECT_EQ(keys, (std::vector<std::string>{"", "\xe9t", "b", "ab", "a b", "a", "a", "Zed", "B"}));
}

TEST(ListSort, SignedNumbers)
{
    std::vector<int32_t> keys{99, 10, -1, INT32_MIN, 9, INT32_MAX, 0};
    listSort(keys, 1, 6, true);
    EXPECT_EQ(keys, (std::vector<int32_t>{99, INT32_MAX, 10, 9, 0, -1, INT32_MIN}));
}

TEST(ListSort, SortsOnlyTheGivenRange)
{
    std::vector<int32_t> keys{0, 9, 8, 7, 6, 5, 4};
    listSort(keys, 2, 5, false);
    EXPECT_EQ(keys, (std::vector<int32_t>{0, 9, 5, 6, 7, 8, 4}));
    listSort(keys, 3, 3, false);
    listSort(keys, 4, 3, false);
    EXPECT_EQ(keys, (std::vector<int32_t>{0, 9, 5, 6, 7, 8, 4}));
}

namespace {

// Sorts keys[1..n] carrying their original positions and checks the result
// against a plain sort (same multiset, in order, each key still paired with
// its element) and against the written steps (same order of equal keys).
template <class Key>
void checkAgainstReferences(std::vector<Key> keys, bool descending, int round)
{
    const int32_t n = static_cast<int32_t>(keys.size()) - 1;
    std::vector<int> carried(keys.size());
    for (int32_t k = 0; k <= n; ++k)
        carried[k] = k;
    const std::vector<Key> original = keys;
    std::vector<Key> stepsKeys = keys;
    std::vector<int> stepsCarried = carried;

    listSort(keys, &carried, 1, n, descending);

    std::vector<Key> expected(original.begin() + 1, original.end());
    std::sort(expected.begin(), expected.end(), [&](const Key& a, const Key& b) {
        return descending ? keyLess(b, a) : keyLess(a, b);
    });
    ASSERT_EQ(std::vector<Key>(keys.begin() + 1, keys.end()), expected) << "round " << round;
    for (int32_t k = 1; k <= n; ++k)
        ASSERT_EQ(original[carried[k]], keys[k]) << "round " << round << " position " << k;

    if (n > 0)
        writtenStepsSort(stepsKeys, stepsCarried, 1, n, descending);
    ASSERT_EQ(carried, stepsCarried) << "round " << round;
}

} // namespace

TEST(ListSort, RandomNumbersMatchReferences)
{
    std::mt19937 random(20061013);
    for (int round = 0; round < 3000; ++round) {
        int32_t n = static_cast<int32_t>(random() % 120);
        int32_t spread = round % 3 == 0 ? 3 : round % 3 == 1 ? 40 : 1000000;
        std::vector<int32_t> keys(n + 1);
        for (int32_t k = 1; k <= n; ++k)
            keys[k] = static_cast<int32_t>(random() % spread) - spread / 2;
        checkAgainstReferences(keys, round % 2 == 1, round);
    }
}

TEST(ListSort, RandomTextsMatchReferences)
{
    std::mt19937 random(1306);
    const char* pieces[] = {"a", "b", "A", "the", "\xe4", " ", "*"};
    for (int round = 0; round < 1000; ++round) {
        int32_t n = static_cast<int32_t>(random() % 60);
        std::vector<std::string> keys(n + 1);
        for (int32_t k = 1; k <= n; ++k) {
            int words = static_cast<int>(random() % 3);
            for (int w = 0; w < words; ++w)
                keys[k] += pieces[random() % 7];
        }
        checkAgainstReferences(keys, round % 2 == 0, round);
    }
}

TEST(ListSort, LargeArraysOfEqualOrSortedKeys)
{
    const int32_t n = 200000;
    std::vector<int32_t> keys(n + 1, 7);
    std::vector<int> carried(n + 1);
    listSort(keys, &carried, 1, n, false);
    for (int32_t k = 1; k <= n; ++k)
        keys[k] = n - k;
    listSort(keys, &carried, 1, n, false);
    for (int32_t k = 1; k <= n; ++k)
        ASSERT_EQ(keys[k], k - 1);
}
