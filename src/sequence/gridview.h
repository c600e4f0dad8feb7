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
// It keeps the keyboard cursor and the selection of whole events: Shift with the arrows,
// Home or End, Shift+click or a drag on the ruler select; a move without Shift or Escape
// ends the selection.
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
    // Set Last Event: the keyboard cursor's slot becomes the last event.
    void markCursorSlotLast();

    bool hasSelection() const { return m_anchor >= 0; }
    // The selected events, or the cursor's event when none are selected.
    EventRange selectedEvents() const;
    int cursorSlot() const;
    // The cursor to `slot`, in its LED's row; the selection ends.
    void moveCursorTo(int slot);
    // Events from `anchor` to the cursor, which goes to `slot`.
    void selectEvents(int anchor, int slot);

Q_SIGNALS:
    // A drag is half an edit: the history waits for its end.
    void dragActiveChanged(bool active);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build(QWidget* client);
    void place();
    void showCell(int led, int slot);
    void markRuler(int slot, bool marked);
    bool cellEvent(CellBox* cell, QEvent* event);
    void paintFromStart(const std::vector<GridCell>& cells);
    bool moveCursor(CellBox* from, const QKeyEvent* key);
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
    int m_anchor = -1;           // where the selection began; -1 for none
    int m_rulerPress = -1;       // where a drag on the ruler began
    int m_stepSlot = -1;         // the test run's event
};
