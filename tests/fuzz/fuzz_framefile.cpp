// The frame-file split and the fields of a record. The input is a whole
// file's content. The split is checked against a plain find-and-trim split,
// and every field reader stays within its record and keeps its promises.
#include "browser/core/framefile.h"
#include "tests/support/celltext.h"
#include "browser/core/panetext.h"

#include "fuzzcheck.h"

#include <cstring>

namespace {

bool isTrimByte(char c)
{
    return c == ' ' || c == '\r' || c == '\n' || c == '\t';
}

std::string trimmed(const std::string& text)
{
    size_t start = 0, stop = text.size();
    while (start < stop && isTrimByte(text[start]))
        ++start;
    while (stop > start && isTrimByte(text[stop - 1]))
        --stop;
    return text.substr(start, stop - start);
}

// The records the file should give: pieces between empty lines, each
// trimmed; a last piece of nothing but trim bytes is no record.
std::vector<std::string> expectedRecords(const std::string& content)
{
    std::vector<std::string> pieces;
    size_t start = 0;
    for (;;) {
        size_t gap = content.find("\r\n\r\n", start);
        if (gap == std::string::npos) {
            pieces.push_back(content.substr(start));
            break;
        }
        pieces.push_back(content.substr(start, gap - start));
        start = gap + 4;
    }
    if (trimmed(pieces.back()).empty())
        pieces.pop_back();
    for (std::string& piece : pieces)
        piece = trimmed(piece);
    return pieces;
}

int64_t countOf(const std::string& text, const std::string& part)
{
    int64_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++count;
    return count;
}

// What the pane should get of text, the plain way: its lines, each cut to
// lineBound bytes, while the joined lines fit in bound.
PaneExcerpt expectedExcerpt(const std::string& text, size_t bound, size_t lineBound)
{
    PaneExcerpt excerpt;
    if (text.empty())
        return excerpt;
    std::vector<std::string> lines;
    for (size_t start = 0;;) {
        const size_t end = text.find("\r\n", start);
        lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            break;
        start = end + 2;
    }
    for (const std::string& line : lines) {
        const std::string piece = line.substr(0, lineBound);
        if (excerpt.text.size() + (excerpt.linesShown > 0 ? 2 : 0) + piece.size() > bound)
            break;
        excerpt.text += (excerpt.linesShown > 0 ? "\r\n" : "") + piece;
        ++excerpt.linesShown;
        excerpt.linesCut += line.size() > lineBound ? 1 : 0;
    }
    return excerpt;
}

void checkExcerpt(const std::string& text, size_t bound, size_t lineBound)
{
    const PaneExcerpt excerpt = paneExcerpt(text, bound, lineBound);
    const PaneExcerpt expected = expectedExcerpt(text, bound, lineBound);
    FUZZ_CHECK(excerpt.text == expected.text);
    FUZZ_CHECK(excerpt.linesShown == expected.linesShown);
    FUZZ_CHECK(excerpt.linesCut == expected.linesCut);
    const std::string note = excerptNote(text, excerpt, lineBound);
    FUZZ_CHECK(note.empty() == (excerpt.text == text));
}

bool within(const std::string& record, FieldSpan field)
{
    return field.text >= record.data() && field.text + field.length <= record.data() + record.size();
}

void checkFields(const std::string& record)
{
    const size_t lineEnd = record.find("\r\n");
    const std::string header = lineEnd == std::string::npos ? record : record.substr(0, lineEnd);

    std::vector<std::string> tabFields;  // the record split at every TAB
    for (size_t start = 0;;) {
        size_t tab = record.find('\t', start);
        tabFields.push_back(record.substr(start, tab == std::string::npos ? tab : tab - start));
        if (tab == std::string::npos)
            break;
        start = tab + 1;
    }

    for (int n = -1; n <= 7; ++n) {
        FieldSpan field = recordField(record, n);
        FUZZ_CHECK(within(record, field));
        const std::string text(field.text, field.length);
        const bool exists = n >= 1 && static_cast<size_t>(n) <= tabFields.size();
        FUZZ_CHECK(text == (exists ? tabFields[static_cast<size_t>(n - 1)] : std::string()));

        const std::string cell = cellText(record, n);
        FUZZ_CHECK(cell.size() <= 99);
        FUZZ_CHECK(cell.find('\0') == std::string::npos);
        std::string shownText = text;
        blankNuls(shownText);
        FUZZ_CHECK(shownText.compare(0, cell.size(), cell) == 0);
        if (n == 4)
            FUZZ_CHECK(cell.find('\r') == std::string::npos);

        const std::string inHeader = headerField(record, n);
        FUZZ_CHECK(inHeader.find('\t') == std::string::npos);
        FUZZ_CHECK(header.find(inHeader) != std::string::npos);
    }

    const std::string summary = frameSummary(record);
    std::string frameLabel = headerField(record, 2).substr(0, labelFieldBound);
    blankNuls(frameLabel); // the label would end at a NUL
    FUZZ_CHECK(summary.compare(0, frameLabel.size(), frameLabel) == 0);
    FUZZ_CHECK(summary.find('\0') == std::string::npos);

    const std::string variants = variantLines(record);
    // The pane gets the first lines of the variants, each within the line
    // bound, as many as fit in its bound.
    const std::string allVariants = lineEnd == std::string::npos ? std::string() : record.substr(lineEnd + 2);
    FUZZ_CHECK(variants == expectedExcerpt(allVariants, paneTextBound, paneLineBound).text);
    const size_t bound = 1 + record.size() % 40;
    checkExcerpt(allVariants, bound, 1 + record.size() / 40 % bound);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string content(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> records{"left over", "from before"};
    int32_t count = -7, variants = -7;
    buildFrameRecords(content, records, count, variants);

    const std::vector<std::string> expected = expectedRecords(content);
    FUZZ_CHECK(count == static_cast<int32_t>(expected.size()));
    FUZZ_CHECK(records.size() == expected.size() + 1);
    FUZZ_CHECK(records[0].empty());
    int64_t variantLines = 0;  // the lines after each record's header line
    for (const std::string& record : expected)
        variantLines += countOf(record, "\r\n");
    FUZZ_CHECK(variants == variantLines);
    for (size_t i = 1; i < records.size(); ++i) {
        const std::string rank = std::to_string(i) + "\t";
        FUZZ_CHECK(records[i].compare(0, rank.size(), rank) == 0);
        FUZZ_CHECK(records[i].substr(rank.size()) == expected[i - 1]);
        FUZZ_CHECK(records[i].find("\r\n\r\n") == std::string::npos);
        checkFields(records[i]);
    }

    // A record need not come from the split: the readers take any text.
    checkFields(content);

    const std::string status = statusText(count, variants, content);
    FUZZ_CHECK(status.find(" phrase-frames with ") != std::string::npos);
    const std::string shortName = shortFileName(content);
    FUZZ_CHECK(shortName.find('\\') == std::string::npos);
    FUZZ_CHECK(content.size() >= shortName.size() &&
               content.compare(content.size() - shortName.size(), shortName.size(), shortName) == 0);
    return 0;
}
