#pragma once

#include "core/eventedits.h"
#include "core/rowpatterns.h"
#include "core/sequencedata.h"

#include <QObject>
#include <QUndoStack>
#include <array>

// The one sequence being edited: cells, last event, LED colours, servo modes and the
// two timing settings, with the undo history of its edits. Every view shows it and
// changes it only through the operations below; each change is signalled.
// LEDs are numbered 0..3 here, slots 0..49.
class SequenceDocument : public QObject
{
    Q_OBJECT
public:
    explicit SequenceDocument(QObject* parent = nullptr);

    bool cell(int led, int slot) const { return m_cells[led][slot]; }
    // LED 1 + 2 x LED 2 + 4 x LED 3 + 8 x LED 4.
    int eventValue(int slot) const;
    int lastEvent() const { return m_lastEvent; }
    // LEDs 0..3, then the four entries that files carry along.
    int colourIndex(int entry) const { return m_colourIndexes[entry]; }
    int servoMode(int led) const { return m_servoModes[led]; }
    int sequencerDelay() const { return m_sequencerDelay; }
    int testSpeed() const { return m_testSpeed; }
    SequenceData data() const;
    // The file the sequence belongs to, which Save offers, and the window title naming it.
    QString filePath() const { return m_filePath; }
    QString title() const { return m_title; }
    // Changed since it was opened, saved or cleared.
    bool isModified() const;

    void setCell(int led, int slot, bool on);
    void setLastEvent(int slot);
    void setColourIndex(int led, int index);
    void setServoMode(int led, int mode);
    void setTiming(int sequencerDelay, int testSpeed);
    // A whole-row operation on `row`; `partner` is the other row of a copy. False when
    // the choice names no operation (the empty line, Cancel, a copy to the row itself).
    bool applyRowOperation(int row, RowOperation operation, int partner = -1);
    // New: cells off, last event 49, LEDs white, modes NONE; the timing stays.
    void clear();
    // Open: the file's sequence replaces this one.
    void assign(const SequenceData& data);
    // Merge: the file's cells are added; its last event, modes and timing replace
    // these; the colours stay.
    void merge(const SequenceData& data);
    void setFile(const QString& path, const QString& title);

    // Edits of whole events, each one undo step named for its menu entry. They keep
    // the last event with the event it marks, and touch nothing else.
    std::vector<int> events(EventRange range) const { return copyEvents(data(), range); }
    // Returns how many events ran past event 50 and were dropped.
    int pasteEvents(int slot, const std::vector<int>& values);
    void insertEvent(int slot);
    // Cut and Delete Events: `name` is the step's.
    void removeEvents(EventRange range, const QString& name);
    void clearEvents(EventRange range);
    // 1: to the right, the last event wrapping to the first; -1: to the left.
    void rotateEvents(int step);
    void reverseEvents(EventRange range);

    QUndoStack* undoStack() { return &m_undoStack; }
    // Makes one undo step, named for the menu, of whatever changed since the last one.
    void commit(const QString& name);
    // Takes what changed since the last step as the base, without a step of its own:
    // the timing from Settings OK (which leaves the sequence modified), a file chosen.
    void keepOutsideHistory();
    // The sequence now matches its file.
    void markSaved();

Q_SIGNALS:
    void cellChanged(int led, int slot);
    void lastEventChanged(int previous, int slot);
    void colourChanged(int led);
    void servoModeChanged(int led);
    void timingChanged();
    void fileChanged();
    void modifiedChanged(bool modified);

private:
    friend class SnapshotStep;
    struct Snapshot
    {
        SequenceData data;
        QString filePath, title;
        friend bool operator==(const Snapshot&, const Snapshot&) = default;
    };
    Snapshot snapshot() const { return {data(), m_filePath, m_title}; }
    // Changes only what differs between `from` and `to`, so that what changed outside
    // the history since (Settings OK) stays put.
    void restore(const Snapshot& to, const Snapshot& from);
    void setChangedOutside(bool changed);
    void setEventValue(int slot, int value);
    void applyEvents(const SequenceData& edited, const QString& name);

    std::array<std::array<bool, 50>, 4> m_cells{};
    int m_lastEvent = 49;
    std::array<int, 8> m_colourIndexes{7, 7, 7, 7, 0, 0, 0, 0};
    std::array<int, 4> m_servoModes{15, 15, 15, 15};
    int m_sequencerDelay = 30;
    int m_testSpeed = 20;

    QString m_filePath;
    QString m_title;

    QUndoStack m_undoStack;
    Snapshot m_base;               // the document as of the last undo step
    bool m_changedOutside = false; // by Settings OK since the last save
};
