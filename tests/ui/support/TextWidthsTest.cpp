#include "support/TextWidths.h"

#include "framework/Cp1252.h"

#include <QApplication>
#include <QFontMetrics>

#include <gtest/gtest.h>

#include <set>
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

// Many new texts are measured on several threads, each with its own font made from the same
// description: the widths must be the ones the font's metrics give on the window's thread.
TEST(TextWidthsTest, WidthsMeasuredOnManyThreadsAreTheFontMetricsWidths)
{
    QFont font = QApplication::font();
    font.setPointSize(11);
    const std::vector<std::string> texts = ListTexts(CTextWidths::kParallelFrom + 500);
    CTextWidths widths(font);
    const int widest = widths.Widest(texts);

    const QFontMetrics metrics(font);
    int expectedWidest = 0;
    for (const std::string& text : texts) {
        const int expected = metrics.horizontalAdvance(FromCp1252(text));
        expectedWidest = std::max(expectedWidest, expected);
        ASSERT_EQ(widths.Width(text), expected) << text;
    }
    EXPECT_EQ(widest, expectedWidest);
    EXPECT_EQ(widths.KeptCount(), std::set<std::string>(texts.begin(), texts.end()).size());
    EXPECT_EQ(widths.Widest({}), 0);

    // Another font measures differently: nothing measured in the old one is kept.
    font.setPointSize(16);
    widths.SetFont(font);
    EXPECT_EQ(widths.KeptCount(), 0u);
    EXPECT_EQ(widths.Width(texts[1]), QFontMetrics(font).horizontalAdvance(FromCp1252(texts[1])));
}
