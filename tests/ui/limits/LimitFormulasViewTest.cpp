#include "limits/LimitFormulasView.h"

#include "ui/support/CheckedWidgets.h"
#include "TestPaths.h"
#include "core/framework/FakeFileDialogs.h"
#include "core/support/CheckedItems.h"
#include "core/framework/RecordingView.h"
#include "core/shell/FakeMessageService.h"
#include "framework/DocTemplate.h"
#include "framework/MdiFrame.h"
#include "framework/UpdateHint.h"
#include "limits/LimitFormulaClipboard.h"
#include "limits/LimitFormulaEditView.h"
#include "limits/LimitFormulasDoc.h"
#include "limits/OxideCombosDlg.h"
#include "shell/AppContext.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"
#include "support/DbNotesDlg.h"
#include "support/EditTextDlg.h"
#include "support/MergeDlg.h"
#include "support/NotesEdit.h"
#include "support/Profile.h"
#include "ui/support/TestFolders.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
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

// Runs act on the modal dialog of type Dialog once it is up; any other modal window is closed
// so that the test never hangs.
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

class LimitFormulasViewTest : public ::testing::Test {
protected:
    LimitFormulasViewTest()
    {
        g_prefs.ApplyColorScheme();
        m_dir = fs::temp_directory_path() / ("oxi-limwin-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        m_profile = std::make_unique<CProfile>((m_dir / "profile.ini").string());
        SetProfile(m_profile.get());
        g_pLimitFormulasTemplate = &m_list;
        g_pLimitFormulaEditTemplate = &m_edit;
        InstallLimitFormulasTemplate(m_list);
        InstallLimitFormulaEditTemplate(m_edit);
        m_frame.resize(900, 700);
        m_frame.show();
        QApplication::setActiveWindow(&m_frame);
        // A copy of the starter formulas, so that the shipped file may grow.
        m_doc = dynamic_cast<CLimitFormulasDoc*>(m_list.OpenDocumentFile(OXI_TEST_DATA_DIR "/limits/starter.lim"));
        for (CView* view : m_doc ? m_doc->GetViews() : std::vector<CView*>{})
            m_view = m_view ? m_view : dynamic_cast<CLimitFormulasView*>(view);
        QApplication::processEvents();
    }
    ~LimitFormulasViewTest() override
    {
        SetLimitFormulaEditViews(nullptr);
        g_pLimitFormulasTemplate = nullptr;
        g_pLimitFormulaEditTemplate = nullptr;
        SetProfile(nullptr);
        fs::remove_all(m_dir);
    }

    // The tests reach the five formulas of the fixture and their limits by their places: a
    // database that did not open, or opened short, stops each test here.
    void SetUp() override
    {
        ASSERT_NE(m_doc, nullptr);
        ASSERT_NE(m_view, nullptr);
        ASSERT_EQ(m_doc->Database().GetCount(), 5);
        for (int i = 0; i < m_doc->Database().GetCount(); ++i)
            ASSERT_GT(RecordAt(m_doc->Database(), i).m_limits.GetCount(), 0) << RecordAt(m_doc->Database(), i).m_name;
    }

    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (int i = 0; i < m_doc->Database().GetCount(); ++i)
            names.push_back(RecordAt(m_doc->Database(), i).m_name);
        return names;
    }
    std::vector<std::string> Rows() const
    {
        std::vector<std::string> rows;
        for (int i = 0; i < m_view->GetCount(); ++i)
            rows.push_back(m_view->GetText(i));
        return rows;
    }
    void Select(std::initializer_list<int> rows) const
    {
        m_view->SetSel(-1, false);
        for (int row : rows)
            m_view->SetSel(row, true);
    }
    std::vector<CLimitFormulaEditView*> EditViews() const
    {
        std::vector<CLimitFormulaEditView*> views;
        for (CView* view : m_doc->GetViews()) {
            if (auto* edit = dynamic_cast<CLimitFormulaEditView*>(view))
                views.push_back(edit);
        }
        return views;
    }
    CLimitFormulaEditView* OpenEditOn(int row)
    {
        Select({row});
        EXPECT_TRUE(m_view->RunCommand(CmdLimListEdit));
        const auto views = EditViews();
        return views.empty() ? nullptr : views.back();
    }
    static void Flush()
    {
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    static void Type(QLineEdit* edit, const char* text)
    {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }

    fs::path m_dir;
    std::unique_ptr<CProfile> m_profile;
    CAppContext m_context;
    CFakeMessageService m_messages;
    CFakeFileDialogs m_dialogs;
    COxidariumApp m_app;
    CDocTemplate m_list{kLimitFormulasResourceId, kLimitFormulasDocString,
                        [] { return std::make_unique<CLimitFormulasDoc>(); }};
    CDocTemplate m_edit{kLimitFormulaEditResourceId, kLimitFormulasDocString, nullptr};
    CMDIMainFrame m_frame;
    CLimitFormulasDoc* m_doc = nullptr;
    CLimitFormulasView* m_view = nullptr;
};

const std::vector<std::string> kShippedNames = {"Cone 10 gloss", "Cone 10 matte", "Cone 6 gloss", "Cone 6 matte",
                                                "Cone 06 - 04 gloss"};

} // namespace

