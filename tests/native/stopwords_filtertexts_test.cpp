#include "stopwords/core/filtertexts.h"

#include "common/core/homepage.h"

#include <gtest/gtest.h>

TEST(StopwordsFilterTexts, HelpHasSevenParagraphs)
{
    std::string text = helpText();
    std::vector<std::string> paragraphs;
    size_t start = 0;
    for (size_t gap; (gap = text.find("\r\n\r\n", start)) != std::string::npos; start = gap + 4)
        paragraphs.push_back(text.substr(start, gap - start));
    paragraphs.push_back(text.substr(start));
    ASSERT_EQ(paragraphs.size(), 7u);
    EXPECT_EQ(paragraphs[0].rfind("CorvaleStopwords removes lines containing stopwords", 0), 0u);
    EXPECT_EQ(paragraphs[1],
              "Make a plain text file with one stopword per line.\r\nName it 'stopwords' (no extension!) and "
              "put it in the same directory as CorvaleStopwords.exe. ");
    EXPECT_EQ(paragraphs[2], "From Windows Explorer, drag and drop the files to filter onto CorvaleStopwords's icon.");
    EXPECT_EQ(paragraphs[3].back(), ' ');
    EXPECT_EQ(paragraphs[5], "\rFor further details, refer to the Corvale help file.");
    EXPECT_EQ(paragraphs[6], std::string("Home:  ") + CORVALE_HOME_PAGE);
}

TEST(StopwordsFilterTexts, ProgressTexts)
{
    EXPECT_EQ(stopwordsReadText(412), " 412 stopwords read");
    EXPECT_EQ(stopwordsReadText(0), " 0 stopwords read");
    EXPECT_EQ(startingFileText(2, 5, "C:\\x\\a.txt"), "Starting file 2 of 5\rC:\\x\\a.txt");
    EXPECT_EQ(startingFileText(1, 1, ""), "Starting file 1 of 1\r");
}

TEST(StopwordsFilterTexts, Summary)
{
    EXPECT_EQ(summaryText(3, 1234, {}), "Processing complete.\r\n3 file(s) filtered.\r\n1,234 lines removed.");
    EXPECT_EQ(summaryText(0, 0, {}), "Processing complete.\r\n0 file(s) filtered.\r\n0 lines removed.");
    SkipCounts unreadable;
    unreadable.unreadable = 2;
    EXPECT_EQ(summaryText(1, 0, unreadable), "Processing complete.\r\n1 file(s) filtered.\r\n0 lines removed.\r\n"
                                             "2 file(s) skipped (could not be read or rewritten).");
}

// Files left alone because they are not n-gram lists in 8-bit text, and
// files the run never reached, are not said to be unreadable.
TEST(StopwordsFilterTexts, SummaryTellsWhySkippedFilesWereSkipped)
{
    const std::vector<SkippedFile> skipped = {
        {"le.txt", SkipReason::utf16Text},    {"missing.txt", SkipReason::notFound},
        {"x-Freq-phraseFrames.txt", SkipReason::phraseFrameFile}, {"stopwords", SkipReason::stopwordList},
        {"CorvaleStopwords.exe", SkipReason::program}, {"ro.txt", SkipReason::readOnly},
        {"a.txt", SkipReason::overwriteFailed}, {"b.txt", SkipReason::notTried},
        {"c.txt", SkipReason::notTried}, {"????.txt", SkipReason::unhandledName}};
    EXPECT_EQ(summaryText(2, 1234, countSkipped(skipped)),
              "Processing complete.\r\n2 file(s) filtered.\r\n1,234 lines removed.\r\n"
              "4 file(s) skipped (could not be read or rewritten).\r\n"
              "4 file(s) skipped (not files this program filters).\r\n"
              "2 file(s) not tried (the run stopped before them).");
    EXPECT_EQ(summaryText(0, 0, countSkipped({{"le.txt", SkipReason::utf16Text}})),
              "Processing complete.\r\n0 file(s) filtered.\r\n0 lines removed.\r\n"
              "1 file(s) skipped (not files this program filters).");
    EXPECT_EQ(summaryText(1, 3, countSkipped({{"b.txt", SkipReason::notTried}})),
              "Processing complete.\r\n1 file(s) filtered.\r\n3 lines removed.\r\n"
              "1 file(s) not tried (the run stopped before them).");
}

TEST(StopwordsFilterTexts, StatusMessage)
{
    EXPECT_EQ(statusMessage(0, "ignored"), "");
    EXPECT_EQ(statusMessage(0x80070002, "File not found.\r\n"), "Error 2147942402 [&H80070002] File not found.\r\n");
    EXPECT_EQ(statusMessage(0x1234abcd, ""), "Error 305441741 [&H1234ABCD]");
    EXPECT_EQ(statusMessage(5, ""), "Error 5 [&H00000005]");
    EXPECT_EQ(statusMessage(0xFFFFFFFF, ""), "Error 4294967295 [&HFFFFFFFF]");
}

