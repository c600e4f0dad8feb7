#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <array>

constexpr int kColourWhite = 7;

// Colour codes are held as "&H" hex texts, lowest byte red.
std::array<QString, 11> initialColourCodes();
QStringList colourNames();
quint32 colourCodeValue(const QString& code);
QColor colourFromValue(quint32 value);
// The colour of colour-table entry `index` (0..7).
QColor tableColour(int index);
