// The one seam for modal prompts. The shipped programs call the real dialogs;
// a test installs an answerer and the prompt is answered without a window.
#pragma once
#include <windows.h>
#include <commdlg.h>
#include <functional>

typedef std::function<int(const char* text, const char* caption, UINT style)> MessageBoxAnswerer;
typedef std::function<BOOL(OPENFILENAMEA* ofn)> OpenFileAnswerer;

// MessageBoxA(owner, text, caption, style), or the installed answerer.
int showMessageBox(HWND owner, const char* text, const char* caption, UINT style);

// GetOpenFileNameA(ofn), or the installed answerer.
BOOL showOpenFileDialog(OPENFILENAMEA* ofn);

// An empty function puts the real dialog back.
void setMessageBoxAnswerer(MessageBoxAnswerer answerer);
void setOpenFileAnswerer(OpenFileAnswerer answerer);
