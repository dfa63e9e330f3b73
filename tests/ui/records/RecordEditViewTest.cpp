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
#include "materials/FormulaConversion.h"
#include "materials/FormulaConversionDlg.h"
#include "materials/ImportTmtDlg.h"
#include "materials/SetMaterialFieldDlg.h"
#include "shell/Clipboards.h"
#include "ui/support/ModalDialogTest.h"
#include "ui/records/RecordWindowsFixture.h"
#include "TestPaths.h"

#include <QApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <memory>
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

CMaterial MakeFormMaterial(const char* name, const char* formula, double density, double cost)
{
    CMaterial material(name);
    material.SetFormula(formula);
    material.m_density = density;
    material.m_costPerLb = cost;
    material.m_available = 1;
    return material;
}

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
    EXPECT_EQ(this->messages.Texts(), (Names{"\"Beta\" has unsaved changes in its window (\"Beta edited\") and will be deleted. Delete it?"}));
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
              (std::vector<std::string>{
                  "\"Alpha\" has unsaved changes in its window (\"Alpha edited\") and will be deleted. Delete it?",
                  "\"Gamma\" has unsaved changes in its window (\"Gamma edited\") and will be deleted. Delete it?"}));
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

// The roads of the table below: every command that changes or removes a stored record.
enum class Road {
    OtherFormSaves,
    SaveAsNew,
    SaveAsNewLimited, // the second form is limited to Beta and Gamma
    DatabaseSave,
    DatabaseSaveThenExit, // the held form then types "Beta held more"
    MergeReplacing,
    MergeTwice, // the file holds Beta, Gamma and Gamma again
    MergeWithNew, // the file holds Beta and the new Delta
    Revert,
    RevertGone,      // the file was deleted before
    RevertOtherKind, // the file was replaced by a glaze database
    RevertCut,       // another program cut the file in the middle of Gamma's name
    Delete,
    Cut,
    TitleBar,
    CtrlF4,
    CloseButton,
    Exit, // the database's question at Exit
};

// One road, taken while a form holds the unsaved name "Beta held" over Beta and a second form is
// open on Beta too. A question "@" is the one about a file cut short. With otherSaved, the second form saved "Beta saved" first and the held form
// kept its edits (No); with otherHolds, the second form holds the unsaved name "Beta other".
struct CRoadRow {
    const char* what;
    Road road;
    bool otherSaved;
    std::vector<int> answers;
    std::vector<const char*> questions; // "%" stands for the name the second form saved, "$" for the file,
                                        // "#" for the folder of the files merged
    const char* heldOn;                 // the stored record the held form shows; null: closed
    std::vector<const char*> file;      // the records of the database's file after the road
    bool heldSaveAsks;                  // the held form's own save then asks before it replaces "%"
    bool otherHolds = false;
    bool heldKeeps = true;  // the held form still holds its edits (else it shows heldOn as stored)
    bool otherKeeps = false; // the second form still holds "Beta other"
    bool thirdHolds = false; // a third form holds the unsaved name "Beta third"
};

