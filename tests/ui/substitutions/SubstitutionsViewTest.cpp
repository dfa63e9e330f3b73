#include "substitutions/SubstitutionsView.h"

#include "core/support/CheckedItems.h"
#include "TestPaths.h"
#include "core/framework/FakeFileDialogs.h"
#include "core/framework/RecordingView.h"
#include "core/support/PrintedPages.h"
#include "core/shell/FakeMessageService.h"
#include "framework/DocTemplate.h"
#include "framework/MdiFrame.h"
#include "framework/UpdateHint.h"
#include "materials/MaterialsDoc.h"
#include "shell/AppContext.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"
#include "substitutions/ChooseSubstitutionDlg.h"
#include "substitutions/SubstitutionEditView.h"
#include "substitutions/SubstitutionList.h"
#include "substitutions/SubstitutionsDoc.h"
#include "support/DialogStyle.h"
#include "support/MergeDlg.h"
#include "support/NotesEdit.h"
#include "support/PlainTextEditLines.h"
#include "support/Profile.h"
#include "support/TabEdit.h"
#include "tools/BatchCalcDlg.h"
#include "ui/support/TestFolders.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

template <class Dialog>
void WhenModal(std::function<void(Dialog&)> act)
{
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "the expected dialog is not showing";
            if (QWidget* other = QApplication::activeModalWidget())
                other->close();
            return;
        }
        act(*dialog);
    });
}

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string BoxText(QPlainTextEdit* box)
{
    return CoreTextFromEdit(*box);
}

class SubstitutionsViewTest : public ::testing::Test {
protected:
    SubstitutionsViewTest()
    {
        g_prefs.ApplyColorScheme();
        m_dir = fs::temp_directory_path() / ("oxi-subwin-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        m_profile = std::make_unique<CProfile>((m_dir / "profile.ini").string());
        SetProfile(m_profile.get());
        m_materials.OnOpenDocument(OXI_SHIPPED_DATA_DIR "/materials.mat");
        g_pSubstitutionsTemplate = &m_list;
        g_pSubstitutionEditTemplate = &m_edit;
        InstallSubstitutionsTemplate(m_list);
        InstallSubstitutionEditTemplate(m_edit);
        m_frame.resize(1000, 700);
        m_frame.show();
        QApplication::setActiveWindow(&m_frame);
        m_doc = dynamic_cast<CSubstitutionsDoc*>(m_list.OpenDocumentFile(OXI_SHIPPED_DATA_DIR "/substitutions.sub"));
        for (CView* view : m_doc ? m_doc->GetViews() : std::vector<CView*>{})
            m_view = m_view ? m_view : dynamic_cast<CSubstitutionsView*>(view);
        QApplication::processEvents();
        m_messages.boxes.clear();
    }
    ~SubstitutionsViewTest() override
    {
        SetSubstitutionEditViews(nullptr);
        g_pSubstitutionsTemplate = nullptr;
        g_pSubstitutionEditTemplate = nullptr;
        SetProfile(nullptr);
        fs::remove_all(m_dir);
    }

    // The tests reach the shipped substitutions and materials by their places: a database that
    // did not open, or opened short, stops each test here.
    void SetUp() override
    {
        ASSERT_NE(m_doc, nullptr);
        ASSERT_NE(m_view, nullptr);
        ASSERT_EQ(m_doc->Substitutions().GetCount(), 15);
        ASSERT_GT(m_materials.Materials().GetCount(), 0);
    }

    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (int i = 0; i < m_doc->Substitutions().GetCount(); ++i)
            names.push_back(RecordAt(m_doc->Substitutions(), i).m_name);
        return names;
    }
    void Select(std::initializer_list<int> rows) const
    {
        m_view->SetSel(-1, false);
        for (int row : rows)
            m_view->SetSel(row, true);
    }
    std::vector<CSubstitutionEditView*> EditViews() const
    {
        std::vector<CSubstitutionEditView*> views;
        for (CView* view : m_doc->GetViews()) {
            if (auto* edit = dynamic_cast<CSubstitutionEditView*>(view))
                views.push_back(edit);
        }
        return views;
    }
    CSubstitutionEditView* OpenEditOn(int row)
    {
        Select({row});
        EXPECT_TRUE(m_view->RunCommand(CmdSubListEdit));
        const auto views = EditViews();
        return views.empty() ? nullptr : views.back();
    }
    static void SetBox(QPlainTextEdit* box, const std::string& text) { box->setPlainText(EditTextFromCore(text)); }
    static void Flush()
    {
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    fs::path m_dir;
    std::unique_ptr<CProfile> m_profile;
    CAppContext m_context;
    CFakeMessageService m_messages;
    CFakeFileDialogs m_dialogs;
    COxidariumApp m_app;
    CMaterialsDoc m_materials;
    CDocTemplate m_list{kSubstitutionsResourceId, kSubstitutionsDocString,
                        [] { return std::make_unique<CSubstitutionsDoc>(); }};
    CDocTemplate m_edit{kSubstitutionEditResourceId, kSubstitutionsDocString, nullptr};
    CMDIMainFrame m_frame;
    CSubstitutionsDoc* m_doc = nullptr;
    CSubstitutionsView* m_view = nullptr;
};

} // namespace

