#include "GlazeEditViewFixture.h"
#include "ui/support/CheckedWidgets.h"
#include "core/support/CheckedItems.h"
#include "ui/support/OverlapCheck.h"

#include "framework/Cp1252.h"
#include "framework/Cp1252Fields.h"
#include "framework/MessageService.h"
#include "framework/UpdateHint.h"
#include "glazes/GlazeClipboard.h"
#include "glazes/IngredientList.h"
#include "glazes/InsightImport.h"
#include "glazes/ScaleToIngredientDlg.h"
#include "limits/LimitFormulaDB.h"
#include "materials/MaterialsDoc.h"
#include "substitutions/ChooseSubstitutionDlg.h"
#include "support/MessagePath.h"
#include "support/NotesEdit.h"
#include "support/SelectOneDlg.h"
#include "support/TabEdit.h"
#include "support/ToggleButton.h"
#include "tools/BatchScopeDlg.h"

#include <QComboBox>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include <filesystem>
#include <fstream>

#include <unistd.h>

namespace {

class GlazeEditViewTest : public GlazeEditViewFixture {
protected:
    static QString Title(CGlazeEditView* view)
    {
        return Control(dynamic_cast<QMdiSubWindow*>(view->GetFrame())).windowTitle();
    }
    static void SetText(QPlainTextEdit* box, const char* text) { box->setPlainText(QString::fromLatin1(text)); }
};

constexpr const char* kClearComponents = "Nepheline Syenite\t    20\nWollastonite\t    15\nWhiting\t      8\n"
                                         "Zinc Oxide\t      5\nKaolin\t    20\nSilica\t    32";

} // namespace

TEST_F(GlazeEditViewTest, ChangingAnAmountAndSavingAnnouncesTheGlazeAndTheListFollows)
{
    ASSERT_NE(OpenShipped(), nullptr);
    CGlazesView* list = ListView();
    ASSERT_NE(list, nullptr);
    ASSERT_TRUE(list->RunCommand(CmdGlzExtendedView3));
    const std::string rowBefore = list->GetText(0);

    CGlazeEditView* view = OpenEdit(0);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(m_frame.CurrentMenuResource(), kGlazeEditResourceId);
    EXPECT_EQ(GlazeForm::NameEdit(view)->text(), QStringLiteral("Cone 6 Clear"));
    EXPECT_EQ(Title(view), QStringLiteral("Cone 6 Clear"));
    EXPECT_EQ(GlazeForm::IndexEdit(view)->text(), QStringLiteral("G1"));
    EXPECT_EQ(GlazeForm::ChoiceBox(view, 1)->currentText(), QStringLiteral("5-6"));
    EXPECT_EQ(GlazeForm::ChoiceBox(view, 2)->currentText(), QStringLiteral("oxidation"));
    EXPECT_EQ(GlazeForm::ComponentsEdit(view)->toPlainText(), QString::fromLatin1(kClearComponents));
    EXPECT_EQ(GlazeForm::BatchSizeEdit(view)->text(), QStringLiteral("100"));
    EXPECT_EQ(GlazeForm::RecipeSizeLabel(view)->text(), QStringLiteral("Recipe size : 100 g"));
    EXPECT_EQ(GlazeForm::MaterialList(view)->count(), m_materials.Materials().GetCount());
    EXPECT_EQ(GlazeForm::CurrentPage(view), kPageDescription);
    EXPECT_EQ(GlazeForm::IsModified(view), 0);
    EXPECT_FALSE(GlazeForm::Button(view, kGedSave)->isEnabled());
    EXPECT_EQ(GlazeForm::Button(view, kGedPrevious)->text(), QStringLiteral("Insert New"));
    EXPECT_EQ(GlazeForm::Button(view, kGedNext)->text(), QStringLiteral("Edit Next"));
    TakeNotices();

    // Whiting from 8 to 18, typed over the amount.
    view->ShowPage(kPageRecipe);
    QTextCursor cursor = GlazeForm::ComponentsEdit(view)->document()->find(QStringLiteral("      8"));
    ASSERT_FALSE(cursor.isNull());
    cursor.insertText(QStringLiteral("     18"));
    EXPECT_EQ(GlazeForm::IsModified(view), 1);
    EXPECT_TRUE(GlazeForm::Button(view, kGedSave)->isEnabled());
    ASSERT_GE(Found(m_doc->GetGlaze(0)).m_components.GetCount(), 3);
    EXPECT_EQ(RecordAt(Found(m_doc->GetGlaze(0)).m_components, 2).m_amount, 8.0) << "edits stay in the form until saved";

    QTest::mouseClick(GlazeForm::Button(view, kGedSave), Qt::LeftButton);
    ASSERT_GE(Found(m_doc->GetGlaze(0)).m_components.GetCount(), 3);
    EXPECT_EQ(RecordAt(Found(m_doc->GetGlaze(0)).m_components, 2).m_amount, 18.0);
    EXPECT_EQ(TakeNotices(), (std::vector<std::pair<int, int>>{{HintGlazeChanged, 0}}));
    EXPECT_NE(list->GetText(0), rowBefore) << "the list row shows the new chemistry";
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_EQ(GlazeForm::IsModified(view), 0);
    EXPECT_TRUE(m_messages.boxes.empty());
}

TEST_F(GlazeEditViewTest, NoControlOfAPageCoversAnother)
{
    ASSERT_NE(OpenShipped(), nullptr);
    CGlazeEditView* view = OpenEdit(0);
    ASSERT_NE(view, nullptr);
    for (int page = 1; page <= kGlazeEditPageCount; ++page) {
        view->ShowPage(page);
        QWidget* widget = GlazeForm::Page(view, page);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(OverlappingControls(*widget), std::vector<std::string>()) << "page " << page;
    }
}

