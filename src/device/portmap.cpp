#include "device/portmap.h"

#include "core/portnumbers.h"

#include <QCoreApplication>
#include <QtGlobal>
#include <algorithm>

namespace {

bool isAdapter(const QString& device)
{
    return device.contains(QLatin1String("ttyUSB")) || device.contains(QLatin1String("ttyACM"));
}

QStringView digitRun(QStringView s, qsizetype from)
{
    qsizetype end = from;
    while (end < s.size() && s[end].isDigit())
        ++end;
    return s.sliced(from, end - from);
}

// ttyS2 before ttyS10: runs of digits compare by value.
bool naturalLess(QStringView a, QStringView b)
{
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            const QStringView ra = digitRun(a, i), rb = digitRun(b, j);
            i += ra.size();
            j += rb.size();
            QStringView va = ra, vb = rb;
            while (va.size() > 1 && va.front() == u'0')
                va = va.sliced(1);
            while (vb.size() > 1 && vb.front() == u'0')
                vb = vb.sliced(1);
            if (va.size() != vb.size())
                return va.size() < vb.size();
            if (va != vb)
                return va < vb;
            continue;
        }
        if (a[i] != b[j])
            return a[i] < b[j];
        ++i;
        ++j;
    }
    return a.size() - i < b.size() - j;
}

} // namespace

PortMap::PortMap(QList<SerialPortEntry> found, Environment environment)
    : m_found(ordered(std::move(found))), m_environment(std::move(environment))
{
}

QList<SerialPortEntry> PortMap::ordered(QList<SerialPortEntry> ports)
{
    std::stable_sort(ports.begin(), ports.end(), [](const auto& a, const auto& b) {
        if (isAdapter(a.device) != isAdapter(b.device))
            return isAdapter(a.device);
        return naturalLess(a.device, b.device);
    });
    return ports;
}

SerialPortEntry PortMap::entry(int number) const
{
    const QString variable = QStringLiteral("GLIMMERON_PORT_%1").arg(number);
    const QString overridden = m_environment
                                   ? m_environment(variable)
                                   : qEnvironmentVariable(variable.toLatin1().constData());
    if (!overridden.isEmpty())
        return {overridden, QCoreApplication::translate("GLIMMERON", "set by %1").arg(variable)};
#ifdef Q_OS_WIN
    const QString com = QStringLiteral("COM%1").arg(number);
    for (const SerialPortEntry& port : m_found) {
        if (port.device.compare(com, Qt::CaseInsensitive) == 0)
            return port;
    }
    return {com, QString()};
#else
    if (number < 1 || number > m_found.size())
        return {};
    return m_found[number - 1];
#endif
}

QList<std::pair<int, SerialPortEntry>> PortMap::numbered() const
{
    QList<std::pair<int, SerialPortEntry>> result;
    for (int n = kFirstPort; n <= kLastPort; ++n) {
        SerialPortEntry port = entry(n);
#ifdef Q_OS_WIN
        if (port.description.isEmpty())
            continue; // COM<n> that the system does not report
#endif
        if (!port.device.isEmpty())
            result.append({n, std::move(port)});
    }
    return result;
}

QString PortMap::describe(int number) const
{
    const SerialPortEntry port = entry(number);
    if (port.device.isEmpty())
        return QCoreApplication::translate("GLIMMERON", "No serial port has number %1. %2")
            .arg(number)
            .arg(listing());
    if (port.description.isEmpty())
        return port.device;
    return QCoreApplication::translate("GLIMMERON", "%1 - %2").arg(port.device, port.description);
}

QString PortMap::listing() const
{
    const auto ports = numbered();
    if (ports.isEmpty())
        return QCoreApplication::translate(
            "GLIMMERON", "No serial port was found: plug in the programming cable, then "
                         "choose its port in Settings.");
    QStringList lines;
    for (const auto& [n, port] : ports)
        lines << (port.description.isEmpty()
                      ? QCoreApplication::translate("GLIMMERON", "%1: %2").arg(n).arg(port.device)
                      : QCoreApplication::translate("GLIMMERON", "%1: %2 - %3")
                            .arg(n)
                            .arg(port.device, port.description));
    return QCoreApplication::translate("GLIMMERON", "The serial ports found are %1.")
        .arg(lines.join(QCoreApplication::translate("GLIMMERON", ", ")));
}
