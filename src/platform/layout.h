#pragma once

#include <QColor>
#include <QFont>
#include <QRect>

class QWidget;

#include <QSize>

// The design is laid out in twips; one logical pixel is 10 twips (1.5 times the
// 96-dpi size) so that the small grid cells stay easy to hit. Where the window would
// not fit its screen, start-up chooses more twips per pixel, before any window is built,
// and the design's fonts shrink with it.
constexpr double kDesignTwipsPerPixel = 10;
double twipsPerPixel();
void setTwipsPerPixel(double factor);
// The least factor, from 10 up, at which the main window's client area (9600 x 3825
// twips) plus `chrome` (menu bar, status bar, frame) fits into `available`.
double fittingTwipsPerPixel(QSize available, QSize chrome);

int twips(int value);
QRect twipsRect(int left, int top, int width, int height);
void placeTwips(QWidget* widget, int left, int top, int width, int height);

// Colours given as &HBBGGRR numbers; &H800000xx are system colours.
QColor designColour(quint32 value);
// A design point size at the chosen scale.
qreal designPoints(qreal points);
QFont designFont(qreal points, bool bold = false);

void setTextColour(QWidget* widget, const QColor& colour);
void setBackgroundColour(QWidget* widget, const QColor& colour);
QColor textColour(const QWidget* widget);
QColor backgroundColour(const QWidget* widget);
