#include "preview/servo.h"

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

int servoZoneBit(int position)
{
    const int zone = (position - kServoStickMin) / 25;
    return 1 << qBound(0, zone, 3);
}

bool ledLit(bool cellOn, int zoneBit, int mode)
{
    return cellOn && (zoneBit & mode) > 0;
}
