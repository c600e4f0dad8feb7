#include "app/mainwindow.h"
#include "sequence/cellbox.h"

#include <QKeyEvent>
#include <QMouseEvent>

void Main_LEDFlasher_form::iSwitchLedX_MouseDown(int, int slot)
{
    m_dragStartSlot = slot;
}

void Main_LEDFlasher_form::iSwitchLedX_DragOver(int led, int slot)
{
    setCell(led, slot, cellOn(led, m_dragStartSlot));
    iSwitchLedX_Click(slot);
}

// The release fill runs forward only.
void Main_LEDFlasher_form::iSwitchLedX_MouseUp(int led, int slot)
{
    const bool state = cellOn(led, m_dragStartSlot);
    for (int j = m_dragStartSlot + 1; j <= slot; ++j)
        setCell(led, j, state);
}

CellBox* Main_LEDFlasher_form::cellAt(const QPoint& globalPos) const
{
    QWidget* grid = m_ui.iSwitchLedX[0][0]->parentWidget();
    return qobject_cast<CellBox*>(grid->childAt(grid->mapFromGlobal(globalPos)));
}

// The pressed cell keeps the mouse until release, so the cells passed over are found
// from the pointer position, not from events of their own.
bool Main_LEDFlasher_form::handleCellEvent(CellBox* cell, QEvent* event)
{
    switch (event->type()) {
    // A press soon after a click arrives as a double-click: it starts a drag all the same.
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        iSwitchLedX_MouseDown(cell->led(), cell->slot());
        m_dragCell = cell;
        m_dragOverCell = cell;
        m_dragLastSlot = cell->slot();
        m_dragMoved = false;
        return false;
    case QEvent::MouseMove: {
        if (cell != m_dragCell)
            return false;
        const auto* mouse = static_cast<QMouseEvent*>(event);
        CellBox* over = cellAt(mouse->globalPosition().toPoint());
        if (over == m_dragOverCell)
            return false;
        m_dragOverCell = over;
        if (!over)
            return false;
        m_dragMoved = m_dragMoved || over != m_dragCell;
        // A fast pointer skips cells: each one between is passed over too, in order.
        const int to = over->slot();
        const int step = to >= m_dragLastSlot ? 1 : -1;
        const int from = to == m_dragLastSlot ? to : m_dragLastSlot + step;
        for (int slot = from; slot != to + step; slot += step)
            iSwitchLedX_DragOver(over->led(), slot);
        m_dragLastSlot = to;
        return false;
    }
    case QEvent::MouseButtonRelease: {
        if (cell != m_dragCell)
            return false;
        m_dragCell = nullptr;
        if (!m_dragMoved)
            return false; // a plain click: the check box toggles itself
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (CellBox* over = cellAt(mouse->globalPosition().toPoint()))
            iSwitchLedX_MouseUp(over->led(), over->slot());
        cell->setDown(false); // a drag never toggles its start cell
        commitEdit(tr("Paint Cells"));
        return true;
    }
    case QEvent::KeyPress:
        return moveGridCursor(cell, static_cast<QKeyEvent*>(event)->key());
    default:
        return false;
    }
}
