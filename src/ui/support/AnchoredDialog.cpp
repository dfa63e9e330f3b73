#include "support/AnchoredDialog.h"

#include <QResizeEvent>

namespace {

constexpr CAnchorPoint kNoAnchor = LayoutAnchor[AnchorNone];

// The point of an anchor for a dialog of width w and height h (integer percent, truncated).
QPoint AnchorPosition(const CAnchorPoint& anchor, int w, int h)
{
    return QPoint(w * anchor.x / 100, h * anchor.y / 100);
}

CAnchorPoint AnchorAt(int index)
{
    return index >= 0 && index < AnchorNone ? LayoutAnchor[index] : kNoAnchor;
}

} // namespace

CAnchoredDialog::CAnchoredDialog(QWidget* parent, unsigned helpId) : CStyledDialog(parent, helpId)
{
}

void CAnchoredDialog::InitLayout()
{
    m_minimumSize = size();
    m_layoutInitialized = true;
    ApplyMinimumSize();
    setSizeGripEnabled(m_showGrip);
}

void CAnchoredDialog::AddAnchor(QWidget* control, int topLeftX, int topLeftY, int bottomRightX, int bottomRightY)
{
    if (!control)
        return;
    CAnchor anchor;
    anchor.control = control;
    anchor.topLeft = {topLeftX, topLeftY};
    // Without a first point the control stays where it is relative to the top-left corner.
    if (anchor.topLeft == kNoAnchor)
        anchor.topLeft = LayoutAnchor[AnchorTopLeft];
    anchor.bottomRight = {bottomRightX, bottomRightY};
    if (anchor.bottomRight == kNoAnchor)
        anchor.bottomRight = anchor.topLeft;

    const QRect place = control->geometry();
    const QPoint topLeft = AnchorPosition(anchor.topLeft, width(), height());
    const QPoint bottomRight = AnchorPosition(anchor.bottomRight, width(), height());
    // Right and bottom are the first pixel outside the control.
    anchor.topLeftOffset = QPoint(place.x() - topLeft.x(), place.y() - topLeft.y());
    anchor.bottomRightOffset =
        QPoint(place.x() + place.width() - bottomRight.x(), place.y() + place.height() - bottomRight.y());
    m_anchors.push_back(anchor);
}

void CAnchoredDialog::AddAnchor(QWidget* control, int topLeft, int bottomRight)
{
    const CAnchorPoint first = AnchorAt(topLeft);
    const CAnchorPoint second = AnchorAt(bottomRight);
    AddAnchor(control, first.x, first.y, second.x, second.y);
}

void CAnchoredDialog::Layout()
{
    const int w = width();
    const int h = height();
    for (const CAnchor& anchor : m_anchors) {
        if (!anchor.control)
            continue;
        const QPoint topLeft = AnchorPosition(anchor.topLeft, w, h) + anchor.topLeftOffset;
        const QPoint bottomRight = AnchorPosition(anchor.bottomRight, w, h) + anchor.bottomRightOffset;
        const QRect place(topLeft, QSize(bottomRight.x() - topLeft.x(), bottomRight.y() - topLeft.y()));
        if (place != anchor.control->geometry())
            anchor.control->setGeometry(place);
    }
}

void CAnchoredDialog::ShowSizeGrip(bool show)
{
    if (show == m_showGrip)
        return;
    m_showGrip = show;
    if (m_layoutInitialized)
        setSizeGripEnabled(show);
}

void CAnchoredDialog::SetMinimumSizeInForce(bool inForce)
{
    m_minimumInForce = inForce;
    ApplyMinimumSize();
}

void CAnchoredDialog::ApplyMinimumSize()
{
    if (m_layoutInitialized && m_minimumInForce)
        setMinimumSize(m_minimumSize);
    else
        setMinimumSize(0, 0);
}

void CAnchoredDialog::resizeEvent(QResizeEvent* event)
{
    CStyledDialog::resizeEvent(event);
    Layout();
}
