#include "browser/widedisplay.h"

#include "browser/core/casefold.h"
#include "browser/core/displaytext.h"
#include "browser/state.h"
#include "common/win/dialogs.h"
#include "common/win/widetext.h"

#include <richedit.h>
#include <vector>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 on Windows");

bool fileShownWide()
{
    return fileCodePage != 0;
}

void useFileCodePage(uint32_t codePage)
{
    const bool wasWide = fileShownWide();
    fileCodePage = codePage;
    useCaseFoldOf(codePage ? codePage : GetACP());
    // The list asks its parent once which notices it sends: asked again
    // only when that changes, so an 8-bit file meets the list as before.
    if (wasWide != fileShownWide())
        SendMessageA(frameList, WM_NOTIFYFORMAT, reinterpret_cast<WPARAM>(mainWindow), NF_REQUERY);
}

std::wstring shownWide(const std::string& bytes)
{
    if (fileCodePage != utf8CodePage)
        return wideText(bytes, fileCodePage ? fileCodePage : CP_ACP);
    const std::u16string wide = utf16FromUtf8(bytes);
    return std::wstring(wide.begin(), wide.end());
}

std::string fileBytes(const std::wstring& text)
{
    return narrowText(text, fileCodePage ? fileCodePage : CP_ACP);
}

std::string utf8Bytes(const std::string& bytes)
{
    return fileCodePage == utf8CodePage ? bytes : narrowText(shownWide(bytes), CP_UTF8);
}

void setFileText(int controlId, const std::string& bytes)
{
    if (fileShownWide())
        SetDlgItemTextW(mainWindow, controlId, shownWide(bytes).c_str());
    else
        SetDlgItemTextA(mainWindow, controlId, bytes.c_str());
}

void writeWideCell(const char* bytes, wchar_t* cell, size_t room)
{
    const std::string_view text(bytes, strnlen(bytes, room - 1));
    size_t length = 0;
    if (fileCodePage == utf8CodePage)
        length = writeUtf16FromUtf8(text, reinterpret_cast<char16_t*>(cell));
    else if (!text.empty())
        length = static_cast<size_t>(
            MultiByteToWideChar(fileCodePage, 0, text.data(), static_cast<int>(text.size()), cell,
                                static_cast<int>(room - 1)));
    cell[length] = L'\0';
}

std::string controlFileBytes(HWND control)
{
    if (!fileShownWide())
        return windowText(control);
    std::vector<wchar_t> text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    GetWindowTextW(control, text.data(), static_cast<int>(text.size()));
    return fileBytes(text.data());
}

std::string paneFileBytes()
{
    if (!fileShownWide())
        return windowText(variantPane);
    // The pane is an ANSI window: its wide text comes through EM_GETTEXTEX.
    GETTEXTLENGTHEX measure = {GTL_NUMCHARS | GTL_USECRLF, 1200};
    const LRESULT length = SendMessageW(variantPane, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&measure), 0);
    std::vector<wchar_t> text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
    GETTEXTEX get = {};
    get.cb = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    get.flags = GT_USECRLF;
    get.codepage = 1200;
    SendMessageW(variantPane, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get), reinterpret_cast<LPARAM>(text.data()));
    return fileBytes(text.data());
}

INT_PTR answerNotifyFormat(HWND window)
{
    if (!fileShownWide())
        return 0;
    SetWindowLongPtrA(window, DWLP_MSGRESULT, NFR_UNICODE);
    return 1;
}
