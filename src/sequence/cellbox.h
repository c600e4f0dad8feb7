#pragma once

#include <QCheckBox>

// One grid cell: a check box drawn to fit the grid pitch, clickable over its whole rectangle.
class CellBox : public QCheckBox
{
    Q_OBJECT
public:
    CellBox(int led, int slot, QWidget* parent);

    int led() const { return m_led; }
    int slot() const { return m_slot; }
    QSize sizeHint() const override;

protected:
    bool hitButton(const QPoint& pos) const override;
    void paintEvent(QPaintEvent* event) override;

private:
    int m_led;
    int m_slot;
};
