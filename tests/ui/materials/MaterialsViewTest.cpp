#include "materials/MaterialsView.h"

#include "core/support/CheckedItems.h"
#include "MaterialsViewFixture.h"
#include "materials/FindMaterialsDlg.h"
#include "materials/MaterialUnitsDlg.h"
#include "materials/SortMaterialsDlg.h"
#include "shell/Clipboards.h"
#include "ui/support/ModalDialogTest.h"
#include "ui/support/OverlapCheck.h"
#include "ui/support/TestFolders.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

using MaterialsViewTest = MaterialsViewFixture;

} // namespace

TEST_F(MaterialsViewTest, StarterDatabaseShowsInEachViewMode)
{
    ASSERT_NE(m_view, nullptr);
    EXPECT_EQ(m_doc->GetTitle(), "Starter Materials");
    ASSERT_NE(m_frame.ActiveChildFrame(), nullptr);
    EXPECT_EQ(m_frame.ActiveChildFrame()->windowTitle(), QStringLiteral("Starter Materials"));
    EXPECT_TRUE(m_view->HasExtendedSelection());
    ASSERT_EQ(m_view->GetCount(), Database().GetCount());
    const int kaolin = IndexOf("Kaolin");
    ASSERT_EQ(kaolin, 1);

    // Normal view "CN", extended views "CNF", "CNTA$DF" and "CNMTA$DWF": a cell per letter.
    EXPECT_EQ(Row(kaolin), "\tKAO\tKaolin");
    EXPECT_EQ(m_view->GetTabStops().size(), 2u);
    EXPECT_EQ(m_frame.QueryCommand(CmdMatListNormalView).m_nCheck, 1);
    ASSERT_TRUE(m_view->RunCommand(CmdMatListExtendedView1));
    EXPECT_EQ(Row(kaolin), "\tKAO\tKaolin\tAl2O3 2SiO2 2H2O");
    EXPECT_EQ(m_frame.QueryCommand(CmdMatListNormalView).m_nCheck, 0);
    EXPECT_EQ(m_frame.QueryCommand(CmdMatListExtendedView1).m_nCheck, 1);
    ASSERT_TRUE(m_view->RunCommand(CmdMatListExtendedView2));
    EXPECT_EQ(Row(kaolin), "\tKAO\tKaolin\tclay\tAvailable\t$    0.85 / lb\t\tAl2O3 2SiO2 2H2O");
    ASSERT_TRUE(m_view->RunCommand(CmdMatListExtendedView3));
    EXPECT_EQ(Row(kaolin), "\tKAO\tKaolin\t\tclay\tAvailable\t$    0.85 / lb\t\tMW=  258.2\tAl2O3 2SiO2 2H2O");
    ASSERT_EQ(m_view->GetTabStops().size(), 9u);
    // Stops grow left to right, the first four pixels in.
    const std::vector<int>& stops = m_view->GetTabStops();
    EXPECT_TRUE(std::is_sorted(stops.begin(), stops.end()));
    EXPECT_EQ(stops.front(), m_view->PixelsToDialogUnits(4));

    // Weight percentages per 100 parts of raw material: K Na Ca Mg Ba Zn Pb B Al Si Zr LOI.
    ASSERT_TRUE(m_view->RunCommand(CmdMatListPercentView));
    EXPECT_EQ(m_frame.QueryCommand(CmdMatListPercentView).m_nCheck, 1);
    EXPECT_EQ(Row(kaolin), "Kaolin\t%\t\t\t\t\t\t\t\t\t  39.5 Al2O3\t  46.5 SiO2\t\t  14.0 LOI");
    EXPECT_EQ(m_view->GetTabStops().size(), 14u);

    // The selection, caret and top row survive a change of mode.
    Select({2, 4});
    ASSERT_TRUE(m_view->RunCommand(CmdMatListNormalView));
    EXPECT_EQ(m_view->GetSelItems(), (std::vector<int>{2, 4}));
    EXPECT_EQ(Row(0), "\tSIL\tSilica");

    // A percentages list without entries falls back to the normal view for good.
    g_prefs.mattab = "";
    ASSERT_TRUE(m_view->RunCommand(CmdMatListPercentView));
    EXPECT_EQ(m_view->ViewMode(), 0);
    EXPECT_EQ(Row(0), "\tSIL\tSilica");

    ASSERT_TRUE(m_view->RunCommand(CmdMatListExtendedView3));
    ASSERT_NE(m_frame.ActiveChildFrame(), nullptr);
    m_frame.ActiveChildFrame()->showNormal();
    m_frame.ActiveChildFrame()->resize(880, 420);
    m_view->SetSel(1, true);
    QApplication::processEvents();
        m_frame.grab().save(ScreenshotFolder() + "/materials-window.png");
}

