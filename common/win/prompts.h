// The one seam for modal prompts. The shipped programs call the real dialogs;
// a test installs an answerer and the prompt is answered without a window.
//
// Run with the environment variable CORVALE_PROMPTS_TO_STDERR=1 (the Linux
// scripts set it, where a box on a private display could hang a run for
// ever), a program writes each message box's caption and text to standard
// error instead of showing it, and takes the box's default button.
#pragma once
#include <windows.h>
#include <commdlg.h>
#include <functional>
#include <string>

typedef std::function<int(const char* text, const char* caption, UINT style)> MessageBoxAnswerer;
typedef std::function<BOOL(OPENFILENAMEA* ofn)> OpenFileAnswerer;

// MessageBoxA(owner, text, caption, style), or the installed answerer.
int showMessageBox(HWND owner, const char* text, const char* caption, UINT style);

// GetOpenFileNameA(ofn), or the installed answerer.
BOOL showOpenFileDialog(OPENFILENAMEA* ofn);

// An empty function puts the real dialog back.
void setMessageBoxAnswerer(MessageBoxAnswerer answerer);
void setOpenFileAnswerer(OpenFileAnswerer answerer);

// The button a message box of that style answers with when the user just
// presses Enter (IDOK, IDYES, IDRETRY ... as MB_DEFBUTTONn picks).
int defaultButtonOf(UINT style);

// The box as written to standard error: "[caption]", the text with every
// line end as LF, then the answer given, and an empty line.
std::string messageBoxAsText(const char* text, const char* caption, int answer);
