// The concordance finds every occurrence makeframes counted: for each frame
// and each variant of frames made from a small corpus, as many lines as the
// file's frequency, each at the place in its file where the n-gram stands.
#include "browser/core/concordance.h"
#include "browser/core/framefile.h"
#include "common/core/numbertext.h"
#include "makeframes/core/framebuild.h"
#include "tests/support/scratchfolder.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <sstream>
#include <tuple>

namespace {

// Texts that try the reader: case, sentence ends, paragraphs, numbers,
// apostrophes, a UTF-8 file and one in pieces beyond the first 64 KB.
std::vector<std::string> corpusTexts()
{
    std::string longText;
    for (int k = 0; k < 3000; ++k)
        longText += k % 7 == 0 ? "The end of the day. " : "at the end of a long day, the end of it\r\n";
    return {
        "The cat sat on the mat. The dog sat on the mat!\r\nA cat sat on a mat; the cat sat\non the rug.",
        "It's the end of the road: the end of the line.\n\nThe end of 3.5 days, isn't it? The END of it.",
        "\xef\xbb\xbf" "Caf\xc3\xa9 at the end of the day, the caf\xc3\xa9 at the end of the road.",
        longText,
    };
}

struct Corpus {
    bool utf8 = false; // made with -codepage utf8, with a Russian text
    ScratchFolder scratch;
    CorpusRecord record;
    std::vector<std::string> texts = corpusTexts();
    std::vector<std::string> frames; // the Alpha file's records
};

// makeframes' trigram frames of the texts, each text a file.
void makeCorpus(Corpus& corpus)
{
    CorpusReader reader;
    WordStream words;
    sendIdsTo(reader, words);
    reader.utf8Words = corpus.utf8;
    if (corpus.utf8) {
        corpus.record.options.push_back({"output", "utf8"});
        corpus.texts.push_back("\xd0\xbc\xd0\xb8\xd1\x80 \xd0\xb8 \xd0\xb2\xd0\xbe\xd0\xb9\xd0\xbd\xd0\xb0. "
                               "\xd0\xbc\xd0\xb8\xd1\x80 \xd0\xb8 \xd1\x82\xd1\x80\xd1\x83\xd0\xb4, "
                               "\xd0\xbc\xd0\xb8\xd1\x80 \xd0\xb8 \xd0\xb2\xd0\xbe\xd0\xb9\xd0\xbd\xd0\xb0.");
    }
    for (size_t k = 0; k < corpus.texts.size(); ++k) {
        const std::string& text = corpus.texts[k];
        const std::string name = corpus.scratch / ("text" + std::to_string(k) + ".txt");
        std::ofstream(name, std::ios::binary) << text;
        const uint64_t before = reader.wordCount;
        reader.beginFile(classifyText(text.data(), std::min(text.size(), textCheckBytes), text.size() <= textCheckBytes));
        reader.addBytes(text.data(), text.size());
        reader.endFile();
        corpus.record.inputs.push_back({name, "text" + std::to_string(k) + ".txt", reader.wordCount - before, 0});
    }
    words.finish();
    FrameSettings settings;
    settings.length = 3;
    settings.minFrequency = 1;
    settings.minVariants = 1;
    settings.memoryBytes = 64 << 20;
    settings.scratchFolder = corpus.scratch.path;
    settings.byteOrderMark = corpus.utf8;
    writeFrameFiles(reader, words, rankWords(reader), settings, corpus.scratch / "a.txt", corpus.scratch / "f.txt");
    int32_t count = 0;
    int32_t variants = 0;
    const std::string alpha = readAll(corpus.scratch / "a.txt");
    buildFrameRecords(alpha.substr(corpus.utf8 ? 3 : 0), corpus.frames, count, variants);
}

ConcordanceScan scanCorpus(const Corpus& corpus, const ConcordanceTarget& target, size_t& changedFiles,
                           bool readAroundWords = false)
{
    ConcordanceScan scan;
    scan.readAroundWords = readAroundWords;
    EXPECT_TRUE(startConcordance(scan, corpus.record, target));
    changedFiles = 0;
    for (size_t k = 0; k < corpus.texts.size(); ++k) {
        const std::string& text = corpus.texts[k];
        size_t at = 0;
        // Pieces of odd sizes, as a file may come.
        const auto read = [&](char* into, size_t size) {
            const size_t n = std::min({size, text.size() - at, size_t(4099)});
            std::memcpy(into, text.data() + at, n);
            at += n;
            return n;
        };
        const int64_t words = scanConcordanceFile(scan, k, read, [] { return false; });
        if (words != concordanceWordsNotCounted && words != int64_t(corpus.record.inputs[k].words))
            ++changedFiles;
    }
    return scan;
}

} // namespace

