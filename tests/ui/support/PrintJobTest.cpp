#include "support/PrintJob.h"

#include "core/framework/FakeFileDialogs.h"
#include "core/shell/FakeMessageService.h"
#include "core/support/FakeServices.h"
#include "core/support/FileSizeLimit.h"
#include "framework/PrintPreviewDlg.h"
#include "shell/AppContext.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"
#include "support/PrintSurface.h"
#include "ui/support/TestFolders.h"

#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace {

// A short report in the shape the program's reports take.
void FillSampleReport(CTextPrinter& printer)
{
    printer.m_showFirstHeader = printer.m_showLaterHeader = true;
    printer.m_laterPageNumber = true;
    printer.m_firstHeaderRule = printer.m_laterHeaderRule = true;
    printer.m_firstHeader = "Glaze Report";
    printer.m_laterHeader = "Glaze Report";
    printer.push_back("Cone 6 Satin Matte\x0f\x01");
    printer.push_back("------------------\x19\x0f\x01");
    printer.push_back("\x01");
    printer.push_back("Recipe\x14");
    printer.push_back("\x1a");
    printer.push_back("Custer Feldspar        20.0");
    printer.push_back("Whiting                20.0");
    printer.push_back("EPK Kaolin             20.0");
    printer.push_back("Silica                 40.0");
    printer.push_back("Total                 100.0\x15");
    printer.push_back("");
    printer.push_back("Unity formula: 0.30 KNaO, 0.70 CaO, 0.35 Al2O3, 3.10 SiO2");
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// A US letter page at 100 dots per inch, white.
QImage BlankPage()
{
    QImage image(850, 1100, QImage::Format_RGB32);
    image.setDotsPerMeterX(3937);
    image.setDotsPerMeterY(3937);
    image.fill(Qt::white);
    return image;
}

int DarkPixels(const QImage& image, const QRect& area)
{
    int dark = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                ++dark;
    return dark;
}

// The smallest rectangle holding every dark pixel of area (empty when none).
QRect InkBounds(const QImage& image, const QRect& area)
{
    QRect bounds;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

// The streams of a PDF, the Flate-compressed ones inflated.
std::vector<QByteArray> PdfStreams(const QByteArray& pdf)
{
    std::vector<QByteArray> streams;
    for (qsizetype at = pdf.indexOf(">>\nstream\n"); at >= 0; at = pdf.indexOf(">>\nstream\n", at)) {
        at += 10;
        const qsizetype end = pdf.indexOf("endstream", at);
        if (end < 0)
            break;
        if (static_cast<unsigned char>(pdf[at]) != 0x78) { // not zlib data
            streams.push_back(pdf.mid(at, end - at));
            continue;
        }
        QByteArray sized(4, '\0');
        sized[1] = 1; // a size hint of 64 KiB; inflating grows past it
        streams.push_back(qUncompress(sized + pdf.mid(at, end - at)));
    }
    return streams;
}

// The text a PDF of one embedded font shows, whitespace removed: the glyphs of its "<gid> Tj"
// operators mapped through the font's ToUnicode ranges.
std::string PdfText(const QByteArray& pdf)
{
    std::map<int, int> toUnicode;
    std::vector<int> glyphs;
    const QRegularExpression range("<([0-9A-F]{4})> <([0-9A-F]{4})> \\[([^\\]]*)\\]");
    const QRegularExpression shown("<([0-9A-F]{4})> Tj");
    for (const QByteArray& stream : PdfStreams(pdf)) {
        const QString text = QString::fromLatin1(stream);
        for (auto it = range.globalMatch(text); it.hasNext();) {
            const QRegularExpressionMatch match = it.next();
            int glyph = match.captured(1).toInt(nullptr, 16);
            for (const QString& code : match.captured(3).split(' ', Qt::SkipEmptyParts))
                toUnicode[glyph++] = code.mid(1, 4).toInt(nullptr, 16);
        }
        for (auto it = shown.globalMatch(text); it.hasNext();)
            glyphs.push_back(it.next().captured(1).toInt(nullptr, 16));
    }
    std::string text;
    for (const int glyph : glyphs)
        if (toUnicode.count(glyph) && toUnicode[glyph] > ' ')
            text += static_cast<char>(toUnicode[glyph]);
    return text;
}

} // namespace

TEST(PrintJobTest, WriteToFileAsksOnceAndPutsTheTextOnTheClipboard)
{
    CAppContext context;
    CFakeMessageService messages;
    COxidariumApp app;
    CFakeFileDialogs dialogs;
    CFakeClipboard clipboard;
    int fills = 0;
    CPrintJob job([&fills](CTextPrinter& printer) {
        ++fills;
        printer.insert(printer.end(), {"Title\x14", "hidden\x02", "printed only\x04", "line", "", ""});
    });

    dialogs.AnswerCancel();
    EXPECT_EQ(job.WriteToFile("Text to File..."), CPrintJob::WriteResult::Cancelled);
    EXPECT_EQ(fills, 0);
    ASSERT_EQ(dialogs.requests.size(), 1u);
    const CFileDialogRequest& request = dialogs.At(0);
    EXPECT_EQ(request.mode, CFileDialogRequest::Mode::Save);
    EXPECT_EQ(request.title, "Text to File...");
    EXPECT_EQ(request.defaultExtension, "txt");
    EXPECT_EQ(request.filter, "Text files (*.txt)|*.txt|All files (*.*)|*.*||");
    EXPECT_EQ(request.flags, 0x806u);
    EXPECT_EQ(request.helpId, 303u);
    EXPECT_TRUE(request.clipboardOption);

    dialogs.AnswerClipboard();
    EXPECT_EQ(job.WriteToFile("Text to File..."), CPrintJob::WriteResult::Written);
    EXPECT_EQ(clipboard.content, std::string(33, ' ') + "Title\r\nhidden\r\nline\r\n")
        << "trailing empty lines are dropped";
    EXPECT_TRUE(messages.boxes.empty());

    clipboard.failWrites = true;
    dialogs.AnswerClipboard();
    EXPECT_EQ(job.WriteToFile("Text to File..."), CPrintJob::WriteResult::Failed);
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.At(0).text, "Error writing to Clipboard");
    EXPECT_EQ(messages.At(0).Icon(), MsgIconError);
    EXPECT_EQ(messages.At(0).helpId, kWriteClipboardErrorHelpId);
}

