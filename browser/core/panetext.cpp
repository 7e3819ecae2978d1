#include "browser/core/panetext.h"

#include "common/core/numbertext.h"
#include "common/core/text.h"


namespace {

std::string thousands(size_t n)
{
    return formatThousands(static_cast<int64_t>(n));
}

} // namespace

void blankNuls(std::string& text)
{
    for (size_t at = text.find('\0'); at != std::string::npos; at = text.find('\0', at + 1))
        text[at] = ' ';
}

PaneExcerpt paneExcerpt(std::string_view text, size_t bound, size_t lineBound)
{
    PaneExcerpt excerpt;
    if (text.empty())
        return excerpt;
    excerpt.text.reserve(text.size() < bound ? text.size() : bound);
    size_t start = 0;
    for (;;) {
        size_t lineEnd = findCrLf(text, start);
        const bool last = lineEnd == std::string_view::npos;
        if (last)
            lineEnd = text.size();
        const bool cut = lineEnd - start > lineBound;
        const size_t length = cut ? lineBound : lineEnd - start;
        const size_t separator = excerpt.linesShown > 0 ? 2 : 0;
        if (excerpt.text.size() + separator + length > bound)
            return excerpt;
        if (separator)
            excerpt.text += "\r\n";
        excerpt.text.append(text.substr(start, length));
        ++excerpt.linesShown;
        excerpt.linesCut += cut ? 1 : 0;
        if (last)
            return excerpt;
        start = lineEnd + 2;
    }
}

size_t lineCount(std::string_view text)
{
    if (text.empty())
        return 0;
    size_t lines = 1;
    for (size_t at = findCrLf(text, 0); at != std::string_view::npos; at = findCrLf(text, at + 2))
        ++lines;
    return lines;
}

std::string excerptNote(std::string_view text, const PaneExcerpt& excerpt, size_t lineBound)
{
    if (excerpt.linesCut == 0 && excerpt.text.size() == text.size())
        return std::string();
    const size_t lines = lineCount(text);
    std::string note;
    if (excerpt.linesShown < lines)
        note = "first " + thousands(excerpt.linesShown) + " of " + thousands(lines) + " variants shown";
    if (excerpt.linesCut > 0) {
        const std::string cut = thousands(excerpt.linesCut);
        if (note.empty())
            note = cut + (excerpt.linesCut == 1 ? " variant" : " variants");
        else
            note += ", " + cut;
        note += " cut at " + thousands(lineBound) + " bytes";
    }
    return "  (" + note + ")";
}
