#include "sequence/sequencedocument.h"

#include "core/sequencefile.h"
#include "sequence/colourtable.h"

// One edit, held as the sequence before and after it.
class SnapshotStep : public QUndoCommand
{
public:
    using Snapshot = SequenceDocument::Snapshot;
    SnapshotStep(SequenceDocument& document, const QString& name, Snapshot before, Snapshot after)
        : QUndoCommand(name), m_document(document), m_before(std::move(before)),
          m_after(std::move(after))
    {
    }
    void undo() override { m_document.restore(m_before, m_after); }
    void redo() override
    {
        // The edit itself has already been made when the step is pushed.
        if (m_done)
            m_document.restore(m_after, m_before);
        m_done = true;
    }

private:
    SequenceDocument& m_document;
    Snapshot m_before;
    Snapshot m_after;
    bool m_done = false;
};

SequenceDocument::SequenceDocument(QObject* parent) : QObject(parent)
{
    connect(&m_undoStack, &QUndoStack::cleanChanged, this,
            [this] { Q_EMIT modifiedChanged(isModified()); });
}

bool SequenceDocument::isModified() const
{
    return m_changedOutside || !m_undoStack.isClean();
}

int SequenceDocument::eventValue(int slot) const
{
    int value = 0;
    for (int led = 0; led < 4; ++led)
        value |= int(m_cells[led][slot]) << led;
    return value;
}

SequenceData SequenceDocument::data() const
{
    SequenceData data;
    for (int i = 0; i < 50; ++i)
        data.events[i] = eventValue(i);
    data.colourIndexes = m_colourIndexes;
    data.lastEvent = m_lastEvent;
    data.servoModes = m_servoModes;
    data.sequencerDelay = m_sequencerDelay;
    data.testSpeed = m_testSpeed;
    return data;
}

void SequenceDocument::setCell(int led, int slot, bool on)
{
    if (m_cells[led][slot] == on)
        return;
    m_cells[led][slot] = on;
    Q_EMIT cellChanged(led, slot);
}

void SequenceDocument::setEventValue(int slot, int value)
{
    for (int led = 0; led < 4; ++led)
        setCell(led, slot, (value >> led) & 1);
}

void SequenceDocument::setLastEvent(int slot)
{
    if (slot == m_lastEvent)
        return;
    const int previous = m_lastEvent;
    m_lastEvent = slot;
    Q_EMIT lastEventChanged(previous, slot);
}

void SequenceDocument::setColourIndex(int led, int index)
{
    if (m_colourIndexes[led] == index)
        return;
    m_colourIndexes[led] = index;
    if (led < 4)
        Q_EMIT colourChanged(led);
}

void SequenceDocument::setServoMode(int led, int mode)
{
    if (m_servoModes[led] == mode)
        return;
    m_servoModes[led] = mode;
    Q_EMIT servoModeChanged(led);
}

void SequenceDocument::setTiming(int sequencerDelay, int testSpeed)
{
    if (sequencerDelay == m_sequencerDelay && testSpeed == m_testSpeed)
        return;
    m_sequencerDelay = sequencerDelay;
    m_testSpeed = testSpeed;
    Q_EMIT timingChanged();
}

bool SequenceDocument::applyRowOperation(int row, RowOperation operation, int partner)
{
    int target = row;
    int source = row;
    if (operation == RowOperation::CopyFrom || operation == RowOperation::CopyTo) {
        if (partner < 0 || partner > 3 || partner == row)
            return false;
        (operation == RowOperation::CopyFrom ? source : target) = partner;
    } else if (operation < RowOperation::ClearAll || operation > RowOperation::Skip3) {
        return false;
    }
    RowStates states{};
    for (int i = 0; i < kSlots; ++i)
        states[i] = m_cells[source][i];
    for (const CellAssignment& cell : rowOperationCells(operation, m_lastEvent, states))
        setCell(target, cell.slot, cell.on);
    return true;
}

void SequenceDocument::clear()
{
    for (int i = 0; i < 50; ++i)
        setEventValue(i, 0);
    for (int led = 0; led < 4; ++led) {
        setColourIndex(led, kColourWhite);
        setServoMode(led, 15);
    }
    setLastEvent(49);
}

