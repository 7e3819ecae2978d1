// The browser's main window: start-up, controls, menu bar and dispatch.
#pragma once
#include <windows.h>
#include <string>

#include "browser/core/controlids.h"
#include "browser/state.h"


// Start-up up to the hidden main window with its controls and menu bar.
HWND createMainWindow();

// Hands the window to mainWindowCallback (WM_INITDIALOG) and shows it.
void startMainWindow(HWND window);

// createMainWindow, then runs it modally until it is destroyed.
void buildMainWindow();

INT_PTR mainWindowCallback(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR confirmExit(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The file name the command line gives: blanks at both ends removed, then
// one pair of surrounding double quotes (Explorer and "Open with" quote a
// path that holds a blank), taken from the wide command line so that a name
// outside the ANSI code page arrives whole. Tests set
// browserCommandLineForTests (ANSI) to stand in for it.
std::wstring browserCommandLine();
extern const char* browserCommandLineForTests;
