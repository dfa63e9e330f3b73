#include "glazes/GlazesToMaterialsDlg.h"

#include "ui/support/CheckedWidgets.h"
#include "core/support/CheckedItems.h"
#include "GlazeDlgTestFixture.h"
#include "glazes/GlazeListDlgCommands.h"

#include <QButtonGroup>
#include <QPushButton>
#include <QTest>

namespace {

class GlazesToMaterialsDlgTest : public GlazeDlgFixture {};

} // namespace

TEST_F(GlazesToMaterialsDlgTest, TheSelectedGlazesBecomeMaterialsAndTheChoiceIsKept)
{
    // Nothing selected: no dialog, nothing made.
    EXPECT_FALSE(RunGlazesToMaterials(*m_doc, m_list, nullptr));

    m_selection.rows = {0, 3};
    WhenDialogShows<CGlazesToMaterialsDlg>([](CGlazesToMaterialsDlg& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Glazes to Materials"));
        EXPECT_EQ(dialog.ChoiceGroup()->checkedId(), 0);
        GroupButton(dialog.ChoiceGroup(), 1).click();
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    });
    EXPECT_TRUE(RunGlazesToMaterials(*m_doc, m_list, nullptr));
    ASSERT_EQ(m_materials.Materials().GetCount(), 7);
    EXPECT_EQ(RecordAt(m_materials.Materials(), 5).m_name, "Celadon Frit");
    EXPECT_EQ(RecordAt(m_materials.Materials(), 6).m_name, "Blue Matte Frit");
    EXPECT_EQ(TakeNotices(), (std::vector<std::pair<int, int>>{{HintMaterialsInserted, 5}}));
    EXPECT_EQ(GetGlazesToMaterialsChoice(), 1);
    GetGlazesToMaterialsChoice() = 0;
}
