#pragma once

#include "core/sequencedata.h"
#include "core/usertexts.h"

#include <QString>
#include <optional>

// A data file read and checked whole, as Open, Merge and the command line take it.
struct SequenceLoad
{
    std::optional<SequenceData> data;
    QString problem; // names the file and what is wrong with it, when data is empty
};

SequenceLoad loadSequenceFile(const QString& path);
// The file's bytes, or why they could not be read (an unreadable file, one far too long).
std::optional<QByteArray> readDataFile(const QString& path, QString* problem);
