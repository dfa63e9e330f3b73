// The material edit view's navigation, new records, clipboard, limited access, other names,
// mapping, note editors, closing and printing.

#include "materials/MaterialEditView.h"

#include "framework/Cp1252.h"
#include "framework/MessageService.h"
#include "framework/UpdateHint.h"
#include "materials/SelectMaterialDlg.h"
#include "shell/AppContext.h"
#include "shell/Clipboards.h"
#include "shell/NamedColors.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"
#include "support/DbFileType.h"
#include "support/EditTextDlg.h"
#include "support/LineOStream.h"
#include "support/NotesEdit.h"
#include "support/NumberFormat.h"
#include "support/PlainTextEditLines.h"
#include "support/PrintJob.h"
#include "support/SelectOneDlg.h"
#include "support/TextHelpers.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

#include <algorithm>

namespace {

constexpr int kMaterialsKind = static_cast<int>(DbFileType::Materials);

std::string TextOf(const QLineEdit* edit)
{
    return ToCp1252(edit->text());
}

std::string Trimmed(const QLineEdit* edit)
{
    std::string text = TextOf(edit);
    return TrimString(text);
}

void SetButtonText(QPushButton* button, const char* text)
{
    const QString wanted = QString::fromLatin1(text);
    if (button->text() != wanted)
        button->setText(wanted);
}

// The cost as the form shows it: the database's cost format without its leading blanks.
std::string CostText(const CMaterialsDoc& doc, double cost)
{
    std::string text = doc.FormatCost(cost);
    return TrimStringLeft(text);
}

} // namespace

// --- buttons --------------------------------------------------------------------------------------

void CMaterialEditView::UpdateButtons()
{
    const CMaterialsDoc* doc = MaterialsDoc();
    const int count = doc ? doc->Materials().GetCount() : 0;
    const bool valid = m_currentIndex >= 0 && m_currentIndex < count;
    Button(kMatEditSave)->setEnabled(m_changed && valid);
    Button(kMatEditUndo)->setEnabled(m_changed && valid);
    QPushButton* previous = Button(kMatEditPrevious);
    QPushButton* next = Button(kMatEditNext);
    if (m_limited) {
        previous->setEnabled(m_limitedPosition > 0);
        next->setEnabled(m_limitedPosition >= 0 && m_limitedPosition < LimitedCount() - 1);
    } else {
        previous->setEnabled(valid);
        next->setEnabled(valid);
    }
    SetButtonText(previous, !m_limited && m_currentIndex <= 0 ? "Insert New" : "Edit Previous");
    SetButtonText(next, !m_limited && (m_currentIndex == count - 1 || m_currentIndex < 0) ? "Append New" : "Edit Next");
}

// --- navigation -----------------------------------------------------------------------------------

void CMaterialEditView::StepLimited(int position)
{
    m_limitedPosition = position;
    PositionOn(m_limitedIndices[static_cast<std::size_t>(position)]);
}

void CMaterialEditView::Next()
{
    const CMaterialsDoc* doc = MaterialsDoc();
    if (!doc)
        return;
    if (m_limited) {
        if (m_limitedPosition >= 0 && m_limitedPosition < LimitedCount() - 1 && AskAndSave())
            StepLimited(m_limitedPosition + 1);
        return;
    }
    const int count = doc->Materials().GetCount();
    if (m_currentIndex == count - 1)
        AppendNew();
    else if (m_currentIndex >= 0 && m_currentIndex < count - 1 && AskAndSave())
        PositionOn(m_currentIndex + 1);
}

void CMaterialEditView::Previous()
{
    if (m_limited) {
        if (m_limitedPosition > 0 && AskAndSave())
            StepLimited(m_limitedPosition - 1);
        return;
    }
    const CMaterialsDoc* doc = MaterialsDoc();
    if (m_currentIndex == 0)
        InsertNew();
    else if (doc && m_currentIndex > 0 && m_currentIndex < doc->Materials().GetCount() && AskAndSave())
        PositionOn(m_currentIndex - 1);
}

