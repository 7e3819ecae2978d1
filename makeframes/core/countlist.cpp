#include "makeframes/core/countlist.h"

#include <cstring>

namespace {

// The count's digits: no sign, no blanks, at least 1, at most 2^32 - 1
// (what one n-gram's count holds in the build).
bool readCount(const char* begin, const char* end, uint32_t& count)
{
    if (begin == end || end - begin > 10)
        return false;
    uint64_t value = 0;
    for (const char* c = begin; c < end; ++c) {
        if (*c < '0' || *c > '9')
            return false;
        value = value * 10 + static_cast<unsigned>(*c - '0');
    }
    if (value < 1 || value > 0xFFFFFFFFu)
        return false;
    count = static_cast<uint32_t>(value);
    return true;
}

} // namespace

void CountListReader::addBytes(const char* data, size_t size)
{
    const char* end = data + size;
    while (data < end) {
        const char* lineEnd = static_cast<const char*>(std::memchr(data, '\n', static_cast<size_t>(end - data)));
        if (lineEnd == nullptr) {
            unended.append(data, end);
            return;
        }
        if (unended.empty()) {
            addLine(data, lineEnd);
        } else {
            unended.append(data, lineEnd);
            addLine(unended.data(), unended.data() + unended.size());
            unended.clear();
        }
        data = lineEnd + 1;
    }
}

void CountListReader::end()
{
    if (!unended.empty())
        addLine(unended.data(), unended.data() + unended.size());
    unended.clear();
}

void CountListReader::addLine(const char* begin, const char* end)
{
    ++lines;
    if (end > begin && end[-1] == '\r')
        --end;
    const char* tab = static_cast<const char*>(std::memchr(begin, '\t', static_cast<size_t>(end - begin)));
    std::string problem;
    uint32_t count = 0;
    ids.clear();
    if (tab == nullptr) {
        problem = "no TAB between the n-gram and its count";
    } else if (!readCount(tab + 1, end, count)) {
        problem = "the count is not a whole number from 1 to 4294967295";
    } else if (tab == begin) {
        problem = "the n-gram is empty";
    } else {
        for (const char* word = begin; problem.empty() && word <= tab;) {
            const char* space = static_cast<const char*>(std::memchr(word, ' ', static_cast<size_t>(tab - word)));
            const char* wordEnd = space == nullptr ? tab : space;
            if (wordEnd == word)
                problem = "an empty word (two spaces together, or a space at an end)";
            else
                ids.push_back(corpus.wordId(std::string(word, wordEnd)));
            word = wordEnd + 1;
        }
        if (problem.empty() && ids.size() != static_cast<size_t>(length))
            problem = std::to_string(ids.size()) + (ids.size() == 1 ? " word" : " words") + ", where the n-grams have " + std::to_string(length);
    }
    if (!problem.empty()) {
        ++bad.count;
        if (bad.shown.size() < BadCountLines::shownAtMost)
            bad.shown.push_back(name + ":" + std::to_string(lines) + ": " + problem);
        return;
    }
    for (uint32_t id : ids)
        words.add(id);
    words.add(count);
    ngrams += count;
}
