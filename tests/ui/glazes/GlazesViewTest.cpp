#include "glazes/GlazesView.h"

#include "ui/support/CheckedWidgets.h"
#include "TestPaths.h"
#include "core/framework/FakeFileDialogs.h"
#include "core/framework/RecordingView.h"
#include "core/shell/FakeMessageService.h"
#include "core/support/CheckedItems.h"
#include "core/support/FakeServices.h"
#include "framework/DocTemplate.h"
#include "framework/MdiFrame.h"
#include "framework/PrintPreviewDlg.h"
#include "framework/UpdateHint.h"
#include "glazes/Glaze.h"
#include "glazes/GlazeClipboard.h"
#include "glazes/GlazesDoc.h"
#include "glazes/GlazesViewRows.h"
#include "materials/MaterialsDoc.h"
#include "shell/AppContext.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"
#include "substitutions/ChooseSubstitutionDlg.h"
#include "substitutions/Substitution.h"
#include "substitutions/SubstitutionsDoc.h"
#include "support/DbFileType.h"
#include "support/DbNotesDlg.h"
#include "support/EditLineDlg.h"
#include "support/NotesEdit.h"
#include "support/NumberText.h"
#include "support/MergeDlg.h"
#include "support/TextPrinter.h"
#include "ui/support/TestFolders.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QRadioButton>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int kGlazes = static_cast<int>(DbFileType::Glazes);
using Notices = std::vector<std::pair<int, int>>; // (code, index)

class GlazesViewTest : public ::testing::Test {
protected:
    GlazesViewTest()
    {
        m_dir = fs::temp_directory_path() / ("oxi-glzview-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
                g_prefs.ApplyColorScheme();
        g_prefs.backtyp = CBackupSettings::None;
        m_materials.OnOpenDocument(Shipped("materials.mat"));
        g_pGlazesTemplate = m_template.get();
        InstallGlazesTemplate(*m_template);
        m_frame.resize(900, 600);
        m_frame.show();
        QApplication::setActiveWindow(&m_frame);
        QApplication::processEvents();
    }
    ~GlazesViewTest() override
    {
        g_pGlazesTemplate = nullptr;
        fs::remove_all(m_dir);
    }

    static std::string Shipped(const std::string& name) { return std::string(OXI_SHIPPED_DATA_DIR) + "/" + name; }
    static std::string Fixture(const std::string& name)
    {
        return std::string(OXI_TEST_DATA_DIR) + "/glazes/" + name;
    }
    static std::string ReadFile(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }

    CGlazesDoc* Open(const std::string& path)
    {
        return dynamic_cast<CGlazesDoc*>(m_app.OpenAndAnnounce(g_pGlazesTemplate, path, kGlazes));
    }
    static CGlazesView* ViewOf(const CGlazesDoc* doc)
    {
        return doc ? dynamic_cast<CGlazesView*>(doc->GetListView()) : nullptr;
    }
    // A database of glazes named A, B, C ... (count of them), opened from a file.
    CGlazesDoc* OpenLetters(int count)
    {
        std::string text = "filetype = Oxidarium Glazes\nversion =  2\n\ndbname  = Letters\n";
        for (int i = 0; i < count; ++i)
            text += "\nname   = " + std::string(1, static_cast<char>('A' + i)) + "\n";
        const std::string path = (m_dir / "letters.glz").string();
        std::ofstream(path, std::ios::binary) << text;
        CGlazesDoc* doc = Open(path);
        // The tests reach the glazes by their places: a database that opened short is none.
        if (doc && doc->GetGlazeCount() != count) {
            ADD_FAILURE() << "the letters database opened with " << doc->GetGlazeCount() << " glazes, not " << count;
            return nullptr;
        }
        return doc;
    }
    static std::string Names(const CGlazesDoc& doc)
    {
        std::string names;
        for (int i = 0; i < doc.GetGlazeCount(); ++i)
            names += Found(doc.GetGlaze(i)).m_name;
        return names;
    }
    static void Select(CGlazesView& view, std::initializer_list<int> rows)
    {
        view.DeselectAll();
        for (int row : rows)
            view.SelectGlaze(row);
    }
    static Notices TakeNotices(CRecordingFrame& recorder)
    {
        Notices notices;
        for (const CReceivedHint& hint : recorder.view->received)
            notices.emplace_back(hint.code, hint.index);
        recorder.view->received.clear();
        return notices;
    }
    static void Broadcast(CDocument* document, int code, int index)
    {
        COxidariumApp::BroadcastUpdate(nullptr, document, kGlazes, code, index, 0);
    }
    CCmdUI State(CGlazesView& view, unsigned id) const
    {
        CCmdUI ui(id);
        EXPECT_TRUE(view.OnUpdateCommand(ui)) << id;
        return ui;
    }

    fs::path m_dir;
    CAppContext m_context;
    CFakeMessageService m_messages;
    CFakeFileDialogs m_dialogs;
    CFakeClipboard m_clipboard;
    COxidariumApp m_app;
    CMaterialsDoc m_materials;
    std::unique_ptr<CDocTemplate> m_template = CreateGlazesTemplate();
    CMDIMainFrame m_frame;
};

constexpr unsigned kFormatCommands[] = {
    CmdGlzNormalView, CmdGlzExtendedView1, CmdGlzExtendedView2, CmdGlzExtendedView3,
    CmdGlzWeightPercent, CmdGlzUnityFormula, CmdGlzMolePercent,
};

} // namespace

