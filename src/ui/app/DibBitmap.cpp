#include "app/DibBitmap.h"

#include <QPainter>
#include <QString>

bool CDibBitmap::LoadFromFile(const QString& path, bool keepPixels)
{
    QImage image;
    // A missing, unreadable or damaged file is a failed load, never an exception.
    if (!image.load(path))
        image = QImage();
    return Take(std::move(image), keepPixels);
}

bool CDibBitmap::LoadFromResource(const QString& name, bool keepPixels)
{
    QImage image;
    if (!image.load(name.startsWith(QLatin1Char(':')) ? name : QStringLiteral(":/") + name))
        image = QImage();
    return Take(std::move(image), keepPixels);
}

bool CDibBitmap::Take(QImage image, bool keepPixels)
{
    m_picture = std::move(image);
    m_colorTable = m_picture.colorTable();
    m_keepPixels = keepPixels;
    return IsLoaded();
}

void CDibBitmap::Draw(QPainter& painter) const
{
    if (IsLoaded())
        painter.drawImage(QPoint(0, 0), m_picture);
}

std::uint32_t CDibBitmap::GetPixel(int x, int y) const
{
    if (!m_keepPixels || !IsLoaded() || x < 0 || y < 0 || x >= Width() || y >= Height())
        return kNoColor;
    // Indexed pictures answer through their colour table.
    const QRgb rgb = m_picture.pixel(x, y);
    return static_cast<std::uint32_t>(qRed(rgb)) | (static_cast<std::uint32_t>(qGreen(rgb)) << 8) |
           (static_cast<std::uint32_t>(qBlue(rgb)) << 16);
}
