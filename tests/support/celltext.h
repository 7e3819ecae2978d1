// A list cell's text as a string, for tests that compare cells (the browser
// itself hands the list view writeCellText's buffer).
#pragma once
#include "browser/core/framefile.h"

#include <string>

inline std::string cellText(const std::string& record, int column)
{
    char cell[cellTextSize];
    writeCellText(record, column, cell);
    return cell;
}
