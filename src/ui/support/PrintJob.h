#pragma once

// The one print job of the program: every printable content (report views, text windows,
// element and material printouts...) offers Print..., Print Preview... and Write to File...
// through a CPrintJob built with a function that fills a text printer with the content's lines
// and layout settings.
//
// Each command builds a fresh CTextPrinter, sets it up from the working print preferences
// (margins, time stamp and page-number patterns, fonts from the printer font) and then lets the
// fill function add the lines and change whatever it wants (headers, switches, fonts, text
// width). Printing and previews lay the lines out for the chosen printer and paper; Write to
// File writes the same lines as plain text to a file or, on request, to the clipboard.

#include "framework/MessageService.h"
#include "support/TextPrinter.h"

#include <functional>
#include <string>

class QPaintDevice;
class QPrinter;
class QWidget;

// Help topics of the Write to File failures.
inline constexpr unsigned kWriteFileErrorHelpId = 0x30123;
inline constexpr unsigned kWriteClipboardErrorHelpId = 0x30124;
inline constexpr unsigned kWriteToFileDialogHelpId = 303;

class CPrintJob {
public:
    using FillFunction = std::function<void(CTextPrinter&)>;

    enum class WriteResult { Written, Cancelled, Failed };

    explicit CPrintJob(FillFunction fill);

    // Asks for a printer (and page range) and prints; false when the user cancelled.
    bool Print(QWidget* parent = nullptr);
    // Shows the pages in the program's print preview, laid out once and each page drawn when it
    // is shown; its Print... closes it and prints as Print does.
    void PrintPreview(QWidget* parent = nullptr);
    // Asks for a file, with the Clipboard choice, under title (e.g. "Text to File...") and
    // writes the lines as plain text there; a failure is shown in a message box.
    WriteResult WriteToFile(const std::string& title);

    // Lays the content out for printer and prints the pages of its range (all when none is
    // set, in its page order). Returns the number of pages printed; 0 prints nothing.
    int PrintTo(QPrinter& printer);
    // Lays the content out for device and draws its page'th page (1-based) on it; false when
    // there is no such page. The device is not cleared first.
    bool RenderPage(QPaintDevice& device, int page);

    // The Write to File question's filter and the message boxes' icon.
    std::string m_fileFilter = "Text files (*.txt)|*.txt|All files (*.*)|*.*||";
    // Asked with the chosen file's path before Write to File writes it (e.g. whether what the
    // file cannot hold may be replaced); false writes nothing and counts as cancelled.
    std::function<bool(const std::string&)> m_confirmFile;
    // Fills the printer for the clipboard with UTF-8 lines instead, when the content holds text
    // that Windows-1252 cannot (a text window): the clipboard holds Unicode text, so there every
    // character stays as it is.
    FillFunction m_unicodeClipboardFill;
    unsigned m_errorIcon = MsgIconError;

    // The setup every print starts from: the working preferences' margins ("prtlmar" ...),
    // "prttimest", "prtpgnum" and fonts made from "prtfont": body the font, time stamp italic,
    // tall lines bold, first-page header bold at twice the height, later-page header bold.
    static void ApplyPreferences(CTextPrinter& printer);

private:
    void Fill(CTextPrinter& printer, const FillFunction& fill) const;
    bool WriteToClipboard(const CTextPrinter& printer, bool unicode) const;
    void ShowError(const std::string& text, unsigned helpId) const;

    FillFunction m_fill;
};

// The page headers of a printed database summary, as the preferences ask ("prtuseffs"), ruled,
// with page numbers after the first page.
void SetSummaryPageHeaders(CTextPrinter& printer);