TEST_F(GlazeEditViewTest, MaterialNamesCompleteOnTabAndEnter)
{
    CGlazeEditView* view = OpenEmptyRecipe(0);
    ASSERT_NE(view, nullptr);
    CTabEdit* field = GlazeForm::ComponentsEdit(view);
    ASSERT_NE(field, nullptr);
    ASSERT_TRUE(field->hasFocus());

    QTest::keyClicks(field, "wollas");
    QTest::keyClick(field, Qt::Key_Tab);
    EXPECT_EQ(field->toPlainText(), QStringLiteral("Wollastonite\t"));
    QTest::keyClicks(field, "15");
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(field->toPlainText(), QStringLiteral("Wollastonite\t    15\n"));
    QTest::keyClicks(field, "whiting 8");
    QTest::keyClick(field, Qt::Key_Return);
    QTest::keyClicks(field, "silica");
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(field->toPlainText(), QStringLiteral("Wollastonite\t    15\nWhiting\t      8\n\n"))
        << "a line without an amount is cleared";
    QTest::keyClicks(field, "K");
    QTest::keyClick(field, Qt::Key_Tab);
    EXPECT_EQ(field->toPlainText(), QStringLiteral("Wollastonite\t    15\nWhiting\t      8\n\nK")) << "two materials begin with K";
    EXPECT_EQ(GlazeForm::IsModified(view), 1);

    // Leaving the field puts every line in its written form and updates the recipe size.
    QTest::keyClicks(field, "aolin 20.50");
    GlazeForm::AdditionsEdit(view)->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(field->toPlainText(), QStringLiteral("Wollastonite\t    15\nWhiting\t      8\nKaolin\t    20.5"));
    EXPECT_EQ(GlazeForm::RecipeSizeLabel(view)->text(), QStringLiteral("Recipe size : 43.5 g"));
    EXPECT_EQ(GlazeForm::LastRecipeField(view), 0);

    // A material picked in the list goes into the field left last.
    view->InsertMaterial(0);
    EXPECT_EQ(field->toPlainText(), QStringLiteral("Wollastonite\t    15\nWhiting\t      8\nKaolin\t    20.5\nSilica\t100\n"));

    // Tab after blanks alone takes the blanks away and leaves the line above as it stands: its
    // amount, taken out to be typed again, is no line break's finished line to clear.
    Focus(view, field);
    QTest::keyClick(field, Qt::Key_Up);
    QTest::keyClick(field, Qt::Key_End);
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClick(field, Qt::Key_Down);
    QTest::keyClicks(field, "  ");
    QTest::keyClick(field, Qt::Key_Tab);
    EXPECT_EQ(field->toPlainText(), QStringLiteral("Wollastonite\t    15\nWhiting\t      8\nKaolin\t    20.5\nSilica\t\n"));
}

TEST_F(GlazeEditViewTest, LeavingWithChangesAsksWhetherToSave)
{
    ASSERT_NE(OpenShipped(), nullptr);
    CGlazeEditView* view = OpenEdit(0);
    ASSERT_NE(view, nullptr);
    GlazeForm::IndexEdit(view)->setText(QStringLiteral("G1a"));
    m_messages.answers = {MsgResultCancel};
    view->EditNext();
    ASSERT_EQ(m_messages.boxes.size(), 1u);
    EXPECT_EQ(m_messages.At(0).text, "Save changes to \"Cone 6 Clear\" ?");
    EXPECT_EQ(m_messages.At(0).Buttons(), unsigned(MsgYesNoCancel));
    EXPECT_EQ(m_messages.At(0).Icon(), unsigned(MsgIconQuestion));
    EXPECT_EQ(m_messages.At(0).helpId, 196928u);
    EXPECT_EQ(view->GetGlazeIndex(), 0) << "Cancel stays";

    m_messages.answers = {MsgResultNo};
    view->EditNext();
    EXPECT_EQ(view->GetGlazeIndex(), 1);
    EXPECT_EQ(Found(m_doc->GetGlaze(0)).m_index, "G1") << "No drops the edits";
    EXPECT_EQ(GlazeForm::Button(view, kGedPrevious)->text(), QStringLiteral("Edit Previous"));

    GlazeForm::IndexEdit(view)->setText(QStringLiteral("G2b"));
    m_messages.answers = {MsgResultYes};
    view->EditPrevious();
    EXPECT_EQ(Found(m_doc->GetGlaze(1)).m_index, "G2b") << "Yes saves";
    EXPECT_EQ(view->GetGlazeIndex(), 0);

    // Saving the database asks every edit window with changes.
    GlazeForm::IndexEdit(view)->setText(QStringLiteral("G0"));
    m_messages.answers = {MsgResultYes};
    EXPECT_TRUE(m_doc->AskEveryEditForm(FormsAsked::BeforeSave));
    EXPECT_EQ(Found(m_doc->GetGlaze(0)).m_index, "G0");

    GlazeForm::IndexEdit(view)->setText(QStringLiteral("X"));
    m_messages.boxes.clear();
    m_messages.answers = {MsgResultCancel};
    view->Close();
    FlushDeletes();
    ASSERT_EQ(CountViews<CGlazeEditView>(), 1);
    m_messages.answers = {MsgResultNo};
    view->Close();
    FlushDeletes();
    EXPECT_EQ(CountViews<CGlazeEditView>(), 0);
    EXPECT_EQ(m_messages.boxes.size(), 2u);
    EXPECT_EQ(Found(m_doc->GetGlaze(0)).m_index, "G0");
}

