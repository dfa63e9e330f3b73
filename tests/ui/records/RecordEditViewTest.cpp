// The edit-form base in real windows, once for each kind built on it: a form holding unsaved
// edits follows its record through the list's Shift, Selected to Top, Alphabetize and Paste
// without a question and keeps the edits; deleting its record asks it first, and Cancel keeps
// both the record and the form; another form's save over its record asks before it drops them,
// and once they are kept, the form asks before its own save replaces the other's.

#include "records/RecordEditView.h"

#include "graphs/GraphTypeEditView.h"
#include "graphs/GraphTypesView.h"
#include "limits/LimitFormulaEditView.h"
#include "limits/LimitFormulasView.h"
#include "materials/MaterialEditView.h"
#include "materials/MaterialsView.h"
#include "shell/NamedColors.h"
#include "substitutions/SubstitutionEditView.h"
#include "substitutions/SubstitutionsView.h"
#include "support/DialogStyle.h"
#include "ui/records/RecordWindowsFixture.h"

#include <QApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace {

// The template the list opens its edit forms with, kept by the test.
struct CEditForms {
    CDocTemplate docTemplate;
};
template <class Form>
struct CFormKind {
    using EditViews = CEditForms;
    static EditViews MakeEditViews() { return {CDocTemplate(Form::kEdit, Form::kDocString, nullptr)}; }
};

struct MaterialsForm : CFormKind<MaterialsForm> {
    using Doc = CMaterialsDoc;
    using Record = CMaterial;
    using View = CMaterialEditView;
    static QLineEdit* Name(View* form) { return form->NameEdit(); }
    static constexpr bool kSaveAndNextKey = true; // Ctrl+S
    static constexpr unsigned kList = kMaterialsResourceId;
    static constexpr unsigned kEdit = kMaterialEditResourceId;
    static constexpr const char* kDocString = kMaterialsDocString;
    static constexpr int kFormWidth = 352; // dialog units
    static constexpr int kFormHeight = 302;
    static constexpr const char* kColor = "med_bkg";
    static constexpr const char* kTitleSuffix = ""; // after the name
    static void Install(CDocTemplate& list, CEditForms& edit)
    {
        InstallMaterialsTemplate(list);
        InstallMaterialEditTemplate(edit.docTemplate);
    }
    static void Uninstall() { SetMaterialEditViews(nullptr); }
};
struct LimitFormulasForm : CFormKind<LimitFormulasForm> {
    using Doc = CLimitFormulasDoc;
    using Record = CLimitFormula;
    using View = CLimitFormulaEditView;
    static QLineEdit* Name(View* form) { return form->NameEdit(); }
    static constexpr bool kSaveAndNextKey = false; // Ctrl+S
    static constexpr unsigned kList = kLimitFormulasResourceId;
    static constexpr unsigned kEdit = kLimitFormulaEditResourceId;
    static constexpr const char* kDocString = kLimitFormulasDocString;
    static constexpr int kFormWidth = 352; // dialog units
    static constexpr int kFormHeight = 246;
    static constexpr const char* kColor = "led_bkg";
    static constexpr const char* kTitleSuffix = ""; // after the name
    static void Install(CDocTemplate& list, CEditForms& edit)
    {
        InstallLimitFormulasTemplate(list);
        InstallLimitFormulaEditTemplate(edit.docTemplate);
    }
    static void Uninstall() { SetLimitFormulaEditViews(nullptr); }
};
struct SubstitutionsForm : CFormKind<SubstitutionsForm> {
    using Doc = CSubstitutionsDoc;
    using Record = CSubstitution;
    using View = CSubstitutionEditView;
    static QLineEdit* Name(View* form) { return form->NameEdit(); }
    static constexpr bool kSaveAndNextKey = true; // Ctrl+S
    static constexpr unsigned kList = kSubstitutionsResourceId;
    static constexpr unsigned kEdit = kSubstitutionEditResourceId;
    static constexpr const char* kDocString = kSubstitutionsDocString;
    static constexpr int kFormWidth = 384; // dialog units
    static constexpr int kFormHeight = 216;
    static constexpr const char* kColor = "sed_bkg";
    static constexpr const char* kTitleSuffix = ""; // after the name
    static void Install(CDocTemplate& list, CEditForms& edit)
    {
        InstallSubstitutionsTemplate(list);
        InstallSubstitutionEditTemplate(edit.docTemplate);
    }
    static void Uninstall() { SetSubstitutionEditViews(nullptr); }
};

