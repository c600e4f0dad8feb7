#pragma once

#include <QByteArray>
#include <QImage>

struct SequenceData;

// "12 events x 40 ms = 0.48 s per cycle": how long the device takes for one cycle.
QString cycleDescription(int lastEvent, int delayMs);

// The events in use drawn to read on a forum: a title line with `name` and the cycle,
// each LED's name and colour, lit cells in the LED's colour (framed, so that Black and
// White show too) on dark unlit ones, the ruler, the servo modes under their heading.
QImage sequencePicture(const SequenceData& data, const QString& name);
QByteArray sequencePicturePng(const SequenceData& data, const QString& name);
