#include "elements/ElementRecord.h"

#include "elements/ElementTable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// Equal records, apart from the last-digit rounding of rebuilt oxide weights.
bool SameApartFromWeight(CElementRecord a, const CElementRecord& b)
{
    if (std::fabs(a.oxideMW - b.oxideMW) > 1e-9 || std::fabs(a.oxideRedMW - b.oxideRedMW) > 1e-9)
        return false;
    a.oxideMW = b.oxideMW;
    a.oxideRedMW = b.oxideRedMW;
    return a == b;
}

} // namespace

TEST(ElementRecordTest, SetOxideRebuildsTextAndWeight)
{
    CElementTable table;
    table.SetOxide(13, -1, 2); // -1 keeps the cation count
    EXPECT_EQ(table[13].ncat, 2);
    EXPECT_EQ(table[13].nan, 2);
    EXPECT_EQ(table[13].oxide, "Al2O2");
    EXPECT_DOUBLE_EQ(table[13].oxideMW, 2 * 26.9815 + 2 * 15.9994);
    EXPECT_NEAR(table[13].oxideMW, 85.9618, 1e-9);

    table.SetOxide(13, -1, 3);
    EXPECT_EQ(table[13].oxide, "Al2O3");
    EXPECT_NEAR(table[13].oxideMW, 101.9612, 1e-9);
    EXPECT_TRUE(SameApartFromWeight(table[13], GetDefaultElement(13)));
}

TEST(ElementRecordTest, SetOxideCountRules)
{
    CElementTable table;
    table.SetOxide(14, 0, 0);
    EXPECT_EQ(table[14].oxide, "");
    EXPECT_EQ(table[14].oxideMW, 0.0);

    table.SetOxide(14, 1, 0);
    EXPECT_EQ(table[14].oxide, "Si");
    EXPECT_DOUBLE_EQ(table[14].oxideMW, 28.0855);

    table.SetOxide(14, 0, 1);
    EXPECT_EQ(table[14].oxide, "O");

    table.SetOxide(14, 12, 20);
    EXPECT_EQ(table[14].oxide, "Si12O20");

    table.SetOxide(14, -5, -1); // both kept
    EXPECT_EQ(table[14].ncat, 12);
    EXPECT_EQ(table[14].nan, 20);
}

TEST(ElementRecordTest, SetOxideUsesOxygenOfTheSameTable)
{
    CElementTable table;
    table[kOxygenZ].weight = 16.0;
    table.SetOxide(20, 1, 1);
    EXPECT_DOUBLE_EQ(table[20].oxideMW, 40.08 + 16.0);
    // The defaults are untouched.
    EXPECT_DOUBLE_EQ(GetDefaultElement(kOxygenZ).weight, 15.9994);

    // Oxygen's own oxide reads oxygen before changing it.
    table.SetOxide(kOxygenZ, 2, 1);
    EXPECT_EQ(table[kOxygenZ].oxide, "O2O");
    EXPECT_DOUBLE_EQ(table[kOxygenZ].oxideMW, 48.0);
}

TEST(ElementRecordTest, SetReductionOxide)
{
    CElementTable table;
    table.SetReductionOxide(26, 3, 4);
    EXPECT_EQ(table[26].oxideRed, "Fe3O4");
    EXPECT_NEAR(table[26].oxideRedMW, 3 * 55.847 + 4 * 15.9994, 1e-9);
    table.SetReductionOxide(26, -1, 1);
    EXPECT_EQ(table[26].oxideRed, "Fe3O");
    table.SetReductionOxide(26, 1, -1);
    EXPECT_EQ(table[26].oxideRed, "FeO");
    EXPECT_NEAR(table[26].oxideRedMW, 71.8464, 1e-9);
    // The oxidation oxide is untouched.
    EXPECT_EQ(table[26].oxide, "Fe2O3");
    EXPECT_TRUE(SameApartFromWeight(table[26], GetDefaultElement(26)));
}

TEST(ElementRecordTest, OperationsIgnoreElementNumbersOutOfRange)
{
    CElementTable table;
    const CElementTable before = table;
    const CStringArrayEx lines = {"a"};
    for (int z : {-1, 104, 1000}) {
        table.SetOxide(z, 1, 1);
        table.SetReductionOxide(z, 1, 1);
        table.SetRole(z, 0x10);
        table.SetReductionRole(z, 0x08);
        table.SetNotes(z, &lines);
        table.SetAnnotations(z, &lines);
        table.RevertElement(z, ENotesRevert::Delete);
    }
    EXPECT_EQ(table, before);
}