TEST_F(GlazesViewTest, ShippedGlazesInEveryFormat)
{
    CGlazesDoc* doc = Open(Shipped("glazes.glz"));
    ASSERT_NE(doc, nullptr);
    CGlazesView* view = ViewOf(doc);
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(doc->GetGlazeCount(), 10);
    EXPECT_EQ(view->GetCount(), 10);
    EXPECT_EQ(doc->GetTitle(), "Starter Glazes");
    ASSERT_NE(m_frame.ActiveChildFrame(), nullptr);
    EXPECT_EQ(m_frame.ActiveChildFrame()->windowTitle(), QStringLiteral("Starter Glazes"));
    EXPECT_EQ(m_frame.ActiveChildFrame()->size(), QSize(CGlazesView::kInitialWidth, CGlazesView::kInitialHeight));

    const std::string expected[kGlazeListFormats] = {
        "\tCone 6 Clear",
        "\tCone 6 Clear\t5-6\toxidation",
        "\tCone 6 Clear\t5-6\toxidation\tclear\tglossy\ttransparent",
        "\tCone 6 Clear\tAlk: 21.2%\tNeut: 13.5%\tAcid: 65.3%\tAl:Si=1.0: 8.22\tNeut:Acid=1.0: 8.22"
        "\tExp= 67.0x10e-7/K\t[100%]\t\tLOI:   6.7%\t$  2.26 / kg",
        "\tCone 6 Clear\t%w\t    1.0 K2O\t    2.2 Na2O\t  12.6 CaO\t    0.0 MgO\t\t    5.3 ZnO\t\t"
        "\t  13.5 Al2O3\t  65.3 SiO2\t",
        "\tCone 6 Clear\t-\t  0.03 K2O\t  0.10 Na2O\t  0.67 CaO\t  0.00 MgO\t\t  0.19 ZnO\t\t"
        "\t  0.39 Al2O3\t  3.23 SiO2\t",
        "\tCone 6 Clear\t%m\t    0.7 K2O\t    2.3 Na2O\t  14.4 CaO\t    0.0 MgO\t\t    4.2 ZnO\t\t"
        "\t    8.5 Al2O3\t  69.8 SiO2\t",
    };
    Select(*view, {2, 5});
    view->SetCaretIndex(5);
    for (int format = 0; format < kGlazeListFormats; ++format) {
        const int next = (format + 1) % kGlazeListFormats;
        EXPECT_TRUE(view->RunCommand(kFormatCommands[format]));
        EXPECT_EQ(view->GetListFormat(), format);
        EXPECT_EQ(State(*view, kFormatCommands[format]).m_nCheck, 1);
        EXPECT_EQ(State(*view, kFormatCommands[next]).m_nCheck, 0);
        EXPECT_EQ(view->GetText(0), expected[format]) << "format " << format;
        EXPECT_EQ(view->GetSelItems(), (std::vector<int>{2, 5})) << "format " << format;
        EXPECT_EQ(view->GetCaretIndex(), 5);
        if (format == 3) {
            ASSERT_NE(m_frame.ActiveChildFrame(), nullptr);
            m_frame.ActiveChildFrame()->resize(860, 300);
            m_frame.ActiveChildFrame()->grab().save(ScreenshotFolder() + "/glaze-list.png");
        }
    }
    // The combined sodium and potassium entry; the loss gives an empty cell.
    g_prefs.glztab = "K Na Nk loss";
    view->SetListFormat(4);
    // Rows are built as they are shown: the table fills without analysing a glaze out of view.
    for (int i = 0; i < doc->GetGlazeCount(); ++i)
        Found(doc->GetGlaze(i)).InvalidateAnalysis();
    view->FillList(0, -1, true);
    EXPECT_FALSE(Found(doc->GetGlaze(9)).HasAnalysis());
    EXPECT_EQ(view->GetText(0), "\tCone 6 Clear\t%w\t    1.0 K2O\t    2.2 Na2O\t    3.2 KNaO\t");
    EXPECT_TRUE(Found(doc->GetGlaze(0)).HasAnalysis());
    EXPECT_FALSE(Found(doc->GetGlaze(9)).HasAnalysis());
    EXPECT_EQ(view->GetTabStops().size(), 6u);
    // A word that is no symbol makes the table unreadable: the normal view takes over.
    g_prefs.glztab = "K Xx";
    view->FillList(0, -1, true);
    EXPECT_EQ(view->GetListFormat(), 0);
    EXPECT_EQ(view->GetText(0), "\tCone 6 Clear");
    g_prefs.glztab = CPreferences().glztab;
}

TEST_F(GlazesViewTest, ColumnCellsAndTabStops)
{
    CGlazesDoc* doc = OpenLetters(2);
    ASSERT_NE(doc, nullptr);
    CGlazesView* view = ViewOf(doc);
    ASSERT_NE(view, nullptr);
    Found(doc->GetGlaze(0)).m_name = "Ash";
    Found(doc->GetGlaze(1)).m_name = "Wide Wood Ash Celadon";
    Found(doc->GetGlaze(0)).m_byVol = 1;
    Found(doc->GetGlaze(1)).m_index = "12";
    Found(doc->GetGlaze(1)).m_notes = {"first line", "second line"};
    g_prefs.glzext1 = "N#Y*";
    view->SetListFormat(1);
    EXPECT_EQ(view->GetText(0), "\tAsh\t\t(By volume)\t");
    EXPECT_EQ(view->GetText(1), "\tWide Wood Ash Celadon\t12\t\tfirst line second line");
    // Stops: 4 pixels, then each column's widest text and 16 pixels more.
    const QFontMetrics metrics(view->font());
    const int nameStop = 4 + metrics.horizontalAdvance(QStringLiteral("Wide Wood Ash Celadon")) + 16;
    const int indexStop = nameStop + metrics.horizontalAdvance(QStringLiteral("12")) + 16;
    EXPECT_EQ(view->GetTabStops(), (std::vector<int>{view->PixelsToDialogUnits(4), view->PixelsToDialogUnits(nameStop),
                                                      view->PixelsToDialogUnits(indexStop),
                                                      view->PixelsToDialogUnits(
                                                          indexStop + metrics.horizontalAdvance("(By volume)") + 16)}));
    // Recipes without chemistry leave the analysis cells empty.
    g_prefs.glzext2 = "N:@%$";
    view->SetListFormat(2);
    EXPECT_EQ(view->GetText(0), "\tAsh\t\t\t\t");
    g_prefs.glzext1 = CPreferences().glzext1;
    g_prefs.glzext2 = CPreferences().glzext2;
}

