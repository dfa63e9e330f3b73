// The glaze edit form's pages at work: switching pages, recomputing the analysis panes when they
// are seen, the display modes, the limit-formula list and comparison, the two graph panes, the
// enlarge buttons, and the image and note files.

#include "glazes/GlazeEditView.h"

#include "framework/Cp1252.h"
#include "framework/Cp1252Fields.h"
#include "framework/FileDialogService.h"
#include "framework/MessageService.h"
#include "framework/UpdateHint.h"
#include "glazes/GlazeAnalysis.h"
#include "glazes/LimitComparisonChart.h"
#include "limits/LimitFormula.h"
#include "limits/LimitFormulaDB.h"
#include "shell/AppContext.h"
#include "shell/NamedColors.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"
#include "support/CompareNoCase.h"
#include "support/DbFileType.h"
#include "support/DesktopOpenCheck.h"
#include "support/EditTextDlg.h"
#include "support/LineOStream.h"
#include "support/MessagePath.h"
#include "support/NotesEdit.h"
#include "support/PathHelpers.h"
#include "support/PlainTextEditLines.h"
#include "support/Services.h"
#include "support/TabEdit.h"
#include "support/TextHelpers.h"
#include "support/ToggleButton.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QUrl>

#include <cctype>
#include <filesystem>

namespace {

constexpr int kTextFileKind = static_cast<int>(DbFileType::TextFile);

void Press(CToggleButton* button, bool pressed)
{
    const int state = pressed ? 1 : 0;
    if (button->state == state)
        return;
    button->state = state;
    button->Redraw();
}

bool EndsWithNoCase(const std::string& text, const std::string& ending)
{
    if (text.size() < ending.size())
        return false;
    for (std::size_t i = 0; i < ending.size(); ++i) {
        const char a = text[text.size() - ending.size() + i];
        if (std::tolower(static_cast<unsigned char>(a)) != std::tolower(static_cast<unsigned char>(ending[i])))
            return false;
    }
    return true;
}

} // namespace

// --- pages --------------------------------------------------------------------------------------

void CGlazeEditView::ShowPage(int page)
{
    if (page < 1 || page > kGlazeEditPageCount || page == m_nPage)
        return;
    DestroyPopup();
    if (m_nPage != 0) {
        Page(m_nPage)->hide();
        Press(PageButton(m_nPage), false);
    }
    m_nPage = page;
    Page(page)->show();
    Press(PageButton(page), true);
    switch (page) {
    case kPageRecipe:
        if (m_nRecipePane == 2)
            MakePanesCurrent(false);
        m_nLastRecipeField = 0;
        break;
    case kPageAnalysis:
        MakePanesCurrent(false);
        RebuildGraphPane(kGraphPaneAnalysis);
        break;
    case kPageLimitFormula:
        MakePanesCurrent(false);
        RebuildGraphPane(kGraphPaneLimit);
        break;
    default:
        break;
    }
    PressModeButtons();
}

// --- the analysis panes -------------------------------------------------------------------------

void CGlazeEditView::RefreshAnalysis()
{
    m_bPanesCurrent = false;
    if (m_nPage == kPageAnalysis || m_nPage == kPageLimitFormula || (m_nPage == kPageRecipe && m_nRecipePane == 2))
        MakePanesCurrent(true);
    MarkGraphsOutOfDate();
    RebuildGraphPane(kGraphPaneAnalysis);
    RebuildGraphPane(kGraphPaneLimit);
}

std::string CGlazeEditView::BuildScratchGlaze(CGlaze& scratch)
{
    scratch.m_byVol = m_byVolume->isChecked() ? 1 : 0;
    CGlaze parsed("new glaze");
    const CRefusedLine refused = ControlsToGlaze(parsed);
    scratch.m_batchSize = parsed.m_batchSize;
    scratch.m_components = parsed.m_components;
    scratch.m_additions = parsed.m_additions;
    scratch.m_limform = m_limform;
    scratch.InvalidateAnalysis();
    return refused ? LeftOutNote(refused) : std::string();
}

std::string CGlazeEditView::LeftOutNote(const CRefusedLine& refused)
{
    return "Left out: \"" + refused.text + "\"";
}

void CGlazeEditView::MakePanesCurrent(bool force)
{
    if (!force && m_bPanesCurrent)
        return;
    CGlaze scratch("new glaze");
    const std::string leftOut = BuildScratchGlaze(scratch);
    {
        CBusyScope busy;
        auto& p = m_paneTexts;
        scratch.FormatAnalysisPanes(p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7], p[8], p[9]);
    }
    // While a recipe line is refused the panes show the others' figures, and say so first.
    if (!leftOut.empty()) {
        for (std::string& text : m_paneTexts)
            text = leftOut + "\r\n\r\n" + text;
    }
    m_bPanesCurrent = true;
    ++m_nPaneComputations;
    ShowPaneTexts();
    FillLimitPage(scratch, leftOut);
}

