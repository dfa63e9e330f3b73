// The set tools of the substitution edit form: Exchange, Normalize, Check Materials and Batch
// Calculation, the name completion of the set boxes (Tab and Enter), and the materials list.

#include "substitutions/SubstitutionEditView.h"

#include "framework/Cp1252.h"
#include "framework/MessageService.h"
#include "glazes/IngredientList.h"
#include "materials/MaterialArray.h"
#include "materials/MaterialsDoc.h"
#include "shell/OxidariumApp.h"
#include "support/AmountLines.h"
#include "support/PlainTextEditLines.h"
#include "support/TabEdit.h"
#include "support/TextHelpers.h"
#include "tools/BatchCalcDlg.h"

#include <QListWidget>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>

namespace {

constexpr unsigned kSetProblemHelpId = 0x30156;
constexpr unsigned kCheckDoneHelpId = 0x30157;

CMaterialArray* Materials()
{
    return g_pMaterialsDoc ? &g_pMaterialsDoc->Materials() : nullptr;
}

// The completion of a typed name: the material's own name and a tab when the name or code is
// known, or begins exactly one material's name or code; otherwise the trimmed text.
std::string CompletedName(std::string text)
{
    TrimString(text);
    CMaterialArray* materials = Materials();
    if (text.empty() || !materials)
        return text;
    std::string found = text;
    if (materials->FindMaterial(found, true))
        return found + "\t";
    std::string prefix = text;
    int status = PrefixNone;
    if (materials->FindByPrefix(prefix, true, &status))
        return prefix + "\t";
    return text;
}

} // namespace

bool CSubstitutionEditView::ReformatBox(QPlainTextEdit* box, bool tell)
{
    CIngredientList list;
    if (const CRefusedLine refused = ReadAmountLines(*box, list))
        return tell && RefuseAmountLine(refused, m_refusals);
    CStringArrayEx lines;
    FormatSetLines(lines, list);
    SetBoxLines(box, lines);
    return true;
}

void CSubstitutionEditView::Exchange()
{
    std::array<CIngredientList, 2> sets;
    if (!TakeSets(sets))
        return;
    CStringArrayEx lines;
    FormatSetLines(lines, sets[1]);
    SetBoxLines(m_set1, lines);
    FormatSetLines(lines, sets[0]);
    SetBoxLines(m_set2, lines);
    SetModified(true);
}

// Set 1's first material becomes 100 (or, when it already is 100, set 1 totals 100); set 2
// keeps its proportion to set 1.
void CSubstitutionEditView::Normalize()
{
    std::array<CIngredientList, 2> sets;
    if (!TakeSets(sets))
        return;
    if (sets[0].GetCount() > 0) {
        double divisor = sets[0].GetAt(0).m_amount;
        if (divisor == 100.0 || divisor == 0.0)
            divisor = sets[0].GetTotalAmount();
        if (divisor == 0.0)
            divisor = 1.0;
        for (CIngredientList& set : sets) {
            for (int i = 0; i < set.GetCount(); ++i)
                set.GetAt(i).m_amount = set.GetAt(i).m_amount * 100.0 / divisor;
        }
    }
    CStringArrayEx lines;
    FormatSetLines(lines, sets[0]);
    SetBoxLines(m_set1, lines);
    FormatSetLines(lines, sets[1]);
    SetBoxLines(m_set2, lines);
    SetModified(true);
}

// A material that is not in the database, unavailable or badly mapped is reported in an OK /
// Cancel box; Cancel ends the reporting. A line the form refuses is told first: the check of the
// others cannot speak for the sets.
void CSubstitutionEditView::CheckMaterials()
{
    std::array<CIngredientList, 2> sets;
    if (!TakeSets(sets))
        return;
    CMaterialArray* materials = Materials();
    int problems = 0;
    bool warn = true;
    const auto report = [&problems, &warn](const std::string& text) {
        ++problems;
        if (AppMessageBox(text, MsgOkCancel | MsgIconInformation, kSetProblemHelpId) == MsgResultCancel)
            warn = false;
    };
    for (const CIngredientList& set : sets) {
        for (int i = 0; i < set.GetCount() && warn; ++i) {
            std::string name = set.GetAt(i).m_name;
            CMaterial* material = materials ? materials->FindMaterial(name, true) : nullptr;
            if (!material)
                report("\"" + name + "\" is not in the material list");
            if (warn && material && material->m_available == 0)
                report("\"" + name + "\" is unavailable");
            int status = MappingOk;
            if (warn && material && !material->m_mapTo.empty() && !materials->ResolveMapping(material, &status))
                report("\"" + name + "\" has an invalid mapping");
        }
    }
    if (problems == 0)
        AppMessageBox("All ingredients are in the material list, available, and have correct mapping",
                      MsgOk | MsgIconInformation, kCheckDoneHelpId);
}

