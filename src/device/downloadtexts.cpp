#include "device/downloadtexts.h"

#include "core/downloadstream.h"
#include "device/portmap.h"

#include <QCoreApplication>
#include <QTime>

QString downloadTitle()
{
    return QCoreApplication::translate(
        "GLIMMERON", "Download to GLIMMERON  -  Programmable LED Sequencer/Flasher...");
}

QString downloadPrompt()
{
    return QStringLiteral(
        "\r 1) Cycle power/Connect Glimmeron to programming cable (All LEDs flash), "
        "then\r\r 2)  Wait till all LEDS come on and stay on, then\r\r 3)  With all "
        "LEDs lit, Press 'OK' to download to Glimmeron...");
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
    return QCoreApplication::translate(
               "GLIMMERON",
               "The download to the GLIMMERON on serial port %1 (%2) stopped part-way: "
               "%3.\r\rThe download is incomplete. Check the cable, then program the "
               "device again.")
        .arg(number)
        .arg(device, reason);
}

QString downloadDone(int number, const QString& device, const QTime& at)
{
    return QCoreApplication::translate("GLIMMERON",
                                       "Downloaded %1 bytes to the GLIMMERON on port %2 (%3) at %4")
        .arg(3 * kDownloadRecords)
        .arg(number)
        .arg(device, at.toString(QStringLiteral("HH:mm:ss")));
}
