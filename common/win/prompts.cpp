#include "prompts.h"

#include "common/win/widetext.h"

#include <string>

static MessageBoxAnswerer messageBoxAnswerer;
static WideMessageBoxAnswerer wideMessageBoxAnswerer;
static WideOpenFileAnswerer wideOpenFileAnswerer;

namespace {

bool promptsGoToStandardError()
{
    char value[8] = "";
    DWORD length = GetEnvironmentVariableA("CORVALE_PROMPTS_TO_STDERR", value, sizeof value);
    return length > 0 && length < sizeof value && std::string(value) == "1";
}

const char* buttonName(int button)
{
    switch (button) {
    case IDOK: return "OK";
    case IDCANCEL: return "Cancel";
    case IDABORT: return "Abort";
    case IDRETRY: return "Retry";
    case IDIGNORE: return "Ignore";
    case IDYES: return "Yes";
    case IDNO: return "No";
    case IDTRYAGAIN: return "Try Again";
    case IDCONTINUE: return "Continue";
    }
    return "?";
}

int writeToStandardError(const char* text, const char* caption, UINT style)
{
    int answer = defaultButtonOf(style);
    std::string out = messageBoxAsText(text, caption, answer);
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), out.data(), static_cast<DWORD>(out.size()), &written, nullptr);
    return answer;
}

} // namespace

int defaultButtonOf(UINT style)
{
    static const int okOnly[] = {IDOK};
    static const int okCancel[] = {IDOK, IDCANCEL};
    static const int abortRetryIgnore[] = {IDABORT, IDRETRY, IDIGNORE};
    static const int yesNoCancel[] = {IDYES, IDNO, IDCANCEL};
    static const int yesNo[] = {IDYES, IDNO};
    static const int retryCancel[] = {IDRETRY, IDCANCEL};
    static const int cancelTryContinue[] = {IDCANCEL, IDTRYAGAIN, IDCONTINUE};
    const int* buttons = okOnly;
    size_t count = 1;
    switch (style & MB_TYPEMASK) {
    case MB_OKCANCEL: buttons = okCancel; count = 2; break;
    case MB_ABORTRETRYIGNORE: buttons = abortRetryIgnore; count = 3; break;
    case MB_YESNOCANCEL: buttons = yesNoCancel; count = 3; break;
    case MB_YESNO: buttons = yesNo; count = 2; break;
    case MB_RETRYCANCEL: buttons = retryCancel; count = 2; break;
    case MB_CANCELTRYCONTINUE: buttons = cancelTryContinue; count = 3; break;
    }
    size_t index = (style & MB_DEFMASK) >> 8; // MB_DEFBUTTON2 is 0x100, ...
    return buttons[index < count ? index : 0];
}

std::string messageBoxAsText(const char* text, const char* caption, int answer)
{
    std::string out = std::string("[") + caption + "]\n";
    for (const char* p = text; *p; ++p) {
        if (*p == '\r') {
            out += '\n';
            if (p[1] == '\n')
                ++p;
        } else {
            out += *p;
        }
    }
    return out + "\n(answered " + buttonName(answer) + ")\n\n";
}

int showMessageBox(HWND owner, const char* text, const char* caption, UINT style)
{
    if (messageBoxAnswerer)
        return messageBoxAnswerer(text, caption, style);
    if (promptsGoToStandardError())
        return writeToStandardError(text, caption, style);
    return MessageBoxA(owner, text, caption, style);
}

void setMessageBoxAnswerer(MessageBoxAnswerer answerer)
{
    messageBoxAnswerer = std::move(answerer);
}

int showMessageBoxWide(HWND owner, const std::wstring& text, const std::wstring& caption, UINT style)
{
    if (wideMessageBoxAnswerer)
        return wideMessageBoxAnswerer(text, caption, style);
    if (promptsGoToStandardError())
        return writeToStandardError(narrowText(text, CP_UTF8).c_str(), narrowText(caption, CP_UTF8).c_str(), style);
    return MessageBoxW(owner, text.c_str(), caption.c_str(), style);
}

BOOL showOpenFileDialogWide(OPENFILENAMEW* ofn)
{
    if (wideOpenFileAnswerer)
        return wideOpenFileAnswerer(ofn);
    return GetOpenFileNameW(ofn);
}

void setWideMessageBoxAnswerer(WideMessageBoxAnswerer answerer)
{
    wideMessageBoxAnswerer = std::move(answerer);
}

void setWideOpenFileAnswerer(WideOpenFileAnswerer answerer)
{
    wideOpenFileAnswerer = std::move(answerer);
}
