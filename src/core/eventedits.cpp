#include "core/eventedits.h"

#include <algorithm>

namespace {

EventRange clipped(EventRange range)
{
    const int first = std::clamp(range.first, 0, kEventCount - 1);
    return {first, std::clamp(range.end(), first, kEventCount) - first};
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// "1 line", "3 lines".
std::string counted(int count, const std::string& noun)
{
    return std::to_string(count) + ' ' + noun + (count == 1 ? "" : "s");
}

std::string lineName(int led)
{
    return "The line of LED " + std::to_string(led + 1);
}

// One LED's line: "LED 2", "LED#2" or "LED 2:" may lead.
std::string readLine(std::string_view line, int led, std::vector<bool>& cells)
{
    if (line.size() >= 3 && std::equal(line.begin(), line.begin() + 3, "LED",
                                       [](char a, char b) { return (a & ~0x20) == b; })) {
        line.remove_prefix(3);
        while (!line.empty() && (isBlank(line.front()) || line.front() == '#'))
            line.remove_prefix(1);
        if (line.empty() || line.front() != char('1' + led))
            return "The lines must be labelled LED 1 to LED 4 in that order, or not at all.";
        line.remove_prefix(1);
        if (!line.empty() && line.front() == ':')
            line.remove_prefix(1);
    }
    for (char c : line) {
        if (c == '#' || c == '.')
            cells.push_back(c == '#');
        else if (!isBlank(c))
            return lineName(led) + " holds " +
                   (c > ' ' && c < 127 ? std::string("\"") + c + "\"" : "a character") +
                   " where only # (lit) and . (dark) may stand.";
    }
    return {};
}

bool isSlot(int slot)
{
    return slot >= 0 && slot < kEventCount;
}

} // namespace

std::vector<int> copyEvents(const SequenceData& data, EventRange range)
{
    range = clipped(range);
    return {data.events.begin() + range.first, data.events.begin() + range.end()};
}

SequenceData pasteEvents(SequenceData data, int slot, const std::vector<int>& values)
{
    if (!isSlot(slot))
        return data;
    for (std::size_t i = 0; i < values.size() && slot + int(i) < kEventCount; ++i)
        data.events[slot + i] = values[i] & 15;
    return data;
}

int pastedPastTheEnd(int slot, int count)
{
    return isSlot(slot) ? std::max(0, slot + count - kEventCount) : std::max(0, count);
}

SequenceData insertEvent(SequenceData data, int slot)
{
    if (!isSlot(slot))
        return data;
    std::shift_right(data.events.begin() + slot, data.events.end(), 1);
    data.events[slot] = 0;
    if (data.lastEvent >= slot)
        data.lastEvent = std::min(data.lastEvent + 1, kEventCount - 1);
    return data;
}

SequenceData removeEvents(SequenceData data, EventRange range)
{
    range = clipped(range);
    std::fill(std::shift_left(data.events.begin() + range.first, data.events.end(), range.count),
              data.events.end(), 0);
    if (data.lastEvent >= range.end())
        data.lastEvent -= range.count;
    else if (data.lastEvent >= range.first)
        data.lastEvent = std::max(range.first - 1, 0);
    return data;
}

SequenceData clearEvents(SequenceData data, EventRange range)
{
    range = clipped(range);
    std::fill(data.events.begin() + range.first, data.events.begin() + range.end(), 0);
    return data;
}

SequenceData rotateEvents(SequenceData data, int step)
{
    const auto first = data.events.begin(), end = first + data.lastEvent + 1;
    if (step > 0)
        std::rotate(first, end - 1, end);
    else if (step < 0)
        std::rotate(first, first + 1, end);
    return data;
}

SequenceData reverseEvents(SequenceData data, EventRange range)
{
    range = clipped(range);
    std::reverse(data.events.begin() + range.first, data.events.begin() + range.end());
    return data;
}

std::string eventsText(const std::vector<int>& values)
{
    std::string text;
    for (int led = 0; led < 4; ++led) {
        text += "LED " + std::to_string(led + 1) + "  ";
        for (int value : values)
            text += (value >> led) & 1 ? '#' : '.';
        text += '\n';
    }
    return text;
}

std::string eventsBytes(const std::vector<int>& values)
{
    return {values.begin(), values.end()};
}

EventsRead readEventsText(std::string_view text)
{
    std::vector<std::vector<bool>> rows;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = trimmed(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        if (line.empty())
            continue;
        if (rows.size() == 4)
            return {{}, "The text has more than four lines: it needs one line per LED."};
        rows.emplace_back();
        if (std::string error = readLine(line, int(rows.size()) - 1, rows.back()); !error.empty())
            return {{}, error};
    }
    if (rows.empty())
        return {{}, "The text is empty."};
    if (rows.size() < 4)
        return {{},
                "The text has " + counted(int(rows.size()), "line") +
                    ": it needs four, one per LED."};
    if (rows[0].empty())
        return {{}, "The lines hold no events."};
    for (int led = 1; led < 4; ++led) {
        if (rows[led].size() != rows[0].size())
            return {{},
                    lineName(led) + " holds " + counted(int(rows[led].size()), "event") +
                        " and the line of LED 1 holds " + counted(int(rows[0].size()), "event") +
                        ": every LED needs one character per event."};
    }
    EventsRead read;
    read.values.assign(rows[0].size(), 0);
    for (int led = 0; led < 4; ++led)
        for (std::size_t i = 0; i < rows[led].size(); ++i)
            read.values[i] |= int(rows[led][i]) << led;
    return read;
}

EventsRead readEventsBytes(std::string_view bytes)
{
    if (bytes.empty())
        return {{}, "The copied events are empty."};
    EventsRead read;
    for (unsigned char b : bytes) {
        if (b > 15)
            return {{}, "The copied events hold a value over 15."};
        read.values.push_back(b);
    }
    return read;
}