TEST_F(LimitFormulasViewTest, TheListShowsTheShippedFormulasInBothModes)
{
    ASSERT_NE(m_view, nullptr);
    EXPECT_EQ(Names(), kShippedNames);
    EXPECT_EQ(Rows(), kShippedNames);
    EXPECT_EQ(m_doc->GetTitle(), "Starter Limit Formulas");
    auto* frame = dynamic_cast<CMDIChildFrame*>(m_view->GetFrame());
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Starter Limit Formulas"));
    EXPECT_TRUE(frame->IsFrameMinimized()) << "the list waits minimised";

    m_view->SetSel(1, true);
    m_view->SetSel(3, true);
    EXPECT_TRUE(m_view->RunCommand(CmdLimListNamesAndNotes));
    EXPECT_EQ(m_view->GetText(0), "Cone 10 gloss\tGlossy stoneware and porcelain glazes, cone 9 to 11, oxidation or "
                                  "reduction. Keep silica high within the range for durable surfaces.");
    EXPECT_EQ(m_view->GetSelItems(), (std::vector<int>{1, 3})) << "the selection survives the mode change";
    CCmdUI check(CmdLimListNamesAndNotes);
    EXPECT_TRUE(m_view->OnUpdateCommand(check));
    EXPECT_EQ(check.m_nCheck, 1);
    EXPECT_TRUE(m_view->RunCommand(CmdLimListNames));
    EXPECT_EQ(Rows(), kShippedNames);

    // The database tree brings the window up with its notes; a new name retitles the window.
    CRecordingFrame recorder(*m_doc, "recorder");
    WhenModal<CDbNotesDlg>([](CDbNotesDlg& notes) {
        EXPECT_EQ(notes.caption, "Limit Formula Database Notes and Information");
        EXPECT_EQ(notes.notes.size(), 3u);
        notes.NameEdit()->selectAll();
        QTest::keyClicks(notes.NameEdit(), "Renamed limits");
        notes.accept();
    });
    const CUpdateHint withNotes(nullptr, m_doc, 7, HintBringFrameForwardWithNotes, 0, 0);
    m_doc->UpdateAllViews(nullptr, &withNotes);
    EXPECT_FALSE(frame->IsFrameMinimized());
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Renamed limits"));
    EXPECT_EQ(m_doc->Database().m_name, "Renamed limits");
    EXPECT_TRUE(m_doc->IsModified());
    ASSERT_EQ(recorder.view->received.size(), 2u);
    EXPECT_EQ(recorder.view->At(0).code, 38) << "announced while the notice is handled";

    frame->resize(CLimitFormulasView::kInitialWidth, CLimitFormulasView::kInitialHeight);
        frame->grab().save(ScreenshotFolder() + "/limit_formulas_list.png");
}

TEST_F(LimitFormulasViewTest, SavingAnEditedLimitAnnouncesTheChangedFormula)
{
    CRecordingFrame recorder(*m_doc, "recorder");
    CLimitFormulaEditView* edit = OpenEditOn(2);
    ASSERT_NE(edit, nullptr);
    ASSERT_NE(dynamic_cast<CMDIChildFrame*>(edit->GetFrame()), nullptr);
    EXPECT_EQ(dynamic_cast<CMDIChildFrame*>(edit->GetFrame())->windowTitle(), QStringLiteral("Cone 6 gloss"));
    ASSERT_GT(edit->LimitsList()->count(), 0);
    EXPECT_EQ(ListRow(edit->LimitsList(), 0).text(), QStringLiteral(" KNaO\t0.15 - 0.35"));
    EXPECT_FALSE(edit->Button(kLimEditSave)->isEnabled());
    // Up and Down move the chosen limit, where there is room: none is chosen as the form opens.
    const auto shifts = [edit] {
        return std::pair(edit->Button(kLimEditUp)->isEnabled(), edit->Button(kLimEditDown)->isEnabled());
    };
    EXPECT_EQ(shifts(), std::pair(false, false));
    edit->LimitsList()->setCurrentRow(1);
    EXPECT_EQ(shifts(), std::pair(true, true));
    edit->LimitsList()->setCurrentRow(edit->LimitsList()->count() - 1);
    EXPECT_EQ(shifts(), std::pair(true, false));
    // Up and Down move the chosen limit, which stays chosen; Delete Limit takes it away.
    edit->LimitsList()->setCurrentRow(1);
    const QString second = ListRow(edit->LimitsList(), 1).text();
    edit->Button(kLimEditUp)->click();
    EXPECT_EQ(ListRow(edit->LimitsList(), 1).text(), QStringLiteral(" KNaO\t0.15 - 0.35"));
    EXPECT_EQ(shifts(), std::pair(false, true));
    EXPECT_TRUE(edit->IsChanged());
    edit->Button(kLimEditDown)->click();
    EXPECT_EQ(ListRow(edit->LimitsList(), 0).text(), QStringLiteral(" KNaO\t0.15 - 0.35"));
    EXPECT_EQ(shifts(), std::pair(true, true));
    const int shown = edit->LimitsList()->count();
    edit->Button(kLimEditDeleteLimit)->click();
    EXPECT_EQ(edit->LimitsList()->count(), shown - 1);
    EXPECT_NE(ListRow(edit->LimitsList(), 1).text(), second);
    edit->UndoChanges();


    edit->LimitsList()->setCurrentRow(0);
    EXPECT_EQ(edit->CombinationBox()->currentText(), QStringLiteral("KNaO"));
    EXPECT_EQ(edit->FromEdit()->text(), QStringLiteral("0.15"));
    EXPECT_EQ(edit->ToEdit()->text(), QStringLiteral("0.35"));
    Type(edit->ToEdit(), "0.4");
    // Weight % stands below the bounds, in line with the combination.
    EXPECT_GT(edit->ByPercentCheck()->geometry().top(), edit->FromEdit()->geometry().bottom());
    EXPECT_EQ(edit->ByPercentCheck()->x(), edit->CombinationBox()->x());
    QTest::mouseClick(edit->ByPercentCheck(), Qt::LeftButton);
    EXPECT_EQ(ListRow(edit->LimitsList(), 0).text(), QStringLiteral(" KNaO\t0.15 - 0.4 %"));
    EXPECT_TRUE(edit->IsChanged());
    EXPECT_TRUE(edit->Button(kLimEditSave)->isEnabled());
    EXPECT_EQ(RecordAt(m_doc->Database().GetAt(2).m_limits, 0).GetRange(), "0.15 - 0.35") << "nothing stored yet";

    QTest::mouseClick(edit->Button(kLimEditSave), Qt::LeftButton);
    ASSERT_GT(RecordAt(m_doc->Database(), 2).m_limits.GetCount(), 0);
    const CLimit& saved = RecordAt(m_doc->Database(), 2).m_limits.GetAt(0);
    EXPECT_EQ(saved.GetRange(), "0.15 - 0.4");
    EXPECT_EQ(saved.m_byPercent, 1);
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_FALSE(edit->IsChanged());
    ASSERT_EQ(recorder.view->received.size(), 1u);
    EXPECT_EQ(recorder.view->At(0).kind, 4);
    EXPECT_EQ(recorder.view->At(0).code, 24);
    EXPECT_EQ(recorder.view->At(0).index, 2);
    EXPECT_EQ(m_view->GetSelItems(), std::vector<int>{2}) << "the list selects the changed formula";

    // A limit left without a combination is dropped on save; numbers are rewritten on leaving.
    // The first press clears the selection and the fields, the second appends what they hold.
    const int limits = edit->WorkingLimits().GetCount() + 1;
    QTest::mouseClick(edit->Button(kLimEditAppendLimit), Qt::LeftButton);
    EXPECT_EQ(edit->WorkingLimits().GetCount(), limits - 1);
    EXPECT_TRUE(edit->FromEdit()->text().isEmpty());
    EXPECT_TRUE(edit->ToEdit()->text().isEmpty());
    EXPECT_FALSE(edit->ByPercentCheck()->isChecked());
    EXPECT_FALSE(edit->IsChanged());
    QTest::mouseClick(edit->Button(kLimEditAppendLimit), Qt::LeftButton);
    ASSERT_EQ(edit->WorkingLimits().GetCount(), limits);
    EXPECT_TRUE(edit->IsChanged());
    edit->SelectLimit(limits - 1);
    Type(edit->FromEdit(), "0.5");
    Type(edit->ToEdit(), "2");
    EXPECT_TRUE(edit->NumberLeft(edit->ToEdit(), true));
    EXPECT_EQ(edit->ToEdit()->text(), QStringLiteral("2.0"));
    EXPECT_EQ(RecordAt(edit->WorkingLimits(), limits - 1).GetRange(), "0.5 - 2.0");
    // A bound that is no number is never taken as the number it begins with: leaving refuses it
    // and keeps it for the user to mend, the limit its range; a save refuses it where it stands.
    Type(edit->ToEdit(), "1,5"); // "1" stands in the limit while the user types on
    EXPECT_FALSE(edit->NumberLeft(edit->ToEdit(), true));
    EXPECT_EQ(edit->ToEdit()->text(), QStringLiteral("1,5"));
    EXPECT_EQ(RecordAt(edit->WorkingLimits(), limits - 1).GetRange(), "0.5 - 2.0");
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Please enter a number."});
    QApplication::processEvents(); // the user's next action
    edit->ToEdit()->setText(QStringLiteral("2"));
    Type(edit->FromEdit(), "0.5x");
    EXPECT_FALSE(edit->SaveChanges());
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{"Please enter a number.", "Please enter a number."}));
    EXPECT_EQ(edit->FromEdit()->selectedText(), QStringLiteral("0.5x"));
    m_messages.boxes.clear();
    Type(edit->FromEdit(), "0.5");
    edit->SaveChanges();
    EXPECT_EQ(RecordAt(m_doc->Database(), 2).m_limits.GetCount(), limits - 1);

    EXPECT_EQ(CLimitFormulaEditView::RangeText("0", ""), "> 0");
    EXPECT_EQ(CLimitFormulaEditView::RangeText("0.5", ""), ">= 0.5");
    EXPECT_EQ(CLimitFormulaEditView::RangeText("", "2"), "<= 2");
    EXPECT_EQ(CLimitFormulaEditView::RangeText("", ""), "");
}

