#include "platform/seriallink.h"

#include <QCoreApplication>

#ifdef Q_OS_UNIX
#include <termios.h>
#endif

namespace {
constexpr int kWriteTimeoutMs = 2000;
}

QString QtSerialLink::describe(QSerialPort::SerialPortError error, const QString& detail)
{
    QString words;
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        words = QCoreApplication::translate("GLIMMERON", "there is no such device");
        break;
    case QSerialPort::PermissionError:
        // Another program's lock file, or a device held open exclusively.
        if (detail.contains(QLatin1String("locking")) || detail.contains(QLatin1String("busy"))) {
            words = QCoreApplication::translate("GLIMMERON", "it is in use by another program");
            break;
        }
        words = QCoreApplication::translate(
            "GLIMMERON", "permission was denied, or another program is using the port.\r"
                         "On Linux, serial ports belong to the group \"dialout\": add your "
                         "user to it (sudo usermod -aG dialout $USER) and log in again");
        break;
    case QSerialPort::OpenError:
        words = QCoreApplication::translate("GLIMMERON", "the port is already open");
        break;
    case QSerialPort::WriteError:
        words = QCoreApplication::translate("GLIMMERON", "writing to the port failed");
        break;
    case QSerialPort::ResourceError:
        words = QCoreApplication::translate("GLIMMERON",
                                            "the device was removed or became unavailable");
        break;
    case QSerialPort::UnsupportedOperationError:
        words = QCoreApplication::translate(
            "GLIMMERON", "the device is not a serial port that can run at 2400 baud, "
                         "8 data bits, no parity, 1 stop bit");
        break;
    case QSerialPort::TimeoutError:
        words =
            QCoreApplication::translate("GLIMMERON", "the device did not take the data in time");
        break;
    case QSerialPort::NotOpenError:
        words = QCoreApplication::translate("GLIMMERON", "the port is not open");
        break;
    default:
        words = QCoreApplication::translate("GLIMMERON", "the system reported an error");
        break;
    }
    if (!detail.isEmpty() && detail != QLatin1String("Unknown error"))
        words += QCoreApplication::translate("GLIMMERON", " (%1)").arg(detail);
    return words;
}

bool QtSerialLink::open(const QString& device, QString* error)
{
    m_port.setPortName(device);
    const bool ok =
        m_port.open(QIODevice::WriteOnly) && m_port.setBaudRate(QSerialPort::Baud2400) &&
        m_port.setDataBits(QSerialPort::Data8) && m_port.setParity(QSerialPort::NoParity) &&
        m_port.setStopBits(QSerialPort::OneStop) &&
        m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!ok) {
        *error = describe(m_port.error(), m_port.errorString());
        // Bytes that are not UTF-8 reach us as a stand-in character: the device may well be
        // there, under its real name.
        if (m_port.error() == QSerialPort::DeviceNotFoundError &&
            device.contains(QChar::ReplacementCharacter))
            *error = QCoreApplication::translate(
                "GLIMMERON", "the device's name is not valid UTF-8, and devices are opened "
                             "under UTF-8 names only; name it through a link whose name is");
        if (m_port.isOpen())
            m_port.close();
    }
    return ok;
}

bool QtSerialLink::write(const QByteArray& bytes, QString* error)
{
    m_port.clearError();
    bool ok = m_port.write(bytes) == bytes.size();
    // write() only buffers; push the record to the system now, or the pacing is fiction.
    if (ok && m_port.bytesToWrite() > 0)
        m_port.flush();
    if (ok && m_port.bytesToWrite() > 0)
        ok = m_port.waitForBytesWritten(kWriteTimeoutMs);
    ok = ok && m_port.error() == QSerialPort::NoError;
    if (!ok) {
        const auto code =
            m_port.error() == QSerialPort::NoError ? QSerialPort::WriteError : m_port.error();
        *error = describe(code, m_port.errorString());
    }
    return ok;
}

void QtSerialLink::close()
{
    if (!m_port.isOpen())
        return;
    // close() restores the old line settings at once and may drop what is still queued.
    if (m_port.bytesToWrite() > 0)
        m_port.waitForBytesWritten(kWriteTimeoutMs);
#ifdef Q_OS_UNIX
    ::tcdrain(m_port.handle());
#endif
    m_port.close();
}
