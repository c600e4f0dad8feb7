#include "core/servozones.h"

#include <algorithm>

std::string servoModeText(int mode)
{
    if (mode <= 0)
        return "OFF";
    if (mode >= kServoModeNone)
        return "NONE";
    std::string text = "|";
    for (int zone = 0; zone < 4; ++zone) {
        text += (mode >> zone) & 1 ? '*' : '-';
        text += zone < 3 ? ' ' : '|';
    }
    return text;
}

std::vector<std::pair<int, int>> servoModePulses(int mode)
{
    std::vector<std::pair<int, int>> runs;
    for (int zone = 0; zone < 4; ++zone) {
        if (!((mode >> zone) & 1) || (zone > 0 && ((mode >> (zone - 1)) & 1)))
            continue; // not lit here, or within a run already begun
        int last = zone;
        while (last < 3 && ((mode >> (last + 1)) & 1))
            ++last;
        runs.emplace_back(10 * (kServoStickMin + 25 * zone),
                          10 * (kServoStickMin + 25 * last + 24));
    }
    return runs;
}

int servoZoneBit(int position)
{
    const int zone = (position - kServoStickMin) / 25;
    return 1 << std::clamp(zone, 0, 3);
}

bool ledLit(bool cellOn, int zoneBit, int mode)
{
    return cellOn && (zoneBit & mode) > 0;
}

std::string servoModeTip(int mode)
{
    if (mode == 0)
        return "never lit";
    std::string ranges;
    for (const auto& [from, to] : servoModePulses(mode))
        ranges += (ranges.empty() ? "" : " and ") + std::to_string(from) + "-" + std::to_string(to);
    return "lit for pulses " + ranges + " \u00b5s";
}
