#include "sequence/cellbox.h"

#include <QPainter>
#include <QStyleOption>

CellBox::CellBox(int led, int slot, QWidget* parent) : QCheckBox(parent), m_led(led), m_slot(slot)
{
    setFocusPolicy(Qt::NoFocus);
    setObjectName(QStringLiteral("iSwitchLedX%1(%2)").arg(led).arg(slot));
    setAccessibleName(QStringLiteral("LED %1, event %2").arg(led).arg(slot + 1));
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
}