const std::vector<CRoadRow>& RoadRows()
{
    const char* save = "Save changes to \"Beta held\" ?";
    const char* saveOther = "Save changes to \"Beta other\" ?";
    const char* replace = "\"%\" was saved in another window since this form showed it. Replace it with this form's "
                          "version?";
    const char* revert = "Revert To Saved drops the unsaved changes to $ and in \"Beta held\".";
    // The stored record is what a merge replaces, named beside what its window shows.
    const char* merged = "\"%\" has unsaved changes in its window (\"Beta held\") and will be replaced by the one "
                         "merged in. Replace it?";
    const char* replaceHeld = "\"Beta held\" will be saved from another window first. Replace it with this form's "
                              "version?";
    const char* heldStays = "\"Beta held\" stays open with its unsaved changes, so the command goes no further.";
    const char* otherStays = "\"Beta other\" stays open with its unsaved changes, so the command goes no further.";
    const char* saveMore = "Save changes to \"Beta held more\" ?";
    const char* replaceMore = "\"Beta held more\" will be saved from another window first. Replace it with this form's "
                              "version?";
    const int yes = MsgResultYes;
    const int no = MsgResultNo;
    const int ok = MsgResultOk;
    const int cancel = MsgResultCancel;
    static const std::vector<CRoadRow> rows = {
        {"another form saves", Road::OtherFormSaves, false, {MsgResultNo},
         {"\"%\" has been saved in another window. Show it as saved there, dropping the unsaved changes in this window?"},
         "Beta saved", {"Alpha", "Beta saved", "Gamma"}, true},
        {"another form's Save as New", Road::SaveAsNew, false, {}, {}, "Beta", {"Alpha", "Beta", "Beta (new)", "Gamma"}, false},
        {"the database's Save, keeping the stored version", Road::DatabaseSave, true, {MsgResultYes, MsgResultNo},
         {save, replace}, "Beta saved", {"Alpha", "Beta saved", "Gamma"}, true},
        {"Merge replacing, No keeps the record and the edits", Road::MergeReplacing, true, {no},
         {merged, "Nothing was merged from #/merged. \"%\" was kept with the unsaved changes in its window "
                  "(\"Beta held\")."},
         "Beta saved", {"Alpha", "Beta saved", "Gamma"}, true},
        // A No keeps its record and merges the rest; Enter is that No; Cancel merges nothing.
        {"Merge replacing and appending, No merges the rest", Road::MergeWithNew, false, {no},
         {merged, "Merged from #/withDelta: 1 appended, 0 replaced. \"%\" was kept with the unsaved changes in its "
                  "window (\"Beta held\")."},
         "Beta", {"Alpha", "Beta", "Gamma", "Delta"}, false},
        {"Merge replacing and appending, Enter merges the rest", Road::MergeWithNew, false, {},
         {merged, "Merged from #/withDelta: 1 appended, 0 replaced. \"%\" was kept with the unsaved changes in its "
                  "window (\"Beta held\")."},
         "Beta", {"Alpha", "Beta", "Gamma", "Delta"}, false},
        {"Merge replacing and appending, Cancel merges nothing", Road::MergeWithNew, false, {cancel},
         {merged, "Nothing was merged from #/withDelta."}, "Beta", {"Alpha", "Beta", "Gamma"}, false},
        {"Merge replacing and appending, Yes replaces and appends", Road::MergeWithNew, false, {yes}, {merged}, "Beta",
         {"Alpha", "Beta", "Gamma", "Delta"}, false, false, false},
        {"Merge replacing, Yes: the form shows the merged record", Road::MergeReplacing, true, {yes}, {merged},
         "Beta saved", {"Alpha", "Beta saved", "Gamma"}, false, false, false},
        {"Revert To Saved, cancelled", Road::Revert, true, {cancel}, {revert}, "Beta saved",
         {"Alpha", "Beta saved", "Gamma"}, true},
        {"Revert To Saved", Road::Revert, true, {ok}, {revert}, nullptr, {"Alpha", "Beta", "Gamma"}, false},
        {"Revert To Saved of a file that is gone keeps the database and the edits", Road::RevertGone, true, {ok, ok},
         {revert, "$: Error opening file"}, "Beta saved", {"Alpha", "Beta saved", "Gamma"}, true},
        {"Revert To Saved of a file replaced by another kind keeps the database and the edits", Road::RevertOtherKind,
         true, {ok, ok, yes}, {revert, "$: Incorrect file type: Oxidarium Glazes"}, "Beta saved",
         {"Alpha", "Beta saved", "Gamma"}, true},
        {"Revert To Saved of a file cut short, cancelled, keeps the database and the edits", Road::RevertCut, true,
         {ok, cancel, yes}, {revert, "@"}, "Beta saved", {"Alpha", "Beta saved", "Gamma"}, true},
        {"Revert To Saved of a file cut short, reverting all the same", Road::RevertCut, true, {ok, ok}, {revert, "@"},
         nullptr, {"Alpha", "Beta", "Gam"}, false},
        {"Revert To Saved names every form it drops the edits of", Road::Revert, false, {cancel},
         {"Revert To Saved drops the unsaved changes in \"Beta held\" and \"Beta other\"."}, "Beta",
         {"Alpha", "Beta", "Gamma"}, false, true, true, true},
        {"Delete, keeping the record", Road::Delete, false, {no},
         {"\"%\" has unsaved changes in its window (\"Beta held\") and will be deleted. Delete it?"}, "Beta",
         {"Alpha", "Beta", "Gamma"}, false},
        {"Cut, saving first", Road::Cut, false, {yes}, {save}, nullptr, {"Alpha", "Gamma"}, false},
        {"Cut, No to the first form, then Cancel", Road::Cut, false, {no, cancel}, {save, saveOther}, "Beta",
         {"Alpha", "Beta", "Gamma"}, false, true, true, true},
        {"Merge replacing, Yes to the first form, No to the second", Road::MergeReplacing, false, {yes, no},
         {merged,
          "\"%\" has unsaved changes in its window (\"Beta other\") and will be replaced by the one merged in. Replace "
          "it?",
          "Nothing was merged from #/merged. \"%\" was kept with the unsaved changes in its window (\"Beta other\")."},
         "Beta",
         {"Alpha", "Beta", "Gamma"}, false, true, true, true},
        // Both forms on Beta answered Yes: the second one's version would replace the first's.
        {"the database's Save, Yes to both forms: the second replaces the first's version", Road::DatabaseSave, false,
         {yes, yes, yes}, {save, saveOther, replaceHeld}, "Beta other", {"Alpha", "Beta other", "Gamma"}, false, true,
         false},
        {"the database's Save, Yes to both forms: the second keeps the first's version", Road::DatabaseSave, false,
         {yes, yes, no}, {save, saveOther, replaceHeld}, "Beta held", {"Alpha", "Beta held", "Gamma"}, false, true,
         false, true},
        {"the database's Save, Yes to both forms, then Cancel", Road::DatabaseSave, false, {yes, yes, cancel},
         {save, saveOther, replaceHeld}, "Beta", {"Alpha", "Beta", "Gamma"}, false, true, true, true},
        {"Exit, Yes to both forms, then Cancel", Road::Exit, false, {yes, yes, cancel}, {save, saveOther, replaceHeld},
         "Beta", {"Alpha", "Beta", "Gamma"}, false, true, true, true},
        // The held form kept its edits over the other's save and lets its own replace it, then the
        // other form cancels: the held form still asks before its save replaces the other's.
        {"Exit, Yes to replacing, then Cancel", Road::Exit, true, {yes, yes, cancel}, {save, replace, saveOther},
         "Beta saved", {"Alpha", "Beta saved", "Gamma"}, true, true, true, true},
        {"the database's Save, Yes to the first form, No to the second", Road::DatabaseSave, false, {yes, no},
         {save, saveOther}, "Beta held", {"Alpha", "Beta held", "Gamma"}, false, true, false, true},
        {"another form's Save as New, in limited access", Road::SaveAsNewLimited, false, {}, {}, "Beta",
         {"Alpha", "Beta", "Beta (new)", "Gamma"}, false},
        {"the title bar's close, keeping the stored version", Road::TitleBar, true, {yes, no}, {save, replace},
         "Beta saved", {"Alpha", "Beta saved", "Gamma"}, true},
        {"Ctrl+F4, keeping the stored version", Road::CtrlF4, true, {yes, no}, {save, replace}, "Beta saved",
         {"Alpha", "Beta saved", "Gamma"}, true},
        {"the Close button, keeping the stored version", Road::CloseButton, true, {yes, no}, {save, replace},
         "Beta saved", {"Alpha", "Beta saved", "Gamma"}, true},
        {"Exit, keeping the stored version", Road::Exit, true, {yes, no}, {save, replace, heldStays}, "Beta saved",
         {"Alpha", "Beta saved", "Gamma"}, true},
        // Enter at the question keeps the held form's version, saved, and the other form's edits,
        // and the command stops there, saying so.
        {"Exit, Yes to both forms, then Enter", Road::Exit, false, {yes, yes}, {save, saveOther, replaceHeld, otherStays},
         "Beta held", {"Alpha", "Beta held", "Gamma"}, false, true, false, true},
        {"Cut, Yes to both forms, then Enter", Road::Cut, false, {yes, yes}, {save, saveOther, replaceHeld, otherStays},
         "Beta held", {"Alpha", "Beta held", "Gamma"}, false, true, false, true},
        // A form is asked once in a step whether its version replaces another: the version saved
        // first in the step, not also the one saved before it.
        {"the database's Save keeping the second form's edits, then Exit, Yes to both, then Enter",
         Road::DatabaseSaveThenExit, false, {yes, yes, no, yes, yes},
         {save, saveOther, replaceHeld, saveMore, saveOther, replaceMore, otherStays}, "Beta held more",
         {"Alpha", "Beta held more", "Gamma"}, false, true, false, true},
        {"Exit with three forms, Yes to each, then Enter at both questions", Road::Exit, false, {yes, yes, yes},
         {save, saveOther, "Save changes to \"Beta third\" ?", replaceHeld, replaceHeld,
          "\"Beta other\" and \"Beta third\" stay open with their unsaved changes, so the command goes no further."},
         "Beta held", {"Alpha", "Beta held", "Gamma"}, false, true, false, true, true},
        // A No keeps the record: its other forms are not asked.
        {"Merge replacing, No to the first of two forms", Road::MergeReplacing, false, {no},
         {merged, "Nothing was merged from #/merged. \"%\" was kept with the unsaved changes in its window "
                  "(\"Beta held\")."},
         "Beta", {"Alpha", "Beta", "Gamma"}, false, true, true, true},
        // The file holds Beta, and Gamma twice: one record replaced, and the user told which Gamma stands.
        {"Merge replacing a name the file holds twice, keeping Beta", Road::MergeTwice, false, {no},
         {merged, "Merged from #/twice: 0 appended, 1 replaced. The file holds \"Gamma\" 2 times; the last of them "
                  "stands. \"%\" was kept with the unsaved changes in its window (\"Beta held\")."},
         "Beta", {"Alpha", "Beta", "Gamma"}, false},
    };
    return rows;
}

