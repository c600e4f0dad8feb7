// The command line, on the built program with its real standard output and standard error.
#include "ptycapture.h"
#include "testwindow.h"

#include <QProcess>
#include <QTest>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The built program in a folder of its own that holds SEQ.DAT, the same under a name that
// is not UTF-8 ("\0377.DAT": the arguments pass through printf %b) and an LED.cfg on
// port 2. No display is reachable. ">/dev/full" or ">&-" among the arguments sets its
// standard output.
struct Program
{
    explicit Program(const QByteArray& file = golden("worked-example.dat"))
    {
        writeFile(dir.filePath("SEQ.DAT"), file);
        writeFile(dir.filePath("LED.cfg"), "2\r\n");
        [[maybe_unused]] const int linked =
            ::symlink("SEQ.DAT", QFile::encodeName(dir.path()) + "/\377.DAT");
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            env.remove(name);
        env.insert("GLIMMERON_PORT_20", "/dev/null");
        process.setWorkingDirectory(dir.path());
    }

    ~Program() { ::unlink(QFile::encodeName(dir.path()) + "/\377.DAT"); } // beyond QDir

    // `setup` is a shell command run first, in the folder.
    void start(QStringList arguments, const QString& setup = {})
    {
        arguments.removeAll("");
        if (arguments.removeAll(">&-"))
            process.setChildProcessModifier([] { ::close(1); });
        if (arguments.removeAll(">/dev/full"))
            process.setStandardOutputFile("/dev/full");
        process.setProcessEnvironment(env);
        process.start("sh",
                      QStringList{"-c",
                                  setup + "\nfor a; do set -- \"$@\" \"$(printf %b \"$a\")\"; "
                                          "shift; done; exec \"$0\" \"$@\"",
                                  GLIMMERON_PROGRAM} +
                          arguments);
    }

    QTemporaryDir dir;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QProcess process;
};

