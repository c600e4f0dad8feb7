// The real program in an X server of its own, by keys and real dialogs; waits are generous.
#include "ptycapture.h"
#include "testwindow.h"

#include <QDeadlineTimer>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

namespace {

constexpr int kPatienceMs = 30000;
const QString kMain = QStringLiteral("^GLIMMERON  -  Programmable LED Sequencer/Flasher");
QProcessEnvironment g_env = QProcessEnvironment::systemEnvironment();

QByteArray runTool(const QStringList& command, int seconds = kPatienceMs / 1000)
{
    QProcess p;
    p.setProcessEnvironment(g_env);
    p.start("timeout", QStringList{QString::number(seconds)} + command);
    p.waitForFinished(seconds * 1000 + 5000);
    return p.readAllStandardOutput();
}

QString xdotool(const QStringList& args, int seconds = kPatienceMs / 1000)
{
    return QString::fromLocal8Bit(runTool(QStringList{"xdotool"} + args, seconds)).trimmed();
}

// The visible window whose title matches `pattern`, or empty after `seconds`. A search
// gives up early when a window vanishes under it (a closing dialog), so it searches again.
QString findWindow(const QString& pattern, int seconds = kPatienceMs / 1000)
{
    QDeadlineTimer deadline(seconds * 1000);
    for (;;) {
        const int left = int(deadline.remainingTime() / 1000);
        const QString found =
            xdotool({"search", "--sync", "--onlyvisible", "--name", pattern}, qMax(left, 1));
        if (!found.isEmpty() || left < 1)
            return found.section('\n', 0, 0);
    }
}

void press(const QString& window, const QString& key)
{
    xdotool({"windowfocus", "--sync", window, "key", "--clearmodifiers", key});
}

// Presses `key` until a window titled `title` opens: a busy window may miss a key.
QString openWindow(const QString& window, const QString& key, const QString& title)
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        press(window, key);
        if (const QString opened = findWindow(title, 10); !opened.isEmpty())
            return opened;
    }
    return {};
}

// Answers a file dialog with `path`, typing it again while the dialog stays open.
bool chooseFile(const QString& dialog, const QString& path)
{
    // The main window stays, so an empty list is a search that gave up, not a closed dialog.
    auto closed = [&] {
        const QString shown = xdotool({"search", "--onlyvisible", "--name", ".*"});
        return !shown.isEmpty() && !shown.split('\n').contains(dialog);
    };
    for (int attempt = 0; attempt < 3 && !dialog.isEmpty(); ++attempt) {
        press(dialog, "ctrl+a");
        xdotool({"type", "--delay", "5", path});
        press(dialog, "Return");
        if (QTest::qWaitFor(closed, 10000))
            return true;
    }
    return false;
}

} // namespace

class TestEndToEnd : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void openSaveDownloadAndLogOut()
    {
        for (const char* tool : {"Xvfb", "xdotool", "xclip"})
            if (QStandardPaths::findExecutable(tool).isEmpty())
                QSKIP(qPrintable(QStringLiteral("%1 is not installed").arg(tool)));
        // A display number of its own: two suites on one machine never meet.
        QProcess xvfb;
        xvfb.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"});
        QTRY_VERIFY_WITH_TIMEOUT(xvfb.canReadLine(), kPatienceMs);
        g_env.insert("DISPLAY", ':' + QString::fromLatin1(xvfb.readLine()).trimmed());
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath("LED.cfg"), "1\r\n"));
        PtyCapture pty(171 + 33); // the cable comes out 10 records into a second download
        QProcessEnvironment env = g_env;
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.insert("GLIMMERON_PORT_1", pty.deviceName());
        env.remove("QT_QPA_PLATFORMTHEME");
        QProcess program; // killed on the way out, should a check fail
        program.setProcessEnvironment(env);
        program.setWorkingDirectory(dir.path());
        program.setProcessChannelMode(QProcess::ForwardedOutputChannel);
        program.start(QStringLiteral(GLIMMERON_PROGRAM), {});

        const QString window = findWindow(kMain + " - Rev4$");
        QVERIFY2(!window.isEmpty(), "the main window did not appear");
        const QString example = goldenPath("worked-example.dat");
        QVERIFY(
            chooseFile(openWindow(window, "ctrl+o", "^Open GLIMMERON Programmable LED"), example));
        QVERIFY2(!findWindow(kMain + " - worked-example.dat$").isEmpty(), "the file did not open");
        // The window's class is the one its desktop entry names; Copy Picture gives a PNG.
        const QByteArray entry = readFile(GLIMMERON_DESKTOP_ENTRY);
        const QString wmClass = entry.mid(entry.indexOf("\nStartupWMClass=") + 16).split('\n')[0];
        QVERIFY(xdotool({"search", "--class", '^' + wmClass + '$'}).split('\n').contains(window));
        press(window, "ctrl+shift+c");
        QImage copied;
        QTRY_VERIFY_WITH_TIMEOUT(
            copied.loadFromData(runTool({"xclip", "-sel", "clip", "-t", "image/png", "-o"}, 10)),
            kPatienceMs);
        QVERIFY(copied.width() >= 600);

        const QString saved = dir.filePath("E2E.DAT");
        QVERIFY(
            chooseFile(openWindow(window, "ctrl+s", "^Save GLIMMERON Programmable LED"), saved));
        QTRY_COMPARE_WITH_TIMEOUT(readFile(saved), readFile(example), kPatienceMs);

        press(openWindow(window, "alt+d", "^Download to GLIMMERON"), "Return");
        QVERIFY(pty.waitForBytes(171, kPatienceMs));
        QCOMPARE(pty.bytes(), streamOf("2a05020f" + QByteArray(94, '0') + "00010f0f1e02"));

        // A logout during a download that then fails: said on standard error, and the
        // program ends with no box to wait on.
        press(openWindow(window, "alt+d", "^Download to GLIMMERON"), "Return");
        QVERIFY(pty.waitForBytes(171 + 3, kPatienceMs));
        program.terminate();
        QTRY_COMPARE_WITH_TIMEOUT(program.state(), QProcess::NotRunning, kPatienceMs);
        QCOMPARE(program.exitCode(), 0);
        QVERIFY(program.readAllStandardError().contains("The download to the GLIMMERON on "
                                                        "serial port 1 (/dev/pts/"));
    }
};

QTEST_GUILESS_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