TEST_F(SubstitutionsViewTest, TheListShowsTheShippedSubstitutions)
{
    ASSERT_NE(m_view, nullptr);
    ASSERT_EQ(m_view->GetCount(), 15);
    for (int i = 0; i < 15; ++i)
        EXPECT_EQ(m_view->GetText(i), ItemAt(Names(), static_cast<std::size_t>(i)));
    EXPECT_EQ(m_view->GetText(0), "Wollastonite for whiting and silica");
    EXPECT_EQ(m_view->GetText(14), "Zircon for tin oxide");
    auto* frame = dynamic_cast<CMDIChildFrame*>(m_view->GetFrame());
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Common Substitutions"));
    EXPECT_TRUE(frame->IsFrameMinimized());
    ASSERT_EQ(m_view->GetTabStops().size(), 2u);
    EXPECT_EQ(m_view->GetTabStops().front(), 4);

    EXPECT_TRUE(m_view->RunCommand(CmdSubListNamesAndNotes));
    EXPECT_EQ(m_view->GetText(0), "Wollastonite for whiting and silica\tSame calcium and silica in the fired glaze. "
                                  "Wollastonite gives off no carbon dioxide, so glazes gas less and pinhole less than "
                                  "with whiting.");
    EXPECT_TRUE(m_view->RunCommand(CmdSubListNames));
    // Print Selected wants a selection.
    for (const bool selected : {false, true}) {
        m_view->SetSel(-1, false);
        m_view->SetSel(2, selected);
        CCmdUI state(CmdSubListWriteSelected);
        EXPECT_TRUE(m_view->OnUpdateCommand(state));
        EXPECT_EQ(state.m_bEnabled, selected);
    }

    const CUpdateHint bring(nullptr, m_doc, 7, HintBringFrameForward, 0, 0);
    m_doc->UpdateAllViews(nullptr, &bring);
    EXPECT_FALSE(frame->IsFrameMinimized()) << "the database tree brings the window up";
    frame->resize(CSubstitutionsView::kInitialWidth, CSubstitutionsView::kInitialHeight);
        frame->grab().save(ScreenshotFolder() + "/substitutions_list.png");
}

