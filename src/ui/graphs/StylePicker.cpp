#include "graphs/StylePicker.h"

#include "support/DialogStyle.h"
#include "support/UiHelpers.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

#include <algorithm>

Qt::BrushStyle GraphPatternBrushStyle(int pattern)
{
    switch (pattern) {
    case 1: return Qt::HorPattern;
    case 2: return Qt::VerPattern;
    case 3: return Qt::BDiagPattern;
    case 4: return Qt::FDiagPattern;
    case 5: return Qt::CrossPattern;
    case 6: return Qt::DiagCrossPattern;
    default: return Qt::SolidPattern;
    }
}

// --- the common button ----------------------------------------------------------------------------

CStylePickerButton::CStylePickerButton(int sample, QWidget* parent) : QAbstractButton(parent), m_sample(sample)
{
    setFocusPolicy(Qt::TabFocus);
}

void CStylePickerButton::SetColorIndex(int index)
{
    m_colorIndex = index;
    update();
}

void CStylePickerButton::SetHighlighted(bool highlighted)
{
    m_highlighted = highlighted;
    repaint();
}

QColor CStylePickerButton::SampleColor() const
{
    return ToQColor(GraphPaletteColor(m_colorIndex));
}

void CStylePickerButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect area = rect();
    painter.fillRect(area, Qt::white);
    // Two pixels of frame all round; the sample fills what is left.
    DrawSample(painter, area.adjusted(2, 2, -2, -2));
    Draw3DFrame(painter, area, m_highlighted, true, false);
    if (hasFocus()) {
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.drawRect(area.adjusted(3, 3, -4, -4));
    }
}

// --- the three samples ----------------------------------------------------------------------------

void CColorSwatchButton::DrawSample(QPainter& painter, const QRect& area)
{
    painter.fillRect(area, SampleColor());
}

void CMarkerButton::DrawSample(QPainter& painter, const QRect& area)
{
    const QRect inner = area.adjusted(2, 2, -2, -2);
    painter.fillRect(inner, QBrush(SampleColor(), GraphPatternBrushStyle(Sample())));
    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(inner.adjusted(0, 0, -1, -1));
}

void CLineStyleButton::DrawSample(QPainter& painter, const QRect& area)
{
    const QColor color = SampleColor();
    const QPoint c = area.center();
    const int r = std::max(2, std::min(area.width(), area.height()) / 3);
    const QRect box(c.x() - r, c.y() - r, 2 * r, 2 * r);
    const QPolygon triangle({QPoint(c.x(), c.y() - r), QPoint(c.x() + r, c.y() + r), QPoint(c.x() - r, c.y() + r)});
    const QPolygon triangleDown(
        {QPoint(c.x(), c.y() + r), QPoint(c.x() + r, c.y() - r), QPoint(c.x() - r, c.y() - r)});
    const QPolygon diamond({QPoint(c.x(), c.y() - r), QPoint(c.x() + r, c.y()), QPoint(c.x(), c.y() + r),
                            QPoint(c.x() - r, c.y())});
    const int symbol = Sample();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(symbol == 13 ? QColor(Qt::black) : color, 1));
    painter.setBrush(symbol < 5 || symbol == 13 ? QBrush(color) : QBrush(Qt::NoBrush));
    switch (symbol < 10 ? symbol % 5 : symbol) {
    case 0: painter.drawRect(box); break;
    case 1: painter.drawEllipse(box); break;
    case 2: painter.drawPolygon(triangle); break;
    case 3:
    case 13: painter.drawPolygon(diamond); break;
    case 4: painter.drawPolygon(triangleDown); break;
    case 10:
        painter.drawLine(c.x() - r, c.y(), c.x() + r, c.y());
        painter.drawLine(c.x(), c.y() - r, c.x(), c.y() + r);
        break;
    case 11:
        painter.drawLine(box.topLeft(), box.bottomRight());
        painter.drawLine(box.bottomLeft(), box.topRight());
        break;
    default:
        // The star: both crosses; its centre pixel set on its own so that small samples show it.
        painter.drawLine(c.x() - r, c.y(), c.x() + r, c.y());
        painter.drawLine(c.x(), c.y() - r, c.x(), c.y() + r);
        painter.drawLine(box.topLeft(), box.bottomRight());
        painter.drawLine(box.bottomLeft(), box.topRight());
        painter.drawPoint(c);
        break;
    }
    painter.setBrush(Qt::NoBrush);
}
