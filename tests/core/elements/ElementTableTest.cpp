#include "elements/ElementTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr double kOxygenWeight = 15.9994;

// Every element number 0..103 appears exactly once.
::testing::AssertionResult IsPermutation(const ElementDisplayOrder& order)
{
    std::vector<int> seen(kElementCount, 0);
    for (int z : order) {
        if (!IsValidElementNumber(z))
            return ::testing::AssertionFailure() << "entry out of range: " << z;
        if (++seen[static_cast<std::size_t>(z)] > 1)
            return ::testing::AssertionFailure() << "element listed twice: " << z;
    }
    return ::testing::AssertionSuccess();
}

int PositionOf(const ElementDisplayOrder& order, int z)
{
    return static_cast<int>(std::find(order.begin(), order.end(), z) - order.begin());
}

} // namespace

TEST(ElementTableTest, WithoutWorkingTableTheDefaultsAreHandedOut)
{
    ASSERT_EQ(GetWorkingElementTable(), nullptr);
    const CElementRecord* table = GetElementTable();
    ASSERT_EQ(table, GetDefaultElementRecords());
    const CElementRecord& si = table[14];
    EXPECT_EQ(si.z, 14);
    EXPECT_STREQ(si.symbol, "Si");
    EXPECT_STREQ(si.name, "Silicon");
    EXPECT_EQ(si.oxide, "SiO2");
    EXPECT_DOUBLE_EQ(si.oxideMW, 60.0843);
    EXPECT_EQ(si.role, 0x08);
    EXPECT_EQ(si.priority, 1);
}

TEST(ElementTableTest, DefaultRecordsFollowTheirRows)
{
    const CElementRecord* table = GetDefaultElementRecords();
    for (int z = 0; z < kElementCount; ++z) {
        SCOPED_TRACE(z);
        const SDefaultElementRow& row = g_defaultElements[z];
        const CElementRecord& rec = table[z];
        EXPECT_EQ(row.z, z);
        EXPECT_EQ(rec.z, z);
        // The symbol and name point at the constant texts of the default table.
        EXPECT_EQ(rec.symbol, row.symbol);
        EXPECT_EQ(rec.name, row.name);
        EXPECT_EQ(rec.oxide, row.oxide);
        EXPECT_EQ(&GetDefaultElement(z), &rec);
        EXPECT_GE(rec.priority, 1);
        EXPECT_LE(rec.priority, 3);
        EXPECT_TRUE(rec.notes.empty());
        EXPECT_TRUE(rec.annotations.empty());
        // Every default role is well formed: exactly one group bit, amphoteric only on alkali or acid.
        const int groups = rec.role & kRoleGroupMask;
        EXPECT_NE(groups, 0);
        EXPECT_EQ(groups & (groups - 1), 0);
        if (rec.role & kRoleAmphoteric) {
            EXPECT_NE(rec.role & (kRoleAlkali | kRoleAcid), 0);
        }
        EXPECT_EQ(rec.role & ~(kRoleGroupMask | kRoleAmphoteric), 0);
        EXPECT_EQ(rec.rolered, 0x10);
        if (z == 26)
            continue;
        EXPECT_EQ(rec.difoxinred, 0);
        EXPECT_EQ(rec.ncatred, 1);
        EXPECT_EQ(rec.nanred, 0);
        EXPECT_EQ(rec.oxideRedMW, 0.0);
        EXPECT_EQ(rec.oxideRed, (z == 10 || z == 11) ? std::string() : std::string(rec.symbol));
    }
    const CElementRecord& fe = table[26];
    EXPECT_EQ(fe.difoxinred, 1);
    EXPECT_EQ(fe.ncatred, 1);
    EXPECT_EQ(fe.nanred, 1);
    EXPECT_EQ(fe.oxideRed, "FeO");
    EXPECT_DOUBLE_EQ(fe.oxideRedMW, 71.8464);
}

