#include "browser_fixture.h"

#include "browser/core/framefile.h"
#include "browser/loader.h"

namespace {

bool fileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The system's sentence for an error, without its line end.
std::string systemReason(DWORD error)
{
    char text[512] = {};
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                                  text, sizeof text, nullptr);
    std::string reason(text, length);
    while (!reason.empty() && (reason.back() == '\r' || reason.back() == '\n' || reason.back() == ' '))
        reason.pop_back();
    return reason;
}

const char statusTail[] = "\rSelect item to show phrase variants. Click on heading to re-sort.";

} // namespace

// A name on the command line (a file dropped on the icon) is classified as
// a choice in Open is: the list's order, the option buttons, the pane's
// order and the copy's header follow the file. No folder is remembered.
TEST_F(BrowserTest, CommandLineFileIsLoadedBeforeTheWindowShows)
{
    std::string path = writeFile("corpus-Freq-phraseFrames.txt",
                                 "a * b\t6\t2\r\na y b\t5\r\na x b\t1\r\n\r\nc *\t3\t2\r\nc e\t2\r\nc d\t1\r\n");
    openBrowser("  " + path + "   ");
    EXPECT_EQ(dialogCalls, 0);
    EXPECT_EQ(frameCount, 2);
    EXPECT_EQ(controlText(statusLabelId),
              std::string("2 phrase-frames with 4 variants in corpus-Freq-phraseFrames.txt.") + statusTail);
    EXPECT_EQ(rowCount(), 2);
    EXPECT_EQ(selectedRow(), 1);
    EXPECT_EQ(selectedIndex, 1);
    EXPECT_EQ(shownIndex, 1);
    EXPECT_EQ(loadedFileName, "corpus-Freq-phraseFrames.txt");
    EXPECT_EQ(fileIsFreqOrder, 1);
    EXPECT_EQ(sortState[3], -1);
    EXPECT_EQ(SendDlgItemMessageA(mainWindow, alphaButtonId, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendDlgItemMessageA(mainWindow, freqButtonId, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(lastPath, "");

    clickButton(copyAllButtonId);
    const std::string header =
        "corpus-Freq-phraseFrames.txt, 2 phrase-frames,\r\nsorted by frequency rank in descending order\r\n";
    EXPECT_EQ(clipboardText().substr(0, header.size()), header);

    // "&Alpha" then orders every frame shown, as the file is in frequency order.
    clickButton(alphaButtonId);
    EXPECT_EQ(paneText(), "a x b\t1\r\na y b\t5");
    selectListRow(2);
    EXPECT_EQ(paneText(), "c d\t1\r\nc e\t2");
}

TEST_F(BrowserTest, EmptyCommandLineRunsOpenAndCancelLeavesThePrompt)
{
    openBrowser("   ");
    EXPECT_EQ(dialogCalls, 1);
    EXPECT_EQ(frameCount, 0);
    EXPECT_EQ(rowCount(), 0);
    EXPECT_EQ(controlText(statusLabelId), "Click \"Open File\" to select a file to display");
}

TEST_F(BrowserTest, MissingOrQuotedNameShowsEmptyListAndCreatesNothing)
{
    std::string path = tempFolder() + "\\no such file.txt";
    openBrowser(path);
    EXPECT_EQ(frameCount, 0);
    EXPECT_EQ(rowCount(), 0);
    EXPECT_EQ(controlText(statusLabelId), "Click \"Open File\" to select a file to display");
    EXPECT_FALSE(fileExists(path));
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0].text, path + "\r\ncould not be opened:\r\n\r\n" + systemReason(ERROR_FILE_NOT_FOUND));

    // The loader itself keeps quotes as part of the name, so this names no
    // file either.
    std::string quoted = "\"" + writeFile("real.txt", twoFrameFile) + "\"";
    EXPECT_FALSE(loadPhraseFrameFile(quoted));
    EXPECT_EQ(frameCount, 0);
    EXPECT_EQ(prompts.size(), 2u);
}

// Explorer and "Open with" quote a path that holds a blank.
TEST_F(BrowserTest, QuotedCommandLinePathLoadsWithoutItsQuotes)
{
    CreateDirectoryA((tempFolder() + "\\Ann Lee").c_str(), nullptr);
    std::string path = writeFile("Ann Lee\\corpus-Freq-phraseFrames.txt", twoFrameFile);
    openBrowser("  \"" + path + "\"  ");
    EXPECT_EQ(frameCount, 2);
    EXPECT_TRUE(prompts.empty());
    EXPECT_EQ(controlText(statusLabelId),
              std::string("2 phrase-frames with 3 variants in corpus-Freq-phraseFrames.txt.") + statusTail);
    // Classified by the name without its quotes; no folder remembered.
    EXPECT_EQ(loadedFileName, "corpus-Freq-phraseFrames.txt");
    EXPECT_EQ(lastPath, "");
    EXPECT_EQ(SendDlgItemMessageA(mainWindow, freqButtonId, BM_GETCHECK, 0, 0), BST_CHECKED);
}

// A file that cannot be opened changes nothing shown, and a box says why; a
// file another program keeps open for writing (sharing reading and writing)
// still loads.
TEST_F(BrowserTest, FileThatCannotBeOpenedIsReportedWithTheSystemsReason)
{
    openBrowser(writeFile("a.txt", twoFrameFile));
    ASSERT_EQ(frameCount, 2);

    std::string held = writeFile("held.txt", twoFrameFile);
    {
        HANDLE writer = CreateFileA(held.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(writer, INVALID_HANDLE_VALUE);
        EXPECT_TRUE(loadPhraseFrameFile(held));
        EXPECT_EQ(frameCount, 2);
        EXPECT_TRUE(prompts.empty());
        CloseHandle(writer);
    }

    HANDLE locker = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(locker, INVALID_HANDLE_VALUE);
    const struct {
        std::string name;
        DWORD error;
    } failures[] = {
        {held, ERROR_SHARING_VIOLATION},
        {tempFolder(), 0}, // a folder: the reason is the system's, whatever it is
        {tempFolder() + "\\missing.txt", ERROR_FILE_NOT_FOUND},
    };
    for (const auto& failure : failures) {
        SCOPED_TRACE(failure.name);
        prompts.clear();
        EXPECT_FALSE(loadPhraseFrameFile(failure.name));
        EXPECT_EQ(frameCount, 2);
        EXPECT_EQ(rowCount(), 2);
        EXPECT_EQ(controlText(statusLabelId), std::string("2 phrase-frames with 3 variants in held.txt.") + statusTail);
        ASSERT_EQ(prompts.size(), 1u);
        const std::string opening = failure.name + "\r\ncould not be opened:\r\n\r\n";
        EXPECT_EQ(prompts[0].text.substr(0, opening.size()), opening);
        EXPECT_GT(prompts[0].text.size(), opening.size());
        if (failure.error != 0) {
            EXPECT_EQ(prompts[0].text, opening + systemReason(failure.error));
        }
        EXPECT_EQ(prompts[0].caption, "CorvalePhraseFrames");
        EXPECT_EQ(prompts[0].style, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    }
    CloseHandle(locker);
}

TEST_F(BrowserTest, CellsShowFieldsAsTheRecordSpellsThem)
{
    std::string longFrame(120, 'x');
    std::string content = "A\tf\t1\r\na1\t5\r\n\r\n" + longFrame + "\t0012\t10\r\nv\t3\r\n\r\nonly\r\n";
    openBrowser(writeFile("cells.txt", content));
    ASSERT_EQ(rowCount(), 3);
    EXPECT_EQ(cell(1, 1), "1");
    EXPECT_EQ(cell(1, 2), "A");
    EXPECT_EQ(cell(1, 3), "f");
    EXPECT_EQ(cell(1, 4), "1");
    EXPECT_EQ(cell(2, 2), longFrame.substr(0, 99));
    EXPECT_EQ(cell(2, 3), "0012");
    EXPECT_EQ(cell(2, 4), "10");
    EXPECT_EQ(cell(3, 1), "3");
    EXPECT_EQ(cell(3, 2), "only");
    EXPECT_EQ(cell(3, 3), "");
    EXPECT_EQ(cell(3, 4), "");
}

TEST_F(BrowserTest, SelectionChangeShowsSummaryAndVariants)
{
    openBrowser(writeFile("a.txt", twoFrameFile));
    EXPECT_EQ(controlText(frameInfoLabelId), "A:  rank 1, frequency f, variants 1");
    EXPECT_EQ(paneText(), "a1\t5");

    selectListRow(2);
    EXPECT_EQ(selectedIndex, 2);
    EXPECT_EQ(shownIndex, 2);
    EXPECT_EQ(controlText(frameInfoLabelId), "B:  rank 2, frequency g, variants 2");
    // Neither option button is on: the pane orders by frequency.
    EXPECT_EQ(paneText(), "b1\t3\r\nb2\t1");
}

TEST_F(BrowserTest, LargeFileWarningCancelKeepsPreviousRecords)
{
    openBrowser(writeFile("a.txt", twoFrameFile));
    std::string big(50000001, 'x');
    std::string bigPath = writeFile("big.txt", big);
    std::string().swap(big);

    selectListRow(2);
    promptAnswer = IDCANCEL;
    EXPECT_FALSE(loadPhraseFrameFile(bigPath));
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0].text, largeFileWarning);
    EXPECT_EQ(prompts[0].text,
              "This file may have too many items\r\nto load and manipulate efficiently.\r\n\r\n"
              "Proceed anyway?\r\n\r(If you answer 'Ok', please be very patient.)");
    EXPECT_EQ(prompts[0].caption, "CorvalePhraseFrames");
    EXPECT_EQ(prompts[0].style, static_cast<UINT>(MB_OKCANCEL | MB_ICONEXCLAMATION));
    // Nothing shown changes: rows, selection, label, pane.
    EXPECT_EQ(rowCount(), 2);
    EXPECT_EQ(selectedRow(), 2);
    EXPECT_EQ(frameCount, 2);
    EXPECT_EQ(frames[2].substr(0, 4), "2\tB\t");
    EXPECT_EQ(controlText(statusLabelId).substr(0, 31), "2 phrase-frames with 3 variants");
    EXPECT_EQ(controlText(frameInfoLabelId), "B:  rank 2, frequency g, variants 2");
    EXPECT_EQ(paneText(), "b1\t3\r\nb2\t1");
    EXPECT_EQ(cell(2, 2), "B");

    promptAnswer = IDOK;
    loadPhraseFrameFile(bigPath);
    // The warning, then: no frame line in it.
    ASSERT_EQ(prompts.size(), 3u);
    EXPECT_EQ(prompts[2].text, notPhraseFramesText(bigPath));
    EXPECT_EQ(frameCount, 1);
    EXPECT_EQ(rowCount(), 1);
    EXPECT_EQ(frames[1].size(), 2u + 50000001u);
}

TEST_F(BrowserTest, FileWithLoneLineFeedsLoadsAsOneRecord)
{
    openBrowser(writeFile("lf.txt", "A\tf\t1\na1\t5\n\nB\tg\t2\n"));
    EXPECT_EQ(frameCount, 1);
    EXPECT_EQ(controlText(statusLabelId).substr(0, 30), "1 phrase-frames with 0 variant");
}

// A README or a file with LF line ends is not what the program shows: a box
// says so, then it is shown as it was read. A phrase-frame file gets none.
TEST_F(BrowserTest, FileWithoutAFrameLineIsLoadedAfterABox)
{
    const std::string readme = writeFile("README.md", "# Corvale\r\n\r\nTools for corpus linguists.\r\n");
    const std::string lf = writeFile("lf-Freq-phraseFrames.txt", "A\tf\t1\na1\t5\n\nB\tg\t2\n");
    openBrowser(readme);
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0].text, readme + "\r\ndoes not look like a phrase-frame file: no line in it holds a phrase "
                                        "frame, its frequency and its number of variants separated by TABs.\r\n\r\n"
                                        "It is shown as it was read.");
    EXPECT_EQ(prompts[0].caption, "CorvalePhraseFrames");
    EXPECT_EQ(prompts[0].style, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(frameCount, 2);
    EXPECT_EQ(controlText(statusLabelId), std::string("2 phrase-frames with 0 variants in README.md.") + statusTail);

    EXPECT_TRUE(loadPhraseFrameFile(lf));
    ASSERT_EQ(prompts.size(), 2u);
    EXPECT_EQ(prompts[1].text, notPhraseFramesText(lf));
    EXPECT_EQ(frameCount, 1);

    EXPECT_TRUE(loadPhraseFrameFile(writeFile("a-Freq-phraseFrames.txt", twoFrameFile)));
    EXPECT_EQ(prompts.size(), 2u);
}

