// What makeframes says about its own command line: the help, and the option
// a mistyped one was most likely meant to be.
#pragma once
#include <string>
#include <vector>

// Every option makeframes takes, as typed.
extern const std::vector<std::string> makeFramesOptions;

// The help: how to call it, each option, and the files it writes.
std::string makeFramesHelp();

// The name among `names` that `typed` is nearest to (fewest letters added,
// dropped, changed or two neighbours swapped; the first of equals), or an
// empty text when none is near enough to be what was meant.
std::string nearestName(const std::string& typed, const std::vector<std::string>& names);
