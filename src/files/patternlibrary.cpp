#include "files/patternlibrary.h"

#include "core/sequencefile.h"
#include "files/savefile.h"
#include "files/sequenceload.h"

#include <QDir>
#include <QFileInfo>

PatternLibrary::PatternLibrary(QString storePath, QObject* parent)
    : QObject(parent), m_storePath(std::move(storePath)),
      m_folders(readListFile(m_storePath, &m_readProblem))
{
}

QList<Pattern> PatternLibrary::patternsIn(const QString& folder)
{
    QList<Pattern> patterns;
    const QDir dir(folder);
    for (const QFileInfo& file :
         dir.entryInfoList({QStringLiteral("*.DAT"), QStringLiteral("*.dat")}, QDir::Files,
                           QDir::Name | QDir::IgnoreCase)) {
        QString error;
        const auto bytes = readSmallFile(file.filePath(), kMaxDataFileBytes, &error);
        // A FIFO or device named .DAT is no pattern; a file that cannot be read is listed,
        // and says why when chosen.
        if (bytes || !file.exists() || file.isFile())
            patterns.append(
                {file.completeBaseName(),
                 bytes ? QString::fromStdString(sequenceFileNote(bytes->toStdString())) : error,
                 file.filePath()});
    }
    return patterns;
}

QList<std::pair<QString, QList<Pattern>>> PatternLibrary::userPatterns() const
{
    QList<std::pair<QString, QList<Pattern>>> folders;
    for (const QString& folder : m_folders)
        folders.append({folder, patternsIn(folder)});
    return folders;
}

void PatternLibrary::addFolder(const QString& folder)
{
    const QString absolute = QFileInfo(folder).absoluteFilePath();
    if (!m_folders.contains(absolute))
        m_folders.append(absolute);
    if (m_readProblem.isEmpty())
        if (const QString problem = writeListFile(m_storePath, m_folders); !problem.isEmpty())
            Q_EMIT storeFailed(problem);
    Q_EMIT changed();
}
