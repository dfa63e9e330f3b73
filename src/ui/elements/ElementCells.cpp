#include "elements/ElementCells.h"

#include "elements/ElementTable.h"
#include "framework/Cp1252.h"
#include "support/DialogStyle.h"
#include "support/NumberText.h"
#include "support/UiHelpers.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

const CElementRecord& RecordOf(int z)
{
    return GetElementTable()[IsValidElementNumber(z) ? z : 0];
}

// Text whose baseline starts at x (left), is centred on x or ends at x (right).
enum class HAlign { Left, Center, Right };

void DrawBaselineText(QPainter& painter, int x, int baseline, HAlign align, const std::string& text)
{
    const QString shown = FromCp1252(text);
    const int width = painter.fontMetrics().horizontalAdvance(shown);
    if (align == HAlign::Center)
        x -= width / 2;
    else if (align == HAlign::Right)
        x -= width;
    painter.drawText(QPoint(x, baseline), shown);
}

// Text whose top left corner (or top right corner) lies at the point.
void DrawTopText(QPainter& painter, int x, int top, HAlign align, const std::string& text)
{
    DrawBaselineText(painter, x, top + painter.fontMetrics().ascent(), align, text);
}

void FillAndFrame(QPainter& painter, const QRect& rect, const CColor& fill, bool sunken)
{
    painter.fillRect(rect, ToQColor(fill));
    Draw3DFrame(painter, rect, sunken, true, false);
    painter.setPen(Qt::black);
    painter.setBackgroundMode(Qt::TransparentMode);
}

} // namespace

std::string InfoAreaRoleWord(std::int32_t role)
{
    std::string word;
    if (role & (kRoleAcid | kRoleAlkali | kRoleNeutral)) {
        word = (role & kRoleAcid) ? "Acid" : (role & kRoleAlkali) ? "Alkali" : "Neutral";
        if (role & kRoleAmphoteric)
            word += " (amphoteric)";
    } else if (role & kRoleVolatile) {
        word = "Volatile";
    } else if (role & kRoleNotExpected) {
        word = "Not expected in ceramic materials";
    } else {
        word = "Unknown";
    }
    return word;
}

std::vector<std::string> InfoAreaLines(const CElementRecord& element)
{
    std::vector<std::string> lines = {
        element.name,
        "Oxide:  " + element.oxide + "  (M.W. " + FormatDoubleFixed(element.oxideMW, 2) + ")",
        "Ceramic role:  " + InfoAreaRoleWord(element.role),
    };
    if (element.difoxinred)
        lines.push_back("In reduction: " + element.oxideRed);
    return lines;
}

CColor RoleFillColor(std::int32_t role)
{
    return GetNamedColor(RoleColourKey(role));
}

// --- element cell -------------------------------------------------------------------------------

CElementCellButton::CElementCellButton(int z, QWidget* parent) : QAbstractButton(parent), m_z(z)
{
    // The window keeps the keyboard focus: the arrow keys move the current element.
    setFocusPolicy(Qt::NoFocus);
    setText(FromCp1252(RecordOf(z).symbol));
}

CColor CElementCellButton::FillColor() const
{
    return RoleFillColor(RecordOf(m_z).role);
}

void CElementCellButton::PaintCell(int state)
{
    m_state = state;
    repaint();
}

void CElementCellButton::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    const QRect area = rect();
    FillAndFrame(painter, area, FillColor(), m_state == 1);
    DrawBaselineText(painter, area.center().x(), area.center().y() + 4, HAlign::Center, RecordOf(m_z).symbol);
}

// A double click is the second click's notice; the first click has already selected the cell.
void CElementCellButton::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractButton::mouseDoubleClickEvent(event);
        return;
    }
    event->accept();
    emit doubleClicked();
}

// --- large cell ----------------------------------------------------------------------------------

CElementValueButton::CElementValueButton(QWidget* parent) : QWidget(parent) {}

void CElementValueButton::PaintCell()
{
    repaint();
}

void CElementValueButton::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    const QRect area = rect();
    const CElementRecord& element = RecordOf(m_z);
    FillAndFrame(painter, area, RoleFillColor(element.role), false);
    DrawBaselineText(painter, area.center().x(), area.center().y() + 3, HAlign::Center, element.symbol);
    DrawBaselineText(painter, area.right() - 5, area.bottom() - 5, HAlign::Right,
                     FormatDoubleFixed(element.weight, 2));
    DrawTopText(painter, area.left() + 4, area.top() + 4, HAlign::Left, std::to_string(m_z));
}

// --- information area ----------------------------------------------------------------------------

CElementInfoArea::CElementInfoArea(QWidget* parent) : QWidget(parent) {}

void CElementInfoArea::Paint()
{
    repaint();
}

void CElementInfoArea::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    const QRect area = rect();
    FillAndFrame(painter, area, GetNamedColor("elv_infoarea"), false);
    const std::vector<std::string> lines = InfoAreaLines(RecordOf(m_z));
    static constexpr int kLineTops[] = {12, 33, 53, 73};
    for (std::size_t i = 0; i < lines.size() && i < std::size(kLineTops); ++i) {
        const int left = area.left() + (i == 0 ? 12 : 30);
        DrawTopText(painter, left, area.top() + kLineTops[i], HAlign::Left, lines[i]);
    }
}

// --- label button --------------------------------------------------------------------------------

CLabelButton::CLabelButton(QWidget* parent) : QAbstractButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
}

void CLabelButton::Setup(const CColor& face, const CColor& background, bool hasCaption, const std::string& caption)
{
    m_face = face;
    m_background = background;
    m_hasCaption = hasCaption;
    m_caption = caption;
    setText(FromCp1252(caption));
    update();
}

void CLabelButton::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    const QRect area = rect();
    if (!m_hasCaption) {
        painter.fillRect(area, ToQColor(m_background));
        return;
    }
    FillAndFrame(painter, area, m_face, isDown());
    DrawBaselineText(painter, area.center().x(), area.center().y() + 4, HAlign::Center, m_caption);
}
