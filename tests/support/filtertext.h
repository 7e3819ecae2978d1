// The whole line filter over a text held in memory: what a file holding the
// text comes back as. The program itself filters a file chunk by chunk; the
// tests use this as the expected result.
#pragma once
#include "stopwords/core/textlines.h"

#include <string>
#include <string_view>

inline std::string filterText(std::string_view text, const StopwordTest& isStopword,
                              int64_t* linesRemoved = nullptr)
{
    LineFilter filter;
    std::string kept;
    filterBytes(filter, text.data(), text.size(), isStopword, kept);
    finishFiltering(filter, isStopword, kept);
    if (linesRemoved)
        *linesRemoved = filter.linesRemoved;
    return kept;
}