TEST(StopwordsFilterTexts, SkippedFilesNameEachWithItsReason)
{
    std::vector<SkippedFile> skipped = {
        {"missing.txt", SkipReason::notFound},
        {"held.txt", SkipReason::locked},
        {std::string("\x01\x01.txt"), SkipReason::unhandledName},
        {"big.txt", SkipReason::overwriteFailed},
    };
    EXPECT_EQ(skippedFilesText(skipped),
              "These files were skipped:\r\n"
              "\r\nmissing.txt: not found or not a file"
              "\r\nheld.txt: locked by another program"
              "\r\n??.txt: name has characters the program cannot handle"
              "\r\nbig.txt: could not be written back - kept lines are in stops.tmp");

    // Every reason has its words.
    for (int r = static_cast<int>(SkipReason::notFound); r <= static_cast<int>(SkipReason::notTried); ++r)
        EXPECT_FALSE(skipReasonText(static_cast<SkipReason>(r)).empty()) << r;

    // At most twenty names, then how many more.
    std::vector<SkippedFile> many;
    for (int i = 1; i <= 23; ++i)
        many.push_back({"f" + std::to_string(i), SkipReason::readOnly});
    std::string text = skippedFilesText(many);
    EXPECT_NE(text.find("\r\nf20: read-only\r\nand 3 more"), std::string::npos) << text;
    EXPECT_EQ(text.find("f21"), std::string::npos);
    many.resize(20);
    EXPECT_EQ(skippedFilesText(many).find("more"), std::string::npos);
}

TEST(StopwordsFilterTexts, TemporaryFileInTheWay)
{
    std::string text = temporaryInTheWayText("C:\\work\\stops.tmp", "", false, true);
    EXPECT_EQ(text.rfind("stops.tmp is already in the current folder:\r\nC:\\work\\stops.tmp\r\n", 0), 0u);
    EXPECT_NE(text.find("interrupted run"), std::string::npos);
    EXPECT_NE(text.find("No file was changed."), std::string::npos);
    EXPECT_NE(temporaryInTheWayText("x", "", false, false).find("No further file was changed."), std::string::npos);
    // With the file it belongs to known, the box names it and says what to do.
    text = temporaryInTheWayText("C:\\work\\stops.tmp", "C:\\work\\3grams.txt", false, true);
    EXPECT_NE(text.find("all the kept lines of\r\nC:\\work\\3grams.txt\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("copy stops.tmp over it"), std::string::npos) << text;
    // That file already holds them: its rewrite was complete, and nothing
    // says it may be partly rewritten.
    text = temporaryInTheWayText("C:\\work\\stops.tmp", "C:\\work\\3grams.txt", true, true);
    EXPECT_NE(text.find("C:\\work\\3grams.txt\r\nand that file already holds exactly those lines"), std::string::npos)
        << text;
    EXPECT_EQ(text.find("interrupted"), std::string::npos) << text;
    EXPECT_EQ(text.find("partly"), std::string::npos) << text;
}

// stops.tmp.partial in use is not called stops.tmp; the user learns who
// has it, that it is never complete, and what to do.
TEST(StopwordsFilterTexts, PartialCopyInUse)
{
    std::string text = partialTemporaryInUseText("C:\\work\\stops.tmp.partial", true);
    EXPECT_EQ(text.rfind("stops.tmp.partial is in use in the current folder:\r\nC:\\work\\stops.tmp.partial\r\n", 0),
              0u)
        << text;
    EXPECT_NE(text.find("Another run of the filter"), std::string::npos) << text;
    EXPECT_NE(text.find("never complete"), std::string::npos) << text;
    EXPECT_NE(text.find("may be deleted"), std::string::npos) << text;
    EXPECT_NE(text.find("No file was changed."), std::string::npos) << text;
    EXPECT_NE(text.find("Let the other run end"), std::string::npos) << text;
    EXPECT_NE(partialTemporaryInUseText("x", false).find("No further file was changed."), std::string::npos);
}

// The note beside stops.tmp counts only for a stops.tmp of the size it gives.
TEST(StopwordsFilterTexts, TemporarySourceNote)
{
    EXPECT_EQ(partialTemporaryName("stops.tmp"), "stops.tmp.partial");
    EXPECT_EQ(temporarySourceNoteName("stops.tmp"), "stops.tmp-source.txt");
    const std::string note = temporarySourceNote("C:\\My Lists\\4grams.txt", 123456);
    EXPECT_EQ(note, "C:\\My Lists\\4grams.txt\r\n123456\r\n");
    EXPECT_EQ(fileNamedByNote(note, 123456), "C:\\My Lists\\4grams.txt");
    EXPECT_EQ(fileNamedByNote(note, 123457), "");
    EXPECT_EQ(fileNamedByNote(note, 12345), "");
    EXPECT_EQ(fileNamedByNote(temporarySourceNote("C:\\a.txt", 0), 0), "C:\\a.txt");
    for (const char* broken : {"", "C:\\a.txt", "C:\\a.txt\r\n12", "\r\n12\r\n", "C:\\a.txt\r\n\r\n"})
        EXPECT_EQ(fileNamedByNote(broken, 12), "") << broken;
}
