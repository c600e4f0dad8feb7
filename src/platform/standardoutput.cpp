#include "platform/standardoutput.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#else
#include <io.h>
#endif

namespace {

#ifdef Q_OS_UNIX
qsizetype writeSome(int fd, const char* data, qsizetype size)
{
    return ::write(fd, data, size_t(size));
}

int closeDescriptor(int fd)
{
    return ::close(fd);
}
#else
qsizetype writeSome(int fd, const char* data, qsizetype size)
{
    return ::_write(fd, data, unsigned(std::min<qsizetype>(size, 1 << 30)));
}

int closeDescriptor(int fd)
{
    return ::_close(fd);
}
#endif

} // namespace

bool StandardOutput::write(const QByteArray& bytes)
{
    if (!m_error.isEmpty())
        return false;
    for (qsizetype done = 0; done < bytes.size();) {
        const qsizetype n = writeSome(m_fd, bytes.constData() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return fail(n < 0 ? errno : EIO);
        done += n;
    }
    return true;
}

bool StandardOutput::close()
{
    if (m_fd >= 0 && closeDescriptor(std::exchange(m_fd, -1)) != 0 && errno != EINTR &&
        m_error.isEmpty())
        fail(errno);
    return m_error.isEmpty();
}

void StandardOutput::holdClosedDescriptors()
{
#ifdef Q_OS_UNIX
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) == -1 && errno == EBADF)
            ::open("/dev/null", O_RDONLY); // the lowest free number: this one
    }
#endif
}

bool StandardOutput::fail(int code)
{
    m_error = QString::fromLocal8Bit(std::strerror(code));
    return false;
}
