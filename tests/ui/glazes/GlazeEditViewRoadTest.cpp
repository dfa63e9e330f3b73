// The glaze edit window on a potter's main road (a recipe typed into a new glaze of the shipped
// database, its chemistry, saving and reopening), and the glaze list's commands that delete or
// replace glazes while edit windows hold unsaved edits.

#include "GlazeEditViewFixture.h"

#include "ui/support/CheckedWidgets.h"
#include "core/support/CheckedItems.h"
#include "framework/MessageService.h"
#include "framework/UpdateHint.h"
#include "glazes/CheckIngredients.h"
#include "glazes/FindGlazesDlg.h"
#include "glazes/GlazeListDlgCommands.h"
#include "glazes/GlazePrinting.h"
#include "glazes/IngredientList.h"
#include "glazes/SortGlazesDlg.h"
#include "glazes/GlazeSearchCriteria.h"
#include "graphs/GraphTemplate.h"
#include "substitutions/ChooseSubstitutionDlg.h"
#include "substitutions/Substitution.h"
#include "support/MergeDlg.h"
#include "support/NotesEdit.h"
#include "support/TabEdit.h"
#include "support/ToggleButton.h"
#include "tools/BatchCalcDlg.h"
#include "tools/OptimizeDlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextCursor>

#include <filesystem>
#include <fstream>
#include <functional>

namespace {

class GlazeEditViewRoadTest : public GlazeEditViewFixture {
protected:
    // A copy of the shipped glazes in the test's folder, so that saving never touches the data.
    CGlazesDoc* OpenCopy()
    {
        m_path = m_dir.path().toStdString() + "/glazes.glz";
        std::filesystem::copy_file(Shipped("glazes.glz"), m_path);
        m_doc = dynamic_cast<CGlazesDoc*>(m_app.OpenAndAnnounce(g_pGlazesTemplate, m_path, 5));
        return m_doc;
    }
    static QString Title(CGlazeEditView* view)
    {
        return Control(dynamic_cast<QMdiSubWindow*>(view->GetFrame())).windowTitle();
    }
    bool Enabled(CGlazeEditView* view, unsigned id)
    {
        CCmdUI ui(id);
        EXPECT_TRUE(view->OnUpdateCommand(ui)) << id;
        return ui.m_bEnabled;
    }
    // Merge Glaze Database of the glazes `records` (after the file's heading) from a file in the
    // test's folder, every one of them replacing the glaze of its name, sorting after the merge
    // when asked; the file's path.
    std::string MergeReplacing(const std::string& records, bool sortAfter = false)
    {
        const std::string source = m_dir.path().toStdString() + "/incoming.glz";
        std::ofstream(source, std::ios::binary) << "filetype = Oxidarium Glazes\nversion =  2\n\ndbname  = In\n\n"
                                                << records;
        m_dialogs.AnswerPath(source);
        WhenModal<CMergeDlg>([sortAfter](CMergeDlg* dialog) {
            dialog->ReplaceExistingRadio()->setChecked(true);
            dialog->SelectAllButton()->click();
            dialog->SortCheck()->setChecked(sortAfter);
            dialog->OkButton()->click();
        });
        EXPECT_TRUE(ListView()->RunCommand(CmdGlzMerge));
        return source;
    }

    std::string m_path;
};

} // namespace

TEST_F(GlazeEditViewRoadTest, ARecipeTypedIntoANewGlazeShowsItsChemistryAndIsSavedWithTheDatabase)
{
    ASSERT_NE(OpenCopy(), nullptr);
    CGlazeEditView* view = OpenEdit(9);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(GlazeForm::Button(view, kGedNext)->text(), QStringLiteral("Append New"));
    QTest::mouseClick(GlazeForm::Button(view, kGedNext), Qt::LeftButton);
    ASSERT_EQ(m_doc->GetGlazeCount(), 11);
    EXPECT_EQ(view->GetGlazeIndex(), 10);

    Focus(view, GlazeForm::NameEdit(view));
    GlazeForm::NameEdit(view)->selectAll();
    QTest::keyClicks(GlazeForm::NameEdit(view), "Potash Matte");
    EXPECT_EQ(Title(view), QStringLiteral("Potash Matte")) << "the title follows the name";

    QTest::mouseClick(GlazeForm::PageButton(view, kPageRecipe), Qt::LeftButton);
    CTabEdit* field = GlazeForm::ComponentsEdit(view);
    ASSERT_NE(field, nullptr);
    Focus(view, field);
    QTest::keyClicks(field, "potash");
    QTest::keyClick(field, Qt::Key_Tab);
    QTest::keyClicks(field, "40");
    QTest::keyClick(field, Qt::Key_Return);
    QTest::keyClicks(field, "silica 30");
    QTest::keyClick(field, Qt::Key_Return);
    QTest::keyClicks(field, "whi");
    QTest::keyClick(field, Qt::Key_Tab);
    QTest::keyClicks(field, "20");
    QTest::keyClick(field, Qt::Key_Return);
    QTest::keyClicks(field, "Kaolin 10");
    EXPECT_EQ(field->toPlainText(),
              QStringLiteral("Potash Feldspar\t    40\nSilica\t    30\nWhiting\t    20\nKaolin 10"));

    // The Analysis page reads the fields as they stand, unsaved.
    const int computed = GlazeForm::PaneComputations(view);
    QTest::mouseClick(GlazeForm::PageButton(view, kPageAnalysis), Qt::LeftButton);
    EXPECT_EQ(GlazeForm::PaneComputations(view), computed + 1);
    const QString unity = GlazeForm::AnalysisPane(view)->toPlainText();
    for (const char* value : {"K2O  0.26", "CaO  0.74", "Al2O3  0.41", "SiO2  3.71"})
        EXPECT_TRUE(unity.contains(QLatin1String(value))) << value << "\n" << unity.toStdString();
    EXPECT_EQ(field->toPlainText(),
              QStringLiteral("Potash Feldspar\t    40\nSilica\t    30\nWhiting\t    20\nKaolin\t    10"))
        << "leaving the field put every line in its written form";
    // A new glaze has no limit formula of its own: the one picked in the list is compared, and
    // the marks say which formulas the glaze lies within.
    QTest::mouseClick(GlazeForm::PageButton(view, kPageLimitFormula), Qt::LeftButton);
    EXPECT_EQ(GlazeForm::ComparisonText(view)->toPlainText(), QString());
    QListWidget* formulas = GlazeForm::LimitList(view);
    ASSERT_NE(formulas, nullptr);
    ASSERT_GT(formulas->count(), 2);
    QTest::mouseClick(formulas->viewport(), Qt::LeftButton, {}, formulas->visualItemRect(formulas->item(2)).center());
    EXPECT_EQ(GlazeForm::ChosenLimitFormula(view), "Cone 6 gloss");
    EXPECT_EQ(GlazeForm::ComparisonLabel(view)->text(), QStringLiteral("Comparison to limit formula :"));
    const QString comparison = GlazeForm::ComparisonText(view)->toPlainText();
    EXPECT_TRUE(comparison.contains(QStringLiteral("SiO2 :"))) << comparison.toStdString();
    EXPECT_TRUE(comparison.contains(QStringLiteral(": 3.71\n"))) << comparison.toStdString();
    EXPECT_TRUE(ListRow(formulas, 2).text().endsWith(QStringLiteral("\t \tCone 6 gloss")));

    QTest::mouseClick(GlazeForm::Button(view, kGedSave), Qt::LeftButton);
    EXPECT_EQ(GlazeForm::IsModified(view), 0);
    ASSERT_TRUE(m_doc->OnCommand(CmdSaveGlazeDb));
    EXPECT_FALSE(m_doc->IsModified());
    EXPECT_TRUE(m_messages.boxes.empty());

    CGlazeList reopened;
    std::ifstream in(m_path, std::ios::binary);
    ASSERT_EQ(reopened.Read(in), 0);
    ASSERT_EQ(reopened.GetCount(), 11);
    const CGlaze& glaze = reopened.GetAt(10);
    EXPECT_EQ(glaze.m_name, "Potash Matte");
    ASSERT_EQ(glaze.m_components.GetCount(), 4);
    const char* const names[] = {"Potash Feldspar", "Silica", "Whiting", "Kaolin"};
    const double amounts[] = {40, 30, 20, 10};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(RecordAt(glaze.m_components, i).m_name, names[i]);
        EXPECT_EQ(RecordAt(glaze.m_components, i).m_amount, amounts[i]);
    }
}

TEST_F(GlazeEditViewRoadTest, TypingDetailsOfTheRecipeFields)
{
    CGlazeEditView* view = OpenEmptyRecipe(0);
    ASSERT_NE(view, nullptr);
    CTabEdit* field = GlazeForm::ComponentsEdit(view);
    ASSERT_NE(field, nullptr);

    // Enter with the caret on the first line treats no line; a name typed there stays.
    QTest::keyClicks(field, "whiting 8");
    QTest::keyClick(field, Qt::Key_Home);
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(field->toPlainText(), QStringLiteral("\nwhiting 8")) << "the empty first line is left alone";
    QTest::keyClick(field, Qt::Key_End);
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(field->toPlainText(), QStringLiteral("\nWhiting\t      8\n"));

    // A working batch size below 1 is none: it is stored as 0; from 1 up it is stored as typed.
    for (const auto& [typed, size] : {std::pair{"0.5", 0.0}, {"5", 5.0}, {"1", 1.0}}) {
        GlazeForm::BatchSizeEdit(view)->setText(QString::fromLatin1(typed));
        view->SaveGlaze();
        EXPECT_EQ(Found(m_doc->GetGlaze(0)).m_batchSize, size) << typed;
    }
    GlazeForm::BatchSizeEdit(view)->setText(QStringLiteral("/4"));
    view->BatchSizeLeft(true);
    EXPECT_EQ(GlazeForm::BatchSizeEdit(view)->text(), QStringLiteral("2"));

    // Regression: closing the window with Yes to its question refused an expression the field
    // still held ("Please enter a number."); it is taken as leaving the field takes it.
    QLineEdit* batch = GlazeForm::BatchSizeEdit(view);
    ASSERT_NE(batch, nullptr);
    Focus(view, batch);
    batch->selectAll();
    QTest::keyClicks(batch, "x2");
    m_messages.boxes.clear();
    m_messages.answers = {MsgResultYes};
    Control(dynamic_cast<QMdiSubWindow*>(view->GetFrame())).close();
    FlushDeletes();
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Save changes to \"Cone 6 Clear\" ?"});
    EXPECT_EQ(CountViews<CGlazeEditView>(), 0);
    EXPECT_EQ(Found(m_doc->GetGlaze(0)).m_batchSize, 16.0);
}

