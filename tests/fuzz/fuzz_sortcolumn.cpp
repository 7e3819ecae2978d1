// Clicks on the list's column headings. The input is the clicks (bytes up to
// the first '|', each a column as its value modulo 6, so ASCII digits name
// their column; 0 and 5 are no column), then the file's content. Byte 0 is
// also the file order: odd for a frequency file. After every click the
// frames are the same records, ordered by the column's key in the direction
// its flag gives, and the sentence names that order. The number keys are
// checked against a reading of the digits done another way.
#include "browser/core/framefile.h"
#include "browser/core/sortcolumn.h"

#include "fuzzcheck.h"

#include <algorithm>

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The leading number of a field, read as a digit string: rounded half to
// even, limited to the signed 32-bit range.
int32_t expectedNumberKey(const std::string& text)
{
    size_t p = 0;
    while (p < text.size() && (text[p] == ' ' || text[p] == '\t' || text[p] == '\n'))
        ++p;
    bool negative = false;
    if (p < text.size() && (text[p] == '+' || text[p] == '-'))
        negative = text[p++] == '-';
    std::string whole;
    while (p < text.size() && isDigit(text[p]))
        whole += text[p++];
    std::string fraction;
    if (p < text.size() && text[p] == '.') {
        ++p;
        while (p < text.size() && isDigit(text[p]))
            fraction += text[p++];
    }
    if (whole.empty() && fraction.empty())
        return 0;

    whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size()));
    if (whole.size() > 10)
        return negative ? INT32_MIN : INT32_MAX;
    int64_t value = whole.empty() ? 0 : std::stoll(whole);
    const bool aboveHalf = !fraction.empty() &&
                           (fraction[0] > '5' ||
                            (fraction[0] == '5' && fraction.find_first_not_of('0', 1) != std::string::npos));
    const bool exactHalf = !fraction.empty() && fraction[0] == '5' &&
                           fraction.find_first_not_of('0', 1) == std::string::npos;
    if (aboveHalf || (exactHalf && value % 2 == 1))
        ++value;
    if (negative)
        value = -value;
    return static_cast<int32_t>(std::max<int64_t>(INT32_MIN, std::min<int64_t>(INT32_MAX, value)));
}

int32_t numberOfField(const std::string& record, int column)
{
    FieldSpan field = recordField(record, column);
    const int32_t key = numberKey(field.text, field.length);
    FUZZ_CHECK(key == expectedNumberKey(std::string(field.text, field.length)));
    return key;
}

std::string textOfField(const std::string& record)
{
    FieldSpan field = recordField(record, 2);
    return std::string(field.text, field.length);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input{data, size};
    std::string clicks = input.takeUntil('|');
    if (clicks.size() > 12)
        clicks.resize(12);
    const int32_t fileIsFreqOrder = clicks.empty() ? 0 : static_cast<uint8_t>(clicks[0]) & 1;

    std::vector<std::string> frames;
    int32_t count = 0, variants = 0;
    buildFrameRecords(input.rest(), frames, count, variants);

    int32_t state[5];
    resetSortState(state, fileIsFreqOrder);
    FUZZ_CHECK(state[1] == 0 && state[4] == 0);
    FUZZ_CHECK(state[2] == (fileIsFreqOrder ? 0 : -1) && state[3] == (fileIsFreqOrder ? -1 : 0));

    std::vector<std::string> sortedRecords(frames.begin() + 1, frames.end());
    std::sort(sortedRecords.begin(), sortedRecords.end());

    std::string description = "before";
    for (char click : clicks) {
        const int column = static_cast<uint8_t>(click) % 6;
        int32_t before[5];
        std::copy(state, state + 5, before);
        if (column < 1 || column > 4) {
            const std::string descriptionBefore = description;
            const std::vector<std::string> framesBefore = frames;
            sortByColumn(frames, count, state, column, description);
            FUZZ_CHECK(std::equal(state, state + 5, before));
            FUZZ_CHECK(description == descriptionBefore);
            FUZZ_CHECK(frames == framesBefore);
            continue;
        }
        sortByColumn(frames, count, state, column, description);
        for (int c = 1; c <= 4; ++c)
            FUZZ_CHECK(state[c] == (c == column ? (before[c] == 0 ? -1 : 0) : before[c]));
        const bool descending = (column == 2) != (state[column] != 0);
        static const char* const names[5] = {"", "frequency rank", "phrase frame", "frequency", "variants"};
        FUZZ_CHECK(description == std::string("sorted by ") + names[column] + " in " +
                                      (descending ? "descending" : "ascending") + " order");

        FUZZ_CHECK(frames.size() == static_cast<size_t>(count) + 1 && frames[0].empty());
        std::vector<std::string> now(frames.begin() + 1, frames.end());
        std::sort(now.begin(), now.end());
        FUZZ_CHECK(now == sortedRecords);

        if (column == 2) {
            for (int32_t k = 1; k < count; ++k) {
                const std::string a = textOfField(frames[k]), b = textOfField(frames[k + 1]);
                FUZZ_CHECK(descending ? !(a < b) : !(b < a));
            }
        } else {
            std::vector<int32_t> keys(frames.size());
            for (int32_t k = 1; k <= count; ++k)
                keys[k] = numberOfField(frames[k], column);
            for (int32_t k = 1; k < count; ++k)
                FUZZ_CHECK(descending ? keys[k] >= keys[k + 1] : keys[k] <= keys[k + 1]);
        }
    }
    return 0;
}
