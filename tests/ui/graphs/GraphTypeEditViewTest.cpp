#include "GraphTypesFixture.h"
#include "ui/support/CheckedWidgets.h"
#include "core/support/CheckedItems.h"
#include "core/support/ExpectedFile.h"

#include "framework/Cp1252.h"
#include "framework/PrintPreviewDlg.h"
#include "framework/UpdateHint.h"
#include "graphs/Chart.h"
#include "graphs/GraphTemplateClipboard.h"
#include "graphs/GraphTypeEditViewPreview.h"
#include "graphs/GraphWnd.h"
#include "graphs/InfoPopupDlg.h"
#include "graphs/StylePicker.h"
#include "limits/LimitFormulasDoc.h"
#include "shell/Clipboards.h"
#include "support/EditTextDlg.h"
#include "support/NotesEdit.h"
#include "support/PrintJob.h"
#include "ui/support/ModalDialogTest.h"
#include "ui/support/OverlapCheck.h"
#include "support/TextPrinter.h"
#include "support/ToggleButton.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <set>

using namespace graphtest;

namespace {

class GraphTypeEditViewTest : public GraphTypesFixture {
protected:
    static void Type(QLineEdit* edit, const char* text)
    {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    static QString Caption(const CGraphTypeEditView& editor)
    {
        const auto* frame = dynamic_cast<CMDIChildFrame*>(editor.GetFrame());
        if (!frame) {
            ADD_FAILURE() << "no window";
            return QString();
        }
        return frame->windowTitle();
    }
    // The template as its file lines, for readable differences.
    static std::string FileText(const CGraphTemplate& graphTemplate)
    {
        CGraphTemplateDatabase database;
        database.InsertAt(0, graphTemplate);
        std::ostringstream out;
        database.Write(out);
        return out.str();
    }
    static CCmdUI State(CGraphTypeEditView& editor, unsigned id)
    {
        CCmdUI ui(id);
        EXPECT_TRUE(editor.OnUpdateCommand(ui)) << id;
        return ui;
    }
};

} // namespace

TEST_F(GraphTypeEditViewTest, EditingATitleAndSavingAnnouncesTheChange)
{
    CRecordingFrame recorder(*m_doc, "recorder");
    CGraphTypeEditView* editor = OpenEditorOn(1);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(Caption(*editor), QStringLiteral("Unity formula (bar) (") +
                                    QString::fromLatin1(g_graphTypeTable[1].shortName) + QStringLiteral(")"));
    EXPECT_EQ(Control(editor->Ctl<QLineEdit>(kGeName)).text(), QStringLiteral("Unity formula (bar)"));
    EXPECT_FALSE(editor->Button(kGeSave)->isEnabled());
    EXPECT_TRUE(Control(editor->Ctl<QRadioButton>(kGeTitleTopAuto)).isChecked());

    // Clicking into a title box switches that title, and only that one, to the custom button.
    QFocusEvent focusIn(QEvent::FocusIn, Qt::MouseFocusReason);
    QApplication::sendEvent(editor->Ctl<QLineEdit>(kGeTitleLeft), &focusIn);
    EXPECT_TRUE(Control(editor->Ctl<QRadioButton>(kGeTitleLeftCustom)).isChecked());
    EXPECT_TRUE(Control(editor->Ctl<QRadioButton>(kGeTitleTopAuto)).isChecked());
    EXPECT_TRUE(Control(editor->Ctl<QRadioButton>(kGeTitleBottomAuto)).isChecked());
    // Typing a title of one's own switches its group to the custom button.
    Type(editor->Ctl<QLineEdit>(kGeTitleTop), "My unity chart");
    EXPECT_TRUE(Control(editor->Ctl<QRadioButton>(kGeTitleTopCustom)).isChecked());
    EXPECT_TRUE(Control(editor->Ctl<QRadioButton>(kGeTitleBottomAuto)).isChecked()) << "the other titles keep theirs";
    EXPECT_TRUE(editor->IsChanged());
    EXPECT_TRUE(editor->Button(kGeSave)->isEnabled());
    EXPECT_EQ(RecordAt(m_doc->Database(), 1).ttltop, "") << "nothing stored yet";

    QTest::mouseClick(editor->Button(kGeSave), Qt::LeftButton);
    const CGraphTemplate& saved = m_doc->Database().GetAt(1);
    EXPECT_EQ(saved.ttltop, "My unity chart");
    EXPECT_EQ(saved.ttltopa, 0);
    EXPECT_FALSE(editor->IsChanged());
    EXPECT_TRUE(m_doc->IsModified());
    ASSERT_EQ(recorder.view->received.size(), 1u);
    EXPECT_EQ(recorder.view->At(0).kind, 6);
    EXPECT_EQ(recorder.view->At(0).code, 18);
    EXPECT_EQ(recorder.view->At(0).index, 1);
    EXPECT_EQ(m_view->GetSelItems(), std::vector<int>{1}) << "the list selects the changed template";

    // After the save the form takes edits again.
    Type(editor->Ctl<QLineEdit>(kGeTitleBottom), "Below");
    EXPECT_TRUE(Control(editor->Ctl<QRadioButton>(kGeTitleBottomCustom)).isChecked());
    EXPECT_TRUE(editor->IsChanged());

    // The notes button opens the notes for editing under "<name> - Notes"; new notes are an edit to save.
    editor->SaveToDatabase();
    ASSERT_FALSE(editor->IsChanged());
    QString title;
    bool readOnly = true;
    WhenModal<CEditTextDlg>([&](CEditTextDlg& dialog) {
        title = dialog.windowTitle();
        readOnly = dialog.TextEdit()->isReadOnly();
        dialog.TextEdit()->setPlainText(QStringLiteral("For the bar charts."));
        dialog.TextEdit()->document()->setModified(true);
        dialog.OkButton()->click();
    });
    ASSERT_NE(editor->Ctl<QPushButton>(kGeNotesButton), nullptr);
    QTest::mouseClick(editor->Ctl<QPushButton>(kGeNotesButton), Qt::LeftButton);
    EXPECT_EQ(title, QStringLiteral("Unity formula (bar) - Notes"));
    EXPECT_FALSE(readOnly);
    EXPECT_EQ(Control(editor->Ctl<QPlainTextEdit>(kGeNotes)).toPlainText(), QStringLiteral("For the bar charts."));
    EXPECT_TRUE(editor->IsChanged());

    // Every page, for the record.
    auto* frame = dynamic_cast<CMDIChildFrame*>(editor->GetFrame());
    ASSERT_NE(frame, nullptr);
    frame->showNormal();
    frame->adjustSize();
    static const char* const kPages[] = {"type_titles", "styles", "axes", "data", "data_sources", "graph"};
    for (int page = 1; page <= kGraphEditPageCount; ++page) {
        QTest::mouseClick(editor->TabButton(page), Qt::LeftButton);
        EXPECT_EQ(editor->CurrentPage(), page);
        EXPECT_TRUE(editor->PageWidget(page)->isVisible());
        QApplication::processEvents();
        frame->grab().save(ScreenshotPath((std::string("graph_template_editor_") + kPages[page - 1]).c_str()));
    }
    EXPECT_FALSE(editor->IsPreviewStale()) << "the Graph page draws the form's state";
}

TEST_F(GraphTypeEditViewTest, EveryShippedTemplateSurvivesTheForm)
{
    CGraphTypeEditView* editor = OpenEditorOn(0);
    ASSERT_NE(editor, nullptr);
    for (int i = 0; i < m_doc->Database().GetCount(); ++i) {
        editor->LoadRecord(i);
        // As the form stores: into its working copy, which holds the settings without a control
        // (ovftype) and the fields the graph type disables.
        CGraphTemplate stored = RecordAt(m_doc->Database(), i);
        editor->StoreControlsIntoTemplate(stored);
        EXPECT_EQ(FileText(stored), FileText(m_doc->Database().GetAt(i)));
        EXPECT_EQ(stored, m_doc->Database().GetAt(i)) << RecordAt(m_doc->Database(), i).m_name;
    }
    // No shipped template is in % Molecular units; one survives the form as well.
    CGraphTemplate molecular = RecordAt(m_doc->Database(), 0);
    molecular.oxtype = kGraphUnitMolePercent;
    molecular.txmainfam = RecordAt(m_doc->Database(), 0).txmainfam == 2 ? 1 : 2;
    m_doc->SetTemplate(0, molecular);
    editor->LoadRecord(0);
    EXPECT_EQ(Control(editor->Ctl<QRadioButton>(kGeUnitsMolecular)).text(), QStringLiteral("%  Molecular"));
    CGraphTemplate stored = molecular;
    stored.oxtype = kGraphUnitUnity;
    stored.txmainfam = 0;
    editor->StoreControlsIntoTemplate(stored);
    EXPECT_EQ(stored.oxtype, kGraphUnitMolePercent);
    EXPECT_EQ(stored.txmainfam, molecular.txmainfam) << "the main title's font, the first text style";
}

// No control of a page covers another, and each page names its fields and rows of buttons.
TEST_F(GraphTypeEditViewTest, NoControlOfAPageCoversAnother)
{
    CGraphTypeEditView* editor = OpenEditorOn(0);
    ASSERT_NE(editor, nullptr);
    std::string labels;
    for (int page = 1; page <= 6; ++page) {
        editor->ShowPage(page);
        ASSERT_NE(editor->PageWidget(page), nullptr);
        EXPECT_EQ(OverlappingControls(*editor->PageWidget(page)), std::vector<std::string>()) << "page " << page;
        labels += "page " + std::to_string(page) + "\n";
        for (const QLabel* label : editor->PageWidget(page)->findChildren<QLabel*>())
            labels += "  " + label->text().toStdString() + "\n";
    }
    ExpectSameAsFile(labels, "graphs/expected/template_editor_labels.txt");
}

TEST_F(GraphTypeEditViewTest, StylesAxesAndDataFields)
{
    CGraphTypeEditView* editor = OpenEditorOn(1);
    ASSERT_NE(editor, nullptr);
    const CGraphTemplate original = m_doc->Database().GetAt(1);

    // The KNaO code (0) is not offered in the list; choosing fields keeps it in its place.
    CGraphTemplate withKNaO = original;
    withKNaO.bpoxides = "105,0,14";
    m_doc->SetTemplate(1, withKNaO);
    editor->LoadRecord(1);
    // The Y axis's tick count is for manual settings only.
    QCheckBox* yManual = editor->Ctl<QCheckBox>(kGeYManual);
    for (int click = 0; click < 2; ++click) {
        yManual->click();
        EXPECT_EQ(editor->Control(kGeYTicks)->isEnabled(), yManual->isChecked());
        EXPECT_EQ(editor->Control(kGeYMin)->isEnabled(), yManual->isChecked());
    }
    // Bar width and depth are shown as 100 minus the stored gap, once 3-D bars are on.
    EXPECT_EQ(Control(editor->Ctl<QLineEdit>(kGeBarWidth3D)).text().toInt(), 100 - original.xgap3d);
    EXPECT_FALSE(editor->Control(kGeBarWidth3D)->isEnabled());
    EXPECT_FALSE(editor->Control(kGeThickness)->isEnabled());
    editor->ShowPage(2);
    Control(editor->Ctl<QCheckBox>(kGe3D)).click();
    EXPECT_TRUE(editor->Control(kGeBarWidth3D)->isEnabled());
    EXPECT_TRUE(editor->Control(kGeThickness)->isEnabled()) << "3-D bars have a thickness";
    Type(editor->Ctl<QLineEdit>(kGeBarWidth3D), "30");
    // "Bold italic" for the legend.
    Control(editor->Ctl<QListWidget>(kGeTextGroups)).setCurrentRow(5);
    QComboBox* style = editor->Ctl<QComboBox>(kGeTextStyle);
    EXPECT_FALSE(style->isEditable()) << "a style is chosen, not typed";
    style->setCurrentIndex(style->findText(QStringLiteral("Bold italic")));
    emit style->activated(style->currentIndex());
    Type(editor->Ctl<QLineEdit>(kGeTextSize), "120");
    // The side titles' style set and then set back to the first one, "Plain".
    Control(editor->Ctl<QListWidget>(kGeTextGroups)).setCurrentRow(1);
    style->setCurrentIndex(style->findText(QStringLiteral("Bold italic")));
    emit style->activated(style->currentIndex());
    style->setCurrentIndex(0);
    emit style->activated(0);
    Control(editor->Ctl<QListWidget>(kGeTextGroups)).setCurrentRow(0);
    EXPECT_EQ(style->currentData().toInt(), original.txmainsty) << "the top title keeps its own style";
    QListWidget* fields = editor->Ctl<QListWidget>(kGeFields);
    ASSERT_GE(fields->count(), 2);
    EXPECT_TRUE(ListRow(fields, 0).isSelected()) << "All Alkalis";
    ListRow(fields, 0).setSelected(false);
    ListRow(fields, 1).setSelected(true);
    // The first variable a scatter axis offers is a choice like any other.
    QComboBox* scatterX = editor->Ctl<QComboBox>(kGeScatterX);
    ASSERT_GT(scatterX->count(), 1);
    const int firstVariable = scatterX->itemData(0).toInt();
    ASSERT_NE(original.xoxide, firstVariable);
    scatterX->setCurrentIndex(0);
    editor->SaveToDatabase();
    const CGraphTemplate& saved = m_doc->Database().GetAt(1);
    EXPECT_EQ(saved.xoxide, firstVariable);
    EXPECT_EQ(saved.xgap3d, 70);
    EXPECT_EQ(saved.txlegsty, 48);
    EXPECT_EQ(saved.txlegsiz, 120);
    EXPECT_EQ(saved.txlrbsty, style->itemData(0).toInt());
    EXPECT_EQ(saved.bpoxides, "0,14," + ListRow(fields, 1).data(Qt::UserRole).toString().toStdString());

    // The graph type decides what can be set.
    QComboBox* type = editor->Ctl<QComboBox>(kGeType);
    type->setCurrentIndex(type->findData(int(kGraphTriaxial)));
    emit type->activated(type->currentIndex());
    EXPECT_EQ(Control(editor->Ctl<QCheckBox>(kGeGridX)).text(), QStringLiteral("Grid"));
    EXPECT_TRUE(editor->Control(kGeImage)->isEnabled());
    EXPECT_FALSE(editor->Control(kGeHistogramX)->isEnabled());
    EXPECT_TRUE(editor->Control(kGeScatterX)->isEnabled()) << "the triangle's corners";
    type->setCurrentIndex(type->findData(int(kGraphOnePieOxides)));
    emit type->activated(type->currentIndex());
    EXPECT_FALSE(editor->Control(kGeScatterX)->isEnabled()) << "a pie has no scatter axes";
    type->setCurrentIndex(type->findData(int(kGraphTriaxial)));
    emit type->activated(type->currentIndex());
    EXPECT_EQ(Control(editor->Ctl<QRadioButton>(kGeDsSpecificGlazes)).text(), QStringLiteral("Specific glazes :"));
    EXPECT_TRUE(Caption(*editor).endsWith(QString::fromLatin1(g_graphTypeTable[kGraphTriaxial].shortName) + ")"));
    type->setCurrentIndex(type->findData(int(kGraphOnePieOxides)));
    emit type->activated(type->currentIndex());
    EXPECT_EQ(Control(editor->Ctl<QCheckBox>(kGeLabels)).text(), QStringLiteral("Segment Labels"));
    EXPECT_FALSE(editor->Control(kGeXAxisBox)->isEnabled());
    EXPECT_EQ(Control(editor->Ctl<QRadioButton>(kGeDsSpecificGlazes)).text(), QStringLiteral("Specific glaze :"));
    // No Legend is offered on the kinds that draw a legend.
    std::vector<int> legends;
    for (int kind = 0; kind < kGraphTypeCount; ++kind) {
        type->setCurrentIndex(type->findData(kind));
        emit type->activated(type->currentIndex());
        if (editor->Control(kGeNoLegend)->isEnabled())
            legends.push_back(kind);
    }
    EXPECT_EQ(legends, (std::vector<int>{3, 6, 13, 15, 16, 18, 19, 20, 21, 22, 23, 24}));
    // The average against a limit formula draws many glazes.
    type->setCurrentIndex(type->findData(int(kGraphAverageLimitFormula)));
    emit type->activated(type->currentIndex());
    EXPECT_EQ(Control(editor->Ctl<QRadioButton>(kGeDsSpecificGlazes)).text(), QStringLiteral("Specific glazes :"));
}

TEST_F(GraphTypeEditViewTest, PreviousNextSubsetAndSaveAsNew)
{
    CGraphTypeEditView* editor = OpenEditorOn(0);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->Button(kGePrevious)->text(), QStringLiteral("Insert New"));
    editor->LoadRecord(kShippedCount - 1);
    EXPECT_EQ(editor->Button(kGeNext)->text(), QStringLiteral("Append New"));
    EXPECT_EQ(editor->Button(kGePrevious)->text(), QStringLiteral("Edit Previous"));
    QTest::mouseClick(editor->Button(kGeNext), Qt::LeftButton);
    ASSERT_EQ(m_doc->Database().GetCount(), kShippedCount + 1);
    EXPECT_EQ(editor->CurrentIndex(), kShippedCount);
    EXPECT_EQ(LastItem(Names()), "new graph template");

