// The part of a process command line that follows the program's own name.
#pragma once
#include "common/core/text.h"
#include <string>

// Skips the program name (a leading quoted name up to and including its
// closing quote, otherwise everything up to the first blank) and the blanks
// after it. Blanks at the end stay; callers trim them where they must.
std::string commandTail(const std::string& commandLine);

// The text without one pair of double quotes around it, when it begins and
// ends with one (a dropped file's path with a blank arrives quoted; no file
// name can hold a double quote). Any other text is returned as it is.
std::string stripSurroundingQuotes(const std::string& text);

// The browser's file argument from its whole command line: the tail after
// the program's name, blanks at both ends removed, then surrounding quotes.
std::string browserFileArgument(const std::string& commandLine);