TEST_F(GlazeEditViewTest, AnalysisPanesShowTheWorkedGlazeAndAreComputedOnlyWhenSeen)
{
    ASSERT_NE(OpenShipped(), nullptr);
    CGlazeEditView* view = OpenEdit(0);
    ASSERT_NE(view, nullptr);
    SetText(GlazeForm::ComponentsEdit(view), "Whiting 100.0892\nSilica 60.0843");
    GlazeForm::AdditionsEdit(view)->clear();
    view->RefreshAnalysis();
    const int before = GlazeForm::PaneComputations(view);
    EXPECT_FALSE(GlazeForm::PanesCurrent(view)) << "the Description page shows no pane";

    view->ShowPage(kPageAnalysis);
    EXPECT_EQ(GlazeForm::PaneComputations(view), before + 1);
    const QString gap = QString(4 + 11 + 4, QLatin1Char(' '));
    EXPECT_EQ(GlazeForm::AnalysisPane(view)->toPlainText(),
              QStringLiteral("  CaO  1.00") + gap + QStringLiteral(" SiO2  1.00\n\nExpansion: 89.6 x 10e-7 per degree C\n"));
    view->ShowPage(kPageDescription);
    view->ShowPage(kPageAnalysis);
    EXPECT_EQ(GlazeForm::PaneComputations(view), before + 1) << "nothing changed: nothing recomputed";
    view->ShowPage(kPageLimitFormula);
    EXPECT_EQ(GlazeForm::PaneComputations(view), before + 1) << "nor for the Limit Formula page";

    // One display mode for both pages.
    view->SetAnalysisMode(2);
    EXPECT_TRUE(GlazeForm::AnalysisPane(view)->toPlainText().startsWith(QStringLiteral("  CaO 48.3%")));
    view->ShowPage(kPageRecipe);
    view->SetRecipeRightPane(2);
    EXPECT_FALSE(GlazeForm::MaterialList(view)->isVisible());
    EXPECT_EQ(GlazeForm::RecipeAnalysisText(view)->toPlainText(),
              QStringLiteral("   CaO 48.3%\n\n  SiO2 51.7%\n\nLOI: 27.5%\n\nExpansion: 89.6 \n"));
    view->SetRecipePaneMode(3);
    EXPECT_TRUE(GlazeForm::RecipePane(view)->toPlainText().contains(QStringLiteral("  100.0%")));
    view->SetRecipePaneMode(9); // no such mode: the pane stays as it is
    EXPECT_TRUE(GlazeForm::RecipePane(view)->toPlainText().contains(QStringLiteral("  100.0%")));

    // The limit page: the glaze's own formula is marked and compared.
    view->ShowPage(kPageLimitFormula);
    ASSERT_GT(GlazeForm::LimitList(view)->count(), 5);
    EXPECT_EQ(ListRow(GlazeForm::LimitList(view), 5).text(), QStringLiteral(" \t.\tCone 6 gloss, boron-free"));
    EXPECT_EQ(GlazeForm::LimitList(view)->currentRow(), 5);
    EXPECT_EQ(GlazeForm::ComparisonLabel(view)->text(), QStringLiteral("Comparison to limit formula :"));
    EXPECT_TRUE(GlazeForm::ComparisonText(view)->toPlainText().contains(QStringLiteral("SiO2")));

    // Amounts the recipe cannot hold are refused where they are typed; they stay for the user
    // to mend and the panes keep showing the rest of the recipe.
    const QString huge = QStringLiteral("Whiting 100.0892\nSilica 60.0843\nKaolin 1e999\nSilica 1e999");
    GlazeForm::ComponentsEdit(view)->setPlainText(huge);
    m_messages.boxes.clear();
    view->RecipeFieldLeft(GlazeForm::ComponentsEdit(view), true);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"The amount of \"Kaolin 1e999\" is too large. Please "
                                                           "enter a number between 0 and 999999999."});
    EXPECT_EQ(GlazeForm::ComponentsEdit(view)->toPlainText(), huge);
    view->ShowPage(kPageAnalysis);
    EXPECT_TRUE(GlazeForm::AnalysisPane(view)->toPlainText().startsWith(
        QStringLiteral("Left out: \"Kaolin 1e999\"\n\n  CaO 48.3%")));

    // An unknown material: no chemistry to compare.
    SetText(GlazeForm::ComponentsEdit(view), "Mystery 10");
    view->RefreshAnalysis();
    EXPECT_EQ(GlazeForm::ComparisonText(view)->toPlainText(), QStringLiteral("Analysis unavailable"));

    // Set Default with no formula chosen leaves the glaze without one.
    GlazeForm::LimitList(view)->clearSelection();
    EXPECT_EQ(GlazeForm::ChosenLimitFormula(view), "");
    GlazeForm::LimitList(view)->setCurrentRow(-1);
    view->SetDefaultLimitFormula();
    EXPECT_EQ(GlazeForm::LimitFormulaName(view), "");
    EXPECT_EQ(GlazeForm::ComparisonLabel(view)->text(), QString());
    view->SaveGlaze();
    EXPECT_EQ(Found(m_doc->GetGlaze(0)).m_limform, "");
}

TEST_F(GlazeEditViewTest, RecipeTravelsToAndFromInsightThroughTheClipboard)
{
    ASSERT_NE(OpenShipped(), nullptr);
    CGlazeEditView* view = OpenEdit(0);
    ASSERT_NE(view, nullptr);
    view->SendToInsight(kInsightEntireRecipe);
    EXPECT_EQ(m_clipboard.content, "Cone 6 Clear\r\nNepheline Syenite  20\r\nWollastonite  15\r\nWhiting  8\r\n"
                                   "Zinc Oxide  5\r\nKaolin  20\r\nSilica  32\r\n");
    view->SendToInsight(kInsightComponents);
    EXPECT_EQ(m_clipboard.content.substr(0, 32), "Cone 6 Clear (components only)\r\n");
    EXPECT_EQ(GlazeForm::IsModified(view), 0) << "sending changes nothing";
    // Regression: a line whose amount is refused was left out of the recipe sent, without a word.
    const std::string sent = m_clipboard.content;
    const QString typed = GlazeForm::ComponentsEdit(view)->toPlainText();
    GlazeForm::ComponentsEdit(view)->setPlainText(typed + QStringLiteral("\nTalc 1,5"));
    view->SendToInsight(kInsightEntireRecipe);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"The amount of \"Talc 1,5\" is not a number. Please enter "
                                                           "a number between 0 and 999999999."});
    EXPECT_EQ(m_clipboard.content, sent);
    GlazeForm::ComponentsEdit(view)->setPlainText(typed);
    view->SetChanged(false);
    m_messages.boxes.clear();

    // The components go into a glaze with additions: its additions stay.
    CGlazeEditView* other = OpenEdit(1);
    ASSERT_NE(other, nullptr);
    const QString additions = GlazeForm::AdditionsEdit(other)->toPlainText();
    ASSERT_FALSE(additions.isEmpty());
    other->GetFromInsight();
    EXPECT_EQ(GlazeForm::ComponentsEdit(other)->toPlainText(), QString::fromLatin1(kClearComponents));
    EXPECT_EQ(GlazeForm::AdditionsEdit(other)->toPlainText(), additions);
    EXPECT_EQ(GlazeForm::IsModified(other), 1);

    // An entire recipe: a line named like a present addition becomes an addition.
    m_clipboard.content = "Test\r\nSilica  60\r\nzircon  9\r\n";
    other->GetFromInsight();
    EXPECT_EQ(GlazeForm::ComponentsEdit(other)->toPlainText(), QStringLiteral("Silica\t    60"));
    EXPECT_EQ(GlazeForm::AdditionsEdit(other)->toPlainText(), QStringLiteral("Zircon\t      9"));

    m_clipboard.failWrites = true;
    view->SendToInsight(kInsightAdditions);
    ASSERT_EQ(m_messages.boxes.size(), 1u);
    EXPECT_EQ(m_messages.At(0).text, "Error writing to Clipboard");
    EXPECT_EQ(m_messages.At(0).Icon(), unsigned(MsgIconError));
    EXPECT_EQ(m_messages.At(0).helpId, 196900u);
    m_clipboard.hasText = false;
    other->GetFromInsight();
    EXPECT_EQ(m_messages.Last().text, "Error opening clipboard");
    EXPECT_EQ(GlazeForm::ComponentsEdit(other)->toPlainText(), QStringLiteral("Silica\t    60"));
}

