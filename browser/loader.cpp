#include "browser/loader.h"

#include "browser/core/displaytext.h"
#include "common/core/corpusformat.h"
#include "browser/core/framefile.h"
#include "browser/core/framemeasures.h"
#include "browser/framelist.h"
#include "browser/main.h"
#include "browser/memoryguard.h"
#include "browser/core/sortcolumn.h"
#include "browser/state.h"
#include "browser/variantpane.h"
#include "browser/widedisplay.h"
#include "common/win/filehandle.h"
#include "common/win/prompts.h"
#include "common/win/system.h"

#include <commctrl.h>
#include <cstdio>
#include <stdexcept>
#include <new>
#include <utility>
#include <vector>

const char largeFileWarning[] =
    "This file may have too many items\r\n"
    "to load and manipulate efficiently.\r\n"
    "\r\n"
    "Proceed anyway?\r\n"
    "\r(If you answer 'Ok', please be very patient.)";

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

int64_t loaderFileSizeForTests = -1;

namespace {

bool userDeclinesLargeFile(uint64_t size)
{
    uint64_t available = availablePhysicalMemory();
    bool large = size > 50000000u || (available == 0 ? size > 0 : double(size) / available > 0.3);
    if (!large)
        return false;
    return showMessageBox(nullptr, largeFileWarning, "CorvalePhraseFrames",
                          MB_OKCANCEL | MB_ICONEXCLAMATION) == IDCANCEL;
}

// Built in a fixed buffer: this runs when memory has just run out.
void reportNoMemoryToLoad(const std::string& fileName)
{
    char text[1024];
    snprintf(text, sizeof text, "There is not enough memory to load\r\n%s\r\n\r\nThe file shown before stays loaded.",
             fileName.c_str());
    reportNoMemory(text);
}

void reportUnreadableFile(const std::string& fileName, const char* failure, DWORD error)
{
    std::string text = fileName + "\r\n" + failure + "\r\n\r\n" + systemErrorText(error);
    showMessageBox(nullptr, text.c_str(), "CorvalePhraseFrames", MB_OK | MB_ICONEXCLAMATION);
}

uint64_t fileSize(HANDLE file)
{
    if (loaderFileSizeForTests >= 0)
        return static_cast<uint64_t>(loaderFileSizeForTests);
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(file, &size))
        return 0;
    return static_cast<uint64_t>(size.QuadPart);
}

// The system's sentence without its full stop, for a clause.
std::string errorClause(DWORD error)
{
    std::string text = systemErrorText(error);
    if (!text.empty() && text.back() == '.')
        text.pop_back();
    return text;
}

