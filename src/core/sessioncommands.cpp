// The Edit menu's commands on whole events, with the texts the user reads.
#include "core/editsession.h"

#include "core/sharelink.h"

const std::vector<CommandEntry>& EditSession::editCommands()
{
    static const std::vector<CommandEntry> entries{{"MENUcut", "Cu&t Events"},
                                                   {"MENUcopy", "&Copy Events"},
                                                   {"MENUpaste", "&Paste Events"},
                                                   {"MENUclearevents", "Cl&ear Events"},
                                                   {"", ""},
                                                   {"MENUinsertevent", "&Insert Event"},
                                                   {"MENUdeleteevents", "&Delete Events"},
                                                   {"MENUrotateleft", "Rotate Le&ft"},
                                                   {"MENUrotateright", "Rotate Ri&ght"},
                                                   {"MENUreverse", "Re&verse Events"},
                                                   {"MENUselectall", "Select &All Events"},
                                                   {"", ""},
                                                   {"MENUlastevent", "Set &Last Event"}};
    return entries;
}

// "event 5" or "events 3 to 7", as the ruler counts them.
std::string EditSession::describe(EventRange range) const
{
    return range.count == 1
               ? "event " + std::to_string(range.first + 1)
               : "events " + std::to_string(range.first + 1) + " to " + std::to_string(range.end());
}

void EditSession::applyEvents(const SequenceData& edited, const std::string& name)
{
    for (int i = 0; i < kEventCount; ++i)
        setEventValue(i, edited.events[i]);
    setLast(edited.lastEvent);
    commit(name);
}

CommandResult EditSession::run(std::string_view name)
{
    CommandResult result;
    if (m_painting) // a drag is half an edit: no command cuts into it
        return result;
    const EventRange range = selectedEvents();
    if (name == "MENUcopy" || name == "MENUcut") {
        result.copiedEvents = copyEvents(m_data, range);
        result.copied = true;
        if (name == "MENUcopy") {
            result.status = "Copied " + describe(range) + ".";
            return result;
        }
        applyEvents(removeEvents(m_data, range), "Cut Events");
        placeCursor(m_cursorLed, range.first);
        result.status = "Cut " + describe(range) + ".";
    } else if (name == "MENUclearevents") {
        applyEvents(clearEvents(m_data, range), "Clear Events");
    } else if (name == "MENUinsertevent") {
        applyEvents(insertEvent(m_data, m_cursorSlot), "Insert Event");
        placeCursor(m_cursorLed, m_cursorSlot);
    } else if (name == "MENUdeleteevents") {
        applyEvents(removeEvents(m_data, range), "Delete Events");
        placeCursor(m_cursorLed, range.first);
    } else if (name == "MENUrotateleft" || name == "MENUrotateright") {
        const bool right = name == "MENUrotateright";
        applyEvents(rotateEvents(m_data, right ? 1 : -1), right ? "Rotate Right" : "Rotate Left");
    } else if (name == "MENUreverse") {
        // Without a selection, the whole sequence.
        applyEvents(
            reverseEvents(m_data, hasSelection() ? range : EventRange{0, m_data.lastEvent + 1}),
            "Reverse Events");
    } else if (name == "MENUselectall") {
        setCursor(m_cursorLed, kEventCount - 1, 0);
    } else if (name == "MENUlastevent") {
        setLastEvent(m_cursorSlot);
    } else if (name == "MENUundo") {
        undo();
    } else if (name == "MENUredo") {
        redo();
    }
    return result;
}

CommandResult EditSession::pasteBytes(std::string_view bytes)
{
    return paste(readEventsBytes(bytes));
}

CommandResult EditSession::pasteText(std::optional<std::string_view> text)
{
    if (text && isShareLink(*text)) { // a whole sequence rather than events
        CommandResult result;
        if (m_painting)
            return result;
        result.refusal = openLink(*text);
        if (result.refusal.empty())
            result.status = "Opened the sequence the link carries.";
        return result;
    }
    return paste(text ? readEventsText(*text) : EventsRead{{}, "It holds no text."});
}

CommandResult EditSession::paste(const EventsRead& read)
{
    CommandResult result;
    if (m_painting)
        return result;
    if (!read.error.empty()) {
        result.refusal = "The clipboard holds no events to paste. " + read.error +
                         "\rCopy events in the editor, or text of four lines of # (lit) and . "
                         "(dark), one line per LED, then paste again.";
        return result;
    }
    const int first = selectedEvents().first;
    const int dropped = pastedPastTheEnd(first, int(read.values.size()));
    applyEvents(pasteEvents(m_data, first, read.values), "Paste Events");
    placeCursor(m_cursorLed, first);
    result.status = "Pasted " + describe({first, int(read.values.size()) - dropped}) + ".";
    if (dropped == 1)
        result.status += " One more ran past event 50 and was dropped.";
    else if (dropped > 1)
        result.status.append(" ")
            .append(std::to_string(dropped))
            .append(" more ran past event 50 and were dropped.");
    return result;
}
