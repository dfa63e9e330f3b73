#include "glazes/OxideConstraint.h"

#include "elements/ElementTable.h"
#include "shell/AppContext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

constexpr int kCarbon = 6;
constexpr int kSodium = 11;
constexpr int kMagnesium = 12;
constexpr int kAluminium = 13;
constexpr int kSilicon = 14;
constexpr int kPotassium = 19;
constexpr int kCalcium = 20;

COxideConstraint Make(int oxide, char op, const char* value1, const char* value2 = "")
{
    return COxideConstraint(oxide, op, value1, value2);
}

} // namespace

TEST(OxideConstraintTest, ParseAndFormatRoundTrip)
{
    struct Case {
        const char* text;
        int oxide;
        char op;
        const char* value1;
        const char* value2;
        const char* formatted;
    };
    const Case cases[] = {
        {"11,=,2.5,,", kSodium, '=', "2.5", "", "11,=,2.5,,"},
        {"-2,>,0.1,0.3,", kConstraintKNaO, '>', "0.1", "0.3", "-2,>,0.1,0.3,"},
        {"-1,<,12,,", kConstraintLOI, '<', "12", "", "-1,<,12,,"},
        {"20,>, 0.2\t, 0.4 ,", kCalcium, '>', "0.2", "0.4", "20,>,0.2,0.4,"},
        {"13,=,0.3,0.01", kAluminium, '=', "0.3", "0.01", "13,=,0.3,0.01,"}, // no final comma
        // The default expansion constraint has no op: nothing is written for it, never a NUL.
        {"-3,,,,", kConstraintExpansion, 0, "", "", "-3,,,,"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        COxideConstraint record;
        const bool invalid = record.Parse(c.text);
        EXPECT_EQ(invalid, record.IsInvalid());
        EXPECT_EQ(record.m_oxide, c.oxide);
        EXPECT_EQ(record.m_op, c.op);
        EXPECT_EQ(record.m_value1, c.value1);
        EXPECT_EQ(record.m_value2, c.value2);
        EXPECT_EQ(record.Format(), c.formatted);
        COxideConstraint again;
        again.Parse(record.Format());
        EXPECT_EQ(again, record);
    }
    EXPECT_FALSE(COxideConstraint().Parse("11,=,2.5,,"));
    EXPECT_EQ(Make(kConstraintExpansion, 0, "").Format().find('\0'), std::string::npos);
}

TEST(OxideConstraintTest, UnsplittableTextIsInvalidAndKeptAsRead)
{
    for (const char* text : {"11,=,2.5", "11,=,2,5,1,", "", "garbage"}) {
        SCOPED_TRACE(text);
        COxideConstraint record = Make(kSodium, '=', "1", "2");
        EXPECT_TRUE(record.Parse(text));
        EXPECT_EQ(record.m_oxide, 0);
        EXPECT_EQ(record.m_op, 0);
        EXPECT_EQ(record.m_value1, "");
        EXPECT_EQ(record.m_value2, "");
        EXPECT_EQ(record.Format(), text); // a save keeps the line as it was read
        COxideConstraint again;
        EXPECT_TRUE(again.Parse(record.Format()));
        EXPECT_EQ(again, record);
    }
    // Its fault quotes the text, a long one cut after 24 characters.
    COxideConstraint longLine;
    longLine.Parse("11,=,2.5 and a good deal more");
    EXPECT_EQ(longLine.Fault(), "oxide constraint \"11,=,2.5 and a good deal...\" cannot be read");
    longLine.Parse("11,=,2.5 and a good deal");
    EXPECT_EQ(longLine.Fault(), "oxide constraint \"11,=,2.5 and a good deal\" cannot be read") << "24 are shown whole";
    // Once somebody fills the record in, its members are written.
    COxideConstraint edited;
    edited.Parse("11,=,2.5");
    edited.m_oxide = kSodium;
    EXPECT_EQ(edited.Format(), "11,,,,");
    // A four-field text that is invalid is kept through its members, which give the same text.
    COxideConstraint badOp;
    EXPECT_TRUE(badOp.Parse("11,x,abc,,"));
    EXPECT_EQ(badOp.Format(), "11,x,abc,,");
}

TEST(OxideConstraintTest, Validity)
{
    struct Case {
        const char* text;
        bool invalid;
    };
    const Case cases[] = {
        {"13,=,0.3,,", false},  {"103,<,1,,", false},    {"-3,>,-1.5,,", false}, {"-1,<,10,2,", false},
        {"0,=,1,,", true},      {"104,=,1,,", true},     {"-4,=,1,,", true},     {"13,x,1,,", true},
        {"13,,1,,", true},      {"13,=,,,", true},       {"13,=,abc,,", true},   {"13,=,1,1e3,", true},
        {"13,=,1.2.3,,", true}, {"abc,=,1,,", true},
        // A digit run far beyond int saturates and is refused; wrapping would read 2^32 + 13 as 13.
        {"4294967309,=,1,,", true},
    };
    for (const Case& c : cases) {
        COxideConstraint record;
        EXPECT_EQ(record.Parse(c.text), c.invalid) << c.text;
    }
}

TEST(OxideConstraintTest, DisplayNames)
{
    EXPECT_EQ(Make(kConstraintKNaO, '=', "1").GetDisplayName(), "KNaO");
    EXPECT_EQ(Make(kConstraintLOI, '=', "1").GetDisplayName(), "LOI");
    EXPECT_EQ(Make(kConstraintExpansion, '=', "1").GetDisplayName(), "special");
    EXPECT_EQ(Make(kAluminium, '=', "1").GetDisplayName(), "Al2O3");
    EXPECT_EQ(Make(0, '=', "1").GetDisplayName(), "(unknown)");
    EXPECT_EQ(Make(104, '=', "1").GetDisplayName(), "(unknown)");
}

TEST(OxideConstraintTest, TargetWithTolerance)
{
    const COxideConstraint oxide = Make(kAluminium, '=', "2", "3");
    EXPECT_EQ(oxide.LowerBound(false), 0.0); // not -1: an amount is never negative
    EXPECT_EQ(oxide.UpperBound(false), 5.0);
    EXPECT_TRUE(oxide.HasLowerBound(false));
    EXPECT_TRUE(oxide.HasUpperBound(false));

    const COxideConstraint expansion = Make(kConstraintExpansion, '=', "2", "3");
    EXPECT_EQ(expansion.LowerBound(false), -1.0);
    EXPECT_EQ(expansion.UpperBound(false), 5.0);
    EXPECT_TRUE(expansion.HasLowerBound(false));
    EXPECT_TRUE(expansion.HasUpperBound(false));

    const COxideConstraint noTolerance = Make(kAluminium, '=', "0.3");
    EXPECT_EQ(noTolerance.LowerBound(true), 0.3);
    EXPECT_EQ(noTolerance.UpperBound(true), 0.3);
    // A small lower end above 0 stays as it is.
    EXPECT_DOUBLE_EQ(Make(kAluminium, '=', "0.08", "0.03").LowerBound(false), 0.05);
}

TEST(OxideConstraintTest, MinimumWithoutMaximumByUnit)
{
    struct Case {
        int oxide;
        bool percent;
        bool hasUpper;
        double upper;
    };
    const Case cases[] = {
        // Unity formula: the alkali group adds up to 1, so its members and KNaO are bounded by 1.
        {kSodium, false, true, 1.0},
        {kCalcium, false, true, 1.0}, // CaO belongs to the alkali group of the element table
        {kConstraintKNaO, false, true, 1.0},
        {kAluminium, false, false, 1000.0},
        {kSilicon, false, false, 1000.0},
        {kConstraintLOI, false, false, 1000.0},
        // Percent units: every non-volatile oxide is at most 100 %.
        {kSodium, true, true, 100.0},
        {kCalcium, true, true, 100.0},
        {kSilicon, true, true, 100.0},
        {kConstraintKNaO, true, true, 100.0},
        {kCarbon, true, false, 1000.0},
        {kConstraintLOI, true, false, 1000.0},
        {kConstraintExpansion, true, false, 1000.0},
        {kConstraintExpansion, false, false, 1000.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "oxide " << c.oxide << (c.percent ? " percent" : " unity"));
        const COxideConstraint record = Make(c.oxide, '>', "0.2");
        EXPECT_EQ(record.HasUpperBound(c.percent), c.hasUpper);
        EXPECT_EQ(record.UpperBound(c.percent), c.upper);
        EXPECT_EQ(record.LowerBound(c.percent), 0.2);
    }
    // A maximum that is given wins over the unit's bound.
    EXPECT_EQ(Make(kSodium, '>', "0.2", "0.4").UpperBound(false), 0.4);
    EXPECT_TRUE(Make(kAluminium, '>', "0.2", "0.4").HasUpperBound(false));
}

TEST(OxideConstraintTest, MaximumAndOtherOps)
{
    const COxideConstraint maxOnly = Make(kSilicon, '<', "3");
    EXPECT_EQ(maxOnly.LowerBound(false), 0.0);
    EXPECT_EQ(maxOnly.UpperBound(false), 3.0);
    EXPECT_TRUE(maxOnly.HasUpperBound(false));
    const COxideConstraint both = Make(kSilicon, '<', "3", "2");
    EXPECT_EQ(both.LowerBound(false), 2.0);

    const COxideConstraint noOp = Make(kSilicon, 0, "3");
    EXPECT_EQ(noOp.LowerBound(true), 0.0);
    EXPECT_EQ(noOp.UpperBound(true), 1000.0);

    // Expansion bounds exist only where a value says so.
    EXPECT_FALSE(Make(kConstraintExpansion, '>', "").HasLowerBound(false));
    EXPECT_TRUE(Make(kConstraintExpansion, '>', "5").HasLowerBound(false));
    EXPECT_FALSE(Make(kConstraintExpansion, '<', "5").HasLowerBound(false));
    EXPECT_TRUE(Make(kConstraintExpansion, '<', "5", "1").HasLowerBound(false));
    EXPECT_TRUE(Make(kConstraintExpansion, '<', "5").HasUpperBound(false));
    EXPECT_FALSE(Make(kConstraintExpansion, '<', "").HasUpperBound(false));
    EXPECT_FALSE(Make(kConstraintExpansion, 0, "").HasLowerBound(false));
    EXPECT_FALSE(Make(kConstraintExpansion, 0, "").HasUpperBound(true));
    EXPECT_TRUE(Make(kSilicon, 0, "").HasLowerBound(false));
}

TEST(OxideConstraintTest, HugeValuesGiveFiniteBounds)
{
    const std::string nines(400, '9');
    const COxideConstraint record = Make(kConstraintExpansion, '=', nines.c_str(), nines.c_str());
    EXPECT_FALSE(record.IsInvalid());
    EXPECT_TRUE(std::isfinite(record.UpperBound(false)));
    EXPECT_TRUE(std::isfinite(record.LowerBound(false)));
    const std::string negative = "-" + nines;
    const COxideConstraint low = Make(kConstraintExpansion, '=', negative.c_str(), nines.c_str());
    EXPECT_TRUE(std::isfinite(low.LowerBound(false)));
}

TEST(OxideConstraintTest, ArrayInsertsAtValidPositionsOnly)
{
    COxideConstraintArray list;
    EXPECT_TRUE(list.InsertAt(0, Make(kSilicon, '<', "3")));
    EXPECT_TRUE(list.InsertAt(1, Make(kAluminium, '>', "0.2")));
    EXPECT_TRUE(list.InsertAt(0, Make(kCalcium, '=', "0.5")));
    EXPECT_FALSE(list.InsertAt(4, Make(kSodium, '=', "1")));
    EXPECT_FALSE(list.InsertAt(-1, Make(kSodium, '=', "1")));
    ASSERT_EQ(list.GetCount(), 3);
    EXPECT_EQ(list[0].m_oxide, kCalcium);
    EXPECT_EQ(list[1].m_oxide, kSilicon);
    EXPECT_EQ(list[2].m_oxide, kAluminium);
}

// --- SumGroupBounds ---------------------------------------------------------------------------------

class SumGroupBoundsTest : public testing::Test {
protected:
    CAppContext m_context; // decremainders 5: a tolerance of 0.00001 before a KNaO conflict
    CGroupBoundsSum m_sum;
    std::string m_message = "stale";
};

TEST_F(SumGroupBoundsTest, TargetsAddUpExactly)
{
    const COxideConstraintArray list = {Make(kCalcium, '=', "0.3", "0.01"), Make(kSilicon, '=', "3"),
                                        Make(kMagnesium, '=', "0.7", "0.02"), Make(kConstraintLOI, '<', "5")};
    ASSERT_EQ(list.SumGroupBounds(kGroupAlkali, 0, m_sum, m_message), 0);
    EXPECT_EQ(m_message, "");
    EXPECT_EQ(m_sum.lower, 1.0);
    EXPECT_EQ(m_sum.upper, 0.03);
    EXPECT_TRUE(m_sum.exact);
    EXPECT_TRUE(m_sum.hasLower);
    EXPECT_TRUE(m_sum.hasUpper);

    // The non-volatile group takes silica as well; LOI belongs to no group, not even to all oxides.
    ASSERT_EQ(list.SumGroupBounds(kGroupNonVolatile, 0, m_sum, m_message), 0);
    EXPECT_EQ(m_sum.lower, 4.0);
    EXPECT_TRUE(m_sum.exact);
    ASSERT_EQ(list.SumGroupBounds(kGroupAllOxides, 0, m_sum, m_message), 0);
    EXPECT_EQ(m_sum.lower, 4.0);
    EXPECT_TRUE(m_sum.exact);

    // No member at all: 0 and 0, exact.
    ASSERT_EQ(list.SumGroupBounds(kGroupVolatile, 0, m_sum, m_message), 0);
    EXPECT_EQ(m_sum.lower, 0.0);
    EXPECT_EQ(m_sum.upper, 0.0);
    EXPECT_TRUE(m_sum.exact && m_sum.hasLower && m_sum.hasUpper);
}

TEST_F(SumGroupBoundsTest, MixedOpsSumTheBounds)
{
    const COxideConstraintArray list = {Make(kAluminium, '>', "0.3"), Make(kSilicon, '<', "3"),
                                        Make(kCalcium, '=', "0.5", "0.1")};
    ASSERT_EQ(list.SumGroupBounds(kGroupNonVolatile, 0, m_sum, m_message), 0);
    EXPECT_FALSE(m_sum.exact);
    EXPECT_DOUBLE_EQ(m_sum.lower, 0.3 + 0.0 + 0.4);
    EXPECT_DOUBLE_EQ(m_sum.upper, 1000.0 + 3.0 + 0.6);
    EXPECT_TRUE(m_sum.hasLower);
    EXPECT_FALSE(m_sum.hasUpper); // alumina has no maximum in unity units

    // In percent units every non-volatile oxide has its 100 % maximum.
    ASSERT_EQ(list.SumGroupBounds(kGroupNonVolatile, 1, m_sum, m_message), 0);
    EXPECT_DOUBLE_EQ(m_sum.upper, 100.0 + 3.0 + 0.6);
    EXPECT_TRUE(m_sum.hasUpper);
}

TEST_F(SumGroupBoundsTest, InvalidRecordIsReported)
{
    const COxideConstraintArray list = {Make(kCalcium, '=', "0.5"), Make(kAluminium, '>', "x"),
                                        Make(0, '=', "1")};
    EXPECT_EQ(list.SumGroupBounds(kGroupAlkali, 0, m_sum, m_message), 1);
    EXPECT_EQ(m_message, "Error in constraint on oxide Al2O3");
}

TEST_F(SumGroupBoundsTest, AlkaliPairMeetsKNaO)
{
    // KNaO 0.2..0.3; sodium 0.1..1 and potassium 0..0.15 make 0.1..1.15 together.
    const COxideConstraintArray list = {Make(kConstraintKNaO, '=', "0.25", "0.05"), Make(kSodium, '>', "0.1"),
                                        Make(kPotassium, '<', "0.15"), Make(kCalcium, '=', "0.5", "0.1")};
    ASSERT_EQ(list.SumGroupBounds(kGroupAlkali, 0, m_sum, m_message), 0);
    EXPECT_FALSE(m_sum.exact); // never exact once the pair is merged
    EXPECT_DOUBLE_EQ(m_sum.lower, 0.2 + 0.4);
    EXPECT_DOUBLE_EQ(m_sum.upper, 0.3 + 0.6);
    EXPECT_TRUE(m_sum.hasLower && m_sum.hasUpper);

    // The volatile group leaves the pair out.
    const COxideConstraintArray withCarbon = [&] {
        COxideConstraintArray copy = list;
        copy.Add(Make(kCarbon, '=', "1", "0.1"));
        return copy;
    }();
    ASSERT_EQ(withCarbon.SumGroupBounds(kGroupVolatile, 0, m_sum, m_message), 0);
    EXPECT_TRUE(m_sum.exact);
    EXPECT_EQ(m_sum.lower, 1.0);
    EXPECT_EQ(m_sum.upper, 0.1);

    // Sodium first in the list counts as well: 0..0.4 met with KNaO from 0.3.
    const COxideConstraintArray sodiumFirst = {Make(kSodium, '<', "0.2"), Make(kPotassium, '<', "0.2"),
                                               Make(kConstraintKNaO, '>', "0.3")};
    ASSERT_EQ(sodiumFirst.SumGroupBounds(kGroupAlkali, 0, m_sum, m_message), 0);
    EXPECT_DOUBLE_EQ(m_sum.lower, 0.3);
    EXPECT_DOUBLE_EQ(m_sum.upper, 0.4);
    // So does potassium at the top of the list.
    const COxideConstraintArray potassiumFirst = {Make(kPotassium, '<', "0.2"), Make(kSodium, '<', "0.2"),
                                                  Make(kConstraintKNaO, '>', "0.3")};
    ASSERT_EQ(potassiumFirst.SumGroupBounds(kGroupAlkali, 0, m_sum, m_message), 0) << m_message;
    EXPECT_DOUBLE_EQ(m_sum.lower, 0.3);
    EXPECT_DOUBLE_EQ(m_sum.upper, 0.4);

    // A pair without a maximum (an element table that makes sodium neutral, which the unity does
    // not bound) leaves KNaO's maximum as it is.
    CElementTable table;
    table.SetRole(kSodium, kRoleNeutral);
    CWorkingElementTableScope scope(table);
    const COxideConstraintArray unbounded = {Make(kConstraintKNaO, '<', "5000"), Make(kSodium, '>', "0.1"),
                                             Make(kPotassium, '<', "0.2")};
    ASSERT_EQ(unbounded.SumGroupBounds(kGroupAlkali, 0, m_sum, m_message), 0);
    EXPECT_DOUBLE_EQ(m_sum.lower, 0.1);
    EXPECT_DOUBLE_EQ(m_sum.upper, 5000.0);
}

TEST_F(SumGroupBoundsTest, AlkaliPairConflicts)
{
    const COxideConstraintArray tooMuch = {Make(kConstraintKNaO, '<', "0.3"), Make(kSodium, '>', "0.4")};
    EXPECT_EQ(tooMuch.SumGroupBounds(kGroupAlkali, 0, m_sum, m_message), 1);
    EXPECT_EQ(m_message, "Conflict with KNaO constraint");

    const COxideConstraintArray tooLittle = {Make(kSodium, '<', "0.1"), Make(kPotassium, '<', "0.1"),
                                             Make(kConstraintKNaO, '>', "0.3")};
    EXPECT_EQ(tooLittle.SumGroupBounds(kGroupAllOxides, 0, m_sum, m_message), 1);
    EXPECT_EQ(m_message, "Conflict with KNaO constraint");

    // Within the rounding of the remainders decimals there is no conflict.
    const COxideConstraintArray rounding = {Make(kConstraintKNaO, '<', "0.3"),
                                            Make(kSodium, '>', "0.300005")};
    EXPECT_EQ(rounding.SumGroupBounds(kGroupAlkali, 0, m_sum, m_message), 0);
    EXPECT_EQ(m_message, "");
    EXPECT_DOUBLE_EQ(m_sum.lower, 0.300005);
    EXPECT_DOUBLE_EQ(m_sum.upper, 0.3);
    // Exactly the tolerance apart is still within it.
    const COxideConstraintArray edge = {Make(kSodium, '<', "0.3"), Make(kConstraintKNaO, '>', "0.30001")};
    EXPECT_EQ(edge.SumGroupBounds(kGroupAllOxides, 0, m_sum, m_message), 0);
    EXPECT_EQ(m_message, "");
}
