// The number texts and the filter's texts built from them. The input gives
// three 64-bit numbers, a 32-bit status and the rest as a name. Removing the
// thousands commas gives back the decimal, with a comma before every group
// of three digits from the right.
#include "common/core/numbertext.h"
#include "stopwords/core/filtertexts.h"

#include "fuzzcheck.h"

#include <cstdlib>
#include <cstring>

namespace {

int64_t numberFrom(FuzzInput& input)
{
    uint64_t bits = 0;
    for (int b = 0; b < 8; ++b)
        bits |= static_cast<uint64_t>(input.byte()) << (8 * b);
    int64_t n;
    std::memcpy(&n, &bits, sizeof n);
    return n;
}

void checkThousands(int64_t n)
{
    const std::string text = formatThousands(n);
    std::string digits;
    for (char c : text)
        if (c != ',')
            digits += c;
    FUZZ_CHECK(digits == std::to_string(n));
    const size_t start = n < 0 ? 1 : 0;
    const size_t length = text.size() - start;
    FUZZ_CHECK(length % 4 != 0);
    for (size_t i = 0; i < length; ++i)
        FUZZ_CHECK((text[start + length - 1 - i] == ',') == (i % 4 == 3));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input{data, size};
    const int64_t a = numberFrom(input), b = numberFrom(input), c = numberFrom(input);
    uint32_t status = 0;
    for (int k = 0; k < 4; ++k)
        status |= static_cast<uint32_t>(input.byte()) << (8 * k);
    const std::string name = input.rest();

    for (int64_t n : {a, b, c, a / 1000, static_cast<int64_t>(static_cast<int32_t>(a))})
        checkThousands(n);
    FUZZ_CHECK(strNumber(a) == (a < 0 ? std::to_string(a) : " " + std::to_string(a)));

    FUZZ_CHECK(stopwordsReadText(a) == strNumber(a) + " stopwords read");
    FUZZ_CHECK(startingFileText(a, b, name) == "Starting file" + strNumber(a) + " of" + strNumber(b) + "\r" + name);
    SkipCounts skipped;
    skipped.unreadable = c;
    const std::string summary = summaryText(a, b, skipped);
    FUZZ_CHECK(summary.find(formatThousands(b) + " lines removed.") != std::string::npos);
    FUZZ_CHECK((summary.find("skipped") != std::string::npos) == (c > 0));

    const std::string message = statusMessage(status, name);
    if (status == 0) {
        FUZZ_CHECK(message.empty());
    } else {
        // Read back: the decimal and the eight upper-case hex digits both
        // give the status, and the system text follows after one blank.
        FUZZ_CHECK(message.compare(0, 6, "Error ") == 0);
        const size_t open = message.find(" [&H");
        FUZZ_CHECK(open != std::string::npos && message.size() >= open + 13 && message[open + 12] == ']');
        FUZZ_CHECK(std::strtoull(message.substr(6, open - 6).c_str(), nullptr, 10) == status);
        const std::string hex = message.substr(open + 4, 8);
        for (char h : hex)
            FUZZ_CHECK((h >= '0' && h <= '9') || (h >= 'A' && h <= 'F'));
        FUZZ_CHECK(std::strtoull(hex.c_str(), nullptr, 16) == status);
        FUZZ_CHECK(message.substr(open + 13) == (name.empty() ? "" : " " + name));
    }
    FUZZ_CHECK(stopwordListErrorText(name, "").find(name) != std::string::npos);
    FUZZ_CHECK(overwriteFailedText(name, name).find(name) != std::string::npos);
    return 0;
}