TEST(ElementTableTest, DefaultTextsAreTakenAsTheyStand)
{
    const CElementRecord* table = GetDefaultElementRecords();
    EXPECT_STREQ(table[0].symbol, "KNa");
    EXPECT_STREQ(table[0].name, "Sodium/Potassium");
    EXPECT_EQ(table[0].oxide, "KNaO"); // not KNa2O, although its counts are 2 and 1
    EXPECT_STREQ(table[13].name, "Aluminum");
    EXPECT_STREQ(table[55].name, "Cesium");
    EXPECT_STREQ(table[91].name, "Protoactinium");
    EXPECT_STREQ(table[103].symbol, "Lw");
    EXPECT_EQ(table[74].oxide, "W3O8");
    EXPECT_EQ(table[92].oxide, "U3O8");
    // Every other default oxide text is the one the oxide rebuild gives.
    for (int z = 1; z < kElementCount; ++z)
        EXPECT_EQ(table[z].oxide, BuildOxideText(table[z].symbol, table[z].ncat, table[z].nan)) << z;
}

TEST(ElementTableTest, DefaultRowsSpotChecks)
{
    const CElementRecord* table = GetDefaultElementRecords();
    EXPECT_DOUBLE_EQ(table[3].expansion, 0.67);
    EXPECT_EQ(table[3].unusual, 1);
    EXPECT_DOUBLE_EQ(table[3].viscosity, 3.0);
    EXPECT_DOUBLE_EQ(table[3].stension, 4.6);
    EXPECT_EQ(table[22].role, 0x88); // "3p"
    EXPECT_EQ(table[25].role, 0x90); // "1p"
    EXPECT_EQ(table[5].role, 0x04);  // "2"
    EXPECT_EQ(table[1].role, 0x02);  // "v"
    EXPECT_EQ(table[2].role, 0x01);  // "x"
    EXPECT_EQ(table[48].hazards, 7);
    EXPECT_EQ(table[56].hazards, 5);
    EXPECT_EQ(table[51].hazards, 1);
    EXPECT_DOUBLE_EQ(table[10].expansion, -999.0);
    EXPECT_DOUBLE_EQ(table[10].stension, -999.0);
    EXPECT_DOUBLE_EQ(table[10].viscosity, 0.0);
    EXPECT_DOUBLE_EQ(table[43].weight, 98.0);
    EXPECT_DOUBLE_EQ(table[9].expansion, -0.18);
}

// Guards the fault in the reference row for Ce (58): "CeO2" with 156.1194, the weight of CeO.
TEST(ElementTableTest, EveryDefaultRowObeysTheWeightRule)
{
    const CElementRecord* table = GetDefaultElementRecords();
    EXPECT_DOUBLE_EQ(table[kOxygenZ].weight, kOxygenWeight);
    for (int z = 0; z < kElementCount; ++z) {
        const CElementRecord& rec = table[z];
        const double expected = rec.ncat * rec.weight + rec.nan * kOxygenWeight;
        EXPECT_NEAR(rec.oxideMW, expected, 1e-9) << "z " << z << " " << rec.oxide;
        if (rec.difoxinred) {
            const double expectedRed = rec.ncatred * rec.weight + rec.nanred * kOxygenWeight;
            EXPECT_NEAR(rec.oxideRedMW, expectedRed, 1e-9) << "z " << z << " " << rec.oxideRed;
        }
    }
    EXPECT_EQ(table[58].oxide, "CeO2");
    EXPECT_DOUBLE_EQ(table[58].oxideMW, 172.1188);
    EXPECT_DOUBLE_EQ(table[0].oxideMW, 78.0875);
}

TEST(ElementTableTest, DefaultDisplayOrder)
{
    const ElementDisplayOrder order = GetElementDisplayOrder();
    const std::vector<int> start = {0,  11, 19, 12, 20, 3,  4,  25, 27, 28, 29, 30, 38,
                                    47, 48, 56, 82, 83, 92, 13, 5,  79, 14, 15, 22};
    EXPECT_TRUE(std::equal(start.begin(), start.end(), order.begin()));
    EXPECT_TRUE(IsPermutation(order));
    // The not-expected group closes the order: Lw last.
    EXPECT_EQ(order.back(), 103);
}

TEST(ElementTableTest, DisplayOrderCallerArrayGetsExactly104Entries)
{
    int buffer[kElementCount + 1];
    std::fill(std::begin(buffer), std::end(buffer), -7);
    GetElementDisplayOrder(buffer);
    EXPECT_EQ(buffer[kElementCount], -7);
    ElementDisplayOrder copy;
    std::copy(buffer, buffer + kElementCount, copy.begin());
    EXPECT_EQ(copy, GetElementDisplayOrder());
}