// Regression: an empty clipboard text, or one without a recipe line, emptied both recipe fields
// without a word.
TEST_F(GlazeEditViewTest, GetFromInsightWithoutARecipeChangesNothing)
{
    ASSERT_NE(OpenShipped(), nullptr);
    CGlazeEditView* view = OpenEdit(1);
    ASSERT_NE(view, nullptr);
    const QString components = GlazeForm::ComponentsEdit(view)->toPlainText();
    const QString additions = GlazeForm::AdditionsEdit(view)->toPlainText();
    ASSERT_FALSE(additions.isEmpty());
    // Regression: lines whose amounts the form refuses were dropped, and the recipe replaced by the
    // others without a word. The recipe is not taken; the message names the first such line.
    const std::pair<const char*, const char*> clipboards[] = {
        {"", "Error opening clipboard"},
        {"Just a title\r\n", "Error opening clipboard"},
        {"Title\r\nno amount here\r\n", "The clipboard's recipe was not taken. The amount of \"no amount here\" is "
                                         "not a number. Please enter a number between 0 and 999999999."},
        {"Test\r\nSilica 25\r\nRutile 5000000000\r\nKaolin 1,5\r\nWhiting 10\r\n",
         "The clipboard's recipe was not taken. The amount of \"Rutile 5000000000\" is too large. Please enter a "
         "number between 0 and 999999999."},
    };
    for (const auto& [text, message] : clipboards) {
        SCOPED_TRACE(text);
        m_clipboard.content = text;
        m_clipboard.hasText = true;
        m_messages.boxes.clear();
        EXPECT_TRUE(view->OnCommand(CmdGedGetFromInsight));
        ASSERT_EQ(m_messages.Texts(), std::vector<std::string>{message});
        EXPECT_EQ(m_messages.At(0).Icon(), unsigned(message[0] == 'E' ? MsgIconError : MsgIconExclamation));
        EXPECT_EQ(GlazeForm::ComponentsEdit(view)->toPlainText(), components);
        EXPECT_EQ(GlazeForm::AdditionsEdit(view)->toPlainText(), additions);
        EXPECT_EQ(GlazeForm::IsModified(view), 0);
    }
}

// Regression: View handed whatever file a shared database named to the desktop, which runs a
// program or a desktop entry it is handed.
TEST_F(GlazeEditViewTest, ViewHandsOnlyPlainFilesToTheDesktop)
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::path(::testing::TempDir()) / ("oxi-view-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir / "folder");
    const auto write = [&dir](const char* name, const char* bytes) {
        std::ofstream(dir / name, std::ios::binary) << bytes;
        return (dir / name).string();
    };
    const std::string program = write("picture.jpg", "#!/bin/sh\n");
    fs::permissions(program, fs::perms::owner_exec, fs::perm_options::add);
    const std::string entry = write("notes.DESKTOP", "text");
    const std::string disguised = write("photo.png", "# comment\n[Desktop Entry]\nExec=sh\n");

    ASSERT_NE(OpenShipped(), nullptr);
    CGlazeEditView* view = OpenEdit(0);
    const auto view_ = [&](QLineEdit* field, int button, const std::string& path) {
        m_messages.boxes.clear();
        field->setText(QString::fromStdString(path));
        GlazeForm::Button(view, button)->click();
        return m_messages.Texts();
    };
    using Texts = std::vector<std::string>;
    EXPECT_EQ(view_(GlazeForm::ImageFileEdit(view), kGedImageView, program),
              Texts{program + ": Not opened. It is a program (the file is executable); it is not run from here."});
    EXPECT_EQ(view_(GlazeForm::NoteFileEdit(view), kGedNoteView, entry),
              Texts{entry + ": Not opened. It is a desktop entry, which starts a program; it is not run from here."});
    EXPECT_EQ(view_(GlazeForm::ImageFileEdit(view), kGedImageView, disguised),
              Texts{disguised + ": Not opened. It is a desktop entry, which starts a program; it is not run from here."});
    EXPECT_EQ(view_(GlazeForm::ImageFileEdit(view), kGedImageView, (dir / "folder").string()),
              Texts{(dir / "folder").string() + ": Not opened. It is not a regular file."});
    EXPECT_EQ(view_(GlazeForm::ImageFileEdit(view), kGedImageView, (dir / "gone.png").string()),
              Texts{(dir / "gone.png").string() + ": Not opened. The file does not exist."});
    EXPECT_EQ(m_messages.At(0).Icon(), unsigned(MsgIconExclamation));

    // Regression: a name beyond ASCII, browsed for or typed, was garbled or never found. The
    // glaze keeps it as Windows-1252 text; View finds the file's UTF-8 name.
    fs::create_directories(dir / "Glasur-\xC3\xA4");
    const std::string umlaut = (dir / "Glasur-\xC3\xA4").string();
    m_dialogs.AnswerPath(umlaut);
    GlazeForm::Button(view, kGedImageBrowse)->click();
    EXPECT_EQ(GlazeForm::ImageFileEdit(view)->text(), QString::fromStdString(umlaut));
    m_messages.boxes.clear();
    GlazeForm::Button(view, kGedImageView)->click();
    EXPECT_EQ(m_messages.Texts(), Texts{MessagePath(umlaut) + ": Not opened. It is not a regular file."});
    m_dialogs.AnswerPath((dir / "\xCE\xB1.png").string()); // alpha: no Windows-1252 character
    const QString note = GlazeForm::NoteFileEdit(view)->text();
    GlazeForm::Button(view, kGedNoteBrowse)->click();
    ASSERT_EQ(m_messages.Texts().size(), 2u);
    EXPECT_EQ(m_messages.Texts()[1], RefusedCharactersMessage(NameCharacters(U"\u03B1")));
    EXPECT_EQ(GlazeForm::NoteFileEdit(view)->text(), note) << "the refused name is not entered";
    m_dialogs.AnswerCancel();
    GlazeForm::Button(view, kGedNoteBrowse)->click();
    EXPECT_EQ(GlazeForm::NoteFileEdit(view)->text(), note) << "Cancel enters nothing";
    fs::remove_all(dir);
}

