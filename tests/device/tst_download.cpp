#include "device/portmap.h"
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

Q_DECLARE_METATYPE(QList<SerialPortEntry>)

namespace {

// True when the five commands that a download disables, buttons and menu entries, are
// all as `enabled` says.
bool commandsEnabled(const MainControls& ui, bool enabled)
{
    const QList<QObject*> commands{
        ui.TestButton,   ui.Settings_button, ui.DownloadButton, ui.OpenButton, ui.SaveButton,
        ui.MENUdownload, ui.MENUtest,        ui.MENUsettings,   ui.MENUopen,   ui.MENUsave};
    return std::ranges::all_of(
        commands, [&](QObject* c) { return c->property("enabled").toBool() == enabled; });
}

void verifyRestored(const MainControls& ui)
{
    QVERIFY(commandsEnabled(ui, true) && ui.Settings_button->isVisible());
    QVERIFY(ui.DLlabel->isHidden() && ui.ProgressBar1->isHidden());
}

} // namespace

class TestDownload : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { qunsetenv("GLIMMERON_PORT_1"); }

    // Values are read as their records go out, a colour list held open mid-stream holds
    // nothing up, and Exit waits for the last record.
    void sendsTheLatestValuesAtThePaceAndExitWaits()
    {
        PtyCapture pty;
        qputenv("GLIMMERON_PORT_1", pty.deviceName().toLocal8Bit());
        TestWindow t;
        writeFile(t.path("EX.DAT"),
                  golden("start-up.dat",
                         {{1, "1"}, {2, "2"}, {3, "3"}, {59, "2"}, {61, "3"}, {62, "0"}}));
        t.window->openFile(t.path("EX.DAT"));
        t.platform.answers << Platform::Answer::Ok;
        QTimer::singleShot(1200, [&] {
            clickListEntryLater(t.ui().ColorList, 3, 1500);
            t.window->LEDlabel1_Click(3); // waits in the list until the click above
        });
        // Watched every few milliseconds while the bar shows.
        QSet<int> progress;
        QSet<QString> lines; // line settings while the port is open
        bool restricted = true, edited = false;
        QTimer sampler;
        QObject::connect(&sampler, &QTimer::timeout, [&] {
            if (t.ui().ProgressBar1->isHidden())
                return;
            progress << t.ui().ProgressBar1->value();
            lines << pty.lineSettings();
            restricted = restricted && commandsEnabled(t.ui(), false) &&
                         t.ui().DLlabel->isVisible() && t.ui().Settings_button->isHidden() &&
                         t.platform.quitCalls == 0;
            if (edited || pty.bytes().size() < 33)
                return;
            // Record 11 (slot 9) is out: slot 5 is sent already, slots 40 and 41 are not.
            edited = true;
            for (int led : {1, 3, 4}) {
                t.window->setCell(led, 5, true);
                t.window->setCell(led, 40, true); // 13: the CR byte
            }
            t.window->setCell(2, 41, true);
            t.window->setCell(4, 41, true); // 10: the LF byte
            t.platform.answers << Platform::Answer::Ok;
            t.window->Exit_button_Click();
            QVERIFY(!t.window->close()); // the close box waits too
        });
        sampler.start(5);
        t.window->MENUdownload_Click();
        QTRY_VERIFY_WITH_TIMEOUT(!t.window->downloading(), 8000);
        QCOMPARE(t.platform.quitCalls, 1);
        QVERIFY(pty.waitForBytes(171, 2000));
        QCOMPARE(pty.bytes(), streamOf("2a010203" + QByteArray(74, '0') + "0d0a" +
                                       QByteArray(16, '0') + "0f03000f1e02"));
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
        QVERIFY(t.platform.messageBoxes.size() == 2 && box.icon == Platform::Icon::Exclamation &&
                box.buttons == Platform::Buttons::OkCancel &&
                box.prompt.startsWith("\r 1) Cycle power/Connect Glimmeron to programming cable") &&
                box.title == "Download to GLIMMERON  -  Programmable LED Sequencer/Flasher...");
        QVERIFY(progress.contains(0) && progress.contains(54) && restricted);
        QCOMPARE(lines, QSet<QString>{"2400,n,8,1"});
        QCOMPARE(t.ui().ProgressBar1->value(), 55);
        verifyRestored(t.ui());
        QVERIFY(t.window->downloadStatus()->text().startsWith(
            QStringLiteral("Downloaded 171 bytes to the GLIMMERON on port 1 (%1) at ")
                .arg(pty.deviceName())));
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
        QVERIFY(disabledDuringQuestion && !t.window->downloading() && pty.bytes().isEmpty());
        QVERIFY(t.ui().TestButton->text() == "Test" && t.ui().ServoStick->isHidden());
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

    // Adapters first, then the others, digits by value; GLIMMERON_PORT_<n> when not empty.
    void portNumbersFollowTheFoundPorts()
    {
        const QHash<QString, QString> environment{{"GLIMMERON_PORT_6", "/dev/pts/7"},
                                                  {"GLIMMERON_PORT_1", ""}};
        const PortMap map({{"/dev/ttyS10", ""},
                           {"/dev/ttyUSB0", "FT232R USB UART"},
                           {"/dev/ttyS0", "16550A"},
                           {"/dev/ttyS2", ""},
                           {"/dev/ttyACM0", "CDC"}},
                          [&](const QString& name) { return environment.value(name); });
        QStringList devices;
        for (int n = 1; n <= 7; ++n)
            devices << map.entry(n).device;
        QCOMPARE(devices, QStringList({"/dev/ttyACM0", "/dev/ttyUSB0", "/dev/ttyS0", "/dev/ttyS2",
                                       "/dev/ttyS10", "/dev/pts/7", ""}));
    }
};

QTEST_MAIN(TestDownload)
#include "tst_download.moc"
