#include "device/portname.h"

#include <QtGlobal>

QString portDeviceName(int number, const std::function<QString(const QString&)>& environment)
{
    const QString variable = QStringLiteral("GLIMMERON_PORT_%1").arg(number);
    const QString overridden =
        environment ? environment(variable) : qEnvironmentVariable(variable.toLatin1().constData());
    if (!overridden.isEmpty())
        return overridden;
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(number);
#else
    return QStringLiteral("/dev/ttyS%1").arg(number - 1);
#endif
}
