#include "app/mainwindow.h"
#include "app/platform.h"
#include "files/savefile.h"
#include "files/sequencefile.h"
#include "files/sequenceload.h"
#include "settings/settingsform.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>

namespace {

const QString kTitlePrefix = QStringLiteral("GLIMMERON  -  Programmable LED Sequencer/Flasher - ");
const QString kFilter = QStringLiteral("Data Files (*.DAT)|*.dat|All Files (*.*)|*.*");

} // namespace

SequenceData Main_LEDFlasher_form::currentSequence() const
{
    SequenceData data;
    for (int i = 0; i < 50; ++i)
        data.events[i] = m_ui.mem[i]->text().toInt();
    for (int k = 0; k < 8; ++k)
        data.colourIndexes[k] = m_ledColourIndex[k];
    data.lastEvent = m_lastEvent;
    for (int k = 0; k < 4; ++k)
        data.servoModes[k] = m_ui.ServoControl[k]->currentIndex();
    data.sequencerDelay = m_settings.sequencerDelay;
    data.testSpeed = m_settings.testSpeed;
    return data;
}

void Main_LEDFlasher_form::setFileTitle(const QString& path)
{
    const QFileInfo info(path);
    m_fileTitle = info.fileName();
    m_fileFolder = info.absolutePath();
}

void Main_LEDFlasher_form::showFileProblem(const QString& text)
{
    m_platform.messageBox(text, applicationTitle(), Platform::Buttons::Ok,
                          Platform::Icon::Exclamation);
}

void Main_LEDFlasher_form::MENUsave_Click()
{
    StopTest();
    const Platform::FileDialogRequest request{
        tr("Save GLIMMERON Programmable LED Sequencer/Flasher Data File"), kFilter, QString(),
        QString()};
    for (;;) {
        Platform::FileDialogRequest ask = request;
        ask.initialName = m_fileTitle;
        ask.folder = m_fileFolder;
        std::optional<QString> chosen = m_platform.saveFileName(ask);
        if (!chosen)
            return;
        // A name typed without an extension would be hidden by the Open dialog's filter.
        if (QFileInfo(*chosen).suffix().isEmpty())
            *chosen +=
                chosen->endsWith(QLatin1Char('.')) ? QStringLiteral("DAT") : QStringLiteral(".DAT");
        setFileTitle(*chosen);
        if (!QFileInfo::exists(*chosen))
            return saveToChosenFile(*chosen);
        // No, like Cancel, goes back to the dialog: only Yes replaces a file.
        const Platform::Answer answer = m_platform.messageBox(
            tr("Replace existing file - ") + *chosen + tr("?"), applicationTitle(),
            Platform::Buttons::YesNoCancel, Platform::Icon::Question);
        if (answer == Platform::Answer::Yes)
            return saveToChosenFile(*chosen);
    }
}

void Main_LEDFlasher_form::saveToChosenFile(const QString& path)
{
    m_ui.ProgressBar1->setValue(0);
    m_ui.ProgressBar1->show();
    const QByteArray bytes = writeSequenceFile(currentSequence());
    m_ui.ProgressBar1->setValue(50);
    QString error;
    const bool saved = saveFileAtomically(path, bytes, &error);
    m_ui.ProgressBar1->hide();
    if (!saved) {
        showFileProblem(QStringLiteral("The sequence could not be saved to %1: %2.\r\rAny file "
                                       "already there is unchanged. Check the free space and "
                                       "your permission to write there, or save under another "
                                       "name or folder.")
                            .arg(path, error));
        return;
    }
    setWindowTitle(kTitlePrefix + m_fileTitle);
}

void Main_LEDFlasher_form::MENUopen_Click()
{
    StopTest();
    loadFromFile(false);
}

void Main_LEDFlasher_form::MENUmerge_Click()
{
    loadFromFile(true);
}

// The whole file is read and checked before anything on screen changes.
void Main_LEDFlasher_form::loadFromFile(bool merge)
{
    const Platform::FileDialogRequest request{
        merge ? tr("Merge GLIMMERON Programmable LED Sequencer/Flasher Data File")
              : tr("Open GLIMMERON Programmable LED Sequencer/Flasher Data File"),
        kFilter, QString(), m_fileFolder};
    if (const std::optional<QString> chosen = m_platform.openFileName(request))
        loadFile(*chosen, merge);
}

void Main_LEDFlasher_form::loadFile(const QString& path, bool merge)
{
    const SequenceLoad load = loadSequenceFile(path);
    if (!load.data)
        return showFileProblem(load.problem + tr("\r\rNothing on screen has changed."));
    setFileTitle(path);
    setWindowTitle(kTitlePrefix + m_fileTitle);
    applySequence(*load.data, merge);
    commitEdit(merge ? tr("Merge %1").arg(m_fileTitle) : tr("Open %1").arg(m_fileTitle));
}

void Main_LEDFlasher_form::applySequence(const SequenceData& data, bool merge)
{
    if (!merge)
        clearGrid();
    m_ui.ProgressBar1->show();
    for (int i = 0; i < 50; ++i)
        m_ui.mem[i]->setText(QString::number(data.events[i]));
    // One step: the bar repaints the window on every change, and reading takes no time.
    m_ui.ProgressBar1->setValue(50);
    if (!merge) {
        for (int k = 0; k < 8; ++k) {
            m_ledColourIndex[k] = data.colourIndexes[k];
            if (k < 4)
                applyLedColour(k);
        }
    }
    moveLastEvent(data.lastEvent);
    for (int k = 0; k < 4; ++k)
        m_ui.ServoControl[k]->setCurrentIndex(data.servoModes[k]);
    m_settings.sequencerDelay = static_cast<qint16>(data.sequencerDelay);
    m_settingsForm->PICSpeedcombo->setCurrentIndex(data.sequencerDelay - 1);
    m_settings.testSpeed = static_cast<qint16>(data.testSpeed);
    m_settingsForm->PCSpeedcombo->setCurrentIndex(data.testSpeed - 1);
    m_ui.ProgressBar1->hide();
    for (int i = 0; i < 50; ++i) {
        decodeEventValue(i, data.events[i]);
        if (merge)
            iSwitchLedX_Click(i); // the bitwise OR, also where the file adds no cell
    }
}