TEST_F(GlazeEditViewTest, ReciparyPromptsFollowTheNotes)
{
    ASSERT_NE(OpenShipped(), nullptr);
    CGlazeEditView* view = OpenEdit(0);
    ASSERT_NE(view, nullptr);
    GlazeForm::NotesEdit(view)->clear();
    view->AddReciparyPrompts();
    const QString notes = GlazeForm::NotesEdit(view)->toPlainText();
    EXPECT_TRUE(notes.startsWith(QStringLiteral(" * INFORMATION FOR RECIPARY\n * (Please fill in whatever information you can - \n")));
    EXPECT_TRUE(notes.endsWith(QStringLiteral(" * Water pH -\n\n * Your name and email address -\n\n")));
    EXPECT_EQ(GlazeForm::NotesEdit(view)->textCursor().position(), 0);
    EXPECT_EQ(GlazeForm::IsModified(view), 1);

    GlazeForm::NotesEdit(view)->setPlainText(QStringLiteral("Lovely."));
    view->AddReciparyPrompts();
    EXPECT_TRUE(GlazeForm::NotesEdit(view)->toPlainText()
                    .startsWith(QStringLiteral("Lovely.\n\n * INFORMATION FOR RECIPARY\n")));
    EXPECT_EQ(GlazeForm::NotesEdit(view)->textCursor().position(), 7);
}

TEST_F(GlazeEditViewTest, RecipeToolsRewriteTheFieldsOnly)
{
    ASSERT_NE(OpenShipped(), nullptr);
    CGlazeEditView* view = OpenEdit(0);
    ASSERT_NE(view, nullptr);
    const QString recipe = GlazeForm::ComponentsEdit(view)->toPlainText();

    // A recipe rounded off waits to be saved, even where no amount changed.
    view->OnCommand(CmdGedRound1);
    EXPECT_EQ(GlazeForm::IsModified(view), 1);
    GlazeForm::Button(view, kGedUndo)->click();
    ASSERT_EQ(GlazeForm::IsModified(view), 0);

    // Edit Ingredients opens one material form over the recipe's materials, in the recipe's order.
    struct CLimitedRecorder : CMaterialEditViews {
        bool OpenEditView(CMaterialsDoc&, int) override { return true; }
        bool OpenLimitedEditView(CMaterialsDoc&, const std::vector<int>& indices) override
        {
            limited.push_back(indices);
            return true;
        }
        CMaterialEditLink* AsEditView(CView*) override { return nullptr; }
        std::vector<std::vector<int>> limited;
    } forms;
    CMaterialEditViews* const installed = GetMaterialEditViews();
    SetMaterialEditViews(&forms);
    view->OnCommand(CmdGedEditIngredients);
    SetMaterialEditViews(installed);
    CMaterialArray& materials = m_materials.Materials();
    std::vector<int> shown;
    for (const char* name : {"Nepheline Syenite", "Wollastonite", "Whiting", "Zinc Oxide", "Kaolin", "Silica"})
        shown.push_back(materials.IndexOf(materials.FindMaterial(name)));
    EXPECT_EQ(forms.limited, std::vector<std::vector<int>>{shown});

    // The shipped materials have no densities: nothing converts, and Cancel stops the messages.
    m_messages.answers = {MsgResultOk, MsgResultCancel};
    view->ConvertWeightVolume();
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{"Density of Nepheline Syenite unknown",
                                                            "Density of Wollastonite unknown"}));
    EXPECT_EQ(m_messages.At(0).helpId, 197936u);
    EXPECT_EQ(GlazeForm::ComponentsEdit(view)->toPlainText(), recipe);
    EXPECT_FALSE(GlazeForm::ByVolumeBox(view)->isChecked());
    EXPECT_EQ(GlazeForm::IsModified(view), 0);

    // Scale to W.B.S. without a working batch size takes the recipe's total.
    GlazeForm::BatchSizeEdit(view)->setText(QStringLiteral("0"));
    SetText(GlazeForm::ComponentsEdit(view), "Silica 30.25\nKaolin 19.75");
    view->ScaleRecipe();
    EXPECT_EQ(GlazeForm::BatchSizeEdit(view)->text(), QStringLiteral("50"));
    GlazeForm::BatchSizeEdit(view)->setText(QStringLiteral("200"));
    m_messages.boxes.clear();
    m_messages.answers = {MsgResultYes};
    view->ScaleRecipe();
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{"Do you want to adjust the recipe so the components add up to 200?"}));
    EXPECT_EQ(GlazeForm::ComponentsEdit(view)->toPlainText(), QStringLiteral("Silica\t  121\nKaolin\t    79"));

    // Scale to 100 g takes the additions along.
    SetText(GlazeForm::ComponentsEdit(view), "Silica 30\nKaolin 20");
    SetText(GlazeForm::AdditionsEdit(view), "Rutile 5");
    m_messages.boxes.clear();
    m_messages.answers = {MsgResultYes};
    GlazeForm::Button(view, kGedScale100)->click();
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{"Do you want to adjust the recipe so the components add up to 100?"}));
    EXPECT_EQ(GlazeForm::ComponentsEdit(view)->toPlainText(), QStringLiteral("Silica\t    60\nKaolin\t    40"));
    EXPECT_EQ(GlazeForm::AdditionsEdit(view)->toPlainText(), QStringLiteral("Rutile\t    10"));
    GlazeForm::AdditionsEdit(view)->clear();

    // Round off to whole numbers, never to 0; by volume the smallest part steps 2 -> 3.
    SetText(GlazeForm::ComponentsEdit(view), "Silica 12.5\nKaolin 0.25");
    view->OnCommand(CmdGedRound1);
    EXPECT_EQ(GlazeForm::ComponentsEdit(view)->toPlainText(), QStringLiteral("Silica\t    13\nKaolin\t      0.3"));
    GlazeForm::ByVolumeBox(view)->click();
    EXPECT_EQ(GlazeForm::Button(view, kGedScaleBatch)->text(), QStringLiteral("Scale Recipe"));
    EXPECT_TRUE(GlazeForm::Button(view, kGedScale100)->isHidden());
    SetText(GlazeForm::ComponentsEdit(view), "Silica 4\nKaolin 2");
    view->ScaleRecipe();
    EXPECT_EQ(GlazeForm::ComponentsEdit(view)->toPlainText(), QStringLiteral("Silica\t      6\nKaolin\t      3"));

    // Working batch size expressions are read when the field is left.
    GlazeForm::ByVolumeBox(view)->click();
    SetText(GlazeForm::ComponentsEdit(view), "Silica 60\nKaolin 40");
    view->ShowPage(kPageAnalysis);
    view->SetRecipePaneMode(2);
    GlazeForm::BatchSizeEdit(view)->setText(QStringLiteral("x2.5"));
    view->BatchSizeLeft(true);
    EXPECT_EQ(GlazeForm::BatchSizeEdit(view)->text(), QStringLiteral("250"));
    EXPECT_TRUE(GlazeForm::RecipePane(view)->toPlainText().contains(QStringLiteral("250.00")))
        << "the batch amounts follow the new size";
    GlazeForm::BatchSizeEdit(view)->setText(QStringLiteral("/0"));
    view->BatchSizeLeft(true);
    EXPECT_EQ(GlazeForm::BatchSizeEdit(view)->text(), QStringLiteral("0"));
    // A size the field cannot hold is refused, not shown as "inf" or 309 digits; the field shows
    // the form's working batch size again.
    m_messages.boxes.clear();
    for (const char* huge : {"x1e999", "1e999"}) {
        QApplication::processEvents(); // each a user action of its own
        GlazeForm::BatchSizeEdit(view)->setText(QString::fromLatin1(huge));
        GlazeForm::NameEdit(view)->setFocus(); // where the user went
        view->BatchSizeLeft(true);
        EXPECT_EQ(GlazeForm::BatchSizeEdit(view)->text(), QStringLiteral("100")) << huge;
        EXPECT_TRUE(GlazeForm::BatchSizeEdit(view)->hasFocus()) << "back in the refused field";
    }
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{"Please enter a number between 0 and 999999999.",
                                                            "Please enter a number between 0 and 999999999."}));

    // Check Ingredients: Cancel on the first of three unknown materials ends the checking.
    SetText(GlazeForm::ComponentsEdit(view), "Unobtainium 5\nMystery 5");
    SetText(GlazeForm::AdditionsEdit(view), "Nothing 1");
    m_messages.boxes.clear();
    m_messages.answers = {MsgResultCancel};
    view->CheckIngredients();
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{"\"Unobtainium\" is not in the material list"}));
    EXPECT_EQ(m_messages.At(0).Buttons(), unsigned(MsgOkCancel));
    EXPECT_EQ(m_messages.At(0).helpId, 197920u);
    SetText(GlazeForm::ComponentsEdit(view), "silica 5");
    GlazeForm::AdditionsEdit(view)->clear();
    m_messages.boxes.clear();
    view->CheckIngredients();
    EXPECT_EQ(m_messages.Texts(),
              (std::vector<std::string>{"All ingredients are in the material list, available, and have correct mapping"}));
    EXPECT_EQ(GlazeForm::ComponentsEdit(view)->toPlainText(), QStringLiteral("silica 5")) << "checking changes nothing";
}

