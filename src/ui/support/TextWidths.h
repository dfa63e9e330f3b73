#pragma once

// Widths in pixels of the core's texts (Windows-1252) in one font, exactly as
// QFontMetrics::horizontalAdvance measures them.
//
// A list window measures every cell of a column to set its tab stops, and with 100,000 rows
// that measuring was most of a refill. So each distinct text is measured once and its width kept
// (a refill after an edit measures only what is new), and a long run of new texts is measured on
// several threads, each with a font of its own made from the same description.
//
// The kept widths are forgotten when the font changes, and before a request when they have grown
// far beyond the texts asked for (old texts of a list that has since changed).

#include <QFont>

#include <span>
#include <string>
#include <unordered_map>

class CTextWidths {
public:
    // From this many new texts on, measuring is shared out between threads.
    static constexpr std::size_t kParallelFrom = 4096;

    explicit CTextWidths(const QFont& font = QFont());

    // Forgets every width when the font measures differently.
    void SetFont(const QFont& font);
    const QFont& Font() const { return m_font; }

    int Width(const std::string& text);
    // The widest of the texts, 0 for none.
    int Widest(std::span<const std::string> texts);

    // Widths kept at the moment.
    std::size_t KeptCount() const { return m_widths.size(); }

private:
    void MeasureNew(std::span<const std::string> texts);

    QFont m_font;
    std::unordered_map<std::string, int> m_widths;
};
