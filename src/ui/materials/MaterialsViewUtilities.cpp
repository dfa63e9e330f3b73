// The bulk utilities of the materials list: single-material glazes, formula conversions of the
// selected materials, and Insight TMT import and export.

#include "materials/MaterialsView.h"

#include "framework/FileDialogService.h"
#include "framework/MessageService.h"
#include "framework/UpdateHint.h"
#include "glazes/Glaze.h"
#include "glazes/GlazesDoc.h"
#include "materials/FormulaConversion.h"
#include "materials/FormulaConversionDlg.h"
#include "materials/ImportTmtDlg.h"
#include "materials/MaterialsDoc.h"
#include "materials/TmtFile.h"
#include "shell/NamedColors.h"
#include "shell/OxidariumApp.h"
#include "support/DbFileType.h"
#include "support/LineOStream.h"
#include "support/MessagePath.h"
#include "support/SafeFile.h"
#include "support/Services.h"

#include <algorithm>

namespace {

constexpr const char* kSingleMaterialGlazesName = "Single-Material Glazes";
constexpr double kWholeRecipe = 100.0;
constexpr unsigned kImportDialogHelpId = 300;
constexpr unsigned kExportDialogHelpId = 303;
constexpr unsigned kExportFileErrorHelpId = 0x30123;
constexpr unsigned kExportClipboardErrorHelpId = 0x30124;
constexpr int kRowsAboveAppended = 10;

} // namespace

void CMaterialsView::OnMaterialsToGlazes()
{
    const CMaterialArray* database = Database();
    const std::vector<int> rows = GetSelItems();
    if (!database || rows.empty() || !g_pApp)
        return;
    // Without a glaze database to fill there is nothing to do; the materials stay as they are.
    auto* glazes = dynamic_cast<CGlazesDoc*>(g_pApp->NewGlazeDatabase());
    if (!glazes)
        return;
    for (int row : rows) {
        const CMaterial* material = database->GetAt(row);
        if (!material)
            continue;
        CGlaze glaze(material->m_name);
        glaze.m_components.Add(material->m_name, kWholeRecipe);
        glaze.InvalidateAnalysis();
        glazes->InsertGlaze(glazes->GetGlazeCount(), glaze);
    }
    glazes->SetDbName(kSingleMaterialGlazesName);
    glazes->SetModifiedFlag();
    COxidariumApp::BroadcastUpdate(nullptr, glazes, static_cast<int>(DbFileType::Glazes), HintGlazesReplaced, 0, 0);
}

void CMaterialsView::ConvertSelected(const std::function<void(CMaterial&)>& operation)
{
    CMaterialsDoc* doc = MaterialsDoc();
    const std::vector<int> rows = GetSelItems();
    if (!doc || rows.empty())
        return;
    // Only the edit windows on the materials whose formulas change save or drop their edits
    // first; a conversion that changes nothing asks nothing.
    const std::vector<int> converted = RowsConvertedBy(*doc, rows, operation);
    if (converted.empty() || !doc->AskEditFormsOf(converted, FormsAsked::BeforeChange) ||
        ConvertSelectedFormulas(*doc, rows, operation, this) == 0)
        return;
    FillList(GetTopIndex(), -1, true);
    Reselect(rows);
}

void CMaterialsView::OnConvertFormulas()
{
    if (!HasSelection())
        return;
    CFormulaConversionDlg dialog(this);
    dialog.backgroundColor = GetNamedColor("med_bkg");
    dialog.SetAllConversions();
    if (dialog.exec() != QDialog::Accepted)
        return;
    ConvertSelected([&dialog](CMaterial& material) {
        material.ConvertFormula(dialog.choice, dialog.unityTarget, dialog.decimals, dialog.minDecimals,
                                dialog.loiOxide);
    });
}

void CMaterialsView::OnImportTmt()
{
    CImportTmtDlg options(nullptr);
    if (options.exec() != QDialog::Accepted)
        return;
    CFileDialogRequest request;
    request.mode = CFileDialogRequest::Mode::Open;
    request.title = "Import Insight Materials...";
    request.filter = "Insight TMT Files (*.tmt)|*.tmt|All Files (*.*)|*.*||";
    request.flags = FileDlgFileMustExist | FileDlgHideReadOnly;
    request.helpId = kImportDialogHelpId;
    request.clipboardOption = true;
    const CFileDialogResult answer = AskForFiles(request);
    const bool fromClipboard = answer.outcome == CFileDialogResult::Outcome::Clipboard;
    if (!fromClipboard && (answer.outcome != CFileDialogResult::Outcome::Ok || answer.paths.empty()))
        return;
    const std::string* path = fromClipboard ? nullptr : &answer.paths.front();
    const STmtImportResult result = ImportTmtFile(options.options, path, this);
    if (result.status == 0 && result.importedCount > 0)
        FillList(std::max(result.oldCount - kRowsAboveAppended, 0), result.oldCount, true);
}

void CMaterialsView::OnExportTmt()
{
    const std::vector<int> rows = GetSelItems();
    if (rows.empty())
        return;
    CFileDialogRequest request;
    request.mode = CFileDialogRequest::Mode::Save;
    request.title = "Export in Insight TMT format...";
    request.defaultExtension = "tmt";
    request.filter = "TMT files (*.tmt)|*.tmt|All files (*.*)|*.*||";
    request.flags = FileDlgOverwritePrompt | FileDlgHideReadOnly | FileDlgPathMustExist;
    request.helpId = kExportDialogHelpId;
    request.clipboardOption = true;
    const CFileDialogResult answer = AskForFiles(request);
    const bool toClipboard = answer.outcome == CFileDialogResult::Outcome::Clipboard;
    if (!toClipboard && (answer.outcome != CFileDialogResult::Outcome::Ok || answer.paths.empty()))
        return;

    CBusyScope busy;
    // The selected rows are written in the list's order.
    if (toClipboard) {
        bool failed = false;
        {
            CClipboardStream stream;
            if (stream.good())
                WriteTmtFile(stream, rows);
            failed = stream.bad();
        }
        if (failed)
            AppMessageBox("Error writing to Clipboard", MsgOk | MsgIconError, kExportClipboardErrorHelpId);
        return;
    }
    // Written beside the target first, so a failed export never leaves half a file behind; a
    // file that cannot be created is reported rather than passed over.
    const std::string& path = answer.paths.front();
    std::string reason;
    const SafeSaveResult result = WriteFileSafely(
        path,
        [&rows](std::ostream& out) {
            WriteTmtFile(out, rows);
            return !out.bad();
        },
        &reason);
    if (result != SafeSaveResult::Ok)
        AppMessageBox(SaveFailureMessage(path, result, reason), MsgOk | MsgIconError, kExportFileErrorHelpId);
}
