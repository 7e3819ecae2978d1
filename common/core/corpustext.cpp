#include "common/core/corpustext.h"

#include "common/core/text.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string_view>

namespace {

// A character of a word beyond ASCII (a letter or U+2019, all below U+10000)
// in UTF-8.
void appendUtf8(std::string& text, uint32_t codePoint)
{
    if (codePoint < 0x800) {
        text += static_cast<char>(0xC0 | (codePoint >> 6));
    } else {
        text += static_cast<char>(0xE0 | (codePoint >> 12));
        text += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    }
    text += static_cast<char>(0x80 | (codePoint & 0x3F));
}

bool isSentenceEnd(unsigned char c)
{
    return c == '.' || c == '!' || c == '?' || c == ';' || c == ':';
}

// Symbols and punctuation without a form in the code page: they separate words.
bool isSeparatorCharacter(uint32_t codePoint)
{
    return (codePoint >= 0x2000 && codePoint <= 0x2BFF) || (codePoint >= 0x3000 && codePoint <= 0x303F) ||
           (codePoint >= 0x1F000 && codePoint <= 0x1FAFF);
}

// Whether the code point decoded from a sequence of that length is one that
// sequence may spell (not overlong, not a surrogate, within Unicode).
bool isValidDecoded(uint32_t codePoint, int length)
{
    if (length == 3)
        return codePoint >= 0x800 && (codePoint < 0xD800 || codePoint > 0xDFFF);
    if (length == 4)
        return codePoint >= 0x10000 && codePoint <= 0x10FFFF;
    return true;
}

} // namespace

TextKind classifyText(const char* data, size_t size, bool atEnd)
{
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(data);
    if (size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE)
        return textUtf16le;
    if (size >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF)
        return textUtf16be;
    if (std::memchr(data, 0, size) != nullptr)
        return textBinary;
    if (size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF)
        return textUtf8;
    size_t sequences = 0;
    size_t i = 0;
    while (i < size) {
        if (bytes[i] < 0x80) {
            ++i;
            continue;
        }
        const int length = utf8SequenceLength(bytes[i]);
        if (length == 0)
            return textEightBit;
        if (i + length > size) {
            // Cut by the end of the window: only the whole file's end makes it wrong.
            if (atEnd)
                return textEightBit;
            break;
        }
        uint32_t codePoint = bytes[i] & (0x7F >> length);
        for (int k = 1; k < length; ++k) {
            if ((bytes[i + k] & 0xC0) != 0x80)
                return textEightBit;
            codePoint = (codePoint << 6) | (bytes[i + k] & 0x3F);
        }
        if (!isValidDecoded(codePoint, length))
            return textEightBit;
        ++sequences;
        i += length;
    }
    return sequences > 0 ? textUtf8 : textAscii;
}

int cp1252Byte(uint32_t codePoint)
{
    return encodeCharacter(codePage(1252), codePoint);
}

void CorpusReader::beginFile(TextKind kind)
{
    utf8 = kind == textUtf8;
    undecided = kind == textAscii;
    undecidedBytes.clear();
    utf16 = kind == textUtf16le ? 1 : kind == textUtf16be ? 2 : 0;
    pendingUnitByte = -1;
    highSurrogate = 0;
    word.clear();
    wordCut = false;
    heldSeparator = 0;
    lineHasText = false;
    sentenceHasWords = false;
    pendingLength = 0;
    pendingBytes.clear();
    inputOffset = 0;
    send(fileStartId, 0, 0);
    ++fileCount;
    fileWords.push_back(wordCount);
    fileSentences.push_back(sentenceCount);
}

