#include "browser/variantpane.h"

#include "browser/core/framefile.h"
#include "browser/main.h"
#include "browser/core/panetext.h"
#include "browser/core/rtf.h"
#include "browser/panerefill.h"
#include "browser/richtext.h"
#include "browser/state.h"
#include "browser/core/variantorder.h"
#include "browser/widedisplay.h"
#include "common/win/dialogs.h"
#include "common/win/holders.h"

#include <algorithm>
#include <cstring>
#include <richedit.h>

const DWORD variantPaneStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
                               ES_NOHIDESEL | ES_WANTRETURN;
const DWORD variantPaneExStyle = WS_EX_CLIENTEDGE;

static bool runningUnderWine()
{
    static const bool wine = GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
    return wine;
}

// A new, empty pane in the old one's place, with everything the program set
// on it; created before the old one goes, so no gap shows.
static HWND createPaneLike(HWND old)
{
    HWND parent = GetParent(old);
    RECT rect;
    GetWindowRect(old, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    HWND pane = CreateWindowExA(variantPaneExStyle, "RichEdit", "", variantPaneStyle & ~WS_VISIBLE, rect.left,
                                rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(GetDlgCtrlID(old))),
                                GetModuleHandleA(nullptr), nullptr);
    if (!pane)
        return nullptr;
    // Wine's rich edit does not answer WM_GETFONT; the pane got the controls'.
    WPARAM font = SendMessageA(old, WM_GETFONT, 0, 0);
    if (!font)
        font = reinterpret_cast<WPARAM>(controlFont(parent));
    SendMessageA(pane, WM_SETFONT, font, FALSE);
    SendMessageA(pane, EM_SETUNDOLIMIT, 0, 0);
    SendMessageA(pane, EM_EXLIMITTEXT, 0, SendMessageA(old, EM_GETLIMITTEXT, 0, 0));
    SendMessageA(pane, EM_SETEVENTMASK, 0, SendMessageA(old, EM_GETEVENTMASK, 0, 0));
    UINT show = (GetWindowLongPtrA(old, GWL_STYLE) & WS_VISIBLE) ? SWP_SHOWWINDOW : 0;
    SetWindowPos(pane, old, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | show);
    return pane;
}

// Wine's rich edit empties itself in more than quadratic time in its line
// count (a 50,000-line pane takes minutes), while destroying it is linear:
// there a pane that holds text is swapped for a fresh, empty control in its
// place. False where the pane is to be emptied in place (Windows, an empty
// pane, or no new control to be had).
static bool swapInEmptyPaneUnderWine()
{
    if (!runningUnderWine() || GetWindowTextLengthA(variantPane) == 0)
        return false;
    HWND old = variantPane;
    HWND pane = createPaneLike(old);
    if (!pane)
        return false;
    bool focused = GetFocus() == old;
    variantPane = pane;
    if (focused)
        SetFocus(pane);
    DestroyWindow(old);
    return true;
}

void emptyPane()
{
    ++paneReplacements;
    if (!swapInEmptyPaneUnderWine())
        SetWindowTextA(variantPane, "");
}

// The tab stop in twips, as paragraph format and RTF give it; 0 when the
// pane's font cannot be measured.
static int tabStopTwips()
{
    TEXTMETRICA metrics = {};
    int dpi = 0;
    {
        WindowDC pane(variantPane);
        HFONT font = reinterpret_cast<HFONT>(SendMessageA(variantPane, WM_GETFONT, 0, 0));
        SelectedObject selected(pane.dc, font);
        GetTextMetricsA(pane.dc, &metrics);
        dpi = GetDeviceCaps(pane.dc, LOGPIXELSX);
    }
    if (metrics.tmAveCharWidth <= 0 || dpi <= 0)
        return 0;
    return MulDiv(tabStop * metrics.tmAveCharWidth, 1440, 4 * dpi);
}

