#include "sequence/cellbox.h"

#include <QPainter>
#include <QStyleOption>

CellBox::CellBox(int led, int slot, QWidget* parent) : QCheckBox(parent), m_led(led), m_slot(slot)
{
    // Only the cell under the keyboard cursor is in the focus chain: Tab enters the grid
    // once, and the arrow keys move within it.
    setFocusPolicy(led == 1 && slot == 0 ? Qt::StrongFocus : Qt::NoFocus);
    setObjectName(QStringLiteral("iSwitchLedX%1(%2)").arg(led).arg(slot));
    // What it is; whether it is on is its checked state.
    setAccessibleName(tr("LED %1, event %2").arg(led).arg(slot + 1));
}

QSize CellBox::sizeHint() const
{
    return {12, 19};
}

bool CellBox::hitButton(const QPoint& pos) const
{
    return rect().contains(pos);
}

void CellBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QRect box = rect().adjusted(1, 2, -2, -3);
    const QPalette& pal = palette();
    painter.setPen(pal.color(QPalette::Dark));
    painter.setBrush(isDown() ? pal.color(QPalette::Midlight) : pal.color(QPalette::Base));
    painter.drawRect(box);
    if (isChecked())
        painter.fillRect(box.adjusted(2, 2, -1, -1), pal.color(QPalette::Highlight));
    if (hasFocus()) { // the keyboard cursor
        painter.setPen(QPen(pal.color(QPalette::Highlight), 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}
