#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <chrono>
#include <mutex>
#include <thread>

// A pseudo-terminal whose device side the program opens as its serial port; a thread
// reads the other side.
class PtyCapture
{
public:
    using Clock = std::chrono::steady_clock;

    // Closes the reading side after `closeAfter` bytes (-1: never), to pull the cable.
    explicit PtyCapture(int closeAfter = -1);
    ~PtyCapture();

    QString deviceName() const { return m_deviceName; }
    QByteArray bytes() const;
    // Waits up to `ms` for at least `count` bytes.
    bool waitForBytes(int count, int ms) const;
    // The line as the program has set it up, in its own notation: "2400,n,8,1".
    QString lineSettings() const;

private:
    void readLoop();

    int m_master = -1;
    int m_slave = -1;
    int m_closeAfter;
    QString m_deviceName;
    mutable std::mutex m_mutex;
    QByteArray m_bytes;
    std::thread m_reader;
    bool m_stop = false;
};
