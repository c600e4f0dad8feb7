#pragma once

#include <QObject>
#include <QStringList>

// The files last opened or saved, newest first, kept one path a line in `storePath`.
class RecentFiles : public QObject
{
    Q_OBJECT
public:
    static constexpr int kKept = 8;

    explicit RecentFiles(QString storePath, QObject* parent = nullptr);

    QStringList files() const { return m_files; }
    void add(const QString& path);
    void remove(const QString& path);
    void clear();

    // Why the list that is there could not be read; it is then never written over.
    QString readProblem() const { return m_readProblem; }

Q_SIGNALS:
    void changed();
    void storeFailed(const QString& problem);

private:
    void store();

    QString m_storePath;
    QString m_readProblem;
    QStringList m_files;
};
