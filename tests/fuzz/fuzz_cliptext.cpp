// The copy buttons' texts. The input is NUL-separated: the file name, the
// sort sentence, then the records (any bytes, with or without a rank
// field). Byte 0 of the name modulo 3 also chooses the row count: the
// records held, 3 more than held (the copy must stop at the last record),
// or -1 (none). Each text must be exactly the records without their ranks,
// in order, under the header.
#include "browser/core/cliptext.h"

#include "common/core/numbertext.h"

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
    const int choice = name.empty() ? 0 : static_cast<uint8_t>(name[0]) % 3;
    const int32_t rows = choice == 0 ? held : choice == 1 ? held + 3 : -1;

    for (int32_t i = 1; i <= held; ++i)
        FUZZ_CHECK(frameCopyText(frames[i]) == withoutRank(frames[i]) + "\r\n\r\n");

    std::string expected = name + ", " + formatThousands(rows) + " phrase-frames,\r\n" + description + "\r\n\r\n";
    const int32_t copied = rows < held ? (rows < 0 ? 0 : rows) : held;
    for (int32_t i = 1; i <= copied; ++i)
        expected += withoutRank(frames[i]) + "\r\n\r\n";
    if (copied == 0)
        expected += "\r\n\r\n";
    FUZZ_CHECK(allSortedCopyText(frames, rows, name, description) == expected);
    return 0;
}
