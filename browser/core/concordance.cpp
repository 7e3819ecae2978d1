#include "browser/core/concordance.h"

#include "browser/core/framefile.h"
#include "browser/core/framemeasures.h"
#include "common/core/statsformat.h"
#include "common/core/codepage.h"
#include "common/core/numbertext.h"
#include "common/core/text.h"

#include <algorithm>
#include <cstring>
#include <tuple>

namespace {

std::vector<std::string> splitBlanks(const std::string& phrase)
{
    std::vector<std::string> words;
    size_t start = 0;
    while (start < phrase.size()) {
        const size_t blank = phrase.find(' ', start);
        const size_t end = blank == std::string::npos ? phrase.size() : blank;
        if (end > start)
            words.push_back(phrase.substr(start, end - start));
        start = end + 1;
    }
    return words;
}

uint64_t countOf(const std::string& digits)
{
    uint64_t n = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            break;
        n = n * 10 + static_cast<uint64_t>(c - '0');
    }
    return n;
}

// The frame's words with its slot; false without exactly one "*".
bool readFrame(const std::string& record, ConcordanceTarget& target)
{
    target.words = splitBlanks(headerField(record, 2));
    const auto star = std::find(target.words.begin(), target.words.end(), "*");
    if (star == target.words.end() || std::count(target.words.begin(), target.words.end(), "*") != 1)
        return false;
    target.slot = static_cast<size_t>(star - target.words.begin());
    target.slotWords.clear();
    return true;
}

// Adds the slot's word of a variant line when the line fits the frame.
bool addVariant(const std::string& line, ConcordanceTarget& target)
{
    const size_t tab = line.find('\t');
    const std::vector<std::string> words = splitBlanks(line.substr(0, tab));
    if (words.size() != target.words.size())
        return false;
    for (size_t k = 0; k < words.size(); ++k)
        if (k != target.slot && words[k] != target.words[k])
            return false;
    target.slotWords.push_back(words[target.slot]);
    if (!target.isFrame)
        target.frequency = tab == std::string::npos ? 0 : countOf(line.substr(tab + 1));
    return true;
}

bool optionSet(const CorpusRecord& record, const std::string& name, const std::string& value)
{
    for (const CorpusOption& option : record.options)
        if (option.name == name)
            return option.value == value;
    return false;
}

void appendWord(std::string& text, const std::string& word)
{
    if (!text.empty())
        text += ' ';
    text += word;
}

// A word of the file from the reader, at `start` in its bytes.
void takeWord(ConcordanceScan& scan, uint32_t id, uint64_t start)
{
    const CorpusReader& reader = scan.reader;
    const size_t length = scan.frameIds.size();
    scan.recent.push_back({id, start, scan.sentence});
    if (scan.recent.size() > length + concordanceContextWords)
        scan.recent.pop_front();

    // Right context of the lines before this word.
    for (ConcordanceScan::Pending& waiting : scan.pending) {
        appendWord(waiting.line.right, reader.wordText(id));
        ++waiting.rightWords;
    }
    while (!scan.pending.empty() && scan.pending.front().rightWords >= concordanceContextWords) {
        scan.lines.push_back(std::move(scan.pending.front().line));
        scan.pending.pop_front();
    }

    const size_t size = scan.recent.size();
    if (size < length || scan.recent[size - length].sentence != scan.sentence)
        return;
    const size_t first = size - length;
    for (size_t k = 0; k < length; ++k)
        if (k != scan.slot && scan.recent[first + k].id != scan.frameIds[k])
            return;
    if (!std::binary_search(scan.slotIds.begin(), scan.slotIds.end(), scan.recent[first + scan.slot].id))
        return;

    ++scan.found;
    if (!scan.fileHasLines)
        ++scan.filesWithLines;
    scan.fileHasLines = true;
    if (scan.kept >= concordanceLineBound)
        return;
    ++scan.kept;
    ConcordanceLine line;
    for (size_t k = 0; k < first; ++k)
        appendWord(line.left, reader.wordText(scan.recent[k].id));
    for (size_t k = 0; k < length; ++k) {
        const std::string word = reader.wordText(scan.recent[first + k].id);
        appendWord(line.ngram, k == scan.slot ? "[" + word + "]" : word);
    }
    line.slotWord = reader.wordText(scan.recent[first + scan.slot].id);
    line.file = scan.file;
    line.offset = scan.recent[first].start;
    scan.pending.push_back({std::move(line), 0});
}

void takeId(void* target, uint32_t id, uint64_t start, uint64_t)
{
    ConcordanceScan& scan = *static_cast<ConcordanceScan*>(target);
    if (id == sentenceEndId)
        ++scan.sentence;
    else if (id != fileStartId)
        takeWord(scan, id, start);
}

std::string firstWord(const std::string& words)
{
    return words.substr(0, words.find(' '));
}

std::string lastWord(const std::string& words)
{
    const size_t blank = words.rfind(' ');
    return blank == std::string::npos ? words : words.substr(blank + 1);
}

} // namespace

bool frameTarget(const std::string& record, ConcordanceTarget& target)
{
    if (!readFrame(record, target))
        return false;
    target.isFrame = true;
    target.frequency = countOf(headerField(record, 3));
    for (std::string_view line : splitCrLfLines(wholeVariantLines(record)))
        addVariant(std::string(line), target);
    return !target.slotWords.empty();
}

