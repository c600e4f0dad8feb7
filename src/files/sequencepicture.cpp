#include "files/sequencepicture.h"

#include "sequence/servotexts.h"
#include "sequence/colourtable.h"
#include "core/sequencedata.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QPainter>

namespace {

constexpr int kMargin = 24;
constexpr int kNameWidth = 120;
constexpr int kCell = 22;     // cell pitch
constexpr int kRowPitch = 40; // LED row pitch
constexpr int kModeWidth = 150;
constexpr int kTitleHeight = 40;
const QColor kBackground(0xf0, 0xf0, 0xf0);
const QColor kUnlit(0xff, 0xff, 0xff);
const QColor kInk(0x20, 0x20, 0x20);

} // namespace

QImage sequencePicture(const SequenceData& data)
{
    const int gridLeft = kMargin + kNameWidth;
    const int width = gridLeft + 50 * kCell + kMargin + kModeWidth + kMargin;
    const int rulerTop = kMargin + kTitleHeight + 4 * kRowPitch;
    QImage image(width, rulerTop + 30 + kMargin, QImage::Format_RGB32);
    image.fill(kBackground);
    QPainter painter(&image);
    QFont font(QStringLiteral("Sans"));
    font.setPixelSize(16);
    painter.setFont(font);
    painter.setPen(kInk);
    painter.drawText(
        QRect(kMargin, kMargin, width - 2 * kMargin, kTitleHeight), Qt::AlignLeft | Qt::AlignTop,
        QCoreApplication::translate("GLIMMERON", "GLIMMERON sequence: %1 events, %2 ms each")
            .arg(data.lastEvent + 1)
            .arg(data.sequencerDelay));
    const QStringList modes = servoModeTexts();
    for (int led = 0; led < 4; ++led) {
        const int top = kMargin + kTitleHeight + led * kRowPitch;
        const QColor colour = tableColour(data.colourIndexes[led]);
        const QRect name(kMargin, top, kNameWidth - 12, kRowPitch - 10);
        painter.fillRect(name, QColor(0x90, 0x90, 0x90)); // the name label's grey
        painter.setPen(colour);
        painter.drawText(name, Qt::AlignCenter,
                         QCoreApplication::translate("GLIMMERON", "LED#%1").arg(led + 1));
        for (int i = 0; i < 50; ++i) {
            const QRect cell(gridLeft + i * kCell, top + 4, kCell - 4, kRowPitch - 18);
            const bool lit = (data.events[i] >> led) & 1;
            painter.fillRect(cell, lit ? colour : kUnlit);
            painter.setPen(QColor(0x80, 0x80, 0x80));
            painter.drawRect(cell.adjusted(0, 0, -1, -1));
        }
        painter.setPen(kInk);
        painter.drawText(QRect(gridLeft + 50 * kCell + kMargin, top, kModeWidth, kRowPitch - 10),
                         Qt::AlignLeft | Qt::AlignVCenter, modes.value(data.servoModes[led]));
    }
    for (int i = 0; i < 50; ++i) { // the ruler: the last event red and bold
        const bool last = i == data.lastEvent;
        font.setBold(last);
        painter.setFont(font);
        painter.setPen(last ? QColor(Qt::red) : kInk);
        painter.drawText(QRect(gridLeft + i * kCell, rulerTop, kCell - 4, 24), Qt::AlignCenter,
                         QString::number((i + 1) % 10));
    }
    return image;
}

QByteArray sequencePicturePng(const SequenceData& data)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    sequencePicture(data).save(&buffer, "PNG");
    return bytes;
}
