#include "browser/richtext.h"

#include "browser/main.h"
#include "browser/core/rtf.h"
#include "browser/variantpane.h"
#include "browser/widedisplay.h"

#include <richedit.h>

#include <algorithm>
#include <cstring>

// The document being streamed and how much of it the pane has taken.
static std::string streamText;
static size_t streamPosition;

static DWORD CALLBACK streamCallback(DWORD_PTR, LPBYTE buffer, LONG size, LONG* copied)
{
    size_t left = streamText.size() - streamPosition;
    size_t count = std::min(left, static_cast<size_t>(size > 0 ? size : 0));
    memmove(buffer, streamText.data() + streamPosition, count);
    streamPosition += count;
    *copied = static_cast<LONG>(count);
    return 0;
}

void streamRtf(const std::string& rtf)
{
    streamText = rtf;
    streamPosition = 0;
    emptyPane();
    EDITSTREAM stream = {};
    stream.pfnCallback = streamCallback;
    SendMessageA(variantPane, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    std::string().swap(streamText);
    streamPosition = 0;
}

void showMatches(const std::string& text, const std::string& search, bool matchCase)
{
    if (fileShownWide())
        streamRtf(matchesRtf(utf8Bytes(text), utf8Bytes(search), matchCase, true));
    else
        streamRtf(matchesRtf(text, search, matchCase));
}

INT_PTR showHelp(HWND, UINT, WPARAM, LPARAM)
{
    streamRtf(helpRtf());
    SetFocus(variantPane);
    return 0;
}
