#include "MaterialEditViewFixture.h"

#include "ui/support/CheckedWidgets.h"
#include "core/support/CheckedItems.h"
#include "framework/UpdateHint.h"
#include "materials/MaterialUnitsDlg.h"
#include "materials/MaterialsView.h"
#include "materials/SelectMaterialDlg.h"
#include "shell/Clipboards.h"
#include "support/DbFileType.h"
#include "support/DialogStyle.h"
#include "support/EditTextDlg.h"
#include "support/NotesEdit.h"
#include "support/SelectOneDlg.h"
#include "ui/framework/TypeText.h"
#include "ui/support/OverlapCheck.h"
#include "ui/support/TestFolders.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <array>
#include <cfloat>
#include <sstream>

namespace {

class MaterialEditViewTest : public MaterialEditViewFixture {};

constexpr int kMaterials = static_cast<int>(DbFileType::Materials);

QString FrameTitle(CMaterialEditView* view)
{
    return Control(dynamic_cast<QMdiSubWindow*>(view->GetFrame())).windowTitle();
}

} // namespace

TEST_F(MaterialEditViewTest, EditingAFieldAndSavingWritesTheRecordBackAndAnnouncesIt)
{
    CMaterialEditView* view = Open(1);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(m_frame.CurrentMenuResource(), kMaterialEditResourceId);
    EXPECT_EQ(view->NameEdit()->text(), QStringLiteral("Kaolin"));
    EXPECT_EQ(view->CodeEdit()->text(), QStringLiteral("KAO"));
    EXPECT_EQ(view->AliasEdit(0)->text(), QStringLiteral("China Clay"));
    EXPECT_EQ(view->AliasCodeEdit(1)->text(), QStringLiteral("EPK1"));
    EXPECT_EQ(view->DensityEdit()->text(), QStringLiteral("2.6"));
    EXPECT_EQ(view->CostEdit()->text(), QStringLiteral("0.30"));
    EXPECT_EQ(view->FormulaEdit()->toPlainText(), QStringLiteral("Al2O3 2SiO2 2H2O"));
    EXPECT_EQ(view->WeightText()->text(), QStringLiteral("258.2"));
    EXPECT_FALSE(view->WeightLabel()->isHidden());
    EXPECT_EQ(FrameTitle(view), QStringLiteral("Kaolin"));
    EXPECT_FALSE(view->IsChanged());
    EXPECT_FALSE(view->Button(kMatEditSave)->isEnabled());
    EXPECT_EQ(view->Button(kMatEditPrevious)->text(), QStringLiteral("Edit Previous"));

    view->NameEdit()->clear();
    QTest::keyClicks(view->NameEdit(), "Grolleg Kaolin");
    EXPECT_TRUE(view->IsChanged());
    EXPECT_TRUE(view->Button(kMatEditSave)->isEnabled());
    EXPECT_EQ(FrameTitle(view), QStringLiteral("Grolleg Kaolin"));
    view->DensityEdit()->setText(QStringLiteral("2.5"));
    EXPECT_EQ(NameAt(1), "Kaolin") << "edits stay in the form until saved";
    // A type typed in the Type box stays there on Enter, not added to the list of types.
    QComboBox& type = Control(view->TypeBox());
    const int types = type.count();
    type.setFocus();
    Control(type.lineEdit()).selectAll();
    QTest::keyClicks(&type, "glass former");
    QTest::keyClick(&type, Qt::Key_Return);
    EXPECT_EQ(type.count(), types);
    EXPECT_EQ(type.currentText(), QStringLiteral("glass former"));

        view->GetFrame()->ActivateFrame();
    Control(dynamic_cast<QWidget*>(view->GetFrame())).grab().save(ScreenshotFolder() + "/material-edit-view.png");

    // A cost that is no number is refused, not saved as the number it begins with.
    view->CostEdit()->setText(QStringLiteral("0,35"));
    QTest::mouseClick(view->Button(kMatEditSave), Qt::LeftButton);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Please enter a number."});
    EXPECT_EQ(NameAt(1), "Kaolin");
    EXPECT_EQ(view->CostEdit()->selectedText(), QStringLiteral("0,35"));
    m_messages.boxes.clear();
    view->CostEdit()->setText(QStringLiteral("0.35"));

    QTest::mouseClick(view->Button(kMatEditSave), Qt::LeftButton);
    EXPECT_EQ(NameAt(1), "Grolleg Kaolin");
    EXPECT_DOUBLE_EQ(RecordAt(Database(), 1).m_density, 2.5);
    EXPECT_EQ(RecordAt(Database(), 1).m_type, "glass former");
    EXPECT_DOUBLE_EQ(RecordAt(Database(), 1).m_costPerLb, 0.35);
    EXPECT_EQ(RecordAt(Database(), 1).m_akaCodes, (CStringArrayEx{"", "EPK1"}));
    EXPECT_EQ(RecordAt(Database(), 1).m_displayKey, "KAO\tGrolleg Kaolin");
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_FALSE(view->IsChanged());
    ASSERT_FALSE(Hints().empty());
    EXPECT_EQ(LastHint().kind, kMaterials);
    EXPECT_EQ(LastHint().code, HintMaterialChanged);
    EXPECT_EQ(LastHint().index, 1);
    EXPECT_TRUE(m_messages.boxes.empty());

    // Ctrl+S saves and moves on to the next material.
    view->CodeEdit()->setText(QStringLiteral("GRO"));
    view->NameEdit()->setFocus();
    QTest::keyClick(view->NameEdit(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(RecordAt(Database(), 1).m_code, "GRO");
    EXPECT_EQ(view->CurrentIndex(), 2);
    EXPECT_FALSE(view->NameEdit()->hasSelectedText());
    EXPECT_TRUE(m_messages.boxes.empty());
}

// The cost and the density beside their units: "per lb" or "per kg", a cup ("c") or a decilitre
// ("dl"), as the database keeps them. Regression: a value typed back after a save and saved again
// was stored as the value saved before (Kaolin's 0.85 typed over with 0.80, saved, typed back and
// saved stayed 0.80), and Close asked nothing. Regression: a value typed with more places than
// the file keeps was shown so after the save, then came back rounded from the file.
TEST_F(MaterialEditViewTest, TheCostAndTheDensityArePerTheDatabasesUnits)
{
    struct Row {
        int costUnit, densityUnit, costPlaces;
        const char *currency, *costLabel, *densityLabel, *cost, *otherCost, *longCost, *keptCost;
    };
    const Row rows[] = {
        {CMaterialArray::kCostPerPound, CMaterialArray::kDensityPerCup, 2, "$", "per lb", "c", "0.85", "0.80", "1.505",
         "1.51"},
        {CMaterialArray::kCostPerKilogram, CMaterialArray::kDensityPerDeciliter, 3, "F", "per kg", "dl", "0.850",
         "0.800", "0.8536", "0.854"},
    };
    const auto unit = [](const CMaterialEditView* view, int id) {
        const auto* label = view ? view->findChild<QLabel*>(QString::number(id)) : nullptr;
        return label ? label->text().toStdString() : std::string("no label");
    };
    const auto type = [](QLineEdit* edit, const char* text) {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.costLabel);
        Database().m_costUnit = row.costUnit;
        Database().m_densityUnit = row.densityUnit;
        Database().m_costPlacesRight = row.costPlaces;
        Database().m_currencySymbol = row.currency;
        // More digits than the fields show: what is typed back after a save is read as typed.
        RecordAt(Database(), 1).m_costPerLb = 0.8504;
        RecordAt(Database(), 1).m_density = 0.04;
        CMaterialEditView* view = Open(1);
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(unit(view, kMatEditCurrency), row.currency);
        EXPECT_EQ(unit(view, kMatEditCostUnit), row.costLabel);
        EXPECT_EQ(unit(view, kMatEditDensityUnit), row.densityLabel);
        EXPECT_EQ(view->CostEdit()->text().toStdString(), row.cost);
        // Typed with more places than the file keeps, twice: stored and shown as the file keeps it.
        const std::array<std::array<const char*, 4>, 5> typings = {{{row.otherCost, "2.6", row.otherCost, "2.6"},
                                                                    {row.longCost, "2.655", row.keptCost, "2.7"},
                                                                    {row.longCost, "2.655", row.keptCost, "2.7"},
                                                                    {row.keptCost, "2.7", row.keptCost, "2.7"},
                                                                    {row.cost, "0.0", row.cost, "0.0"}}};
        for (const auto& [cost, density, keptCost, keptDensity] : typings) {
            type(view->CostEdit(), cost);
            type(view->DensityEdit(), density);
            QTest::mouseClick(view->Button(kMatEditSave), Qt::LeftButton);
            EXPECT_DOUBLE_EQ(RecordAt(Database(), 1).m_costPerLb, std::stod(keptCost));
            EXPECT_DOUBLE_EQ(RecordAt(Database(), 1).m_density, std::stod(keptDensity));
            EXPECT_EQ(view->CostEdit()->text().toStdString(), keptCost);
            EXPECT_EQ(view->DensityEdit()->text().toStdString(), keptDensity);
            EXPECT_FALSE(view->IsChanged());
            std::ostringstream file;
            Database().Write(file);
            EXPECT_NE(file.str().find(std::string("density   = ") + keptDensity + "\navailable = y\ncostperlb = " +
                                      keptCost + "\n"),
                      std::string::npos);
        }
        view->Close();
        FlushDeletes();
        EXPECT_EQ(EditViewCount(), 0);
        view = Open(1);
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(view->CostEdit()->text().toStdString(), row.cost);
        EXPECT_EQ(view->DensityEdit()->text(), QStringLiteral("0.0"));
        view->Close();
        FlushDeletes();
    }
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{});

    // Units through the list's menu, to pounds and cups: two forms on Silica hold edits and are
    // answered by Enter (Yes, Yes, and No to the second's version replacing the first's, so the
    // second keeps its edits); a form on Kaolin holds none. Regression: every form kept the old
    // units beside the numbers, and the kept form saved its cost typed per kg as per lb.
    Database().m_costUnit = CMaterialArray::kCostPerKilogram;
    Database().m_densityUnit = CMaterialArray::kDensityPerDeciliter;
    Database().m_costPlacesRight = 2;
    RecordAt(Database(), 1).m_costPerLb = 0.85;
    RecordAt(Database(), 1).m_density = 2.6;
    auto* list = OpenViewWindow<CMaterialsView>(&m_materialsTemplate, *m_doc);
    ASSERT_NE(list, nullptr);
    const std::array<CMaterialEditView*, 3> forms = {Open(0), Open(0), Open(1)};
    type(forms[0]->CodeEdit(), "SIO");
    type(forms[1]->CostEdit(), "2.00");
    type(forms[1]->DensityEdit(), "2.5");
    RunWhenModal<CMaterialUnitsDlg>([](CMaterialUnitsDlg* dialog) {
        dialog->PoundRadio()->click();
        dialog->CupRadio()->click();
        dialog->CurrencyEdit()->setText(QStringLiteral("$"));
        dialog->OkButton()->click();
    });
    ASSERT_TRUE(list->RunCommand(CmdMatListUnits));
    const std::string silica = "\"Silica\"";
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{"Save changes to " + silica + " ?",
                                                            "Save changes to " + silica + " ?",
                                                            silica + " will be saved from another window first. "
                                                                     "Replace it with this form's version?"}));
    const auto shown = [&unit, &forms] {
        std::vector<std::string> texts;
        for (CMaterialEditView* form : forms)
            texts.push_back(unit(form, kMatEditCurrency) + " " + form->CostEdit()->text().toStdString() + " " +
                            unit(form, kMatEditCostUnit) + ", " + form->DensityEdit()->text().toStdString() +
                            " g per " + unit(form, kMatEditDensityUnit) + (form->IsChanged() ? ", changed" : ""));
        return texts;
    };
    EXPECT_EQ(shown(), (std::vector<std::string>{"$ 0.11 per lb, 6.2 g per c", "$ 0.91 per lb, 5.9 g per c, changed",
                                                 "$ 0.39 per lb, 6.2 g per c"}));
    m_messages.boxes.clear();
    m_messages.answers = {MsgResultYes};
    QTest::mouseClick(forms[1]->Button(kMatEditSave), Qt::LeftButton);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{silica + " was saved in another window since this form "
                                                                    "showed it. Replace it with this form's version?"});
    EXPECT_DOUBLE_EQ(RecordAt(Database(), 0).m_costPerLb, 2.0 * 0.453597);
    EXPECT_DOUBLE_EQ(RecordAt(Database(), 0).m_density, 2.5 * 2.36575);
    EXPECT_EQ(shown(), (std::vector<std::string>{"$ 0.91 per lb, 5.9 g per c", "$ 0.91 per lb, 5.9 g per c",
                                                 "$ 0.39 per lb, 6.2 g per c"}));
    std::ostringstream file;
    Database().Write(file);
    EXPECT_NE(file.str().find("density   = 5.9\navailable = y\ncostperlb = 0.91\n"), std::string::npos);
}

