// Number texts shared by both programs.
#pragma once
#include <cstdint>
#include <string>

// Decimal with a comma between groups of three digits counted from the right,
// whatever the locale: 1234567 -> "1,234,567", 0 -> "0", -1234 -> "-1,234".
std::string formatThousands(int64_t n);

// Decimal with one leading blank when not negative: 412 -> " 412", -3 -> "-3".
std::string strNumber(int64_t n);
