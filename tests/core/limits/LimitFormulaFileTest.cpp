#include "limits/LimitFormulaDB.h"

#include "core/support/CheckedItems.h"
#include "TestPaths.h"
#include "shell/AppContext.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

const std::string kHeader = "filetype = Oxidarium Limit Formulas\nversion =  2\n\n";

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string Written(const CLimitFormulaDB& database)
{
    std::ostringstream out;
    EXPECT_EQ(database.Write(out), 0);
    return out.str();
}

class LimitFormulaFileTest : public ::testing::Test {
protected:
    int Read(const std::string& text)
    {
        std::istringstream in(text);
        return m_database.Read(in);
    }
    // Something to be thrown away by the next read.
    void Prefill()
    {
        m_database.AddDefaultCombinations();
        m_database.InsertFormula(0, CLimitFormula("old"));
        m_database.m_infoLines = {"old"};
        m_database.m_name = "Old";
    }
    bool IsEmpty() const
    {
        return m_database.GetCount() == 0 && m_database.m_combinations.empty() && m_database.m_infoLines.empty() &&
               m_database.m_name == "Limit Formulas";
    }

    CAppContext m_context;
    CLimitFormulaDB m_database;
};

TEST_F(LimitFormulaFileTest, TheGoldenFileRoundTripsByteForByte)
{
    const std::string path = OXI_TEST_DATA_DIR "/limits/sample.lim";
    std::ifstream in(path, std::ios::binary);
    ASSERT_EQ(m_database.Read(in), 0) << m_database.m_errorText;
    EXPECT_EQ(Written(m_database), ReadAll(path));

    EXPECT_EQ(m_database.m_name, "Sample limits");
    EXPECT_EQ(m_database.m_version, 2);
    EXPECT_EQ(m_database.m_infoLines, (CStringArrayEx{"Formulas for the reader's tests.", "   indented information", ""}));
    ASSERT_EQ(m_database.m_combinations.GetCount(), 3);
    const COxideCombination& fluxes = m_database.m_combinations.GetAt(2);
    EXPECT_EQ(fluxes.GetFormula(), "Alkalis+Neutrals");
    EXPECT_EQ(fluxes.GetKind(), COxideCombination::kSum);
    EXPECT_DOUBLE_EQ(fluxes.m_plotMin, -1.5e-7);
    EXPECT_DOUBLE_EQ(fluxes.m_plotMax, 1234570.0);

    ASSERT_EQ(m_database.GetCount(), 3);
    const CLimitFormula& gloss = m_database.GetAt(0);
    EXPECT_EQ(gloss.m_date, "03/01/2025");
    ASSERT_EQ(gloss.m_limits.GetCount(), 3);
    EXPECT_EQ(RecordAt(gloss.m_limits, 1).GetRange(), ">= 7 <= 10");
    EXPECT_DOUBLE_EQ(RecordAt(gloss.m_limits, 1).GetMaximum(), 10.0);
    EXPECT_EQ(RecordAt(gloss.m_limits, 1).m_byPercent, 0);
    EXPECT_EQ(RecordAt(gloss.m_limits, 2).m_byPercent, 1);
    EXPECT_EQ(gloss.m_notes, (CStringArrayEx{"First note", "", "    indented note"}));
    EXPECT_EQ(RecordAt(m_database, 1).m_date, "");
    EXPECT_EQ(RecordAt(m_database, 1).m_limits.GetCount(), 0);
}

TEST_F(LimitFormulaFileTest, WriterLayout)
{
    EXPECT_EQ(Written(m_database), kHeader + "dbname  = Limit Formulas\n\n\n");

    m_database.m_name = "Two\r\nlines";
    m_database.m_infoLines = {"  kept blanks", "cut\nhere"};
    m_database.m_combinations.Add(COxideCombination("R2O", "Na+K+Li", 0.0, 1.0 / 3.0));
    CLimitFormula formula("Glossy\n");
    formula.m_date = "3/1/25";
    formula.m_limits.Add(CLimit("SiO2", "2.5 - 4", 0));
    formula.m_limits.Add(CLimit("Al2O3", "> 10", 1));
    formula.m_notes = {"", " x"};
    m_database.InsertFormula(0, formula);
    EXPECT_EQ(Written(m_database), kHeader +
                                       "dbname  = Two  lines\n"
                                       "I = |  kept blanks\n"
                                       "I = |cut here\n"
                                       "\n"
                                       "cmbname    = R2O\n"
                                       "cmbformula = Na+K+Li\n"
                                       "cmbplotmin = 0\n"
                                       "cmbplotmax = 0.333333\n"
                                       "\n"
                                       "\n"
                                       "name  = Glossy \n"
                                       "date  = 3/1/25\n"
                                       "combo = SiO2\n"
                                       "range = 2.5 - 4\n"
                                       "bypct = n\n"
                                       "combo = Al2O3\n"
                                       "range = > 10\n"
                                       "bypct = y\n"
                                       "note = |\n"
                                       "note = | x\n"
                                       "\n");

    // A failed stream is reported.
    std::ostringstream failed;
    failed.setstate(std::ios::badbit);
    EXPECT_EQ(m_database.Write(failed), 1);
}

