#include "files/savefile.h"

#include <QFile>
#include <QSaveFile>

bool saveFileAtomically(const QString& path, const QByteArray& bytes, QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    // commit() alone can report success after a failed final flush: check each step.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        *error = file.errorString();
        file.cancelWriting();
        file.commit();
        return false;
    }
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

std::optional<QByteArray> readSmallFile(const QString& path, qint64 maxBytes, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return std::nullopt;
    }
    if (file.size() > maxBytes) {
        *error = QStringLiteral("it is %1 bytes long, far too long for this kind of file")
                     .arg(file.size());
        return std::nullopt;
    }
    QByteArray bytes = file.read(maxBytes + 1);
    if (file.error() != QFile::NoError) {
        *error = file.errorString();
        return std::nullopt;
    }
    if (bytes.size() > maxBytes) {
        *error = QStringLiteral("it is far too long for this kind of file");
        return std::nullopt;
    }
    return bytes;
}
