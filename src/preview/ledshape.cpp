#include "preview/ledshape.h"

#include <QPainter>

LedShape::LedShape(QWidget* parent) : QWidget(parent) {}

void LedShape::setFillColour(const QColor& colour)
{
    if (colour == m_fill)
        return;
    m_fill = colour;
    update();
}

void LedShape::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(m_fill);
    painter.drawEllipse(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
}
