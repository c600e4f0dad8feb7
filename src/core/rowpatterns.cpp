#include "core/rowpatterns.h"

namespace {

// Groups of `period` cells, first on, the rest off. Skip 1 starts groups up to L itself
// (so it may set slot L + 1); Skip 2 and 3 only start a group that ends at or before L.
std::vector<CellAssignment> skipCells(int period, int last)
{
    std::vector<CellAssignment> cells;
    const int lastStart = period == 2 ? last : last - (period - 1);
    for (int i = 0; i <= lastStart; i += period) {
        cells.push_back({i, true});
        for (int j = 1; j < period; ++j)
            cells.push_back({i + j, false});
    }
    return cells;
}

} // namespace

std::vector<CellAssignment> rowOperationCells(RowOperation operation, int last,
                                              const RowStates& source)
{
    std::vector<CellAssignment> cells;
    switch (operation) {
    case RowOperation::ClearAll:
        for (int i = 0; i < kSlots; ++i)
            cells.push_back({i, false});
        break;
    case RowOperation::MarkAll:
        for (int i = 0; i <= last; ++i)
            cells.push_back({i, true});
        break;
    case RowOperation::ToggleAll:
        for (int i = 0; i <= last; ++i)
            cells.push_back({i, !source[i]});
        break;
    case RowOperation::CopyFrom:
    case RowOperation::CopyTo:
        for (int i = 0; i <= last; ++i)
            cells.push_back({i, source[i]});
        break;
    case RowOperation::Skip1:
        return skipCells(2, last);
    case RowOperation::Skip2:
        return skipCells(3, last);
    case RowOperation::Skip3:
        return skipCells(4, last);
    case RowOperation::Empty:
    case RowOperation::Cancel:
        break;
    }
    return cells;
}
