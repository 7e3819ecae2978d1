// makeframes' reading of a corpus text. Byte 0: bit 0 keeps case; bytes 1-2
// the places (as fractions of the text) where a read is cut. The rest is the
// text. Read in pieces it gives the words of one read; every word is
// non-empty, holds no blank, control byte or NUL, does not start or end with
// an apostrophe, and is lower-cased unless case is kept.
#include "makeframes/core/wordstream.h"

#include "fuzzcheck.h"

#include <algorithm>
#include <vector>

namespace {

std::vector<std::string> wordsOf(const std::string& text, TextKind kind, bool keepCase, std::vector<size_t> cuts,
                                 uint64_t& unmapped)
{
    CorpusReader corpus;
    WordStream corpusWords;
    sendIdsTo(corpus, corpusWords);
    corpus.keepCase = keepCase;
    corpus.beginFile(kind);
    size_t from = 0;
    for (size_t cut : cuts) {
        corpus.addBytes(text.data() + from, cut - from);
        from = cut;
    }
    corpus.addBytes(text.data() + from, text.size() - from);
    corpus.endFile();
    corpusWords.finish();
    unmapped = corpus.unmappedCount;
    std::vector<std::string> words;
    WordStreamReader reader(corpusWords);
    uint32_t id;
    uint64_t sentences = 0;
    while (reader.next(id)) {
        if (id == fileStartId)
            words.push_back("<file>");
        else if (id == sentenceEndId)
            words.push_back("."), ++sentences;
        else
            words.push_back(corpus.wordText(id));
    }
    FUZZ_CHECK(sentences == corpus.sentenceCount);
    FUZZ_CHECK(words.size() == 1 + corpus.wordCount + corpus.sentenceCount);
    return words;
}

bool isApostrophe(char c)
{
    return c == '\'' || c == '\x92';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input{data, size};
    const bool keepCase = (input.byte() & 1) != 0;
    const uint8_t first = input.byte();
    const uint8_t second = input.byte();
    const std::string text = input.rest();
    const TextKind kind = classifyText(text.data(), text.size(), true);
    if (kind == textBinary)
        return 0;

    uint64_t unmappedWhole = 0;
    const std::vector<std::string> whole = wordsOf(text, kind, keepCase, {}, unmappedWhole);
    std::vector<size_t> cuts = {text.size() * first / 256, text.size() * second / 256};
    std::sort(cuts.begin(), cuts.end());
    uint64_t unmappedPieces = 0;
    FUZZ_CHECK(wordsOf(text, kind, keepCase, cuts, unmappedPieces) == whole);
    FUZZ_CHECK(unmappedPieces == unmappedWhole);

    for (size_t k = 1; k < whole.size(); ++k) {
        const std::string& word = whole[k];
        FUZZ_CHECK(!word.empty());
        if (word == "<file>" || word == ".")
            continue;
        FUZZ_CHECK(!isApostrophe(word.front()) && !isApostrophe(word.back()));
        for (char c : word) {
            const unsigned char u = static_cast<unsigned char>(c);
            FUZZ_CHECK(u > ' ' && u != 0x7F);
            FUZZ_CHECK(keepCase || !(c >= 'A' && c <= 'Z'));
        }
    }
    return 0;
}