// Regression: a line whose amount the form refused was dropped by the next save ("Rutile
// 5000000000" by a second Save Changes, or by Close and Yes), and an amount that began like a
// number was saved as that beginning ("Talc 1,5" as "Talc 1"). A form holding such a line saves
// nothing: every save repeats the refusal with the line selected, and the form stays changed.
TEST_F(GlazeEditViewRoadTest, ARefusedRecipeLineKeepsTheFormFromSaving)
{
    OpenShipped();
    CGlazeEditView* view = OpenEdit(0);
    ASSERT_NE(view, nullptr);
    view->ShowPage(kPageRecipe);
    CTabEdit* field = GlazeForm::ComponentsEdit(view);
    ASSERT_NE(field, nullptr);
    Focus(view, field);
    QTest::keyClick(field, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Return);
    QTest::keyClicks(field, "Rutile 5000000000");
    const CIngredientList stored = Found(m_doc->GetGlaze(0)).m_components;
    const auto unsaved = [&](const char* line) {
        EXPECT_EQ(Found(m_doc->GetGlaze(0)).m_components.GetCount(), stored.GetCount()) << line;
        EXPECT_EQ(GlazeForm::IsModified(view), 1) << line;
        EXPECT_EQ(field->textCursor().selectedText(), QString::fromLatin1(line));
        EXPECT_TRUE(field->toPlainText().endsWith(QString::fromLatin1(line)));
        QApplication::processEvents(); // the user's next action
        m_messages.boxes.clear();
    };
    const std::string tooLarge = "The amount of \"Rutile 5000000000\" is too large. Please enter a number between 0 "
                                 "and 999999999.";
    for (int press = 0; press < 2; ++press) {
        GlazeForm::Button(view, kGedSave)->click();
        EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{tooLarge}) << press;
        unsaved("Rutile 5000000000");
    }
    m_messages.answers = {MsgResultYes};
    GlazeForm::Button(view, kGedClose)->click();
    FlushDeletes();
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{"Save changes to \"Cone 6 Clear\" ?", tooLarge}));
    // A form that closed all the same is used no further.
    ASSERT_EQ(CountViews<CGlazeEditView>(), 1);
    unsaved("Rutile 5000000000");
    m_messages.answers = {MsgResultYes};
    GlazeForm::Button(view, kGedNext)->click();
    EXPECT_EQ(view->GetGlazeIndex(), 0);
    unsaved("Rutile 5000000000");
    m_messages.answers = {MsgResultYes};
    EXPECT_FALSE(m_doc->SaveModified(SaveModifiedFor::Closing)) << "Save, Close and Exit of the database stop";
    unsaved("Rutile 5000000000");
    // Nor does a tool that rewrites the recipe drop the line, nor Cut copy the form without it
    // and close.
    GlazeForm::Button(view, kGedScale100)->click();
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{tooLarge});
    unsaved("Rutile 5000000000");
    EXPECT_TRUE(view->OnCommand(CmdGedCut));
    FlushDeletes();
    ASSERT_EQ(CountViews<CGlazeEditView>(), 1);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{tooLarge});
    unsaved("Rutile 5000000000");

    // An amount is a number only when all of it is one; Ctrl+S says so too, and the line is not
    // counted in the recipe size, which says so.
    for (const char* typed : {"Talc 1,5", "Silica abc", "Talc 12abc"}) {
        QTest::keyClicks(field, typed); // over the selected line
        QTest::keyClick(field, Qt::Key_S, Qt::ControlModifier);
        EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"The amount of \"" + std::string(typed) +
                                                               "\" is not a number. Please enter a number between 0 "
                                                               "and 999999999."});
        EXPECT_EQ(GlazeForm::RecipeSizeLabel(view)->text(), QStringLiteral("Recipe size : 100 g (line 7 left out)"));
        unsaved(typed);
    }

    // So is a working batch size; the field shows the stored one again.
    QTest::keyClicks(field, "Talc 1.5");
    QLineEdit* batch = GlazeForm::BatchSizeEdit(view);
    ASSERT_NE(batch, nullptr);
    Focus(view, batch);
    batch->selectAll();
    QTest::keyClicks(batch, "12abc");
    GlazeForm::Button(view, kGedSave)->click();
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Please enter a number."});
    EXPECT_EQ(batch->text(), QStringLiteral("100"));
    EXPECT_EQ(Found(m_doc->GetGlaze(0)).m_components.GetCount(), stored.GetCount());
    // Nor does Scale to W.B.S. scale to one.
    QApplication::processEvents();
    m_messages.boxes.clear();
    batch->setText(QStringLiteral("12abc"));
    GlazeForm::Button(view, kGedScaleBatch)->click();
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Please enter a number."});
    EXPECT_EQ(batch->selectedText(), QStringLiteral("12abc"));
    batch->setText(QStringLiteral("100"));

    QApplication::processEvents();
    GlazeForm::Button(view, kGedSave)->click();
    ASSERT_EQ(Found(m_doc->GetGlaze(0)).m_components.GetCount(), stored.GetCount() + 1);
    EXPECT_EQ(Found(m_doc->GetGlaze(0)).m_components.GetAt(stored.GetCount()).m_amount, 1.5);
    EXPECT_EQ(GlazeForm::IsModified(view), 0);
}

// Regression: the roads that read the form without its save's check left a refused line out
// without a word: Write to File printed the recipe without it, Check Ingredients answered that
// all was well, Send to Insight and the tools worked on the other lines; and a line refused in
// Additions was saved away. Every road refuses the line of either field, selects it, and leaves
// the glaze, the fields, the clipboards and the disk as they were.
TEST_F(GlazeEditViewRoadTest, ARefusedLineInEitherRecipeFieldStopsEveryRoad)
{
    ASSERT_NE(OpenShipped(), nullptr);
    CGlazeEditView* view = OpenEdit(0);
    ASSERT_NE(view, nullptr);
    const std::string written = m_dir.path().toStdString() + "/recipe.txt";
    const std::string question = "Save changes to \"Cone 6 Clear\" ?";
    struct Road {
        const char* name;
        std::function<void()> take;
        bool asks = false; // the save question comes first
    };
    const Road roads[] = {
        {"Save Changes", [view] { GlazeForm::Button(view, kGedSave)->click(); }},
        {"Close, Yes", [view] { GlazeForm::Button(view, kGedClose)->click(); }, true},
        {"Edit Next, Yes", [view] { GlazeForm::Button(view, kGedNext)->click(); }, true},
        {"Ctrl+S", [view] { view->OnCommand(CmdGedSaveAndNext); }},
        {"Save as New", [view] { view->OnCommand(CmdGedSaveAsNew); }},
        {"Print Glaze Recipe > Write to File", [this] { m_frame.ExecuteCommand(CmdGlazeWriteRecipe); }},
        {"Check Ingredients", [view] { GlazeForm::Button(view, kGedCheckIngredients)->click(); }},
        {"Send to Insight", [view] { view->OnCommand(CmdGedSendEntire); }},
        {"Scale to 100", [view] { GlazeForm::Button(view, kGedScale100)->click(); }},
        {"Scale to W.B.S.", [view] { GlazeForm::Button(view, kGedScaleBatch)->click(); }},
        {"Edit Ingredients", [view] { view->OnCommand(CmdGedEditIngredients); }},
        {"Copy", [view] { view->OnCommand(CmdGedCopy); }},
        {"Cut", [view] { view->OnCommand(CmdGedCut); }},
    };
    const CGlaze stored = Found(m_doc->GetGlaze(0));
    for (CTabEdit* field : {GlazeForm::ComponentsEdit(view), GlazeForm::AdditionsEdit(view)}) {
        ASSERT_NE(field, nullptr);
        view->ShowPage(kPageRecipe);
        Focus(view, field);
        QTest::keyClick(field, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_Return);
        QTest::keyClicks(field, "Rutile 5000000000");
        const QString typed = field->toPlainText();
        const std::string refusal =
            "The amount of \"Rutile 5000000000\" is too large. Please enter a number between 0 and 999999999.";
        for (const Road& road : roads) {
            SCOPED_TRACE(std::string(road.name) + (field == GlazeForm::ComponentsEdit(view) ? ", components" : ", additions"));
            // The caret elsewhere: each road's own check is what refuses.
            Focus(view, GlazeForm::BatchSizeEdit(view));
            m_messages.boxes.clear();
            ASSERT_EQ(m_frame.ActiveView(), view);
            m_messages.answers = {MsgResultYes};
            m_dialogs.AnswerPath(written);
            m_clipboard.content = "kept";
            road.take();
            FlushDeletes(); // and the user's next action
            ASSERT_EQ(CountViews<CGlazeEditView>(), 1);
            const std::vector<std::string> told =
                road.asks ? std::vector<std::string>{question, refusal} : std::vector<std::string>{refusal};
            EXPECT_EQ(m_messages.Texts(), told);
            EXPECT_EQ(field->toPlainText(), typed);
            EXPECT_EQ(field->textCursor().selectedText(), QStringLiteral("Rutile 5000000000"));
            EXPECT_EQ(GlazeForm::IsModified(view), 1);
            EXPECT_EQ(view->GetGlazeIndex(), 0);
            EXPECT_EQ(m_doc->GetGlazeCount(), 10);
            EXPECT_EQ(Found(m_doc->GetGlaze(0)).m_components.GetCount(), stored.m_components.GetCount());
            EXPECT_EQ(Found(m_doc->GetGlaze(0)).m_additions.GetCount(), stored.m_additions.GetCount());
            EXPECT_EQ(m_clipboard.content, "kept");
            EXPECT_FALSE(std::filesystem::exists(written));
            m_messages.boxes.clear();
            m_dialogs.answers.clear();
        }
        view->OnCommand(CmdGedUpdate);
        QApplication::processEvents();
        m_messages.boxes.clear();
        view->ShowPage(kPageRecipe);
        GlazeForm::Button(view, kGedUndo)->click();
    }
}

