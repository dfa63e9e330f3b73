#include "support/TextWidths.h"

#include "framework/Cp1252.h"

#include <QApplication>
#include <QFontMetrics>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Texts of every kind a list shows: letters with accents (Windows-1252 bytes), digits,
// punctuation and blanks, of many lengths, some of them repeated.
std::vector<std::string> ListTexts(std::size_t count)
{
    const char* const words[] = {"Feldspar", "Wollastonite", "K2O Al2O3 6SiO2", "caf\xE9 cr\xE8me", "$ 1.25 / lb",
                                 "AVAWAT", "fi fl ffi", "Tenmoku (iron)", "  12.5 g / c", "\x80 \x93quoted\x94"};
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < count; ++i) {
        std::string text = words[i % 10];
        text += " " + std::to_string(i * 7919 % 100000);
        if (i % 3 == 0)
            text += words[(i / 3) % 10];
        texts.push_back(text);
    }
    texts.insert(texts.end(), texts.begin(), texts.begin() + 50);
    return texts;
}

} // namespace

// The widest of many texts is the one the font's metrics give, found by measuring only a few: a
// text of a few wide letters beats longer texts of narrow ones and must not be missed.
TEST(TextWidthsTest, TheWidestOfManyTextsIsFoundMeasuringOnlyAFew)
{
    QFont font = QApplication::font();
    font.setPointSize(11);
    std::vector<std::string> texts = ListTexts(5000);
    const QFontMetrics metrics(font);
    int widestListed = 0;
    std::size_t longest = 0;
    for (const std::string& text : texts) {
        widestListed = std::max(widestListed, metrics.horizontalAdvance(FromCp1252(text)));
        longest = std::max(longest, text.size());
    }
    std::string wide = "W";
    while (metrics.horizontalAdvance(FromCp1252(wide)) <= widestListed)
        wide += 'W';
    ASSERT_LT(wide.size(), longest) << "the wide text must be shorter than the longest";
    texts.insert(texts.begin() + 2500, wide);

    CTextWidths widths(font);
    EXPECT_EQ(widths.Widest(texts), metrics.horizontalAdvance(FromCp1252(wide)));
    EXPECT_GE(widths.KeptCount(), CTextWidths::kLeastMeasured);
    EXPECT_LE(widths.KeptCount(), CTextWidths::kMostMeasured);
    for (std::size_t i = 0; i < texts.size(); i += 97)
        ASSERT_EQ(widths.Width(texts[i]), metrics.horizontalAdvance(FromCp1252(texts[i]))) << texts[i];
    EXPECT_EQ(widths.Widest({}), 0);

    // Another font measures differently: nothing measured in the old one is kept.
    font.setPointSize(16);
    widths.SetFont(font);
    EXPECT_EQ(widths.KeptCount(), 0u);
    EXPECT_EQ(widths.Widest(texts), QFontMetrics(font).horizontalAdvance(FromCp1252(wide)));
    EXPECT_EQ(widths.Width(texts[1]), QFontMetrics(font).horizontalAdvance(FromCp1252(texts[1])));
}
