#pragma once

// A picture read from a bitmap file (or a Qt resource), drawn as it is and asked for the
// colour of single pixels (the splash window cuts its outline from them).

#include <QImage>
#include <QVector>

#include <cstdint>

class QPainter;
class QString;

class CDibBitmap {
public:
    // The colour value of "no pixel": outside the picture, or the pixels were not kept.
    static constexpr std::uint32_t kNoColor = 0xFFFFFFFFu;

    // Replace the picture; false (and no picture) when the file or resource cannot be read or
    // is not a picture. keepPixels keeps the pixels for GetPixel.
    bool LoadFromFile(const QString& path, bool keepPixels);
    bool LoadFromResource(const QString& name, bool keepPixels);

    bool IsLoaded() const { return !m_picture.isNull(); }
    int Width() const { return m_picture.width(); }
    int Height() const { return m_picture.height(); }
    // The picture's colour table (as many entries as it uses; none for deep pictures).
    const QVector<QRgb>& ColorTable() const { return m_colorTable; }

    // Copies the whole picture to (0, 0); nothing without a picture.
    void Draw(QPainter& painter) const;

    // The pixel's colour as red + green * 256 + blue * 65536, or kNoColor.
    std::uint32_t GetPixel(int x, int y) const;

private:
    bool Take(QImage image, bool keepPixels);

    QImage m_picture;
    QVector<QRgb> m_colorTable;
    bool m_keepPixels = false;
};
