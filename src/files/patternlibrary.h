#pragma once

#include <QObject>
#include <QStringList>

// A ready sequence: a data file like any other, with a note after its records.
struct Pattern
{
    QString name; // the file's name without .DAT
    QString note; // one line that says what it is for
    QString path;
};

// The patterns built into the program, then those of the folders the user added, which
// are kept one path a line in `storePath`.
class PatternLibrary : public QObject
{
    Q_OBJECT
public:
    explicit PatternLibrary(QString storePath, QObject* parent = nullptr);

    QList<Pattern> builtIn() const { return patternsIn(QStringLiteral(":/patterns")); }
    // Each added folder with its patterns.
    QList<std::pair<QString, QList<Pattern>>> userPatterns() const;
    void addFolder(const QString& folder);

    // Why the list that is there could not be read; it is then never written over.
    QString readProblem() const { return m_readProblem; }

Q_SIGNALS:
    void changed();
    void storeFailed(const QString& problem);

private:
    static QList<Pattern> patternsIn(const QString& folder);

    QString m_storePath;
    QString m_readProblem;
    QStringList m_folders;
};