void CorpusReader::addBytes(const char* data, size_t size)
{
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(data);
    const uint64_t base = inputOffset;
    inputOffset += size;
    if (undecided) {
        size_t ascii = 0;
        if (undecidedBytes.empty()) {
            for (; ascii < size && bytes[ascii] < 0x80; ++ascii) {
                characterStart = base + ascii;
                characterEnd = characterStart + 1;
                addByte(bytes[ascii] == 0 ? ' ' : bytes[ascii], false);
            }
            if (ascii == size)
                return;
            undecidedStart = base + ascii;
        }
        // From the first other byte on, the same window as at a file's
        // start decides, however the text comes in pieces.
        undecidedBytes.append(data + ascii, size - ascii);
        if (undecidedBytes.size() >= textCheckBytes)
            decideKind(false);
        return;
    }
    if (utf16 != 0) {
        for (size_t i = 0; i < size; ++i) {
            if (pendingUnitByte < 0) {
                pendingUnitByte = bytes[i];
                continue;
            }
            const uint32_t first = static_cast<uint32_t>(pendingUnitByte);
            pendingUnitByte = -1;
            if (highSurrogate == 0)
                characterStart = base + i - 1; // a pair starts at its first unit
            characterEnd = base + i + 1;
            addUtf16Unit(utf16 == 1 ? (uint32_t(bytes[i]) << 8 | first) : (first << 8 | bytes[i]));
        }
        return;
    }
    if (!utf8) {
        for (size_t i = 0; i < size; ++i) {
            characterStart = base + i;
            characterEnd = characterStart + 1;
            addByte(bytes[i], false);
        }
        return;
    }
    for (size_t i = 0; i < size; ++i) {
        const unsigned char c = bytes[i];
        characterStart = pendingLength > 0 ? sequenceStart : base + i;
        characterEnd = base + i + 1;
        if (pendingLength > 0) {
            if ((c & 0xC0) == 0x80) {
                pendingCode = (pendingCode << 6) | (c & 0x3F);
                pendingBytes += static_cast<char>(c);
                if (--pendingLength == 0) {
                    if (isValidDecoded(pendingCode, static_cast<int>(pendingBytes.size())))
                        addCodePoint(pendingCode);
                    else
                        for (char b : pendingBytes)
                            addByte(static_cast<unsigned char>(b), false);
                    pendingBytes.clear();
                }
                continue;
            }
            // Not UTF-8 after all: the bytes so far stand for themselves.
            for (char b : pendingBytes)
                addByte(static_cast<unsigned char>(b), false);
            pendingBytes.clear();
            pendingLength = 0;
            characterStart = base + i;
        }
        if (c < 0x80) {
            addByte(c == 0 ? ' ' : c, false);
            continue;
        }
        const int length = utf8SequenceLength(c);
        if (length == 0) {
            addByte(c, false);
            continue;
        }
        pendingLength = length - 1;
        sequenceStart = base + i;
        pendingCode = c & (0x7F >> length);
        pendingBytes.assign(1, static_cast<char>(c));
    }
}

void CorpusReader::addUtf16Unit(uint32_t unit)
{
    const uint32_t noCharacter = 0xFFFD;
    if (highSurrogate != 0) {
        const uint32_t high = highSurrogate;
        highSurrogate = 0;
        if (unit >= 0xDC00 && unit <= 0xDFFF) {
            addCodePoint(0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00));
            return;
        }
        addCodePoint(noCharacter);
    }
    if (unit >= 0xD800 && unit <= 0xDBFF)
        highSurrogate = unit;
    else if (unit >= 0xDC00 && unit <= 0xDFFF)
        addCodePoint(noCharacter);
    else
        addCodePoint(unit == 0 ? ' ' : unit);
}

void CorpusReader::addCodePoint(uint32_t codePoint)
{
    if (codePoint == 0xFEFF)
        return; // byte-order mark
    // Case is folded on the character, before it meets the code page: a
    // capital without a form there may have a small letter with one.
    const bool letter = isLetter(codePoint);
    if (!keepCase && letter)
        codePoint = lowerCase(*page, codePoint);
    if (letter && codePoint >= 0x80)
        ++lettersRead[codePoint];
    if (utf8Words && codePoint >= 0x80) {
        if (letter || isApostrophe(codePoint))
            addWordCharacter(codePoint);
        else
            addByte(codePoint == 0x2010 || codePoint == 0x2011 ? '-' : '/', false);
        return;
    }
    const int byte = encodeCharacter(*page, codePoint);
    if (byte >= 0) {
        addByte(static_cast<unsigned char>(byte), false);
        return;
    }
    ++unmappedCount;
    if (codePoint == 0x2010 || codePoint == 0x2011)
        addByte('-', false); // HYPHEN and NON-BREAKING HYPHEN: a hyphen like any other
    else if (isSeparatorCharacter(codePoint))
        addByte('/', false); // punctuation that neither ends a sentence nor joins words
    else
        addByte('?', true);
}

// A letter or the typographic apostrophe beyond ASCII, in UTF-8 words.
void CorpusReader::addWordCharacter(uint32_t codePoint)
{
    if (heldSeparator != 0)
        placeHeldSeparator(codePoint);
    lineHasText = true;
    if (word.empty())
        wordStart = characterStart;
    wordEnd = characterEnd;
    std::string bytes;
    appendUtf8(bytes, codePoint);
    appendToWord(bytes.data(), bytes.size(), codePoint);
}

// Past maxWordBytes the characters are only looked at (a digit before "."
// or a letter before "-" decides as in a word held whole), not kept.
void CorpusReader::appendToWord(const char* bytes, size_t size, uint32_t character)
{
    wordLastCharacter = character;
    if (wordCut || word.size() + size > maxWordBytes) {
        wordCut = true;
        return;
    }
    word.append(bytes, size);
}