TEST_F(GlazesViewTest, NoticesRefreshTheRows)
{
    CGlazesDoc* doc = OpenLetters(6);
    ASSERT_NE(doc, nullptr);
    CGlazesView* view = ViewOf(doc);
    ASSERT_NE(view, nullptr);
    CGlazesDoc otherDoc;
    // Rows are built as the window first draws them: these have been drawn.
    const auto drawAll = [view] {
        for (int row = 0; row < view->GetCount(); ++row)
            view->GetText(row);
    };

    drawAll();
    Found(doc->GetGlaze(4)).m_name = "E2";
    Broadcast(&otherDoc, HintGlazeChanged, 4);
    EXPECT_EQ(view->GetText(4), "\tE") << "a notice about another database is ignored";
    Select(*view, {1, 2});
    Broadcast(doc, HintGlazeChanged, 4);
    EXPECT_EQ(view->GetText(4), "\tE2");
    EXPECT_EQ(view->GetSelItems(), std::vector<int>{4});

    doc->InsertGlaze(3, CGlaze("New"));
    Broadcast(doc, HintGlazesInserted, 3);
    EXPECT_EQ(view->GetCount(), 7);
    EXPECT_EQ(view->GetText(3), "\tNew");
    EXPECT_EQ(view->GetSelItems(), std::vector<int>{3});

    // Frozen between the bulk notices: neither glaze nor material changes refill the rows.
    Broadcast(doc, HintBulkChangeBegins, 0);
    EXPECT_TRUE(view->IsFrozen());
    drawAll();
    Found(doc->GetGlaze(0)).m_name = "A2";
    Broadcast(doc, HintGlazeChanged, 0);
    COxidariumApp::BroadcastUpdate(nullptr, &m_materials, static_cast<int>(DbFileType::Materials), HintMaterialChanged, 0, 0);
    EXPECT_EQ(view->GetText(0), "\tA");
    Broadcast(doc, HintBulkChangeEndsRefreshAll, 0);
    EXPECT_FALSE(view->IsFrozen());
    EXPECT_EQ(view->GetText(0), "\tA2");

    doc->SetDbName("Renamed");
    Broadcast(doc, HintGlazesReplaced, 0);
    EXPECT_EQ(doc->GetTitle(), "Renamed");

    // New preferences refill the rows and leave the list scrolled where it was.
    auto* frame = dynamic_cast<QWidget*>(view->GetFrame());
    ASSERT_NE(frame, nullptr);
    frame->resize(frame->width(), 90);
    QApplication::processEvents();
    ASSERT_TRUE(view->SetTopIndex(3));
    ASSERT_EQ(view->GetTopIndex(), 3);
    COxidariumApp::BroadcastUpdate(nullptr, nullptr, static_cast<int>(DbFileType::Preferences), HintPreferencesChanged, 0, 0);
    EXPECT_EQ(view->GetTopIndex(), 3);
}

TEST_F(GlazesViewTest, ClipboardCopyPasteAndPasteToNewDatabase)
{
    CGlazesDoc* doc = OpenLetters(6);
    ASSERT_NE(doc, nullptr);
    CGlazesView* view = ViewOf(doc);
    ASSERT_NE(view, nullptr);
    CRecordingFrame recorder(*doc, "recorder");
    EXPECT_FALSE(State(*view, CmdGlzPaste).m_bEnabled);

    Select(*view, {1, 2});
    EXPECT_TRUE(view->RunCommand(CmdGlzCopy));
    EXPECT_EQ(ClipboardCount(g_glazeClipboard), 2);
    EXPECT_EQ(g_glazeClipboard.m_name, "Glazes");
    Select(*view, {2, 5});
    EXPECT_TRUE(view->RunCommand(CmdGlzPaste));
    EXPECT_EQ(Names(*doc), "ABBCCDEF");
    EXPECT_EQ(view->GetText(2), "\tB");
    EXPECT_EQ(view->GetSelItems(), (std::vector<int>{2, 3})) << "exactly the pasted rows";
    EXPECT_EQ(TakeNotices(recorder), (Notices{{HintGlazesInserted, 2}}));
    EXPECT_TRUE(doc->IsModified());

    Select(*view, {0, 7});
    EXPECT_TRUE(view->RunCommand(CmdGlzCut));
    EXPECT_EQ(Names(*doc), "BBCCDE");
    ASSERT_EQ(ClipboardCount(g_glazeClipboard), 2);
    EXPECT_EQ(RecordAt(g_glazeClipboard, 1).m_name, "F");
    EXPECT_EQ(TakeNotices(recorder), (Notices{{HintGlazesDeleted, 0}}));

    std::string prompt, caption;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<CEditLineDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        caption = dialog->windowTitle().toStdString();
        prompt = dialog->PromptLabel()->text().toStdString();
        EXPECT_EQ(dialog->LineEdit()->text(), QStringLiteral("Pasted Glazes"));
        dialog->LineEdit()->setText(QStringLiteral("Kiln 7 picks"));
        dialog->OkButton()->click();
    });
    EXPECT_TRUE(view->RunCommand(CmdGlzPasteNewDb));
    EXPECT_EQ(caption, "New Glaze Database");
    EXPECT_EQ(prompt, "Type a name for the new database :");
    const std::vector<CDocument*> documents = m_template->GetDocuments();
    ASSERT_EQ(documents.size(), 2u);
    auto* pasted = dynamic_cast<CGlazesDoc*>(documents.back());
    ASSERT_NE(pasted, nullptr);
    EXPECT_EQ(Names(*pasted), "AF");
    EXPECT_EQ(pasted->GetDbName(), "Kiln 7 picks");
    EXPECT_EQ(pasted->GetTitle(), "Kiln 7 picks");
    EXPECT_TRUE(pasted->IsModified());
    EXPECT_EQ(LastItem(pasted->Glazes().m_infoLines), "This database contains 2 glazes pasted from the clipboard.");
    ASSERT_NE(ViewOf(pasted), nullptr);
    EXPECT_EQ(ViewOf(pasted)->GetCount(), 2);
    EXPECT_EQ(ViewOf(pasted)->GetText(1), "\tF");
    EXPECT_EQ(Names(*doc), "BBCCDE") << "the source database is untouched";
}

