// The real program in an X server of its own, by keys and real dialogs; waits are generous.
#include "files/sequenceload.h"
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

// Keys separated by blanks.
void press(const QString& window, const QString& keys)
{
    xdotool(QStringList{"windowfocus", "--sync", window, "key", "--clearmodifiers"} +
            keys.split(' '));
}

// Presses `key` until a window titled `title` opens: a busy window may miss a key, and on a
// loaded machine a dialog may take many seconds to show, so each press has the full wait.
QString openWindow(const QString& window, const QString& key, const QString& title)
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        press(window, key);
        if (const QString opened = findWindow(title); !opened.isEmpty())
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
        if (QTest::qWaitFor(closed, kPatienceMs))
            return true;
    }
    return false;
}

// The X server's clipboard as another program reads it and sets it: `owner` keeps the
// text until another takes the clipboard.
QString clipboardText()
{
    return QString::fromUtf8(runTool({"xclip", "-sel", "clip", "-o"}, 10));
}

void setClipboard(QProcess& owner, const QByteArray& text)
{
    owner.setProcessEnvironment(g_env);
    owner.start("xclip", {"-quiet", "-sel", "clip", "-i"});
    owner.write(text);
    owner.closeWriteChannel();
}

} // namespace

class TestEndToEnd : public QObject
{
    Q_OBJECT
    QProcess m_xvfb;
    QTemporaryDir m_dir;
    QProcess m_program; // killed on the way out, should a check fail

    // The editor in the X server with `port` as its port 1; its main window's id.
    QString startProgram(const QString& port = {})
    {
        QProcessEnvironment env = g_env;
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.insert("GLIMMERON_PORT_1", port);
        env.remove("QT_QPA_PLATFORMTHEME");
        m_program.setProcessEnvironment(env);
        m_program.setWorkingDirectory(m_dir.path());
        m_program.setProcessChannelMode(QProcess::ForwardedOutputChannel);
        m_program.start(QStringLiteral(GLIMMERON_PROGRAM), {});
        return findWindow(kMain + " - Rev4$");
    }

    void quitProgram(const QString& window)
    {
        press(openWindow(window, "ctrl+q", "^GLIMMERON$"), "Return");
        QTRY_COMPARE_WITH_TIMEOUT(m_program.state(), QProcess::NotRunning, kPatienceMs);
        QCOMPARE(m_program.exitCode(), 0);
    }

private Q_SLOTS:
    void initTestCase()
    {
        for (const char* tool : {"Xvfb", "xdotool", "xclip"})
            if (QStandardPaths::findExecutable(tool).isEmpty())
                QSKIP(qPrintable(QStringLiteral("%1 is not installed").arg(tool)));
        // A display number of its own: two suites on one machine never meet.
        m_xvfb.start("Xvfb",
                     {"-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"});
        QTRY_VERIFY_WITH_TIMEOUT(m_xvfb.canReadLine(), kPatienceMs);
        g_env.insert("DISPLAY", ':' + QString::fromLatin1(m_xvfb.readLine()).trimmed());
        QVERIFY(writeFile(m_dir.filePath("LED.cfg"), "1\r\n"));
    }

    void openSaveDownloadAndLogOut()
    {
        PtyCapture pty(171 + 33); // the cable comes out 10 records into a second download
        const QString window = startProgram(pty.deviceName());
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

        const QString saved = m_dir.filePath("E2E.DAT");
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
        m_program.terminate();
        QTRY_COMPARE_WITH_TIMEOUT(m_program.state(), QProcess::NotRunning, kPatienceMs);
        QCOMPARE(m_program.exitCode(), 0);
        QVERIFY(m_program.readAllStandardError().contains("The download to the GLIMMERON on "
                                                          "serial port 1 (/dev/pts/"));
    }

    // Events through the system clipboard: a copy another program reads as text, and a paste
    // of the text another program put there.
    void editEventsThroughTheClipboard()
    {
        const QString window = startProgram();
        press(window,
              "space Right Down space Right Down space Home shift+Right shift+Right ctrl+c");
        QTRY_COMPARE_WITH_TIMEOUT(clipboardText(),
                                  "LED 1  #..\nLED 2  .#.\nLED 3  ..#\nLED 4  ...\n", kPatienceMs);
        QProcess other;
        const QString foreign = "LED 1  #.#\nLED 2  ...\nLED 3  ...\nLED 4  .#.\n";
        setClipboard(other, foreign.toUtf8());
        QTRY_COMPARE_WITH_TIMEOUT(clipboardText(), foreign, kPatienceMs);
        press(window, "Home " + QStringList(20, "Right").join(' ') + " ctrl+v");
        const QString saved = m_dir.filePath("EVENTS.DAT");
        QVERIFY(chooseFile(openWindow(window, "ctrl+s", "^Save GLIMMERON"), saved));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(saved), kPatienceMs);
        std::array<int, 50> events{1, 2, 4};
        events[20] = events[22] = 1;
        events[21] = 8;
        QCOMPARE(loadSequenceFile(saved).data.value_or(SequenceData{}).events, events);
        quitProgram(window);
    }
};

QTEST_GUILESS_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