// The form's fields are record fields: what the database file cannot hold is not entered.
TEST_F(MaterialEditViewTest, TheFormRefusesCharactersTheFileCannotHold)
{
    CMaterialEditView* view = Open(1);
    ASSERT_NE(view, nullptr);
    view->NameEdit()->setFocus();
    view->NameEdit()->end(false);
    TypeText(view->NameEdit(), QString::fromUtf8(" α"));
    TypeText(view->FormulaEdit(), QString::fromUtf8("→"));
    QApplication::processEvents();
    EXPECT_EQ(view->NameEdit()->text(), QStringLiteral("Kaolin "));
    EXPECT_EQ(view->FormulaEdit()->toPlainText(), QStringLiteral("Al2O3 2SiO2 2H2O"));
    EXPECT_EQ(m_messages.Texts(),
              (std::vector<std::string>{
                  "These characters cannot be stored in the program's files and were not entered: \x81" "3B1; (U+03B1).",
                  "These characters cannot be stored in the program's files and were not entered: \x81" "2192; (U+2192)."}));
}

TEST_F(MaterialEditViewTest, LeavingAChangedFormAsksWhetherToSave)
{
    CMaterialEditView* view = Open(1);
    ASSERT_NE(view, nullptr);
    view->CodeEdit()->setText(QStringLiteral("EPK"));
    m_messages.answers = {MsgResultCancel};
    view->Next();
    ASSERT_EQ(m_messages.boxes.size(), 1u);
    EXPECT_EQ(m_messages.At(0).text, "Save changes to \"Kaolin\" ?");
    EXPECT_EQ(m_messages.At(0).Buttons(), unsigned(MsgYesNoCancel));
    EXPECT_EQ(m_messages.At(0).Icon(), unsigned(MsgIconQuestion));
    EXPECT_EQ(m_messages.At(0).helpId, 0x30140u);
    EXPECT_EQ(view->CurrentIndex(), 1) << "Cancel stays";
    EXPECT_TRUE(view->IsChanged());

    m_messages.answers = {MsgResultNo};
    view->Next();
    EXPECT_EQ(view->CurrentIndex(), 2);
    EXPECT_EQ(RecordAt(Database(), 1).m_code, "KAO") << "No discards";
    EXPECT_EQ(view->NameEdit()->text(), QStringLiteral("Whiting"));

    view->CodeEdit()->setText(QStringLiteral("CAL"));
    m_messages.answers = {MsgResultYes};
    view->Previous();
    EXPECT_EQ(RecordAt(Database(), 2).m_code, "CAL") << "Yes saves";
    EXPECT_EQ(view->CurrentIndex(), 1);

    // An unchanged form is left without a question; the document asks every edit window too.
    m_messages.boxes.clear();
    view->Previous();
    EXPECT_EQ(view->CurrentIndex(), 0);
    EXPECT_EQ(view->Button(kMatEditPrevious)->text(), QStringLiteral("Insert New"));
    view->CodeEdit()->setText(QStringLiteral("QTZ"));
    m_messages.answers = {MsgResultYes};
    EXPECT_TRUE(m_doc->AskEveryEditForm(FormsAsked::BeforeSave));
    EXPECT_EQ(RecordAt(Database(), 0).m_code, "QTZ");
    EXPECT_EQ(m_messages.boxes.size(), 1u);

    // Closing the window with unsaved edits asks as well; Cancel keeps it open.
    view->CodeEdit()->setText(QStringLiteral("X"));
    m_messages.answers = {MsgResultCancel};
    view->Close();
    FlushDeletes();
    EXPECT_EQ(EditViewCount(), 1);
    m_messages.answers = {MsgResultNo};
    view->Close();
    FlushDeletes();
    EXPECT_EQ(EditViewCount(), 0);
    EXPECT_EQ(RecordAt(Database(), 0).m_code, "QTZ");
}

