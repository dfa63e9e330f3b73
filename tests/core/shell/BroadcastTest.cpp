#include "shell/OxidariumApp.h"

#include "core/framework/RecordingView.h"
#include "framework/DocTemplate.h"
#include "framework/UpdateHint.h"
#include "support/DbFileType.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// A document that can stand for any kind, with a database name and a path.
class CKindDoc : public CDocument {
public:
    explicit CKindDoc(int kind = 0) : m_kind(kind)
    {
        if (m_kind)
            COxidariumApp::SetSingletonDocument(m_kind, this);
    }
    ~CKindDoc() override
    {
        if (m_kind)
            COxidariumApp::SetSingletonDocument(m_kind, nullptr);
    }
    std::string GetDatabaseName() const override { return m_dbName; }
    void OnBroadcastNotice(const CUpdateHint& hint) override
    {
        if (m_log)
            m_log->push_back({"document " + std::to_string(m_kind), hint.m_nKind, hint.m_nCode, hint.m_nIndex});
    }
    int m_kind;
    std::string m_dbName;
    std::vector<CReceivedHint>* m_log = nullptr;
};

int Kind(DbFileType kind)
{
    return static_cast<int>(kind);
}

// Registers a glaze and a text template like start-up does, and removes them afterwards.
class BroadcastTest : public ::testing::Test {
protected:
    BroadcastTest()
    {
        g_pGlazesTemplate = &m_glazes;
        g_pTextFileTemplate = &m_texts;
    }
    ~BroadcastTest() override
    {
        g_pGlazesTemplate = nullptr;
        g_pTextFileTemplate = nullptr;
    }

    CDocument* AddGlazeDoc(const std::string& dbName, const std::string& path = std::string())
    {
        auto document = std::make_unique<CKindDoc>();
        document->m_dbName = dbName;
        if (!path.empty())
            document->SetPathName(path);
        return m_glazes.AddDocument(std::move(document), false);
    }

    COxidariumApp m_app;
    CDocTemplate m_glazes{3, "\nGlazes\nGlazes\nGlaze Databases (*.glz)\n.glz\nOxidariumGlazes\nOxidarium Glazes",
                          [] { return std::make_unique<CKindDoc>(); }};
    CDocTemplate m_texts{9, "Text File\n\n\n\n\n\n", [] { return std::make_unique<CKindDoc>(); }};
    std::vector<CReceivedHint> m_log;
};

} // namespace

TEST_F(BroadcastTest, ANoticeReachesEveryDocumentInTheFixedOrder)
{
    // Created out of order on purpose: the broadcast order does not depend on creation.
    CKindDoc graphs(Kind(DbFileType::GraphTemplates));
    CKindDoc tree(Kind(DbFileType::DbTreeItems));
    CKindDoc materials(Kind(DbFileType::Materials));
    CKindDoc elements(Kind(DbFileType::Elements));
    CDocument* glazeA = AddGlazeDoc("A");
    ASSERT_NE(glazeA, nullptr);
    CDocument* glazeB = AddGlazeDoc("B");
    ASSERT_NE(glazeB, nullptr);
    CDocument* text = m_texts.AddDocument(std::make_unique<CKindDoc>(), false);
    ASSERT_NE(text, nullptr);

    CRecordingView textView("text", &m_log), glazeBView("glazeB", &m_log), graphsView("graphs", &m_log),
        treeView("tree", &m_log), elementsView("elements", &m_log), materialsView("materials", &m_log),
        materialsSender("materials sender", &m_log), glazeAView("glazeA", &m_log);
    text->AddView(&textView);
    glazeB->AddView(&glazeBView);
    graphs.AddView(&graphsView);
    tree.AddView(&treeView);
    elements.AddView(&elementsView);
    materials.AddView(&materialsSender);
    materials.AddView(&materialsView);
    glazeA->AddView(&glazeAView);

    COxidariumApp::BroadcastUpdate(&materialsSender, &materials, Kind(DbFileType::Materials), HintMaterialChanged, 4, 0);

    std::vector<std::string> order;
    for (const CReceivedHint& hint : m_log) {
        order.push_back(hint.viewName);
        EXPECT_EQ(hint.code, HintMaterialChanged);
        EXPECT_EQ(hint.index, 4);
    }
    // Substitutions and limit formulas do not exist here and are skipped.
    EXPECT_EQ(order, (std::vector<std::string>{"elements", "materials", "tree", "glazeA", "glazeB", "graphs", "text"}));
}

TEST_F(BroadcastTest, EveryDocumentHearsANoticeBeforeAnyView)
{
    // A glaze window recomputes from the materials: the materials document must have followed
    // the element table before any window, its own or another, hears of the change.
    CKindDoc elements(Kind(DbFileType::Elements));
    CKindDoc materials(Kind(DbFileType::Materials));
    elements.m_log = &m_log;
    materials.m_log = &m_log;
    CRecordingView elementsView("elements", &m_log), materialsView("materials", &m_log);
    elements.AddView(&elementsView);
    materials.AddView(&materialsView);

    COxidariumApp::BroadcastUpdate(nullptr, &elements, Kind(DbFileType::Elements), HintElementChanged, 14, 0);
    std::vector<std::string> order;
    for (const CReceivedHint& hint : m_log) {
        order.push_back(hint.viewName);
        EXPECT_EQ(hint.code, HintElementChanged);
        EXPECT_EQ(hint.index, 14);
    }
    EXPECT_EQ(order, (std::vector<std::string>{"document 1", "document 2", "elements", "materials"}));
}

