// The texts the stopword filter shows: help, progress, summary and the
// layout of its status-code messages.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

const char programName[] = "CorvaleStopwords";

// The text of the help box: seven paragraphs joined by blank lines.
std::string helpText();

// " 412 stopwords read"
std::string stopwordsReadText(int64_t entriesRead);

// "Starting file 2 of 5", a CR, then the name.
std::string startingFileText(int64_t fileNumber, int64_t fileCount, const std::string& name);

// The three summary lines, and a fourth only when some names were skipped.
std::string summaryText(int64_t filesFiltered, int64_t linesRemoved, int64_t filesSkipped);

// "Error <decimal> [&H<8 hex digits>] " + the system's text, or without the
// blank and text when the system has none. Empty for status 0.
std::string statusMessage(uint32_t status, const std::string& systemText);

// Shown when the stopword list was found but could not be read; nothing has
// been changed at that point.
std::string stopwordListErrorText(const std::string& path, const std::string& reason);

// Shown when writing a file's kept lines back failed part way.
std::string overwriteFailedText(const std::string& name, const std::string& tempName);
