#include "core/sequencefile.h"

#include "core/recordform.h"

std::string sequenceFileBytes(const SequenceData& data)
{
    std::string bytes;
    for (int value : data.events)
        bytes += quotedRecordText(std::to_string(value));
    for (int index : data.colourIndexes)
        bytes += integerRecordText(index);
    bytes += integerRecordText(data.lastEvent);
    for (int mode : data.servoModes)
        bytes += integerRecordText(mode);
    bytes += integerRecordText(data.sequencerDelay);
    bytes += integerRecordText(data.testSpeed);
    return bytes;
}

namespace {

std::string outside(const std::string& what, const std::string& value, long long low,
                    long long high)
{
    return what + " is " + value + ", outside " + std::to_string(low) + " to " +
           std::to_string(high);
}

class Reader
{
public:
    static constexpr size_t kQuoted = 40;
    explicit Reader(const std::vector<FieldText>& fields) : m_fields(fields) {}

    // Reads the next record as a number within [low, high]; `what` names it in messages.
    bool next(int* out, long long low, long long high, const std::string& what)
    {
        const int record = int(m_next) + 1;
        if (m_next >= m_fields.size())
            return fail(record, "the file ends after " + std::to_string(m_fields.size()) +
                                    " records; a sequence file has " +
                                    std::to_string(kSequenceRecords));
        const FieldText& field = m_fields[m_next++];
        const auto number = fieldNumber(field);
        if (!number && fieldIsWholeNumber(field)) { // too long to hold: out of range all the same
            const size_t first = field.text.find_first_not_of(" \t\n\v\f\r");
            const size_t last = field.text.find_last_not_of(" \t\n\v\f\r");
            // A message reads the start of a huge number; the rest would only bury it.
            const size_t length = last - first + 1;
            return fail(record,
                        outside(what,
                                length <= kQuoted ? field.text.substr(first, length)
                                                  : field.text.substr(first, kQuoted) + "\u2026",
                                low, high));
        }
        if (!number)
            return fail(record, what + " should be a number, but the file holds " +
                                    fieldDescription(field));
        if (*number < low || *number > high)
            return fail(record, outside(what, std::to_string(*number), low, high));
        *out = static_cast<int>(*number);
        return true;
    }

    SequenceFileRead error() const { return {std::nullopt, m_record, m_problem}; }

private:
    bool fail(int record, const std::string& problem)
    {
        m_record = record;
        m_problem = problem;
        return false;
    }

    const std::vector<FieldText>& m_fields;
    size_t m_next = 0;
    int m_record = 0;
    std::string m_problem;
};

} // namespace

SequenceFileRead readSequenceBytes(std::string_view bytes)
{
    // Some editors begin a UTF-8 file with a byte-order mark.
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    const std::vector<FieldText> fields = splitFields(bytes);
    Reader in(fields);
    SequenceData data;
    for (int i = 0; i < 50; ++i) {
        if (!in.next(&data.events[i], 0, 15, "the event value of event " + std::to_string(i + 1)))
            return in.error();
    }
    for (int k = 0; k < 8; ++k) {
        const bool led = k < 4;
        const std::string what = led ? "the colour index of LED " + std::to_string(k + 1)
                                     : "colour entry " + std::to_string(k);
        if (!in.next(&data.colourIndexes[k], led ? 0 : -32768, led ? 7 : 32767, what))
            return in.error();
    }
    if (!in.next(&data.lastEvent, 0, 49, "the last event index"))
        return in.error();
    for (int k = 0; k < 4; ++k) {
        int& mode = data.servoModes[k];
        if (!in.next(&mode, -1, 15, "the servo mode of LED " + std::to_string(k + 1)))
            return in.error();
        if (mode == -1)
            mode = 15; // older files write -1 for an empty selector, which behaves as NONE
    }
    if (!in.next(&data.sequencerDelay, 1, 255, "the sequencer delay") ||
        !in.next(&data.testSpeed, 1, 255, "the LED test speed"))
        return in.error();
    // Whatever follows record 65 (a note, an end-of-file byte) is not read.
    return {data, 0, {}};
}

std::string sequenceFileNote(std::string_view bytes)
{
    const std::vector<FieldText> fields = splitFields(bytes);
    if (fields.size() <= size_t(kSequenceRecords))
        return {};
    // The line that holds field 66, without its line end and outer blanks.
    const int wanted = fields[kSequenceRecords].line;
    size_t start = 0;
    for (int line = 1; line < wanted && start != std::string_view::npos; ++line) {
        start = bytes.find('\n', start);
        if (start != std::string_view::npos)
            ++start;
    }
    if (start == std::string_view::npos)
        return {};
    std::string_view note = bytes.substr(start, bytes.find('\n', start) - start);
    const size_t first = note.find_first_not_of(" \t\n\v\f\r");
    if (first == std::string_view::npos)
        return {};
    return std::string(note.substr(first, note.find_last_not_of(" \t\n\v\f\r") - first + 1));
}

SequenceData mergedSequence(const SequenceData& into, const SequenceData& file)
{
    SequenceData merged = file;
    for (int i = 0; i < 50; ++i)
        merged.events[i] = into.events[i] | file.events[i];
    merged.colourIndexes = into.colourIndexes;
    return merged;
}