bool variantTarget(const std::string& record, const std::string& paneLine, ConcordanceTarget& target)
{
    target.isFrame = false;
    if (!readFrame(record, target))
        return false;
    // The pane may show the frequency before the phrase: any of the line's
    // fields may be the variant's phrase.
    const std::string fields = "\t" + paneLine + "\t";
    for (std::string_view line : splitCrLfLines(wholeVariantLines(record)))
        if (fields.find("\t" + std::string(line.substr(0, line.find('\t'))) + "\t") != std::string::npos)
            return addVariant(std::string(line), target);
    return false;
}

std::wstring corpusFileFor(const std::wstring& frameFileName)
{
    std::wstring name = statsFileFor(frameFileName);
    if (name.empty())
        return name;
    name.resize(name.size() - std::strlen(statsFileEnding));
    return name + std::wstring(corpusFileEnding, corpusFileEnding + std::strlen(corpusFileEnding));
}

bool startConcordance(ConcordanceScan& scan, const CorpusRecord& record, const ConcordanceTarget& target)
{
    if (!isSupportedCodePage(record.codePage))
        return false;
    CorpusReader& reader = scan.reader;
    reader.page = &codePage(record.codePage);
    reader.keepCase = optionSet(record, "keepcase", "yes");
    reader.joinHyphens = optionSet(record, "hyphens", "join");
    reader.utf8Words = optionSet(record, "output", "utf8");
    reader.sendId = takeId;
    reader.idTarget = &scan;
    // The target's words get their ids first, so matching compares ids.
    for (const std::string& word : target.words)
        scan.frameIds.push_back(reader.wordId(word));
    for (const std::string& word : target.slotWords)
        scan.slotIds.push_back(reader.wordId(word));
    std::sort(scan.slotIds.begin(), scan.slotIds.end());
    scan.slot = target.slot;
    return true;
}

int64_t scanConcordanceFile(ConcordanceScan& scan, size_t file, const std::function<size_t(char*, size_t)>& read,
                            const std::function<bool()>& cancelled)
{
    std::vector<char> buffer(1 << 20);
    // At least textCheckBytes unless the file ends first, as makeframes reads.
    const auto fill = [&]() {
        size_t got = 0;
        while (got < textCheckBytes) {
            const size_t n = read(buffer.data() + got, buffer.size() - got);
            if (n == 0)
                break;
            got += n;
        }
        return got;
    };
    size_t size = fill();
    const TextKind kind = classifyText(buffer.data(), std::min(size, textCheckBytes), size < textCheckBytes);
    if (kind == textBinary)
        return -1;
    const uint64_t wordsBefore = scan.reader.wordCount;
    scan.file = file;
    scan.recent.clear();
    scan.fileHasLines = false;
    scan.reader.beginFile(kind);
    while (size > 0 && !cancelled()) {
        scan.reader.addBytes(buffer.data(), size);
        size = fill();
    }
    scan.reader.endFile();
    for (ConcordanceScan::Pending& waiting : scan.pending)
        scan.lines.push_back(std::move(waiting.line));
    scan.pending.clear();
    return static_cast<int64_t>(scan.reader.wordCount - wordsBefore);
}

void sortConcordance(std::vector<ConcordanceLine>& lines, ConcordanceOrder order)
{
    const auto key = [order](const ConcordanceLine& line) {
        switch (order) {
        case bySlotWord:
            return line.slotWord;
        case byLeftWord:
            return lastWord(line.left);
        case byRightWord:
            return firstWord(line.right);
        default:
            return std::string();
        }
    };
    std::vector<std::pair<std::string, size_t>> keys;
    keys.reserve(lines.size());
    for (size_t k = 0; k < lines.size(); ++k)
        keys.emplace_back(key(lines[k]), k);
    std::sort(keys.begin(), keys.end(), [&lines](const auto& a, const auto& b) {
        const ConcordanceLine& x = lines[a.second];
        const ConcordanceLine& y = lines[b.second];
        return std::tie(a.first, x.file, x.offset) < std::tie(b.first, y.file, y.offset);
    });
    std::vector<ConcordanceLine> sorted;
    sorted.reserve(lines.size());
    for (const auto& k : keys)
        sorted.push_back(std::move(lines[k.second]));
    lines.swap(sorted);
}

std::string concordanceCopyText(const std::vector<ConcordanceLine>& lines, const CorpusRecord& record)
{
    std::string text;
    for (const ConcordanceLine& line : lines)
        text += line.left + '\t' + line.ngram + '\t' + line.right + '\t' + record.inputs[line.file].givenName + "\r\n";
    return text;
}

std::string concordanceSummary(const ConcordanceScan& scan, const ConcordanceTarget& target, size_t changedFiles)
{
    const std::string found = formatThousands(static_cast<int64_t>(scan.found));
    std::string text = found + (scan.found == 1 ? " line in " : " lines in ") +
                       formatThousands(static_cast<int64_t>(scan.filesWithLines)) +
                       (scan.filesWithLines == 1 ? " file; " : " files; ");
    const std::string whose = target.isFrame ? "the frame's frequency is " : "the variant's frequency is ";
    const std::string frequency = formatThousands(static_cast<int64_t>(target.frequency));
    if (changedFiles > 0)
        text += "the corpus has changed since the frames were made (" +
                formatThousands(static_cast<int64_t>(changedFiles)) +
                (changedFiles == 1 ? " file gives" : " files give") + " another word count); " + whose + frequency;
    else if (scan.found != target.frequency)
        text += "the corpus has changed since the frames were made: " + whose + frequency;
    else
        text += whose + frequency;
    if (scan.found > scan.kept)
        text += "; the first " + formatThousands(static_cast<int64_t>(scan.kept)) + " are shown, " +
                formatThousands(static_cast<int64_t>(scan.found - scan.kept)) + " more were found";
    return text;
}
