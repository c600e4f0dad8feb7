#pragma once

#include "core/sequencedata.h"

#include <QString>
#include <optional>

// A data file read and checked whole, as Open, Merge and the command line take it.
struct SequenceLoad
{
    std::optional<SequenceData> data;
    QString problem; // names the file and what is wrong with it, when data is empty
};

SequenceLoad loadSequenceFile(const QString& path);
