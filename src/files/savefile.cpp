#include "files/savefile.h"

#include "core/usertexts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString notAFile(mode_t mode)
{
    if (S_ISFIFO(mode))
        return QCoreApplication::translate("GLIMMERON", "it is a named pipe (FIFO), not a file");
    if (S_ISDIR(mode))
        return QCoreApplication::translate("GLIMMERON", "it is a folder, not a file");
    if (S_ISSOCK(mode))
        return QCoreApplication::translate("GLIMMERON", "it is a socket, not a file");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QCoreApplication::translate("GLIMMERON", "it is a device, not a file");
    return QCoreApplication::translate("GLIMMERON", "it is not a regular file");
}

QString systemError(int code = errno)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

// What the system said about `path`: a name that holds bytes that are not valid UTF-8
// reached us with a stand-in character, so the system cannot find it under that name.
QString pathError(const QString& path, int code = errno)
{
    if (code == ENOENT && path.contains(QChar::ReplacementCharacter))
        return notValidUtf8();
    return systemError(code);
}

// A symbolic link stands for the file it names: that file is the one to replace.
QByteArray followLinks(QByteArray path)
{
    for (int hops = 0; hops < 40; ++hops) {
        char target[PATH_MAX];
        const ssize_t n = ::readlink(path.constData(), target, sizeof target);
        if (n <= 0)
            break;
        const QByteArray next(target, n);
        const qsizetype slash = path.lastIndexOf('/');
        path = next.startsWith('/') || slash < 0 ? next : path.left(slash + 1) + next;
    }
    return path;
}

} // namespace

// Done by hand with the path's own bytes: QSaveFile turns a relative name into an absolute
// one through a QString, which no longer names a folder whose name is not valid UTF-8.
bool saveFileAtomically(const QString& path, const QByteArray& bytes, QString* error, bool ownFile)
{
    const QByteArray target = followLinks(QFile::encodeName(path));
    struct stat old
    {
    };
    const bool exists = !path.isEmpty() && ::stat(target.constData(), &old) == 0;
    if (!exists && errno == ENOENT && path.contains(QChar::ReplacementCharacter)) {
        *error = notValidUtf8ToWrite();
        return false;
    }
    // Only a regular file or a new name: not a link loop, too many links, a path through
    // a file or a folder that cannot be searched.
    if (!exists && (errno != ENOENT || path.isEmpty())) {
        *error = systemError(path.isEmpty() ? ENOENT : errno);
        return false;
    }
    // Renaming over a FIFO, a device, a socket or a folder would take it away.
    if (exists && !S_ISREG(old.st_mode)) {
        *error = notAFile(old.st_mode);
        return false;
    }
    // Renaming over a read-only file would replace it without a word.
    if (exists && !ownFile &&
        (::access(target.constData(), W_OK) != 0 ||
         (old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)) {
        *error = QCoreApplication::translate("GLIMMERON", "the file is read-only");
        return false;
    }
    // Beside the target, so the rename stays in place, under a name that fits wherever
    // the target's does.
    const qsizetype slash = target.lastIndexOf('/');
    QByteArray temp = target.left(slash + 1) + ".glim.XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        *error = systemError();
        return false;
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    // Whatever the old file's mode, its owner can read and write the new one.
    ::fchmod(fd, (exists ? old.st_mode & 07777 : 0666 & ~mask) | S_IRUSR | S_IWUSR);
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += n;
    }
    const bool written = done == bytes.size() && ::fsync(fd) == 0;
    const int writeError = errno;
    if (::close(fd) != 0 || !written || ::rename(temp.constData(), target.constData()) != 0) {
        *error = systemError(written ? errno : writeError);
        ::unlink(temp.constData());
        return false;
    }
    return true;
}
#else
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

bool saveFileAtomically(const QString& path, const QByteArray& bytes, QString* error, bool)
{
    if (const QFileInfo info(path); info.exists() && !info.isFile()) {
        *error = QCoreApplication::translate("GLIMMERON", "it is not a regular file");
        return false;
    }
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
#endif

namespace {

#ifdef Q_OS_UNIX
// Only a regular file is opened: a FIFO would block the window until another program
// writes to it, and opening a device may have effects of its own. The check is made
// again on what was opened, without blocking, in case the path changed in between.
bool openRegularFile(const QString& path, QFile& file, QString* error)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat info
    {
    };
    if (::stat(native.constData(), &info) != 0) {
        *error = pathError(path);
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        *error = notAFile(info.st_mode);
        return false;
    }
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *error = systemError();
        return false;
    }
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        *error = notAFile(info.st_mode);
        ::close(fd);
        return false;
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        *error = file.errorString();
        ::close(fd);
        return false;
    }
    return true;
}
#else
bool openRegularFile(const QString& path, QFile& file, QString* error)
{
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        *error = QCoreApplication::translate("GLIMMERON", "it is not a regular file");
        return false;
    }
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return false;
    }
    return true;
}
#endif

} // namespace

QString notValidUtf8()
{
    return QCoreApplication::translate("GLIMMERON", "the name is not valid UTF-8; rename it");
}

QString notValidUtf8ToWrite()
{
    return QCoreApplication::translate(
        "GLIMMERON", "the name is not valid UTF-8, and files are written under UTF-8 names "
                     "only; choose another name");
}

QString shownPath(const QString& path)
{
    return path.isEmpty() ? QCoreApplication::translate("GLIMMERON", "an empty name") : path;
}

std::optional<QByteArray> readSmallFile(const QString& path, qint64 maxBytes, QString* error)
{
    QFile file(path);
    if (path.startsWith(QLatin1String(":/"))) { // built into the program
        if (!file.open(QIODevice::ReadOnly)) {
            *error = file.errorString();
            return std::nullopt;
        }
    } else if (!openRegularFile(path, file, error)) {
        return std::nullopt;
    }
    if (file.size() > maxBytes) {
        *error = QString::fromStdString(tooLongReason(file.size()));
        return std::nullopt;
    }
    QByteArray bytes = file.read(maxBytes + 1);
    if (file.error() != QFile::NoError) {
        *error = file.errorString();
        return std::nullopt;
    }
    if (bytes.size() > maxBytes) {
        *error = QString::fromStdString(tooLongReason(-1)); // it grew while read
        return std::nullopt;
    }
    return bytes;
}

QStringList readListFile(const QString& path, QString* problem)
{
    QString error;
    const auto bytes = readSmallFile(path, 64 * 1024, &error);
    if (bytes)
        return QString::fromUtf8(*bytes).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (problem && QFileInfo::exists(path))
        *problem = QCoreApplication::translate(
                       "GLIMMERON", "The list %1 could not be read: %2. Changes to it will not "
                                    "be kept until it can be read.")
                       .arg(path, error);
    return {};
}

QString writeListFile(const QString& path, const QStringList& lines)
{
    QDir().mkpath(QFileInfo(path).path());
    QString error;
    if (saveFileAtomically(path, (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8(),
                           &error, true))
        return QString();
    return QCoreApplication::translate("GLIMMERON",
                                       "The list %1 could not be written: %2. It stays as it was; "
                                       "remove or rename what stands there, then try again.")
        .arg(path, error);
}
