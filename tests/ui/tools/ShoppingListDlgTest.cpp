#include "tools/ShoppingListDlg.h"

#include "ui/support/CheckedWidgets.h"
#include "FieldCaption.h"
#include "core/textfile/FakeTextView.h"
#include "glazes/ScaleToIngredientDlg.h"
#include "shell/PreferencesDlg.h"
#include "shell/RecipeSizeDlg.h"
#include "textfile/Information.h"
#include "textfile/TextFileDoc.h"
#include "tools/BatchScopeDlg.h"
#include "tools/ToolCommands.h"
#include "ui/glazes/GlazeDlgTestFixture.h"

#include <QButtonGroup>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <functional>

namespace {

class ShoppingListDlgTest : public GlazeDlgFixture {
protected:
    ShoppingListDlgTest()
    {
        m_texts->SetFrameFactory([this](CDocTemplate&, CDocument& document, bool) {
            m_textFrames.push_back(std::make_unique<CFakeTextFrame>(document));
            return true;
        });
        g_pTextFileTemplate = m_texts.get();
    }
    ~ShoppingListDlgTest() override
    {
        if (g_pInformationDoc)
            g_pInformationDoc->OnCloseDocument();
        g_pTextFileTemplate = nullptr;
    }
    static std::string Information()
    {
        return g_pInformationDoc ? FakeViewOf(g_pInformationDoc).Text() : "";
    }

    std::unique_ptr<CDocTemplate> m_texts = CreateTextFileTemplate();
    std::vector<std::unique_ptr<CFakeTextFrame>> m_textFrames;
};

} // namespace

TEST_F(ShoppingListDlgTest, TheDialogRemembersItsChoicesAndTheCommandReports)
{
    m_selection.rows = {0};
    WhenDialogShows<CShoppingListDlg>([](CShoppingListDlg& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Make Shopping List"));
        EXPECT_EQ(dialog.helpId, 412u);
        EXPECT_EQ(dialog.GlazesGroup()->checkedId(), kShopSelectedGlazes);
        EXPECT_EQ(dialog.SizeGroup()->checkedId(), kShopWorkingBatchSize);
        EXPECT_EQ(dialog.UnitGroup()->checkedId(), kShopPounds);
        EXPECT_EQ(dialog.SizeEdit()->text(), QStringLiteral("100"));
        SaveScreenshot(dialog, "ShoppingListDlg");
        GroupButton(dialog.SizeGroup(), kShopCustomSize).click();
        GroupButton(dialog.UnitGroup(), kShopKilograms).click();
        dialog.SizeEdit()->selectAll();
        QTest::keyClicks(dialog.SizeEdit(), QStringLiteral("2000"));
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    });
    EXPECT_TRUE(RunShoppingListCommand(*m_doc, nullptr));
    EXPECT_EQ(g_prefs.m_nShopUnit, kShopKilograms);
    EXPECT_EQ(g_prefs.m_nShopRecipeSize, kShopCustomSize);
    EXPECT_EQ(g_prefs.m_strShopSizeText, "2000");
    // Celadon at 2000 g, in kilograms.
    EXPECT_EQ(Information().rfind("To make these glazes :\r\nCeladon    2000.00 g\r\n", 0), 0u) << Information();
    EXPECT_NE(Information().find("\r\nSilica             0.60  kg"), std::string::npos) << Information();

    // The next opening shows kilograms; a size that cannot be read falls back to 100 g.
    WhenDialogShows<CShoppingListDlg>([](CShoppingListDlg& dialog) {
        EXPECT_EQ(dialog.UnitGroup()->checkedId(), kShopKilograms);
        EXPECT_EQ(dialog.SizeEdit()->text(), QStringLiteral("2000"));
        dialog.SizeEdit()->selectAll();
        QTest::keyClicks(dialog.SizeEdit(), QStringLiteral("lots"));
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    });
    EXPECT_TRUE(RunShoppingListCommand(*m_doc, nullptr));
    EXPECT_EQ(Information().rfind("Size \"lots\" not understood; using 100g\r\n", 0), 0u) << Information();

    WhenDialogShows<CShoppingListDlg>(
        [](CShoppingListDlg& dialog) { QTest::mouseClick(dialog.CancelButton(), Qt::LeftButton); });
    EXPECT_FALSE(RunShoppingListCommand(*m_doc, nullptr));
    EXPECT_EQ(g_prefs.m_strShopSizeText, "lots");
}