std::string Named(const char* text, const std::string& saved, const std::string& path = {})
{
    std::string result = text;
    if (const std::size_t at = result.find('%'); at != std::string::npos)
        result.replace(at, 1, saved);
    if (const std::size_t at = result.find('$'); at != std::string::npos)
        result.replace(at, 1, path);
    return result;
}

// Regressions: Save as New moved every other window on the record to the new copy, which the
// next save there replaced; a No to "Replace it with this form's version?" stopped the database's
// Save and a Merge without a word; Revert closed forms holding edits without a question. Then:
// No to a first form dropped its edits though a Cancel at the second stopped the command; Revert
// asked a save question whose Yes it undid, and one of a vanished file emptied the database; a
// form closed by its title bar after keeping the stored version lost its edits; a second form on
// the record was asked up to three questions by one save.
TYPED_TEST(RecordEditViewTest, EveryRoadToARecordAsksItsFormsFirst)
{
    using View = typename TestFixture::View;
    const CRecordListCommands& c = this->Commands();
    const CRecordFileCommands& file = this->doc->Kind().commands;
    const std::string folder = this->dir.path().toStdString();
    this->doc->InsertRecord(3, typename TestFixture::Record("Delta"));
    ASSERT_TRUE(this->doc->SaveRecordsAs(folder + "/withDelta", std::vector<int>{1, 3}));
    this->doc->RemoveRecord(3);
    ASSERT_TRUE(this->doc->OnSaveDocument(folder + "/base"));
    const auto open = [this, &c](bool limited) {
        EXPECT_TRUE(limited ? this->Run(c.editLimited, {1, 2}) : this->Run(c.edit, {1}));
        return dynamic_cast<View*>(this->doc->GetViews().back());
    };
    const auto isOpen = [this](View* form) {
        const auto& views = this->doc->GetViews();
        return std::find(views.begin(), views.end(), form) != views.end();
    };
    const auto type = [](View* form, const char* text) {
        TypeParam::Name(form)->setFocus();
        TypeParam::Name(form)->selectAll();
        QTest::keyClicks(TypeParam::Name(form), QString::fromLatin1(text));
    };
    const auto save = [](View* form) { QTest::mouseClick(form->Button(form->EditKind().buttons.save), Qt::LeftButton); };
    const auto fileNames = [this](const std::string& path) {
        std::vector<std::string> names;
        const std::unique_ptr<CRecordSource> read = this->doc->ReadRecordFile(path);
        for (int i = 0; read && i < read->Count(); ++i)
            names.push_back(read->NameAt(i));
        return names;
    };
    std::string cutShort; // the question about the file cut short
    const auto texts = [&cutShort, &folder](const std::vector<const char*>& list, const std::string& saved,
                                            const std::string& path) {
        std::vector<std::string> result;
        for (const char* text : list) {
            result.push_back(std::string(text) == "@" ? cutShort : Named(text, saved, path));
            if (const std::size_t at = result.back().find('#'); at != std::string::npos)
                result.back().replace(at, 1, folder);
        }
        return result;
    };
    const char* replace = "\"%\" was saved in another window since this form showed it. Replace it with this form's "
                          "version?";
    int k = 0;
    for (const CRoadRow& row : RoadRows()) {
        SCOPED_TRACE(row.what);
        const std::string path = folder + "/row" + std::to_string(k++);
        std::filesystem::copy_file(folder + "/base", path);
        this->doc->SetModifiedFlag(false);
        ASSERT_EQ(this->doc->OpenDatabase(path), 0);
        this->Flush();
        View* held = open(false);
        View* other = open(row.road == Road::SaveAsNewLimited);
        ASSERT_TRUE(held && other && held != other);
        type(held, "Beta held");
        const std::string saved = row.otherSaved || row.road == Road::OtherFormSaves ? "Beta saved" : "Beta";
        if (row.otherSaved) {
            this->messages.answers = {MsgResultNo};
            type(other, "Beta saved");
            save(other);
        }
        if (row.otherHolds)
            type(other, "Beta other");
        if (row.thirdHolds)
            type(open(false), "Beta third");
        // Revert To Saved is offered while a form holds edits, the database unmodified or not.
        CCmdUI revertState(file.revert);
        EXPECT_TRUE(this->doc->OnUpdateCommand(revertState));
        EXPECT_TRUE(revertState.m_bEnabled);
        this->messages.boxes.clear();
        this->messages.answers.assign(row.answers.begin(), row.answers.end());
        switch (row.road) {
        case Road::OtherFormSaves:
            type(other, "Beta saved");
            save(other);
            break;
        case Road::SaveAsNew: EXPECT_TRUE(other->OnCommand(other->EditKind().commands.saveAsNew)); break;
        case Road::SaveAsNewLimited:
            EXPECT_TRUE(other->OnCommand(other->EditKind().commands.saveAsNew));
            if (!other->EditKind().saveAsNewWhenLimited) {
                EXPECT_EQ(this->Names().size(), 3u) << "a kind without Save as New in limited access";
                break;
            }
            // The new record joins the records the form is limited to, after the stored one.
            EXPECT_EQ(other->CurrentIndex(), 2);
            EXPECT_EQ(other->LimitedCount(), 3);
            EXPECT_EQ(other->LimitedPosition(), 1);
            other->EditNext();
            EXPECT_EQ(other->CurrentIndex(), 3) << "Edit Next goes on to Gamma";
            break;
        case Road::DatabaseSave: EXPECT_TRUE(this->doc->OnCommand(file.save)); break;
        case Road::DatabaseSaveThenExit:
            EXPECT_TRUE(this->doc->OnCommand(file.save));
            type(held, "Beta held more");
            EXPECT_FALSE(this->doc->SaveModified(SaveModifiedFor::Closing));
            break;
        case Road::MergeTwice:
            ASSERT_TRUE(this->doc->SaveRecordsAs(folder + "/twice", std::vector<int>{1, 2, 2}));
            this->dialogs.AnswerPath(folder + "/twice");
            ReplaceAllWhenMerging();
            EXPECT_TRUE(this->Run(c.merge, {}));
            break;
        case Road::MergeReplacing:
            ASSERT_TRUE(this->doc->SaveRecordsAs(folder + "/merged", std::vector<int>{1}));
            this->dialogs.AnswerPath(folder + "/merged");
            ReplaceAllWhenMerging();
            EXPECT_TRUE(this->Run(c.merge, {}));
            break;
        case Road::MergeWithNew:
            this->dialogs.AnswerPath(folder + "/withDelta");
            ReplaceAllWhenMerging();
            EXPECT_TRUE(this->Run(c.merge, {}));
            ASSERT_FALSE(this->messages.boxes.empty());
            EXPECT_EQ(this->messages.At(0).type & MsgDefaultMask, unsigned(MsgDefaultButton2)) << "Enter keeps the edits";
            break;
        case Road::Revert:
            EXPECT_TRUE(this->doc->OnCommand(file.revert));
            ASSERT_FALSE(this->messages.boxes.empty());
            EXPECT_EQ(this->messages.At(0).type & MsgDefaultMask, unsigned(MsgDefaultButton2)) << "Enter keeps the edits";
            break;
        case Road::RevertCut: {
            std::string bytes;
            {
                std::ifstream in(path, std::ios::binary);
                bytes.assign(std::istreambuf_iterator<char>(in), {});
            }
            bytes.resize(bytes.rfind("Gamma") + 3);
            std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
            const std::size_t lineStart = bytes.rfind('\n') + 1;
            cutShort = path + ": \"" + bytes.substr(lineStart) +
                       "\" ends the file without a line break, so the file may have been cut short (line " +
                       std::to_string(std::count(bytes.begin(), bytes.end(), '\n') + 1) + "). Revert to it anyway?";
            EXPECT_TRUE(this->doc->OnCommand(file.revert));
            ASSERT_EQ(this->messages.boxes.size(), 2u);
            EXPECT_EQ(this->messages.At(1).type & MsgDefaultMask, unsigned(MsgDefaultButton2)) << "Enter keeps all";
            EXPECT_EQ(this->doc->IsModified(), row.heldOn != nullptr);
            break;
        }
        case Road::RevertGone:
        case Road::RevertOtherKind:
            std::filesystem::remove(path);
            // (The save that follows asks before it replaces the file another program wrote: Yes.)
            if (row.road == Road::RevertOtherKind)
                std::ofstream(path, std::ios::binary) << "filetype = Oxidarium Glazes\nversion =  2\n\nname = Celadon\n";
            EXPECT_TRUE(this->doc->OnCommand(file.revert));
            EXPECT_TRUE(this->doc->IsModified()) << "nothing was reverted";
            EXPECT_EQ(this->doc->GetPathName(), path);
            break;
        case Road::TitleBar: dynamic_cast<QMdiSubWindow*>(held->GetFrame())->close(); break;
        case Road::CtrlF4:
            QApplication::setActiveWindow(&this->frame);
            held->GetFrame()->ActivateFrame();
            TypeParam::Name(held)->setFocus();
            QTest::keyClick(TypeParam::Name(held), Qt::Key_F4, Qt::ControlModifier);
            break;
        case Road::CloseButton:
            QTest::mouseClick(held->Button(held->EditKind().buttons.close), Qt::LeftButton);
            break;
        case Road::Exit: EXPECT_FALSE(this->doc->SaveModified(SaveModifiedFor::Closing)); break;
        case Road::Delete: EXPECT_TRUE(this->Run(c.deleteRows, {1})); break;
        case Road::Cut: EXPECT_TRUE(this->Run(c.cut, {1})); break;
        }
        this->Flush();
        EXPECT_EQ(this->messages.Texts(), texts(row.questions, saved, path));
        const bool heldOpen = isOpen(held);
        EXPECT_EQ(heldOpen, row.heldOn != nullptr);
        if (row.heldOn && heldOpen) {
            EXPECT_EQ(held->IsChanged(), row.heldKeeps);
            EXPECT_EQ(TypeParam::Name(held)->text().toStdString(), row.heldKeeps ? "Beta held" : row.heldOn);
            EXPECT_EQ(this->Names()[static_cast<std::size_t>(held->CurrentIndex())], row.heldOn);
        }
        if (row.otherKeeps) {
            ASSERT_TRUE(isOpen(other));
            EXPECT_TRUE(other->IsChanged());
            EXPECT_EQ(TypeParam::Name(other)->text(), QStringLiteral("Beta other"));
        }
        // Every window without edits is titled by the record it shows.
        if (isOpen(other) && !other->IsChanged()) {
            const std::string shown = this->Names()[static_cast<std::size_t>(other->CurrentIndex())];
            EXPECT_EQ(dynamic_cast<const QMdiSubWindow*>(other->GetFrame())->windowTitle().toStdString(),
                      shown + TypeParam::kTitleSuffix);
            EXPECT_EQ(TypeParam::Name(other)->text().toStdString(), shown);
        }
        if (row.road == Road::DatabaseSave)
            EXPECT_FALSE(this->doc->IsModified()) << "the file was written";
        else
            ASSERT_TRUE(this->doc->OnSaveDocument(path));
        std::vector<std::string> expected(row.file.begin(), row.file.end());
        if (row.road == Road::SaveAsNewLimited && !other->EditKind().saveAsNewWhenLimited)
            std::erase(expected, "Beta (new)");
        EXPECT_EQ(fileNames(path), expected);

        // The user's next step: the held form saves its edits over the record it shows.
        if (row.heldOn && heldOpen && row.heldKeeps) {
            this->messages.boxes.clear();
            this->messages.answers = {MsgResultYes, MsgResultYes};
            save(held);
            std::vector<const char*> asked;
            if (row.heldSaveAsks)
                asked.push_back(replace);
            // A second form that kept its edits hears of the save.
            if (row.otherKeeps)
                asked.push_back("\"Beta held\" has been saved in another window. Show it as saved there, dropping the "
                                "unsaved changes in this window?");
            EXPECT_EQ(this->messages.Texts(), texts(asked, saved, path));
            EXPECT_EQ(this->Names()[static_cast<std::size_t>(held->CurrentIndex())], "Beta held");
            EXPECT_EQ(this->Names().size(), expected.size());
        }
        // A second form that kept its edits over the held form's save asks before it replaces it.
        if (row.otherKeeps && !row.heldKeeps) {
            this->messages.boxes.clear();
            this->messages.answers = {MsgResultNo};
            save(other);
            EXPECT_EQ(this->messages.Texts(), std::vector<std::string>{Named(replace, row.heldOn)});
            EXPECT_TRUE(other->IsChanged());
        }
        for (CView* window : std::vector<CView*>(this->doc->GetViews())) {
            if (auto* form = dynamic_cast<View*>(window)) {
                form->SetChanged(false);
                form->GetFrame()->CloseFrame();
            }
        }
        this->Flush();
        this->messages.boxes.clear();
    }
}

