#include "elements/ElementsView.h"

#include "core/support/CheckedItems.h"
#include "core/framework/FakeFileDialogs.h"
#include "core/framework/RecordingView.h"
#include "core/shell/FakeMessageService.h"
#include "elements/ElementCells.h"
#include "elements/ElementInfoDlg.h"
#include "elements/ElementsDoc.h"
#include "elements/SelectElementsDlg.h"
#include "framework/DocTemplate.h"
#include "framework/MdiFrame.h"
#include "shell/AppContext.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"
#include "support/DbNotesDlg.h"
#include "support/NotesEdit.h"
#include "support/Profile.h"
#include "support/TextPrinter.h"
#include "ui/support/TestFolders.h"
#include "ui/support/ModalDialogTest.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

QRgb CellPixel(QWidget* cell)
{
    return cell->grab().toImage().pixel(5, 5);
}

class ElementsViewTest : public ::testing::Test {
protected:
    ElementsViewTest()
    {
        SetProfile(&m_profile);
        g_prefs.ApplyColorScheme();
        g_pElementsTemplate = &m_template;
        InstallElementsTemplate(m_template);
        m_frame.resize(900, 700);
        m_frame.show();
        QApplication::setActiveWindow(&m_frame);
        m_doc = static_cast<CElementsDoc*>(m_template.OpenDocumentFile(""));
        m_view = m_doc ? dynamic_cast<CElementsView*>(ItemAt(m_doc->GetViews(), 0)) : nullptr;
        m_viewFrame = m_frame.ActiveChildFrame();
        m_wasMinimized = m_viewFrame && m_viewFrame->isMinimized();
        if (m_viewFrame)
            m_viewFrame->ActivateFrame();
        QApplication::processEvents();
        if (m_doc)
            m_recorder = std::make_unique<CRecordingFrame>(*m_doc, "recorder");
    }
    // A table that did not open stops each test here.
    void SetUp() override
    {
        ASSERT_NE(m_doc, nullptr);
        ASSERT_NE(m_view, nullptr);
    }
    ~ElementsViewTest() override
    {
        m_recorder.reset();
        g_pElementsTemplate = nullptr;
        SetProfile(nullptr);
    }

    std::string TempPath(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)).toStdString(); }
    const CElementRecord& Element(int z) const { return m_doc->Elements()[z]; }
    bool Enabled(unsigned id) const
    {
        CCmdUI ui(id);
        EXPECT_TRUE(m_view->OnUpdateCommand(ui));
        return ui.m_bEnabled;
    }
    std::vector<CReceivedHint>& Hints() { return m_recorder->view->received; }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) { QTest::keyClick(m_view, key, modifiers); }
    void Click(int z) { QTest::mouseClick(m_view->Cell(z), Qt::LeftButton); }

    QTemporaryDir m_dir;
    CProfile m_profile{m_dir.filePath(QStringLiteral("Oxidarium.ini")).toStdString()};
    CAppContext m_context;
    CFakeMessageService m_messages;
    CFakeFileDialogs m_dialogs;
    COxidariumApp m_app;
    CDocTemplate m_template{kElementsResourceId, kElementsDocString, [] { return std::make_unique<CElementsDoc>(); }};
    CMDIMainFrame m_frame;
    CElementsDoc* m_doc = nullptr;
    CElementsView* m_view = nullptr;
    CMDIChildFrame* m_viewFrame = nullptr;
    bool m_wasMinimized = false;
    std::unique_ptr<CRecordingFrame> m_recorder;
};

} // namespace