// The "." or "," held after a digit, or the "-" after a letter, joins the
// word when the next character is a digit or a letter in its turn ("3.5",
// "1,000", "so-called"); otherwise it ends the word and counts on its own.
void CorpusReader::placeHeldSeparator(uint32_t next)
{
    const unsigned char separator = static_cast<unsigned char>(heldSeparator);
    heldSeparator = 0;
    const bool inWord = separator == '-' ? isLetter(next) : next >= '0' && next <= '9';
    if (inWord) {
        if (separator == '-')
            writeFinalSigma();
        const char byte = static_cast<char>(separator);
        appendToWord(&byte, 1, separator);
    } else {
        finishWord();
        addByte(separator, false);
    }
}

void CorpusReader::addByte(unsigned char c, bool replacement)
{
    // UTF-8 words: a byte of 8-bit text, and the Turkish dotless i that "I"
    // becomes, go through their Unicode character.
    if (utf8Words && (c >= 0x80 || (!keepCase && page->lowerByte[c] >= 0x80))) {
        addCodePoint(page->character[c] != 0 ? page->character[c] : '/');
        return;
    }
    if (heldSeparator != 0)
        placeHeldSeparator(replacement ? '?' : page->character[c]);
    if (replacement || page->wordByte[c]) {
        lineHasText = true;
        if (word.empty())
            wordStart = characterStart;
        wordEnd = characterEnd;
        const char byte = static_cast<char>(replacement || keepCase ? c : page->lowerByte[c]);
        appendToWord(&byte, 1, replacement ? '?' : page->character[static_cast<unsigned char>(byte)]);
        return;
    }
    if (!word.empty() && (((c == '.' || c == ',') && wordLastCharacter >= '0' && wordLastCharacter <= '9') ||
                          (c == '-' && joinHyphens && isLetter(wordLastCharacter)))) {
        heldSeparator = static_cast<char>(c);
        return;
    }
    finishWord();
    if (c == '\n') {
        if (!lineHasText)
            endSentence();
        lineHasText = false;
    } else if (isSentenceEnd(c)) {
        endSentence();
        lineHasText = true;
    } else if (c != ' ' && c != '\t' && c != '\r') {
        lineHasText = true;
    }
}

void CorpusReader::decideKind(bool atEnd)
{
    undecided = false;
    utf8 = classifyText(undecidedBytes.data(), std::min(undecidedBytes.size(), textCheckBytes), atEnd) == textUtf8;
    std::string held;
    held.swap(undecidedBytes);
    inputOffset = undecidedStart; // the held bytes are read again from their place
    addBytes(held.data(), held.size());
}

void CorpusReader::endFile()
{
    if (undecided && !undecidedBytes.empty())
        decideKind(true);
    undecided = false;
    if (highSurrogate != 0 || pendingUnitByte >= 0)
        addCodePoint(0xFFFD); // a half character at the end
    highSurrogate = 0;
    pendingUnitByte = -1;
    utf16 = 0;
    if (pendingLength > 0) {
        const std::string cut = pendingBytes;
        pendingBytes.clear();
        pendingLength = 0;
        for (char b : cut)
            addByte(static_cast<unsigned char>(b), false);
    }
    if (heldSeparator != 0) {
        const unsigned char separator = static_cast<unsigned char>(heldSeparator);
        heldSeparator = 0;
        finishWord();
        addByte(separator, false);
    }
    finishWord();
    endSentence();
    fileWords.back() = wordCount - fileWords.back();
    fileSentences.back() = sentenceCount - fileSentences.back();
}

void CorpusReader::finishWord()
{
    if (word.empty())
        return;
    const bool cut = wordCut;
    wordCut = false;
    // Apostrophes at the ends are quotation marks. The typographic one is
    // 0x92 in every supported code page.
    const std::string_view typographic =
        utf8Words ? std::string_view("\xE2\x80\x99", 3) : std::string_view("\x92", 1);
    size_t first = 0;
    size_t last = word.size();
    while (first < last) {
        if (word[first] == '\'')
            ++first;
        else if (std::string_view(word).substr(first, typographic.size()) == typographic)
            first += typographic.size();
        else
            break;
    }
    while (last > first && !cut) {
        if (word[last - 1] == '\'')
            --last;
        else if (last - first >= typographic.size() &&
                 std::string_view(word).substr(last - typographic.size(), typographic.size()) == typographic)
            last -= typographic.size();
        else
            break;
    }
    if (first == last) {
        word.clear();
        return;
    }
    if (first > 0 || last < word.size())
        word = word.substr(first, last - first);
    if (!cut)
        writeFinalSigma();
    send(wordId(word), wordStart, wordEnd);
    ++wordCount;
    cutWordCount += cut;
    sentenceHasWords = true;
    word.clear();
}