TEST_F(MaterialEditViewTest, ABadFormulaShowsTheEnginesMessageAndPutsTheCaretAtTheError)
{
    CMaterialEditView* view = Open(2);
    ASSERT_NE(view, nullptr);
    view->FormulaEdit()->setPlainText(QStringLiteral("CaO\nCO2 Xq2"));
    view->FormulaEntered();
    ASSERT_EQ(m_messages.boxes.size(), 1u);
    EXPECT_EQ(m_messages.At(0).text, "Invalid formula!\n    Unrecognized element symbol 'Xq'");
    EXPECT_EQ(m_messages.At(0).Icon(), unsigned(MsgIconError));
    EXPECT_EQ(m_messages.At(0).helpId, 0x30240u);
    EXPECT_EQ(view->FormulaEdit()->toPlainText(), QStringLiteral("CaO CO2 Xq2")) << "lines are joined with a blank";
    EXPECT_EQ(view->FormulaEdit()->textCursor().position(), 8);
    EXPECT_EQ(view->WeightText()->text(), QString());

    // Leaving the box again does not repeat the message.
    view->FormulaEntered();
    EXPECT_EQ(m_messages.boxes.size(), 1u);

    // Saving such a formula would store it empty: the save is refused, says why every time (it
    // was silent once the formula had been reported), and the form stays changed.
    m_messages.boxes.clear();
    EXPECT_FALSE(view->SaveChanges());
    EXPECT_EQ(RecordAt(Database(), 2).m_formula, "CaCO3");
    EXPECT_TRUE(view->IsChanged());
    m_messages.answers = {MsgResultYes};
    EXPECT_EQ(view->AskSaveChanges(), FormAnswer::Cancel);
    ASSERT_EQ(m_messages.boxes.size(), 3u); // the refused save, the question, the refused save
    EXPECT_EQ(m_messages.At(0).text, "Invalid formula!\n    Unrecognized element symbol 'Xq'");
    EXPECT_EQ(m_messages.At(2).text, m_messages.At(0).text);

    view->FormulaEdit()->setPlainText(QStringLiteral(" CaO\r\nCO2 "));
    view->FormulaEntered();
    EXPECT_EQ(view->FormulaEdit()->toPlainText(), QStringLiteral("CaO CO2"));
    EXPECT_EQ(view->WeightText()->text(), QStringLiteral("100.1"));
    view->FormulaEdit()->setPlainText(QStringLiteral("% 60 SiO2  30 Al2O3"));
    view->FormulaEntered();
    EXPECT_EQ(view->WeightText()->text(), QStringLiteral("90.0%"));
    EXPECT_TRUE(view->WeightLabel()->isHidden());
    // A trace amount shows too, and an emptied box weighs nothing.
    view->FormulaEdit()->setPlainText(QStringLiteral("% 0.06 Fe2O3"));
    view->FormulaEntered();
    EXPECT_EQ(view->WeightText()->text(), QStringLiteral("0.1%"));
    view->FormulaEdit()->clear();
    view->FormulaEntered();
    EXPECT_EQ(view->WeightText()->text(), QStringLiteral("0.0"));
    view->FormulaEdit()->setPlainText(QStringLiteral("% 60 SiO2  30 Al2O3"));
    view->FormulaEntered();
    EXPECT_TRUE(view->SaveChanges());
    EXPECT_EQ(RecordAt(Database(), 2).m_formula, "% 60 SiO2  30 Al2O3");

    // An error at the very start puts the caret before the first letter.
    view->FormulaEdit()->setPlainText(QStringLiteral("Xq2 CaO"));
    view->FormulaEntered();
    EXPECT_EQ(m_messages.Last().text, "Invalid formula!\n    Unrecognized element symbol 'Xq'");
    EXPECT_EQ(view->FormulaEdit()->textCursor().position(), 0);

    // Another window or a menu taking the focus does not leave the box: no message while the
    // user looks elsewhere; leaving it for another field does.
    view->FormulaEdit()->setPlainText(QStringLiteral("CaO Qx"));
    const std::size_t boxes = m_messages.boxes.size();
    for (Qt::FocusReason reason : {Qt::ActiveWindowFocusReason, Qt::PopupFocusReason}) {
        QFocusEvent away(QEvent::FocusOut, reason);
        QApplication::sendEvent(view->FormulaEdit(), &away);
    }
    EXPECT_EQ(m_messages.boxes.size(), boxes);
    QFocusEvent tab(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(view->FormulaEdit(), &tab);
    EXPECT_EQ(m_messages.boxes.size(), boxes + 1);
    // Mended and left again, the formula is taken: every leave of a field runs its handler.
    view->FormulaEdit()->setPlainText(QStringLiteral("CaO CO2"));
    QApplication::sendEvent(view->FormulaEdit(), &tab);
    EXPECT_EQ(view->WeightText()->text(), QStringLiteral("100.1"));
}

TEST_F(MaterialEditViewTest, NamesLoseTheirParenthesesAndOtherNamesScroll)
{
    CMaterialEditView* view = Open(1);
    ASSERT_NE(view, nullptr);
    view->NameEdit()->setText(QStringLiteral("Clay (red)"));
    view->NameOrCodeLeft(view->NameEdit());
    EXPECT_EQ(view->NameEdit()->text(), QStringLiteral("Clay [red]"));

    EXPECT_TRUE(view->AliasUpButton()->isHidden());
    EXPECT_FALSE(view->AliasDownButton()->isHidden());
    view->AliasDown();
    EXPECT_EQ(view->AliasEdit(0)->text(), QStringLiteral("EPK"));
    EXPECT_EQ(view->AliasEdit(1)->text(), QString());
    view->AliasEdit(1)->setText(QStringLiteral("Kaolin (calcined)"));
    view->AliasCodeEdit(1)->setText(QStringLiteral(" CK "));
    QFocusEvent tab(QEvent::FocusOut, Qt::TabFocusReason); // the user tabs on
    QApplication::sendEvent(view->AliasEdit(1), &tab);
    EXPECT_EQ(view->AliasEdit(1)->text(), QStringLiteral("Kaolin [calcined]"));
    EXPECT_FALSE(view->AliasDownButton()->isHidden());
    EXPECT_FALSE(view->AliasUpButton()->isHidden());
    view->AliasUp();
    EXPECT_EQ(view->AliasEdit(0)->text(), QStringLiteral("China Clay"));
    ASSERT_TRUE(view->SaveChanges());
    EXPECT_EQ(RecordAt(Database(), 1).m_akaNames, (CStringArrayEx{"China Clay", "EPK", "Kaolin [calcined]"}));
    EXPECT_EQ(RecordAt(Database(), 1).m_akaCodes, (CStringArrayEx{"", "EPK1", "CK"}));

    // Other names without codes show with empty code fields.
    RecordAt(Database(), 3).m_akaNames = {"First", "Second"};
    RecordAt(Database(), 3).m_akaCodes.clear();
    CMaterialEditView* named = Open(3);
    ASSERT_NE(named, nullptr);
    EXPECT_EQ(named->AliasEdit(1)->text(), QStringLiteral("Second"));
    EXPECT_EQ(named->AliasCodeEdit(1)->text(), QString());

    // The notes boxes take a changed edit-box font; the Type box takes the new list of types and
    // keeps the type the form shows.
    g_prefs.edboxfont.italic = 1;
    g_prefs.mattyp.push_back("Frit");
    view->TypeBox()->setEditText(QStringLiteral("Flux"));
    const CUpdateHint preferences(nullptr, m_doc, 0, HintPreferencesChanged, 0, 0);
    m_doc->UpdateAllViews(nullptr, &preferences);
    EXPECT_TRUE(named->NotesBox(0)->font().italic());
    EXPECT_EQ(view->TypeBox()->currentText(), QStringLiteral("Flux"));
    EXPECT_EQ(view->TypeBox()->itemText(view->TypeBox()->count() - 1), QStringLiteral("Frit"));
    CMaterialEditView* later = Open(2);
    ASSERT_NE(later, nullptr);
    EXPECT_TRUE(later->NotesBox(kMatEditNotesButton)->font().italic()) << "a form opened since takes it too";
    // Cancel in a notes dialog changes nothing.
    RunWhenModal<CEditTextDlg>([](CEditTextDlg* notes) { notes->reject(); });
    named->EditNotes(kMatEditNotesButton);
    EXPECT_FALSE(named->IsChanged());
    // Other names cleared on the second page: the rows go back to the names that are left.
    view->AliasDown();
    ASSERT_EQ(view->AliasEdit(0)->text(), QStringLiteral("EPK"));
    for (int row = 0; row < 2; ++row) {
        view->AliasEdit(row)->clear();
        view->AliasCodeEdit(row)->clear();
    }
    view->AliasDown();
    EXPECT_EQ(view->AliasEdit(0)->text(), QStringLiteral("China Clay"));
    EXPECT_TRUE(view->AliasUpButton()->isHidden());
    EXPECT_TRUE(view->AliasDownButton()->isHidden());
    // A code typed on a row past the last other name makes a row of its own.
    named->AliasDown();
    named->AliasCodeEdit(1)->setText(QStringLiteral("C3"));
    named->AliasLeft(named->AliasCodeEdit(1));
    EXPECT_EQ(named->AliasEdit(0)->text(), QStringLiteral("Second"));
    EXPECT_EQ(named->AliasCodeEdit(1)->text(), QStringLiteral("C3"));
    ASSERT_TRUE(named->SaveChanges());
    EXPECT_EQ(RecordAt(Database(), 3).m_akaNames, (CStringArrayEx{"First", "Second", ""}));
    EXPECT_EQ(RecordAt(Database(), 3).m_akaCodes, (CStringArrayEx{"", "", "C3"}));
}

TEST_F(MaterialEditViewTest, MappingsLockTheMappedFieldsAndReportLoops)
{
    CMaterialEditView* view = Open(2); // Whiting
    view->MapToEdit()->setText(QStringLiteral("kao"));
    view->MappingEntered();
    EXPECT_EQ(view->MapToEdit()->text(), QStringLiteral("Kaolin")) << "a unique prefix is completed";
    EXPECT_TRUE(view->InvalidMappingLabel()->isHidden());
    EXPECT_EQ(view->FormulaEdit()->toPlainText(), QStringLiteral("Al2O3 2SiO2 2H2O"));
    EXPECT_EQ(view->DensityEdit()->text(), QStringLiteral("2.6"));
    EXPECT_EQ(view->CostEdit()->text(), QStringLiteral("0.30"));
    EXPECT_FALSE(view->FormulaEdit()->isEnabled());
    EXPECT_FALSE(view->DensityEdit()->isEnabled());
    EXPECT_TRUE(view->FormulaButton()->isHidden());
    EXPECT_FALSE(view->CanConvert()) << "a mapped material's formula is not its own";
    ASSERT_TRUE(view->SaveChanges());
    CMaterialEditView* again = Open(2);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->MapToEdit()->text(), QStringLiteral("Kaolin")) << "a new form shows the stored mapping";

    // Kaolin mapping to Whiting, which maps back to Kaolin, is invalid.
    CMaterialEditView* kaolin = Open(1);
    ASSERT_NE(kaolin, nullptr);
    kaolin->MapToEdit()->setText(QStringLiteral("WHI"));
    kaolin->MappingEntered();
    EXPECT_EQ(kaolin->MapToEdit()->text(), QStringLiteral("Whiting"));
    EXPECT_FALSE(kaolin->InvalidMappingLabel()->isHidden());
    EXPECT_FALSE(kaolin->CostEdit()->isEnabled());
    kaolin->MapToEdit()->clear();
    kaolin->MappingEntered();
    EXPECT_TRUE(kaolin->InvalidMappingLabel()->isHidden());
    EXPECT_TRUE(kaolin->CostEdit()->isEnabled());
    EXPECT_FALSE(kaolin->FormulaButton()->isHidden());
}

