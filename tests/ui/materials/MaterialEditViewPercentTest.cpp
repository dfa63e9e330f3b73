#include "MaterialEditViewFixture.h"

#include "materials/EditFormulaDlg.h"
#include "materials/FormulaConversion.h"
#include "materials/FormulaConversionDlg.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>

namespace {

class MaterialEditViewPercentTest : public MaterialEditViewFixture {};

} // namespace

// A % weight formula converts only when its percentages add to 100; below 100 it can be
// normalized or completed with LOI, above 100 only normalized.
TEST_F(MaterialEditViewPercentTest, ConvertNormalizeAndAddLoiFollowThePercentageSum)
{
    CMaterialEditView* view = Open(0);
    ASSERT_NE(view, nullptr);
    const auto state = [&](const char* formula) {
        view->FormulaEdit()->setPlainText(QString::fromLatin1(formula));
        return std::string(Enabled(CmdMatEditConvertFormula) ? "C" : "-") + (Enabled(CmdMatEditNormalize) ? "N" : "-") +
               (Enabled(CmdMatEditAddLoi) ? "L" : "-");
    };
    EXPECT_EQ(state("% 60 SiO2  35 Al2O3"), "-NL");
    EXPECT_EQ(state("% 60 SiO2  40 Al2O3"), "C--");
    EXPECT_EQ(state("% 60 SiO2  45 Al2O3"), "-N-");
    EXPECT_EQ(state("SiO2"), "C--");
    EXPECT_EQ(state("% "), "---") << "a percentage prefix alone weighs nothing";

    // Convert at 95 % says why and leaves the formula alone.
    view->FormulaEdit()->setPlainText(QStringLiteral("% 60 SiO2  35 Al2O3"));
    view->ConvertFormula();
    ASSERT_EQ(m_messages.boxes.size(), 1u);
    EXPECT_EQ(m_messages.At(0).text, "Percentages must add to 100% before conversion");
    EXPECT_EQ(view->FormulaEdit()->toPlainText(), QStringLiteral("% 60 SiO2  35 Al2O3"));
}

// The formula commands refuse an empty formula only.
TEST_F(MaterialEditViewPercentTest, OnlyAnEmptyFormulaIsRefusedAsEmpty)
{
    CMaterialEditView* view = Open(0);
    ASSERT_NE(view, nullptr);
    view->FormulaEdit()->setPlainText(QStringLiteral("SiO2"));
    view->NormalizeFormula();
    EXPECT_TRUE(m_messages.boxes.empty());
    view->FormulaEdit()->setPlainText(QString());
    view->NormalizeFormula();
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{"Formula is empty"}));

    // Normalize writes the percentages that add to 100 back into the field.
    view->FormulaEdit()->setPlainText(QStringLiteral("% 60 SiO2  35 Al2O3"));
    view->NormalizeFormula();
    EXPECT_NE(view->FormulaEdit()->toPlainText(), QStringLiteral("% 60 SiO2  35 Al2O3"));
    EXPECT_TRUE(view->CanConvert());
}

// After "Formula is empty" Convert stops: no conversion dialog opens on nothing.
TEST_F(MaterialEditViewPercentTest, ConvertStopsAtAnEmptyFormula)
{
    CMaterialEditView* view = Open(0);
    ASSERT_NE(view, nullptr);
    view->FormulaEdit()->setPlainText(QString());
    bool opened = false;
    QTimer::singleShot(50, [&opened] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            opened = true;
            dialog->close();
        }
    });
    view->ConvertFormula();
    QTest::qWait(100);
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{"Formula is empty"}));
    EXPECT_FALSE(opened);
}

