#include "app/commandline.h"
#include "ptycapture.h"
#include "testwindow.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray dataFile(const QList<int>& events, const QList<int>& rest)
{
    QByteArray bytes;
    for (int i = 0; i < 50; ++i)
        bytes += '"' + QByteArray::number(events.value(i)) + "\"\r\n";
    for (int v : rest)
        bytes += QByteArray::number(v) + "\r\n";
    return bytes;
}

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { qunsetenv("GLIMMERON_PORT_1"); }

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
            << QStringList{"--stream", "@"}
            << dataFile({5, 2, 15}, {1, 7, 7, 7, 0, 0, 0, 0, 2, 0, 1, 15, 15, 30, 20}) << 0
            << streamOf("2a05020f" + zeros + "00010f0f1e02") << QString();
        QTest::newRow("stream, download example")
            << QStringList{"--stream", "@"}
            << dataFile({1, 2, 3}, {7, 7, 7, 7, 0, 0, 0, 0, 2, 15, 3, 0, 15, 30, 20}) << 0
            << streamOf("2a010203" + zeros + "0f03000f1e02") << QString();
        QTest::newRow("stream, refused file")
            << QStringList{"--stream", "@"} << QByteArray("\"1\"\r\n\"99\"\r\n") << 2
            << QByteArray() << "Record 2: ";
        QTest::newRow("list ports")
            << QStringList{"--list-ports"} << QByteArray() << 0
            << QByteArray("1 /dev/ttyUSB0 FT232R USB UART\n2 /dev/ttyS0\n") << QString();
        QTest::newRow("download, no device")
            << QStringList{"--download", "@", "--port", "3", "--yes"}
            << dataFile({}, {7, 7, 7, 7, 0, 0, 0, 0, 49, 15, 15, 15, 15, 30, 20}) << 1
            << QByteArray() << "No serial port has number 3.";
        QTest::newRow("download, refused file")
            << QStringList{"--download", "@", "--yes"} << QByteArray("junk") << 2 << QByteArray()
            << "not a valid sequence data file";
        QTest::newRow("bad port") << QStringList{"--download", "@", "--port", "21"} << QByteArray()
                                  << 2 << QByteArray() << "must be 1 to 20";
    }

    void commands()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, file);
        QFETCH(int, status);
        QFETCH(QByteArray, out);
        QFETCH(QString, err);
        QTemporaryDir dir;
        const QString path = dir.filePath("SEQ.DAT");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(file);
        f.close();
        arguments.replaceInStrings("@", path);
        arguments.prepend("glimmeron");

        ScriptedPlatform platform;
        platform.ports = {{"/dev/ttyS0", ""}, {"/dev/ttyUSB0", "FT232R USB UART"}};
        QBuffer stdOut, stdErr;
        stdOut.open(QIODevice::WriteOnly);
        stdErr.open(QIODevice::WriteOnly);
        Console console{stdOut, stdErr, false, nullptr};
        QCOMPARE(
            runCommand(parseCommandLine(arguments), platform, dir.filePath("LED.cfg"), console),
            status);
        if (!out.isEmpty())
            QCOMPARE(stdOut.data(), out);
        QVERIFY2(stdErr.data().contains(err.toLocal8Bit()), stdErr.data().constData());
    }

    void downloadSendsTheFileAtThePace()
    {
        PtyCapture pty;
        qputenv("GLIMMERON_PORT_2", pty.deviceName().toLocal8Bit());
        QTemporaryDir dir;
        QFile f(dir.filePath("SEQ.DAT"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(dataFile({13, 10}, {7, 7, 7, 7, 0, 0, 0, 0, 1, 15, 15, 15, 15, 100, 20}));
        f.close();
        QFile cfg(dir.filePath("LED.cfg")); // the port comes from LED.cfg
        QVERIFY(cfg.open(QIODevice::WriteOnly));
        cfg.write("2\r\n");
        cfg.close();

        ScriptedPlatform platform;
        QBuffer stdOut, stdErr;
        stdOut.open(QIODevice::WriteOnly);
        stdErr.open(QIODevice::WriteOnly);
        bool asked = false;
        Console console{stdOut, stdErr, false, [&] { asked = true; }};
        const int status = runCommand(parseCommandLine({"glimmeron", "--download", f.fileName()}),
                                      platform, cfg.fileName(), console);
        qunsetenv("GLIMMERON_PORT_2");
        QCOMPARE(status, 0);
        QVERIFY(asked); // no --yes: it waited for Enter
        QVERIFY(pty.waitForBytes(171, 2000));
        QCOMPARE(pty.bytes(), streamOf("2a0d0a" + QByteArray(96, '0') + "0f0f0f0f6401"));
        QVERIFY(stdOut.data().startsWith("Downloaded 171 bytes to the GLIMMERON on port 2 (" +
                                         pty.deviceName().toLocal8Bit() + ") at "));
        QVERIFY(stdErr.data().contains("Cycle power"));
        QVERIFY(stdErr.data().contains("Sent 50 of 57 records\nSent 57 of 57 records\n"));
        const auto& writes = platform.serialWrites;
        QCOMPARE(writes.size(), 57);
        for (qsizetype r = 2; r < writes.size(); ++r)
            QVERIFY(writes[r] - writes[r - 1] >= std::chrono::milliseconds(50));
    }

    void fileArgumentOpensTheWindowWithIt()
    {
        const CommandLine command = parseCommandLine({"glimmeron", "A.DAT"});
        QCOMPARE(command.action, CommandLine::Action::Window);
        QCOMPARE(command.file, QStringLiteral("A.DAT"));
        QCOMPARE(parseCommandLine({"glimmeron", "A.DAT", "B.DAT"}).action,
                 CommandLine::Action::UsageError);
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
