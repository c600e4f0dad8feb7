#pragma once

#include <QColor>
#include <QFont>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <vector>

class QWidget;

// The design is laid out in twips; at its own size one logical pixel is 10 twips (1.5 times
// the 96-dpi size) so that the small grid cells stay easy to hit. The window scales it:
// fewer twips per pixel make everything larger, fonts included. Where the window would not
// fit its screen, start-up chooses more twips per pixel, before any window is built.
constexpr double kDesignTwipsPerPixel = 10;
constexpr QSize kClientTwips(9600, 3825);
double twipsPerPixel();
void setTwipsPerPixel(double factor);
// The least factor, from 10 up, at which the main window's client area plus `chrome`
// (menu bar, status bar, frame) fits into `available`.
double fittingTwipsPerPixel(QSize available, QSize chrome);
// The factor at which the client area, keeping its proportions, fills `area`.
double fillingTwipsPerPixel(QSize area);
// The client area in pixels at `factor`.
QSize clientPixels(double factor);

// How far the window may be zoomed on a screen: from `least` twips per pixel (the client
// area as large as fits) to `most` (the design's size, or less where the screen is smaller).
struct ZoomRange
{
    double least;
    double most;
    double zoomedIn(double factor) const;
    double zoomedOut(double factor) const;
    double actualSize() const;
};
ZoomRange zoomRange(QSize available, QSize chrome);

int twips(int value);
QRect twipsRect(int left, int top, int width, int height);
// Places the widget; in a window with a TwipsLayout, again whenever the scale changes.
void placeTwips(QWidget* widget, int left, int top, int width, int height);

// Colours given as &HBBGGRR numbers; &H800000xx are system colours.
QColor designColour(quint32 value);
// A design point size at the chosen scale.
qreal designPoints(qreal points);
QFont designFont(qreal points, bool bold = false);
// Gives the widget a design font that, in a window with a TwipsLayout, follows the scale.
void setDesignFont(QWidget* widget, qreal points, bool bold = false);

// Keeps a window's widgets at their places in twips and their design fonts: rescale()
// places them all again after the factor changed.
class TwipsLayout : public QObject
{
    Q_OBJECT
public:
    explicit TwipsLayout(QWidget* window);
    // The layout of the widget's window, or none.
    static TwipsLayout* of(const QWidget* widget);

    void place(QWidget* widget, const QRect& twips);
    void setFont(QWidget* widget, qreal points, bool bold);
    // False when the widgets already stand at the current factor.
    bool rescale();

Q_SIGNALS:
    // After every widget was placed again: for what places itself.
    void rescaled();

private:
    struct Place
    {
        QPointer<QWidget> widget;
        QRect twips;
    };
    struct Font
    {
        QPointer<QWidget> widget;
        qreal points;
        bool bold;
    };
    std::vector<Place> m_places;
    std::vector<Font> m_fonts;
    double m_factor;
};

void setTextColour(QWidget* widget, const QColor& colour);
void setBackgroundColour(QWidget* widget, const QColor& colour);
QColor textColour(const QWidget* widget);
QColor backgroundColour(const QWidget* widget);
