// The widget tests measure and draw text; they see the same fonts on every machine (the DejaVu
// faces named by tests/fonts/fonts.conf.in), whatever font packages are installed.

#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

#include <gtest/gtest.h>

TEST(TestFontsTest, OnlyTheDejaVuFacesAreSeenAndEveryFamilyTheProgramAsksForMapsOntoThem)
{
    // Besides the three DejaVu families, Qt lists its generic names for them.
    EXPECT_EQ(QFontDatabase::families().join(", ").toStdString(),
              "DejaVu Sans, DejaVu Sans Mono, DejaVu Serif, Monospace, Sans Serif, Serif");
    const std::pair<const char*, const char*> resolved[] = {
        {"Courier New", "DejaVu Sans Mono"},   {"Courier", "DejaVu Sans Mono"},
        {"monospace", "DejaVu Sans Mono"},     {"Times New Roman", "DejaVu Serif"},
        {"Arial", "DejaVu Sans"},              {"MS Sans Serif", "DejaVu Sans"},
        // Faces of common font packages (fonts-noto-mono, fonts-liberation, fonts-urw-base35)
        // are never used, even when installed.
        {"Noto Mono", "DejaVu Sans"},          {"Liberation Mono", "DejaVu Sans"},
        {"Nimbus Mono PS", "DejaVu Sans"},     {"No Such Family", "DejaVu Sans"},
    };
    for (const auto& [asked, family] : resolved)
        EXPECT_EQ(QFontInfo(QFont(QString::fromLatin1(asked), 10)).family().toStdString(), family) << asked;
}
