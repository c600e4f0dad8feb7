#include "files/filecommands.h"

#include "files/savefile.h"
#include "files/sequencefile.h"
#include "files/sequenceload.h"
#include "platform/platform.h"
#include "sequence/sequencedocument.h"

#include <QFileInfo>

namespace {

const QString kTitlePrefix = QStringLiteral("GLIMMERON  -  Programmable LED Sequencer/Flasher - ");
const QString kFilter = QStringLiteral("Data Files (*.DAT)|*.dat|All Files (*.*)|*.*");

} // namespace

FileCommands::FileCommands(SequenceDocument& document, Platform& platform, QObject* parent)
    : QObject(parent), m_document(document), m_platform(platform)
{
}

// The remembered file title survives: Save after New proposes the last name used
// (each file dialog is given its initial name afresh, so there is none to clear).
void FileCommands::newSequence()
{
    Q_EMIT titleChanged(tr("GLIMMERON  -  Programmable LED Sequencer/Flasher"));
    m_document.clear();
    m_document.commit(tr("New/Clear"));
}

void FileCommands::remember(const QString& path)
{
    const QFileInfo info(path);
    m_fileTitle = info.fileName();
    m_fileFolder = info.absolutePath();
}

void FileCommands::showProblem(const QString& text)
{
    m_platform.messageBox(text, applicationTitle(), Platform::Buttons::Ok,
                          Platform::Icon::Exclamation);
}

void FileCommands::save()
{
    for (;;) {
        const Platform::FileDialogRequest request{
            tr("Save GLIMMERON Programmable LED Sequencer/Flasher Data File"), kFilter, m_fileTitle,
            m_fileFolder};
        std::optional<QString> chosen = m_platform.saveFileName(request);
        if (!chosen)
            return;
        // A name typed without an extension would be hidden by the Open dialog's filter.
        if (QFileInfo(*chosen).suffix().isEmpty())
            *chosen +=
                chosen->endsWith(QLatin1Char('.')) ? QStringLiteral("DAT") : QStringLiteral(".DAT");
        remember(*chosen);
        if (!QFileInfo::exists(*chosen))
            return saveTo(*chosen);
        // No, like Cancel, goes back to the dialog: only Yes replaces a file.
        const Platform::Answer answer = m_platform.messageBox(
            tr("Replace existing file - ") + *chosen + tr("?"), applicationTitle(),
            Platform::Buttons::YesNoCancel, Platform::Icon::Question);
        if (answer == Platform::Answer::Yes)
            return saveTo(*chosen);
    }
}

void FileCommands::saveTo(const QString& path)
{
    Q_EMIT progress(0);
    const QByteArray bytes = writeSequenceFile(m_document.data());
    Q_EMIT progress(50);
    QString error;
    const bool saved = saveFileAtomically(path, bytes, &error);
    Q_EMIT progress(-1);
    if (!saved) {
        showProblem(tr("The sequence could not be saved to %1: %2.\r\rAny file already there is "
                       "unchanged. Check the free space and your permission to write there, or "
                       "save under another name or folder.")
                        .arg(path, error));
        return;
    }
    Q_EMIT titleChanged(kTitlePrefix + m_fileTitle);
}

void FileCommands::open()
{
    const Platform::FileDialogRequest request{
        tr("Open GLIMMERON Programmable LED Sequencer/Flasher Data File"), kFilter, QString(),
        m_fileFolder};
    if (const std::optional<QString> chosen = m_platform.openFileName(request))
        load(*chosen, false);
}

void FileCommands::merge()
{
    const Platform::FileDialogRequest request{
        tr("Merge GLIMMERON Programmable LED Sequencer/Flasher Data File"), kFilter, QString(),
        m_fileFolder};
    if (const std::optional<QString> chosen = m_platform.openFileName(request))
        load(*chosen, true);
}

// The whole file is read and checked before anything on screen changes.
void FileCommands::load(const QString& path, bool merge)
{
    const SequenceLoad load = loadSequenceFile(path);
    if (!load.data)
        return showProblem(load.problem + tr("\r\rNothing on screen has changed."));
    remember(path);
    Q_EMIT titleChanged(kTitlePrefix + m_fileTitle);
    // One step: the bar repaints the window on every change, and reading takes no time.
    Q_EMIT progress(50);
    merge ? m_document.merge(*load.data) : m_document.assign(*load.data);
    Q_EMIT progress(-1);
    m_document.commit(merge ? tr("Merge %1").arg(m_fileTitle) : tr("Open %1").arg(m_fileTitle));
}