TEST(PrintJobTest, WriteToFileWritesSafelyAndReportsAFailure)
{
    CAppContext context;
    CFakeMessageService messages;
    COxidariumApp app;
    CFakeFileDialogs dialogs;
    QTemporaryDir directory;
    ASSERT_TRUE(directory.isValid());
    const std::string path = directory.filePath("report.txt").toStdString();
    CPrintJob job([](CTextPrinter& printer) {
        printer.insert(printer.end(), {"first", "\x0c", "second\x15"});
        for (int i = 0; i < 200; ++i)
            printer.push_back("a line that makes the report longer than the size limit below");
    });

    dialogs.AnswerPath(path);
    EXPECT_EQ(job.WriteToFile("Glaze Report to File..."), CPrintJob::WriteResult::Written);
    const std::string written = ReadFile(path);
    EXPECT_EQ(written.substr(0, 6 + 1 + 66 + 7), "first\n\f" + std::string(66, ' ') + "second\n");
    EXPECT_TRUE(messages.boxes.empty());

    // A write that fails part way (a full disk) leaves the file as it was.
    dialogs.AnswerPath(path);
    {
        CFileSizeLimit limit(1000);
        EXPECT_EQ(job.WriteToFile("Glaze Report to File..."), CPrintJob::WriteResult::Failed);
    }
    EXPECT_EQ(ReadFile(path), written);
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.At(0).text,
              path + ": Error writing file\n\nThe file would be larger than the file system allows.");
    EXPECT_EQ(messages.At(0).Icon(), MsgIconError);
    EXPECT_EQ(messages.At(0).helpId, kWriteFileErrorHelpId);

    const std::string missing = directory.filePath("no such folder/report.txt").toStdString();
    dialogs.AnswerPath(missing);
    EXPECT_EQ(job.WriteToFile("Glaze Report to File..."), CPrintJob::WriteResult::Failed);
    EXPECT_EQ(messages.Last().text, missing + ": Error writing file");

    // Regression: a link that leads nowhere was refused without a word of why.
    const std::string dangling = directory.filePath("dangling.txt").toStdString();
    std::filesystem::create_symlink(directory.filePath("gone.txt").toStdString(), dangling);
    dialogs.AnswerPath(dangling);
    EXPECT_EQ(job.WriteToFile("Glaze Report to File..."), CPrintJob::WriteResult::Failed);
    EXPECT_EQ(messages.Last().text,
              dangling + ": Error writing file\n\nThe file is a symbolic link to a file that does not exist.");
}

