// The statistics table that makeframes writes beside its phrase-frame files
// (prefix-Stats.txt) and the browser shows as list columns: its columns, its
// name and its parser, written here only. A further measure is one more row
// of statsColumns; makeframes' header row and the browser's reading follow.
#pragma once
#include "common/core/frameformat.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// Text, a count in decimal digits, or a fraction with statsFractionDigits
// decimals after a full stop, whatever the locale.
enum StatsFieldKind { statsText, statsCount, statsFraction };

struct StatsColumn {
    const char* heading; // in the header row
    StatsFieldKind kind;
};

// Every row begins with the frame's own fields as its record's header line
// does in the phrase-frame files: frame, frequency, variants.
inline constexpr StatsColumn statsColumns[] = {
    {"frame", statsText},
    {"frequency", statsCount},
    {"variants", statsCount},
    {"variants per occurrence", statsFraction},
    {"top variant", statsText},
    {"top variant share", statsFraction},
    {"entropy (bits)", statsFraction},
    {"range", statsCount},
    {"DP", statsFraction},
    {"per million words", statsFraction},
};
inline constexpr size_t statsColumnCount = sizeof statsColumns / sizeof statsColumns[0];
inline constexpr size_t statsFrameColumn = 0;
inline constexpr size_t statsFrequencyColumn = 1;
inline constexpr size_t statsVariantsColumn = 2;

inline constexpr int statsFractionDigits = 4;
inline constexpr int64_t statsFractionScale = 10000; // a fraction is held in these parts of one

// The header row: the headings joined by TABs, then CR LF.
const std::string& statsHeaderLine();

// Index of the column with this heading in statsColumns; statsColumnCount
// when there is none.
size_t statsColumnIndex(std::string_view heading);

// One row as read: each field as a view into the text, and the value of
// each count and fraction field (fractions in statsFractionScale parts; 0
// for text fields).
struct StatsRow {
    std::string_view fields[statsColumnCount];
    int64_t values[statsColumnCount];
};

// Reads a whole table: the header row, then rows of statsColumnCount
// TAB-separated fields, every line ended by CR LF. onRow gets each row in
// order. Returns the empty text when the table is whole and well-formed,
// else, at the first fault, why it cannot be read (a clause for a message:
// that it was cut short, or what is wrong on which line).
std::string readStatsText(std::string_view text, const std::function<void(const StatsRow&)>& onRow);

// A value as its cell shows it: a count in decimal, a fraction with its
// statsFractionDigits decimals; nothing for text. Written without needing
// memory (the list asks for cells while it paints); returns its length.
inline constexpr size_t statsValueSize = 24;
size_t writeStatsValue(char (&out)[statsValueSize], int64_t value, StatsFieldKind kind);
