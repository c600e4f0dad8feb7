#include "sequence/colourtable.h"

#include <algorithm>
#include <cmath>

QStringList colourNames()
{
    QStringList names;
    for (std::string_view name : colourTableNames())
        names << QString::fromLatin1(name.data(), qsizetype(name.size()));
    return names;
}

QColor tableColour(int index)
{
    const Rgb rgb = tableRgb(index);
    return QColor(rgb.red, rgb.green, rgb.blue);
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
