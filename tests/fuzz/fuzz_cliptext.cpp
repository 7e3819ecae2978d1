// The copy buttons' texts. The input is NUL-separated: the file name, the
// sort sentence, then the records (any bytes, with or without a rank
// field). Byte 0 of the name also makes the row count larger than the
// records held (odd) to check the copy stops at the last record. Each text
// must be exactly the records without their ranks, in order, under the
// header.
#include "browser/cliptext.h"

#include "common/numbertext.h"

#include "fuzzcheck.h"

namespace {

std::string withoutRank(const std::string& record)
{
    const size_t tab = record.find('\t');
    return tab == std::string::npos ? record : record.substr(tab + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input{data, size};
    const std::string name = input.takeUntil('\0');
    const std::string description = input.takeUntil('\0');
    std::vector<std::string> frames(1);
    while (input.size > 0)
        frames.push_back(input.takeUntil('\0'));
    const int32_t held = static_cast<int32_t>(frames.size()) - 1;
    const int32_t rows = !name.empty() && (name[0] & 1) ? held + 3 : held;

    for (int32_t i = 1; i <= held; ++i)
        FUZZ_CHECK(frameCopyText(frames[i]) == withoutRank(frames[i]) + "\r\n\r\n");

    std::string expected = name + ", " + formatThousands(rows) + " phrase-frames,\r\n" + description + "\r\n\r\n";
    for (int32_t i = 1; i <= held; ++i)
        expected += withoutRank(frames[i]) + "\r\n\r\n";
    if (held == 0)
        expected += "\r\n\r\n";
    FUZZ_CHECK(allSortedCopyText(frames, rows, name, description) == expected);
    return 0;
}