TEST_F(GlazesViewTest, OrderCommandsAnnounceTheNewIndex)
{
    CGlazesDoc* doc = OpenLetters(6);
    ASSERT_NE(doc, nullptr);
    CGlazesView* view = ViewOf(doc);
    ASSERT_NE(view, nullptr);
    CRecordingFrame recorder(*doc, "recorder");

    Select(*view, {2, 3});
    EXPECT_TRUE(view->RunCommand(CmdGlzShiftUp));
    EXPECT_EQ(Names(*doc), "ACDBEF");
    EXPECT_EQ(view->GetText(1), "\tC");
    EXPECT_EQ(view->GetSelItems(), (std::vector<int>{1, 2}));
    EXPECT_EQ(view->GetCaretIndex(), 1) << "the caret on the first row moved";
    EXPECT_EQ(TakeNotices(recorder), (Notices{{HintGlazesReordered, 1}, {HintGlazesReordered, 2}}));

    // Shift+Down is the menu's key, not the list's own extension of the selection.
    QApplication::processEvents();
    EXPECT_EQ(m_frame.CurrentMenuResource(), kGlazesTemplateId);
    QTest::keyClick(view, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(Names(*doc), "ABCDEF");
    EXPECT_EQ(view->GetSelItems(), (std::vector<int>{2, 3}));
    EXPECT_EQ(view->GetCaretIndex(), 3) << "the caret on the last row moved";
    EXPECT_EQ(TakeNotices(recorder), (Notices{{HintGlazesReordered, 3}, {HintGlazesReordered, 2}}));

    Select(*view, {0});
    EXPECT_FALSE(State(*view, CmdGlzShiftUp).m_bEnabled);
    EXPECT_FALSE(view->RunCommand(CmdGlzShiftUp));
    Select(*view, {5});
    EXPECT_FALSE(State(*view, CmdGlzShiftDown).m_bEnabled);

    Select(*view, {3, 5});
    EXPECT_TRUE(view->RunCommand(CmdGlzSelectedToTop));
    EXPECT_EQ(Names(*doc), "DFABCE");
    EXPECT_EQ(view->GetText(1), "\tF");
    EXPECT_EQ(view->GetSelItems(), (std::vector<int>{0, 1}));
    EXPECT_EQ(TakeNotices(recorder), (Notices{{HintGlazesReordered, 0}}));

    EXPECT_TRUE(view->RunCommand(CmdGlzAlphabetize));
    EXPECT_EQ(Names(*doc), "ABCDEF");
    EXPECT_EQ(view->GetText(5), "\tF");
    EXPECT_EQ(TakeNotices(recorder), (Notices{{HintGlazesReordered, 0}}));

    Select(*view, {1, 3, 4});
    EXPECT_TRUE(view->RunCommand(CmdGlzDelete));
    EXPECT_EQ(Names(*doc), "ACF");
    EXPECT_EQ(view->GetCount(), 3);
    EXPECT_EQ(TakeNotices(recorder), (Notices{{HintGlazesDeleted, 1}}));

    Select(*view, {1});
    EXPECT_TRUE(view->RunCommand(CmdGlzAppendNew));
    EXPECT_TRUE(view->RunCommand(CmdGlzInsertNew));
    ASSERT_EQ(doc->GetGlazeCount(), 5);
    EXPECT_EQ(Found(doc->GetGlaze(2)).m_name, "new glaze");
    EXPECT_EQ(Found(doc->GetGlaze(3)).m_name, "new glaze");
    EXPECT_EQ(view->GetSelItems(), std::vector<int>{2});
    EXPECT_EQ(TakeNotices(recorder), (Notices{{HintGlazesInserted, 2}, {HintGlazesInserted, 2}}));

    Select(*view, {0, 2});
    EXPECT_TRUE(view->RunCommand(CmdGlzInvertSelection));
    EXPECT_EQ(view->GetSelItems(), (std::vector<int>{1, 3, 4}));
}

TEST_F(GlazesViewTest, ImportsAppendAndAnnounceTheGlazes)
{
    CGlazesDoc* doc = OpenLetters(3);
    ASSERT_NE(doc, nullptr);
    CGlazesView* view = ViewOf(doc);
    ASSERT_NE(view, nullptr);
    CRecordingFrame recorder(*doc, "recorder");
    const std::string source = Fixture("recipary_golden.txt");

    m_dialogs.AnswerPath(source);
    EXPECT_TRUE(view->RunCommand(CmdGlzImportRecipary));
    ASSERT_EQ(m_dialogs.requests.size(), 1u);
    EXPECT_EQ(m_dialogs.At(0).title, "Import Recipary Recipes...");
    EXPECT_EQ(m_dialogs.At(0).filter, "All Files (*.*)|*.*||");
    EXPECT_TRUE(m_dialogs.At(0).clipboardOption);
    const int imported = doc->GetGlazeCount() - 3;
    ASSERT_GT(imported, 1);
    EXPECT_EQ(Found(doc->GetGlaze(3)).m_name, "Celadon Blue");
    EXPECT_EQ(view->GetCount(), doc->GetGlazeCount());
    EXPECT_EQ(view->GetText(3), "\tCeladon Blue");
    EXPECT_EQ(view->GetSelItems(), std::vector<int>{3});
    EXPECT_EQ(TakeNotices(recorder), (Notices{{HintGlazesInserted, 3}}));
    EXPECT_EQ(LastItem(doc->Glazes().m_infoLines), "Imported " + std::to_string(imported) + " glazes from " + source);

    m_clipboard.SetText(ReadFile(source));
    m_dialogs.AnswerClipboard();
    EXPECT_TRUE(view->RunCommand(CmdGlzImportRecipary));
    EXPECT_EQ(doc->GetGlazeCount(), 3 + 2 * imported);
    EXPECT_EQ(LastItem(doc->Glazes().m_infoLines), "Imported " + std::to_string(imported) + " glazes from Clipboard");
    // A text without a recipe adds nothing, not even a note.
    const std::size_t notes = doc->Glazes().m_infoLines.size();
    m_clipboard.SetText("no recipe here\n");
    m_dialogs.AnswerClipboard();
    EXPECT_TRUE(view->RunCommand(CmdGlzImportRecipary));
    EXPECT_EQ(doc->GetGlazeCount(), 3 + 2 * imported);
    EXPECT_EQ(doc->Glazes().m_infoLines.size(), notes);

    m_dialogs.AnswerCancel();
    EXPECT_TRUE(view->RunCommand(CmdGlzImportHyperGlaze));
    EXPECT_EQ(m_dialogs.Last().title, "Import Hyperglaze Recipes...");
    EXPECT_FALSE(m_dialogs.Last().clipboardOption);
    EXPECT_EQ(doc->GetGlazeCount(), 3 + 2 * imported);
}

TEST_F(GlazesViewTest, SaveSelectedAndExports)
{
    CGlazesDoc* doc = OpenLetters(3);
    ASSERT_NE(doc, nullptr);
    CGlazesView* view = ViewOf(doc);
    ASSERT_NE(view, nullptr);
    doc->Glazes().m_infoLines.push_back("kept");
    Found(doc->GetGlaze(0)).m_name = "Cone 6 Clear!";
    view->FillList(0, -1, true);
    doc->SetModifiedFlag(false);

    Select(*view, {0, 2});
    const std::string subset = (m_dir / "subset.glz").string();
    m_dialogs.AnswerPath(subset);
    EXPECT_TRUE(view->RunCommand(CmdGlzSaveSelected));
    EXPECT_EQ(m_dialogs.Last().title, "Save Selected Glazes To...");
    std::ifstream in(subset, std::ios::binary);
    CGlazeList written;
    ASSERT_EQ(written.Read(in), 0);
    EXPECT_EQ(written.m_name, "Letters (subset)");
    ASSERT_EQ(written.GetCount(), 2);
    EXPECT_EQ(RecordAt(written, 1).m_name, "C");
    EXPECT_EQ(written.m_infoLines, CStringArrayEx{"kept"});
    EXPECT_FALSE(doc->IsModified());

    // Insight: one question per glaze, offering a short file name; clipboard answers collect.
    m_dialogs.AnswerClipboard();
    m_dialogs.AnswerClipboard();
    EXPECT_TRUE(view->RunCommand(CmdGlzExportInsight));
    ASSERT_GE(m_dialogs.requests.size(), 3u);
    const CFileDialogRequest& first = m_dialogs.requests[m_dialogs.requests.size() - 2];
    EXPECT_EQ(first.title, "Export \"Cone 6 Clear!\" in Insight 5.0 format...");
    EXPECT_EQ(first.initialPath, "Cone6Cle.rcp");
    EXPECT_EQ(m_clipboard.writes, 1);
    EXPECT_EQ(m_clipboard.content.rfind("5.0\r\nRCP\r\nSTANDARD.MDT\r\nCone 6 Clear!\r\n", 0), 0u);
    EXPECT_NE(m_clipboard.content.find("\r\n\r\n5.0\r\nRCP\r\nSTANDARD.MDT\r\nC\r\n"), std::string::npos);
    // Cancel ends the export (the monkey found 3,000 questions after Select All): the recipes
    // chosen for the clipboard before it still go there.
    Select(*view, {0, 1, 2});
    const std::size_t asked = m_dialogs.requests.size();
    m_dialogs.AnswerClipboard();
    m_dialogs.AnswerCancel();
    EXPECT_TRUE(view->RunCommand(CmdGlzExportInsight));
    EXPECT_EQ(m_dialogs.requests.size(), asked + 2) << "no question after Cancel";
    EXPECT_EQ(m_clipboard.writes, 2);
    EXPECT_EQ(m_clipboard.content.find("\r\n\r\n5.0"), std::string::npos) << "one recipe";
    // Every line break goes to the clipboard as CR LF, one at the very start too; a CR LF stays.
    ASSERT_TRUE(PutTextOnClipboard("\nfirst\r\nsecond\n"));
    EXPECT_EQ(m_clipboard.content, "\r\nfirst\r\nsecond\r\n");
    ASSERT_TRUE(PutTextOnClipboard("\r\nthird"));
    EXPECT_EQ(m_clipboard.content, "\r\nthird");

    const std::string nowhere = (m_dir / "missing" / "out.txt").string();
    m_dialogs.AnswerPath(nowhere);
    EXPECT_TRUE(view->RunCommand(CmdGlzExportRecipary));
    ASSERT_FALSE(m_messages.boxes.empty());
    EXPECT_EQ(m_messages.Last().text, nowhere + ": Error writing file");
    EXPECT_EQ(m_messages.Last().helpId, 196899u);
    m_clipboard.failWrites = true;
    m_dialogs.AnswerClipboard();
    EXPECT_TRUE(view->RunCommand(CmdGlzExportHtml));
    EXPECT_EQ(m_messages.Last().text, "Error writing to Clipboard");
    EXPECT_EQ(m_messages.Last().helpId, 196900u);
    ASSERT_FALSE(m_dialogs.requests.empty());
    EXPECT_EQ(m_dialogs.requests.back().title, "Export in HTML format...");
    m_dialogs.AnswerCancel();
    EXPECT_TRUE(view->RunCommand(CmdGlzExportHyperGlaze));
    EXPECT_EQ(m_dialogs.requests.back().title, "Export in HyperGlaze-importable text format...");
}

TEST_F(GlazesViewTest, PrintPreviewAndWriteToFile)
{
    CGlazesDoc* doc = Open(Shipped("glazes.glz"));
    CGlazesView* view = ViewOf(doc);
    ASSERT_NE(view, nullptr);
    EXPECT_FALSE(State(*view, CmdGlzPreviewSummaries).m_bEnabled);
    EXPECT_TRUE(State(*view, CmdGlzPreviewList).m_bEnabled);

    bool previewed = false;
    QTimer::singleShot(0, [&previewed] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* preview = qobject_cast<CPrintPreviewDlg*>(widget)) {
                preview->grab().save(ScreenshotFolder() + "/glaze-list-preview.png");
                preview->reject();
                previewed = true;
            }
        }
    });
    view->SetListFormat(4);
    EXPECT_TRUE(view->RunCommand(CmdGlzPreviewList));
    EXPECT_TRUE(previewed);
    EXPECT_EQ(view->printKind, kGlazePrintList);

    const std::string list = (m_dir / "list.txt").string();
    m_dialogs.AnswerPath(list);
    EXPECT_TRUE(view->RunCommand(CmdGlzWriteList));
    EXPECT_EQ(m_dialogs.Last().title, "Glaze List to File...");
    const std::string text = ReadFile(list);
    EXPECT_EQ(text.rfind("Starter Glazes\n", 0), 0u) << text;
    EXPECT_NE(text.find("Cone 6 Clear "), std::string::npos);
    EXPECT_NE(text.find(" %w "), std::string::npos) << "the weight-percent table of the current format";

    Select(*view, {0, 1});
    m_dialogs.AnswerClipboard();
    EXPECT_TRUE(view->RunCommand(CmdGlzWriteRecipes));
    EXPECT_EQ(m_dialogs.Last().title, "Glaze Recipes to File...");
    EXPECT_NE(m_clipboard.content.find("Cone 6 Clear"), std::string::npos);
    EXPECT_NE(m_clipboard.content.find("Cone 6 Zircon White"), std::string::npos);
    EXPECT_EQ(view->printKind, kGlazePrintRecipes);
}

