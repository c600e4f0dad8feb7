#include "sequence/colourtable.h"

std::array<QString, 11> initialColourCodes()
{
    return {QStringLiteral("&H0"),
            QStringLiteral("&HFF"),
            QStringLiteral("&HFF00"),
            QStringLiteral("&HFFFF"),
            QStringLiteral("&HFF0000"),
            QStringLiteral("&HFF00FF"),
            QStringLiteral("&HFFFF00"),
            QStringLiteral("&HFFFFFF"),
            QString(),
            QString(),
            QString()};
}

QStringList colourNames()
{
    return {QStringLiteral("Black"),  QStringLiteral("Red"),  QStringLiteral("Green"),
            QStringLiteral("Yellow"), QStringLiteral("Blue"), QStringLiteral("Magenta"),
            QStringLiteral("Cyan"),   QStringLiteral("White")};
}

quint32 colourCodeValue(const QString& code)
{
    if (!code.startsWith(QLatin1String("&H"), Qt::CaseInsensitive))
        return 0;
    bool ok = false;
    const quint32 value = code.mid(2).toUInt(&ok, 16);
    return ok ? value : 0;
}

QColor colourFromValue(quint32 value)
{
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

QColor tableColour(int index)
{
    return colourFromValue(colourCodeValue(initialColourCodes()[index]));
}
