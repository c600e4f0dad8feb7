#include "files/layoutpainter.h"

#include "core/picturelayout.h"
#include "platform/qtconvert.h"

#include <QFont>
#include <QPainter>

namespace {

QFont fontOf(const LayoutText& text)
{
    QFont font(text.monospace ? QStringLiteral("Monospace") : QStringLiteral("Sans"));
    font.setStyleHint(text.monospace ? QFont::Monospace : QFont::SansSerif);
    font.setPixelSize(text.pixelSize);
    font.setBold(text.bold);
    return font;
}

int flagsOf(const LayoutText& text)
{
    const int across = text.align == TextAlign::Left     ? Qt::AlignLeft
                       : text.align == TextAlign::Centre ? Qt::AlignHCenter
                                                         : Qt::AlignRight;
    const int down = text.place == TextPlace::Top      ? Qt::AlignTop
                     : text.place == TextPlace::Middle ? Qt::AlignVCenter
                                                       : Qt::AlignBottom;
    return across | down;
}

void paint(QPainter& painter, const LayoutRect& rect)
{
    painter.fillRect(QRect(rect.x, rect.y, rect.width, rect.height), toQColor(rect.colour));
}

void paint(QPainter& painter, const LayoutEllipse& ellipse)
{
    QRect box(ellipse.x, ellipse.y, ellipse.width, ellipse.height);
    painter.setPen(Qt::NoPen);
    if (ellipse.ringWidth > 0) {
        painter.setBrush(toQColor(ellipse.ring));
        painter.drawEllipse(box);
        const int inset = ellipse.ringWidth;
        box.adjust(inset, inset, -inset, -inset);
    }
    painter.setBrush(toQColor(ellipse.fill));
    painter.drawEllipse(box);
}

void paint(QPainter& painter, const LayoutText& text)
{
    painter.setPen(toQColor(text.colour));
    painter.setFont(fontOf(text));
    const QString shown =
        painter.fontMetrics().elidedText(toQString(text.text), Qt::ElideRight, text.width);
    painter.drawText(QRect(text.x, text.y, text.width, text.height), flagsOf(text), shown);
}

} // namespace

void paintLayout(QPainter& painter, const PictureLayout& layout)
{
    painter.setRenderHint(QPainter::Antialiasing, layout.smoothShapes);
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (const LayoutItem& item : layout.items)
        std::visit([&painter](const auto& shape) { paint(painter, shape); }, item);
}

QImage layoutImage(const PictureLayout& layout)
{
    QImage image(layout.width, layout.height, QImage::Format_RGB32);
    image.fill(toQColor(layout.background));
    QPainter painter(&image);
    paintLayout(painter, layout);
    return image;
}