TEST_F(ElementsViewTest, TableShowsRolesInTheirColoursAndTheCurrentElement)
{
    ASSERT_NE(m_view, nullptr);
    EXPECT_TRUE(m_wasMinimized) << "the window waits minimised after start-up";
    EXPECT_EQ(m_doc->GetTitle(), "Elements (default)");
    EXPECT_EQ(m_viewFrame->windowTitle(), QStringLiteral("Elements (default)"));
    EXPECT_EQ(m_frame.CurrentMenuResource(), kElementsResourceId);

    const std::pair<int, const char*> colours[] = {{14, "el_acid"}, {11, "el_alk"}, {13, "el_neut"},
                                                   {22, "el_acidamph"}, {25, "el_alkamph"}, {1, "el_volatile"},
                                                   {2, "el_notexp"}};
    for (const auto& [z, key] : colours) {
        EXPECT_EQ(m_view->Cell(z)->FillColor(), GetNamedColor(key)) << z;
        EXPECT_EQ(CellPixel(m_view->Cell(z)), ToQColor(GetNamedColor(key)).rgb()) << z;
    }
    EXPECT_NE(GetNamedColor("el_acid"), GetNamedColor("el_alk"));

    // The table's shape: La under Y, Ce..Lu and Th..Lw in their own rows.
    EXPECT_EQ(CElementsView::CellRectDlu(1), QRect(5, 5, 18, 18));
    EXPECT_EQ(CElementsView::CellRectDlu(2), QRect(5 + 19 * 17, 5, 18, 18));
    EXPECT_EQ(CElementsView::CellRectDlu(57), QRect(5 + 19 * 2, 5 + 19 * 5, 18, 18));
    EXPECT_EQ(CElementsView::CellRectDlu(72), QRect(5 + 19 * 3, 5 + 19 * 5, 18, 18));
    EXPECT_EQ(CElementsView::CellRectDlu(58), QRect(71, 130, 18, 18));
    EXPECT_EQ(CElementsView::CellRectDlu(103), QRect(71 + 19 * 13, 149, 18, 18));
    EXPECT_TRUE(CElementsView::CellRectDlu(0).isEmpty());

    EXPECT_EQ(m_view->m_selZ, 14);
    EXPECT_EQ(m_view->Cell(14)->State(), 1);
    Click(11);
    EXPECT_EQ(m_view->m_selZ, 11);
    EXPECT_EQ(m_view->Cell(11)->State(), 1);
    EXPECT_EQ(m_view->Cell(14)->State(), 0);
    EXPECT_EQ(m_view->LargeCell()->Element(), 11);
    EXPECT_EQ(m_view->InfoArea()->Element(), 11);
    EXPECT_EQ(InfoAreaLines(Element(11)),
              (std::vector<std::string>{"Sodium", "Oxide:  Na2O  (M.W. 61.98)", "Ceramic role:  Alkali"}));
    EXPECT_EQ(LastItem(InfoAreaLines(Element(26))), "In reduction: FeO");
    EXPECT_EQ(ItemAt(InfoAreaLines(Element(22)), 2), "Ceramic role:  Acid (amphoteric)");
    EXPECT_EQ(InfoAreaRoleWord(kRoleNotExpected), "Not expected in ceramic materials");
    EXPECT_EQ(InfoAreaRoleWord(0), "Unknown");
    EXPECT_EQ(m_view->InformationButton()->Caption(), "Information");
    EXPECT_EQ(m_view->InformationButton()->FaceColor(), GetNamedColor("elv_infobut"));

    Click(14);
        EXPECT_TRUE(m_view->grab().save(ScreenshotFolder() + "/elements-periodic-table.png"));
}

