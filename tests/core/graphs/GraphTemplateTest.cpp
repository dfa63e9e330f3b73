#include "graphs/GraphTemplate.h"

#include "core/support/CheckedItems.h"
#include "graphs/GraphColorLists.h"
#include "graphs/GraphTemplateDatabase.h"
#include "graphs/GraphTypeTable.h"
#include "graphs/GraphVariable.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

namespace {

using ::testing::ElementsAre;

std::vector<int> OxideCodes(const CGraphTemplate& t, bool admitMinusOne)
{
    std::array<int, CGraphTemplate::kMaxOxideListCodes> codes{};
    const int count = t.GetOxideList(codes, admitMinusOne);
    for (int i = count; i < CGraphTemplate::kMaxOxideListCodes; ++i)
        EXPECT_EQ(codes[static_cast<std::size_t>(i)], CGraphTemplate::kUnusedOxideSlot);
    return std::vector<int>(codes.begin(), codes.begin() + count);
}

TEST(GraphTemplateTest, DefaultsAndResetKeepTheIdentity)
{
    CGraphTemplate t("Pie");
    EXPECT_EQ(t.type, 0);
    EXPECT_EQ(t.bpoxides, "105,106,107");
    EXPECT_EQ(t.labels, 1);
    EXPECT_EQ(t.txmainsiz, 200);
    EXPECT_EQ(t.xmax, 100.0);
    EXPECT_EQ(t.hoxide, 14);
    EXPECT_EQ(t.ovftype, 4);
    EXPECT_TRUE(t.m_notes.empty());
    EXPECT_TRUE(t.m_dataSources.empty());

    t.m_notes = {"kept"};
    t.m_dataSources.InsertAt(0, CGraphDataSource("kept source"));
    t.barwid = 80;
    t.limform = "gone";
    t.ResetDefaults(kGraphScatter3D);
    EXPECT_EQ(t.type, 23);
    EXPECT_EQ(t.bpoxides, "");
    EXPECT_EQ(t.barwid, 50);
    EXPECT_EQ(t.limform, "");
    EXPECT_EQ(t.m_name, "Pie");
    EXPECT_THAT(t.m_notes, ElementsAre("kept"));
    ASSERT_EQ(t.m_dataSources.GetCount(), 1);
    t.ResetDefaults(kGraphOnePieOxides);
    EXPECT_EQ(t.bpoxides, "105,106,107");
}

TEST(GraphTemplateTest, OxideListReadsLeadingNumbersAndSkipsOthers)
{
    CGraphTemplate t("List");
    t.bpoxides = "14, 200,-1,abc";
    EXPECT_THAT(OxideCodes(t, false), ElementsAre(14, 0));
    EXPECT_THAT(OxideCodes(t, true), ElementsAre(14, -1, 0));
    t.bpoxides = "";
    EXPECT_TRUE(OxideCodes(t, false).empty());
    t.bpoxides = "1,,2,";
    EXPECT_THAT(OxideCodes(t, false), ElementsAre(1, 2));
    // No more than 150 codes are handed out.
    t.bpoxides.clear();
    for (int i = 0; i < 200; ++i)
        t.bpoxides += "5,";
    EXPECT_EQ(OxideCodes(t, false).size(), 150u);
}

TEST(GraphTemplateTest, CopiesAreDeepAndSelfAssignmentKeepsTheSources)
{
    CGraphTemplate t("Original");
    CGraphDataSource source("glazes");
    source.dsgname = {"A", "B"};
    t.m_dataSources.InsertAt(0, source);
    CGraphTemplate copy = t;
    EXPECT_EQ(copy, t);
    ASSERT_FALSE(t.m_dataSources.empty());
    ASSERT_FALSE(copy.m_dataSources.empty());
    EXPECT_NE(copy.m_dataSources[0].get(), t.m_dataSources[0].get());
    RecordAt(copy.m_dataSources, 0).dsgname.push_back("C");
    EXPECT_EQ(RecordAt(t.m_dataSources, 0).dsgname.size(), 2u);
    // A template with one more data source is another template.
    CGraphTemplate longer = t;
    longer.m_dataSources.InsertAt(1, source);
    EXPECT_NE(longer, t);

    const CGraphDataSource* before = t.m_dataSources[0].get();
    CGraphTemplate& alias = t;
    t = alias;
    EXPECT_EQ(t.m_dataSources[0].get(), before);
    EXPECT_EQ(RecordAt(t.m_dataSources, 0).m_name, "glazes");
}

TEST(GraphTemplateTest, DataSourceListIgnoresBadIndexes)
{
    CGraphDataSourceArray sources;
    sources.InsertAt(1, CGraphDataSource("past the end"));
    EXPECT_EQ(sources.GetCount(), 0);
    sources.InsertAt(0, CGraphDataSource("a"));
    sources.InsertAfter(0, CGraphDataSource("c"));
    sources.InsertAt(1, CGraphDataSource("b"));
    sources.SetAt(3, CGraphDataSource("nowhere"));
    sources.RemoveAt(-1);
    ASSERT_EQ(sources.GetCount(), 3);
    EXPECT_EQ(RecordAt(sources, 1).m_name, "b");
    CGraphDataSource changed("B");
    changed.dscol = 4;
    sources.SetAt(1, changed);
    EXPECT_EQ(sources.GetAt(1), changed);
    sources.RemoveAt(0);
    EXPECT_EQ(RecordAt(sources, 0).m_name, "B");
    sources.RemoveAll();
    EXPECT_EQ(sources.GetCount(), 0);
}

TEST(GraphTemplateTest, DefaultColourLists)
{
    CMaterialTypeColorList types;
    types.SetDefaults();
    ASSERT_EQ(types.GetCount(), 9);
    EXPECT_EQ(types[0], (CMaterialTypeColor{"frit", 3, 0, 0}));
    EXPECT_EQ(types[8], (CMaterialTypeColor{"miscellaneous", 8, 0, 0}));
    EXPECT_EQ(Found(types.Find("CLAY")).color, 6);

    COxideColorList oxides;
    oxides.SetDefaults();
    ASSERT_EQ(oxides.GetCount(), 128);
    EXPECT_EQ(RecordAt(oxides, 11).color, 11); // Na2O: alkali
    EXPECT_EQ(RecordAt(oxides, 13).color, 10); // Al2O3: neutral
    EXPECT_EQ(RecordAt(oxides, 14).color, 12); // SiO2: acid
    EXPECT_EQ(Found(oxides.GetAt(kGraphVarLoi)).color, 8);
    EXPECT_EQ(Found(oxides.GetAt(kGraphVarOtherOxides)).color, 7);
    EXPECT_EQ(RecordAt(oxides, 117).color, 0);
    EXPECT_EQ(Found(oxides.GetAt(kGraphVarCost)).color, 7);
    // The groups and figures stand in the colours of their kind.
    const std::pair<int, int> variables[] = {
        {kGraphVarAlkalis, 11},      {kGraphVarNeutrals, 10},      {kGraphVarAcids, 12},
        {kGraphVarUnexpected, 0},    {kGraphVarVolatiles, 8},      {kGraphVarOtherAlkalis, 11},
        {kGraphVarOtherNeutrals, 10}, {kGraphVarOtherAcids, 12},   {kGraphVarOtherUnexpected, 0},
        {kGraphVarOtherVolatiles, 8}, {kGraphVarOtherNonvolatiles, 7}, {kGraphVarSiAlRatio, 7},
        {kGraphVarExpansion, 7},     {kGraphVarViscosity, 7}};
    for (const auto& [code, color] : variables)
        EXPECT_EQ(Found(oxides.GetAt(code)).color, color) << code;
    EXPECT_EQ(Found(oxides.GetAt(kGraphVarLowestTemp)).color, 0);
    EXPECT_EQ(oxides.GetAt(128), nullptr);
    EXPECT_EQ(oxides.GetAt(-1), nullptr);
    oxides.resize(20);
    EXPECT_EQ(oxides.GetAt(20), nullptr);
}

TEST(GraphTemplateTest, ColourRule)
{
    EXPECT_EQ(ApplyColorRule(4, 0, 0, false), (CChartColor{4, 0}));
    EXPECT_EQ(ApplyColorRule(4, 3, 0, false), (CChartColor{4, 0}));
    EXPECT_EQ(ApplyColorRule(4, 3, 1, false), (CChartColor{4, 4}));
    EXPECT_EQ(ApplyColorRule(4, 0, 1, false), (CChartColor{15, 0}));
    EXPECT_EQ(ApplyColorRule(4, 7, 1, false), (CChartColor{4, 0}));
    EXPECT_EQ(ApplyColorRule(4, 0, 0, true), (CChartColor{15, 0}));
    EXPECT_EQ(ApplyColorRule(4, 7, 0, true), (CChartColor{0, 0}));
    EXPECT_EQ(ApplyColorRule(4, 2, 0, true), (CChartColor{0, 3}));
}

TEST(GraphTemplateTest, NextTemplateForTheGlazeEditPages)
{
    CGraphTemplateDatabase database;
    for (const char* name : {"a", "b", "c", "d"})
        database.InsertAt(database.GetCount(), CGraphTemplate(name));
    ASSERT_EQ(database.GetCount(), 4);
    const CGraphTemplate* b = &database.GetAt(1);
    const CGraphTemplate outside("outside");

    // None flagged: the given template, or null for one that is not in the database.
    EXPECT_EQ(database.NextAnalysisTemplate(b), b);
    EXPECT_EQ(database.NextAnalysisTemplate(&outside), nullptr);
    EXPECT_EQ(database.NextAnalysisTemplate(nullptr), nullptr);

    RecordAt(database, 1).glzedan = 1;
    EXPECT_EQ(database.NextAnalysisTemplate(b), b); // only itself: tested last
    RecordAt(database, 0).glzedan = 1;
    RecordAt(database, 3).glzedlf = 1;
    EXPECT_EQ(database.NextAnalysisTemplate(b), &database.GetAt(0)); // wraps round
    EXPECT_EQ(database.NextAnalysisTemplate(&outside), &database.GetAt(0));
    EXPECT_EQ(database.NextLimitTemplate(&database.GetAt(3)), &database.GetAt(3));
    EXPECT_EQ(database.NextLimitTemplate(&database.GetAt(0)), &database.GetAt(3));
}

TEST(GraphTemplateTest, DatabaseOperationsIgnoreBadIndexesAndCopy)
{
    CGraphTemplateDatabase database;
    EXPECT_EQ(database.m_name, "Graph Templates");
    EXPECT_EQ(database.m_oxideColors.GetCount(), 128);
    EXPECT_EQ(database.m_materialTypeColors.GetCount(), 9);
    CGraphTemplate t("one");
    database.InsertAt(1, t);
    EXPECT_EQ(database.GetCount(), 0);
    database.InsertAt(0, t);
    t.m_name = "changed";
    ASSERT_EQ(database.GetCount(), 1);
    EXPECT_EQ(RecordAt(database, 0).m_name, "one");
    database.SetAt(1, t);
    database.SetAt(0, t);
    EXPECT_EQ(RecordAt(database, 0).m_name, "changed");
    EXPECT_EQ(database.IndexOf(&database.GetAt(0)), 0);
    EXPECT_EQ(database.IndexOf(&t), -1);
    database.RemoveAt(5);
    EXPECT_EQ(database.GetCount(), 1);
    database.RemoveAt(0);
    EXPECT_EQ(database.GetCount(), 0);
}

TEST(GraphTemplateTest, TypeTableAndSummaryLabels)
{
    EXPECT_EQ(g_graphTypeTable[kGraphTypeCount].id, -1);
    for (int type = 0; type < kGraphTypeCount; ++type)
        EXPECT_EQ(g_graphTypeTable[type].id, type);
    EXPECT_STREQ(GetGraphTypeInfo(24)->longName, "Many glazes - Oxides (triaxial)");
    EXPECT_EQ(GetGraphTypeInfo(25), nullptr);
    EXPECT_EQ(GetSummaryVariableLabel(14), "SiO2");
    EXPECT_EQ(GetSummaryVariableLabel(108), "All unexpecteds");
    EXPECT_EQ(GetSummaryVariableLabel(122), "Average cone");
    EXPECT_EQ(GetSummaryVariableLabel(127), "Minimum temperature");
    EXPECT_EQ(GetSummaryVariableLabel(128), "???");
    EXPECT_EQ(GetSummaryVariableLabel(-1), "???");
}

} // namespace