void CMaterialEditView::SaveAndNext()
{
    const CMaterialsDoc* doc = MaterialsDoc();
    if (!doc || (m_changed && !SaveChanges()))
        return;
    bool appended = false;
    if (m_limited) {
        if (m_limitedPosition >= 0 && m_limitedPosition < LimitedCount() - 1)
            StepLimited(m_limitedPosition + 1);
    } else if (m_currentIndex == doc->Materials().GetCount() - 1) {
        AppendNew();
        appended = true;
    } else if (m_currentIndex >= 0) {
        PositionOn(m_currentIndex + 1);
    }
    m_name->setFocus();
    if (appended)
        m_name->selectAll();
    else
        m_name->deselect();
}

void CMaterialEditView::JumpTo()
{
    CMaterialsDoc* doc = MaterialsDoc();
    if (!doc)
        return;
    CSelectOneDlg dialog(this, kMatEditSelectHelpId);
    dialog.caption = "Select a Material";
    dialog.backgroundColor = GetNamedColor("med_bkg");
    if (m_limited) {
        for (const CMaterial* record : m_limitedRecords)
            dialog.names.push_back(record->m_name);
        dialog.preselect = m_limitedPosition;
    } else {
        dialog.document = doc;
        dialog.preselect = m_currentIndex;
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selection < 0)
        return;
    const int choice = dialog.selection;
    if (m_limited) {
        if (choice != m_limitedPosition && choice < LimitedCount() && AskAndSave())
            StepLimited(choice);
    } else if (choice != m_currentIndex && doc->Materials().IsValidIndex(choice) && AskAndSave()) {
        PositionOn(choice);
    }
}

// --- new records ----------------------------------------------------------------------------------

void CMaterialEditView::InsertNewAt(int index)
{
    CMaterialsDoc* doc = MaterialsDoc();
    doc->InsertMaterial(index, CMaterial("new material"));
    COxidariumApp::BroadcastUpdate(this, doc, kMaterialsKind, HintMaterialsInserted, index, 0);
    PositionOn(index);
}

void CMaterialEditView::InsertNew()
{
    const CMaterialsDoc* doc = MaterialsDoc();
    if (!doc || m_limited || !doc->Materials().IsValidIndex(m_currentIndex) || !AskAndSave())
        return;
    InsertNewAt(m_currentIndex);
}

void CMaterialEditView::AppendNew()
{
    const CMaterialsDoc* doc = MaterialsDoc();
    if (!doc || m_limited || !doc->Materials().IsValidIndex(m_currentIndex) || !AskAndSave())
        return;
    InsertNewAt(m_currentIndex + 1);
}

void CMaterialEditView::SaveAsNew()
{
    CMaterialsDoc* doc = MaterialsDoc();
    if (!doc || !m_currentRecord || !doc->Materials().IsValidIndex(m_currentIndex) || !CheckFormulaBeforeSave())
        return;
    // The unedited record stays where it was; the edited one follows it.
    const CMaterial original = *m_currentRecord;
    doc->InsertMaterial(m_currentIndex, original);
    COxidariumApp::BroadcastUpdate(this, doc, kMaterialsKind, HintMaterialsInserted, m_currentIndex, 0);
    if (m_limited)
        RefreshLimited();
    else
        RepositionByIdentity();
    if (TextOf(m_name) == original.m_name)
        m_name->setText(FromCp1252(original.m_name + " (new)"));
    SaveChanges();
}

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

void CMaterialEditView::Cut()
{
    Copy();
    SetChanged(false);
    CloseView();
}

// --- limited access -------------------------------------------------------------------------------

void CMaterialEditView::SetLimitedList(const std::vector<int>& indices)
{
    CMaterialsDoc* doc = MaterialsDoc();
    if (!doc)
        return;
    m_limitedIndices.clear();
    m_limitedRecords.clear();
    for (int index : indices) {
        if (CMaterial* record = doc->Materials().GetAt(index)) {
            m_limitedIndices.push_back(index);
            m_limitedRecords.push_back(record);
        }
    }
    if (m_limitedIndices.empty())
        return;
    m_limited = true;
    StepLimited(0);
}

