#include "browser/core/listcolumns.h"

#include "common/core/text.h"

namespace {

constexpr bool sameText(const char* a, const char* b)
{
    while (*a != '\0' && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b;
}

constexpr bool isStatsHeading(const char* heading)
{
    for (const StatsColumn& column : statsColumns)
        if (sameText(column.heading, heading))
            return column.kind != statsText;
    return false;
}

constexpr bool measuresNameStatsNumbers()
{
    for (int c = 0; c < listColumnCount; ++c)
        if ((listColumns[c].kind == measureColumn) != (c >= recordColumnCount) ||
            (c >= recordColumnCount && !isStatsHeading(listColumns[c].statsHeading)))
            return false;
    return true;
}
static_assert(measuresNameStatsNumbers(), "measure columns follow the record columns and name numeric Stats columns");

// The load-time rank that field 1 of a record holds; 0 when it holds none.
int64_t rankOf(const std::string& record)
{
    int64_t rank = 0;
    for (size_t k = 0; k < record.size() && k < 12 && isDigit(record[k]); ++k)
        rank = rank * 10 + (record[k] - '0');
    return rank;
}

} // namespace

int shownColumnCount(const FrameMeasures& measures)
{
    return measures.shown ? listColumnCount : recordColumnCount;
}

bool measureOf(const std::string& record, const FrameMeasures& measures, int column, int64_t& value)
{
    const int64_t rank = rankOf(record);
    const size_t at = static_cast<size_t>(rank - 1) * measureCount + static_cast<size_t>(column - recordColumnCount - 1);
    if (!measures.shown || column <= recordColumnCount || column > listColumnCount || rank < 1 ||
        at >= measures.values.size())
        return false;
    value = measures.values[at];
    return true;
}

void writeListCell(const std::string& record, const FrameMeasures& measures, int column,
                   char (&cell)[cellTextSize])
{
    if (column <= recordColumnCount) {
        writeCellText(record, column, cell);
        return;
    }
    cell[0] = '\0';
    int64_t value = 0;
    if (!measureOf(record, measures, column, value))
        return;
    char text[statsValueSize];
    const size_t length =
        writeStatsValue(text, value, statsColumns[statsColumnIndex(listColumn(column).statsHeading)].kind);
    for (size_t k = 0; k < length; ++k)
        cell[k] = text[k];
    cell[length] = '\0';
}

void appendMeasureFields(std::string& out, const std::string& record, const FrameMeasures& measures)
{
    if (!measures.shown)
        return;
    for (int c = recordColumnCount + 1; c <= listColumnCount; ++c) {
        char cell[cellTextSize];
        writeListCell(record, measures, c, cell);
        out += '\t';
        out += cell;
    }
}
