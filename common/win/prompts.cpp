#include "prompts.h"

static MessageBoxAnswerer messageBoxAnswerer;
static OpenFileAnswerer openFileAnswerer;

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
