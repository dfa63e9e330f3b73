#include "graphs/GraphTemplateSummary.h"

#include "graphs/GraphTemplate.h"
#include "graphs/GraphTypeTable.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

std::vector<std::string> SummaryLines(const CGraphTemplate& t, bool formFeeds)
{
    std::ostringstream out;
    WriteGraphTemplateSummary(out, t, formFeeds);
    std::vector<std::string> lines;
    std::istringstream in(out.str());
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

TEST(GraphTemplateSummaryTest, NewTemplate)
{
    CGraphTemplate t("new graph template");
    CGraphDataSource source("[current glaze]");
    t.m_dataSources.InsertAt(0, source);
    CGraphDataSource named("Shinos");
    named.dsdb = 2;
    named.dsglz = 3;
    named.dsdbname = "Tests";
    // The glaze names wrap at 66 characters: these make 67.
    named.dsgname = {"Shino 1", "Shino 2", "Celadon with a name long enough to fill the lines"};
    t.m_dataSources.InsertAt(1, named);
    EXPECT_THAT(SummaryLines(t, false), ElementsAreArray(std::vector<std::string>{
                                            "new graph template\x0f\x01",
                                            "------------------\x19\x0f\x01",
                                            "Graph type:   One glaze - Oxides (pie)",
                                            "Glaze Edit:   not allowed",
                                            "Titles:",
                                            "  Graph title:  Automatic",
                                            "  Bottom title: Automatic",
                                            "  Left title:   Automatic (vertical)",
                                            "  Right title:  Automatic (vertical)",
                                            "Styles:",
                                            "  Segment Labels, Bar/Segment Borders",
                                            "Text Styles:",
                                            "  Top title:    Roman, Plain, size: 200%",
                                            "  L/R/B titles: Roman, Plain, size: 150%",
                                            "  Pie labels:   Roman, Plain, size: 150%",
                                            "Oxides:",
                                            "  All alkalis, All neutrals, All acids",
                                            "  Oxides as weight %",
                                            "Data sources:\x01",
                                            "  \"[current glaze]\": Current Database, Current Glaze",
                                            "  \"Shinos\": Tests, Specific Glazes",
                                            "    Shino 1, Shino 2, Celadon with a name long enough to fill the",
                                            "    lines",
                                            "",
                                            "",
                                        }));
}

TEST(GraphTemplateSummaryTest, TriaxialWithNotesAndPageHeadings)
{
    CGraphTemplate t("Fluxes (triaxial)");
    t.ResetDefaults(kGraphTriaxial);
    t.m_notes = {"one", "two", "three"};
    t.glzedan = 1;
    t.glzedlf = 1;
    t.ttltopa = 0;
    t.ttltop = "Fluxes";
    t.xman = 1;
    t.xmax = 60.5000004; // shown to six decimals
    t.yman = 1;
    t.ymin = 12.25;
    t.xvert = 1;
    t.tickin = 7;
    t.oxtype = 2;
    t.txtrisiz = 110;
    t.ovfile = "limits.png";
    t.ttlrtv = 0; // the right title upright, the left one along its axis
    EXPECT_THAT(SummaryLines(t, true),
                ElementsAreArray(std::vector<std::string>{
                    "\x0c\x07",
                    "Fluxes (triaxial)\x05\x06",
                    "-----------------\x02",
                    "\x02",
                    "  one\x01",
                    "  two\x01",
                    "  three",
                    "",
                    "Graph type:   Many glazes - Oxides (triaxial)",
                    "Glaze Edit:   Analysis, Limit Formula",
                    "Titles:",
                    "  Graph title:  \"Fluxes\"",
                    "  Bottom title: Automatic",
                    "  Left title:   Automatic (vertical)",
                    "  Right title:  Automatic",
                    "Styles:",
                    "  Axis Labels, Symbol size: 100%",
                    "Text Styles:",
                    "  Top title:    Roman, Plain, size: 200%",
                    "  L/R/B titles: Roman, Plain, size: 150%",
                    "  Axis labels:  Roman, Plain, size: 100%",
                    "  Triax corners:Roman, Plain, size: 110%",
                    "  Legend:       Roman, Plain, size: 100%",
                    "Axes:",
                    "  Bottom axis: 0 to 60.5, 10 divisions",
                    "  Left axis: minimum 12.25",
                    "  Ticks outside axes",
                    "Oxides:",
                    "  Lower right: All acids, Top: All neutrals, Lower left: All alkalis",
                    "  Oxides as molecular %",
                    "Overlay file: limits.png",
                    "Data sources:\x01",
                    "  (none)",
                }));
}

TEST(GraphTemplateSummaryTest, ThreeDBarsLimitFormulasAndOddValues)
{
    CGraphTemplate bars("Bars");
    bars.ResetDefaults(kGraphManyBarOxides);
    bars.piebar3d = 1;
    bars.gridx = 1;
    bars.noleg = 1;
    bars.txmainfam = 9;   // no such family
    bars.txmainsty = 64;  // no such style
    bars.bpoxides = "14,x,200";
    const std::vector<std::string> lines = SummaryLines(bars, false);
    EXPECT_THAT(lines, Contains("Styles:"));
    // The names wrap at 68 characters.
    EXPECT_THAT(lines, Contains("  Axis Labels, X Grid, No Legend, 3D Pie/Bar, True 3D, 3D"));
    EXPECT_THAT(lines, Contains("  Perspective, Cage Flipping, 3D Thickness: 100, 3D Bar Width: 50, 3D"));
    EXPECT_THAT(lines, Contains("  Bar Depth: 50, 3D Rotation: 20, 3D Elevation: 10, 3D Distance: 100"));
    EXPECT_THAT(lines, Contains("  Top title:    , , size: 200%"));
    // A piece that is not a number reads as 0 (KNaO); an unknown code is "???".
    EXPECT_THAT(lines, Contains("  SiO2, KNaO, ???; All bars shown"));

    CGraphTemplate limit("Limits");
    limit.ResetDefaults(kGraphManyLimitFormula);
    limit.yman = 1;
    limit.ytick = 4;
    limit.bpoxides = "";
    const std::vector<std::string> limitLines = SummaryLines(limit, false);
    EXPECT_THAT(limitLines, Contains("  Axis Labels, Bar/Segment Borders, Bar width: 50, Symbol size: 100%"));
    EXPECT_THAT(limitLines, Contains("  Y axis: 4 major ticks"));
    EXPECT_THAT(limitLines, Contains("Limit formula: none set"));
    EXPECT_THAT(limitLines, ::testing::Not(Contains("Oxides:")));
    EXPECT_THAT(limitLines, ::testing::Not(Contains("  Oxides as weight %")));

    CGraphTemplate unknown("Unknown");
    unknown.type = 99;
    unknown.labels = 0;
    unknown.borders = 0;
    const std::vector<std::string> unknownLines = SummaryLines(unknown, false);
    EXPECT_THAT(unknownLines, Contains("Graph type:   "));
    EXPECT_THAT(unknownLines, Contains("Styles: none"));
}

// Only the kinds that compare with a limit formula name one.
TEST(GraphTemplateSummaryTest, OnlyLimitKindsNameALimitFormula)
{
    std::vector<int> naming;
    for (int type = 0; type < kGraphTypeCount; ++type) {
        CGraphTemplate t("Kind");
        t.ResetDefaults(type);
        const std::vector<std::string> lines = SummaryLines(t, false);
        if (std::ranges::find(lines, "Limit formula: none set") != lines.end())
            naming.push_back(type);
    }
    EXPECT_THAT(naming, ElementsAre(2, 14, 15, 19));
}

// "Horizontal Bars" is named for the bar kinds and the limit-formula kinds only.
TEST(GraphTemplateSummaryTest, HorizontalBarsOnBarAndLimitKinds)
{
    const auto styles = [](int type) {
        CGraphTemplate t("Sideways");
        t.ResetDefaults(type);
        t.barhor = 1;
        t.labels = 0;
        t.borders = 0;
        const std::vector<std::string> lines = SummaryLines(t, false);
        const auto at = std::find(lines.begin(), lines.end(), "Styles:");
        return at != lines.end() && at + 1 != lines.end() ? *(at + 1) : std::string("(none)");
    };
    EXPECT_THAT(styles(kGraphManyBarOxides), ::testing::HasSubstr("Horizontal Bars"));
    EXPECT_THAT(styles(kGraphManyLimitFormula), ::testing::HasSubstr("Horizontal Bars"));
    EXPECT_THAT(styles(kGraphOnePieOxides), ::testing::Not(::testing::HasSubstr("Horizontal Bars")));
}

} // namespace
