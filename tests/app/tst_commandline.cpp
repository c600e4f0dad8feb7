#include "app/commandline.h"
#include "ptycapture.h"
#include "testwindow.h"

#include <QBuffer>
#include <QTest>

namespace {

struct Run
{
    int status;
    QByteArray out, err;
    bool askedForEnter = false;
};

// Runs the command line with "@" standing for a data file holding `file`, and an
// LED.cfg that names port 2.
Run run(QStringList arguments, const QByteArray& file, ScriptedPlatform& platform)
{
    QTemporaryDir dir;
    writeFile(dir.filePath("SEQ.DAT"), file);
    writeFile(dir.filePath("LED.cfg"), "2\r\n");
    arguments.replaceInStrings("@", dir.filePath("SEQ.DAT")).prepend("glimmeron");
    QBuffer out, err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    Run result{};
    Console console{out, err, false, [&] { result.askedForEnter = true; }};
    result.status =
        runCommand(parseCommandLine(arguments), platform, dir.filePath("LED.cfg"), console);
    result.out = out.data();
    result.err = err.data();
    return result;
}

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void commands_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("out"); // compared whole where not empty
        QTest::addColumn<QString>("err");    // a part of what standard error says
        const QByteArray zeros(94, '0');
        // The data-file worked example, and the download worked example as a file.
        QTest::newRow("stream, file example")
            << QStringList{"--stream", "@"} << golden("worked-example.dat") << 0
            << streamOf("2a05020f" + zeros + "00010f0f1e02") << QString();
        QTest::newRow("stream, download example")
            << QStringList{"--stream", "@"}
            << golden("start-up.dat",
                      {{1, "1"}, {2, "2"}, {3, "3"}, {59, "2"}, {61, "3"}, {62, "0"}})
            << 0 << streamOf("2a010203" + zeros + "0f03000f1e02") << QString();
        QTest::newRow("stream, refused file")
            << QStringList{"--stream", "@"} << QByteArray("\"1\"\r\n\"99\"\r\n") << 2
            << QByteArray() << "Record 2: ";
        QTest::newRow("list ports")
            << QStringList{"--list-ports"} << QByteArray() << 0
            << QByteArray("1 /dev/ttyUSB0 FT232R USB UART\n2 /dev/ttyS0\n") << QString();
        QTest::newRow("download, no device")
            << QStringList{"--download", "@", "--port", "3", "--yes"} << golden("start-up.dat") << 1
            << QByteArray() << "No serial port has number 3.";
        QTest::newRow("download, refused file")
            << QStringList{"--download", "@", "--yes"} << QByteArray("junk") << 2 << QByteArray()
            << "not a valid sequence data file";
        QTest::newRow("bad port") << QStringList{"--download", "@", "--port", "21"} << QByteArray()
                                  << 2 << QByteArray() << "must be 1 to 20";
        QTest::newRow("two files") << QStringList{"A.DAT", "B.DAT"} << QByteArray() << 2
                                   << QByteArray() << "Unexpected argument: A.DAT";
    }

    void commands()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, file);
        QFETCH(int, status);
        QFETCH(QByteArray, out);
        QFETCH(QString, err);
        ScriptedPlatform platform;
        platform.ports = {{"/dev/ttyS0", ""}, {"/dev/ttyUSB0", "FT232R USB UART"}};
        const Run result = run(arguments, file, platform);
        QCOMPARE(result.status, status);
        if (!out.isEmpty())
            QCOMPARE(result.out, out);
        QVERIFY2(result.err.contains(err.toLocal8Bit()), result.err.constData());
    }

    // Without --yes it waits for Enter; event values 13 and 10 go out raw.
    void downloadSendsTheFileToTheConfiguredPort()
    {
        PtyCapture pty;
        qputenv("GLIMMERON_PORT_2", pty.deviceName().toLocal8Bit());
        ScriptedPlatform platform;
        const Run result =
            run({"--download", "@"},
                golden("start-up.dat", {{1, "13"}, {2, "10"}, {59, "1"}, {64, "100"}}), platform);
        qunsetenv("GLIMMERON_PORT_2");
        QVERIFY(result.status == 0 && result.askedForEnter);
        QVERIFY(pty.waitForBytes(171, 2000));
        QCOMPARE(pty.bytes(), streamOf("2a0d0a" + QByteArray(96, '0') + "0f0f0f0f6401"));
        QVERIFY(result.out.startsWith("Downloaded 171 bytes to the GLIMMERON on port 2 (" +
                                      pty.deviceName().toLocal8Bit() + ") at "));
        QVERIFY(result.err.contains("Cycle power"));
        QVERIFY(result.err.contains("Sent 50 of 57 records\nSent 57 of 57 records\n"));
        QCOMPARE(platform.serialWrites.size(), 57);
    }

    void fileArgumentOpensTheWindowWithIt()
    {
        const CommandLine command = parseCommandLine({"glimmeron", "A.DAT"});
        QCOMPARE(command.action, CommandLine::Action::Window);
        QCOMPARE(command.file, QStringLiteral("A.DAT"));
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
