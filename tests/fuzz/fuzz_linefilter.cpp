// The stopword filter's line filter. Byte 0 modulo 8 is how many chunk
// sizes follow (each byte modulo 17; 0 is an empty chunk), then the stopword
// list up to the first NUL, then the text to filter. The whole-text filter
// must keep what a plain line-by-line reading keeps, byte for byte, and the
// chunked filter must give the same kept bytes and count for any split.
#include "stopwords/core/textlines.h"

#include "fuzzcheck.h"
#include "tests/support/filtertext.h"

#include <set>

namespace {

// The list-reading rule: lines end at CR (with the LF after it), a Ctrl-Z
// ends the text.
std::vector<std::string> expectedListLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::string line;
    bool inLine = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == ctrlZ)
            break;
        if (c == '\r') {
            lines.push_back(line);
            line.clear();
            inLine = false;
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            continue;
        }
        line += c;
        inLine = true;
    }
    if (inLine)
        lines.push_back(line);
    return lines;
}

bool expectedRemoved(const std::string& line, const std::set<std::string>& stopwords)
{
    std::string key = line.substr(0, line.find('\t'));
    const size_t first = key.find_first_not_of(' ');
    if (first == std::string::npos)
        return true;
    key = key.substr(first, key.find_last_not_of(' ') - first + 1);
    std::string word;
    for (size_t i = 0; i <= key.size(); ++i) {
        if (i == key.size() || key[i] == ' ') {
            if (stopwords.count(word))
                return true;
            word.clear();
        } else {
            word += key[i];
        }
    }
    return false;
}

struct Expected {
    std::string kept;
    int64_t removed = 0;
};

// The filter read plainly: a line ends at CR, CR LF or LF; each line is kept
// with its own line end or removed; a UTF-8 byte-order mark at the start is
// kept and no part of the first line; from a Ctrl-Z on every byte is kept as
// it is.
Expected expectedFilter(const std::string& text, const std::set<std::string>& stopwords)
{
    Expected out;
    size_t i = 0;
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        out.kept = text.substr(0, 3);
        i = 3;
    }
    auto lineRead = [&](const std::string& line, const std::string& lineEnd) {
        if (expectedRemoved(line, stopwords))
            ++out.removed;
        else
            out.kept += line + lineEnd;
    };
    std::string line;
    bool inLine = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == ctrlZ) {
            if (inLine)
                lineRead(line, "");
            out.kept += text.substr(i);
            return out;
        }
        if (c == '\r' || c == '\n') {
            std::string lineEnd(1, c);
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                lineEnd += '\n';
                ++i;
            }
            lineRead(line, lineEnd);
            line.clear();
            inLine = false;
            continue;
        }
        line += c;
        inLine = true;
    }
    if (inLine)
        lineRead(line, "");
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input{data, size};
    std::vector<size_t> chunkSizes;
    for (int k = input.byte() % 8; k > 0; --k)
        chunkSizes.push_back(input.byte() % 17);
    if (chunkSizes.empty())
        chunkSizes.push_back(7);
    const std::string list = input.takeUntil('\0');
    const std::string text = input.rest();

    const std::vector<std::string> listLines = splitTextLines(list);
    FUZZ_CHECK(listLines == expectedListLines(list));
    // The stopword list also ends a line at a lone LF and skips a UTF-8
    // byte-order mark at its very start.
    const bool bom = list.compare(0, 3, "\xEF\xBB\xBF") == 0;
    std::vector<std::string> entryLines;
    for (const std::string& line : expectedListLines(bom ? list.substr(3) : list)) {
        size_t start = 0, lf;
        while ((lf = line.find('\n', start)) != std::string::npos) {
            entryLines.push_back(line.substr(start, lf - start));
            start = lf + 1;
        }
        entryLines.push_back(line.substr(start));
    }
    FUZZ_CHECK(stopwordListLines(list) == entryLines);
    std::set<std::string> stopwords;
    for (const std::string& line : entryLines) {
        const std::string entry = stopwordEntry(line);
        FUZZ_CHECK(entry.find('|') == std::string::npos);
        FUZZ_CHECK(entry.empty() || (entry.front() != ' ' && entry.back() != ' '));
        FUZZ_CHECK(line.find(entry) != std::string::npos);
        if (!entry.empty())
            stopwords.insert(entry);
    }
    const std::vector<std::string> entries = stopwordEntries(list);
    FUZZ_CHECK(std::set<std::string>(entries.begin(), entries.end()) == stopwords);

    const StopwordTest isStopword = [&stopwords](std::string_view word) {
        // Never asked about an empty word or one with a blank in it.
        FUZZ_CHECK(!word.empty() && word.find(' ') == std::string_view::npos);
        return stopwords.count(std::string(word)) > 0;
    };

    const Expected expected = expectedFilter(text, stopwords);
    int64_t removed = -1;
    const std::string whole = filterText(text, isStopword, &removed);
    FUZZ_CHECK(whole == expected.kept);
    FUZZ_CHECK(removed == expected.removed);

    // The same text in chunks, with the kept bytes drained after each chunk
    // as the file filter writes them out.
    LineFilter filter;
    std::string written, kept;
    size_t pos = 0, emptyInARow = 0;
    for (size_t j = 0; pos < text.size(); ++j) {
        size_t chunk = std::min(chunkSizes[j % chunkSizes.size()], text.size() - pos);
        if (chunk == 0 && ++emptyInARow > chunkSizes.size())
            chunk = 1;
        if (chunk > 0)
            emptyInARow = 0;
        filterBytes(filter, text.data() + pos, chunk, isStopword, kept);
        written += kept;
        kept.clear();
        pos += chunk;
    }
    finishFiltering(filter, isStopword, kept);
    written += kept;
    FUZZ_CHECK(written == whole);
    FUZZ_CHECK(filter.linesRemoved == expected.removed);

    // Kept lines keep their own line ends, so a second pass keeps the result
    // as it is. (Unless the removed lines bared a line that starts with the
    // byte-order mark's bytes: at the start of a file they are its mark.)
    const bool markBared = whole.compare(0, 3, "\xEF\xBB\xBF") == 0 && text.compare(0, 3, "\xEF\xBB\xBF") != 0;
    if (!markBared) {
        int64_t removedAgain = -1;
        FUZZ_CHECK(filterText(whole, isStopword, &removedAgain) == whole);
        FUZZ_CHECK(removedAgain == 0);
    }

    for (const std::string& line : expectedListLines(text)) {
        FUZZ_CHECK(lineIsRemoved(line, isStopword) == expectedRemoved(line, stopwords));
        const std::string_view key = keyColumn(line);
        FUZZ_CHECK(key.find('\t') == std::string_view::npos);
        FUZZ_CHECK(key.empty() || (key.front() != ' ' && key.back() != ' '));
    }
    return 0;
}
