#include "sequence/colourtable.h"

#include <cmath>

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

namespace {

double luminance(const QColor& colour)
{
    const auto channel = [](double c) {
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) +
           0.0722 * channel(colour.blueF());
}

} // namespace

double contrastRatio(const QColor& a, const QColor& b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor nameBackground(const QColor& text)
{
    const QColor grey(0x90, 0x90, 0x90), dark(0x20, 0x20, 0x20), light(0xE0, 0xE0, 0xE0);
    if (contrastRatio(text, grey) >= 3)
        return grey;
    return contrastRatio(text, dark) >= contrastRatio(text, light) ? dark : light;
}
