// Find's scan over the records. Byte 0: bit 0 match case, bit 1 search the
// text as typed (normalised first) rather than as given, bits 2-7 the start
// row; byte 1: the search's length; then the search, then a frame file's
// content, split as the loader splits it. The row found is the first from
// the start whose record holds the search, compared folded unless the case
// must match.
#include "browser/core/findscan.h"
#include "browser/core/framefile.h"
#include "browser/core/rtf.h"

#include "fuzzcheck.h"

namespace {

// Blanks off both ends, then each pair of blanks made one, from the left.
std::string expectedNormalised(const std::string& typed)
{
    const size_t first = typed.find_first_not_of(' ');
    if (first == std::string::npos)
        return std::string();
    const std::string inner = typed.substr(first, typed.find_last_not_of(' ') - first + 1);
    std::string out;
    for (size_t i = 0; i < inner.size();) {
        if (inner[i] != ' ') {
            out += inner[i++];
            continue;
        }
        size_t run = 0;
        while (i < inner.size() && inner[i] == ' ') {
            ++run;
            ++i;
        }
        out.append((run + 1) / 2, ' ');
    }
    return out;
}

int32_t expectedFrame(const std::vector<std::string>& frames, int32_t frameCount, int32_t start,
                      const std::string& search, bool matchCase)
{
    if (search.empty())
        return 0;
    const std::string wanted = matchCase ? search : upperCase(search);
    for (int32_t i = start < 1 ? 1 : start; i <= frameCount && static_cast<size_t>(i) < frames.size(); ++i) {
        const std::string record = matchCase ? frames[i] : upperCase(frames[i]);
        if (record.find(wanted) != std::string::npos)
            return i;
    }
    return 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input{data, size};
    const uint8_t options = input.byte();
    const bool matchCase = (options & 1) != 0;
    const bool typed = (options & 2) != 0;
    std::string search = input.take(input.byte());
    std::vector<std::string> frames;
    int32_t count = 0, variants = 0;
    buildFrameRecords(input.rest(), frames, count, variants);

    if (typed) {
        const std::string normal = normaliseFindText(search);
        FUZZ_CHECK(normal == expectedNormalised(search));
        FUZZ_CHECK(normaliseFindText(normal).size() <= normal.size());
        search = normal;
    }

    // Rows from before the first to past the last, and row counts beyond
    // the records (which the scan must not read past) and below none.
    const int32_t start = static_cast<int32_t>(options >> 2) % (count + 4) - 1;
    for (int32_t rows : {count, count + 2, -1}) {
        const int32_t found = findFrame(frames, rows, start, search, matchCase);
        FUZZ_CHECK(found == expectedFrame(frames, rows, start, search, matchCase));
        if (!matchCase)
            FUZZ_CHECK(findFrame(frames, rows, start, upperCase(search), false) == found);
        if (found != 0) {
            // Searching on from the row found and from the next row agree.
            const int32_t next = findStartIndex(found, true);
            FUZZ_CHECK(next == found + 1);
            FUZZ_CHECK(findFrame(frames, rows, next, search, matchCase) ==
                       expectedFrame(frames, rows, next, search, matchCase));
        }
    }

    const int32_t first = findStartIndex(start, false);
    FUZZ_CHECK(first == (start <= 1 ? 1 : start + 1));
    const std::string message = notFoundText(search);
    FUZZ_CHECK(message == "\"" + search + "\"\r not found in specified context.");
    return 0;
}