TEST_F(MaterialsViewTest, CopyThenPasteInsertsCopiesAndAnnouncesOnce)
{
    const int count = Database().GetCount();
    EXPECT_FALSE(Enabled(CmdMatListPaste)) << "the clipboard starts empty";
    EXPECT_FALSE(Enabled(CmdMatListCopy)) << "nothing selected";
    Select({1, 2});
    ASSERT_TRUE(m_view->RunCommand(CmdMatListCopy));
    ASSERT_EQ(ClipboardCount(g_materialClipboard), 2);
    EXPECT_EQ(ClipboardRecord(g_materialClipboard, 0).m_name, "Kaolin");
    EXPECT_TRUE(Hints().empty()) << "Copy announces nothing";
    EXPECT_FALSE(m_doc->IsModified());

    Select({5});
    ASSERT_TRUE(m_view->RunCommand(CmdMatListPaste));
    ASSERT_EQ(Database().GetCount(), count + 2);
    EXPECT_EQ(NameAt(5), "Kaolin");
    EXPECT_EQ(NameAt(6), "Calcined Kaolin");
    EXPECT_EQ(NameAt(7), "Soda Feldspar");
    EXPECT_NE(Database().GetAt(5), Database().GetAt(1)) << "a copy, not the record";
    EXPECT_EQ(m_view->GetCount(), count + 2);
    EXPECT_EQ(Row(5), "\tKAO\tKaolin");
    EXPECT_EQ(m_view->GetSelItems(), (std::vector<int>{5, 6}));
    ASSERT_EQ(Hints().size(), 1u);
    EXPECT_EQ(Hint(0).kind, 2);
    EXPECT_EQ(Hint(0).code, HintMaterialsInserted);
    EXPECT_EQ(Hint(0).index, 5);
    EXPECT_TRUE(m_doc->IsModified());

    // Cut keeps the cut materials on the clipboard; pasting into an empty database puts them at 0.
    m_view->SetSel(-1, true);
    ASSERT_TRUE(m_view->RunCommand(CmdMatListCut));
    EXPECT_EQ(Database().GetCount(), 0);
    EXPECT_EQ(m_view->GetCount(), 0);
    EXPECT_EQ(ClipboardCount(g_materialClipboard), count + 2);
    EXPECT_EQ(CountHints(HintMaterialsDeleted), 1);
    ASSERT_TRUE(m_view->RunCommand(CmdMatListPaste));
    EXPECT_EQ(Database().GetCount(), count + 2);
    EXPECT_EQ(NameAt(0), "Silica");
    EXPECT_EQ(LastHint().index, 0);
}

