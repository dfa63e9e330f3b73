// The material edit view's clipboard, other names, mapping, note editors and printing.

#include "materials/MaterialEditView.h"

#include "framework/Cp1252.h"
#include "framework/MessageService.h"
#include "materials/MaterialClipboard.h"
#include "materials/SelectMaterialDlg.h"
#include "shell/AppContext.h"
#include "shell/Clipboards.h"
#include "shell/NamedColors.h"
#include "shell/Preferences.h"
#include "support/EditTextDlg.h"
#include "support/LineOStream.h"
#include "support/NotesEdit.h"
#include "support/PlainTextEditLines.h"
#include "support/TextHelpers.h"
#include "support/TextPrinter.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

#include <algorithm>

namespace {

std::string TextOf(const QLineEdit* edit)
{
    return ToCp1252(edit->text());
}

std::string Trimmed(const QLineEdit* edit)
{
    std::string text = TextOf(edit);
    return TrimString(text);
}

} // namespace

// --- clipboard ------------------------------------------------------------------------------------

void CMaterialEditView::Copy()
{
    CMaterial record("new material");
    Store(record);
    CopyRecordToClipboard(g_materialClipboard, record);
}

void CMaterialEditView::Paste()
{
    if (!CAppContext::IsActive() || ClipboardCount(g_materialClipboard) == 0)
        return;
    Load(ClipboardRecord(g_materialClipboard, 0));
    SetChanged(true);
    UpdateMappingState();
}

// --- other names ----------------------------------------------------------------------------------

void CMaterialEditView::ShowAliasRows()
{
    const bool wasLoading = m_bLoading;
    m_bLoading = true;
    for (int row = 0; row < 2; ++row) {
        const std::size_t index = static_cast<std::size_t>(m_firstAlias + row);
        const std::string alias = index < m_aliases.size() ? m_aliases[index] : std::string();
        const std::string code = index < m_aliasCodes.size() ? m_aliasCodes[index] : std::string();
        m_aliasEdits[static_cast<std::size_t>(row)]->setText(FromCp1252(alias));
        m_aliasCodeEdits[static_cast<std::size_t>(row)]->setText(FromCp1252(code));
    }
    m_bLoading = wasLoading;
    m_aliasUp->setVisible(m_firstAlias > 0);
    m_aliasDown->setVisible(m_firstAlias < m_aliasCount - 1);
}

void CMaterialEditView::ReadAliasRowsIntoLists()
{
    for (int row = 0; row < 2; ++row) {
        const std::size_t index = static_cast<std::size_t>(m_firstAlias + row);
        const std::string alias = Trimmed(m_aliasEdits[static_cast<std::size_t>(row)]);
        const std::string code = Trimmed(m_aliasCodeEdits[static_cast<std::size_t>(row)]);
        if (index >= m_aliases.size() && alias.empty() && code.empty())
            continue;
        if (index >= m_aliases.size()) {
            m_aliases.resize(index + 1);
            m_aliasCodes.resize(index + 1);
        }
        m_aliases[index] = alias;
        m_aliasCodes[index] = code;
    }
    CStringArrayEx aliases(m_aliases.begin(), m_aliases.end());
    CStringArrayEx codes(m_aliasCodes.begin(), m_aliasCodes.end());
    aliases.RemoveTrailingEmpty();
    codes.RemoveTrailingEmpty();
    m_aliasCount = static_cast<int>(std::max(aliases.size(), codes.size()));
    m_aliases.assign(aliases.begin(), aliases.end());
    m_aliasCodes.assign(codes.begin(), codes.end());
    m_aliases.resize(static_cast<std::size_t>(m_aliasCount));
    m_aliasCodes.resize(static_cast<std::size_t>(m_aliasCount));
    m_firstAlias = std::min(m_firstAlias, std::max(0, m_aliasCount - 1));
}

void CMaterialEditView::StoreAliasRows()
{
    ReadAliasRowsIntoLists();
    ShowAliasRows();
}

void CMaterialEditView::AliasUp()
{
    StoreAliasRows();
    if (m_firstAlias > 0) {
        --m_firstAlias;
        ShowAliasRows();
    }
}

void CMaterialEditView::AliasDown()
{
    StoreAliasRows();
    if (m_firstAlias < m_aliasCount - 1) {
        ++m_firstAlias;
        ShowAliasRows();
    }
}

// Names and codes never hold parentheses (BracketParentheses).
bool CMaterialEditView::BracketFix(QLineEdit* edit)
{
    std::string text = TextOf(edit);
    if (BracketParentheses(text) == 0)
        return false;
    edit->setText(FromCp1252(text));
    SetChanged(true);
    return true;
}

void CMaterialEditView::NameOrCodeLeft(QLineEdit* edit)
{
    BracketFix(edit);
}

