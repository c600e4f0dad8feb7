#include "device/downloadsession.h"

#include "platform/seriallink.h"

#include <QThread>

namespace {

constexpr qint64 kSleptNs = 2'000'000; // the end of each pause, slept rather than waited

void sleepNs(qint64 ns)
{
    if (ns > 0)
        QThread::usleep(static_cast<unsigned long>((ns + 999) / 1000));
}

} // namespace

DownloadSession::DownloadSession(ValueSource values, QObject* parent)
    : QObject(parent), m_values(std::move(values))
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &DownloadSession::tick);
}

DownloadSession::~DownloadSession()
{
    if (m_link)
        m_link->close();
}

void DownloadSession::start(std::unique_ptr<SerialLink> link)
{
    m_link = std::move(link);
    m_next = 0;
    m_sent = 0;
    QString error;
    if (!m_link->write(QByteArray::fromStdString(downloadRecord(kStreamStart)), &error))
        return finish(error);
    m_sent = 1;
    // Each pause runs from the end of its record's write; the window's own work
    // (painting the notice, the progress bar) happens inside it.
    m_pause.start();
    Q_EMIT startRecordSent();
    // The device wants silence after the start record, and the window stays still.
    while (m_pause.nsecsElapsed() < kStartPauseNs)
        sleepNs(kStartPauseNs - m_pause.nsecsElapsed());
    m_pause.start();
    arm();
}

// Timers wake in whole milliseconds and late rather than early: wake on the timer a
// little before the end and sleep the rest, so the pace stays close to its minimum.
void DownloadSession::arm()
{
    const qint64 left = kRecordPauseNs - m_pause.nsecsElapsed();
    m_timer.start(static_cast<int>(std::max<qint64>(0, left - kSleptNs) / 1'000'000));
}

void DownloadSession::tick()
{
    const qint64 left = kRecordPauseNs - m_pause.nsecsElapsed();
    if (left >= kSleptNs + 1'000'000) // woke early: wait again, never spin
        return arm();
    sleepNs(left);
    QString error;
    const std::uint8_t value = downloadRecordValue(m_values(), m_next + 2);
    if (!m_link->write(QByteArray::fromStdString(downloadRecord(value)), &error))
        return finish(error);
    ++m_sent;
    m_pause.start();
    Q_EMIT recordSent(m_next);
    if (++m_next == kDownloadRecords - 1)
        return finish(QString());
    arm();
}

void DownloadSession::interrupt(const QString& reason)
{
    if (running())
        finish(reason);
}

void DownloadSession::finish(const QString& error)
{
    m_timer.stop();
    std::unique_ptr<SerialLink> link = std::move(m_link);
    link->close();
    Q_EMIT finished(error);
}
