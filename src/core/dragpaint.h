#pragma once

#include <array>
#include <optional>
#include <vector>

// A pointer position in pixels.
struct GridPoint
{
    int x = 0;
    int y = 0;
};

struct GridCell
{
    int led;  // 0..3
    int slot; // 0..49
    friend bool operator==(const GridCell&, const GridCell&) = default;
};

// Where the 4 x 50 cells lie, in pixels: slot i of LED k covers x from
// left + pitch * i and y from rowTops[k], `pitch` wide and `cellHeight` high.
struct GridGeometry
{
    int left = 0;
    int pitch = 1;
    int cellHeight = 1;
    std::array<int, 4> rowTops{};

    std::optional<GridCell> cellAt(GridPoint pos) const;
    // The cells that the straight segment from `from` to `to` crosses, in the order it
    // crosses them. The gaps between rows and the space around the grid hold none.
    std::vector<GridCell> cellsCrossed(GridPoint from, GridPoint to) const;
};

// The painting rules of a mouse drag over the grid, without widgets: told the press,
// each pointer position and the release, it says which cells to paint. Every cell
// passed over takes the state that its own row has at the start slot; the release
// fills its row forward from the start slot to the release slot.
class DragPaint
{
public:
    explicit DragPaint(GridGeometry geometry) : m_geometry(geometry) {}

    // A press on a cell starts a drag; elsewhere it does nothing.
    bool press(GridPoint pos);
    // The cells passed over since the last position.
    std::vector<GridCell> moveTo(GridPoint pos);
    // Ends the drag; the cells the release fill sets, none when it is off the grid or
    // not after the start slot.
    std::vector<GridCell> release(GridPoint pos);

    bool active() const { return m_active; }
    // True while no cell but the pressed one was passed over: a plain click.
    bool isClick() const { return !m_moved; }
    // The slot of the last press; it is kept after the drag ends.
    int startSlot() const { return m_start.slot; }

private:
    GridGeometry m_geometry;
    GridCell m_start{0, 0};
    GridPoint m_last;
    bool m_active = false;
    bool m_moved = false;
};