void CMaterialEditView::AliasLeft(QLineEdit* edit)
{
    BracketFix(edit);
    StoreAliasRows();
}

// --- mapping --------------------------------------------------------------------------------------

void CMaterialEditView::Browse()
{
    CMaterialsDoc* doc = MaterialsDoc();
    if (!doc)
        return;
    CSelectMaterialDlg dialog(this, kMatEditSelectHelpId);
    dialog.backgroundColor = GetNamedColor("med_bkg");
    if (dialog.exec() != QDialog::Accepted)
        return;
    const CMaterial* chosen = doc->Materials().GetAt(dialog.selectedRow);
    if (!chosen)
        return;
    m_mapTo->setText(FromCp1252(chosen->m_name));
    SetChanged(true);
    UpdateMappingState();
}

void CMaterialEditView::MappingEntered()
{
    CMaterialsDoc* doc = MaterialsDoc();
    std::string text = Trimmed(m_mapTo);
    if (doc && !text.empty() && !doc->Materials().FindMaterial(text, true)) {
        int status = 0;
        doc->Materials().FindByPrefix(text, true, &status);
    }
    if (TextOf(m_mapTo) != text)
        m_mapTo->setText(FromCp1252(text));
    UpdateMappingState();
}

void CMaterialEditView::SetFieldsFromMapped(const CMaterial& mapped, bool byUser)
{
    const bool available = mapped.m_available != 0;
    const bool same = TextOf(m_density) == DensityText(mapped.m_density) &&
                      TextOf(m_cost) == CostText(mapped.m_costPerLb) && m_available->isChecked() == available &&
                      FormulaText() == mapped.m_formula;
    // Shown for the document's change, the values do not mark the form changed.
    const bool wasLoading = m_bLoading;
    m_bLoading = wasLoading || !byUser;
    // The same texts stand for the mapped material's values too.
    ShowNumbers(mapped);
    if (!same) {
        m_available->setChecked(available);
        SetFormulaText(mapped.m_formula);
    }
    m_bLoading = wasLoading;
    if (same)
        return;
    UpdateWeightDisplay();
    if (byUser)
        SetChanged(true);
}

bool CMaterialEditView::UpdateMappingState(bool byUser)
{
    CMaterialsDoc* doc = MaterialsDoc();
    const std::string mapping = Trimmed(m_mapTo);
    const bool mapped = !mapping.empty();
    bool invalid = false;
    if (mapped) {
        const CMaterial* target = doc ? doc->Materials().FindMaterial(std::string_view(mapping)) : nullptr;
        int status = 0;
        const CMaterial* end = target ? doc->Materials().ResolveMapping(target, &status) : nullptr;
        invalid = !end || end == CurrentRecord();
        if (!invalid)
            SetFieldsFromMapped(*end, byUser);
    }
    m_invalidMapping->setVisible(invalid);
    for (QWidget* control : {static_cast<QWidget*>(m_density), static_cast<QWidget*>(m_cost),
                             static_cast<QWidget*>(m_available), static_cast<QWidget*>(m_formula)})
        control->setEnabled(!mapped);
    m_formulaButton->setVisible(!mapped);
    return invalid;
}

// --- notes ----------------------------------------------------------------------------------------

void CMaterialEditView::EditNotes(int buttonId)
{
    CNotesEdit* box = NotesBox(buttonId);
    const char* prefix = buttonId == kMatEditReportButton   ? "Report Notes for "
                         : buttonId == kMatEditHazardButton ? "Hazard Notes for "
                                                            : "Information About ";
    CEditTextDlg dialog(this, prefix + TextOf(m_name), kMaterialEditHelpId, 0);
    dialog.backgroundColor = GetNamedColor("med_bkg");
    dialog.text = CoreTextFromEdit(*box);
    if (dialog.exec() != QDialog::Accepted)
        return;
    box->setPlainText(EditTextFromCore(dialog.text));
    box->moveCursor(QTextCursor::Start);
    box->verticalScrollBar()->setValue(0);
    SetChanged(true);
}

// --- printing -------------------------------------------------------------------------------------

void CMaterialEditView::FillPrinter(CTextPrinter& printer)
{
    const CMaterialsDoc* doc = MaterialsDoc();
    if (!doc)
        return;
    // The material as the form shows it, unsaved edits included; the stored record is untouched.
    printer.m_showFirstHeader = g_prefs.prtuseffs > 0;
    printer.m_showLaterHeader = g_prefs.prtuseffs > 0;
    printer.m_firstPageNumber = false;
    printer.m_laterPageNumber = true;
    printer.m_firstHeaderRule = true;
    printer.m_laterHeaderRule = true;
    printer.m_keepTabs = false;
    CMaterial material("new material");
    Store(material);
    CStringArrayEx lines;
    {
        CLineOStream out(lines, 0);
        doc->WriteMaterialText(out, {}, &material);
    }
    printer.Append(lines);
}
