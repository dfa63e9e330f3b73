// The edit-form base in real windows, once for each kind built on it: a form holding unsaved
// edits follows its record through the list's Shift, Selected to Top, Alphabetize and Paste
// without a question and keeps the edits; deleting its record asks it first, and Cancel keeps
// both the record and the form; another form's save over its record asks before it drops them.

#include "records/RecordEditView.h"

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
#include <QTest>

#include <gtest/gtest.h>

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
    static constexpr unsigned kList = kMaterialsResourceId;
    static constexpr unsigned kEdit = kMaterialEditResourceId;
    static constexpr const char* kDocString = kMaterialsDocString;
    static constexpr int kFormWidth = 352; // dialog units
    static constexpr int kFormHeight = 302;
    static constexpr const char* kColor = "med_bkg";
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
    static constexpr unsigned kList = kLimitFormulasResourceId;
    static constexpr unsigned kEdit = kLimitFormulaEditResourceId;
    static constexpr const char* kDocString = kLimitFormulasDocString;
    static constexpr int kFormWidth = 352; // dialog units
    static constexpr int kFormHeight = 246;
    static constexpr const char* kColor = "led_bkg";
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
    static constexpr unsigned kList = kSubstitutionsResourceId;
    static constexpr unsigned kEdit = kSubstitutionEditResourceId;
    static constexpr const char* kDocString = kSubstitutionsDocString;
    static constexpr int kFormWidth = 384; // dialog units
    static constexpr int kFormHeight = 216;
    static constexpr const char* kColor = "sed_bkg";
    static void Install(CDocTemplate& list, CEditForms& edit)
    {
        InstallSubstitutionsTemplate(list);
        InstallSubstitutionEditTemplate(edit.docTemplate);
    }
    static void Uninstall() { SetSubstitutionEditViews(nullptr); }
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

using Kinds = ::testing::Types<MaterialsForm, LimitFormulasForm, SubstitutionsForm>;
TYPED_TEST_SUITE(RecordEditViewTest, Kinds);

TYPED_TEST(RecordEditViewTest, AFormFollowsItsRecordAndKeepsItsEditsUntilTheRecordIsDeleted)
{
    using Names = std::vector<std::string>;
    const CRecordListCommands& c = this->Commands();
    ASSERT_TRUE(this->Run(c.edit, {1}));
    auto* form = this->Form();
    ASSERT_NE(form, nullptr);
    ASSERT_EQ(form->CurrentIndex(), 1);
    form->NameEdit()->setFocus();
    form->NameEdit()->end(false);
    QTest::keyClicks(form->NameEdit(), " edited");
    ASSERT_TRUE(form->IsChanged());

    const auto followsBeta = [&](int index) {
        EXPECT_EQ(form, this->Form()) << "the form stays open";
        EXPECT_EQ(form->CurrentIndex(), index);
        EXPECT_TRUE(form->IsChanged());
        EXPECT_EQ(form->NameEdit()->text(), QStringLiteral("Beta edited"));
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
        form->NameEdit()->setFocus();
        form->NameEdit()->end(false);
        QTest::keyClicks(form->NameEdit(), " edited");
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
// were gone without a question. A form with unsaved changes comes forward and asks (No, the
// default, keeps them); a form without any shows what the other saved, quietly.
TYPED_TEST(RecordEditViewTest, TwoFormsOnOneRecordKeepEachOthersUnsavedChanges)
{
    std::vector<typename TestFixture::View*> forms;
    for (int k = 0; k < 2; ++k) {
        ASSERT_TRUE(this->Run(this->Commands().edit, {1}));
        forms.push_back(dynamic_cast<typename TestFixture::View*>(this->doc->GetViews().back()));
        ASSERT_NE(forms.back(), nullptr);
    }
    auto* first = forms[0];
    auto* second = forms[1];
    ASSERT_NE(first, second);
    const auto type = [](auto* form, const char* text) {
        form->NameEdit()->setFocus();
        form->NameEdit()->end(false);
        QTest::keyClicks(form->NameEdit(), QString::fromLatin1(text));
    };
    const auto save = [](auto* form) { form->Button(form->EditKind().buttons.save)->click(); };
    type(first, " edited");
    type(second, " saved");
    const std::string question = "\"Beta edited\" has been saved in another window. Show it as saved there, dropping "
                                 "the unsaved changes in this window?";
    this->messages.answers = {MsgResultNo};
    save(second);
    EXPECT_EQ(this->messages.Texts(), std::vector<std::string>{question});
    EXPECT_EQ(this->messages.At(0).type & MsgDefaultMask, unsigned(MsgDefaultButton2));
    EXPECT_EQ(this->frame.ActiveView(), first) << "the form that asks comes forward";
    EXPECT_EQ(this->Names(), (std::vector<std::string>{"Alpha", "Beta saved", "Gamma"}));
    EXPECT_EQ(first->NameEdit()->text(), QStringLiteral("Beta edited"));
    EXPECT_TRUE(first->IsChanged());

    // Yes shows the record as saved; a form without changes then follows the next save quietly.
    this->messages.boxes.clear();
    type(second, " again");
    this->messages.answers = {MsgResultYes};
    save(second);
    EXPECT_EQ(this->messages.Texts(), std::vector<std::string>{question});
    EXPECT_EQ(first->NameEdit()->text(), QStringLiteral("Beta saved again"));
    EXPECT_FALSE(first->IsChanged());
    this->messages.boxes.clear();
    type(second, "!");
    save(second);
    EXPECT_TRUE(this->messages.boxes.empty());
    EXPECT_EQ(first->NameEdit()->text(), QStringLiteral("Beta saved again!"));
}

// Each form is as large as its kind states, in dialog units, and filled with its kind's colour.
// Regression: a second form on the same record stood exactly over the first, hiding it; it stands
// a title bar apart, both inside the workspace.
TYPED_TEST(RecordEditViewTest, TheFormHasItsKindsSizeAndColourAndASecondOneStandsApart)
{
    ASSERT_TRUE(this->Run(this->Commands().edit, {0}));
    const auto* form = this->Form();
    ASSERT_NE(form, nullptr);
    const QWidget* page = form->widget();
    ASSERT_NE(page, nullptr);
    const CDialogUnits units(form->font());
    EXPECT_EQ(page->size(), QSize(units.X(TypeParam::kFormWidth), units.Y(TypeParam::kFormHeight)));
    EXPECT_EQ(page->palette().color(QPalette::Window), ToQColor(GetNamedColor(TypeParam::kColor)));

    ASSERT_TRUE(this->Run(this->Commands().edit, {0}));
    const auto* second = dynamic_cast<const QMdiSubWindow*>(this->doc->GetViews().back()->GetFrame());
    const auto* first = dynamic_cast<const QMdiSubWindow*>(form->GetFrame());
    ASSERT_TRUE(first && second && first != second);
    EXPECT_EQ(second->pos() - first->pos(), QPoint(this->app.m_nCascadeStep, this->app.m_nCascadeStep));
    EXPECT_TRUE(second->mdiArea()->viewport()->rect().contains(second->geometry()));
}

} // namespace
