#pragma once

#include <QtGlobal>

class QPainter;

// The pixels per unit of the device the painter paints on: a widget painted into an image (as grab
// and render do) paints on the image, not on its screen.
qreal PixelRatioOf(QPainter& painter);