TEST_F(BroadcastTest, ADocumentClosedDuringABroadcastIsNotCalled)
{
    CKindDoc elements(Kind(DbFileType::Elements));
    CDocument* doomed = AddGlazeDoc("doomed");
    ASSERT_NE(doomed, nullptr);
    CDocument* survivor = AddGlazeDoc("survivor");
    ASSERT_NE(survivor, nullptr);
    CRecordingView elementsView("elements", &m_log), doomedView("doomed", &m_log), survivorView("survivor", &m_log);
    elements.AddView(&elementsView);
    doomed->AddView(&doomedView);
    survivor->AddView(&survivorView);

    elementsView.onUpdate = [doomed](const CUpdateHint*) { doomed->OnCloseDocument(); };
    COxidariumApp::BroadcastUpdate(nullptr, nullptr, Kind(DbFileType::Elements), HintElementsReplaced, 0, 0);
    ASSERT_EQ(m_log.size(), 2u);
    EXPECT_EQ(m_log[0].viewName, "elements");
    EXPECT_EQ(m_log[1].viewName, "survivor");
    EXPECT_EQ(m_glazes.GetDocuments().size(), 1u);
}

TEST_F(BroadcastTest, AReceiverThatBroadcastsFinishesItsInnerBroadcastFirst)
{
    CKindDoc elements(Kind(DbFileType::Elements));
    CKindDoc materials(Kind(DbFileType::Materials));
    CRecordingView elementsView("elements", &m_log), materialsView("materials", &m_log);
    elements.AddView(&elementsView);
    materials.AddView(&materialsView);
    materialsView.onUpdate = [&materials](const CUpdateHint* hint) {
        if (hint->m_nCode == HintElementChanged)
            COxidariumApp::BroadcastUpdate(nullptr, &materials, 2, HintMaterialsReplaced, 0, 0);
    };
    COxidariumApp::BroadcastUpdate(nullptr, nullptr, 1, HintElementChanged, 14, 0);
    std::vector<std::pair<std::string, int>> order;
    for (const CReceivedHint& hint : m_log)
        order.emplace_back(hint.viewName, hint.code);
    EXPECT_EQ(order, (std::vector<std::pair<std::string, int>>{
                         {"elements", 1}, {"materials", 1}, {"elements", 7}, {"materials", 7}}));
}

TEST_F(BroadcastTest, OpenDocumentLookUps)
{
    CKindDoc materials(Kind(DbFileType::Materials));
    materials.SetPathName("/data/Materials.mat");
    CDocument* first = AddGlazeDoc("", "/data/a.glz");
    CDocument* second = AddGlazeDoc("Cone 6", "/data/b.glz");
    CDocument* text = m_texts.AddDocument(std::make_unique<CKindDoc>(), false);
    ASSERT_NE(text, nullptr);
    text->SetPathName("/data/notes.txt");

    // Paths compare exactly once made full: letter case counts, as it does on Linux.
    EXPECT_EQ(m_app.FindOpenDocument("/data/Materials.mat"), &materials);
    EXPECT_EQ(m_app.FindOpenDocument("/DATA/materials.MAT"), nullptr);
    EXPECT_EQ(m_app.FindOpenDocument("/data/B.GLZ"), nullptr);
    EXPECT_EQ(m_app.FindOpenDocument("/data/x/../b.glz"), second);
    EXPECT_EQ(m_app.FindOpenDocument("/data//notes.txt"), text);
    EXPECT_FALSE(m_app.IsDocumentOpen("/data/other.glz"));
    EXPECT_EQ(m_app.CountGlazeDocs(), 2);
    EXPECT_EQ(m_app.GetGlazeDoc(0), first);
    EXPECT_EQ(m_app.GetGlazeDoc(2), nullptr);
    EXPECT_EQ(m_app.IndexOfGlazeDoc(second), 1);
    EXPECT_EQ(m_app.IndexOfGlazeDoc(text), -1);
    EXPECT_EQ(m_app.FindGlazeDocByDbName("cone 6"), second);
    EXPECT_EQ(m_app.FindGlazeDocByDbName(""), nullptr) << "an empty name never matches";
    std::vector<std::string> titles{"stale"};
    m_app.GetGlazeDocTitles(titles);
    EXPECT_EQ(titles, (std::vector<std::string>{"a.glz", "b.glz"}));

    AddGlazeDoc("untitled");
    EXPECT_EQ(m_app.FindOpenDocument(""), nullptr) << "an untitled document has no path to match";
}

TEST_F(BroadcastTest, NewWindowsCascadeInFourColumns)
{
    m_app.m_nCascadeStep = 10;
    std::vector<COxidariumApp::Point> positions;
    for (int call = 1; call <= 29; ++call)
        positions.push_back(m_app.NextChildWindowPos());
    EXPECT_EQ(positions[0], (COxidariumApp::Point{0, 0}));
    EXPECT_EQ(positions[6], (COxidariumApp::Point{60, 60}));
    EXPECT_EQ(positions[7], (COxidariumApp::Point{40, 0})) << "call 8";
    EXPECT_EQ(positions[21], (COxidariumApp::Point{120, 0}));
    EXPECT_EQ(positions[27], (COxidariumApp::Point{180, 60}));
    EXPECT_EQ(positions[28], (COxidariumApp::Point{0, 0})) << "call 29";
}