TEST_F(SubstitutionsViewTest, ChooseASubstitutionReturnsTheChoiceForwardOrReversed)
{
    CChooseSubstitutionDlg dialog(&m_frame);
    dialog.SelectSubstitution(0);
    dialog.InitDialog();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Choose a Substitution"));
    EXPECT_EQ(dialog.List()->count(), 15);
    EXPECT_EQ(dialog.List()->currentRow(), 0);
    EXPECT_EQ(BoxText(dialog.Set1Edit()), "Whiting\t100.00\r\nSilica\t  60.03\r\n");
    EXPECT_EQ(BoxText(dialog.Set2Edit()), "Wollastonite\t116.06\r\n");
    // Each set box stands below its caption, its amounts lined up at 70 dialog units.
    const std::pair<QPlainTextEdit*, QString> boxes[] = {{dialog.Set1Edit(), QStringLiteral("Material(s) :")},
                                                         {dialog.Set2Edit(), QStringLiteral("Substitution :")}};
    for (const auto& [box, caption] : boxes) {
        const QLabel* label = nullptr;
        for (const QLabel* candidate : dialog.findChildren<QLabel*>())
            label = candidate->text() == caption ? candidate : label;
        ASSERT_NE(label, nullptr) << caption.toStdString();
        EXPECT_GT(box->geometry().top(), label->geometry().bottom()) << caption.toStdString();
        EXPECT_EQ(box->tabStopDistance(), TabStopsFromDlu(box->font(), {70}).front()) << caption.toStdString();
    }
    dialog.grab().save(ScreenshotFolder() + "/choose_substitution.png");

    dialog.List()->setCurrentRow(1);
    EXPECT_EQ(dialog.current, 1);
    EXPECT_EQ(BoxText(dialog.Set1Edit()), "Potash Feldspar\t100.00\r\n");
    QTest::mouseClick(dialog.MakeReverseButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.reverse, 1);

    // The reverse direction takes set 2 out of a recipe and puts set 1 in.
    CIngredientList recipe;
    recipe.Add("Soda Feldspar", 94.21);
    recipe.Add("Silica", 20);
    ASSERT_NE(m_doc->Substitutions().GetAt(dialog.current), nullptr);
    EXPECT_EQ(RecordAt(m_doc->Substitutions(), dialog.current).ApplyToRecipe(recipe, dialog.reverse, nullptr), 1);
    EXPECT_EQ(recipe.FindByName("Soda Feldspar"), nullptr);
    ASSERT_NE(recipe.FindByName("Potash Feldspar"), nullptr);
    EXPECT_NEAR(Found(recipe.FindByName("Potash Feldspar")).m_amount, 100.0, 1e-9);

    CChooseSubstitutionDlg forward(&m_frame);
    forward.SelectSubstitution(2);
    forward.InitDialog();
    QTest::mouseClick(forward.MakeButton(), Qt::LeftButton);
    EXPECT_EQ(forward.result(), QDialog::Accepted);
    EXPECT_EQ(forward.current, 2);
    EXPECT_EQ(forward.reverse, 0);

    // A double click on a substitution chooses it, forward.
    CChooseSubstitutionDlg doubleClicked(&m_frame);
    doubleClicked.InitDialog();
    doubleClicked.show();
    QListWidget* list = doubleClicked.List();
    ASSERT_GT(list->count(), 3);
    const QPoint third = list->visualItemRect(list->item(3)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, third);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, third);
    EXPECT_EQ(doubleClicked.result(), QDialog::Accepted);
    EXPECT_EQ(doubleClicked.current, 3);
    EXPECT_EQ(doubleClicked.reverse, 0);

    CChooseSubstitutionDlg cancelled(&m_frame);
    cancelled.SelectSubstitution(99);
    cancelled.InitDialog();
    EXPECT_EQ(cancelled.current, -1);
    EXPECT_TRUE(BoxText(cancelled.Set1Edit()).empty());
    QTest::mouseClick(cancelled.CancelButton(), Qt::LeftButton);
    EXPECT_EQ(cancelled.result(), QDialog::Rejected);
}

