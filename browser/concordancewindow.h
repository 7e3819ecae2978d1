// The concordance window: every occurrence of the selected frame's variants,
// or of the variant under the pane's caret, keyword in context, read from the
// corpus the frames were made from (browser/core/concordance.h). The scan runs
// on a thread of its own; the window shows its lines as they come.
#pragma once
#include <windows.h>
#include <string>

// Callback of the "Co&ncordance" button, also reached by a double-click on a
// frame row or a variant line: opens the window (closing one still open).
INT_PTR concordanceCommand(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The open concordance window, if any.
extern HWND concordanceWindow;

// How many lines the open window shows; its summary line is its control
// concordanceSummaryId. Tests wait on these.
size_t concordanceLinesShown();
bool concordanceScanRunning();
// The text of a cell of the window's list (columns 0 to 3).
std::string concordanceCell(size_t row, int column);