TEST_F(MaterialEditViewTest, NewRecordsFromTheForm)
{
    CMaterialEditView* view = Open(3);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->Button(kMatEditNext)->text(), QStringLiteral("Append New"));
    view->Next();
    EXPECT_EQ(Database().GetCount(), 5);
    EXPECT_EQ(NameAt(4), "new material");
    EXPECT_EQ(view->CurrentIndex(), 4);
    EXPECT_EQ(view->NameEdit()->text(), QStringLiteral("new material"));
    EXPECT_EQ(LastHint().code, HintMaterialsInserted);
    EXPECT_EQ(LastHint().index, 4);

    // Save as New keeps the unedited record and puts the edited copy after it.
    view->PositionOn(2);
    view->CostEdit()->setText(QStringLiteral("0.5"));
    view->SaveAsNew();
    ASSERT_EQ(Database().GetCount(), 6);
    EXPECT_EQ(NameAt(2), "Whiting");
    EXPECT_DOUBLE_EQ(RecordAt(Database(), 2).m_costPerLb, 0.12);
    EXPECT_EQ(NameAt(3), "Whiting (new)");
    EXPECT_DOUBLE_EQ(RecordAt(Database(), 3).m_costPerLb, 0.5);
    EXPECT_EQ(view->CurrentIndex(), 3);

    // Paste fills the form from the clipboard's first material without touching the database.
    ClearClipboard(g_materialClipboard);
    AppendToClipboard(g_materialClipboard, MakeMaterial("Frit 3134", "F3134", "CaO 0.7Na2O"));
    EXPECT_TRUE(Enabled(CmdMatEditPaste));
    view->Paste();
    EXPECT_EQ(view->NameEdit()->text(), QStringLiteral("Frit 3134"));
    EXPECT_TRUE(view->IsChanged());
    EXPECT_EQ(NameAt(3), "Whiting (new)");
    view->Copy();
    EXPECT_EQ(ClipboardRecord(g_materialClipboard, 0).m_formula, "CaO 0.7Na2O");
}

