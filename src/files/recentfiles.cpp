#include "files/recentfiles.h"

#include "files/savefile.h"

#include <QFileInfo>

RecentFiles::RecentFiles(QString storePath, QObject* parent)
    : QObject(parent), m_storePath(std::move(storePath)),
      m_files(readListFile(m_storePath, &m_readProblem).mid(0, kKept))
{
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

void RecentFiles::store()
{
    if (m_readProblem.isEmpty())
        if (const QString problem = writeListFile(m_storePath, m_files); !problem.isEmpty())
            Q_EMIT storeFailed(problem);
    Q_EMIT changed();
}