// The amounts a recipe is sized by hold no more than a recipe amount: a larger number, however
// it is written, is refused in its field and the dialog stays open; a number that fits passes.
TEST_F(ShoppingListDlgTest, SizesBeyondWhatARecipeHoldsAreRefusedInTheirFields)
{
    const std::string message = "Please enter a number between 0 and 999999999.";
    CShoppingListDlg shopping;
    shopping.InitDialog();
    GroupButton(shopping.SizeGroup(), kShopCustomSize).click();
    CScaleToIngredientDlg scale;
    scale.ingredients = {"Silica"};
    scale.amounts = {"30"};
    scale.InitDialog();
    CRecipeSizePrefsDlg sizes(nullptr);
    sizes.choice = 2;
    sizes.InitDialog();
    auto* use = sizes.findChild<QPushButton*>(QString::number(PrefResultUse));
    ASSERT_NE(use, nullptr);
    struct Field {
        QDialog* dialog;
        QLineEdit* edit;
        std::function<void()> confirm;
        const char* prefix; // the recipe sizes are a list: the number stands among others
        int accepted;
    };
    const std::vector<Field> fields = {
        {&shopping, shopping.SizeEdit(), [&shopping] { shopping.accept(); }, "", int(QDialog::Accepted)},
        {&scale, scale.AmountEdit(), [&scale] { scale.accept(); }, "", int(QDialog::Accepted)},
        {&sizes, sizes.SizesEdit(), [use] { use->click(); }, "R, 500, ", int(PrefResultUse)}};
    for (const Field& field : fields) {
        for (const char* number : {"1e999", " 1000000000 "}) {
            m_messages.boxes.clear();
            field.edit->setText(QString::fromLatin1(field.prefix) + QString::fromLatin1(number));
            field.confirm();
            EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{message}) << field.prefix << number;
            EXPECT_EQ(field.dialog->result(), 0) << field.prefix << number;
        }
        m_messages.boxes.clear();
        field.edit->setText(QString::fromLatin1(field.prefix) + QStringLiteral("999999999"));
        field.confirm();
        EXPECT_TRUE(m_messages.boxes.empty());
        EXPECT_EQ(field.dialog->result(), field.accepted);
    }
    EXPECT_EQ(shopping.request.sizeText, "999999999");
    // The shopping list takes the number its size begins with ("500g" is 500 g), so one that
    // begins with a number no recipe holds is refused as well: "1e308 g" printed "inf lb".
    for (const char* size : {"1e308 g", "5000000000g"}) {
        m_messages.boxes.clear();
        shopping.SizeEdit()->setText(QString::fromLatin1(size));
        shopping.accept();
        EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{message}) << size;
        EXPECT_EQ(shopping.request.sizeText, "999999999") << size;
    }
    m_messages.boxes.clear();
    shopping.SizeEdit()->setText(QStringLiteral("500g"));
    shopping.accept();
    EXPECT_TRUE(m_messages.boxes.empty());
    EXPECT_EQ(shopping.request.sizeText, "500g");
    EXPECT_EQ(scale.amount, "999999999");
    EXPECT_EQ(sizes.sizes, "R, 500, 999999999");
}

TEST_F(ShoppingListDlgTest, TheBatchScopeDialogHandsBackItsChoice)
{
    CBatchScopeDlg dialog;
    dialog.choice = kBatchAdditionsOnly;
    dialog.InitDialog();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Batch Calculation"));
    EXPECT_EQ(dialog.helpId, kBatchScopeHelpId);
    EXPECT_EQ(dialog.ChoiceGroup()->checkedId(), kBatchAdditionsOnly);
    dialog.show();
    SaveScreenshot(dialog, "BatchScopeDlg");
    GroupButton(dialog.ChoiceGroup(), kBatchEntireRecipe).click();
    dialog.accept();
    EXPECT_EQ(dialog.choice, kBatchEntireRecipe);
    GroupButton(dialog.ChoiceGroup(), kBatchComponentsOnly).click();
    dialog.accept();
    EXPECT_EQ(dialog.choice, kBatchComponentsOnly) << "the first choice is taken as well";

    CBatchScopeDlg titled;
    titled.title = "Recalculate Additions";
    titled.helpId = 377;
    titled.InitDialog();
    EXPECT_EQ(titled.windowTitle(), QStringLiteral("Recalculate Additions"));
    EXPECT_EQ(titled.ChoiceGroup()->checkedId(), kBatchComponentsOnly);
    titled.reject();
    EXPECT_EQ(titled.choice, kBatchComponentsOnly);
}

// The size field says its unit.
TEST_F(ShoppingListDlgTest, TheSizeFieldSaysItsUnit)
{
    CShoppingListDlg dialog;
    dialog.InitDialog();
    EXPECT_EQ(CaptionFault(*dialog.SizeEdit(), "grams"), "");
}
