// Sorting the frame list by one of its columns (1 Rank, 2 Phrase-Frame,
// 3 Frequency, 4 Variants, then the measures of a Stats file, see
// listcolumns.h), with a direction flag per column that every click on the
// column reverses.
#pragma once
#include "browser/core/listcolumns.h"

#include <cstdint>
#include <string>
#include <vector>

// Direction flags 1..columnCount for a newly loaded file: all 0 except the
// column the file is ordered by (3 when fileIsFreqOrder is non-zero, else 2),
// which gets -1, so a first click on that column reverses the file's order.
void resetSortState(int32_t sortState[], int32_t fileIsFreqOrder, int columnCount = recordColumnCount);

// Toggles sortState[column], writes sortDescription and sorts
// frames[1..frameCount] in place by the column: bytes for Phrase-Frame,
// numbers for the others (the record's field, or the frame's measure). A set
// flag (-1) means descending for the numeric columns and ascending for
// Phrase-Frame. A column the list does not show is ignored. The
// Phrase-Frame keys are views into the records, not copies.
// When memory runs out (std::bad_alloc) nothing has changed yet.
void sortByColumn(std::vector<std::string>& frames, int32_t frameCount, int32_t sortState[], int column,
                  std::string& sortDescription, const FrameMeasures& measures = FrameMeasures());
