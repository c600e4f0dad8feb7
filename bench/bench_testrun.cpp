// Step period of a test run at 20 ms, and the cost of waiting on an open list.
#include "benchutil.h"
#include "settings/settingsform.h"
#include "testwindow.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QListWidget>
#include <QTimer>

namespace {

// Runs `steps` steps at `speed` ms and prints the period and how far the run drifted.
void measure(TestWindow& t, int speed, int steps)
{
    t.window->settingsForm()->PCSpeedcombo->setCurrentIndex(speed - 1);
    t.window->settingsForm()->SettingsOKbutton_Click();
    QList<double> periods;
    QElapsedTimer clock;
    qint64 first = -1, last = -1;
    auto connection = QObject::connect(t.ui().Timer1, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        if (last >= 0)
            periods << (now - last) / 1e6;
        else
            first = now;
        last = now;
        if (periods.size() == steps)
            t.window->StopTest();
    });
    clock.start();
    const double cpuBefore = processCpuMs();
    t.window->MENUtest_Click();
    while (t.window->runVisible())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double cpuRun = processCpuMs() - cpuBefore;
    QObject::disconnect(connection);
    const double drift = (last - first) / 1e6 - double(periods.size()) * speed;
    std::printf("test run: %d steps at TestSpeed %d: mean %.3f ms, p99 %.3f ms, max %.3f ms, "
                "drift %+.2f ms (target: mean within 0.1 ms, p99 <= TestSpeed + 2)\n",
                int(periods.size()), speed, mean(periods), percentile(periods, 99),
                percentile(periods, 100), drift);
    std::printf("test run: CPU time %.3f ms per step\n", cpuRun / periods.size());
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TestWindow t;
    for (int i = 0; i < 50; i += 2)
        t.window->setCell(1, i, true);
    measure(t, 20, 500);
    measure(t, 1, 500);

    // A row-options list open and waiting for 5 s.
    QTimer::singleShot(5000, [&] {
        t.ui().RowOptionsList->setCurrentRow(9);
        t.window->RowOptionsList_Click();
    });
    const double cpuWaitBefore = processCpuMs();
    QElapsedTimer wall;
    wall.start();
    t.window->RowOptions_Click(0);
    const double waitCpu = processCpuMs() - cpuWaitBefore;
    std::printf("list wait: %.0f ms CPU over %.1f s = %.3f %% of one core (target < 1 %%)\n",
                waitCpu, wall.elapsed() / 1e3, 100.0 * waitCpu / wall.elapsed());
    return 0;
}
