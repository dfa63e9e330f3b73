#include "graphs/ChartPalette.h"

#include <gtest/gtest.h>

// After the sixteen classic colours come seven sets of sixteen hues, red first, from pale (30 %
// saturation) through full to dark (40 % value).
TEST(ChartPaletteTest, ColourSetsAreHuesOfTheirSaturationAndValue)
{
    EXPECT_EQ(GraphPaletteColor(12), CColor(255, 0, 0));
    EXPECT_EQ(GraphPaletteColor(16), CColor(255, 179, 179)); // set 1, red at 30 %
    EXPECT_EQ(GraphPaletteColor(32), CColor(255, 115, 115)); // set 2, red at 55 %
    EXPECT_EQ(GraphPaletteColor(68), CColor(128, 255, 0));   // set 4, hue 4: between yellow and green
    EXPECT_EQ(GraphPaletteColor(120), CColor(0, 102, 102));  // set 7, cyan at 40 % value
    EXPECT_EQ(GraphPaletteColor(-1), CColor());
}
