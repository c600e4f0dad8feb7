#pragma once

#include <QImage>

class QPainter;
struct PictureLayout;

// Paints a picture's or an animation frame's shapes and texts.
void paintLayout(QPainter& painter, const PictureLayout& layout);
// The layout on its background, at its size.
QImage layoutImage(const PictureLayout& layout);