TEST_F(MaterialsViewTest, NewMaterialsAndMovingRows)
{
    const int count = Database().GetCount();
    ASSERT_TRUE(m_view->RunCommand(CmdMatListInsertNew));
    EXPECT_EQ(NameAt(0), "new material");
    EXPECT_EQ(m_view->GetSelItems(), std::vector<int>{0});
    EXPECT_EQ(LastHint().code, HintMaterialsInserted);
    m_view->SetSel(-1, false);
    ASSERT_TRUE(m_view->RunCommand(CmdMatListAppendNew));
    EXPECT_EQ(NameAt(count + 1), "new material");
    EXPECT_EQ(m_view->GetSelItems(), std::vector<int>{count + 1});
    EXPECT_EQ(LastHint().index, count + 1);

    // Delete takes the selected rows without asking.
    Select({0, count + 1});
    ASSERT_TRUE(m_view->RunCommand(CmdMatListDelete));
    EXPECT_EQ(Database().GetCount(), count);
    EXPECT_EQ(LastHint().code, HintMaterialsDeleted);
    EXPECT_EQ(LastHint().index, 0);
    EXPECT_TRUE(m_messages.boxes.empty());

    Select({0});
    EXPECT_FALSE(Enabled(CmdMatListShiftUp));
    EXPECT_FALSE(m_view->RunCommand(CmdMatListShiftUp)) << "a disabled command does not run";
    ASSERT_TRUE(m_view->RunCommand(CmdMatListShiftDown));
    EXPECT_EQ(NameAt(0), "Kaolin");
    EXPECT_EQ(NameAt(1), "Silica");
    EXPECT_EQ(Row(1), "\tSIL\tSilica");
    EXPECT_EQ(m_view->GetSelItems(), std::vector<int>{1});
    Select({count - 1});
    EXPECT_FALSE(Enabled(CmdMatListShiftDown));

    // Shift Up moves every selected row, one notice per row.
    const std::size_t before = Hints().size();
    Select({3, 4});
    ASSERT_TRUE(m_view->RunCommand(CmdMatListShiftUp));
    EXPECT_EQ(NameAt(2), "Pyrophyllite");
    EXPECT_EQ(NameAt(3), "Potash Feldspar");
    EXPECT_EQ(NameAt(4), "Calcined Kaolin");
    EXPECT_EQ(m_view->GetSelItems(), (std::vector<int>{2, 3}));
    EXPECT_EQ(Hints().size(), before + 2);

    // Selected to Top keeps the selected rows' order and announces one reordering.
    Select({5, 9});
    ASSERT_TRUE(m_view->RunCommand(CmdMatListSelectedToTop));
    EXPECT_EQ(NameAt(0), "Soda Feldspar");
    EXPECT_EQ(NameAt(1), "Whiting");
    EXPECT_EQ(Row(1), "\tWHI\tWhiting");
    EXPECT_EQ(m_view->GetSelItems(), (std::vector<int>{0, 1}));
    EXPECT_EQ(LastHint().code, HintMaterialsReordered);
    const std::size_t afterTop = Hints().size();
    ASSERT_TRUE(m_view->RunCommand(CmdMatListSelectedToTop));
    EXPECT_EQ(NameAt(0), "Soda Feldspar");
    EXPECT_EQ(Hints().size(), afterTop + 1) << "already on top: still announced";

    ASSERT_TRUE(m_view->RunCommand(CmdMatListInvertSelection));
    EXPECT_EQ(m_view->GetSelCount(), count - 2);
    EXPECT_FALSE(m_view->GetSel(0));

    // Another view's reordering does not refill this list.
    m_view->SetSel(-1, false);
    m_view->SetSel(3, true);
    COxidariumApp::BroadcastUpdate(nullptr, m_doc, 2, HintMaterialsReordered, 0, 0);
    EXPECT_EQ(m_view->GetSelItems(), std::vector<int>{3});
}

TEST_F(MaterialsViewTest, ResortUsesTheSortDialogAndRemembersItsChoice)
{
    std::swap(*Database().GetAt(0), *Database().GetAt(1)); // Kaolin first: not in name order
    m_view->FillList(0, -1, true);
    ASSERT_TRUE(m_view->RunCommand(CmdMatListAlphabetize));
    EXPECT_EQ(NameAt(0), "Alumina Hydrate");
    EXPECT_EQ(Row(0), "\tALHYD\tAlumina Hydrate");
    EXPECT_EQ(LastHint().code, HintMaterialsReordered);

    OnModal<CSortMaterialsDlg>([](CSortMaterialsDlg* dialog) {
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Sort materials by..."));
        EXPECT_TRUE(dialog->ChoiceButton(0)->isChecked()) << "Name the first time";
        EXPECT_EQ(dialog->OxideCombo()->currentText(), QStringLiteral("KNaO"));
                dialog->grab().save(ScreenshotFolder() + "/sort-materials.png");
        dialog->ChoiceButton(1)->click();
        dialog->OkButton()->click();
    });
    m_view->SetTopIndex(5);
    ASSERT_TRUE(m_view->RunCommand(CmdMatListResort));
    EXPECT_EQ(g_prefs.m_nMatSortChoice, 1);
    EXPECT_EQ(m_view->GetTopIndex(), 0) << "a sorted list shows its first row";
    for (int i = 1; i < Database().GetCount(); ++i)
        EXPECT_LE(RecordAt(Database(), i - 1).m_code, RecordAt(Database(), i).m_code) << i;
    EXPECT_EQ(Row(0), "\t" + RecordAt(Database(), 0).m_code + "\t" + NameAt(0));

    // By oxide weight: the share of silica orders the materials, silica itself last.
    OnModal<CSortMaterialsDlg>([](CSortMaterialsDlg* dialog) {
        EXPECT_TRUE(dialog->ChoiceButton(1)->isChecked()) << "the last choice comes back";
        dialog->ChoiceButton(10)->click();
        dialog->OxideCombo()->setCurrentIndex(dialog->OxideCombo()->findText(QStringLiteral("SiO2")));
        dialog->OkButton()->click();
    });
    ASSERT_TRUE(m_view->RunCommand(CmdMatListResort));
    EXPECT_EQ(g_prefs.m_nMatSortOxide, 14);
    EXPECT_EQ(NameAt(Database().GetCount() - 1), "Silica");

    // Cancel sorts nothing.
    const std::size_t hints = Hints().size();
    OnModal<CSortMaterialsDlg>([](CSortMaterialsDlg* dialog) { dialog->CancelButton()->click(); });
    ASSERT_TRUE(m_view->RunCommand(CmdMatListResort));
    EXPECT_EQ(Hints().size(), hints);
}