TEST_F(GlazeEditViewRoadTest, WeightToVolumeConvertsEveryLineOrNone)
{
    ASSERT_NE(OpenShipped(), nullptr);
    CGlazeEditView* view = OpenEdit(0);
    ASSERT_NE(view, nullptr);
    GlazeForm::ComponentsEdit(view)->setPlainText(QStringLiteral("Silica 26.5\nKaolin 26\nWhiting 5"));
    Found(m_materials.Materials().FindMaterial(std::string_view("Silica"))).m_density = 2.65;
    Found(m_materials.Materials().FindMaterial(std::string_view("Kaolin"))).m_density = 2.6;
    const QString typed = GlazeForm::ComponentsEdit(view)->toPlainText();

    // Whiting has no density: one message, and nothing changes.
    view->ConvertWeightVolume();
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{"Density of Whiting unknown"}));
    EXPECT_EQ(m_messages.At(0).Buttons(), unsigned(MsgOkCancel));
    EXPECT_EQ(GlazeForm::ComponentsEdit(view)->toPlainText(), typed);
    EXPECT_FALSE(GlazeForm::ByVolumeBox(view)->isChecked());

    // A density however small is known.
    Found(m_materials.Materials().FindMaterial(std::string_view("Whiting"))).m_density = 0.05;
    view->ConvertWeightVolume();
    EXPECT_EQ(GlazeForm::ComponentsEdit(view)->toPlainText(),
              QStringLiteral("Silica\t    10\nKaolin\t    10\nWhiting\t  100"));
    EXPECT_TRUE(GlazeForm::ByVolumeBox(view)->isChecked());
    EXPECT_EQ(GlazeForm::RecipeSizeLabel(view)->text(), QString()) << "a recipe by volume has no size in grams";
}

TEST_F(GlazeEditViewRoadTest, RevertingClosesEveryWindowOnTheDatabaseOnly)
{
    ASSERT_NE(OpenShipped(), nullptr);
    CGlazeEditView* first = OpenEdit(0);
    OpenEdit(3);
    OpenReport(5);
    GlazeForm::NotesEdit(first)->setPlainText(QStringLiteral("unsaved"));
    CGlazesDoc other;
    COxidariumApp::BroadcastUpdate(nullptr, &other, 5, HintGlazesReplaced, 0, 0);
    EXPECT_EQ(CountViews<CGlazeEditView>(), 2) << "another database's reload concerns none of them";
    m_messages.answers = {MsgResultOk};
    EXPECT_TRUE(m_doc->OnCommand(CmdRevertGlazeDb));
    FlushDeletes();
    EXPECT_EQ(CountViews<CGlazeEditView>(), 0);
    EXPECT_EQ(CountViews<CGlazeAnalysisView>(), 0);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Revert To Saved drops the unsaved changes in \"" +
                                                           Found(m_doc->GetGlaze(0)).m_name + "\"."});
}

TEST_F(GlazeEditViewRoadTest, BatchCalculationOptimizeAndOpenGraphOpenTheirWindows)
{
    ASSERT_NE(OpenShipped(), nullptr);
    CGlazeEditView* view = OpenEdit(0);
    ASSERT_NE(view, nullptr);

    // A recipe of components only goes to the calculator at once, with its lines.
    int rows = -1;
    WhenModal<CBatchCalcDlg>([&rows](CBatchCalcDlg* dialog) {
        rows = dialog->calc.m_originalComponents.GetCount();
        dialog->reject();
    });
    view->BatchCalculation();
    EXPECT_EQ(rows, 6);
    EXPECT_EQ(GlazeForm::IsModified(view), 0) << "a cancelled calculation changes nothing";

    // Optimize asks about unsaved edits first, then opens on the stored glaze's name.
    GlazeForm::SourceEdit(view)->setText(QStringLiteral("edited"));
    m_messages.answers = {MsgResultYes};
    QString title;
    WhenModal<COptimizeDlg>([&title](COptimizeDlg* dialog) {
        title = dialog->windowTitle();
        dialog->reject();
    });
    view->OnCommand(CmdGedOptimize);
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{"Save changes to \"Cone 6 Clear\" ?"}));
    EXPECT_EQ(Found(m_doc->GetGlaze(0)).m_source, "edited");
    EXPECT_TRUE(title.contains(QStringLiteral("Cone 6 Clear"))) << title.toStdString();

    // Open Graph waits for charts and for a graph template.
    EXPECT_FALSE(Enabled(view, CmdGedOpenGraph));
    m_app.m_bGraphsAvailable = 1;
    EXPECT_FALSE(Enabled(view, CmdGedOpenGraph)) << "no graph template";
    m_graphTypes = std::make_unique<CGraphTypesDoc>();
    m_graphTypes->InsertTemplate(0, CGraphTemplate("bars"));
    EXPECT_TRUE(Enabled(view, CmdGedOpenGraph));

    // The graph window is asked for the chosen limit formula and the form's oxide units.
    CGlazeEditView* third = OpenEdit(2);
    EXPECT_NE(third, nullptr);
    CGraphRequestRecorder graphs;
    SetGlazeViews(&graphs);
    view->ShowPage(kPageLimitFormula);
    view->OnCommand(CmdGedOpenGraph); // nothing picked in the list: the glaze's own formula
    GlazeForm::LimitList(view)->setCurrentRow(3);
    view->SetAnalysisMode(2);
    view->OnCommand(CmdGedOpenGraph);
    if (third)
        third->OnCommand(CmdGedOpenGraph); // a form on another glaze asks for that one
    InstallGlazeViews();
    ASSERT_EQ(graphs.requests.size(), 3u);
    EXPECT_EQ(graphs.requests[2].glaze, 2);
    EXPECT_EQ(graphs.requests[0].limitFormula, "Cone 6 gloss, boron-free");
    EXPECT_EQ(graphs.requests[1].glaze, 0);
    EXPECT_EQ(graphs.requests[1].graphTemplate, nullptr) << "the panes drew no template: the first one";
    EXPECT_EQ(graphs.requests[1].limitFormula, "Cone 6 matte");
    EXPECT_EQ(graphs.requests[1].units, 1);
}

// Regression: merging with "replace existing" replaced glazes whose edit windows held unsaved
// edits, and closed those windows, without a word; then it asked every edit window, a Yes saving
// edits the merge overwrote at once, and closed them all, those on glazes it left alone too.
TEST_F(GlazeEditViewRoadTest, MergeReplacingGlazesAsksTheirEditWindowsFirst)
{
    ASSERT_NE(OpenShipped(), nullptr);
    CGlazeEditView* view = OpenEdit(2);
    GlazeForm::SourceEdit(view)->setText(QStringLiteral("my tests"));
    CGlazeEditView* alone = OpenEdit(4);
    GlazeForm::SourceEdit(alone)->setText(QStringLiteral("mine"));
    const std::string source = m_dir.path().toStdString() + "/incoming.glz";
    // With "Sort after merge": the Sort dialog follows only a merge that merged something.
    const auto merge = [this] { MergeReplacing("name   = cone 6 satin matte blue\ncolor = green\n", true); };

    const std::vector<std::string> asked = {"\"Cone 6 Satin Matte Blue\" has unsaved changes and will be replaced by "
                                            "the one merged in. Replace it?"};
    m_messages.answers = {MsgResultNo};
    merge();
    EXPECT_EQ(m_messages.Texts(),
              (std::vector<std::string>{asked[0], "Nothing was merged from " + source +
                                                      ". \"Cone 6 Satin Matte Blue\" was kept with the unsaved "
                                                      "changes in its window."}));
    EXPECT_EQ(m_messages.At(0).type & MsgDefaultMask, unsigned(MsgDefaultButton2)) << "Enter keeps the glaze";
    EXPECT_EQ(Found(m_doc->GetGlaze(2)).m_name, "Cone 6 Satin Matte Blue") << "No keeps the glaze";
    EXPECT_EQ(m_doc->GetGlazeCount(), 10);
    ASSERT_EQ(CountViews<CGlazeEditView>(), 2);
    EXPECT_EQ(GlazeForm::IsModified(view), 1);

    m_messages.boxes.clear();
    m_messages.answers = {MsgResultYes};
    bool sortAsked = false;
    WhenModal<CSortGlazesDlg>([&sortAsked](CSortGlazesDlg* dialog) {
        sortAsked = true;
        dialog->CancelButton()->click();
    });
    merge();
    FlushDeletes();
    EXPECT_TRUE(sortAsked);
    EXPECT_EQ(m_messages.Texts(), asked);
    EXPECT_EQ(Found(m_doc->GetGlaze(2)).m_name, "cone 6 satin matte blue");
    EXPECT_EQ(Found(m_doc->GetGlaze(2)).m_color, "green");
    // The form on the replaced glaze shows the merged one; the other keeps its edits.
    ASSERT_EQ(CountViews<CGlazeEditView>(), 2);
    EXPECT_EQ(GlazeForm::IsModified(view), 0);
    EXPECT_EQ(GlazeForm::NameEdit(view)->text(), QStringLiteral("cone 6 satin matte blue"));
    EXPECT_EQ(GlazeForm::IsModified(alone), 1);
    EXPECT_EQ(GlazeForm::SourceEdit(alone)->text(), QStringLiteral("mine"));
}

