#include "device/downloadtexts.h"

#include "core/usertexts.h"
#include "device/portmap.h"

#include <QCoreApplication>
#include <QTime>

QString downloadTitle()
{
    return QString::fromLatin1(kDownloadTitle.data(), qsizetype(kDownloadTitle.size()));
}

QString downloadPrompt()
{
    return QString::fromLatin1(kDownloadPrompt.data(), qsizetype(kDownloadPrompt.size()));
}

QString downloadPortProblem(int number, const SerialPortEntry& port, const QString& reason,
                            const PortMap& ports)
{
    const QString what =
        port.device.isEmpty()
            ? QCoreApplication::translate("GLIMMERON", "No serial port has number %1.").arg(number)
            : QCoreApplication::translate("GLIMMERON",
                                          "Serial port %1 (%2) could not be opened: %3.")
                  .arg(number)
                  .arg(port.device, reason);
    return what +
           QCoreApplication::translate("GLIMMERON", "\r\rNothing was sent to the GLIMMERON. ") +
           ports.listing() +
           QCoreApplication::translate(
               "GLIMMERON", " Check that the programming cable is plugged in and that Settings "
                            "names its port.");
}

QString downloadBrokenOff(int number, const QString& device, const QString& reason)
{
    const QString where = QStringLiteral("serial port %1 (%2)").arg(number).arg(device);
    return QString::fromStdString(downloadBrokenOffText(where.toStdString(), reason.toStdString()));
}

QString downloadDone(int number, const QString& device, const QTime& at)
{
    const QString where = QStringLiteral("port %1 (%2)").arg(number).arg(device);
    return QString::fromStdString(downloadDoneLine(
        where.toStdString(), at.toString(QStringLiteral("HH:mm:ss")).toStdString()));
}
