// Text between the programs' 8-bit strings and the system's UTF-16 ones.
#pragma once
#include <windows.h>
#include <string>

// UTF-16 text in a code page (the ANSI one unless named); a character with
// no form there becomes '?' (UTF-8 has a form for every character).
std::string narrowText(const std::wstring& text, UINT codePage = CP_ACP);

// Text in a code page (the ANSI one unless named) as UTF-16.
std::wstring wideText(const std::string& text, UINT codePage = CP_ACP);
