#pragma once

#include <array>
#include <vector>

constexpr int kSlots = 50;
constexpr int kLeds = 4;

using RowStates = std::array<bool, kSlots>;

// Entries of the row options list, by index.
enum class RowOperation {
    ClearAll = 0,
    MarkAll,
    ToggleAll,
    CopyFrom,
    CopyTo,
    Skip1,
    Skip2,
    Skip3,
    Empty,
    Cancel
};

struct CellAssignment
{
    int slot;
    bool on;
    friend bool operator==(const CellAssignment&, const CellAssignment&) = default;
};

// The cells an operation sets in its target row, in the order it sets them.
// `source` is the row read: the target itself, or the copy partner for "Copy from".
// Copy to is Copy from seen from the partner row. `last` is the last event index.
std::vector<CellAssignment> rowOperationCells(RowOperation operation, int last,
                                              const RowStates& source);
