#include "materials/FindSimilarMaterialsDlg.h"

#include "tools/ToolCommands.h"
#include "ui/materials/MaterialsViewFixture.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

class FindSimilarMaterialsDlgRangeTest : public MaterialsViewFixture {};

} // namespace

// OK with a number out of range keeps the dialog open: nothing is searched until it is mended.
TEST_F(FindSimilarMaterialsDlgRangeTest, OkWithATopCountOfZeroKeepsTheDialogOpen)
{
    bool stayedOpen = false;
    OnModal<CFindSimilarMaterialsDlg>([&](CFindSimilarMaterialsDlg* dialog) {
        dialog->TopCountEdit()->setText(QStringLiteral("0"));
        dialog->OkButton()->click();
        stayedOpen = dialog->isVisible();
        dialog->CancelButton()->click();
    });
    EXPECT_FALSE(RunFindSimilarMaterialsCommand(*m_doc, *m_view, nullptr));
    EXPECT_TRUE(stayedOpen);
    EXPECT_FALSE(m_messages.boxes.empty());
}
