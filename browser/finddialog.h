// The modeless "Find Text" window and the search through the frames.
#pragma once
#include <windows.h>
#include <string>

// Opens the Find window, or brings the open one forward.
void openFindDialog(HWND owner);

// Searches from the row after the selected one (the "&Find" button, Enter).
void findNext();

INT_PTR findDialogCallback(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK findTextBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
