#pragma once

#include "files/sequencedata.h"

#include <QObject>
#include <QUndoStack>
#include <functional>

class QAction;

// Undo and redo of whole-sequence snapshots. Each edit commits once when it is done;
// a step holds the sequence before and after it, and applies only what differs
// between the two, so changes made outside the history (Settings OK) stay put.
class EditHistory : public QObject
{
    Q_OBJECT
public:
    using Capture = std::function<SequenceData()>;
    // Changes the window from `from` to `to`, touching only what differs.
    using Restore = std::function<void(const SequenceData& to, const SequenceData& from)>;

    EditHistory(Capture capture, Restore restore, QObject* parent = nullptr);

    // Makes one step, named for the menu, of whatever changed since the last commit.
    void commit(const QString& name);
    // Takes the sequence as it is now as the base, without a step.
    void sync();

    QUndoStack& stack() { return m_stack; }
    // Menu entries "&Undo <step>" and "&Redo <step>", enabled when there is one.
    QAction* createUndoAction(QObject* parent);
    QAction* createRedoAction(QObject* parent);

private:
    friend class SnapshotStep;
    void apply(const SequenceData& to, const SequenceData& from);

    Capture m_capture;
    Restore m_restore;
    QUndoStack m_stack;
    SequenceData m_state;
};
