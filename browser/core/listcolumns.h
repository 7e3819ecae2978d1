// The frame list's columns, described once: the four columns of every file,
// then the measures that a Stats file beside the loaded file adds. Headings,
// widths, cells, sorts and the sorted copy all come from this table, so a
// new column is one more row in it.
#pragma once
#include "browser/core/framefile.h"
#include "common/core/statsformat.h"

#include <cstdint>
#include <string>
#include <vector>

// Record columns are cut from the frame record; measure columns come from
// the frame's row of the Stats file.
enum ListColumnKind { recordNumberColumn, recordTextColumn, measureColumn };
enum ListColumnAlign { alignLeft, alignRight, alignCenter };

struct ListColumn {
    const char* heading;
    int widthPercent;         // of the list's inner width; 0: what the other columns leave
    ListColumnAlign align;
    ListColumnKind kind;
    int recordField;          // record columns: field of the record (1 rank ... 4 variants)
    const char* statsHeading; // measure columns: the column of the Stats table
    const char* sortName;     // names the order in the sort sentence
};

inline constexpr ListColumn listColumns[] = {
    {"Rank", 8, alignRight, recordNumberColumn, 1, nullptr, "frequency rank"},
    {"Phrase-Frame", 0, alignLeft, recordTextColumn, 2, nullptr, "phrase frame"},
    {"Frequency", 11, alignRight, recordNumberColumn, 3, nullptr, "frequency"},
    {"Variants", 11, alignCenter, recordNumberColumn, 4, nullptr, "variants"},
    {"Var./Occ.", 8, alignRight, measureColumn, 0, "variants per occurrence", "variants per occurrence"},
    {"Top Share", 8, alignRight, measureColumn, 0, "top variant share", "top variant share"},
    {"Entropy", 8, alignRight, measureColumn, 0, "entropy (bits)", "entropy"},
    {"Range", 8, alignRight, measureColumn, 0, "range", "range"},
    {"DP", 7, alignRight, measureColumn, 0, "DP", "dispersion (DP)"},
    {"Per Million", 8, alignRight, measureColumn, 0, "per million words", "per million words"},
};
inline constexpr int listColumnCount = static_cast<int>(sizeof listColumns / sizeof listColumns[0]);
// The record columns come first and are always shown.
inline constexpr int recordColumnCount = 4;
inline constexpr int measureCount = listColumnCount - recordColumnCount;

// Column c of the list, counted from 1.
inline const ListColumn& listColumn(int c)
{
    return listColumns[c - 1];
}

// The measures of the loaded frames, as numbers (fractions in
// statsFractionScale parts). A frame's record carries its load-time rank in
// field 1, which stays with it through every sort: the frame of rank r has
// measure m (its list column recordColumnCount + 1 + m) at
// values[(r - 1) * measureCount + m].
struct FrameMeasures {
    bool shown = false; // a Stats file belonging to the frames was read
    std::vector<int64_t> values;
};

// The columns the list shows: the record columns, and the measure columns
// when there are measures.
int shownColumnCount(const FrameMeasures& measures);

// The measure of a record in list column c (a measure column); false when
// the measures have none for it.
bool measureOf(const std::string& record, const FrameMeasures& measures, int column, int64_t& value);

// Text of list cell column c of a record, as writeCellText for the record
// columns and as the Stats file spells the value for the measure columns
// (empty when there is none). Needs no memory.
void writeListCell(const std::string& record, const FrameMeasures& measures, int column,
                   char (&cell)[cellTextSize]);

// Appends a TAB and the cell text of each measure column of the record, for
// the sorted copy; nothing without measures.
void appendMeasureFields(std::string& out, const std::string& record, const FrameMeasures& measures);
