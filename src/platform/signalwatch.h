#pragma once

#include <QObject>
#include <csignal>
#include <initializer_list>

class QSocketNotifier;

#ifdef Q_OS_UNIX
constexpr int kHangUp = SIGHUP; // the terminal that started the program closed
#else
constexpr int kHangUp = 0;
#endif

// Turns the termination signals (Ctrl+C, logout, a closed terminal) into a Qt signal on
// the event loop, so that a download can stop between two records and close its port.
// One at a time per program: the handlers are process-wide.
class SignalWatch : public QObject
{
    Q_OBJECT
public:
    explicit SignalWatch(std::initializer_list<int> signalNumbers, QObject* parent = nullptr);
    ~SignalWatch() override;

    // The last signal caught, or 0; set at once, before the event loop hears of it.
    static int caught();

Q_SIGNALS:
    void signalled(int signalNumber);

private:
    QSocketNotifier* m_notifier = nullptr;
    QList<int> m_signals;
};
