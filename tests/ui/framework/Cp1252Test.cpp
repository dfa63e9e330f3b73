#include "framework/Cp1252.h"

#include <gtest/gtest.h>

TEST(Cp1252Test, EveryByteSurvivesTheRoundTrip)
{
    std::string all;
    for (int i = 1; i < 256; ++i)
        all.push_back(static_cast<char>(i));
    EXPECT_EQ(ToCp1252(FromCp1252(all)), all);
}

TEST(Cp1252Test, MapsTheWindowsCharacters)
{
    EXPECT_EQ(FromCp1252(std::string("\x80 \x93x\x94 \xB0" "C")), QString::fromUtf8("€ “x” °C"));
    EXPECT_EQ(ToCp1252(QString::fromUtf8("Zürich – 5 €")), std::string("Z\xFCrich \x96 5 \x80"));
    EXPECT_EQ(ToCp1252(QString::fromUtf8("漢")), "?");
}