TEST_F(SubstitutionsViewTest, TheEditFormNormalizesExchangesAndChecksItsSets)
{
    CSubstitutionEditView* edit = OpenEditOn(0);
    ASSERT_NE(edit, nullptr);
    // The form brings its own menu, its tools in it.
    EXPECT_EQ(m_frame.CurrentMenuResource(), kSubstitutionEditResourceId);
    EXPECT_EQ(m_frame.CommandCaption(CmdSubEditBatchCalc), "&Batch Calculation...");
    // Each set box has its caption.
    QStringList captions;
    for (const QLabel* label : edit->findChildren<QLabel*>())
        captions << label->text();
    EXPECT_TRUE(captions.contains(QStringLiteral("Material(s) :"))) << captions.join(u'|').toStdString();
    EXPECT_TRUE(captions.contains(QStringLiteral("Substitution :"))) << captions.join(u'|').toStdString();
    // Write to File writes the form's substitution as it stands.
    const std::string summary = (m_dir / "form.txt").string();
    m_dialogs.AnswerPath(summary);
    edit->OnCommand(CmdSubEditWriteToFile);
    EXPECT_EQ(ReadAll(summary), "Wollastonite for whiting and silica\n-----------------------------------\n\n"
                                "For:                        Substitute:\n"
                                "   100.00 Whiting              116.06 Wollastonite\n    60.03 Silica\n\n"
                                "Same calcium and silica in the fired glaze. Wollastonite gives off no carbon\n"
                                "dioxide, so glazes gas less and pinhole less than with whiting.\n");
    // Tab leaves the notes box, typing in it is a change, and it takes a changed edit-box font.
    EXPECT_TRUE(edit->NotesEdit()->tabChangesFocus());
    g_prefs.edboxfont.italic = 1;
    const CUpdateHint preferences(nullptr, m_doc, 0, HintPreferencesChanged, 0, 0);
    m_doc->UpdateAllViews(nullptr, &preferences);
    EXPECT_TRUE(edit->NotesEdit()->font().italic());
    edit->NotesEdit()->setFocus();
    QTest::keyClicks(edit->NotesEdit(), "x");
    EXPECT_TRUE(edit->IsChanged());
    edit->UndoChanges();
    // Paste changes nothing with an empty clipboard, and shows the clipboard's substitution as
    // unsaved edits.
    ClearClipboard(g_substitutionClipboard);
    edit->OnCommand(CmdSubEditPaste);
    EXPECT_FALSE(edit->IsChanged());
    AppendToClipboard(g_substitutionClipboard, RecordAt(m_doc->Substitutions(), 1));
    edit->OnCommand(CmdSubEditPaste);
    EXPECT_EQ(edit->NameEdit()->text().toStdString(), RecordAt(m_doc->Substitutions(), 1).m_name);
    EXPECT_TRUE(edit->IsChanged());
    edit->UndoChanges();
    EXPECT_EQ(edit->NameEdit()->text(), QStringLiteral("Wollastonite for whiting and silica"));
    EXPECT_EQ(BoxText(edit->SetEdit(0)), "Whiting\t100\r\nSilica\t  60.03\r\n");

    SetBox(edit->SetEdit(0), "Feldspar\t40\r\nSilica 10\r\nnoamount\r\n");
    SetBox(edit->SetEdit(1), "Nepheline\t45\r\n");
    edit->Normalize();
    EXPECT_EQ(BoxText(edit->SetEdit(0)), "Feldspar\t100\r\nSilica\t  25\r\n");
    EXPECT_EQ(BoxText(edit->SetEdit(1)), "Nepheline\t112.5\r\n");
    SetBox(edit->SetEdit(0), "Feldspar\t100\r\nSilica\t25\r\n");
    edit->Normalize();
    EXPECT_EQ(BoxText(edit->SetEdit(0)), "Feldspar\t  80\r\nSilica\t  20\r\n");
    EXPECT_EQ(BoxText(edit->SetEdit(1)), "Nepheline\t  90\r\n");
    edit->Exchange();
    EXPECT_EQ(BoxText(edit->SetEdit(0)), "Nepheline\t  90\r\n");
    edit->Exchange();
    EXPECT_EQ(BoxText(edit->SetEdit(0)), "Feldspar\t  80\r\nSilica\t  20\r\n");
    EXPECT_TRUE(edit->IsChanged());
    EXPECT_TRUE(edit->Button(kSubEditSave)->isEnabled());
    EXPECT_TRUE(edit->Button(kSubEditBatchCalc)->isEnabled());

    // Check Materials reports each problem; Cancel silences the rest; the boxes stay as they are.
    RecordAt(m_materials.Materials(), 0).m_available = 0; // Silica
    SetBox(edit->SetEdit(0), "Nonesuch\t10\r\nsilica\t5\r\n");
    SetBox(edit->SetEdit(1), "Whiting\t3\r\nOther\t1\r\n");
    m_messages.answers = {MsgResultOk, MsgResultCancel};
    edit->CheckMaterials();
    EXPECT_EQ(m_messages.Texts(),
              (std::vector<std::string>{"\"Nonesuch\" is not in the material list", "\"Silica\" is unavailable"}));
    EXPECT_EQ(BoxText(edit->SetEdit(0)), "Nonesuch\t10\r\nsilica\t5\r\n");
    m_messages.boxes.clear();
    SetBox(edit->SetEdit(0), "Whiting\t10\r\n");
    SetBox(edit->SetEdit(1), "");
    edit->CheckMaterials();
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{
                                      "All ingredients are in the material list, available, and have correct mapping"}));

    // Tab completes the name before the caret; Enter reformats the line just ended.
    CTabEdit* box = edit->SetEdit(0);
    ASSERT_NE(box, nullptr);
    SetBox(box, "");
    box->setFocus();
    QTest::keyClicks(box, "wollast");
    QTest::keyClick(box, Qt::Key_Tab);
    EXPECT_EQ(BoxText(box), "Wollastonite\t");
    // At the start of a line it has nothing to complete; after one letter it has.
    SetBox(box, "");
    QTest::keyClick(box, Qt::Key_Tab);
    EXPECT_EQ(BoxText(box), "");
    QTest::keyClicks(box, "d");
    QTest::keyClick(box, Qt::Key_Tab);
    EXPECT_EQ(BoxText(box), "Dolomite\t");
    // Nor over a selection: the letters stay as typed.
    SetBox(box, "");
    QTest::keyClicks(box, "do");
    QTest::keyClick(box, Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(box, Qt::Key_Tab);
    EXPECT_EQ(BoxText(box), "do");
    SetBox(box, "Wollastonite\t");
    box->moveCursor(QTextCursor::End);
    QTest::keyClicks(box, "5");
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(BoxText(box), "Wollastonite\t    5\r\n");
    QTest::keyClicks(box, "noamount");
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(BoxText(box), "Wollastonite\t    5\r\n\r\n");
    // An amount that is no number stays as typed: "Talc 1,5" is not "Talc 1".
    QTest::keyClicks(box, "Talc 1,5");
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(BoxText(box), "Wollastonite\t    5\r\n\r\nTalc 1,5\r\n");
    // Enter also spells the material's name as the database does.
    SetBox(box, "");
    box->setFocus();
    QTest::keyClicks(box, "talc 2");
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(BoxText(box), "Talc\t    2\r\n");
    SetBox(box, "Wollastonite\t    5\r\n");

    // A material picked in the list goes to the set last worked in, at 100.
    edit->SetEdit(1)->setFocus();
    edit->NameEdit()->setFocus();
    EXPECT_EQ(edit->LastFocusedSet(), 1);
    box->setFocus();
    edit->NameEdit()->setFocus();
    EXPECT_EQ(edit->LastFocusedSet(), 0);
    const int talc = m_materials.Materials().IndexOf(m_materials.Materials().FindMaterial(std::string_view("Talc")));
    ASSERT_GE(talc, 0);
    QListWidget* materials = edit->MaterialsList();
    ASSERT_NE(materials, nullptr);
    ASSERT_GT(materials->count(), talc);
    materials->scrollToItem(materials->item(talc));
    QTest::mouseClick(materials->viewport(), Qt::LeftButton, {}, materials->visualItemRect(materials->item(talc)).center());
    EXPECT_EQ(BoxText(box), "Wollastonite\t    5\r\nTalc\t100\r\n");

    // The list follows the materials database.
    const int listed = materials->count();
    m_materials.InsertRecord(0, CMaterial("Zircopax"));
    const CUpdateHint inserted(nullptr, &m_materials, 0, HintMaterialsInserted, 0, 0);
    m_doc->UpdateAllViews(nullptr, &inserted);
    EXPECT_EQ(materials->count(), listed + 1);

    // Batch Calculation's batch, accepted, becomes set 2: an edit to save.
    edit->UndoChanges();
    ASSERT_FALSE(edit->IsChanged());
    WhenModal<CBatchCalcDlg>([](CBatchCalcDlg& dialog) {
        dialog.MaterialBox()->setText(QStringLiteral("Wollastonite"));
        dialog.OnMaterialLeft();
        dialog.Button(kBatchUseMaterial)->click();
        dialog.Button(1)->click();
    });
    edit->Button(kSubEditBatchCalc)->click();
    EXPECT_EQ(BoxText(edit->SetEdit(1)), "Wollastonite\t116.058\r\n");
    EXPECT_TRUE(edit->IsChanged());
}

