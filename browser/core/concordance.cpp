#include "browser/core/concordance.h"

#include "browser/core/framefile.h"
#include "browser/core/framemeasures.h"
#include "common/core/statsformat.h"
#include "common/core/codepage.h"
#include "common/core/numbertext.h"
#include "common/core/text.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>
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
    if (scan.recent[first].start < scan.countFrom)
        return;
    if (scan.readFromMidFile && first < concordanceContextWords)
        scan.contextCut = true;

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

// Files larger than this are read through, not held whole.
const size_t readAroundBound = size_t(128) << 20;

void takeId(void* target, uint32_t id, uint64_t start, uint64_t)
{
    ConcordanceScan& scan = *static_cast<ConcordanceScan*>(target);
    if (id == sentenceEndId)
        ++scan.sentence;
    else if (id != fileStartId)
        takeWord(scan, id, start);
}

bool isAsciiLetterOrDigit(unsigned char c)
{
    return (c >= '0' && c <= '9') || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z');
}

// Whether every occurrence of `word` in the text holds its bytes as they are
// (or in the other ASCII case when case is folded): ASCII letters and digits
// that no other character of the page becomes, as the Turkish capital I with
// dot becomes "i".
bool isSearchableWord(const std::string& word, const CorpusReader& reader)
{
    if (word.empty())
        return false;
    const CodePage& page = *reader.page;
    for (char c : word)
        if (!isAsciiLetterOrDigit(static_cast<unsigned char>(c)) || (!reader.keepCase && c >= 'A' && c <= 'Z'))
            return false;
    for (uint32_t codePoint = 0x80; codePoint < 0x10000; ++codePoint) {
        const uint32_t folded = !reader.keepCase && isLetter(codePoint) ? lowerCase(page, codePoint) : codePoint;
        const int byte = folded < 0x80 ? static_cast<int>(folded) : encodeCharacter(page, folded);
        if (byte >= 0 && byte < 0x80 && word.find(static_cast<char>(byte)) != std::string::npos)
            return false;
    }
    for (int byte = 0x80; byte < 0x100; ++byte) {
        const unsigned char made = reader.keepCase ? static_cast<unsigned char>(byte) : page.lowerByte[byte];
        if (page.wordByte[byte] && made < 0x80 && word.find(static_cast<char>(made)) != std::string::npos)
            return false;
    }
    return true;
}

// A byte search for one word, ASCII letters in either case unless case is
// kept (Horspool's: the last byte of the window decides the skip).
struct WordSearch {
    std::string word;
    unsigned char fold[256];
    size_t skip[256];

