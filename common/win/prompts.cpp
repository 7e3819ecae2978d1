#include "prompts.h"

static MessageBoxAnswerer messageBoxAnswerer;
static OpenFileAnswerer openFileAnswerer;
static WideMessageBoxAnswerer wideMessageBoxAnswerer;
static WideOpenFileAnswerer wideOpenFileAnswerer;

int showMessageBox(HWND owner, const char* text, const char* caption, UINT style)
{
    if (messageBoxAnswerer)
        return messageBoxAnswerer(text, caption, style);
    return MessageBoxA(owner, text, caption, style);
}

BOOL showOpenFileDialog(OPENFILENAMEA* ofn)
{
    if (openFileAnswerer)
        return openFileAnswerer(ofn);
    return GetOpenFileNameA(ofn);
}

void setMessageBoxAnswerer(MessageBoxAnswerer answerer)
{
    messageBoxAnswerer = std::move(answerer);
}

void setOpenFileAnswerer(OpenFileAnswerer answerer)
{
    openFileAnswerer = std::move(answerer);
}

int showMessageBoxWide(HWND owner, const std::wstring& text, const std::wstring& caption, UINT style)
{
    if (wideMessageBoxAnswerer)
        return wideMessageBoxAnswerer(text, caption, style);
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
