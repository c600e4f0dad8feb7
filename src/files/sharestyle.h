#pragma once

#include <QColor>
#include <QFont>

// The dark look the picture and the animation share, so both read alike in a forum post.
namespace ShareStyle {
inline const QColor kBackground(0x1e, 0x22, 0x27);
inline const QColor kUnlit(0x3a, 0x3f, 0x47);
inline const QColor kInk(0xe8, 0xe8, 0xe8);
inline const QColor kDimInk(0xa0, 0xa6, 0xae);

inline QFont font(int pixels, bool bold = false, bool mono = false)
{
    QFont font(mono ? QStringLiteral("Monospace") : QStringLiteral("Sans"));
    font.setStyleHint(mono ? QFont::Monospace : QFont::SansSerif);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}
} // namespace ShareStyle
