// The pane's refill around the one message that showSelected lets through.
//
// Filling the pane with a large frame takes seconds, and a user who clicked
// a row may already want another one, a search, a sort or the help. So
// showSelected shows the frame's label, empties the pane and lets one
// message through before it refills the pane. That message may do anything
// a user can: select another row (which shows that frame, nested), load a
// file, sort, search, show the help, or click "&Alpha"/"&Freq".
//
// Every replacement of the pane's whole content (emptying, plain text, RTF)
// counts in paneReplacements. The refill stands only when the count is still
// the one the emptying left and the selection still names a frame: whatever
// the message let through put in the pane is what the user asked for last.
// An "&Alpha"/"&Freq" click in that gap finds the pane empty; reordering it
// would leave it empty, so the click is noted and the refill orders as asked.
//
// Find selects the frame it found through the same path but fills the pane
// itself, once, with the matches in bold (searchFillsPane). It too lets one
// message through first and shows its result only when that message neither
// replaced the pane nor moved the selection; it also remembers that the
// selection is its own find, so the next search goes on after it.
// "&Alpha"/"&Freq" consult the count as well: a frame whose lines the pane
// still holds as the fill put them (a selection's or Find's, every fill goes
// through fillPaneWithFrame) is ordered whole and shown again.
#pragma once
#include <cstdint>
#include <string>

// Bumped by every replacement of the pane's whole content.
extern uint32_t paneReplacements;

// Set by Find while it selects the frame it found: showSelected then shows
// only the label and leaves the pane to Find.
extern bool searchFillsPane;

// showSelected's gap, with the pane just emptied. True when the refill still
// stands; reorder then says whether "&Alpha"/"&Freq" was clicked meanwhile.
bool letMessageThroughBeforeRefill(bool& reorder);

// Called by "&Alpha"/"&Freq": true when the click came during a refill's
// gap, and the refill will do the ordering.
bool reorderLeftToRefill();

// The fill of frame index: text is what it put in the pane (kept here).
void noteFill(int32_t index, std::string& text);

// The frame whose lines the pane holds as the fill put them (paneText is the
// pane's current text), 0 when it holds anything else.
int32_t filledFrameShown(const std::string& paneText);

// Find's gap, after it selected frame found. True when its result stands.
bool letMessageThroughBeforeSearchResult(int32_t found);

// Whether the selection is the frame the last search found, so that a search
// made with row 1 selected can tell a fresh start (search row 1 too) from a
// repeat after finding row 1 (go on after it).
bool selectionFoundBySearch();

// Shows frame index anew after the list's selection changed (a click, a
// sort): any such change makes the selection no longer a search's find.
void showSelectionAnew(int32_t index);
