#pragma once

#include <QStringList>

// The servo modes as the selectors and pictures show them.
QStringList servoModeTexts();
// Which stick positions light an LED of `mode`: "lit for pulses 1000-1490 \u00b5s".
QString servoModeTip(int mode);
