// A UTF-8 frame file in the real window on a system whose code page lacks
// its letters: the list, the labels, the pane, Find and both copies.
#include "browser_fixture.h"

#include "browser/finddialog.h"
#include "common/core/corpusformat.h"
#include "common/win/dialogs.h"

#include <vector>

namespace {

// Russian and Greek frames after the byte-order mark; one variant holds a
// byte that is no UTF-8.
const char russianGreekFile[] =
    "\xEF\xBB\xBF"
    "\xD0\xBC\xD0\xB8\xD1\x80 *\t3\t2\r\n"                        // мир *
    "\xD0\xBC\xD0\xB8\xD1\x80 \xD0\xB4\xD0\xBE\xD0\xBC\t2\r\n"    // мир дом
    "\xD0\xBC\xD0\xB8\xD1\x80 \xFF\t1\r\n\r\n"
    "\xCE\xBB\xCF\x8C\xCE\xB3\xCE\xBF\xCF\x82 *\t1\t1\r\n"        // λόγος *
    "\xCE\xBB\xCF\x8C\xCE\xB3\xCE\xBF\xCF\x82 \xCE\xB1\t1\r\n";   // λόγος α

std::wstring wideCell(int row, int column)
{
    wchar_t buffer[256] = {};
    LVITEMW item = {};
    item.iSubItem = column - 1;
    item.pszText = buffer;
    item.cchTextMax = 256;
    SendMessageW(frameList, LVM_GETITEMTEXTW, row - 1, reinterpret_cast<LPARAM>(&item));
    return buffer;
}

std::wstring wideText(HWND window)
{
    std::vector<wchar_t> text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
    return text.data();
}

std::wstring widePaneText()
{
    std::vector<wchar_t> text(4096, L'\0');
    GETTEXTEX get = {static_cast<DWORD>(text.size() * sizeof(wchar_t)), GT_USECRLF, 1200, nullptr, nullptr};
    SendMessageW(variantPane, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get), reinterpret_cast<LPARAM>(text.data()));
    return text.data();
}

std::wstring clipboardWideText()
{
    std::wstring text;
    if (!OpenClipboard(nullptr))
        return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const wchar_t* units = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = units;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

} // namespace

TEST_F(BrowserTest, Utf8FileShowsItsLettersInTheListLabelsPaneFindAndCopies)
{
    ASSERT_EQ(GetACP(), 1252u) << "the test wants a system code page without Cyrillic and Greek";
    openBrowser(writeFile("ru-Freq-phraseFrames.txt", russianGreekFile));
    ASSERT_EQ(frameCount, 2);

    // The mark is no part of the first frame, and the list shows letters.
    EXPECT_EQ(wideCell(1, 2), L"\u043C\u0438\u0440 *");
    EXPECT_EQ(wideCell(2, 2), L"\u03BB\u03CC\u03B3\u03BF\u03C2 *");
    EXPECT_EQ(wideCell(1, 3), L"3");
    EXPECT_EQ(wideText(GetDlgItem(mainWindow, frameInfoLabelId)),
              L"\u043C\u0438\u0440 *:  rank 1, frequency 3, variants 2");
    // The bad byte is one replacement character; no line is lost.
    EXPECT_EQ(widePaneText(), L"\u043C\u0438\u0440 \u0434\u043E\u043C\t2\r\n\u043C\u0438\u0440 \uFFFD\t1");
    EXPECT_EQ(controlText(statusLabelId).substr(0, 30), "2 phrase-frames with 3 variant");
    // "&Alpha" orders the lines the pane holds (read back as UTF-16).
    clickButton(alphaButtonId);
    EXPECT_EQ(widePaneText(), L"\u043C\u0438\u0440 \u0434\u043E\u043C\t2\r\n\u043C\u0438\u0440 \uFFFD\t1");

    clickButton(copyFrameButtonId);
    EXPECT_EQ(clipboardWideText(),
              L"\u043C\u0438\u0440 *\t3\t2\r\n\u043C\u0438\u0440 \u0434\u043E\u043C\t2\r\n\u043C\u0438\u0440 \uFFFD\t1"
              L"\r\n\r\n");
    EXPECT_EQ(clipboardText(), "??? *\t3\t2\r\n??? ???\t2\r\n??? ?\t1\r\n\r\n");

    // Find in capitals finds the Greek frame and shows the match in the pane.
    command(findCommandId);
    ASSERT_NE(findWindow, nullptr);
    clickButton(matchCaseCheckId, findWindow); // "Match C&ase" off
    SetWindowTextW(GetDlgItem(findWindow, findTextBoxId), L"\u039B\u038C\u0393\u039F\u03A3 \u0391");
    SendMessageW(GetDlgItem(findWindow, findTextBoxId), WM_CHAR, 13, 1);
    pumpMessages();
    EXPECT_EQ(selectedRow(), 2);
    EXPECT_EQ(widePaneText(), L"\u03BB\u03CC\u03B3\u03BF\u03C2 \u03B1\t1");

    // Letters typed through the program's own message loop reach the box
    // whole, though the system's code page has none of them.
    HWND box = GetDlgItem(findWindow, findTextBoxId);
    SetWindowTextW(box, L"");
    for (const wchar_t* typed = L"\u043C\u0438\u0440"; *typed != 0; ++typed)
        PostMessageW(box, WM_CHAR, *typed, 1);
    for (int k = 0; k < 50; ++k)
        letOneMessageThrough(findWindow);
    wchar_t text[16] = {};
    GetWindowTextW(box, text, 16);
    EXPECT_STREQ(text, L"\u043C\u0438\u0440");
    EXPECT_TRUE(prompts.empty());
}

TEST_F(BrowserTest, Utf8FileWithoutTheMarkIsShownAsBeforeAndSaidOnTheStatusLine)
{
    openBrowser(writeFile("ru.txt", "\xD0\xBC\xD0\xB8\xD1\x80 *\t3\t1\r\n\xD0\xBC\xD0\xB8\xD1\x80 a\t3\r\n"));
    ASSERT_EQ(frameCount, 1);
    EXPECT_EQ(cell(1, 2), "\xD0\xBC\xD0\xB8\xD1\x80 *");
    EXPECT_EQ(controlText(statusLabelId),
              "1 phrase-frames with 1 variants in ru.txt.\rThis file looks like UTF-8 but has no byte-order mark: "
              "it is shown in the system's code page.");
    EXPECT_TRUE(prompts.empty());
}

TEST_F(BrowserTest, EightBitFileIsShownInTheCodePageItsCorpusNames)
{
    CorpusRecord corpus;
    corpus.codePage = 1251;
    writeFile("ru-Corpus.txt", writeCorpusText(corpus));
    openBrowser(writeFile("ru-Freq-phraseFrames.txt", "\xEC\xE8\xF0 *\t3\t1\r\n\xEC\xE8\xF0 \xE4\xEE\xEC\t3\r\n"));
    ASSERT_EQ(frameCount, 1);
    EXPECT_EQ(wideCell(1, 2), L"\u043C\u0438\u0440 *");
    EXPECT_EQ(widePaneText(), L"\u043C\u0438\u0440 \u0434\u043E\u043C\t3");
    clickButton(copyFrameButtonId);
    EXPECT_EQ(clipboardWideText(), L"\u043C\u0438\u0440 *\t3\t1\r\n\u043C\u0438\u0440 \u0434\u043E\u043C\t3\r\n\r\n");
    EXPECT_TRUE(prompts.empty());
}
