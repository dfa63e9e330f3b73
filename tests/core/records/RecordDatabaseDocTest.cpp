// The record-database base, run once against each of the four kinds: materials, limit formulas,
// substitutions and graph templates.

#include "records/RecordDatabaseDoc.h"

#include "core/framework/RecordingView.h"
#include "core/shell/FakeMessageService.h"
#include "core/shell/ScriptedEditViews.h"
#include "graphs/GraphTypesDoc.h"
#include "limits/LimitFormulasDoc.h"
#include "materials/MaterialsDoc.h"
#include "shell/AppContext.h"
#include "shell/OxidariumApp.h"
#include "substitutions/SubstitutionsDoc.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

using ::testing::ElementsAre;
using Names = std::vector<std::string>;
using Notices = std::vector<std::pair<int, int>>;

template <class DocT, class RecordT, class ViewsT>
struct CKindOf {
    using Doc = DocT;
    using Record = RecordT;
    using Views = ViewsT;
};
struct MaterialsKind : CKindOf<CMaterialsDoc, CMaterial, CScriptedViews<CMaterialEditViews, CScriptedLink>> {
    static Views MakeViews() { return Views(DbFileType::Materials); }
};
struct LimitFormulasKind
    : CKindOf<CLimitFormulasDoc, CLimitFormula, CScriptedViews<CLimitFormulaEditViews, CScriptedLink>> {
    static Views MakeViews() { return Views(DbFileType::LimitFormulas); }
};
struct SubstitutionsKind
    : CKindOf<CSubstitutionsDoc, CSubstitution, CScriptedViews<CSubstitutionEditViews, CScriptedLink>> {
    static Views MakeViews() { return Views(DbFileType::Substitutions); }
};
struct GraphTemplatesKind : CKindOf<CGraphTypesDoc, CGraphTemplate, CScriptedGraphViews> {
    static Views MakeViews() { return Views(); }
};

template <class Kind>
class RecordDatabaseDocTest : public ::testing::Test {
protected:
    using Doc = typename Kind::Doc;
    using Record = typename Kind::Record;

    void Fill(const Names& names)
    {
        for (const std::string& name : names)
            doc.InsertRecord(doc.GetRecordCount(), Record(name));
    }
    Names NamesOf() const
    {
        Names names;
        for (int i = 0; i < doc.GetRecordCount(); ++i)
            names.push_back(doc.GetRecordName(i));
        return names;
    }
    // (code, index) of every notice the list window received, cleared afterwards; the codes
    // are given relative to the kind's own codes.
    Notices TakeNotices()
    {
        Notices notices;
        for (const CReceivedHint& hint : list.view->received) {
            EXPECT_EQ(hint.kind, doc.KindCode());
            notices.emplace_back(hint.code, hint.index);
        }
        list.view->received.clear();
        return notices;
    }
    const CRecordHintCodes& Codes() const { return doc.Kind().hints; }

    CAppContext context;
    CFakeMessageService messages;
    COxidariumApp app;
    typename Kind::Views views{Kind::MakeViews()};
    Doc doc;
    CRecordingFrame list{doc, "list"};
};

using Kinds = ::testing::Types<MaterialsKind, LimitFormulasKind, SubstitutionsKind, GraphTemplatesKind>;
TYPED_TEST_SUITE(RecordDatabaseDocTest, Kinds);

