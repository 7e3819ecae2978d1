#include "layout.h"

#include "browser/core/listcolumns.h"

#include "controlids.h"

#include <cmath>

namespace {

const float onePercent = 0.01f;

// q / 100 rounded half to even, for any sign of q.
int32_t hundredthsHalfEven(int64_t q)
{
    int64_t whole = q / 100;
    int64_t rest = q % 100;
    if (rest < 0) {
        rest += 100;
        whole -= 1;
    }
    if (rest > 50 || (rest == 50 && whole % 2 != 0))
        whole += 1;
    return static_cast<int32_t>(whole);
}

} // namespace

int32_t roundHalfEven(long double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= 2147483647.0L)
        return INT32_MAX;
    if (value <= -2147483648.0L)
        return INT32_MIN;
    long double below = std::floor(value);
    long double fraction = value - below;
    long double result = below;
    if (fraction > 0.5L || (fraction == 0.5L && std::fmod(below, 2.0L) != 0))
        result += 1;
    return static_cast<int32_t>(result);
}

float unitScaleYFor(float unitScaleX)
{
    return unitScaleX < 1.75f ? 1.855f : 1.9f;
}

int32_t pctX(float p, float unitScaleX)
{
    long double value = 800.0L * static_cast<long double>(p) * static_cast<long double>(onePercent) /
                        static_cast<long double>(unitScaleX);
    return roundHalfEven(value);
}

int32_t pctY(float p, float unitScaleY)
{
    long double value = 543.0L * static_cast<long double>(p) * static_cast<long double>(onePercent) /
                        static_cast<long double>(unitScaleY);
    return roundHalfEven(value);
}

void listColumnWidths(int32_t listPixelWidth, int32_t verticalScrollWidth, int32_t widths[], int columnCount)
{
    int restPercent = 100;
    for (int c = 0; c < columnCount; ++c)
        restPercent -= listColumns[c].widthPercent;
    int64_t w = static_cast<int64_t>(listPixelWidth) - 4 - verticalScrollWidth;
    for (int c = 0; c < columnCount; ++c) {
        const int percent = listColumns[c].widthPercent != 0 ? listColumns[c].widthPercent : restPercent;
        widths[c] = hundredthsHalfEven(percent * w);
    }
}

ControlBox mainControlBox(int controlId, float sx, float sy)
{
    switch (controlId) {
    case 0:
        return {0, 0, pctX(85, sx), pctY(110, sy)};
    case statusLabelId: // at fixed units in the top corner
        return {3, 1, pctX(80, sx), pctY(5.9f, sy)};
    case variantPaneId:
        return {pctX(1, sx), pctY(52.6f, sy), pctX(83, sx), pctY(52, sy)};
    case frameInfoLabelId:
        return {pctX(1, sx), pctY(46.8f, sy), pctX(27, sx), pctY(5.2f, sy)};
    case concordanceButtonId:
        return {pctX(28.5f, sx), pctY(47, sy), pctX(9.5f, sx), pctY(4, sy)};
    case alphaButtonId:
        return {pctX(38.5f, sx), pctY(47, sy), pctX(5.5f, sx), pctY(4, sy)};
    case freqButtonId:
        return {pctX(44.5f, sx), pctY(47, sy), pctX(5.5f, sx), pctY(4, sy)};
    case copyFrameButtonId:
        return {pctX(50.5f, sx), pctY(47, sy), pctX(18, sx), pctY(4, sy)};
    case copyAllButtonId:
        return {pctX(69, sx), pctY(47, sy), pctX(15, sx), pctY(4, sy)};
    case frameListId: // four units below the status label's two lines
        return {pctX(0.8f, sx), pctY(6.6f, sy) + 4, pctX(83, sx), pctY(38.1f, sy)};
    }
    return {0, 0, 0, 0};
}
