#pragma once

#include "core/sequencedata.h"

#include <QString>
#include <optional>

// Far more than any data file holds, notes included.
constexpr qint64 kMaxDataFileBytes = 1024 * 1024;

// A data file read and checked whole, as Open, Merge and the command line take it.
struct SequenceLoad
{
    std::optional<SequenceData> data;
    QString problem; // names the file and what is wrong with it, when data is empty
};

SequenceLoad loadSequenceFile(const QString& path);
