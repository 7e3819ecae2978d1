// Every process-wide variable of the browser, each defined with its start
// value in state.cpp. The loader, the list, the pane, Find and the copy
// buttons share them for the whole run; each load replaces the data as a
// whole. The bookkeeping of the pane's refill is private to panerefill.cpp.
#pragma once
#include "browser/core/listcolumns.h"

#include <windows.h>
#include <cstdint>
#include <string>
#include <vector>

// The loaded file.
// Frame records, indexed from 1 to frameCount (element 0 is unused). Element
// i is the rank i in decimal, a TAB, then the trimmed record text: header line
// (phrase frame, TAB, frequency, TAB, variant count), CR LF, variant lines.
extern std::vector<std::string> frames;
extern int32_t frameCount;
extern FrameMeasures frameMeasures; // from the Stats file beside the file, when it belongs to it
extern int32_t fileIsFreqOrder;     // 1 frequency order, 0 alphabetical (from the file's name)
extern std::string loadedFileName;  // name part of the file loaded last (Open or the command line)
extern std::wstring loadedFilePath; // its full name, for the files beside it
extern std::string lastPath;        // folder of the last chosen file, with its separator
// The code page the file's text is shown in: 0 for the system's ANSI one,
// 65001 for UTF-8 (the file starts with the byte-order mark), or another
// that the record of its corpus beside it names.
extern uint32_t fileCodePage;

// The list and the pane.
extern int32_t selectedIndex;       // frame the pane is to show; 0 = none
extern int32_t shownIndex;          // frame the pane showed last; -1 forces a refresh
extern int32_t sortState[listColumnCount + 1]; // per-column direction flags from 1, 0 or -1
extern std::string sortDescription; // sentence naming the list's current order
extern int32_t tabStop;             // variant pane tab stop, dialog template units
extern DWORD lastStepTick;          // tick of the last Freqs Left/Right step

// The Find window.
extern uint32_t findOptions;        // option bits of the Find dialog
extern std::string findText;        // the text last searched for, kept between Find windows
extern HWND findWindow;             // the open Find window, if any

// The windows and their look.
extern HWND mainWindow;
extern HWND frameList;
extern HWND variantPane;            // replaced by a fresh control at times, see emptyPane
extern COLORREF bgColor;
extern float unitScaleX;            // pixels per dialog unit of the default dialog font
extern float unitScaleY;

// What a new window starts with (also set again when one is created).
const int32_t initialTabStop = 64;
const uint32_t initialFindOptions = 8; // "Match case" on