TEST_F(LimitFormulaFileTest, AWrongFileTypeNamesItWholeAndLeavesTheDatabaseEmpty)
{
    Prefill();
    EXPECT_NE(Read("filetype = Oxidarium Materials\nversion = 2\nname = x\n"), 0);
    EXPECT_EQ(m_database.m_errorText, "Incorrect file type: Oxidarium Materials");
    EXPECT_TRUE(IsEmpty());

    const std::string longType(600, 'q');
    EXPECT_NE(Read("filetype = " + longType + "\n"), 0);
    EXPECT_EQ(m_database.m_errorText, "Incorrect file type: " + longType);

    // The type is compared ignoring case.
    EXPECT_EQ(Read("filetype = oxidarium LIMIT formulas\nversion = 1\n"), 0);
    EXPECT_EQ(m_database.m_version, 1);
}

TEST_F(LimitFormulaFileTest, ReadingEdgeCases)
{
    // Only the header: no formulas and no combinations (defaults are for new databases only).
    Prefill();
    EXPECT_EQ(Read(kHeader), 0);
    EXPECT_TRUE(IsEmpty());

    // By-percent flags, interleaved records, a combination without its plot range.
    ASSERT_EQ(Read(kHeader + "name = A\ncmbname = X\n"
                             "combo = a\nbypct = Yes\ncombo = b\nbypct = y\ncombo = c\nbypct = n\n"
                             "combo = d\nbypct = 1\ncombo = e\nbypct =\nnote = |\nnote = |  two\r\n"
                             "cmbformula = Ca\r\nrange = < 1\n"),
              0)
        << m_database.m_errorText;
    const CLimitArray& limits = RecordAt(m_database, 0).m_limits;
    ASSERT_EQ(limits.GetCount(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(RecordAt(limits, i).m_byPercent, i < 2 ? 1 : 0) << i;
    EXPECT_EQ(RecordAt(limits, 4).GetRange(), "< 1");
    EXPECT_TRUE(RecordAt(limits, 4).HasMaximum());
    EXPECT_EQ(RecordAt(m_database, 0).m_notes, (CStringArrayEx{"", "  two"}));
    const COxideCombination& x = RecordAt(m_database.m_combinations, 0);
    EXPECT_EQ(x.GetFormula(), "Ca");
    EXPECT_EQ(x.m_plotMin, 0.0);
    EXPECT_EQ(x.m_plotMax, 1.0);

    // A record key without its record fails the whole read, even after complete formulas.
    struct Case {
        std::string body;
        std::string message;
    };
    const Case failures[] = {
        {"name = A\ncombo = SiO2\nrange = 1 - 2\nname = B\nrange = 1 - 2\n", "Error: parameter 'range', line 8"},
        {"date = 1/1/01\n", "Error: parameter 'date', line 4"},
        {"name = A\nbypct = y\n", "Error: parameter 'bypct', line 5"},
        {"note = |x\n", "Error: parameter 'note', line 4"},
        {"cmbplotmax = 3\n", "Error: parameter 'cmbplotmax', line 4"},
        {"cmbformula = Si\n", "Error: parameter 'cmbformula', line 4"},
    };
    for (const Case& failure : failures) {
        Prefill();
        EXPECT_EQ(Read(kHeader + failure.body), -1) << failure.body;
        EXPECT_EQ(m_database.m_errorText, failure.message);
        EXPECT_TRUE(IsEmpty());
    }

    // Header keys: version 1 to 2, exactly once each.
    EXPECT_NE(Read("filetype = Oxidarium Limit Formulas\nversion = 3\n"), 0);
    EXPECT_EQ(m_database.m_errorText, "Parameter 'version' out of range, line 2");
    EXPECT_NE(Read("filetype = Oxidarium Limit Formulas\nname = A\n"), 0);
    EXPECT_EQ(m_database.m_errorText, "Parameter 'version' not found");
    EXPECT_TRUE(IsEmpty());
    EXPECT_NE(Read(kHeader + "version = 2\n"), 0);
    EXPECT_EQ(m_database.m_errorText, "Multiple occurrences of parameter 'version', line 4");
}

TEST_F(LimitFormulaFileTest, TheShippedDatabaseIsComplete)
{
    const std::string path = OXI_SHIPPED_DATA_DIR "/tarnell.lim";
    std::ifstream in(path, std::ios::binary);
    ASSERT_EQ(m_database.Read(in), 0) << m_database.m_errorText;
    EXPECT_EQ(Written(m_database), ReadAll(path));
    EXPECT_EQ(m_database.m_combinations.GetCount(), 14);
    ASSERT_GE(m_database.GetCount(), 4);
    for (int i = 0; i < m_database.GetCount(); ++i) {
        const CLimitFormula& formula = m_database.GetAt(i);
        EXPECT_GT(formula.m_limits.GetCount(), 0) << formula.m_name;
        for (int k = 0; k < formula.m_limits.GetCount(); ++k) {
            const CLimit& limit = formula.m_limits.GetAt(k);
            EXPECT_EQ(limit.ParseRange(), 0) << formula.m_name << ": " << limit.GetRange();
            EXPECT_NE(m_database.m_combinations.FindByName(limit.m_comboName), nullptr) << limit.m_comboName;
        }
    }
}

} // namespace
