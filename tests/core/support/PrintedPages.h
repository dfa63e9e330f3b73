#pragma once

// The pages of a text printer as text, to compare printouts whole: a letter-size device with
// one fixed-pitch font (every character a tenth of an inch wide, lines a sixth of an inch high,
// tall and first-header lines twice that). Each page starts with "=== page N" and shows its
// lines from top to bottom, every text at the column where the printer puts it. Two marks open
// each line: the font of its texts (" " body, "T" tall, "H" first-page header, "h" later-page
// header, "t" time stamp) and its rule, if any ("-" thin, "=" the thick rule under a tall line).
// The time stamp is the printer's pattern filled in for 2 March 2025, 14:05.

#include "support/TextPrinter.h"

#include <algorithm>
#include <ctime>
#include <map>
#include <string>
#include <utility>

class CPageTextDevice : public CTextPrinterCanvas {
public:
    static constexpr int kCharWidth = 100;
    static constexpr int kLineHeight = 167;

    int PageWidth() override { return 8500; }
    int PageHeight() override { return 11000; }
    int LineHeight(int slot) override
    {
        return slot == PrinterFontTall || slot == PrinterFontFirstHeader ? 2 * kLineHeight : kLineHeight;
    }
    int TextWidth(int, const std::string& text) override { return kCharWidth * static_cast<int>(text.size()); }
    void DrawText(int slot, int x, int y, Align align, const std::string& text) override
    {
        const int width = TextWidth(slot, text);
        const int left = align == Align::Left ? x : align == Align::Right ? x - width : x - width / 2;
        Put(y, left, text, 0, "HhTt "[SlotMark(slot)]);
    }
    void DrawRule(int x1, int x2, int y, int penWidth) override
    {
        const char mark = penWidth > 0 ? '=' : '-';
        Put(y, x1, std::string(static_cast<std::size_t>(std::max(0, x2 - x1) / kCharWidth), mark), 1, mark);
    }

    // The page drawn so far as lines, and a fresh page.
    std::string TakePage()
    {
        std::string text;
        for (auto& [y, line] : m_lines) {
            std::string shown = std::string{line.marks[0], line.marks[1]} + line.text;
            shown.erase(shown.find_last_not_of(' ') + 1);
            text += shown + "\n";
        }
        m_lines.clear();
        return text;
    }

private:
    struct Line {
        char marks[2] = {' ', ' '};
        std::string text;
    };
    static int SlotMark(int slot)
    {
        switch (slot) {
        case PrinterFontFirstHeader: return 0;
        case PrinterFontLaterHeader: return 1;
        case PrinterFontTall: return 2;
        case PrinterFontTimeStamp: return 3;
        default: return 4;
        }
    }
    void Put(int y, int x, const std::string& text, int markIndex, char mark)
    {
        Line& line = m_lines[y];
        if (mark != ' ')
            line.marks[markIndex] = mark;
        const std::size_t column = static_cast<std::size_t>(std::max(0, x) / kCharWidth);
        if (line.text.size() < column + text.size())
            line.text.resize(column + text.size(), ' ');
        line.text.replace(column, text.size(), text);
    }

    std::map<int, Line> m_lines;
};

// Every page of printer, laid out on the device above.
inline std::string PrintedPages(CTextPrinter& printer)
{
    CPageTextDevice device;
    std::tm when{};
    when.tm_year = 125, when.tm_mon = 2, when.tm_mday = 2, when.tm_hour = 14, when.tm_min = 5;
    printer.PrepareDC(device, when);
    printer.Paginate();
    std::string text;
    for (int page = 1; page <= printer.GetPageCount(); ++page) {
        printer.PrintPage(device, page);
        text += "=== page " + std::to_string(page) + "\n" + device.TakePage();
    }
    return text;
}
