// Writes a large English-like corpus for the makeframes benchmark: words
// drawn from a Zipf distribution (exponent 1) over 500,000 made-up words led
// by the common function words, sentences of 4 to 30 words, the first capitalised, ended by ". ",
// "? " or "! ", commas now and then, 12 words a line, an empty line every 40
// lines. Deterministic: the same word count gives the same bytes everywhere.
//
// usage: makeframes_generate <output file> <words>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const char* const commonWords[] = {
    "the", "of", "and", "to", "a", "in", "is", "that", "for", "it", "as", "was", "with", "be", "by", "on",
    "not", "he", "i", "this", "are", "or", "his", "from", "at", "which", "but", "have", "an", "had", "they",
    "you", "were", "their", "one", "all", "we", "can", "her", "has", "there", "been", "if", "more", "when",
    "will", "would", "who", "so", "no", "she", "other", "its", "may", "these", "what", "them", "than", "some",
    "him", "time", "into", "only", "do", "out", "up", "could", "our", "also", "any", "two", "my", "then",
};

const char* const syllables[] = {"ka", "lo", "mi", "ren", "tas", "vel", "dor", "pin", "sul", "gra",
                                 "mon", "fe", "tri", "bal", "quo", "zen", "har", "lim", "pos", "wer",
                                 "ban", "cu", "des", "ol", "ri", "sta", "ve", "nor", "el", "thu"};
const int syllableCount = sizeof syllables / sizeof syllables[0];
const size_t vocabularySize = 500000;

uint64_t randomState = 0x6d616b65ull;

uint64_t nextRandom()
{
    uint64_t z = (randomState += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

double uniform()
{
    return double(nextRandom() >> 11) * (1.0 / 9007199254740992.0);
}

std::string madeUpWord(size_t rank)
{
    std::string word;
    size_t r = rank;
    do {
        word += syllables[r % syllableCount];
        r /= syllableCount;
    } while (r != 0);
    return word;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: makeframes_generate <output file> <words>\n");
        return 2;
    }
    const uint64_t words = std::strtoull(argv[2], nullptr, 10);
    std::FILE* out = std::fopen(argv[1], "wb");
    if (out == nullptr) {
        std::perror(argv[1]);
        return 1;
    }
    std::vector<std::string> vocabulary;
    for (const char* w : commonWords)
        vocabulary.emplace_back(w);
    for (size_t r = 0; vocabulary.size() < vocabularySize; ++r)
        vocabulary.push_back(madeUpWord(r + 1000));
    std::vector<double> cumulative(vocabularySize);
    double sum = 0;
    for (size_t k = 0; k < vocabularySize; ++k)
        cumulative[k] = (sum += 1.0 / double(k + 1));
    for (double& c : cumulative)
        c /= sum;

    std::string text;
    int sentenceLeft = 0;
    int lineWords = 0;
    int lines = 0;
    for (uint64_t i = 0; i < words; ++i) {
        const size_t k = static_cast<size_t>(std::lower_bound(cumulative.begin(), cumulative.end(), uniform()) -
                                             cumulative.begin());
        const std::string& word = vocabulary[std::min(k, vocabularySize - 1)];
        const bool sentenceStart = sentenceLeft == 0;
        if (sentenceStart)
            sentenceLeft = 4 + static_cast<int>(nextRandom() % 27);
        const size_t start = text.size();
        text += word;
        if (sentenceStart)
            text[start] = static_cast<char>(text[start] - 'a' + 'A');
        if (--sentenceLeft == 0) {
            const uint64_t e = nextRandom() % 10;
            text += e == 0 ? "? " : e == 1 ? "! " : ". ";
        } else if (nextRandom() % 12 == 0) {
            text += ", ";
        } else {
            text += ' ';
        }
        if (++lineWords == 12) {
            text.back() = '\n';
            lineWords = 0;
            if (++lines % 40 == 0)
                text += '\n';
        }
        if (text.size() > (1 << 20)) {
            if (std::fwrite(text.data(), 1, text.size(), out) != text.size()) {
                std::perror(argv[1]);
                return 1;
            }
            text.clear();
        }
    }
    text += '\n';
    if (std::fwrite(text.data(), 1, text.size(), out) != text.size() || std::fclose(out) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