// Regression: a bound refused on leaving its field was put back at once, and the command that
// followed went on: Yes to "Save changes to ...?" then saved the old bound and moved on, closed
// the form or quit. The typed text stays, is refused, and every road stops there.
TEST_F(LimitFormulasViewTest, ARefusedBoundStopsEveryRoadOutOfTheForm)
{
    CLimitFormulaEditView* edit = OpenEditOn(2);
    ASSERT_NE(edit, nullptr);
    const std::pair<const char*, std::function<void()>> roads[] = {
        {"View > Next Limit Formula", [this] { m_frame.ExecuteCommand(CmdLimEditNext); }},
        {"View > Close View", [this] { m_frame.ExecuteCommand(CmdLimEditCloseView); }},
        {"Print > Write to File", [this] { m_frame.ExecuteCommand(CmdLimEditWriteToFile); }},
        {"Save Changes", [edit] { edit->Button(kLimEditSave)->click(); }},
        {"Edit Next", [edit] { edit->Button(kLimEditNext)->click(); }},
        {"Close", [edit] { edit->Button(kLimEditClose)->click(); }},
        {"another limit", [edit] { edit->LimitsList()->setCurrentRow(1); }},
        {"Append New Limit", [edit] { edit->Button(kLimEditAppendLimit)->click(); }},
        // Nor does Sort clear the fields and drop the bound without a word.
        {"Sort", [edit] { edit->Button(kLimEditSort)->click(); }},
        {"Tab to From", [edit] { edit->FromEdit()->setFocus(Qt::TabFocusReason); }},
    };
    for (const auto& [road, take] : roads) {
        edit->LimitsList()->setCurrentRow(0);
        Type(edit->ToEdit(), "1,5");
        ASSERT_EQ(m_frame.ActiveView(), edit) << road;
        m_messages.answers = {MsgResultYes};
        take();
        Flush();
        ASSERT_EQ(EditViews().size(), 1u) << road;
        EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Please enter a number."}) << road;
        EXPECT_EQ(edit->CurrentIndex(), 2) << road;
        EXPECT_EQ(edit->CurrentLimit(), 0) << road;
        EXPECT_EQ(edit->ToEdit()->text(), QStringLiteral("1,5")) << road;
        EXPECT_EQ(QApplication::focusWidget(), edit->ToEdit()) << road << ": the keys go to the refused bound";
        EXPECT_EQ(edit->ToEdit()->selectedText(), QStringLiteral("1,5")) << road;
        EXPECT_TRUE(edit->IsChanged()) << road;
        EXPECT_EQ(ListRow(edit->LimitsList(), 0).text(), QStringLiteral(" KNaO\t0.15 - 0.35")) << road;
        EXPECT_EQ(RecordAt(RecordAt(m_doc->Database(), 2).m_limits, 0).GetRange(), "0.15 - 0.35") << road;
        EXPECT_FALSE(m_doc->IsModified()) << road;
        m_messages.boxes.clear();
    }

    // Both bounds refused: leaving one for the other is told once and the focus stays in the
    // one left (the two once handed the focus to each other until the stack overflowed).
    edit->FromEdit()->setText(QStringLiteral("abc"));
    ASSERT_TRUE(edit->ToEdit()->hasFocus());
    edit->FromEdit()->setFocus();
    Flush();
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Please enter a number."});
    EXPECT_TRUE(edit->ToEdit()->hasFocus());
    EXPECT_EQ(edit->ToEdit()->text(), QStringLiteral("1,5"));

    // The user's next step: each mend typed into whatever has the keyboard after its refusal,
    // and the save goes through.
    for (const char* mend : {"0.4", "0.2"}) {
        m_messages.boxes.clear();
        QWidget* keyboard = QApplication::focusWidget();
        ASSERT_NE(keyboard, nullptr);
        QTest::keyClicks(keyboard, mend);
        edit->Button(kLimEditSave)->click();
        Flush();
    }
    EXPECT_TRUE(m_messages.boxes.empty());
    EXPECT_EQ(RecordAt(RecordAt(m_doc->Database(), 2).m_limits, 0).GetRange(), "0.2 - 0.4");
}

