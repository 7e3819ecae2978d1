#include "filekind.h"

#include <cstring>

namespace {

bool endsWith(const std::string& text, const char* ending)
{
    size_t length = std::strlen(ending);
    return text.size() >= length && text.compare(text.size() - length, length, ending) == 0;
}

} // namespace

FileKind classifyFileName(const std::string& name)
{
    if (endsWith(name, "Alpha-phraseFrames.txt"))
        return fileKindAlpha;
    if (endsWith(name, "Freq-phraseFrames.txt"))
        return fileKindFreq;
    return fileKindUnknown;
}

const char* sortDescriptionFor(FileKind kind)
{
    switch (kind) {
    case fileKindAlpha:
        return "sorted alphabetically in ascending order";
    case fileKindFreq:
        return "sorted by frequency rank in descending order";
    default:
        return "";
    }
}

std::string folderOfChoice(const std::string& fullName)
{
    size_t separator = fullName.find_last_of("\\/");
    return separator == std::string::npos ? std::string() : fullName.substr(0, separator + 1);
}
