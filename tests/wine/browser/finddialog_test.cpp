#include "browser_fixture.h"

#include "browser/finddialog.h"
#include "browser/loader.h"
#include "browser/panerefill.h"
#include "browser/variantpane.h"

namespace {

HWND findControl(int id)
{
    return GetDlgItem(findWindow, id);
}

HWND findBox()
{
    return findControl(410);
}

// Types text into the search box and presses Enter there.
void searchFor(const std::string& text)
{
    SetWindowTextA(findBox(), text.c_str());
    SendMessageA(findBox(), WM_CHAR, 13, 1);
}

BOOL CALLBACK countFindWindow(HWND window, LPARAM count)
{
    char caption[32] = {};
    GetWindowTextA(window, caption, sizeof caption);
    if (lstrcmpA(caption, "Find Text") == 0)
        ++*reinterpret_cast<int*>(count);
    return TRUE;
}

int findWindowCount()
{
    int count = 0;
    EnumWindows(countFindWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

bool isBold(const CHARFORMATA& format)
{
    return (format.dwMask & CFM_BOLD) && (format.dwEffects & CFE_BOLD);
}

bool isPlain(const CHARFORMATA& format)
{
    return (format.dwMask & CFM_BOLD) && !(format.dwEffects & CFE_BOLD);
}

// Sixty frames, more than the list shows at once; "needle" in frame 40 and
// "Needle" in frame 30.
std::string sixtyFrameFile()
{
    std::string file;
    for (int i = 1; i <= 60; ++i) {
        std::string n = (i < 10 ? "0" : "") + std::to_string(i);
        std::string variants = "variant " + n + "\t2";
        if (i == 30)
            variants = "a Needle here\t3";
        if (i == 40)
            variants = "the needle in a needle\t3\r\nno match here\t2";
        file += "frame " + n + " *\t" + std::to_string(100 - i) + "\t1\r\n" + variants + "\r\n\r\n";
    }
    return file;
}

} // namespace

TEST_F(BrowserTest, FindWindowHasItsControlsAndStaysSingle)
{
    findText.clear(); // the text of an earlier test's window
    openBrowser(writeFile("a.txt", twoFrameFile));
    command(findCommandId);
    HWND window = FindWindowA(nullptr, "Find Text");
    ASSERT_TRUE(window);
    EXPECT_EQ(window, findWindow);
    EXPECT_EQ(GetWindow(window, GW_OWNER), mainWindow);
    EXPECT_TRUE(IsWindowVisible(window));

    const struct {
        int id;
        const char* text;
        bool enabled;
        int check; // -1: not a check control
    } controls[] = {
        {609, "Search for word or phrase", true, -1},
        {410, "", true, -1},
        {415, "&Find", true, -1},
        {420, "&Close", true, -1},
        {608, "Search in...", true, -1},
        {610, "&Phrase Frames only", false, BST_UNCHECKED},
        {611, "&Variant Phrases only", false, BST_UNCHECKED},
        {612, "&Either", true, BST_CHECKED},
        {613, "Match &Substrings", false, BST_CHECKED},
        {614, "Match C&ase", true, BST_CHECKED},
    };
    HWND child = GetWindow(window, GW_CHILD);
    for (const auto& c : controls) {
        SCOPED_TRACE(c.id);
        ASSERT_TRUE(child);
        EXPECT_EQ(GetDlgCtrlID(child), c.id); // in creation order
        EXPECT_EQ(windowText(child), c.text);
        EXPECT_EQ(IsWindowEnabled(child) != FALSE, c.enabled);
        if (c.check >= 0) {
            EXPECT_EQ(SendMessageA(child, BM_GETCHECK, 0, 0), c.check);
        }
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_FALSE(child);

    // Find again while the window is open: the same window, no second one.
    command(findCommandId);
    EXPECT_EQ(findWindow, window);
    EXPECT_EQ(findWindowCount(), 1);

    // Match Case toggles bit 3; Esc closes and keeps the typed text.
    clickButton(614, window);
    EXPECT_EQ(findOptions & 8, 0u);
    EXPECT_EQ(SendMessageA(findControl(614), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    SetWindowTextA(findBox(), "kept text");
    SendMessageA(findBox(), WM_CHAR, 27, 1);
    pumpMessages();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(findWindowCount(), 0);
    EXPECT_EQ(findText, "kept text");

    command(findCommandId);
    ASSERT_TRUE(IsWindow(findWindow));
    EXPECT_EQ(findWindowCount(), 1);
    EXPECT_EQ(windowText(findBox()), "kept text");
    DWORD from = 1, to = 0;
    SendMessageA(findBox(), EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(from, 0u);
    EXPECT_EQ(to, 9u);
    EXPECT_EQ(SendMessageA(findControl(614), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    clickButton(614, findWindow);
    EXPECT_EQ(findOptions & 8, 8u);
    EXPECT_EQ(SendMessageA(findControl(614), BM_GETCHECK, 0, 0), BST_CHECKED);
    clickButton(420, findWindow);
    EXPECT_EQ(findWindowCount(), 0);
}

TEST_F(BrowserTest, EnterFindsScrollsToAndBoldsTheMatch)
{
    openBrowser(writeFile("sixty.txt", sixtyFrameFile()));
    ASSERT_EQ(rowCount(), 60);
    const int perPage = static_cast<int>(SendMessageA(frameList, LVM_GETCOUNTPERPAGE, 0, 0));
    ASSERT_LT(perPage, 39);
    command(findCommandId);

    // Match Case is on at start: "Needle" in frame 30 is passed over.
    searchFor("needle");
    EXPECT_TRUE(prompts.empty());
    EXPECT_EQ(selectedIndex, 40);
    EXPECT_EQ(selectedRow(), 40);
    const int top = static_cast<int>(SendMessageA(frameList, LVM_GETTOPINDEX, 0, 0));
    EXPECT_LE(top, 39);
    EXPECT_LT(39, top + perPage);
    EXPECT_EQ(controlText(frameInfoLabelId), "frame 40 *:  rank 40, frequency 60, variants 1");

    EXPECT_EQ(paneText(), "the needle in a needle\t3\r\nno match here\t2");
    EXPECT_TRUE(isPlain(paneFormat(0, 4)));
    EXPECT_TRUE(isBold(paneFormat(4, 10)));
    EXPECT_TRUE(isPlain(paneFormat(10, 16)));
    EXPECT_TRUE(isBold(paneFormat(16, 22)));
    LONG secondLine = panePosition("no match");
    ASSERT_GT(secondLine, 0);
    EXPECT_TRUE(isPlain(paneFormat(secondLine, secondLine + 13)));

    DWORD from = 1, to = 0;
    SendMessageA(findBox(), EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(from, 0u);
    EXPECT_EQ(to, 6u);
    EXPECT_EQ(GetFocus(), findBox());

    // Without Match Case, from the top: frame 30 matches, in its own case.
    selectListRow(1);
    clickButton(614, findWindow);
    searchFor("NEEDLE");
    EXPECT_EQ(selectedIndex, 30);
    EXPECT_EQ(paneText(), "a Needle here\t3");
    EXPECT_TRUE(isBold(paneFormat(2, 8)));
    EXPECT_TRUE(isPlain(paneFormat(8, 13)));
}

TEST_F(BrowserTest, SearchAfterLoadStartsAtRowOneAndStopsAtTheEnd)
{
    const char file[] = "apple * x\t9\t1\r\nx\t9\r\n\r\nb\t8\t1\r\ny\t8\r\n\r\nc\t7\t1\r\napple pie\t7\r\n";
    std::string path = writeFile("apples.txt", file);
    openBrowser(path);
    command(findCommandId);

    searchFor("   ");
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0].text, "Please enter a string to search for.");
    EXPECT_EQ(prompts[0].caption, "CorvalePhraseFrames");
    EXPECT_EQ(prompts[0].style, static_cast<UINT>(MB_OK | MB_ICONHAND));

    // Row 1, selected by the load, is searched too.
    searchFor("apple");
    EXPECT_EQ(selectedIndex, 1);
    EXPECT_EQ(selectedRow(), 1);
    EXPECT_EQ(paneText(), "x\t9"); // the match lies in the header only

    // So it is after a fresh load, after the user goes back to row 1, and
    // after a sort, even when row 1 is the frame found before.
    loadPhraseFrameFile(path);
    pumpMessages();
    searchFor("apple");
    EXPECT_EQ(selectedIndex, 1);
    selectListRow(2);
    selectListRow(1);
    searchFor("apple");
    EXPECT_EQ(selectedIndex, 1);
    clickHeading(1);
    clickHeading(1); // rank ascending: the file's order again
    searchFor("apple");
    EXPECT_EQ(selectedIndex, 1);

    // Searching again goes on after the row found, up to the end.
    clickButton(415, findWindow);
    EXPECT_EQ(selectedIndex, 3);
    EXPECT_EQ(paneText(), "apple pie\t7");
    searchFor("apple");
    ASSERT_EQ(prompts.size(), 2u);
    EXPECT_EQ(prompts[1].text, "\"apple\"\r not found in specified context.");
    EXPECT_EQ(prompts[1].caption, "CorvalePhraseFrames");
    EXPECT_EQ(prompts[1].style, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(selectedIndex, 3);
    EXPECT_EQ(selectedRow(), 3);
    EXPECT_EQ(paneText(), "apple pie\t7");
}

// Byte 0 is allowed in the file: the pane and the label show a blank for
// it, and a match after it is bold.
TEST_F(BrowserTest, MatchesAfterANulAreBoldAndTheNulIsABlank)
{
    const char bytes[] = "A\tf\t1\r\na1\t5\r\n\r\nB\0b\tg\t1\r\nx\0y needle\t3\r\n";
    const std::string file(bytes, sizeof bytes - 1);
    openBrowser(writeFile("nul-Freq-phraseFrames.txt", file));
    command(findCommandId);
    searchFor("needle");
    ASSERT_EQ(selectedIndex, 2);
    EXPECT_EQ(controlText(frameInfoLabelId), "B b:  rank 2, frequency g, variants 1");
    EXPECT_EQ(paneText(), "x y needle\t3");
    const LONG at = panePosition("needle");
    ASSERT_EQ(at, 4);
    EXPECT_TRUE(isBold(paneFormat(at, at + 6)));
}

// A match that lies only in the part of a large frame the pane does not
// show: the label says so, since nothing in the pane is bold.
TEST_F(BrowserTest, MatchBeyondTheShownPartIsNamedInTheLabel)
{
    std::string file = "A\tf\t1\r\na1\t5\r\n\r\nB\tg\t3\r\nb1\t3\r\nb " + std::string(1200, 'x') + " needle\t2\r\n";
    openBrowser(writeFile("long-Freq-phraseFrames.txt", file));
    command(findCommandId);
    searchFor("needle");
    ASSERT_EQ(selectedIndex, 2);
    EXPECT_EQ(panePosition("needle"), -1);
    EXPECT_EQ(controlText(frameInfoLabelId),
              "B:  rank 2, frequency g, variants 3  (1 variant cut at 1,000 bytes)  "
              "(the match lies beyond the part shown)");

    // A match in the part shown: bold, and no such words.
    selectListRow(1);
    searchFor("b1");
    ASSERT_EQ(selectedIndex, 2);
    EXPECT_TRUE(isBold(paneFormat(panePosition("b1"), panePosition("b1") + 2)));
    EXPECT_EQ(controlText(frameInfoLabelId).find("beyond"), std::string::npos);
}

// Find that lands on a frame fills the pane once, with the matches in bold;
// the plain fill that a selection makes is left out.
TEST_F(BrowserTest, FindFillsThePaneOnce)
{
    openBrowser(writeFile("a-Freq-phraseFrames.txt", twoFrameFile));
    command(findCommandId);
    const uint32_t before = paneReplacements;
    searchFor("b2");
    ASSERT_EQ(selectedIndex, 2);
    EXPECT_EQ(paneReplacements - before, 1u);
    EXPECT_EQ(controlText(frameInfoLabelId), "B:  rank 2, frequency g, variants 2");
    EXPECT_TRUE(isBold(paneFormat(panePosition("b2"), panePosition("b2") + 2)));

    // A selection by the user still fills the pane itself.
    selectListRow(1);
    EXPECT_EQ(paneText(), "a1\t5");
}

// Find that lands on a frame larger than the pane holds: "&Alpha" orders the
// whole frame, as after a click on its row, and shows the start of that
// order (the "aa" variants the file keeps beyond the part first shown).
TEST_F(BrowserTest, AlphaAfterFindOrdersTheWholeFrame)
{
    const std::string padding(40, 'p');
    std::string file = "a * b\t1\t1\r\na c b\t1\r\n\r\nthe * of\t540000\t36000";
    for (int i = 0; i < 18000; ++i)
        file += "\r\nthe zz" + std::to_string(10000 + i) + padding + " of\t20";
    for (int i = 0; i < 18000; ++i)
        file += "\r\nthe aa" + std::to_string(10000 + i) + padding + " of\t10";
    openBrowser(writeFile("big-Freq-phraseFrames.txt", file + "\r\n"));
    command(findCommandId);
    searchFor("zz10001");
    ASSERT_EQ(selectedIndex, 2);
    ASSERT_EQ(paneText().substr(0, 11), "the zz10000");

    clickButton(alphaButtonId);
    EXPECT_EQ(paneText().substr(0, 11), "the aa10000");
    EXPECT_EQ(paneText().find("zz"), std::string::npos);
    EXPECT_NE(controlText(frameInfoLabelId).find(" of 36,000 variants shown)"), std::string::npos);
}