TEST_F(LimitFormulasViewTest, UnionOfTwoSelectedFormulasIsInsertedAfterThem)
{
    CRecordingFrame recorder(*m_doc, "recorder");
    Select({0, 1});
    EXPECT_TRUE(m_view->RunCommand(CmdLimListUnion));
    ASSERT_EQ(m_doc->Database().GetCount(), 6);
    EXPECT_EQ(RecordAt(m_doc->Database(), 2).m_name, "Union of 2 limit formulas");
    EXPECT_EQ(m_view->GetText(2), "Union of 2 limit formulas");
    EXPECT_EQ(m_view->GetSelItems(), std::vector<int>{2});
    EXPECT_TRUE(m_doc->IsModified());
    ASSERT_EQ(recorder.view->received.size(), 1u);
    EXPECT_EQ(recorder.view->At(0).code, 25);
    EXPECT_EQ(recorder.view->At(0).index, 2);

    m_view->SetSel(-1, false);
    CCmdUI ui(CmdLimListIntersection);
    EXPECT_TRUE(m_view->OnUpdateCommand(ui));
    EXPECT_FALSE(ui.m_bEnabled) << "combining needs a selection";
}

TEST_F(LimitFormulasViewTest, ClipboardNewFormulasAndOrdering)
{
    Select({0, 1, 2});
    EXPECT_TRUE(m_view->RunCommand(CmdLimListCopy));
    EXPECT_EQ(g_limitFormulaClipboard.GetCount(), 3);
    Select({4});
    EXPECT_TRUE(m_view->RunCommand(CmdLimListPaste));
    ASSERT_EQ(Names(), (std::vector<std::string>{"Cone 10 gloss", "Cone 10 matte", "Cone 6 gloss", "Cone 6 matte",
                                                 "Cone 10 gloss", "Cone 10 matte", "Cone 6 gloss", "Cone 06 - 04 gloss"}));
    EXPECT_EQ(m_view->GetSelItems(), (std::vector<int>{4, 5, 6}));

    m_view->SetSel(-1, false);
    EXPECT_TRUE(m_view->RunCommand(CmdLimListAppendNew));
    EXPECT_EQ(LastItem(Names()), "new limit formula");
    EXPECT_EQ(m_view->GetSelItems(), std::vector<int>{8});

    Select({2, 4});
    EXPECT_TRUE(m_view->RunCommand(CmdLimListSelectedToTop));
    EXPECT_EQ(ItemAt(Names(), 0), "Cone 6 gloss");
    EXPECT_EQ(ItemAt(Names(), 1), "Cone 10 gloss");
    EXPECT_EQ(m_view->GetSelItems(), (std::vector<int>{0, 1}));
    CCmdUI shiftUp(CmdLimListShiftUp);
    EXPECT_TRUE(m_view->OnUpdateCommand(shiftUp));
    EXPECT_FALSE(shiftUp.m_bEnabled) << "the first row cannot go up";
    Select({8});
    CCmdUI shiftDown(CmdLimListShiftDown);
    EXPECT_TRUE(m_view->OnUpdateCommand(shiftDown));
    EXPECT_FALSE(shiftDown.m_bEnabled) << "the last row cannot go down";
    EXPECT_TRUE(m_view->RunCommand(CmdLimListShiftUp));
    EXPECT_EQ(ItemAt(Names(), 7), "new limit formula");

    // Deleting the formula an edit form shows closes the form without a question.
    CLimitFormulaEditView* edit = OpenEditOn(3);
    ASSERT_NE(edit, nullptr);
    edit->NameEdit()->setText(QStringLiteral("renamed"));
    Select({3});
    EXPECT_TRUE(m_view->RunCommand(CmdLimListDelete));
    Flush();
    EXPECT_TRUE(EditViews().empty());
    EXPECT_TRUE(m_messages.boxes.empty());
    EXPECT_EQ(m_doc->Database().GetCount(), 8);
}