// Set 1 is the recipe the calculator starts from; the batch it hands back becomes set 2.
void CSubstitutionEditView::BatchCalculation()
{
    std::array<CIngredientList, 2> sets;
    if (!TakeSets(sets))
        return;
    CIngredientList& components = sets[0];
    CStringArrayEx lines;
    FormatSetLines(lines, components);
    SetBoxLines(m_set1, lines);
    CIngredientList additions;
    if (!RunBatchCalculation(components, additions, this, "sed_bkg"))
        return;
    components.Append(additions);
    FormatSetLines(lines, components);
    SetBoxLines(m_set2, lines);
    SetModified(true);
}

void CSubstitutionEditView::CompleteName(QPlainTextEdit* box)
{
    QTextCursor cursor = box->textCursor();
    if (cursor.hasSelection() || cursor.positionInBlock() == 0)
        return;
    const QString typed = cursor.block().text().left(cursor.positionInBlock());
    const std::string completed = CompletedName(ToCp1252(typed));
    cursor.movePosition(QTextCursor::StartOfBlock, QTextCursor::KeepAnchor);
    cursor.insertText(FromCp1252(completed));
    box->setTextCursor(cursor);
}

// Enter ends a line: the line just ended is canonicalised and reformatted, or emptied when it
// has no positive amount.
void CSubstitutionEditView::CompleteEndedLine(QPlainTextEdit* box)
{
    if (m_bCompleting || !box->hasFocus())
        return;
    const QTextCursor cursor = box->textCursor();
    if (cursor.hasSelection() || cursor.positionInBlock() != 0 || cursor.blockNumber() == 0)
        return;
    const QTextBlock ended = cursor.block().previous();
    const std::string original = ToCp1252(ended.text());
    std::string name;
    double amount = 0.0;
    // A line whose amount is refused stays as typed, for the user to mend.
    if (SplitAmountLine(original, name, amount) == AmountLine::Refused)
        return;
    std::string line;
    if (amount > 0.0) {
        if (CMaterialArray* materials = Materials())
            materials->FindMaterial(name, true);
        CStringArrayEx formatted;
        CIngredientList single;
        single.Add(name, amount);
        FormatSetLines(formatted, single);
        line = formatted.front();
    }
    if (line == original)
        return;
    m_bCompleting = true;
    QTextCursor edit(ended);
    edit.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    edit.insertText(FromCp1252(line));
    m_bCompleting = false;
}

bool CSubstitutionEditView::SetBoxLeft(QPlainTextEdit* box, bool tell)
{
    m_nLastSet = box == m_set2 ? 1 : 0;
    // A box holding a line whose amount is refused keeps its lines as typed, for the user to mend.
    return !IsChanged() || ReformatBox(box, tell);
}

void CSubstitutionEditView::AddMaterial(int row)
{
    const CMaterialArray* materials = Materials();
    const CMaterial* material = materials ? materials->GetAt(row) : nullptr;
    if (!material)
        return;
    QPlainTextEdit* box = SetEdit(m_nLastSet);
    QTextCursor cursor(box->document());
    cursor.movePosition(QTextCursor::End);
    std::string text;
    if (!cursor.block().text().isEmpty())
        text = "\r\n";
    text += material->m_name + "\t100\r\n";
    cursor.insertText(EditTextFromCore(text));
    box->setTextCursor(cursor);
    SetModified(true);
}

void CSubstitutionEditView::FillMaterialsList()
{
    m_materials->clear();
    if (const CMaterialArray* materials = Materials()) {
        for (int i = 0; i < materials->GetCount(); ++i)
            m_materials->addItem(FromCp1252(materials->GetAt(i)->m_displayKey));
    }
    m_bMaterialsFilled = true;
}
