// The virtual frame list: cell text, heading clicks, selection changes.
#pragma once
#include <windows.h>
#include <commctrl.h>

void onGetDispInfo(NMLVDISPINFOA* info);
void onGetDispInfoW(NMLVDISPINFOW* info);
void onColumnClick(const NMLISTVIEW* click);
void onItemChanged(const NMLISTVIEW* change);

// Sorts the frames by a column the list shows (from 1) and repaints the list.
void sortByColumn(int column);

// Gives the list the first columnCount columns of listColumns, sized to its
// width: the record columns, and the measure columns when there are measures.
void setListColumns(int columnCount);
