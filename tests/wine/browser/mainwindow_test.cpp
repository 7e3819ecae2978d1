#include "browser_fixture.h"

#include "browser/core/layout.h"

#include <cctype>

namespace {

std::string lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string className(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

// The control's rectangle in the main window's client coordinates.
RECT clientRect(HWND control)
{
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, mainWindow, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::string menuCaption(HMENU menu, int position)
{
    char text[64] = {};
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

} // namespace

TEST_F(BrowserTest, MainWindowHasCaptionStyleAndMeasuredUnits)
{
    openBrowser(writeFile("empty.txt", ""));
    EXPECT_EQ(windowText(mainWindow), "CorvalePhraseFrames Browser beta 13 Oct 06");
    LONG style = GetWindowLongA(mainWindow, GWL_STYLE);
    for (LONG bit : {LONG(WS_POPUP), LONG(WS_CAPTION), LONG(WS_SYSMENU), LONG(WS_MINIMIZEBOX)})
        EXPECT_EQ(style & bit, bit);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX), 0);
    EXPECT_TRUE(IsWindowVisible(mainWindow));

    RECT units = {0, 0, 300, 200};
    MapDialogRect(mainWindow, &units);
    EXPECT_FLOAT_EQ(unitScaleX, units.right / 300.0f);
    EXPECT_FLOAT_EQ(unitScaleY, unitScaleX < 1.75f ? 1.855f : 1.9f);

    RECT client;
    GetClientRect(mainWindow, &client);
    const ControlBox box = mainControlBox(0, unitScaleX, unitScaleY);
    RECT expected = {0, 0, box.width, box.height};
    MapDialogRect(mainWindow, &expected);
    // The menu bar, attached after the window was built, takes its height
    // from the client area.
    EXPECT_EQ(client.right, expected.right);
    EXPECT_NEAR(client.bottom + GetSystemMetrics(SM_CYMENU), expected.bottom, 2);
}

TEST_F(BrowserTest, ControlsHaveTheirIdsClassesTextsStylesAndPositions)
{
    openBrowser(writeFile("empty.txt", ""));
    const LONG child = WS_CHILD | WS_VISIBLE;
    // In creation order (the Z and tab order); each at the place the layout
    // gives its id for the scale measured (the places themselves are checked
    // against hand-worked values natively).
    const struct {
        int id;
        const char* className;
        const char* text;
        LONG style;
    } controls[] = {
        {145, "static", nullptr, child | SS_LEFT},
        {146, "richedit", "",
         child | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_NOHIDESEL | ES_WANTRETURN},
        {144, "static", "", child | SS_LEFT},
        {150, "button", "&Alpha", child | BS_AUTORADIOBUTTON | BS_PUSHLIKE},
        {151, "button", "&Freq", child | BS_AUTORADIOBUTTON | BS_PUSHLIKE},
        {147, "button", "&Copy p-frame + vars", child | WS_TABSTOP | BS_PUSHBUTTON},
        {148, "button", "Copy all as &sorted", child | WS_TABSTOP | BS_PUSHBUTTON},
        {149, "button", "Co&ncordance", child | WS_TABSTOP | BS_PUSHBUTTON},
        {100, "syslistview32", "", child | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_OWNERDATA},
    };
    HWND previous = nullptr;
    for (const auto& c : controls) {
        SCOPED_TRACE(c.id);
        HWND control = GetDlgItem(mainWindow, c.id);
        ASSERT_TRUE(control);
        EXPECT_EQ(lower(className(control)), c.className);
        if (c.text) {
            EXPECT_EQ(windowText(control), c.text);
        }
        // Rich edit shows its scroll bars only when the text needs them.
        LONG style = c.style;
        if (c.id == variantPaneId)
            style &= ~(WS_VSCROLL | WS_HSCROLL);
        EXPECT_EQ(GetWindowLongA(control, GWL_STYLE) & style, style);
        RECT rect = clientRect(control);
        const ControlBox box = mainControlBox(c.id, unitScaleX, unitScaleY);
        RECT expected = {box.x, box.y, box.x + box.width, box.y + box.height};
        MapDialogRect(mainWindow, &expected);
        EXPECT_EQ(rect.left, expected.left);
        EXPECT_EQ(rect.top, expected.top);
        EXPECT_EQ(rect.right, expected.right);
        EXPECT_EQ(rect.bottom, expected.bottom);
        // Creation order is the Z and tab order.
        if (previous) {
            EXPECT_EQ(GetWindow(previous, GW_HWNDNEXT), control);
        }
        previous = control;
    }
    for (int id : {144, 145, 146, 150, 151})
        EXPECT_EQ(GetWindowLongA(GetDlgItem(mainWindow, id), GWL_STYLE) & WS_TABSTOP, 0) << id;
    EXPECT_EQ(GetWindowLongA(GetDlgItem(mainWindow, 146), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, WS_EX_CLIENTEDGE);
    EXPECT_EQ(GetWindowLongA(frameList, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, WS_EX_CLIENTEDGE);
}

TEST_F(BrowserTest, ListHasFullRowGridAndFourColumns)
{
    openBrowser(writeFile("empty.txt", ""));
    LRESULT extended = SendMessageA(frameList, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
    EXPECT_EQ(extended & (LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES), LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);

    RECT rect;
    GetWindowRect(frameList, &rect);
    int32_t widths[4];
    listColumnWidths(rect.right - rect.left, GetSystemMetrics(SM_CXVSCROLL), widths);
    const struct { const char* heading; int format; } columns[] = {
        {"Rank", LVCFMT_RIGHT}, {"Phrase-Frame", LVCFMT_LEFT}, {"Frequency", LVCFMT_RIGHT}, {"Variants", LVCFMT_CENTER}};
    for (int i = 0; i < 4; ++i) {
        char text[100] = {};
        LVCOLUMNA column = {};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
        column.pszText = text;
        column.cchTextMax = sizeof text;
        ASSERT_TRUE(SendMessageA(frameList, LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&column)));
        EXPECT_STREQ(text, columns[i].heading);
        EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, columns[i].format);
        EXPECT_EQ(column.cx, widths[i]);
    }
}

TEST_F(BrowserTest, MenuBarHasSixCommandsWithTheirBlanks)
{
    openBrowser(writeFile("empty.txt", ""));
    HMENU menu = GetMenu(mainWindow);
    ASSERT_TRUE(menu);
    const struct { int id; const char* caption; } items[] = {
        {301, "&Open File"}, {302, "  &Exit  "}, {305, "    &Find  "},
        {303, " < Freqs &Left "}, {304, "  Freqs &Right > "}, {9, "  &Help"}};
    ASSERT_EQ(GetMenuItemCount(menu), 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(static_cast<int>(GetMenuItemID(menu, i)), items[i].id);
        EXPECT_EQ(menuCaption(menu, i), items[i].caption);
        EXPECT_FALSE(GetSubMenu(menu, i));
    }
}

TEST_F(BrowserTest, WindowShowsTheProgramIcon)
{
    openBrowser(writeFile("empty.txt", ""));
    EXPECT_TRUE(SendMessageA(mainWindow, WM_GETICON, ICON_BIG, 0));
}

TEST_F(BrowserTest, ExitAnsweredNoKeepsRunningAndYesEnds)
{
    openBrowser(writeFile("a.txt", twoFrameFile));
    promptAnswer = IDNO;
    command(302);
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0].text, "Are you sure?");
    EXPECT_EQ(prompts[0].caption, "Exit Program?");
    EXPECT_EQ(prompts[0].style, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_TRUE(IsWindow(mainWindow));
    EXPECT_EQ(frameCount, 2);

    promptAnswer = IDYES;
    command(302);
    EXPECT_FALSE(IsWindow(mainWindow));
}

TEST_F(BrowserTest, CloseEndsAtOnceAndEscapeDoesNothing)
{
    openBrowser(writeFile("a.txt", twoFrameFile));
    command(IDCANCEL);
    EXPECT_TRUE(IsWindow(mainWindow));
    SendMessageA(mainWindow, WM_SYSCOMMAND, SC_CLOSE, 0);
    pumpMessages();
    EXPECT_FALSE(IsWindow(mainWindow));
    EXPECT_TRUE(prompts.empty());
}