void applyTabStop()
{
    // Rich edit 1.0 on Windows honours EM_SETTABSTOPS; some rich edit
    // versions ignore it, so the same stop also goes in as paragraph format
    // (twips) over the whole text.
    int32_t stop = tabStop;
    SendMessageA(variantPane, EM_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&stop));
    const int twips = tabStopTwips();
    if (twips == 0)
        return;

    PARAFORMAT format = {};
    format.cbSize = sizeof format;
    format.dwMask = PFM_TABSTOPS;
    format.cTabCount = 1;
    format.rgxTabs[0] = twips;
    CHARRANGE kept;
    SendMessageA(variantPane, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&kept));
    CHARRANGE all = {0, -1};
    SendMessageA(variantPane, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&all));
    SendMessageA(variantPane, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
    SendMessageA(variantPane, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&kept));
}

void setPaneText(const std::string& text)
{
    // The pane is an ANSI window: text beyond the system's code page
    // reaches it as RTF.
    if (fileShownWide()) {
        // The stop goes in with the text: set afterwards, it would lay out
        // every line again.
        std::string rtf = matchesRtf(utf8Bytes(text), std::string(), true, true);
        if (const int twips = tabStopTwips())
            rtf.insert(std::strlen(rtfHeader), "\\tx" + std::to_string(twips) + " ");
        streamRtf(rtf);
        applyTabStop();
        return;
    }
    emptyPane();
    // New paragraphs take the format of the one they split from, so a stop
    // set on the empty pane lays the text out once; the second call then
    // changes nothing.
    applyTabStop();
    SetWindowTextA(variantPane, text.c_str());
    applyTabStop();
}

static bool alphabeticalWanted()
{
    return SendDlgItemMessageA(mainWindow, alphaButtonId, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void orderVariants(std::string& text, bool force)
{
    orderVariants(text, alphabeticalWanted(), fileIsFreqOrder, force);
}

void fillPaneWithFrame(int32_t index, std::string& lines, const std::string& search, bool matchCase)
{
    if (search.empty()) {
        setPaneText(lines);
    } else {
        showMatches(lines, search, matchCase);
        blankNuls(lines);
    }
    noteFill(index, lines);
}

// The pane gets frame index's variant lines in the wanted order, the label
// what they leave out.
static void fillPane(int32_t index, bool force)
{
    const std::string& record = frames[index];
    PaneVariants shown = paneVariants(record, alphabeticalWanted(), fileIsFreqOrder, force);
    setFileText(frameInfoLabelId, frameLabel(record, shown.note));
    fillPaneWithFrame(index, shown.text);
}

void showSelected()
{
    if (shownIndex != selectedIndex && selectedIndex >= 1 && selectedIndex <= frameCount) {
        const std::string& record = frames[selectedIndex];
        setFileText(frameInfoLabelId, frameSummary(record));
        if (searchFillsPane) {
            shownIndex = selectedIndex;
            return;
        }
        emptyPane();
        bool reorder = false;
        if (letMessageThroughBeforeRefill(reorder))
            fillPane(selectedIndex, reorder);
    }
    shownIndex = selectedIndex;
}

INT_PTR reorderPane(HWND, UINT, WPARAM, LPARAM)
{
    if (reorderLeftToRefill())
        return 0;
    // A frame's lines as showSelected put them: the whole frame is ordered,
    // then cut again, so a frame shown in part shows the start of the order.
    std::string text = paneFileBytes();
    if (int32_t filled = filledFrameShown(text)) {
        fillPane(filled, true);
        return 0;
    }
    orderVariants(text, true);
    setPaneText(text);
    return 0;
}

void stepTabStop(bool right)
{
    DWORD now = GetTickCount();
    if (now - lastStepTick < 150)
        return;
    lastStepTick = now;
    tabStop = right ? std::min<int32_t>(4096, tabStop + 8) : std::max<int32_t>(32, tabStop - 8);
    applyTabStop();
}
