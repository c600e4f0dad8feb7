#pragma once

#include <QObject>

class QAction;
class SequenceDocument;

// The menu entries "&Undo <step>" and "&Redo <step>", named by the session: enabled when
// there is a step to take and no edit is half done (a drag in progress).
class HistoryActions : public QObject
{
    Q_OBJECT
public:
    HistoryActions(SequenceDocument& document, QObject* parent);

    QAction* undoAction() const { return m_undo; }
    QAction* redoAction() const { return m_redo; }

private:
    void update();

    SequenceDocument& m_document;
    QAction* m_undo;
    QAction* m_redo;
};
