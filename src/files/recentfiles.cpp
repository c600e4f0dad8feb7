#include "files/recentfiles.h"

#include "files/savefile.h"

#include <QDir>
#include <QFileInfo>

RecentFiles::RecentFiles(QString storePath, QObject* parent)
    : QObject(parent), m_storePath(std::move(storePath))
{
    QString error;
    if (const auto bytes = readSmallFile(m_storePath, 64 * 1024, &error))
        m_files =
            QString::fromUtf8(*bytes).split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(0, kKept);
}

void RecentFiles::add(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (m_files.value(0) == absolute)
        return; // already the newest: nothing to write
    m_files.removeAll(absolute);
    m_files.prepend(absolute);
    m_files = m_files.mid(0, kKept);
    store();
}

void RecentFiles::remove(const QString& path)
{
    if (m_files.removeAll(path) > 0)
        store();
}

void RecentFiles::clear()
{
    m_files.clear();
    store();
}

// A list that cannot be kept is only a convenience lost: no message.
void RecentFiles::store()
{
    QDir().mkpath(QFileInfo(m_storePath).path());
    QString error;
    saveFileAtomically(m_storePath, (m_files.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8(),
                       &error, true);
    Q_EMIT changed();
}