// Regression: deleting a glaze from the list closed its edit window and dropped its unsaved
// edits without a word.
TEST_F(GlazeEditViewRoadTest, DeletingGlazesAsksOnlyTheirOwnEditWindows)
{
    ASSERT_NE(OpenShipped(), nullptr);
    CGlazesView* list = ListView();
    ASSERT_NE(list, nullptr);
    CGlazeEditView* doomed = OpenEdit(1);
    CGlazeEditView* later = OpenEdit(4);
    ASSERT_NE(later, nullptr);
    GlazeForm::SourceEdit(doomed)->setText(QStringLiteral("unsaved"));
    GlazeForm::SourceEdit(later)->setText(QStringLiteral("kept"));

    // Both glazes at once: a No to the second keeps both glazes, and the first window, which
    // was answered Yes, keeps its edits too (they went unasked at its Close). Enter answers No.
    list->DeselectAll();
    list->SelectGlaze(1);
    list->SelectGlaze(4);
    m_messages.answers = {MsgResultYes, MsgResultNo};
    ASSERT_TRUE(list->RunCommand(CmdGlzDelete));
    EXPECT_EQ(m_messages.Texts(),
              (std::vector<std::string>{"\"Cone 6 Zircon White\" has unsaved changes and will be deleted. Delete it?",
                                        "\"Cone 10 Tenmoku\" has unsaved changes and will be deleted. Delete it?"}));
    EXPECT_EQ(m_messages.At(1).type & MsgDefaultMask, unsigned(MsgDefaultButton2));
    EXPECT_EQ(m_doc->GetGlazeCount(), 10);
    EXPECT_EQ(GlazeForm::IsModified(doomed), 1);
    EXPECT_EQ(GlazeForm::IsModified(later), 1);
    m_messages.boxes.clear();
    m_messages.answers = {MsgResultCancel};
    GlazeForm::Button(doomed, kGedClose)->click();
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{"Save changes to \"Cone 6 Zircon White\" ?"}));
    m_messages.boxes.clear();

    list->DeselectAll();
    list->SelectGlaze(1);
    m_messages.answers = {MsgResultNo};
    ASSERT_TRUE(list->RunCommand(CmdGlzDelete));
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{
                                      "\"Cone 6 Zircon White\" has unsaved changes and will be deleted. Delete it?"}));
    EXPECT_EQ(m_messages.At(0).Buttons(), unsigned(MsgYesNo));
    EXPECT_EQ(m_doc->GetGlazeCount(), 10) << "No keeps the glaze";

    m_messages.boxes.clear();
    m_messages.answers = {MsgResultYes};
    ASSERT_TRUE(list->RunCommand(CmdGlzDelete));
    FlushDeletes();
    EXPECT_EQ(m_messages.boxes.size(), 1u) << "the window of another glaze is not asked";
    EXPECT_EQ(m_doc->GetGlazeCount(), 9);
    ASSERT_EQ(CountViews<CGlazeEditView>(), 1);

    // The other window stays on its own glaze, one place further up, edits and all.
    EXPECT_EQ(later->GetGlazeIndex(), 3);
    EXPECT_EQ(Title(later), QStringLiteral("Cone 10 Tenmoku"));
    EXPECT_EQ(GlazeForm::SourceEdit(later)->text(), QStringLiteral("kept"));

    // Reordering keeps every window on its own glaze too.
    ASSERT_TRUE(list->RunCommand(CmdGlzAlphabetize));
    const int place = later->GetGlazeIndex();
    ASSERT_GE(place, 0);
    EXPECT_EQ(Found(m_doc->GetGlaze(place)).m_name, "Cone 10 Tenmoku");
    EXPECT_NE(place, 3);
    later->SaveGlaze();
    EXPECT_EQ(Found(m_doc->GetGlaze(place)).m_source, "kept");
    EXPECT_EQ(m_messages.boxes.size(), 1u);

    // Find's Move to New Database asks the window of a glaze it moves before anything happens.
    // Regression: Cancel there opened an empty "Search Results" database and reported the glaze
    // found.
    GlazeForm::SourceEdit(later)->setText(QStringLiteral("kept again"));
    const auto moveTenmoku = [this, list] {
        WhenModal<CFindGlazesDlg>([](CFindGlazesDlg* dialog) {
            QTest::mouseClick(dialog->ClearButton(), Qt::LeftButton);
            QComboBox* fields = dialog->FieldCombo(0);
            fields->setCurrentIndex(fields->findData(kSearchName));
            emit fields->activated(fields->currentIndex());
            QTest::keyClicks(dialog->ValueCombo(0)->lineEdit(), QStringLiteral("Tenmoku"));
            GroupButton(dialog->ActionGroup(), kFindMoveToNewDatabase).click();
            QTest::mouseClick(dialog->SearchButton(), Qt::LeftButton);
        });
        return RunFindGlazes(*m_doc, list, nullptr);
    };
    const std::size_t databases = g_pGlazesTemplate->GetDocuments().size();
    m_messages.boxes.clear();
    m_messages.answers = {MsgResultCancel};
    EXPECT_FALSE(moveTenmoku());
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{"Save changes to \"Cone 10 Tenmoku\" ?"}));
    EXPECT_EQ(g_pGlazesTemplate->GetDocuments().size(), databases) << "no database of results";
    EXPECT_EQ(m_doc->GetGlazeCount(), 9);
    EXPECT_EQ(GlazeForm::SourceEdit(later)->text(), QStringLiteral("kept again"));
    m_messages.boxes.clear();
    m_messages.answers = {MsgResultNo};
    EXPECT_TRUE(moveTenmoku());
    FlushDeletes();
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{"Save changes to \"Cone 10 Tenmoku\" ?",
                                                            "Number of glazes found by search: 1"}));
    EXPECT_EQ(m_doc->GetGlazeCount(), 8);
    EXPECT_EQ(g_pGlazesTemplate->GetDocuments().size(), databases + 1);

    // Over all databases it asks the forms of the glazes it moves in every database, not only in
    // the current one.
    const std::string copy = m_dir.path().toStdString() + "/second.glz";
    ASSERT_TRUE(std::filesystem::copy_file(Shipped("glazes.glz"), copy));
    auto* second = dynamic_cast<CGlazesDoc*>(m_app.OpenAndAnnounce(g_pGlazesTemplate, copy, 5));
    ASSERT_NE(second, nullptr);
    const int elsewhereAt[] = {second->Glazes().m_glazes.FindIndexByName("Cone 10 Tenmoku")};
    ASSERT_GE(elsewhereAt[0], 0);
    ASSERT_TRUE(GetGlazeViews()->OpenEditView(*second, elsewhereAt, false));
    auto* elsewhere = dynamic_cast<CGlazeEditView*>(LastItem(second->GetViews()));
    ASSERT_NE(elsewhere, nullptr);
    GlazeForm::SourceEdit(elsewhere)->setText(QStringLiteral("elsewhere"));
    m_messages.boxes.clear();
    m_messages.answers = {MsgResultCancel};
    WhenModal<CFindGlazesDlg>([](CFindGlazesDlg* dialog) {
        QTest::mouseClick(dialog->ClearButton(), Qt::LeftButton);
        QComboBox* fields = dialog->FieldCombo(0);
        fields->setCurrentIndex(fields->findData(kSearchName));
        emit fields->activated(fields->currentIndex());
        QTest::keyClicks(dialog->ValueCombo(0)->lineEdit(), QStringLiteral("Tenmoku"));
        GroupButton(dialog->DatabasesGroup(), 1).click();
        GroupButton(dialog->ActionGroup(), kFindMoveToNewDatabase).click();
        QTest::mouseClick(dialog->SearchButton(), Qt::LeftButton);
    });
    EXPECT_FALSE(RunFindGlazes(*m_doc, list, nullptr));
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{"Save changes to \"Cone 10 Tenmoku\" ?"}));
    EXPECT_EQ(second->GetGlazeCount(), 10) << "Cancel moves nothing";
    EXPECT_EQ(GlazeForm::SourceEdit(elsewhere)->text(), QStringLiteral("elsewhere"));
    EXPECT_EQ(GlazeForm::IsModified(elsewhere), 1);
    elsewhere->SetChanged(false);
}