TEST_F(MaterialsViewTest, FindSelectsTheMatchesAndCountsThem)
{
    OnModal<CFindMaterialsDlg>([](CFindMaterialsDlg* dialog) {
        EXPECT_TRUE(dialog->NamesCheck()->isChecked());
        EXPECT_TRUE(dialog->CodesCheck()->isChecked());
        EXPECT_FALSE(dialog->FormulasCheck()->isChecked());
        EXPECT_EQ(OverlappingControls(*dialog), std::vector<std::string>());
        EXPECT_EQ(dialog->helpId, 340u);
        QStringList buttons;
        for (const QPushButton* button : dialog->findChildren<QPushButton*>())
            buttons << button->text();
        buttons.sort();
        EXPECT_EQ(buttons, (QStringList{"?", "Cancel", "OK"}));
                dialog->grab().save(ScreenshotFolder() + "/find-materials.png");
        QTest::keyClicks(dialog->TextEdit(), QStringLiteral("carb"));
        dialog->OkButton()->click();
    });
    Select({0});
    ASSERT_TRUE(m_view->RunCommand(CmdMatListFind));
    // Names, codes or other names holding "carb", in any case: seven carbonates by name, three by
    // another name (Whiting is calcium carbonate, Soda Ash and Pearl Ash sodium and potassium's).
    std::vector<int> expected;
    for (const char* name : {"Magnesium Carbonate", "Lithium Carbonate", "Strontium Carbonate", "Barium Carbonate",
                             "Cobalt Carbonate", "Copper Carbonate", "Manganese Carbonate", "Whiting", "Soda Ash",
                             "Pearl Ash"})
        expected.push_back(IndexOf(name));
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(m_view->GetSelItems(), expected);
    EXPECT_EQ(m_view->GetCaretIndex(), expected.front());
    ASSERT_EQ(m_messages.boxes.size(), 1u);
    EXPECT_EQ(m_messages.At(0).text, "10 matches found");
    EXPECT_EQ(m_messages.At(0).Icon(), MsgIconInformation);
    EXPECT_EQ(m_messages.At(0).helpId, 0x30230u);
    EXPECT_EQ(m_view->m_strFindText, "carb");

    // In formulas only: nothing; the caret goes back to the first row.
    OnModal<CFindMaterialsDlg>([](CFindMaterialsDlg* dialog) {
        EXPECT_EQ(dialog->TextEdit()->text(), QStringLiteral("carb"));
        EXPECT_EQ(dialog->TextEdit()->selectedText(), QStringLiteral("carb")) << "typing replaces the last text";
        dialog->NamesCheck()->setChecked(false);
        dialog->CodesCheck()->setChecked(false);
        dialog->FormulasCheck()->setChecked(true);
        dialog->OkButton()->click();
    });
    ASSERT_TRUE(m_view->RunCommand(CmdMatListFind));
    EXPECT_EQ(m_view->GetSelCount(), 0);
    EXPECT_EQ(m_view->GetCaretIndex(), 0);
    EXPECT_EQ(m_messages.Last().text, "No matches found");

    // An empty text keeps the selection.
    Select({3});
    OnModal<CFindMaterialsDlg>([](CFindMaterialsDlg* dialog) {
        dialog->TextEdit()->clear();
        dialog->OkButton()->click();
    });
    ASSERT_TRUE(m_view->RunCommand(CmdMatListFind));
    EXPECT_EQ(m_view->GetSelItems(), std::vector<int>{3});
    EXPECT_EQ(m_messages.boxes.size(), 2u);
}

