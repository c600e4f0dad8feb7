// Drives the real program in a real X server, only as a user would: pointer and keys.
#include "device/downloadstream.h"
#include "files/sequencefile.h"
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
#include <QThread>

namespace {

QProcess* g_xvfb = nullptr;
QString g_noDisplayReason;

// Starts Xvfb on the first free display; false (with the reason) when it cannot.
bool startXvfb()
{
    if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty()) {
        g_noDisplayReason = QStringLiteral("Xvfb is not installed");
        return false;
    }
    for (int display = 91; display < 120; ++display) {
        // Xvfb itself refuses a display in use and clears stale locks.
        auto* xvfb = new QProcess;
        xvfb->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        xvfb->start(QStringLiteral("Xvfb"),
                    {QStringLiteral(":%1").arg(display), QStringLiteral("-screen"),
                     QStringLiteral("0"), QStringLiteral("1280x1024x24"),
                     QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        const QString socket = QStringLiteral("/tmp/.X11-unix/X%1").arg(display);
        bool exited = !xvfb->waitForStarted(5000);
        QElapsedTimer clock;
        clock.start();
        while (!exited && clock.elapsed() < 5000 && !QFile::exists(socket))
            exited = xvfb->waitForFinished(20);
        if (!exited && QFile::exists(socket)) {
            g_xvfb = xvfb;
            qputenv("DISPLAY", QStringLiteral(":%1").arg(display).toLatin1());
            return true;
        }
        xvfb->terminate();
        if (!xvfb->waitForFinished(2000))
            xvfb->kill();
        delete xvfb;
    }
    g_noDisplayReason = QStringLiteral("Xvfb did not start on any display from :91 to :119");
    return false;
}

QString xdotool(const QStringList& args, int timeoutMs = 15000)
{
    QProcess p;
    p.start(QStringLiteral("timeout"),
            QStringList{QString::number(timeoutMs / 1000), QStringLiteral("xdotool")} + args);
    p.waitForFinished(timeoutMs + 2000);
    return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
}

// The id of the visible window whose title matches `pattern`, waiting for it to appear.
QString waitForWindow(const QString& pattern)
{
    return xdotool({"search", "--sync", "--onlyvisible", "--name", pattern}).split('\n').value(0);
}

void focus(const QString& window)
{
    xdotool({"windowfocus", "--sync", window});
    QTest::qWait(100);
}

void keys(const QString& window, const QStringList& sequence)
{
    focus(window);
    for (const QString& key : sequence) {
        xdotool({"key", "--clearmodifiers", key});
        QTest::qWait(150);
    }
}

void typeText(const QString& text)
{
    xdotool({"type", "--delay", "5", text});
}

bool waitFor(const std::function<bool()>& condition, int ms = 10000)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        if (condition())
            return true;
        QTest::qWait(50);
    }
    return condition();
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
    std::unique_ptr<PtyCapture> m_pty;

