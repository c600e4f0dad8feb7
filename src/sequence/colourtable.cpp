#include "sequence/colourtable.h"

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

double contrastRatio(const QColor& a, const QColor& b)
{
    return contrastRatio(Rgb{a.red(), a.green(), a.blue()}, Rgb{b.red(), b.green(), b.blue()});
}

QColor nameBackground(const QColor& text)
{
    const Rgb rgb = nameBackground(Rgb{text.red(), text.green(), text.blue()});
    return QColor(rgb.red, rgb.green, rgb.blue);
}
