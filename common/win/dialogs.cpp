#include "dialogs.h"

#include "common/win/widetext.h"

#include <map>
#include <vector>

namespace {

struct DialogWindow {
    DialogCallback callback = nullptr;
    std::map<int, DialogCallback> commands;
    std::map<int, COLORREF> controlColors;
    bool hasBackground = false;
    COLORREF background = 0;
};

std::map<HWND, DialogWindow> dialogWindows;
std::map<LONG, HFONT> controlFonts; // by height
std::map<COLORREF, HBRUSH> solidBrushes;
std::string currentFontName = "MS Sans Serif";
int currentFontSize = 8;

HBRUSH brushFor(COLORREF color)
{
    HBRUSH& brush = solidBrushes[color];
    if (!brush)
        brush = CreateSolidBrush(color);
    return brush;
}

DialogWindow* findDialog(HWND window)
{
    auto it = dialogWindows.find(window);
    return it == dialogWindows.end() ? nullptr : &it->second;
}

void appendWide(std::vector<WORD>& words, const char* text)
{
    const std::wstring wide = wideText(text);
    words.insert(words.end(), wide.begin(), wide.end());
    words.push_back(0);
}

// A DLGTEMPLATE without items, followed by menu, class, title and font.
std::vector<WORD> dialogTemplate(const char* caption, int x, int y, int width, int height,
                                 DWORD style, DWORD exStyle, const char* faceName, int pointSize)
{
    std::vector<WORD> words;
    style |= DS_SETFONT;
    words.push_back(LOWORD(style));
    words.push_back(HIWORD(style));
    words.push_back(LOWORD(exStyle));
    words.push_back(HIWORD(exStyle));
    words.push_back(0); // no items: controls are created afterwards
    words.push_back(static_cast<WORD>(x));
    words.push_back(static_cast<WORD>(y));
    words.push_back(static_cast<WORD>(width));
    words.push_back(static_cast<WORD>(height));
    words.push_back(0); // no menu
    words.push_back(0); // the standard dialog class
    appendWide(words, caption);
    words.push_back(static_cast<WORD>(pointSize));
    appendWide(words, faceName);
    return words;
}

INT_PTR CALLBACK dialogLayerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DialogWindow* dialog = findDialog(window);
    if (!dialog)
        return FALSE;

    switch (message) {
    case WM_CTLCOLORDLG:
        if (dialog->hasBackground)
            return reinterpret_cast<INT_PTR>(brushFor(dialog->background));
        break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: {
        auto color = dialog->controlColors.find(GetDlgCtrlID(reinterpret_cast<HWND>(lParam)));
        if (color != dialog->controlColors.end()) {
            SetBkColor(reinterpret_cast<HDC>(wParam), color->second);
            return reinterpret_cast<INT_PTR>(brushFor(color->second));
        }
        break;
    }
    case WM_COMMAND: {
        auto command = dialog->commands.find(LOWORD(wParam));
        if (command != dialog->commands.end() && command->second(window, message, wParam, lParam))
            return TRUE;
        // The command callback may have destroyed the window.
        dialog = findDialog(window);
        if (!dialog)
            return TRUE;
        break;
    }
    default:
        break;
    }

    INT_PTR result = dialog->callback ? dialog->callback(window, message, wParam, lParam) : FALSE;
    if (message == WM_NCDESTROY)
        dialogWindows.erase(window);
    return result;
}

} // namespace

void setDialogFont(const char* faceName, int pointSize)
{
    currentFontName = faceName;
    currentFontSize = pointSize;
}

HWND createDialogWindow(HWND owner, const char* caption, int x, int y, int width, int height,
                        DWORD style, DWORD exStyle, const char* faceName, int pointSize)
{
    std::string face = faceName ? faceName : currentFontName;
    int size = faceName ? pointSize : currentFontSize;
    std::vector<WORD> words =
        dialogTemplate(caption, x, y, width, height, style & ~WS_VISIBLE, exStyle, face.c_str(), size);
    HWND window = CreateDialogIndirectParamA(GetModuleHandleA(nullptr),
                                             reinterpret_cast<LPCDLGTEMPLATEA>(words.data()), owner,
                                             dialogLayerProc, 0);
    if (window)
        dialogWindows[window] = DialogWindow();
    return window;
}