TEST(PrintJobTest, PrintsTheReportToAPdfFile)
{
    CAppContext context;
    QTemporaryDir directory;
    ASSERT_TRUE(directory.isValid());
    // One font throughout, so that the PDF holds one glyph-to-text map.
    CPrintJob job([](CTextPrinter& printer) {
        for (int slot = 0; slot < PrinterFontCount; ++slot)
            printer.SetFont(slot, *printer.GetFont(PrinterFontBody));
        printer.m_timeStamp.clear();
        printer.m_showFirstHeader = printer.m_showLaterHeader = true; // for the footer
        printer.m_pageNumberFormat = "Sheet %d";
        printer.insert(printer.end(), {"Satin Matte Recipe\x14", "\x1a", "Whiting 20.0", "\x0c", "Silica 40.0\x15"});
    });

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(directory.filePath("report.pdf"));
    EXPECT_EQ(job.PrintTo(printer), 2);
    QFile pdf(directory.filePath("report.pdf"));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF-"));
    EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") + bytes.count("/Type /Page "), 2)
        << "one PDF page per laid-out page";
    EXPECT_EQ(PdfText(bytes), "Sheet1SatinMatteRecipeWhiting20.0Sheet2Silica40.0");

    // A page range prints only its pages.
    QPrinter second(QPrinter::HighResolution);
    second.setOutputFormat(QPrinter::PdfFormat);
    second.setOutputFileName(directory.filePath("second.pdf"));
    second.setFromTo(2, 5);
    EXPECT_EQ(job.PrintTo(second), 1);

    // Nothing to print prints nothing.
    CPrintJob empty([](CTextPrinter&) {});
    QPrinter none(QPrinter::HighResolution);
    none.setOutputFormat(QPrinter::PdfFormat);
    none.setOutputFileName(directory.filePath("none.pdf"));
    EXPECT_EQ(empty.PrintTo(none), 0);
    EXPECT_FALSE(QFile::exists(directory.filePath("none.pdf")));
}

TEST(PrintJobTest, RendersASampleReportPage)
{
    CAppContext context;
    CPrintJob job(FillSampleReport);
    QImage page = BlankPage();
    ASSERT_TRUE(job.RenderPage(page, 1));
    EXPECT_FALSE(job.RenderPage(page, 2));
        EXPECT_TRUE(page.save(ScreenshotFolder() + "/report-page.png"));

    // The same layout, to know where its lines lie (thousandths of an inch; 10 per pixel).
    CTextPrinter layout;
    CPrintJob::ApplyPreferences(layout);
    FillSampleReport(layout);
    CPrintSurface surface(page, layout);
    layout.PrepareDC(surface);
    layout.Paginate();
    const int top = layout.FirstBodyRect().top / 10;
    const int body = layout.GetLineHeight(PrinterFontBody) / 10;
    const int tall = layout.GetLineHeight(PrinterFontTall) / 10;

    // Nothing is drawn in the top and left margins (0.75 inch); the header text starts at their
    // corner, the centred heading lies around the middle of the body (75..775) and the right-
    // aligned total ends at its right edge.
    EXPECT_EQ(DarkPixels(page, QRect(0, 0, 850, 74)), 0);
    EXPECT_EQ(DarkPixels(page, QRect(0, 0, 74, 1100)), 0);
    EXPECT_GT(DarkPixels(page, QRect(75, 75, 200, 30)), 50) << "the header text";
    const QRect heading = InkBounds(page, QRect(0, top + tall + 2 * body + 1, 850, body - 2));
    ASSERT_FALSE(heading.isEmpty());
    EXPECT_NEAR(heading.center().x(), 425, 4);
    const QRect total = InkBounds(page, QRect(0, top + tall + 8 * body + 1, 850, body - 2));
    ASSERT_FALSE(total.isEmpty());
    EXPECT_NEAR(total.right(), 775, 4);
    const QRect rule = InkBounds(page, QRect(0, top + tall + 3 * body + 1, 850, body - 2));
    EXPECT_NEAR(rule.left(), 75, 1);
    EXPECT_NEAR(rule.right(), 775, 1);
    EXPECT_LE(rule.height(), 2) << "a full-width rule, not text";
}