TEST_F(MaterialsViewTest, UnitsDialogChangesTheCostDisplay)
{
    RecordAt(Database(), 0).m_costPerLb = 1.5;
    RecordAt(Database(), 0).m_density = 12.5;
    ASSERT_TRUE(m_view->RunCommand(CmdMatListExtendedView2));
    EXPECT_EQ(Row(0), "\tSIL\tSilica\tsilica\tAvailable\t$    1.50 / lb\t  12.5 g / c\tSiO2");

    // Kilograms and three decimals; the costs are scaled from pounds as the dialog proposes.
    OnModal<CMaterialUnitsDlg>([](CMaterialUnitsDlg* dialog) {
        EXPECT_TRUE(dialog->PoundRadio()->isChecked());
        EXPECT_EQ(dialog->CurrencyEdit()->text(), QStringLiteral("$"));
        dialog->KilogramRadio()->click();
        EXPECT_TRUE(dialog->MultiplyCostsCheck()->isChecked());
        EXPECT_EQ(dialog->CostFactorEdit()->text(), QStringLiteral("2.2046"));
        dialog->PlacesRightEdit()->setText(QStringLiteral("3"));
        dialog->CurrencyEdit()->setText(QStringLiteral("EUR"));
        dialog->OkButton()->click();
    });
    ASSERT_TRUE(m_view->RunCommand(CmdMatListUnits));
    EXPECT_EQ(Database().m_costUnit, CMaterialArray::kCostPerKilogram);
    EXPECT_EQ(Database().m_costPlacesRight, 3);
    EXPECT_DOUBLE_EQ(RecordAt(Database(), 0).m_costPerLb, 1.5 * 2.2046);
    EXPECT_EQ(Row(0), "\tSIL\tSilica\tsilica\tAvailable\tEUR    3.307 / kg\t  12.5 g / c\tSiO2");
    EXPECT_EQ(LastHint().code, HintMaterialsReplaced);
    EXPECT_TRUE(m_doc->IsModified());

    // Confirmed without a change: still marked modified and announced.
    m_doc->SetModifiedFlag(false);
    const std::size_t hints = Hints().size();
    OnModal<CMaterialUnitsDlg>([](CMaterialUnitsDlg* dialog) { dialog->OkButton()->click(); });
    ASSERT_TRUE(m_view->RunCommand(CmdMatListUnits));
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_EQ(Hints().size(), hints + 1);
    EXPECT_DOUBLE_EQ(RecordAt(Database(), 0).m_costPerLb, 1.5 * 2.2046);

    // Deciliters without the proposed scaling: the densities keep their numbers.
    OnModal<CMaterialUnitsDlg>([](CMaterialUnitsDlg* dialog) {
        dialog->DeciliterRadio()->click();
        dialog->MultiplyDensitiesCheck()->setChecked(false);
        dialog->OkButton()->click();
    });
    ASSERT_TRUE(m_view->RunCommand(CmdMatListUnits));
    EXPECT_EQ(Database().m_densityUnit, CMaterialArray::kDensityPerDeciliter);
    EXPECT_DOUBLE_EQ(RecordAt(Database(), 0).m_density, 12.5);
}

TEST_F(MaterialsViewTest, MouseOpensEditViewsAndTheContextMenu)
{
    m_view->scrollTo(m_view->model()->index(2, 0));
    const QPoint row2 = m_view->visualRect(m_view->model()->index(2, 0)).center();
    QTest::mouseClick(m_view->viewport(), Qt::LeftButton, {}, row2);
    QTest::mouseDClick(m_view->viewport(), Qt::LeftButton, {}, row2);
    EXPECT_EQ(m_editViews.opened, std::vector<int>{2});

    Select({1, 4});
    ASSERT_TRUE(m_view->RunCommand(CmdMatListEditLimited));
    EXPECT_EQ(m_editViews.limited, (std::vector<int>{1, 4}));

    // The right button opens Edit, Edit (limited) and Database Notes, leaving the selection.
    QStringList texts;
    ReadNextPopupMenu(texts);
    QTest::mousePress(m_view->viewport(), Qt::RightButton, {}, row2);
    EXPECT_EQ(texts, (QStringList{"&Edit", "Edit (&limited)", "Database &Notes..."}));
    EXPECT_EQ(m_view->GetSelItems(), (std::vector<int>{1, 4}));
    EXPECT_TRUE(Enabled(CmdMatListFindSimilar));
    EXPECT_STREQ(MaterialsCommandPrompt(CmdMatListPreviewList), "Show material list in Print Preview mode");
}
