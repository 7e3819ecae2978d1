#include "browser/core/panetext.h"

#include "common/core/numbertext.h"
#include "common/core/text.h"


namespace {

std::string thousands(size_t n)
{
    return formatThousands(static_cast<int64_t>(n));
}

} // namespace

size_t paneExcerptLength(std::string_view text, size_t bound, size_t lineBound)
{
    size_t fits = std::string_view::npos; // end of the last whole line that fits
    size_t start = 0;
    for (;;) {
        size_t lineEnd = findCrLf(text, start);
        if (lineEnd == std::string_view::npos)
            lineEnd = text.size();
        if (lineEnd - start > lineBound && start + lineBound <= bound)
            return start + lineBound;
        if (lineEnd > bound)
            return fits != std::string_view::npos ? fits : bound;
        if (lineEnd == text.size())
            return text.size();
        fits = lineEnd;
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

std::string excerptNote(std::string_view text, size_t excerptLength)
{
    if (excerptLength >= text.size())
        return std::string();
    const std::string_view shown = text.substr(0, excerptLength);
    const size_t shownLines = lineCount(shown);
    const bool wholeLines = findCrLf(text, excerptLength) == excerptLength;
    if (wholeLines)
        return "  (first " + thousands(shownLines) + " of " + thousands(lineCount(text)) + " variants shown)";
    return "  (first " + thousands(excerptLength) + " of " + thousands(text.size()) + " bytes shown)";
}
