#include "core/editsession.h"

#include "core/colourtable.h"
#include "core/sequencefile.h"
#include "core/servozones.h"
#include "core/sharelink.h"
#include "core/usertexts.h"

#include <algorithm>

namespace {

constexpr std::string_view kTitle = "GLIMMERON  -  Programmable LED Sequencer/Flasher";

std::string withKey(std::string_view verb, const std::string& step)
{
    return step.empty() ? std::string(verb) : std::string(verb) + " " + step;
}

std::string baseName(const std::string& name)
{
    const size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

} // namespace

std::string fileTitle(std::string_view fileName)
{
    return std::string(kTitle) + " - " + std::string(fileName);
}

std::string plainTitle()
{
    return std::string(kTitle);
}

const std::vector<std::string>& rowOperationTexts()
{
    static const std::vector<std::string> texts{
        "Clear All", "Mark All",  "Toggle All", "Copy from...", "Copy to...", "Skip 1...",
        "Skip 2...", "Skip 3...", "",           "Cancel"};
    return texts;
}

const std::vector<std::string>& copyPartnerTexts()
{
    static const std::vector<std::string> texts{"LED #1", "LED #2", "LED #3", "LED #4", "",
                                                "",       "",       "",       "",       "Cancel"};
    return texts;
}

EditSession::EditSession(SessionObserver* observer)
    : m_observer(observer), m_file{{}, fileTitle("Rev4")}, m_base(snapshot())
{
}

// ---- the file ----

std::string EditSession::fileName() const
{
    const size_t slash = m_file.path.find_last_of("/\\");
    return slash == std::string::npos ? m_file.path : m_file.path.substr(slash + 1);
}

std::string EditSession::sequenceName() const
{
    const std::string name = fileName();
    return !name.empty() && m_file.title == fileTitle(name) ? name : "the new sequence";
}

std::string EditSession::shareName() const
{
    const std::string name = fileName();
    return !name.empty() && m_file.title == fileTitle(name) ? baseName(name) : m_patternName;
}

bool EditSession::isModified() const
{
    return m_changedOutside || m_index != m_savedIndex;
}

void EditSession::setFile(FileState file)
{
    if (file == m_file)
        return;
    m_file = std::move(file);
    if (m_observer)
        m_observer->fileChanged();
}

// ---- the history ----

bool EditSession::canUndo() const
{
    return !m_painting && m_index > 0;
}

bool EditSession::canRedo() const
{
    return !m_painting && m_index < int(m_steps.size());
}

std::string EditSession::undoText() const
{
    return withKey("&Undo", m_index > 0 ? m_steps[m_index - 1].name : std::string());
}

std::string EditSession::redoText() const
{
    return withKey("&Redo", m_index < int(m_steps.size()) ? m_steps[m_index].name : std::string());
}

void EditSession::undo()
{
    if (!canUndo())
        return;
    const bool was = isModified();
    --m_index;
    restore(m_steps[m_index].before, m_steps[m_index].after);
    notifyModified(was);
    if (m_observer)
        m_observer->historyChanged();
}

void EditSession::redo()
{
    if (!canRedo())
        return;
    const bool was = isModified();
    restore(m_steps[m_index].after, m_steps[m_index].before);
    ++m_index;
    notifyModified(was);
    if (m_observer)
        m_observer->historyChanged();
}

void EditSession::commit(const std::string& name)
{
    Snapshot now = snapshot();
    if (now == m_base)
        return;
    const bool was = isModified();
    m_steps.resize(m_index);
    if (m_savedIndex > m_index)
        m_savedIndex = -1; // the saved state was undone and is now out of reach
    m_steps.push_back({name, m_base, now});
    ++m_index;
    m_base = std::move(now);
    notifyModified(was);
    if (m_observer)
        m_observer->historyChanged();
}

// Changes only what differs between `from` and `to`, so that what changed outside the
// history since (Settings OK) stays put.
void EditSession::restore(const Snapshot& toState, const Snapshot& fromState)
{
    const SequenceData& to = toState.data;
    const SequenceData& from = fromState.data;
    for (int i = 0; i < kEventCount; ++i)
        if (to.events[i] != from.events[i])
            setEventValue(i, to.events[i]);
    for (int k = 0; k < 8; ++k)
        if (to.colourIndexes[k] != from.colourIndexes[k])
            setColourEntry(k, to.colourIndexes[k]);
    if (to.lastEvent != from.lastEvent)
        setLast(to.lastEvent);
    for (int led = 0; led < kLeds; ++led)
        if (to.servoModes[led] != from.servoModes[led])
            setMode(led, to.servoModes[led]);
    setTiming(to.sequencerDelay != from.sequencerDelay ? to.sequencerDelay : m_data.sequencerDelay,
              to.testSpeed != from.testSpeed ? to.testSpeed : m_data.testSpeed);
    if (toState.file != fromState.file)
        setFile(toState.file);
    m_base = snapshot();
}

void EditSession::keepOutsideHistory()
{
    const bool was = isModified();
    if (m_data != m_base.data)
        m_changedOutside = true;
    m_base = snapshot();
    notifyModified(was);
}

void EditSession::markSaved()
{
    const bool was = isModified();
    m_savedIndex = m_index;
    m_changedOutside = false;
    notifyModified(was);
}

void EditSession::notifyModified(bool was)
{
    if (m_observer && isModified() != was)
        m_observer->modifiedChanged(isModified());
}

// ---- the sequence ----

void EditSession::setCell(int led, int slot, bool on)
{
    if (cell(led, slot) == on)
        return;
    m_data.events[slot] ^= 1 << led;
    if (m_observer)
        m_observer->cellChanged(led, slot);
}

void EditSession::setEventValue(int slot, int value)
{
    for (int led = 0; led < kLeds; ++led)
        setCell(led, slot, (value >> led) & 1);
}

void EditSession::setLast(int slot)
{
    if (slot == m_data.lastEvent)
        return;
    const int previous = m_data.lastEvent;
    m_data.lastEvent = slot;
    if (m_observer)
        m_observer->lastEventChanged(previous, slot);
}

void EditSession::setColourEntry(int entry, int index)
{
    if (m_data.colourIndexes[entry] == index)
        return;
    m_data.colourIndexes[entry] = index;
    if (m_observer && entry < kLeds)
        m_observer->colourChanged(entry);
}

void EditSession::setMode(int led, int mode)
{
    if (m_data.servoModes[led] == mode)
        return;
    m_data.servoModes[led] = mode;
    if (m_observer)
        m_observer->servoModeChanged(led);
}

void EditSession::setTiming(int sequencerDelay, int testSpeed)
{
    if (sequencerDelay == m_data.sequencerDelay && testSpeed == m_data.testSpeed)
        return;
    m_data.sequencerDelay = sequencerDelay;
    m_data.testSpeed = testSpeed;
    if (m_observer)
        m_observer->timingChanged();
}

void EditSession::assign(const SequenceData& data)
{
    for (int i = 0; i < kEventCount; ++i)
        setEventValue(i, data.events[i]);
    for (int k = 0; k < 8; ++k)
        setColourEntry(k, data.colourIndexes[k]);
    merge(data);
}

void EditSession::merge(const SequenceData& file)
{
    const SequenceData merged = mergedSequence(m_data, file);
    for (int i = 0; i < kEventCount; ++i)
        setEventValue(i, merged.events[i]);
    setLast(merged.lastEvent);
    for (int led = 0; led < kLeds; ++led)
        setMode(led, merged.servoModes[led]);
    setTiming(merged.sequencerDelay, merged.testSpeed);
}

// ---- edits ----

void EditSession::clickCell(int led, int slot, bool on)
{
    placeCursor(led, slot);
    setCell(led, slot, on);
    commit("Cell Click");
}

void EditSession::beginPaint()
{
    m_painting = true;
    if (m_observer)
        m_observer->historyChanged();
}

void EditSession::paintCells(const std::vector<GridCell>& cells, int startSlot)
{
    for (const GridCell& c : cells)
        setCell(c.led, c.slot, cell(c.led, startSlot));
}

void EditSession::endPaint()
{
    m_painting = false;
    commit("Paint Cells");
    if (m_observer)
        m_observer->historyChanged();
}

void EditSession::setLastEvent(int slot)
{
    setLast(std::clamp(slot, 0, kEventCount - 1));
    commit("Set Last Event"); // as the menu entry names it, for the ruler too
}

bool EditSession::applyRowOperation(int row, RowOperation operation, int partner)
{
    int target = row;
    int source = row;
    const bool copy = operation == RowOperation::CopyFrom || operation == RowOperation::CopyTo;
    if (copy) {
        if (partner < 0 || partner >= kLeds || partner == row)
            return false;
        (operation == RowOperation::CopyFrom ? source : target) = partner;
    } else if (operation < RowOperation::ClearAll || operation > RowOperation::Skip3) {
        return false;
    }
    RowStates states{};
    for (int i = 0; i < kSlots; ++i)
        states[i] = cell(source, i);
    for (const CellAssignment& c : rowOperationCells(operation, m_data.lastEvent, states))
        setCell(target, c.slot, c.on);
    std::string name = rowOperationTexts()[size_t(operation)];
    if (name.ends_with("..."))
        name.resize(name.size() - 3);
    if (copy)
        name += " LED#" + std::to_string(partner + 1);
    commit(name);
    return true;
}

void EditSession::setColour(int led, int index)
{
    setColourEntry(led, std::clamp(index, 0, kTableColours - 1));
    commit("Colour of LED#" + std::to_string(led + 1));
}

void EditSession::setServoMode(int led, int mode)
{
    setMode(led, std::clamp(mode, 0, kServoModeNone));
    commit("Servo Mode of LED#" + std::to_string(led + 1));
}

void EditSession::applySettings(int sequencerDelay, int testSpeed)
{
    setTiming(sequencerDelay, testSpeed);
    keepOutsideHistory();
}

// ---- the cursor and the selection ----

EventRange EditSession::selectedEvents() const
{
    if (m_anchor < 0)
        return {m_cursorSlot, 1};
    return {std::min(m_anchor, m_cursorSlot), std::abs(m_anchor - m_cursorSlot) + 1};
}

void EditSession::setCursor(int led, int slot, int anchor)
{
    if (led == m_cursorLed && slot == m_cursorSlot && anchor == m_anchor)
        return;
    m_cursorLed = led;
    m_cursorSlot = slot;
    m_anchor = anchor;
    if (m_observer)
        m_observer->cursorChanged();
}

void EditSession::moveCursor(Move move, bool extend)
{
    int led = m_cursorLed, slot = m_cursorSlot;
    switch (move) {
    case Move::Left:
        slot = std::max(0, slot - 1);
        break;
    case Move::Right:
        slot = std::min(kEventCount - 1, slot + 1);
        break;
    case Move::Up:
        led = std::max(0, led - 1);
        break;
    case Move::Down:
        led = std::min(kLeds - 1, led + 1);
        break;
    case Move::Home:
        slot = 0;
        break;
    case Move::End:
        slot = kEventCount - 1;
        break;
    }
    int anchor = -1;
    if (extend)
        anchor = m_anchor >= 0 || slot == m_cursorSlot ? m_anchor : m_cursorSlot;
    setCursor(led, slot, anchor);
}

void EditSession::placeCursor(int led, int slot)
{
    setCursor(led, slot, -1);
}

bool EditSession::endSelection()
{
    if (m_anchor < 0)
        return false;
    setCursor(m_cursorLed, m_cursorSlot, -1);
    return true;
}

void EditSession::pressRuler(int slot, bool extend)
{
    m_rulerPress = slot;
    if (!extend)
        return;
    m_rulerPress = m_anchor >= 0 ? m_anchor : m_cursorSlot;
    setCursor(m_cursorLed, slot, m_rulerPress);
}

void EditSession::dragRuler(int slot)
{
    if (m_rulerPress < 0)
        return;
    if (slot != m_rulerPress || hasSelection())
        setCursor(m_cursorLed, slot, m_rulerPress);
}

// ---- files ----

void EditSession::newSequence()
{
    for (int i = 0; i < kEventCount; ++i)
        setEventValue(i, 0);
    for (int led = 0; led < kLeds; ++led) {
        setColourEntry(led, kColourWhite);
        setMode(led, kServoModeNone);
    }
    setLast(kEventCount - 1);
    m_patternName.clear();
    setFile({m_file.path, plainTitle()});
    commit("New/Clear");
    markSaved();
}

std::string EditSession::open(std::string_view bytes, const std::string& path,
                              const std::string& shown, bool merging)
{
    const SequenceFileRead read = readSequenceBytes(bytes);
    if (!read.data)
        return invalidSequenceText(shown, read.record, read.problem) + std::string(kNothingChanged);
    m_patternName.clear();
    const size_t slash = path.find_last_of("/\\");
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    setFile({path, fileTitle(name)});
    merging ? merge(*read.data) : assign(*read.data);
    commit((merging ? "Merge " : "Open ") + name);
    if (!merging)
        markSaved();
    return {};
}

std::string EditSession::openPattern(std::string_view bytes, const std::string& name)
{
    const SequenceFileRead read = readSequenceBytes(bytes);
    if (!read.data)
        return invalidSequenceText(name, read.record, read.problem) + std::string(kNothingChanged);
    assign(*read.data);
    m_patternName = name;
    setFile({{}, plainTitle()});
    commit("Pattern " + name);
    return {};
}

std::string EditSession::linkRefusal(std::string_view text)
{
    const ShareLinkRead read = readShareLink(text);
    return read.data ? std::string() : invalidLinkText(read.problem) + std::string(kNothingChanged);
}

std::string EditSession::openLink(std::string_view text)
{
    const ShareLinkRead read = readShareLink(text);
    if (!read.data)
        return linkRefusal(text);
    assign(*read.data);
    m_patternName.clear();
    setFile({{}, plainTitle()});
    commit("Open Link");
    return {};
}

std::string EditSession::linkTo(std::string_view address) const
{
    return std::string(address.substr(0, address.find('#'))) + "#" + shareLinkFragment(m_data);
}

void EditSession::chooseFile(const std::string& path)
{
    setFile({path, m_file.title});
    keepOutsideHistory();
}

void EditSession::saved(const std::string& path)
{
    const size_t slash = path.find_last_of("/\\");
    setFile({path, fileTitle(slash == std::string::npos ? path : path.substr(slash + 1))});
    keepOutsideHistory();
    markSaved();
    m_patternName.clear();
}
