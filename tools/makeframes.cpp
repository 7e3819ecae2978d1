// makeframes: builds the two phrase-frame files the browser reads from any
// plain 8-bit text.
//
//   makeframes [-n N] [-min F] input.txt outprefix
//
// writes outprefix-Alpha-phraseFrames.txt (records by frame, variants
// alphabetically) and outprefix-Freq-phraseFrames.txt (records by falling
// frequency, variants by falling frequency; ties by byte order).
//
// Words. A word is a run of letters, digits and apostrophes: A-Z, a-z, 0-9,
// ', and the letters of code page 1252 (0xC0-0xFF except the multiplication
// and division signs, and the eight letters among 0x80-0x9F). A full stop or
// comma between two digits stays in the word ("3.5", "1,000"). Apostrophes at
// the ends of a word are quotation marks and are dropped. Words are
// lower-cased (A-Z and the code-page letters), so "The" and "the" meet in
// one frame.
//
// Sentences. N-grams never cross a sentence end: the bytes . ! ? ; : and an
// empty line (a paragraph break) end a sentence. All other punctuation
// (commas, dashes, quotation marks, brackets) is dropped and does not break
// an n-gram.
//
// Frames. Every n-gram of N words gives N frames, one for each position, with
// that position written as "*". A frame's variants are the distinct words
// seen in its slot; the variant phrase is the n-gram with the word in place.
// A frame is kept when it occurs at least F times and has at least two
// distinct variants.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

const uint32_t slotMark = 0xFFFFFFFFu;

bool isWordByte(unsigned char c)
{
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '\'')
        return true;
    if (c >= 0xC0)
        return c != 0xD7 && c != 0xF7;
    switch (c) {
    case 0x83: case 0x8A: case 0x8C: case 0x8E: case 0x9A: case 0x9C: case 0x9E: case 0x9F:
        return true;
    default:
        return false;
    }
}

bool isDigit(unsigned char c)
{
    return c >= '0' && c <= '9';
}

unsigned char lowerCase(unsigned char c)
{
    if (c >= 'A' && c <= 'Z')
        return static_cast<unsigned char>(c + 32);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return static_cast<unsigned char>(c + 32);
    switch (c) {
    case 0x8A: return 0x9A;
    case 0x8C: return 0x9C;
    case 0x8E: return 0x9E;
    case 0x9F: return 0xFF;
    default: return c;
    }
}

bool isSentenceEnd(unsigned char c)
{
    return c == '.' || c == '!' || c == '?' || c == ';' || c == ':';
}

// Splits the text into sentences of word ids; vocabulary receives the words.
std::vector<std::vector<uint32_t>> splitSentences(const std::string& text, std::vector<std::string>& vocabulary)
{
    std::unordered_map<std::string, uint32_t> wordIds;
    std::vector<std::vector<uint32_t>> sentences(1);
    bool lineHasText = false;

    auto endSentence = [&sentences]() {
        if (!sentences.back().empty())
            sentences.emplace_back();
    };

    const size_t size = text.size();
    size_t i = 0;
    while (i < size) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (isWordByte(c)) {
            std::string word;
            while (i < size) {
                const unsigned char d = static_cast<unsigned char>(text[i]);
                if (isWordByte(d)) {
                    word += static_cast<char>(lowerCase(d));
                    ++i;
                } else if ((d == '.' || d == ',') && !word.empty() && isDigit(static_cast<unsigned char>(word.back()))
                           && i + 1 < size && isDigit(static_cast<unsigned char>(text[i + 1]))) {
                    word += static_cast<char>(d);
                    ++i;
                } else {
                    break;
                }
            }
            lineHasText = true;
            const size_t first = word.find_first_not_of('\'');
            if (first == std::string::npos)
                continue;
            word = word.substr(first, word.find_last_not_of('\'') - first + 1);
            auto found = wordIds.emplace(word, static_cast<uint32_t>(vocabulary.size()));
            if (found.second)
                vocabulary.push_back(word);
            sentences.back().push_back(found.first->second);
            continue;
        }
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
        ++i;
    }
    if (sentences.back().empty())
        sentences.pop_back();
    return sentences;
}