    WordSearch(const std::string& searched, bool keepCase) : word(searched)
    {
        for (int c = 0; c < 256; ++c)
            fold[c] = static_cast<unsigned char>(!keepCase && c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
        for (size_t& s : skip)
            s = word.size();
        for (size_t k = 0; k + 1 < word.size(); ++k) {
            const unsigned char c = static_cast<unsigned char>(word[k]);
            skip[c] = word.size() - 1 - k;
            if (!keepCase && c >= 'a' && c <= 'z')
                skip[c - ('a' - 'A')] = word.size() - 1 - k;
        }
    }

    // The first place at or after `from` where the word's bytes stand; `size` if none.
    size_t find(const unsigned char* text, size_t from, size_t size) const
    {
        const size_t length = word.size();
        const unsigned char last = static_cast<unsigned char>(word[length - 1]);
        for (size_t at = from; at + length <= size;) {
            const unsigned char c = text[at + length - 1];
            if (fold[c] == last) {
                size_t k = 0;
                while (k + 1 < length && fold[text[at + k]] == static_cast<unsigned char>(word[k]))
                    ++k;
                if (k + 1 >= length)
                    return at;
            }
            at += skip[c];
        }
        return size;
    }
};

// Places where the reader's state is known without the bytes before: after a
// sentence-ending byte and a blank, no word is open or held, the sentence has
// no words yet and the line has text unless the blank ends it. A byte of
// ASCII is a character of its own in every text kind read here.
bool isRestartAfter(const unsigned char* text, size_t at)
{
    const unsigned char end = text[at - 2];
    const unsigned char blank = text[at - 1];
    return (end == '.' || end == '!' || end == '?' || end == ';' || end == ':') &&
           (blank == ' ' || blank == '\t' || blank == '\r' || blank == '\n');
}

size_t restartBefore(const unsigned char* text, size_t at)
{
    while (at >= 2 && !isRestartAfter(text, at))
        --at;
    return at >= 2 ? at : 0;
}

size_t restartAfter(const unsigned char* text, size_t at, size_t size)
{
    while (at < size && (at < 2 || !isRestartAfter(text, at)))
        ++at;
    return std::min(at, size);
}

// Runs of ASCII letters and digits, or other bytes above ASCII: about the
// number of words.
size_t wordsBetween(const unsigned char* text, size_t from, size_t to)
{
    size_t words = 0;
    bool inWord = false;
    for (size_t at = from; at < to; ++at) {
        const bool wordByte = isAsciiLetterOrDigit(text[at]) || text[at] >= 0x80;
        words += wordByte && !inWord;
        inWord = wordByte;
    }
    return words;
}

void restartReader(ConcordanceScan& scan, bool utf8, const unsigned char* text, uint64_t at)
{
    CorpusReader& reader = scan.reader;
    reader.utf8 = utf8;
    reader.undecided = false;
    reader.undecidedBytes.clear();
    reader.word.clear();
    reader.heldSeparator = 0;
    reader.lineHasText = at > 0 && text[at - 1] != '\n';
    reader.sentenceHasWords = false;
    reader.pendingLength = 0;
    reader.pendingBytes.clear();
    reader.inputOffset = at;
    scan.recent.clear();
    ++scan.sentence;
    scan.readFromMidFile = at > 0;
}

// Whether a file of ASCII so far is read as UTF-8 from its first other byte
// on, as the reader decides from the window there.
bool readsAsUtf8(std::string_view text, TextKind kind)
{
    if (kind != textAscii)
        return kind == textUtf8;
    const auto other = std::find_if(text.begin(), text.end(), [](char c) { return (c & 0x80) != 0; });
    const size_t from = static_cast<size_t>(other - text.begin());
    const size_t window = std::min(text.size() - from, textCheckBytes);
    return from == text.size() || classifyText(text.data() + from, window, window < textCheckBytes) == textUtf8;
}

// Whether the word stands in the bytes from `from` to `to`, not within a
// longer word of ASCII letters and digits.
bool holdsWord(const WordSearch& search, const unsigned char* text, size_t from, size_t to)
{
    const size_t length = search.word.size();
    for (size_t at = search.find(text, from, to); at < to; at = search.find(text, at + 1, to))
        if ((at == 0 || !isAsciiLetterOrDigit(text[at - 1])) && (at + length >= to || !isAsciiLetterOrDigit(text[at + length])))
            return true;
    return false;
}

// The search word found least often in the text's first megabyte.
WordSearch rarestSearch(const ConcordanceScan& scan, std::string_view text)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const size_t sample = std::min(text.size(), size_t(1) << 20);
    size_t best = 0;
    size_t fewest = SIZE_MAX;
    for (size_t k = 0; k < scan.searchWords.size(); ++k) {
        const WordSearch search(scan.searchWords[k], scan.reader.keepCase);
        size_t count = 0;
        for (size_t at = search.find(bytes, 0, sample); at < sample; at = search.find(bytes, at + 1, sample))
            ++count;
        if (count < fewest || (count == fewest && scan.searchWords[k].size() > scan.searchWords[best].size())) {
            fewest = count;
            best = k;
        }
    }
    return WordSearch(scan.searchWords[best], scan.reader.keepCase);
}

