#include "files/filecommands.h"

#include "core/sequencefile.h"
#include "files/savefile.h"
#include "files/sequenceanimation.h"
#include "files/sequenceload.h"
#include "files/sequencepicture.h"
#include "platform/platform.h"
#include "platform/qtconvert.h"
#include "sequence/sequencedocument.h"

#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

namespace {

const QString kFilter = QStringLiteral("Data Files (*.DAT)|*.dat|All Files (*.*)|*.*");

} // namespace

FileCommands::FileCommands(SequenceDocument& document, Platform& platform, QObject* parent)
    : QObject(parent), m_document(document), m_platform(platform)
{
}

// The remembered file survives: Save after New proposes the last name used.
void FileCommands::newSequence()
{
    m_document.session().newSequence();
}

QString FileCommands::sequenceName() const
{
    return QString::fromStdString(m_document.session().sequenceName());
}

QString FileCommands::shareName() const
{
    return QString::fromStdString(m_document.session().shareName());
}

// The folder of the file last chosen: the dialogs open there.
QString FileCommands::folder() const
{
    return m_document.filePath().isEmpty() ? QString()
                                           : QFileInfo(m_document.filePath()).absolutePath();
}

void FileCommands::showProblem(const QString& text)
{
    m_platform.messageBox(text, applicationTitle(), Platform::Buttons::Ok,
                          Platform::Icon::Exclamation);
}

bool FileCommands::save()
{
    const std::optional<QString> target = chooseTarget(
        tr("Save GLIMMERON Programmable LED Sequencer/Flasher Data File"), kFilter,
        QStringLiteral("DAT"), QFileInfo(m_document.filePath()).fileName(), folder(), true);
    return target && saveTo(*target);
}

// The file the user chooses to write, once the replace question allows it. With
// `remember`, the document takes each name chosen, for the next dialog to offer.
std::optional<QString> FileCommands::chooseTarget(const QString& title, const QString& filter,
                                                  const QString& suffix, const QString& offered,
                                                  const QString& folder, bool remember)
{
    QString initialName = offered;
    for (;;) {
        std::optional<QString> chosen =
            m_platform.saveFileName({title, filter, initialName, folder});
        if (!chosen)
            return std::nullopt;
        // A name typed without an extension would be hidden by the Open dialog's filter.
        if (QFileInfo(*chosen).suffix().isEmpty())
            *chosen += chosen->endsWith(QLatin1Char('.')) ? suffix : QLatin1Char('.') + suffix;
        initialName = QFileInfo(*chosen).fileName();
        if (remember)
            m_document.session().chooseFile(chosen->toStdString());
        // A new name, or one that is no file to replace (a FIFO, a folder): the writer says so.
        if (!QFileInfo(*chosen).isFile())
            return chosen;
        // No, like Cancel, goes back to the dialog: only Yes replaces a file.
        const Platform::Answer answer = m_platform.messageBox(
            tr("Replace existing file - ") + *chosen + tr("?"), applicationTitle(),
            Platform::Buttons::YesNoCancel, Platform::Icon::Question);
        if (answer == Platform::Answer::Yes)
            return chosen;
    }
}

void FileCommands::exportPicture()
{
    exportTo(tr("Export a Picture of the Sequence"), QStringLiteral("PNG Images (*.PNG)|*.png"),
             QStringLiteral("png"), sequencePicturePng(m_document.data(), shareName()));
}

void FileCommands::copyPicture()
{
    QGuiApplication::clipboard()->setImage(sequencePicture(m_document.data(), shareName()));
}

void FileCommands::exportAnimation()
{
    QString error;
    const QByteArray gif = sequenceAnimationGif(m_document.data(), shareName(), &error);
    if (gif.isEmpty())
        return showProblem(tr("The animation could not be made: %1.").arg(error));
    exportTo(tr("Export an Animation of the Sequence"),
             QStringLiteral("GIF Animations (*.GIF)|*.gif"), QStringLiteral("gif"), gif);
}

void FileCommands::exportTo(const QString& title, const QString& filter, const QString& suffix,
                            const QByteArray& bytes)
{
    // The sequence's own name, in the folder of the last export.
    const QString base = shareName().isEmpty() ? QStringLiteral("sequence") : shareName();
    const std::optional<QString> target =
        chooseTarget(title, filter, suffix.toUpper(), base + QLatin1Char('.') + suffix,
                     m_exportFolder.isEmpty() ? folder() : m_exportFolder, false);
    if (!target)
        return;
    m_exportFolder = QFileInfo(*target).absolutePath();
    QString error;
    if (!saveFileAtomically(*target, bytes, &error))
        showProblem(tr("The picture could not be saved to %1: %2.\r\rCheck the free space and "
                       "your permission to write there, or choose another name or folder.")
                        .arg(*target, error));
}

bool FileCommands::saveTo(const QString& path)
{
    Q_EMIT progress(0);
    const QByteArray bytes = QByteArray::fromStdString(sequenceFileBytes(m_document.data()));
    Q_EMIT progress(50);
    QString error;
    const bool saved = saveFileAtomically(path, bytes, &error);
    Q_EMIT progress(-1);
    if (!saved) {
        showProblem(tr("The sequence could not be saved to %1: %2.\r\rAny file already there is "
                       "unchanged. Check the free space and your permission to write there, or "
                       "save under another name or folder.")
                        .arg(path, error));
        return false;
    }
    m_document.session().saved(path.toStdString());
    Q_EMIT fileUsed(path);
    return true;
}

void FileCommands::open()
{
    chooseAndLoad(tr("Open GLIMMERON Programmable LED Sequencer/Flasher Data File"), false);
}

void FileCommands::merge()
{
    chooseAndLoad(tr("Merge GLIMMERON Programmable LED Sequencer/Flasher Data File"), true);
}

void FileCommands::chooseAndLoad(const QString& title, bool merge)
{
    if (const std::optional<QString> chosen =
            m_platform.openFileName({title, kFilter, QString(), folder()}))
        load(*chosen, merge);
}

// The whole file is read and checked before anything on screen changes.
std::optional<QByteArray> FileCommands::read(const QString& path)
{
    QString problem;
    std::optional<QByteArray> bytes = readDataFile(path, &problem);
    if (!bytes)
        showProblem(problem + toQString(kNothingChanged));
    return bytes;
}

void FileCommands::loadPattern(const QString& path, const QString& name)
{
    if (const std::optional<QByteArray> bytes = read(path))
        showRefusal(m_document.session().openPattern(bytes->toStdString(), name.toStdString()));
}

void FileCommands::load(const QString& path, bool merge)
{
    const std::optional<QByteArray> bytes = read(path);
    if (!bytes)
        return;
    // One step: the bar repaints the window on every change, and reading takes no time.
    Q_EMIT progress(50);
    const std::string refusal =
        m_document.session().open(bytes->toStdString(), path.toStdString(),
                                  QDir::toNativeSeparators(path).toStdString(), merge);
    Q_EMIT progress(-1);
    if (!refusal.empty())
        return showRefusal(refusal);
    if (!merge)
        Q_EMIT fileUsed(path);
}

void FileCommands::showRefusal(const std::string& refusal)
{
    if (!refusal.empty())
        showProblem(QString::fromStdString(refusal));
}
