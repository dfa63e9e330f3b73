#include "tools/VarrowBlend.h"

#include "core/support/CheckedItems.h"
#include "core/tools/GlazeToolsTestSupport.h"
#include "framework/UpdateHint.h"
#include "glazes/GlazeList.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

namespace {

constexpr int kSilica = 0; // positions in the fixture's materials database
constexpr int kKaolin = 2;

class VarrowBlendTest : public GlazeToolsTestBase {
protected:
    VarrowBlendTest()
    {
        m_source = NewDatabase({MakeGlaze("Other", {{"Silica", 1}}),
                                MakeGlaze("Base", {{"Feldspar", 30}, {"Whiting", 20}}, {{"Rutile", 5}})});
        CGlaze start;
        EXPECT_EQ(PrepareVarrowStartGlaze(Found(m_source->GetGlaze(1)), start), 0);
        m_request.startGlaze = 1;
        m_request.components = start.m_components;
        m_request.additions = start.m_additions;
        m_request.kaolinMaterial = kKaolin;
        m_request.silicaMaterial = kSilica;
    }

    CGlazesDoc* m_source = nullptr;
    CVarrowBlendRequest m_request;
};

TEST_F(VarrowBlendTest, CornersAndASmallGridByWeight)
{
    ExpectLines(m_request.components, {{"Feldspar", 60}, {"Whiting", 40}});
    ExpectLines(m_request.additions, {{"Rutile", 10}});
    m_request.generateCorners = true;
    m_request.generateAll = true;
    m_request.pointsCD = 1;
    m_request.pointsCA = 1;
    m_request.naming = kVarrowNameByPercentages;
    CGlazesDoc* blend = RunVarrowBlend(m_request, *m_source);
    ASSERT_NE(blend, nullptr);
    ASSERT_EQ(blend->GetGlazeCount(), 4 + 9);

    // The corners at 300 g: A, B, C, D.
    const CGlaze& a = Found(blend->GetGlaze(0));
    EXPECT_EQ(a.m_name, "A");
    ExpectLines(a.m_components, {{"Feldspar", 108}, {"Whiting", 72}, {"Kaolin", 120}});
    ExpectLines(a.m_additions, {{"Rutile", 30}});
    ExpectLines(Found(blend->GetGlaze(1)).m_components,
                {{"Feldspar", 63}, {"Whiting", 42}, {"Kaolin", 75}, {"Silica", 120}});
    ExpectLines(Found(blend->GetGlaze(2)).m_components, {{"Feldspar", 180}, {"Whiting", 120}});
    ExpectLines(Found(blend->GetGlaze(3)).m_components, {{"Feldspar", 90}, {"Whiting", 60}, {"Silica", 150}});

    // The grid row by row from the A-B side: A, half A half B, B, ..., D.
    ExpectLines(Found(blend->GetGlaze(4)).m_components, {{"Feldspar", 36}, {"Whiting", 24}, {"Kaolin", 40}});
    EXPECT_THAT(Found(blend->GetGlaze(4)).m_notes,
                ElementsAre("Varrow recipe blend:", "  100.0% A", "    0.0% B", "    0.0% C", "    0.0% D"));
    EXPECT_EQ(Found(blend->GetGlaze(5)).m_name, "50% A, 50% B, 0% C, 0% D");
    ExpectLines(Found(blend->GetGlaze(5)).m_components,
                {{"Feldspar", 28.5}, {"Whiting", 19}, {"Kaolin", 32.5}, {"Silica", 20}});
    const CGlaze& centre = Found(blend->GetGlaze(8));
    EXPECT_EQ(centre.m_name, "25% A, 25% B, 25% C, 25% D");
    ExpectLines(centre.m_components, {{"Feldspar", 36.75}, {"Whiting", 24.5}, {"Kaolin", 16.25}, {"Silica", 22.5}});
    ExpectLines(centre.m_additions, {{"Rutile", 10}});
    EXPECT_THAT(centre.m_notes,
                ElementsAre("Varrow recipe blend:", "   25.0% A", "   25.0% B", "   25.0% C", "   25.0% D"));
    EXPECT_EQ(Found(blend->GetGlaze(12)).m_name, "0% A, 0% B, 0% C, 100% D");

    EXPECT_EQ(blend->GetDbName(), "Varrow Recipe Blend");
    EXPECT_TRUE(blend->IsModified());
    EXPECT_THAT(blend->Glazes().m_infoLines,
                ElementsAre("This database contains glazes for a glaze test using",
                            "the Systematic Recipe Approach invented by Ivo Varrow.",
                            "For more information and references, see the Help file.", "",
                            "This test is based on ingredients in the glaze Base.",
                            "The recipe for glaze C (the lower left, high flux corner) is as follows:",
                            "  Feldspar   60.0 %", "  Whiting    40.0 %",
                            "Glaze A (upper left, high alumina corner) consists of",
                            "  60.0% Glaze C and 40.0% Kaolin.", "  50.0% Glaze C and 50.0% Silica.",
                            "Glaze B (upper right, high alumina+silica corner) consists of",
                            "  35.0% Glaze C, 25.0% Kaolin, and 40.0% Silica.",
                            "The blend is 3 points hight and 3 points wide and contains 9 glazes.",
                            "To each glaze was added:", "  Rutile   10.0 %"));
    EXPECT_EQ(WindowOf(blend).frame.view->Last().code, HintGlazesReplaced);
    EXPECT_FALSE(m_source->IsModified());
}

TEST_F(VarrowBlendTest, VolumesNamesAndCornerShares)
{
    // Liquid volumes: the grid glazes mix the four corner glazes; names by number.
    m_request.generateAll = true;
    m_request.pointsCD = 3;
    m_request.pointsCA = 5;
    m_request.amounts = kVarrowLiquidVolumes;
    m_request.blendBatch = 0.0; // not positive: 100
    CGlazesDoc* volumes = RunVarrowBlend(m_request, *m_source);
    ASSERT_NE(volumes, nullptr);
    ASSERT_EQ(volumes->GetGlazeCount(), 35);
    EXPECT_EQ(Found(volumes->GetGlaze(0)).m_name, "1");
    EXPECT_EQ(Found(volumes->GetGlaze(34)).m_name, "35");
    ExpectLines(Found(volumes->GetGlaze(1)).m_components, {{"A", 75}, {"B", 25}});
    EXPECT_EQ(Found(volumes->GetGlaze(1)).m_byVol, 1);
    EXPECT_EQ(Found(volumes->GetGlaze(1)).m_additions.GetCount(), 0);
    ExpectLines(Found(volumes->GetGlaze(30)).m_components, {{"C", 100}});

    // Neither output: an empty database that still documents the test.
    CVarrowBlendRequest nothing = m_request;
    nothing.generateAll = false;
    nothing.additions.clear();
    CGlazesDoc* empty = RunVarrowBlend(nothing, *m_source);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->GetGlazeCount(), 0);
    EXPECT_EQ(empty->Glazes().m_infoLines.size(), 13u);
    EXPECT_TRUE(empty->IsModified()) << "closing it asks before its notes are lost";

