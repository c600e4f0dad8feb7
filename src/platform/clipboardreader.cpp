#include "platform/clipboardreader.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMimeData>
#include <QStringDecoder>

namespace {

// The charset of "text/plain;charset=utf-16", lower case; empty for plain text.
QByteArray charsetOf(const QString& format)
{
    const qsizetype at = format.indexOf(QLatin1String("charset="), 0, Qt::CaseInsensitive);
    return at < 0
               ? QByteArray()
               : format.mid(at + 8).section(QLatin1Char(';'), 0, 0).trimmed().toLatin1().toLower();
}

} // namespace

ClipboardRead readClipboard(const QMimeData* mime, const QString& ownType,
                            const std::function<bool(const QByteArray&)>& ownUsable,
                            std::chrono::milliseconds slow)
{
    ClipboardRead read;
    QElapsedTimer clock;
    // Empty and slow: the question timed out. After that, asking again only waits again.
    auto unanswered = [&](bool empty) {
        read.noAnswer = empty && clock.elapsed() >= slow.count();
        if (read.noAnswer)
            read.problem = QCoreApplication::translate(
                "GLIMMERON", "The program that copied did not answer; nothing was pasted.");
        return read.noAnswer;
    };
    clock.start();
    const QStringList formats = mime ? mime->formats() : QStringList();
    if (unanswered(formats.isEmpty()))
        return read;
    if (formats.contains(ownType)) {
        clock.restart();
        read.own = mime->data(ownType);
        if (ownUsable(*read.own) || unanswered(read.own->isEmpty()))
            return read;
    }
    // Plain text first, which the platform decodes itself, then each named charset.
    QStringList textTypes;
    if (mime && mime->hasText())
        textTypes << QStringLiteral("text/plain");
    for (const QString& format : formats)
        if (format.startsWith(QLatin1String("text/plain;"), Qt::CaseInsensitive))
            textTypes << format;
    for (const QString& format : textTypes) {
        clock.restart();
        QString text;
        if (const QByteArray charset = charsetOf(format); charset.isEmpty()) {
            text = mime->text();
        } else if (QStringDecoder decode(charset.constData()); decode.isValid()) {
            const QByteArray bytes = mime->data(format);
            text = decode(bytes);
        } else {
            continue; // a charset we cannot read
        }
        if (unanswered(text.isEmpty()))
            return read;
        if (!text.isEmpty() || !read.text) {
            read.text = text;
            if (!text.isEmpty())
                break;
        }
    }
    if (read.text)
        read.own.reset(); // the own bytes failed; the text stands in
    else if (!read.own)
        read.problem = QCoreApplication::translate("GLIMMERON", "It holds no text.");
    return read;
}
