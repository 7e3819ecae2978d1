#include "stopwords/core/textencoding.h"

#include "common/core/text.h"

#include <cstdint>

TextEncoding encodingByMark(std::string_view head)
{
    if (head.compare(0, 2, "\xFF\xFE") == 0 || head.compare(0, 2, "\xFE\xFF") == 0)
        return TextEncoding::utf16;
    if (head.compare(0, utf8ByteOrderMark.size(), utf8ByteOrderMark) == 0)
        return TextEncoding::utf8;
    return TextEncoding::ansi;
}

namespace {

// The character of the complete sequence at the start of bytes, or -1 when
// it is cut short, broken or not in its shortest form.
int32_t decodeSequence(const unsigned char* bytes, size_t length, size_t available)
{
    if (length == 0 || length > available)
        return -1;
    uint32_t codePoint = bytes[0] & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) {
        if ((bytes[k] & 0xC0) != 0x80)
            return -1;
        codePoint = codePoint << 6 | (bytes[k] & 0x3F);
    }
    if (length == 3 && (codePoint < 0x800 || (codePoint >= 0xD800 && codePoint <= 0xDFFF)))
        return -1;
    if (length == 4 && (codePoint < 0x10000 || codePoint > 0x10FFFF))
        return -1;
    return static_cast<int32_t>(codePoint);
}

} // namespace

size_t utf8ToUtf16(std::string_view text, char16_t* out)
{
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const size_t size = text.size();
    size_t written = 0;
    for (size_t i = 0; i < size;) {
        if (bytes[i] < 0x80) {
            out[written++] = bytes[i++];
            continue;
        }
        const size_t length = static_cast<size_t>(utf8SequenceLength(bytes[i]));
        const int32_t codePoint = decodeSequence(bytes + i, length, size - i);
        if (codePoint < 0) {
            out[written++] = u'\xFFFD';
            ++i;
            continue;
        }
        if (codePoint >= 0x10000) {
            const uint32_t offset = static_cast<uint32_t>(codePoint) - 0x10000;
            out[written++] = static_cast<char16_t>(0xD800 + (offset >> 10));
            out[written++] = static_cast<char16_t>(0xDC00 + (offset & 0x3FF));
        } else {
            out[written++] = static_cast<char16_t>(codePoint);
        }
        i += length;
    }
    return written;
}
