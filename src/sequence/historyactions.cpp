#include "sequence/historyactions.h"

#include <QAction>
#include <QUndoStack>

namespace {

QString entryText(const QString& verb, const QString& step)
{
    return step.isEmpty() ? verb : verb + QLatin1Char(' ') + step;
}

} // namespace

HistoryActions::HistoryActions(QUndoStack& stack, QObject* parent)
    : QObject(parent), m_stack(stack), m_undo(new QAction(QStringLiteral("&Undo"), parent)),
      m_redo(new QAction(QStringLiteral("&Redo"), parent))
{
    connect(m_undo, &QAction::triggered, &stack, &QUndoStack::undo);
    connect(m_redo, &QAction::triggered, &stack, &QUndoStack::redo);
    connect(&stack, &QUndoStack::indexChanged, this, &HistoryActions::update);
    update();
}

void HistoryActions::setSuspended(bool suspended)
{
    m_suspended = suspended;
    update();
}

void HistoryActions::update()
{
    m_undo->setEnabled(!m_suspended && m_stack.canUndo());
    m_redo->setEnabled(!m_suspended && m_stack.canRedo());
    m_undo->setText(entryText(QStringLiteral("&Undo"), m_stack.undoText()));
    m_redo->setText(entryText(QStringLiteral("&Redo"), m_stack.redoText()));
}
