#pragma once

#include "core/colourtable.h"

#include <QColor>
#include <QStringList>
#include <string>
#include <string_view>
#include <vector>

// The core's plain types in Qt's, where the widgets meet them.
inline QColor toQColor(Rgb rgb)
{
    return QColor(rgb.red, rgb.green, rgb.blue);
}

inline Rgb toRgb(const QColor& colour)
{
    return {colour.red(), colour.green(), colour.blue()};
}

inline QString toQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

template <typename Texts> QStringList toQStringList(const Texts& texts)
{
    QStringList list;
    for (const auto& text : texts)
        list << toQString(text);
    return list;
}

// The colour-table entry `index` (0..7) and the names of all eight.
inline QColor tableColour(int index)
{
    return toQColor(tableRgb(index));
}

inline QStringList colourNames()
{
    return toQStringList(colourTableNames());
}
