// What a chosen file's name says about the order of its records.
#pragma once
#include <string>

enum FileKind { fileKindUnknown, fileKindAlpha, fileKindFreq };

// fileKindAlpha for a name ending in "Alpha-phraseFrames.txt", fileKindFreq
// for one ending in "Freq-phraseFrames.txt" (byte-exact, case-sensitive,
// only the end of the name counts), otherwise fileKindUnknown.
FileKind classifyFileName(const std::string& name);

// The list-order sentence for a file of that kind; empty for an unknown kind,
// whose choice leaves the previous sentence in place.
const char* sortDescriptionFor(FileKind kind);

// The folder part of a chosen file's full name, up to and including its last
// "\" or "/"; empty when it has neither.
std::string folderOfChoice(const std::string& fullName);
