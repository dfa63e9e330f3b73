#include "support/ToggleButton.h"

#include "framework/Cp1252.h"
#include "support/DialogStyle.h"
#include "support/UiHelpers.h"

#include <QFontMetrics>
#include <QPainter>

namespace {

// The baseline of the caption lies this many pixels below the button's centre.
constexpr int kBaselineBelowCentre = 4;

} // namespace

CToggleButton::CToggleButton(QWidget* parent) : QAbstractButton(parent)
{
}

void CToggleButton::Setup(const CColor& offBackground, const CColor& onBackground, const CColor& offText,
                          const CColor& onText, int arrowStyle, int pressed, int current, const std::string& caption)
{
    m_offBackground = offBackground;
    m_onBackground = onBackground;
    m_offText = offText;
    m_onText = onText;
    m_arrowStyle = arrowStyle;
    pressedValue = pressed;
    state = current;
    m_caption = caption;
    setText(FromCp1252(caption));
}

void CToggleButton::Redraw()
{
    repaint();
}

QString CToggleButton::DisplayText() const
{
    const QString caption = FromCp1252(m_caption);
    if (state == 0)
        return caption;
    switch (m_arrowStyle) {
    case ArrowRight: return caption + QStringLiteral("  >>");
    case ArrowLeft: return QStringLiteral("<<  ") + caption;
    case ArrowDown: return QStringLiteral("VV  ") + caption + QStringLiteral("  VV");
    case ArrowUp: return QStringLiteral("^^  ") + caption + QStringLiteral("  ^^");
    default: return caption;
    }
}

QSize CToggleButton::sizeHint() const
{
    const QFontMetrics metrics(CaptionFont());
    return QSize(metrics.horizontalAdvance(DisplayText()) + 16, metrics.height() + 10);
}

// The caption is written in the owner's font, so the page buttons match the form around them.
QFont CToggleButton::CaptionFont() const
{
    return parentWidget() ? parentWidget()->font() : font();
}

void CToggleButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect area = rect();
    const bool on = state != 0;
    painter.fillRect(area, ToQColor(on ? m_onBackground : m_offBackground));
    Draw3DFrame(painter, area, state == pressedValue, true, false);

    const QFont captionFont = CaptionFont();
    painter.setFont(captionFont);
    painter.setPen(ToQColor(on ? m_onText : m_offText));
    const QString text = DisplayText();
    const QPoint centre((area.left() + area.left() + area.width()) / 2, (area.top() + area.top() + area.height()) / 2);
    const int textWidth = QFontMetrics(captionFont).horizontalAdvance(text);
    painter.drawText(QPoint(centre.x() - textWidth / 2, centre.y() + kBaselineBelowCentre), text);
}