// What `path` is: "file", "folder", "other" (a FIFO, a device) or "nothing", after
// "link to " when it is a link.
QByteArray kindOf(const QString& path)
{
    const QFileInfo info(path);
    const QByteArray kind = info.isDir()    ? "folder"
                            : info.isFile() ? "file"
                                            : (info.exists() ? "other" : "nothing");
    return info.isSymLink() ? "link to " + kind : kind;
}

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // `made` is a shell command run first; `out` is a part of standard output, or what OUT
    // is afterwards.
    void commands_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("made");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QString>("err"); // a part of what standard error says
        const QByteArray none;
        const QString noError, failed = "glimmeron: writing to standard output failed: ";
        auto add = [](const char* name, const QString& arguments, const QString& made, int status,
                      const QByteArray& out, const QString& err) {
            QTest::newRow(name) << arguments.split(' ') << made << status << out << err;
        };
        add("stream", "--stream SEQ.DAT", "", 0,
            streamOf("2a05020f" + QByteArray(94, '0') + "00010f0f1e02"), noError);
        add("stream, name not UTF-8", "--stream \\0377.DAT", "", 2, none,
            ".DAT could not be read: the name is not valid UTF-8; rename it.");
        add("stream, output closed", "--stream SEQ.DAT >&-", "", 1, none, failed + "Bad file");
        add("stream, reader gone", "--stream SEQ.DAT", "mkfifo P; exec 3<>P >P 3<&-", 1, none,
            failed + "Broken pipe");
        add("ports", "--list-ports", "", 0, "\n20 /dev/null set by GLIMMERON_PORT_20\n", noError);
        for (const char* printing : {"--stream SEQ.DAT", "--list-ports", "--help", "-v"})
            add(printing, printing + QStringLiteral(" >/dev/full"), "", 1, none,
                failed + "No space");
        add("stream and download", "--stream SEQ.DAT --download SEQ.DAT", "", 2, none,
            "--stream and --download cannot be used together.\nUsage: glimmeron [options]");
        add("stream twice", "--stream SEQ.DAT --stream SEQ.DAT", "", 2, none,
            "--stream is given more than once.");
        add("port twice", "--download SEQ.DAT --port 3 --port 4", "", 2, none, "--port is given");
        add("bad port", "--download SEQ.DAT --port 21", "", 2, none, "must be 1 to 20");
        add("port 0", "--download SEQ.DAT --port 0", "", 2, none, "must be 1 to 20, not \"0\"");
        add("no device", "--download SEQ.DAT --port 19 --yes", "", 1, none, "number 19.");
        add("yes with stream", "--stream SEQ.DAT --yes", "", 2, none, "--yes goes with --download");
        add("export, no OUT", "--export-gif SEQ.DAT", "", 2, none, "--export-gif needs the file");
        const QString refused = "OUT could not be written: it is a ";
        add("onto a FIFO", "--export-png SEQ.DAT OUT", "mkfifo OUT", 1, "other",
            refused + "named pipe");
        add("onto a link to a FIFO", "--export-gif SEQ.DAT OUT", "mkfifo F; ln -s F OUT", 1,
            "link to other", refused + "named pipe");
        add("onto a folder", "--export-png SEQ.DAT OUT", "mkdir OUT", 1, "folder",
            refused + "folder");
        add("onto a device", "--export-png SEQ.DAT OUT", "mknod OUT c 1 3", 1, "other",
            refused + "device");
        add("onto its own input", "--export-gif OUT OUT", "cp SEQ.DAT OUT", 2, "file",
            "OUT is the sequence file itself; name another");
        add("onto a name not UTF-8", "--export-png SEQ.DAT \\0377", "", 1, none,
            "could not be written: the name is not valid UTF-8, and files are written under UTF-8 "
            "names only; choose another name");
        add("onto a link loop", "--export-png SEQ.DAT OUT", "ln -s B OUT; ln -s OUT B", 1,
            "link to nothing", refused.chopped(8) + "Too many levels of symbolic links");
        add("onto an empty name", "--export-gif SEQ.DAT \\c", "", 1, none,
            "an empty name could not be written: No such file or directory");
        add("extra argument", "SEQ.DAT \\0377.DAT", "", 2, none,
            "Unexpected argument: \uFFFD.DAT\nUsage");
        add("port name not UTF-8", "--download SEQ.DAT --port 3 --yes",
            "export GLIMMERON_PORT_3=\"$(printf '\\377')\"", 1, none,
            "the device's name is not valid UTF-8");
        add("no display", "SEQ.DAT", "", 1, none,
            "glimmeron: the editor needs a display, and none could be opened (could not connect "
            "to display). These work without one: --stream, --download, --list-ports, "
            "--export-png");
    }

    void commands()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, made);
        QFETCH(int, status);
        QFETCH(QByteArray, out);
        QFETCH(QString, err);
        Program program;
        if (made.startsWith("mknod") && ::getuid() != 0)
            QSKIP("Only root makes device nodes");
        program.start(arguments, made);
        QVERIFY(program.process.waitForFinished(30000));
        const QByteArray gotErr = program.process.readAllStandardError();
        QCOMPARE(program.process.exitCode(), status);
        if (arguments.contains("OUT"))
            QCOMPARE(kindOf(program.dir.filePath("OUT")), out);
        else
            QVERIFY(program.process.readAllStandardOutput().contains(out));
        // The part expected; the one line, when it names the program.
        QVERIFY2(err.startsWith("glimmeron: ")
                     ? gotErr.startsWith(err.toLocal8Bit()) && gotErr.count('\n') == 1
                     : gotErr.contains(err.toLocal8Bit()),
                 gotErr.constData());
    }

    // On a terminal Enter downloads (13 and 10 raw), the end of input cancels and SIGTERM
    // stops it; the line settings come back. The last line goes to standard output. On a
    // terminal the progress is one line drawn over; with --yes nothing asks.
    void downloadFromTheCommandLine_data()
    {
        QTest::addColumn<QByteArray>("keys");
        QTest::addColumn<QString>("out"); // an argument, or 2>tty: standard error on the terminal
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("err");
        const QString asked = "3) Then press Enter to start, Ctrl+C to cancel.\n";
        QTest::newRow("Enter") << QByteArray("\n") << "" << 0
                               << asked + "Sent 10 of 57 records\nSent 20";
        QTest::newRow("Enter, full disk")
            << QByteArray("\n") << ">/dev/full" << 1 << "writing to standard output failed";
        QTest::newRow("end of input") << QByteArray("\x04") << "" << 1 << "Cancelled: nothing was";
        QTest::newRow("SIGTERM") << QByteArray("\n") << "" << 143 << "Interrupted after ";
        QTest::newRow("--yes") << QByteArray() << "--yes" << 0 << "Sent 10 of 57 records\nSent 20";
        QTest::newRow("--quiet") << QByteArray("\n") << "--quiet" << 0 << asked;
        QTest::newRow("progress on a terminal")
            << QByteArray("\n") << "2>tty" << 0 << "] 56/57\r[" + QString(40, '#') + "] 57/57\n";
    }

    void downloadFromTheCommandLine()
    {
        QFETCH(QByteArray, keys);
        QFETCH(QString, out);
        QFETCH(int, status);
        QFETCH(QString, err);
        PtyCapture port, terminal;
        const QString before = port.lineSettings();
        Program program(golden("start-up.dat", {{1, "13"}, {2, "10"}, {64, "100"}}));
        program.env.insert("GLIMMERON_PORT_2", port.deviceName());
        if (out != "--yes")
            program.process.setStandardInputFile(terminal.deviceName());
        if (out == "2>tty")
            program.process.setStandardErrorFile(terminal.deviceName());
        program.start({"--download", "SEQ.DAT", out == "2>tty" ? "" : out});
        terminal.send(keys);
        if (status == 143 && port.waitForBytes(12, 30000))
            program.process.terminate();
        QVERIFY(program.process.waitForFinished(30000));
        const QByteArray gotErr = out == "2>tty" ? terminal.bytes().replace("\r\n", "\n")
                                                 : program.process.readAllStandardError();
        QCOMPARE(program.process.exitCode(), status);
        QVERIFY2(out == "--quiet" ? gotErr.endsWith(err.toLocal8Bit())
                                  : gotErr.contains(err.toLocal8Bit()),
                 gotErr.constData());
        // One line for the whole download, on a terminal; nothing to press with --yes.
        QVERIFY2(gotErr.count('\n') < 12 && !gotErr.contains("OK"), gotErr.constData());
        QCOMPARE(port.lineSettings(), before);
        if (status == 143 || keys == "\x04") {
            QVERIFY(port.bytes().size() < (status == 143 ? 171 : 1));
            return;
        }
        QCOMPARE(port.bytes(), streamOf("2a0d0a" + QByteArray(96, '0') + "0f0f0f0f6431"));
        if (!out.startsWith('>'))
            QVERIFY(program.process.readAllStandardOutput().startsWith(
                "Downloaded 171 bytes to the GLIMMERON on port 2 ("));
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
