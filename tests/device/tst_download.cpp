#include "device/download.h"
#include "device/portmap.h"
#include "preview/testrun.h"
#include "ptycapture.h"
#include "sequence/rowcontrols.h"
#include "testwindow.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

Q_DECLARE_METATYPE(QList<SerialPortEntry>)

namespace {

// The five commands that a download disables, buttons and menu entries, that are not as
// `enabled` says.
QStringList commandsNotEnabled(const MainControls& ui, bool enabled)
{
    QStringList wrong;
    for (QObject* c : std::initializer_list<QObject*>{
             ui.TestButton, ui.Settings_button, ui.DownloadButton, ui.OpenButton, ui.SaveButton,
             ui.MENUdownload, ui.MENUtest, ui.MENUsettings, ui.MENUopen, ui.MENUsave})
        if (c->property("enabled").toBool() != enabled)
            wrong << c->objectName();
    return wrong;
}

void verifyRestored(const MainControls& ui)
{
    QCOMPARE(commandsNotEnabled(ui, true), QStringList());
    QVERIFY(ui.Settings_button->isVisible());
    QVERIFY(ui.DLlabel->isHidden());
    QVERIFY(ui.ProgressBar1->isHidden());
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
        QVERIFY(!pty.deviceName().isEmpty());
        qputenv("GLIMMERON_PORT_1", pty.deviceName().toLocal8Bit());
        TestWindow t;
        SequenceDocument& doc = t.document();
        QVERIFY(writeFile(
            t.path("EX.DAT"),
            golden("start-up.dat",
                   {{1, "1"}, {2, "2"}, {3, "3"}, {59, "2"}, {61, "3"}, {62, "0"}, {64, "255"}})));
        t.window->openFile(t.path("EX.DAT"));
        t.platform.answers << Platform::Answer::Ok;
        QListWidget* colours = t.window->rows()->colourList();
        // Watched every few milliseconds while the bar shows.
        QSet<int> progress;
        QSet<QString> lines; // line settings while the port is open
        QStringList restricted;
        bool edited = false, listOpened = false;
        QTimer sampler;
        QObject::connect(&sampler, &QTimer::timeout, [&] {
            const qsizetype sent = pty.bytes().size();
            if (t.ui().ProgressBar1->isHidden())
                return;
            progress << t.ui().ProgressBar1->value();
            lines << pty.lineSettings();
            restricted << commandsNotEnabled(t.ui(), false);
            if (!t.ui().DLlabel->isVisible() || t.ui().Settings_button->isVisible() ||
                t.platform.quitCalls != 0)
                restricted << "notice";
            if (!listOpened && sent >= 12) { // the list waits through records 5 to 20 or so
                listOpened = true;
                QTimer::singleShot(0, [&] { t.window->rows()->chooseColour(3); });
            }
            if (edited || sent < 33)
                return;
            // Record 11 (slot 9) is out: slot 5 is sent already, slots 40 and 41 are not.
            edited = true;
            answerList(colours, 3);
            for (int led : {0, 2, 3}) {
                doc.setCell(led, 5, true);
                doc.setCell(led, 40, true); // 13: the CR byte
            }
            doc.setCell(1, 41, true);
            doc.setCell(3, 41, true); // 10: the LF byte
            t.platform.answers << Platform::Answer::Ok;
            t.window->exitButton();
            QVERIFY(!t.window->close()); // the close box waits too
        });
        sampler.start(5);
        t.window->downloadSequence();
        QTRY_VERIFY_WITH_TIMEOUT(!t.window->download()->busy(), 15000);
        QCOMPARE(t.platform.quitCalls, 1);
        QVERIFY(pty.waitForBytes(171, 5000));
        QCOMPARE(pty.bytes(), streamOf("2a010203" + QByteArray(74, '0') + "0d0a" +
                                       QByteArray(16, '0') + "0f03000fff02"));
        const auto& writes = t.platform.serialWrites;
        QCOMPARE(writes.size(), 57);
        for (qsizetype r = 1; r < writes.size(); ++r) {
            const double gap =
                std::chrono::duration<double, std::milli>(writes[r] - writes[r - 1]).count();
            // Never faster than the pace; and the open list held nothing up (a busy machine
            // may add tens of milliseconds, never a second).
            QVERIFY2(gap >= (r == 1 ? 550.0 : 50.0) && gap < 1000,
                     qPrintable(QStringLiteral("record %1: %2 ms").arg(r + 1).arg(gap)));
        }
        QVERIFY(listOpened);
        QCOMPARE(doc.colourIndex(3), 3); // the list was open and got its click
        QCOMPARE(t.platform.messageBoxes.size(), 2);
        const auto box = t.platform.messageBoxes[0];
        QVERIFY(box.icon == Platform::Icon::Exclamation);
        QVERIFY(box.buttons == Platform::Buttons::OkCancel);
        QVERIFY(box.prompt.startsWith("\r 1) Cycle power/Connect Glimmeron to programming cable"));
        QCOMPARE(box.title, "Download to GLIMMERON  -  Programmable LED Sequencer/Flasher...");
        QVERIFY(progress.contains(0));
        QVERIFY(progress.contains(54));
        QCOMPARE(restricted, QStringList());
        QCOMPARE(lines, QSet<QString>{"2400,n,8,1"});
        QCOMPARE(t.ui().ProgressBar1->value(), 55);
        verifyRestored(t.ui());
        QVERIFY(t.ui().DownloadStatus->text().startsWith(
            QStringLiteral("Downloaded 171 bytes to the GLIMMERON on port 1 (%1) at ")
                .arg(pty.deviceName())));
    }