void CGlazeEditView::SetPaneText(QPlainTextEdit* pane, const std::string& text)
{
    const QString shown = EditTextFromCore(text);
    if (pane->toPlainText() != shown)
        pane->setPlainText(shown);
}

void CGlazeEditView::ShowPaneTexts()
{
    const std::size_t mode = static_cast<std::size_t>(m_nAnalysisMode - 1);
    SetPaneText(m_analysisPane, m_paneTexts[3 + mode]);
    SetPaneText(m_recipeAnalysis, m_paneTexts[mode]);
    SetPaneText(m_recipePane, m_paneTexts[5 + static_cast<std::size_t>(m_nRecipeMode)]);
}

void CGlazeEditView::FillLimitPage(const CGlaze& scratch, const std::string& leftOut)
{
    const QSignalBlocker blocker(m_limitList);
    m_limitList->clear();
    const CLimitFormulaDB* formulas = GetCurrentLimitFormulaDB();
    const int count = formulas ? formulas->GetCount() : 0;
    int chosenRow = -1;
    const std::string& chosen = m_chosenLimitFormula.empty() ? m_limform : m_chosenLimitFormula;
    for (int i = 0; i < count; ++i) {
        const CLimitFormula& formula = formulas->GetAt(i);
        const char within = formula.IsAnalysisWithin(scratch.GetAnalysis()) ? '*' : ' ';
        const char own = CompareNoCase(formula.m_name, m_limform) == 0 ? '.' : ' ';
        m_limitList->addItem(FromCp1252(std::string(1, within) + "\t" + std::string(1, own) + "\t" + formula.m_name));
        if (chosenRow < 0 && !chosen.empty() && CompareNoCase(formula.m_name, chosen) == 0)
            chosenRow = i;
    }
    if (chosenRow < 0) {
        m_comparisonLabel->clear();
        m_comparisonText->clear();
        return;
    }
    m_limitList->setCurrentRow(chosenRow);
    m_comparisonLabel->setText(QStringLiteral("Comparison to limit formula :"));
    // A recipe without chemistry has nothing to compare: the chart would only show zeros.
    CStringArrayEx lines;
    if (scratch.GetAnalysis().IsValid()) {
        CLineOStream out(lines, 0);
        WriteLimitComparisonChart(out, scratch.GetAnalysis(), formulas->GetAt(chosenRow).m_name, 8, 1, 40, 10, 0);
    }
    if (lines.empty())
        lines.push_back("Analysis unavailable");
    if (!leftOut.empty())
        lines.insert(lines.begin(), {leftOut, std::string()});
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i)
        text += (i ? "\r\n" : "") + lines[i];
    SetPaneText(m_comparisonText, text);
}

// --- modes --------------------------------------------------------------------------------------

void CGlazeEditView::PressModeButtons()
{
    Press(m_materialsToggle, m_nRecipePane == 1);
    Press(m_analysisToggle, m_nRecipePane == 2);
    for (int i = 0; i < 3; ++i) {
        Press(m_recipeModeButtons[static_cast<std::size_t>(i)], m_nAnalysisMode == i + 1);
        Press(m_analysisModeButtons[static_cast<std::size_t>(i)], m_nAnalysisMode == i + 1);
    }
    for (int i = 0; i < 4; ++i)
        Press(m_recipePaneButtons[static_cast<std::size_t>(i)], m_nRecipeMode == i + 1);
}

void CGlazeEditView::SetRecipeRightPane(int pane)
{
    m_nRecipePane = pane == 2 ? 2 : 1;
    const bool analysis = m_nRecipePane == 2;
    m_materialList->setVisible(!analysis);
    if (analysis)
        MakePanesCurrent(false);
    m_recipeAnalysis->setVisible(analysis);
    for (CToggleButton* button : m_recipeModeButtons)
        button->setVisible(analysis);
    PressModeButtons();
}

void CGlazeEditView::SetAnalysisMode(int mode)
{
    if (mode < 1 || mode > 3)
        return;
    m_nAnalysisMode = mode;
    PressModeButtons();
    ShowPaneTexts();
    MarkGraphsOutOfDate();
    RebuildGraphPane(kGraphPaneAnalysis);
    RebuildGraphPane(kGraphPaneLimit);
}

void CGlazeEditView::SetRecipePaneMode(int mode)
{
    if (mode < 1 || mode > 4)
        return;
    m_nRecipeMode = mode;
    PressModeButtons();
    ShowPaneTexts();
}

// --- the limit formula page ---------------------------------------------------------------------

