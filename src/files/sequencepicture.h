#pragma once

#include <QByteArray>
#include <QImage>

struct SequenceData;

// The sequence as the grid shows it, drawn to read on a forum: LED names in their
// colours, lit cells in the LED's colour, the ruler with the last event marked, the
// servo modes.
QImage sequencePicture(const SequenceData& data);
QByteArray sequencePicturePng(const SequenceData& data);
