#include "makeframes/core/timeleft.h"

#include <gtest/gtest.h>

TEST(MakeframesTimeLeft, DurationsInWords)
{
    const struct {
        double seconds;
        const char* text;
    } cases[] = {
        {0.2, "about 5 s left"},          {41, "about 45 s left"},          {59.5, "about 1 min left"},
        {80, "about 1 min 20 s left"},    {124, "about 2 min left"},        {3599, "about 1 h left"},
        {3600 + 5 * 60 + 10, "about 1 h 5 min left"}, {7200, "about 2 h left"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(aboutLeft(c.seconds), c.text) << c.seconds;
}

// Calls in turn on one clock: the phase, its fraction, the time, what is told.
TEST(MakeframesTimeLeft, EachPhaseFromItsOwnStartAfterItsFirstSeconds)
{
    const struct {
        const char* phase;
        double fraction, now;
        const char* text;
    } steps[] = {
        {"reading file 1 of 4, 10 words so far", 0, 0, ""},
        {"reading file 1 of 4, 900 words so far", 0, 4, ""},               // nothing done yet
        {"reading file 2 of 4, 1,000 words so far", 0.25, 4.5, ""},       // its first seconds
        {"reading file 3 of 4, 2,000 words so far", 0.5, 10, "about 10 s left"},
        {"4-grams: counting n-grams", 0, 10, ""},                          // a new phase
        {"4-grams: counting n-grams", 0.1, 20, "about 1 min 30 s left"},
        {"4-grams: counting n-grams", 1, 30, ""},                          // done
        {"4-grams: sorting frames", 0.2, 31, ""},
        {"4-grams: sorting frames", 0.4, 41, "about 30 s left"},           // from 20% at its start
        {"5-grams: counting n-grams", 0.3, 50, ""},                        // the next length
        {"5-grams: counting n-grams", 0.1, 51, ""},                        // fallen back: begins again
        {"5-grams: counting n-grams", 0.2, 61, "about 1 min 20 s left"},
    };
    PhaseClock clock;
    for (const auto& step : steps)
        EXPECT_EQ(timeLeftText(clock, step.phase, step.fraction, step.now), step.text) << step.phase << " " << step.now;
}
