// The record-list base in its windows, once for each of the four kinds: commands that delete or
// replace records ask the open edit windows of those records first, and Cancel changes nothing.

#include "records/RecordListView.h"

#include "core/framework/RecordingView.h"
#include "core/shell/ScriptedEditViews.h"
#include "graphs/GraphTypesView.h"
#include "limits/LimitFormulasDoc.h"
#include "limits/LimitFormulasView.h"
#include "materials/MaterialsDoc.h"
#include "materials/MaterialsView.h"
#include "records/RecordMenus.h"
#include "shell/AppCommandIds.h"
#include "substitutions/SubstitutionsDoc.h"
#include "substitutions/SubstitutionsView.h"
#include "support/MergeDlg.h"
#include "ui/records/RecordWindowsFixture.h"

#include <QApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

template <class DocT, class RecordT, class ViewsT, unsigned ResourceId>
struct CListKindOf {
    using Doc = DocT;
    using Record = RecordT;
    using EditViews = ViewsT;
    static constexpr unsigned kList = ResourceId;
};
struct MaterialsList
    : CListKindOf<CMaterialsDoc, CMaterial, CScriptedViews<CMaterialEditViews, CScriptedLink>, kMaterialsResourceId> {
    static constexpr const char* kDocString = kMaterialsDocString;
    static void Install(CDocTemplate& docTemplate, EditViews&) { InstallMaterialsTemplate(docTemplate); }
    static EditViews MakeEditViews() { return EditViews(DbFileType::Materials); }
};
struct LimitFormulasList : CListKindOf<CLimitFormulasDoc, CLimitFormula,
                                       CScriptedViews<CLimitFormulaEditViews, CScriptedLink>, kLimitFormulasResourceId> {
    static constexpr const char* kDocString = kLimitFormulasDocString;
    static void Install(CDocTemplate& docTemplate, EditViews&) { InstallLimitFormulasTemplate(docTemplate); }
    static EditViews MakeEditViews() { return EditViews(DbFileType::LimitFormulas); }
};
struct SubstitutionsList
    : CListKindOf<CSubstitutionsDoc, CSubstitution, CScriptedViews<CSubstitutionEditViews, CScriptedLink>,
                  kSubstitutionsResourceId> {
    static constexpr const char* kDocString = kSubstitutionsDocString;
    static void Install(CDocTemplate& docTemplate, EditViews&) { InstallSubstitutionsTemplate(docTemplate); }
    static EditViews MakeEditViews() { return EditViews(DbFileType::Substitutions); }
};
struct GraphTemplatesList : CListKindOf<CGraphTypesDoc, CGraphTemplate, CScriptedGraphViews, kGraphTypesResourceId> {
    static constexpr const char* kDocString = kGraphTypesDocString;
    static void Install(CDocTemplate& docTemplate, EditViews&) { InstallGraphTypesTemplate(docTemplate); }
    static EditViews MakeEditViews() { return EditViews(); }
};

template <class Kind>
class RecordListViewTest : public RecordWindowsFixture<Kind> {
protected:
    RecordListViewTest() : RecordWindowsFixture<Kind>(900, 600, {"Alpha", "Beta"}) {}
};

using Kinds = ::testing::Types<MaterialsList, LimitFormulasList, SubstitutionsList, GraphTemplatesList>;
TYPED_TEST_SUITE(RecordListViewTest, Kinds);

// Deleting a record whose edit window holds unsaved edits asks that window; Cancel keeps both.
TYPED_TEST(RecordListViewTest, DeleteAsksTheEditWindowOfItsRecord)
{
    CRecordingFrame editor(*this->doc, "editor");
    CScript& script = this->editViews.Script(editor.view.get());
    script.index = 1;
    script.answer = MsgResultCancel;
    this->doc->SetModifiedFlag(false);

    EXPECT_TRUE(this->Run(this->Commands().deleteRows, {1}));
    EXPECT_EQ(script.asked, 1);
    EXPECT_EQ(this->Names(), (std::vector<std::string>{"Alpha", "Beta"}));
    EXPECT_FALSE(this->doc->IsModified());
    EXPECT_TRUE(this->Run(this->Commands().cut, {1}));
    EXPECT_EQ(script.asked, 2);
    EXPECT_EQ(this->view->GetCount(), 2);

    script.answer = MsgResultYes;
    EXPECT_TRUE(this->Run(this->Commands().deleteRows, {0, 1}));
    EXPECT_EQ(script.asked, 3);
    EXPECT_EQ(script.saved, 0); // the edits go with the record
    EXPECT_TRUE(this->Names().empty());
    EXPECT_EQ(this->view->GetCount(), 0);
    // Insert New in the empty list: the new record is the first row, and the caret is on it.
    EXPECT_TRUE(this->Run(this->Commands().insertNew, {}));
    EXPECT_EQ(this->Names().size(), 1u);
    EXPECT_EQ(this->view->GetCaretIndex(), 0);
    // A command of the frame is the frame's to enable; the list's own prompts name its kind.
    CCmdUI tile(CmdWindowTile);
    EXPECT_FALSE(this->view->OnUpdateCommand(tile));
    const CRecordListKind& kind = this->view->ListKind();
    EXPECT_EQ(std::string(RecordListCommandPrompt(kind, kind.commands.merge)),
              std::string("Merge ") + kind.words.records + " from another " + kind.words.record + " database");
}

