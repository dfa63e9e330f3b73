#include "shell/Clipboards.h"

#include "core/support/CheckedItems.h"
#include "core/framework/RecordingView.h"
#include "framework/UpdateHint.h"
#include "materials/MaterialsDoc.h"
#include "shell/AppContext.h"
#include "shell/OxidariumApp.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

namespace {

using ::testing::ElementsAre;

class ClipboardsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : {"Silica", "Kaolin", "Whiting"})
            m_source.InsertMaterial(m_source.Materials().GetCount(), CMaterial(name));
    }
    std::vector<std::string> Names(const CMaterialArray& database) const
    {
        std::vector<std::string> names;
        for (const auto& m : database.Records())
            names.push_back(m->m_name);
        return names;
    }
    bool CopyRows(std::vector<int> rows)
    {
        return CopyRowsToClipboard(g_materialClipboard, rows,
                                   [this](int row) { return m_source.Materials().GetAt(row); });
    }
    int Paste(CMaterialsDoc& target, int position)
    {
        CPasteTarget where{nullptr, &target, DbFileType::Materials, position, target.Materials().GetCount()};
        return PasteFromClipboard(g_materialClipboard, where,
                                  [&target](int index, const CMaterial& m) { target.InsertMaterial(index, m); });
    }

    CAppContext m_context;
    COxidariumApp m_app;
    CMaterialsDoc m_source;
};

TEST_F(ClipboardsTest, TheMaterialsClipboardLivesWithTheContext)
{
    EXPECT_EQ(g_materialClipboard.GetCount(), 0);
    EXPECT_EQ(g_materialClipboard.m_dbName, "Materials");
    EXPECT_EQ(InsertedRecordsHintCode(DbFileType::Materials), HintMaterialsInserted);
    EXPECT_EQ(InsertedRecordsHintCode(DbFileType::Glazes), HintGlazesInserted);
}

TEST_F(ClipboardsTest, CopyReplacesTheClipboardOnlyWhenRowsAreSelected)
{
    g_materialClipboard.m_dbName = "left over";
    g_materialClipboard.m_infoLines = {"x"};
    EXPECT_TRUE(CopyRows({0, 2}));
    EXPECT_THAT(Names(g_materialClipboard), ElementsAre("Silica", "Whiting"));
    EXPECT_EQ(g_materialClipboard.m_dbName, "Materials");
    EXPECT_TRUE(g_materialClipboard.m_infoLines.empty());
    EXPECT_NE(g_materialClipboard.GetAt(0), m_source.Materials().GetAt(0)); // copies

    EXPECT_FALSE(CopyRows({}));
    EXPECT_THAT(Names(g_materialClipboard), ElementsAre("Silica", "Whiting"));

    // Closing the source leaves the copies; an edit view copies its one record.
    m_source.Materials().ResetToDefaults();
    EXPECT_THAT(Names(g_materialClipboard), ElementsAre("Silica", "Whiting"));
    CopyRecordToClipboard(g_materialClipboard, CMaterial("Edited"));
    EXPECT_THAT(Names(g_materialClipboard), ElementsAre("Edited"));
}

TEST_F(ClipboardsTest, CutCopiesThenDeletes)
{
    std::vector<int> rows{1};
    const auto recordAt = [this](int row) { return m_source.Materials().GetAt(row); };
    const auto deleteRows = [&] {
        for (auto it = rows.rbegin(); it != rows.rend(); ++it)
            m_source.DeleteMaterial(*it);
    };
    EXPECT_TRUE(CutRowsToClipboard(g_materialClipboard, rows, recordAt, deleteRows));
    EXPECT_THAT(Names(g_materialClipboard), ElementsAre("Kaolin"));
    EXPECT_THAT(Names(m_source.Materials()), ElementsAre("Silica", "Whiting"));
    rows.clear();
    EXPECT_FALSE(CutRowsToClipboard(g_materialClipboard, rows, recordAt, deleteRows));
    EXPECT_THAT(Names(g_materialClipboard), ElementsAre("Kaolin"));
}

TEST_F(ClipboardsTest, PasteInsertsIndependentCopiesAndAnnouncesOnce)
{
    CRecordingFrame frame(m_source, "list");
    // Nothing to paste: nothing changes, nothing is announced.
    m_source.SetModifiedFlag(false);
    EXPECT_EQ(Paste(m_source, 0), 0);
    EXPECT_FALSE(m_source.IsModified());
    EXPECT_TRUE(frame.view->received.empty());

    ASSERT_TRUE(CopyRows({0, 1}));
    EXPECT_EQ(Paste(m_source, 4), 0); // past the end
    EXPECT_EQ(Paste(m_source, 1), 2);
    EXPECT_EQ(Paste(m_source, 5), 2); // at the end
    ASSERT_THAT(Names(m_source.Materials()),
                ElementsAre("Silica", "Silica", "Kaolin", "Kaolin", "Whiting", "Silica", "Kaolin"));
    EXPECT_TRUE(m_source.IsModified());
    ASSERT_EQ(frame.view->received.size(), 2u);
    EXPECT_EQ(frame.view->At(0).kind, 2);
    EXPECT_EQ(frame.view->At(0).code, HintMaterialsInserted);
    EXPECT_EQ(frame.view->At(0).index, 1);
    EXPECT_EQ(frame.view->At(1).index, 5);

    // Each paste made its own copies: editing one changes neither the other nor the clipboard.
    m_source.SetMaterialField(1, 1, "Changed");
    ASSERT_GE(g_materialClipboard.GetCount(), 1);
    EXPECT_EQ(RecordAt(m_source.Materials(), 5).m_name, "Silica");
    EXPECT_EQ(RecordAt(g_materialClipboard, 0).m_name, "Silica");
    EXPECT_EQ(g_materialClipboard.GetCount(), 2);
}

} // namespace
