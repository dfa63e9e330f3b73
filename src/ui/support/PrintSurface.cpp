#include "support/PrintSurface.h"

#include "framework/Cp1252.h"
#include "shell/Preferences.h"
#include "support/TextHelpers.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kFixedPitch = 0x01;
constexpr int kFamilyMask = 0xF0;
constexpr int kFamilyRoman = 0x10;
constexpr int kFamilySwiss = 0x20;
constexpr int kFamilyModern = 0x30;
constexpr int kFamilyScript = 0x40;
constexpr int kFamilyDecorative = 0x50;
constexpr int kTabSize = 8;
constexpr double kDefaultPointSize = 10.0;

QFont::StyleHint StyleHintFor(int pitchAndFamily)
{
    if ((pitchAndFamily & kFixedPitch) != 0)
        return QFont::TypeWriter;
    switch (pitchAndFamily & kFamilyMask) {
    case kFamilyRoman: return QFont::Serif;
    case kFamilySwiss: return QFont::SansSerif;
    case kFamilyModern: return QFont::TypeWriter;
    case kFamilyScript: return QFont::Cursive;
    case kFamilyDecorative: return QFont::Decorative;
    default: return QFont::AnyStyle;
    }
}

// Tabs survive in lines only when the printer keeps them; they are drawn as blanks to the next
// stop of eight, which is what the reports that keep tabs line up to.
QString DisplayText(const std::string& text)
{
    if (text.find('\t') == std::string::npos)
        return FromCp1252(text);
    std::string expanded = text;
    return FromCp1252(ExpandTabsString(expanded, kTabSize));
}

} // namespace

QFont QFontFromLogFont(const CLogFont& logFont)
{
    QFont font;
    font.setStyleHint(StyleHintFor(logFont.pitchAndFamily));
    if (!logFont.faceName.empty())
        font.setFamilies({FromCp1252(logFont.faceName)});
    const int tenths = std::abs(logFont.height);
    font.setPointSizeF(tenths == 0 ? kDefaultPointSize : std::max(tenths, 10) / 10.0);
    const int weight = logFont.weight <= 0 ? CLogFont::kDefaultWeight : std::min(logFont.weight, 1000);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setItalic(logFont.italic != 0);
    font.setUnderline(logFont.underline != 0);
    font.setStrikeOut(logFont.strikeOut != 0);
    font.setFixedPitch((logFont.pitchAndFamily & kFixedPitch) != 0);
    return font;
}

CPrintSurface::CPrintSurface(QPaintDevice& device, const CTextPrinter& printer)
    : m_device(device)
    , m_dpiX(std::max(1, device.logicalDpiX()))
    , m_dpiY(std::max(1, device.logicalDpiY()))
{
    const CLogFont* body = printer.GetFont(PrinterFontBody);
    const CLogFont fallback = body ? *body : CPreferences::DefaultFont();
    for (int slot = 0; slot < PrinterFontCount; ++slot) {
        const CLogFont* own = printer.GetFont(slot);
        m_fonts[static_cast<std::size_t>(slot)] = QFontFromLogFont(own ? *own : fallback);
    }
}

const QFont& CPrintSurface::Font(int slot) const
{
    return m_fonts[static_cast<std::size_t>(std::clamp(slot, 0, PrinterFontCount - 1))];
}

int CPrintSurface::PageWidth()
{
    return static_cast<int>(std::lround(m_device.width() * 1000.0 / m_dpiX));
}

int CPrintSurface::PageHeight()
{
    return static_cast<int>(std::lround(m_device.height() * 1000.0 / m_dpiY));
}

int CPrintSurface::LineHeight(int fontSlot)
{
    const QFontMetricsF metrics(Font(fontSlot), &m_device);
    return static_cast<int>(std::lround(metrics.height() * 1000.0 / m_dpiY));
}

int CPrintSurface::TextWidth(int fontSlot, const std::string& text)
{
    const QFontMetricsF metrics(Font(fontSlot), &m_device);
    return static_cast<int>(std::lround(metrics.horizontalAdvance(DisplayText(text)) * 1000.0 / m_dpiX));
}

void CPrintSurface::DrawText(int fontSlot, int x, int y, Align align, const std::string& text)
{
    if (!m_painter || text.empty())
        return;
    const QFont& font = Font(fontSlot);
    const QFontMetricsF metrics(font, &m_device);
    const QString shown = DisplayText(text);
    double left = ToDeviceX(x);
    if (align == Align::Center)
        left -= metrics.horizontalAdvance(shown) / 2.0;
    else if (align == Align::Right)
        left -= metrics.horizontalAdvance(shown);
    // A painter on another device (a preview's sheet, scaled from the printer's pixels) gets the
    // font at the size it has in the printer's pixels.
    const int paintedDpi = m_painter->device() ? m_painter->device()->logicalDpiY() : 0;
    if (paintedDpi > 0 && paintedDpi != static_cast<int>(m_dpiY)) {
        QFont scaled = font;
        scaled.setPointSizeF(font.pointSizeF() * m_dpiY / paintedDpi);
        m_painter->setFont(scaled);
    } else {
        m_painter->setFont(font);
    }
    m_painter->setPen(Qt::black);
    // y is the top of the text; Qt draws on the baseline.
    m_painter->drawText(QPointF(left, ToDeviceY(y) + metrics.ascent()), shown);
}

void CPrintSurface::DrawRule(int x1, int x2, int y, int penWidth)
{
    if (!m_painter)
        return;
    QPen pen(Qt::black);
    pen.setCapStyle(Qt::FlatCap);
    pen.setWidthF(penWidth > 0 ? ToDeviceY(penWidth) : 0.0); // 0: the thinnest line
    m_painter->setPen(pen);
    const double deviceY = ToDeviceY(y);
    m_painter->drawLine(QPointF(ToDeviceX(x1), deviceY), QPointF(ToDeviceX(x2), deviceY));
}
