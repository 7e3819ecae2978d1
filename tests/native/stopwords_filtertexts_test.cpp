#include "stopwords/filtertexts.h"

#include "common/homepage.h"

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
    EXPECT_EQ(summaryText(3, 1234, 0), "Processing complete.\r\n3 file(s) filtered.\r\n1,234 lines removed.");
    EXPECT_EQ(summaryText(0, 0, 0), "Processing complete.\r\n0 file(s) filtered.\r\n0 lines removed.");
    EXPECT_EQ(summaryText(1, 0, 2), "Processing complete.\r\n1 file(s) filtered.\r\n0 lines removed.\r\n"
                                    "2 file(s) skipped (could not be read or rewritten).");
}

TEST(StopwordsFilterTexts, StatusMessage)
{
    EXPECT_EQ(statusMessage(0, "ignored"), "");
    EXPECT_EQ(statusMessage(0x80070002, "File not found.\r\n"), "Error 2147942402 [&H80070002] File not found.\r\n");
    EXPECT_EQ(statusMessage(0x1234abcd, ""), "Error 305441741 [&H1234ABCD]");
    EXPECT_EQ(statusMessage(5, ""), "Error 5 [&H00000005]");
    EXPECT_EQ(statusMessage(0xFFFFFFFF, ""), "Error 4294967295 [&HFFFFFFFF]");
}
