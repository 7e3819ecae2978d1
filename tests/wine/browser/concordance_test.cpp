// The concordance window on a small corpus whose files have moved: the
// folder is asked for, the lines come from a worker thread, sort, copy, and
// a scan cancelled or closed half-way ends cleanly.
#include "browser_fixture.h"

#include "browser/concordancewindow.h"
#include "browser/core/concordance.h"
#include "browser/filechoice.h"
#include "common/win/dialogs.h"
#include "common/win/widetext.h"

class ConcordanceTest : public BrowserTest {
protected:
    void TearDown() override
    {
        setFolderAnswerer(nullptr);
        DeleteFileW(settingsPath().c_str());
        BrowserTest::TearDown();
    }

    // The frames file and its Corpus file, which names the texts where they
    // were when the frames were made: a folder since gone.
    void writeCorpus(const std::string& bigText)
    {
        const std::string texts[] = {"The cat sat on the mat. The dog sat on the rug.",
                                     "the cat sat down; the cat sat up", bigText};
        const uint64_t words[] = {12, 8, 0};
        CorpusRecord record;
        for (int k = 0; k < (bigText.empty() ? 2 : 3); ++k) {
            const std::string name = "text" + std::to_string(k) + ".txt";
            writeFile(name, texts[k]);
            // Given as a folder: each name as given carries the folder.
            record.inputs.push_back({"C:\\gone\\" + name, "corpus\\" + name, words[k] ? words[k] : 3 * 2000000, 0});
            record.words += record.inputs.back().words;
        }
        writeFile("x-Corpus.txt", writeCorpusText(record));
        frameFile = writeFile("x-Alpha-phraseFrames.txt",
                              "the * sat\t" + std::string(bigText.empty() ? "4" : "2000004") +
                                  "\t2\r\nthe cat sat\t3\r\nthe dog sat\t1\r\n");
        setFolderAnswerer([this](const std::wstring&, std::wstring& folder) {
            ++folderPrompts;
            folder = wideText(tempFolder());
            return true;
        });
    }

    // Pumps until the scan has ended; false after 60 s.
    static bool waitForScan()
    {
        for (DWORD start = GetTickCount(); GetTickCount() - start < 60000; Sleep(5)) {
            pumpMessages();
            if (!concordanceScanRunning())
                return true;
        }
        return false;
    }

    static std::string summary() { return windowText(GetDlgItem(concordanceWindow, concordanceSummaryId)); }

    std::string frameFile;
    int folderPrompts = 0;
};

TEST_F(ConcordanceTest, FindsEveryOccurrenceSortsCopiesAndCancels)
{
    writeCorpus("");
    openBrowser(frameFile);
    // The button takes the variant under the pane's caret: the first line.
    SendMessageA(variantPane, EM_SETSEL, 0, 0);
    clickButton(concordanceButtonId);
    ASSERT_TRUE(concordanceWindow != nullptr) << (prompts.empty() ? "" : prompts[0].text);
    EXPECT_EQ(folderPrompts, 1);
    ASSERT_TRUE(waitForScan());
    EXPECT_EQ(summary(), "3 lines in 2 files; the variant's frequency is 3");
    ASSERT_EQ(concordanceLinesShown(), 3u);

    clickButton(concordanceByRightId, concordanceWindow);
    EXPECT_EQ(concordanceCell(0, 2), "down the cat sat up");
    EXPECT_EQ(concordanceCell(1, 2), "on the mat the dog sat");
    EXPECT_EQ(concordanceCell(2, 0), "the cat sat down");
    EXPECT_EQ(concordanceCell(2, 1), "the [cat] sat");
    EXPECT_EQ(concordanceCell(2, 3), "text1.txt");
    clickButton(concordanceCopyId, concordanceWindow);
    EXPECT_EQ(clipboardText(), "\tthe [cat] sat\tdown the cat sat up\tcorpus\\text1.txt\r\n"
                               "\tthe [cat] sat\ton the mat the dog sat\tcorpus\\text0.txt\r\n"
                               "the cat sat down\tthe [cat] sat\tup\tcorpus\\text1.txt\r\n");

    // A double-click on the frame row: every variant. The folder is remembered.
    SendMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(concordanceButtonId, 1), 0);
    ASSERT_TRUE(waitForScan());
    EXPECT_EQ(summary(), "4 lines in 2 files; the frame's frequency is 4");
    EXPECT_EQ(folderPrompts, 1);

    // A double-click on a variant line in the pane: that variant.
    POINTL place = {};
    SendMessageA(variantPane, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&place), panePosition("the dog sat") + 2);
    SendMessageA(variantPane, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(place.x + 2, place.y + 2));
    SendMessageA(variantPane, WM_LBUTTONUP, 0, MAKELPARAM(place.x + 2, place.y + 2));
    pumpMessages();
    ASSERT_TRUE(waitForScan());
    EXPECT_EQ(summary(), "1 line in 1 file; the variant's frequency is 1");
    EXPECT_TRUE(prompts.empty());
}

