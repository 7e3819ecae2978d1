// The browser state shared by the loader, the list, the pane, Find and the
// copy buttons. It lives for the whole run; each load replaces it as a whole.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Frame records, indexed from 1 to frameCount (element 0 is unused). Element
// i is the rank i in decimal, a TAB, then the trimmed record text: header line
// (phrase frame, TAB, frequency, TAB, variant count), CR LF, variant lines.
extern std::vector<std::string> frames;
extern int32_t frameCount;

extern int32_t selectedIndex;   // frame the pane is to show; 0 = none
extern int32_t shownIndex;      // frame the pane showed last; -1 forces a refresh
extern int32_t sortState[5];    // per-column direction flags 1..4, 0 or -1
extern int32_t fileIsFreqOrder; // 1 frequency order, 0 alphabetical (from the Open command)
extern std::string loadedFileName;  // name part of the last file opened with Open
extern std::string sortDescription; // sentence naming the list's current order
extern std::string lastPath;        // folder of the last chosen file, with its separator
extern int32_t tabStop;         // variant pane tab stop, dialog template units
extern uint32_t findOptions;    // option bits of the Find dialog

const int32_t initialTabStop = 64;
const uint32_t initialFindOptions = 8; // "Match case" on
