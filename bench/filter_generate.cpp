// Writes a large tab-separated n-gram list for the stopword filter's
// benchmark, and a stopword list of a few hundred words. Deterministic: the
// same size gives the same bytes on every machine.
//
// usage: filter_generate <n-gram list> <stopword list> [size in MB, default 120]

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// The most frequent words of English prose, most frequent first; they are
// also the stopwords.
const char* const functionWords[] = {
    "the", "of", "and", "to", "a", "in", "is", "that", "for", "it", "as", "was", "with", "be", "by", "on",
    "not", "he", "I", "this", "are", "or", "his", "from", "at", "which", "but", "have", "an", "had", "they",
    "you", "were", "their", "one", "all", "we", "can", "her", "has", "there", "been", "if", "more", "when",
    "will", "would", "who", "so", "no", "she", "other", "its", "may", "these", "what", "them", "than", "some",
    "him", "time", "into", "only", "do", "out", "up", "could", "our", "also", "any", "two", "my", "then",
    "like", "first", "over", "such", "new", "did", "me", "very", "your", "about", "most", "made", "after",
    "should", "must", "many", "well", "those", "same", "through", "where", "much", "before", "how", "even",
    "us", "own", "back", "each", "between", "both", "being", "under", "never", "might", "while", "last",
    "because", "too", "here", "again", "off", "still", "down", "without", "yet", "against", "few", "since",
    "upon", "just", "every", "whether", "however", "until", "among", "during", "always", "often", "though",
    "once", "within", "above", "around", "why", "already", "either", "rather", "himself", "itself", "shall",
    "whose", "ever", "almost", "nothing", "something", "towards", "although", "across", "along", "behind",
    "beyond", "below", "beside", "besides", "despite", "except", "inside", "outside", "near", "per", "via",
    "unless", "whereas", "wherever", "whenever", "whatever", "whichever", "whoever", "whom", "neither", "nor",
    "am", "does", "doing", "done", "having", "get", "got", "gets", "getting", "let", "lets", "say", "says",
    "said", "go", "goes", "went", "gone", "come", "came", "comes", "make", "makes", "take", "took", "taken",
    "see", "saw", "seen", "know", "knew", "known", "give", "gave", "given", "put", "keep", "kept", "seem",
    "seemed", "seems", "become", "became", "becomes", "now", "then", "thus", "hence", "therefore", "indeed",
    "perhaps", "quite", "really", "else", "ago", "soon", "later", "away", "together", "enough", "less",
    "least", "further", "furthermore", "moreover", "otherwise", "instead", "meanwhile", "anyway", "somewhat",
    "mine", "yours", "hers", "ours", "theirs", "myself", "yourself", "herself", "ourselves", "themselves",
    "someone", "anyone", "everyone", "nobody", "somebody", "anybody", "everybody", "anything", "everything",
    "none", "several", "various", "certain", "another", "others", "onto", "toward", "throughout", "beneath",
    "amid", "amongst", "till", "unto", "whilst", "thereby", "therein", "thereof", "herein", "hereby", "ones",
    "mr", "mrs", "ms", "oh", "yes", "ok", "hey", "ah", "three", "four", "five", "six", "seven", "eight",
    "nine", "ten", "second", "third", "next", "previous", "whose", "cannot", "ought", "need", "dare", "used",
};

const char* const syllables[] = {"ka", "lo", "mi", "ren", "tas", "vel", "dor", "pin", "sul", "gra",
                                 "mon", "fe", "tri", "bal", "quo", "zen", "har", "lim", "pos", "wer",
                                 "ban", "cu", "des", "ol", "ri", "sta", "ve", "nor", "el", "thu"};
const int syllableCount = sizeof syllables / sizeof syllables[0];

const size_t vocabularySize = 200000;
const double zipfExponent = 1.0;

uint64_t randomState = 0x5eed5eed2024ull;

uint64_t nextRandom()
{
    // splitmix64
    uint64_t z = (randomState += 0x9e3779b97f4a7c15ull);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    return z ^ (z >> 31);
}

double uniform()
{
    return static_cast<double>(nextRandom() >> 11) * (1.0 / 9007199254740992.0);
}

// Made-up content words, distinct for distinct numbers: every word of two
// syllables first, then of three, then of four, so frequent words are short.
std::string contentWord(size_t number)
{
    size_t syllablesLeft = 2;
    for (size_t words = syllableCount * syllableCount; number >= words; words *= syllableCount) {
        number -= words;
        ++syllablesLeft;
    }
    std::string word;
    while (syllablesLeft-- > 0) {
        word += syllables[number % syllableCount];
        number /= syllableCount;
    }
    return word;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <n-gram list> <stopword list> [size in MB]\n", argv[0]);
        return 2;
    }
    const uint64_t targetBytes = static_cast<uint64_t>(argc > 3 ? std::atof(argv[3]) : 120.0) * 1000000;

    std::vector<std::string> vocabulary;
    std::vector<std::string> stopwords;
    for (const char* word : functionWords) {
        if (std::find(stopwords.begin(), stopwords.end(), word) == stopwords.end()) {
            stopwords.push_back(word);
            vocabulary.push_back(word);
        }
    }
    for (size_t n = 0; vocabulary.size() < vocabularySize; ++n)
        vocabulary.push_back(contentWord(n));

    // Word ranks follow Zipf's law, as in running text.
    std::vector<double> cumulative(vocabularySize);
    double total = 0;
    for (size_t rank = 0; rank < vocabularySize; ++rank) {
        total += 1.0 / std::pow(static_cast<double>(rank + 1), zipfExponent);
        cumulative[rank] = total;
    }
    auto randomWord = [&]() -> const std::string& {
        double u = uniform() * total;
        size_t rank = std::upper_bound(cumulative.begin(), cumulative.end(), u) - cumulative.begin();
        return vocabulary[std::min(rank, vocabularySize - 1)];
    };

    FILE* list = std::fopen(argv[2], "wb");
    if (!list) {
        std::perror(argv[2]);
        return 1;
    }
    std::fputs("| Stopwords for the filter benchmark: the most frequent words.\r\n", list);
    for (const std::string& word : stopwords)
        std::fprintf(list, "%s\r\n", word.c_str());
    std::fclose(list);

    FILE* out = std::fopen(argv[1], "wb");
    if (!out) {
        std::perror(argv[1]);
        return 1;
    }
    std::string buffer;
    uint64_t written = 0;
    for (uint64_t line = 0; written < targetBytes; ++line) {
        // Two- to five-word n-grams; some start a sentence and are capitalised;
        // frequencies fall along the list as in a list sorted by frequency.
        int words = 2 + static_cast<int>(nextRandom() % 4);
        size_t start = buffer.size();
        for (int i = 0; i < words; ++i) {
            if (i > 0)
                buffer += ' ';
            buffer += randomWord();
        }
        if (nextRandom() % 8 == 0 && buffer[start] >= 'a' && buffer[start] <= 'z')
            buffer[start] = static_cast<char>(buffer[start] - 'a' + 'A');
        buffer += '\t';
        buffer += std::to_string(1 + static_cast<uint64_t>(5e6 / std::pow(static_cast<double>(line + 1), 0.6)));
        buffer += "\r\n";
        if (buffer.size() >= (1 << 20)) {
            std::fwrite(buffer.data(), 1, buffer.size(), out);
            written += buffer.size();
            buffer.clear();
        }
    }
    std::fwrite(buffer.data(), 1, buffer.size(), out);
    std::fclose(out);
    return 0;
}
