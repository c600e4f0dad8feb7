// Five complete downloads into a pseudo-terminal: pace, total time and CPU cost.
#include "benchutil.h"
#include "device/download.h"
#include "ptycapture.h"
#include "sequence/rowcontrols.h"
#include "testwindow.h"

#include <QApplication>
#include <QListWidget>
#include <QTimer>
#include <chrono>

namespace {
double ms(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

struct Figures
{
    QList<double> totals, firstGaps, gaps, cpu;
};

// One complete download; with `holdList`, a colour list is opened 1 s in and held 3 s.
bool downloadOnce(Figures& f, bool holdList)
{
    PtyCapture pty;
    qputenv("GLIMMERON_PORT_1", pty.deviceName().toLocal8Bit());
    TestWindow t;
    t.platform.answers << Platform::Answer::Ok;
    if (holdList) {
        QTimer::singleShot(1000, [&] {
            QTimer::singleShot(3000, [&] { answerList(t.window->rows()->colourList(), 2); });
            t.window->rows()->chooseColour(0);
        });
    }
    const double cpuBefore = processCpuMs();
    const auto start = std::chrono::steady_clock::now();
    t.window->downloadSequence();
    while (t.window->download()->busy())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    f.totals << ms(t.platform.serialWrites.value(56) - start);
    f.cpu << processCpuMs() - cpuBefore;
    const auto& writes = t.platform.serialWrites;
    if (writes.size() != 57 || !pty.waitForBytes(171, 2000)) {
        std::printf("download: sent %lld records, %lld bytes arrived\n",
                    static_cast<long long>(writes.size()),
                    static_cast<long long>(pty.bytes().size()));
        return false;
    }
    f.firstGaps << ms(writes[1] - writes[0]);
    for (qsizetype r = 2; r < writes.size(); ++r)
        f.gaps << ms(writes[r] - writes[r - 1]);
    // Let a list still held open finish before the window goes.
    while (t.window->rows()->colourList()->isVisible())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return true;
}

void report(const char* name, const Figures& f)
{
    std::printf("download (%s): total   mean %.1f ms, max %.1f ms (target <= 3320, floor 3300)\n",
                name, mean(f.totals), percentile(f.totals, 100));
    std::printf("download (%s): after rec 1  min %.2f ms (0.5 s pause + first 50 ms pause)\n", name,
                percentile(f.firstGaps, 0));
    std::printf("download (%s): record gaps  min %.2f, median %.2f, p99 %.2f, max %.2f ms "
                "(target >= 50, p99 <= 51.5)\n",
                name, percentile(f.gaps, 0), percentile(f.gaps, 50), percentile(f.gaps, 99),
                percentile(f.gaps, 100));
    std::printf("download (%s): CPU time     mean %.1f ms per download (target < 100)\n", name,
                mean(f.cpu));
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    constexpr int kRuns = 5;
    Figures plain, held;
    for (int run = 0; run < kRuns; ++run) {
        if (!downloadOnce(plain, false) || !downloadOnce(held, true))
            return 1;
    }
    std::printf("download: %d runs of 57 records into a pseudo-terminal, each way\n", kRuns);
    report("plain", plain);
    report("list held 3 s", held);
    return 0;
}