namespace {

// The glaze windows the list opens, recorded instead of opened.
class CRecordingGlazeViews : public CGlazeViews {
public:
    CRecordingGlazeViews() { SetGlazeViews(this); }
    ~CRecordingGlazeViews() override { SetGlazeViews(nullptr); }
    CGlazeEditLink* AsEditView(CView*) override { return nullptr; }
    CGlazeAnalysisLink* AsAnalysisView(CView*) override { return nullptr; }
    bool OpenEditView(CGlazesDoc&, std::span<const int> indices, bool limited) override
    {
        opened.push_back((limited ? "limited" : "edit") + Join(indices));
        return true;
    }
    bool OpenAnalysisView(CGlazesDoc&, int index) override
    {
        opened.push_back("report " + std::to_string(index));
        return true;
    }
    bool OpenGraphView(CGlazesDoc&, int index) override
    {
        opened.push_back("graph " + std::to_string(index));
        return true;
    }
    static std::string Join(std::span<const int> indices)
    {
        std::string text;
        for (int i : indices)
            text += " " + std::to_string(i);
        return text;
    }
    std::vector<std::string> opened;
};

} // namespace

TEST_F(GlazesViewTest, MouseOpensWindowsAndTheMenuKeepsTheSelection)
{
    CGlazesDoc* doc = OpenLetters(6);
    CGlazesView* view = ViewOf(doc);
    ASSERT_NE(view, nullptr);
    Select(*view, {1, 4});
    EXPECT_FALSE(State(*view, CmdGlzEdit).m_bEnabled) << "no edit windows are installed";
    EXPECT_FALSE(view->RunCommand(CmdGlzEdit));

    CRecordingGlazeViews views;
    const QPoint row3 = view->visualRect(view->model()->index(3, 0)).center();
    // A double-click's first click selects the row alone.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, row3);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, row3);
    EXPECT_EQ(view->GetSelItems(), std::vector<int>{3});
    Select(*view, {1, 4});
    EXPECT_TRUE(view->RunCommand(CmdGlzEditLimited));
    EXPECT_TRUE(view->RunCommand(CmdGlzOpenReport));
    EXPECT_FALSE(view->RunCommand(CmdGlzOpenGraph)) << "no graph while charts cannot be drawn";
    m_app.m_bGraphsAvailable = 1;
    EXPECT_TRUE(view->RunCommand(CmdGlzOpenGraph));
    EXPECT_EQ(views.opened, (std::vector<std::string>{"edit 3", "limited 1 4", "report 1", "graph 1"}));

    Select(*view, {1, 4});
    QString firstItem;
    QTimer::singleShot(0, [&firstItem] {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            if (auto* menu = qobject_cast<QMenu*>(popup); menu && !menu->actions().isEmpty())
                firstItem = menu->actions().front()->text();
            popup->close();
        }
    });
    const QPoint row2 = view->visualRect(view->model()->index(2, 0)).center();
    QTest::mousePress(view->viewport(), Qt::RightButton, {}, row2);
    EXPECT_EQ(firstItem, QStringLiteral("&Edit"));
    EXPECT_EQ(view->GetSelItems(), (std::vector<int>{1, 4})) << "the right button leaves the selection alone";

    // The menu key opens the menu on the caret's row, the first one too.
    view->SetCaretIndex(0);
    QPoint shownAt;
    QTimer::singleShot(0, [&shownAt] {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            shownAt = popup->pos();
            popup->close();
        }
    });
    QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint());
    QApplication::sendEvent(view, &key);
    EXPECT_EQ(shownAt, view->viewport()->mapToGlobal(view->visualRect(view->model()->index(0, 0)).center()));
}

