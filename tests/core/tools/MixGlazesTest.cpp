#include "tools/MixGlazes.h"

#include "core/support/CheckedItems.h"
#include "core/tools/GlazeToolsTestSupport.h"
#include "framework/UpdateHint.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>

using ::testing::ElementsAre;

namespace {

class MixGlazesTest : public GlazeToolsTestBase {
protected:
    MixGlazesTest()
    {
        m_doc = NewDatabase({MakeGlaze("X", {{"Silica", 50}, {"Whiting", 50}}), MakeGlaze("Filler", {{"Alumina", 1}}),
                             MakeGlaze("Y", {{"Kaolin", 80}, {"WHITING", 20}}, {{"Rutile", 25}}),
                             MakeGlaze("Z", {{"Silica", 100}}, {{"Rutile", 10}})});
    }
    // (code, index) of the notices the list window received.
    std::vector<std::pair<int, int>> Notices()
    {
        std::vector<std::pair<int, int>> notices;
        for (const CReceivedHint& hint : WindowOf(m_doc).frame.view->received)
            notices.emplace_back(hint.code, hint.index);
        return notices;
    }

    CGlazesDoc* m_doc = nullptr;
};

TEST_F(MixGlazesTest, MixingTwoGlazesOneToOne)
{
    const CMixGlazesRequest preset = MakeMixGlazesRequest({0, 2});
    EXPECT_EQ(preset.glazes, (std::array<int, 4>{0, 2, -1, -1}));
    EXPECT_EQ(preset.parts, (std::array<double, 4>{1.0, 1.0, 0.0, 0.0}));

    // Each enters as half of a batch of 100 with its additions: X as Silica 25, Whiting 25; Y as
    // Kaolin 32, Whiting 8, Rutile 10. Then per 100 of components.
    EXPECT_EQ(RunMixGlazes(preset, *m_doc, nullptr), 3);
    ASSERT_EQ(m_doc->GetGlazeCount(), 5);
    const CGlaze& mixture = Found(m_doc->GetGlaze(3));
    EXPECT_EQ(mixture.m_name, "50% X  50% Y");
    EXPECT_THAT(mixture.m_notes, ElementsAre("Mixture:", "   50.0% X", "   50.0% Y"));
    ExpectLines(mixture.m_components, {{"Silica", 27.77777778}, {"Whiting", 36.66666667}, {"Kaolin", 35.55555556}});
    ExpectLines(mixture.m_additions, {{"Rutile", 11.11111111}});
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_THAT(Notices(), ElementsAre(std::pair{int(HintGlazesInserted), 3}));

    // Shares of 0.3 and 0.1 in slots 2 and 4 (rows 3 and 0): inserted after row 3. A part typed for
    // an empty slot and a negative part take no share; an infinite part none either.
    CMixGlazesRequest request;
    request.glazes = {-1, 4, 1, 0};
    request.parts = {5.0, 0.3, -2.0, 0.1};
    EXPECT_EQ(RunMixGlazes(request, *m_doc, WindowOf(m_doc).frame.view.get()), 5);
    EXPECT_EQ(Found(m_doc->GetGlaze(5)).m_name, "75% Z  25% X");
    request.parts = {0.0, std::numeric_limits<double>::infinity(), 0.0, 0.0};
    EXPECT_EQ(RunMixGlazes(request, *m_doc, nullptr), -1);
    request.glazes = {-1, -1, 17, -1};
    request.parts = {1.0, 1.0, 1.0, 1.0};
    EXPECT_EQ(RunMixGlazes(request, *m_doc, nullptr), -1);
    EXPECT_EQ(m_doc->GetGlazeCount(), 6);
    EXPECT_TRUE(m_messages.boxes.empty());
}

TEST_F(MixGlazesTest, AveragingThreeGlazes)
{
    // Each enters as a batch of 100 with its additions: X as Silica 50, Whiting 50; Y as Kaolin
    // 64, Whiting 16, Rutile 20; Z as Silica 90.909, Rutile 9.0909. The components add up to
    // 270.909, and the result is expressed per 100 of them.
    EXPECT_EQ(RunAverageGlazes({3, 0, 2}, *m_doc, nullptr), 4);
    const CGlaze& average = Found(m_doc->GetGlaze(4));
    EXPECT_EQ(average.m_name, "Average of 3 glazes");
    EXPECT_THAT(average.m_notes, ElementsAre("Average of:", "  X", "  Y", "  Z"));
    ExpectLines(average.m_components, {{"Silica", 52.01342282}, {"Whiting", 24.36241611}, {"Kaolin", 23.62416107}});
    ExpectLines(average.m_additions, {{"Rutile", 10.73825503}});

    // One glaze: its own recipe per 100 of components, directly below it.
    EXPECT_EQ(RunAverageGlazes({1}, *m_doc, nullptr), 2);
    EXPECT_EQ(Found(m_doc->GetGlaze(2)).m_name, "Average of 1 glazes");
    ExpectLines(Found(m_doc->GetGlaze(2)).m_components, {{"Alumina", 100}});
    EXPECT_EQ(RunAverageGlazes({}, *m_doc, nullptr), -1);
}

TEST_F(MixGlazesTest, SourcesThatCannotBeConvertedInsertNothing)
{
    CGlaze odd = MakeGlaze("Odd", {{"Stardust", 10}});
    odd.m_byVol = 1;
    m_doc->InsertGlaze(4, odd);
    CMixGlazesRequest request;
    request.glazes = {4, 0, -1, -1};
    request.parts = {1.0, 1.0, 0.0, 0.0};
    EXPECT_EQ(RunMixGlazes(request, *m_doc, nullptr), -1);
    request.glazes = {0, 4, -1, -1};
    EXPECT_EQ(RunMixGlazes(request, *m_doc, nullptr), -1);
    // Every named slot is converted, also one whose part takes no share: it stops the mixture
    // too (it used to be passed over and the mixture made).
    request.parts = {1.0, 0.0, 0.0, 0.0};
    EXPECT_EQ(RunMixGlazes(request, *m_doc, nullptr), -1);
    EXPECT_EQ(RunAverageGlazes({0, 4}, *m_doc, nullptr), -1);
    EXPECT_THAT(m_messages.Texts(), ElementsAre("Cannot convert \"Odd\" to recipe by weight!",
                                                "Cannot convert \"Odd\" to recipe by weight",
                                                "Cannot convert \"Odd\" to recipe by weight",
                                                "Cannot convert \"Odd\" to recipe by weight!"));
    EXPECT_EQ(m_messages.At(0).helpId, 0x30581u);
    EXPECT_EQ(m_doc->GetGlazeCount(), 5);
}

// The first glaze of the database alone is a mixture too: its copy per 100, right after it.
TEST_F(MixGlazesTest, TheFirstGlazeAloneMixesIntoItsCopy)
{
    CMixGlazesRequest request;
    request.glazes = {0, -1, -1, -1};
    request.parts = {2.0, 0.0, 0.0, 0.0};
    EXPECT_EQ(RunMixGlazes(request, *m_doc, nullptr), 1);
    ASSERT_EQ(m_doc->GetGlazeCount(), 5);
    EXPECT_EQ(Found(m_doc->GetGlaze(1)).m_name, "100% X");
    ExpectLines(Found(m_doc->GetGlaze(1)).m_components, {{"Silica", 50}, {"Whiting", 50}});
}

} // namespace
