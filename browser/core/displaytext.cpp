#include "browser/core/displaytext.h"

#include "common/core/text.h"

const char unmarkedUtf8Note[] =
    "This file looks like UTF-8 but has no byte-order mark: it is shown in the system's code page.";

bool startsWithUtf8Mark(std::string_view content)
{
    return content.substr(0, utf8ByteOrderMark.size()) == utf8ByteOrderMark;
}

int utf8CharacterAt(std::string_view text, size_t at, char32_t& character)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) {
        character = lead;
        return 1;
    }
    const int length = utf8SequenceLength(lead);
    if (length == 0 || at + length > text.size())
        return 0;
    // The second byte's range rules out overlong forms, surrogates and
    // characters beyond U+10FFFF.
    const auto second = static_cast<unsigned char>(text[at + 1]);
    const unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
    const unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
    if (second < low || second > high)
        return 0;
    char32_t value = lead & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[at + k]);
        if ((next & 0xC0) != 0x80)
            return 0;
        value = (value << 6) | (next & 0x3F);
    }
    character = value;
    return length;
}

bool looksLikeUtf8(std::string_view content)
{
    bool beyondAscii = false;
    char32_t character;
    for (size_t at = 0; at < content.size();) {
        const int length = utf8CharacterAt(content, at, character);
        if (length == 0)
            return false;
        beyondAscii = beyondAscii || length > 1;
        at += static_cast<size_t>(length);
    }
    return beyondAscii;
}

size_t writeUtf16FromUtf8(std::string_view text, char16_t* out)
{
    char16_t* next = out;
    char32_t character;
    for (size_t at = 0; at < text.size();) {
        const int length = utf8CharacterAt(text, at, character);
        if (length == 0) {
            *next++ = u'\xFFFD';
            ++at;
            continue;
        }
        if (character < 0x10000) {
            *next++ = static_cast<char16_t>(character);
        } else {
            *next++ = static_cast<char16_t>(0xD800 + ((character - 0x10000) >> 10));
            *next++ = static_cast<char16_t>(0xDC00 + ((character - 0x10000) & 0x3FF));
        }
        at += static_cast<size_t>(length);
    }
    return static_cast<size_t>(next - out);
}

std::u16string utf16FromUtf8(std::string_view text)
{
    std::u16string wide(text.size(), u'\0');
    wide.resize(writeUtf16FromUtf8(text, &wide[0]));
    return wide;
}

std::string withUnmarkedUtf8Note(const std::string& status)
{
    return status.substr(0, status.find('\r')) + "\r" + unmarkedUtf8Note;
}