TEST_F(GlazesViewTest, MergeReplacesExistingGlazesAndNotesRename)
{
    CGlazesDoc* doc = OpenLetters(3);
    ASSERT_NE(doc, nullptr);
    CGlazesView* view = ViewOf(doc);
    ASSERT_NE(view, nullptr);
    Found(doc->GetGlaze(1)).m_name = "CELADON";
    view->FillList(0, -1, true);
    CRecordingFrame recorder(*doc, "recorder");
    const std::string source = (m_dir / "incoming.glz").string();
    std::ofstream(source, std::ios::binary) << "filetype = Oxidarium Glazes\nversion =  2\n\ndbname  = In\n\n"
                                               "name   = Celadon\ncolor = green\n\nname   = Tenmoku"; // no line break

    m_dialogs.AnswerPath(source);
    std::vector<QString> rows;
    QTimer::singleShot(0, [&rows] {
        auto* dialog = qobject_cast<CMergeDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        for (int i = 0; i < dialog->List()->count(); ++i)
            rows.push_back(ListRow(dialog->List(), i).text());
        dialog->ReplaceExistingRadio()->setChecked(true);
        dialog->SelectAllButton()->click();
        dialog->OkButton()->click();
    });
    EXPECT_TRUE(view->RunCommand(CmdGlzMerge));
    EXPECT_EQ(m_dialogs.Last().title, "Merge Glaze Database...");
    // Regression: a last line without a line break was passed over, and the glaze it began lost.
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{source + ": line 9: \"name   = Tenmoku\" ends the file without "
                                                                    "a line break; it was read as it stands, but the "
                                                                    "file may have been cut short"});
    EXPECT_EQ(rows.size(), 2u);
    EXPECT_EQ(Names(*doc), "ACeladonCTenmoku");
    EXPECT_EQ(Found(doc->GetGlaze(1)).m_color, "green");
    EXPECT_EQ(view->GetText(3), "\tTenmoku");
    EXPECT_EQ(TakeNotices(recorder), (Notices{{HintGlazesReplaced, 0}}));

    const std::string empty = (m_dir / "empty.glz").string();
    std::ofstream(empty, std::ios::binary) << "filetype = Oxidarium Glazes\nversion =  2\n\ndbname  = None\n";
    m_dialogs.AnswerPath(empty);
    EXPECT_TRUE(view->RunCommand(CmdGlzMerge));
    EXPECT_EQ(m_messages.Last().text, empty + " contains no glazes!");

    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<CDbNotesDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Glaze Database Notes and Information"));
        dialog->NameEdit()->selectAll();
        QTest::keyClicks(dialog->NameEdit(), QStringLiteral("Studio glazes"));
        dialog->OkButton()->click();
    });
    EXPECT_TRUE(view->RunCommand(CmdGlzDatabaseNotes));
    EXPECT_EQ(doc->GetDbName(), "Studio glazes");
    EXPECT_EQ(doc->GetTitle(), "Studio glazes");
    EXPECT_EQ(TakeNotices(recorder), (Notices{{HintDatabaseNotesChanged, 0}}));
}