// The measures of the Stats file beside the frame file. Returns why that
// file is not used (measures then left without any); empty when it is used
// or when there is none.
std::string loadMeasures(const std::wstring& statsName, const std::vector<std::string>& records, int32_t count,
                         const std::string& fileName, FrameMeasures& measures)
{
    if (statsName.empty() || GetFileAttributesW(statsName.c_str()) == INVALID_FILE_ATTRIBUTES)
        return std::string();
    FileHandle stats(CreateFileW(statsName.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!stats.isOpen())
        return "it could not be opened: " + errorClause(GetLastError());
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(stats.handle, &size))
        return "it could not be read: " + errorClause(GetLastError());
    try {
        std::string text;
        if (DWORD readError = readWholeFile(stats.handle, static_cast<uint64_t>(size.QuadPart), text))
            return "it could not be read: " + errorClause(readError);
        return readFrameMeasures(text, records, count, shortFileName(fileName), measures);
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    measures = FrameMeasures();
    return "there is not enough memory for its measures";
}

// The code page that the record of the corpus beside an 8-bit frame file
// names, when it is another than the system's (a corpus of Cyrillic texts
// read on a Western Windows); 0 when there is no record, it cannot be read,
// or it names the system's code page or one the system lacks.
uint32_t corpusCodePage(const std::wstring& frameFileName)
{
    const std::wstring corpusName = fileBesideFrames(frameFileName, corpusFileEnding);
    if (corpusName.empty() || GetFileAttributesW(corpusName.c_str()) == INVALID_FILE_ATTRIBUTES)
        return 0;
    FileHandle corpus(CreateFileW(corpusName.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size = {};
    if (!corpus.isOpen() || !GetFileSizeEx(corpus.handle, &size))
        return 0;
    std::string text;
    CorpusRecord record;
    if (readWholeFile(corpus.handle, static_cast<uint64_t>(size.QuadPart), text) ||
        !readCorpusText(text, record).empty())
        return 0;
    const auto codePage = static_cast<uint32_t>(record.codePage);
    return codePage != GetACP() && IsValidCodePage(codePage) ? codePage : 0;
}

} // namespace

bool loadPhraseFrameFile(const std::string& fileName)
{
    return loadPhraseFrameFile(wideText(fileName));
}

bool loadPhraseFrameFile(const std::wstring& wideFileName)
{
    // Opened by the name the system has, which may hold characters the ANSI
    // code page lacks; shown by its ANSI form.
    const std::string fileName = narrowText(wideFileName);
    // Read only, never create: a name that does not exist leaves nothing
    // behind on disk. Another program may keep the file open, also for
    // writing: the browser reads it once, at once.
    FileHandle file(CreateFileW(wideFileName.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.isOpen()) {
        reportUnreadableFile(fileName, "could not be opened:", GetLastError());
        return false;
    }
    std::string content;
    std::vector<std::string> records;
    int32_t recordCount = 0;
    int32_t variantTotal = 0;
    std::string status;
    uint32_t codePage = 0;
    const std::wstring statsName = statsFileFor(wideFileName);
    std::wstring path;
    FrameMeasures measures;
    std::string measuresProblem;
    bool outOfMemory = false;
    try {
        uint64_t size = fileSize(file.handle);
        if (userDeclinesLargeFile(size))
            return false;
        if (DWORD readError = readWholeFile(file.handle, size, content)) {
            reportUnreadableFile(fileName, "could not be read:", readError);
            return false;
        }
        file.close();
        // A UTF-8 file is known by its mark, which is no part of its first
        // frame. An 8-bit file whose corpus was in another code page than
        // the system's is shown in that one; any other as 8-bit text, and
        // the user is told when it reads as UTF-8 all the same.
        const bool marked = startsWithUtf8Mark(content);
        if (marked) {
            content.erase(0, utf8ByteOrderMark.size());
            codePage = utf8CodePage;
        } else {
            codePage = corpusCodePage(wideFileName);
        }
        const bool unmarkedUtf8 = codePage == 0 && looksLikeUtf8(content);
        buildFrameRecords(content, records, recordCount, variantTotal);
        status = statusText(recordCount, variantTotal, codePage ? narrowText(wideFileName, codePage) : fileName);
        if (unmarkedUtf8)
            status = withUnmarkedUtf8Note(status);
        std::string().swap(content); // room for the Stats file
        measuresProblem = loadMeasures(statsName, records, recordCount, fileName, measures);
        path = wideFileName;
    } catch (const std::bad_alloc&) {
        outOfMemory = true;
    } catch (const std::length_error&) {
        outOfMemory = true;
    }
    if (outOfMemory) {
        std::string().swap(content);
        std::vector<std::string>().swap(records);
        reportNoMemoryToLoad(fileName);
        return false;
    }
    std::string().swap(content);

    setItemCount(frameList, 0, 0);
    resetSortState(sortState, fileIsFreqOrder, listColumnCount);
    frames.swap(records);
    std::vector<std::string>().swap(records);
    frameCount = recordCount;
    loadedFilePath.swap(path);
    frameMeasures = std::move(measures);
    setListColumns(shownColumnCount(frameMeasures));
    useFileCodePage(codePage);

    setItemCount(frameList, frameCount, LVSICF_NOINVALIDATEALL);
    setFileText(statusLabelId, status);
    shownIndex = 0;
    selectedIndex = 1;
    selectRow(1);
    runWithMemoryGuard(noMemoryToShow, showSelected);
    applyTabStop();
    if (!looksLikePhraseFrames(frames, frameCount))
        showMessageBox(nullptr, notPhraseFramesText(fileName).c_str(), "CorvalePhraseFrames",
                       MB_OK | MB_ICONEXCLAMATION);
    if (!measuresProblem.empty())
        showMessageBox(nullptr, measuresRefusedText(narrowText(statsName), measuresProblem).c_str(),
                       "CorvalePhraseFrames", MB_OK | MB_ICONEXCLAMATION);
    return true;
}
