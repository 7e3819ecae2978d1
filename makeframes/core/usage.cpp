#include "makeframes/core/usage.h"

#include <algorithm>

const std::vector<std::string> makeFramesOptions = {
    "-n",        "-min",    "-minvar", "-minrange", "-slots", "-keepcase", "-hyphens", "-codepage",
    "-ngrams",   "-stats",  "-counts", "-mem",      "-threads", "-q",      "-h",       "--help",
};

std::string makeFramesHelp()
{
    return "usage: makeframes [options] input... outprefix\n"
           "  input         a text file, a folder (read recursively) or - for standard input\n"
           "  -n N          n-gram length, 2 to 10, or a range such as 3-5 (default 4)\n"
           "  -min F        keep frames that occur at least F times (default 2)\n"
           "  -minvar V     keep frames with at least V different variants (default 2)\n"
           "  -minrange R   keep frames that occur in at least R input files (default 1)\n"
           "  -slots inner  only frames whose slot is not the first or last word\n"
           "  -keepcase     keep letter case (words are lower-cased otherwise)\n"
           "  -hyphens join a hyphen between two letters joins them: so-called is one\n"
           "                word (default split: so and called)\n"
           "  -codepage N   the code page of the output and of 8-bit input: 1250, 1251,\n"
           "                1252, 1253, 1254 or 1257 (default 1252; on Windows the\n"
           "                system's code page when it is one of these); utf8 writes\n"
           "                every file in UTF-8 (any script). Without -codepage, letters\n"
           "                the default lacks stop the run before it writes anything\n"
           "  -ngrams       also write outprefix-Ngrams.txt: each n-gram TAB its frequency\n"
           "  -stats        also write outprefix-Stats.txt: measures of each kept frame\n"
           "  -counts       the inputs are n-gram count lists (n-gram TAB count, as\n"
           "                -ngrams writes them; the counts of an n-gram listed more than\n"
           "                once are added), not text; the statistics have no range and\n"
           "                no frequency per million, and -minrange cannot be used\n"
           "  -mem SIZE     memory to use, such as 512M or 2G (default: half the machine's\n"
           "                memory, 1G at least); beyond it sorted runs go to a temporary\n"
           "                folder beside the output\n"
           "  -threads N    sort on N threads (default: one per core); the files are the\n"
           "                same on any number\n"
           "  -q            no progress on standard error\n"
           "  -h, --help    this help\n"
           "writes outprefix-Alpha-phraseFrames.txt and outprefix-Freq-phraseFrames.txt,\n"
           "and outprefix-Corpus.txt: each file read with its words and sentences, and\n"
           "the options (outprefix-N-Alpha-phraseFrames.txt ... for each length of a range)\n"
           "what counts as a word:\n"
           "  a run of letters (Latin, Greek, Cyrillic) and digits 0-9, with apostrophes\n"
           "  inside it (it's; quotes around it are dropped) and . or , between digits\n"
           "  (3.5, 1,000). Any other character splits words, the hyphen too unless you\n"
           "  give -hyphens join. Words are lower-cased unless -keepcase. . ! ? ; : an\n"
           "  empty line and a file's end end a sentence, and n-grams never cross one;\n"
           "  commas, dashes, quotes, brackets and single line breaks do not end one.\n"
           "exit status: 0 done, 1 failed or interrupted, 2 bad usage, 3 letters of the\n"
           "  corpus have no form in the default code page (nothing written; give\n"
           "  -codepage as the message says)\n";
}

namespace {

// Letters added, dropped or changed, and neighbours swapped, to make b from a.
size_t editDistance(const std::string& a, const std::string& b)
{
    std::vector<std::vector<size_t>> d(a.size() + 1, std::vector<size_t>(b.size() + 1));
    for (size_t i = 0; i <= a.size(); ++i)
        d[i][0] = i;
    for (size_t j = 0; j <= b.size(); ++j)
        d[0][j] = j;
    for (size_t i = 1; i <= a.size(); ++i)
        for (size_t j = 1; j <= b.size(); ++j) {
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (a[i - 1] != b[j - 1])});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    return d[a.size()][b.size()];
}

} // namespace

std::string nearestName(const std::string& typed, const std::vector<std::string>& names)
{
    // Caps Lock is one slip, not one per letter.
    std::string lower = typed;
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    std::string nearest;
    size_t best = 0;
    for (const std::string& name : names) {
        const size_t distance = editDistance(lower, name);
        if (nearest.empty() || distance < best) {
            nearest = name;
            best = distance;
        }
    }
    // Two slips at most, and fewer than half the letters: "-x" is no "-n".
    if (nearest.empty() || best > 2 || best * 2 >= typed.size())
        return std::string();
    return nearest;
}

uint64_t defaultMemoryBytes(uint64_t physicalBytes, size_t pointerBytes)
{
    const uint64_t least = uint64_t(1) << 30;
    if (pointerBytes < 8)
        return least;
    return std::max(least, physicalBytes / 2);
}
