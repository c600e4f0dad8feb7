#include "sequence/edithistory.h"

#include <QAction>

class SnapshotStep : public QUndoCommand
{
public:
    SnapshotStep(EditHistory& history, const QString& name, SequenceData before, SequenceData after)
        : QUndoCommand(name), m_history(history), m_before(std::move(before)),
          m_after(std::move(after))
    {
    }
    void undo() override { m_history.apply(m_before, m_after); }
    void redo() override
    {
        // The edit itself has already been made when the step is pushed.
        if (m_done)
            m_history.apply(m_after, m_before);
        m_done = true;
    }

private:
    EditHistory& m_history;
    SequenceData m_before;
    SequenceData m_after;
    bool m_done = false;
};

EditHistory::EditHistory(Capture capture, Restore restore, QObject* parent)
    : QObject(parent), m_capture(std::move(capture)), m_restore(std::move(restore))
{
    m_state = m_capture();
}

void EditHistory::commit(const QString& name)
{
    SequenceData now = m_capture();
    if (now == m_state)
        return;
    m_stack.push(new SnapshotStep(*this, name, m_state, now));
    m_state = std::move(now);
}

void EditHistory::sync()
{
    m_state = m_capture();
}

void EditHistory::apply(const SequenceData& to, const SequenceData& from)
{
    m_restore(to, from);
    m_state = m_capture();
}

namespace {

QAction* historyAction(QObject* parent, const QString& verb, QUndoStack& stack, bool undo)
{
    auto* action = new QAction(verb, parent);
    action->setEnabled(false);
    auto showText = [action, verb](const QString& step) {
        action->setText(step.isEmpty() ? verb : verb + QLatin1Char(' ') + step);
    };
    if (undo) {
        QObject::connect(&stack, &QUndoStack::canUndoChanged, action, &QAction::setEnabled);
        QObject::connect(&stack, &QUndoStack::undoTextChanged, action, showText);
        QObject::connect(action, &QAction::triggered, &stack, &QUndoStack::undo);
    } else {
        QObject::connect(&stack, &QUndoStack::canRedoChanged, action, &QAction::setEnabled);
        QObject::connect(&stack, &QUndoStack::redoTextChanged, action, showText);
        QObject::connect(action, &QAction::triggered, &stack, &QUndoStack::redo);
    }
    return action;
}

} // namespace

QAction* EditHistory::createUndoAction(QObject* parent)
{
    return historyAction(parent, QStringLiteral("&Undo"), m_stack, true);
}

QAction* EditHistory::createRedoAction(QObject* parent)
{
    return historyAction(parent, QStringLiteral("&Redo"), m_stack, false);
}
