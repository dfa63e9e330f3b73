#include "framework/PixelRatio.h"

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>

qreal PixelRatioOf(QPainter& painter)
{
    const QPaintEngine* engine = painter.paintEngine();
    const QPaintDevice* device = engine && engine->paintDevice() ? engine->paintDevice() : painter.device();
    return device ? device->devicePixelRatioF() : 1.0;
}