TEST_F(ElementsViewTest, ChangeAndRevertRoleEditTheCurrentElementAndAnnounceIt)
{
    Click(25); // manganese, alkali amphoteric
    ASSERT_EQ(Element(25).role, 0x90);
    EXPECT_FALSE(Enabled(CmdElementRevertRole));
    EXPECT_FALSE(m_doc->IsModified());

    Key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(Element(25).role, 0x04);
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_EQ(ItemAt(InfoAreaLines(Element(25)), 2), "Ceramic role:  Neutral");
    EXPECT_EQ(m_view->Cell(25)->FillColor(), GetNamedColor("el_neut"));
    ASSERT_EQ(Hints().size(), 1u);
    EXPECT_EQ(m_recorder->view->At(0).kind, 1);
    EXPECT_EQ(m_recorder->view->At(0).code, HintElementChanged);
    EXPECT_EQ(m_recorder->view->At(0).index, 25);

    // The whole cycle comes back to where it started.
    for (int step = 0; step < 6; ++step)
        EXPECT_TRUE(m_view->RunCommand(CmdElementChangeRole));
    EXPECT_EQ(Element(25).role, 0x90);
    EXPECT_EQ(Hints().size(), 7u);

    Key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_TRUE(Enabled(CmdElementRevertRole));
    Key(Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(Element(25).role, 0x90);
    EXPECT_FALSE(Enabled(CmdElementRevertRole));
    EXPECT_EQ(Hints().size(), 9u);
    EXPECT_EQ(m_recorder->view->Last().index, 25);
    Key(Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(Hints().size(), 9u) << "a disabled command does not run from its key";
}

TEST_F(ElementsViewTest, RevertAllAsksForRolesAndExpansionsSeparately)
{
    m_doc->Elements().SetRole(14, kRoleVolatile);
    m_doc->Elements()[3].expansion = 9.0;
    m_doc->Elements()[3].unusual = 0;
    m_doc->SetModifiedFlag(false);

    m_messages.answers = {MsgResultNo, MsgResultNo};
    EXPECT_TRUE(m_view->RunCommand(CmdElementRevertAll));
    ASSERT_EQ(m_messages.boxes.size(), 2u);
    EXPECT_EQ(m_messages.At(0).text, "Revert all elements to their default ceramic role?");
    EXPECT_EQ(m_messages.At(0).helpId, 0x30400u);
    EXPECT_EQ(m_messages.At(0).Buttons(), static_cast<unsigned>(MsgYesNo));
    EXPECT_EQ(m_messages.At(1).text, "Revert all elements to their default expansion coefficient?");
    EXPECT_EQ(m_messages.At(1).helpId, 0x30401u);
    EXPECT_EQ(Element(14).role, kRoleVolatile);
    EXPECT_FALSE(m_doc->IsModified());
    EXPECT_TRUE(Hints().empty());

    m_messages.answers = {MsgResultYes, MsgResultNo};
    m_view->RunCommand(CmdElementRevertAll);
    EXPECT_EQ(Element(14).role, kRoleAcid);
    EXPECT_EQ(Element(3).expansion, 9.0);
    EXPECT_TRUE(m_doc->IsModified());
    ASSERT_EQ(Hints().size(), 1u);
    EXPECT_EQ(m_recorder->view->At(0).code, HintElementChanged);
    EXPECT_EQ(m_recorder->view->At(0).index, -1);

    m_messages.answers = {MsgResultNo, MsgResultYes};
    m_view->RunCommand(CmdElementRevertAll);
    EXPECT_DOUBLE_EQ(Element(3).expansion, 0.67);
    EXPECT_EQ(Element(3).unusual, 1);
    EXPECT_EQ(Hints().size(), 2u);
}

TEST_F(ElementsViewTest, ArrowKeysMoveAcrossTheTable)
{
    const struct {
        int from;
        unsigned command;
        int to;
    } moves[] = {
        {1, CmdElementMoveDown, 3},   {3, CmdElementMoveUp, 1},     {4, CmdElementMoveUp, 4},
        {40, CmdElementMoveDown, 72}, {58, CmdElementMoveDown, 90}, {103, CmdElementMoveRight, 103},
        {1, CmdElementMoveLeft, 1},   {12, CmdElementMoveDown, 20}, {13, CmdElementMoveDown, 31},
        {90, CmdElementMoveUp, 58},   {20, CmdElementMoveUp, 12},   {72, CmdElementMoveDown, 72},
    };
    for (const auto& move : moves)
        EXPECT_EQ(CElementsView::MoveTarget(move.from, move.command), move.to) << move.from;

    Click(1);
    Key(Qt::Key_Down);
    EXPECT_EQ(m_view->m_selZ, 3);
    EXPECT_EQ(m_view->Cell(1)->State(), 0);
    EXPECT_EQ(m_view->Cell(3)->State(), 1);
    Key(Qt::Key_Right);
    EXPECT_EQ(m_view->m_selZ, 4);
    Key(Qt::Key_Up);
    EXPECT_EQ(m_view->m_selZ, 4);
    Key(Qt::Key_Left);
    Key(Qt::Key_Up);
    EXPECT_EQ(m_view->m_selZ, 1);
    EXPECT_EQ(m_view->InfoArea()->Element(), 1);
}

TEST_F(ElementsViewTest, DoubleClickOpensElementInformationAndStoresTheResult)
{
    std::string title, oxide, reduction;
    bool reductionChecked = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<CElementInfoDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        title = dialog->windowTitle().toStdString();
        oxide = dialog->Label(CElementInfoDlg::IdOxide)->text().toStdString();
        reduction = dialog->Label(CElementInfoDlg::IdOxideRed)->text().toStdString();
        reductionChecked = dialog->Check(CElementInfoDlg::IdDifOxInRed)->isChecked();
        dialog->NotesBox(CElementInfoDlg::IdNotes)->setPlainText(QStringLiteral("Red in oxidation\n  rust\n\n"));
        dialog->NotesBox(CElementInfoDlg::IdAnnotations)->setPlainText(QStringLiteral("Colourant"));
        dialog->Edit(CElementInfoDlg::IdExpansion)->setText(QStringLiteral("1.5"));
        dialog->Button(CElementInfoDlg::IdNanMinus)->click();
        dialog->Combo(CElementInfoDlg::IdRole)->setCurrentIndex(2);
        dialog->OkButton()->click();
    });
    QTest::mouseDClick(m_view->Cell(26), Qt::LeftButton);
    EXPECT_EQ(m_view->m_selZ, 26);
    EXPECT_EQ(title, "26  Iron");
    EXPECT_EQ(oxide, "Fe2O3");
    EXPECT_EQ(reduction, "FeO");
    EXPECT_TRUE(reductionChecked);

    const CElementRecord& iron = Element(26);
    EXPECT_EQ(iron.notes, (CStringArrayEx{"Red in oxidation", "  rust"}));
    EXPECT_EQ(iron.annotations, (CStringArrayEx{"Colourant"}));
    EXPECT_EQ(iron.expansion, 1.5);
    EXPECT_EQ(iron.oxide, "Fe2O2");
    EXPECT_EQ(iron.role, kRoleNeutral);
    EXPECT_EQ(iron.oxideRed, "FeO");
    EXPECT_EQ(iron.difoxinred, 1);
    EXPECT_TRUE(m_doc->IsModified());
    ASSERT_EQ(Hints().size(), 1u);
    EXPECT_EQ(m_recorder->view->At(0).code, HintElementChanged);
    EXPECT_EQ(m_recorder->view->At(0).index, 26);

    // Cancel changes nothing; the Information button opens the same dialog.
    m_doc->SetModifiedFlag(false);
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<CElementInfoDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->Edit(CElementInfoDlg::IdExpansion)->setText(QStringLiteral("?"));
        dialog->CancelButton()->click();
    });
    QTest::mouseClick(m_view->InformationButton(), Qt::LeftButton);
    EXPECT_EQ(iron.expansion, 1.5);
    EXPECT_FALSE(m_doc->IsModified());
    EXPECT_EQ(Hints().size(), 1u);
}