    // Ctrl+S on any page saves, appends after the last template and leaves the new name selected.
    Type(editor->Ctl<QLineEdit>(kGeTitleBottom), "saved by key");
    editor->ShowPage(2);
    QTest::keyClick(editor->Control(kGeLabels), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(RecordAt(m_doc->Database(), kShippedCount).ttlbot, "saved by key");
    ASSERT_EQ(m_doc->Database().GetCount(), kShippedCount + 2);
    EXPECT_EQ(editor->CurrentIndex(), kShippedCount + 1);
    EXPECT_EQ(editor->CurrentPage(), 1);
    EXPECT_EQ(Control(editor->Ctl<QLineEdit>(kGeName)).selectedText(), QStringLiteral("new graph template"));

    // A subset of three never inserts or appends; Limited Access goes back to the database.
    Select({2, 4, 6});
    EXPECT_TRUE(m_view->RunCommand(CmdGrtListEditLimited));
    ASSERT_FALSE(Editors().empty());
    CGraphTypeEditView* limited = Editors().back();
    ASSERT_TRUE(limited->IsLimited());
    EXPECT_EQ(limited->CurrentIndex(), 2);
    EXPECT_FALSE(limited->Button(kGePrevious)->isEnabled());
    EXPECT_FALSE(State(*limited, CmdGrtEditInsertNew).m_bEnabled);
    QTest::mouseClick(limited->Button(kGeNext), Qt::LeftButton);
    QTest::mouseClick(limited->Button(kGeNext), Qt::LeftButton);
    EXPECT_EQ(limited->CurrentIndex(), 6);
    EXPECT_FALSE(limited->Button(kGeNext)->isEnabled());
    EXPECT_EQ(State(*limited, CmdGrtEditLimitedAccess).m_nCheck, 1);
    limited->OnCommand(CmdGrtEditLimitedAccess);
    EXPECT_FALSE(limited->IsLimited());
    EXPECT_EQ(limited->Button(kGeNext)->text(), QStringLiteral("Edit Next"));

    // Save as New keeps the stored version and puts the edits in a copy after it.
    Type(limited->Ctl<QLineEdit>(kGeTitleBottom), "edited");
    limited->OnCommand(CmdGrtEditSaveAsNew);
    ASSERT_EQ(m_doc->Database().GetCount(), kShippedCount + 3);
    EXPECT_EQ(RecordAt(m_doc->Database(), 6).m_name, "Silica and alumina (scatter)");
    EXPECT_EQ(RecordAt(m_doc->Database(), 6).ttlbot, "");
    EXPECT_EQ(RecordAt(m_doc->Database(), 7).m_name, "Silica and alumina (scatter) (new)");
    EXPECT_EQ(RecordAt(m_doc->Database(), 7).ttlbot, "edited");
    EXPECT_EQ(limited->CurrentIndex(), 7);
}

TEST_F(GraphTypeEditViewTest, ClipboardAndAnotherEditorsSave)
{
    CGraphTypeEditView* editor = OpenEditorOn(3);
    CGraphTypeEditView* other = OpenEditorOn(3);
    ASSERT_NE(editor, nullptr);
    ASSERT_NE(other, editor);
    const auto* first = dynamic_cast<QWidget*>(editor->GetFrame());
    const auto* second = dynamic_cast<QWidget*>(other->GetFrame());
    ASSERT_TRUE(first && second);
    EXPECT_NE(second->pos(), first->pos()) << "the second editor stands offset, not over the first";
    Type(editor->Ctl<QLineEdit>(kGeName), "unsaved");
    Type(other->Ctl<QLineEdit>(kGeName), "Saved elsewhere");
    // The editor holding unsaved edits asks before it shows what the other saved; Yes drops them.
    m_messages.answers = {MsgResultYes};
    other->SaveToDatabase();
    ASSERT_EQ(m_messages.boxes.size(), 1u);
    EXPECT_EQ(m_messages.At(0).helpId, 196928u);
    EXPECT_EQ(Control(editor->Ctl<QLineEdit>(kGeName)).text(), QStringLiteral("Saved elsewhere"));
    EXPECT_FALSE(editor->IsChanged());
    m_messages.boxes.clear();

    // Copy takes the form as it stands; Paste loads it as unsaved edits.
    Type(editor->Ctl<QLineEdit>(kGeName), "On the clipboard");
    editor->OnCommand(CmdGrtEditCopy);
    ASSERT_EQ(ClipboardCount(g_graphTemplateClipboard), 1);
    EXPECT_EQ(ClipboardRecord(g_graphTemplateClipboard, 0).m_name, "On the clipboard");
    EXPECT_EQ(ClipboardRecord(g_graphTemplateClipboard, 0).type, 5);
    editor->LoadRecord(0);
    EXPECT_TRUE(State(*editor, CmdGrtEditPaste).m_bEnabled);
    editor->OnCommand(CmdGrtEditPaste);
    EXPECT_EQ(Control(editor->Ctl<QLineEdit>(kGeName)).text(), QStringLiteral("On the clipboard"));
    EXPECT_TRUE(editor->IsChanged());
    EXPECT_EQ(RecordAt(m_doc->Database(), 0).m_name, "Oxide groups (pie)");

    // Closing asks; Cancel keeps the form.
    m_messages.answers = {MsgResultCancel};
    editor->Close();
    ASSERT_EQ(m_messages.boxes.size(), 1u);
    EXPECT_EQ(m_messages.At(0).text, "Save changes to \"On the clipboard\" ?");
    EXPECT_EQ(m_messages.At(0).helpId, 196928u);
    EXPECT_EQ(Editors().size(), 2u);

    // Deleting the template an editor shows closes it without a question.
    Select({3});
    EXPECT_TRUE(m_view->RunCommand(CmdGrtListDelete));
    Flush();
    EXPECT_EQ(Editors().size(), 1u);
    EXPECT_EQ(m_messages.boxes.size(), 1u);
}

TEST_F(GraphTypeEditViewTest, DataSources)
{
    CGraphTemplate named = NewGraphTemplate();
    named.m_name = "named sources";
    CGraphDataSource elsewhere("elsewhere");
    elsewhere.dsdb = kDataSourceNamedDatabase;
    elsewhere.dsdbname = "Closed database";
    elsewhere.dsglz = kDataSourceNamedGlazes;
    elsewhere.dsgname.push_back("Gone glaze");
    named.m_dataSources.InsertAt(1, elsewhere);
    m_doc->InsertTemplate(0, named);
    CGraphTypeEditView* editor = OpenEditorOn(0);
    ASSERT_NE(editor, nullptr);
    QListWidget* sources = editor->Ctl<QListWidget>(kGeDsList);
    ASSERT_EQ(sources->count(), 2);
    sources->setCurrentRow(1);
    QListWidget* databases = editor->Ctl<QListWidget>(kGeDsDatabases);
    ASSERT_NE(databases->currentItem(), nullptr);
    EXPECT_EQ(databases->currentItem()->text(), QStringLiteral("(?) Closed database"));
    ASSERT_EQ(Control(editor->Ctl<QListWidget>(kGeDsGlazes)).count(), 1);
    EXPECT_EQ(ListRow(editor->Ctl<QListWidget>(kGeDsGlazes), 0).text(), QStringLiteral("(?) Gone glaze"));
    editor->SaveToDatabase();
    ASSERT_EQ(RecordAt(m_doc->Database(), 0).m_dataSources.size(), 2u);
    EXPECT_EQ(RecordAt(m_doc->Database(), 0).m_dataSources.GetAt(1), elsewhere) << "unknown names are kept";
    // Leaving the named database leaves its named glazes for all glazes.
    Control(editor->Ctl<QRadioButton>(kGeDsCurrentDb)).click();
    EXPECT_TRUE(Control(editor->Ctl<QRadioButton>(kGeDsAllGlazes)).isChecked());
    Control(editor->Ctl<QRadioButton>(kGeDsSpecificDb)).click();

    // A specific database with one checked glaze names the source after the glaze.
    databases->setCurrentRow(0);
    editor->ChooseDatabaseRow(0);
    ASSERT_NE(databases->currentItem(), nullptr);
    EXPECT_EQ(databases->currentItem()->text(), QStringLiteral("Starter Glazes"));
    QListWidget* glazes = editor->Ctl<QListWidget>(kGeDsGlazes);
    ASSERT_GT(glazes->count(), 1);
    ListRow(glazes, 1).setCheckState(Qt::Checked);
    EXPECT_TRUE(Control(editor->Ctl<QRadioButton>(kGeDsSpecificGlazes)).isChecked());
    QTest::mouseClick(editor->Ctl<QPushButton>(kGeDsSetName), Qt::LeftButton);
    EXPECT_EQ(Control(editor->Ctl<QLineEdit>(kGeDsName)).text(), ListRow(glazes, 1).text());
    EXPECT_EQ(ListRow(sources, 1).text(), ListRow(glazes, 1).text());
    QTest::mouseClick(editor->Ctl<CColorSwatchButton>(kGeDsFirstColor + 9), Qt::LeftButton);
    QTest::mouseClick(editor->Ctl<QRadioButton>(kGeDsFirstColorSet + 3), Qt::LeftButton);
    editor->StoreCurrentDataSource();
    ASSERT_EQ(editor->WorkingDataSources().size(), 2u);
    EXPECT_EQ(RecordAt(editor->WorkingDataSources(), 1).dscol, 3 * 16 + 9);

    // Deleting the last data source leaves none current.
    QTest::mouseClick(editor->Ctl<QPushButton>(kGeDsDelete), Qt::LeftButton);
    EXPECT_EQ(editor->WorkingDataSources().size(), 1u);
    EXPECT_EQ(editor->CurrentDataSource(), -1);
    // A new data source is an edit to save.
    editor->SaveToDatabase();
    ASSERT_FALSE(editor->IsChanged());
    QTest::mouseClick(editor->Ctl<QPushButton>(kGeDsAdd), Qt::LeftButton);
    EXPECT_TRUE(editor->IsChanged());
    ASSERT_EQ(editor->WorkingDataSources().size(), 2u);
    EXPECT_EQ(RecordAt(editor->WorkingDataSources(), 1).m_name, "new data source");
    EXPECT_EQ(editor->CurrentDataSource(), 1);

    // A hatch's swatch shows its hatch: more than one colour inside its frame (the diagonal
    // cross, the last hatch, too).
    const auto coloursInside = [editor](int k) {
        const QImage image = editor->Ctl<QWidget>(kGeDsFirstPattern + k)->grab().toImage();
        std::set<QRgb> colours;
        for (int y = image.height() / 3; y < image.height() * 2 / 3; ++y) {
            for (int x = image.width() / 3; x < image.width() * 2 / 3; ++x)
                colours.insert(image.pixel(x, y));
        }
        return colours.size();
    };
    for (int k = 2; k <= 6; ++k)
        EXPECT_GT(coloursInside(k), 1u) << k;
    // Any fill pattern can be chosen, the first one too; the first data source can be chosen again.
    ASSERT_NE(editor->Ctl<QAbstractButton>(kGeDsFirstPattern + 3), nullptr);
    editor->Ctl<QAbstractButton>(kGeDsFirstPattern + 3)->click();
    editor->StoreCurrentDataSource();
    EXPECT_EQ(RecordAt(editor->WorkingDataSources(), 1).dspat, 3);
    const auto* chosen = editor->Ctl<CMarkerButton>(kGeDsFirstPattern + 3);
    const auto* first = editor->Ctl<CMarkerButton>(kGeDsFirstPattern);
    ASSERT_NE(chosen, nullptr);
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(chosen->IsHighlighted()) << "shown as chosen";
    EXPECT_FALSE(first->IsHighlighted());
    ASSERT_NE(editor->Ctl<QAbstractButton>(kGeDsFirstPattern), nullptr);
    editor->Ctl<QAbstractButton>(kGeDsFirstPattern)->click();
    editor->StoreCurrentDataSource();
    EXPECT_EQ(RecordAt(editor->WorkingDataSources(), 1).dspat, 0);
    sources->setCurrentRow(0);
    EXPECT_EQ(editor->CurrentDataSource(), 0);
    EXPECT_EQ(Control(editor->Ctl<QLineEdit>(kGeDsName)).text(),
              QString::fromStdString(RecordAt(editor->WorkingDataSources(), 0).m_name));
}

TEST_F(GraphTypeEditViewTest, PreviewOutputWaitsForTheRedrawAndSummaryShowsEdits)
{
    CGraphTypeEditView* editor = OpenEditorOn(0);
    ASSERT_NE(editor, nullptr);
    editor->ShowPage(6);
    EXPECT_FALSE(editor->IsPreviewStale());
    EXPECT_TRUE(State(*editor, CmdGrtEditCopyGraph).m_bEnabled);
    // A click on a cell of the chart pops up its text; the Graph tab clicked again leaves it
    // open, another page closes it.
    CGraphWnd& chartWindow = Control(Control(editor->PreviewArea()).findChild<CGraphWnd*>());
    ASSERT_NE(chartWindow.Chart(), nullptr);
    const CChart& chart = *chartWindow.Chart();
    const auto cell = std::find_if(chart.Primitives().begin(), chart.Primitives().end(), [&](const CChartPrimitive& p) {
        return p.hitKind == CChartPrimitive::kHitCell && !PixelRect(chart, p).isEmpty();
    });
    ASSERT_NE(cell, chart.Primitives().end());
    QTest::mouseClick(&chartWindow, Qt::LeftButton, {}, PixelRect(chart, *cell).center().toPoint());
    const QPointer<CInfoPopupDlg> popup = editor->findChild<CInfoPopupDlg*>();
    ASSERT_TRUE(popup && popup->isVisible());
    QTest::mouseClick(editor->TabButton(6), Qt::LeftButton);
    EXPECT_TRUE(popup && popup->isVisible());
    editor->ShowPage(1);
    EXPECT_FALSE(popup && popup->isVisible());
    EXPECT_FALSE(editor->IsPreviewStale());
    const int drawn = chartWindow.GetChartHandle();
    editor->ShowPage(6);
    EXPECT_EQ(chartWindow.GetChartHandle(), drawn) << "nothing changed: the chart is not built again";
    editor->ShowPage(1);
    // A glaze database opened, closed or given new notes: the preview is drawn again.
    COxidariumApp::BroadcastUpdate(nullptr, m_doc, static_cast<int>(DbFileType::Glazes), HintDatabaseNotesChanged, 0, 0);
    EXPECT_TRUE(editor->IsPreviewStale());
    // So it is at the end of a change of many glazes at once.
    editor->ShowPage(6);
    editor->ShowPage(1);
    ASSERT_FALSE(editor->IsPreviewStale());
    for (const int code : {HintBulkChangeBegins, HintBulkChangeEndsRefreshAll})
        COxidariumApp::BroadcastUpdate(nullptr, m_doc, static_cast<int>(DbFileType::Glazes), code, 0, 0);
    EXPECT_TRUE(editor->IsPreviewStale());
    Type(editor->Ctl<QLineEdit>(kGeTitleTop), "Unsaved title");
    EXPECT_TRUE(editor->IsPreviewStale());
    EXPECT_FALSE(State(*editor, CmdGrtEditCopyGraph).m_bEnabled) << "disabled until the Graph page redraws";
    EXPECT_FALSE(State(*editor, CmdGrtEditPrintGraph).m_bEnabled);

    // Ctrl+B from the first page wraps to the Graph page, which redraws.
    QTest::keyClick(editor->Ctl<QLineEdit>(kGeName), Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(editor->CurrentPage(), 6);
    EXPECT_FALSE(editor->IsPreviewStale());
    EXPECT_EQ(editor->WorkingTemplate().ttltop, "Unsaved title") << "the preview draws the unsaved form";
    EXPECT_GT(Control(editor->Ctl<QComboBox>(kGeGraphGlaze)).count(), 0) << "the glazes of the chosen database";
    // There Ctrl+Down steps to the next graph type and Ctrl+Up back.
    QComboBox* type = editor->Ctl<QComboBox>(kGeType);
    QTest::keyClick(editor->Ctl<QLineEdit>(kGeName), Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(type->currentData().toInt(), 1);
    QTest::keyClick(editor->Ctl<QLineEdit>(kGeName), Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(type->currentData().toInt(), 0);

    m_dialogs.AnswerClipboard();
    editor->OnCommand(CmdGrtEditWriteSummary);
    EXPECT_EQ(m_dialogs.Last().title, "Graph Template Summary to File...");
    EXPECT_NE(m_clipboard.content.find("Oxide groups (pie)"), std::string::npos) << m_clipboard.content;
    EXPECT_NE(m_clipboard.content.find("Unsaved title"), std::string::npos);
    EXPECT_EQ(editor->PrintMode(), 2);
    EXPECT_EQ(RecordAt(m_doc->Database(), 0).ttltop, "");

    const std::string image = (m_dir / "chart").string();
    m_dialogs.AnswerPath(image, 1);
    editor->OnCommand(CmdGrtEditWriteGraphFile);
    EXPECT_EQ(m_dialogs.Last().title, "Graph to File...");
    EXPECT_TRUE(fs::exists(image + ".png"));
    EXPECT_EQ(editor->PrintMode(), 1);
}

// Regression: a background image named with a letter beyond ASCII never loaded when typed (the
// template keeps Windows-1252 text, which the chart opened as the file system's UTF-8 bytes), and
// Browse put the UTF-8 bytes into the field, shown as "Glasur-Ã¤.png". Typed or browsed, the field
// shows the name, the template keeps it as Windows-1252 text and the chart finds the file; a name
// that Windows-1252 cannot hold is refused, its characters named.
TEST_F(GraphTypeEditViewTest, ABackgroundImageNamedBeyondAsciiIsFoundTypedOrBrowsed)
{
    const QString typed = QString::fromStdString(m_dir.string()) + QStringLiteral("/Glasur-\u00e4.png");
    const QString browsed = QString::fromStdString(m_dir.string()) + QStringLiteral("/Glasur-\u00f6.png");
    QImage picture(32, 24, QImage::Format_RGB32);
    picture.fill(QColor(250, 220, 160));
    ASSERT_TRUE(picture.save(typed, "PNG"));
    ASSERT_TRUE(picture.save(browsed, "PNG"));
    int scatter = -1;
    for (int i = 0; i < m_doc->Database().GetCount() && scatter < 0; ++i)
        scatter = RecordAt(m_doc->Database(), i).type == kGraphScatter ? i : -1;
    ASSERT_GE(scatter, 0);
    CGraphTypeEditView* editor = OpenEditorOn(scatter);
    ASSERT_NE(editor, nullptr);
    QLineEdit& field = Control(editor->Ctl<QLineEdit>(kGeImage));
    const auto drawsTheImage = [&](const QString& name) {
        editor->ShowPage(6);
        const CGraphWnd* window = Control(editor->PreviewArea()).findChild<CGraphWnd*>();
        ASSERT_NE(window, nullptr);
        ASSERT_NE(window->GetGraph(), nullptr);
        EXPECT_EQ(window->GetGraph()->m_noticeText, "") << name.toStdString();
        ASSERT_NE(window->Chart(), nullptr);
        EXPECT_TRUE(std::ranges::any_of(window->Chart()->Primitives(), [](const CChartPrimitive& p) {
            return p.type == CChartPrimitive::Type::Image;
        })) << name.toStdString();
        editor->SaveToDatabase();
        EXPECT_EQ(RecordAt(m_doc->Database(), scatter).ovfile, ToCp1252(name));
    };
    editor->ShowPage(1);
    field.setFocus();
    field.selectAll();
    field.insert(typed);
    drawsTheImage(typed);

    editor->ShowPage(1);
    m_dialogs.AnswerPath(browsed.toStdString());
    Control(editor->Ctl<QPushButton>(kGeImageBrowse)).click();
    EXPECT_EQ(field.text().toStdString(), browsed.toStdString());
    drawsTheImage(browsed);

    editor->ShowPage(1);
    m_dialogs.AnswerPath(m_dir.string() + "/Glasur-\xCE\xB1.png"); // alpha
    Control(editor->Ctl<QPushButton>(kGeImageBrowse)).click();
    EXPECT_EQ(m_messages.Last().text,
              "These characters cannot be stored in the program's files and were not entered: \x81" "3B1; (U+03B1).");
    EXPECT_EQ(field.text().toStdString(), browsed.toStdString());
}

TEST_F(GraphTypeEditViewTest, ThreeDValuesAreShownAsWidthsAndTheTypeDecidesTheAxes)
{
    CGraphTemplate bars = m_doc->Database().GetAt(1);
    bars.piebar3d = 1;
    bars.true3d = 1;
    bars.persp3d = 1;
    bars.zgap3d = 100;
    bars.eyepos3d = 10;
    m_doc->SetTemplate(1, bars);
    CGraphTypeEditView* editor = OpenEditorOn(1);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(Control(editor->Ctl<QLineEdit>(kGeBarDepth)).text(), QStringLiteral("0")) << "a gap of 100 is no depth";
    EXPECT_EQ(Control(editor->Ctl<QLineEdit>(kGeDistance)).text(), QStringLiteral("90"));
    ASSERT_TRUE(editor->Control(kGeDistance)->isEnabled());
    EXPECT_TRUE(editor->Control(kGeElevation)->isEnabled()) << "true 3-D bars are seen from a height";
    Type(editor->Ctl<QLineEdit>(kGeDistance), "25");
    editor->SaveToDatabase();
    EXPECT_EQ(RecordAt(m_doc->Database(), 1).eyepos3d, 75);
    EXPECT_EQ(RecordAt(m_doc->Database(), 1).zgap3d, 100);
    // A depth below 0 (a gap beyond the whole) is refused with its range.
    Type(editor->Ctl<QLineEdit>(kGeBarDepth), "-1");
    EXPECT_FALSE(editor->SaveChanges());
    EXPECT_EQ(m_messages.Last().text, "Please enter an integer between 0 and 100.");
    Type(editor->Ctl<QLineEdit>(kGeBarDepth), "0");

    const auto choose = [editor](int type) {
        QComboBox* types = editor->Ctl<QComboBox>(kGeType);
        types->setCurrentIndex(types->findData(type));
        emit types->activated(types->currentIndex());
    };
    // A 3-D pie has a thickness and oxide fields, but no cage to turn and no background image.
    choose(kGraphOnePieOxides);
    EXPECT_TRUE(editor->Control(kGeThickness)->isEnabled());
    EXPECT_FALSE(editor->Control(kGeRotation)->isEnabled());
    EXPECT_TRUE(editor->Control(kGeFields)->isEnabled());
    EXPECT_FALSE(editor->Control(kGeImage)->isEnabled());
    // The triaxial chart: a grid, a scale instead of a thickness, bottom and left axes.
    choose(kGraphTriaxial);
    EXPECT_TRUE(editor->Control(kGeImage)->isEnabled());
    EXPECT_FALSE(editor->Control(kGeFields)->isEnabled()) << "its oxides are the corners";
    EXPECT_TRUE(editor->Control(kGeScatterZ)->isEnabled()) << "the third corner";
    EXPECT_FALSE(editor->Control(kGeElevation)->isEnabled());
    EXPECT_EQ(Control(editor->Ctl<QCheckBox>(kGeGridX)).text(), QStringLiteral("Grid"));
    EXPECT_FALSE(editor->Control(kGeGridY)->isEnabled());
    EXPECT_EQ(Control(qobject_cast<QLabel*>(editor->Control(kGeThicknessLabel))).text(),
              QStringLiteral("X/Y Scale (10-200)"));
    EXPECT_EQ(Control(qobject_cast<QGroupBox*>(editor->Control(kGeXAxisBox))).title(), QStringLiteral("Bottom Axis"));
    EXPECT_EQ(Control(qobject_cast<QGroupBox*>(editor->Control(kGeYAxisBox))).title(), QStringLiteral("Left Axis"));
    EXPECT_FALSE(editor->Control(kGeSticks)->isEnabled());
    EXPECT_FALSE(editor->Control(kGeZAxisBox)->isEnabled());

    // The 3-D scatter: the Z axis, its manual settings once ticked, and sticks; no bars.
    choose(23);
    EXPECT_TRUE(editor->Control(kGeSticks)->isEnabled());
    EXPECT_FALSE(editor->Control(kGeHorizontalBars)->isEnabled());
    EXPECT_TRUE(editor->Control(kGeZAxisBox)->isEnabled());
    EXPECT_TRUE(editor->Control(kGeZManual)->isEnabled());
    EXPECT_TRUE(editor->Control(kGeThickness)->isEnabled());
    EXPECT_EQ(Control(editor->Ctl<QCheckBox>(kGeGridX)).text(), QStringLiteral("X Grid"));
    EXPECT_EQ(Control(qobject_cast<QGroupBox*>(editor->Control(kGeXAxisBox))).title(), QStringLiteral("X Axis"));
    if (Control(editor->Ctl<QCheckBox>(kGeZManual)).isChecked())
        Control(editor->Ctl<QCheckBox>(kGeZManual)).click();
    EXPECT_FALSE(editor->Control(kGeZMin)->isEnabled());
    Control(editor->Ctl<QCheckBox>(kGeZManual)).click();
    EXPECT_TRUE(editor->Control(kGeZMin)->isEnabled());
    EXPECT_TRUE(editor->Control(kGeZMinorTicks)->isEnabled());
}

namespace {

// Records the body lines a text printer draws: the texts of one baseline joined.
class CLineRecorder : public CTextPrinterCanvas {
public:
    int PageWidth() override { return 8500; }
    int PageHeight() override { return 11000; }
    int LineHeight(int) override { return 160; }
    int TextWidth(int, const std::string& text) override { return 70 * static_cast<int>(text.size()); }
    void DrawText(int, int, int y, Align, const std::string& text) override
    {
        if (y != m_lastY || lines.empty())
            lines.emplace_back();
        lines.back() += text;
        m_lastY = y;
    }
    // A rule as long as a text is that text's underline of minus signs.
    void DrawRule(int x1, int x2, int, int) override
    {
        lines.emplace_back(static_cast<std::size_t>((x2 - x1) / 70), '-');
        m_lastY = -1;
    }

    std::vector<std::string> lines;

private:
    int m_lastY = -1;
};

std::vector<std::string> NonEmptyLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (line.find_first_not_of(' ') != std::string::npos)
            lines.push_back(line);
    }
    return lines;
}

} // namespace

TEST_F(GraphTypeEditViewTest, TheChartPrintsOnOnePageAndTheSummaryPrintsWhatItWrites)
{
    CGraphTypeEditView* editor = OpenEditorOn(1);
    ASSERT_NE(editor, nullptr);
    editor->ShowPage(6);
    ASSERT_FALSE(editor->IsPreviewStale());

    // Print Preview of the chart holds one page.
    int pages = -1;
    QTimer::singleShot(0, [&pages] {
        auto* preview = qobject_cast<CPrintPreviewDlg*>(QApplication::activeModalWidget());
        if (!preview)
            return;
        pages = preview->PageCount();
        preview->grab().save(ScreenshotPath("graph_template_editor_chart_preview"));
        preview->reject();
    });
    editor->OnCommand(CmdGrtEditPreviewGraph);
    EXPECT_EQ(pages, 1);

    // ".PNG" typed under the PNG filter keeps its name.
    const std::string image = (m_dir / "chart.PNG").string();
    m_dialogs.AnswerPath(image, 1);
    editor->OnCommand(CmdGrtEditWriteGraphFile);
    EXPECT_FALSE(QImage(QString::fromStdString(image)).isNull());
    EXPECT_FALSE(fs::exists(image + ".png"));

    // The summary's printed lines are its written lines, unsaved edits included (typed on a page
    // where the preview is not drawn again).
    g_prefs.prtuseffs = 0;
    editor->ShowPage(1);
    Type(editor->Ctl<QLineEdit>(kGeTitleBottom), "Unsaved bottom title");
    const std::string path = (m_dir / "summary.txt").string();
    m_dialogs.AnswerPath(path);
    editor->OnCommand(CmdGrtEditWriteSummary);
    const std::vector<std::string> written = NonEmptyLines(ReadAll(path));
    CTextPrinter printer;
    CPrintJob::ApplyPreferences(printer);
    editor->FillPrinter(printer);
    CLineRecorder device;
    printer.PrepareDC(device);
    printer.Paginate();
    ASSERT_EQ(printer.GetPageCount(), 1);
    printer.PrintBody(device, 1);
    std::vector<std::string> printed;
    for (const std::string& line : device.lines) {
        if (line.find_first_not_of(' ') != std::string::npos)
            printed.push_back(line);
    }
    EXPECT_EQ(printed, written);
    EXPECT_NE(std::find(written.begin(), written.end(), "  Bottom title: \"Unsaved bottom title\""), written.end())
        << ReadAll(path);
}

// A count typed beyond its range (two billion ticks) was stored, and the chart of the template
// then ran out of memory: the field's range message shows on its page, and nothing is saved.
TEST_F(GraphTypeEditViewTest, CountsOutsideTheirRangesAreNotSaved)
{
    CGraphTypeEditView* editor = OpenEditorOn(6);
    ASSERT_NE(editor, nullptr);
    const CGraphTemplate original = m_doc->Database().GetAt(6);
    editor->ShowPage(3);
    Type(editor->Ctl<QLineEdit>(kGeXTicks), "2147483647");
    editor->ShowPage(1);
    EXPECT_FALSE(editor->SaveChanges());
    ASSERT_EQ(m_messages.boxes.size(), 1u);
    EXPECT_EQ(m_messages.At(0).text, "Please enter an integer between 0 and 1000.");
    EXPECT_EQ(editor->CurrentPage(), 3);
    EXPECT_EQ(m_doc->Database().GetAt(6), original);
    // The save question's Yes keeps the form open on the field.
    m_messages.answers = {MsgResultYes};
    EXPECT_EQ(editor->AskSaveChanges(), FormAnswer::Cancel);
    EXPECT_EQ(m_messages.Last().text, "Please enter an integer between 0 and 1000.");
    // A count or a bound is all number: "10x" is no 10, "0,5" no 0.
    Type(editor->Ctl<QLineEdit>(kGeXTicks), "10x");
    EXPECT_FALSE(editor->SaveChanges());
    EXPECT_EQ(m_messages.Last().text, "Please enter an integer between 0 and 1000.");
    Type(editor->Ctl<QLineEdit>(kGeXTicks), "1000");
    Type(editor->Ctl<QLineEdit>(kGeXMax), "0,5");
    EXPECT_FALSE(editor->SaveChanges());
    EXPECT_EQ(m_messages.Last().text, "Please enter a number.");
    EXPECT_EQ(m_doc->Database().GetAt(6), original);
    Type(editor->Ctl<QLineEdit>(kGeXMax), "0.5");
    EXPECT_TRUE(editor->SaveChanges());
    EXPECT_EQ(RecordAt(m_doc->Database(), 6).xtick, 1000);
    EXPECT_EQ(RecordAt(m_doc->Database(), 6).xmax, 0.5);

    // Sizes have theirs; a field shown as 100 minus the value keeps 0 to 100: the bar width of a
    // flat bar chart, the eye distance of a 3-D scatter seen in perspective.
    editor->LoadRecord(1);
    ASSERT_EQ(RecordAt(m_doc->Database(), 1).m_name, "Unity formula (bar)");
    Type(editor->Ctl<QLineEdit>(kGeBarWidth), "-2147483648");
    EXPECT_FALSE(editor->SaveChanges());
    EXPECT_EQ(m_messages.Last().text, "Please enter an integer between 0 and 100.");
    EXPECT_EQ(editor->CurrentPage(), 2);
    Type(editor->Ctl<QLineEdit>(kGeBarWidth), "100");
    EXPECT_TRUE(editor->SaveChanges());
    EXPECT_EQ(RecordAt(m_doc->Database(), 1).barwid, 100);
    int scatter3d = 0;
    while (scatter3d < m_doc->Database().GetCount() && RecordAt(m_doc->Database(), scatter3d).type != 23)
        ++scatter3d;
    editor->LoadRecord(scatter3d);
    ASSERT_EQ(RecordAt(m_doc->Database(), scatter3d).persp3d, 1);
    Type(editor->Ctl<QLineEdit>(kGeDistance), "101");
    EXPECT_FALSE(editor->SaveChanges());
    EXPECT_EQ(m_messages.Last().text, "Please enter an integer between 0 and 100.");
    Type(editor->Ctl<QLineEdit>(kGeDistance), "0");
    EXPECT_TRUE(editor->SaveChanges());
    EXPECT_EQ(RecordAt(m_doc->Database(), scatter3d).eyepos3d, 100);

    // A text size typed for one group and left for another is shown in its group when the save
    // refuses it.
    editor->ShowPage(2);
    QListWidget* groups = editor->Ctl<QListWidget>(kGeTextGroups);
    Control(groups).setCurrentRow(5);
    Type(editor->Ctl<QLineEdit>(kGeTextSize), "1500");
    groups->setCurrentRow(1);
    EXPECT_FALSE(editor->SaveChanges());
    EXPECT_EQ(m_messages.Last().text, "Please enter an integer between 0 and 1000.");
    EXPECT_EQ(groups->currentRow(), 5);
    EXPECT_EQ(editor->Ctl<QLineEdit>(kGeTextSize)->text(), QStringLiteral("1500"));
    Type(editor->Ctl<QLineEdit>(kGeTextSize), "150");
    EXPECT_TRUE(editor->SaveChanges());
    EXPECT_EQ(RecordAt(m_doc->Database(), scatter3d).txlegsiz, 150);
}

// Regression: a value the file held outside its range in a field the graph type disables
// (xtickm = 150 of a pie) refused every save of its template, by Save Changes, Yes to the save
// question, Edit Next or Close, over a field the user cannot touch. What the type disables is
// neither checked nor stored: it keeps its value as stored.
TEST_F(GraphTypeEditViewTest, FieldsTheGraphTypeDisablesAreNeitherCheckedNorStored)
{
    CGraphTemplate pie = RecordAt(m_doc->Database(), 0);
    ASSERT_EQ(pie.m_name, "Oxide groups (pie)");
    pie.xtickm = 150;
    m_doc->SetTemplate(0, pie);
    CGraphTypeEditView* editor = OpenEditorOn(0);
    ASSERT_NE(editor, nullptr);
    EXPECT_FALSE(editor->Ctl<QLineEdit>(kGeXMinorTicks)->isEnabled());
    EXPECT_FALSE(editor->Ctl<QLineEdit>(kGeBarWidth)->isEnabled());
    EXPECT_FALSE(editor->Ctl<QLineEdit>(kGeXMax)->isEnabled());
    EXPECT_FALSE(editor->Ctl<QAbstractButton>(kGeXBottom)->isEnabled()) << "a pie has no axes";
    EXPECT_TRUE(editor->Ctl<QAbstractButton>(kGeBorders)->isEnabled()) << "its slices have borders";
    Type(editor->Ctl<QLineEdit>(kGeTitleTop), "Groups");
    EXPECT_TRUE(editor->SaveChanges());
    EXPECT_EQ(RecordAt(m_doc->Database(), 0).ttltop, "Groups");
    EXPECT_EQ(RecordAt(m_doc->Database(), 0).xtickm, 150);
    // A disabled field holding what no save takes (as the editor would load it) is left alone too.
    Control(editor->Ctl<QLineEdit>(kGeBarWidth)).setText(QStringLiteral("-5"));
    Control(editor->Ctl<QLineEdit>(kGeXMax)).setText(QStringLiteral("0,5"));
    Type(editor->Ctl<QLineEdit>(kGeTitleTop), "Oxide groups");
    m_messages.answers = {MsgResultYes};
    ASSERT_EQ(editor->AskSaveChanges(), FormAnswer::Save);
    editor->SaveToDatabase();
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Save changes to \"Oxide groups (pie)\" ?"});
    EXPECT_EQ(RecordAt(m_doc->Database(), 0).ttltop, "Oxide groups");
    EXPECT_EQ(RecordAt(m_doc->Database(), 0).barwid, pie.barwid);
    EXPECT_EQ(RecordAt(m_doc->Database(), 0).xmax, pie.xmax);
    EXPECT_EQ(RecordAt(m_doc->Database(), 0).xtickm, 150);
    // A scatter has no bars or slices to border.
    CGraphTypeEditView* scatter = OpenEditorOn(6);
    ASSERT_NE(scatter, nullptr);
    ASSERT_EQ(scatter->Ctl<QLineEdit>(kGeName)->text(), QStringLiteral("Silica and alumina (scatter)"));
    EXPECT_FALSE(scatter->Ctl<QAbstractButton>(kGeBorders)->isEnabled());
    EXPECT_TRUE(scatter->Ctl<QAbstractButton>(kGeXBottom)->isEnabled());
}

