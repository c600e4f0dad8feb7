#pragma once

#include "platform/seriallink.h"

#include <QList>
#include <QString>
#include <functional>

// Which device a port number 1..20 stands for. On Windows number n is COM<n>;
// elsewhere it is the n-th port found, USB and ACM adapters first, then the others,
// each group in natural order of device name. GLIMMERON_PORT_<n>, when set and not
// empty, names the device for n instead.
class PortMap
{
public:
    using Environment = std::function<QString(const QString&)>;

    explicit PortMap(QList<SerialPortEntry> found, Environment environment = nullptr);

    // The device for `number`; an empty device when no port has that number.
    SerialPortEntry entry(int number) const;
    // "/dev/ttyUSB0 - FT232R USB UART", or that no port has the number.
    QString describe(int number) const;
    // The numbered ports that exist, or that none was found and what to do.
    QString listing() const;
    // Numbers 1..20 that have a device, with it.
    QList<std::pair<int, SerialPortEntry>> numbered() const;

    static QList<SerialPortEntry> ordered(QList<SerialPortEntry> ports);

private:
    QList<SerialPortEntry> m_found; // in number order
    Environment m_environment;
};
