// Start-up time: from starting the process to its main window first shown, for the editor
// and for a bare Qt window, each run many times in fresh processes, with their ratio. The
// processor time spent until then is printed too: it varies less on a busy machine.
// Runs on whatever platform QT_QPA_PLATFORM names (offscreen unless set).
#include "app/mainwindow.h"
#include "benchutil.h"
#include "scriptedplatform.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

double monotonicMs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// One start-up in this process: prints the moment the window was shown, the processor time
// spent until then and the peak memory.
int showOnce(int argc, char* argv[], bool bare)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    ScriptedPlatform platform;
    std::unique_ptr<QMainWindow> window;
    if (bare) {
        // One line of text, so that fonts load, as any window with words needs.
        window = std::make_unique<QMainWindow>();
        window->setCentralWidget(new QLabel(QStringLiteral("GLIMMERON")));
    } else {
        window = std::make_unique<MainWindow>(platform, QDir(dir.path()).filePath("LED.cfg"),
                                              QUrl(), dir.path());
    }
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get(), 10000))
        return 1;
    const double shown = monotonicMs();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%.3f %.3f %.1f\n", shown, processCpuMs(), usage.ru_maxrss / 1024.0);
    std::fflush(stdout);
    return 0;
}

struct Sample
{
    double ms = -1;
    double cpuMs = 0;
    double mib = 0;
};

// Starts this program again as a child and times it from spawn to its window shown.
Sample spawnOnce(const char* self, bool bare)
{
    int out[2];
    if (pipe(out) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const char* mode = bare ? "--child-bare" : "--child";
    char* args[] = {const_cast<char*>(self), const_cast<char*>(mode), nullptr};
    pid_t pid = 0;
    const double started = monotonicMs();
    const int failed = posix_spawn(&pid, self, &actions, nullptr, args, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    Sample sample;
    if (failed == 0) {
        char line[64] = {};
        FILE* reply = fdopen(out[0], "r");
        double shown = 0;
        if (reply && std::fgets(line, sizeof line, reply) &&
            std::sscanf(line, "%lf %lf %lf", &shown, &sample.cpuMs, &sample.mib) == 3)
            sample.ms = shown - started;
        if (reply)
            std::fclose(reply);
        waitpid(pid, nullptr, 0);
    } else {
        close(out[0]);
    }
    return sample;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    if (mode == "--child" || mode == "--child-bare")
        return showOnce(argc, argv, mode == "--child-bare");

    // Interleaved, so that a busy moment on the machine falls on both alike.
    constexpr int runs = 31;
    QList<double> bare, editor, bareCpu, editorCpu;
    double mib = 0;
    for (int i = 0; i < runs; ++i) {
        const Sample b = spawnOnce(argv[0], true);
        const Sample e = spawnOnce(argv[0], false);
        if (b.ms < 0 || e.ms < 0) {
            std::printf("start-up: a window was not shown\n");
            return 1;
        }
        bare << b.ms;
        editor << e.ms;
        bareCpu << b.cpuMs;
        editorCpu << e.cpuMs;
        mib = std::max(mib, e.mib);
    }
    const auto report = [](const char* what, const QList<double>& bare,
                           const QList<double>& editor) {
        const double b = percentile(bare, 50), e = percentile(editor, 50);
        std::printf("  %s: bare Qt window %.1f ms, editor %.1f ms, ratio %.2f\n", what, b, e,
                    e / b);
    };
    std::printf("start-up (%s, medians of %d runs), editor peak memory %.1f MiB\n",
                qgetenv("QT_QPA_PLATFORM").constData(), runs, mib);
    report("until shown", bare, editor);
    report("processor time", bareCpu, editorCpu);
    return 0;
}