TEST_F(MaterialEditViewTest, ReloadsAndDeletionsCloseTheWindowWithoutAsking)
{
    CMaterialEditView* first = Open(1);
    ASSERT_NE(first, nullptr);
    first->CodeEdit()->setText(QStringLiteral("changed"));
    Open(2);
    EXPECT_EQ(EditViewCount(), 2);
    Database().RemoveAt(2);
    COxidariumApp::BroadcastUpdate(nullptr, m_doc, kMaterials, HintMaterialsDeleted, 2, 0);
    FlushDeletes();
    EXPECT_EQ(EditViewCount(), 1);
    // Records rewritten in place (a merge) keep the window on its record, edits and all.
    COxidariumApp::BroadcastUpdate(nullptr, m_doc, kMaterials, HintMaterialsReplaced, 0, 0);
    FlushDeletes();
    ASSERT_EQ(EditViewCount(), 1);
    EXPECT_EQ(first->CodeEdit()->text(), QStringLiteral("changed"));
    // A database read anew holds none of the records before.
    const CMaterialArray::RecordList gone = Database().TakeAll();
    COxidariumApp::BroadcastUpdate(nullptr, m_doc, kMaterials, HintMaterialsReplaced, 0, 0);
    FlushDeletes();
    EXPECT_EQ(EditViewCount(), 0);
    EXPECT_TRUE(m_messages.boxes.empty());
}

