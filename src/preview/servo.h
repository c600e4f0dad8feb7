#pragma once

#include <QStringList>

constexpr int kServoModeNone = 15;
constexpr int kServoStickMin = 100;
constexpr int kServoStickMax = 199;
constexpr int kServoStickStart = 150;

// The 16 selector entries: "OFF", the 14 zone patterns, "NONE".
QStringList servoModeTexts();
// Which stick positions light an LED of `mode`, as pulse widths: "lit for pulses
// 1000-1490 \u00b5s".
QString servoModeTip(int mode);
// Zone bit (1, 2, 4 or 8) of a stick position 100..199.
int servoZoneBit(int position);
bool ledLit(bool cellOn, int zoneBit, int mode);
