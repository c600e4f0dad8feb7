#pragma once

#include "core/sequencefile.h"

#include <QByteArray>
#include <QString>
#include <optional>

// The data file (core/sequencefile.h) on Qt's byte arrays.
QByteArray writeSequenceFile(const SequenceData& data);

struct SequenceReadResult
{
    std::optional<SequenceData> data;
    int record = 0;
    QString problem;
};

SequenceReadResult readSequenceFile(const QByteArray& bytes);
QString sequenceNote(const QByteArray& bytes);
