// The search of the Find dialog over the frame records, without the window.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The text the search uses: blanks (byte 32 only) removed at both ends, then
// each pair of blanks made one in a single pass from the left, so a run of n
// blanks becomes ceil(n / 2) blanks. TABs stay.
std::string normaliseFindText(const std::string& typed);

// First record a search looks at. It normally starts after the selected row,
// but when row 1 is selected and is not what the previous search found (the
// list was just loaded or sorted, or the user pressed Home), row 1 itself is
// searched, so the whole list can be searched. With nothing selected the
// search also starts at row 1.
int32_t findStartIndex(int32_t selectedIndex, bool rowOneWasLastFound);

// The first index i in start..frameCount whose whole record (rank, TABs,
// header, CR LF, variant lines) contains search as a contiguous byte
// sequence, or 0 when none does or search is empty. With matchCase false the
// records are compared folded with upperCase; search may be passed folded or
// not. No wrap-around.
int32_t findFrame(const std::vector<std::string>& frames, int32_t frameCount, int32_t start,
                  const std::string& search, bool matchCase);

// Whether search occurs in the record's variant lines (folded with upperCase
// unless matchCase) but not in the part of them the pane shows
// (variantLines): the frame is found, and nothing in the pane is bold.
bool matchLiesBeyondShownPart(const std::string& record, const std::string& search, bool matchCase);

// What the frame's label adds then.
extern const char matchBeyondNote[];

// Text of the not-found message box: the search text in double quotes, then
// on a second line (after a CR) " not found in specified context.".
std::string notFoundText(const std::string& findText);
