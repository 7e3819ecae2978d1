// Ordering the variant lines of a frame (phrase, TAB, frequency; lines
// separated by CR LF) alphabetically or by falling frequency.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Whether orderVariants has anything to do: always when forced, otherwise
// only when the wanted order differs from the order the file keeps its
// variant lines in (by frequency when fileIsFreqOrder is 1, alphabetical
// when it is 0).
bool variantsNeedOrdering(bool alphabeticalWanted, int32_t fileIsFreqOrder, bool force);

// Rewrites text with its lines (split at every CR LF) in the wanted order:
// alphabetical compares whole lines as bytes; by frequency reads the number
// after each line's first TAB (0 for a line without TAB) and uses
// sortByFrequency. Does nothing when variantsNeedOrdering says so.
void orderVariants(std::string& text, bool alphabeticalWanted, int32_t fileIsFreqOrder, bool force);

// What the pane and the frame's label show of a record's variant lines.
struct PaneVariants {
    std::string text; // handed to the pane: each NUL as a blank (see blankNuls)
    std::string note; // what the label says about lines left out or cut
};

// The record's variant lines ordered as wanted (see orderVariants), then cut
// to the pane's bounds (see paneExcerpt): the whole frame is ordered first,
// so the part shown is the start of that order.
PaneVariants paneVariants(const std::string& record, bool alphabeticalWanted, int32_t fileIsFreqOrder, bool force);

// Sorts lines[1..m] and keys[1..m] (element 0 unused) by falling key, then
// puts lines of equal key in byte order within the first 12 runs of equal
// keys counted from the highest; later runs keep the order the first sort
// left them in.
void sortByFrequency(std::vector<std::string>& lines, std::vector<int32_t>& keys);