// Regression: Set Field, Resequence, Make Substitution and Check Ingredients (Change to) reloaded
// the changed glazes into their edit windows, dropping unsaved edits without a word. The window
// of a glaze the command rewrites is asked first: Cancel changes no glaze, Yes saves the edits
// before the command runs. Then: No at a first window dropped its edits though a second window's
// Cancel stopped the command.
TEST_F(GlazeEditViewRoadTest, ListCommandsAskTheEditWindowsOfTheGlazesTheyRewrite)
{
    ASSERT_NE(OpenShipped(), nullptr);
    for (int glaze : {1, 2}) {
        Found(m_doc->GetGlaze(glaze)).m_components.Add("Mystery", 5);
        Found(m_doc->GetGlaze(glaze)).InvalidateAnalysis();
    }
    // Glaze 3 holds a material twice and a line of 0, as the glaze form saves them: a
    // substitution that does not apply leaves it line for line, and its form unasked.
    CIngredientList& twice = Found(m_doc->GetGlaze(3)).m_components;
    twice = CIngredientList();
    for (const auto& [name, amount] : {std::pair{"Silica", 10.0}, std::pair{"Whiting", 20.0}, std::pair{"Silica", 5.0},
                                       std::pair{"Talc", 0.0}})
        twice.Add(name, amount);
    Found(m_doc->GetGlaze(3)).InvalidateAnalysis();
    const auto linesOf3 = [this] {
        std::vector<std::pair<std::string, double>> found;
        for (const auto& line : Found(m_doc->GetGlaze(3)).m_components)
            found.emplace_back(line->m_name, line->m_amount);
        return found;
    };
    const auto lines3 = linesOf3();
    // "Change to : Potash Feldspar" for the unknown name.
    struct : CCheckIngredientsPrompter {
        int AskUnknown(const std::string& name, int& action, std::string& target) override
        {
            action = name == "Mystery" ? kCheckChangeTo : kCheckNoAction;
            target = "Potash Feldspar";
            return 1;
        }
        int AskUnavailable(const std::string&) override { return kCheckSkipAllId; }
    } prompter;
    CCheckIngredientsOptions prompting;
    prompting.listInformation = 0;
    prompting.prompt = 1;
    const auto mystery = [](const QString& recipe) { return recipe.contains(QStringLiteral("Mystery")); };
    // The substitution takes the unknown name out of glazes 1 and 2; glaze 3, selected too, holds
    // none.
    CSubstitution outOfMystery("Mystery out");
    outOfMystery.m_set1.Add("Mystery", 1);
    outOfMystery.m_set2.Add("Silica", 1);
    m_substitutions.InsertRecord(0, outOfMystery);
    const auto substitute = [this] {
        m_doc->ClearSelection();
        m_doc->SelectGlazes(std::vector<int>{1, 2, 3});
        WhenModal<CChooseSubstitutionDlg>([](CChooseSubstitutionDlg* dialog) { dialog->MakeButton()->click(); });
        ListView()->RunCommand(CmdGlzMakeSubstitution);
    };
    struct Command {
        const char* name;
        std::function<void()> run;
        std::function<bool(CGlazeEditView*)> shown; // the window shows the command's change
        bool leavesGlaze3 = false;                  // a form on glaze 3 is neither asked nor changed
    };
    const Command commands[] = {
        {"Set Field", [this] { ApplySetGlazeField(*m_doc, ListView(), true, kGlazeFieldIndex, "T1"); },
         [](CGlazeEditView* view) { return GlazeForm::IndexEdit(view)->text() == QStringLiteral("T1"); }},
        {"Check Ingredients", [&] { CCheckIngredients(*m_doc, ListView()).Run(prompting, prompter); },
         [&](CGlazeEditView* view) { return !mystery(GlazeForm::ComponentsEdit(view)->toPlainText()); }, true},
        {"Make Substitution", substitute,
         [&](CGlazeEditView* view) { return !mystery(GlazeForm::ComponentsEdit(view)->toPlainText()); }, true},
    };
    for (const Command& command : commands) {
        SCOPED_TRACE(command.name);
        CGlazeEditView* view = OpenEdit(1);
        ASSERT_NE(view, nullptr);
        Focus(view, GlazeForm::SourceEdit(view));
        GlazeForm::SourceEdit(view)->end(false);
        QTest::keyClicks(GlazeForm::SourceEdit(view), " (mine)");
        const QString source = GlazeForm::SourceEdit(view)->text();
        const std::string question = "Save changes to \"Cone 6 Zircon White\" ?";

        // No here, then Cancel at the window of another glaze the command rewrites: every window
        // keeps its edits.
        CGlazeEditView* second = OpenEdit(2);
        ASSERT_NE(second, nullptr);
        Focus(second, GlazeForm::SourceEdit(second));
        QTest::keyClicks(GlazeForm::SourceEdit(second), " (second)");
        const std::string secondName = Found(m_doc->GetGlaze(2)).m_name;
        m_messages.answers = {MsgResultNo, MsgResultCancel};
        command.run();
        EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{question, "Save changes to \"" + secondName + "\" ?"}));
        EXPECT_EQ(GlazeForm::SourceEdit(view)->text(), source);
        EXPECT_EQ(GlazeForm::IsModified(view), 1);
        EXPECT_FALSE(command.shown(view)) << "Cancel changes no glaze";
        second->SetChanged(false);
        second->Close();
        FlushDeletes();
        m_messages.boxes.clear();

        m_messages.answers = {MsgResultCancel};
        command.run();
        ASSERT_FALSE(m_messages.boxes.empty());
        EXPECT_EQ(m_messages.At(0).text, question);
        EXPECT_FALSE(command.shown(view)) << "Cancel changes no glaze";
        EXPECT_EQ(GlazeForm::SourceEdit(view)->text(), source);
        EXPECT_EQ(GlazeForm::IsModified(view), 1);

        CGlazeEditView* alone = command.leavesGlaze3 ? OpenEdit(3) : nullptr;
        if (alone) {
            Focus(alone, GlazeForm::SourceEdit(alone));
            QTest::keyClicks(GlazeForm::SourceEdit(alone), " (alone)");
        }
        m_messages.boxes.clear();
        m_messages.answers = {MsgResultYes};
        command.run();
        ASSERT_FALSE(m_messages.boxes.empty());
        EXPECT_EQ(m_messages.At(0).text, question);
        EXPECT_EQ(Found(m_doc->GetGlaze(1)).m_source, source.toStdString()) << "Yes saved the edits first";
        EXPECT_TRUE(command.shown(view)) << "the window shows its glaze as changed";
        EXPECT_EQ(GlazeForm::IsModified(view), 0);
        if (alone) {
            for (const std::string& asked : m_messages.Texts())
                EXPECT_EQ(asked.find(Found(m_doc->GetGlaze(3)).m_name), std::string::npos) << asked;
            EXPECT_EQ(GlazeForm::IsModified(alone), 1);
            EXPECT_TRUE(GlazeForm::SourceEdit(alone)->text().endsWith(QStringLiteral(" (alone)")));
            EXPECT_EQ(linesOf3(), lines3) << "a glaze the command leaves alone keeps every line";
            alone->SetChanged(false);
            alone->Close();
        }
        m_messages.boxes.clear();
        view->Close();
        FlushDeletes();
        for (int glaze : {1, 2}) { // the unknown name back for the next command
            if (CIngredientList& recipe = Found(m_doc->GetGlaze(glaze)).m_components; recipe.FindIndexByName("Mystery") < 0)
                recipe.Add("Mystery", 5);
        }
    }
}

