#include "device/downloadstream.h"
#include "ptycapture.h"
#include "testwindow.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

namespace {

const QString kPrompt = QStringLiteral(
    "\r 1) Cycle power/Connect Glimmeron to programming cable (All LEDs flash), then\r\r 2)  Wait "
    "till all LEDS come on and stay on, then\r\r 3)  With all LEDs lit, Press 'OK' to download to "
    "Glimmeron...");

// What the window shows while a download runs, sampled every few milliseconds.
struct DuringDownload
{
    int minProgress = 100;
    int maxProgress = -1;
    bool restrictedThroughout = true;
    int samples = 0;
};

void sample(const MainControls& ui, DuringDownload& seen)
{
    if (ui.ProgressBar1->isHidden())
        return;
    ++seen.samples;
    seen.minProgress = std::min(seen.minProgress, ui.ProgressBar1->value());
    seen.maxProgress = std::max(seen.maxProgress, ui.ProgressBar1->value());
    bool restricted = ui.DLlabel->isVisible() && ui.Settings_button->isHidden();
    for (QPushButton* b :
         {ui.TestButton, ui.Settings_button, ui.DownloadButton, ui.OpenButton, ui.SaveButton})
        restricted = restricted && !b->isEnabled();
    for (QAction* a : {ui.MENUdownload, ui.MENUtest, ui.MENUsettings, ui.MENUopen, ui.MENUsave})
        restricted = restricted && !a->isEnabled();
    seen.restrictedThroughout = seen.restrictedThroughout && restricted;
}

void verifyRestored(const MainControls& ui)
{
    for (QPushButton* b :
         {ui.TestButton, ui.Settings_button, ui.DownloadButton, ui.OpenButton, ui.SaveButton}) {
        QVERIFY(b->isEnabled());
        QVERIFY(b->isVisible());
    }
    for (QAction* a : {ui.MENUdownload, ui.MENUtest, ui.MENUsettings, ui.MENUopen, ui.MENUsave})
        QVERIFY(a->isEnabled());
    QVERIFY(ui.DLlabel->isHidden());
    QVERIFY(ui.ProgressBar1->isHidden());
}

} // namespace

