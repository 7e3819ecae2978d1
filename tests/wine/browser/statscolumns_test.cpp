#include "browser_fixture.h"

#include "browser/loader.h"

namespace {

const char frameFile[] = "go *\t4\t3\r\ngo on\t2\r\ngo up\t1\r\ngo in\t1\r\n\r\n"
                         "the *\t3\t1\r\nthe cat\t3\r\n\r\n"
                         "a *\t2\t2\r\na dog\t1\r\na cat\t1\r\n";
const char statsHeader[] = "frame\tfrequency\tvariants\tvariants per occurrence\ttop variant\t"
                           "top variant share\tentropy (bits)\trange\tDP\tper million words\r\n";
const char statsRows[] = "go *\t4\t3\t0.7500\tgo on\t0.5000\t1.5000\t1\t1.0000\t400000.0000\r\n"
                         "the *\t3\t1\t0.3333\tthe cat\t1.0000\t0.0000\t2\t0.2500\t300000.0000\r\n"
                         "a *\t2\t2\t1.0000\ta dog\t0.5000\t1.0000\t2\t0.1000\t200000.0000\r\n";

std::vector<std::string> headings()
{
    std::vector<std::string> texts;
    HWND header = reinterpret_cast<HWND>(SendMessageA(frameList, LVM_GETHEADER, 0, 0));
    const int count = static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
    for (int c = 0; c < count; ++c) {
        char text[100] = {};
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT;
        column.pszText = text;
        column.cchTextMax = sizeof text;
        SendMessageA(frameList, LVM_GETCOLUMNA, c, reinterpret_cast<LPARAM>(&column));
        texts.push_back(text);
    }
    return texts;
}

const std::vector<std::string> recordHeadings = {"Rank", "Phrase-Frame", "Frequency", "Variants"};

} // namespace

TEST_F(BrowserTest, AStatsFileBesideTheFramesAddsSortableCopiedColumns)
{
    writeFile("c-Stats.txt", std::string(statsHeader) + statsRows);
    openBrowser(writeFile("c-Freq-phraseFrames.txt", frameFile));
    ASSERT_EQ(rowCount(), 3);
    EXPECT_TRUE(prompts.empty());
    std::vector<std::string> all = recordHeadings;
    all.insert(all.end(), {"Var./Occ.", "Top Share", "Entropy", "Range", "DP", "Per Million"});
    EXPECT_EQ(headings(), all);
    EXPECT_EQ(cell(2, 2), "the *");
    EXPECT_EQ(cell(2, 5) + "|" + cell(2, 6) + "|" + cell(2, 7) + "|" + cell(2, 8) + "|" + cell(2, 9) + "|" +
                  cell(2, 10),
              "0.3333|1.0000|0.0000|2|0.2500|300000.0000");

    clickHeading(7); // Entropy: highest first
    EXPECT_EQ(sortDescription, "sorted by entropy in descending order");
    EXPECT_EQ(cell(1, 2) + "|" + cell(2, 2) + "|" + cell(3, 2), "go *|a *|the *");
    EXPECT_EQ(cell(3, 7), "0.0000");
    EXPECT_EQ(cell(3, 1), "2");

    clickButton(copyAllButtonId);
    EXPECT_EQ(clipboardText(), "c-Freq-phraseFrames.txt, 3 phrase-frames,\r\n"
                               "sorted by entropy in descending order\r\n\r\n"
                               "go *\t4\t3\t0.7500\t0.5000\t1.5000\t1\t1.0000\t400000.0000\r\ngo on\t2\r\ngo up\t1\r\ngo in\t1\r\n\r\n"
                               "a *\t2\t2\t1.0000\t0.5000\t1.0000\t2\t0.1000\t200000.0000\r\na dog\t1\r\na cat\t1\r\n\r\n"
                               "the *\t3\t1\t0.3333\t1.0000\t0.0000\t2\t0.2500\t300000.0000\r\nthe cat\t3\r\n\r\n");
    EXPECT_TRUE(prompts.empty());
}

TEST_F(BrowserTest, AStatsFileOfOtherFramesIsNamedAndTheListKeepsFourColumns)
{
    writeFile("c-Stats.txt", std::string(statsHeader) + statsRows);
    openBrowser(writeFile("c-Freq-phraseFrames.txt", frameFile));
    ASSERT_EQ(headings().size(), 10u);

    // The same frames with other counts beside another file: the columns go.
    const std::string rows = statsRows;
    const std::string otherStats =
        writeFile("d-Stats.txt", statsHeader + ("go *\t5\t3\t0.6000\tgo on\t0.4000\t1.5000\t1\t1.0000\t500000.0000\r\n" +
                                                 rows.substr(rows.find("the *"))));
    ASSERT_TRUE(loadPhraseFrameFile(writeFile("d-Alpha-phraseFrames.txt", frameFile)));
    EXPECT_EQ(rowCount(), 3);
    EXPECT_EQ(headings(), recordHeadings);
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0].text, otherStats + "\r\nis not used: it belongs to other frames: its row for the frame \"go *\" "
                                            "gives frequency 5 and 3 variants, where d-Alpha-phraseFrames.txt has 4 "
                                            "and 3.\r\n\r\nThe list is shown without its measures.");
    EXPECT_EQ(prompts[0].caption, "CorvalePhraseFrames");
    EXPECT_EQ(prompts[0].style, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));

    // A heading beyond the four sorts nothing, and the copy has no measures.
    clickHeading(7);
    EXPECT_EQ(cell(1, 2), "go *");
    EXPECT_EQ(cell(1, 7), "");
    clickButton(copyAllButtonId);
    EXPECT_EQ(clipboardText().find("0.7500"), std::string::npos);
}