// Make Substitution over the glazes of the list: each glaze it changes is announced between the
// two notices of a bulk change, and the message counts them. A recipe by volume is substituted by
// weight, in its additions alone too; one holding a line without a density is not changed, and
// the message names it with the form's words (regression: it was skipped without a word, so that
// with the shipped materials, none of which has a density, every recipe by volume was). One the
// substitution does not apply to needs no densities and is not named.
TEST_F(GlazesViewTest, MakeSubstitutionBracketsItsChangesAndNamesTheGlazesItCouldNotChange)
{
    CSubstitutionsDoc substitutions;
    CSubstitution swap("Feldspar swap");
    swap.m_set1.Add("Nepheline Syenite", 1.0);
    swap.m_set2.Add("Potash Feldspar", 1.0);
    substitutions.InsertRecord(0, swap);
    CGlazesDoc* doc = OpenLetters(16);
    ASSERT_NE(doc, nullptr);
    CGlazesView* view = ViewOf(doc);
    ASSERT_NE(view, nullptr);
    for (const auto& [name, density] : {std::pair{"Nepheline Syenite", 2.5}, std::pair{"Potash Feldspar", 2.0},
                                        std::pair{"Silica", 2.0}})
        Found(m_materials.Materials().FindMaterial(std::string_view(name))).m_density = density;
    const auto recipe = [doc](int row, bool byVolume, CIngredientList components, CIngredientList additions) {
        CGlaze& glaze = Found(doc->GetGlaze(row));
        glaze.m_byVol = byVolume ? 1 : 0;
        glaze.m_components = std::move(components);
        glaze.m_additions = std::move(additions);
    };
    const auto lines = [](std::initializer_list<std::pair<const char*, double>> list) {
        CIngredientList ingredients;
        for (const auto& [name, amount] : list)
            ingredients.Add(name, amount);
        return ingredients;
    };
    recipe(0, false, lines({{"Nepheline Syenite", 40}, {"Silica", 60}}), {});
    // Left alone, line for line: a material twice and a line of 0, as the glaze form saves them.
    recipe(1, false, lines({{"Silica", 10}, {"Whiting", 20}, {"silica", 5}, {"Talc", 0}}), {});
    // 2 dl of nepheline syenite at 2.5 are 5 g of potash feldspar, 2.5 dl at 2.
    recipe(2, true, lines({{"Silica", 3}}), lines({{"Nepheline Syenite", 2}}));
    recipe(3, true, lines({{"Nepheline Syenite", 2}, {"Whiting", 1}}), {});
    recipe(4, true, lines({{"Whiting", 4}}), {});
    for (int row = 5; row < 16; ++row)
        recipe(row, true, lines({{"Nepheline Syenite", 1}, {"Talc", 1}}), {});
    CRecordingFrame recorder(*doc, "recorder");
    EXPECT_FALSE(State(*view, CmdGlzMakeSubstitution).m_bEnabled) << "nothing selected";
    EXPECT_FALSE(State(*view, CmdGlzToMaterials).m_bEnabled) << "nothing selected";

    Select(*view, {0, 1, 2, 3, 4});
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<CChooseSubstitutionDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->MakeButton()->click();
    });
    EXPECT_TRUE(view->RunCommand(CmdGlzMakeSubstitution));
    const auto recipeText = [doc](int row) {
        std::string text;
        const CGlaze& glaze = Found(doc->GetGlaze(row));
        for (const CIngredientList* list : {&glaze.m_components, &glaze.m_additions}) {
            text += list == &glaze.m_components ? "" : " +";
            for (int i = 0; i < list->GetCount(); ++i)
                text += " " + list->GetAt(i).m_name + " " + FormatDoubleShortest(list->GetAt(i).m_amount);
        }
        return text;
    };
    EXPECT_EQ(recipeText(0), " Potash Feldspar 40 Silica 60 +");
    EXPECT_EQ(recipeText(1), " Silica 10 Whiting 20 silica 5 Talc 0 +");
    EXPECT_EQ(recipeText(2), " Silica 3 + Potash Feldspar 2.5");
    EXPECT_EQ(recipeText(3), " Nepheline Syenite 2 Whiting 1 +");
    EXPECT_EQ(recipeText(4), " Whiting 4 +");
    EXPECT_EQ(TakeNotices(recorder), (Notices{{HintBulkChangeBegins, 0},
                                              {HintGlazeChanged, 0},
                                              {HintGlazeChanged, 2},
                                              {HintBulkChangeEndsRefreshDocument, 0}}));
    EXPECT_EQ(view->GetSelItems(), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{
                                      "Substitution was performed in 2 glazes\n\n\"D\" was not changed:\nDensity of "
                                      "Whiting unknown\n\nThe recipe is by volume, and the substitution is by weight: "
                                      "every line needs a density."});
    EXPECT_EQ(m_messages.Last().Icon(), unsigned(MsgIconExclamation));
    EXPECT_EQ(m_messages.Last().helpId, 197953u);

    // Whiting given a density, the glaze left over is changed too; nothing else is left to say.
    m_messages.boxes.clear();
    Found(m_materials.Materials().FindMaterial(std::string_view("Whiting"))).m_density = 1.0;
    Select(*view, {3});
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<CChooseSubstitutionDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->MakeButton()->click();
    });
    EXPECT_TRUE(view->RunCommand(CmdGlzMakeSubstitution));
    EXPECT_EQ(recipeText(3), " Potash Feldspar 2.5 Whiting 1 +");
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Substitution was performed in 1 glaze"});
    EXPECT_EQ(m_messages.Last().Icon(), unsigned(MsgIconInformation));

    // Regression: a substitution that changed no glaze marked the database modified; then one
    // that did not apply merged the lines of a glaze all the same, and marked it modified.
    m_messages.boxes.clear();
    doc->SetModifiedFlag(false);
    Select(*view, {1, 3, 4});
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<CChooseSubstitutionDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->MakeButton()->click();
    });
    EXPECT_TRUE(view->RunCommand(CmdGlzMakeSubstitution));
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Substitution was performed in 0 glazes"});
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(recipeText(1), " Silica 10 Whiting 20 silica 5 Talc 0 +");

    // Ten glazes not changed are all named; of eleven, the last is counted.
    for (const int count : {10, 11}) {
        m_messages.boxes.clear();
        view->DeselectAll();
        for (int row = 5; row < 5 + count; ++row)
            view->SelectGlaze(row);
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<CChooseSubstitutionDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            dialog->MakeButton()->click();
        });
        EXPECT_TRUE(view->RunCommand(CmdGlzMakeSubstitution));
        ASSERT_EQ(m_messages.boxes.size(), 1u);
        const std::string& told = m_messages.Last().text;
        EXPECT_TRUE(told.starts_with("Substitution was performed in 0 glazes\n\n\"F\" was not changed:\nDensity of "
                                     "Talc unknown\n")) << told;
        EXPECT_NE(told.find("\"O\" was not changed:"), std::string::npos);
        EXPECT_EQ(told.find("\"P\""), std::string::npos);
        EXPECT_TRUE(told.ends_with(count == 10 ? "every line needs a density."
                                               : "every line needs a density.\n\nand 1 more glaze by volume not "
                                                 "changed for the same reason"))
            << told;
    }
}

