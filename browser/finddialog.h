// The modeless "Find Text" window and the search through the frames.
#pragma once
#include <windows.h>
#include <string>

extern std::string findText;
extern HWND findWindow;

// Opens the Find window, or brings the open one forward.
void openFindDialog(HWND owner);

// Searches from the row after the selected one (the "&Find" button, Enter).
void findNext();

// Called on every selection change of the list, so that a search with row 1
// selected searches row 1 too unless the search itself just found it there.
void forgetLastFoundFrame();

INT_PTR findDialogCallback(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK findTextBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
