// Time to Save and to Open a sequence file through the window's handlers.
#include "benchutil.h"
#include "testwindow.h"

#include <QApplication>
#include <QElapsedTimer>

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    TestWindow t;
    for (int i = 0; i < 50; i += 3)
        t.document().session().clickCell(i % 4, i, true);
    const QString file = t.path("BENCH.DAT");
    constexpr int kRuns = 1000;
    QList<double> save, open;
    QElapsedTimer clock;
    for (int i = 0; i < kRuns; ++i) {
        t.platform.fileChoices << file;
        t.platform.answers << Platform::Answer::Yes; // replace the previous run's file
        clock.start();
        t.window->saveSequence();
        save << clock.nsecsElapsed() / 1e3;
        t.platform.fileChoices << file;
        clock.start();
        t.window->openSequence();
        open << clock.nsecsElapsed() / 1e3;
    }
    if (!t.platform.messageBoxes.isEmpty() &&
        t.platform.messageBoxes.last().buttons == Platform::Buttons::Ok) {
        std::printf("files: a command failed: %s\n",
                    qPrintable(t.platform.messageBoxes.last().prompt));
        return 1;
    }
    std::printf("files: Save  median %.0f us, p99 %.0f us (%d runs, each replacing the file)\n",
                percentile(save, 50), percentile(save, 99), kRuns);
    std::printf("files: Open  median %.0f us, p99 %.0f us (%d runs)\n", percentile(open, 50),
                percentile(open, 99), kRuns);
    return 0;
}
