#pragma once

#include "core/sequencedata.h"

#include <QByteArray>
#include <QString>
#include <optional>

constexpr int kSequenceRecords = 65;

QByteArray writeSequenceFile(const SequenceData& data);

struct SequenceReadResult
{
    std::optional<SequenceData> data;
    int record = 0;  // where the problem is, when there is one
    QString problem; // e.g. "event value 16 is outside 0 to 15"
};

// Reads and checks a whole file; nothing partial comes back.
SequenceReadResult readSequenceFile(const QByteArray& bytes);
// The line that follows record 65, if any: a note that says what the sequence is.
QString sequenceNote(const QByteArray& bytes);
