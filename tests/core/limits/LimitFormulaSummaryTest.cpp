#include "limits/LimitFormulaSummary.h"

#include "limits/LimitFormulaDB.h"
#include "shell/AppContext.h"
#include "shell/Preferences.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

std::string Joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

class LimitFormulaSummaryTest : public ::testing::Test {
protected:
    LimitFormulaSummaryTest()
    {
        g_prefs.declimformulas = 2;
        g_prefs.tzslimformulas = 1;
        m_database.m_name = "Sample";
        m_database.m_infoLines = {"Info one"};
        m_database.m_combinations.Add(COxideCombination("KNaO", "Na+K", 0.0, 1.0));
        m_database.m_combinations.Add(COxideCombination("Si:Al", "Si/Al", 0.0, 20.0));
        CLimitFormula gloss("Cone 6 gloss");
        gloss.m_limits.Add(CLimit("KNaO", "0.15 - 0.35", 0));
        gloss.m_limits.Add(CLimit("Si:Al", ">= 7 <= 10", 0));
        gloss.m_limits.Add(CLimit("SiO2", "> 50", 1));
        gloss.m_notes = {"First", "Second", "Third"};
        m_database.InsertFormula(0, gloss);
        m_database.InsertFormula(1, CLimitFormula("Bare"));
    }

    std::string Summary(std::vector<int> indices, bool withHeader, bool formFeeds,
                        const CLimitFormula* formula = nullptr) const
    {
        std::ostringstream out;
        WriteLimitFormulaSummary(out, m_database, "/data/s.lim", indices, withHeader, formula, formFeeds);
        return out.str();
    }

    CAppContext m_context;
    CLimitFormulaDB m_database;
};

TEST_F(LimitFormulaSummaryTest, OneFormula)
{
    const std::vector<std::string> body = {
        "    KNaO   0.15 - 0.35\x01",
        "    Si:Al  >= 7 <= 10\x01",
        "    SiO2   > 50 %\x01",
        "",
        "Notes:\x01",
        "  First\x01",
        "  Second\x01",
        "  Third",
    };
    std::vector<std::string> plain = {"Cone 6 gloss\x0f\x01", "------------\x19\x0f\x01", "\x01"};
    plain.insert(plain.end(), body.begin(), body.end());
    plain.insert(plain.end(), {"", ""});
    EXPECT_EQ(Summary({0}, false, false), Joined(plain));

    std::vector<std::string> paged = {"\x0c\x07", "Cone 6 gloss\x05\x06", "------------\x02", ""};
    paged.insert(paged.end(), body.begin(), body.end());
    EXPECT_EQ(Summary({0}, false, true), Joined(paged));

    // A formula given instead of indices; one without limits or notes is only its title.
    CLimitFormula bare("Bare");
    EXPECT_EQ(Summary({0, 1}, false, false, &bare), Joined({"Bare\x0f\x01", "----\x19\x0f\x01", "\x01", "", ""}));
    EXPECT_EQ(Summary({5, -1, 1}, false, true), Joined({"\x0c\x07", "Bare\x05\x06", "----\x02", ""}));
}

TEST_F(LimitFormulaSummaryTest, DatabaseHeaderAndCombinationTable)
{
    EXPECT_EQ(Summary({1}, true, false), Joined({
                                             "Sample\x0f\x01",
                                             "------\x19\x0f\x01",
                                             "\x01",
                                             "File: /data/s.lim",
                                             "",
                                             "Info one",
                                             "",
                                             "Oxide combinations\x0f\x01",
                                             "------------------\x19\x0f\x01",
                                             "",
                                             "\x01Name   Formula  Plot range",
                                             "\x01\x19--------------------------",
                                             "KNaO   Na+K     0.0 - 1.0",
                                             "Si:Al  Si/Al    0.0 - 20.0",
                                             "",
                                             "",
                                             "Bare\x0f\x01",
                                             "----\x19\x0f\x01",
                                             "\x01",
                                             "",
                                             "",
                                         }));

    // Pages: the title heads the first page, the table begins the next. Without a name the path
    // is the title and no "File:" line follows.
    m_database.m_name.clear();
    m_database.m_combinations.clear();
    EXPECT_EQ(Summary({}, true, true), Joined({
                                           "/data/s.lim\x05\x06",
                                           "-----------\x02",
                                           "Info one",
                                           "\x0c",
                                           "Oxide combinations\x05\x06",
                                           "------------------\x02",
                                           "",
                                           "\x01Name  Formula  Plot range",
                                           "\x01\x19-------------------------",
                                       }));
}

} // namespace