TEST_F(ElementsViewTest, DatabaseNotesRenameTheDatabaseAndReloadsRetitleTheWindow)
{
    m_doc->m_infoLines = {"First line"};
    std::string caption, file, lines;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<CDbNotesDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        caption = dialog->windowTitle().toStdString();
        file = dialog->FileNameLabel()->text().toStdString();
        lines = dialog->NotesEdit()->toPlainText().toStdString();
        QTest::keyClicks(dialog->NameEdit(), " (studio)");
        dialog->NotesEdit()->setPlainText(QStringLiteral("First line\nSecond line"));
        dialog->OkButton()->click();
    });
    EXPECT_TRUE(m_view->RunCommand(CmdElementDatabaseNotes));
    EXPECT_EQ(caption, "Element Database Notes and Information");
    EXPECT_EQ(file, "");
    EXPECT_EQ(lines, "First line\n");
    EXPECT_EQ(m_doc->GetDatabaseName(), "Elements (default) (studio)");
    EXPECT_EQ(m_doc->m_infoLines, (CStringArrayEx{"First line", "Second line"}));
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_EQ(m_doc->GetTitle(), "Elements (default) (studio)");
    EXPECT_EQ(m_viewFrame->windowTitle(), QStringLiteral("Elements (default) (studio)"));
    ASSERT_EQ(Hints().size(), 1u);
    EXPECT_EQ(m_recorder->view->At(0).code, HintDatabaseNotesChanged);

    // A reload retitles the window with the new database's name.
    const std::string path = TempPath("studio.ele");
    std::ofstream(path, std::ios::binary) << "filetype = Oxidarium Elements\nversion =  2\n\ndbname  = Studio\n";
    m_doc->SetModifiedFlag(false);
    EXPECT_EQ(m_doc->OpenFile(path), 0);
    EXPECT_EQ(m_viewFrame->windowTitle(), QStringLiteral("Studio"));
    EXPECT_EQ(m_doc->GetTitle(), "Studio");

    // The tree's request brings the window up from its minimised state.
    m_viewFrame->showMinimized();
    COxidariumApp::BroadcastUpdate(nullptr, m_doc, 1, HintBringFrameForward, 0, 0);
    EXPECT_FALSE(m_viewFrame->isMinimized());

    // The tree's notes request brings it up and opens the notes.
    bool notesShown = false;
    QTimer::singleShot(0, [&notesShown] {
        auto* dialog = qobject_cast<CDbNotesDlg*>(QApplication::activeModalWidget());
        notesShown = dialog != nullptr;
        if (dialog)
            dialog->reject();
    });
    m_viewFrame->showMinimized();
    COxidariumApp::BroadcastUpdate(nullptr, m_doc, 1, HintBringFrameForwardWithNotes, 0, 0);
    EXPECT_TRUE(notesShown);
    EXPECT_FALSE(m_viewFrame->isMinimized());
    EXPECT_EQ(m_doc->GetDatabaseName(), "Studio");
}

