// The variant order of a frame. Byte 0 holds the options: bit 0 alphabetical
// wanted, bit 1 a frequency file, bit 2 forced (so '0'..'7' give every
// choice); the rest is the variant text. The lines stay the same lines;
// alphabetical gives byte order; by frequency gives falling numbers with the
// ties of the first twelve runs in byte order.
#include "browser/core/framefile.h"
#include "browser/core/variantorder.h"

#include "fuzzcheck.h"

#include <algorithm>
#include <cstring>

namespace {

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    for (size_t start = 0;;) {
        size_t end = text.find("\r\n", start);
        lines.push_back(text.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos)
            return lines;
        start = end + 2;
    }
}

int32_t frequencyOf(const std::string& line)
{
    const size_t tab = line.find('\t');
    return tab == std::string::npos ? 0 : numberKey(line.data() + tab + 1, line.size() - tab - 1);
}

// Lines in falling frequency; within the first twelve runs of equal
// frequency, in byte order.
void checkFrequencyOrder(const std::vector<std::string>& lines)
{
    int runs = 0;
    for (size_t k = 0; k < lines.size(); ++k) {
        if (k > 0) {
            const int32_t previous = frequencyOf(lines[k - 1]), current = frequencyOf(lines[k]);
            FUZZ_CHECK(previous >= current);
            if (previous == current && runs <= 12)
                FUZZ_CHECK(!(lines[k] < lines[k - 1]));
            if (previous != current)
                ++runs;
        } else {
            runs = 1;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input{data, size};
    const uint8_t options = input.byte();
    const bool alphabetical = (options & 1) != 0;
    const int32_t fileIsFreqOrder = (options >> 1) & 1;
    const bool force = (options & 4) != 0;
    const std::string original = input.rest();

    std::string text = original;
    orderVariants(text, alphabetical, fileIsFreqOrder, force);
    if (!variantsNeedOrdering(alphabetical, fileIsFreqOrder, force)) {
        FUZZ_CHECK(!force && alphabetical == (fileIsFreqOrder == 0));
        FUZZ_CHECK(text == original);
        return 0;
    }
    FUZZ_CHECK(text.size() == original.size());

    std::vector<std::string> before = linesOf(original), after = linesOf(text);
    FUZZ_CHECK(before.size() == after.size());
    if (alphabetical) {
        FUZZ_CHECK(std::is_sorted(after.begin(), after.end()));
    } else {
        checkFrequencyOrder(after);
    }
    std::sort(before.begin(), before.end());
    std::vector<std::string> afterSorted = after;
    std::sort(afterSorted.begin(), afterSorted.end());
    FUZZ_CHECK(before == afterSorted);

    // Called directly, the keys travel with their lines.
    std::vector<std::string> lines(1);
    std::vector<int32_t> keys(1);
    for (const std::string& line : linesOf(original)) {
        lines.push_back(line);
        keys.push_back(frequencyOf(line));
    }
    sortByFrequency(lines, keys);
    for (size_t k = 1; k < lines.size(); ++k)
        FUZZ_CHECK(keys[k] == frequencyOf(lines[k]));
    checkFrequencyOrder(std::vector<std::string>(lines.begin() + 1, lines.end()));
    return 0;
}
