#include "ptycapture.h"

#include <QTest>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

PtyCapture::PtyCapture(int closeAfter) : m_closeAfter(closeAfter)
{
    char name[256] = {};
    if (::openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0)
        return; // no device name: the test that needs one fails
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    // A program started from the test must not hold the line open: pulling the cable
    // closes the last copy of the far side.
    for (int fd : {m_master, m_slave})
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    m_deviceName = QString::fromLocal8Bit(name);
    m_notifier = std::make_unique<QSocketNotifier>(m_master, QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] { read(); });
}

PtyCapture::~PtyCapture()
{
    m_notifier.reset();
    if (m_master >= 0)
        ::close(m_master);
    if (m_slave >= 0)
        ::close(m_slave);
}

void PtyCapture::read() const
{
    char buffer[256];
    ssize_t n = 0;
    while (m_master >= 0 && (n = ::read(m_master, buffer, sizeof buffer)) > 0) {
        m_bytes.append(buffer, n);
        if (m_closeAfter >= 0 && m_bytes.size() >= m_closeAfter) {
            // Pull the cable: with the other side gone, further writes fail.
            m_notifier->setEnabled(false);
            ::close(m_master);
            m_master = -1;
        }
    }
}

void PtyCapture::send(const QByteArray& keys) const
{
    [[maybe_unused]] const ssize_t n = ::write(m_master, keys.constData(), size_t(keys.size()));
}

QByteArray PtyCapture::bytes() const
{
    read();
    return m_bytes;
}

bool PtyCapture::waitForBytes(int count, int ms) const
{
    return QTest::qWaitFor([&] { return bytes().size() >= count; }, ms);
}

QString PtyCapture::lineSettings() const
{
    termios t{};
    if (::tcgetattr(m_slave, &t) != 0)
        return {};
    const char parity = !(t.c_cflag & PARENB) ? 'n' : (t.c_cflag & PARODD) ? 'o' : 'e';
    return QStringLiteral("%1,%2,%3,%4%5")
        .arg(cfgetospeed(&t) == B2400 ? "2400" : "another speed")
        .arg(QLatin1Char(parity))
        .arg((t.c_cflag & CSIZE) == CS8 ? 8 : 7)
        .arg(t.c_cflag & CSTOPB ? 2 : 1)
        .arg(t.c_cflag & CRTSCTS ? ",rtscts" : "");
}