// Database Notes shows the database's name, file and notes; OK keeps what was typed, and only a
// new name, which the window's caption shows, is announced.
TEST_F(GlazesViewTest, DatabaseNotesKeepWhatWasTypedAndAnnounceOnlyANewName)
{
    CGlazesDoc* doc = OpenLetters(2);
    ASSERT_NE(doc, nullptr);
    CGlazesView* view = ViewOf(doc);
    ASSERT_NE(view, nullptr);
    CRecordingFrame recorder(*doc, "recorder");
    struct Edit {
        const char* name;
        Notices heard;
    };
    for (const Edit& edit : {Edit{"Letters", {}}, Edit{"Studio tests", {{HintDatabaseNotesChanged, 0}}}}) {
        QTimer::singleShot(0, [doc, edit] {
            auto* dialog = qobject_cast<CDbNotesDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Glaze Database Notes and Information"));
            EXPECT_EQ(dialog->fileName, doc->GetPathName());
            dialog->NameEdit()->selectAll();
            QTest::keyClicks(dialog->NameEdit(), QString::fromLatin1(edit.name));
            dialog->NotesEdit()->selectAll();
            QTest::keyClicks(dialog->NotesEdit(), QStringLiteral("First line"));
            QTest::keyClick(dialog->NotesEdit(), Qt::Key_Return);
            QTest::keyClicks(dialog->NotesEdit(), QStringLiteral("Second line"));
            dialog->OkButton()->click();
        });
        EXPECT_TRUE(view->RunCommand(CmdGlzDatabaseNotes));
        EXPECT_EQ(doc->GetDbName(), edit.name);
        EXPECT_EQ(doc->Glazes().m_infoLines, (CStringArrayEx{"First line", "Second line"}));
        EXPECT_TRUE(doc->IsModified());
        EXPECT_EQ(doc->GetTitle(), edit.name);
        EXPECT_EQ(TakeNotices(recorder), edit.heard) << edit.name;
    }
}

TEST_F(GlazesViewTest, PreferencesAndBulkEndsRefreshTheNumbersAndTheCaretStays)
{
    CGlazesDoc* doc = Open(Shipped("glazes.glz"));
    ASSERT_NE(doc, nullptr);
    CGlazesView* view = ViewOf(doc);
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(doc->GetGlazeCount(), 10);
    const auto rows = [view] {
        std::string all;
        for (int row = 0; row < view->GetCount(); ++row)
            all += view->GetText(row) + "\n";
        return all;
    };

    view->DeselectAll();
    EXPECT_FALSE(State(*view, CmdGlzAverageGlazes).m_bEnabled) << "no glaze chosen";
    // A new format keeps the caret on the first row.
    Select(*view, {2});
    EXPECT_TRUE(State(*view, CmdGlzAverageGlazes).m_bEnabled);
    view->SetCaretIndex(0);
    EXPECT_TRUE(view->RunCommand(kFormatCommands[4]));
    EXPECT_EQ(view->GetCaretIndex(), 0);
    EXPECT_TRUE(State(*view, CmdGlzCorrectCrazing).m_bEnabled) << "one glaze chosen";
    EXPECT_TRUE(State(*view, CmdGlzToMaterials).m_bEnabled) << "one glaze chosen";
    // Correct Crazing and Change Melting Point open their help topics.
    EXPECT_TRUE(view->RunCommand(CmdGlzCorrectCrazing));
    EXPECT_TRUE(view->RunCommand(CmdGlzChangeMeltingPoint));
    ASSERT_EQ(m_messages.helps.size(), 2u);
    EXPECT_EQ(m_messages.helps[0].id, 372u);
    EXPECT_EQ(m_messages.helps[1].id, 373u);

    // Whether additions count in the chemistry changes the analyses the rows show; the caret and
    // the selection stay.
    const std::string before = rows();
    const int anchadd = g_prefs.anchadd;
    g_prefs.anchadd = anchadd ? 0 : 1;
    view->SetCaretIndex(5);
    const std::vector<int> selected = view->GetSelItems();
    COxidariumApp::BroadcastUpdate(nullptr, nullptr, static_cast<int>(DbFileType::Preferences), HintPreferencesChanged, 0, 0);
    EXPECT_NE(rows(), before);
    EXPECT_EQ(view->GetCaretIndex(), 5);
    EXPECT_EQ(view->GetSelItems(), selected);
    g_prefs.anchadd = anchadd;
    COxidariumApp::BroadcastUpdate(nullptr, nullptr, static_cast<int>(DbFileType::Preferences), HintPreferencesChanged, 0, 0);
    ASSERT_EQ(rows(), before);
    // So does a material taken out of the materials database: its glazes lose its oxides.
    CMaterialArray& materials = m_materials.Materials();
    m_materials.DeleteMaterial(materials.IndexOf(materials.FindMaterial(std::string_view("Whiting"))));
    COxidariumApp::BroadcastUpdate(nullptr, &m_materials, static_cast<int>(DbFileType::Materials), HintMaterialsDeleted, 0, 0);
    EXPECT_NE(rows(), before);
    // And a material's formula set over a bulk change (Set Field): the analyses follow at its end.
    const std::string withoutWhiting = rows();
    const int kaolin = materials.IndexOf(materials.FindMaterial(std::string_view("Kaolin")));
    COxidariumApp::BroadcastUpdate(nullptr, &m_materials, static_cast<int>(DbFileType::Materials), HintBulkChangeBegins, 0, 0);
    CMaterial sandy = *materials.GetAt(kaolin);
    sandy.SetFormula("Al2O3 4SiO2 2H2O");
    m_materials.ReplaceMaterial(kaolin, sandy);
    COxidariumApp::BroadcastUpdate(nullptr, &m_materials, static_cast<int>(DbFileType::Materials), HintMaterialChanged, kaolin, 0);
    COxidariumApp::BroadcastUpdate(nullptr, &m_materials, static_cast<int>(DbFileType::Materials), HintBulkChangeEndsRefreshAll, 0, 0);
    EXPECT_NE(rows(), withoutWhiting);

    // A bulk change ending for one database thaws the list.
    Broadcast(doc, HintBulkChangeBegins, 0);
    EXPECT_TRUE(view->IsFrozen());
    Broadcast(doc, HintBulkChangeEndsRefreshDocument, 0);
    EXPECT_FALSE(view->IsFrozen());
    Found(doc->GetGlaze(0)).m_name = "Renamed";
    Broadcast(doc, HintGlazeChanged, 0);
    EXPECT_EQ(view->GetText(0).substr(0, 9), "\tRenamed\t");

    // Printed summaries with section headers: a rule under the header of every page, the first too.
    const int sections = g_prefs.prtuseffs;
    g_prefs.prtuseffs = 1;
    CTextPrinter printer;
    view->FillPrinter(printer, kGlazePrintSummaries);
    g_prefs.prtuseffs = sections;
    EXPECT_TRUE(printer.m_showFirstHeader);
    EXPECT_TRUE(printer.m_firstHeaderRule);
    EXPECT_TRUE(printer.m_laterHeaderRule);
}