TEST_F(GlazeEditViewTest, DialogToolsWorkOnTheFormsRecipe)
{
    ASSERT_NE(OpenShipped(), nullptr);
    CGlazeEditView* view = OpenEdit(1);
    ASSERT_NE(view, nullptr);

    // Jump To lists the database with the present glaze chosen.
    WhenModal<CSelectOneDlg>([](CSelectOneDlg* dialog) {
        EXPECT_EQ(dialog->List()->currentRow(), 1);
        dialog->List()->setCurrentRow(3);
        dialog->accept();
    });
    view->JumpTo();
    EXPECT_EQ(view->GetGlazeIndex(), 3);

    // A cancelled substitution still counts as a change of the recipe.
    const QString recipe = GlazeForm::ComponentsEdit(view)->toPlainText();
    WhenModal<CChooseSubstitutionDlg>([](CChooseSubstitutionDlg* dialog) {
        EXPECT_EQ(dialog->current, 0);
        dialog->reject();
    });
    view->MakeSubstitution();
    EXPECT_EQ(GlazeForm::ComponentsEdit(view)->toPlainText(), recipe);
    EXPECT_EQ(GlazeForm::IsModified(view), 1);

    // By volume the substitution needs a density for every line, before and after it: the shipped
    // materials have none, so the recipe stays as it was and the message names each material.
    GlazeForm::ByVolumeBox(view)->setChecked(true);
    m_messages.boxes.clear();
    WhenModal<CChooseSubstitutionDlg>([](CChooseSubstitutionDlg* dialog) { dialog->accept(); });
    view->MakeSubstitution();
    EXPECT_EQ(GlazeForm::ComponentsEdit(view)->toPlainText(), recipe);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{
                                      "Density of Potash Feldspar unknown\nDensity of Whiting unknown\nDensity of "
                                      "Kaolin unknown\nDensity of Silica unknown\nDensity of Red Iron Oxide unknown\n"
                                      "Density of Wollastonite unknown\n\nThe recipe is by volume, and the substitution "
                                      "is by weight: every line needs a density."});
    EXPECT_EQ(m_messages.Last().helpId, 197936u);
    GlazeForm::ByVolumeBox(view)->setChecked(false);
    m_messages.boxes.clear();

    // Whiting and silica give way to wollastonite, in the additions too.
    GlazeForm::AdditionsEdit(view)->setPlainText(recipe);
    WhenModal<CChooseSubstitutionDlg>([](CChooseSubstitutionDlg* dialog) { dialog->accept(); });
    view->MakeSubstitution();
    EXPECT_NE(GlazeForm::ComponentsEdit(view)->toPlainText(), recipe);
    EXPECT_TRUE(GlazeForm::ComponentsEdit(view)->toPlainText().contains(QStringLiteral("Wollastonite")));
    EXPECT_EQ(GlazeForm::AdditionsEdit(view)->toPlainText(), GlazeForm::ComponentsEdit(view)->toPlainText());
    // A substitution the recipe no longer holds changes nothing and says nothing.
    const QString substituted = GlazeForm::ComponentsEdit(view)->toPlainText();
    SetText(GlazeForm::AdditionsEdit(view), "");
    SetText(GlazeForm::ComponentsEdit(view), "Kaolin 50");
    m_messages.boxes.clear();
    WhenModal<CChooseSubstitutionDlg>([](CChooseSubstitutionDlg* dialog) { dialog->accept(); });
    view->MakeSubstitution();
    EXPECT_EQ(GlazeForm::ComponentsEdit(view)->toPlainText(), QStringLiteral("Kaolin\t    50"));
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{});
    GlazeForm::ComponentsEdit(view)->setPlainText(substituted);
    GlazeForm::AdditionsEdit(view)->setPlainText(substituted);
    // Without substitutions there is nothing to choose from, and the message says so.
    while (m_substitutions.GetRecordCount() > 0)
        m_substitutions.RemoveRecord(0);
    m_messages.boxes.clear();
    view->MakeSubstitution();
    ASSERT_EQ(m_messages.boxes.size(), 1u);
    EXPECT_EQ(m_messages.At(0).text, "No substitutions available");
    EXPECT_EQ(m_messages.At(0).helpId, 197952u);
    m_messages.boxes.clear();

    // Components and additions: the calculator asks which part; Cancel ends the command.
    ASSERT_FALSE(GlazeForm::AdditionsEdit(view)->toPlainText().isEmpty());
    const QString before = GlazeForm::ComponentsEdit(view)->toPlainText();
    WhenModal<CBatchScopeDlg>([](CBatchScopeDlg* dialog) { dialog->reject(); });
    view->BatchCalculation();
    EXPECT_EQ(GlazeForm::ComponentsEdit(view)->toPlainText(), before);

    // Scale to Ingredient: the first line set to 50 scales the recipe by 50 / its amount.
    GlazeForm::AdditionsEdit(view)->clear();
    SetText(GlazeForm::ComponentsEdit(view), "Silica 20\nKaolin 30");
    WhenModal<CScaleToIngredientDlg>([](CScaleToIngredientDlg* dialog) {
        EXPECT_EQ(dialog->amounts, (CStringArrayEx{"20.000", "30.000"}));
        dialog->IngredientCombo()->setCurrentIndex(0);
        dialog->AmountEdit()->setText(QStringLiteral("50"));
        dialog->WorkingBatchCheck()->setChecked(false);
        dialog->accept();
    });
    view->ScaleToIngredient();
    EXPECT_EQ(GlazeForm::ComponentsEdit(view)->toPlainText(), QStringLiteral("Silica\t    50\nKaolin\t    75"));
    // The amount it has, written otherwise, changes nothing, not even the working batch size.
    const QString batch = GlazeForm::BatchSizeEdit(view)->text();
    WhenModal<CScaleToIngredientDlg>([](CScaleToIngredientDlg* dialog) {
        dialog->IngredientCombo()->setCurrentIndex(0);
        dialog->AmountEdit()->setText(QStringLiteral("50"));
        dialog->WorkingBatchCheck()->setChecked(true);
        dialog->accept();
    });
    view->ScaleToIngredient();
    EXPECT_EQ(GlazeForm::BatchSizeEdit(view)->text(), batch);
    for (const char* amount : {"-2", "two"}) {
        WhenModal<CScaleToIngredientDlg>([amount](CScaleToIngredientDlg* dialog) {
            dialog->IngredientCombo()->setCurrentIndex(1);
            dialog->AmountEdit()->setText(QString::fromLatin1(amount));
            dialog->accept();
        });
        m_messages.boxes.clear();
        view->ScaleToIngredient();
        EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{"Ingredient amount must be a positive number"})) << amount;
        EXPECT_EQ(GlazeForm::ComponentsEdit(view)->toPlainText(), QStringLiteral("Silica\t    50\nKaolin\t    75"));
    }
}

