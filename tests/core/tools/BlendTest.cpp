#include "tools/Blend.h"

#include "core/support/CheckedItems.h"
#include "tools/BlendSupport.h"

#include "core/tools/GlazeToolsTestSupport.h"
#include "framework/UpdateHint.h"
#include "glazes/GlazeList.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

namespace {

class BlendTest : public GlazeToolsTestBase {
protected:
    static std::vector<std::string> Names(const CGlazesDoc& document)
    {
        std::vector<std::string> names;
        for (int i = 0; i < document.GetGlazeCount(); ++i)
            names.push_back(Found(document.GetGlaze(i)).m_name);
        return names;
    }
};

TEST_F(BlendTest, FivePointLineBlendMixesEqualBatchesPerHundredOfComponents)
{
    // B's batch with its addition is 125, so it enters as Kaolin 40, Whiting 40, Rutile 20.
    CGlazesDoc* source = NewDatabase({MakeGlaze("Clear", {{"Silica", 60}, {"Whiting", 40}}),
                                      MakeGlaze("Matte", {{"Kaolin", 50}, {"WHITING", 50}}, {{"Rutile", 25}})});
    CRecipeBlendRequest request = MakeRecipeBlendRequest(kLineBlend, {0, 1, 2});
    EXPECT_EQ(request.endpoints, (std::array<int, 4>{0, 1, -1, -1}));
    request.pointsAB = 5;
    CGlazesDoc* blend = RunRecipeBlend(request, *source);
    ASSERT_NE(blend, nullptr);
    EXPECT_THAT(Names(*blend), ElementsAre("100% A, 0% B", "83.3% A, 16.7% B", "66.7% A, 33.3% B", "50% A, 50% B",
                                           "33.3% A, 66.7% B", "16.7% A, 83.3% B", "0% A, 100% B"));
    ExpectLines(Found(blend->GetGlaze(0)).m_components, {{"Silica", 60}, {"Whiting", 40}});
    EXPECT_EQ(Found(blend->GetGlaze(0)).m_additions.GetCount(), 0);
    // 5/6 of A and 1/6 of B: 50 + 40 + 6.667 of components, scaled to 100.
    ExpectLines(Found(blend->GetGlaze(1)).m_components,
                {{"Silica", 51.72413793}, {"Whiting", 41.37931034}, {"Kaolin", 6.89655172}});
    ExpectLines(Found(blend->GetGlaze(1)).m_additions, {{"Rutile", 3.44827586}});
    ExpectLines(Found(blend->GetGlaze(3)).m_components,
                {{"Silica", 33.33333333}, {"Whiting", 44.44444444}, {"Kaolin", 22.22222222}});
    ExpectLines(Found(blend->GetGlaze(3)).m_additions, {{"Rutile", 11.11111111}});
    // Pure B: no silica line is left; the merged line keeps A's spelling.
    ExpectLines(Found(blend->GetGlaze(6)).m_components, {{"Whiting", 50}, {"Kaolin", 50}});
    ExpectLines(Found(blend->GetGlaze(6)).m_additions, {{"Rutile", 25}});
    EXPECT_THAT(Found(blend->GetGlaze(2)).m_notes, ElementsAre("Line blend:", "   66.7% Clear", "   33.3% Matte"));
    EXPECT_THAT(Found(blend->GetGlaze(0)).m_notes, ElementsAre("Line blend:", "  100.0% Clear", "    0.0% Matte"));

    EXPECT_EQ(blend->GetDbName(), "Line Blend");
    EXPECT_THAT(blend->Glazes().m_infoLines,
                ElementsAre("This database contains glazes created by a line blend.", "The endpoint glazes are:",
                            "  A = Clear", "  B = Matte"));
    EXPECT_TRUE(blend->IsModified());
    EXPECT_TRUE(blend->GetPathName().empty());
    std::vector<int> codes;
    for (const CReceivedHint& hint : WindowOf(blend).frame.view->received)
        codes.push_back(hint.code);
    EXPECT_THAT(codes, ElementsAre(HintDocumentOpened, HintGlazesReplaced));
    // The source stays as it was; the count is remembered.
    EXPECT_FALSE(source->IsModified());
    ExpectLines(Found(source->GetGlaze(1)).m_components, {{"Kaolin", 50}, {"WHITING", 50}});
    EXPECT_EQ(g_prefs.m_nBlendPointsAB, 5);
}

TEST_F(BlendTest, TriaxialAndSquareGridsInGenerationOrder)
{
    CGlazesDoc* source = NewDatabase({MakeGlaze("S", {{"Silica", 100}}), MakeGlaze("W", {{"Whiting", 100}}),
                                      MakeGlaze("K", {{"Kaolin", 100}}), MakeGlaze("F", {{"Feldspar", 100}})});
    CRecipeBlendRequest tri;
    tri.kind = kTriaxialBlend;
    tri.endpoints = {0, 1, 2, -1};
    tri.pointsAB = 1;
    CGlazesDoc* small = RunRecipeBlend(tri, *source);
    ASSERT_NE(small, nullptr);
    EXPECT_THAT(Names(*small), ElementsAre("100% A, 0% B, 0% C", "50% A, 50% B, 0% C", "50% A, 0% B, 50% C",
                                           "0% A, 100% B, 0% C", "0% A, 50% B, 50% C", "0% A, 0% B, 100% C"));

    tri.pointsAB = 2;
    CGlazesDoc* triaxial = RunRecipeBlend(tri, *source);
    ASSERT_NE(triaxial, nullptr);
    ASSERT_EQ(triaxial->GetGlazeCount(), 10);
    ExpectLines(Found(triaxial->GetGlaze(0)).m_components, {{"Silica", 100}});
    ExpectLines(Found(triaxial->GetGlaze(6)).m_components, {{"Whiting", 100}});
    ExpectLines(Found(triaxial->GetGlaze(9)).m_components, {{"Kaolin", 100}});
    EXPECT_EQ(Found(triaxial->GetGlaze(4)).m_name, "33.3% A, 33.3% B, 33.3% C");
    ExpectLines(Found(triaxial->GetGlaze(4)).m_components,
                {{"Silica", 100.0 / 3}, {"Whiting", 100.0 / 3}, {"Kaolin", 100.0 / 3}});
    EXPECT_THAT(triaxial->Glazes().m_infoLines,
                ElementsAre("This database contains glazes created by a triaxial blend.", "The endpoint glazes are:",
                            "  A = S", "  B = W", "  C = K"));

    CRecipeBlendRequest square = MakeRecipeBlendRequest(kSquareBlend, {3, 0});
    EXPECT_EQ(square.endpoints, (std::array<int, 4>{3, 0, -1, -1}));
    square.endpoints = {0, 1, 2, 3};
    square.pointsAB = 1;
    square.pointsAC = 1;
    CGlazesDoc* grid = RunRecipeBlend(square, *source);
    ASSERT_NE(grid, nullptr);
    ASSERT_EQ(grid->GetGlazeCount(), 9);
    EXPECT_EQ(Found(grid->GetGlaze(4)).m_name, "25% A, 25% B, 25% C, 25% D");
    ExpectLines(Found(grid->GetGlaze(4)).m_components,
                {{"Silica", 25}, {"Whiting", 25}, {"Kaolin", 25}, {"Feldspar", 25}});
    EXPECT_EQ(Found(grid->GetGlaze(1)).m_name, "50% A, 50% B, 0% C, 0% D");
    EXPECT_EQ(Found(grid->GetGlaze(8)).m_name, "0% A, 0% B, 0% C, 100% D");
    EXPECT_EQ(grid->GetDbName(), "Square Blend");
    EXPECT_EQ(g_prefs.m_nBlendPointsAC, 1);

    // Point counts stay within 1..99 whatever the request says.
    EXPECT_EQ(MakeBlendGrid(kLineBlend, 0, 0).size(), 3u);
    EXPECT_EQ(MakeBlendGrid(kSquareBlend, 500, -4).size(), 101u * 3u);
}

TEST_F(BlendTest, EndpointsThatCannotBeBlendedStopBeforeAnyDatabaseIsMade)
{
    CGlaze byVolume = MakeGlaze("Slop", {{"Silica", 10}, {"Whiting", 10}});
    byVolume.m_byVol = 1;
    CGlaze unknown = MakeGlaze("Odd", {{"Stardust", 10}});
    unknown.m_byVol = 1;
    CGlazesDoc* source =
        NewDatabase({MakeGlaze("Clear", {{"Silica", 60}, {"Whiting", 40}}), byVolume, unknown, CGlaze("Empty")});
    const int before = m_app.CountGlazeDocs();

    CRecipeBlendRequest request;
    request.endpoints = {2, 0, -1, -1};
    EXPECT_EQ(RunRecipeBlend(request, *source), nullptr);
    request.endpoints = {0, 2, -1, -1};
    EXPECT_EQ(RunRecipeBlend(request, *source), nullptr);
    request.endpoints = {0, 3, -1, -1};
    EXPECT_EQ(RunRecipeBlend(request, *source), nullptr);
    EXPECT_THAT(m_messages.Texts(), ElementsAre("Cannot convert \"Odd\" to recipe by weight!",
                                                "Cannot convert \"Odd\" to recipe by weight",
                                                "Glaze \"Empty\" has no ingredients!"));
    EXPECT_EQ(m_messages.At(0).Icon(), unsigned(MsgIconError));
    EXPECT_EQ(m_messages.At(0).helpId, 0x30580u);

    // Unchosen or unknown endpoints end silently.
    request.endpoints = {0, -1, -1, -1};
    EXPECT_EQ(RunRecipeBlend(request, *source), nullptr);
    request.endpoints = {0, 4, -1, -1}; // one past the last glaze
    EXPECT_EQ(RunRecipeBlend(request, *source), nullptr);
    EXPECT_EQ(m_messages.boxes.size(), 3u);
    EXPECT_EQ(m_app.CountGlazeDocs(), before);

    // A volume recipe is blended by weight (density 2) and stays by volume in its database.
    request.endpoints = {1, 1, -1, -1};
    request.pointsAB = 1;
    CGlazesDoc* blend = RunRecipeBlend(request, *source);
    ASSERT_NE(blend, nullptr);
    ASSERT_GE(blend->GetGlazeCount(), 2);
    ExpectLines(Found(blend->GetGlaze(1)).m_components, {{"Silica", 50}, {"Whiting", 50}});
    EXPECT_EQ(Found(blend->GetGlaze(1)).m_byVol, 0);
    EXPECT_EQ(Found(source->GetGlaze(1)).m_byVol, 1);
}

// An endpoint is blended per hundred of its components: 30 silica and 20 whiting become 60 and 40.
TEST_F(BlendTest, AnEndpointIsScaledToAHundredOfComponents)
{
    CGlaze copy;
    EXPECT_EQ(PrepareBlendSource(MakeGlaze("Half", {{"Silica", 30}, {"Whiting", 20}}), copy), 0);
    ASSERT_EQ(copy.m_components.GetCount(), 2);
    EXPECT_DOUBLE_EQ(RecordAt(copy.m_components, 0).m_amount, 60.0);
    EXPECT_DOUBLE_EQ(RecordAt(copy.m_components, 1).m_amount, 40.0);
}

} // namespace
