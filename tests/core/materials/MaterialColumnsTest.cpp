#include "materials/MaterialColumns.h"

#include "core/support/CheckedItems.h"
#include "core/materials/MaterialTestSupport.h"
#include "materials/MaterialArray.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::ElementsAre;

class MaterialColumnsTest : public MaterialTestBase {
protected:
    std::string Cell(int column) { return MaterialListCell(m_db, RecordAt(m_db, 0), column); }

    CMaterialArray m_db;
};

TEST_F(MaterialColumnsTest, ColumnStrings)
{
    std::vector<int> columns;
    MaterialColumnPresence present{};
    EXPECT_EQ(ParseMaterialColumns("NC", columns, present), 2);
    EXPECT_THAT(columns, ElementsAre(1, 0));
    EXPECT_TRUE(present[0] && present[1] && !present[2]);
    EXPECT_EQ(ParseMaterialColumns("CxC n*", columns, present), 3);
    EXPECT_THAT(columns, ElementsAre(0, 0, 11));
    EXPECT_EQ(ParseMaterialColumns("xyz", columns, present), 1);
    EXPECT_THAT(columns, ElementsAre(1));
    EXPECT_TRUE(present[1]);
    EXPECT_EQ(ParseMaterialColumns("", columns, present), 1);
    EXPECT_EQ(ParseMaterialColumns("CNFTA$DMWRH*C", columns, present), 12);
    EXPECT_THAT(columns, ElementsAre(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11));
}

TEST_F(MaterialColumnsTest, CellTexts)
{
    CMaterial m = Parsed("SiO2");
    m.m_name = "Silica";
    m.m_code = "SIL";
    m.m_type = "silica";
    m.m_costPerLb = 1.5;
    m.m_density = 12.5;
    m.m_notes = {"one", "", " two"};
    m.m_hazNotes = {"dust"};
    m_db.InsertCopy(0, m);
ASSERT_EQ(m_db.GetCount(), 1);

    EXPECT_EQ(Cell(MaterialColumnCost), "$    1.50 / lb");
    EXPECT_EQ(Cell(MaterialColumnDensity), "  12.5 g / c");
    EXPECT_EQ(Cell(MaterialColumnWeight), "MW=    60.1");
    EXPECT_EQ(Cell(MaterialColumnAvailable), "Not Available");
    EXPECT_EQ(Cell(MaterialColumnMapping), "");
    EXPECT_EQ(Cell(MaterialColumnNotes), "one two"); // a line that begins with a blank needs none
    EXPECT_EQ(Cell(MaterialColumnHazardNotes), "dust");
    EXPECT_EQ(Cell(MaterialColumnAnalysisNotes), "");
    EXPECT_EQ(Cell(99), "");

    m_db.m_costUnit = 1;
    m_db.m_densityUnit = 1;
    m_db.m_currencySymbol = "EUR ";
    RecordAt(m_db, 0).m_available = 1;
    RecordAt(m_db, 0).m_mapTo = "Flint";
    RecordAt(m_db, 0).m_costPerLb = 1234.5;
    RecordAt(m_db, 0).m_density = 0.0;
    EXPECT_EQ(Cell(MaterialColumnCost), "EUR 1234.50 / kg");
    EXPECT_EQ(Cell(MaterialColumnDensity), "");
    EXPECT_EQ(Cell(MaterialColumnAvailable), "Available");
    EXPECT_EQ(Cell(MaterialColumnMapping), "(Flint)");
    RecordAt(m_db, 0).m_costPerLb = 0.0;
    EXPECT_EQ(Cell(MaterialColumnCost), "");
    RecordAt(m_db, 0).m_density = 5;
    EXPECT_EQ(Cell(MaterialColumnDensity), "    5.0 g / dl");

    EXPECT_EQ(MaterialListRow(m_db, RecordAt(m_db, 0), std::vector<int>{1, 0, 0}), "\tSilica\tSIL\tSIL");
}

TEST_F(MaterialColumnsTest, RowsOfEachMode)
{
    CMaterial whiting = Parsed("CaCO3");
    whiting.m_name = "Whiting";
    whiting.m_code = "WH";
    m_db.InsertCopy(0, whiting);
    CMaterial gain = Parsed("SiO2");
    gain.m_name = "Gain";
    m_db.InsertCopy(1, gain);
    ASSERT_EQ(m_db.GetCount(), 2);
    RecordAt(m_db, 1).m_loi = -0.02; // a material that gains weight when fired

    CStringArrayEx rows;
    int mode = 0;
    g_prefs.matshort = "NC";
    BuildMaterialListRows(m_db, mode, rows);
    EXPECT_THAT(rows, ElementsAre("\tWhiting\tWH", "\tGain\t"));

    mode = 1;
    g_prefs.matext1 = "nothing known";
    BuildMaterialListRows(m_db, mode, rows);
    EXPECT_THAT(rows, ElementsAre("\tWhiting", "\tGain"));

    g_prefs.decanalysispct = 2;
    g_prefs.tzsanalysispct = 1;
    g_prefs.mattab = "Ca Si LOI";
    mode = 4;
    BuildMaterialListRows(m_db, mode, rows);
    EXPECT_EQ(mode, 4);
    // Whiting's carbon dioxide counts in its analysis: CaO 56.03 %, LOI 43.97 %.
    EXPECT_THAT(rows, ElementsAre("Whiting\t%\t  56.03 CaO\t\t  43.97 LOI", "Gain\t%\t\t100.0  SiO2\t   -2.0  LOI"));

    g_prefs.mattab = "";
    BuildMaterialListRows(m_db, mode, rows);
    EXPECT_EQ(mode, 0);
    EXPECT_THAT(rows, ElementsAre("\tWhiting\tWH", "\tGain\t"));

    // Nothing to show: the mode stays.
    CMaterialArray empty;
    mode = 4;
    BuildMaterialListRows(empty, mode, rows);
    EXPECT_TRUE(rows.empty());
    EXPECT_EQ(mode, 4);
}

} // namespace