    // kA 100: A is kaolin alone; kB 0: B is C at 60 and silica 40; kB + sB beyond 100 keep
    // their ratio and leave no room for C, in the corner and in the grid glaze that is all B.
    CVarrowBlendRequest corners = m_request;
    corners.generateAll = false;
    corners.generateCorners = true;
    corners.cornerBatch = 100.0;
    corners.kaolinA = 120.0; // held to 100
    corners.kaolinB = 0.0;
    CGlazesDoc* first = RunVarrowBlend(corners, *m_source);
    ASSERT_NE(first, nullptr);
    ExpectLines(Found(first->GetGlaze(0)).m_components, {{"Kaolin", 100}});
    ExpectLines(Found(first->GetGlaze(1)).m_components, {{"Feldspar", 36}, {"Whiting", 24}, {"Silica", 40}});
    corners.kaolinB = 80.0;
    corners.silicaB = 70.0;
    corners.generateAll = true;
    corners.pointsCD = corners.pointsCA = 0;
    corners.amounts = kVarrowMaterialWeights;
    CGlazesDoc* second = RunVarrowBlend(corners, *m_source);
    ASSERT_NE(second, nullptr);
    ExpectLines(Found(second->GetGlaze(1)).m_components, {{"Kaolin", 53.33333333}, {"Silica", 46.66666667}});
    ExpectLines(Found(second->GetGlaze(4 + 1)).m_components, {{"Kaolin", 53.33333333}, {"Silica", 46.66666667}});
    EXPECT_EQ(ItemAt(second->Glazes().m_infoLines, 12), "  0.0% Glaze C, 53.3% Kaolin, and 46.7% Silica.");

    // What the dialog refuses builds nothing.
    CVarrowBlendRequest refused = m_request;
    refused.silicaMaterial = -1;
    EXPECT_EQ(RunVarrowBlend(refused, *m_source), nullptr);
    refused = m_request;
    refused.components.clear();
    EXPECT_EQ(RunVarrowBlend(refused, *m_source), nullptr);
}

// Kaolin and silica just beyond 100 together still keep their ratio: 60.09 and 40 make 100.09,
// so B holds 60.0% kaolin, not 60.1%.
TEST_F(VarrowBlendTest, JustBeyondAHundredTheCornerBSharesAreScaled)
{
    CVarrowBlendRequest corners = m_request;
    corners.generateAll = false;
    corners.generateCorners = true;
    corners.cornerBatch = 100.0;
    corners.kaolinB = 60.09;
    corners.silicaB = 40.0;
    CGlazesDoc* blend = RunVarrowBlend(corners, *m_source);
    ASSERT_NE(blend, nullptr);
    EXPECT_EQ(ItemAt(blend->Glazes().m_infoLines, 12), "  0.0% Glaze C, 60.0% Kaolin, and 40.0% Silica.");
}

} // namespace
