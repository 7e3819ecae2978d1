// The measures of a loaded frame file from the Stats file beside it, when
// that file belongs to these frames.
#pragma once
#include "browser/core/listcolumns.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The Stats file of a frame file: the part of its name before
// "-Alpha-phraseFrames.txt" or "-Freq-phraseFrames.txt", then "-Stats.txt";
// empty for a name with neither ending.
std::wstring statsFileFor(const std::wstring& frameFileName);

// The same with another of the run's endings ("-Corpus.txt").
std::wstring fileBesideFrames(const std::wstring& frameFileName, const char* fileEnding);

// Reads the Stats text for records[1..count] as the loader builds them (file
// order, rank k in record k). When the table is well-formed and belongs to
// these frames (as many rows as frames, and each frame has a row with the
// same frame text, frequency and variant count), fills measures and returns
// the empty text; otherwise leaves measures without any and returns why (a
// clause for measuresRefusedText). frameFileName names the frames in it.
std::string readFrameMeasures(std::string_view statsText, const std::vector<std::string>& records,
                              int32_t count, const std::string& frameFileName, FrameMeasures& measures);

// The box shown when a Stats file beside the loaded file is not used.
std::string measuresRefusedText(const std::string& statsFileName, const std::string& problem);