// Regressions: with two forms on a glaze, one saving the unknown "Mystery" into it and the other
// keeping its edits, Check Ingredients asked the form only after offering the names, and after
// Yes and Yes there (the form's version, without it) said "1 ingredient name changed" though no
// recipe held the name. Then it asked the forms before the dispositions, and a No dropped their
// edits even when the user then cancelled, skipped every name, created a material or looked only
// for unavailable ones, which change no glaze. The forms of the glazes a chosen disposition
// rewrites are asked after the dispositions, and the count says what changed.
TEST_F(GlazeEditViewRoadTest, CheckIngredientsAsksOnlyTheFormsOfTheGlazesItsChoicesRewrite)
{
    ASSERT_NE(OpenShipped(), nullptr);
    CGlazeEditView* kept = OpenEdit(1);
    CGlazeEditView* adder = OpenEdit(1);
    ASSERT_TRUE(kept && adder && kept != adder);
    Focus(kept, GlazeForm::SourceEdit(kept));
    QTest::keyClicks(GlazeForm::SourceEdit(kept), " (mine)");
    CTabEdit* recipe = GlazeForm::ComponentsEdit(adder);
    Focus(adder, recipe);
    recipe->moveCursor(QTextCursor::End);
    for (const char* line : {"Mystery 5", "Enigma 3"}) {
        QTest::keyClick(recipe, Qt::Key_Return);
        QTest::keyClicks(recipe, line);
    }
    const auto holdsMystery = [this] {
        const CIngredientList& lines = Found(m_doc->GetGlaze(1)).m_components;
        return std::any_of(lines.begin(), lines.end(), [](const auto& line) { return line && line->m_name == "Mystery"; });
    };
    m_messages.answers = {MsgResultNo};
    QTest::mouseClick(GlazeForm::Button(adder, kGedSave), Qt::LeftButton);
    ASSERT_TRUE(holdsMystery());
    ASSERT_EQ(GlazeForm::IsModified(kept), 1);
    // Glaze 3 holds only Enigma, which no row rewrites: the form holding edits of it is never asked.
    Found(m_doc->GetGlaze(3)).m_components.Add("Enigma", 2);
    CGlazeEditView* skipped = OpenEdit(3);
    ASSERT_NE(skipped, nullptr);
    GlazeForm::SourceEdit(skipped)->setText(QStringLiteral("skipped"));

    // Answers each name: Mystery with mystery, Enigma with enigma (action, then the result).
    struct : CCheckIngredientsPrompter {
        int AskUnknown(const std::string& name, int& action, std::string& target) override
        {
            asked.push_back(name);
            const auto& [chosen, result] = name == "Mystery" ? mystery : enigma;
            action = chosen;
            target = chosen == kCheckChangeTo ? "Potash Feldspar" : "";
            return result;
        }
        int AskUnavailable(const std::string&) override { return kCheckSkipAllId; }
        std::vector<std::string> asked;
        std::pair<int, int> mystery;
        std::pair<int, int> enigma;
    } prompter;
    struct Row {
        const char* what;
        std::pair<int, int> mystery;
        std::pair<int, int> enigma;
        bool unknown; // looks for unknown materials (else only for unavailable ones)
        std::vector<int> answers;
        std::vector<std::string> messages;
        std::vector<std::string> asked; // the names offered
    };
    const std::string save = "Save changes to \"Cone 6 Zircon White\" ?";
    const Row rows[] = {
        {"Cancel", {kCheckChangeTo, 2}, {kCheckChangeTo, 2}, true, {}, {}, {"Enigma"}},
        {"Skip All", {kCheckChangeTo, 1}, {kCheckNoAction, kCheckSkipAllId}, true, {}, {}, {"Enigma"}},
        {"only unavailable materials", {kCheckChangeTo, 1}, {kCheckChangeTo, 1}, false, {}, {}, {}},
        {"Create new material", {kCheckNoAction, kCheckSkipId}, {kCheckCreate, 1}, true, {MsgResultOk, MsgResultNo},
         {"Summary of changes:\n  1 new material created\n",
          "Don't forget to set up the new materials you created!\nDo you want to edit them now?"},
         {"Enigma", "Mystery"}},
        // The form saves its version, which holds no Mystery: nothing is renamed, and no summary.
        // Glaze 3, flagged for Enigma alone, holds no name a Change to rewrites: its form is not
        // asked.
        {"Change to", {kCheckChangeTo, 1}, {kCheckNoAction, kCheckSkipId}, true, {MsgResultYes, MsgResultYes},
         {save, "\"Cone 6 Zircon White\" was saved in another window since this form showed it. Replace it with this "
                "form's version?"},
         {"Enigma", "Mystery"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        // Each row finds Enigma unknown, whatever the row before created.
        if (const int created = m_materials.FindRecordByName("Enigma"); created >= 0)
            m_materials.DeleteRecords(std::vector<int>{created}, nullptr);
        prompter.asked.clear();
        prompter.mystery = row.mystery;
        prompter.enigma = row.enigma;
        CCheckIngredientsOptions prompting;
        prompting.listInformation = 0;
        prompting.prompt = 1;
        prompting.unknown = row.unknown ? 1 : 0;
        prompting.unavailable = row.unknown ? 0 : 1;
        m_messages.boxes.clear();
        m_messages.answers.assign(row.answers.begin(), row.answers.end());
        CCheckIngredients check(*m_doc, ListView());
        check.Run(prompting, prompter);
        FlushDeletes();
        EXPECT_EQ(m_messages.Texts(), row.messages);
        EXPECT_EQ(prompter.asked, row.asked);
        EXPECT_EQ(check.namesChanged, 0);
        const bool asked = !row.messages.empty() && row.messages.front() == save;
        EXPECT_EQ(holdsMystery(), !asked);
        EXPECT_EQ(GlazeForm::IsModified(kept), asked ? 0 : 1) << "the edits stay unless the form was asked";
    }
    EXPECT_EQ(GlazeForm::IsModified(adder), 0);
    EXPECT_EQ(GlazeForm::ComponentsEdit(adder)->toPlainText(), GlazeForm::ComponentsEdit(kept)->toPlainText())
        << "both forms show the glaze as saved";
    EXPECT_EQ(GlazeForm::IsModified(skipped), 1);
    EXPECT_EQ(GlazeForm::SourceEdit(skipped)->text(), QStringLiteral("skipped"));
}

// A form always saves into its own glaze, even when the list changed under it unannounced.
TEST_F(GlazeEditViewRoadTest, SavingFindsTheStoredGlazeItself)
{
    ASSERT_NE(OpenShipped(), nullptr);
    CGlazeEditView* view = OpenEdit(3);
    ASSERT_NE(view, nullptr);
    GlazeForm::SourceEdit(view)->setText(QStringLiteral("mine"));
    m_doc->InsertGlaze(0, CGlaze("slipped in"));
    view->SaveGlaze();
    EXPECT_EQ(Found(m_doc->GetGlaze(3)).m_name, "Cone 6 Satin Matte Blue");
    EXPECT_NE(Found(m_doc->GetGlaze(3)).m_source, "mine") << "the glaze now at the old place is untouched";
    EXPECT_EQ(Found(m_doc->GetGlaze(4)).m_name, "Cone 10 Celadon");
    EXPECT_EQ(Found(m_doc->GetGlaze(4)).m_source, "mine");
    EXPECT_EQ(view->GetGlazeIndex(), 4);
}

// Regression: Edit twice on a glaze opened the second form exactly over the first; saving one
// reloaded the other, its unsaved changes gone without a question; and once its user kept them,
// its own save replaced the other's without a word. A new form stands offset from the one before.
// A form with unsaved changes asks before it shows what another saved, naming the glaze as saved,
// and asks again before its save replaces that save; No, the default, keeps its changes unsaved
// (Close and Ctrl+S then stay on the glaze). Both forms save, in both orders.
TEST_F(GlazeEditViewRoadTest, TwoFormsOnOneGlazeKeepEachOthersSaves)
{
    ASSERT_NE(OpenShipped(), nullptr);
    const char* const names[] = {"Mine A", "Mine B"};
    const char* const choices[] = {"Celadon", "Cone 10"}; // Glaze Type in the first form, Range in the second
    std::string CGlaze::* const fields[] = {&CGlaze::m_type, &CGlaze::m_range};
    const auto type = [this](CGlazeEditView* view, QLineEdit* field, const char* text) {
        Focus(view, field);
        field->selectAll();
        QTest::keyClicks(field, QString::fromLatin1(text));
    };
    for (const int first : {0, 1}) {
        SCOPED_TRACE(first);
        const int glaze = 2 + first;
        const std::array<CGlazeEditView*, 2> forms = {OpenEdit(glaze), OpenEdit(glaze)};
        ASSERT_NE(forms[0], nullptr);
        ASSERT_NE(forms[1], nullptr);
        ASSERT_NE(forms[0], forms[1]);
        FlushDeletes();
        const QRect firstPlace = Control(dynamic_cast<QMdiSubWindow*>(forms[0]->GetFrame())).geometry();
        const QRect secondPlace = Control(dynamic_cast<QMdiSubWindow*>(forms[1]->GetFrame())).geometry();
        EXPECT_EQ(firstPlace.size(), secondPlace.size());
        EXPECT_GT(secondPlace.x(), firstPlace.x());
        EXPECT_GT(secondPlace.y(), firstPlace.y());
        const std::string before = Found(m_doc->GetGlaze(glaze)).*fields[first];
        for (int k : {0, 1}) {
            type(forms[k], GlazeForm::NameEdit(forms[k]), names[k]);
            type(forms[k], GlazeForm::ChoiceBox(forms[k], k)->lineEdit(), choices[k]);
        }
        CGlazeEditView* saver = forms[first];
        CGlazeEditView* asked = forms[1 - first];
        const std::string saved = std::string("\"") + names[first] + "\"";
        m_messages.answers = {MsgResultNo};
        QTest::mouseClick(GlazeForm::Button(saver, kGedSave), Qt::LeftButton);
        EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{saved + " has been saved in another window. Show it as "
                                                                       "saved there, dropping the unsaved changes in this window?"});
        EXPECT_EQ(m_frame.ActiveView(), asked) << "the form that asks comes forward";
        EXPECT_EQ(GlazeForm::NameEdit(asked)->text(), QString::fromLatin1(names[1 - first]));

        // The asked form's save asks before it replaces the other's; No keeps its edits on the form.
        const std::string replace = saved + " was saved in another window since this form showed it. Replace it with "
                                            "this form's version?";
        m_messages.boxes.clear();
        if (first == 0) {
            m_messages.answers = {MsgResultYes, MsgResultNo};
            QTest::mouseClick(GlazeForm::Button(asked, kGedClose), Qt::LeftButton);
            EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{std::string("Save changes to \"") + names[1] + "\" ?", replace}));
        } else {
            m_messages.answers = {MsgResultNo};
            QTest::keyClick(GlazeForm::NameEdit(asked), Qt::Key_S, Qt::ControlModifier);
            EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{replace});
        }
        EXPECT_EQ(m_messages.Last().type & MsgDefaultMask, unsigned(MsgDefaultButton2));
        EXPECT_EQ(asked->GetGlazeIndex(), glaze) << "the form stays on its glaze";
        EXPECT_EQ(GlazeForm::IsModified(asked), 1);
        EXPECT_EQ(GlazeForm::NameEdit(asked)->text(), QString::fromLatin1(names[1 - first]));
        EXPECT_EQ(Found(m_doc->GetGlaze(glaze)).m_name, names[first]);

        // Yes replaces it; the other form, unchanged since its save, shows the result.
        m_messages.boxes.clear();
        m_messages.answers = {MsgResultYes};
        QTest::mouseClick(GlazeForm::Button(asked, kGedSave), Qt::LeftButton);
        EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{replace});
        const CGlaze& stored = Found(m_doc->GetGlaze(glaze));
        EXPECT_EQ(stored.m_name, names[1 - first]);
        EXPECT_EQ(stored.*fields[1 - first], choices[1 - first]);
        EXPECT_EQ(stored.*fields[first], before) << "the user chose to replace the other's save";
        EXPECT_EQ(GlazeForm::IsModified(asked), 0);
        EXPECT_EQ(GlazeForm::IsModified(saver), 0);
        EXPECT_EQ(GlazeForm::NameEdit(saver)->text(), QString::fromLatin1(names[1 - first]));
        // Shown anew (Undo Changes) or kept beside the other's save (Save as New), the glaze is
        // asked about no more.
        type(asked, GlazeForm::NameEdit(asked), "mine");
        type(saver, GlazeForm::NameEdit(saver), "again");
        m_messages.answers = {MsgResultNo};
        QTest::mouseClick(GlazeForm::Button(saver, kGedSave), Qt::LeftButton);
        m_messages.boxes.clear();
        if (first == 0) {
            QTest::mouseClick(GlazeForm::Button(asked, kGedUndo), Qt::LeftButton);
            type(asked, GlazeForm::NameEdit(asked), "mine");
            QTest::mouseClick(GlazeForm::Button(asked, kGedSave), Qt::LeftButton);
        } else {
            EXPECT_TRUE(asked->OnCommand(CmdGedSaveAsNew));
        }
        EXPECT_TRUE(m_messages.boxes.empty());
        EXPECT_EQ(Found(m_doc->GetGlaze(glaze)).m_name, first == 0 ? "mine" : "again");
        EXPECT_EQ(Found(m_doc->GetGlaze(glaze + first)).m_name, "mine");
    }
}

