#include "materials/MaterialsView.h"

#include "MaterialsViewFixture.h"
#include "core/support/CheckedItems.h"
#include "core/support/FakeServices.h"
#include "core/support/PrintedPages.h"
#include "framework/PrintPreviewDlg.h"
#include "glazes/Glaze.h"
#include "materials/FormulaConversion.h"
#include "materials/FormulaConversionDlg.h"
#include "materials/ImportTmtDlg.h"
#include "support/TextPrinter.h"
#include "ui/support/OverlapCheck.h"
#include "ui/support/TestFolders.h"

#include <QCheckBox>
#include <QDir>
#include <QPushButton>
#include <QRadioButton>

namespace {

class MaterialsViewUtilitiesTest : public MaterialsViewFixture {
protected:
    CFakeClipboard m_clipboard;
};

} // namespace

TEST_F(MaterialsViewUtilitiesTest, MaterialsToGlazesMakesOneGlazePerMaterial)
{
    Select({0, 1, 9});
    ASSERT_TRUE(m_view->RunCommand(CmdMatListToGlazes));
    const std::vector<CDocument*> documents = m_glazesTemplate.GetDocuments();
    ASSERT_EQ(documents.size(), 1u);
    auto* glazes = dynamic_cast<CGlazesDoc*>(documents.front());
    ASSERT_NE(glazes, nullptr);
    EXPECT_EQ(glazes->GetDbName(), "Single-Material Glazes");
    EXPECT_TRUE(glazes->IsModified());
    ASSERT_EQ(glazes->GetGlazeCount(), 3);
    const char* names[] = {"Silica", "Kaolin", "Whiting"};
    for (int i = 0; i < 3; ++i) {
        const CGlaze& glaze = Found(glazes->GetGlaze(i));
        EXPECT_EQ(glaze.m_name, names[i]);
        ASSERT_EQ(glaze.m_components.GetCount(), 1);
        EXPECT_EQ(RecordAt(glaze.m_components, 0).m_name, names[i]);
        EXPECT_DOUBLE_EQ(RecordAt(glaze.m_components, 0).m_amount, 100.0);
    }
    EXPECT_FALSE(m_doc->IsModified()) << "the materials database is not changed";

    // When no glaze database can be made, nothing happens.
    g_pGlazesTemplate = nullptr;
    ASSERT_TRUE(m_view->RunCommand(CmdMatListToGlazes));
    g_pGlazesTemplate = &m_glazesTemplate;
    EXPECT_EQ(m_glazesTemplate.GetDocuments().size(), 1u);
}

