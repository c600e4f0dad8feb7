#pragma once

#include <QWidget>

// The main window's central area. It holds the design's surface `client` as large as its
// proportions allow, centred, and scales it, fonts included, as the window is resized.
class ScaledView : public QWidget
{
    Q_OBJECT
public:
    explicit ScaledView(QWidget* parent);

    QWidget* surface() const { return m_surface; }
    QSize sizeHint() const override;

Q_SIGNALS:
    void rescaled();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* m_surface;
    double m_most; // the smallest scale: what start-up chose to fit the screen
};
