// makebenchframes: writes a large synthetic phrase-frame file for timing the
// browser's loading, sorting and searching.
//
//   makebenchframes LINES outfile         about LINES lines
//   makebenchframes --bytes N outfile     about N bytes
//   makebenchframes --pane outfile        six frames for timing the variant
//                                         pane (below)
//
// The file has the browser's format (CR LF line ends, records separated by
// one empty line, header "frame TAB frequency TAB variants", variant lines
// "phrase TAB frequency"). Words come from a made-up vocabulary of
// pronounceable words with Zipf-like frequencies; a frame has 3 to 5 words
// and one slot; most frames have 2 to 50 variants and about one in 3,000 has
// thousands. A name ending in "Alpha-phraseFrames.txt" gets records in frame
// order with variants alphabetically; any other name gets records by falling
// frequency with variants by falling frequency, so name it
// "...-Freq-phraseFrames.txt". The same arguments give the same file on
// every run.
//
// The --pane file holds, in this order: a frame of 5,000 variants, one of 2,
// a second of 5,000 (one variant has the word "qfiveq"), one of 50,000 (one
// variant has "qfiftyq"), one of 200,000 and a third of 5,000, so that row 1
// holds 5,000 variants whether the list is by rank ascending or descending;
// variant lines by falling frequency. The generated vocabulary has no q, so each of the two
// words is found in its frame only.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <unordered_set>
#include <vector>

