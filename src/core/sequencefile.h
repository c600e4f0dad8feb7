#pragma once

#include "core/sequencedata.h"

#include <optional>
#include <string>
#include <string_view>

constexpr int kSequenceRecords = 65;

// The 65 records of a data file, CR LF after each.
std::string sequenceFileBytes(const SequenceData& data);

struct SequenceFileRead
{
    std::optional<SequenceData> data;
    int record = 0;      // where the problem is, when there is one
    std::string problem; // e.g. "the event value of event 1 is 16, outside 0 to 15"
};

// Reads and checks a whole file; nothing partial comes back.
SequenceFileRead readSequenceBytes(std::string_view bytes);
// The line that follows record 65, if any: a note that says what the sequence is.
std::string sequenceFileNote(std::string_view bytes);

// Merge: the file's lit cells join the sequence's; its last event, servo modes and
// timing replace them; the colours stay.
SequenceData mergedSequence(const SequenceData& into, const SequenceData& file);
