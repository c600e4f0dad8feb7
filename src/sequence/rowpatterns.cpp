#include "sequence/rowpatterns.h"

namespace {

// Groups of `period` cells, first on, the rest off. Skip 1 starts groups up to L itself
// (so it may set slot L + 1); Skip 2 and 3 only start a group that ends at or before L.
QList<CellAssignment> skipCells(int period, int last)
{
    QList<CellAssignment> cells;
    const int lastStart = period == 2 ? last : last - (period - 1);
    for (int i = 0; i <= lastStart; i += period) {
        cells.append({i, true});
        for (int j = 1; j < period; ++j)
            cells.append({i + j, false});
    }
    return cells;
}

} // namespace

QList<CellAssignment> rowOperationCells(RowOperation operation, int last, const RowStates& source)
{
    QList<CellAssignment> cells;
    switch (operation) {
    case RowOperation::ClearAll:
        for (int i = 0; i < kSlots; ++i)
            cells.append({i, false});
        break;
    case RowOperation::MarkAll:
        for (int i = 0; i <= last; ++i)
            cells.append({i, true});
        break;
    case RowOperation::ToggleAll:
        for (int i = 0; i <= last; ++i)
            cells.append({i, !source[i]});
        break;
    case RowOperation::CopyFrom:
    case RowOperation::CopyTo:
        for (int i = 0; i <= last; ++i)
            cells.append({i, source[i]});
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
