#pragma once

#include <QAbstractButton>

// One grid cell: a check box drawn to fit the grid pitch, clickable over its whole rectangle.
// A plain checkable button is much quicker to build than a check box, 200 times over;
// assistive tools still see a check box. The cells do not paint themselves: the grid area
// draws them all with one painter, also for a quicker start-up.
class CellBox : public QAbstractButton
{
    Q_OBJECT
public:
    CellBox(int led, int slot, QWidget* parent);

    int led() const { return m_led; }
    int slot() const { return m_slot; }
    QSize sizeHint() const override;
    // Draws the cell where it sits in its parent.
    void paintCell(QPainter& painter) const;

protected:
    bool hitButton(const QPoint& pos) const override;
    void paintEvent(QPaintEvent*) override {}

private:
    int m_led;
    int m_slot;
};

// The area `EventGrid` that holds the cells and draws them, and the selected events
// over them.
class CellArea : public QWidget
{
    Q_OBJECT
public:
    explicit CellArea(QWidget* parent) : QWidget(parent) {}

    // Events first..first + count - 1 are selected; count 0 for none. False when they were.
    bool setSelection(int first, int count);
    bool isSelected(int slot) const { return slot >= m_first && slot < m_first + m_count; }
    // "Selection: events 3 to 7", for assistive tools.
    QString selectionText() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect columns(int first, int count) const;

    int m_first = 0;
    int m_count = 0;
};
