// Five complete downloads into a pseudo-terminal: pace, total time and CPU cost.
#include "benchutil.h"
#include "ptycapture.h"
#include "testwindow.h"

#include <QApplication>
#include <chrono>

namespace {
double ms(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}
} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    constexpr int kRuns = 5;
    QList<double> totals, firstGaps, gaps, arrivalGaps, cpu;
    for (int run = 0; run < kRuns; ++run) {
        PtyCapture pty;
        qputenv("GLIMMERON_PORT_1", pty.deviceName().toLocal8Bit());
        TestWindow t;
        t.platform.answers << Platform::Answer::Ok;
        const double cpuBefore = processCpuMs();
        const auto start = std::chrono::steady_clock::now();
        t.window->MENUdownload_Click();
        totals << ms(std::chrono::steady_clock::now() - start);
        cpu << processCpuMs() - cpuBefore;
        const auto& writes = t.platform.serialWrites;
        if (writes.size() != 57 || !pty.waitForBytes(171, 2000)) {
            std::printf("download: run %d sent %lld records, %lld bytes arrived\n", run,
                        static_cast<long long>(writes.size()),
                        static_cast<long long>(pty.bytes().size()));
            return 1;
        }
        firstGaps << ms(writes[1] - writes[0]);
        for (qsizetype r = 2; r < writes.size(); ++r)
            gaps << ms(writes[r] - writes[r - 1]);
        const QList<double> arrived = pty.recordGapsMs();
        arrivalGaps << arrived.mid(1);
    }
    std::printf("download: %d runs of 57 records into a pseudo-terminal\n", kRuns);
    std::printf("download: total        mean %.1f ms, max %.1f ms (target <= 3370, floor 3300)\n",
                mean(totals), percentile(totals, 100));
    std::printf("download: after rec 1  min %.2f ms (0.5 s pause + first 50 ms pause = 550)\n",
                percentile(firstGaps, 0));
    std::printf("download: record gaps  min %.2f, median %.2f, p99 %.2f, max %.2f ms "
                "(target >= 50, p99 <= 51.5)\n",
                percentile(gaps, 0), percentile(gaps, 50), percentile(gaps, 99),
                percentile(gaps, 100));
    std::printf("download: seen by the reader: min %.2f, median %.2f, max %.2f ms\n",
                percentile(arrivalGaps, 0), percentile(arrivalGaps, 50),
                percentile(arrivalGaps, 100));
    std::printf("download: CPU time     mean %.1f ms per download (target < 100)\n", mean(cpu));
    return 0;
}