TYPED_TEST(RecordDatabaseDocTest, RecordOperationsAlwaysMarkTheDocumentModified)
{
    this->Fill({"Clay", "alumina", "clay", "Zinc"});
    this->doc.SetModifiedFlag(false);
    this->doc.Alphabetize();
    EXPECT_EQ(this->NamesOf(), (Names{"alumina", "Clay", "clay", "Zinc"}));
    EXPECT_TRUE(this->doc.IsModified());

    this->doc.MoveRecord(3, 0);
    EXPECT_EQ(this->NamesOf(), (Names{"Zinc", "alumina", "Clay", "clay"}));
    this->doc.SwapRecords(0, 1);
    EXPECT_EQ(this->NamesOf(), (Names{"alumina", "Zinc", "Clay", "clay"}));

    // Out of range: nothing moves, the document is still marked modified.
    for (const auto& outOfRange : std::vector<std::function<void()>>{
             [&] { this->doc.MoveRecord(0, 4); }, [&] { this->doc.MoveRecord(2, 2); },
             [&] { this->doc.SwapRecords(0, 4); }, [&] { this->doc.SwapRecords(-1, 0); },
             [&] { this->doc.RemoveRecord(9); }}) {
        this->doc.SetModifiedFlag(false);
        outOfRange();
        EXPECT_TRUE(this->doc.IsModified());
    }
    EXPECT_EQ(this->NamesOf(), (Names{"alumina", "Zinc", "Clay", "clay"}));
    EXPECT_EQ(this->doc.FindRecordIdentity(this->doc.GetRecordIdentity(2)), 2);
    EXPECT_EQ(this->doc.GetRecordIdentity(4), nullptr);
    this->doc.InsertNewRecordAt(0, nullptr);
    EXPECT_EQ(this->doc.GetRecordName(0), this->doc.Kind().newRecordName) << "a new record may head the list";

    // The file commands are the document's, always enabled but Revert; others are not its own.
    const CRecordFileCommands& commands = this->doc.Kind().commands;
    for (unsigned id : {commands.save, commands.saveAs, commands.newDatabase, commands.open}) {
        CCmdUI ui(id);
        ui.Enable(false);
        EXPECT_TRUE(this->doc.OnUpdateCommand(ui) && ui.m_bEnabled) << id;
    }
    CCmdUI other(0);
    EXPECT_FALSE(this->doc.OnUpdateCommand(other));

    // A new database starts without the notes of the one before (graph templates keep theirs,
    // with their colours).
    this->doc.SetDatabaseNotes("Mine", CStringArrayEx{"kept?"});
    this->doc.SetModifiedFlag(false);
    EXPECT_TRUE(this->doc.OnCommand(commands.newDatabase));
    EXPECT_EQ(this->doc.GetInfoLines().empty(), (!std::is_same_v<TypeParam, GraphTemplatesKind>));
}

