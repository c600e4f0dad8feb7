#pragma once

#include "core/dragpaint.h"
#include "core/eventedits.h"

#include <QObject>
#include <array>

class CellArea;
class CellBox;
class QFrame;
class QKeyEvent;
class QLabel;
class QWidget;
class SequenceDocument;

// The event grid on the main window: the 4 x 50 cells, the ruler `TimeAxis` that marks
// the last event, and the hidden `mem` captions of the event values. It shows the
// document and turns clicks, drags, keys and ruler double-clicks into its operations.
// It shows the session's keyboard cursor and selection of whole events and passes keys
// and ruler clicks to the session, whose rules they are.
class GridView : public QObject
{
    Q_OBJECT
public:
    GridView(SequenceDocument& document, QWidget* client);

    CellBox* cell(int led, int slot) const { return m_cells[led][slot]; }
    QLabel* ruler(int slot) const { return m_ruler[slot]; }
    QLabel* mem(int slot) const { return m_mem[slot]; }
    GridGeometry geometry() const;
    int dragStartSlot() const { return m_drag.startSlot(); }

    // The test run greys the ruler label of the event it shows.
    void highlightStep(int slot, bool shown);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build(QWidget* client);
    void place();
    void showCell(int led, int slot);
    void markRuler(int slot, bool marked);
    bool cellEvent(CellBox* cell, QEvent* event);
    void paintFromStart(const std::vector<GridCell>& cells);
    bool moveCursor(const QKeyEvent* key);
    void showCursor();
    void setCursorCell(CellBox* to);
    bool rulerEvent(QLabel* label, QEvent* event);
    void showSelection();
    void showRulerBackground(int slot);

    SequenceDocument& m_document;
    CellArea* m_area; // holds the cells: "the event grid" to assistive tools
    std::array<std::array<CellBox*, 50>, 4> m_cells{};
    std::array<QLabel*, 50> m_ruler{};
    std::array<QLabel*, 50> m_mem{};
    std::array<QFrame*, 4> m_lines{};
    DragPaint m_drag{GridGeometry{}};
    CellBox* m_cursor = nullptr; // the one cell in the focus chain
    bool m_rulerPressed = false;
    int m_stepSlot = -1; // the test run's event
};