TEST(ElementRecordTest, SetRoleStoresFlags)
{
    CElementTable table;
    table.SetRole(14, 0x13);
    table.SetReductionRole(14, 0x88);
    EXPECT_EQ(table[14].role, 0x13);
    EXPECT_EQ(table[14].rolered, 0x88);
}

TEST(ElementRecordTest, ChangeRoleCycle)
{
    const std::vector<std::int32_t> expected = {0x90, 0x04, 0x88, 0x08, 0x02, 0x01, 0x10};
    std::int32_t role = 0x10;
    for (std::int32_t next : expected) {
        role = NextRoleInCycle(role);
        EXPECT_EQ(role, next);
    }
    EXPECT_EQ(role, 0x10); // back after seven steps
    EXPECT_EQ(NextRoleInCycle(0), 0);
    EXPECT_EQ(NextRoleInCycle(0x80), 0);
    EXPECT_EQ(NextRoleInCycle(0x40), 0);
    // Malformed roles take the first matching row.
    EXPECT_EQ(NextRoleInCycle(0x13), 0x90);
    EXPECT_EQ(NextRoleInCycle(0x06), 0x88);
}

TEST(ElementRecordTest, RoleLetters)
{
    EXPECT_EQ(ParseRoleLetters("3p"), 0x88);
    EXPECT_EQ(ParseRoleLetters(""), 0);
    EXPECT_EQ(ParseRoleLetters("1 3"), 0x18);
    EXPECT_EQ(ParseRoleLetters("1p"), 0x90);
    EXPECT_EQ(ParseRoleLetters("2"), 0x04);
    EXPECT_EQ(ParseRoleLetters("v"), 0x02);
    EXPECT_EQ(ParseRoleLetters("x"), 0x01);
    EXPECT_EQ(ParseRoleLetters("X?V"), 0); // case matters; other characters are skipped
    static_assert(ParseRoleLetters("3p") == 0x88);

    EXPECT_EQ(FormatRoleLetters(0), "");
    EXPECT_EQ(FormatRoleLetters(0x10), "1");
    EXPECT_EQ(FormatRoleLetters(0x90), "1p");
    EXPECT_EQ(FormatRoleLetters(0x04), "2");
    EXPECT_EQ(FormatRoleLetters(0x08), "3");
    EXPECT_EQ(FormatRoleLetters(0x88), "3p");
    EXPECT_EQ(FormatRoleLetters(0x02), "v");
    EXPECT_EQ(FormatRoleLetters(0x01), "x");
    EXPECT_EQ(FormatRoleLetters(0x13), "x");  // x wins over the others
    EXPECT_EQ(FormatRoleLetters(0x1A), "v");  // then v
    EXPECT_EQ(FormatRoleLetters(0x1C), "1");  // then 1, 2, 3 in that order, at most one
    EXPECT_EQ(FormatRoleLetters(0x0C), "2");
    EXPECT_EQ(FormatRoleLetters(0x80), "p");

    // Well-formed roles survive a round trip.
    for (std::int32_t role : {0x10, 0x90, 0x04, 0x08, 0x88, 0x02, 0x01})
        EXPECT_EQ(ParseRoleLetters(FormatRoleLetters(role)), role);
}

TEST(ElementRecordTest, RoleColourKeys)
{
    EXPECT_STREQ(RoleColourKey(0x08), "el_acid");
    EXPECT_STREQ(RoleColourKey(0x88), "el_acidamph");
    EXPECT_STREQ(RoleColourKey(0x04), "el_neut");
    EXPECT_STREQ(RoleColourKey(0x10), "el_alk");
    EXPECT_STREQ(RoleColourKey(0x90), "el_alkamph");
    EXPECT_STREQ(RoleColourKey(0x02), "el_volatile");
    EXPECT_STREQ(RoleColourKey(0x01), "el_notexp");
    EXPECT_STREQ(RoleColourKey(0), "el_notexp");
    EXPECT_STREQ(RoleColourKey(0x18), "el_acid"); // acid is tested first
    EXPECT_STREQ(RoleColourKey(0x14), "el_neut"); // then neutral
}

