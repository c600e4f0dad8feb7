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

Q_SIGNALS:
    void changed();
    void storeFailed(const QString& problem);

private:
    void store();

    QString m_storePath;
    QStringList m_files;
};
