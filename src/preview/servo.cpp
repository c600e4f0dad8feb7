#include "preview/servo.h"

#include <QCoreApplication>

QStringList servoModeTexts()
{
    QStringList texts{QStringLiteral("OFF")};
    for (int mode = 1; mode <= 14; ++mode) {
        QStringList marks;
        for (int zone = 0; zone < 4; ++zone)
            marks << QString((mode >> zone) & 1 ? QLatin1Char('*') : QLatin1Char('-'));
        texts << QLatin1Char('|') + marks.join(QLatin1Char(' ')) + QLatin1Char('|');
    }
    texts << QStringLiteral("NONE");
    return texts;
}

QString servoModeTip(int mode)
{
    if (mode == 0)
        return QCoreApplication::translate("GLIMMERON", "never lit");
    QStringList ranges;
    for (int zone = 0; zone < 4; ++zone) {
        if (!((mode >> zone) & 1) || (zone > 0 && ((mode >> (zone - 1)) & 1)))
            continue; // not lit here, or within a range already begun
        int last = zone;
        while (last < 3 && ((mode >> (last + 1)) & 1))
            ++last;
        ranges << QStringLiteral("%1-%2")
                      .arg(10 * (kServoStickMin + 25 * zone))
                      .arg(10 * (kServoStickMin + 25 * last + 24));
    }
    return QCoreApplication::translate("GLIMMERON", "lit for pulses %1 \u00b5s")
        .arg(ranges.join(QCoreApplication::translate("GLIMMERON", " and ")));
}

int servoZoneBit(int position)
{
    const int zone = (position - kServoStickMin) / 25;
    return 1 << qBound(0, zone, 3);
}

bool ledLit(bool cellOn, int zoneBit, int mode)
{
    return cellOn && (zoneBit & mode) > 0;
}
