// Where the loaded file's bytes meet the window's controls and the
// clipboard. A file in the system's ANSI code page goes through the ANSI
// calls as it always did; a UTF-8 file, or one whose corpus names another
// code page, goes through the wide calls, converted here and only here.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>

// Whether the loaded file's text is shown through the wide calls.
bool fileShownWide();

// Makes codePage (0: the system's ANSI code page) the loaded file's: the
// Find fold follows it, and the list asks for its cells in UTF-16 when the
// file is shown wide.
void useFileCodePage(uint32_t codePage);

// The file's bytes as UTF-16 (bytes that are no valid UTF-8 each as U+FFFD).
std::wstring shownWide(const std::string& bytes);

// UTF-16 text (typed or read back from a control) as the file's bytes.
std::string fileBytes(const std::wstring& text);

// The file's bytes as UTF-8, which the pane's RTF carries for a file shown
// wide.
std::string utf8Bytes(const std::string& bytes);

// Sets the text of a main-window control to the file's bytes.
void setFileText(int controlId, const std::string& bytes);

// The list cell text written into cell, as UTF-16, with no memory needed.
void writeWideCell(const char* bytes, wchar_t* cell, size_t room);

// A control's text as the file's bytes.
std::string controlFileBytes(HWND control);

// The pane's whole text as the file's bytes.
std::string paneFileBytes();

// Answers the main window's WM_NOTIFYFORMAT: 0 leaves the system's answer.
INT_PTR answerNotifyFormat(HWND window);
