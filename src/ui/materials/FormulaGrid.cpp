#include "materials/FormulaGrid.h"

#include "materials/Material.h"
#include "materials/MaterialFormula.h"
#include "shell/Preferences.h"
#include "support/NumberFormat.h"
#include "support/NumberText.h"
#include "support/TextHelpers.h"

namespace {

std::string Trimmed(std::string text)
{
    TrimString(text);
    return text;
}

// Appends one component as formulas write it: two blanks before every component but the first.
void AppendComponent(std::string& body, const std::string& amount, const std::string& text)
{
    if (!body.empty())
        body += "  ";
    if (!amount.empty())
        body += amount + ' ';
    body += text;
}

} // namespace

bool IsPositiveNumberText(const std::string& text)
{
    return IsNumberText(text) && ParseDouble(text) > 0.0;
}

void CFormulaGrid::SetColumns(const std::array<std::string, kColumns>& columns)
{
    for (int column = 0; column < kColumns; ++column) {
        const std::string& list = columns[static_cast<std::size_t>(column)];
        std::size_t start = 0;
        for (int row = 0; row < kRows; ++row) {
            Cell& cell = At(column, row);
            cell.label.clear();
            if (start > list.size())
                continue;
            const std::size_t comma = list.find(',', start);
            const std::size_t end = comma == std::string::npos ? list.size() : comma;
            cell.label = Trimmed(list.substr(start, end - start));
            start = comma == std::string::npos ? list.size() + 1 : comma + 1;
        }
    }
}

void CFormulaGrid::SetColumnsFromPreferences()
{
    SetColumns({g_prefs.formedcol1, g_prefs.formedcol2, g_prefs.formedcol3, g_prefs.formedcol4});
}

void CFormulaGrid::Clear()
{
    for (Cell& cell : m_cells)
        cell.amount.clear();
    for (Cell& cell : m_extra)
        cell = Cell();
    m_extraCount = 0;
    other.clear();
    force.clear();
}

CFormulaGrid::Cell* CFormulaGrid::FindFreeCell(const std::string& text)
{
    for (int column = 0; column < kColumns; ++column) {
        for (int row = 0; row < kRows; ++row) {
            Cell& cell = At(column, row);
            // A component written twice keeps both amounts: the second one is placed like a
            // component outside the columns instead of overwriting the first.
            if (!cell.label.empty() && cell.label == text)
                return cell.amount.empty() ? &cell : nullptr;
        }
    }
    return nullptr;
}

void CFormulaGrid::PlaceComponent(const std::string& amountText, const std::string& text)
{
    if (Cell* cell = FindFreeCell(text)) {
        cell->amount = amountText.empty() ? "1.0" : amountText;
        return;
    }
    if (m_extraCount < kExtraCells) {
        Cell& extra = m_extra[static_cast<std::size_t>(m_extraCount++)];
        extra.label = text;
        extra.amount = amountText.empty() ? "1.0" : amountText;
        return;
    }
    AppendComponent(other, amountText, text);
}

void CFormulaGrid::SetFormula(const std::string& formula)
{
    Clear();
    CMaterial scratch("new material");
    if (scratch.SetFormula(formula) != 0) {
        SetUnparsedFormula(formula);
        return;
    }
    for (const CFormulaComponent& component : scratch.m_components)
        PlaceComponent(component.m_amountText, component.m_text);
    if (scratch.m_hasForcedMW)
        force = scratch.m_forcedMWText;
    else if (scratch.m_hasForcedSum)
        force = scratch.m_forcedSumText;
    kind = scratch.m_isMolePercent ? kGridMolePercent : scratch.m_isWeightPercent ? kGridWeightPercent : kGridMolecular;
}

// Losing a formula because it does not parse would lose the user's text: the kind and forced
// value are read from its prefix, and everything after the prefix is kept as other components.
void CFormulaGrid::SetUnparsedFormula(const std::string& formula)
{
    const char* cursor = SkipWhitespace(formula.c_str());
    kind = kGridMolecular;
    if (*cursor == '%') {
        ++cursor;
        kind = kGridWeightPercent;
        if (*cursor == 'm' || *cursor == 'M') {
            kind = kGridMolePercent;
            ++cursor;
        } else if (*cursor == 'w' || *cursor == 'W') {
            ++cursor;
        }
        if (*cursor == '[') {
            const char* start = cursor;
            if (ParseForcedPercentSum(&cursor, &force) != 0) {
                cursor = start;
                force.clear();
            }
        }
    } else if (*cursor == '[') {
        const char* start = cursor;
        if (ParseForcedMolecularWeight(&cursor, &force) != 0) {
            cursor = start;
            force.clear();
        }
    }
    other = Trimmed(cursor);
}

std::string CFormulaGrid::BuildFormula() const
{
    std::string prefix;
    const bool forced = IsPositiveNumberText(force);
    switch (kind) {
    case kGridWeightPercent:
        prefix = forced ? "%[Sum=" + force + "] " : "% ";
        break;
    case kGridMolePercent:
        prefix = "%m ";
        break;
    default:
        if (forced)
            prefix = "[MW=" + force + "] ";
        break;
    }

    std::string body;
    auto add = [&](const Cell& cell) {
        const std::string amount = Trimmed(cell.amount);
        if (cell.label.empty() || ParseDouble(amount) <= 0.0)
            return;
        const bool implicitOne = kind == kGridMolecular && ParseDouble(amount) == 1.0;
        AppendComponent(body, implicitOne ? std::string() : amount, cell.label);
    };
    for (const Cell& cell : m_cells)
        add(cell);
    for (int i = 0; i < m_extraCount; ++i)
        add(m_extra[static_cast<std::size_t>(i)]);
    const std::string rest = Trimmed(other);
    if (!rest.empty())
        body += (body.empty() ? "" : "  ") + rest;
    return prefix + body;
}

int CFormulaGrid::LastLabelledRow() const
{
    for (int row = kRows - 1; row >= 0; --row) {
        for (int column = 0; column < kColumns; ++column) {
            if (!At(column, row).label.empty())
                return row;
        }
    }
    return -1;
}
