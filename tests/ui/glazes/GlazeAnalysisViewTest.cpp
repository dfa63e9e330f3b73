#include "GlazeEditViewFixture.h"

#include "core/support/CheckedItems.h"
#include "framework/UpdateHint.h"
#include "glazes/GlazePrinting.h"
#include "glazes/GlazeReport.h"
#include "support/LineOStream.h"
#include "support/DbFileType.h"
#include "support/SelectOneDlg.h"

#include <QLineEdit>
#include <QMdiSubWindow>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

class GlazeAnalysisViewTest : public GlazeEditViewFixture {
protected:
    void Notify(int code, int index)
    {
        COxidariumApp::BroadcastUpdate(nullptr, m_doc, 5, code, index, 0);
    }
    bool Enabled(CGlazeAnalysisView* view, unsigned id) const
    {
        CCmdUI ui(id);
        EXPECT_TRUE(view->OnUpdateCommand(ui)) << id;
        return ui.m_bEnabled;
    }
};

} // namespace

TEST_F(GlazeAnalysisViewTest, ShowsTheReportWithoutPaperOnlyLinesAndLeavesTheDatabaseUnmodified)
{
    ASSERT_NE(OpenShipped(), nullptr);
    ASSERT_FALSE(m_doc->IsModified());
    CGlazeAnalysisView* view = OpenReport(0);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(m_frame.CurrentMenuResource(), kGlazeAnalysisResourceId);
    auto* frame = dynamic_cast<QMdiSubWindow*>(view->GetFrame());
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Cone 6 Clear"));
    EXPECT_EQ(frame->size(), QSize(CGlazeAnalysisView::kInitialWidth, CGlazeAnalysisView::kInitialHeight));
    EXPECT_FALSE(m_doc->IsModified()) << "showing a report computes chemistry, never a change";
    EXPECT_TRUE(view->isReadOnly());

    // The screen text is the report without its markers, its paper-only lines and its trailing
    // empty lines.
    CStringArrayEx lines;
    {
        CLineOStream out(lines, 0);
        WriteGlazeReport(Found(m_doc->GetGlaze(0)), out);
    }
    std::string expected;
    int lastNonEmpty = -1;
    CStringArrayEx shown;
    for (std::string line : lines) {
        if (line.find('\x03') != std::string::npos)
            continue;
        std::string plain;
        for (char c : line)
            if (static_cast<unsigned char>(c) >= 32 || c == '\t')
                plain += c;
        shown.push_back(plain);
        if (!plain.empty())
            lastNonEmpty = static_cast<int>(shown.size()) - 1;
    }
    for (int i = 0; i <= lastNonEmpty; ++i)
        expected += shown[static_cast<std::size_t>(i)] + "\n";
    const QString text = view->toPlainText();
    EXPECT_EQ(text.toStdString(), expected);
    EXPECT_TRUE(text.contains(QStringLiteral("Nepheline Syenite")));
    for (QChar c : text)
        EXPECT_TRUE(c.unicode() >= 32 || c == QLatin1Char('\n') || c == QLatin1Char('\t'));
    Screenshot(frame, "glaze-analysis-view");

    EXPECT_FALSE(Enabled(view, CmdGanPrevious));
    EXPECT_TRUE(Enabled(view, CmdGanNext));
    EXPECT_TRUE(Enabled(view, CmdGanEdit));
    EXPECT_TRUE(Enabled(view, CmdGlazePrintReport));
    view->OnCommand(CmdGanPrevious);
    EXPECT_EQ(view->GetGlazeIndex(), 0) << "Previous on the first glaze does nothing";
    view->OnCommand(CmdGanNext);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Cone 6 Zircon White"));
    EXPECT_TRUE(Enabled(view, CmdGanPrevious)) << "from the second glaze on";
    view->FillReport(9);
    EXPECT_FALSE(Enabled(view, CmdGanNext));
    view->OnCommand(CmdGanNext);
    EXPECT_EQ(view->GetGlazeIndex(), 9);
}

