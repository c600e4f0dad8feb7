#include "ptycapture.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

PtyCapture::PtyCapture(int closeAfter) : m_closeAfter(closeAfter)
{
    char name[256] = {};
    if (::openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0)
        qFatal("openpty failed");
    m_deviceName = QString::fromLocal8Bit(name);
    m_reader = std::thread([this] { readLoop(); });
}

PtyCapture::~PtyCapture()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_reader.join();
    if (m_master >= 0)
        ::close(m_master);
    ::close(m_slave);
}

void PtyCapture::readLoop()
{
    for (;;) {
        {
            std::lock_guard lock(m_mutex);
            if (m_stop || m_master < 0)
                return;
        }
        pollfd fd{m_master, POLLIN, 0};
        if (::poll(&fd, 1, 20) <= 0 || !(fd.revents & POLLIN))
            continue;
        char buffer[256];
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n <= 0)
            continue;
        std::lock_guard lock(m_mutex);
        m_bytes.append(buffer, n);
        if (m_closeAfter >= 0 && m_bytes.size() >= m_closeAfter) {
            // Pull the cable: with the other side gone, further writes fail.
            ::close(m_master);
            m_master = -1;
            ::close(m_slave);
            m_slave = ::open("/dev/null", O_RDONLY);
            return;
        }
    }
}

QByteArray PtyCapture::bytes() const
{
    std::lock_guard lock(m_mutex);
    return m_bytes;
}

bool PtyCapture::waitForBytes(int count, int ms) const
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(ms);
    while (Clock::now() < deadline) {
        if (bytes().size() >= count)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return bytes().size() >= count;
}

QString PtyCapture::lineSettings() const
{
    std::lock_guard lock(m_mutex);
    termios t{};
    if (::tcgetattr(m_slave, &t) != 0)
        return {};
    const speed_t speed = cfgetospeed(&t);
    const int baud = speed == B2400 ? 2400 : speed == B9600 ? 9600 : int(speed);
    const int bits = (t.c_cflag & CSIZE) == CS8 ? 8 : (t.c_cflag & CSIZE) == CS7 ? 7 : 0;
    const char parity = !(t.c_cflag & PARENB) ? 'n' : (t.c_cflag & PARODD) ? 'o' : 'e';
    return QStringLiteral("%1,%2,%3,%4%5")
        .arg(baud)
        .arg(QLatin1Char(parity))
        .arg(bits)
        .arg(t.c_cflag & CSTOPB ? 2 : 1)
        .arg(t.c_cflag & CRTSCTS ? QStringLiteral(",rtscts") : QString());
}
