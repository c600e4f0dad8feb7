#include "app/mainwindow.h"
#include "sequence/rowpatterns.h"

#include <QEventLoop>
#include <QListWidget>

// Shows the list and waits, with the window live, until a click hides it. Waits nest:
// one click ends every wait on the same list, innermost first.
void Main_LEDFlasher_form::waitForChoice(QListWidget* list)
{
    list->show();
    list->raise();
    while (!list->isHidden()) {
        QEventLoop loop;
        connect(this, &Main_LEDFlasher_form::popupListHidden, &loop, &QEventLoop::quit);
        loop.exec();
    }
}

void Main_LEDFlasher_form::RowOptions_Click(int row)
{
    m_ui.RowOptionsList->setCurrentRow(0);
    waitForChoice(m_ui.RowOptionsList);
    m_ui.RowOptionsList->hide();
    applyRowOperation(row, m_ui.RowOptionsList->currentRow());
}

void Main_LEDFlasher_form::RowOptionsList_Click()
{
    m_ui.RowOptionsList->hide();
    Q_EMIT popupListHidden();
}

void Main_LEDFlasher_form::CopyList_Click()
{
    m_ui.CopyList->hide();
    Q_EMIT popupListHidden();
}

void Main_LEDFlasher_form::applyRowOperation(int row, int operation)
{
    const auto op = static_cast<RowOperation>(operation);
    int target = row;
    int source = row;
    if (op == RowOperation::CopyFrom || op == RowOperation::CopyTo) {
        waitForChoice(m_ui.CopyList);
        const int partner = m_ui.CopyList->currentRow();
        if (partner < 0 || partner > 3 || partner == row)
            return;
        (op == RowOperation::CopyFrom ? source : target) = partner;
    } else if (operation < 0 || operation > int(RowOperation::Skip3)) {
        return;
    }
    RowStates states{};
    for (int i = 0; i < kSlots; ++i)
        states[i] = cellOn(source + 1, i);
    // The last event index counts as it stands now, after the waits.
    for (const CellAssignment& cell : rowOperationCells(op, m_lastEvent, states))
        setCell(target + 1, cell.slot, cell.on);
    QString name = m_ui.RowOptionsList->item(operation)->text();
    name.remove(QStringLiteral("..."));
    if (op == RowOperation::CopyFrom || op == RowOperation::CopyTo)
        name += tr(" LED#%1").arg((op == RowOperation::CopyFrom ? source : target) + 1);
    commitEdit(name);
}
