#include "framework/Cp1252.h"

#include "support/MessagePath.h"

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

// A file name in a message reads as the window caption reads it; the rest of the message is
// Windows-1252 and stays as it was.
TEST(Cp1252Test, FileNamesInMessagesReadAsTheirCaptions)
{
    const std::string names[] = {"/tmp/plain.glz", "/tmp/Glasur \xC3\xA4 \xCE\xB1.glz", "/d/\xE2\x82\xAC\xF0\x9F\x8F\xBA.txt",
                                 "/d/\xC2\x81\xC2\x80.txt"};
    for (const std::string& name : names)
        EXPECT_EQ(FromMessageText(MessagePath(name) + ": \xB0"), FromFileName(name) + QString::fromUtf8(": °")) << name;
    EXPECT_EQ(MessagePath("/tmp/Glasur \xC3\xA4 \xCE\xB1.glz"), "/tmp/Glasur \xE4 \x81" "3B1;.glz");
    // Bytes that are no UTF-8 are read as Windows-1252.
    EXPECT_EQ(FromMessageText(MessagePath("/d/Glasur \xE4\x81.glz")), QString::fromUtf8("/d/Glasur \xC3\xA4\xC2\x81.glz"));
    // A 0x81 of a record name that starts no mark is Windows-1252's, as everywhere.
    EXPECT_EQ(FromMessageText("a\x81" "3B1 \x81;\x81"), FromCp1252("a\x81" "3B1 \x81;\x81"));
}

// Refused characters are named as the user sees them, with the code point beside; one that shows
// nothing by itself is named by its code point alone, and a combining mark sits on a circle.
TEST(Cp1252Test, CharactersAreNamedAsTheyLookWithTheirCodePoints)
{
    EXPECT_EQ(NameCharacters(U"α→\U0001F600"), "\x81" "3B1; (U+03B1), \x81" "2192; (U+2192), \x81" "1F600; (U+1F600)");
    EXPECT_EQ(FromMessageText(NameCharacters(U"α\u0301\u200B\u2003")),
              QString::fromUtf8("α (U+03B1), ◌\u0301 (U+0301), U+200B, U+2003"));
}
