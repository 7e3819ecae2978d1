// The time a phase of a run has left, from how fast its fraction has moved
// since it began, for the console's progress line and the window's phase.
#pragma once
#include <string>

// Where the phase being told began. A phase is its text up to the first
// comma without its numbers, so "reading file 3 of 12, 1,234 words so far"
// goes on across the files, and "4-grams: sorting" begins again after the
// 3-grams' sort (its fraction falls back).
struct PhaseClock {
    std::string phase;
    double startSeconds = 0;
    double startFraction = 0;
};

// "about 1 min 20 s left" for a phase at `fraction` (0..1) at `nowSeconds`
// on a steady clock; empty in the phase's first seconds, when the rate is
// noise, and when nothing of it was done since it began.
std::string timeLeftText(PhaseClock& clock, const std::string& phase, double fraction, double nowSeconds);

// A duration in the words of timeLeftText: "about 45 s left", "about 1 min
// 20 s left", "about 2 h 5 min left".
std::string aboutLeft(double seconds);