// Two quoted names (two files dropped at once) name no file: a box says so,
// and the window stays as it was, with the prompt to open a file.
TEST_F(BrowserTest, TwoQuotedNamesLeaveTheWindowAsItWas)
{
    const std::string first = writeFile("a-Freq-phraseFrames.txt", twoFrameFile);
    const std::string second = writeFile("b-Freq-phraseFrames.txt", twoFrameFile);
    openBrowser("\"" + first + "\" \"" + second + "\"");
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_NE(prompts[0].text.find("could not be opened:"), std::string::npos);
    EXPECT_EQ(controlText(statusLabelId), "Click \"Open File\" to select a file to display");
    EXPECT_EQ(controlText(frameInfoLabelId), "");
    EXPECT_EQ(rowCount(), 0);

    // With a file shown, the same names leave it shown.
    EXPECT_TRUE(loadPhraseFrameFile(first));
    selectListRow(2);
    EXPECT_FALSE(loadPhraseFrameFile(first + "\" \"" + second));
    EXPECT_EQ(controlText(statusLabelId), std::string("2 phrase-frames with 3 variants in a-Freq-phraseFrames.txt.") +
                                              statusTail);
    EXPECT_EQ(controlText(frameInfoLabelId), "B:  rank 2, frequency g, variants 2");
    EXPECT_EQ(paneText(), "b1\t3\r\nb2\t1");
    EXPECT_EQ(rowCount(), 2);
    EXPECT_EQ(selectedRow(), 2);
}
