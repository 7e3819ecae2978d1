#include "browser/panerefill.h"

#include "browser/main.h"
#include "browser/memoryguard.h"
#include "browser/variantpane.h"
#include "common/win/dialogs.h"

uint32_t paneReplacements;
bool searchFillsPane;

namespace {

// Set while showSelected waits for its refill; reorderRequested notes an
// "&Alpha"/"&Freq" click in that gap.
bool refillPending;
bool reorderRequested;

// The frame the last fill put in the pane, the replacement that did it (any
// later content has a higher count), and the text (the user may edit it).
int32_t filledFrame;
uint32_t filledReplacement;
std::string filledText;

bool foundBySearch;

} // namespace

bool letMessageThroughBeforeRefill(bool& reorder)
{
    const uint32_t emptied = paneReplacements;
    const bool outerRefillPending = refillPending;
    refillPending = true;
    reorderRequested = false;
    letOneMessageThrough(mainWindow);
    refillPending = outerRefillPending;
    reorder = reorderRequested;
    reorderRequested = false;
    return paneReplacements == emptied && selectedIndex >= 1 && selectedIndex <= frameCount;
}

bool reorderLeftToRefill()
{
    if (refillPending)
        reorderRequested = true;
    return refillPending;
}

void noteFill(int32_t index, std::string& text)
{
    filledFrame = index;
    filledReplacement = paneReplacements;
    filledText.swap(text);
}

int32_t filledFrameShown(const std::string& paneText)
{
    if (paneReplacements == filledReplacement && filledFrame >= 1 && filledFrame <= frameCount &&
        paneText == filledText)
        return filledFrame;
    return 0;
}

bool letMessageThroughBeforeSearchResult(int32_t found)
{
    const uint32_t shown = paneReplacements;
    if (selectedIndex == found)
        foundBySearch = true;
    letOneMessageThrough(GetActiveWindow());
    return selectedIndex == found && paneReplacements == shown && found <= frameCount;
}

bool selectionFoundBySearch()
{
    return foundBySearch;
}

void showSelectionAnew(int32_t index)
{
    foundBySearch = false;
    shownIndex = -1;
    selectedIndex = index;
    runWithMemoryGuard(noMemoryToShow, showSelected);
}
