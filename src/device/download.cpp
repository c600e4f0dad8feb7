#include "app/mainwindow.h"
#include "app/platform.h"
#include "device/downloadport.h"
#include "device/downloadsession.h"
#include "device/downloadtexts.h"
#include "device/portmap.h"
#include "device/serialport.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTime>

void Main_LEDFlasher_form::setDownloadCommandsEnabled(bool enabled)
{
    for (QPushButton* button : {m_ui.TestButton, m_ui.Settings_button, m_ui.DownloadButton,
                                m_ui.OpenButton, m_ui.SaveButton})
        button->setEnabled(enabled);
    // The menu entries of the same commands too, so none of them starts inside a download.
    for (QAction* action :
         {m_ui.MENUdownload, m_ui.MENUtest, m_ui.MENUsettings, m_ui.MENUopen, m_ui.MENUsave})
        action->setEnabled(enabled);
    m_downloading = !enabled;
    // A test run that ended inside the download left the button hidden for it.
    if (enabled && !m_runActive)
        m_ui.Settings_button->show();
}

// Read at the moment of writing: edits made during the pauses still go out.
DownloadValues Main_LEDFlasher_form::downloadValuesNow() const
{
    return downloadValuesOf(currentSequence());
}

void Main_LEDFlasher_form::MENUdownload_Click()
{
    setDownloadCommandsEnabled(false);
    if (m_testRunning)
        StopTest();
    m_serialPortNumber = m_settings.commPortNumber;
    DownloadPort port = openDownloadPort(m_platform, m_serialPortNumber);
    if (!port.link) {
        setDownloadStatus(port.problem);
        m_platform.messageBox(port.problem, applicationTitle(), Platform::Buttons::Ok,
                              Platform::Icon::Exclamation);
        setDownloadCommandsEnabled(true);
        return;
    }
    const Platform::Answer answer =
        m_platform.messageBox(downloadPrompt(), downloadTitle(), Platform::Buttons::OkCancel,
                              Platform::Icon::Exclamation);
    if (answer != Platform::Answer::Ok) {
        port.link->close();
        setDownloadCommandsEnabled(true);
        return;
    }
    m_downloadPort = {m_serialPortNumber, port.entry.device};
    setDownloadStatus(tr("Downloading to the GLIMMERON on port %1 (%2) ...")
                          .arg(m_serialPortNumber)
                          .arg(port.entry.device));
    m_ui.Settings_button->hide();
    m_downloadSession->start(std::move(port.link));
}

void Main_LEDFlasher_form::wireDownloadSession()
{
    m_downloadSession = new DownloadSession([this] { return downloadValuesNow(); }, this);
    connect(m_downloadSession, &DownloadSession::startRecordSent, this, [this] {
        m_ui.ProgressBar1->setValue(0);
        m_ui.ProgressBar1->show();
        m_ui.DLlabel->show();
        // The silent pause follows: paint the notice now.
        m_ui.DLlabel->repaint();
        m_ui.ProgressBar1->repaint();
    });
    connect(m_downloadSession, &DownloadSession::recordSent, m_ui.ProgressBar1,
            &QProgressBar::setValue);
    connect(m_downloadSession, &DownloadSession::finished, this,
            &Main_LEDFlasher_form::downloadFinished);
}

void Main_LEDFlasher_form::downloadFinished(const QString& error)
{
    m_ui.ProgressBar1->hide();
    m_ui.DLlabel->hide();
    setDownloadCommandsEnabled(true); // also shows Settings_button again
    const auto [number, device] = m_downloadPort;
    if (error.isEmpty()) {
        setDownloadStatus(downloadDone(number, device, QTime::currentTime()));
    } else {
        const QString text = downloadBrokenOff(number, device, error);
        setDownloadStatus(text);
        m_platform.messageBox(text, applicationTitle(), Platform::Buttons::Ok,
                              Platform::Icon::Exclamation);
    }
    if (m_quitAfterDownload)
        m_platform.quit();
}

void Main_LEDFlasher_form::setDownloadStatus(const QString& text)
{
    m_downloadStatus->setText(QString(text)
                                  .replace(QStringLiteral("\r\r"), QStringLiteral(" "))
                                  .replace(QLatin1Char('\r'), QLatin1Char(' ')));
}

// Ending the program mid-stream would leave a half-programmed device.
bool Main_LEDFlasher_form::quitAfterDownload()
{
    if (!m_downloadSession->running())
        return false;
    m_quitAfterDownload = true;
    m_downloadStatus->setText(
        tr("The program will end when the download to the GLIMMERON is done."));
    return true;
}