// Only a % formula must add to 100 first: a molecular one opens the conversion dialog at once,
// and as % weight it shows its sum instead of a molecular weight.
TEST_F(MaterialEditViewPercentTest, AMolecularFormulaConvertsWhateverItsWeight)
{
    CMaterialEditView* view = Open(3); // Talc: 3MgO 4SiO2 H2O
    bool opened = false;
    RunWhenModal<CFormulaConversionDlg>([&opened](CFormulaConversionDlg* dialog) {
        opened = true;
        dialog->Radio(kConvertToWeightPercent)->click();
        dialog->accept();
    });
    view->ConvertFormula();
    EXPECT_TRUE(opened);
    EXPECT_TRUE(m_messages.boxes.empty());
    EXPECT_TRUE(view->FormulaEdit()->toPlainText().startsWith(QStringLiteral("% ")));
    EXPECT_EQ(view->WeightText()->text(), QStringLiteral("100.0%"));
    EXPECT_TRUE(view->WeightLabel()->isHidden());
}

// A formula the engine cannot read stops Normalize at its message: the typed text stays as it was.
TEST_F(MaterialEditViewPercentTest, NormalizeStopsAtAFormulaError)
{
    CMaterialEditView* view = Open(0);
    ASSERT_NE(view, nullptr);
    view->FormulaEdit()->setPlainText(QStringLiteral("% 60 SiO2  35 Qq"));
    view->NormalizeFormula();
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{"Error in formula:\n  Unrecognized element symbol 'Qq'"}));
    EXPECT_EQ(view->FormulaEdit()->toPlainText(), QStringLiteral("% 60 SiO2  35 Qq"));
}

// Regression: "1,5" typed into Talc's CaO in Edit Formula was refused on the line under the cells,
// yet OK took it as 1. OK refuses a text that is no number, in a column, an extra cell and the
// forced weight alike: the message, the text as typed and selected, the dialog open; the mended
// value goes through. A number of 0 or less leaves its component out, without a word.
TEST_F(MaterialEditViewPercentTest, EditFormulaRefusesOnOkWhatItsStatusLineRefuses)
{
    enum Field { CaO, FirstExtra, Force };
    struct Row {
        int material;
        Field field;
        const char *typed, *message, *mended, *formula, *weight;
    };
    const Row rows[] = {
        {3, CaO, "1,5", "Amount must be a positive number", "1.5", "3 MgO  1.5 CaO  4 SiO2  H2O", "463.4"},
        {3, Force, "260x", "Forced MW must be a positive number", "260", "[MW=260] 3 MgO  4 SiO2  H2O", "260.0"},
        {2, FirstExtra, "2x", "Amount must be a positive number", "2", "2 CaCO3", "200.2"}, // Whiting: CaCO3
        {3, CaO, "0", "", "", "3 MgO  4 SiO2  H2O", "379.3"}, // 0 or less leaves the component out
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.typed);
        CMaterialEditView* view = Open(row.material);
        ASSERT_NE(view, nullptr);
        m_messages.boxes.clear();
        std::string refused;
        RunWhenModal<CEditFormulaDlg>([&row, &refused](CEditFormulaDlg* dialog) {
            QLineEdit* field = row.field == Force ? dialog->ForceEdit()
                               : row.field == CaO ? dialog->AmountEdit(0, 3)
                                                  : dialog->ExtraEdit(0);
            QPushButton* ok = dialog->findChild<QPushButton*>(QStringLiteral("1"));
            const auto type = [&](const char* text) {
                field->setFocus();
                field->selectAll();
                QTest::keyClicks(field, text);
                QTest::mouseClick(ok, Qt::LeftButton);
            };
            type(row.typed);
            if (!dialog->isVisible())
                return;
            refused = field->selectedText().toStdString();
            type(row.mended);
        });
        QTest::mouseClick(view->FormulaButton(), Qt::LeftButton);
        const bool refuses = *row.message != '\0';
        EXPECT_EQ(refused, refuses ? row.typed : "");
        EXPECT_EQ(m_messages.Texts(), refuses ? std::vector<std::string>{row.message} : std::vector<std::string>{});
        EXPECT_EQ(view->FormulaEdit()->toPlainText().toStdString(), row.formula);
        EXPECT_EQ(view->WeightText()->text().toStdString(), row.weight) << "the new formula's weight at once";
    }
}