TEST_F(GlazeEditViewTest, PanesTogglesAndScalingFollowEveryChoice)
{
    // The edit-box font of the preferences reaches the form's text boxes as it opens.
    g_prefs.edboxfont.italic = 1;
    ASSERT_NE(OpenShipped(), nullptr);
    CGlazeEditView* view = OpenEdit(0);
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(GlazeForm::ComponentsEdit(view)->font().italic());
    EXPECT_TRUE(GlazeForm::AnalysisPane(view)->font().italic());
    SetText(GlazeForm::ComponentsEdit(view), "Whiting 10\nSilica 15\nKaolin 25");
    SetText(GlazeForm::AdditionsEdit(view), "Silica 5");
    view->RefreshAnalysis();

    // Each display mode of each pane shows a text of its own.
    view->ShowPage(kPageRecipe);
    view->SetRecipeRightPane(2);
    EXPECT_EQ(GlazeForm::Control<CToggleButton>(view, QStringLiteral("Analysis"))->state, 1);
    EXPECT_EQ(GlazeForm::Control<CToggleButton>(view, QStringLiteral("Materials"))->state, 0);
    QStringList texts;
    const QStringList analysisModes = {"Unity Formula", "Weight %", "Molecular %"};
    for (int mode = 1; mode <= 3; ++mode) {
        view->SetAnalysisMode(mode);
        texts << GlazeForm::RecipeAnalysisText(view)->toPlainText() << GlazeForm::AnalysisPane(view)->toPlainText();
        // The Analysis page's mode buttons show the mode too, only its own down.
        for (const CToggleButton* button : GlazeForm::Page(view, kPageAnalysis)->findChildren<CToggleButton*>()) {
            if (analysisModes.contains(button->text()))
                EXPECT_EQ(button->state, button->text() == analysisModes[mode - 1] ? 1 : 0) << mode;
        }
    }
    const char* const recipeModes[4] = {"Recipe Amount", "Working Batch", "Percent", "Cost per Kg"};
    for (int mode = 1; mode <= 4; ++mode) {
        view->SetRecipePaneMode(mode);
        texts << GlazeForm::RecipePane(view)->toPlainText();
        for (int other = 1; other <= 4; ++other) // only the chosen mode's button stays down
            EXPECT_EQ(GlazeForm::Control<CToggleButton>(view, QString::fromLatin1(recipeModes[other - 1]))->state,
                      other == mode ? 1 : 0) << mode << " " << other;
    }
    // The panes have the analysis colours while the preferences keep colours on.
    EXPECT_EQ(GlazeForm::AnalysisPane(view)->palette().color(QPalette::Base), QColor(224, 255, 192));
    // After a change of the preferences the form still follows a changed material.
    COxidariumApp::BroadcastUpdate(nullptr, nullptr, static_cast<int>(DbFileType::Preferences), HintPreferencesChanged, 0, 0);
    const QString before = GlazeForm::AnalysisPane(view)->toPlainText();
    const int silica = m_materials.Materials().IndexOf(m_materials.Materials().FindMaterial("Silica"));
    ASSERT_GE(silica, 0);
    CMaterial wet = *m_materials.Materials().GetAt(silica);
    wet.SetFormula("SiO2 H2O");
    m_materials.ReplaceMaterial(silica, wet);
    COxidariumApp::BroadcastUpdate(nullptr, &m_materials, static_cast<int>(DbFileType::Materials), HintMaterialChanged,
                                   silica, HintExtra(m_materials.Materials().GetAt(silica)));
    EXPECT_NE(GlazeForm::AnalysisPane(view)->toPlainText(), before);
    // Between the notices of a bulk change (Set Field over the materials) the form waits for
    // its end, then shows every change at once.
    const QString wetText = GlazeForm::AnalysisPane(view)->toPlainText();
    COxidariumApp::BroadcastUpdate(nullptr, &m_materials, static_cast<int>(DbFileType::Materials), HintBulkChangeBegins, 0, 0);
    wet.SetFormula("SiO2");
    m_materials.ReplaceMaterial(silica, wet);
    COxidariumApp::BroadcastUpdate(nullptr, &m_materials, static_cast<int>(DbFileType::Materials), HintMaterialChanged,
                                   silica, HintExtra(m_materials.Materials().GetAt(silica)));
    EXPECT_EQ(GlazeForm::AnalysisPane(view)->toPlainText(), wetText);
    COxidariumApp::BroadcastUpdate(nullptr, &m_materials, static_cast<int>(DbFileType::Materials), HintBulkChangeEndsRefreshAll, 0, 0);
    EXPECT_EQ(GlazeForm::AnalysisPane(view)->toPlainText(), before);
    for (int i = 0; i < texts.size(); ++i) {
        EXPECT_FALSE(texts[i].isEmpty()) << i;
        for (int j = 0; j < i; ++j)
            EXPECT_NE(texts[i], texts[j]) << i << " " << j;
    }
    view->SetRecipeRightPane(1);
    EXPECT_EQ(GlazeForm::Control<CToggleButton>(view, QStringLiteral("Analysis"))->state, 0);
    EXPECT_EQ(GlazeForm::Control<CToggleButton>(view, QStringLiteral("Materials"))->state, 1);

    // The first limit formula of the list is compared like any other.
    view->ShowPage(kPageLimitFormula);
    GlazeForm::LimitList(view)->setCurrentRow(0);
    view->RefreshAnalysis();
    EXPECT_EQ(GlazeForm::LimitList(view)->currentRow(), 0);
    EXPECT_EQ(GlazeForm::ComparisonLabel(view)->text(), QStringLiteral("Comparison to limit formula :"));
    EXPECT_TRUE(GlazeForm::ComparisonText(view)->toPlainText().contains(QStringLiteral("SiO2")));

    // Scale to Ingredient scales the additions with the components; Cancel scales nothing.
    WhenModal<CScaleToIngredientDlg>([](CScaleToIngredientDlg* dialog) {
        dialog->IngredientCombo()->setCurrentIndex(0);
        dialog->AmountEdit()->setText(QStringLiteral("20"));
        dialog->WorkingBatchCheck()->setChecked(false);
        dialog->reject();
    });
    m_messages.boxes.clear();
    view->ScaleToIngredient();
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{});
    EXPECT_EQ(GlazeForm::ComponentsEdit(view)->toPlainText(), QStringLiteral("Whiting 10\nSilica 15\nKaolin 25"));
    WhenModal<CScaleToIngredientDlg>([](CScaleToIngredientDlg* dialog) {
        dialog->IngredientCombo()->setCurrentIndex(0);
        dialog->AmountEdit()->setText(QStringLiteral("20"));
        dialog->WorkingBatchCheck()->setChecked(false);
        dialog->accept();
    });
    view->ScaleToIngredient();
    EXPECT_EQ(GlazeForm::ComponentsEdit(view)->toPlainText(), QStringLiteral("Whiting\t    20\nSilica\t    30\nKaolin\t    50"));
    EXPECT_EQ(GlazeForm::AdditionsEdit(view)->toPlainText(), QStringLiteral("Silica\t    10"));

    // A material picked in the list leaves the caret after its line, ready for the next.
    GlazeForm::ComponentsEdit(view)->moveCursor(QTextCursor::Start);
    view->InsertMaterial(0);
    EXPECT_TRUE(GlazeForm::ComponentsEdit(view)->toPlainText().endsWith(QStringLiteral("\nSilica\t100\n")));
    EXPECT_TRUE(GlazeForm::ComponentsEdit(view)->textCursor().atEnd());

    // Without a limit formula database the page lists nothing and compares nothing.
    CLimitFormulaDB* const limits = SetCurrentLimitFormulaDB(nullptr);
    view->ShowPage(kPageLimitFormula);
    view->RefreshAnalysis();
    EXPECT_EQ(GlazeForm::LimitList(view)->count(), 0);
    EXPECT_EQ(GlazeForm::ComparisonLabel(view)->text(), QString());
    SetCurrentLimitFormulaDB(limits);

    // Only the blanks padding an amount after its tab are narrowed, also on a line that starts
    // with its tab; blanks leading a line are not.
    GlazeForm::ComponentsEdit(view)->setPlainText(QStringLiteral("  Silica\nKaolin\t    20\n\t   5"));
    QTextBlock block = GlazeForm::ComponentsEdit(view)->document()->firstBlock();
    EXPECT_TRUE(block.layout()->formats().isEmpty());
    for (const auto& [start, length] : {std::pair{7, 4}, std::pair{1, 3}}) {
        block = block.next();
        ASSERT_EQ(block.layout()->formats().size(), 1) << block.text().toStdString();
        EXPECT_EQ(block.layout()->formats().front().start, start);
        EXPECT_EQ(block.layout()->formats().front().length, length);
    }
}
