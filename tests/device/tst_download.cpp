#include "device/downloadstream.h"
#include "ptycapture.h"
#include "testwindow.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <chrono>

Q_DECLARE_METATYPE(QList<SerialPortEntry>)

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

QList<double> gapsMs(const QList<std::chrono::steady_clock::time_point>& writes)
{
    QList<double> gaps;
    for (qsizetype r = 1; r < writes.size(); ++r)
        gaps << std::chrono::duration<double, std::milli>(writes[r] - writes[r - 1]).count();
    return gaps;
}

class TestDownload : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { qunsetenv("GLIMMERON_PORT_1"); }

    // A colour list held open mid-stream must not hold the download's pace.
    void sendsTheWorkedExampleAtThePaceWhileAListIsOpen()
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
        QTimer::singleShot(1200, [&] {
            clickListEntryLater(t.ui().ColorList, 3, 1500);
            t.window->LEDlabel1_Click(3); // waits in the list until the click above
        });
        t.window->MENUdownload_Click();
        QTRY_VERIFY_WITH_TIMEOUT(!t.window->downloading(), 6000);
        sampler.stop();

        QVERIFY(pty.waitForBytes(171, 2000));
        DownloadValues expected;
        expected.events[0] = 1;
        expected.events[1] = 2;
        expected.events[2] = 3;
        expected.servoModes = {15, 3, 0, 15};
        expected.lastEvent = 2;
        QCOMPARE(pty.bytes(), downloadStream(expected));

        const QList<double> gaps = gapsMs(t.platform.serialWrites);
        QCOMPARE(gaps.size(), 56);
        for (qsizetype r = 0; r < gaps.size(); ++r) {
            QVERIFY2(gaps[r] >= (r == 0 ? 550.0 : 50.0) && gaps[r] < (r == 0 ? 800 : 300),
                     qPrintable(QStringLiteral("record %1: %2 ms").arg(r + 2).arg(gaps[r])));
        }
        QVERIFY(t.ui().ColorList->isHidden()); // the list was open and got its click

        const auto& box = t.platform.messageBoxes.value(0);
        QCOMPARE(box.prompt, kPrompt);
        QCOMPARE(box.title,
                 QStringLiteral("Download to GLIMMERON  -  Programmable LED Sequencer/Flasher..."));
        QCOMPARE(box.buttons, Platform::Buttons::OkCancel);
        QCOMPARE(box.icon, Platform::Icon::Exclamation);
        QCOMPARE(t.platform.messageBoxes.size(), 1);
        QVERIFY(seen.samples > 20);
        QCOMPARE(seen.minProgress, 0);
        QCOMPARE(seen.maxProgress, 54); // 55 is set as the bar is hidden
        QVERIFY(seen.restrictedThroughout);
        QCOMPARE(t.ui().ProgressBar1->value(), 55);
        verifyRestored(t.ui());
        const QString status = t.window->downloadStatus()->text();
        QVERIFY2(status.startsWith(QStringLiteral("Downloaded 171 bytes to the GLIMMERON on port 1 "
                                                  "(%1) at ")
                                       .arg(pty.deviceName())),
                 qPrintable(status));
    }

    // Values are read as their records go out; Exit waits for the last one.
    void exitFinishesTheDownloadWithTheLatestValues()
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
            t.platform.answers << Platform::Answer::Ok;
            t.window->Exit_button_Click();
            QCOMPARE(t.platform.quitCalls, 0);
            QVERIFY(t.window->close() == false); // the close box waits too
        });
        editor.start(2);
        t.window->DownloadButton_Click();
        QTRY_COMPARE_WITH_TIMEOUT(t.platform.quitCalls, 1, 6000);

        QCOMPARE(t.platform.serialWrites.size(), 57); // all out before the end
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
        QVERIFY(!t.window->downloading());
        QTest::qWait(100);
        QCOMPARE(pty.bytes(), QByteArray());
        verifyRestored(t.ui()); // Settings_button shown again, though the run ended inside
    }

    void portsThatCannotBeUsedAreReported_data()
    {
        QTest::addColumn<QByteArray>("ledCfg");
        QTest::addColumn<QByteArray>("environment");
        QTest::addColumn<QList<SerialPortEntry>>("found");
        QTest::addColumn<QStringList>("expected");
        const QList<SerialPortEntry> adapter{{"/dev/ttyUSB9", "FT232R USB UART"}};
        QTest::newRow("missing device")
            << QByteArray("1\r\n") << QByteArray("/dev/glimmeron-no-such-port")
            << (adapter + QList<SerialPortEntry>{{"/dev/ttyS0", "16550A"}})
            << QStringList{"Serial port 1 (/dev/glimmeron-no-such-port)", "no such device",
                           "Nothing was sent", "2: /dev/ttyS0 - 16550A"};
        QTest::newRow("number beyond the ports found")
            << QByteArray("2\r\n") << QByteArray() << adapter
            << QStringList{"No serial port has number 2.", "1: /dev/ttyUSB9"};
        QTest::newRow("no port at all")
            << QByteArray("1\r\n") << QByteArray() << QList<SerialPortEntry>{}
            << QStringList{"No serial port has number 1.", "plug in the programming cable"};
    }

    void portsThatCannotBeUsedAreReported()
    {
        QFETCH(QByteArray, ledCfg);
        QFETCH(QByteArray, environment);
        QFETCH(QList<SerialPortEntry>, found);
        QFETCH(QStringList, expected);
        if (!environment.isEmpty())
            qputenv("GLIMMERON_PORT_1", environment);
        TestWindow t(ledCfg);
        t.platform.ports = found;
        t.window->MENUdownload_Click();
        QCOMPARE(t.platform.messageBoxes.size(), 1);
        const QString prompt = t.platform.messageBoxes[0].prompt;
        for (const QString& part : expected)
            QVERIFY2(prompt.contains(part), qPrintable(prompt));
        QVERIFY(t.platform.serialWrites.isEmpty());
        QVERIFY(t.window->downloadStatus()->text().startsWith(prompt.section('\r', 0, 0)));
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
        QTRY_COMPARE_WITH_TIMEOUT(t.platform.messageBoxes.size(), 2, 6000);
        QVERIFY(clock.elapsed() < 2500); // stopped well before the full 3.3 s
        const QString prompt = t.platform.messageBoxes[1].prompt;
        QVERIFY2(prompt.contains("download is incomplete"), qPrintable(prompt));
        QVERIFY(prompt.contains("program the device again"));
        QVERIFY(prompt.contains(pty.deviceName()));
        QCOMPARE(t.window->downloadStatus()->text(), QString(prompt).replace("\r\r", " "));
        verifyRestored(t.ui());
    }
};

QTEST_MAIN(TestDownload)
#include "tst_download.moc"
