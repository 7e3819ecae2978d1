// Texts the copy buttons put on the clipboard, without the clipboard. Each
// NUL byte of a record is copied as a blank (see blankNuls).
#pragma once
#include "browser/core/listcolumns.h"

#include <cstdint>
#include <string>
#include <vector>

// One frame with its variant lines: the record without its rank field and
// the TAB after it, then CR LF CR LF. A record without a TAB has no rank
// field and is copied whole.
std::string frameCopyText(const std::string& record);

// Every frame in the list's current order under a two-line header:
//   <loadedFileName>, <frameCount with thousands commas> phrase-frames,
//   <sortDescription>
//   (empty line)
// then the records 1..frameCount, each without its rank field and TAB (a
// record without a TAB is copied whole), separated by empty lines, and an
// empty line after the last one. With measures, each frame's header line
// ends in them, TAB-separated as their cells show them (see
// appendMeasureFields).
std::string allSortedCopyText(const std::vector<std::string>& frames, int32_t frameCount,
                              const std::string& loadedFileName,
                              const std::string& sortDescription,
                              const FrameMeasures& measures = FrameMeasures());
