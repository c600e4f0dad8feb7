#pragma once

#include <string>
#include <utility>
#include <vector>

constexpr int kServoModeNone = 15;
constexpr int kServoStickMin = 100;
constexpr int kServoStickMax = 199;
constexpr int kServoStickStart = 150;

// Selector entry of a servo mode 0..15: "OFF", a zone pattern "|* - - -|", "NONE".
std::string servoModeText(int mode);
// The pulse widths in microseconds that light an LED of `mode`, as runs of zones:
// {1000, 1490} for zones 1 and 2.
std::vector<std::pair<int, int>> servoModePulses(int mode);
// Which stick positions light an LED of `mode`: "lit for pulses 1000-1490 \u00b5s".
std::string servoModeTip(int mode);
// Zone bit (1, 2, 4 or 8) of a stick position 100..199.
int servoZoneBit(int position);
bool ledLit(bool cellOn, int zoneBit, int mode);
