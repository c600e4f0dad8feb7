#pragma once

#include <QObject>
#include <QString>

class Platform;
class SequenceDocument;

// New, Open, Merge and Save on the document, with the file dialogs' shared memory of
// the last file chosen. The window shows what the signals say.
class FileCommands : public QObject
{
    Q_OBJECT
public:
    FileCommands(SequenceDocument& document, Platform& platform, QObject* parent = nullptr);

    void newSequence();
    void save();
    void open();
    void merge();
    // Opens `path` as Open would, without the dialog (a file named at start-up).
    void openFile(const QString& path) { load(path, false); }

    // Bare name of the file last chosen in a file dialog.
    QString fileTitle() const { return m_fileTitle; }

Q_SIGNALS:
    void titleChanged(const QString& title);
    // The progress bar: shown with `value`, or hidden when `value` is negative.
    void progress(int value);

private:
    void saveTo(const QString& path);
    void load(const QString& path, bool merge);
    void remember(const QString& path);
    void showProblem(const QString& text);

    SequenceDocument& m_document;
    Platform& m_platform;
    QString m_fileTitle;
    QString m_fileFolder; // folder of that file: the dialogs open there
};