    void cancelSendsNothingAndStopsATestRun()
    {
        PtyCapture pty;
        qputenv("GLIMMERON_PORT_1", pty.deviceName().toLocal8Bit());
        TestWindow t;
        t.document().setServoMode(0, 2); // the run hides Settings_button
        t.window->toggleTest();
        QStringList duringQuestion;
        t.platform.onMessageBox = [&](const auto&) {
            QTRY_VERIFY(!t.window->testRun()->visible()); // the stopped run ends meanwhile
            duringQuestion = commandsNotEnabled(t.ui(), false);
        };
        t.platform.answers << Platform::Answer::Cancel;
        t.window->downloadSequence();
        QCOMPARE(duringQuestion, QStringList());
        QVERIFY(!t.window->download()->busy());
        QVERIFY(pty.bytes().isEmpty());
        QCOMPARE(t.ui().TestButton->text(), QStringLiteral("Test"));
        QVERIFY(t.ui().ServoStick->isHidden());
        verifyRestored(t.ui()); // Settings_button shown again, though the run ended inside
    }

    void portsThatCannotBeUsedAreReported_data()
    {
        QTest::addColumn<int>("port");
        QTest::addColumn<QByteArray>("environment");
        QTest::addColumn<QList<SerialPortEntry>>("found");
        QTest::addColumn<QStringList>("expected");
        const QList<SerialPortEntry> two{{"/dev/ttyUSB9", "FT232R USB UART"},
                                         {"/dev/ttyS0", "16550A"}};
        QTest::newRow("missing device")
            << 1 << QByteArray("/dev/glimmeron-no-such-port") << two
            << QStringList{"Serial port 1 (/dev/glimmeron-no-such-port)", "no such device",
                           "Nothing was sent", "2: /dev/ttyS0 - 16550A"};
        QTest::newRow("port 20, beyond the ports found")
            << 20 << QByteArray() << two
            << QStringList{"No serial port has number 20.", "1: /dev/ttyUSB9 - FT232R USB UART"};
        QTest::newRow("no port at all")
            << 1 << QByteArray() << QList<SerialPortEntry>{}
            << QStringList{"No serial port has number 1.", "plug in the programming cable"};
    }

    void portsThatCannotBeUsedAreReported()
    {
        QFETCH(int, port);
        QFETCH(QByteArray, environment);
        QFETCH(QList<SerialPortEntry>, found);
        QFETCH(QStringList, expected);
        if (!environment.isEmpty())
            qputenv("GLIMMERON_PORT_1", environment);
        SequenceDocument doc;
        ScriptedPlatform platform;
        platform.ports = found;
        Download download(doc, platform);
        QSignalSpy busy(&download, &Download::busyChanged);
        QSignalSpy status(&download, &Download::statusChanged);
        download.start(port);
        QCOMPARE(platform.messageBoxes.size(), 1);
        const QString prompt = platform.messageBoxes[0].prompt;
        for (const QString& part : expected)
            QVERIFY2(prompt.contains(part), qPrintable(prompt));
        QCOMPARE(status.value(0).value(0).toString(), prompt);
        QCOMPARE(busy.size(), 2);
        QVERIFY(!download.busy());
    }

    void pulledCableStopsTheDownload()
    {
        PtyCapture pty(12); // the other side goes away after four records
        qputenv("GLIMMERON_PORT_1", pty.deviceName().toLocal8Bit());
        SequenceDocument doc;
        ScriptedPlatform platform;
        platform.answers << Platform::Answer::Ok;
        Download download(doc, platform);
        QSignalSpy finished(&download, &Download::finished);
        QElapsedTimer clock;
        clock.start();
        download.start(1);
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 15000);
        QVERIFY2(clock.elapsed() < 3000, "stopped before the full 3.3 s");
        QCOMPARE(platform.messageBoxes.size(), 2);
        const QString prompt = platform.messageBoxes[1].prompt;
        QVERIFY2(prompt.contains("download is incomplete") && prompt.contains(pty.deviceName()),
                 qPrintable(prompt));
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
