#pragma once

// The owner-drawn picker buttons of the graph colour dialog and the graph-template editor: a
// colour swatch of the chart palette, a fill-pattern sample and a data-set symbol sample. Each
// shows whether it is the chosen one with a sunken double frame; a click is an ordinary button
// click for the owner to handle.
//
// Chart colours are indices 0..127 into the chart palette: 8 colour sets of 16 colours, index
// = set x 16 + colour. Set 0 holds the 16 standard colours (0 black, 1 blue ... 15 white).

#include "graphs/ChartPalette.h"

#include <QAbstractButton>

// The chart palette's colour sets and the number of patterns and symbols the pickers offer.
inline constexpr int kGraphColorSetSize = 16;
inline constexpr int kGraphColorSetCount = 8;
inline constexpr int kGraphPatternCount = 8;
inline constexpr int kGraphSymbolCount = 14;

// What every picker shares: its sample index, the palette index of its colour and whether it
// is the chosen one.
class CStylePickerButton : public QAbstractButton {
    Q_OBJECT

public:
    explicit CStylePickerButton(int sample, QWidget* parent = nullptr);

    int Sample() const { return m_sample; }
    int ColorIndex() const { return m_colorIndex; }
    bool IsHighlighted() const { return m_highlighted; }

    // Stores the palette index whose colour the sample is drawn in (repaints later).
    void SetColorIndex(int index);
    // Shows the button as the chosen one or not, and repaints.
    void SetHighlighted(bool highlighted);

    QSize sizeHint() const override { return QSize(20, 20); }

protected:
    void paintEvent(QPaintEvent* event) override;
    // Draws the sample into the area inside the frame.
    virtual void DrawSample(QPainter& painter, const QRect& area) = 0;

    QColor SampleColor() const;

private:
    int m_sample;
    int m_colorIndex = 0;
    bool m_highlighted = false;
};

// A swatch filled with one colour of the chart palette.
class CColorSwatchButton : public CStylePickerButton {
    Q_OBJECT

public:
    explicit CColorSwatchButton(QWidget* parent = nullptr) : CStylePickerButton(0, parent) {}
    // Same as SetHighlighted: fills with the colour and frames it as chosen or not.
    void SetColor(bool highlighted) { SetHighlighted(highlighted); }

protected:
    void DrawSample(QPainter& painter, const QRect& area) override;
};

// A sample of fill pattern n (0..7) in the button's colour on white.
class CMarkerButton : public CStylePickerButton {
    Q_OBJECT

public:
    explicit CMarkerButton(int pattern, QWidget* parent = nullptr) : CStylePickerButton(pattern, parent) {}
    void Paint(bool highlighted) { SetHighlighted(highlighted); }

protected:
    void DrawSample(QPainter& painter, const QRect& area) override;
};

// A sample of data-set symbol n (0..13), as charts draw their markers: 0 square, 1 circle,
// 2 triangle, 3 diamond, 4 triangle down, filled; 5 to 9 the same five hollow; 10 plus, 11 cross,
// 12 star, 13 a filled diamond outlined in black.
class CLineStyleButton : public CStylePickerButton {
    Q_OBJECT

public:
    explicit CLineStyleButton(int symbol, QWidget* parent = nullptr) : CStylePickerButton(symbol, parent) {}
    void Paint(bool highlighted) { SetHighlighted(highlighted); }

protected:
    void DrawSample(QPainter& painter, const QRect& area) override;
};

// The Qt brush style that stands for colour-list pattern n as charts draw it: 1 horizontal,
// 2 vertical, 3 rising and 4 falling diagonal hatches, 5 a cross, 6 a diagonal cross; 0, 7 and
// any other pattern solid.
Qt::BrushStyle GraphPatternBrushStyle(int pattern);