struct Variant {
    std::string phrase;
    uint64_t frequency;
};

struct Frame {
    std::string text;
    uint64_t frequency;
    std::vector<Variant> variants;
};

std::string joinWords(const std::vector<std::string>& vocabulary, const uint32_t* ids, int n)
{
    std::string out;
    for (int k = 0; k < n; ++k) {
        if (k > 0)
            out += ' ';
        out += ids[k] == slotMark ? std::string("*") : vocabulary[ids[k]];
    }
    return out;
}

// A frame's word ids with the slot marked; unused places stay zero.
const int maxN = 10;
using FrameKey = std::array<uint32_t, maxN>;

struct FrameKeyHash {
    size_t operator()(const FrameKey& key) const
    {
        uint64_t h = 0xCBF29CE484222325ull;
        for (uint32_t id : key)
            h = (h ^ id) * 0x100000001B3ull;
        return static_cast<size_t>(h ^ (h >> 32));
    }
};

std::vector<Frame> collectFrames(const std::vector<std::vector<uint32_t>>& sentences,
                                 const std::vector<std::string>& vocabulary, int n, uint64_t minFrequency)
{
    // Each occurrence is stored as (frame number, filler word) and counted
    // after a sort.
    std::unordered_map<FrameKey, uint32_t, FrameKeyHash> frameIds;
    std::vector<FrameKey> frameKeys;
    std::vector<std::pair<uint32_t, uint32_t>> occurrences;

    FrameKey key{};
    for (const auto& sentence : sentences) {
        for (size_t start = 0; start + n <= sentence.size(); ++start) {
            for (int slot = 0; slot < n; ++slot) {
                std::copy(sentence.begin() + start, sentence.begin() + start + n, key.begin());
                key[slot] = slotMark;
                auto found = frameIds.emplace(key, static_cast<uint32_t>(frameKeys.size()));
                if (found.second)
                    frameKeys.push_back(key);
                occurrences.emplace_back(found.first->second, sentence[start + slot]);
            }
        }
    }
    std::sort(occurrences.begin(), occurrences.end());

    std::vector<Frame> frames;
    size_t i = 0;
    while (i < occurrences.size()) {
        const uint32_t frameId = occurrences[i].first;
        size_t end = i;
        size_t distinct = 0;
        while (end < occurrences.size() && occurrences[end].first == frameId) {
            if (end == i || occurrences[end].second != occurrences[end - 1].second)
                ++distinct;
            ++end;
        }
        if (end - i >= minFrequency && distinct >= 2) {
            FrameKey ids = frameKeys[frameId];
            const int slot = static_cast<int>(std::find(ids.begin(), ids.end(), slotMark) - ids.begin());
            Frame frame;
            frame.text = joinWords(vocabulary, ids.data(), n);
            frame.frequency = end - i;
            for (size_t j = i; j < end;) {
                size_t k = j;
                while (k < end && occurrences[k].second == occurrences[j].second)
                    ++k;
                ids[slot] = occurrences[j].second;
                frame.variants.push_back({joinWords(vocabulary, ids.data(), n), k - j});
                j = k;
            }
            frames.push_back(std::move(frame));
        }
        i = end;
    }
    return frames;
}

bool writeFrameFile(const std::string& fileName, const std::vector<Frame>& frames)
{
    std::string out;
    for (size_t r = 0; r < frames.size(); ++r) {
        const Frame& frame = frames[r];
        if (r > 0)
            out += "\r\n";
        out += frame.text + '\t' + std::to_string(frame.frequency) + '\t' + std::to_string(frame.variants.size()) + "\r\n";
        for (const Variant& variant : frame.variants)
            out += variant.phrase + '\t' + std::to_string(variant.frequency) + "\r\n";
    }
    std::ofstream file(fileName, std::ios::binary | std::ios::trunc);
    file.write(out.data(), static_cast<std::streamsize>(out.size()));
    file.close();
    return !file.fail();
}