RECT dialogUnitsToPixels(HWND dialog, int x, int y, int width, int height)
{
    RECT rect = {x, y, x + width, y + height};
    MapDialogRect(dialog, &rect);
    return rect;
}

HFONT controlFont(HWND dialog)
{
    // The dialog's own font ("MS Sans Serif") draws only the system's code
    // page, on Windows and under Wine alike; its size sets the layout.
    LOGFONTW font = {};
    HGDIOBJ dialogFont = reinterpret_cast<HGDIOBJ>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    if (!dialogFont || !GetObjectW(dialogFont, sizeof font, &font))
        return static_cast<HFONT>(dialogFont);
    HFONT& made = controlFonts[font.lfHeight];
    if (!made) {
        lstrcpynW(font.lfFaceName, L"Arial", LF_FACESIZE);
        font.lfCharSet = DEFAULT_CHARSET;
        font.lfOutPrecision = OUT_TT_PRECIS;
        made = CreateFontIndirectW(&font);
    }
    return made ? made : static_cast<HFONT>(dialogFont);
}

HWND addControl(HWND dialog, int id, const char* className, const char* text, int x, int y,
                int width, int height, DWORD style, DWORD exStyle)
{
    RECT rect = dialogUnitsToPixels(dialog, x, y, width, height);
    HWND control = CreateWindowExA(exStyle, className, text, style, rect.left, rect.top,
                                   rect.right - rect.left, rect.bottom - rect.top, dialog,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   GetModuleHandleA(nullptr), nullptr);
    if (control)
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(controlFont(dialog)), FALSE);
    return control;
}

HWND addWideControl(HWND dialog, int id, const wchar_t* className, const std::wstring& text, int x, int y,
                    int width, int height, DWORD style, DWORD exStyle)
{
    RECT rect = dialogUnitsToPixels(dialog, x, y, width, height);
    HWND control = CreateWindowExW(exStyle, className, text.c_str(), style, rect.left, rect.top,
                                   rect.right - rect.left, rect.bottom - rect.top, dialog,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   GetModuleHandleW(nullptr), nullptr);
    if (control)
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(controlFont(dialog)), FALSE);
    return control;
}

void setDialogBackground(HWND dialog, COLORREF color)
{
    if (DialogWindow* info = findDialog(dialog)) {
        info->hasBackground = true;
        info->background = color;
    }
}

void setControlBackground(HWND dialog, int controlId, COLORREF color)
{
    if (DialogWindow* info = findDialog(dialog))
        info->controlColors[controlId] = color;
}

void attachCommand(HWND dialog, int id, DialogCallback callback)
{
    if (DialogWindow* info = findDialog(dialog))
        info->commands[id] = callback;
}

static void startDialog(HWND dialog, DialogCallback callback)
{
    if (DialogWindow* info = findDialog(dialog))
        info->callback = callback;
    callback(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(dialog), 0);
    if (IsWindow(dialog))
        ShowWindow(dialog, SW_SHOW);
}

void showModelessDialog(HWND dialog, DialogCallback callback)
{
    startDialog(dialog, callback);
}

void letOneMessageThrough(HWND keyDialog)
{
    // Taken and handed on in the wide form: a letter typed into a wide box
    // (Find in a UTF-8 file) outside the system's code page would become "?"
    // in the narrow one, and narrow windows get their messages converted.
    MSG msg;
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        Sleep(1);
        return;
    }
    if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        return;
    }
    if (keyDialog && IsWindow(keyDialog) && IsDialogMessageW(keyDialog, &msg))
        return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

void runModalDialog(HWND dialog, DialogCallback callback)
{
    HWND owner = GetWindow(dialog, GW_OWNER);
    if (owner)
        EnableWindow(owner, FALSE);
    startDialog(dialog, callback);
    MSG msg;
    while (IsWindow(dialog)) {
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message == WM_QUIT)
            break;
        letOneMessageThrough(dialog);
    }
    if (owner)
        EnableWindow(owner, TRUE);
}

std::string windowText(HWND window)
{
    int length = GetWindowTextLengthA(window);
    std::vector<char> buffer(length + 1, '\0');
    GetWindowTextA(window, buffer.data(), length + 1);
    return std::string(buffer.data());
}