TEST_F(LimitFormulasViewTest, SaveAsNewCutAndAnotherFormsSave)
{
    ClearClipboard(g_limitFormulaClipboard);
    CLimitFormulaEditView* edit = OpenEditOn(0);
    ASSERT_NE(edit, nullptr);
    // With nothing on the clipboard, Paste leaves the form as it is.
    edit->OnCommand(CmdLimEditPaste);
    EXPECT_EQ(edit->NameEdit()->text(), QStringLiteral("Cone 10 gloss"));
    EXPECT_FALSE(edit->IsChanged());
    // A change of the oxide combinations refills their box and leaves the chosen limit as it was.
    edit->SelectLimit(0);
    const CUpdateHint combinations(nullptr, m_doc, 0, HintOxideCombinationsChanged, 0, 0);
    m_doc->UpdateAllViews(nullptr, &combinations);
    EXPECT_EQ(edit->CombinationBox()->currentText(), QStringLiteral("KNaO"));
    EXPECT_FALSE(edit->IsChanged());
    // The form writes its formula's summary as it stands, its name ruled.
    const std::string summary = (m_dir / "form.txt").string();
    m_dialogs.AnswerPath(summary);
    edit->OnCommand(CmdLimEditWriteToFile);
    EXPECT_EQ(ReadAll(summary), "Cone 10 gloss\n-------------\n\n    KNaO   0.1 - 0.35\n    CaO    0.3 - 0.7\n"
                                "    MgO    <= 0.35\n    ZnO    <= 0.3\n    BaO    <= 0.3\n    B2O3   <= 0.2\n"
                                "    Al2O3  0.3 - 0.5\n    SiO2   3 - 5\n    Si:Al  7 - 11\n\nNotes:\n"
                                "  Glossy stoneware and porcelain glazes, cone 9 to 11, oxidation or reduction.\n"
                                "  Keep silica high within the range for durable surfaces.\n");
    // The notes box takes the edit-box font of the preferences when it changes.
    g_prefs.edboxfont.italic = 1;
    const CUpdateHint preferences(nullptr, m_doc, 0, HintPreferencesChanged, 0, 0);
    m_doc->UpdateAllViews(nullptr, &preferences);
    EXPECT_TRUE(edit->NotesEdit()->font().italic());

    // "..." edits the notes in a dialog of their own.
    WhenModal<CEditTextDlg>([](CEditTextDlg& notes) {
        EXPECT_EQ(notes.caption, "Cone 10 gloss - Notes");
        EXPECT_FALSE(notes.TextEdit()->isReadOnly());
        notes.TextEdit()->selectAll();
        QTest::keyClicks(notes.TextEdit(), "Typed notes");
        notes.accept();
    });
    edit->Button(kLimEditNotesButton)->click();
    EXPECT_EQ(edit->NotesEdit()->toPlainText(), QStringLiteral("Typed notes"));
    EXPECT_TRUE(edit->IsChanged());
    edit->UndoChanges();
    EXPECT_EQ(edit->NotesEdit()->toPlainText(), QStringLiteral("Glossy stoneware and porcelain glazes, cone 9 to 11, "
                                                               "oxidation or reduction.\nKeep silica high within the "
                                                               "range for durable surfaces."));
    edit->SelectLimit(0);
    Type(edit->FromEdit(), "0.2");
    edit->OnCommand(CmdLimEditSaveAsNew);
    ASSERT_EQ(m_doc->Database().GetCount(), 6);
    EXPECT_EQ(RecordAt(m_doc->Database(), 0).m_name, "Cone 10 gloss");
    EXPECT_EQ(RecordAt(m_doc->Database().GetAt(0).m_limits, 0).GetRange(), "0.1 - 0.35") << "the stored version stays";
    EXPECT_EQ(RecordAt(m_doc->Database(), 1).m_name, "Cone 10 gloss (new)");
    ASSERT_GT(RecordAt(m_doc->Database(), 1).m_limits.GetCount(), 0);
    EXPECT_EQ(RecordAt(m_doc->Database().GetAt(1).m_limits, 0).GetRange(), "0.2 - 0.35");
    EXPECT_EQ(edit->CurrentIndex(), 1);
    EXPECT_EQ(m_view->GetText(1), "Cone 10 gloss (new)");

    // Another form saving the same formula replaces this form's unsaved edits once it says Yes.
    CLimitFormulaEditView* other = OpenEditOn(1);
    ASSERT_NE(other, nullptr);
    edit->NameEdit()->setText(QStringLiteral("unsaved"));
    edit->SetChanged(true);
    other->NameEdit()->setText(QStringLiteral("Saved elsewhere"));
    m_messages.answers = {MsgResultYes};
    other->SaveChanges();
    ASSERT_EQ(m_messages.boxes.size(), 1u);
    EXPECT_EQ(m_messages.At(0).text, "\"Saved elsewhere\" has been saved in another window. Show it as saved there, "
                                     "dropping the unsaved changes in this window?");
    EXPECT_EQ(edit->NameEdit()->text(), QStringLiteral("Saved elsewhere"));
    EXPECT_FALSE(edit->IsChanged());
    m_messages.boxes.clear();

    // Cut copies the form's formula and closes the form; the database keeps it.
    edit->NameEdit()->setText(QStringLiteral("On the clipboard"));
    edit->OnCommand(CmdLimEditCut);
    Flush();
    ASSERT_EQ(EditViews().size(), 1u);
    ASSERT_EQ(g_limitFormulaClipboard.GetCount(), 1);
    EXPECT_EQ(RecordAt(g_limitFormulaClipboard, 0).m_name, "On the clipboard");
    ASSERT_EQ(m_doc->Database().GetCount(), 6);
    EXPECT_EQ(RecordAt(m_doc->Database(), 1).m_name, "Saved elsewhere");

    // Paste loads the clipboard's formula as unsaved edits; closing then asks.
    other->OnCommand(CmdLimEditPaste);
    EXPECT_EQ(other->NameEdit()->text(), QStringLiteral("On the clipboard"));
    EXPECT_TRUE(other->IsChanged());
    m_messages.answers = {MsgResultCancel};
    other->Close();
    ASSERT_EQ(m_messages.boxes.size(), 1u);
    EXPECT_EQ(m_messages.At(0).text, "Save changes to \"On the clipboard\" ?");
    EXPECT_EQ(m_messages.At(0).Buttons(), static_cast<unsigned>(MsgYesNoCancel));
    EXPECT_EQ(EditViews().size(), 1u) << "Cancel keeps the form";
}

