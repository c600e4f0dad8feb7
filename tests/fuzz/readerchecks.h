#pragma once

#include <QByteArray>

// What must hold for any bytes given to the readers; shared by the fuzz targets and
// the replay of their corpus in the normal test suite.
bool sequenceReaderHolds(const QByteArray& bytes);
bool ledCfgReaderHolds(const QByteArray& bytes);
