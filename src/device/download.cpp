#include "app/mainwindow.h"
#include "app/platform.h"
#include "device/downloadstream.h"
#include "device/portname.h"
#include "device/serialport.h"

#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QTimer>

namespace {

const QString kDownloadTitle =
    QStringLiteral("Download to GLIMMERON  -  Programmable LED Sequencer/Flasher...");
const QString kDownloadPrompt =
    QStringLiteral("\r 1) Cycle power/Connect Glimmeron to programming cable (All LEDs flash), "
                   "then\r\r 2)  Wait till all LEDS come on and stay on, then\r\r 3)  With all "
                   "LEDs lit, Press 'OK' to download to Glimmeron...");
constexpr qint64 kStartPauseNs = 500'000'000;
constexpr qint64 kRecordPauseNs = 50'000'000;

qint64 remainingMs(const QElapsedTimer& clock, qint64 pauseNs)
{
    return (pauseNs - clock.nsecsElapsed() + 999'999) / 1'000'000;
}

// The window stays still: the device wants silence after the start record.
void pauseWithoutEvents(qint64 pauseNs)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.nsecsElapsed() < pauseNs)
        QThread::msleep(static_cast<unsigned long>(remainingMs(clock, pauseNs)));
}

// The window processes its events at least once, and the pause lasts at least pauseNs.
// Timers wake in whole milliseconds, late rather than early: the last fraction of a
// millisecond is slept, so the pace stays close to its minimum.
void pauseWithEvents(qint64 pauseNs)
{
    QElapsedTimer clock;
    clock.start();
    do {
        QEventLoop loop;
        const qint64 wholeMs = (pauseNs - clock.nsecsElapsed()) / 1'000'000;
        QTimer::singleShot(std::max<qint64>(0, wholeMs), Qt::PreciseTimer, &loop,
                           &QEventLoop::quit);
        loop.exec();
    } while (pauseNs - clock.nsecsElapsed() >= 1'000'000);
    const qint64 restNs = pauseNs - clock.nsecsElapsed();
    if (restNs > 0)
        QThread::usleep(static_cast<unsigned long>((restNs + 999) / 1000));
}

std::uint8_t byteOf(int value)
{
    return static_cast<std::uint8_t>(std::clamp(value, 0, 255));
}

} // namespace

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

void Main_LEDFlasher_form::MENUdownload_Click()
{
    setDownloadCommandsEnabled(false);
    if (m_testRunning)
        StopTest();
    m_serialPortNumber = m_settings.commPortNumber;
    const QString device = portDeviceName(m_serialPortNumber);
    std::unique_ptr<SerialLink> port = m_platform.createSerialLink();
    QString error;
    if (!port->open(device, &error)) {
        m_platform.messageBox(
            QStringLiteral("Serial port %1 (%2) could not be opened: %3.\r\rNothing was sent to "
                           "the GLIMMERON. Check that the programming cable is plugged in and that "
                           "Settings names its port.")
                .arg(m_serialPortNumber)
                .arg(device, error),
            applicationTitle(), Platform::Buttons::Ok, Platform::Icon::Exclamation);
        setDownloadCommandsEnabled(true);
        return;
    }
    const Platform::Answer answer = m_platform.messageBox(
        kDownloadPrompt, kDownloadTitle, Platform::Buttons::OkCancel, Platform::Icon::Exclamation);
    if (answer == Platform::Answer::Ok)
        return sendDownload(*port, m_serialPortNumber, device);
    port->close();
    setDownloadCommandsEnabled(true);
}

// A transfer that breaks off stops at once, restores the window and says so.
void Main_LEDFlasher_form::sendDownload(SerialLink& port, int portNumber, const QString& device)
{
    auto valuesNow = [this] {
        DownloadValues values;
        for (int i = 0; i < 50; ++i)
            values.events[i] = byteOf(m_ui.mem[i]->text().toInt());
        for (int k = 0; k < 4; ++k)
            values.servoModes[k] = byteOf(m_ui.ServoControl[k]->currentIndex());
        values.sequencerDelay = byteOf(m_settings.sequencerDelay);
        values.lastEvent = byteOf(m_lastEvent);
        return values;
    };
    QString error;
    auto fail = [&] {
        endDownload(port);
        m_platform.messageBox(
            QStringLiteral("The download to the GLIMMERON on serial port %1 (%2) stopped part-way: "
                           "%3.\r\rThe download is incomplete. Check the cable, then program the "
                           "device again.")
                .arg(portNumber)
                .arg(device, error),
            applicationTitle(), Platform::Buttons::Ok, Platform::Icon::Exclamation);
    };

    m_ui.Settings_button->hide();
    if (!port.write(downloadRecord(kStreamStart), &error)) {
        fail();
        return;
    }
    m_ui.ProgressBar1->setValue(0);
    m_ui.ProgressBar1->show();
    m_ui.DLlabel->show();
    m_ui.DLlabel->repaint();
    m_ui.ProgressBar1->repaint();
    pauseWithoutEvents(kStartPauseNs);
    for (int i = 0; i <= 55; ++i) {
        pauseWithEvents(kRecordPauseNs);
        // Read at the moment of writing: edits made during the pauses still go out.
        if (!port.write(downloadRecord(downloadRecordValue(valuesNow(), i + 2)), &error)) {
            fail();
            return;
        }
        m_ui.ProgressBar1->setValue(i);
    }
    endDownload(port);
}

void Main_LEDFlasher_form::endDownload(SerialLink& port)
{
    m_ui.ProgressBar1->hide();
    m_ui.DLlabel->hide();
    port.close();
    setDownloadCommandsEnabled(true); // also shows Settings_button again
}