namespace {

// "Get Selected" checks the glazes selected in the chosen database, which makes the form changed;
// saving keeps them.
TEST_F(GraphTypeEditViewTest, GetSelectedTakesTheGlazesSelectedInTheDatabase)
{
    CGraphTemplate picked = NewGraphTemplate();
    picked.m_name = "picked glazes";
    m_doc->InsertTemplate(0, picked);
    CGraphTypeEditView* editor = OpenEditorOn(0);
    ASSERT_NE(editor, nullptr);
    Control(editor->Ctl<QListWidget>(kGeDsList)).setCurrentRow(0);
    Control(editor->Ctl<QRadioButton>(kGeDsSpecificDb)).click();
    Control(editor->Ctl<QListWidget>(kGeDsDatabases)).setCurrentRow(0);
    editor->ChooseDatabaseRow(0);
    editor->SaveToDatabase();
    m_glazeDoc->ClearSelection();
    m_glazeDoc->SelectGlaze(2);
    ASSERT_FALSE(editor->IsChanged());
    QTest::mouseClick(editor->Ctl<QPushButton>(kGeDsGetSelected), Qt::LeftButton);
    EXPECT_TRUE(editor->IsChanged()) << "closing the form must ask to save the new glazes";
    QListWidget* glazes = editor->Ctl<QListWidget>(kGeDsGlazes);
    ASSERT_GT(glazes->count(), 2);
    EXPECT_EQ(ListRow(glazes, 2).checkState(), Qt::Checked);
    EXPECT_EQ(ListRow(glazes, 1).checkState(), Qt::Unchecked);
    editor->SaveToDatabase();
    ASSERT_FALSE(RecordAt(m_doc->Database(), 0).m_dataSources.empty());
    const CGraphDataSource& saved = RecordAt(m_doc->Database(), 0).m_dataSources.GetAt(0);
    ASSERT_EQ(saved.dsgname.size(), 1u);
    EXPECT_EQ(saved.dsgname[0], Found(m_glazeDoc->GetGlaze(2)).m_name);
    // Opened again, the form shows the saved glaze checked.
    editor->LoadRecord(0);
    Control(editor->Ctl<QListWidget>(kGeDsList)).setCurrentRow(0);
    EXPECT_EQ(ListRow(editor->Ctl<QListWidget>(kGeDsGlazes), 2).checkState(), Qt::Checked);
}


// Typing in the notes changes the form.
TEST_F(GraphTypeEditViewTest, TypingNotesChangesTheForm)
{
    CGraphTypeEditView* editor = OpenEditorOn(0);
    ASSERT_NE(editor, nullptr);
    ASSERT_FALSE(editor->IsChanged());
    QPlainTextEdit* notes = editor->Ctl<QPlainTextEdit>(kGeNotes);
    notes->setFocus();
    QTest::keyClicks(notes, "Glossy");
    EXPECT_TRUE(editor->IsChanged()) << "closing the form must ask to save the notes";
}

// A data source that names the first open database shows that database chosen in the list.
TEST_F(GraphTypeEditViewTest, ADataSourceNamingTheFirstDatabaseShowsItChosen)
{
    CGraphTemplate named = NewGraphTemplate();
    named.m_name = "first database";
    CGraphDataSource first("first");
    first.dsdb = kDataSourceNamedDatabase;
    first.dsdbname = "starter glazes";
    named.m_dataSources.InsertAt(1, first);
    m_doc->InsertTemplate(0, named);
    CGraphTypeEditView* editor = OpenEditorOn(0);
    ASSERT_NE(editor, nullptr);
    Control(editor->Ctl<QListWidget>(kGeDsList)).setCurrentRow(1);
    QListWidget* databases = editor->Ctl<QListWidget>(kGeDsDatabases);
    ASSERT_EQ(databases->currentRow(), 0);
    ASSERT_NE(databases->currentItem(), nullptr);
    EXPECT_EQ(databases->currentItem()->text(), QStringLiteral("Starter Glazes"));
    EXPECT_TRUE(databases->currentItem()->isSelected()) << "the chosen database is highlighted";
}

// Choosing a database by name picks named glazes for a one-glaze chart only; a chart of many
// glazes keeps its choice of glazes.
TEST_F(GraphTypeEditViewTest, ANamedDatabasePicksNamedGlazesForAOneGlazeChartOnly)
{
    for (const int type : {0, static_cast<int>(kGraphHistogram)}) {
        CGraphTemplate graph = NewGraphTemplate();
        graph.m_name = "type " + std::to_string(type);
        graph.type = type;
        m_doc->InsertTemplate(0, graph);
        CGraphTypeEditView* editor = OpenEditorOn(0);
        ASSERT_NE(editor, nullptr);
        Control(editor->Ctl<QListWidget>(kGeDsList)).setCurrentRow(0);
        ASSERT_FALSE(Control(editor->Ctl<QRadioButton>(kGeDsSpecificGlazes)).isChecked());
        Control(editor->Ctl<QRadioButton>(kGeDsSpecificDb)).click();
        EXPECT_EQ(Control(editor->Ctl<QRadioButton>(kGeDsSpecificGlazes)).isChecked(), type == 0) << type;
    }
}

// The preview's pop-up menu offers copying the graph and writing it to a file.
TEST_F(GraphTypeEditViewTest, ThePreviewMenuOffersCopyAndWrite)
{
    CGraphTypeEditView* editor = OpenEditorOn(0);
    ASSERT_NE(editor, nullptr);
    QStringList texts;
    ReadNextPopupMenu(texts);
    editor->ShowPreviewMenu(editor->mapToGlobal(QPoint(20, 20)));
    EXPECT_EQ(texts, (QStringList{"Copy Graph to &Clipboard", "Write Graph to &File"}));
}

// The symbols take the data source's colour, the first and last of the palette too; a colour
// past the palette shows as the last one, in the last colour set.
TEST_F(GraphTypeEditViewTest, TheSymbolsTakeTheDataSourcesColour)
{
    for (const auto& [stored, shown] : {std::pair{0, 0}, std::pair{127, 127}, std::pair{200, 127}}) {
        CGraphTemplate graph = NewGraphTemplate();
        graph.m_name = "colour " + std::to_string(stored);
        ASSERT_FALSE(graph.m_dataSources.empty());
        CGraphDataSource source = graph.m_dataSources.GetAt(0);
        source.dscol = stored;
        graph.m_dataSources.SetAt(0, source);
        m_doc->InsertTemplate(0, graph);
        CGraphTypeEditView* editor = OpenEditorOn(0);
        ASSERT_NE(editor, nullptr);
        Control(editor->Ctl<QListWidget>(kGeDsList)).setCurrentRow(0);
        ASSERT_NE(editor->Ctl<CLineStyleButton>(kGeDsFirstSymbol), nullptr);
        EXPECT_EQ(editor->Ctl<CLineStyleButton>(kGeDsFirstSymbol)->ColorIndex(), shown) << stored;
        EXPECT_EQ(Control(editor->Ctl<QRadioButton>(kGeDsFirstColorSet + shown / 16)).isChecked(), true) << stored;
        // A symbol clicked is the data source's once saved.
        editor->Ctl<CLineStyleButton>(kGeDsFirstSymbol + 2)->click();
        editor->SaveToDatabase();
        EXPECT_EQ(RecordAt(m_doc->Database(), 0).m_dataSources.GetAt(0).dssym, 2) << stored;
    }
}

// On the Graph page Ctrl+Left steps to the glaze before within the chosen database, which stays chosen.
TEST_F(GraphTypeEditViewTest, SteppingBackAGlazeKeepsTheDatabase)
{
    CGraphTypeEditView* editor = OpenEditorOn(0);
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor->Ctl<QLineEdit>(kGeName), Qt::Key_B, Qt::ControlModifier);
    ASSERT_EQ(editor->CurrentPage(), 6);
    QComboBox* databases = editor->Ctl<QComboBox>(kGeGraphDatabase);
    QComboBox* glazes = editor->Ctl<QComboBox>(kGeGraphGlaze);
    ASSERT_EQ(databases->currentIndex(), 0);
    ASSERT_GT(glazes->count(), 2);
    glazes->setCurrentIndex(2);
    QTest::keyClick(editor->Ctl<QLineEdit>(kGeName), Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(glazes->currentIndex(), 1);
    EXPECT_EQ(databases->currentIndex(), 0);
    // Before the first glaze no database is chosen; Ctrl+Right comes back to the first one.
    glazes->setCurrentIndex(0);
    QTest::keyClick(editor->Ctl<QLineEdit>(kGeName), Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(databases->currentIndex(), -1);
    // The lists filled again after a change to the glazes keep that choice.
    COxidariumApp::BroadcastUpdate(nullptr, m_glazeDoc, static_cast<int>(DbFileType::Glazes), HintDatabaseNotesChanged, 0, 0);
    EXPECT_EQ(databases->currentIndex(), -1);
    QTest::keyClick(editor->Ctl<QLineEdit>(kGeName), Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(databases->currentIndex(), 0);
    EXPECT_EQ(glazes->currentIndex(), 0);

    // Ctrl+Shift+Left from a later database takes the first glaze of the one before. (Another
    // database opened leaves the chosen glaze chosen.)
    glazes->setCurrentIndex(2);
    auto* second = dynamic_cast<CGlazesDoc*>(m_app.NewGlazeDatabase());
    ASSERT_NE(second, nullptr);
    second->InsertGlaze(0, Found(m_glazeDoc->GetGlaze(0)));
    COxidariumApp::BroadcastUpdate(nullptr, second, static_cast<int>(DbFileType::Glazes), HintDocumentOpened, 0, 0);
    ASSERT_EQ(databases->count(), 2);
    EXPECT_EQ(glazes->currentIndex(), 2);
    QTest::keyClick(editor->Ctl<QLineEdit>(kGeName), Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_EQ(databases->currentIndex(), 1);
    QTest::keyClick(editor->Ctl<QLineEdit>(kGeName), Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(databases->currentIndex(), 0);
    EXPECT_EQ(glazes->currentIndex(), 0);

    // Ctrl+Down steps the graph type up to the last one, the triaxial chart, and no further.
    QComboBox* type = editor->Ctl<QComboBox>(kGeType);
    type->setCurrentIndex(type->findData(23));
    for (int press = 0; press < 2; ++press)
        QTest::keyClick(editor->Ctl<QLineEdit>(kGeName), Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(type->currentData().toInt(), 24);
}

// On the Graph page Shift+Down and Shift+Up step the template and leave the chosen database as it
// is; Shift+Left and Shift+Right step the limit formula and stop at either end of the list.
TEST_F(GraphTypeEditViewTest, ShiftArrowsStepTheTemplateAndTheLimitFormula)
{
    CLimitFormulasDoc limitFormulas;
    ASSERT_TRUE(limitFormulas.OnOpenDocument(OXI_SHIPPED_DATA_DIR "/tarnell.lim"));
    ASSERT_EQ(limitFormulas.Database().GetCount(), 7);
    CGraphTypeEditView* editor = OpenEditorOn(5);
    ASSERT_NE(editor, nullptr);
    editor->ShowPage(6);
    QComboBox* databases = editor->Ctl<QComboBox>(kGeGraphDatabase);
    ASSERT_EQ(databases->currentIndex(), 0);
    QLineEdit* name = editor->Ctl<QLineEdit>(kGeName);
    QTest::keyClick(name, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(editor->CurrentIndex(), 6);
    EXPECT_EQ(databases->currentIndex(), 0);
    QTest::keyClick(name, Qt::Key_Up, Qt::ShiftModifier);
    ASSERT_EQ(editor->CurrentIndex(), 5);
    EXPECT_EQ(databases->currentIndex(), 0);

    QComboBox* limits = editor->Ctl<QComboBox>(kGeLimit);
    ASSERT_EQ(limits->currentText().toStdString(), "Cone 6 gloss");
    QTest::keyClick(name, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(limits->currentText().toStdString(), "Cone 10 matte");
    for (int step = 0; step < 2; ++step)
        QTest::keyClick(name, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(limits->currentText().toStdString(), "Cone 10 gloss");
    for (int step = 0; step < 7; ++step)
        QTest::keyClick(name, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(limits->currentText().toStdString(), "Cone 10 shino");
    editor->SaveToDatabase();
    EXPECT_EQ(RecordAt(m_doc->Database(), 5).limform, "Cone 10 shino");
    // Ctrl+B and Ctrl+N step through the pages, round from the first to the last.
    editor->ShowPage(2);
    QTest::keyClick(name, Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(editor->CurrentPage(), 1);
    QTest::keyClick(name, Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(editor->CurrentPage(), kGraphEditPageCount);
    QTest::keyClick(name, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(editor->CurrentPage(), 1);
    ASSERT_NE(editor->GetFrame(), nullptr);
    editor->GetFrame()->CloseFrame();

    // On the Graph page Shift+Down steps on to the last template and no further: the keyboard
    // inserts none.
    const int count = m_doc->Database().GetCount();
    CGraphTypeEditView* last = OpenEditorOn(count - 2);
    ASSERT_NE(last, nullptr);
    last->ShowPage(6);
    QLineEdit* lastName = last->Ctl<QLineEdit>(kGeName);
    QTest::keyClick(lastName, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(last->CurrentIndex(), count - 1);
    QTest::keyClick(lastName, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(last->CurrentIndex(), count - 1);
    EXPECT_EQ(m_doc->Database().GetCount(), count);
    ASSERT_NE(last->GetFrame(), nullptr);
    last->GetFrame()->CloseFrame();
}

} // namespace
