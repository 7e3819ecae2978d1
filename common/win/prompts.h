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
// The wide forms, for texts and file names outside the ANSI code page.
typedef std::function<int(const std::wstring& text, const std::wstring& caption, UINT style)>
    WideMessageBoxAnswerer;
typedef std::function<BOOL(OPENFILENAMEW* ofn)> WideOpenFileAnswerer;
// Answers a folder chooser: sets folder and returns true, or returns false
// (cancelled). folder comes in as the folder to start from.
typedef std::function<bool(const std::wstring& title, std::wstring& folder)> FolderAnswerer;

// MessageBoxA(owner, text, caption, style), or the installed answerer.
int showMessageBox(HWND owner, const char* text, const char* caption, UINT style);

// MessageBoxW and GetOpenFileNameW, or the installed answerers.
int showMessageBoxWide(HWND owner, const std::wstring& text, const std::wstring& caption, UINT style);
BOOL showOpenFileDialogWide(OPENFILENAMEW* ofn);

// The file dialog in its folder mode (a path box, opening in folder; the
// shell's tree of folders where that dialog cannot be made); true and the
// chosen folder in folder, or false when cancelled. It is in
// folderprompt.cpp, which needs shell32 and ole32: only programs that
// choose folders link it.
bool showFolderDialog(HWND owner, const std::wstring& title, std::wstring& folder);

// An empty function puts the real dialog back.
void setMessageBoxAnswerer(MessageBoxAnswerer answerer);
void setWideMessageBoxAnswerer(WideMessageBoxAnswerer answerer);
void setWideOpenFileAnswerer(WideOpenFileAnswerer answerer);
void setFolderAnswerer(FolderAnswerer answerer);

// The button a message box of that style answers with when the user just
// presses Enter (IDOK, IDYES, IDRETRY ... as MB_DEFBUTTONn picks).
int defaultButtonOf(UINT style);

// The box as written to standard error: "[caption]", the text with every
// line end as LF, then the answer given, and an empty line.
std::string messageBoxAsText(const char* text, const char* caption, int answer);
