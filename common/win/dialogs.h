// Windows built in memory from dialog templates, with per-control colours and
// command callbacks attached to single controls and menu items.
//
// A command callback runs before the window's own callback; when it returns 0
// the window's callback sees the same WM_COMMAND. Windows are created hidden
// and without controls; controls are added in order with addControl, then the
// window is run with runModalDialog or showModelessDialog.
#pragma once
#include <windows.h>
#include <string>

typedef INT_PTR (*DialogCallback)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The font that dialogs created afterwards get when they name none.
// Starts as "MS Sans Serif", 8 points.
void setDialogFont(const char* faceName, int pointSize);

// A hidden popup dialog from an in-memory template. Position and size are in
// dialog units of the named font (faceName null: the current dialog font).
HWND createDialogWindow(HWND owner, const char* caption, int x, int y, int width, int height,
                        DWORD style, DWORD exStyle, const char* faceName = nullptr, int pointSize = 0);

// The font of every control: the dialog's font's size in Arial, which
// Windows has with Cyrillic, Greek, Central European, Turkish and Baltic
// letters, and Wine draws with its metric twin Liberation Sans, which has
// them too (Wine's own Tahoma lacks Greek). Made once per size and kept for
// the whole run.
HFONT controlFont(HWND dialog);

// A child control; the rectangle is in the dialog's units, converted with
// MapDialogRect. The control gets controlFont.
HWND addControl(HWND dialog, int id, const char* className, const char* text, int x, int y,
                int width, int height, DWORD style, DWORD exStyle = 0);

// Background colours answered through WM_CTLCOLORDLG and WM_CTLCOLOR*.
// The same as a wide window, whose text may hold any character (the ANSI
// windows above turn a Cyrillic file name into '?').
HWND addWideControl(HWND dialog, int id, const wchar_t* className, const std::wstring& text, int x, int y,
                    int width, int height, DWORD style, DWORD exStyle = 0);

void setDialogBackground(HWND dialog, COLORREF color);
void setControlBackground(HWND dialog, int controlId, COLORREF color);

// A callback for WM_COMMAND with this id (control or menu item).
void attachCommand(HWND dialog, int id, DialogCallback callback);

// Hands the window to its callback (WM_INITDIALOG first, wParam = the window)
// and shows it. runModalDialog disables the owner and runs a message loop until
// the window is destroyed; showModelessDialog returns at once.
void runModalDialog(HWND dialog, DialogCallback callback);
void showModelessDialog(HWND dialog, DialogCallback callback);

// Lets one pending message of the thread through (keyboard messages for
// keyDialog through IsDialogMessageW); sleeps 1 ms when none is waiting.
void letOneMessageThrough(HWND keyDialog);

// The whole text of a window or control.
std::string windowText(HWND window);

// Converts a rectangle of dialog units of this dialog to pixels.
RECT dialogUnitsToPixels(HWND dialog, int x, int y, int width, int height);