    QPoint cell(int led, int slot) const
    {
        return m_client + QPoint(192 + 12 * slot + 6, 36 + 36 * (led - 1) + 10);
    }
    QPoint ruler(int slot) const { return m_client + QPoint(192 + 12 * slot + 6, 192 + 12); }
    void click(QPoint at, const QString& button = QStringLiteral("click"), int count = 1)
    {
        xdotool({"mousemove", "--sync", QString::number(at.x()), QString::number(at.y())});
        xdotool({button, "--repeat", QString::number(count), "--delay", "80", "1"});
        QTest::qWait(120);
    }
    void screenshot(const QString& name)
    {
        QDir().mkpath(QStringLiteral(SCREENSHOT_DIR));
        const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0);
        const QRect frame(m_client - QPoint(0, m_client.y()), QSize(960, m_client.y() + 383));
        QVERIFY(shot.copy(frame).save(QStringLiteral(SCREENSHOT_DIR "/") + name));
    }
    // Saves through File > Save... and answers the dialog with `path`.
    void saveAs(const QString& path)
    {
        keys(m_window, {"alt+f", "s"});
        const QString dialog = waitForWindow("^Save GLIMMERON Programmable LED");
        QVERIFY2(!dialog.isEmpty(), "the save dialog did not open");
        focus(dialog);
        xdotool({"key", "ctrl+a"});
        typeText(path);
        xdotool({"key", "Return"});
        QVERIFY2(waitFor([&] { return QFile::exists(path); }), qPrintable(path));
        QTest::qWait(300);
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (!g_xvfb)
            QSKIP(qPrintable(QStringLiteral("no X server: %1").arg(g_noDisplayReason)));
        if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
            QSKIP("xdotool is not installed");
        QFile cfg(m_dir.filePath(QStringLiteral("LED.cfg")));
        QVERIFY(cfg.open(QIODevice::WriteOnly));
        cfg.write("1\r\n");
        cfg.close();
        m_pty = std::make_unique<PtyCapture>();

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("GLIMMERON_PORT_1"), m_pty->deviceName());
        env.remove(QStringLiteral("QT_QPA_PLATFORMTHEME"));
        m_program.setProcessEnvironment(env);
        m_program.setWorkingDirectory(m_dir.path());
        m_program.setProcessChannelMode(QProcess::ForwardedChannels);
        m_program.start(QStringLiteral(GLIMMERON_PROGRAM), {});
        QVERIFY(m_program.waitForStarted());
        m_window = waitForWindow("^GLIMMERON  -  Programmable LED Sequencer/Flasher - Rev4$");
        QVERIFY2(!m_window.isEmpty(), "the main window did not appear");
        QTest::qWait(500);
        QHash<QString, int> geometry;
        for (const QString& line : xdotool({"getwindowgeometry", "--shell", m_window}).split('\n'))
            geometry.insert(line.section('=', 0, 0), line.section('=', 1).toInt());
        // The client area lies between the menu bar and the status bar; find it by the
        // grid's black top line, 24 pixels down and 180 to 804 across.
        QVERIFY2(geometry["HEIGHT"] > 383, "the window is smaller than its client area");
        const QImage shot = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
        for (int y = geometry["Y"]; y < geometry["Y"] + geometry["HEIGHT"]; ++y) {
            bool line = true;
            for (int x = 200; x <= 800 && line; x += 100)
                line = shot.pixelColor(geometry["X"] + x, y) == Qt::black;
            if (line) {
                m_client = QPoint(geometry["X"], y - 24);
                break;
            }
        }
        QVERIFY2(!m_client.isNull(), "the grid's top line was not found");
        screenshot(QStringLiteral("startup.png"));
    }

    void editSaveDownloadAndRefuseABadFile()
    {
        // Slots 0..2 become 1, 2, 3; ruler label "3" makes slot 2 the last event.
        click(cell(1, 0));
        click(cell(2, 1));
        click(cell(1, 2));
        click(cell(2, 2));
        click(ruler(2), QStringLiteral("click"), 2);

        const QString first = m_dir.filePath(QStringLiteral("E2E.DAT"));
        saveAs(first);
        SequenceData expected;
        expected.events[0] = 1;
        expected.events[1] = 2;
        expected.events[2] = 3;
        expected.lastEvent = 2;
        QCOMPARE(readAll(first), writeSequenceFile(expected));

        keys(m_window, {"alt+d"});
        const QString question = waitForWindow("^Download to GLIMMERON");
        QVERIFY2(!question.isEmpty(), "the download question did not appear");
        keys(question, {"Return"});
        QVERIFY(m_pty->waitForBytes(171, 10000));
        DownloadValues sent;
        sent.events[0] = 1;
        sent.events[1] = 2;
        sent.events[2] = 3;
        sent.lastEvent = 2;
        QCOMPARE(m_pty->bytes(), downloadStream(sent));
        QTest::qWait(500);

        const QString bad = m_dir.filePath(QStringLiteral("BAD.DAT"));
        QFile badFile(bad);
        QVERIFY(badFile.open(QIODevice::WriteOnly));
        badFile.write("\"1\"\r\n\"99\"\r\n");
        badFile.close();
        keys(m_window, {"alt+f", "o"});
        const QString open = waitForWindow("^Open GLIMMERON Programmable LED");
        QVERIFY2(!open.isEmpty(), "the open dialog did not appear");
        focus(open);
        xdotool({"key", "ctrl+a"});
        typeText(bad);
        xdotool({"key", "Return"});
        const QString message = waitForWindow("^GLIMMERON$");
        QVERIFY2(!message.isEmpty(), "no message about the bad file");
        keys(message, {"Return"});
        QTest::qWait(300);

        const QString again = m_dir.filePath(QStringLiteral("AGAIN.DAT"));
        saveAs(again);
        QCOMPARE(readAll(again), readAll(first));
    }

    void dragPaintsARow()
    {
        click(cell(3, 10));
        const QPoint start = cell(3, 10);
        xdotool({"mousemove", "--sync", QString::number(start.x()), QString::number(start.y())});
        xdotool({"mousedown", "1"});
        for (int slot = 11; slot <= 16; ++slot) {
            const QPoint p = cell(3, slot);
            xdotool({"mousemove", "--sync", QString::number(p.x()), QString::number(p.y())});
            QTest::qWait(30);
        }
        xdotool({"mouseup", "1"});
        QTest::qWait(200);
        const QString painted = m_dir.filePath(QStringLiteral("DRAG.DAT"));
        saveAs(painted);
        const QList<QByteArray> records = readAll(painted).split('\n');
        for (int slot = 10; slot <= 16; ++slot)
            QCOMPARE(records[slot], QByteArray("\"4\"\r"));
        QCOMPARE(records[9], QByteArray("\"0\"\r"));
        QCOMPARE(records[17], QByteArray("\"0\"\r"));
    }

    void testRunAndExit()
    {
        keys(m_window, {"alt+t"});
        QTest::qWait(400);
        screenshot(QStringLiteral("testrun.png"));
        keys(m_window, {"alt+t"});
        keys(m_window, {"alt+f", "x"});
        const QString question = waitForWindow("^GLIMMERON$");
        QVERIFY2(!question.isEmpty(), "no exit question");
        keys(question, {"Return"});
        QTRY_COMPARE_WITH_TIMEOUT(m_program.state(), QProcess::NotRunning, 10000);
        QCOMPARE(m_program.exitStatus(), QProcess::NormalExit);
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
    if (startXvfb())
        qputenv("QT_QPA_PLATFORM", "xcb");
    else
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int status = 0;
    {
        QGuiApplication app(argc, argv);
        TestEndToEnd test;
        status = QTest::qExec(&test, argc, argv);
    }
    if (g_xvfb) {
        g_xvfb->terminate();
        g_xvfb->waitForFinished(3000);
        delete g_xvfb;
    }
    return status;
}

#include "tst_endtoend.moc"
