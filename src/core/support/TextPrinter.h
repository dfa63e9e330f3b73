#pragma once

// The text printer behind every Print, Print Preview and Write to File command.
//
// A report is a list of lines; the code that writes the report decides its layout by putting
// control characters into the lines (anywhere in the line; they are removed before a line is
// drawn or written):
//    1 keep a run of consecutive marked lines on one page when it fits
//    2 not printed and takes no room (still written to text files)
//    3 left out of edit controls (printed)
//    4 not written to text files (printed)
//    5 / 6 the line is no line: its text becomes the running header of first / later pages
//      from its page on
//    12 the line begins a new page (ignored on the first line; a form feed in text files);
//      with 7 as well the new page is numbered 1 and laid out as a first page
//    15 tall line (the tall font)
//    20 centred, 21 right-aligned (on the text width in text files)
//    25 a rule as long as the text would be, 26 a rule across the body (text not printed)
//
// Use: fill the lines (often through a CLineOStream aimed at the printer), set texts, switches,
// margins and fonts, then PrepareDC with the device's metrics, Paginate, and PrintPage for each
// wanted page in any order. WriteText writes the same lines as plain text.
//
// All lengths are in thousandths of an inch; y grows downward from the top of the device's
// printable area.

#include "support/Geometry.h"
#include "support/LogFont.h"
#include "support/StringArrayEx.h"

#include <array>
#include <ctime>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

// The printer's font slots.
enum TextPrinterFont : int {
    PrinterFontFirstHeader = 0,
    PrinterFontLaterHeader = 1,
    PrinterFontBody = 2,
    PrinterFontTall = 3,
    PrinterFontTimeStamp = 4,
    PrinterFontCount = 5,
};

// Measures the device and the fonts of the printer's slots, in thousandths of an inch.
class CTextPrinterMetrics {
public:
    virtual ~CTextPrinterMetrics() = default;
    // The device's printable area.
    virtual int PageWidth() = 0;
    virtual int PageHeight() = 0;
    // The text height (ascent plus descent) of the font in a slot.
    virtual int LineHeight(int fontSlot) = 0;
    virtual int TextWidth(int fontSlot, const std::string& text) = 0;
};

// Draws on one page of the device (and measures it: rules are as long as their text).
class CTextPrinterCanvas : public CTextPrinterMetrics {
public:
    enum class Align { Left, Center, Right };

    // Text whose top lies at y; x is its left edge, its middle or its right edge.
    virtual void DrawText(int fontSlot, int x, int y, Align align, const std::string& text) = 0;
    // A black horizontal line from x1 to x2 at y; penWidth 0 is the device's thinnest line.
    virtual void DrawRule(int x1, int x2, int y, int penWidth) = 0;
};

// One page of the layout: lines [firstLine, endLine), its number (1 on first pages) and the
// running header texts that lines of this page set (empty when none did).
struct CTextPrinterPage {
    int firstLine = 0;
    int endLine = 0;
    int pageNumber = 1;
    std::string firstHeader;
    std::string laterHeader;
};

class CTextPrinter : public CStringArrayEx {
public:
    // Pen width of the rule under a tall line.
    static constexpr int kTallRuleWidth = 20;
    static constexpr int kDefaultTextWidth = 72;

    CTextPrinter() = default;

    // --- what the owner sets ----------------------------------------------------------------

    std::string m_firstHeader; // header text of first pages
    std::string m_laterHeader; // header text of later pages
    // A strftime pattern for the footer's time stamp ("prttimest"); empty: none.
    std::string m_timeStamp;
    // The footer's page-number pattern ("prtpgnum"): literal text, "%%" and at most one integer
    // conversion, filled with the physical page number; empty: none.
    std::string m_pageNumberFormat;
    bool m_showFirstHeader = false; // header and footer on first pages
    bool m_showLaterHeader = false; // header and footer on later pages
    bool m_firstPageNumber = false; // "Page n" at the right of the first-page header
    bool m_laterPageNumber = false;
    bool m_firstHeaderRule = false; // a rule under the first-page header
    bool m_laterHeaderRule = false;
    int m_leftMargin = 0;
    int m_rightMargin = 0;
    int m_topMargin = 0;
    int m_bottomMargin = 0;
    int m_textWidth = kDefaultTextWidth; // characters per line of WriteText
    bool m_keepTabs = false;             // tabs survive the removal of control characters

