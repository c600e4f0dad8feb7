#include "readerchecks.h"

#include "core/eventedits.h"
#include "core/recordform.h"
#include "core/sequencefile.h"

#include <algorithm>
#include <climits>
#include <string>

namespace {

bool inRange(int value, int low, int high)
{
    return value >= low && value <= high;
}

// Whatever an edit does, the sequence stays one the device can take, and only the events
// and the last event change.
bool sound(const SequenceData& before, const SequenceData& after)
{
    SequenceData same = after;
    same.events = before.events;
    same.lastEvent = before.lastEvent;
    return same == before && inRange(after.lastEvent, 0, kEventCount - 1) &&
           std::all_of(after.events.begin(), after.events.end(),
                       [](int v) { return inRange(v, 0, 15); });
}

} // namespace

bool sequenceReaderHolds(std::string_view bytes)
{
    const SequenceFileRead read = readSequenceBytes(bytes);
    if (!read.data)
        return read.record >= 1 && !read.problem.empty();
    // What was accepted must survive a save and a second read unchanged.
    const SequenceFileRead again = readSequenceBytes(sequenceFileBytes(*read.data));
    return again.data && *again.data == *read.data;
}

// LED.cfg's first field is its port number: every number read must be written back the same.
bool ledCfgReaderHolds(std::string_view bytes)
{
    int line = 1;
    for (const FieldText& field : splitFields(bytes)) {
        if (field.line < line || fieldDescription(field).empty())
            return false;
        line = field.line;
        const auto number = fieldNumber(field);
        if (number && *number >= INT_MIN && *number <= INT_MAX) {
            const auto back = splitFields(integerRecordText(int(*number)));
            if (back.size() != 1 || fieldNumber(back[0]) != number)
                return false;
        }
    }
    return true;
}

bool eventsTextReaderHolds(std::string_view bytes)
{
    const EventsRead read = readEventsText(bytes);
    if (read.values.empty())
        return !read.error.empty();
    const bool valid = read.error.empty() && std::all_of(read.values.begin(), read.values.end(),
                                                         [](int v) { return inRange(v, 0, 15); });
    // What was read is copied and read back the same, in both clipboard forms.
    return valid && readEventsText(eventsText(read.values)).values == read.values &&
           readEventsBytes(eventsBytes(read.values)).values == read.values;
}

bool eventEditsHold(std::string_view bytes)
{
    if (bytes.size() < 4)
        return true;
    const auto byte = [&](std::size_t i) { return static_cast<signed char>(bytes[i]); };
    SequenceData data;
    data.lastEvent = (byte(1) & 0x7f) % kEventCount;
    for (std::size_t i = 4; i < bytes.size() && i - 4 < data.events.size(); ++i)
        data.events[i - 4] = bytes[i] & 15;
    // Ranges may reach past either end; a slot is one of the 50.
    const EventRange range{byte(2), byte(3)};
    const int slot = (byte(2) & 0x7f) % kEventCount;
    const std::vector<int> values = copyEvents(data, range);
    SequenceData after;
    switch ((bytes[0] & 0xff) % 7) {
    case 0:
        after = pasteEvents(data, slot, values);
        if (pastedPastTheEnd(slot, int(values.size())) !=
            std::max(0, slot + int(values.size()) - 50))
            return false;
        break;
    case 1:
        after = insertEvent(data, slot);
        break;
    case 2:
        after = removeEvents(data, range);
        break;
    case 3:
        after = clearEvents(data, range);
        break;
    case 4:
        after = rotateEvents(rotateEvents(data, byte(3)), -byte(3));
        if (after != data) // a round one way and back again
            return false;
        break;
    case 5:
        after = reverseEvents(reverseEvents(data, range), range);
        if (after != data)
            return false;
        break;
    default:
        after = data;
    }
    // A copy of the same events pasted where they came from changes nothing.
    const bool copyBack =
        values.empty() ||
        pasteEvents(data, std::clamp(int(range.first), 0, kEventCount - 1), values) == data;
    return sound(data, after) && values.size() <= std::size_t(kEventCount) && copyBack &&
           readEventsBytes(eventsBytes(values)).values == values;
}