// Regression: a save wrote over whatever another program had saved since the file was read.
TYPED_TEST(RecordDatabaseDocTest, ASaveOverAFileChangedSinceItWasReadAsksFirst)
{
    auto& doc = this->doc;
    const fs::path dir = fs::temp_directory_path() / ("oxi-recdoc-changed-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string path = (dir / "records").string();
    const auto appendLine = [&path] { std::ofstream(path, std::ios::app) << "\n"; };
    this->Fill({"a"});
    ASSERT_TRUE(doc.DoSave(path));
    appendLine(); // an editor saves the file; the document then reads it again
    doc.OnOpenDocument(path);
    doc.SetModifiedFlag();
    EXPECT_TRUE(doc.DoSave(path));
    EXPECT_TRUE(this->messages.boxes.empty());

    appendLine();
    doc.SetModifiedFlag();
    EXPECT_FALSE(doc.DoSave(path)); // the question's default answer is No
    EXPECT_EQ(this->messages.Texts(), Names{path + " has been changed by another program since it was opened. Replace it with this version?"});
    EXPECT_TRUE(doc.IsModified());
    fs::remove_all(dir);
}

// Reordering and pasting leave an edit window's unsaved edits alone; deleting its record asks it
// first, and Cancel keeps everything.
TYPED_TEST(RecordDatabaseDocTest, ListCommandsWithAnEditWindowHoldingUnsavedEdits)
{
    auto& doc = this->doc;
    const CRecordHintCodes& codes = this->Codes();
    this->Fill({"d", "c", "b", "a"});
    CRecordingFrame editor(doc, "editor");
    CScript& script = this->views.Script(editor.view.get());
    script.index = 1;
    this->TakeNotices();

    EXPECT_THAT(doc.ShiftRecordsUp(std::vector<int>{1, 3}, nullptr), ElementsAre(0, 2));
    EXPECT_EQ(this->NamesOf(), (Names{"c", "d", "a", "b"}));
    EXPECT_THAT(doc.ShiftRecordsUp(std::vector<int>{0, 2}, nullptr), ElementsAre(0, 2)); // the first row: nothing
    EXPECT_THAT(doc.ShiftRecordsDown(std::vector<int>{0}, nullptr), ElementsAre(1));
    EXPECT_EQ(this->NamesOf(), (Names{"d", "c", "a", "b"}));
    doc.MoveRecordsToTop(std::vector<int>{2, 3}, nullptr);
    EXPECT_EQ(this->NamesOf(), (Names{"a", "b", "d", "c"}));
    doc.AlphabetizeRecords(nullptr);
    EXPECT_EQ(this->NamesOf(), (Names{"a", "b", "c", "d"}));
    doc.CopyRecordsToClipboard(std::vector<int>{0, 3});
    ASSERT_TRUE(doc.CanPasteRecords());
    EXPECT_EQ(doc.PasteRecords(1, nullptr), 2);
    EXPECT_EQ(this->NamesOf(), (Names{"a", "a", "d", "b", "c", "d"}));
    // Shift Down names the row a record moved to, or for some kinds the row it left.
    const int shiftedDown = doc.Kind().shiftDownAnnouncesOldRow ? 0 : 1;
    EXPECT_THAT(this->TakeNotices(), ElementsAre(std::pair(codes.reordered, 0), std::pair(codes.reordered, 2),
                                                 std::pair(codes.reordered, shiftedDown),
                                                 std::pair(codes.reordered, 0), std::pair(codes.reordered, 0),
                                                 std::pair(codes.inserted, 1)));
    EXPECT_EQ(script.asked, 0);

    // The window edits the record now at index 4 ("c"): deleting others does not ask it.
    script.index = 4;
    EXPECT_TRUE(doc.DeleteRecords(std::vector<int>{0, 5}, nullptr));
    EXPECT_EQ(script.asked, 0);
    EXPECT_EQ(this->NamesOf(), (Names{"a", "d", "b", "c"}));
    script.index = 3;

    script.answer = MsgResultCancel;
    doc.SetModifiedFlag(false);
    this->TakeNotices();
    EXPECT_FALSE(doc.DeleteRecords(std::vector<int>{1, 3}, nullptr));
    EXPECT_FALSE(doc.CutRecords(std::vector<int>{3}, nullptr));
    EXPECT_EQ(script.asked, 2);
    EXPECT_EQ(this->NamesOf(), (Names{"a", "d", "b", "c"}));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(this->TakeNotices().empty());
    EXPECT_EQ(editor.activated, 2);

    script.answer = MsgResultYes;
    EXPECT_TRUE(doc.CutRecords(std::vector<int>{1, 3}, nullptr));
    EXPECT_EQ(script.saved, 1);
    EXPECT_EQ(this->NamesOf(), (Names{"a", "b"}));
    EXPECT_THAT(this->TakeNotices(), ElementsAre(std::pair(codes.deleted, 1)));
    EXPECT_EQ(doc.PasteRecords(2, nullptr), 2);
    EXPECT_EQ(this->NamesOf(), (Names{"a", "b", "d", "c"}));
}

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Regression: a last line without a line break was passed over, so a save lost it (a whole
// record here), and a number that is not one was read silently. Opening and merging read both and
// say so in one message per file; a save writes the record back.
TYPED_TEST(RecordDatabaseDocTest, WhatAReadNoticesIsToldOnceAndTheLastLineIsKept)
{
    auto& doc = this->doc;
    const std::string base = (fs::temp_directory_path() /
                              ("oxi-notes-" + std::to_string(::getpid()) + "-" + std::to_string(doc.KindCode())))
                                 .string();
    this->Fill({"Alpha", "Beta", "Gamma"});
    ASSERT_TRUE(doc.OnSaveDocument(base + "-whole"));
    doc.RemoveRecord(2);
    ASSERT_TRUE(doc.OnSaveDocument(base));
    std::string text = ReadAll(base);
    ASSERT_EQ(text.find("version =  2\n"), text.find('\n') + 1);
    text.insert(text.find("version =  2") + 12, ",0"); // "2,0"
    const long long lines = std::count(text.begin(), text.end(), '\n') + 1;
    std::ofstream(base, std::ios::binary | std::ios::trunc) << text << "name = Gamma"; // no line break
    const std::string told = base + ": line 2: \"2,0\" is not a number; read as 2\n\n" + base + ": line " +
                             std::to_string(lines) +
                             ": \"name = Gamma\" ends the file without a line break; it was read as it stands, "
                             "but the file may have been cut short";

    doc.OnOpenDocument(base);
    EXPECT_EQ(this->NamesOf(), (Names{"Alpha", "Beta", "Gamma"}));
    ASSERT_EQ(this->messages.Texts(), std::vector<std::string>{told});
    EXPECT_EQ(this->messages.At(0).Icon(), unsigned(MsgIconExclamation));
    EXPECT_EQ(this->messages.At(0).helpId, doc.Kind().readErrorHelpId);
    EXPECT_FALSE(doc.IsModified());
    ASSERT_TRUE(doc.OnSaveDocument(base + "-saved"));
    EXPECT_EQ(ReadAll(base + "-saved"), ReadAll(base + "-whole"));

    const auto merged = doc.ReadMergeFile(base);
    ASSERT_NE(merged, nullptr);
    EXPECT_EQ(merged->Count(), 3);
    EXPECT_EQ(this->messages.Texts(), (std::vector<std::string>{told, told}));
    EXPECT_EQ(this->messages.At(1).helpId, kMergeReadErrorHelpId);
    for (const char* ending : {"", "-whole", "-saved"})
        std::remove((base + ending).c_str());
}

// Records that leave the database (a file read over it, New, Delete) stay readable until the
// notice of their going has reached every window: a window of another document may redraw from
// one of them before its own notice comes, say while the message box about the file is up.
// (Reading a freed record is what the sanitizer pass catches here.)
TYPED_TEST(RecordDatabaseDocTest, RecordsThatGoStayReadableUntilEveryWindowHasHeard)
{
    auto& doc = this->doc;
    static std::function<void()> look;
    const typename TestFixture::Record* shown = nullptr;
    std::vector<std::string> seen;
    look = [&] {
        if (shown)
            seen.push_back(shown->m_name);
    };
    this->messages.onBox = [](const CFakeMessageService::Box&) { look(); };
    this->list.view->onUpdate = [&](const CUpdateHint*) {
        look();
        shown = nullptr;
    };
    this->Fill({"Alpha", "Beta"});
    doc.SetModifiedFlag(false);
    shown = doc.RecordAt(0);
    EXPECT_EQ(doc.OpenDatabase((fs::temp_directory_path() / "oxi-no-such-database").string()), 0);
    EXPECT_EQ(doc.GetRecordCount(), 0);

    this->Fill({"Gamma"});
    doc.SetModifiedFlag(false);
    shown = doc.RecordAt(0);
    EXPECT_TRUE(doc.OnCommand(doc.Kind().commands.newDatabase));
    ASSERT_EQ(doc.GetRecordCount(), 1);

    shown = doc.RecordAt(0);
    EXPECT_TRUE(doc.DeleteRecords(std::vector<int>{0}, nullptr));
    EXPECT_EQ(seen, (Names{"Alpha", "Alpha", "Gamma", doc.Kind().newRecordName}));
    this->messages.onBox = nullptr;
    look = nullptr;
}

TYPED_TEST(RecordDatabaseDocTest, MergeAppendsOrAssignsOverRecordsOfTheSameName)
{
    auto& doc = this->doc;
    this->Fill({"Alpha", "Beta"});
    typename TestFixture::Doc::CRecordFile file;
    for (const char* name : {"beta", "Gamma", "alpha", "BETA"})
        file.Append(typename TestFixture::Record(name));
    const std::vector<int> chosen{0, 1};
    EXPECT_EQ(doc.PlanMerge(file, chosen, kMergeAppendAll).Replaced(), std::vector<int>{});
    EXPECT_EQ(doc.PlanMerge(file, chosen, kMergeReplaceExisting).Replaced(), std::vector<int>{1});
    // An edit window on the record replaced that asks only the save question: Cancel stops the
    // merge, No lets the record go with its edits.
    CRecordingFrame editor(doc, "editor");
    CScript& script = this->views.Script(editor.view.get());
    script.index = 1;
    script.answer = MsgResultCancel;
    CMergePlan asked = doc.PlanMerge(file, chosen, kMergeReplaceExisting);
    EXPECT_FALSE(doc.AskMergeForms(asked));
    EXPECT_TRUE(script.changed);
    script.answer = MsgResultNo;
    EXPECT_TRUE(doc.AskMergeForms(asked));
    EXPECT_EQ(asked.Replaced(), std::vector<int>{1});
    EXPECT_FALSE(script.changed);
    EXPECT_EQ(script.asked, 2);

    // Beta twice in the file: one record replaced, twice, the file's last one standing.
    const CMergeCounts replacing =
        doc.MergeRecords(file, doc.PlanMerge(file, std::vector<int>{0, 1, 3}, kMergeReplaceExisting));
    EXPECT_EQ(this->NamesOf(), (Names{"Alpha", "BETA", "Gamma"}));
    EXPECT_EQ(replacing.replaced, 1);
    EXPECT_EQ(replacing.appended, 1);
    EXPECT_EQ(replacing.oldCount, 2);
    const CMergeCounts appending = doc.MergeRecords(file, doc.PlanMerge(file, std::vector<int>{2}, kMergeAppendAll));
    EXPECT_EQ(this->NamesOf(), (Names{"Alpha", "BETA", "Gamma", "alpha"}));

    doc.AnnounceMerge(replacing, nullptr);
    doc.AnnounceMerge(CMergeCounts{}, nullptr); // a merge that took nothing says nothing
    doc.AnnounceMerge(appending, nullptr);
    EXPECT_THAT(this->TakeNotices(),
                ElementsAre(std::pair(this->Codes().replaced, 0), std::pair(this->Codes().inserted, 3)));
}

TYPED_TEST(RecordDatabaseDocTest, EditWindowsAreAskedAndTheListWindowOnlyMinimises)
{
    auto& doc = this->doc;
    this->Fill({"one"});
    CRecordingFrame editor(doc, "editor");
    CScript& script = this->views.Script(editor.view.get());
    EXPECT_FALSE(doc.CanCloseFrame(&this->list));
    EXPECT_TRUE(this->list.minimized);

    script.answer = MsgResultCancel;
    EXPECT_FALSE(doc.CanCloseFrame(&editor));
    EXPECT_FALSE(doc.AskEveryEditForm(FormsAsked::BeforeChange));
    EXPECT_FALSE(doc.SaveModified(SaveModifiedFor::Closing));
    EXPECT_EQ(script.asked, 3);
    script.answer = MsgResultYes;
    EXPECT_TRUE(doc.AskEveryEditForm(FormsAsked::BeforeChange));
    EXPECT_EQ(script.saved, 1);
    EXPECT_EQ(editor.closed, 0);
    script.answer = MsgResultNo;
    EXPECT_TRUE(doc.CanCloseFrame(&editor));
    EXPECT_EQ(editor.closed, 0) << "the frame closes itself once the form has answered";
    EXPECT_TRUE(script.changed) << "the edits go with the frame";
    EXPECT_TRUE(doc.AskEveryEditForm(FormsAsked::BeforeChange));
    EXPECT_FALSE(script.changed) << "before a change, No drops them";
    EXPECT_EQ(script.saved, 1);
}

} // namespace
