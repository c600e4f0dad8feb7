#pragma once

#include <QByteArray>
#include <QObject>

#include <QString>
#include <optional>
#include <string>

class Platform;
class SequenceDocument;

// New, Open, Merge and Save on the document. The document keeps the file last chosen
// in a file dialog, which the dialogs offer, and the title that names it.
class FileCommands : public QObject
{
    Q_OBJECT
public:
    FileCommands(SequenceDocument& document, Platform& platform, QObject* parent = nullptr);

    void newSequence();
    // False when the user cancelled or the file could not be written.
    bool save();
    void open();
    void merge();
    // Opens `path` as Open would, without the dialog (a file named at start-up).
    void openFile(const QString& path) { load(path, false); }
    // Pictures to share: a PNG of the grid, a GIF of one cycle, the PNG's picture on the
    // clipboard.
    void exportPicture();
    void exportAnimation();
    void copyPicture();
    // A ready pattern, as Open loads a file, but untitled and modified.
    void loadPattern(const QString& path, const QString& name);
    // "NAME.DAT", or "the new sequence" when the title names no file.
    QString sequenceName() const;
    // What the pictures are called: the file's base name, the pattern's name, or empty.
    QString shareName() const;

Q_SIGNALS:
    // A file was opened or saved: the recent files take it.
    void fileUsed(const QString& path);
    // The progress bar: shown with `value`, or hidden when `value` is negative.
    void progress(int value);

private:
    bool saveTo(const QString& path);
    std::optional<QString> chooseTarget(const QString& title, const QString& filter,
                                        const QString& suffix, const QString& offered,
                                        const QString& folder, bool remember);
    void exportTo(const QString& title, const QString& filter, const QString& suffix,
                  const QByteArray& bytes);
    void chooseAndLoad(const QString& title, bool merge);
    std::optional<QByteArray> read(const QString& path);
    void load(const QString& path, bool merge);
    void showProblem(const QString& text);
    void showRefusal(const std::string& refusal);
    QString folder() const;

    SequenceDocument& m_document;
    Platform& m_platform;
    QString m_exportFolder;
};