void SequenceDocument::assign(const SequenceData& data)
{
    for (int i = 0; i < 50; ++i)
        setEventValue(i, data.events[i]);
    for (int k = 0; k < 8; ++k)
        setColourIndex(k, data.colourIndexes[k]);
    merge(data);
}

void SequenceDocument::merge(const SequenceData& file)
{
    const SequenceData merged = mergedSequence(this->data(), file);
    for (int i = 0; i < 50; ++i)
        setEventValue(i, merged.events[i]);
    setLastEvent(merged.lastEvent);
    for (int led = 0; led < 4; ++led)
        setServoMode(led, merged.servoModes[led]);
    setTiming(merged.sequencerDelay, merged.testSpeed);
}

void SequenceDocument::setFile(const QString& path, const QString& title)
{
    if (path == m_filePath && title == m_title)
        return;
    m_filePath = path;
    m_title = title;
    Q_EMIT fileChanged();
}

int SequenceDocument::pasteEvents(int slot, const std::vector<int>& values)
{
    applyEvents(::pasteEvents(data(), slot, values), tr("Paste Events"));
    return pastedPastTheEnd(slot, int(values.size()));
}

void SequenceDocument::insertEvent(int slot)
{
    applyEvents(::insertEvent(data(), slot), tr("Insert Event"));
}

void SequenceDocument::removeEvents(EventRange range, const QString& name)
{
    applyEvents(::removeEvents(data(), range), name);
}

void SequenceDocument::clearEvents(EventRange range)
{
    applyEvents(::clearEvents(data(), range), tr("Clear Events"));
}

void SequenceDocument::rotateEvents(int step)
{
    applyEvents(::rotateEvents(data(), step), step > 0 ? tr("Rotate Right") : tr("Rotate Left"));
}

void SequenceDocument::reverseEvents(EventRange range)
{
    applyEvents(::reverseEvents(data(), range), tr("Reverse Events"));
}

void SequenceDocument::applyEvents(const SequenceData& edited, const QString& name)
{
    for (int i = 0; i < 50; ++i)
        setEventValue(i, edited.events[i]);
    setLastEvent(edited.lastEvent);
    commit(name);
}

void SequenceDocument::restore(const Snapshot& toFile, const Snapshot& fromFile)
{
    const SequenceData& to = toFile.data;
    const SequenceData& from = fromFile.data;
    for (int i = 0; i < 50; ++i) {
        if (to.events[i] != from.events[i])
            setEventValue(i, to.events[i]);
    }
    for (int k = 0; k < 8; ++k) {
        if (to.colourIndexes[k] != from.colourIndexes[k])
            setColourIndex(k, to.colourIndexes[k]);
    }
    if (to.lastEvent != from.lastEvent)
        setLastEvent(to.lastEvent);
    for (int led = 0; led < 4; ++led) {
        if (to.servoModes[led] != from.servoModes[led])
            setServoMode(led, to.servoModes[led]);
    }
    setTiming(to.sequencerDelay != from.sequencerDelay ? to.sequencerDelay : m_sequencerDelay,
              to.testSpeed != from.testSpeed ? to.testSpeed : m_testSpeed);
    if (toFile.filePath != fromFile.filePath || toFile.title != fromFile.title)
        setFile(toFile.filePath, toFile.title);
    m_base = snapshot();
}

void SequenceDocument::commit(const QString& name)
{
    Snapshot now = snapshot();
    if (now == m_base)
        return;
    m_undoStack.push(new SnapshotStep(*this, name, m_base, now));
    m_base = std::move(now);
}

void SequenceDocument::keepOutsideHistory()
{
    if (data() != m_base.data)
        setChangedOutside(true);
    m_base = snapshot();
}

void SequenceDocument::markSaved()
{
    m_undoStack.setClean();
    setChangedOutside(false);
}

void SequenceDocument::setChangedOutside(bool changed)
{
    const bool was = isModified();
    m_changedOutside = changed;
    if (isModified() != was)
        Q_EMIT modifiedChanged(isModified());
}