// Regression: Delete asked "Save changes to ... ?" about a record it was about to delete, and Yes
// and No then did the same.
TEST_F(MaterialEditViewTest, DeletingARecordWithUnsavedEditsAsksWhetherToDeleteIt)
{
    CMaterialEditView* view = Open(1);
    ASSERT_NE(view, nullptr);
    const std::string name = RecordAt(Database(), 1).m_name;
    view->CodeEdit()->setText(QStringLiteral("changed"));
    const int count = Database().GetCount();
    const int rows[] = {1};
    m_messages.answers = {MsgResultNo};
    EXPECT_FALSE(m_doc->DeleteRecords(rows, nullptr));
    ASSERT_EQ(m_messages.Texts(), std::vector<std::string>{"\"" + name + "\" has unsaved changes and will be deleted. Delete it?"});
    EXPECT_EQ(m_messages.At(0).Buttons(), unsigned(MsgYesNo));
    EXPECT_EQ(Database().GetCount(), count);
    EXPECT_EQ(RecordAt(Database(), 1).m_name, name);
    EXPECT_TRUE(view->IsChanged());

    m_messages.answers = {MsgResultYes};
    EXPECT_TRUE(m_doc->DeleteRecords(rows, nullptr));
    EXPECT_EQ(Database().GetCount(), count - 1);
    FlushDeletes();
    EXPECT_EQ(EditViewCount(), 0);
    EXPECT_EQ(m_messages.boxes.size(), 2u); // nothing asked after the answer
}

