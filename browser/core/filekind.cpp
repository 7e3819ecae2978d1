#include "filekind.h"

#include "common/core/frameformat.h"

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
    // The endings without their "-": the name "Alpha-phraseFrames.txt"
    // alone tells the order too.
    if (endsWith(name, alphaFileEnding + 1))
        return fileKindAlpha;
    if (endsWith(name, freqFileEnding + 1))
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