TEST_F(LimitFormulasViewTest, LimitedFormsStepThroughTheChosenFormulas)
{
    Select({1, 3});
    EXPECT_TRUE(m_view->RunCommand(CmdLimListEditLimited));
    ASSERT_EQ(EditViews().size(), 1u);
    CLimitFormulaEditView* edit = EditViews().front();
    EXPECT_TRUE(edit->IsLimited());
    EXPECT_EQ(edit->CurrentIndex(), 1);
    EXPECT_FALSE(edit->Button(kLimEditPrevious)->isEnabled());
    EXPECT_EQ(edit->Button(kLimEditNext)->text(), QStringLiteral("Edit Next"));
    CCmdUI insert(CmdLimEditInsertNew);
    EXPECT_TRUE(edit->OnUpdateCommand(insert));
    EXPECT_FALSE(insert.m_bEnabled);
    QTest::mouseClick(edit->Button(kLimEditNext), Qt::LeftButton);
    EXPECT_EQ(edit->CurrentIndex(), 3);
    EXPECT_FALSE(edit->Button(kLimEditNext)->isEnabled());

    edit->OnCommand(CmdLimEditLimitedAccess);
    EXPECT_FALSE(edit->IsLimited());
    EXPECT_EQ(edit->Button(kLimEditNext)->text(), QStringLiteral("Edit Next"));
    QTest::mouseClick(edit->Button(kLimEditNext), Qt::LeftButton);
    EXPECT_EQ(edit->CurrentIndex(), 4);
    EXPECT_EQ(edit->Button(kLimEditNext)->text(), QStringLiteral("Append New"));
    QTest::mouseClick(edit->Button(kLimEditNext), Qt::LeftButton);
    ASSERT_EQ(m_doc->Database().GetCount(), 6);
    EXPECT_EQ(RecordAt(m_doc->Database(), 5).m_name, "new limit formula");
    EXPECT_EQ(edit->CurrentIndex(), 5);

        edit->SelectLimit(-1);
    ASSERT_NE(edit->GetFrame(), nullptr);
    edit->GetFrame()->ActivateFrame();
    edit->SetFormulaIndex(2);
    ASSERT_NE(dynamic_cast<CMDIChildFrame*>(edit->GetFrame()), nullptr);
    dynamic_cast<CMDIChildFrame*>(edit->GetFrame())->grab().save(ScreenshotFolder() + "/limit_formula_edit.png");
}

