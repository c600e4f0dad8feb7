// Step period of a test run at 20 ms, and the cost of waiting on an open list.
#include "benchutil.h"
#include "preview/testrun.h"
#include "sequence/rowcontrols.h"
#include "testwindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QTimer>

namespace {

// Runs `steps` steps at `speed` ms (the sequencer delay with `device`) and prints the
// period and how far the run drifted.
void measure(TestWindow& t, int speed, int steps, bool device = false)
{
    if (device)
        t.document().session().applySettings(speed, t.document().testSpeed());
    else
        t.document().session().applySettings(t.document().sequencerDelay(), speed);
    t.window->testRun()->setDeviceSpeed(device);
    TestRun* run = t.window->testRun();
    QList<double> periods;
    QElapsedTimer clock;
    qint64 first = -1, last = -1;
    auto connection = QObject::connect(run, &TestRun::stepShown, [&] {
        const qint64 now = clock.nsecsElapsed();
        if (last >= 0)
            periods << (now - last) / 1e6;
        else
            first = now;
        last = now;
        if (periods.size() == steps)
            run->stop();
    });
    clock.start();
    const double cpuBefore = processCpuMs();
    t.window->toggleTest();
    while (run->visible())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double cpuRun = processCpuMs() - cpuBefore;
    QObject::disconnect(connection);
    const double drift = (last - first) / 1e6 - double(periods.size()) * speed;
    std::printf("test run: %d steps at %s %d: mean %.3f ms, p99 %.3f ms, max %.3f ms, "
                "drift %+.2f ms (target: mean within 0.1 ms, p99 <= TestSpeed + 2)\n",
                int(periods.size()), device ? "SequencerDelay" : "TestSpeed", speed, mean(periods),
                percentile(periods, 99), percentile(periods, 100), drift);
    std::printf("test run: CPU time %.3f ms per step\n", cpuRun / periods.size());
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TestWindow t;
    for (int i = 0; i < 50; i += 2)
        t.document().session().clickCell(0, i, true);
    measure(t, 20, 500);
    measure(t, 1, 500);
    measure(t, 30, 300, true); // Preview at Device Speed

    // A row-options list open and waiting for 5 s.
    RowControls* rows = t.window->rows();
    QTimer::singleShot(5000, [&] { answerList(rows->rowOptionsList(), 9); });
    const double cpuWaitBefore = processCpuMs();
    QElapsedTimer wall;
    wall.start();
    rows->chooseRowOperation(0);
    const double waitCpu = processCpuMs() - cpuWaitBefore;
    std::printf("list wait: %.0f ms CPU over %.1f s = %.3f %% of one core (target < 1 %%)\n",
                waitCpu, wall.elapsed() / 1e3, 100.0 * waitCpu / wall.elapsed());
    return 0;
}
