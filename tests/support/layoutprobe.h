#pragma once
// Where a picture's shapes are, read from its layout as any painter must paint it.
#include "core/picturelayout.h"

#include <variant>

// What a painter puts at (x, y): the last shape there, a ring where it is outside the fill.
inline Rgb colourAt(const PictureLayout& layout, double x, double y)
{
    auto inEllipse = [x, y](double left, double top, double width, double height) {
        const double dx = (x - left) / width - 0.5, dy = (y - top) / height - 0.5;
        return dx * dx + dy * dy <= 0.25;
    };
    Rgb colour = layout.background;
    for (const LayoutItem& item : layout.items) {
        if (const auto* r = std::get_if<LayoutRect>(&item)) {
            if (x >= r->x && x < r->x + r->width && y >= r->y && y < r->y + r->height)
                colour = r->colour;
        } else if (const auto* e = std::get_if<LayoutEllipse>(&item)) {
            const int w = e->ringWidth;
            if (inEllipse(e->x, e->y, e->width, e->height))
                colour = inEllipse(e->x + w, e->y + w, e->width - 2 * w, e->height - 2 * w)
                             ? e->fill
                             : e->ring;
        }
    }
    return colour;
}
