// The virtual frame list: cell text, heading clicks, selection changes.
#pragma once
#include <windows.h>
#include <commctrl.h>

void onGetDispInfo(NMLVDISPINFOA* info);
void onColumnClick(const NMLISTVIEW* click);
void onItemChanged(const NMLISTVIEW* change);

// Sorts the frames by column 1..4 and repaints the list.
void sortByColumn(int column);
