#pragma once

#include "core/colourtable.h"

#include <QColor>
#include <QStringList>

QStringList colourNames();
// The colour of colour-table entry `index` (0..7).
QColor tableColour(int index);
// The contrast of two colours, 1 to 21, as readability guidelines reckon it.
double contrastRatio(const QColor& a, const QColor& b);
// The background of an LED's name in colour `text`: the design's grey, or a darker or
// lighter one where the grey would leave the name less than 3:1 to read.
QColor nameBackground(const QColor& text);
