#include "browser/loader.h"

#include "browser/framefile.h"
#include "browser/main.h"
#include "browser/sortcolumn.h"
#include "browser/state.h"
#include "browser/variantpane.h"
#include "common/filehandle.h"
#include "common/prompts.h"

#include <commctrl.h>
#include <new>
#include <utility>
#include <vector>

const char largeFileWarning[] =
    "This file may have too many items\r\n"
    "to load and manipulate efficiently.\r\n"
    "\r\n"
    "Proceed anyway?\r\n"
    "\r(If you answer 'Ok', please be very patient.)";

uint32_t availablePhysicalMemory()
{
    MEMORYSTATUS status = {};
    status.dwLength = 32;
    GlobalMemoryStatus(&status);
    return static_cast<uint32_t>(status.dwAvailPhys);
}

void setItemCount(HWND list, int32_t count, LPARAM flags)
{
    SendMessageA(list, LVM_SETITEMCOUNT, count, flags);
}

void selectRow(int32_t n)
{
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED;
    item.state = 0xFFFFFFFF;
    SendMessageA(frameList, LVM_SETITEMSTATE, n - 1, reinterpret_cast<LPARAM>(&item));
    SendMessageA(frameList, LVM_ENSUREVISIBLE, n - 1, FALSE);
    SetFocus(frameList);
}

namespace {

bool userDeclinesLargeFile(uint32_t size)
{
    uint32_t available = availablePhysicalMemory();
    bool large = size > 50000000u || (available == 0 ? size > 0 : double(size) / available > 0.3);
    if (!large)
        return false;
    return showMessageBox(nullptr, largeFileWarning, "CorvalePhraseFrames",
                          MB_OKCANCEL | MB_ICONEXCLAMATION) == IDCANCEL;
}

void reportNoMemory(const std::string& fileName)
{
    std::string text = "There is not enough memory to load\r\n" + fileName +
                       "\r\n\r\nThe file shown before stays loaded.";
    showMessageBox(nullptr, text.c_str(), "CorvalePhraseFrames", MB_OK | MB_ICONEXCLAMATION);
}

} // namespace

void loadPhraseFrameFile(const std::string& fileName)
{
    setItemCount(frameList, 0, 0);
    resetSortState(sortState, fileIsFreqOrder);

    // Read only, never create: a name that does not exist loads as empty
    // content and leaves nothing behind on disk.
    FileHandle file(CreateFileA(fileName.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string content;
    std::vector<std::string> records;
    int32_t recordCount = 0;
    int32_t variantTotal = 0;
    try {
        if (file.isOpen()) {
            DWORD size = GetFileSize(file.handle, nullptr);
            if (size == INVALID_FILE_SIZE)
                size = 0;
            if (userDeclinesLargeFile(size))
                return;
            content.resize(size);
            DWORD read = 0;
            if (size > 0 && !ReadFile(file.handle, &content[0], size, &read, nullptr))
                read = 0;
            content.resize(read);
            file.close();
        }
        buildFrameRecords(content, records, recordCount, variantTotal);
    } catch (const std::bad_alloc&) {
        std::string().swap(content);
        std::vector<std::string>().swap(records);
        setItemCount(frameList, frameCount, LVSICF_NOINVALIDATEALL);
        reportNoMemory(fileName);
        return;
    }
    std::string().swap(content);
    frames.swap(records);
    std::vector<std::string>().swap(records);
    frameCount = recordCount;

    setItemCount(frameList, frameCount, LVSICF_NOINVALIDATEALL);
    SetDlgItemTextA(mainWindow, statusLabelId, statusText(frameCount, variantTotal, fileName).c_str());
    shownIndex = 0;
    selectedIndex = 1;
    selectRow(1);
    showSelected();
    applyTabStop();
}
