#include "browser/core/findscan.h"

#include "browser/core/casefold.h"
#include "browser/core/framefile.h"
#include "common/core/text.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {

// Whether record holds foldedSearch when folded. The scan jumps with memchr
// between the one or two bytes that fold to the search's last byte and only
// compares there; the last byte is a rarer anchor than the first in word
// lists (fewer blanks and common initial letters).
bool containsFolded(std::string_view record, std::string_view foldedSearch, const CaseFold& table)
{
    const size_t length = foldedSearch.size();
    if (record.size() < length)
        return false;
    const auto* bytes = reinterpret_cast<const unsigned char*>(record.data());
    const auto* wanted = reinterpret_cast<const unsigned char*>(foldedSearch.data());

    const size_t anchor = length - 1;
    const unsigned char target = wanted[anchor];
    const int sourceCount = table.sourceCount[target];

    const unsigned char* const first = bytes + anchor;
    const unsigned char* const end = bytes + record.size();
    const unsigned char* next[2] = {nullptr, nullptr};
    auto seek = [&](int s, const unsigned char* from) {
        next[s] = from < end ? static_cast<const unsigned char*>(
                                   std::memchr(from, table.sources[target][s], end - from))
                             : nullptr;
    };
    for (int s = 0; s < sourceCount; ++s)
        seek(s, first);
    for (;;) {
        int s = 0;
        if (sourceCount == 2 && next[1] && (!next[0] || next[1] < next[0]))
            s = 1;
        const unsigned char* at = next[s];
        if (!at)
            return false;
        const unsigned char* start = at - anchor;
        size_t k = 0;
        while (k < length && table.capital[start[k]] == wanted[k])
            ++k;
        if (k == length)
            return true;
        seek(s, at + 1);
    }
}

// Whether text holds foldedSearch when folded with the fold in use: UTF-8
// text is folded whole (its letters take two bytes), 8-bit text is scanned
// with the byte table.
bool containsFoldedText(std::string_view text, std::string_view foldedSearch, const CaseFold& table)
{
    if (caseFoldIsUtf8())
        return upperCaseUtf8(std::string(text)).find(foldedSearch) != std::string::npos;
    return containsFolded(text, foldedSearch, table);
}

}  // namespace

std::string normaliseFindText(const std::string& typed)
{
    // Trimmed, then each pair of blanks within written as one (a blank
    // inside is never the last byte, so trimmed[i + 1] exists).
    const std::string_view trimmed = trimBlanks(typed);
    std::string text;
    text.reserve(trimmed.size());
    for (size_t i = 0; i < trimmed.size(); ++i) {
        text += trimmed[i];
        if (trimmed[i] == ' ' && trimmed[i + 1] == ' ')
            ++i;  // the second blank of the pair is dropped
    }
    return text;
}

int32_t findStartIndex(int32_t selectedIndex, bool rowOneWasLastFound)
{
    if (selectedIndex < 1 || (selectedIndex == 1 && !rowOneWasLastFound))
        return 1;
    return selectedIndex + 1;
}

int32_t findFrame(const std::vector<std::string>& frames, int32_t frameCount, int32_t start,
                  const std::string& search, bool matchCase)
{
    if (search.empty())
        return 0;
    const auto last = static_cast<int32_t>(
        std::min<int64_t>(frameCount, static_cast<int64_t>(frames.size()) - 1));
    if (matchCase) {
        for (int32_t i = std::max(start, 1); i <= last; ++i)
            if (std::string_view(frames[i]).find(search) != std::string_view::npos)
                return i;
        return 0;
    }
    const CaseFold& foldTable = caseFold();
    const std::string wanted = upperCase(search);
    for (int32_t i = std::max(start, 1); i <= last; ++i)
        if (containsFoldedText(frames[i], wanted, foldTable))
            return i;
    return 0;
}

const char matchBeyondNote[] = "  (the match lies beyond the part shown)";

bool matchLiesBeyondShownPart(const std::string& record, const std::string& search, bool matchCase)
{
    if (search.empty())
        return false;
    const std::string_view whole = wholeVariantLines(record);
    const std::string shown = variantLines(record);
    if (matchCase)
        return whole.find(search) != std::string_view::npos && shown.find(search) == std::string::npos;
    const CaseFold& foldTable = caseFold();
    const std::string wanted = upperCase(search);
    return containsFoldedText(whole, wanted, foldTable) && !containsFoldedText(shown, wanted, foldTable);
}

std::string notFoundText(const std::string& findText)
{
    return "\"" + findText + "\"" + "\r" + " not found in specified context.";
}