void CGlazeEditView::OnLimitFormulaSelected()
{
    const CLimitFormulaDB* formulas = GetCurrentLimitFormulaDB();
    const int row = m_limitList->currentRow();
    const bool valid = formulas && row >= 0 && row < formulas->GetCount() && !m_limitList->selectedItems().isEmpty();
    m_chosenLimitFormula = valid ? formulas->GetAt(row).m_name : std::string();
    RefreshAnalysis();
}

void CGlazeEditView::SetDefaultLimitFormula()
{
    m_limform = m_chosenLimitFormula;
    SetModified(1);
    RefreshAnalysis();
}

// --- enlarge buttons ----------------------------------------------------------------------------

void CGlazeEditView::EnlargeNotes(bool variations)
{
    CNotesEdit* box = variations ? m_variations : m_notes;
    CEditTextDlg dialog(this, ToCp1252(m_name->text()) + (variations ? " - Variations" : " - Notes"),
                        kGlazeEditTextDlgHelpId, 0);
    dialog.backgroundColor = GetNamedColor("ged_bkg");
    dialog.text = CoreTextFromEdit(*box);
    if (dialog.exec() != QDialog::Accepted)
        return;
    box->setPlainText(EditTextFromCore(dialog.text));
    box->moveCursor(QTextCursor::Start);
    box->verticalScrollBar()->setValue(0);
    SetModified(1);
}

void CGlazeEditView::EnlargePane(int button)
{
    const int pane = button == kGedEnlargeComparison ? kGraphPaneLimit : kGraphPaneAnalysis;
    if (button != kGedEnlargeRecipe && Pane(pane).graphMode && Pane(pane).graphTemplate) {
        OnCommand(CmdGedOpenGraph);
        return;
    }
    const char* suffix = button == kGedEnlargeAnalysis ? " - Chemical Analysis"
                         : button == kGedEnlargeRecipe ? " - Recipe"
                                                       : " - Comparison to Limit Formula";
    QPlainTextEdit* text = button == kGedEnlargeAnalysis ? m_analysisPane
                           : button == kGedEnlargeRecipe ? m_recipePane
                                                         : m_comparisonText;
    CEditTextDlg dialog(this, ToCp1252(m_name->text()) + suffix, kGlazeEditTextDlgHelpId, 1);
    dialog.backgroundColor = GetNamedColor("ged_bkg");
    dialog.text = CoreTextFromEdit(*text);
    dialog.exec();
}

// --- image and note files -----------------------------------------------------------------------

void CGlazeEditView::BrowseFile(bool image)
{
    CFileDialogRequest request;
    request.mode = CFileDialogRequest::Mode::Open;
    request.title = image ? "Image File" : "Note File";
    request.filter = image ? "All Files (*.*)|*.*||" : "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||";
    request.helpId = kGlazeEditBrowseHelpId;
    const CFileDialogResult answer = AskForFiles(request);
    if (answer.outcome != CFileDialogResult::Outcome::Ok || answer.paths.empty())
        return;
    // The glaze keeps the name as Windows-1252 text, which View turns back into the path.
    std::u32string outside;
    const std::string name = Cp1252FromFileName(answer.paths.front(), outside);
    if (!outside.empty()) {
        AppMessageBox(RefusedCharactersMessage(NameCharacters(outside)), MsgOk | MsgIconExclamation, 0);
        return;
    }
    (image ? m_imageFile : m_noteFile)->setText(FromCp1252(name));
}

// The directory of the glaze database's file; the current directory while it has none.
std::string CGlazeEditView::DirectoryForFiles() const
{
    const CGlazesDoc* doc = GlazesDoc();
    const std::string path = doc ? doc->GetPathName() : std::string();
    if (path.empty())
        return GetCurrentDirectoryString();
    return std::filesystem::path(path).parent_path().string();
}

void CGlazeEditView::ViewFile(bool image)
{
    std::string name = ToCp1252((image ? m_imageFile : m_noteFile)->text());
    TrimString(name);
    if (name.empty())
        return;
    const std::string directory = DirectoryForFiles();
    const std::string path =
        (std::filesystem::path(directory) / std::filesystem::path(FileNameFromCp1252(name))).string();
    if (!image && CAppContext::IsActive() && !g_prefs.texted.empty()) {
        QProcess::startDetached(FromCp1252(g_prefs.texted), {FromFileName(path)}, FromFileName(directory));
        return;
    }
    if (!image && EndsWithNoCase(name, ".txt") && g_pApp) {
        g_pApp->OpenAndAnnounce(g_pTextFileTemplate, path, kTextFileKind);
        return;
    }
    // The file is named by whoever wrote the database: the desktop runs a program or desktop
    // entry it is handed, so those are refused.
    if (const std::string why = WhyNotOpenOnDesktop(path); !why.empty()) {
        AppMessageBox(MessagePath(path) + ": Not opened. " + why, MsgOk | MsgIconExclamation, 0);
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(FromFileName(path)));
}
