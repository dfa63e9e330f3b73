#include "glazes/ResequenceDlg.h"
#include "tools/BatchCalcPrefsDlg.h"
#include "tools/ShoppingListDlg.h"
#include "ui/glazes/GlazeDlgTestFixture.h"

#include <QGroupBox>
#include <QLabel>

namespace {

class ToolDialogCaptionsTest : public GlazeDlgFixture {
protected:
    // The label of that text, or null.
    static QLabel* LabelOf(QWidget& dialog, const char* text)
    {
        for (QLabel* label : dialog.findChildren<QLabel*>()) {
            if (label->text() == QString::fromLatin1(text))
                return label;
        }
        return nullptr;
    }
};

} // namespace

// The captions that say what a group of choices is about are there, in their place (a label
// left unplaced sits in the dialog's top left corner over the first control).
TEST_F(ToolDialogCaptionsTest, GroupCaptionsStandBesideTheirChoices)
{
    CShoppingListDlg shopping;
    shopping.InitDialog();
    QStringList groups;
    for (const QGroupBox* box : shopping.findChildren<QGroupBox*>())
        groups << box->title();
    EXPECT_TRUE(groups.contains(QStringLiteral("Glazes"))) << groups.join(QStringLiteral(", ")).toStdString();

    CBatchPrefsDlg prefs;
    prefs.InitDialog();
    QLabel* format = LabelOf(prefs, "Default remainder format :");
    ASSERT_NE(format, nullptr);
    EXPECT_GT(format->geometry().top(), 0);
    EXPECT_GT(format->geometry().left(), 0);

    CResequenceDlg resequence;
    resequence.InitDialog();
    QLabel* scope = LabelOf(resequence, "Set index of :");
    ASSERT_NE(scope, nullptr);
    EXPECT_GT(scope->geometry().top(), 0);
    EXPECT_GT(scope->geometry().left(), 0);
}
