// Sorting the frame list by one of its four columns (1 Rank, 2 Phrase-Frame,
// 3 Frequency, 4 Variants), with a direction flag per column that every click
// on the column reverses.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Direction flags for a newly loaded file: all 0 except the column the file
// is ordered by (3 when fileIsFreqOrder is non-zero, else 2), which gets -1,
// so a first click on that column reverses the file's order.
void resetSortState(int32_t sortState[5], int32_t fileIsFreqOrder);

// Toggles sortState[column], writes sortDescription and sorts
// frames[1..frameCount] in place by the column's field: numbers for columns
// 1, 3 and 4, bytes for column 2. A set flag (-1) means descending for the
// numeric columns and ascending for Phrase-Frame. A column outside 1..4 is
// ignored. The Phrase-Frame keys are views into the records, not copies.
// When memory runs out (std::bad_alloc) nothing has changed yet.
void sortByColumn(std::vector<std::string>& frames, int32_t frameCount, int32_t sortState[5],
                  int column, std::string& sortDescription);
