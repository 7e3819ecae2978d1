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

std::string trimBlanks(const std::string& text)
{
    size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return std::string();
    size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

std::string stripSurroundingQuotes(const std::string& text)
{
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
        return text.substr(1, text.size() - 2);
    return text;
}

std::string browserFileArgument(const std::string& commandLine)
{
    return stripSurroundingQuotes(trimBlanks(commandTail(commandLine)));
}
