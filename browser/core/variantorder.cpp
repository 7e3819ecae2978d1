#include "variantorder.h"

#include "browser/core/framefile.h"
#include "browser/core/listsort.h"
#include "browser/core/panetext.h"
#include "common/core/text.h"

#include <cstring>

bool variantsNeedOrdering(bool alphabeticalWanted, int32_t fileIsFreqOrder, bool force)
{
    if (force)
        return true;
    return alphabeticalWanted ? fileIsFreqOrder == 1 : fileIsFreqOrder == 0;
}

void orderVariants(std::string& text, bool alphabeticalWanted, int32_t fileIsFreqOrder, bool force)
{
    if (!variantsNeedOrdering(alphabeticalWanted, fileIsFreqOrder, force))
        return;

    std::vector<std::string> lines(1);
    for (std::string_view line : splitCrLfLines(text))
        lines.emplace_back(line);
    const int32_t lineCount = static_cast<int32_t>(lines.size() - 1);

    if (alphabeticalWanted) {
        listSort(lines, 1, lineCount, false);
    } else {
        std::vector<int32_t> keys(lines.size());
        for (size_t k = 1; k < lines.size(); ++k) {
            const std::string& line = lines[k];
            const void* tab = std::memchr(line.data(), '\t', line.size());
            if (tab == nullptr)
                continue;
            const char* after = static_cast<const char*>(tab) + 1;
            keys[k] = numberKey(after, static_cast<size_t>(line.data() + line.size() - after));
        }
        sortByFrequency(lines, keys);
    }

    std::string joined;
    joined.reserve(text.size());
    for (size_t k = 1; k < lines.size(); ++k) {
        if (k > 1)
            joined += "\r\n";
        joined += lines[k];
    }
    text.swap(joined);
}

PaneVariants paneVariants(const std::string& record, bool alphabeticalWanted, int32_t fileIsFreqOrder, bool force)
{
    const std::string_view whole = wholeVariantLines(record);
    PaneExcerpt excerpt;
    PaneVariants shown;
    if (variantsNeedOrdering(alphabeticalWanted, fileIsFreqOrder, force)) {
        std::string ordered(whole);
        orderVariants(ordered, alphabeticalWanted, fileIsFreqOrder, true);
        excerpt = paneExcerpt(ordered);
        shown.note = excerptNote(ordered, excerpt);
    } else {
        excerpt = paneExcerpt(whole);
        shown.note = excerptNote(whole, excerpt);
    }
    shown.text.swap(excerpt.text);
    blankNuls(shown.text);
    return shown;
}

void sortByFrequency(std::vector<std::string>& lines, std::vector<int32_t>& keys)
{
    if (lines.size() < 2)
        return;
    const int32_t m = static_cast<int32_t>(lines.size() - 1);
    listSort(keys, &lines, 1, m, true);

    int32_t i = 1;
    int32_t runs = 0;
    do {
        int32_t runEnd = i;
        while (runEnd < m && !(keys[static_cast<size_t>(runEnd + 1)] < keys[static_cast<size_t>(i)]))
            ++runEnd;
        if (runEnd > i)
            listSort(lines, i, runEnd, false);
        i = runEnd + 1;
        ++runs;
    } while (i < m && runs < 12);
}