TEST_F(MaterialsViewUtilitiesTest, FormulaCommandsChangeUnmappedSelectedMaterials)
{
    CMaterial* nepheline = Database().GetAt(IndexOf("Nepheline Syenite"));
    ASSERT_NE(nepheline, nullptr);
    ASSERT_EQ(nepheline->SetFormula("% 45 SiO2  45 Al2O3"), 0);
    const int row = IndexOf("Nepheline Syenite");
    ASSERT_TRUE(m_view->RunCommand(CmdMatListExtendedView1));
    Select({row});
    ASSERT_TRUE(m_view->RunCommand(CmdMatListNormalizeFormulas));
    EXPECT_DOUBLE_EQ(nepheline->m_parsedPercentSum, 100.0);
    EXPECT_EQ(nepheline->m_formula, "% 50 SiO2  50 Al2O3") << "each share scaled, no LOI added";
    EXPECT_EQ(Row(row), "\tNEPH\tNepheline Syenite\t" + nepheline->m_formula);
    ASSERT_EQ(Hints().size(), 1u);
    EXPECT_EQ(Hint(0).code, HintMaterialChanged);
    EXPECT_EQ(Hint(0).index, row);
    EXPECT_EQ(m_view->GetSelItems(), std::vector<int>{row});
    // Already at 100: nothing changes and nothing is announced.
    ASSERT_TRUE(m_view->RunCommand(CmdMatListNormalizeFormulas));
    EXPECT_EQ(Hints().size(), 1u);

    // Add LOI gives the missing weight to an LOI component.
    ASSERT_EQ(nepheline->SetFormula("% 45 SiO2  45 Al2O3"), 0);
    ASSERT_TRUE(m_view->RunCommand(CmdMatListAddLoi));
    EXPECT_NE(nepheline->m_formula.find("LOI"), std::string::npos);
    EXPECT_NEAR(nepheline->m_loi, 0.10, 1e-9);

    // Convert Formulas over two materials announces a reload; a mapped material is left alone.
    CMaterial* whiting = Database().GetAt(IndexOf("Whiting"));
    ASSERT_NE(whiting, nullptr);
    whiting->m_mapTo = "Silica";
    Select({1, IndexOf("Whiting")});
    OnModal<CFormulaConversionDlg>([](CFormulaConversionDlg* dialog) {
        for (int mode = 0; mode < CFormulaConversionDlg::kConversionCount; ++mode)
            EXPECT_TRUE(dialog->Radio(mode)->isEnabled()) << mode;
        dialog->Radio(kConvertToWeightPercent)->click();
        dialog->OkButton()->click();
    });
    ASSERT_TRUE(m_view->RunCommand(CmdMatListConvertFormulas));
    EXPECT_TRUE(RecordAt(Database(), 1).m_isWeightPercent);
    EXPECT_EQ(whiting->m_formula, "SiO2") << "not converted, but brought in step with its mapping";
    EXPECT_EQ(LastHint().code, HintMaterialsReplaced);
    EXPECT_EQ(m_view->GetSelItems(), (std::vector<int>{1, IndexOf("Whiting")}));

    // Over mapped materials only: nothing changes, nothing is refilled or announced.
    const std::size_t hints = Hints().size();
    Select({IndexOf("Whiting")});
    OnModal<CFormulaConversionDlg>([](CFormulaConversionDlg* dialog) {
        dialog->Radio(kConvertToWeightPercent)->click();
        dialog->OkButton()->click();
    });
    ASSERT_TRUE(m_view->RunCommand(CmdMatListConvertFormulas));
    EXPECT_EQ(Hints().size(), hints);

    // Cancel converts nothing, whatever was chosen before it.
    Select({1});
    const std::string formula = RecordAt(Database(), 1).m_formula;
    OnModal<CFormulaConversionDlg>([](CFormulaConversionDlg* dialog) {
        dialog->Radio(kConvertToMolecular)->click();
        dialog->reject();
    });
    ASSERT_TRUE(m_view->RunCommand(CmdMatListConvertFormulas));
    EXPECT_EQ(RecordAt(Database(), 1).m_formula, formula);
    EXPECT_EQ(Hints().size(), hints);
}

TEST_F(MaterialsViewUtilitiesTest, TmtImportAppendsAndExportGoesToTheClipboard)
{
    const int count = Database().GetCount();
    const std::string path = std::string(OXI_TEST_DATA_DIR) + "/materials/sample.tmt";
    m_dialogs.AnswerPath(path);
    OnModal<CImportTmtDlg>([](CImportTmtDlg* dialog) {
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Import from Insight TMT file..."));
        EXPECT_TRUE(dialog->MaterialsCheck()->isChecked());
        EXPECT_FALSE(dialog->RolesCheck()->isChecked());
        // The dialog ends just under its buttons, every control inside it and apart.
        EXPECT_LT(dialog->height() - dialog->OkButton()->geometry().bottom(), dialog->OkButton()->height());
        EXPECT_EQ(OverlappingControls(*dialog), std::vector<std::string>());
                dialog->grab().save(ScreenshotFolder() + "/import-tmt.png");
        dialog->OkButton()->click();
    });
    ASSERT_TRUE(m_view->RunCommand(CmdMatListImportTmt));
    const CFileDialogRequest& request = m_dialogs.Last();
    EXPECT_EQ(request.title, "Import Insight Materials...");
    EXPECT_EQ(request.filter, "Insight TMT Files (*.tmt)|*.tmt|All Files (*.*)|*.*||");
    EXPECT_TRUE(request.clipboardOption);
    ASSERT_EQ(Database().GetCount(), count + 3);
    EXPECT_EQ(NameAt(count), "Potash Feldspar");
    EXPECT_EQ(m_view->GetCount(), count + 3);
    EXPECT_EQ(m_view->GetSelItems(), std::vector<int>{count});
    EXPECT_EQ(LastItem(Database().m_infoLines), "Imported 3 materials from " + path);

    // Cancel in the options or in the file dialog: no file is asked for or read.
    const std::size_t asked = m_dialogs.requests.size();
    OnModal<CImportTmtDlg>([](CImportTmtDlg* dialog) { dialog->CancelButton()->click(); });
    ASSERT_TRUE(m_view->RunCommand(CmdMatListImportTmt));
    EXPECT_EQ(m_dialogs.requests.size(), asked);
    m_dialogs.AnswerCancel();
    OnModal<CImportTmtDlg>([](CImportTmtDlg* dialog) { dialog->OkButton()->click(); });
    ASSERT_TRUE(m_view->RunCommand(CmdMatListImportTmt));
    EXPECT_EQ(Database().GetCount(), count + 3);

    // One material as TMT text on the clipboard.
    Select({0});
    m_dialogs.AnswerClipboard();
    ASSERT_TRUE(m_view->RunCommand(CmdMatListExportTmt));
    EXPECT_EQ(m_dialogs.Last().title, "Export in Insight TMT format...");
    EXPECT_EQ(m_clipboard.content.rfind(" 5.0TMT\r\n<Header>\r\n", 0), 0u);
    EXPECT_NE(m_clipboard.content.find(" Name=Silica\r\n"), std::string::npos);
    EXPECT_EQ(m_clipboard.content.find(" Name=Kaolin"), std::string::npos);
    EXPECT_TRUE(m_messages.boxes.empty());

    // Cancel writes nothing.
    m_dialogs.AnswerCancel();
    m_clipboard.content.clear();
    ASSERT_TRUE(m_view->RunCommand(CmdMatListExportTmt));
    EXPECT_EQ(m_clipboard.content, "");
    EXPECT_TRUE(m_messages.boxes.empty());

    // A file that cannot be created is reported.
    m_dialogs.AnswerPath(Dir() + "/no/such/dir/out.tmt");
    ASSERT_TRUE(m_view->RunCommand(CmdMatListExportTmt));
    ASSERT_EQ(m_messages.boxes.size(), 1u);
    EXPECT_EQ(m_messages.At(0).text, Dir() + "/no/such/dir/out.tmt: Error opening file");
}