// Shift, Selected to Top, Alphabetize and Paste keep every record: an edit window holding unsaved
// edits is not asked, stays open and hears each change; Delete then asks it.
TYPED_TEST(RecordListViewTest, ReorderingAndPastingLeaveUnsavedEditsAlone)
{
    CRecordingFrame editor(*this->doc, "editor");
    CScript& script = this->editViews.Script(editor.view.get());
    script.index = 1;
    script.answer = MsgResultCancel;
    const CRecordListCommands& c = this->Commands();
    const CRecordHintCodes& hints = this->doc->Kind().hints;
    using Names = std::vector<std::string>;

    EXPECT_TRUE(this->Run(c.shiftUp, {1}));
    EXPECT_EQ(this->Names(), (Names{"Beta", "Alpha"}));
    EXPECT_TRUE(this->Run(c.selectedToTop, {1}));
    EXPECT_EQ(this->Names(), (Names{"Alpha", "Beta"}));
    EXPECT_TRUE(this->Run(c.shiftDown, {0}));
    EXPECT_NE(this->view->GetText(0).find("Beta"), std::string::npos);
    EXPECT_TRUE(this->Run(c.alphabetize, {}));
    EXPECT_EQ(this->Names(), (Names{"Alpha", "Beta"}));
    EXPECT_NE(this->view->GetText(0).find("Alpha"), std::string::npos) << "the list shows the new order";
    EXPECT_TRUE(this->Run(c.copy, {1}));
    EXPECT_TRUE(this->Run(c.paste, {0}));
    EXPECT_EQ(this->Names(), (Names{"Beta", "Alpha", "Beta"}));
    EXPECT_EQ(this->view->GetSelItems(), (std::vector<int>{0}));

    EXPECT_EQ(script.asked, 0);
    EXPECT_TRUE(script.changed) << "the unsaved edits are kept";
    EXPECT_EQ(editor.closed, 0);
    std::vector<int> codes;
    for (const CReceivedHint& hint : editor.view->received)
        codes.push_back(hint.code);
    EXPECT_EQ(codes, (std::vector<int>{hints.reordered, hints.reordered, hints.reordered, hints.reordered,
                                       hints.inserted}));

    EXPECT_TRUE(this->Run(c.deleteRows, {1}));
    EXPECT_EQ(script.asked, 1);
    EXPECT_EQ(this->Names(), (Names{"Beta", "Alpha", "Beta"}));
}

// Switching to names and notes keeps the rows in view where the user scrolled, away from the caret.
TYPED_TEST(RecordListViewTest, AnotherViewModeKeepsTheTopRow)
{
    const CRecordListCommands& c = this->Commands();
    for (int i = 2; i < 40; ++i)
        this->doc->InsertRecord(i, typename TestFixture::Record(("Record " + std::to_string(i)).c_str()));
    this->view->FillList(0, -1, true);
    this->view->GetFrame()->ActivateFrame();
    this->view->SetCaretIndex(0);
    this->view->SetTopIndex(10);
    ASSERT_EQ(this->view->GetTopIndex(), 10);
    for (const unsigned mode : {c.namesAndNotes, c.names}) {
        if (mode != 0) {
            EXPECT_TRUE(this->view->RunCommand(mode));
        }
        EXPECT_EQ(this->view->GetTopIndex(), 10);
    }
}

// A merge that replaces records asks the edit windows on them first, and a No merges nothing.
// Regression: it asked every edit window, and closed them all, even those on records it left
// alone.
TYPED_TEST(RecordListViewTest, MergeReplacingRecordsAsksTheEditWindowsOfTheReplacedRecordsFirst)
{
    const std::string source = this->dir.path().toStdString() + "/source";
    ASSERT_TRUE(this->doc->SaveRecordsAs(source, std::vector<int>{0}));
    CRecordingFrame editor(*this->doc, "editor");
    CScript& script = this->editViews.Script(editor.view.get());
    script.index = 0;
    script.answer = MsgResultCancel;
    CRecordingFrame alone(*this->doc, "alone");
    CScript& untouched = this->editViews.Script(alone.view.get());
    untouched.index = 1;
    untouched.answer = MsgResultCancel;
    this->doc->SetModifiedFlag(false);

    this->dialogs.AnswerPath(source);
    ReplaceAllWhenMerging();
    EXPECT_TRUE(this->Run(this->Commands().merge, {}));
    EXPECT_EQ(script.asked, 1);
    EXPECT_FALSE(this->doc->IsModified());
    EXPECT_TRUE(editor.view->received.empty());

    script.answer = MsgResultNo;
    this->dialogs.AnswerPath(source);
    ReplaceAllWhenMerging();
    EXPECT_TRUE(this->Run(this->Commands().merge, {}));
    EXPECT_EQ(script.asked, 2);
    EXPECT_TRUE(this->doc->IsModified());
    EXPECT_EQ(this->Names(), (std::vector<std::string>{"Alpha", "Beta"}));
    ASSERT_FALSE(editor.view->received.empty());
    EXPECT_EQ(editor.view->Last().code, this->doc->Kind().hints.replaced);
    EXPECT_EQ(untouched.asked, 0);
    EXPECT_TRUE(untouched.changed);

    // A record the merge appends is the one selected.
    EXPECT_TRUE(this->Run(this->Commands().deleteRows, {0}));
    this->dialogs.AnswerPath(source);
    ReplaceAllWhenMerging();
    EXPECT_TRUE(this->Run(this->Commands().merge, {0}));
    EXPECT_EQ(this->Names(), (std::vector<std::string>{"Beta", "Alpha"}));
    EXPECT_EQ(this->view->GetSelItems(), std::vector<int>{1});
}

} // namespace