// The roads that change a material that Beta maps to, while a form holds edits over Beta.
enum class MaterialRoad { FormSaves, SetField, SetFieldAll, Convert, ConvertBoth, Paste, ImportTmt };

struct CMappedRow {
    const char* what;
    MaterialRoad road;
    int field;         // Set Field's choice (Cost 4, Density 3, Available 5, Formula 6)
    const char* value; // typed or set
    std::vector<int> answers;
    std::vector<const char*> questions;
    bool heldKeeps;       // the held form still holds "Beta held" (else it shows Beta as stored)
    bool applied = true;  // the command changed the materials (Cancel: nothing changed)
    bool heldEdits = true; // the held form holds edits before the road
    bool alphaForm = false; // a second form, opened after it, holds "Alpha mine" over Alpha
    const char* alphaCost = nullptr; // or, keeping the name, this cost
};

class MappedMaterialTest : public RecordEditViewTest<MaterialsForm> {
protected:
    CMaterial& Stored(int index) { return *doc->Materials().GetAt(index); }
    // Beta's density, cost, availability and formula are those of the material it maps to.
    static void ExpectInStep(const CMaterial& mapped, const CMaterial& end)
    {
        EXPECT_EQ(mapped.m_density, end.m_density);
        EXPECT_EQ(mapped.m_costPerLb, end.m_costPerLb);
        EXPECT_EQ(mapped.m_available, end.m_available);
        EXPECT_EQ(mapped.m_formula, end.m_formula);
    }
    CMaterialEditView* OpenForm(int row, const char* name)
    {
        EXPECT_TRUE(Run(Commands().edit, {row}));
        auto* form = dynamic_cast<CMaterialEditView*>(doc->GetViews().back());
        if (form && name) {
            form->NameEdit()->setFocus();
            form->NameEdit()->selectAll();
            QTest::keyClicks(form->NameEdit(), QString::fromLatin1(name));
        }
        return form;
    }
};