// Regression: a set line whose amount was no number was saved as the number its text began with
// ("Talc 1,5" as "Talc 1") or dropped ("Silica abc"), and the tools rewrote it away; Check
// Materials then answered that all was well, and the printed summary left the line out. The form
// saves, prints, copies and checks nothing while either set holds one: every road refuses the
// line, selects it, and leaves the sets alone.
TEST_F(SubstitutionsViewTest, ASetLineWhoseAmountIsNoNumberStopsEveryRoad)
{
    CSubstitutionEditView* edit = OpenEditOn(0);
    ASSERT_NE(edit, nullptr);
    const std::string summary = (m_dir / "summary.txt").string();
    const std::pair<const char*, std::function<void()>> roads[] = {
        {"Save Changes", [edit] { edit->Button(kSubEditSave)->click(); }},
        {"Close, Yes", [edit] { edit->Button(kSubEditClose)->click(); }},
        {"Edit Next, Yes", [edit] { edit->Button(kSubEditNext)->click(); }},
        {"Ctrl+S", [edit] { edit->OnCommand(CmdSubEditSaveAndNext); }},
        {"Normalize", [edit] { edit->Button(kSubEditNormalize)->click(); }},
        {"Exchange", [edit] { edit->Button(kSubEditExchange)->click(); }},
        {"Check Materials", [edit] { edit->Button(kSubEditCheck)->click(); }},
        {"Batch Calculation", [edit] { edit->Button(kSubEditBatchCalc)->click(); }},
        {"Write to File", [this] { m_frame.ExecuteCommand(CmdSubEditWriteToFile); }},
        // Nor does Cut copy the form without the line and close it.
        {"Cut", [edit] { edit->OnCommand(CmdSubEditCut); }},
    };
    for (int set = 0; set < 2; ++set) {
        CTabEdit* box = edit->SetEdit(set);
        ASSERT_NE(box, nullptr);
        // Undo Changes acts on its first click, the refused line in the other box untold.
        QTest::mouseClick(edit->Button(kSubEditUndo), Qt::LeftButton);
        Flush();
        EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{}) << set;
        EXPECT_FALSE(edit->IsChanged()) << set;
        box->setFocus();
        box->moveCursor(QTextCursor::End);
        QTest::keyClicks(box, "Talc 1,5");
        const std::string typed = BoxText(box);
        const int stored = RecordAt(m_doc->Substitutions(), 0).m_set2.GetCount();
        for (const auto& [road, take] : roads) {
            ASSERT_EQ(m_frame.ActiveView(), edit) << road;
            m_messages.answers = {MsgResultYes};
            m_dialogs.AnswerPath(summary);
            take();
            Flush(); // and the user's next action
            ASSERT_EQ(EditViews().size(), 1u) << road;
            EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"The amount of \"Talc 1,5\" is not a number. "
                                                                   "Please enter a number between 0 and 999999999."})
                << road << " " << set;
            EXPECT_EQ(BoxText(box), typed) << road;
            EXPECT_EQ(box->textCursor().selectedText(), QStringLiteral("Talc 1,5")) << road;
            EXPECT_EQ(QApplication::focusWidget(), box) << road << ": the keys go to the refused line";
            EXPECT_EQ(RecordAt(m_doc->Substitutions(), 0).m_set2.GetCount(), stored) << road;
            EXPECT_EQ(edit->CurrentIndex(), 0) << road;
            EXPECT_TRUE(edit->IsChanged()) << road;
            EXPECT_FALSE(fs::exists(summary)) << road;
            m_messages.boxes.clear();
            m_dialogs.answers.clear();
        }
        EXPECT_FALSE(edit->SetBoxLeft(box, false));
        EXPECT_EQ(BoxText(box), typed) << "leaving the box keeps its lines as typed";
    }

    // The user's next step: the mend typed over the selected line, and the save goes through.
    QWidget* keyboard = QApplication::focusWidget();
    ASSERT_NE(keyboard, nullptr);
    QTest::keyClicks(keyboard, "Talc 1.5");
    edit->Button(kSubEditSave)->click();
    Flush();
    EXPECT_TRUE(m_messages.boxes.empty());
    const CIngredientList& saved = RecordAt(m_doc->Substitutions(), 0).m_set2;
    ASSERT_GT(saved.GetCount(), 0);
    EXPECT_EQ(saved.GetAt(saved.GetCount() - 1).m_name, "Talc");
    EXPECT_DOUBLE_EQ(saved.GetAt(saved.GetCount() - 1).m_amount, 1.5);
}

