#include "GlazeEditViewFixture.h"

#include "core/support/CheckedItems.h"
#include "support/EditTextDlg.h"
#include "support/NotesEdit.h"

#include <QComboBox>
#include <QPushButton>
#include <QTest>

#include <tuple>

namespace {

class GlazeEditViewButtonsTest : public GlazeEditViewFixture {};

} // namespace

TEST_F(GlazeEditViewButtonsTest, UndoChangesPutsTheStoredGlazeBackIntoTheForm)
{
    ASSERT_NE(OpenShipped(), nullptr);
    CGlazeEditView* view = OpenEdit(0);
    ASSERT_NE(view, nullptr);
    const QString components = GlazeForm::ComponentsEdit(view)->toPlainText();
    EXPECT_FALSE(GlazeForm::Button(view, kGedUndo)->isEnabled());
    // Every choice box offers its vocabulary, the first (Glaze Type) as well.
    EXPECT_EQ(GlazeForm::ChoiceBox(view, 0)->count(), static_cast<int>(g_prefs.glztyp.size()));
    EXPECT_EQ(GlazeForm::ChoiceBox(view, 1)->count(), static_cast<int>(g_prefs.glzrng.size()));

    GlazeForm::NameEdit(view)->setText(QStringLiteral("Renamed"));
    view->ShowPage(kPageRecipe);
    GlazeForm::ComponentsEdit(view)->setPlainText(QStringLiteral("Silica 50\nKaolin 50"));
    EXPECT_EQ(GlazeForm::IsModified(view), 1);
    ASSERT_TRUE(GlazeForm::Button(view, kGedUndo)->isEnabled());

    QTest::mouseClick(GlazeForm::Button(view, kGedUndo), Qt::LeftButton);
    EXPECT_EQ(GlazeForm::NameEdit(view)->text(), QStringLiteral("Cone 6 Clear"));
    EXPECT_EQ(GlazeForm::ComponentsEdit(view)->toPlainText(), components);
    EXPECT_EQ(GlazeForm::IsModified(view), 0);
    EXPECT_FALSE(GlazeForm::Button(view, kGedUndo)->isEnabled());
    EXPECT_FALSE(GlazeForm::Button(view, kGedSave)->isEnabled());
    EXPECT_EQ(Found(m_doc->GetGlaze(0)).m_name, "Cone 6 Clear");
    EXPECT_TRUE(m_messages.boxes.empty());

    // Passing through the choice fields is no edit, though their lists offer "Oxidation" and
    // "Clear": Tab from Range through every one, Enter in Color, nothing typed.
    QStringList shown;
    for (int field = 0; field < 13; ++field)
        shown << GlazeForm::ChoiceBox(view, field)->currentText();
    QTest::mouseClick(GlazeForm::PageButton(view, kPageDescription), Qt::LeftButton);
    Focus(view, GlazeForm::ChoiceBox(view, 1));
    for (int field = 1; field < 13; ++field) {
        if (field == 5)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(QApplication::focusWidget(), GlazeForm::ImageFileEdit(view)) << "every field was passed";
    for (int field = 0; field < 13; ++field)
        EXPECT_EQ(GlazeForm::ChoiceBox(view, field)->currentText(), shown[field]) << field;
    EXPECT_EQ(shown[2], QStringLiteral("oxidation"));
    EXPECT_EQ(GlazeForm::IsModified(view), 0);
    EXPECT_FALSE(GlazeForm::Button(view, kGedSave)->isEnabled());

    // Typed, a prefix takes the item offered, in the list's case. Ctrl+S there saves and shows
    // the next glaze, whose stored text the field keeps when the caret moves on to the Name.
    Focus(view, GlazeForm::ChoiceBox(view, 1));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("re"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(GlazeForm::ChoiceBox(view, 2)->currentText(), QStringLiteral("Reduction"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("sa"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(view->GetGlazeIndex(), 1);
    EXPECT_EQ(QApplication::focusWidget(), GlazeForm::NameEdit(view));
    EXPECT_EQ(GlazeForm::ChoiceBox(view, 2)->currentText(), QStringLiteral("oxidation"));
    EXPECT_EQ(GlazeForm::IsModified(view), 0);
    QTest::mouseClick(GlazeForm::Button(view, kGedClose), Qt::LeftButton);
    FlushDeletes();
    EXPECT_EQ(CountViews<CGlazeEditView>(), 0);
    EXPECT_TRUE(m_messages.boxes.empty()) << "nothing to ask about";
    EXPECT_EQ(Found(m_doc->GetGlaze(1)).m_firetype, "oxidation");
}

TEST_F(GlazeEditViewButtonsTest, EnlargeButtonsOpenTheirTextUnderTheGlazesName)
{
    ASSERT_NE(OpenShipped(), nullptr);
    CGlazeEditView* view = OpenEdit(0);
    ASSERT_NE(view, nullptr);
    view->ShowPage(kPageNotes);
    GlazeForm::NotesEdit(view)->setPlainText(QStringLiteral("Glossy."));
    GlazeForm::VariationsEdit(view)->setPlainText(QStringLiteral("Add 1% cobalt."));

    // Notes: the dialog shows them under "<name> - Notes"; OK with a change writes them back.
    QString title;
    QString shown;
    WhenModal<CEditTextDlg>([&](CEditTextDlg* dialog) {
        title = dialog->windowTitle();
        shown = dialog->TextEdit()->toPlainText();
        dialog->TextEdit()->setPlainText(QStringLiteral("Glossy, runs at cone 7."));
        dialog->TextEdit()->document()->setModified(true);
        dialog->OkButton()->click();
    });
    QTest::mouseClick(GlazeForm::Button(view, kGedEnlargeNotes), Qt::LeftButton);
    EXPECT_EQ(title, QStringLiteral("Cone 6 Clear - Notes"));
    EXPECT_EQ(shown, QStringLiteral("Glossy."));
    EXPECT_EQ(GlazeForm::NotesEdit(view)->toPlainText(), QStringLiteral("Glossy, runs at cone 7."));
    EXPECT_EQ(GlazeForm::VariationsEdit(view)->toPlainText(), QStringLiteral("Add 1% cobalt."));

    // Variations: their own title; Cancel leaves the box as it was.
    WhenModal<CEditTextDlg>([&](CEditTextDlg* dialog) {
        title = dialog->windowTitle();
        shown = dialog->TextEdit()->toPlainText();
        dialog->TextEdit()->setPlainText(QStringLiteral("thrown away"));
        dialog->CancelButton()->click();
    });
    QTest::mouseClick(GlazeForm::Button(view, kGedEnlargeVariations), Qt::LeftButton);
    EXPECT_EQ(title, QStringLiteral("Cone 6 Clear - Variations"));
    EXPECT_EQ(shown, QStringLiteral("Add 1% cobalt."));
    EXPECT_EQ(GlazeForm::VariationsEdit(view)->toPlainText(), QStringLiteral("Add 1% cobalt."));

    // The text panes open read-only under their own titles, each with its own text.
    view->ShowPage(kPageLimitFormula);
    view->ShowPage(kPageAnalysis);
    const std::tuple<int, const char*, QPlainTextEdit*> panes[] = {
        {kGedEnlargeAnalysis, "Cone 6 Clear - Chemical Analysis", GlazeForm::AnalysisPane(view)},
        {kGedEnlargeRecipe, "Cone 6 Clear - Recipe", GlazeForm::RecipePane(view)},
        {kGedEnlargeComparison, "Cone 6 Clear - Comparison to Limit Formula", GlazeForm::ComparisonText(view)}};
    for (const auto& [button, expected, pane] : panes) {
        ASSERT_NE(pane, nullptr);
        bool readOnly = false;
        WhenModal<CEditTextDlg>([&](CEditTextDlg* dialog) {
            title = dialog->windowTitle();
            shown = dialog->TextEdit()->toPlainText();
            readOnly = dialog->TextEdit()->isReadOnly();
            dialog->CancelButton()->click();
        });
        view->EnlargePane(button);
        EXPECT_EQ(title, QString::fromLatin1(expected));
        EXPECT_FALSE(pane->toPlainText().isEmpty()) << expected;
        EXPECT_EQ(shown, pane->toPlainText()) << expected;
        EXPECT_TRUE(readOnly) << expected;
    }
}
