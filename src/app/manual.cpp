#include "app/manual.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPixmap>

QUrl manualFileUrl(const QString& programFolder)
{
    const QDir bin(programFolder);
    for (const QString& candidate :
         {bin.filePath(QStringLiteral("manual.html")),
          bin.filePath(QStringLiteral(GLIMMERON_DOC_FROM_BIN "/manual.html"))}) {
        const QFileInfo info(candidate);
        if (info.isFile())
            return QUrl::fromLocalFile(info.canonicalFilePath());
    }
    return {};
}

QString builtInManual()
{
    QFile file(QStringLiteral(":/docs/manual.html"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QIcon programIcon()
{
    QIcon icon;
    for (int size : {16, 32, 64}) {
        QPixmap pixmap(64, 64);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x2b2f36));
        p.drawRoundedRect(2, 6, 60, 52, 6, 6);
        p.fillRect(22, 12, 36, 40, QColor(0x3a3f48));
        const QColor leds[] = {0xff4040, 0x40d040, 0x4080ff, 0xffffff};
        for (int k = 0; k < 4; ++k) {
            p.setBrush(leds[k]);
            p.drawEllipse(QPointF(12, 17 + 12 * k), 5, 5);
        }
        for (int row = 0; row < 3; ++row) {
            for (int col = 0; col < 5; ++col) {
                const bool on = (row + col) % 2 == 0;
                p.fillRect(25 + 6 * col, 14 + 12 * row, 5, 6,
                           on ? QColor(0xffd24a) : QColor(0x5a616c));
            }
        }
        p.end();
        icon.addPixmap(pixmap.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }
    return icon;
}