TEST_F(MaterialsViewUtilitiesTest, PrintingWritesSummariesAndTheTable)
{
    // Summaries need a selection; with none the job would be empty.
    EXPECT_FALSE(Enabled(CmdMatListWriteSelected));
    CTextPrinter empty;
    m_view->FillPrinter(empty, kMaterialsPrintSummaries);
    EXPECT_TRUE(empty.empty());
    EXPECT_TRUE(empty.m_showFirstHeader) << "prtuseffs is on by default";
    EXPECT_TRUE(empty.m_laterPageNumber);

    g_prefs.prtuseffs = 0;
    CTextPrinter table;
    m_view->FillPrinter(table, kMaterialsPrintTable);
    EXPECT_FALSE(table.m_showFirstHeader);
    EXPECT_FALSE(table.m_laterPageNumber);
    ASSERT_FALSE(table.empty());
    // On paper the name stands tall over its thick rule, and a thin rule heads the columns.
    const std::string pages = PrintedPages(table);
    const std::string head = "=== page 1\nT Starter Materials\n ==================\n\n";
    EXPECT_EQ(pages.substr(0, head.size()), head);
    EXPECT_NE(pages.find("\n  Code    Name\n ----------------------------\n  SIL     Silica\n"), std::string::npos);

    m_dialogs.AnswerClipboard();
    ASSERT_TRUE(m_view->RunCommand(CmdMatListWriteList));
    EXPECT_EQ(m_dialogs.Last().title, "Material List to File...");
    EXPECT_EQ(m_view->printKind, kMaterialsPrintTable);
    EXPECT_NE(m_clipboard.content.find("Starter Materials"), std::string::npos);
    EXPECT_NE(m_clipboard.content.find("Vanadium Pentoxide"), std::string::npos);
    EXPECT_EQ(m_clipboard.content.find('\x19'), std::string::npos) << "no layout characters";
    // The frame's Print Preview shows what was printed last: the list.
    OnModal<CPrintPreviewDlg>([](CPrintPreviewDlg* preview) { preview->reject(); });
    ASSERT_TRUE(m_view->RunCommand(CmdMatListFramePreview));
    EXPECT_EQ(m_view->printKind, kMaterialsPrintTable);

    Select({1});
    m_dialogs.AnswerClipboard();
    ASSERT_TRUE(m_view->RunCommand(CmdMatListWriteSelected));
    EXPECT_EQ(m_dialogs.Last().title, "Material Summaries to File...");
    EXPECT_NE(m_clipboard.content.find("Kaolin"), std::string::npos);
    EXPECT_EQ(m_clipboard.content.find("Silica"), std::string::npos);
}