// An element file can give a role with no group letter, or several: the order must still list
// each element exactly once (otherwise formulas lose that element's components).
TEST(ElementTableTest, DisplayOrderWithMalformedRolesListsEachElementOnce)
{
    CElementTable working;
    working.SetRole(14, 0);    // no group bit
    working.SetRole(5, 0x13);  // alkali, volatile and not expected at once
    working[27].priority = 0;  // priority outside 1..3
    working[28].priority = 7;
    CWorkingElementTableScope scope(working);

    const ElementDisplayOrder order = GetElementDisplayOrder();
    EXPECT_TRUE(IsPermutation(order));
    // 0x13 is listed under its first group, alkali, with boron's priority 2: 0, 11, 19, 5, 12, 20.
    EXPECT_EQ(PositionOf(order, 5), 3);
    EXPECT_EQ(PositionOf(order, 12), 4);
    EXPECT_EQ(PositionOf(order, 20), 5);
    // The ones that match no pass come last, in z order.
    EXPECT_EQ(order[kElementCount - 3], 14);
    EXPECT_EQ(order[kElementCount - 2], 27);
    EXPECT_EQ(order[kElementCount - 1], 28);

    int buffer[kElementCount];
    GetElementDisplayOrder(buffer);
    EXPECT_TRUE(std::equal(order.begin(), order.end(), buffer));
}

TEST(ElementTableTest, DisplayOrderWithEveryRoleZero)
{
    CElementTable working;
    for (int z = 0; z < kElementCount; ++z)
        working.SetRole(z, 0);
    const ElementDisplayOrder order = GetElementDisplayOrder(working.Records());
    for (int z = 0; z < kElementCount; ++z)
        EXPECT_EQ(order[static_cast<std::size_t>(z)], z);
}

TEST(ElementTableTest, InstallingAndRemovingAWorkingTableSwitchesGetElementTable)
{
    CElementTable working;
    working[14].expansion = 1.25;
    EXPECT_EQ(GetElementTable(), GetDefaultElementRecords());

    EXPECT_EQ(InstallWorkingElementTable(&working), nullptr);
    EXPECT_EQ(GetWorkingElementTable(), &working);
    EXPECT_EQ(GetElementTable(), working.Records());
    EXPECT_DOUBLE_EQ(GetElementTable()[14].expansion, 1.25);

    RemoveWorkingElementTable();
    EXPECT_EQ(GetWorkingElementTable(), nullptr);
    EXPECT_EQ(GetElementTable(), GetDefaultElementRecords());
    EXPECT_DOUBLE_EQ(GetElementTable()[14].expansion, 0.35);

    {
        CWorkingElementTableScope outer(working);
        CElementTable other;
        {
            CWorkingElementTableScope inner(other);
            EXPECT_EQ(GetElementTable(), other.Records());
        }
        EXPECT_EQ(GetElementTable(), working.Records());
    }
    EXPECT_EQ(GetElementTable(), GetDefaultElementRecords());
}

TEST(ElementTableTest, DisplayOrderFollowsTheInstalledTable)
{
    CElementTable working;
    working.SetRole(14, 0x10); // silicon as an alkali, priority 1: after 0, 11
    CWorkingElementTableScope scope(working);
    const ElementDisplayOrder order = GetElementDisplayOrder();
    EXPECT_EQ(order[2], 14);
    EXPECT_EQ(order[3], 19);
    EXPECT_TRUE(IsPermutation(order));
}

TEST(ElementTableTest, NewTableEqualsTheDefaults)
{
    CElementTable table;
    for (int z = 0; z < kElementCount; ++z)
        EXPECT_EQ(table[z], GetDefaultElement(z)) << z;
    EXPECT_EQ(table, CElementTable());
}

TEST(ElementTableTest, OxideVectorIsZeroFilled)
{
    OxideVector v;
    EXPECT_EQ(v.size(), static_cast<std::size_t>(kElementCount));
    for (double x : v)
        EXPECT_EQ(x, 0.0);
    v[103] = 2.5;
    v[0] = 1.0;
    EXPECT_DOUBLE_EQ(v.data()[103], 2.5);
    v.Clear();
    EXPECT_EQ(v[103], 0.0);
    EXPECT_EQ(v[0], 0.0);
}
