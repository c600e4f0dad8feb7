#include "files/sequencepicture.h"

#include "core/sequencedata.h"
#include "core/servozones.h"
#include "files/sharestyle.h"
#include "platform/qtconvert.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QLocale>
#include <QPainter>

namespace {

constexpr int kMargin = 24;
constexpr int kMinimumWidth = 600;
constexpr int kNameWidth = 140;
constexpr int kPitch = 32; // one event's column: a 28 px cell and its gap
constexpr int kCell = 28;
constexpr int kRowPitch = 36;
constexpr int kModeGap = 24;
constexpr int kModeWidth = 140;
constexpr int kTitleHeight = 60;
constexpr int kHeadingHeight = 24;
constexpr int kRulerHeight = 22;
using ShareStyle::kBackground;
using ShareStyle::kUnlit;
const QColor kLitFrame(0xf2, 0xf2, 0xf2);
using ShareStyle::kDimInk;
using ShareStyle::kInk;
const QColor kLastEvent(0xff, 0x60, 0x60);

QString tr(const char* text)
{
    return QCoreApplication::translate("GLIMMERON", text);
}

// A lit cell keeps a light frame: a Black LED's lit cell is then still unlike an unlit one.
void drawCell(QPainter& painter, const QRect& cell, bool lit, const QColor& colour)
{
    if (!lit)
        return painter.fillRect(cell, kUnlit);
    painter.fillRect(cell, kLitFrame);
    painter.fillRect(cell.adjusted(2, 2, -2, -2), colour);
}

} // namespace

QString cycleDescription(int lastEvent, int delayMs)
{
    const int events = lastEvent + 1;
    return (events == 1 ? tr("1 event x %2 ms = %3 s per cycle")
                        : tr("%1 events x %2 ms = %3 s per cycle").arg(events))
        .arg(delayMs)
        .arg(QLocale().toString(events * delayMs / 1000.0));
}

QImage sequencePicture(const SequenceData& data, const QString& name)
{
    const int events = data.lastEvent + 1;
    const int gridLeft = kMargin + kNameWidth, modesLeft = gridLeft + events * kPitch + kModeGap;
    // A long name widens the picture up to the width of 50 events, and is cut there.
    const QFontMetrics titleMetrics(ShareStyle::font(22, true));
    const QString title =
        titleMetrics.elidedText(name.isEmpty() ? tr("GLIMMERON sequence") : name, Qt::ElideRight,
                                kNameWidth + 50 * kPitch + kModeGap + kModeWidth);
    // A few events still make a picture that a forum shows at a readable size.
    const int width = std::max({kMinimumWidth, modesLeft + kModeWidth + kMargin,
                                2 * kMargin + titleMetrics.horizontalAdvance(title)});
    const int rowsTop = kMargin + kTitleHeight + kHeadingHeight;
    const int rulerTop = rowsTop + 4 * kRowPitch;
    QImage image(width, rulerTop + kRulerHeight + kMargin, QImage::Format_RGB32);
    image.fill(kBackground);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    painter.setPen(kInk);
    painter.setFont(ShareStyle::font(22, true));
    painter.drawText(QRect(kMargin, kMargin, width, 30), Qt::AlignLeft | Qt::AlignVCenter, title);
    painter.setPen(kDimInk);
    painter.setFont(ShareStyle::font(15));
    painter.drawText(QRect(kMargin, kMargin + 32, width, 22), Qt::AlignLeft | Qt::AlignVCenter,
                     cycleDescription(data.lastEvent, data.sequencerDelay));
    painter.setPen(kInk);
    painter.setFont(ShareStyle::font(14, true));
    painter.drawText(QRect(modesLeft, rowsTop - kHeadingHeight, kModeWidth, kHeadingHeight),
                     Qt::AlignLeft | Qt::AlignVCenter, tr("Servo Control"));

    const QStringList modes = toQStringList([] {
        std::vector<std::string> t;
        for (int m = 0; m <= kServoModeNone; ++m)
            t.push_back(servoModeText(m));
        return t;
    }()),
                      colours = colourNames();
    for (int led = 0; led < 4; ++led) {
        const int top = rowsTop + led * kRowPitch;
        const int index = data.colourIndexes[led];
        const QColor colour = tableColour(index);
        // The LED's name beside a lamp of its colour, the colour's name under it.
        painter.setPen(QPen(kLitFrame, 1.5));
        painter.setBrush(colour);
        painter.drawEllipse(QRectF(kMargin + 1, top + 9, 18, 18));
        painter.setPen(kInk);
        painter.setFont(ShareStyle::font(15, true));
        painter.drawText(QRect(kMargin + 28, top, kNameWidth, 19), Qt::AlignLeft | Qt::AlignBottom,
                         tr("LED#%1").arg(led + 1));
        painter.setPen(kDimInk);
        painter.setFont(ShareStyle::font(12));
        painter.drawText(QRect(kMargin + 28, top + 19, kNameWidth, 16),
                         Qt::AlignLeft | Qt::AlignTop, colours.value(index));
        for (int i = 0; i < events; ++i)
            drawCell(painter, QRect(gridLeft + i * kPitch, top + 4, kCell, kCell),
                     (data.events[i] >> led) & 1, colour);
        painter.setPen(kInk);
        painter.setFont(ShareStyle::font(14, false, true));
        painter.drawText(QRect(modesLeft, top, kModeWidth, kRowPitch),
                         Qt::AlignLeft | Qt::AlignVCenter, modes.value(data.servoModes[led]));
    }
    // The ruler numbers the events from 1; the last event is marked as on screen.
    for (int i = 0; i < events; ++i) {
        const bool last = i == data.lastEvent;
        painter.setFont(ShareStyle::font(12, last));
        painter.setPen(last ? kLastEvent : kDimInk);
        painter.drawText(QRect(gridLeft + i * kPitch, rulerTop, kCell, kRulerHeight),
                         Qt::AlignCenter, QString::number(i + 1));
    }
    return image;
}

QByteArray sequencePicturePng(const SequenceData& data, const QString& name)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    sequencePicture(data, name).save(&buffer, "PNG");
    return bytes;
}
