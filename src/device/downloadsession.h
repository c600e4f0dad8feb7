#pragma once

#include "core/downloadstream.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>

class SerialLink;

// Sends the 57 records over an open link at the device's pace: record 1, half a second
// of silence, then a record at least every 50 ms. The 50 ms pauses are timer-driven,
// so a list, message box or file dialog that another handler holds open cannot stall
// the stream: its nested event loop runs our timer too.
class DownloadSession : public QObject
{
    Q_OBJECT
public:
    using ValueSource = std::function<DownloadValues()>;

    // `values` is asked at the moment each record goes out.
    explicit DownloadSession(ValueSource values, QObject* parent = nullptr);
    ~DownloadSession() override;

    // Sends record 1 and pauses before returning; the rest follows from the event loop.
    void start(std::unique_ptr<SerialLink> link);
    bool running() const { return m_link != nullptr; }
    // Stops after the record in progress and closes the port; `finished` says `reason`.
    void interrupt(const QString& reason);
    // Records handed to the port so far, the start record included.
    int recordsSent() const { return m_sent; }

    static constexpr qint64 kStartPauseNs = qint64(downloadPauseBefore(2)) * 1000000;
    static constexpr qint64 kRecordPauseNs = qint64(downloadPauseBefore(3)) * 1000000;

Q_SIGNALS:
    // Record 1 is out; the silent pause follows at once.
    void startRecordSent();
    // Record index + 2 is out (index 0..55).
    void recordSent(int index);
    // The port is closed; `error` is empty on success.
    void finished(const QString& error);

private:
    void tick();
    void arm();
    void finish(const QString& error);

    ValueSource m_values;
    std::unique_ptr<SerialLink> m_link;
    QTimer m_timer;
    QElapsedTimer m_pause;
    int m_next = 0; // index of the next record after the start record
    int m_sent = 0;
};