// The glaze forms on the roads of the record forms' table (RecordEditViewTest): a form holds the
// unsaved name "Mine held" over a glaze, and a second form is open on the same glaze; with
// otherSaved, that one saved "Mine saved" first and the held form kept its edits; with otherHolds,
// it holds the unsaved name "Mine other". "#" stands for the glaze's stored name, "%" for the name
// the second form saved, "$" for the database's file.
// Regressions: Save as New moved the other form to the new copy and asked it about a glaze it
// never showed; a No to "Replace it with this form's version?" stopped the database's Save and a
// Merge without a word; Revert closed forms holding edits without a question. Then: No to a first
// form dropped its edits though a Cancel at the second stopped the command; Revert asked a save
// question whose Yes it undid, and dropped the edits when it could not read the file; a form
// closed by its title bar after keeping the stored version lost its edits; a second form on the
// glaze was asked three questions by one save.
TEST_F(GlazeEditViewRoadTest, EveryRoadToAGlazeAsksItsFormsFirst)
{
    // RevertCut: another program cut the file in the middle of a line half way through it.
    // MergeWithNew: the file holds the glaze and a new "Delta <g>", and a report window is open on the
    // next glaze, which the merge leaves alone.
    enum class Road { OtherFormSaves, DatabaseSave, MergeReplacing, MergeTwice, MergeWithNew, Revert, RevertGone,
                      RevertCut, Delete, SaveAsNew, TitleBar, Exit, SetField };
    struct CRow {
        const char* what;
        Road road;
        bool otherSaved;
        std::vector<int> answers;
        std::vector<const char*> questions;
        const char* heldOn;             // the stored glaze the held form shows; null: closed
        std::vector<const char*> file;  // the names from the glaze on in the file after the road
        bool otherHolds = false;
        bool heldKeeps = true; // the held form still holds its edits (else it shows heldOn as stored)
        bool appends = false;  // "Delta <g>" was appended
    };
    const char* save = "Save changes to \"Mine held\" ?";
    const char* saveOther = "Save changes to \"Mine other\" ?";
    const char* replace = "\"%\" was saved in another window since this form showed it. Replace it with this form's "
                          "version?";
    const char* revert = "Revert To Saved drops the unsaved changes to $ and in \"Mine held\".";
    const char* merged = "\"%\" has unsaved changes in its window (\"Mine held\") and will be replaced by the one "
                         "merged in. Replace it?";
    const char* replaceHeld = "\"Mine held\" will be saved from another window first. Replace it with this form's "
                              "version?";
    const char* heldStays = "\"Mine held\" stays open with its unsaved changes, so the command goes no further.";
    const char* otherStays = "\"Mine other\" stays open with its unsaved changes, so the command goes no further.";
    const std::vector<CRow> rows = {
        {"another form saves", Road::OtherFormSaves, false, {MsgResultNo},
         {"\"%\" has been saved in another window. Show it as saved there, dropping the unsaved changes in this window?"},
         "%", {"%"}},
        {"the database's Save, keeping the stored version", Road::DatabaseSave, true, {MsgResultYes, MsgResultNo},
         {save, replace}, "%", {"%"}},
        {"Merge replacing, No keeps the glaze and the edits", Road::MergeReplacing, true, {MsgResultNo},
         {merged, "Nothing was merged from &/incoming.glz. \"%\" was kept with the unsaved changes in its window "
                  "(\"Mine held\")."},
         "%", {"%"}},
        // A No keeps its glaze and merges the rest; Enter is that No; Cancel merges nothing.
        {"Merge replacing and appending, No merges the rest", Road::MergeWithNew, false, {MsgResultNo},
         {merged, "Merged from &/incoming.glz: 1 appended, 0 replaced. \"%\" was kept with the unsaved changes in "
                  "its window (\"Mine held\")."},
         "#", {"#"}, false, true, true},
        {"Merge replacing and appending, Enter merges the rest", Road::MergeWithNew, false, {},
         {merged, "Merged from &/incoming.glz: 1 appended, 0 replaced. \"%\" was kept with the unsaved changes in "
                  "its window (\"Mine held\")."},
         "#", {"#"}, false, true, true},
        {"Merge replacing and appending, Cancel merges nothing", Road::MergeWithNew, false, {MsgResultCancel},
         {merged, "Nothing was merged from &/incoming.glz."}, "#", {"#"}, false, true, false},
        {"Merge replacing and appending, Yes replaces and appends", Road::MergeWithNew, false, {MsgResultYes},
         {merged}, "#", {"#"}, false, false, true},
        {"Revert To Saved, cancelled", Road::Revert, true, {MsgResultCancel}, {revert}, "%", {"%"}},
        {"Revert To Saved", Road::Revert, true, {MsgResultOk}, {revert}, nullptr, {"#"}},
        {"Revert To Saved of a file that is gone keeps the glazes and the edits", Road::RevertGone, true,
         {MsgResultOk, MsgResultOk}, {revert, "$: Error opening file"}, "%", {"%"}},
        {"Delete, keeping the glaze", Road::Delete, false, {MsgResultNo},
         {"\"%\" has unsaved changes in its window (\"Mine held\") and will be deleted. Delete it?"}, "#", {"#"}},
        {"another form's Save as New", Road::SaveAsNew, false, {}, {}, "#", {"#", "# (new)"}},
        {"Merge replacing, Yes to the first form, No to the second", Road::MergeReplacing, false,
         {MsgResultYes, MsgResultNo},
         {merged,
          "\"%\" has unsaved changes in its window (\"Mine other\") and will be replaced by the one merged in. Replace "
          "it?",
          "Nothing was merged from &/incoming.glz. \"%\" was kept with the unsaved changes in its window (\"Mine "
          "other\")."},
         "#", {"#"}, true},
        {"the database's Save, Yes to both forms: the second replaces the first's version", Road::DatabaseSave, false,
         {MsgResultYes, MsgResultYes, MsgResultYes}, {save, saveOther, replaceHeld}, "Mine other", {"Mine other"}, true,
         false},
        {"the title bar's close, keeping the stored version", Road::TitleBar, true, {MsgResultYes, MsgResultNo},
         {save, replace}, "%", {"%"}},
        {"Exit, keeping the stored version", Road::Exit, true, {MsgResultYes, MsgResultNo}, {save, replace, heldStays},
         "%", {"%"}},
        // Enter at the question keeps the held form's version and the other form's edits.
        {"Exit, Yes to both forms, then Enter", Road::Exit, false, {MsgResultYes, MsgResultYes},
         {save, saveOther, replaceHeld, otherStays}, "Mine held", {"Mine held"}, true, false},
        {"Set Field, Yes to both forms, then Enter", Road::SetField, false, {MsgResultYes, MsgResultYes},
         {save, saveOther, replaceHeld}, "Mine held", {"Mine held"}, true, false},
        {"the database's Save, Yes to both forms: the second keeps the first's version", Road::DatabaseSave, false,
         {MsgResultYes, MsgResultYes, MsgResultNo}, {save, saveOther, replaceHeld}, "Mine held", {"Mine held"}, true,
         false},
        {"the database's Save, Yes to both forms, then Cancel", Road::DatabaseSave, false,
         {MsgResultYes, MsgResultYes, MsgResultCancel}, {save, saveOther, replaceHeld}, "#", {"#"}, true},
        {"Merge replacing, Yes: the form shows the merged glaze", Road::MergeReplacing, true, {MsgResultYes}, {merged},
         "%", {"%"}, false, false},
        // One glaze replaced, twice: the file's second one, green, stands, and the user is told.
        {"Merge replacing a name the file holds twice", Road::MergeTwice, true, {MsgResultYes},
         {merged, "Merged from &/incoming.glz: 0 appended, 1 replaced. The file holds \"%\" 2 times; the last of them "
                  "stands."},
         "%", {"%"}, false, false},
        // "@" is the question about the file cut short. The last row leaves half the glazes.
        {"Revert To Saved of a file cut short, cancelled, keeps the glazes and the edits", Road::RevertCut, true,
         {MsgResultOk, MsgResultCancel, MsgResultYes}, {revert, "@"}, "%", {"%"}},
        {"Revert To Saved of a file cut short, reverting all the same", Road::RevertCut, true,
         {MsgResultOk, MsgResultOk}, {revert, "@"}, nullptr, {}},
    };
    ASSERT_NE(OpenCopy(), nullptr);
    // Each road on a glaze of its own: the shipped glazes are copied under new names until there
    // are as many as roads, and saved, so that no road meets what an earlier one left.
    for (int k = m_doc->GetGlazeCount(); k < static_cast<int>(std::size(rows)); ++k) {
        CGlaze copy = Found(m_doc->GetGlaze(k % 10));
        copy.m_name += " " + std::to_string(k);
        m_doc->InsertGlaze(k, copy);
    }
    ASSERT_TRUE(m_doc->OnSaveDocument(m_path));
    const auto type = [this](CGlazeEditView* view, const char* text) {
        Focus(view, GlazeForm::NameEdit(view));
        GlazeForm::NameEdit(view)->selectAll();
        QTest::keyClicks(GlazeForm::NameEdit(view), QString::fromLatin1(text));
    };
    const auto named = [this](const char* text, const std::string& stored, const std::string& saved) {
        std::string result = text;
        for (const auto& [mark, name] : {std::pair{'#', stored}, std::pair{'%', saved}, std::pair{'$', m_path},
                                         std::pair{'&', m_dir.path().toStdString()}}) {
            if (const std::size_t at = result.find(mark); at != std::string::npos)
                result.replace(at, 1, name);
        }
        return result;
    };
    std::string cutShort; // the question about the file cut short
    const auto names = [&named, &cutShort](const std::vector<const char*>& texts, const std::string& stored,
                                           const std::string& saved) {
        std::vector<std::string> result;
        for (const char* text : texts)
            result.push_back(std::string(text) == "@" ? cutShort : named(text, stored, saved));
        return result;
    };
    int g = 0;
    for (const CRow& row : rows) {
        SCOPED_TRACE(row.what);
        const std::string stored = Found(m_doc->GetGlaze(g)).m_name;
        CGlazeEditView* held = OpenEdit(g);
        CGlazeEditView* other = OpenEdit(g);
        ASSERT_TRUE(held && other && held != other);
        type(held, "Mine held");
        // Saved under a name of its own, so that a merge finds this glaze alone by its name.
        const std::string saved =
            row.otherSaved || row.road == Road::OtherFormSaves ? "Mine saved " + std::to_string(g) : stored;
        if (row.otherSaved) {
            m_messages.answers = {MsgResultNo};
            type(other, saved.c_str());
            QTest::mouseClick(GlazeForm::Button(other, kGedSave), Qt::LeftButton);
        }
        if (row.otherHolds)
            type(other, "Mine other");
        CCmdUI revertState(CmdRevertGlazeDb);
        EXPECT_TRUE(m_doc->OnUpdateCommand(revertState));
        EXPECT_TRUE(revertState.m_bEnabled) << "Revert To Saved is offered while a form holds edits";
        m_messages.boxes.clear();
        m_messages.answers.assign(row.answers.begin(), row.answers.end());
        switch (row.road) {
        case Road::OtherFormSaves:
            type(other, saved.c_str());
            QTest::mouseClick(GlazeForm::Button(other, kGedSave), Qt::LeftButton);
            break;
        case Road::DatabaseSave: EXPECT_TRUE(m_doc->OnCommand(CmdSaveGlazeDb)); break;
        case Road::MergeReplacing: MergeReplacing("name   = " + saved + "\ncolor = green\n"); break;
        case Road::MergeTwice:
            MergeReplacing("name   = " + saved + "\ncolor = blue\n\nname   = " + saved + "\ncolor = green\n");
            EXPECT_EQ(Found(m_doc->GetGlaze(g)).m_color, "green");
            break;
        case Road::MergeWithNew: {
            CGlazeAnalysisView* report = OpenReport(g + 1);
            ASSERT_NE(report, nullptr);
            const int count = m_doc->GetGlazeCount();
            MergeReplacing("name   = " + saved + "\ncolor = green\n\nname   = Delta " + std::to_string(g) + "\n");
            ASSERT_FALSE(m_messages.boxes.empty());
            EXPECT_EQ(m_messages.At(0).type & MsgDefaultMask, unsigned(MsgDefaultButton2)) << "Enter keeps the edits";
            EXPECT_EQ(m_doc->GetGlazeCount(), count + (row.appends ? 1 : 0));
            FlushDeletes();
            const std::vector<CView*>& open = m_doc->GetViews();
            EXPECT_NE(std::find(open.begin(), open.end(), static_cast<CView*>(report)), open.end())
                << "the report on a glaze the merge left alone stays open";
            if (std::find(open.begin(), open.end(), static_cast<CView*>(report)) != open.end())
                report->GetFrame()->CloseFrame();
            FlushDeletes();
            break;
        }
        case Road::Revert:
            EXPECT_TRUE(m_doc->OnCommand(CmdRevertGlazeDb));
            ASSERT_FALSE(m_messages.boxes.empty());
            EXPECT_EQ(m_messages.At(0).type & MsgDefaultMask, unsigned(MsgDefaultButton2)) << "Enter keeps the edits";
            break;
        case Road::RevertCut: {
            std::string bytes;
            {
                std::ifstream in(m_path, std::ios::binary);
                bytes.assign(std::istreambuf_iterator<char>(in), {});
            }
            bytes.resize(bytes.find('=', bytes.size() / 2) + 3);
            std::ofstream(m_path, std::ios::binary | std::ios::trunc) << bytes;
            cutShort = m_path + ": \"" + bytes.substr(bytes.rfind('\n') + 1) +
                       "\" ends the file without a line break, so the file may have been cut short (line " +
                       std::to_string(std::count(bytes.begin(), bytes.end(), '\n') + 1) + "). Revert to it anyway?";
            const int before = m_doc->GetGlazeCount();
            EXPECT_TRUE(m_doc->OnCommand(CmdRevertGlazeDb));
            ASSERT_EQ(m_messages.boxes.size(), 2u);
            EXPECT_EQ(m_messages.At(1).type & MsgDefaultMask, unsigned(MsgDefaultButton2)) << "Enter keeps all";
            EXPECT_EQ(m_doc->IsModified(), row.heldOn != nullptr);
            EXPECT_EQ(m_doc->GetGlazeCount() < before, row.heldOn == nullptr);
            break;
        }
        case Road::RevertGone:
            std::filesystem::remove(m_path);
            EXPECT_TRUE(m_doc->OnCommand(CmdRevertGlazeDb));
            EXPECT_TRUE(m_doc->IsModified()) << "nothing was reverted";
            EXPECT_EQ(m_doc->GetPathName(), m_path);
            break;
        case Road::TitleBar: dynamic_cast<QMdiSubWindow*>(held->GetFrame())->close(); break;
        case Road::Exit: EXPECT_FALSE(m_doc->SaveModified(SaveModifiedFor::Closing)); break;
        case Road::SetField: ApplySetGlazeField(*m_doc, ListView(), true, kGlazeFieldIndex, "T1"); break;
        case Road::Delete:
            m_doc->ClearSelection();
            m_doc->SelectGlaze(g);
            EXPECT_TRUE(ListView()->RunCommand(CmdGlzDelete));
            break;
        case Road::SaveAsNew: EXPECT_TRUE(other->OnCommand(CmdGedSaveAsNew)); break;
        }
        FlushDeletes();
        EXPECT_EQ(m_messages.Texts(), names(row.questions, stored, saved));
        const std::vector<CView*>& views = m_doc->GetViews();
        const bool heldOpen = std::find(views.begin(), views.end(), static_cast<CView*>(held)) != views.end();
        EXPECT_EQ(heldOpen, row.heldOn != nullptr);
        if (row.heldOn && heldOpen) {
            EXPECT_EQ(GlazeForm::IsModified(held), row.heldKeeps ? 1 : 0);
            EXPECT_EQ(GlazeForm::NameEdit(held)->text().toStdString(),
                      row.heldKeeps ? "Mine held" : named(row.heldOn, stored, saved));
            EXPECT_EQ(held->GetGlazeIndex(), g);
            EXPECT_EQ(Found(m_doc->GetGlaze(g)).m_name, named(row.heldOn, stored, saved));
        }
        const bool otherKeeps = row.otherHolds && (row.heldKeeps || named(row.heldOn, stored, saved) == "Mine held");
        if (row.otherHolds && !otherKeeps)
            EXPECT_EQ(GlazeForm::IsModified(other), 0) << "both forms saved";
        else if (row.otherHolds) {
            EXPECT_EQ(GlazeForm::NameEdit(other)->text(), QStringLiteral("Mine other")) << "kept";
            EXPECT_EQ(GlazeForm::IsModified(other), 1);
        }
        if (row.road == Road::SaveAsNew) {
            EXPECT_EQ(other->GetGlazeIndex(), g + 1) << "the saving form shows the new glaze";
            EXPECT_EQ(Title(other).toStdString(), stored + " (new)");
        }
        if (row.road == Road::DatabaseSave)
            EXPECT_FALSE(m_doc->IsModified()) << "the file was written";
        else
            ASSERT_TRUE(m_doc->OnSaveDocument(m_path));
        CGlazesDoc file;
        ASSERT_TRUE(file.OnOpenDocument(m_path));
        const std::vector<std::string> expected = names(row.file, stored, saved);
        for (std::size_t k = 0; k < expected.size(); ++k)
            EXPECT_EQ(Found(file.GetGlaze(g + static_cast<int>(k))).m_name, expected[k]);

        // The next step: the held form saves over the glaze it shows, asking first where another
        // window saved it meanwhile; a second form that kept its edits hears of it.
        if (row.heldOn && heldOpen && row.heldKeeps) {
            m_messages.boxes.clear();
            m_messages.answers = {MsgResultYes, MsgResultYes};
            QTest::mouseClick(GlazeForm::Button(held, kGedSave), Qt::LeftButton);
            std::vector<const char*> asked;
            if (saved != stored)
                asked.push_back(replace);
            if (row.otherHolds)
                asked.push_back("\"Mine held\" has been saved in another window. Show it as saved there, dropping the "
                                "unsaved changes in this window?");
            EXPECT_EQ(m_messages.Texts(), names(asked, stored, saved));
            EXPECT_EQ(Found(m_doc->GetGlaze(g)).m_name, "Mine held");
        }
        for (CView* window : std::vector<CView*>(m_doc->GetViews())) {
            if (auto* form = dynamic_cast<CGlazeEditView*>(window)) {
                form->SetChanged(false);
                form->GetFrame()->CloseFrame();
            }
        }
        FlushDeletes();
        m_messages.boxes.clear();
        ++g;
    }
}

