#pragma once

// Widths in pixels of the core's texts (Windows-1252) in one font, exactly as
// QFontMetrics::horizontalAdvance measures them.
//
// A list window sets its tab stops from the widest text of each column, and with 100,000 rows
// measuring every cell was most of a refill. So the widest of many texts is found without
// measuring them all: each text's width is first estimated as the sum of its characters'
// advances (a table of 256 per font, cheap to add up), and only the texts whose estimate comes
// near the largest are measured. Kerning and ligatures make a text narrower than its estimate,
// so the widest text is among those measured; a text of few wide letters ("WWW") is weighed by
// its letters, not its length.
//
// Each distinct text measured is kept with its width (a refill after an edit measures only what
// is new). The kept widths are forgotten when the font changes, and before a request when they
// have grown far beyond the texts asked for (old texts of a list that has since changed).

#include <QFont>

#include <array>
#include <span>
#include <string>
#include <unordered_map>

class CTextWidths {
public:
    // A request measures at least this many texts (the widest estimates), all of them when it
    // has fewer, and at most kMostMeasured: beyond that the remaining candidates are as wide as
    // the measured ones to within the estimate's slack.
    static constexpr std::size_t kLeastMeasured = 64;
    static constexpr std::size_t kMostMeasured = 1024;

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
    // The estimated width of a text: its characters' advances added up.
    float Estimate(const std::string& text) const;
    void LoadAdvances();

    QFont m_font;
    std::unordered_map<std::string, int> m_widths;
    std::array<float, 256> m_advances{};
    bool m_advancesLoaded = false;
};
