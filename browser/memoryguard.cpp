#include "browser/memoryguard.h"

#include "common/win/prompts.h"

const char noMemoryToOpen[] = "There is not enough memory to open a file.\r\nThe file shown before stays loaded.";
const char noMemoryToShow[] = "There is not enough memory to show the variants of this phrase frame.";
const char noMemoryToReorder[] =
    "There is not enough memory to reorder the variant lines.\r\nThey stay in the order shown.";
const char noMemoryToSort[] = "There is not enough memory to sort the list.\r\nThe list keeps its order.";
const char noMemoryToSearch[] = "There is not enough memory to search the phrase frames.";
const char noMemoryToCopy[] =
    "There is not enough memory to copy this text to the clipboard.\r\nNothing was copied.";
const char noMemoryForHelp[] = "There is not enough memory to show the help.";

void reportNoMemory(const char* text)
{
    showMessageBox(nullptr, text, "CorvalePhraseFrames", MB_OK | MB_ICONEXCLAMATION);
}