TEST_F(LimitFormulasViewTest, TheCombinationsDialogBuildsFormulasFromTheItemLists)
{
    COxideCombosDlg dialog(&m_frame);
    dialog.combinations = m_doc->Database().m_combinations;
    dialog.InitDialog();
    ASSERT_EQ(dialog.ComboList()->count(), 14);
    // It opens with nothing chosen: nothing to move up or down.
    EXPECT_FALSE(dialog.UpButton()->isEnabled());
    EXPECT_FALSE(dialog.DownButton()->isEnabled());
    // Each item list stands under its caption.
    const std::pair<QLabel*, QListWidget*> sides[] = {{dialog.FirstLabel(), dialog.FirstList()},
                                                      {dialog.SecondLabel(), dialog.SecondList()}};
    for (const auto& [caption, items] : sides) {
        EXPECT_EQ(caption->x(), items->x());
        EXPECT_LT(caption->geometry().bottom(), items->geometry().top());
    }
    EXPECT_EQ(dialog.FirstLabel()->text(), QStringLiteral("Add :"));
    dialog.SelectCombination(0);
    EXPECT_EQ(dialog.NameEdit()->text(), QStringLiteral("Na2O"));
    // Up and Down move the chosen combination where there is room.
    EXPECT_FALSE(dialog.UpButton()->isEnabled());
    dialog.DownButton()->click();
    EXPECT_EQ(RecordAt(dialog.combinations, 1).m_name, "Na2O");
    EXPECT_TRUE(dialog.UpButton()->isEnabled());
    dialog.UpButton()->click();
    EXPECT_EQ(RecordAt(dialog.combinations, 0).m_name, "Na2O");
    dialog.SelectCombination(13);
    EXPECT_FALSE(dialog.DownButton()->isEnabled());
    EXPECT_EQ(ListRow(dialog.ComboList(), 13).text(), QStringLiteral(" Si:Al\tSi/Al"));
    const QListWidget* first = dialog.FirstList();
    ASSERT_NE(first, nullptr);
    QStringList separators;
    for (int row = 0; row < first->count(); ++row) {
        if (ListRow(first, row).text() == QStringLiteral("---"))
            separators << QString::number(ListRow(first, row).data(Qt::UserRole).toInt());
    }
    ASSERT_GE(first->count(), 4);
    EXPECT_EQ(separators, (QStringList{"0", "0", "0"}));
    EXPECT_EQ(first->item(first->count() - 4)->text(), QStringLiteral("LOI"));
    EXPECT_EQ(first->item(first->count() - 1)->data(Qt::UserRole).toInt(), 107);

    dialog.SelectCombination(3);
    EXPECT_EQ(dialog.NameEdit()->text(), QStringLiteral("CaO"));
    EXPECT_EQ(dialog.PlotMaxEdit()->text(), QStringLiteral("1.0"));
    // A plot bound is a number: OK refuses "0,5" rather than taking 0.
    Type(dialog.PlotMaxEdit(), "0,5");
    dialog.accept();
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Please enter a number."});
    EXPECT_EQ(dialog.result(), 0);
    m_messages.boxes.clear();
    QApplication::processEvents(); // the user's next action
    dialog.SelectCombination(3);
    dialog.SelectCombination(13);
    EXPECT_TRUE(dialog.RatioRadio()->isChecked());
        dialog.grab().save(ScreenshotFolder() + "/oxide_combinations.png");
    EXPECT_EQ(dialog.FirstLabel()->text(), QStringLiteral("Numerator :"));

    // Regression (the monkey: a stack overflow): with no combination chosen both plot bounds
    // hold a refused text; leaving one for the other refused it and put the focus back, which
    // left the other, which was refused and took the focus back, and so on for ever. The first
    // refusal stands, once.
    dialog.SelectCombination(-1);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    dialog.PlotMinEdit()->setFocus();
    dialog.PlotMinEdit()->setText(QStringLiteral("abc"));
    dialog.PlotMaxEdit()->setText(QStringLiteral("x1e999"));
    m_messages.boxes.clear();
    dialog.PlotMaxEdit()->setFocus();
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Please enter a number."});
    EXPECT_TRUE(dialog.PlotMinEdit()->hasFocus());
    dialog.hide();
    m_messages.boxes.clear();

    // A new combination takes what the controls hold when Append New Combo is pressed.
    dialog.SelectCombination(-1);
    EXPECT_TRUE(dialog.PlotMinEdit()->text().isEmpty());
    dialog.NameEdit()->setText(QStringLiteral("Earths"));
    dialog.AppendNewCombo();
    ASSERT_EQ(dialog.combinations.GetCount(), 15);
    dialog.SelectCombination(14);
    dialog.PickItems(0, {20, 12});
    EXPECT_EQ(RecordAt(dialog.combinations, 14).GetFormula(), "Mg+Ca") << "items follow the list's order";
    dialog.NameEdit()->setFocus();
    dialog.NameEdit()->selectAll();
    QTest::keyClicks(dialog.NameEdit(), "Earth oxides");
    EXPECT_EQ(RecordAt(dialog.combinations, 14).m_name, "Earth oxides") << "the name is taken as it is typed";
    dialog.PickItems(1, {11});
    EXPECT_EQ(RecordAt(dialog.combinations, 14).GetFormula(), "(Mg+Ca) - Na");
    QTest::mouseClick(dialog.RatioRadio(), Qt::LeftButton);
    EXPECT_EQ(RecordAt(dialog.combinations, 14).GetFormula(), "(Mg+Ca) / Na");
    EXPECT_EQ(dialog.SecondLabel()->text(), QStringLiteral("Denominator :"));
    QTest::mouseClick(dialog.SumRadio(), Qt::LeftButton);
    dialog.PickItems(0, {});
    EXPECT_EQ(RecordAt(dialog.combinations, 14).GetFormula(), " - Na");
    EXPECT_EQ(COxideCombosDlg::BuildFormula({104}, {105, 107}, true), "LOI / (Alkalis+Acids)");
    EXPECT_EQ(COxideCombosDlg::BuildFormula({}, {}, false), "");

    dialog.SortNameButton()->click();
    EXPECT_EQ(RecordAt(dialog.combinations, 0).m_name, "Al2O3");
    EXPECT_FALSE(dialog.UpButton()->isEnabled());
    // Two combinations can be sorted, one cannot.
    while (dialog.combinations.GetCount() > 2) {
        dialog.SelectCombination(0);
        dialog.DeleteCombo();
    }
    EXPECT_TRUE(dialog.SortNameButton()->isEnabled());
    EXPECT_TRUE(dialog.SortRoleButton()->isEnabled());
    dialog.SelectCombination(0);
    dialog.DeleteCombo();
    EXPECT_FALSE(dialog.SortNameButton()->isEnabled());
    EXPECT_FALSE(dialog.SortRoleButton()->isEnabled());

    // Accepting through the list: unnamed combinations are dropped, limits keep their text.
    CRecordingFrame recorder(*m_doc, "recorder");
    WhenModal<COxideCombosDlg>([](COxideCombosDlg& shown) {
        shown.SelectCombination(2);
        shown.NameEdit()->clear();
        shown.RebuildFromControls();
        shown.OkButton()->click();
        if (shown.isVisible())
            shown.reject(); // OK did not end it: nothing is taken
    });
    EXPECT_TRUE(m_view->RunCommand(CmdLimListOxideCombinations));
    EXPECT_EQ(m_doc->Database().m_combinations.GetCount(), 13);
    EXPECT_EQ(m_doc->Database().m_combinations.FindByName("KNaO"), nullptr);
    ASSERT_GT(RecordAt(m_doc->Database(), 0).m_limits.GetCount(), 0);
    EXPECT_EQ(RecordAt(m_doc->Database().GetAt(0).m_limits, 0).m_comboName, "KNaO");
    ASSERT_EQ(recorder.view->received.size(), 1u);
    EXPECT_EQ(recorder.view->At(0).code, 29);

    // Cancel keeps the combinations as they were.
    WhenModal<COxideCombosDlg>([](COxideCombosDlg& shown) {
        shown.SelectCombination(0);
        shown.NameEdit()->clear();
        shown.RebuildFromControls();
        for (QPushButton* button : shown.findChildren<QPushButton*>()) {
            if (button->text() == QStringLiteral("Cancel"))
                button->click();
        }
        if (shown.isVisible())
            shown.done(QDialog::Accepted); // Cancel did not end it: what it holds is taken
    });
    EXPECT_TRUE(m_view->RunCommand(CmdLimListOxideCombinations));
    EXPECT_EQ(m_doc->Database().m_combinations.GetCount(), 13);
}

