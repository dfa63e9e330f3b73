#pragma once

// The text printer's device on Qt: measures fonts and draws text and rules with a QPainter on
// any paint device (a QPrinter for printing and previews, a QImage for pictures of a page), in
// thousandths of an inch from the top left of the device's printable area.

#include "support/TextPrinter.h"

#include <QFont>

#include <array>
#include <string>

class QPaintDevice;
class QPainter;

// The font a stored font description asks for: height in tenths of a point (1 point at least,
// 10 points when 0), weight 1..1000 (400 when unset), italic, underline, strike-out, face name,
// and a fallback by pitch and family (fixed pitch or the modern family: a monospaced font).
QFont QFontFromLogFont(const CLogFont& logFont);

class CPrintSurface : public CTextPrinterCanvas {
public:
    // The fonts are those of printer's slots; a slot without one takes the body font, and with
    // no body font the printer font of the preferences' defaults.
    CPrintSurface(QPaintDevice& device, const CTextPrinter& printer);

    // Drawing needs an active painter on the device, or on another device with the painter
    // scaled from this device's pixels to it (a preview); measuring needs no painter.
    void SetPainter(QPainter* painter) { m_painter = painter; }
    const QFont& Font(int slot) const;

    int PageWidth() override;
    int PageHeight() override;
    int LineHeight(int fontSlot) override;
    int TextWidth(int fontSlot, const std::string& text) override;
    void DrawText(int fontSlot, int x, int y, Align align, const std::string& text) override;
    void DrawRule(int x1, int x2, int y, int penWidth) override;

private:
    double ToDeviceX(int thousandths) const { return thousandths * m_dpiX / 1000.0; }
    double ToDeviceY(int thousandths) const { return thousandths * m_dpiY / 1000.0; }

    QPaintDevice& m_device;
    QPainter* m_painter = nullptr;
    std::array<QFont, PrinterFontCount> m_fonts;
    double m_dpiX;
    double m_dpiY;
};
