#include "readerchecks.h"

#include "core/eventedits.h"
#include "core/recordform.h"
#include "core/sequencefile.h"
#include "core/sharelink.h"

#include <algorithm>
#include <climits>
#include <utility>

namespace {

bool eventValues(const std::vector<int>& values)
{
    return std::all_of(values.begin(), values.end(), [](int v) { return v >= 0 && v <= 15; });
}

// An edit leaves a sequence the device takes, and changes only the events and the last one.
bool sound(SequenceData before, const SequenceData& after)
{
    before.events = after.events;
    before.lastEvent = after.lastEvent;
    return before == after && after.lastEvent >= 0 && after.lastEvent < kEventCount &&
           eventValues({after.events.begin(), after.events.end()});
}

} // namespace

bool sequenceReaderHolds(std::string_view bytes)
{
    const SequenceFileRead read = readSequenceBytes(bytes);
    if (!read.data)
        return read.record >= 1 && !read.problem.empty();
    // What was accepted must survive a save and a second read unchanged, and a link too.
    const std::string link = shareLinkFragment(*read.data);
    return readSequenceBytes(sequenceFileBytes(*read.data)).data == read.data &&
           link.size() <= 120 && readShareLink("https://example.org/#" + link).data == read.data;
}

// A link is refused with a reason, or what it opens makes the same link again.
bool shareLinkHolds(std::string_view bytes)
{
    const ShareLinkRead read = readShareLink(bytes);
    if (!read.data)
        return !read.problem.empty();
    const std::string link = shareLinkFragment(*read.data);
    return isShareLink(bytes) && readShareLink(link).data == read.data &&
           bytes.find(link) != std::string_view::npos;
}

// Every number read is written back the same; lines only go forward.
bool ledCfgReaderHolds(std::string_view bytes)
{
    int line = 1;
    for (const FieldText& field : splitFields(bytes)) {
        const auto number = fieldNumber(field);
        if (field.line < std::exchange(line, field.line) || fieldDescription(field).empty() ||
            (number && *number >= INT_MIN && *number <= INT_MAX &&
             fieldNumber(splitFields(integerRecordText(int(*number))).at(0)) != number))
            return false;
    }
    return true;
}

// What was read is copied and read back the same, in both clipboard forms.
bool eventsTextReaderHolds(std::string_view bytes)
{
    const EventsRead read = readEventsText(bytes);
    if (read.values.empty())
        return !read.error.empty();
    return read.error.empty() && eventValues(read.values) &&
           readEventsText(eventsText(read.values)).values == read.values &&
           readEventsBytes(eventsBytes(read.values)).values == read.values;
}

bool eventEditsHold(std::string_view bytes)
{
    if (bytes.size() < 4)
        return true;
    const auto at = [&](std::size_t i) { return int(static_cast<signed char>(bytes[i])); };
    SequenceData data;
    data.lastEvent = (at(0) & 0x7f) % kEventCount;
    for (std::size_t i = 3; i < bytes.size() && i < 53; ++i)
        data.events[i - 3] = bytes[i] & 15;
    const EventRange range{at(1), at(2)}; // it may reach past either end; a slot may not
    const int slot = (at(1) & 0x7f) % kEventCount;
    const std::vector<int> values = copyEvents(data, range);
    const SequenceData edits[] = {pasteEvents(data, slot, values), insertEvent(data, slot),
                                  removeEvents(data, range), clearEvents(data, range)};
    // Rotating and reversing undo themselves; a copy pasted where it came from changes nothing.
    return std::all_of(std::begin(edits), std::end(edits),
                       [&](const SequenceData& edit) { return sound(data, edit); }) &&
           rotateEvents(rotateEvents(data, at(2)), -at(2)) == data &&
           reverseEvents(reverseEvents(data, range), range) == data &&
           pasteEvents(data, std::clamp(range.first, 0, kEventCount - 1), values) == data &&
           readEventsBytes(eventsBytes(values)).values == values;
}