bool CMaterialEditView::RefreshLimited()
{
    const CMaterialsDoc* doc = MaterialsDoc();
    std::vector<CMaterial*> records;
    std::vector<int> indices;
    int position = -1;
    for (CMaterial* record : m_limitedRecords) {
        const int index = doc ? PtrArrayIndexOf(doc->Materials().Records(), static_cast<const CMaterial*>(record)) : -1;
        if (index < 0)
            continue;
        if (record == m_currentRecord)
            position = static_cast<int>(records.size());
        records.push_back(record);
        indices.push_back(index);
    }
    m_limitedRecords = std::move(records);
    m_limitedIndices = std::move(indices);
    m_limitedPosition = position;
    RepositionByIdentity();
    return !m_currentRecord || m_currentIndex >= 0;
}

void CMaterialEditView::RepositionByIdentity()
{
    const CMaterialsDoc* doc = MaterialsDoc();
    if (!m_currentRecord)
        return;
    m_currentIndex = doc ? PtrArrayIndexOf(doc->Materials().Records(), static_cast<const CMaterial*>(m_currentRecord)) : -1;
}

void CMaterialEditView::LeaveLimitedAccess()
{
    if (!m_limited)
        return;
    m_limited = false;
    m_limitedRecords.clear();
    m_limitedIndices.clear();
    m_limitedPosition = -1;
    UpdateButtons();
}

// --- closing --------------------------------------------------------------------------------------

void CMaterialEditView::Close()
{
    const int answer = AskSaveChanges();
    if (answer == MsgResultCancel)
        return;
    if (answer == MsgResultYes)
        SaveToDatabase();
    SetChanged(false);
    CloseView();
}

// --- other names ----------------------------------------------------------------------------------

void CMaterialEditView::ShowAliasRows()
{
    const bool wasLoading = m_loading;
    m_loading = true;
    for (int row = 0; row < 2; ++row) {
        const std::size_t index = static_cast<std::size_t>(m_firstAlias + row);
        const std::string alias = index < m_aliases.size() ? m_aliases[index] : std::string();
        const std::string code = index < m_aliasCodes.size() ? m_aliasCodes[index] : std::string();
        m_aliasEdits[static_cast<std::size_t>(row)]->setText(FromCp1252(alias));
        m_aliasCodeEdits[static_cast<std::size_t>(row)]->setText(FromCp1252(code));
    }
    m_loading = wasLoading;
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

void CMaterialEditView::SetFieldsFromMapped(const CMaterial& mapped)
{
    const CMaterialsDoc* doc = MaterialsDoc();
    const std::string density = FormatFixed(mapped.m_density, 1);
    const std::string cost = CostText(*doc, mapped.m_costPerLb);
    const bool available = mapped.m_available != 0;
    if (TextOf(m_density) == density && TextOf(m_cost) == cost && m_available->isChecked() == available &&
        FormulaText() == mapped.m_formula)
        return;
    m_density->setText(FromCp1252(density));
    m_cost->setText(FromCp1252(cost));
    m_available->setChecked(available);
    SetFormulaText(mapped.m_formula);
    UpdateWeightDisplay();
    SetChanged(true);
}

bool CMaterialEditView::UpdateMappingState()
{
    CMaterialsDoc* doc = MaterialsDoc();
    const std::string mapping = Trimmed(m_mapTo);
    const bool mapped = !mapping.empty();
    bool invalid = false;
    if (mapped) {
        const CMaterial* target = doc ? doc->Materials().FindMaterial(std::string_view(mapping)) : nullptr;
        int status = 0;
        const CMaterial* end = target ? doc->Materials().ResolveMapping(target, &status) : nullptr;
        invalid = !end || end == m_currentRecord;
        if (!invalid)
            SetFieldsFromMapped(*end);
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

void CMaterialEditView::PrintMaterial(unsigned id)
{
    const CMaterialsDoc* doc = MaterialsDoc();
    if (!doc)
        return;
    // The material as the form shows it, unsaved edits included; the stored record is untouched.
    CPrintJob job([this, doc](CTextPrinter& printer) {
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
    });
    switch (id) {
    case CmdMatEditPrint: job.Print(this); break;
    case CmdMatEditPrintPreview: job.PrintPreview(this); break;
    default: job.WriteToFile("Material Summary to File..."); break;
    }
}
