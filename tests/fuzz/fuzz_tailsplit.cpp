// The filter's command tail and its wildcards. The input is NUL-separated:
// the tail first, then the entries of a made-up directory, each a flags
// byte (bit 0 folder, bit 1 hidden, bit 2 system, bits 3-4 which patterns
// list it) and its name. The names joined again give back the tail; the
// expansion puts each pattern's plain files in the pattern's place and at
// the end, and leaves every other name alone.
#include "common/core/cmdline.h"
#include "stopwords/core/tailsplit.h"

#include "fuzzcheck.h"

namespace {

std::string withoutQuotes(const std::string& text)
{
    std::string out;
    for (char c : text)
        if (c != '"')
            out += c;
    return out;
}

std::string joined(const std::vector<std::string>& names)
{
    std::string out;
    for (size_t k = 0; k < names.size(); ++k)
        out += (k > 0 ? " " : "") + names[k];
    return out;
}

// Which entries a pattern lists: it depends on the pattern, so names with
// different patterns get different files.
bool listedFor(uint8_t flags, const std::string& pattern)
{
    return ((flags >> 3) & 3) != (pattern.size() & 3);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input{data, size};
    const std::string tail = input.takeUntil('\0');
    std::vector<std::pair<uint8_t, DirectoryEntry>> directory;
    while (input.size > 0) {
        const uint8_t flags = input.byte();
        DirectoryEntry entry;
        entry.name = input.takeUntil('\0');
        entry.isDirectory = (flags & 1) != 0;
        entry.isHidden = (flags & 2) != 0;
        entry.isSystem = (flags & 4) != 0;
        directory.emplace_back(flags, entry);
    }

    // As a whole command line: the tail is what follows the program name.
    const std::string afterName = commandTail(tail);
    FUZZ_CHECK(tail.size() >= afterName.size() &&
               tail.compare(tail.size() - afterName.size(), std::string::npos, afterName) == 0);
    FUZZ_CHECK(afterName.empty() || afterName[0] != ' ');
    const std::string trimmed(trimBlanks(tail));
    FUZZ_CHECK(trimmed.empty() || (trimmed.front() != ' ' && trimmed.back() != ' '));
    FUZZ_CHECK(tail.find(trimmed) != std::string::npos);

    const std::vector<std::string> names = splitTailIntoNames(tail);
    FUZZ_CHECK(!names.empty());
    const bool quoted = tail.find('"') != std::string::npos;
    FUZZ_CHECK(joined(names) == (quoted ? withoutQuotes(tail) : tail));
    for (const std::string& name : names) {
        FUZZ_CHECK(name.find('\0') == std::string::npos);
        if (quoted)
            FUZZ_CHECK(name.find('"') == std::string::npos);
        else
            FUZZ_CHECK(name.find(' ') == std::string::npos);
    }

    std::vector<std::string> asked;
    const DirectoryLister lister = [&](const std::string& pattern) {
        asked.push_back(pattern);
        std::vector<DirectoryEntry> listing;
        for (const auto& entry : directory)
            if (listedFor(entry.first, pattern))
                listing.push_back(entry.second);
        return listing;
    };
    const std::vector<std::string> expanded = expandWildcards(names, lister);

    std::vector<std::string> expected = names, wantedAsks;
    for (size_t i = 0; i < names.size(); ++i) {
        // A name with characters the program cannot handle is never expanded.
        if (!hasWildcard(names[i]) || hasUnhandledCharacter(names[i]))
            continue;
        const std::string pattern = searchPatternFor(names[i]);
        wantedAsks.push_back(pattern);
        const size_t slash = names[i].rfind('\\');
        const std::string folder = slash == std::string::npos ? std::string() : names[i].substr(0, slash + 1);
        bool first = true;
        for (const auto& entry : directory) {
            const DirectoryEntry& file = entry.second;
            const bool plain = !file.isDirectory && !file.isHidden && !file.isSystem && file.name != "." &&
                               file.name != "..";
            FUZZ_CHECK(isOrdinaryFile(file) == plain);
            if (!listedFor(entry.first, pattern) || !plain)
                continue;
            if (first)
                expected[i] = folder + file.name;
            else
                expected.push_back(folder + file.name);
            first = false;
        }
    }
    FUZZ_CHECK(expanded == expected);
    FUZZ_CHECK(asked == wantedAsks);
    return 0;
}