TEST_F(ElementsViewTest, ReportsPrintTheListOrTheChosenSummaries)
{
    const std::string summaries = TempPath("summaries.txt");
    const std::string list = TempPath("list.txt");

    // The selection starts with the current element; OK as it stands writes only its summary.
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<CSelectElementsDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->List()->selectedItems().size(), 1);
        EXPECT_EQ(dialog->List()->currentRow(), 13);
        dialog->OkButton()->click();
    });
    m_dialogs.AnswerPath(summaries);
    EXPECT_TRUE(m_view->RunCommand(CmdElementWriteSelected));
    ASSERT_EQ(m_dialogs.requests.size(), 1u);
    EXPECT_EQ(m_dialogs.At(0).title, "Element Summaries to File...");
    EXPECT_EQ(m_dialogs.At(0).filter, "Text files (*.txt)|*.txt|All files (*.*)|*.*||");
    const std::string text = ReadFile(summaries);
    EXPECT_EQ(text.find("14  Si Silicon"), 0u);
    EXPECT_NE(text.find("Oxide:           SiO2"), std::string::npos);
    EXPECT_EQ(text.find("Sodium"), std::string::npos);
    EXPECT_EQ(m_view->m_printMode, CElementsView::PrintSummaries);

    // Nothing chosen, or Cancel: no output at all.
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<CSelectElementsDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->List()->clearSelection();
        dialog->OkButton()->click();
    });
    m_view->RunCommand(CmdElementWriteSelected);
    QTimer::singleShot(0, [] { CloseModalDialog(); });
    m_view->RunCommand(CmdElementPreviewSelected);
    EXPECT_EQ(m_dialogs.requests.size(), 1u);

    m_dialogs.AnswerPath(list);
    EXPECT_TRUE(m_view->RunCommand(CmdElementWriteList));
    ASSERT_EQ(m_dialogs.requests.size(), 2u);
    EXPECT_EQ(m_dialogs.At(1).title, "Element List to File...");
    EXPECT_NE(ReadFile(list).find("14  Si   28.1  Silicon       SiO2    60.1  Acid           0.35 x10e-7/deg C"),
              std::string::npos);

    // Page headers follow the form-feed preference; only the summaries number later pages.
    g_prefs.prtuseffs = 1;
    CTextPrinter listPrinter;
    m_view->FillPrinter(listPrinter);
    EXPECT_TRUE(listPrinter.m_showFirstHeader);
    EXPECT_FALSE(listPrinter.m_laterPageNumber);
    EXPECT_EQ(listPrinter.GetFont(PrinterFontFirstHeader)->weight, MakePrintFontSet(g_prefs.prtfont).normal.weight);
    m_view->m_printMode = CElementsView::PrintSummaries;
    CTextPrinter summaryPrinter;
    m_view->FillPrinter(summaryPrinter);
    EXPECT_TRUE(summaryPrinter.m_laterPageNumber);
    EXPECT_FALSE(summaryPrinter.m_firstPageNumber);
    EXPECT_EQ(summaryPrinter.GetFont(PrinterFontFirstHeader)->weight, MakePrintFontSet(g_prefs.prtfont).bold.weight);
    ASSERT_FALSE(summaryPrinter.empty());
    EXPECT_EQ(summaryPrinter[1], "14  Si Silicon\x05\x06");
}
