#include "platform/signalwatch.h"

#include <QSocketNotifier>
#include <csignal>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>

namespace {

int g_pipe[2] = {-1, -1};
volatile std::sig_atomic_t g_caught = 0;

void onSignal(int number)
{
    g_caught = number;
    const char byte = char(number);
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &byte, 1);
}

} // namespace

SignalWatch::SignalWatch(std::initializer_list<int> signalNumbers, QObject* parent)
    : QObject(parent), m_signals(signalNumbers)
{
    g_caught = 0;
    if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        char byte = 0;
        while (::read(g_pipe[0], &byte, 1) == 1)
            Q_EMIT signalled(byte);
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0; // no restart: a read waiting for Enter returns
    for (int number : m_signals)
        ::sigaction(number, &action, nullptr);
}

SignalWatch::~SignalWatch()
{
    for (int number : m_signals)
        std::signal(number, SIG_DFL);
    delete m_notifier;
    for (int& fd : g_pipe) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

int SignalWatch::caught()
{
    return g_caught;
}
#else
// Elsewhere the system ends the program on these signals, as it always did.
SignalWatch::SignalWatch(std::initializer_list<int> signalNumbers, QObject* parent)
    : QObject(parent), m_signals(signalNumbers)
{
}

SignalWatch::~SignalWatch() = default;

int SignalWatch::caught()
{
    return 0;
}
#endif