void sortAlphabetically(std::vector<Frame>& frames)
{
    for (Frame& frame : frames)
        std::sort(frame.variants.begin(), frame.variants.end(),
                  [](const Variant& a, const Variant& b) { return a.phrase < b.phrase; });
    std::sort(frames.begin(), frames.end(), [](const Frame& a, const Frame& b) { return a.text < b.text; });
}

void sortByFrequency(std::vector<Frame>& frames)
{
    for (Frame& frame : frames)
        std::sort(frame.variants.begin(), frame.variants.end(), [](const Variant& a, const Variant& b) {
            return a.frequency != b.frequency ? a.frequency > b.frequency : a.phrase < b.phrase;
        });
    std::sort(frames.begin(), frames.end(), [](const Frame& a, const Frame& b) {
        return a.frequency != b.frequency ? a.frequency > b.frequency : a.text < b.text;
    });
}

bool readNumber(const char* text, long minimum, long maximum, long& value)
{
    char* end = nullptr;
    value = std::strtol(text, &end, 10);
    return *text != '\0' && *end == '\0' && value >= minimum && value <= maximum;
}

int usage()
{
    std::fprintf(stderr,
                 "usage: makeframes [-n N] [-min F] input.txt outprefix\n"
                 "  -n N     n-gram length, 2 to 10 (default 4)\n"
                 "  -min F   keep frames that occur at least F times (default 2)\n"
                 "writes outprefix-Alpha-phraseFrames.txt and outprefix-Freq-phraseFrames.txt\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    long n = 4;
    long minFrequency = 2;
    std::vector<std::string> names;
    for (int a = 1; a < argc; ++a) {
        const std::string arg = argv[a];
        if (arg == "-n" && a + 1 < argc) {
            if (!readNumber(argv[++a], 2, maxN, n))
                return usage();
        } else if (arg == "-min" && a + 1 < argc) {
            if (!readNumber(argv[++a], 1, 1000000000L, minFrequency))
                return usage();
        } else if (arg.size() > 1 && arg[0] == '-') {
            return usage();
        } else {
            names.push_back(arg);
        }
    }
    if (names.size() != 2)
        return usage();

    std::ifstream input(names[0], std::ios::binary);
    if (!input) {
        std::fprintf(stderr, "makeframes: cannot read %s\n", names[0].c_str());
        return 1;
    }
    const std::string text((std::istreambuf_iterator<char>(input)), std::istreambuf_iterator<char>());

    std::vector<std::string> vocabulary;
    const auto sentences = splitSentences(text, vocabulary);
    std::vector<Frame> frames = collectFrames(sentences, vocabulary, static_cast<int>(n), static_cast<uint64_t>(minFrequency));

    size_t variantCount = 0;
    for (const Frame& frame : frames)
        variantCount += frame.variants.size();

    const std::string alphaName = names[1] + "-Alpha-phraseFrames.txt";
    const std::string freqName = names[1] + "-Freq-phraseFrames.txt";
    sortAlphabetically(frames);
    if (!writeFrameFile(alphaName, frames)) {
        std::fprintf(stderr, "makeframes: cannot write %s\n", alphaName.c_str());
        return 1;
    }
    sortByFrequency(frames);
    if (!writeFrameFile(freqName, frames)) {
        std::fprintf(stderr, "makeframes: cannot write %s\n", freqName.c_str());
        return 1;
    }
    std::printf("%zu frames with %zu variants written to %s and %s\n", frames.size(), variantCount,
                alphaName.c_str(), freqName.c_str());
    return 0;
}