TEST_F(ConcordanceTest, CancelAndClosingMidScanEndCleanly)
{
    std::string big;
    for (int k = 0; k < 2000000; ++k)
        big += "the cat sat ";
    writeCorpus(big);
    openBrowser(frameFile);

    SendMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(concordanceButtonId, 1), 0);
    ASSERT_TRUE(concordanceScanRunning());
    clickButton(concordanceCancelId, concordanceWindow);
    ASSERT_TRUE(waitForScan());
    EXPECT_NE(summary().find("(cancelled before the end)"), std::string::npos) << summary();
    EXPECT_LE(concordanceLinesShown(), concordanceLineBound);

    // Closed while the worker reads: it is stopped and joined.
    SendMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(concordanceButtonId, 1), 0);
    ASSERT_TRUE(concordanceScanRunning());
    SendMessageA(concordanceWindow, WM_CLOSE, 0, 0);
    EXPECT_TRUE(concordanceWindow == nullptr);
    EXPECT_FALSE(concordanceScanRunning());

    // Left to run to the end, the lines stop at the bound and the rest is counted.
    SendMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(concordanceButtonId, 1), 0);
    ASSERT_TRUE(waitForScan());
    EXPECT_EQ(concordanceLinesShown(), concordanceLineBound);
    EXPECT_EQ(summary(), "2,000,004 lines in 3 files; the frame's frequency is 2,000,004; the first 100,000 "
                         "are shown, 1,900,004 more were found");
    // And the main window closed with a concordance open takes it along.
    SendMessageA(mainWindow, WM_CLOSE, 0, 0);
    pumpMessages();
    EXPECT_TRUE(concordanceWindow == nullptr);
}

// A corpus made with -codepage utf8: the variant under the caret is read
// with its letters, and the lines are shown with them, on a system whose
// code page has none of them.
TEST_F(ConcordanceTest, Utf8FramesShowTheirLinesWithTheirLetters)
{
    const std::string mir = "\xD0\xBC\xD0\xB8\xD1\x80", war = "\xD0\xB2\xD0\xBE\xD0\xB9\xD0\xBD\xD0\xB0",
                      work = "\xD1\x82\xD1\x80\xD1\x83\xD0\xB4";
    const std::string text = mir + " \xD0\xB8 " + war + ". " + mir + " \xD0\xB8 " + work + ". " + mir + " \xD0\xB8 " + war + ".";
    CorpusRecord record;
    record.options.push_back({"output", "utf8"});
    record.inputs.push_back({"C:\\gone\\ru.txt", "ru.txt", 9, 0});
    record.words = 9;
    writeFile("ru.txt", text);
    writeFile("x-Corpus.txt", writeCorpusText(record));
    frameFile = writeFile("x-Alpha-phraseFrames.txt", "\xEF\xBB\xBF" + mir + " \xD0\xB8 *\t3\t2\r\n" + mir + " \xD0\xB8 " +
                                                          war + "\t2\r\n" + mir + " \xD0\xB8 " + work + "\t1\r\n");
    setFolderAnswerer([this](const std::wstring&, std::wstring& folder) {
        folder = wideText(tempFolder());
        return true;
    });
    openBrowser(frameFile);
    const LRESULT second = SendMessageA(variantPane, EM_LINEINDEX, 1, 0);
    SendMessageA(variantPane, EM_SETSEL, second, second);
    clickButton(concordanceButtonId);
    ASSERT_TRUE(concordanceWindow != nullptr) << (prompts.empty() ? "" : prompts[0].text);
    ASSERT_TRUE(waitForScan());
    EXPECT_EQ(summary(), "1 line in 1 file; the variant's frequency is 1");
    wchar_t cell[64] = {};
    LVITEMW item = {};
    item.iSubItem = 2;
    item.pszText = cell;
    item.cchTextMax = 64;
    SendMessageW(GetDlgItem(concordanceWindow, concordanceListId), LVM_GETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ(cell, L"\u043C\u0438\u0440 \u0438 [\u0442\u0440\u0443\u0434]");
    wchar_t caption[64] = {};
    GetWindowTextW(concordanceWindow, caption, 64);
    EXPECT_STREQ(caption, L"Concordance of \"\u043C\u0438\u0440 \u0438 \u0442\u0440\u0443\u0434\"");
}
