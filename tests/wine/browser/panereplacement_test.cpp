#include "browser_fixture.h"

#include "browser/finddialog.h"
#include "browser/variantpane.h"
#include "common/win/dialogs.h"

#include <algorithm>
#include <cctype>

namespace {

// Frame 1 and frame 3 have lines of the same shape, so their tabs land at
// the same place; "needle" is in frame 40 only.
std::string paneFile()
{
    std::string file;
    for (int i = 1; i <= 60; ++i) {
        std::string n = (i < 10 ? "0" : "") + std::to_string(i);
        std::string variants = "variant " + n + "\t2";
        if (i == 1 || i == 3)
            variants = "one " + n + "\t9\r\ntwo " + n + "\t8\r\nsix " + n + "\t7";
        if (i == 40)
            variants = "the needle in a needle\t3\r\nno match here\t2";
        file += "frame " + n + " *\t" + std::to_string(100 - i) + "\t1\r\n" + variants + "\r\n\r\n";
    }
    return file;
}

const char frameOneLines[] = "one 01\t9\r\ntwo 01\t8\r\nsix 01\t7";
const char frameThreeLines[] = "one 03\t9\r\ntwo 03\t8\r\nsix 03\t7";
const char neededLines[] = "the needle in a needle\t3\r\nno match here\t2";

std::string lowerClassName(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    std::string text = name;
    for (char& c : text)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return text;
}

RECT clientRect(HWND control)
{
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, mainWindow, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// Tab stop (twips) of the paragraph that holds character at.
LONG tabStopAt(LONG at)
{
    CHARRANGE place = {at, at};
    SendMessageA(variantPane, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&place));
    PARAFORMAT format = {};
    format.cbSize = sizeof format;
    SendMessageA(variantPane, EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
    return format.cTabCount > 0 ? (format.rgxTabs[0] & 0xFFFFFF) : 0;
}

LONG paneX(LONG at)
{
    POINTL point = {};
    SendMessageA(variantPane, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&point), at);
    return point.x;
}

// What the program set on the pane and what it shows, read back.
struct PaneLook {
    HWND previous, next;
    RECT rect;
    LONG style, exStyle;
    LRESULT eventMask, limit;
    bool visible;
    std::string text;
    LONG firstStop, lastStop;
    LONG firstNumberX, lastNumberX; // where the frequencies after the TABs are drawn
    LONG height;
    std::string face;
    LONG firstVisibleLine;
    DWORD selectionStart, selectionEnd;
};

PaneLook lookOfPane()
{
    PaneLook look = {};
    look.previous = GetWindow(variantPane, GW_HWNDPREV);
    look.next = GetWindow(variantPane, GW_HWNDNEXT);
    look.rect = clientRect(variantPane);
    look.style = GetWindowLongA(variantPane, GWL_STYLE) & ~(WS_VSCROLL | WS_HSCROLL);
    look.exStyle = GetWindowLongA(variantPane, GWL_EXSTYLE);
    look.eventMask = SendMessageA(variantPane, EM_GETEVENTMASK, 0, 0);
    look.limit = SendMessageA(variantPane, EM_GETLIMITTEXT, 0, 0);
    look.visible = IsWindowVisible(variantPane) != FALSE;
    look.text = ::windowText(variantPane);
    SendMessageA(variantPane, EM_GETSEL, reinterpret_cast<WPARAM>(&look.selectionStart),
                 reinterpret_cast<LPARAM>(&look.selectionEnd));
    look.firstVisibleLine = static_cast<LONG>(SendMessageA(variantPane, EM_GETFIRSTVISIBLELINE, 0, 0));
    const LONG last = static_cast<LONG>(look.text.rfind('\t'));
    const LONG firstTab = static_cast<LONG>(look.text.find('\t'));
    look.firstStop = tabStopAt(0);
    look.lastStop = tabStopAt(last);
    // Character positions count a CR LF as one character.
    const LONG lineBreaks = static_cast<LONG>(std::count(look.text.begin(), look.text.begin() + last, '\n'));
    look.firstNumberX = paneX(firstTab + 1);
    look.lastNumberX = paneX(last + 1 - lineBreaks);
    CHARRANGE first = {0, 1};
    SendMessageA(variantPane, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&first));
    CHARFORMATA format = {};
    format.cbSize = sizeof format;
    SendMessageA(variantPane, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    look.height = format.yHeight;
    look.face = format.szFaceName;
    SendMessageA(variantPane, EM_SETSEL, look.selectionStart, look.selectionEnd);
    return look;
}

int paneCount()
{
    int count = 0;
    for (HWND child = GetWindow(mainWindow, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        count += GetDlgCtrlID(child) == variantPaneId;
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

// A selection queued as the list gets it from a click; the item must live
// until the message is handled.
void postRowSelection(int row)
{
    static LVITEMA item;
    item = LVITEMA();
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    PostMessageA(frameList, LVM_SETITEMSTATE, row - 1, reinterpret_cast<LPARAM>(&item));
}

void postFindClick()
{
    PostMessageA(GetDlgItem(findWindow, 415), BM_CLICK, 0, 0);
}

} // namespace

TEST_F(BrowserTest, FreshPaneKeepsItsPlaceSettingsAndLook)
{
    openBrowser(writeFile("pane.txt", paneFile()));
    ASSERT_EQ(paneText(), frameOneLines);
    const HWND original = variantPane;
    const PaneLook before = lookOfPane();
    ASSERT_GT(before.firstStop, 0);
    ASSERT_GT(before.firstNumberX, 0);

    selectListRow(3);
    EXPECT_EQ(GetDlgItem(mainWindow, variantPaneId), variantPane);
    EXPECT_EQ(lowerClassName(variantPane), "richedit");
    EXPECT_EQ(paneCount(), 1);
    if (variantPane != original) {
        EXPECT_FALSE(IsWindow(original));
    }
    const PaneLook after = lookOfPane();
    EXPECT_EQ(after.text, frameThreeLines);
    EXPECT_EQ(after.previous, before.previous);
    EXPECT_EQ(after.next, before.next);
    EXPECT_TRUE(EqualRect(&after.rect, &before.rect));
    EXPECT_EQ(after.style, before.style);
    EXPECT_EQ(after.style & variantPaneStyle & ~(WS_VSCROLL | WS_HSCROLL),
              variantPaneStyle & ~(WS_VSCROLL | WS_HSCROLL));
    EXPECT_EQ(after.exStyle, before.exStyle);
    EXPECT_EQ(after.eventMask, before.eventMask);
    EXPECT_EQ(after.limit, before.limit);
    EXPECT_TRUE(after.visible);
    EXPECT_EQ(after.firstStop, before.firstStop);
    EXPECT_EQ(after.lastStop, before.firstStop);
    EXPECT_EQ(after.firstNumberX, before.firstNumberX);
    EXPECT_EQ(after.lastNumberX, before.lastNumberX);
    EXPECT_EQ(after.height, before.height);
    EXPECT_EQ(after.face, before.face);
    EXPECT_EQ(after.selectionStart, 0u);
    EXPECT_EQ(after.selectionEnd, 0u);
    EXPECT_EQ(after.firstVisibleLine, 0);

    // No undo record, and the user may still type into it.
    SendMessageA(variantPane, EM_SETSEL, 0, 0);
    SendMessageA(variantPane, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("typed "));
    EXPECT_EQ(paneText().substr(0, 6), "typed ");
    EXPECT_FALSE(SendMessageA(variantPane, EM_CANUNDO, 0, 0));

    // The help takes the focus to the pane; a replacement keeps it there.
    command(helpCommandId);
    EXPECT_EQ(GetFocus(), variantPane);
    const HWND helpPane = variantPane;
    SendMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(freqButtonId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(mainWindow, freqButtonId)));
    EXPECT_NE(variantPane, helpPane);
    EXPECT_EQ(GetFocus(), variantPane);
    EXPECT_EQ(paneCount(), 1);
}

TEST_F(BrowserTest, EveryCommandFollowsThePaneThroughManyReplacements)
{
    openBrowser(writeFile("pane.txt", paneFile()));
    command(findCommandId);
    for (int round = 0; round < 8; ++round) {
        selectListRow(round % 2 ? 3 : 1);
        command(helpCommandId);
        clickButton(alphaButtonId);
        selectListRow(2);
        SetWindowTextA(GetDlgItem(findWindow, 410), "needle");
        clickButton(415, findWindow);
    }
    EXPECT_EQ(paneCount(), 1);
    EXPECT_EQ(GetDlgItem(mainWindow, variantPaneId), variantPane);
    EXPECT_EQ(paneText(), neededLines);
    EXPECT_TRUE(isBold(paneFormat(4, 10)));
    EXPECT_TRUE(isPlain(paneFormat(10, 16)));

    clickButton(freqButtonId);
    EXPECT_EQ(paneText(), "the needle in a needle\t3\r\nno match here\t2");
    EXPECT_TRUE(isPlain(paneFormat(0, -1)));
    clickButton(alphaButtonId);
    EXPECT_EQ(paneText(), "no match here\t2\r\nthe needle in a needle\t3");

    selectListRow(3);
    const LONG x = paneX(7);
    stepCommand(freqsRightCommandId);
    EXPECT_GT(paneX(7), x);
    stepCommand(freqsLeftCommandId);
    EXPECT_EQ(paneX(7), x);

    clickButton(copyFrameButtonId);
    EXPECT_EQ(clipboardText(), std::string("frame 03 *\t97\t1\r\n") + frameThreeLines + "\r\n\r\n");
}

// Inputs queued before the program catches up: the later request decides
// what the pane shows.
TEST_F(BrowserTest, QueuedSelectionAndSearchEndWithTheLaterOne)
{
    openBrowser(writeFile("pane.txt", paneFile()));
    command(findCommandId);

    enum Input { rowTwo, rowThree, rowFive, findClick, nothing, help, alphaClick };
    const struct {
        const char* name;
        std::vector<Input> inputs;
        int row;            // selected at the end
        const char* lines;  // in the pane at the end (null: the help)
        bool bold;          // the search result's matches
    } cases[] = {
        // showSelected lets the Find click through: the search result stands.
        {"row then Find", {rowTwo, findClick}, 40, neededLines, true},
        // showSelected (for the found row) lets the row click through.
        {"Find then row", {findClick, rowFive}, 5, "variant 05\t2", false},
        // The search's own message is the row click.
        {"Find, other, row", {findClick, nothing, rowFive}, 5, "variant 05\t2", false},
        {"row then row", {rowTwo, rowFive}, 5, "variant 05\t2", false},
        {"row then help", {rowTwo, help}, 2, nullptr, false},
        // A reorder of the emptied pane would leave it empty: the refill
        // reorders instead (by bytes, though the file counts as alphabetical).
        {"row then Alpha", {rowThree, alphaClick}, 3, "one 03\t9\r\nsix 03\t7\r\ntwo 03\t8", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        selectListRow(1);
        ASSERT_EQ(paneText(), frameOneLines);
        SetWindowTextA(GetDlgItem(findWindow, 410), "needle");
        for (Input input : c.inputs) {
            switch (input) {
            case rowTwo: postRowSelection(2); break;
            case rowThree: postRowSelection(3); break;
            case rowFive: postRowSelection(5); break;
            case alphaClick: PostMessageA(GetDlgItem(mainWindow, alphaButtonId), BM_CLICK, 0, 0); break;
            case findClick: postFindClick(); break;
            case nothing: PostMessageA(mainWindow, WM_NULL, 0, 0); break;
            case help: PostMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(helpCommandId, 0), 0); break;
            }
        }
        pumpMessages();
        EXPECT_EQ(selectedRow(), c.row);
        EXPECT_EQ(selectedIndex, c.row);
        EXPECT_EQ(shownIndex, c.row);
        if (c.lines) {
            EXPECT_EQ(paneText(), c.lines);
        } else {
            EXPECT_EQ(paneText().compare(0, 25, "CorvaleBrowsePhraseFrames"), 0);
        }
        if (c.bold) {
            EXPECT_TRUE(isBold(paneFormat(4, 10)));
            EXPECT_TRUE(isBold(paneFormat(16, 22)));
        } else if (c.lines) {
            EXPECT_TRUE(isPlain(paneFormat(0, -1)));
        }
        EXPECT_EQ(paneCount(), 1);
    }
}
