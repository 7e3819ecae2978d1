#include "browser/clipboard.h"

#include "browser/core/cliptext.h"
#include "browser/main.h"
#include "browser/memoryguard.h"
#include "browser/state.h"
#include "common/win/holders.h"
#include "common/win/prompts.h"

#include <cstring>

static void tellUser(const char* text)
{
    showMessageBox(nullptr, text, "CorvalePhraseFrames", MB_OK | MB_ICONEXCLAMATION);
}

HANDLE copyToClipboard(const std::string& text)
{
    GlobalBlock block(GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, text.size() + 1));
    {
        GlobalLocked locked(block.block);
        if (!locked.bytes) {
            reportNoMemory(noMemoryToCopy);
            return nullptr;
        }
        char* bytes = static_cast<char*>(locked.bytes);
        memcpy(bytes, text.data(), text.size());
        bytes[text.size()] = '\0';
    }

    // The clipboard is opened for the main window: opened for no window, it
    // may refuse the data after emptying itself. Held by another program for
    // longer than half a second, the user is told that nothing was copied:
    // pasting the older text unawares would be worse than the box.
    OpenedClipboard clipboard(mainWindow, 500);
    if (!clipboard.opened) {
        tellUser("The clipboard is in use by another program, so nothing was copied. Please try again.");
        return nullptr;
    }
    EmptyClipboard();
    HANDLE taken = SetClipboardData(CF_TEXT, block.block);
    if (taken)
        block.release(); // the clipboard owns it now
    return taken;
}

INT_PTR copyFrameWithVariants(HWND, UINT, WPARAM, LPARAM)
{
    if (selectedIndex < 1 || selectedIndex > frameCount) {
        tellUser("Please select a phrase frame to copy, then click the \"Copy...\" button.");
        return 0;
    }
    runWithMemoryGuard(noMemoryToCopy, [] { copyToClipboard(frameCopyText(frames[selectedIndex])); });
    return 0;
}

INT_PTR copyAllSorted(HWND, UINT, WPARAM, LPARAM)
{
    if (frameCount == 0) {
        tellUser("Please load a phrase-frame file, then click the \"Copy...\" button.");
        return 0;
    }
    runWithMemoryGuard(noMemoryToCopy, [] {
        copyToClipboard(allSortedCopyText(frames, frameCount, loadedFileName, sortDescription, frameMeasures));
    });
    return 0;
}
