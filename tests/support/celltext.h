// A list cell's text as a string, for tests that compare cells (the browser
// itself hands the list view cellSpan's pointer and length).
#pragma once
#include "browser/core/framefile.h"

#include <string>

inline std::string cellText(const std::string& record, int column)
{
    FieldSpan cell = cellSpan(record, column);
    return std::string(cell.text, cell.length);
}
