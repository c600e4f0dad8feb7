#pragma once

#include <QObject>

class QAction;
class QUndoStack;

// The menu entries "&Undo <step>" and "&Redo <step>": enabled when there is a step to
// take and no edit is half done (a drag in progress).
class HistoryActions : public QObject
{
    Q_OBJECT
public:
    HistoryActions(QUndoStack& stack, QObject* parent);

    QAction* undoAction() const { return m_undo; }
    QAction* redoAction() const { return m_redo; }
    void setSuspended(bool suspended);

private:
    void update();

    QUndoStack& m_stack;
    QAction* m_undo;
    QAction* m_redo;
    bool m_suspended = false;
};
