#include "common/win/widetext.h"

std::string narrowText(const std::wstring& text, UINT codePage)
{
    // UTF-8 takes no replacement character.
    const char* replacement = codePage == CP_UTF8 ? nullptr : "?";
    const int size = static_cast<int>(text.size());
    const int length = WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, replacement, nullptr);
    std::string narrow(length > 0 ? length : 0, '\0');
    if (length > 0)
        WideCharToMultiByte(codePage, 0, text.data(), size, &narrow[0], length, replacement, nullptr);
    return narrow;
}

std::wstring wideText(const std::string& text, UINT codePage)
{
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
    std::wstring wide(length > 0 ? length : 0, L'\0');
    if (length > 0)
        MultiByteToWideChar(codePage, 0, text.data(), size, &wide[0], length);
    return wide;
}