TEST(BrowserConcordance, EveryFrameAndVariantHasAsManyLinesAsItsFrequency)
{
    for (bool utf8 : {false, true}) {
        SCOPED_TRACE(utf8 ? "UTF-8" : "1252");
        Corpus corpus;
        corpus.utf8 = utf8;
        makeCorpus(corpus);
        ASSERT_GT(corpus.frames.size(), 50u);
        for (size_t f = 1; f < corpus.frames.size(); ++f) {
            const std::string& record = corpus.frames[f];
            SCOPED_TRACE(record);
            std::vector<ConcordanceTarget> targets(1);
            ASSERT_TRUE(frameTarget(record, targets[0]));
            for (size_t start = record.find("\r\n"); start != std::string::npos; start = record.find("\r\n", start)) {
                start += 2;
                targets.emplace_back();
                ASSERT_TRUE(variantTarget(record, record.substr(start, record.find("\r\n", start) - start), targets.back()));
            }
            for (const ConcordanceTarget& target : targets) {
                size_t changed = 0;
                const ConcordanceScan scan = scanCorpus(corpus, target, changed);
                EXPECT_EQ(changed, 0u);
                ASSERT_EQ(scan.lines.size(), target.frequency);
                for (const ConcordanceLine& line : scan.lines) {
                    // The n-gram's first word stands at its offset (the texts are ASCII but for "café").
                    std::string first = line.ngram.substr(line.ngram[0] == '[' ? 1 : 0, 2);
                    first = first.substr(0, first.find_first_of(" ]"));
                    std::string there = corpus.texts[line.file].substr(line.offset, first.size());
                    for (char& c : there)
                        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
                    EXPECT_EQ(there, first) << line.ngram;
                }
                const std::string f = formatThousands(int64_t(target.frequency));
                EXPECT_EQ(concordanceSummary(scan, target, changed).substr(0, f.size() + 1), f + " ");
                EXPECT_EQ(scanCorpus(corpus, target, changed, true).found, target.frequency);
            }
        }
    }
}

TEST(BrowserConcordance, SortOrdersCopyTextAndSummaries)
{
    CorpusRecord record;
    record.inputs = {{"/c/one.txt", "one.txt", 9, 1}, {"/c/two.txt", "two.txt", 9, 1}};
    std::vector<ConcordanceLine> lines = {
        {"we saw", "the [end] of", "it all", "end", 1, 40},
        {"a", "the [day] of", "rest", "day", 0, 10},
        {"you saw", "the [end] of", "days", "end", 0, 30},
        {"", "the [day] of", "", "day", 1, 5},
    };
    const struct {
        ConcordanceOrder order;
        std::string text;
    } cases[] = {
        {bySlotWord, "a\tthe [day] of\trest\tone.txt\r\n\tthe [day] of\t\ttwo.txt\r\n"
                     "you saw\tthe [end] of\tdays\tone.txt\r\nwe saw\tthe [end] of\tit all\ttwo.txt\r\n"},
        {byLeftWord, "\tthe [day] of\t\ttwo.txt\r\na\tthe [day] of\trest\tone.txt\r\n"
                     "you saw\tthe [end] of\tdays\tone.txt\r\nwe saw\tthe [end] of\tit all\ttwo.txt\r\n"},
        {byRightWord, "\tthe [day] of\t\ttwo.txt\r\nyou saw\tthe [end] of\tdays\tone.txt\r\n"
                      "we saw\tthe [end] of\tit all\ttwo.txt\r\na\tthe [day] of\trest\tone.txt\r\n"},
        {byFile, "a\tthe [day] of\trest\tone.txt\r\nyou saw\tthe [end] of\tdays\tone.txt\r\n"
                 "\tthe [day] of\t\ttwo.txt\r\nwe saw\tthe [end] of\tit all\ttwo.txt\r\n"},
    };
    for (const auto& c : cases) {
        sortConcordance(lines, c.order);
        EXPECT_EQ(concordanceCopyText(lines, record), c.text) << c.order;
    }

    ConcordanceTarget frame;
    frame.isFrame = true;
    frame.frequency = 408;
    ConcordanceTarget variant;
    variant.frequency = 2;
    ConcordanceScan scan;
    scan.found = 408;
    scan.filesWithLines = 247;
    scan.kept = 408;
    EXPECT_EQ(concordanceSummary(scan, frame, 0), "408 lines in 247 files; the frame's frequency is 408");
    EXPECT_EQ(concordanceSummary(scan, frame, 2),
              "408 lines in 247 files; the corpus has changed since the frames were made (2 files give another "
              "word count); the frame's frequency is 408");
    EXPECT_EQ(concordanceSummary(scan, variant, 0),
              "408 lines in 247 files; the corpus has changed since the frames were made: the variant's frequency is 2");
    scan.found = 500000;
    scan.kept = concordanceLineBound;
    frame.frequency = 500000;
    EXPECT_EQ(concordanceSummary(scan, frame, 0), "500,000 lines in 247 files; the frame's frequency is 500,000; "
                                                  "the first 100,000 are shown, 400,000 more were found");
}