// Reads the text only from the restart place before each occurrence of the
// search word to the one after it (further while lines wait for their right
// context, and back while a line lacks its left context).
void readAroundWords(ConcordanceScan& scan, std::string_view text, bool utf8,
                     const std::function<bool()>& cancelled)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const size_t size = text.size();
    const WordSearch search = rarestSearch(scan, text);
    const size_t askEvery = size_t(1) << 20;
    restartReader(scan, utf8, bytes, 0);
    size_t readTo = 0; // the reader's state is the whole scan's here
    size_t asked = 0;
    const size_t length = search.word.size();
    std::vector<WordSearch> others;
    for (const std::string& word : scan.searchWords)
        if (word != search.word)
            others.emplace_back(word, scan.reader.keepCase);
    for (size_t hit = search.find(bytes, 0, size); hit < size;
         hit = search.find(bytes, std::max(readTo, hit + 1), size)) {
        // Within a longer word of ASCII letters and digits: not the word.
        if ((hit > 0 && isAsciiLetterOrDigit(bytes[hit - 1])) ||
            (hit + length < size && isAsciiLetterOrDigit(bytes[hit + length])))
            continue;
        // The target's other words stand in the same sentence, between the
        // restart places around it.
        const size_t sentenceFrom = restartBefore(bytes, hit);
        const size_t sentenceTo = restartAfter(bytes, hit + length, size);
        if (!std::all_of(others.begin(), others.end(), [&](const WordSearch& other) {
                return holdsWord(other, bytes, sentenceFrom, sentenceTo);
            }))
            continue;
        // Far enough back for the left context of a line, mostly.
        size_t from = restartBefore(bytes, hit);
        while (from > 0 && from > readTo && wordsBetween(bytes, from, hit) < concordanceContextWords + 2)
            from = restartBefore(bytes, from - 1);
        if (from < readTo)
            from = readTo;
        // Lines of an earlier piece are not counted again when a line here
        // needs the words before `from`.
        scan.countFrom = from;
        const uint64_t found = scan.found, kept = scan.kept, files = scan.filesWithLines;
        const bool fileHasLines = scan.fileHasLines;
        const size_t linesBefore = scan.lines.size();
        for (;;) {
            if (from != readTo)
                restartReader(scan, utf8, bytes, from);
            scan.contextCut = false;
            size_t to = restartAfter(bytes, hit + length, size);
            scan.reader.addBytes(text.data() + from, to - from);
            while (!scan.pending.empty() && to < size) {
                const size_t next = restartAfter(bytes, to + 1, size);
                scan.reader.addBytes(text.data() + to, next - to);
                to = next;
            }
            // The file's end finishes its last word as a blank would.
            if (to == size)
                scan.reader.addBytes(" ", 1);
            if (!scan.contextCut || from == 0) {
                readTo = to;
                break;
            }
            scan.found = found;
            scan.kept = kept;
            scan.filesWithLines = files;
            scan.fileHasLines = fileHasLines;
            scan.lines.erase(scan.lines.begin() + static_cast<std::ptrdiff_t>(linesBefore), scan.lines.end());
            scan.pending.clear();
            from = restartBefore(bytes, from - 1);
            readTo = SIZE_MAX; // restart at `from` in any case
        }
        if (readTo >= asked + askEvery) {
            asked = readTo;
            if (cancelled())
                return;
        }
    }
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
    for (size_t k = 0; k < target.words.size(); ++k)
        if (k != target.slot && isSearchableWord(target.words[k], reader))
            scan.searchWords.push_back(target.words[k]);
    if (target.slotWords.size() == 1 && isSearchableWord(target.slotWords[0], reader))
        scan.searchWords.push_back(target.slotWords[0]);
    return true;
}

int64_t scanConcordanceFile(ConcordanceScan& scan, size_t file, const std::function<size_t(char*, size_t)>& read,
                            const std::function<bool()>& cancelled)
{
    std::vector<char>& buffer = scan.piece;
    buffer.resize(1 << 20);
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
    scan.countFrom = 0;
    scan.readFromMidFile = false;
    scan.reader.beginFile(kind);
    if (scan.readAroundWords && !scan.searchWords.empty() && kind != textUtf16le && kind != textUtf16be) {
        // The whole file at hand, up to a bound: a larger one is read through.
        // Grown without clearing its bytes, and kept for the next file.
        size_t got = size;
        if (scan.fileRoom < got + buffer.size()) {
            scan.fileRoom = std::max(got + buffer.size(), size_t(16) << 20);
            scan.fileBytes.reset(new char[scan.fileRoom]);
        }
        std::memcpy(scan.fileBytes.get(), buffer.data(), got);
        size = 0;
        while (got < readAroundBound && !cancelled()) {
            if (scan.fileRoom - got < buffer.size()) {
                std::unique_ptr<char[]> grown(new char[scan.fileRoom * 2]);
                std::memcpy(grown.get(), scan.fileBytes.get(), got);
                scan.fileBytes.swap(grown);
                scan.fileRoom *= 2;
            }
            size = read(scan.fileBytes.get() + got, scan.fileRoom - got);
            if (size == 0)
                break;
            got += size;
        }
        const std::string_view text(scan.fileBytes.get(), got);
        if (size == 0 && got < readAroundBound) {
            if (!cancelled())
                readAroundWords(scan, text, readsAsUtf8(text, kind), cancelled);
            scan.reader.endFile();
            for (ConcordanceScan::Pending& waiting : scan.pending)
                scan.lines.push_back(std::move(waiting.line));
            scan.pending.clear();
            return concordanceWordsNotCounted;
        }
        scan.reader.addBytes(text.data(), text.size());
        size = fill();
    }
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
