#include "core/dragpaint.h"

#include <algorithm>
#include <cmath>

std::optional<GridCell> GridGeometry::cellAt(GridPoint pos) const
{
    const std::vector<GridCell> cells = cellsCrossed(pos, pos);
    if (cells.empty())
        return std::nullopt;
    return cells.front();
}

std::vector<GridCell> GridGeometry::cellsCrossed(GridPoint from, GridPoint to) const
{
    std::vector<GridCell> cells;
    const double dx = to.x - from.x;
    const double dy = to.y - from.y;
    const double right = left + 50.0 * pitch - 1;
    for (int n = 0; n < 4; ++n) {
        const int led = dy < 0 ? 3 - n : n; // rows in the order the pointer meets them
        const double top = rowTops[led];
        const double bottom = top + cellHeight - 1;
        // The part of the segment (t from 0 to 1) that lies within this row's band.
        double t0 = 0, t1 = 1;
        if (dy == 0) {
            if (from.y < top || from.y > bottom)
                continue;
        } else {
            t0 = (top - from.y) / dy;
            t1 = (bottom - from.y) / dy;
            if (t0 > t1)
                std::swap(t0, t1);
            t0 = std::max(t0, 0.0);
            t1 = std::min(t1, 1.0);
            if (t0 > t1)
                continue;
        }
        const double xa = from.x + t0 * dx, xb = from.x + t1 * dx;
        const double low = std::max(std::min(xa, xb), double(left));
        const double high = std::min(std::max(xa, xb), right);
        if (low > high)
            continue;
        const int first = int(std::floor((low - left) / pitch));
        const int last = int(std::floor((high - left) / pitch));
        for (int i = 0; i <= last - first; ++i)
            cells.push_back({led, dx < 0 ? last - i : first + i});
    }
    return cells;
}

bool DragPaint::press(GridPoint pos)
{
    const std::optional<GridCell> cell = m_geometry.cellAt(pos);
    if (!cell)
        return false;
    m_start = *cell;
    m_last = pos;
    m_active = true;
    m_moved = false;
    return true;
}

std::vector<GridCell> DragPaint::moveTo(GridPoint pos)
{
    if (!m_active)
        return {};
    const std::vector<GridCell> crossed = m_geometry.cellsCrossed(m_last, pos);
    m_last = pos;
    m_moved = m_moved ||
              std::any_of(crossed.begin(), crossed.end(), [&](GridCell c) { return c != m_start; });
    return crossed;
}

std::vector<GridCell> DragPaint::release(GridPoint pos)
{
    if (!m_active)
        return {};
    m_active = false;
    std::vector<GridCell> fill;
    if (const std::optional<GridCell> at = m_geometry.cellAt(pos)) {
        for (int j = m_start.slot + 1; j <= at->slot; ++j)
            fill.push_back({at->led, j});
    }
    return fill;
}
