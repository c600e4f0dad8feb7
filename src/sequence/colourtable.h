#pragma once

#include "core/colourtable.h"

#include <QColor>
#include <QStringList>

QStringList colourNames();
// The colour of colour-table entry `index` (0..7).
QColor tableColour(int index);
