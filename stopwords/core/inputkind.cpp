#include "stopwords/core/inputkind.h"

#include "stopwords/core/textencoding.h"

#include <cstdint>
#include <vector>

namespace {

bool isDecimal(std::string_view text)
{
    // At most 18 digits, so the value fits in 64 bits.
    if (text.empty() || text.size() > 18)
        return false;
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

std::vector<std::string_view> fieldsOf(std::string_view line)
{
    std::vector<std::string_view> fields;
    for (;;) {
        size_t tab = line.find('\t');
        fields.push_back(line.substr(0, tab));
        if (tab == std::string_view::npos)
            return fields;
        line.remove_prefix(tab + 1);
    }
}

// The lines of the head as the filter splits them (at CR, CR LF or LF). When
// the head is not the whole file its last line may be cut short: it is left
// out.
std::vector<std::string_view> headLines(std::string_view head, bool wholeFile)
{
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start < head.size()) {
        size_t end = head.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            if (wholeFile)
                lines.push_back(head.substr(start));
            break;
        }
        lines.push_back(head.substr(start, end - start));
        start = end + (head.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return lines;
}

// The number of lines (header and variants) of the phrase-frame record that
// starts at lines[first]; 0 when none starts there or the lines end inside it.
size_t phraseFrameRecordLength(const std::vector<std::string_view>& lines, size_t first)
{
    if (first >= lines.size())
        return 0;
    const std::vector<std::string_view> header = fieldsOf(lines[first]);
    if (header.size() != 3 || header[0].empty() || !isDecimal(header[1]) || !isDecimal(header[2]))
        return 0;
    uint64_t variants = 0;
    for (char digit : header[2])
        variants = variants * 10 + static_cast<uint64_t>(digit - '0');
    if (variants == 0 || variants > lines.size() - first - 1)
        return 0;
    for (size_t line = first + 1; line <= first + variants; ++line) {
        const std::vector<std::string_view> variant = fieldsOf(lines[line]);
        if (variant.size() != 2 || variant[0].empty() || !isDecimal(variant[1]))
            return 0;
    }
    return static_cast<size_t>(variants) + 1;
}

char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

bool hasPhraseFrameName(std::string_view name)
{
    const std::string_view ending = "-phraseframes.txt";
    if (name.size() < ending.size())
        return false;
    std::string_view tail = name.substr(name.size() - ending.size());
    for (size_t i = 0; i < ending.size(); ++i)
        if (lowerAscii(tail[i]) != ending[i])
            return false;
    return true;
}

bool startsWithPhraseFrameRecords(std::string_view head, bool wholeFile)
{
    const std::vector<std::string_view> lines = headLines(head, wholeFile);
    const size_t first = phraseFrameRecordLength(lines, 0);
    return first > 0 && first < lines.size() && lines[first].empty() && phraseFrameRecordLength(lines, first + 1) > 0;
}

InputKind inputKindOf(std::string_view name, std::string_view head, bool wholeFile)
{
    if (encodingByMark(head) == TextEncoding::utf16)
        return InputKind::utf16Text;
    if (hasPhraseFrameName(name) || startsWithPhraseFrameRecords(head, wholeFile))
        return InputKind::phraseFrames;
    return InputKind::eightBitText;
}