// Regression: a refused line's message came at every focus change, the menu bar's too, where it
// swallowed the click that opened a menu. It comes when the field is left for another control
// of the form, or when a command runs; the menu bar, another window or a message box taking the
// focus leave the field as it is, untold.
TEST_F(GlazeEditViewRoadTest, ARefusedLineIsToldWhenItsFieldIsLeftWithinTheForm)
{
    CGlazeEditView* view = OpenEmptyRecipe(0);
    ASSERT_NE(view, nullptr);
    CTabEdit* field = GlazeForm::ComponentsEdit(view);
    QLineEdit* batch = GlazeForm::BatchSizeEdit(view);
    QTest::keyClicks(field, "Talc 1,5");
    const std::vector<std::string> refusal = {
        "The amount of \"Talc 1,5\" is not a number. Please enter a number between 0 and 999999999."};
    const auto told = [this] {
        QApplication::processEvents(); // the user's next action
        const std::vector<std::string> texts = m_messages.Texts();
        m_messages.boxes.clear();
        return texts;
    };
    told();
    m_frame.menuBar()->setFocus(Qt::MenuBarFocusReason);
    EXPECT_EQ(told(), std::vector<std::string>{}) << "the menu bar";
    field->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(told(), std::vector<std::string>{}) << "back from the menu bar";
    m_frame.menuBar()->setFocus(Qt::MenuBarFocusReason);
    batch->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(told(), refusal) << "from the menu bar on to another control";
    Focus(view, field);
    Control(dynamic_cast<QWidget*>(ListView())).setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(told(), std::vector<std::string>{}) << "the glaze list's window";
    Focus(view, field);
    told();
    batch->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(told(), refusal);
    // A command chosen from the menu bar with the keyboard commits the field the bar took the
    // focus from.
    Focus(view, field);
    told();
    m_frame.menuBar()->setFocus(Qt::MenuBarFocusReason);
    EXPECT_FALSE(m_frame.ExecuteCommand(CmdGlazeWriteRecipe));
    EXPECT_EQ(told(), refusal);
    EXPECT_TRUE(m_dialogs.requests.empty());
    EXPECT_EQ(field->toPlainText(), QStringLiteral("Talc 1,5"));
}
