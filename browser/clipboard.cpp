#include "browser/clipboard.h"

#include "browser/core/cliptext.h"
#include "browser/main.h"
#include "browser/memoryguard.h"
#include "browser/state.h"
#include "browser/widedisplay.h"
#include "common/win/holders.h"
#include "common/win/prompts.h"
#include "common/win/widetext.h"

#include <cstring>

static void tellUser(const char* text)
{
    showMessageBox(nullptr, text, "CorvalePhraseFrames", MB_OK | MB_ICONEXCLAMATION);
}

// A global block holding size bytes of data and a NUL character of
// nulSize bytes; false when there is no memory for it.
static bool fillBlock(GlobalBlock& block, const void* data, size_t size, size_t nulSize)
{
    block.block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, size + nulSize);
    GlobalLocked locked(block.block);
    if (!locked.bytes)
        return false;
    char* bytes = static_cast<char*>(locked.bytes);
    memcpy(bytes, data, size);
    memset(bytes + size, 0, nulSize);
    return true;
}

HANDLE copyToClipboard(const std::string& text)
{
    // A file shown wide goes on the clipboard as UTF-16, and as the system's
    // 8-bit text for programs that take only that.
    GlobalBlock block(nullptr);
    GlobalBlock wideBlock(nullptr);
    bool filled;
    if (fileShownWide()) {
        const std::wstring wide = shownWide(text);
        const std::string ansi = narrowText(wide);
        filled = fillBlock(block, ansi.data(), ansi.size(), 1) &&
                 fillBlock(wideBlock, wide.data(), wide.size() * sizeof(wchar_t), sizeof(wchar_t));
    } else {
        filled = fillBlock(block, text.data(), text.size(), 1);
    }
    if (!filled) {
        reportNoMemory(noMemoryToCopy);
        return nullptr;
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
    if (taken && wideBlock.block && SetClipboardData(CF_UNICODETEXT, wideBlock.block))
        wideBlock.release();
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