// Read only around the target's words, the scan finds the same lines as a
// scan of every word: the same n-grams with the same context on both sides.
TEST(BrowserConcordance, ReadingAroundTheWordsFindsWhatReadingEveryWordFinds)
{
    std::string longText(70000, 'x'); // ASCII beyond the first 64 KB: its UTF-8 decides later
    for (size_t k = 79; k < longText.size(); k += 80)
        longText[k] = '\n';
    const struct {
        const char* name;
        std::string text;
        const char* frame;
        const char* slotWord;
        bool keepCase;
        int codePage;
        uint64_t lines;
    } cases[] = {
        {"case variants", "One of the. ONE OF THE; one Of tHe! done of the, none of the", "* of the", "one", false, 1252, 3},
        {"case kept", "One of the. one of the: ONE of the", "* of the", "one", true, 1252, 1},
        {"whole file", "one of the", "* of the", "one", false, 1252, 1},
        {"at the end", "a. b. one of the", "* of the", "one", false, 1252, 1},
        {"line break", "one of\r\nthe and one\nof the", "* of the", "one", false, 1252, 2},
        {"sentence end", "one of. the one; of the one of\n\nthe one of the", "* of the", "one", false, 1252, 1},
        {"context across sentences",
         "a. b. c. d. e. f. g. h. i. one of the x. y. z. one of the p q r s t u v w one of the. k l. m n o",
         "* of the", "one", false, 1252, 3},
        {"quotes and apostrophes", "'one' of the one's of the o'ne of the", "* of the", "one", false, 1252, 1},
        {"frame of all variants", "the end of it. the start of it; the END of x", "the * of", "", false, 1252, 3},
        {"UTF-8", "\xef\xbb\xbf" "Caf\xc3\xa9 one of the caf\xc3\xa9s. \xc3\x89t\xc3\xa9 one of the", "* of the", "one", false,
         1252, 2},
        {"UTF-8 after 64 KB of ASCII", longText + ". caf\xc3\xa9 one of the \xc3\xa9t\xc3\xa9 one of the", "* of the",
         "one", false, 1252, 2},
        {"8-bit", "caf\xe9 one of the. \xc9t\xe9 one of the \xe9t\xe9", "* of the", "one", false, 1252, 2},
        {"numbers before", "1.5. 2.5. 3.5. 4.5. 5.5. 6.5. 7.5. one of the", "* of the", "one", false, 1252, 1},
        {"Turkish capital I with dot", "go \xddn. go in. GO IN", "go *", "in", false, 1254, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CorpusRecord record;
        record.codePage = c.codePage;
        record.inputs = {{"t.txt", "t.txt", 0, 0}, {"u.txt", "u.txt", 0, 0}};
        if (c.keepCase)
            record.options.push_back({"keepcase", "yes"});
        ConcordanceTarget target;
        std::istringstream frame(c.frame);
        for (std::string word; frame >> word;) {
            if (word == "*")
                target.slot = target.words.size();
            target.words.push_back(word);
        }
        target.slotWords = {c.slotWord};
        if (target.slotWords[0].empty())
            target.slotWords = {"end", "start"};
        std::vector<ConcordanceLine> found[2];
        for (bool around : {false, true}) {
            ConcordanceScan scan;
            scan.readAroundWords = around;
            ASSERT_TRUE(startConcordance(scan, record, target));
            for (size_t file = 0; file < 2; ++file) {
                size_t at = 0;
                const auto read = [&](char* into, size_t size) {
                    const size_t n = std::min({size, c.text.size() - at, size_t(4099)});
                    std::memcpy(into, c.text.data() + at, n);
                    at += n;
                    return n;
                };
                const int64_t words = scanConcordanceFile(scan, file, read, [] { return false; });
                EXPECT_EQ(words == concordanceWordsNotCounted, around);
            }
            EXPECT_EQ(scan.found, 2 * c.lines);
            found[around] = scan.lines;
        }
        ASSERT_EQ(found[0].size(), found[1].size());
        for (size_t k = 0; k < found[0].size(); ++k) {
            const ConcordanceLine& all = found[0][k];
            const ConcordanceLine& around = found[1][k];
            EXPECT_EQ(std::tie(all.left, all.ngram, all.right, all.file, all.offset),
                      std::tie(around.left, around.ngram, around.right, around.file, around.offset));
        }
    }
}