    // A slot without a font is drawn by the device's choice (the body font, as a rule).
    void SetFont(int slot, const CLogFont& font);
    const CLogFont* GetFont(int slot) const;

    // --- layout -----------------------------------------------------------------------------

    // Measures the page and the fonts, sets the rectangles (margins that leave no room for a
    // line are reduced) and formats the time stamp with the current local time (or now).
    void PrepareDC(CTextPrinterMetrics& metrics);
    void PrepareDC(CTextPrinterMetrics& metrics, const std::tm& now);

    // Builds the page records from the lines; needs PrepareDC first.
    void Paginate();
    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    const std::vector<CTextPrinterPage>& Pages() const { return m_pages; }

    // The block of lines starting at first that stays together within available height:
    // end (exclusive) and the block's height.
    void MeasureBlock(int first, int available, int& end, int& height) const;

    // Draws the header, footer and body of the page'th page (1-based, the physical page).
    // False when there is no such page.
    bool PrintPage(CTextPrinterCanvas& canvas, int page) const;
    void PrintHeaderFooter(CTextPrinterCanvas& canvas, int page) const;
    void PrintBody(CTextPrinterCanvas& canvas, int page) const;

    // Writes the lines as plain text, each followed by '\n'. False when the stream failed.
    bool WriteText(std::ostream& out) const;

    // --- results of PrepareDC ---------------------------------------------------------------

    int GetLineHeight(int slot) const;
    const CCoreRect& FirstHeaderRect() const { return m_firstHeaderRect; }
    const CCoreRect& LaterHeaderRect() const { return m_laterHeaderRect; }
    const CCoreRect& FirstBodyRect() const { return m_firstBodyRect; }
    const CCoreRect& LaterBodyRect() const { return m_laterBodyRect; }
    // The formatted time stamp (the pattern stays in m_timeStamp, so preparing twice is safe).
    const std::string& TimeStampText() const { return m_timeStampText; }

    // The header texts in force on a page: the last ones that a page up to it set, else the
    // printer's own.
    std::string EffectiveFirstHeader(int page) const;
    std::string EffectiveLaterHeader(int page) const;

private:
    struct LineInfo {
        std::string text;
        int flags[32] = {};
    };
    LineInfo Examine(int line) const;
    int HeightOf(const LineInfo& info) const;
    void ClampMargins(int pageWidth, int pageHeight, int& left, int& right, int& top, int& bottom) const;
    void SetRectangles(int pageWidth, int pageHeight);
    void StartPage(int firstLine, int number);
    void BreakPage(int line, bool restart, int& used, int& offset);
    int AvailableHeight(const CTextPrinterPage& page) const;
    void TakeHeaders(CTextPrinterPage& page, const LineInfo& info) const;
    void DrawFooter(CTextPrinterCanvas& canvas, const CCoreRect& body, int physicalPage) const;

    std::array<std::optional<CLogFont>, PrinterFontCount> m_fonts;
    std::array<int, PrinterFontCount> m_lineHeights{};
    std::vector<CTextPrinterPage> m_pages;
    CCoreRect m_firstHeaderRect;
    CCoreRect m_laterHeaderRect;
    CCoreRect m_firstBodyRect;
    CCoreRect m_laterBodyRect;
    std::string m_timeStampText;
};

// The footer's page number: pattern is literal text with "%%" for a percent sign and at most
// one integer conversion ("%d", "%i" or "%u", optionally with the flags "-+ 0" and a width of
// at most 100); every other '%' and a second conversion are printed as they stand.
std::string FormatPageNumber(const std::string& pattern, int number);

// The fonts the printouts derive from the printer font preference: underline and strike-out
// cleared; italic; bold (weight 700, 900 when the font is already heavier than 500); tall is the
// bold font at twice the height.
struct CPrintFontSet {
    CLogFont normal;
    CLogFont italic;
    CLogFont bold;
    CLogFont tall;
};
CPrintFontSet MakePrintFontSet(const CLogFont& printerFont);
