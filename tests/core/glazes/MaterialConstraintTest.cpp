#include "glazes/MaterialConstraint.h"

#include <gtest/gtest.h>

#include <string>

TEST(MaterialConstraintTest, ParseAndFormatRoundTrip)
{
    struct Case {
        const char* text;
        const char* material;
        char op;
        const char* value1;
        const char* value2;
        const char* formatted;
    };
    const Case cases[] = {
        {"Feldspar, Custer,>,5,,", "Feldspar, Custer", '>', "5", "", "Feldspar, Custer,>,5,,"},
        {"A,B,C,<,10,2,", "A,B,C", '<', "10", "2", "A,B,C,<,10,2,"},
        {" Silica ,=, 10 , 1 ,", "Silica", '=', "10", "1", "Silica,=,10,1,"},
        {"Whiting,,,,", "Whiting", 0, "", "", "Whiting,,,,"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        CMaterialConstraint record;
        record.Parse(c.text);
        EXPECT_EQ(record.m_material, c.material);
        EXPECT_EQ(record.m_op, c.op);
        EXPECT_EQ(record.m_value1, c.value1);
        EXPECT_EQ(record.m_value2, c.value2);
        EXPECT_EQ(record.Format(), c.formatted);
        CMaterialConstraint again;
        again.Parse(record.Format());
        EXPECT_EQ(again, record);
    }
    EXPECT_FALSE(CMaterialConstraint().Parse("Feldspar, Custer,>,5,,"));
    EXPECT_EQ(CMaterialConstraint("Feldspar, Custer", '>', "5", "").GetDisplayName(), "Feldspar, Custer");
}

TEST(MaterialConstraintTest, ShortTextIsInvalidAndKeptAsRead)
{
    for (const char* text : {"Silica,>,5", "", "Silica"}) {
        SCOPED_TRACE(text);
        CMaterialConstraint record("Kaolin", '=', "1", "");
        EXPECT_TRUE(record.Parse(text));
        EXPECT_EQ(record.m_material, "");
        EXPECT_EQ(record.Format(), text);
    }
    CMaterialConstraint edited;
    edited.Parse("Silica,>,5");
    edited.m_material = "Silica";
    EXPECT_EQ(edited.Format(), "Silica,,,,");
}

TEST(MaterialConstraintTest, Validity)
{
    struct Case {
        const char* text;
        bool invalid;
    };
    const Case cases[] = {
        {"Silica,=,10,,", false}, {"Silica,<,10,-1.5,", false}, {",>,5,,", true},     {"Silica,x,5,,", true},
        {"Silica,>,,,", true},    {"Silica,>,5,a,", true},      {"Silica,>,5%,,", true},
    };
    for (const Case& c : cases) {
        CMaterialConstraint record;
        EXPECT_EQ(record.Parse(c.text), c.invalid) << c.text;
    }
}

TEST(MaterialConstraintTest, Bounds)
{
    const CMaterialConstraint minimum("Silica", '>', "5", "");
    EXPECT_TRUE(minimum.HasUpperBound(true));
    EXPECT_EQ(minimum.UpperBound(true), 100.0);
    EXPECT_FALSE(minimum.HasUpperBound(false));
    EXPECT_EQ(minimum.UpperBound(false), 99999.0);
    EXPECT_EQ(minimum.LowerBound(false), 5.0);
    EXPECT_TRUE(minimum.HasLowerBound(false));

    const CMaterialConstraint target("Silica", '=', "2", "3");
    EXPECT_EQ(target.LowerBound(false), 0.0);
    EXPECT_EQ(target.UpperBound(false), 5.0);
    EXPECT_TRUE(target.HasUpperBound(false));

    const CMaterialConstraint range("Silica", '<', "10", "2");
    EXPECT_EQ(range.LowerBound(true), 2.0);
    EXPECT_EQ(range.UpperBound(true), 10.0);
    EXPECT_TRUE(range.HasUpperBound(false));
    EXPECT_FALSE(CMaterialConstraint("Silica", '<', "", "").HasUpperBound(false));
    EXPECT_EQ(CMaterialConstraint("Silica", '>', "5", "20").UpperBound(true), 20.0);

    const CMaterialConstraint noOp("Silica", 0, "10", "");
    EXPECT_EQ(noOp.LowerBound(true), 0.0);
    EXPECT_EQ(noOp.UpperBound(false), 1000.0);
    EXPECT_FALSE(noOp.HasUpperBound(false));
}

TEST(MaterialConstraintTest, ArrayInsertsAtValidPositionsOnly)
{
    CMaterialConstraintArray list;
    EXPECT_TRUE(list.InsertAt(0, CMaterialConstraint("Silica", '<', "30", "")));
    EXPECT_TRUE(list.InsertAt(0, CMaterialConstraint("Kaolin", '>', "10", "")));
    EXPECT_FALSE(list.InsertAt(3, CMaterialConstraint("Whiting", '=', "5", "")));
    ASSERT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list[0].m_material, "Kaolin");
}