namespace {

// splitmix64: small, fast and the same everywhere.
uint64_t randomState = 0x436F7276616C6531ull;

uint64_t nextRandom()
{
    uint64_t z = (randomState += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

// Uniform in [0, 1).
double nextUnit()
{
    return static_cast<double>(nextRandom() >> 11) * (1.0 / 9007199254740992.0);
}

uint32_t nextBelow(uint32_t limit)
{
    return static_cast<uint32_t>(nextUnit() * limit);
}

const uint32_t vocabularySize = 40000;

// Words of one to three syllables, shortest first, so the most frequent
// words are the short ones, as in real text.
std::vector<std::string> makeVocabulary()
{
    static const char* const onsets[] = {"b", "c", "d", "f", "g", "h", "j", "k", "l", "m", "n", "p", "r", "s", "t",
                                         "v", "w", "y", "z", "br", "cl", "dr", "fl", "gr", "pl", "st", "tr", "sh", "ch",
                                         "th", ""};
    static const char* const vowels[] = {"a", "e", "i", "o", "u", "a", "e", "o", "ai", "ea", "oo", "ou"};
    static const char* const codas[] = {"", "", "", "", "n", "r", "l", "s", "t", "m", "nd", "st", "ck", "ng"};
    std::unordered_set<std::string> seen;
    std::vector<std::string> words;
    while (words.size() < vocabularySize) {
        const double u = nextUnit();
        const int syllables = u < 0.25 ? 1 : u < 0.75 ? 2 : 3;
        std::string word;
        for (int s = 0; s < syllables; ++s) {
            word += onsets[nextBelow(std::size(onsets))];
            word += vowels[nextBelow(std::size(vowels))];
            if (s == syllables - 1 || nextUnit() < 0.3)
                word += codas[nextBelow(std::size(codas))];
        }
        if (seen.insert(word).second)
            words.push_back(word);
    }
    std::stable_sort(words.begin(), words.end(),
                     [](const std::string& a, const std::string& b) { return a.size() < b.size(); });
    return words;
}

// Cumulative weights 1/rank for sampling word ranks.
std::vector<double> zipfTable()
{
    std::vector<double> table(vocabularySize);
    double total = 0;
    for (uint32_t r = 0; r < vocabularySize; ++r) {
        total += 1.0 / (r + 1);
        table[r] = total;
    }
    return table;
}

// Mostly Zipf; one draw in four uniform, which keeps the rare words coming
// when a frame needs thousands of distinct fillers.
uint32_t nextWord(const std::vector<double>& zipf)
{
    if (nextUnit() < 0.25)
        return nextBelow(vocabularySize);
    const double target = nextUnit() * zipf.back();
    return static_cast<uint32_t>(std::upper_bound(zipf.begin(), zipf.end(), target) - zipf.begin());
}

struct Variant {
    std::string phrase;
    uint64_t frequency;
};

struct Record {
    std::string frame;
    uint64_t frequency;
    std::string text; // header and variant lines, each ending in CR LF
};

// One frame of the --pane file: count variants, by falling frequency, the
// one at position marked (if any) carrying the word mark.
std::string paneFrame(const std::vector<std::string>& words, const std::string& name, uint32_t count,
                      uint32_t marked, const char* mark)
{
    // Not the sum of the variants' frequencies: that would pass 2^31.
    std::string text = "pane " + name + " * of\t" + std::to_string(20ull * count) + "\t" + std::to_string(count) + "\r\n";
    for (uint32_t k = 0; k < count; ++k) {
        std::string filler = words[k % vocabularySize];
        if (k >= vocabularySize)
            filler += ' ' + words[k / vocabularySize];
        if (mark && k == marked)
            filler += std::string(" ") + mark;
        text += "pane " + name + ' ' + filler + " of\t" + std::to_string(10ull * (count - k)) + "\r\n";
    }
    return text;
}

int writePaneFrames(const char* fileName)
{
    const std::vector<std::string> words = makeVocabulary();
    const struct {
        const char* name;
        uint32_t count;
        const char* mark;
    } layout[] = {{"five", 5000, nullptr},          {"small", 2, nullptr},
                  {"five again", 5000, "qfiveq"},   {"fifty", 50000, "qfiftyq"},
                  {"two hundred", 200000, nullptr}, {"five last", 5000, nullptr}};
    std::ofstream file(fileName, std::ios::binary | std::ios::trunc);
    uint64_t lines = 0;
    for (size_t r = 0; r < std::size(layout) && file; ++r) {
        if (r > 0)
            file.write("\r\n", 2);
        const std::string text = paneFrame(words, layout[r].name, layout[r].count, layout[r].count / 2, layout[r].mark);
        file.write(text.data(), static_cast<std::streamsize>(text.size()));
        lines += layout[r].count + 1 + (r > 0 ? 1 : 0);
    }
    file.close();
    if (file.fail()) {
        std::fprintf(stderr, "makebenchframes: cannot write %s\n", fileName);
        return 1;
    }
    std::printf("%s: %zu frames of 5,000, 2, 5,000, 50,000, 200,000 and 5,000 variant lines, %llu lines\n", fileName,
                std::size(layout), static_cast<unsigned long long>(lines));
    return 0;
}

int usage()
{
    std::fprintf(stderr,
                 "usage: makebenchframes LINES outfile\n"
                 "       makebenchframes --bytes N outfile\n"
                 "       makebenchframes --pane outfile\n"
                 "Name the file ...-Freq-phraseFrames.txt (frequency order) or\n"
                 "...-Alpha-phraseFrames.txt (frame order).\n");
    return 2;
}

bool endsWith(const std::string& text, const std::string& ending)
{
    return text.size() >= ending.size() && text.compare(text.size() - ending.size(), ending.size(), ending) == 0;
}

} // namespace

int main(int argc, char** argv)
{
    bool countBytes = false;
    const char* targetText = nullptr;
    const char* fileName = nullptr;
    if (argc == 3 && std::strcmp(argv[1], "--pane") == 0)
        return writePaneFrames(argv[2]);
    if (argc == 3) {
        targetText = argv[1];
        fileName = argv[2];
    } else if (argc == 4 && std::strcmp(argv[1], "--bytes") == 0) {
        countBytes = true;
        targetText = argv[2];
        fileName = argv[3];
    } else {
        return usage();
    }
    char* end = nullptr;
    const unsigned long long target = std::strtoull(targetText, &end, 10);
    if (*targetText == '\0' || *end != '\0' || target == 0)
        return usage();
    const bool alphaOrder = endsWith(fileName, "Alpha-phraseFrames.txt");

    const std::vector<std::string> words = makeVocabulary();
    const std::vector<double> zipf = zipfTable();
    std::vector<uint32_t> usedInRecord(vocabularySize, 0);
    std::unordered_set<std::string> frameTexts;
    std::vector<Record> records;
    uint64_t lines = 0;
    uint64_t bytes = 0;
    uint64_t variantLines = 0;

    while ((countBytes ? bytes : lines) < target) {
        const double lengthDraw = nextUnit();
        const int n = lengthDraw < 0.2 ? 3 : lengthDraw < 0.8 ? 4 : 5;
        const int slot = static_cast<int>(nextBelow(static_cast<uint32_t>(n)));
        std::vector<uint32_t> ids(static_cast<size_t>(n));
        for (uint32_t& id : ids)
            id = nextWord(zipf);

        auto phraseWith = [&](const std::string& filler) {
            std::string phrase;
            for (int k = 0; k < n; ++k) {
                if (k > 0)
                    phrase += ' ';
                phrase += k == slot ? filler : words[ids[static_cast<size_t>(k)]];
            }
            return phrase;
        };
        Record record;
        record.frame = phraseWith("*");
        if (!frameTexts.insert(record.frame).second)
            continue;

        const uint32_t variantCount =
            nextUnit() < 1.0 / 3000 ? 1000 + nextBelow(4001) : 2 + static_cast<uint32_t>(48.99 * std::pow(nextUnit(), 3.0));
        // Heavy-tailed frame weight; frames with many variants are frequent ones.
        double weight = std::min(2.0e6, 3.0 / std::pow(1.0 - nextUnit(), 1.0 / 1.1));
        weight = std::max(weight, 2.0 * variantCount);

        const uint32_t recordNumber = static_cast<uint32_t>(records.size() + 1);
        std::vector<Variant> variants;
        variants.reserve(variantCount);
        while (variants.size() < variantCount) {
            const uint32_t filler = nextWord(zipf);
            if (usedInRecord[filler] == recordNumber)
                continue;
            usedInRecord[filler] = recordNumber;
            const double share = weight / std::pow(static_cast<double>(variants.size() + 1), 0.8) * (0.5 + nextUnit());
            variants.push_back({phraseWith(words[filler]), std::max<uint64_t>(1, static_cast<uint64_t>(share))});
        }
        if (alphaOrder) {
            std::sort(variants.begin(), variants.end(),
                      [](const Variant& a, const Variant& b) { return a.phrase < b.phrase; });
        } else {
            std::sort(variants.begin(), variants.end(), [](const Variant& a, const Variant& b) {
                return a.frequency != b.frequency ? a.frequency > b.frequency : a.phrase < b.phrase;
            });
        }
        record.frequency = 0;
        for (const Variant& variant : variants)
            record.frequency += variant.frequency;

        record.text = record.frame + '\t' + std::to_string(record.frequency) + '\t' + std::to_string(variantCount) + "\r\n";
        for (const Variant& variant : variants)
            record.text += variant.phrase + '\t' + std::to_string(variant.frequency) + "\r\n";

        const bool first = records.empty();
        lines += variantCount + 1 + (first ? 0 : 1);
        bytes += record.text.size() + (first ? 0 : 2);
        variantLines += variantCount;
        records.push_back(std::move(record));
    }

    if (alphaOrder) {
        std::sort(records.begin(), records.end(), [](const Record& a, const Record& b) { return a.frame < b.frame; });
    } else {
        std::sort(records.begin(), records.end(), [](const Record& a, const Record& b) {
            return a.frequency != b.frequency ? a.frequency > b.frequency : a.frame < b.frame;
        });
    }

    std::ofstream file(fileName, std::ios::binary | std::ios::trunc);
    for (size_t r = 0; r < records.size() && file; ++r) {
        if (r > 0)
            file.write("\r\n", 2);
        file.write(records[r].text.data(), static_cast<std::streamsize>(records[r].text.size()));
    }
    file.close();
    if (file.fail()) {
        std::fprintf(stderr, "makebenchframes: cannot write %s\n", fileName);
        return 1;
    }
    std::printf("%s: %zu frames, %llu variant lines, %llu lines, %llu bytes (%s order)\n", fileName, records.size(),
                static_cast<unsigned long long>(variantLines), static_cast<unsigned long long>(lines),
                static_cast<unsigned long long>(bytes), alphaOrder ? "frame" : "frequency");
    return 0;
}
