#include "browser/framelist.h"

#include "browser/core/framefile.h"
#include "browser/main.h"
#include "browser/memoryguard.h"
#include "browser/panerefill.h"
#include "browser/core/sortcolumn.h"
#include "browser/state.h"
#include "browser/variantpane.h"

// The list keeps the pointer it is given until it asks again, so the cell
// text lives here rather than in a temporary.
static char cellBuffer[cellTextSize];

void onGetDispInfo(NMLVDISPINFOA* info)
{
    if (!(info->item.mask & LVIF_TEXT))
        return;
    int32_t index = info->item.iItem + 1;
    cellBuffer[0] = '\0';
    if (index >= 1 && index <= frameCount) {
        writeCellText(frames[index], info->item.iSubItem + 1, cellBuffer);
    }
    info->item.pszText = cellBuffer;
}

void sortByColumn(int column)
{
    sortByColumn(frames, frameCount, sortState, column, sortDescription);
    InvalidateRect(frameList, nullptr, FALSE);
    UpdateWindow(frameList);
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
