// The part of a process command line that follows the program's own name.
#pragma once
#include <string>

// Skips the program name (a leading quoted name up to and including its
// closing quote, otherwise everything up to the first blank) and the blanks
// after it. Blanks at the end stay; callers trim them where they must.
std::string commandTail(const std::string& commandLine);

// Removes blanks (byte 32 only) from both ends.
std::string trimBlanks(const std::string& text);
