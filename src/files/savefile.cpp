#include "files/savefile.h"

#include <QFile>
#include <QSaveFile>
#include <cerrno>
#include <cstring>

namespace {

// Qt often says only "Unknown error" after a failed write; the system's reason is better.
QString reason(const QFileDevice& file, int systemError)
{
    const QString text = file.errorString();
    if ((text.isEmpty() || text == QLatin1String("Unknown error")) && systemError != 0)
        return QString::fromLocal8Bit(std::strerror(systemError));
    return text;
}

} // namespace

bool saveFileAtomically(const QString& path, const QByteArray& bytes, QString* error)
{
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly)) {
        *error = reason(file, errno);
        return false;
    }
    // commit() alone can report success after a failed final flush: check each step.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        *error = reason(file, errno);
        file.cancelWriting();
        file.commit();
        return false;
    }
    if (!file.commit()) {
        *error = reason(file, errno);
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
