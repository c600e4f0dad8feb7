#pragma once

#include <QColor>
#include <QFont>
#include <QRect>

class QWidget;

// The design is laid out in twips; one logical pixel is 10 twips (1.5 times the
// 96-dpi size) so that the small grid cells stay easy to hit.
constexpr int kTwipsPerPixel = 10;

int twips(int value);
QRect twipsRect(int left, int top, int width, int height);
void placeTwips(QWidget* widget, int left, int top, int width, int height);

// Colours given as &HBBGGRR numbers; &H800000xx are system colours.
QColor designColour(quint32 value);
QFont designFont(qreal points, bool bold = false);

void setTextColour(QWidget* widget, const QColor& colour);
void setBackgroundColour(QWidget* widget, const QColor& colour);
QColor textColour(const QWidget* widget);
QColor backgroundColour(const QWidget* widget);