TEST_F(SubstitutionsViewTest, SaveAsNewCutAndDeletingTheRecord)
{
    CRecordingFrame recorder(*m_doc, "recorder");
    CSubstitution frit("Frit swap");
    frit.m_set1.Add("Frit 3134", 10);
    m_doc->InsertRecord(0, frit);
    m_view->FillList(0, -1, true);
    CSubstitutionEditView* edit = OpenEditOn(0);
    ASSERT_NE(edit, nullptr);
    SetBox(edit->SetEdit(0), "Frit 3124\t12\r\n");
    edit->OnCommand(CmdSubEditSaveAsNew);
    ASSERT_EQ(m_doc->Substitutions().GetCount(), 17);
    EXPECT_EQ(ItemAt(Names(), 0), "Frit swap");
    ASSERT_EQ(RecordAt(m_doc->Substitutions(), 0).m_set1.GetCount(), 1);
    EXPECT_EQ(RecordAt(RecordAt(m_doc->Substitutions(), 0).m_set1, 0).m_name, "Frit 3134");
    EXPECT_EQ(ItemAt(Names(), 1), "Frit swap (new)");
    ASSERT_EQ(RecordAt(m_doc->Substitutions(), 1).m_set1.GetCount(), 1);
    EXPECT_EQ(RecordAt(RecordAt(m_doc->Substitutions(), 1).m_set1, 0).m_name, "Frit 3124");
    EXPECT_EQ(edit->CurrentIndex(), 1);
    EXPECT_FALSE(edit->IsChanged());
    std::vector<std::pair<int, int>> notices;
    for (const CReceivedHint& hint : recorder.view->received)
        notices.emplace_back(hint.code, hint.index);
    // The new record is announced where it stands; the stored one keeps its place and identity.
    EXPECT_EQ(notices, (std::vector<std::pair<int, int>>{{9, 1}, {8, 1}}));

    // Cut: the form's contents go to the clipboard, the database keeps the record.
    edit->NameEdit()->setText(QStringLiteral("Clipped"));
    edit->OnCommand(CmdSubEditCut);
    Flush();
    EXPECT_TRUE(EditViews().empty());
    ASSERT_EQ(g_substitutionClipboard.GetCount(), 1);
    EXPECT_EQ(RecordAt(g_substitutionClipboard, 0).m_name, "Clipped");
    EXPECT_EQ(g_substitutionClipboard.m_dbName, "Substitutions");
    EXPECT_EQ(ItemAt(Names(), 1), "Frit swap (new)");

    // Deleting the record in the list asks its edit view about the unsaved edits first; after
    // Yes the record goes, edits and all, and the view closes.
    edit = OpenEditOn(1);
    ASSERT_NE(edit, nullptr);
    edit->NameEdit()->setText(QStringLiteral("unsaved"));
    edit->SetChanged(true);
    Select({1});
    m_messages.answers.push_back(MsgResultYes);
    EXPECT_TRUE(m_view->RunCommand(CmdSubListDelete));
    Flush();
    EXPECT_TRUE(EditViews().empty());
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{
                  "\"Frit swap (new)\" has unsaved changes in its window (\"unsaved\") and will be deleted. Delete it?"}));
    ASSERT_EQ(m_doc->Substitutions().GetCount(), 16);
    m_messages.boxes.clear();

    // Ctrl+S at the last record stores and appends a new one.
    edit = OpenEditOn(15);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->Button(kSubEditNext)->text(), QStringLiteral("Append New"));
    edit->NameEdit()->setText(QStringLiteral("Zircopax for tin oxide"));
    edit->SetChanged(true);
    edit->OnCommand(CmdSubEditSaveAndNext);
    ASSERT_EQ(m_doc->Substitutions().GetCount(), 17);
    EXPECT_EQ(ItemAt(Names(), 15), "Zircopax for tin oxide");
    EXPECT_EQ(ItemAt(Names(), 16), "new substitution");
    EXPECT_EQ(edit->CurrentIndex(), 16);
    EXPECT_EQ(edit->NameEdit()->selectedText(), QStringLiteral("new substitution"));
        edit->LoadRecord(0);
    QApplication::processEvents();
    dynamic_cast<CMDIChildFrame*>(edit->GetFrame())->grab().save(ScreenshotFolder() + "/substitution_edit.png");
}

