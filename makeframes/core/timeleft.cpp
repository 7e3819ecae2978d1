#include "makeframes/core/timeleft.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// Under this a phase's rate is mostly the time its first steps took.
const double quietSeconds = 5;

std::string phaseName(const std::string& phase)
{
    std::string name;
    for (char c : phase.substr(0, phase.find(',')))
        if (c < '0' || c > '9')
            name += c;
    return name;
}

} // namespace

std::string aboutLeft(double seconds)
{
    std::string text = "about ";
    if (seconds < 60) {
        // Up to the next 5 s: a phase about to end still shows a time.
        const long s = std::max(1L, static_cast<long>(std::ceil(seconds / 5))) * 5;
        return text + (s == 60 ? "1 min" : std::to_string(s) + " s") + " left";
    }
    if (seconds < 3600) {
        const long tens = std::lround(seconds / 10);
        const long minutes = tens / 6, s = tens % 6 * 10;
        if (minutes == 60)
            return text + "1 h left";
        text += std::to_string(minutes) + " min";
        return text + (s > 0 ? " " + std::to_string(s) + " s" : "") + " left";
    }
    const long minutes = std::lround(seconds / 60);
    text += std::to_string(minutes / 60) + " h";
    return text + (minutes % 60 > 0 ? " " + std::to_string(minutes % 60) + " min" : "") + " left";
}

std::string timeLeftText(PhaseClock& clock, const std::string& phase, double fraction, double nowSeconds)
{
    std::string name = phaseName(phase);
    if (name != clock.phase || fraction < clock.startFraction) {
        clock.phase = std::move(name);
        clock.startSeconds = nowSeconds;
        clock.startFraction = fraction;
        return std::string();
    }
    const double elapsed = nowSeconds - clock.startSeconds;
    const double done = fraction - clock.startFraction;
    if (elapsed < quietSeconds || done <= 0 || fraction >= 1)
        return std::string();
    return aboutLeft(elapsed / done * (1 - fraction));
}
