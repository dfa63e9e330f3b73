#include "tree/DbTreeIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace {

const QColor kOutline(60, 60, 60);

// A sheet of paper with a folded top-right corner, the base of the text and unknown images.
void DrawPage(QPainter& p)
{
    QPolygonF sheet;
    sheet << QPointF(2.5, 0.5) << QPointF(10.5, 0.5) << QPointF(13.5, 3.5) << QPointF(13.5, 15.5)
          << QPointF(2.5, 15.5);
    p.setPen(QPen(kOutline, 1));
    p.setBrush(Qt::white);
    p.drawPolygon(sheet);
    QPolygonF fold;
    fold << QPointF(10.5, 0.5) << QPointF(10.5, 3.5) << QPointF(13.5, 3.5);
    p.setBrush(QColor(210, 210, 210));
    p.drawPolygon(fold);
}

void DrawUnknown(QPainter& p)
{
    DrawPage(p);
    QFont font = p.font();
    font.setPixelSize(11);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(30, 60, 200));
    p.drawText(QRectF(2, 3, 12, 12), Qt::AlignCenter, QStringLiteral("?"));
}

// A database drum: a cylinder with an elliptic top.
void DrawNotOpen(QPainter& p)
{
    const QColor side(165, 165, 165);
    const QColor top(215, 215, 215);
    QPainterPath body;
    body.moveTo(2.5, 3.5);
    body.lineTo(2.5, 12.5);
    body.arcTo(QRectF(2.5, 10.5, 11, 5), 180, 180);
    body.lineTo(13.5, 3.5);
    body.closeSubpath();
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(side);
    p.drawPath(body);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(2.5, 5.5, 11, 5), 180 * 16, 180 * 16);
    p.drawArc(QRectF(2.5, 8.5, 11, 5), 180 * 16, 180 * 16);
    p.setBrush(top);
    p.drawEllipse(QRectF(2.5, 1.5, 11, 4));
}

// An atom: two crossed orbits round a nucleus.
void DrawElements(QPainter& p)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(20, 90, 190), 1.3));
    p.translate(8, 8);
    for (const int angle : {45, -45, 0}) {
        p.save();
        p.rotate(angle);
        p.drawEllipse(QRectF(-7, -2.6, 14, 5.2));
        p.restore();
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(210, 30, 30));
    p.drawEllipse(QRectF(-2, -2, 4, 4));
    p.resetTransform();
}

// A storage jar with a lid.
void DrawMaterials(QPainter& p)
{
    p.setPen(QPen(QColor(90, 55, 20), 1));
    p.setBrush(QColor(222, 184, 120));
    p.drawRoundedRect(QRectF(2.5, 4.5, 11, 11), 2.5, 2.5);
    p.setBrush(QColor(150, 95, 40));
    p.drawRect(QRectF(4.5, 1.5, 7, 3));
    p.setPen(QPen(QColor(255, 245, 220), 1));
    p.drawLine(QPointF(4.5, 7), QPointF(4.5, 13));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(245, 245, 245));
    p.drawRect(QRectF(5.5, 8.5, 5, 4));
}

// Two arrows pointing opposite ways: one thing taking the place of another.
void DrawSubstitutions(QPainter& p)
{
    auto arrow = [&p](qreal y, bool right, const QColor& color) {
        p.setPen(QPen(color, 2, Qt::SolidLine, Qt::FlatCap));
        const qreal from = right ? 1.5 : 14.5;
        const qreal to = right ? 11.5 : 4.5;
        p.drawLine(QPointF(from, y), QPointF(to, y));
        QPolygonF head;
        const qreal tip = right ? 15 : 1;
        const qreal back = right ? 10 : 6;
        head << QPointF(tip, y) << QPointF(back, y - 3.5) << QPointF(back, y + 3.5);
        p.setPen(Qt::NoPen);
        p.setBrush(color);
        p.drawPolygon(head);
    };
    arrow(4.5, true, QColor(30, 150, 60));
    arrow(11.5, false, QColor(220, 120, 20));
}

// Bars held between two limit lines.
void DrawLimitFormulas(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 100, 200));
    p.drawRect(QRectF(3, 2, 8, 3));
    p.drawRect(QRectF(3, 6.5, 10, 3));
    p.drawRect(QRectF(3, 11, 6, 3));
    p.setPen(QPen(QColor(210, 20, 20), 1.5));
    p.drawLine(QPointF(2, 0.5), QPointF(2, 15.5));
    p.drawLine(QPointF(13.5, 0.5), QPointF(13.5, 15.5));
}

// A glazed bowl with a glossy highlight.
void DrawGlazes(QPainter& p)
{
    QPainterPath bowl;
    bowl.moveTo(0.5, 5.5);
    bowl.cubicTo(1, 13, 4, 14.5, 8, 14.5);
    bowl.cubicTo(12, 14.5, 15, 13, 15.5, 5.5);
    bowl.closeSubpath();
    p.setPen(QPen(QColor(10, 70, 80), 1));
    p.setBrush(QColor(30, 150, 160));
    p.drawPath(bowl);
    p.setBrush(QColor(120, 210, 210));
    p.drawEllipse(QRectF(0.5, 3.5, 15, 4));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(235, 255, 255));
    p.drawEllipse(QRectF(3, 9, 2.5, 2.5));
}

void DrawTextFile(QPainter& p)
{
    DrawPage(p);
    p.setPen(QPen(QColor(110, 110, 110), 1));
    for (int y = 5; y <= 13; y += 2)
        p.drawLine(QPointF(4.5, y + 0.5), QPointF(y == 13 ? 8.5 : 11.5, y + 0.5));
}

// A small line chart on two axes.
void DrawGraphTemplates(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(2, 0.5, 13.5, 13.5));
    p.setPen(QPen(kOutline, 1));
    p.drawLine(QPointF(1.5, 0.5), QPointF(1.5, 14.5));
    p.drawLine(QPointF(1.5, 14.5), QPointF(15.5, 14.5));
    QPolygonF line;
    line << QPointF(3, 12) << QPointF(6, 7) << QPointF(9, 9) << QPointF(14, 2);
    p.setPen(QPen(QColor(200, 40, 40), 1.5));
    p.drawPolyline(line);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 80, 200));
    for (const QPointF& point : line)
        p.drawEllipse(point, 1.3, 1.3);
}

} // namespace

QPixmap DrawDbTreeImage(int index)
{
    QPixmap pixmap(kDbTreeImageSize, kDbTreeImageSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (index) {
    case DbTreeImageNotOpen: DrawNotOpen(p); break;
    case DbTreeImageElements: DrawElements(p); break;
    case DbTreeImageMaterials: DrawMaterials(p); break;
    case DbTreeImageSubstitutions: DrawSubstitutions(p); break;
    case DbTreeImageLimitFormulas: DrawLimitFormulas(p); break;
    case DbTreeImageGlazes: DrawGlazes(p); break;
    case DbTreeImageTextFile: DrawTextFile(p); break;
    case DbTreeImageGraphTemplates: DrawGraphTemplates(p); break;
    default: DrawUnknown(p); break;
    }
    return pixmap;
}

std::vector<QIcon> MakeDbTreeImageList()
{
    std::vector<QIcon> images;
    images.reserve(kDbTreeImageCount);
    for (int index = 0; index < kDbTreeImageCount; ++index)
        images.emplace_back(DrawDbTreeImage(index));
    return images;
}
