#include "device/portmap.h"
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

Q_DECLARE_METATYPE(QList<SerialPortEntry>)

namespace {

QList<QWidget*> commandButtons(const MainControls& ui)
{
    return {ui.TestButton, ui.Settings_button, ui.DownloadButton, ui.OpenButton, ui.SaveButton};
}

QList<QAction*> commandEntries(const MainControls& ui)
{
    return {ui.MENUdownload, ui.MENUtest, ui.MENUsettings, ui.MENUopen, ui.MENUsave};
}

void verifyRestored(const MainControls& ui)
{
    for (QWidget* b : commandButtons(ui))
        QVERIFY(b->isEnabled() && b->isVisible());
    for (QAction* a : commandEntries(ui))
        QVERIFY(a->isEnabled());
    QVERIFY(ui.DLlabel->isHidden() && ui.ProgressBar1->isHidden());
}

// A download to the pty behind port 1, watched every few milliseconds until it ends.
struct Watched
{
    QSet<int> progress;
    bool restricted = true; // the five commands stayed disabled, the notice shown
    QSet<QString> lines;    // line settings seen while the port was open
};

Watched downloadAndWatch(TestWindow& t, PtyCapture& pty)
{
    Watched seen;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        const MainControls& ui = t.ui();
        if (ui.ProgressBar1->isHidden())
            return;
        seen.progress << ui.ProgressBar1->value();
        seen.lines << pty.lineSettings();
        bool r = ui.DLlabel->isVisible() && ui.Settings_button->isHidden();
        for (QWidget* b : commandButtons(ui))
            r = r && !b->isEnabled();
        for (QAction* a : commandEntries(ui))
            r = r && !a->isEnabled();
        seen.restricted = seen.restricted && r;
    });
    sampler.start(5);
    t.window->MENUdownload_Click();
    if (!QTest::qWaitFor([&] { return !t.window->downloading(); }, 8000))
        qWarning("the download did not end");
    return seen;
}

} // namespace

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
        QTimer::singleShot(1200, [&] {
            clickListEntryLater(t.ui().ColorList, 3, 1500);
            t.window->LEDlabel1_Click(3); // waits in the list until the click above
        });
        const Watched seen = downloadAndWatch(t, pty);

        QVERIFY(pty.waitForBytes(171, 2000));
        QCOMPARE(pty.bytes(), streamOf("2a010203" + QByteArray(94, '0') + "0f03000f1e02"));
        const auto& writes = t.platform.serialWrites;
        QCOMPARE(writes.size(), 57);
        for (qsizetype r = 1; r < writes.size(); ++r) {
            const double gap =
                std::chrono::duration<double, std::milli>(writes[r] - writes[r - 1]).count();
            // Never faster than the pace; and the list, open for 1.5 s, held nothing up
            // (a busy machine may add tens of milliseconds, never a second).
            QVERIFY2(gap >= (r == 1 ? 550.0 : 50.0) && gap < 1000,
                     qPrintable(QStringLiteral("record %1: %2 ms").arg(r + 1).arg(gap)));
        }
        QCOMPARE(t.window->ledColourIndex(3), 3); // the list was open and got its click
        const auto box = t.platform.messageBoxes.value(0);
        QCOMPARE(
            box.prompt,
            QStringLiteral(
                "\r 1) Cycle power/Connect Glimmeron to programming cable (All LEDs flash), "
                "then\r\r "
                "2)  Wait till all LEDS come on and stay on, then\r\r 3)  With all LEDs lit, Press "
                "'OK' to download to Glimmeron..."));
        QCOMPARE(box.title,
                 QStringLiteral("Download to GLIMMERON  -  Programmable LED Sequencer/Flasher..."));
        QCOMPARE(box.buttons, Platform::Buttons::OkCancel);
        QCOMPARE(box.icon, Platform::Icon::Exclamation);
        QCOMPARE(t.platform.messageBoxes.size(), 1);
        QVERIFY(seen.progress.contains(0) && seen.progress.contains(54));
        QVERIFY(seen.restricted);
        QCOMPARE(seen.lines, QSet<QString>{"2400,n,8,1"});
        QCOMPARE(t.ui().ProgressBar1->value(), 55);
        verifyRestored(t.ui());
        QVERIFY(t.window->downloadStatus()->text().startsWith(
            QStringLiteral("Downloaded 171 bytes to the GLIMMERON on port 1 (%1) at ")
                .arg(pty.deviceName())));
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
        QObject::connect(&editor, &QTimer::timeout, [&] {
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
            QVERIFY(!t.window->close()); // the close box waits too
        });
        editor.start(2);
        t.window->DownloadButton_Click();
        QTRY_COMPARE_WITH_TIMEOUT(t.platform.quitCalls, 1, 8000);
        QCOMPARE(t.platform.serialWrites.size(), 57); // all out before the end
        QVERIFY(pty.waitForBytes(171, 2000));
        // 13 and 10 go out raw; the blank sequence ends with last event 49 (0x31).
        QCOMPARE(pty.bytes(), streamOf("2a" + QByteArray(80, '0') + "0d0a" + QByteArray(16, '0') +
                                       "0f0f0f0f1e31"));
    }

    void cancelSendsNothingAndStopsATestRun()
    {
        PtyCapture pty;
        qputenv("GLIMMERON_PORT_1", pty.deviceName().toLocal8Bit());
        TestWindow t;
        t.ui().ServoControl[0]->setCurrentIndex(2); // the run hides Settings_button
        t.window->MENUtest_Click();
        bool disabledDuringQuestion = false;
        t.platform.onMessageBox = [&](const auto&) {
            QTRY_VERIFY(!t.window->runVisible()); // the stopped run ends meanwhile
            disabledDuringQuestion = !t.ui().Settings_button->isEnabled();
        };
        t.platform.answers << Platform::Answer::Cancel;
        t.window->MENUdownload_Click();
        QVERIFY(disabledDuringQuestion);
        QCOMPARE(t.ui().TestButton->text(), QStringLiteral("Test"));
        QVERIFY(t.ui().ServoStick->isHidden());
        QVERIFY(!t.window->downloading());
        QVERIFY(t.platform.serialWrites.isEmpty());
        verifyRestored(t.ui()); // Settings_button shown again, though the run ended inside
    }

    void portsThatCannotBeUsedAreReported_data()
    {
        QTest::addColumn<QByteArray>("ledCfg");
        QTest::addColumn<QByteArray>("environment");
        QTest::addColumn<QList<SerialPortEntry>>("found");
        QTest::addColumn<QStringList>("expected");
        const QList<SerialPortEntry> two{{"/dev/ttyUSB9", "FT232R USB UART"},
                                         {"/dev/ttyS0", "16550A"}};
        QTest::newRow("missing device")
            << QByteArray("1\r\n") << QByteArray("/dev/glimmeron-no-such-port") << two
            << QStringList{"Serial port 1 (/dev/glimmeron-no-such-port)", "no such device",
                           "Nothing was sent", "2: /dev/ttyS0 - 16550A"};
        QTest::newRow("number beyond the ports found")
            << QByteArray("3\r\n") << QByteArray() << two
            << QStringList{"No serial port has number 3.", "1: /dev/ttyUSB9 - FT232R USB UART"};
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
        QTRY_COMPARE_WITH_TIMEOUT(t.platform.messageBoxes.size(), 2, 8000);
        QVERIFY(clock.elapsed() < 3000); // stopped before the full 3.3 s
        const QString prompt = t.platform.messageBoxes[1].prompt;
        QVERIFY2(prompt.contains("download is incomplete") && prompt.contains(pty.deviceName()),
                 qPrintable(prompt));
        QCOMPARE(t.window->downloadStatus()->text(), QString(prompt).replace("\r\r", " "));
        verifyRestored(t.ui());
    }

    void portNumbersFollowTheFoundPorts_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("overridden");
        QTest::addColumn<QString>("device");
        // Found in the system's order; adapters come first, digits compare by value.
        QTest::newRow("first adapter") << 1 << QString() << "/dev/ttyACM0";
        QTest::newRow("second adapter") << 2 << QString() << "/dev/ttyUSB0";
        QTest::newRow("ttyS2 before ttyS10") << 4 << QString() << "/dev/ttyS2";
        QTest::newRow("last found") << 5 << QString() << "/dev/ttyS10";
        QTest::newRow("beyond the ports found") << 6 << QString() << QString();
        QTest::newRow("environment names the device") << 6 << "/dev/pts/7"
                                                      << "/dev/pts/7";
        QTest::newRow("empty environment is unset") << 1 << QString("") << "/dev/ttyACM0";
    }

    void portNumbersFollowTheFoundPorts()
    {
        QFETCH(int, number);
        QFETCH(QString, overridden);
        QFETCH(QString, device);
        QStringList asked;
        const PortMap map({{"/dev/ttyS10", ""},
                           {"/dev/ttyUSB0", "FT232R USB UART"},
                           {"/dev/ttyS0", "16550A"},
                           {"/dev/ttyS2", ""},
                           {"/dev/ttyACM0", "CDC"}},
                          [&](const QString& name) {
                              asked << name;
                              return name == QStringLiteral("GLIMMERON_PORT_%1").arg(number)
                                         ? overridden
                                         : QString();
                          });
        QCOMPARE(map.entry(number).device, device);
        QCOMPARE(asked.value(0), QStringLiteral("GLIMMERON_PORT_%1").arg(number));
        QCOMPARE(map.numbered().size(), overridden.isEmpty() ? 5 : 6);
    }
};

QTEST_MAIN(TestDownload)
#include "tst_download.moc"
