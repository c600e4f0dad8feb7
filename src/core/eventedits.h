#pragma once

#include "core/sequencedata.h"

#include <algorithm>
#include <climits>
#include <string>
#include <string_view>
#include <vector>

// Edits of whole events (all four LEDs at once). Slots are 0..49; the last event index
// moves with the event it marks and stays within them. Colours, servo modes and timing
// are never touched.

constexpr int kEventCount = 50;

// Events `first` .. `first + count - 1`, clipped to the 50 slots.
struct EventRange
{
    int first = 0;
    int count = 1;
    // Far past either end, not wrapped round: ranges come from outside too.
    int end() const
    {
        return int(std::clamp(static_cast<long long>(first) + count,
                              static_cast<long long>(INT_MIN), static_cast<long long>(INT_MAX)));
    }
};

std::vector<int> copyEvents(const SequenceData& data, EventRange range);
// `values` written over the events from `slot` on; what runs past slot 49 is dropped. A slot
// outside 0..49 pastes nothing, as it inserts nothing.
SequenceData pasteEvents(SequenceData data, int slot, const std::vector<int>& values);
// How many of `count` events pasted at `slot` are dropped (all of them off the slots).
int pastedPastTheEnd(int slot, int count);
// An empty event at `slot`; the later ones move right and the one at slot 49 is dropped.
SequenceData insertEvent(SequenceData data, int slot);
// The later events move left and empty ones fill the end. A last event inside the range
// goes to the event before it, so the sequence ends where it did.
SequenceData removeEvents(SequenceData data, EventRange range);
SequenceData clearEvents(SequenceData data, EventRange range);
// Events 0 .. last event round by `step` (1: the last event wraps to the first; -1 back).
SequenceData rotateEvents(SequenceData data, int step);
SequenceData reverseEvents(SequenceData data, EventRange range);

// The plain-text form: four lines, LED 1 first, each "LED n  " then one character per
// event, # lit and . dark.
std::string eventsText(const std::vector<int>& values);
// The program's own clipboard form: one byte 0..15 per event.
std::string eventsBytes(const std::vector<int>& values);

// Events read back, or why not (`error` is then a sentence for the user).
struct EventsRead
{
    std::vector<int> values;
    std::string error;
};
// Labels may be left out, blanks and blank lines are ignored, CR LF is fine.
EventsRead readEventsText(std::string_view text);
EventsRead readEventsBytes(std::string_view bytes);
