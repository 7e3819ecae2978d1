#include "browser/framelist.h"

#include "browser/core/framefile.h"
#include "browser/core/layout.h"
#include "browser/core/listcolumns.h"
#include "browser/main.h"
#include "browser/memoryguard.h"
#include "browser/panerefill.h"
#include "browser/core/sortcolumn.h"
#include "browser/state.h"
#include "browser/variantpane.h"
#include "browser/widedisplay.h"

// The list keeps the pointer it is given until it asks again, so the cell
// text lives here rather than in a temporary.
static char cellBuffer[cellTextSize];

static void writeCell(int item, int subItem)
{
    int32_t index = item + 1;
    cellBuffer[0] = '\0';
    if (index >= 1 && index <= frameCount) {
        writeListCell(frames[index], frameMeasures, subItem + 1, cellBuffer);
    }
}

void onGetDispInfo(NMLVDISPINFOA* info)
{
    if (!(info->item.mask & LVIF_TEXT))
        return;
    writeCell(info->item.iItem, info->item.iSubItem);
    info->item.pszText = cellBuffer;
}

// A file shown wide: the same cell, as UTF-16.
void onGetDispInfoW(NMLVDISPINFOW* info)
{
    static wchar_t wideCell[cellTextSize];
    if (!(info->item.mask & LVIF_TEXT))
        return;
    writeCell(info->item.iItem, info->item.iSubItem);
    writeWideCell(cellBuffer, wideCell, cellTextSize);
    info->item.pszText = wideCell;
}

void sortByColumn(int column)
{
    sortByColumn(frames, frameCount, sortState, column, sortDescription, frameMeasures);
    InvalidateRect(frameList, nullptr, FALSE);
    UpdateWindow(frameList);
}

void setListColumns(int columnCount)
{
    const int formats[] = {LVCFMT_LEFT, LVCFMT_RIGHT, LVCFMT_CENTER}; // by ListColumnAlign
    HWND header = reinterpret_cast<HWND>(SendMessageA(frameList, LVM_GETHEADER, 0, 0));
    int present = static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
    for (; present > columnCount; --present)
        SendMessageA(frameList, LVM_DELETECOLUMN, present - 1, 0);
    RECT rect;
    GetWindowRect(frameList, &rect);
    int32_t widths[listColumnCount];
    listColumnWidths(rect.right - rect.left, GetSystemMetrics(SM_CXVSCROLL), widths, columnCount);
    for (int c = 0; c < columnCount; ++c) {
        if (c < present) {
            SendMessageA(frameList, LVM_SETCOLUMNWIDTH, c, widths[c]);
            continue;
        }
        char text[100];
        lstrcpynA(text, listColumns[c].heading, sizeof text);
        LVCOLUMNA column = {};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = formats[listColumns[c].align];
        column.cx = widths[c];
        column.pszText = text;
        column.iSubItem = c;
        SendMessageA(frameList, LVM_INSERTCOLUMNA, c, reinterpret_cast<LPARAM>(&column));
    }
}

void onColumnClick(const NMLISTVIEW* click)
{
    if (click->iSubItem == -1)
        return;
    // A sort that ran out of memory has changed nothing: no row to select anew.
    if (!runWithMemoryGuard(noMemoryToSort, [&] { sortByColumn(click->iSubItem + 1); }))
        return;
    if (frameCount == 0)
        return;
    LVITEMA item = {};
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(frameList, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&item));
    // Row 1 may already have been selected, and then the list reports no change.
    showSelectionAnew(1);
}

void onItemChanged(const NMLISTVIEW* change)
{
    // Only changes of the selection count: a click first takes the focus
    // mark off the old row, and showing that row again would use up the one
    // message that showSelected lets through.
    if (!(change->uChanged & LVIF_STATE) || !((change->uNewState ^ change->uOldState) & LVIS_SELECTED))
        return;
    showSelectionAnew(change->iItem + 1);
}