TEST(ElementRecordTest, RevertKeepsOrDropsNotes)
{
    CElementTable table;
    const CStringArrayEx notes = {"first line", "  second"};
    const CStringArrayEx annotations = {"printed"};
    table.SetNotes(20, &notes);
    table.SetAnnotations(20, &annotations);
    table.SetOxide(20, 2, 2);
    table.SetRole(20, 0x08);
    table[20].expansion = 9.0;

    table.RevertElement(20, ENotesRevert::Keep);
    EXPECT_EQ(table[20].notes, notes);
    EXPECT_EQ(table[20].annotations, annotations);
    EXPECT_EQ(table[20].oxide, "CaO");
    EXPECT_EQ(table[20].role, 0x10);
    EXPECT_DOUBLE_EQ(table[20].expansion, 1.48);

    table.RevertElement(20, ENotesRevert::Delete);
    EXPECT_TRUE(table[20].notes.empty());
    EXPECT_TRUE(table[20].annotations.empty());
    EXPECT_EQ(table[20], GetDefaultElement(20));

    table.SetNotes(20, &notes);
    table.RevertAllElements(ENotesRevert::Construct);
    EXPECT_EQ(table, CElementTable());
}

TEST(ElementRecordTest, SetNotesReplacesWithACopy)
{
    CElementTable table;
    CStringArrayEx lines = {"a", "b"};
    table.SetNotes(3, &lines);
    lines.push_back("c");
    EXPECT_EQ(table[3].notes, (CStringArrayEx{"a", "b"}));

    const CStringArrayEx other = {"z"};
    table.SetNotes(3, &other);
    EXPECT_EQ(table[3].notes, other);

    table.SetNotes(3, nullptr); // a null array leaves an empty one
    EXPECT_TRUE(table[3].notes.empty());

    table.SetAnnotations(3, &other);
    table.SetAnnotations(3, &table[3].annotations); // its own lines: unchanged
    EXPECT_EQ(table[3].annotations, other);
}

TEST(ElementRecordTest, RecordsCopyByValue)
{
    CElementRecord a = GetDefaultElement(14);
    const CStringArrayEx lines = {"note"};
    a.SetNotes(&lines);
    CElementRecord b = a;
    b.notes.front() = "changed";
    EXPECT_EQ(a.notes.front(), "note");
    EXPECT_EQ(b.symbol, a.symbol);
}

TEST(ElementRecordTest, DivisionByCationCountNeverGivesInfOrNaN)
{
    EXPECT_DOUBLE_EQ(DivideByCationCount(3.0, 2), 1.5);
    EXPECT_EQ(DivideByCationCount(3.0, 0), 0.0);
    EXPECT_EQ(DivideByCationCount(3.0, -1), 0.0);
    CElementRecord rec = GetDefaultElement(13);
    EXPECT_DOUBLE_EQ(rec.OxideMolesFromAtoms(2.0), 1.0);
    rec.ncat = 0;
    EXPECT_EQ(rec.OxideMolesFromAtoms(2.0), 0.0);
    EXPECT_TRUE(std::isfinite(rec.OxideMolesFromAtoms(2.0)));
}

TEST(ElementRecordTest, WeightAndTextHelpers)
{
    EXPECT_NEAR(OxideMolecularWeight(26.9815, 2, 3, 15.9994), 101.9612, 1e-9);
    EXPECT_EQ(OxideMolecularWeight(26.9815, 0, 0, 15.9994), 0.0);
    EXPECT_EQ(OxideMolecularWeight(26.9815, -2, -3, 15.9994), 0.0);
    EXPECT_EQ(BuildOxideText("Al", 2, 3), "Al2O3");
    EXPECT_EQ(BuildOxideText("Al", -1, -1), "");
    EXPECT_EQ(BuildOxideText("KNa", 2, 1), "KNa2O");
}

TEST(ElementRecordTest, OutOfRangeDefaultIsEmpty)
{
    EXPECT_EQ(GetDefaultElement(-1), CElementRecord());
    EXPECT_EQ(GetDefaultElement(104), CElementRecord());
    EXPECT_EQ(&GetDefaultElement(5), GetDefaultElementRecords() + 5);
}

TEST(ElementRecordTest, EqualityComparesTextNotWhereItLives)
{
    char symbol[] = "B";
    char name[] = "Boron";
    CElementRecord copy = GetDefaultElement(5);
    copy.symbol = symbol;
    copy.name = name;
    EXPECT_EQ(copy, GetDefaultElement(5));
    symbol[0] = 'C';
    EXPECT_NE(copy, GetDefaultElement(5));

    CElementRecord empty;
    empty.name = nullptr;
    EXPECT_EQ(empty, CElementRecord()); // null reads as ""
    empty.notes.push_back("x");
    EXPECT_NE(empty, CElementRecord());
}
