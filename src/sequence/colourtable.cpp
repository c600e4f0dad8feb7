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
