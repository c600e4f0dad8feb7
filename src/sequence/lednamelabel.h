#pragma once

#include <QLabel>

// An LED's name at the left of its row, in the LED's colour. It acts as a button: a click,
// Space, Return or Enter activates it, and assistive tools see a button they can press.
class LedNameLabel : public QLabel
{
    Q_OBJECT
public:
    LedNameLabel(int led, QWidget* parent);

Q_SIGNALS:
    void activated();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};
