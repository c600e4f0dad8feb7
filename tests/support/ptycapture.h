#pragma once

#include <QByteArray>
#include <QSocketNotifier>
#include <QString>
#include <memory>

// A pseudo-terminal: the program's serial port, read on the far side from the event loop.
class PtyCapture
{
public:
    // Closes the reading side after `closeAfter` bytes (-1: never), to pull the cable.
    explicit PtyCapture(int closeAfter = -1);
    ~PtyCapture();

    QString deviceName() const { return m_deviceName; }
    QByteArray bytes() const;
    // Runs the event loop for up to `ms` until at least `count` bytes have come.
    bool waitForBytes(int count, int ms) const;
    // Types `keys` on the terminal, as the far side of the line.
    void send(const QByteArray& keys) const;
    // The line as the program has set it up, in its own notation: "2400,n,8,1".
    QString lineSettings() const;

private:
    void read() const;

    mutable int m_master = -1;
    int m_slave = -1;
    int m_closeAfter;
    QString m_deviceName;
    mutable QByteArray m_bytes;
    std::unique_ptr<QSocketNotifier> m_notifier;
};
