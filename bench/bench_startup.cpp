// Start-up time from process start to the main window shown, and peak memory.
// Runs on whatever platform QT_QPA_PLATFORM names (offscreen unless set).
#include "app/mainwindow.h"
#include "scriptedplatform.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

namespace {

// Milliseconds since this process started, from the kernel's own start time.
double msSinceProcessStart()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    const double startTicks = fields.value(19).toDouble(); // field 22 of the whole line
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return (now.tv_sec + now.tv_nsec / 1e9) * 1e3 - startTicks * 1e3 / sysconf(_SC_CLK_TCK);
}

} // namespace

int main(int argc, char* argv[])
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // --bare: a plain main window with one line of text (so fonts load, as any window
    // with words needs), the yardstick for the editor's own start-up.
    const bool bare = app.arguments().contains(QStringLiteral("--bare"));
    QTemporaryDir dir;
    ScriptedPlatform platform;
    std::unique_ptr<QMainWindow> window;
    if (bare) {
        window = std::make_unique<QMainWindow>();
        window->setCentralWidget(new QLabel(QStringLiteral("GLIMMERON")));
    } else {
        window = std::make_unique<MainWindow>(platform, QDir(dir.path()).filePath("LED.cfg"),
                                              QUrl(), dir.path());
    }
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get(), 10000)) {
        std::printf("start-up: the window was not shown\n");
        return 1;
    }
    const double shown = msSinceProcessStart();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("start-up (%s%s): window shown %.0f ms after process start (clock ticks of 10 "
                "ms), peak memory %.1f MiB\n",
                qgetenv("QT_QPA_PLATFORM").constData(), bare ? ", bare Qt window" : "", shown,
                usage.ru_maxrss / 1024.0);
    return 0;
}
