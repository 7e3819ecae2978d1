// The window's fields read into the options of a run, the output it
// suggests for a corpus, and the texts it shows.
#include "makeframes/window/core/makeform.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

MakeForm formWithCorpus()
{
    MakeForm form;
    form.inputs = {fs::path("corpus") / "a.txt", fs::path("more")};
    form.outputFolder = "out";
    form.outputName = "brown";
    return form;
}

} // namespace

TEST(MakeWindowForm, LengthsAreOneLengthOrARangeFromTwoToTen)
{
    int low = 0, high = 0;
    EXPECT_TRUE(readLengthRange("4", low, high));
    EXPECT_EQ(low, 4);
    EXPECT_EQ(high, 4);
    EXPECT_TRUE(readLengthRange(" 3 - 5 ", low, high));
    EXPECT_EQ(low, 3);
    EXPECT_EQ(high, 5);
    EXPECT_TRUE(readLengthRange("2-10", low, high));
    EXPECT_EQ(high, 10);
    for (const char* bad : {"", " ", "1", "11", "5-3", "3-", "-3", "3-5-6", "4a", "x", "3 5", "+4", "99999999999999"}) {
        low = high = -1;
        EXPECT_FALSE(readLengthRange(bad, low, high)) << bad;
        EXPECT_EQ(low, -1) << "changed by " << bad;
    }
}

TEST(MakeWindowForm, MinimumsAreWholeNumbersFromOne)
{
    uint64_t value = 7;
    EXPECT_TRUE(readMinimum(" 12 ", value));
    EXPECT_EQ(value, 12u);
    EXPECT_TRUE(readMinimum("4294967295", value));
    EXPECT_EQ(value, 4294967295u);
    for (const char* bad : {"", "0", "-1", "1.5", "4294967296", "2e3", "1,000"}) {
        value = 7;
        EXPECT_FALSE(readMinimum(bad, value)) << bad;
        EXPECT_EQ(value, 7u);
    }
}

TEST(MakeWindowForm, AGoodFormGivesEveryOption)
{
    MakeForm form = formWithCorpus();
    form.lengths = "3-5";
    form.minFrequency = "3";
    form.minVariants = "4";
    form.minRange = "2";
    form.innerSlotsOnly = form.keepCase = form.joinHyphens = form.ngrams = form.stats = true;
    form.codePage = 1251;
    MakeOptions options;
    EXPECT_EQ(readMakeForm(form, options), "");
    EXPECT_EQ(options.minLength, 3);
    EXPECT_EQ(options.maxLength, 5);
    EXPECT_EQ(options.minFrequency, 3u);
    EXPECT_EQ(options.minVariants, 4u);
    EXPECT_EQ(options.minRange, 2u);
    EXPECT_TRUE(options.innerSlotsOnly && options.keepCase && options.joinHyphens && options.ngrams && options.stats);
    EXPECT_EQ(options.codePage, 1251);
    EXPECT_EQ(options.inputs, form.inputs);
    EXPECT_EQ(options.prefix, fs::path("out") / "brown");
}

// UTF-8 from the list reads 8-bit input in the system's code page; a code
// page the user did not choose refuses letters it lacks rather than write ?.
TEST(MakeWindowForm, TheCodePageListGivesUtf8AndWhetherTheUserChoseIt)
{
    const struct {
        int listed;
        bool chosen;
        int codePage;
        bool utf8;
    } cases[] = {{1251, true, 1251, false}, {1252, false, 1252, false}, {utf8CodePage, true, 1253, true}};
    for (const auto& c : cases) {
        MakeForm form = formWithCorpus();
        form.codePage = c.listed;
        form.codePageChosen = c.chosen;
        form.systemCodePage = 1253;
        MakeOptions options;
        EXPECT_EQ(readMakeForm(form, options), "");
        EXPECT_EQ(options.codePage, c.codePage) << c.listed;
        EXPECT_EQ(options.utf8, c.utf8) << c.listed;
        EXPECT_EQ(options.refuseLostLetters, !c.chosen) << c.listed;
    }
    LostLetters mixed;
    mixed.codePage = 1251;
    mixed.letters = 3;
    mixed.scripts = {{"Greek", 2}, {"Western European Latin", 1}};
    EXPECT_EQ(codePageQuestion(mixed), "3 letters of the corpus (2 Greek, 1 Western European Latin) have no form in "
                                       "code page 1251: they would be written as ?.\r\n\r\n"
                                       "Yes: write the files in UTF-8 (any script).\r\nNo: write nothing.");
}

