#include "device/download.h"
#include "ptycapture.h"
#include "sequence/rowcontrols.h"
#include "testwindow.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <csignal>

Q_DECLARE_METATYPE(QList<SerialPortEntry>)

namespace {

// Which of the commands a download disables are not as `enabled` says.
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

} // namespace

class TestDownload : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { qunsetenv("GLIMMERON_PORT_1"); }

    // Values go out as they stand; an open list holds nothing up; a signal waits for the end.
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
        QSet<QString> lines; // line settings while the port is open
        QStringList restricted;
        bool edited = false, listOpened = false;
        QTimer sampler; // watches every few milliseconds while the bar shows
        QObject::connect(&sampler, &QTimer::timeout, [&] {
            const qsizetype sent = pty.bytes().size();
            if (t.ui().ProgressBar1->isHidden())
                return;
            lines << pty.lineSettings();
            restricted << commandsNotEnabled(t.ui(), false);
            if (!t.ui().DLlabel->isVisible() || t.ui().Settings_button->isVisible())
                restricted << "notice";
            if (sent >= 12 && !std::exchange(listOpened, true))
                QTimer::singleShot(0, [&] { t.window->rows()->chooseColour(3); });
            if (edited || sent < 33)
                return;
            // Record 11 (slot 9) is out: slot 5 is sent already, slots 40 and 41 are not.
            edited = true;
            answerList(t.window->rows()->colourList(), 3);
            for (auto [led, slot] :
                 {std::pair{0, 5}, {2, 5}, {3, 5}, {0, 40}, {2, 40}, {3, 40}, {1, 41}, {3, 41}})
                doc.session().clickCell(led, slot, true); // 13 and 10: CR and LF
            ::raise(SIGTERM); // a logout, like Exit and the close box, waits for the last record
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
            // Never faster than the pace; a busy machine may add tens of ms, never a second.
            QVERIFY2(gap >= (r == 1 ? 550.0 : 50.0) && gap < 1000,
                     qPrintable(QStringLiteral("record %1: %2 ms").arg(r + 1).arg(gap)));
        }
        QCOMPARE(doc.colourIndex(3), 3); // the list was open and got its click
        const auto box = t.platform.messageBoxes.value(0);
        QVERIFY(box.prompt.startsWith("\r 1) Cycle power/Connect Glimmeron to programming cable"));
        QCOMPARE(box.title, "Download to GLIMMERON  -  Programmable LED Sequencer/Flasher...");
        QCOMPARE(restricted, QStringList());
        QCOMPARE(lines, QSet<QString>{"2400,n,8,1"});
        QCOMPARE(commandsNotEnabled(t.ui(), true), QStringList());
        QVERIFY(t.ui().Settings_button->isVisible() && t.ui().DLlabel->isHidden());
        QVERIFY(t.ui().DownloadStatus->text().startsWith(
            QStringLiteral("Downloaded 171 bytes to the GLIMMERON on port 1 (%1) at ")
                .arg(pty.deviceName())));
    }

    // Unusable ports and a pulled cable are reported and named; Cancel sends nothing.
    void portProblemsAreReported_data()
    {
        QTest::addColumn<int>("port");
        QTest::addColumn<QByteArray>("device"); // "pty": a pty whose far side goes away
        QTest::addColumn<QList<SerialPortEntry>>("found");
        QTest::addColumn<QStringList>("expected");
        // Adapters first, then the others with their digits by value.
        const QList<SerialPortEntry> two{
            {"/dev/ttyS10", ""}, {"/dev/ttyUSB9", "FT232R USB UART"}, {"/dev/ttyS2", "16550A"}};
        QTest::newRow("missing device")
            << 1 << QByteArray("/dev/glimmeron-no-such-port") << two
            << QStringList{"Serial port 1 (/dev/glimmeron-no-such-port)", "no such device",
                           "Nothing was sent", "2: /dev/ttyS2 - 16550A, 3: /dev/ttyS10"};
        QTest::newRow("port 20, beyond the ports found")
            << 20 << QByteArray() << two
            << QStringList{"No serial port has number 20.", "1: /dev/ttyUSB9 - FT232R USB UART"};
        QTest::newRow("no port at all") << 1 << QByteArray() << QList<SerialPortEntry>{}
                                        << QStringList{"plug in the programming cable"};
        QTest::newRow("pulled cable")
            << 1 << QByteArray("pty") << two << QStringList{"download is incomplete", "/dev/pts/"};
        QTest::newRow("in use") << 1 << QByteArray("held") << two
                                << QStringList{"(/dev/pts/", "in use by another program"};
        QTest::newRow("cancelled") << 1 << QByteArray("pty") << two << QStringList{"Cycle power"};
    }

    void portProblemsAreReported()
    {
        QFETCH(int, port);
        QFETCH(QByteArray, device);
        QFETCH(QList<SerialPortEntry>, found);
        QFETCH(QStringList, expected);
        PtyCapture pty(12); // four records, then the other side goes away
        qputenv("GLIMMERON_PORT_1",
                device == "pty" || device == "held" ? pty.deviceName().toLocal8Bit() : device);
        QtSerialLink holder; // another program has the port
        QString error;
        QVERIFY(device != "held" || holder.open(pty.deviceName(), &error));
        SequenceDocument doc;
        ScriptedPlatform platform;
        platform.ports = found;
        if (QTest::currentDataTag() != QLatin1String("cancelled"))
            platform.answers << Platform::Answer::Ok;
        Download download(doc, platform);
        QSignalSpy status(&download, &Download::statusChanged);
        QElapsedTimer clock;
        clock.start();
        download.start(port);
        QTRY_VERIFY_WITH_TIMEOUT(!download.busy(), 15000);
        QVERIFY2(clock.elapsed() < 3000, "stopped before the full 3.3 s");
        const QString prompt = platform.messageBoxes.last().prompt;
        for (const QString& part : expected)
            QVERIFY2(prompt.contains(part), qPrintable(prompt));
        const bool cancelled = expected[0] == "Cycle power";
        QCOMPARE(status.isEmpty() ? prompt : status.last().value(0).toString(), prompt);
        QCOMPARE(pty.bytes().isEmpty(), device != "pty" || cancelled);
        QVERIFY(!prompt.contains("dialout"));
    }
};

QTEST_MAIN(TestDownload)
#include "tst_download.moc"