TEST_F(MaterialEditViewTest, LimitedAccessStepsThroughItsOwnList)
{
    CMaterialEditView* view = OpenLimited({"Silica", "WHI", "talc"});
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->IsLimited());
    EXPECT_EQ(view->CurrentIndex(), 0);
    EXPECT_FALSE(Enabled(CmdMatEditInsertNew));
    view->Next();
    EXPECT_EQ(view->CurrentIndex(), 2);
    view->Next();
    EXPECT_EQ(view->CurrentIndex(), 3);
    EXPECT_FALSE(view->Button(kMatEditNext)->isEnabled());
    view->Next();
    EXPECT_EQ(view->CurrentIndex(), 3) << "Next stops at the last listed material";
    EXPECT_EQ(Database().GetCount(), 4);

    // Deleting the second listed material leaves two; the view follows its record.
    Database().RemoveAt(2);
    COxidariumApp::BroadcastUpdate(nullptr, m_doc, kMaterials, HintMaterialsDeleted, 2, 0);
    EXPECT_EQ(view->LimitedCount(), 2);
    EXPECT_EQ(view->LimitedPosition(), 1);
    EXPECT_EQ(view->CurrentIndex(), 2);
    EXPECT_EQ(m_frame.QueryCommand(CmdMatEditLimitedAccess).m_nCheck, 1);
    EXPECT_TRUE(m_frame.ExecuteCommand(CmdMatEditLimitedAccess));
    EXPECT_FALSE(view->IsLimited());
    EXPECT_TRUE(Enabled(CmdMatEditInsertNew));
}

