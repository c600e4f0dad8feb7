#include "app/layout.h"
#include "app/mainwindow.h"
#include "sequence/cellbox.h"

#include <QLabel>

bool Main_LEDFlasher_form::cellOn(int led, int slot) const
{
    return m_ui.iSwitchLedX[led - 1][slot]->isChecked();
}

// Changing a cell's state runs the refresh of its slot through the toggled signal.
void Main_LEDFlasher_form::setCell(int led, int slot, bool on)
{
    m_ui.iSwitchLedX[led - 1][slot]->setChecked(on);
}

void Main_LEDFlasher_form::iSwitchLedX_Click(int slot)
{
    const int value = int(cellOn(1, slot)) + 2 * int(cellOn(2, slot)) + 4 * int(cellOn(3, slot)) +
                      8 * int(cellOn(4, slot));
    m_ui.mem[slot]->setText(QString::number(value));
}

void Main_LEDFlasher_form::markRuler(int index, bool marked)
{
    QLabel* label = m_ui.TimeAxis[index];
    setTextColour(label, designColour(marked ? 0xFF : 0));
    QFont font = label->font();
    font.setPointSizeF(designPoints(marked ? 8 : 6));
    label->setFont(font);
}

void Main_LEDFlasher_form::moveLastEvent(int index)
{
    markRuler(m_lastEvent, false);
    markRuler(index, true);
    m_lastEvent = index;
}

void Main_LEDFlasher_form::TimeAxis_DblClick(int index)
{
    moveLastEvent(index);
    commitEdit(tr("Mark Last Event"));
}

// Arrows, Home and End move the keyboard cursor; Space is the check box's own click.
bool Main_LEDFlasher_form::moveGridCursor(CellBox* from, int key)
{
    int led = from->led();
    int slot = from->slot();
    switch (key) {
    case Qt::Key_Left:
        slot = std::max(0, slot - 1);
        break;
    case Qt::Key_Right:
        slot = std::min(49, slot + 1);
        break;
    case Qt::Key_Up:
        led = std::max(1, led - 1);
        break;
    case Qt::Key_Down:
        led = std::min(4, led + 1);
        break;
    case Qt::Key_Home:
        slot = 0;
        break;
    case Qt::Key_End:
        slot = 49;
        break;
    default:
        return false;
    }
    CellBox* to = m_ui.iSwitchLedX[led - 1][slot];
    if (to != from) {
        to->setFocusPolicy(Qt::StrongFocus);
        to->setFocus(Qt::TabFocusReason);
        from->setFocusPolicy(Qt::NoFocus);
    }
    return true;
}

void Main_LEDFlasher_form::clearGrid()
{
    for (int i = 0; i < 50; ++i) {
        m_ui.mem[i]->setText(QStringLiteral("0"));
        for (int led = 4; led >= 1; --led)
            setCell(led, i, false);
    }
}

// Weights 8, 4, 2, 1 in turn; a cell is only ever turned on.
void Main_LEDFlasher_form::decodeEventValue(int slot, int value)
{
    for (int led = 4; led >= 1; --led) {
        const int weight = 1 << (led - 1);
        if (value / weight == 1) {
            setCell(led, slot, true);
            value %= weight;
        }
    }
}
