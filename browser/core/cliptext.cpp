#include "browser/core/cliptext.h"

#include "browser/core/panetext.h"
#include "common/core/frameformat.h"
#include "common/core/numbertext.h"
#include "common/core/text.h"

#include <algorithm>
#include <string_view>

namespace {

// The record from the byte after its first TAB; all of it without a TAB.
std::string_view withoutRank(const std::string& record)
{
    const size_t tab = record.find('\t');
    return tab == std::string::npos ? std::string_view(record)
                                    : std::string_view(record).substr(tab + 1);
}

}  // namespace

std::string frameCopyText(const std::string& record)
{
    const std::string_view frame = withoutRank(record);
    std::string text;
    text.reserve(frame.size() + sizeof frameRecordSeparator);
    text.append(frame);
    text += frameRecordSeparator;
    blankNuls(text);
    return text;
}

// The list can hold about a million lines, so the text is sized exactly
// first and then filled in one buffer, without a string per record.
std::string allSortedCopyText(const std::vector<std::string>& frames, int32_t frameCount,
                              const std::string& loadedFileName,
                              const std::string& sortDescription,
                              const FrameMeasures& measures)
{
    const auto last = static_cast<int32_t>(
        std::min<int64_t>(frameCount, static_cast<int64_t>(frames.size()) - 1));
    const size_t gapSize = sizeof frameRecordSeparator - 1;

    std::string header = loadedFileName;
    header += ", ";
    header += formatThousands(frameCount);
    header += " phrase-frames,";
    header += frameLineEnd;
    header += sortDescription;
    header += frameRecordSeparator;

    size_t total = header.size() + gapSize;
    for (int32_t i = 1; i <= last; ++i)
        total += withoutRank(frames[i]).size() + (i > 1 ? gapSize : 0);
    if (measures.shown) // at most this much per frame: a TAB and a value per measure
        total += static_cast<size_t>(last) * measureCount * statsValueSize;

    std::string text;
    text.reserve(total);
    text += header;
    for (int32_t i = 1; i <= last; ++i) {
        if (i > 1)
            text += frameRecordSeparator;
        const std::string_view frame = withoutRank(frames[i]);
        const size_t headerEnd = std::min(findCrLf(frame), frame.size());
        text.append(frame.substr(0, headerEnd));
        appendMeasureFields(text, frames[i], measures);
        text.append(frame.substr(headerEnd));
    }
    text += frameRecordSeparator;
    blankNuls(text);
    return text;
}