TEST(PrintJobTest, PreferencesSetUpThePrinterBeforeTheContentDoes)
{
    CAppContext context;
    g_prefs.prtlmar = 500;
    g_prefs.prttimest = "%Y";
    g_prefs.prtpgnum = "Page %d";
    g_prefs.prtfont.height = 100;
    g_prefs.prtfont.weight = 600;
    CTextPrinter seen;
    CPrintJob job([&seen](CTextPrinter& printer) {
        seen = printer;
        printer.m_leftMargin = 1000; // the content may change any of it
    });
    QImage page = BlankPage();
    job.RenderPage(page, 1);
    EXPECT_EQ(seen.m_leftMargin, 500);
    EXPECT_EQ(seen.m_rightMargin, 750);
    EXPECT_EQ(seen.m_timeStamp, "%Y");
    EXPECT_EQ(seen.m_pageNumberFormat, "Page %d");
    ASSERT_NE(seen.GetFont(PrinterFontFirstHeader), nullptr);
    EXPECT_EQ(seen.GetFont(PrinterFontFirstHeader)->height, 200);
    EXPECT_EQ(seen.GetFont(PrinterFontFirstHeader)->weight, 900);
    EXPECT_EQ(seen.GetFont(PrinterFontLaterHeader)->height, 100);
    EXPECT_EQ(seen.GetFont(PrinterFontTall)->weight, 900);
    EXPECT_EQ(seen.GetFont(PrinterFontTimeStamp)->italic, 1);
    EXPECT_EQ(seen.GetFont(PrinterFontBody)->weight, 600);
}

TEST(PrintJobTest, FontsFollowTheStoredDescription)
{
    CLogFont stored = CLogFont::Default();
    stored.height = 90;
    stored.weight = 700;
    stored.italic = 1;
    stored.faceName = "Courier New";
    const QFont font = QFontFromLogFont(stored);
    EXPECT_DOUBLE_EQ(font.pointSizeF(), 9.0);
    EXPECT_EQ(font.weight(), QFont::Bold);
    EXPECT_TRUE(font.italic());
    EXPECT_TRUE(font.fixedPitch());
    EXPECT_EQ(font.families().value(0), QStringLiteral("Courier New"));
    EXPECT_EQ(font.styleHint(), QFont::TypeWriter);

    stored.height = 0;
    stored.weight = 0;
    EXPECT_DOUBLE_EQ(QFontFromLogFont(stored).pointSizeF(), 10.0);
    EXPECT_EQ(QFontFromLogFont(stored).weight(), QFont::Normal);

    // A font drawn on a device of 100 dots per inch measures in thousandths of an inch.
    QImage page = BlankPage();
    CTextPrinter printer;
    stored.height = 720; // one inch
    stored.weight = 400;
    printer.SetFont(PrinterFontBody, stored);
    CPrintSurface surface(page, printer);
    EXPECT_EQ(surface.PageWidth(), 8500);
    EXPECT_EQ(surface.PageHeight(), 11000);
    EXPECT_NEAR(surface.LineHeight(PrinterFontBody), 1100, 250);
    EXPECT_EQ(surface.LineHeight(PrinterFontTall), surface.LineHeight(PrinterFontBody))
        << "slots without a font take the body font";
    EXPECT_EQ(surface.TextWidth(PrinterFontBody, "\tx"), surface.TextWidth(PrinterFontBody, "        x"));
}

TEST(PrintJobTest, PreviewPaintsThePagesWithoutBlocking)
{
    CAppContext context;
    int fills = 0;
    CPrintJob job([&fills](CTextPrinter& printer) {
        ++fills;
        FillSampleReport(printer);
    });
    bool closed = false;
    QTimer::singleShot(0, [&closed] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* preview = qobject_cast<CPrintPreviewDlg*>(widget)) {
                preview->grab().save(ScreenshotFolder() + "/report-preview.png");
                preview->reject();
                closed = true;
            }
        }
    });
    job.PrintPreview();
    EXPECT_TRUE(closed);
    EXPECT_GE(fills, 1);
}
