#pragma once

#include <QByteArray>
#include <QString>

// Standard output as its file descriptor, with no buffer in between: each write is
// checked, and so is the close that ends it. A full disk, a closed output or a broken
// pipe is then the command's failure, never a success with nothing written.
class StandardOutput
{
public:
    explicit StandardOutput(int fd = 1) : m_fd(fd) {}

    // False once a write has failed; errorString() says why.
    bool write(const QByteArray& bytes);
    // Closes the descriptor (where a network file system reports a late error); false
    // when this or an earlier write failed.
    bool close();
    QString errorString() const { return m_error; }

    // A closed standard descriptor goes to the next file the program opens, and output
    // meant for it would land there. Each is held on the null device, read-only, so
    // that writing to a closed output fails as it should. Call first thing.
    static void holdClosedDescriptors();

private:
    bool fail(int code);

    int m_fd;
    QString m_error;
};
