#pragma once

// The start-up picture: a borderless window on top of the others, shaped to the picture when a
// transparent colour is chosen (pixels of that colour, within a tolerance per channel, are cut
// away). It closes when its time runs out, when the user clicks or presses a key anywhere in the
// program, or when it is told to.

#include "app/DibBitmap.h"

#include <QColor>
#include <QPoint>
#include <QPolygon>
#include <QRegion>
#include <QString>
#include <QWidget>

#include <array>
#include <cstdint>
#include <optional>

class QTimer;

class CSplashWindow : public QWidget {
    Q_OBJECT

public:
    // No transparent colour; and "take the colour of the sample pixel".
    static constexpr std::uint32_t kNoTransparentColor = 0xFFFFFFFFu;
    static constexpr std::uint32_t kSampleTransparentColor = 0xFF000000u;
    // A display time of -1 keeps the window until it is closed; other times below 1 become this.
    static constexpr int kDefaultDisplayTime = 750;
    static constexpr int kNoTimer = -1;

    CSplashWindow();
    ~CSplashWindow() override;

    // The splash window shown last, while it exists; and the switch that allows showing it.
    static CSplashWindow* Current();
    static bool s_bShowSplash;

    // Loads the picture (a file path, or a resource name beginning with ":") keeping its
    // pixels, and shapes the window: kNoTransparentColor gives the full rectangle,
    // kSampleTransparentColor takes the colour at the sample point (at (0, 0) without one or
    // outside the picture). False when the picture cannot be read or no outline is found.
    bool LoadPicture(const QString& source, std::uint32_t transparentColor = kNoTransparentColor,
                     std::optional<QPoint> sample = std::nullopt, int tolerance = 0);

    // Shows the window centred on the screen (or at position) for displayTime milliseconds;
    // false when there is no picture or showing is switched off.
    bool Show(int displayTime, QWidget* parent = nullptr, std::optional<QPoint> position = std::nullopt);
    // A positive time restarts the timer with it; otherwise the window closes.
    void SetDisplayTime(int milliseconds);
    // Hides the window and stops the timer (and deletes the object when it deletes itself).
    void Close();

    // One of the two text lines drawn over the picture (empty lines are not drawn).
    void SetTextLine(int line, const QString& text, QPoint position, QColor color);

    int DisplayTime() const { return m_nDisplayTime; }
    bool IsTimerRunning() const;
    const CDibBitmap& Picture() const { return m_picture; }
    // The window's outline; empty for the full rectangle.
    const QRegion& Outline() const { return m_region; }

    // True when the pixel lies within the tolerance of the transparent colour; outside the
    // picture the caller's default.
    virtual bool IsTransparentPixel(int x, int y, bool outsideDefault) const;

    bool m_bDeleteOnClose = false;
    bool m_bCloseOnInput = true;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct TextLine {
        QString text;
        QPoint position;
        QColor color;
    };

    bool BuildRegion();
    std::optional<QPoint> FindStartPixel() const;
    QPolygon TraceOutline(QPoint start, int firstDirection) const;
    void StopWatchingInput();

    std::array<TextLine, 2> m_lines;
    int m_nDisplayTime = kNoTimer;
    CDibBitmap m_picture;
    QRegion m_region;
    std::uint32_t m_transparentColor = kNoTransparentColor;
    int m_nTolerance = 0;
    QTimer* m_timer;
    bool m_watchingInput = false;
};