struct GraphTemplatesForm : CFormKind<GraphTemplatesForm> {
    using Doc = CGraphTypesDoc;
    using Record = CGraphTemplate;
    using View = CGraphTypeEditView;
    static QLineEdit* Name(View* form) { return form->Ctl<QLineEdit>(kGeName); }
    static constexpr bool kSaveAndNextKey = true;
    static constexpr unsigned kList = kGraphTypesResourceId;
    static constexpr unsigned kEdit = kGraphTypeEditResourceId;
    static constexpr const char* kDocString = kGraphTypesDocString;
    static constexpr int kFormWidth = 400; // dialog units
    static constexpr int kFormHeight = 252;
    static constexpr const char* kColor = "grted_bkg";
    static constexpr const char* kTitleSuffix = " (Oxides)"; // after the name
    static void Install(CDocTemplate& list, CEditForms& edit)
    {
        InstallGraphTypesTemplate(list);
        InstallGraphTypeEditTemplate(edit.docTemplate);
    }
};

template <class Kind>
class RecordEditViewTest : public RecordWindowsFixture<Kind> {
protected:
    using View = typename Kind::View;

    RecordEditViewTest() : RecordWindowsFixture<Kind>(1000, 700, {"Alpha", "Beta", "Gamma"}) {}

    View* Form() const
    {
        for (CView* window : this->doc->GetViews()) {
            if (auto* form = dynamic_cast<View*>(window))
                return form;
        }
        return nullptr;
    }
    static void Flush()
    {
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

using Kinds = ::testing::Types<MaterialsForm, LimitFormulasForm, SubstitutionsForm, GraphTemplatesForm>;
TYPED_TEST_SUITE(RecordEditViewTest, Kinds);

TYPED_TEST(RecordEditViewTest, AFormFollowsItsRecordAndKeepsItsEditsUntilTheRecordIsDeleted)
{
    using Names = std::vector<std::string>;
    const CRecordListCommands& c = this->Commands();
    ASSERT_TRUE(this->Run(c.edit, {1}));
    auto* form = this->Form();
    ASSERT_NE(form, nullptr);
    ASSERT_EQ(form->CurrentIndex(), 1);
    TypeParam::Name(form)->setFocus();
    TypeParam::Name(form)->end(false);
    QTest::keyClicks(TypeParam::Name(form), " edited");
    ASSERT_TRUE(form->IsChanged());

    const auto followsBeta = [&](int index) {
        EXPECT_EQ(form, this->Form()) << "the form stays open";
        EXPECT_EQ(form->CurrentIndex(), index);
        EXPECT_TRUE(form->IsChanged());
        EXPECT_EQ(TypeParam::Name(form)->text(), QStringLiteral("Beta edited"));
    };
    EXPECT_TRUE(this->Run(c.shiftUp, {1}));
    followsBeta(0);
    EXPECT_TRUE(this->Run(c.selectedToTop, {2}));
    EXPECT_EQ(this->Names(), (Names{"Gamma", "Beta", "Alpha"}));
    followsBeta(1);
    EXPECT_TRUE(this->Run(c.alphabetize, {}));
    followsBeta(1);
    EXPECT_TRUE(this->Run(c.copy, {2}));
    EXPECT_TRUE(this->Run(c.paste, {0}));
    EXPECT_EQ(this->Names(), (Names{"Gamma", "Alpha", "Beta", "Gamma"}));
    followsBeta(2);
    EXPECT_TRUE(this->messages.boxes.empty());

    // Delete asks the form whether to delete the record its edits belong to; No keeps the record
    // and the edits, Yes lets both go.
    this->messages.answers = {MsgResultNo, MsgResultYes};
    EXPECT_TRUE(this->Run(c.deleteRows, {1, 2}));
    this->Flush();
    EXPECT_EQ(this->messages.Texts(), (Names{"\"Beta edited\" has unsaved changes and will be deleted. Delete it?"}));
    EXPECT_EQ(this->Names(), (Names{"Gamma", "Alpha", "Beta", "Gamma"}));
    followsBeta(2);
    EXPECT_TRUE(this->Run(c.deleteRows, {1, 2}));
    this->Flush();
    EXPECT_EQ(this->messages.boxes.size(), 2u);
    EXPECT_EQ(this->Names(), (Names{"Gamma", "Gamma"}));
    EXPECT_EQ(this->Form(), nullptr);
}

// Regression: deleting two records whose forms both held edits, Yes to the first form and No to
// the second deleted nothing but dropped the first form's edits; its Close then asked nothing.
TYPED_TEST(RecordEditViewTest, ANoToAnyFormKeepsTheEditsOfEveryForm)
{
    const CRecordListCommands& c = this->Commands();
    std::vector<typename TestFixture::View*> forms;
    for (int row : {0, 2}) {
        ASSERT_TRUE(this->Run(c.edit, {row}));
        auto* form = dynamic_cast<typename TestFixture::View*>(this->doc->GetViews().back());
        ASSERT_NE(form, nullptr);
        TypeParam::Name(form)->setFocus();
        TypeParam::Name(form)->end(false);
        QTest::keyClicks(TypeParam::Name(form), " edited");
        forms.push_back(form);
    }
    this->messages.answers = {MsgResultYes, MsgResultNo};
    EXPECT_TRUE(this->Run(c.deleteRows, {0, 1, 2}));
    this->Flush();
    EXPECT_EQ(this->messages.Texts(),
              (std::vector<std::string>{"\"Alpha edited\" has unsaved changes and will be deleted. Delete it?",
                                        "\"Gamma edited\" has unsaved changes and will be deleted. Delete it?"}));
    EXPECT_EQ(this->messages.At(0).type & MsgDefaultMask, unsigned(MsgDefaultButton2)) << "Enter keeps the record";
    EXPECT_EQ(this->Names(), (std::vector<std::string>{"Alpha", "Beta", "Gamma"}));
    EXPECT_TRUE(forms[0]->IsChanged());
    EXPECT_TRUE(forms[1]->IsChanged());
}

// Regression: with two forms on one record, saving one reloaded the other and its unsaved edits
// were gone without a question; once its user kept them, its own save replaced the other's
// without a word. A form with unsaved changes comes forward and asks, naming the record as saved,
// and asks again before its save replaces the other's; No, the default, keeps its changes unsaved
// (Close, Ctrl+S and Append New then stay on the record). Both forms save, in both orders.
TYPED_TEST(RecordEditViewTest, TwoFormsOnOneRecordKeepEachOthersSaves)
{
    using View = typename TestFixture::View;
    const auto type = [](View* form, const std::string& text) {
        TypeParam::Name(form)->setFocus();
        TypeParam::Name(form)->selectAll();
        QTest::keyClicks(TypeParam::Name(form), QString::fromStdString(text));
    };
    const auto save = [](View* form) { QTest::mouseClick(form->Button(form->EditKind().buttons.save), Qt::LeftButton); };
    for (const int first : {0, 1}) {
        SCOPED_TRACE(first);
        const int record = 1 + first;
        std::array<View*, 2> forms{};
        for (View*& form : forms) {
            ASSERT_TRUE(this->Run(this->Commands().edit, {record}));
            form = dynamic_cast<View*>(this->doc->GetViews().back());
            ASSERT_NE(form, nullptr);
        }
        ASSERT_NE(forms[0], forms[1]);
        const std::string names[] = {this->Names()[record] + " A", this->Names()[record] + " B"};
        type(forms[0], names[0]);
        type(forms[1], names[1]);
        View* saver = forms[first];
        View* asked = forms[1 - first];
        this->messages.answers = {MsgResultNo};
        save(saver);
        EXPECT_EQ(this->messages.Texts(), std::vector<std::string>{"\"" + names[first] +
                                                                   "\" has been saved in another window. Show it as "
                                                                   "saved there, dropping the unsaved changes in this window?"});
        EXPECT_EQ(this->frame.ActiveView(), asked) << "the form that asks comes forward";
        EXPECT_EQ(this->Names()[record], names[first]);
        EXPECT_EQ(TypeParam::Name(asked)->text().toStdString(), names[1 - first]);

        // The asked form's save asks before it replaces the other's; No keeps its edits on the form.
        const std::string replace = "\"" + names[first] +
                                    "\" was saved in another window since this form showed it. Replace it with this "
                                    "form's version?";
        this->messages.boxes.clear();
        const std::size_t open = this->doc->GetViews().size();
        std::vector<std::string> questions = {"Save changes to \"" + names[1 - first] + "\" ?", replace};
        if (first == 1 && TypeParam::kSaveAndNextKey) {
            this->messages.answers = {MsgResultNo};
            QTest::keyClick(TypeParam::Name(asked), Qt::Key_S, Qt::ControlModifier);
            questions.erase(questions.begin());
        } else {
            this->messages.answers = {MsgResultYes, MsgResultNo};
            const CRecordEditButtons& buttons = asked->EditKind().buttons;
            QTest::mouseClick(asked->Button(first == 0 ? buttons.close : buttons.next), Qt::LeftButton);
        }
        EXPECT_EQ(this->messages.Texts(), questions);
        EXPECT_EQ(this->messages.Last().type & MsgDefaultMask, unsigned(MsgDefaultButton2)) << "Enter keeps both";
        this->Flush();
        ASSERT_EQ(this->doc->GetViews().size(), open) << "the form stays open";
        EXPECT_EQ(this->Names().size(), 3u) << "Append New stops";
        EXPECT_EQ(asked->CurrentIndex(), record) << "the form stays on its record";
        EXPECT_TRUE(asked->IsChanged());
        EXPECT_EQ(TypeParam::Name(asked)->text().toStdString(), names[1 - first]);
        EXPECT_EQ(this->Names()[record], names[first]);

        // Yes replaces it; the other form, unchanged since its save, shows the result.
        this->messages.boxes.clear();
        this->messages.answers = {MsgResultYes};
        save(asked);
        EXPECT_EQ(this->messages.Texts(), std::vector<std::string>{replace});
        EXPECT_EQ(this->Names()[record], names[1 - first]);
        EXPECT_FALSE(asked->IsChanged());
        EXPECT_FALSE(saver->IsChanged());
        EXPECT_EQ(TypeParam::Name(saver)->text().toStdString(), names[1 - first]);
        // Shown anew (Undo Changes) or kept beside the other's save (Save as New), the record is
        // asked about no more.
        type(asked, "mine");
        type(saver, "again");
        this->messages.answers = {MsgResultNo};
        save(saver);
        this->messages.boxes.clear();
        if (first == 0) {
            QTest::mouseClick(asked->Button(asked->EditKind().buttons.undo), Qt::LeftButton);
            type(asked, "mine");
            save(asked);
        } else {
            EXPECT_TRUE(asked->OnCommand(asked->EditKind().commands.saveAsNew));
        }
        EXPECT_TRUE(this->messages.boxes.empty());
        EXPECT_EQ(this->Names()[record], first == 0 ? "mine" : "again");
        EXPECT_EQ(this->Names()[record + first], "mine");
    }
}

// Regression: a limit formula's or a graph template's form kept its old title, and its old entry
// in the Window menu, after a rename was saved; every form names its record as saved.
TYPED_TEST(RecordEditViewTest, ASavedRenameTitlesTheWindowAndItsWindowMenuEntry)
{
    ASSERT_TRUE(this->Run(this->Commands().edit, {1}));
    auto* form = this->Form();
    ASSERT_NE(form, nullptr);
    TypeParam::Name(form)->setFocus();
    TypeParam::Name(form)->selectAll();
    QTest::keyClicks(TypeParam::Name(form), "Cone 10 shino v2");
    QTest::mouseClick(form->Button(form->EditKind().buttons.save), Qt::LeftButton);
    ASSERT_EQ(this->Names()[1], "Cone 10 shino v2");
    const QString title = QStringLiteral("Cone 10 shino v2") + QString::fromLatin1(TypeParam::kTitleSuffix);
    const auto* window = dynamic_cast<const QMdiSubWindow*>(form->GetFrame());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle().toStdString(), title.toStdString());
    QStringList entries;
    for (QAction* top : this->frame.menuBar()->actions()) {
        if (top->text() != QStringLiteral("&Window") || !top->menu())
            continue;
        emit top->menu()->aboutToShow();
        for (const QAction* entry : top->menu()->actions())
            entries << entry->text();
    }
    EXPECT_TRUE(entries.contains(QStringLiteral("&2 ") + title)) << entries.join(QStringLiteral(" | ")).toStdString();
}

// Each form is as large as its kind states, in dialog units, and filled with its kind's colour.
// Regression: a second form on the same record stood exactly over the first, hiding it; it stands
// a title bar apart, both inside the workspace.
TYPED_TEST(RecordEditViewTest, TheFormHasItsKindsSizeAndColourAndASecondOneStandsApart)
{
    ASSERT_TRUE(this->Run(this->Commands().edit, {0}));
    auto* form = this->Form();
    ASSERT_NE(form, nullptr);
    const QWidget* page = form->widget();
    ASSERT_NE(page, nullptr);
    const CDialogUnits units(form->font());
    EXPECT_EQ(page->size(), QSize(units.X(TypeParam::kFormWidth), units.Y(TypeParam::kFormHeight)));
    EXPECT_EQ(page->palette().color(QPalette::Window), ToQColor(GetNamedColor(TypeParam::kColor)));
    // On the first record the buttons insert before it and step to the next; Help opens the
    // form's topic, and a command of the list is not the form's to offer.
    const CRecordEditKind& kind = form->EditKind();
    EXPECT_EQ(form->Button(kind.buttons.previous)->text(), QStringLiteral("Insert New"));
    EXPECT_EQ(form->Button(kind.buttons.next)->text(), QStringLiteral("Edit Next"));
    EXPECT_TRUE(form->OnCommand(kind.help));
    ASSERT_EQ(this->messages.helps.size(), 1u);
    EXPECT_EQ(this->messages.helps[0].id, kind.helpId);
    EXPECT_FALSE(this->frame.QueryCommand(this->Commands().deleteRows).m_bEnabled);

    ASSERT_TRUE(this->Run(this->Commands().edit, {0}));
    const auto* second = dynamic_cast<const QMdiSubWindow*>(this->doc->GetViews().back()->GetFrame());
    const auto* first = dynamic_cast<const QMdiSubWindow*>(form->GetFrame());
    ASSERT_TRUE(first && second && first != second);
    EXPECT_EQ(second->pos() - first->pos(), QPoint(this->app.m_nCascadeStep, this->app.m_nCascadeStep));
    EXPECT_TRUE(second->mdiArea()->viewport()->rect().contains(second->geometry()));

    // Insert New shows the new first record; Ctrl+S there goes on to the next one.
    QTest::mouseClick(form->Button(kind.buttons.previous), Qt::LeftButton);
    EXPECT_EQ(form->CurrentIndex(), 0);
    EXPECT_EQ(this->Names().size(), 4u);
    if (kind.saveAndNext != 0) {
        EXPECT_TRUE(form->OnCommand(kind.saveAndNext));
        EXPECT_EQ(form->CurrentIndex(), 1);
        EXPECT_EQ(this->Names().size(), 4u);
    }
}

} // namespace