void CorpusReader::writeFinalSigma()
{
    // Capitals fold sigma to σ wherever it stands; at the end of a word (or
    // of a part before a joining hyphen) lower-case text writes ς. A sigma
    // alone (the elided "σ'") stays σ.
    const size_t size = word.size();
    if (keepCase || wordCut)
        return; // a cut word's end is not its end
    if (utf8Words) {
        if (size >= 3 && word.compare(size - 2, 2, "\xCF\x83") == 0 && isLetter(characterBefore(size - 2)))
            word[size - 1] = '\x82';
        return;
    }
    if (page->finalSigmaByte >= 0 && size >= 2 && static_cast<unsigned char>(word[size - 1]) == page->sigmaByte &&
        isLetter(page->character[static_cast<unsigned char>(word[size - 2])]))
        word[size - 1] = static_cast<char>(page->finalSigmaByte);
}

// The character of the word that ends at byte `end`.
uint32_t CorpusReader::characterBefore(size_t end) const
{
    const unsigned char last = static_cast<unsigned char>(word[end - 1]);
    if (!utf8Words)
        return page->character[last];
    size_t start = end - 1;
    while (start > 0 && (static_cast<unsigned char>(word[start]) & 0xC0) == 0x80)
        --start;
    const unsigned char lead = static_cast<unsigned char>(word[start]);
    const int length = utf8SequenceLength(lead);
    if (length == 0)
        return lead;
    uint32_t codePoint = lead & (0x7F >> length);
    for (size_t k = start + 1; k < end; ++k)
        codePoint = (codePoint << 6) | (static_cast<unsigned char>(word[k]) & 0x3F);
    return codePoint;
}

void CorpusReader::endSentence()
{
    if (!sentenceHasWords)
        return;
    send(sentenceEndId, 0, 0);
    ++sentenceCount;
    sentenceHasWords = false;
}

uint32_t CorpusReader::wordId(const std::string& text)
{
    // Eight bytes at a time: every word of the corpus passes here.
    const size_t length = text.size();
    uint64_t h = 0xCBF29CE484222325ull ^ length;
    size_t at = 0;
    for (; at + 8 <= length; at += 8) {
        uint64_t chunk;
        std::memcpy(&chunk, text.data() + at, 8);
        h = (h ^ chunk) * 0xBF58476D1CE4E5B9ull;
        h ^= h >> 31;
    }
    if (at < length) {
        uint64_t chunk = 0;
        std::memcpy(&chunk, text.data() + at, length - at);
        h = (h ^ chunk) * 0xBF58476D1CE4E5B9ull;
        h ^= h >> 31;
    }
    const uint32_t hash = static_cast<uint32_t>((h * 0x9E3779B97F4A7C15ull) >> 32);

    if ((vocabularySize() + 1) * 2 > table.size()) {
        const size_t size = table.empty() ? 1024 : table.size() * 2;
        std::vector<uint64_t> grown(size, 0);
        for (uint64_t entry : table) {
            if (entry == 0)
                continue;
            size_t slot = (entry >> 32) & (size - 1);
            while (grown[slot] != 0)
                slot = (slot + 1) & (size - 1);
            grown[slot] = entry;
        }
        table.swap(grown);
    }
    const size_t mask = table.size() - 1;
    size_t slot = hash & mask;
    while (table[slot] != 0) {
        const uint64_t entry = table[slot];
        if ((entry >> 32) == hash) {
            const uint32_t id = static_cast<uint32_t>(entry) - 1;
            const uint64_t start = wordStarts[id];
            if (wordStarts[id + 1] - start == length && std::memcmp(words.data() + start, text.data(), length) == 0)
                return id;
        }
        slot = (slot + 1) & mask;
    }
    const uint32_t id = static_cast<uint32_t>(vocabularySize());
    if (id >= fileStartId - 1)
        throw std::runtime_error("too many different words");
    words += text;
    wordStarts.push_back(words.size());
    table[slot] = (uint64_t(hash) << 32) | (id + 1);
    return id;
}

std::string CorpusReader::wordText(uint32_t id) const
{
    return words.substr(wordStarts[id], wordStarts[id + 1] - wordStarts[id]);
}

size_t CorpusReader::vocabularyBytes() const
{
    return words.capacity() + wordStarts.capacity() * sizeof(uint64_t) + table.capacity() * sizeof(uint64_t);
}
