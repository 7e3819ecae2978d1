// The copy buttons' texts. The input is NUL-separated: the file name, the
// sort sentence, then the records (any bytes, with or without a rank
// field). Byte 0 of the name modulo 3 also chooses the row count: the
// records held, 3 more than held (the copy must stop at the last record),
// or -1 (none). Read back: a frame's copy put after its rank field gives the
// record again, and the whole list's copy is its header followed by the
// frames' own copies, in order.
#include "browser/core/cliptext.h"

#include "common/core/numbertext.h"

#include "fuzzcheck.h"

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

    std::string frameCopies;
    const int32_t copied = rows < 0 ? 0 : rows < held ? rows : held;
    for (int32_t i = 1; i <= held; ++i) {
        const std::string copy = frameCopyText(frames[i]);
        FUZZ_CHECK(copy.size() >= 4 && copy.compare(copy.size() - 4, 4, "\r\n\r\n") == 0);
        const std::string body = copy.substr(0, copy.size() - 4);
        const size_t tab = frames[i].find('\t');
        const std::string rankField = tab == std::string::npos ? "" : frames[i].substr(0, tab + 1);
        FUZZ_CHECK(rankField + body == frames[i]);
        if (i <= copied)
            frameCopies += copy;
    }

    const std::string all = allSortedCopyText(frames, rows, name, description);
    const std::string header = name + ", " + formatThousands(rows) + " phrase-frames,\r\n" + description + "\r\n\r\n";
    FUZZ_CHECK(all.compare(0, header.size(), header) == 0);
    FUZZ_CHECK(all.substr(header.size()) == (copied == 0 ? "\r\n\r\n" : frameCopies));
    return 0;
}