// Regressions: saving a material silently reloaded the forms on the materials mapped to it,
// dropping their unsaved edits; Set Field of a cost, density, formula or availability left the
// materials mapped to it with the old values, as an Insight TMT import of it did, and Convert and
// Paste left their forms showing them; a form on a mapped material without edits was asked as if
// it held some and left marked changed; No to a first form dropped its edits though a second
// form's Cancel then stopped the command.
TEST_F(MappedMaterialTest, EveryRoadThatChangesAMaterialBringsItsMappedOnesUpToDateAskingTheirFormsFirst)
{
    const char* changed = "\"Beta\" has been changed outside this window. Show it as changed, dropping the unsaved "
                          "changes in this window?";
    const char* told = "1 material mapping updated";
    const char* saveHeld = "Save changes to \"Beta held\" ?";
    const char* saveAlpha = "Save changes to \"Alpha mine\" ?";
    const int yes = MsgResultYes;
    const int no = MsgResultNo;
    const int ok = MsgResultOk;
    const int cancel = MsgResultCancel;
    const std::vector<CMappedRow> rows = {
        {"Alpha's form saves a cost", MaterialRoad::FormSaves, 0, "1.05", {no, ok}, {changed, told}, true},
        {"Set Field Cost", MaterialRoad::SetField, 4, "1.23", {yes, ok}, {changed, told}, false},
        {"Set Field Density", MaterialRoad::SetField, 3, "2.4", {no, ok}, {changed, told}, true},
        {"Set Field Available", MaterialRoad::SetField, 5, "No", {yes, ok}, {changed, told}, false},
        {"Set Field Formula", MaterialRoad::SetField, 6, "Al2O3 2SiO2", {no, ok}, {changed, told}, true},
        {"Convert Formula", MaterialRoad::Convert, 0, "", {yes}, {changed}, false},
        {"Convert Formula, keeping the edits", MaterialRoad::Convert, 0, "", {no}, {changed}, true},
        {"Paste of the material mapped to", MaterialRoad::Paste, 0, "", {no, ok}, {changed, told}, true},
        {"Insight TMT import of the material mapped to", MaterialRoad::ImportTmt, 0, "", {no, ok}, {changed, told}, true},
        {"Alpha's form saves, the mapped form without edits", MaterialRoad::FormSaves, 0, "1.05", {ok}, {told}, false,
         true, false},
        {"Set Field Cost, the mapped form without edits", MaterialRoad::SetField, 4, "1.23", {ok}, {told}, false, true,
         false},
        {"Convert Formula, the mapped form without edits", MaterialRoad::Convert, 0, "", {}, {}, false, true, false},
        {"Set Field over every material, No drops the form's edits", MaterialRoad::SetFieldAll, 3, "2.4", {no},
         {saveHeld}, false},
        {"Set Field over every material, No, then Cancel", MaterialRoad::SetFieldAll, 4, "1.23", {no, cancel},
         {saveHeld, saveAlpha}, true, false, true, true},
        // Beta takes its formula from Alpha: a conversion of both changes Alpha alone, asks its form
        // alone, and Beta's form hears of the change that follows.
        {"Convert on two rows, No to Alpha's form", MaterialRoad::ConvertBoth, 0, "", {no, no}, {saveAlpha, changed},
         true, true, true, true},
        {"Convert on two rows, Cancel at Alpha's form", MaterialRoad::ConvertBoth, 0, "", {cancel}, {saveAlpha}, true,
         false, true, true},
        {"Convert Formula after Alpha's form saved a cost: Beta's form is asked once", MaterialRoad::Convert, 0, "",
         {yes, no, ok}, {"Save changes to \"Alpha\" ?", changed, told}, true, true, true, true, "0.9"},
    };
    const std::string folder = dir.path().toStdString();
    const auto isOpen = [this](CView* form) {
        const auto& views = doc->GetViews();
        return std::find(views.begin(), views.end(), form) != views.end();
    };
    int k = 0;
    for (const CMappedRow& row : rows) {
        SCOPED_TRACE(row.what);
        const bool paste = row.road == MaterialRoad::Paste;
        const bool import = row.road == MaterialRoad::ImportTmt; // Spodumene, the file's last material
        Stored(0) = MakeFormMaterial("Alpha", "SiO2", 2.6, 0.5);
        Stored(1) = CMaterial("Beta");
        Stored(1).m_mapTo = paste ? "Delta" : import ? "Spodumene" : "Alpha";
        doc->UpdateMappedMaterials(false, false);
        const std::string path = folder + "/mapped" + std::to_string(k++);
        ASSERT_TRUE(doc->OnSaveDocument(path));
        messages.boxes.clear();
        auto* held = OpenForm(1, row.heldEdits ? "Beta held" : nullptr);
        ASSERT_NE(held, nullptr);
        auto* alpha = row.alphaForm ? OpenForm(0, row.alphaCost ? nullptr : "Alpha mine") : nullptr;
        if (alpha && row.alphaCost) {
            alpha->CostEdit()->setFocus();
            alpha->CostEdit()->selectAll();
            QTest::keyClicks(alpha->CostEdit(), QString::fromLatin1(row.alphaCost));
        }
        messages.answers.assign(row.answers.begin(), row.answers.end());
        switch (row.road) {
        case MaterialRoad::FormSaves: {
            auto* saver = OpenForm(0, nullptr);
            ASSERT_NE(saver, nullptr);
            saver->CostEdit()->setFocus();
            saver->CostEdit()->selectAll();
            QTest::keyClicks(saver->CostEdit(), QString::fromLatin1(row.value));
            QTest::mouseClick(saver->Button(saver->EditKind().buttons.save), Qt::LeftButton);
            break;
        }
        case MaterialRoad::SetField:
        case MaterialRoad::SetFieldAll:
            WhenDialogShows<CSetMaterialFieldDlg>([&row](CSetMaterialFieldDlg& dialog) {
                dialog.FieldCombo()->setCurrentIndex(row.field);
                dialog.ValueCombo()->setEditText(QString::fromLatin1(row.value));
                (row.road == MaterialRoad::SetFieldAll ? dialog.AllRadio() : dialog.SelectedRadio())->click();
                dialog.OkButton()->click();
            });
            EXPECT_TRUE(Run(CmdMatListSetField, {0}));
            break;
        case MaterialRoad::Convert:
        case MaterialRoad::ConvertBoth:
            WhenDialogShows<CFormulaConversionDlg>([](CFormulaConversionDlg& dialog) {
                dialog.Radio(kConvertToWeightPercent)->click();
                dialog.OkButton()->click();
            });
            if (row.road == MaterialRoad::Convert)
                EXPECT_TRUE(Run(CmdMatListConvertFormulas, {0}));
            else
                EXPECT_TRUE(Run(CmdMatListConvertFormulas, {0, 1}));
            break;
        case MaterialRoad::Paste:
            ClearClipboard(g_materialClipboard);
            AppendToClipboard(g_materialClipboard, MakeFormMaterial("Delta", "Al2O3 2SiO2 2H2O", 2.5, 0.75));
            EXPECT_TRUE(Run(Commands().paste, {2}));
            break;
        case MaterialRoad::ImportTmt:
            dialogs.AnswerPath(OXI_TEST_DATA_DIR "/materials/sample.tmt");
            WhenDialogShows<CImportTmtDlg>([](CImportTmtDlg& dialog) { dialog.OkButton()->click(); });
            EXPECT_TRUE(Run(CmdMatListImportTmt, {0}));
            break;
        }
        Flush();
        std::vector<std::string> questions(row.questions.begin(), row.questions.end());
        EXPECT_EQ(messages.Texts(), questions);
        const int beta = held->CurrentIndex();
        const int endAt = paste ? 2 : import ? doc->Materials().GetCount() - 1 : 0;
        const CMaterial& end = Stored(endAt);
        ExpectInStep(Stored(beta), end);
        if (!row.applied) {
            EXPECT_EQ(Stored(0).m_costPerLb, 0.5) << "nothing changed";
            EXPECT_EQ(Stored(0).m_formula, "SiO2");
            ASSERT_TRUE(alpha && isOpen(alpha));
            EXPECT_TRUE(alpha->IsChanged());
            EXPECT_EQ(alpha->NameEdit()->text(), QStringLiteral("Alpha mine"));
        }
        ASSERT_TRUE(isOpen(held));
        EXPECT_EQ(held->IsChanged(), row.heldKeeps);
        EXPECT_EQ(held->NameEdit()->text(), row.heldKeeps ? QStringLiteral("Beta held") : QStringLiteral("Beta"));
        if (!row.heldKeeps) {
            EXPECT_EQ(held->FormulaEdit()->toPlainText().toStdString(), Stored(beta).m_formula);
            EXPECT_EQ(held->DensityEdit()->text().toDouble(), Stored(beta).m_density);
        }

        // The next step: a kept form's save asks before it replaces the changed material, and the
        // mapping still holds in the file.
        messages.boxes.clear();
        if (row.heldKeeps) {
            messages.answers = {MsgResultYes};
            QTest::mouseClick(held->Button(held->EditKind().buttons.save), Qt::LeftButton);
            EXPECT_EQ(messages.Texts(), row.applied ? std::vector<std::string>{"\"Beta\" was changed outside this window "
                                                                               "since this form showed it. Replace it "
                                                                               "with this form's version?"}
                                                    : std::vector<std::string>{});
            EXPECT_EQ(Stored(beta).m_name, "Beta held");
        }
        ASSERT_TRUE(doc->OnSaveDocument(path));
        const auto file = doc->ReadMergeFile(path);
        ASSERT_NE(file, nullptr);
        ExpectInStep(*file->records.GetAt(beta), *file->records.GetAt(endAt));
        EXPECT_EQ(file->records.GetAt(beta)->m_name, row.heldKeeps ? "Beta held" : "Beta");
        EXPECT_EQ(file->records.GetAt(endAt)->m_costPerLb, end.m_costPerLb);

        for (CView* window : std::vector<CView*>(doc->GetViews())) {
            if (auto* form = dynamic_cast<CMaterialEditView*>(window)) {
                form->SetChanged(false);
                form->GetFrame()->CloseFrame();
            }
        }
        Flush();
        if (paste) {
            EXPECT_TRUE(Run(Commands().deleteRows, {2}));
        }
        if (import) {
            EXPECT_TRUE(Run(Commands().deleteRows, {endAt - 2, endAt - 1, endAt}));
        }
        messages.boxes.clear();
    }
}

} // namespace