class TestDownload : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { qunsetenv("GLIMMERON_PORT_1"); }

    void sendsTheWorkedExampleAtThePace()
    {
        PtyCapture pty;
        qputenv("GLIMMERON_PORT_1", pty.deviceName().toLocal8Bit());
        TestWindow t;
        t.window->setCell(1, 0, true);
        t.window->setCell(2, 1, true);
        t.window->setCell(1, 2, true);
        t.window->setCell(2, 2, true);
        t.window->TimeAxis_DblClick(2);
        t.ui().ServoControl[1]->setCurrentIndex(3);
        t.ui().ServoControl[2]->setCurrentIndex(0);
        t.platform.answers << Platform::Answer::Ok;

        DuringDownload seen;
        QTimer sampler;
        connect(&sampler, &QTimer::timeout, [&] { sample(t.ui(), seen); });
        sampler.start(5);
        t.window->MENUdownload_Click();
        sampler.stop();

        QVERIFY(pty.waitForBytes(171, 2000));
        DownloadValues expected;
        expected.events[0] = 1;
        expected.events[1] = 2;
        expected.events[2] = 3;
        expected.servoModes = {15, 3, 0, 15};
        expected.lastEvent = 2;
        QCOMPARE(pty.bytes(), downloadStream(expected));

        const auto& writes = t.platform.serialWrites;
        QCOMPARE(writes.size(), 57);
        for (qsizetype r = 1; r < writes.size(); ++r) {
            const double gap =
                std::chrono::duration<double, std::milli>(writes[r] - writes[r - 1]).count();
            QVERIFY2(gap >= (r == 1 ? 550.0 : 50.0),
                     qPrintable(QStringLiteral("record %1: %2 ms").arg(r + 1).arg(gap)));
        }

        QCOMPARE(t.platform.messageBoxes.size(), 1);
        const auto& box = t.platform.messageBoxes[0];
        QCOMPARE(box.prompt, kPrompt);
        QCOMPARE(box.title,
                 QStringLiteral("Download to GLIMMERON  -  Programmable LED Sequencer/Flasher..."));
        QCOMPARE(box.buttons, Platform::Buttons::OkCancel);
        QCOMPARE(box.icon, Platform::Icon::Exclamation);
        QVERIFY(seen.samples > 20);
        QCOMPARE(seen.minProgress, 0);
        QCOMPARE(seen.maxProgress, 54); // 55 is set as the bar is hidden
        QVERIFY(seen.restrictedThroughout);
        QCOMPARE(t.ui().ProgressBar1->value(), 55);
        verifyRestored(t.ui());
    }

    void valuesAreReadAsTheirRecordsGoOut()
    {
        PtyCapture pty;
        qputenv("GLIMMERON_PORT_1", pty.deviceName().toLocal8Bit());
        TestWindow t;
        t.platform.answers << Platform::Answer::Ok;
        // Once record 11 (slot 9) is out, edit slots 5 and 40: only slot 40 can still change.
        QTimer editor;
        connect(&editor, &QTimer::timeout, [&] {
            if (pty.bytes().size() < 33)
                return;
            editor.stop();
            for (int led : {1, 3, 4}) {
                t.window->setCell(led, 5, true);
                t.window->setCell(led, 40, true); // 13: the CR byte
            }
            t.window->setCell(2, 41, true);
            t.window->setCell(4, 41, true); // 10: the LF byte
        });
        editor.start(2);
        t.window->DownloadButton_Click();

        QVERIFY(pty.waitForBytes(171, 2000));
        DownloadValues expected;
        expected.events[40] = 13;
        expected.events[41] = 10;
        QCOMPARE(pty.bytes(), downloadStream(expected));
        QCOMPARE(pty.bytes().right(3), QByteArray("\x31\r\n"));
    }

    void cancelSendsNothingAndStopsATestRun()
    {
        PtyCapture pty;
        qputenv("GLIMMERON_PORT_1", pty.deviceName().toLocal8Bit());
        TestWindow t;
        t.ui().ServoControl[0]->setCurrentIndex(2); // the run hides Settings_button
        t.window->MENUtest_Click();
        QVERIFY(t.ui().Settings_button->isHidden());
        bool disabledDuringQuestion = false;
        t.platform.onMessageBox = [&](const auto&) {
            QTRY_VERIFY(!t.window->runVisible()); // the stopped run ends meanwhile
            disabledDuringQuestion = !t.ui().Settings_button->isEnabled();
        };
        t.platform.answers << Platform::Answer::Cancel;
        t.window->MENUdownload_Click();
        QVERIFY(disabledDuringQuestion);
        QVERIFY(!t.window->testRunning());
        QCOMPARE(t.ui().TestButton->text(), QStringLiteral("Test"));
        QVERIFY(t.ui().ServoStick->isHidden());
        QTest::qWait(100);
        QCOMPARE(pty.bytes(), QByteArray());
        verifyRestored(t.ui()); // Settings_button shown again, though the run ended inside
    }

    void missingDeviceIsReported()
    {
        qputenv("GLIMMERON_PORT_1", "/dev/glimmeron-no-such-port");
        TestWindow t;
        t.window->MENUdownload_Click();
        QCOMPARE(t.platform.messageBoxes.size(), 1);
        const QString prompt = t.platform.messageBoxes[0].prompt;
        QVERIFY2(prompt.contains("Serial port 1 (/dev/glimmeron-no-such-port)"),
                 qPrintable(prompt));
        QVERIFY2(prompt.contains("no such device"), qPrintable(prompt));
        QVERIFY(prompt.contains("Nothing was sent"));
        verifyRestored(t.ui());
    }

    void defaultDeviceFollowsThePortNumber()
    {
        TestWindow t("20\r\n"); // /dev/ttyS19 is not there on test machines
        t.window->MENUdownload_Click();
        QCOMPARE(t.platform.messageBoxes.size(), 1);
        QVERIFY(t.platform.messageBoxes[0].prompt.contains("Serial port 20 (/dev/ttyS19)"));
        verifyRestored(t.ui());
    }

    void pulledCableStopsTheDownload()
    {
        PtyCapture pty(12); // the other side goes away after four records
        qputenv("GLIMMERON_PORT_1", pty.deviceName().toLocal8Bit());
        TestWindow t;
        t.platform.answers << Platform::Answer::Ok;
        QElapsedTimer clock;
        clock.start();
        t.window->MENUdownload_Click();
        QVERIFY(clock.elapsed() < 2500); // stopped well before the full 3.3 s
        QCOMPARE(t.platform.messageBoxes.size(), 2);
        const QString prompt = t.platform.messageBoxes[1].prompt;
        QVERIFY2(prompt.contains("download is incomplete"), qPrintable(prompt));
        QVERIFY(prompt.contains("program the device again"));
        QVERIFY(prompt.contains(pty.deviceName()));
        verifyRestored(t.ui());
    }
};

QTEST_MAIN(TestDownload)
#include "tst_download.moc"
