#include "browser/variantpane.h"

#include "browser/framefile.h"
#include "browser/main.h"
#include "browser/state.h"
#include "browser/variantorder.h"
#include "common/dialogs.h"

#include <algorithm>
#include <richedit.h>

static DWORD lastStepTick;

void applyTabStop()
{
    // Rich edit 1.0 on Windows honours EM_SETTABSTOPS; some rich edit
    // versions ignore it, so the same stop also goes in as paragraph format
    // (twips) over the whole text.
    int32_t stop = tabStop;
    SendMessageA(variantPane, EM_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&stop));

    HDC dc = GetDC(variantPane);
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(variantPane, WM_GETFONT, 0, 0));
    HGDIOBJ previous = font ? SelectObject(dc, font) : nullptr;
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    int dpi = GetDeviceCaps(dc, LOGPIXELSX);
    if (previous)
        SelectObject(dc, previous);
    ReleaseDC(variantPane, dc);
    if (metrics.tmAveCharWidth <= 0 || dpi <= 0)
        return;

    PARAFORMAT format = {};
    format.cbSize = sizeof format;
    format.dwMask = PFM_TABSTOPS;
    format.cTabCount = 1;
    format.rgxTabs[0] = MulDiv(stop * metrics.tmAveCharWidth, 1440, 4 * dpi);
    CHARRANGE kept;
    SendMessageA(variantPane, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&kept));
    CHARRANGE all = {0, -1};
    SendMessageA(variantPane, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&all));
    SendMessageA(variantPane, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
    SendMessageA(variantPane, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&kept));
}

void setPaneText(const std::string& text)
{
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

void showSelected()
{
    if (shownIndex != selectedIndex && selectedIndex >= 1 && selectedIndex <= frameCount) {
        const std::string& record = frames[selectedIndex];
        SetDlgItemTextA(mainWindow, frameInfoLabelId, frameSummary(record).c_str());
        SetWindowTextA(variantPane, "");
        letOneMessageThrough(mainWindow);
        // The message let through may have changed the selection or loaded
        // another file; show what is wanted now.
        if (selectedIndex >= 1 && selectedIndex <= frameCount) {
            std::string text = variantLines(frames[selectedIndex]);
            orderVariants(text, false);
            setPaneText(text);
        }
    }
    shownIndex = selectedIndex;
}

INT_PTR reorderPane(HWND, UINT, WPARAM, LPARAM)
{
    std::string text = windowText(variantPane);
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
