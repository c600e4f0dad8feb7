#pragma once

#include <QColor>
#include <QWidget>

// A filled circle that stands for one LED in the test run.
class LedShape : public QWidget
{
    Q_OBJECT
public:
    explicit LedShape(QWidget* parent);

    QColor fillColour() const { return m_fill; }
    void setFillColour(const QColor& colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_fill = Qt::black;
};