TEST(MakeWindowForm, EachBadFieldIsNamedAndTheOptionsStayAsTheyWere)
{
    struct Case {
        void (*spoil)(MakeForm&);
        const char* said;
    } cases[] = {
        {[](MakeForm& f) { f.inputs.clear(); }, "add the corpus first"},
        {[](MakeForm& f) { f.lengths = "1-3"; }, "n-gram length \"1-3\""},
        {[](MakeForm& f) { f.minFrequency = "0"; }, "minimum frame frequency \"0\""},
        {[](MakeForm& f) { f.minVariants = "two"; }, "minimum number of variants \"two\""},
        {[](MakeForm& f) { f.minRange = ""; }, "minimum range \"\""},
        {[](MakeForm& f) { f.innerSlotsOnly = true, f.lengths = "2-4"; }, "at least 3 words"},
        {[](MakeForm& f) { f.outputFolder.clear(); }, "output folder"},
        {[](MakeForm& f) { f.outputName.clear(); }, "output name \"\""},
        {[](MakeForm& f) { f.outputName = "a?b"; }, "output name \"a?b\""},
        {[](MakeForm& f) { f.outputName = fs::path("sub") / "name"; }, "cannot be a file name"},
        {[](MakeForm& f) { f.outputName = ".."; }, "cannot be a file name"},
    };
    for (const Case& c : cases) {
        MakeForm form = formWithCorpus();
        c.spoil(form);
        MakeOptions options;
        options.minLength = 7;
        const std::string problem = readMakeForm(form, options);
        EXPECT_NE(problem.find(c.said), std::string::npos) << problem;
        EXPECT_EQ(options.minLength, 7) << c.said;
    }
    // Inner slots with 3 words and more is fine.
    MakeForm form = formWithCorpus();
    form.innerSlotsOnly = true;
    form.lengths = "3";
    MakeOptions options;
    EXPECT_EQ(readMakeForm(form, options), "");
}

TEST(MakeWindowForm, TheCodePageIsTheSystemsWhenOnOfferElseWestern)
{
    for (int offered : {1250, 1251, 1252, 1253, 1254, 1257})
        EXPECT_EQ(defaultCodePage(static_cast<unsigned>(offered)), offered);
    for (unsigned other : {0u, 437u, 932u, 1255u, 1256u, 1258u, 65001u})
        EXPECT_EQ(defaultCodePage(other), 1252) << other;
}

TEST(MakeWindowForm, TheOutputIsSuggestedBesideTheFirstInputAndNamedAfterIt)
{
    fs::path folder, name;
    suggestOutput(fs::path("c") / "corpora" / "brown.txt", false, folder, name);
    EXPECT_EQ(folder, fs::path("c") / "corpora");
    EXPECT_EQ(name, "brown");
    // A folder keeps its whole name, dots and all, with or without a final
    // separator.
    suggestOutput(fs::path("c") / "corpora" / "brown.v2", true, folder, name);
    EXPECT_EQ(folder, fs::path("c") / "corpora");
    EXPECT_EQ(name, "brown.v2");
    suggestOutput(fs::path("c") / "corpora" / "brown" / "", true, folder, name);
    EXPECT_EQ(folder, fs::path("c") / "corpora");
    EXPECT_EQ(name, "brown");
    // A file whose name starts with a dot has no stem to drop.
    suggestOutput(fs::path("c") / ".hidden", false, folder, name);
    EXPECT_EQ(name, ".hidden");
    // Names outside ASCII come through as they are (UTF-8 here).
    suggestOutput(fs::path("c") / u8"\u043a\u043e\u0440\u043f\u0443\u0441", true, folder, name);
    EXPECT_EQ(name.u8string(), u8"\u043a\u043e\u0440\u043f\u0443\u0441");
    // The root holds no name to take.
    suggestOutput(fs::path("/"), true, folder, name);
    EXPECT_EQ(folder, fs::path("/"));
    EXPECT_EQ(name, "corpus");
}

TEST(MakeWindowForm, TheResultSaysWhatWasReadKeptAndWritten)
{
    MakeResult result;
    result.filesRead = 12;
    result.filesSkipped = 1;
    result.words = 1234567;
    result.sentences = 1;
    result.frames = 3456;
    result.variants = 12345;
    result.written = {fs::path("out") / "b-Alpha-phraseFrames.txt", fs::path("out") / "b-Freq-phraseFrames.txt"};
    result.seconds = 2.25;
    const std::string out = (fs::path("out") / "b-").u8string();
    EXPECT_EQ(resultText(result, {"skipping x: not a text file"}),
              "Read 12 files (1 skipped): 1,234,567 words in 1 sentence.\r\n"
              "Kept 3,456 frames with 12,345 variants.\r\n"
              "Wrote:\r\n"
              "  " + out + "Alpha-phraseFrames.txt\r\n"
              "  " + out + "Freq-phraseFrames.txt\r\n"
              "Done in 2.2 s.\r\n"
              "skipping x: not a text file");
    result.filesRead = 1;
    result.filesSkipped = 0;
    result.unmapped = 3;
    result.frames = 1;
    result.variants = 1;
    result.written.clear();
    EXPECT_EQ(resultText(result, {}),
              "Read 1 file: 1,234,567 words in 1 sentence.\r\n"
              "3 characters had no form in the output code page (written as ?).\r\n"
              "Kept 1 frame with 1 variant.\r\nWrote:\r\nDone in 2.2 s.");
}

TEST(MakeWindowForm, TheReplaceQuestionListsTheFilesThere)
{
    EXPECT_EQ(replaceQuestion({fs::path("a")}), "This file is there already:\r\na\r\n\r\nReplace it?");
    EXPECT_EQ(replaceQuestion({fs::path("a"), fs::path("b")}),
              "These files are there already:\r\na\r\nb\r\n\r\nReplace them?");
}
