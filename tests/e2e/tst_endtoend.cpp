// Drives the real program in a real X server, only as a user would: pointer and keys.
// Every wait polls for what it needs with a generous timeout: CI machines are busy.
#include "ptycapture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int kPatienceMs = 30000;
QString xdotool(const QStringList& args)
{
    QProcess p;
    p.start("timeout", QStringList{QString::number(kPatienceMs / 1000), "xdotool"} + args);
    p.waitForFinished(kPatienceMs + 5000);
    return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
}

// The id of the visible window whose title matches `pattern`, once it has appeared.
QString waitForWindow(const QString& pattern)
{
    return xdotool({"search", "--sync", "--onlyvisible", "--name", pattern}).split('\n').value(0);
}

void keys(const QString& window, const QStringList& sequence)
{
    xdotool({"windowfocus", "--sync", window});
    for (const QString& key : sequence)
        xdotool({"key", "--clearmodifiers", key});
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestEndToEnd : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QProcess m_program;
    QString m_window;
    QPoint m_client; // top-left of the client area on the screen
    PtyCapture m_pty;

    void click(QPoint at, int count = 1)
    {
        xdotool({"mousemove", "--sync", QString::number(at.x()), QString::number(at.y())});
        xdotool({"click", "--repeat", QString::number(count), "--delay", "80", "1"});
    }
    QPoint cell(int led, int slot) const
    {
        return m_client + QPoint(192 + 12 * slot + 6, 36 + 36 * (led - 1) + 10);
    }
    // Answers a file dialog titled `title` with `path`. A dialog still busy opening may
    // miss what is typed: then it is still there, and the name is typed again.
    void chooseFile(const QString& title, const QString& path)
    {
        const QString dialog = waitForWindow(title);
        QVERIFY2(!dialog.isEmpty(), qPrintable(title + " did not open"));
        auto open = [&] {
            return xdotool({"search", "--onlyvisible", "--name", title}).contains(dialog);
        };
        for (int attempt = 0; attempt < 3 && open(); ++attempt) {
            keys(dialog, {"ctrl+a"});
            xdotool({"type", "--delay", "5", path});
            keys(dialog, {"Return"});
            if (QTest::qWaitFor([&] { return !open(); }, 10000))
                break;
        }
        QVERIFY2(!open(), qPrintable(title + " did not take the file name"));
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY")) // CTest runs it under xvfb-run
            QSKIP("no X server: Xvfb (xvfb-run) is not installed");
        if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
            QSKIP("xdotool is not installed");
        QFile cfg(m_dir.filePath("LED.cfg"));
        QVERIFY(cfg.open(QIODevice::WriteOnly) && cfg.write("1\r\n") == 3);
        cfg.close();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.insert("GLIMMERON_PORT_1", m_pty.deviceName());
        env.remove("QT_QPA_PLATFORMTHEME");
        m_program.setProcessEnvironment(env);
        m_program.setWorkingDirectory(m_dir.path());
        m_program.setProcessChannelMode(QProcess::ForwardedChannels);
        m_program.start(QStringLiteral(GLIMMERON_PROGRAM), {});
        QVERIFY(m_program.waitForStarted());
        m_window = waitForWindow("^GLIMMERON  -  Programmable LED Sequencer/Flasher - Rev4$");
        QVERIFY2(!m_window.isEmpty(), "the main window did not appear");
        QHash<QString, int> g;
        for (const QString& line : xdotool({"getwindowgeometry", "--shell", m_window}).split('\n'))
            g.insert(line.section('=', 0, 0), line.section('=', 1).toInt());
        // The client area lies between the menu bar and the status bar; find it by the
        // grid's black top line, 24 pixels down and 180 to 804 across, once painted.
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                const QImage shot = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
                for (int y = g["Y"]; y < g["Y"] + g["HEIGHT"]; ++y) {
                    bool line = true;
                    for (int x = 200; x <= 800 && line; x += 100)
                        line = shot.pixelColor(g["X"] + x, y) == Qt::black;
                    if (line) {
                        m_client = QPoint(g["X"], y - 24);
                        return true;
                    }
                }
                return false;
            }(),
            kPatienceMs);
        QDir().mkpath(QStringLiteral(SCREENSHOT_DIR));
        QGuiApplication::primaryScreen()->grabWindow(0).save(SCREENSHOT_DIR "/startup.png");
    }

    void editSaveDownloadRefuseAndExit()
    {
        // Slots 0..2 become 1, 2, 3; ruler label "3" makes slot 2 the last event.
        click(cell(1, 0));
        click(cell(2, 1));
        click(cell(1, 2));
        click(cell(2, 2));
        click(m_client + QPoint(192 + 12 * 2 + 6, 192 + 12), 2);

        const QString saved = m_dir.filePath("E2E.DAT");
        keys(m_window, {"ctrl+s"});
        chooseFile("^Save GLIMMERON Programmable LED", saved);
        QTRY_VERIFY_WITH_TIMEOUT(readAll(saved).endsWith("\r\n30\r\n20\r\n"), kPatienceMs);
        const QByteArray file = readAll(saved);
        QVERIFY(file.startsWith("\"1\"\r\n\"2\"\r\n\"3\"\r\n\"0\"\r\n"));
        QVERIFY(file.endsWith("\r\n2\r\n15\r\n15\r\n15\r\n15\r\n30\r\n20\r\n"));

        keys(m_window, {"alt+d"});
        const QString question = waitForWindow("^Download to GLIMMERON");
        QVERIFY2(!question.isEmpty(), "the download question did not appear");
        keys(question, {"Return"});
        QVERIFY(m_pty.waitForBytes(171, kPatienceMs));
        QCOMPARE(m_pty.bytes().left(12), QByteArray("*\r\n\x01\r\n\x02\r\n\x03\r\n"));
        QCOMPARE(m_pty.bytes().right(12), QByteArray("\x0f\r\n\x0f\r\n\x1e\r\n\x02\r\n"));

        const QString bad = m_dir.filePath("BAD.DAT");
        QFile badFile(bad);
        QVERIFY(badFile.open(QIODevice::WriteOnly) && badFile.write("\"99\"\r\n") == 6);
        badFile.close();
        keys(m_window, {"ctrl+o"});
        chooseFile("^Open GLIMMERON Programmable LED", bad);
        const QString message = waitForWindow("^GLIMMERON$");
        QVERIFY2(!message.isEmpty(), "no message about the bad file");
        keys(message, {"Return"});

        keys(m_window, {"ctrl+q"});
        QTRY_VERIFY_WITH_TIMEOUT(!waitForWindow("^GLIMMERON$").isEmpty(), kPatienceMs);
        keys(waitForWindow("^GLIMMERON$"), {"Return"});
        QTRY_COMPARE_WITH_TIMEOUT(m_program.state(), QProcess::NotRunning, kPatienceMs);
        QCOMPARE(m_program.exitCode(), 0);
    }

    void cleanupTestCase()
    {
        if (m_program.state() != QProcess::NotRunning) {
            m_program.kill();
            m_program.waitForFinished();
        }
    }
};

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", qEnvironmentVariableIsEmpty("DISPLAY") ? "offscreen" : "xcb");
    QGuiApplication app(argc, argv);
    TestEndToEnd test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_endtoend.moc"
