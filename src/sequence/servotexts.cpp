#include "sequence/servotexts.h"

#include "core/servozones.h"

#include <QCoreApplication>

QStringList servoModeTexts()
{
    QStringList texts;
    for (int mode = 0; mode <= kServoModeNone; ++mode)
        texts << QString::fromStdString(servoModeText(mode));
    return texts;
}

QString servoModeTip(int mode)
{
    if (mode == 0)
        return QCoreApplication::translate("GLIMMERON", "never lit");
    QStringList ranges;
    for (const auto& [from, to] : servoModePulses(mode))
        ranges << QStringLiteral("%1-%2").arg(from).arg(to);
    return QCoreApplication::translate("GLIMMERON", "lit for pulses %1 \u00b5s")
        .arg(ranges.join(QCoreApplication::translate("GLIMMERON", " and ")));
}
