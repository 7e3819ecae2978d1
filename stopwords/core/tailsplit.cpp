#include "stopwords/core/tailsplit.h"

namespace {

// Replaces every non-overlapping occurrence of `from`, scanning left to right.
std::string replaceAll(const std::string& text, const std::string& from, const std::string& to)
{
    if (from.empty())
        return text;
    std::string out;
    out.reserve(text.size());
    size_t pos = 0;
    for (;;) {
        size_t hit = text.find(from, pos);
        if (hit == std::string::npos)
            break;
        out.append(text, pos, hit - pos);
        out += to;
        pos = hit + from.size();
    }
    out.append(text, pos, std::string::npos);
    return out;
}

std::string eraseAll(const std::string& text, char c)
{
    std::string out;
    out.reserve(text.size());
    for (char byte : text)
        if (byte != c)
            out += byte;
    return out;
}

} // namespace

std::vector<std::string> splitTailIntoNames(const std::string& tail)
{
    const std::string nul(1, '\0');
    std::string joined;
    if (tail.find('"') != std::string::npos)
        joined = eraseAll(replaceAll(tail, " \"", nul), '"');
    else
        joined = replaceAll(tail, " ", nul);

    // The folder of the last name, from its drive letter through its last
    // backslash. Only a drive folder counts: without a colon before the last
    // backslash (relative or network names) there is no folder to split at.
    size_t lastBackslash = joined.rfind('\\');
    size_t lastColon = joined.rfind(':');
    if (lastBackslash != std::string::npos && lastColon != std::string::npos && lastColon >= 1 &&
        lastColon < lastBackslash) {
        std::string folder = joined.substr(lastColon - 1, lastBackslash - lastColon + 2);
        joined = replaceAll(joined, " " + folder, nul + folder);
    }

    std::vector<std::string> names;
    size_t start = 0;
    for (;;) {
        size_t end = joined.find('\0', start);
        if (end == std::string::npos) {
            names.push_back(joined.substr(start));
            break;
        }
        names.push_back(joined.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

std::string markedAnsiText(std::u16string_view wide, const AnsiCharacterConverter& convert)
{
    std::string text;
    text.reserve(wide.size());
    std::string ansi;
    for (size_t i = 0; i < wide.size();) {
        size_t length = 1;
        if (wide[i] >= 0xD800 && wide[i] < 0xDC00 && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 &&
            wide[i + 1] < 0xE000)
            length = 2;
        ansi.clear();
        bool exact = convert(wide.substr(i, length), &ansi) && !ansi.empty() &&
                     ansi.find(unhandledCharacterMark) == std::string::npos;
        if (exact)
            text += ansi;
        else
            text += unhandledCharacterMark;
        i += length;
    }
    return text;
}

bool hasUnhandledCharacter(const std::string& name)
{
    return name.find(unhandledCharacterMark) != std::string::npos;
}

std::string displayName(const std::string& name)
{
    std::string shown = name;
    for (char& c : shown)
        if (c == unhandledCharacterMark)
            c = '?';
    return shown;
}

bool isOrdinaryFile(const DirectoryEntry& entry)
{
    return !entry.isDirectory && !entry.isHidden && !entry.isSystem && entry.name != "." &&
           entry.name != "..";
}

bool hasWildcard(const std::string& name)
{
    return name.find_first_of("*?") != std::string::npos;
}

std::string searchPatternFor(const std::string& name)
{
    if (!name.empty() && (name.back() == ':' || name.back() == '\\'))
        return name + "*.*";
    return name;
}

std::vector<std::string> expandWildcards(const std::vector<std::string>& names,
                                         const DirectoryLister& listDirectory)
{
    std::vector<std::string> expanded = names;
    for (size_t i = 0; i < names.size(); ++i) {
        if (!hasWildcard(names[i]) || hasUnhandledCharacter(names[i]))
            continue;
        size_t lastBackslash = names[i].rfind('\\');
        std::string folder =
            lastBackslash == std::string::npos ? std::string() : names[i].substr(0, lastBackslash + 1);
        bool first = true;
        for (const DirectoryEntry& entry : listDirectory(searchPatternFor(names[i]))) {
            if (!isOrdinaryFile(entry))
                continue;
            if (first)
                expanded[i] = folder + entry.name;
            else
                expanded.push_back(folder + entry.name);
            first = false;
        }
    }
    return expanded;
}