TEST_F(SubstitutionsViewTest, ListOrderingPasteSubsetMergeAndTable)
{
    Select({2, 4});
    EXPECT_TRUE(m_view->RunCommand(CmdSubListSelectedToTop));
    EXPECT_EQ(ItemAt(Names(), 0), "Nepheline syenite and silica for soda feldspar");
    EXPECT_EQ(ItemAt(Names(), 1), "Dolomite for whiting and magnesium carbonate");
    EXPECT_EQ(m_view->GetSelItems(), (std::vector<int>{0, 1}));
    EXPECT_TRUE(m_view->RunCommand(CmdSubListShiftUp));
    EXPECT_EQ(ItemAt(Names(), 0), "Nepheline syenite and silica for soda feldspar") << "the first row stays";
    Select({14});
    CCmdUI down(CmdSubListShiftDown);
    EXPECT_TRUE(m_view->OnUpdateCommand(down));
    EXPECT_FALSE(down.m_bEnabled);

    Select({14});
    EXPECT_TRUE(m_view->RunCommand(CmdSubListCopy));
    m_view->SetSel(-1, false);
    EXPECT_TRUE(m_view->RunCommand(CmdSubListPaste));
    EXPECT_EQ(ItemAt(Names(), 0), "Zircon for tin oxide");
    EXPECT_EQ(m_view->GetSelItems(), std::vector<int>{0});

    const std::string subset = (m_dir / "subset.sub").string();
    Select({1, 2, 3});
    m_dialogs.AnswerPath(subset);
    EXPECT_TRUE(m_view->RunCommand(CmdSubListSaveSelected));
    CSubstitutionList saved;
    std::ifstream in(subset, std::ios::binary);
    ASSERT_EQ(saved.Read(in), 0);
    EXPECT_EQ(saved.m_dbName, "Common Substitutions (subset)");
    ASSERT_EQ(saved.GetCount(), 3);
    EXPECT_EQ(RecordAt(saved, 0).m_name, ItemAt(Names(), 1));
    EXPECT_EQ(saved.m_infoLines.size(), 3u);

    // Merging records that all exist, replacing them, announces a reload.
    CRecordingFrame recorder(*m_doc, "recorder");
    const int count = m_doc->Substitutions().GetCount();
    m_dialogs.AnswerPath(subset);
    WhenModal<CMergeDlg>([](CMergeDlg& merge) {
        EXPECT_EQ(merge.flags, (std::vector<int>{1, 1, 1}));
        merge.SelectAllButton()->click();
        merge.ReplaceExistingRadio()->setChecked(true);
        merge.accept();
    });
    EXPECT_TRUE(m_view->RunCommand(CmdSubListMerge));
    EXPECT_EQ(m_dialogs.Last().title, "Merge Substitution Database...");
    EXPECT_EQ(m_doc->Substitutions().GetCount(), count);
    ASSERT_EQ(recorder.view->received.size(), 1u);
    EXPECT_EQ(recorder.view->At(0).code, 12);

    const std::string table = (m_dir / "table.txt").string();
    m_dialogs.AnswerPath(table);
    EXPECT_TRUE(m_view->RunCommand(CmdSubListWriteTable));
    EXPECT_EQ(m_dialogs.Last().title, "Substitution Table to File...");
    const std::string written = ReadAll(table);
    EXPECT_EQ(written.rfind("Common Substitutions\n", 0), 0u) << written.substr(0, 80);
    EXPECT_NE(written.find("For: "), std::string::npos);

    // Printed, the table's later pages are headed by the database's name and their number.
    CTextPrinter printer;
    m_view->FillPrinter(printer, true);
    const std::string pages = PrintedPages(printer);
    const std::size_t second = pages.find("=== page 2\n");
    ASSERT_NE(second, std::string::npos) << pages;
    EXPECT_EQ(pages.substr(second, pages.find('\n', pages.find('\n', second) + 1) - second),
              "=== page 2\nh Common Substitutions" + std::string(59, ' ') + "Page 2");
}

// Regression: saving or closing the database brought forward every edit form in turn, changed or
// not, leaving the last of them in front of the one the user had answered. Only forms with
// changes come forward and are asked.
TEST_F(SubstitutionsViewTest, OnlyFormsWithChangesComeForwardWhenTheDatabaseAsks)
{
    CSubstitutionEditView* changed = OpenEditOn(0);
    CSubstitutionEditView* unchanged = OpenEditOn(1);
    ASSERT_NE(changed, nullptr);
    ASSERT_NE(unchanged, nullptr);
    changed->NameEdit()->setText(QStringLiteral("renamed"));
    changed->SetModified(true);
    ASSERT_EQ(m_frame.ActiveView(), unchanged);
    m_messages.answers = {MsgResultNo};
    EXPECT_TRUE(m_doc->SaveModified(SaveModifiedFor::Closing));
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Save changes to \"renamed\" ?"});
    EXPECT_EQ(m_frame.ActiveView(), changed);
}
