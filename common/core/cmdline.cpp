#include "cmdline.h"

std::string commandTail(const std::string& commandLine)
{
    size_t pos = 0;
    if (!commandLine.empty() && commandLine[0] == '"') {
        size_t close = commandLine.find('"', 1);
        pos = close == std::string::npos ? commandLine.size() : close + 1;
    } else {
        size_t blank = commandLine.find(' ');
        pos = blank == std::string::npos ? commandLine.size() : blank;
    }
    while (pos < commandLine.size() && commandLine[pos] == ' ')
        ++pos;
    return commandLine.substr(pos);
}

std::string stripSurroundingQuotes(const std::string& text)
{
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
        return text.substr(1, text.size() - 2);
    return text;
}

std::string browserFileArgument(const std::string& commandLine)
{
    return stripSurroundingQuotes(std::string(trimBlanks(commandTail(commandLine))));
}
