#include "sequence/historyactions.h"

#include "sequence/sequencedocument.h"

#include <QAction>

HistoryActions::HistoryActions(SequenceDocument& document, QObject* parent)
    : QObject(parent), m_document(document), m_undo(new QAction(parent)),
      m_redo(new QAction(parent))
{
    connect(m_undo, &QAction::triggered, this, [this] { m_document.session().undo(); });
    connect(m_redo, &QAction::triggered, this, [this] { m_document.session().redo(); });
    connect(&document, &SequenceDocument::historyChanged, this, &HistoryActions::update);
    update();
}

void HistoryActions::update()
{
    const EditSession& session = m_document.session();
    m_undo->setEnabled(session.canUndo());
    m_redo->setEnabled(session.canRedo());
    m_undo->setText(QString::fromStdString(session.undoText()));
    m_redo->setText(QString::fromStdString(session.redoText()));
}