// Regression: the Oxide Combinations dialog put the old value back into a refused plot bound
// before its message, where every other form keeps the text as typed for the user to mend; and
// another combination chosen, Up, Down, Sort or Append New Combo then filled the field anew as if
// nothing had been refused. The text stays, selected, the combination keeps its bound, and every
// road stops there, told once.
TEST_F(LimitFormulasViewTest, ARefusedPlotBoundStaysAsTypedOnEveryRoadOfTheCombinationsDialog)
{
    WhenModal<COxideCombosDlg>([this](COxideCombosDlg& dialog) {
        QListWidget* list = dialog.ComboList();
        const auto clickRow = [list](int row) {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
        };
        const auto click = [](QWidget* button) { QTest::mouseClick(button, Qt::LeftButton); };
        const std::pair<const char*, std::function<void()>> roads[] = {
            {"Tab to Plot from", [&] { dialog.PlotMinEdit()->setFocus(Qt::TabFocusReason); }},
            {"another combination", [&] { clickRow(5); }},
            {"Up", [&] { click(dialog.UpButton()); }},
            {"Down", [&] { click(dialog.DownButton()); }},
            {"by Role", [&] { click(dialog.SortRoleButton()); }},
            {"Alphabetical", [&] { click(dialog.SortNameButton()); }},
            {"Append New Combo", [&] { click(dialog.findChild<QPushButton*>(QStringLiteral("2614"))); }},
            {"OK", [&] { click(dialog.OkButton()); }},
        };
        QApplication::setActiveWindow(&dialog);
        clickRow(3);
        ASSERT_EQ(dialog.SelectedCombination(), 3);
        const QString row = ListRow(list, 3).text();
        ASSERT_EQ(dialog.PlotMaxEdit()->text(), QStringLiteral("1.0"));
        for (const auto& [road, take] : roads) {
            Type(dialog.PlotMaxEdit(), "0,5"); // "0" stands in the combination while the user types on
            take();
            Flush();
            EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Please enter a number."}) << road;
            EXPECT_TRUE(dialog.isVisible()) << road;
            EXPECT_EQ(dialog.SelectedCombination(), 3) << road;
            EXPECT_EQ(list->currentRow(), 3) << road;
            EXPECT_EQ(ListRow(list, 3).text(), row) << road;
            EXPECT_EQ(RecordAt(dialog.combinations, 3).m_plotMax, 1.0) << road;
            EXPECT_EQ(dialog.PlotMaxEdit()->text(), QStringLiteral("0,5")) << road;
            EXPECT_EQ(QApplication::focusWidget(), dialog.PlotMaxEdit()) << road << ": the keys go to the refused bound";
            EXPECT_EQ(dialog.PlotMaxEdit()->selectedText(), QStringLiteral("0,5")) << road;
            m_messages.boxes.clear();
        }
        // The user's next step: the mend typed over the selection, and OK takes it.
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("1.5"));
        click(dialog.OkButton());
        if (dialog.isVisible())
            dialog.reject(); // OK did not end it: nothing is taken
    });
    EXPECT_TRUE(m_view->RunCommand(CmdLimListOxideCombinations));
    EXPECT_TRUE(m_messages.boxes.empty());
    EXPECT_EQ(RecordAt(m_doc->Database().m_combinations, 3).m_plotMax, 1.5);
}

TEST_F(LimitFormulasViewTest, SaveSelectedMergeAndWriteToFile)
{
    const std::string subset = (m_dir / "subset.lim").string();
    Select({1, 3});
    m_dialogs.AnswerPath(subset);
    EXPECT_TRUE(m_view->RunCommand(CmdLimListSaveSelected));
    EXPECT_EQ(m_dialogs.Last().title, "Save Selected Limit Formulas To...");
    CLimitFormulaDB saved;
    std::ifstream in(subset, std::ios::binary);
    ASSERT_EQ(saved.Read(in), 0);
    EXPECT_EQ(saved.m_name, "Starter Limit Formulas (subset)");
    ASSERT_EQ(saved.GetCount(), 2);
    EXPECT_EQ(RecordAt(saved, 0).m_name, "Cone 10 matte");
    EXPECT_EQ(RecordAt(saved, 1).m_name, "Cone 6 matte");
    EXPECT_EQ(saved.m_combinations.GetCount(), 14);
    EXPECT_FALSE(m_doc->IsModified());

    // Append all keeps both formulas of a name.
    m_dialogs.AnswerPath(subset);
    WhenModal<CMergeDlg>([](CMergeDlg& merge) {
        EXPECT_EQ(merge.kindWord, "limit formulas");
        EXPECT_EQ(merge.flags, (std::vector<int>{1, 1}));
        merge.SelectAllButton()->click();
        merge.AppendAllRadio()->setChecked(true);
        merge.accept();
    });
    EXPECT_TRUE(m_view->RunCommand(CmdLimListMergeFormulas));
    EXPECT_EQ(m_dialogs.Last().title, "Merge Limit Formulas...");
    EXPECT_EQ(Names(), (std::vector<std::string>{"Cone 10 gloss", "Cone 10 matte", "Cone 6 gloss", "Cone 6 matte",
                                                 "Cone 06 - 04 gloss", "Cone 10 matte", "Cone 6 matte"}));

    const std::string missing = (m_dir / "missing.lim").string();
    m_dialogs.AnswerPath(missing);
    m_view->RunCommand(CmdLimListMergeFormulas);
    std::ofstream(m_dir / "bare.lim") << "filetype = Oxidarium Limit Formulas\nversion =  2\n";
    m_dialogs.AnswerPath((m_dir / "bare.lim").string());
    m_view->RunCommand(CmdLimListMergeCombinations);
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{"Unable to merge file " + missing,
                                                            (m_dir / "bare.lim").string() +
                                                                " contains no oxide combinations!"}));

    // Replace existing puts each merged combination in the place of the one of its name.
    m_dialogs.AnswerPath(subset);
    WhenModal<CMergeDlg>([](CMergeDlg& merge) {
        EXPECT_TRUE(merge.SortCheck()->isHidden()) << "the combinations keep their order";
        merge.SelectAllButton()->click();
        merge.ReplaceExistingRadio()->setChecked(true);
        merge.accept();
    });
    m_view->RunCommand(CmdLimListMergeCombinations);
    EXPECT_EQ(m_doc->Database().m_combinations.GetCount(), 14);

    // Printing asks about the header first; without it and without a selection nothing prints.
    m_messages.boxes.clear();
    m_view->SetSel(-1, false);
    m_messages.answers = {MsgResultNo};
    m_view->RunCommand(CmdLimListWriteToFile);
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{"Do you want to print the database notes and oxide list?",
                                                            "Nothing to print"}));
    EXPECT_EQ(m_messages.At(0).helpId, kLimitPrintQuestionHelpId);
    const std::string text = (m_dir / "summaries.txt").string();
    m_messages.answers = {MsgResultYes};
    m_dialogs.AnswerPath(text);
    Select({2});
    m_view->RunCommand(CmdLimListWriteToFile);
    EXPECT_EQ(m_dialogs.Last().title, "Limit Formula Summaries to File...");
    const std::string written = ReadAll(text);
    EXPECT_EQ(written.rfind("Starter Limit Formulas\n", 0), 0u) << written.substr(0, 80);
    EXPECT_NE(written.find("Oxide combinations"), std::string::npos);
    EXPECT_NE(written.find("Cone 6 gloss"), std::string::npos);
    EXPECT_EQ(written.find("Cone 10 gloss"), std::string::npos);
}