TEST_F(MaterialEditViewTest, DialogsOfTheFormChooseRecordsMappingsAndNotes)
{
    CMaterialEditView* view = Open(0);
    ASSERT_NE(view, nullptr);
    RunWhenModal<CSelectOneDlg>([](CSelectOneDlg* dialog) {
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Select a Material"));
        EXPECT_EQ(dialog->List()->currentRow(), 0);
        dialog->List()->setCurrentRow(3);
        dialog->accept();
    });
    view->JumpTo();
    EXPECT_EQ(view->CurrentIndex(), 3);

    RunWhenModal<CSelectMaterialDlg>([](CSelectMaterialDlg* dialog) {
        dialog->List()->setCurrentRow(0);
        dialog->accept();
    });
    view->Browse();
    EXPECT_EQ(view->MapToEdit()->text(), QStringLiteral("Silica"));
    EXPECT_EQ(view->FormulaEdit()->toPlainText(), QStringLiteral("SiO2"));

    RunWhenModal<QDialog>([](QDialog* dialog) {
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Hazard Notes for Talc"));
        auto* box = dialog->findChild<CNotesEdit*>();
        ASSERT_NE(box, nullptr);
        box->setPlainText(QStringLiteral("Wear a mask.\nKeep dry."));
        box->document()->setModified(true);
        dialog->accept();
    });
    view->EditNotes(kMatEditHazardButton);
    EXPECT_TRUE(view->IsChanged()) << "the notes wait to be saved";
    ASSERT_TRUE(view->SaveChanges());
    EXPECT_EQ(RecordAt(Database(), 3).m_hazNotes, (CStringArrayEx{"Wear a mask.", "Keep dry."}));
    // A form opened on it again shows the notes as saved.
    CMaterialEditView* again = Open(3);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->NotesBox(kMatEditHazardButton)->toPlainText(), QStringLiteral("Wear a mask.\nKeep dry."));
    EXPECT_EQ(RecordAt(Database(), 3).m_mapTo, "Silica");
}

TEST_F(MaterialEditViewTest, NoFieldOfTheFormCoversAnother)
{
    CMaterialEditView* view = Open(1);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(OverlappingControls(*view->Form()), std::vector<std::string>());
    // Every field has its caption.
    QStringList captions;
    for (const QLabel* label : view->Form()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        if (label->text().endsWith(QStringLiteral(" :")) && !label->isHidden())
            captions << label->text();
    }
    EXPECT_EQ(captions, (QStringList{"Name :", "Code :", "Also called :", "Type :", "Density :", "Formula :",
                                    "Map to :", "Report :", "Notes :"}));
    // On the material windows' own colour.
    EXPECT_EQ(view->Form()->palette().color(QPalette::Window), ToQColor(GetNamedColor("med_bkg")));
}

// Regression: a value the file held beyond what its field takes ("density = 1e400", read as
// the largest number there is) refused every save of its material, a notes-only edit too, over a
// field the user had not touched. Named when the file was opened, it stays as read while its
// field is left alone; only what the user types into the field is refused.
TEST_F(MaterialEditViewTest, AValueReadBeyondItsFieldDoesNotBlockSavingTheOthers)
{
    RecordAt(Database(), 1).m_density = DBL_MAX;
    RecordAt(Database(), 1).m_costPerLb = DBL_MAX;
    CMaterialEditView* view = Open(1);
    ASSERT_NE(view, nullptr);
    Control(view->findChild<QPlainTextEdit*>(QString::number(kMatEditNotes))).setPlainText(QStringLiteral("kept in a dry place"));
    EXPECT_TRUE(view->IsChanged());
    QTest::mouseClick(view->Button(kMatEditSave), Qt::LeftButton);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{});
    EXPECT_EQ(RecordAt(Database(), 1).m_notes, CStringArrayEx{"kept in a dry place"});
    EXPECT_EQ(RecordAt(Database(), 1).m_density, DBL_MAX);
    EXPECT_EQ(RecordAt(Database(), 1).m_costPerLb, DBL_MAX);
    // Typed into, the field is read whole again.
    view->DensityEdit()->setText(view->DensityEdit()->text() + QStringLiteral("0"));
    QTest::mouseClick(view->Button(kMatEditSave), Qt::LeftButton);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Please enter a number."});
    EXPECT_EQ(RecordAt(Database(), 1).m_density, DBL_MAX);
    m_messages.boxes.clear();
    view->DensityEdit()->setText(QStringLiteral("2.6"));
    QTest::mouseClick(view->Button(kMatEditSave), Qt::LeftButton);
    EXPECT_TRUE(m_messages.boxes.empty());
    EXPECT_EQ(RecordAt(Database(), 1).m_density, 2.6);
    EXPECT_EQ(RecordAt(Database(), 1).m_costPerLb, DBL_MAX);
}