TEST_F(GlazeAnalysisViewTest, FollowsItsGlazeAndClosesWhenItGoes)
{
    ASSERT_NE(OpenShipped(), nullptr);
    CGlazeAnalysisView* view = OpenReport(3);
    ASSERT_NE(view, nullptr);
    const QString text = view->toPlainText();
    m_doc->DeleteGlaze(1);
    Notify(HintGlazesDeleted, 1);
    EXPECT_EQ(view->GetGlazeIndex(), 2);
    EXPECT_EQ(view->toPlainText(), text);

    // The edit window opened from the report, and its save reaching the report.
    view->OnCommand(CmdGanEdit);
    auto* edit = dynamic_cast<CGlazeEditView*>(m_doc->FindEditView(2));
    ASSERT_NE(edit, nullptr);
    GlazeForm::SourceEdit(edit)->setText(QStringLiteral("Tested on porcelain"));
    edit->SaveGlaze();
    EXPECT_TRUE(view->toPlainText().contains(QStringLiteral("Tested on porcelain")));
    view->OnCommand(CmdGanEdit);
    EXPECT_EQ(CountViews<CGlazeEditView>(), 1) << "the open form is brought forward";

    // A material of the recipe changed in its database: the report shows the new chemistry.
    CMaterialArray& materials = m_materials.Materials();
    const CMaterial* silica = materials.FindMaterial("Silica");
    ASSERT_NE(silica, nullptr);
    CMaterial changed = *silica;
    changed.SetFormula("SiO2 H2O");
    const QString before = view->toPlainText();
    const int index = materials.IndexOf(silica);
    m_materials.ReplaceMaterial(index, changed);
    COxidariumApp::BroadcastUpdate(nullptr, &m_materials, static_cast<int>(DbFileType::Materials),
                                   HintMaterialChanged, index, HintExtra(materials.GetAt(index)));
    EXPECT_NE(view->toPlainText(), before);
    EXPECT_TRUE(view->toPlainText().contains(QStringLiteral("H2O"))) << view->toPlainText().toStdString();
    // Between the notices of a bulk change (Set Field over the materials) it waits for the end.
    const QString wet = view->toPlainText();
    COxidariumApp::BroadcastUpdate(nullptr, &m_materials, static_cast<int>(DbFileType::Materials), HintBulkChangeBegins, 0, 0);
    changed.SetFormula("SiO2");
    m_materials.ReplaceMaterial(index, changed);
    COxidariumApp::BroadcastUpdate(nullptr, &m_materials, static_cast<int>(DbFileType::Materials),
                                   HintMaterialChanged, index, HintExtra(materials.GetAt(index)));
    EXPECT_EQ(view->toPlainText(), wet);
    COxidariumApp::BroadcastUpdate(nullptr, &m_materials, static_cast<int>(DbFileType::Materials), HintBulkChangeEndsRefreshAll, 0, 0);
    EXPECT_EQ(view->toPlainText(), before);

    // Open Graph asks for the glaze's own limit formula only where the database has one by its name.
    CGraphRequestRecorder graphs;
    SetGlazeViews(&graphs);
    m_app.m_bGraphsAvailable = 1;
    m_graphTypes = std::make_unique<CGraphTypesDoc>();
    m_graphTypes->InsertTemplate(0, CGraphTemplate("bars"));
    Found(m_doc->GetGlaze(2)).m_limform = "Cone 6 matte";
    view->OnCommand(CmdGanOpenGraph);
    Found(m_doc->GetGlaze(2)).m_limform = "No such formula";
    view->OnCommand(CmdGanOpenGraph);
    InstallGlazeViews();
    ASSERT_EQ(graphs.requests.size(), 2u);
    EXPECT_EQ(graphs.requests[0].glaze, 2);
    EXPECT_EQ(graphs.requests[0].limitFormula, "Cone 6 matte");
    EXPECT_EQ(graphs.requests[1].limitFormula, "");

    // Jump to lists the database with the shown glaze chosen, and shows the one picked.
    WhenModal<CSelectOneDlg>([](CSelectOneDlg* dialog) {
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Select a Glaze"));
        EXPECT_EQ(dialog->List()->currentRow(), 2);
        dialog->List()->setCurrentRow(6);
        dialog->accept();
    });
    view->OnCommand(CmdGanJump);
    EXPECT_EQ(view->GetGlazeIndex(), 6);
    EXPECT_EQ(view->GetFrame() ? dynamic_cast<QMdiSubWindow*>(view->GetFrame())->windowTitle() : QString(),
              QString::fromStdString(Found(m_doc->GetGlaze(6)).m_name));

    m_doc->DeleteGlaze(6);
    Notify(HintGlazesDeleted, 6);
    FlushDeletes();
    EXPECT_EQ(CountViews<CGlazeAnalysisView>(), 0);
}

TEST_F(GlazeAnalysisViewTest, WritesTheGlazeToAFileOrReportsWhyNot)
{
    ASSERT_NE(OpenShipped(), nullptr);
    CGlazeAnalysisView* view = OpenReport(0);
    ASSERT_NE(view, nullptr);
    const std::string path = m_dir.path().toStdString() + "/report.txt";
    m_dialogs.AnswerPath(path);
    view->OnCommand(CmdGlazeWriteRecipe);
    ASSERT_EQ(m_dialogs.requests.size(), 1u);
    EXPECT_EQ(m_dialogs.At(0).title, "Glaze Recipe to File...");
    EXPECT_EQ(m_dialogs.At(0).filter, "Text files (*.txt)|*.txt|All files (*.*)|*.*||");
    EXPECT_TRUE(m_dialogs.At(0).clipboardOption);
    std::ifstream in(path, std::ios::binary);
    std::stringstream written;
    written << in.rdbuf();
    EXPECT_NE(written.str().find("Nepheline Syenite"), std::string::npos);

    const std::string missing = m_dir.path().toStdString() + "/no such folder/report.txt";
    m_dialogs.AnswerPath(missing);
    view->OnCommand(CmdGlazeWriteReport);
    ASSERT_EQ(m_messages.boxes.size(), 1u);
    EXPECT_EQ(m_messages.At(0).text, missing + ": Error writing file");

    // The edit form prints the glaze as it stands, unsaved edits included.
    CGlazeEditView* edit = OpenEdit(0);
    ASSERT_NE(edit, nullptr);
    GlazeForm::NameEdit(edit)->setText(QStringLiteral("Renamed Clear"));
    m_dialogs.AnswerClipboard();
    edit->OnCommand(CmdGlazeWriteSummary);
    EXPECT_EQ(m_dialogs.Last().title, "Glaze Summary to File...");
    EXPECT_NE(m_clipboard.content.find("Renamed Clear"), std::string::npos);
    EXPECT_EQ(Found(m_doc->GetGlaze(0)).m_name, "Cone 6 Clear");
}
