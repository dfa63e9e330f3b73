#include "limits/LimitFormulaSummary.h"

#include "limits/LimitFormulaDB.h"
#include "shell/Preferences.h"
#include "support/NumberFormat.h"
#include "support/TextHelpers.h"

#include <algorithm>
#include <ostream>

namespace {

// The text printer's layout characters, as the lines here combine them.
constexpr const char* kKeep = "\x01";
constexpr const char* kHidden = "\x02";
constexpr const char* kRunningHeaders = "\x05\x06";
constexpr const char* kNewPage = "\x0c";
constexpr const char* kNewPageNumberedOne = "\x0c\x07";
constexpr const char* kTallKeep = "\x0f\x01";
constexpr const char* kTallRuleKeep = "\x19\x0f\x01";
constexpr const char* kKeepRule = "\x01\x19";

void Line(std::ostream& out, const std::string& text, const char* markers = "")
{
    out << text << markers << '\n';
}

std::string Dashes(const std::string& text)
{
    return std::string(text.size(), '-');
}

std::string Padded(std::string text, std::size_t width)
{
    PadRightString(text, static_cast<int>(width));
    return text;
}

// A tall ruled title kept with what follows.
void WriteBoldTitle(std::ostream& out, const std::string& title)
{
    Line(out, title, kTallKeep);
    Line(out, Dashes(title), kTallRuleKeep);
}

// A title that heads its page: the running headers take it; its rule is not printed.
void WritePageTitle(std::ostream& out, const std::string& title)
{
    Line(out, title, kRunningHeaders);
    Line(out, Dashes(title), kHidden);
}

std::string PlotNumber(double value)
{
    std::string text = FormatFixed(value, g_prefs.declimformulas);
    return StripTrailingZeros(text, g_prefs.tzslimformulas);
}

void WriteDatabaseHeader(std::ostream& out, const CLimitFormulaDB& database, const std::string& path,
                         bool formFeeds)
{
    const std::string title = database.m_name.empty() ? path : database.m_name;
    if (formFeeds) {
        WritePageTitle(out, title);
    } else {
        WriteBoldTitle(out, title);
        Line(out, "", kKeep);
    }
    if (!database.m_name.empty()) {
        Line(out, "File: " + path);
        Line(out, "");
    }
    for (const std::string& line : database.m_infoLines)
        Line(out, line);
    if (!formFeeds)
        Line(out, "");
}

void WriteCombinationSection(std::ostream& out, const CLimitFormulaDB& database, bool formFeeds)
{
    const std::string heading = "Oxide combinations";
    if (formFeeds) {
        Line(out, "", kNewPage);
        WritePageTitle(out, heading);
    } else {
        WriteBoldTitle(out, heading);
    }
    CStringArrayEx lines;
    std::string header;
    WriteCombinationTable(database.m_combinations, lines, header);
    Line(out, "");
    Line(out, kKeep + header);
    Line(out, kKeepRule + Dashes(header));
    for (const std::string& line : lines)
        Line(out, line);
    if (!formFeeds) {
        Line(out, "");
        Line(out, "");
    }
}

void WriteLimits(std::ostream& out, const CLimitFormula& formula)
{
    std::size_t width = 0;
    for (int i = 0; i < formula.m_limits.GetCount(); ++i)
        width = std::max(width, formula.m_limits.GetAt(i).m_comboName.size());
    for (int i = 0; i < formula.m_limits.GetCount(); ++i) {
        const CLimit& limit = formula.m_limits.GetAt(i);
        Line(out, "    " + Padded(limit.m_comboName, width) + "  " + limit.GetRange() + (limit.m_byPercent ? " %" : ""),
             kKeep);
    }
}

void WriteNotes(std::ostream& out, const CLimitFormula& formula)
{
    if (formula.m_notes.empty())
        return;
    Line(out, "");
    Line(out, "Notes:", kKeep);
    for (std::size_t i = 0; i < formula.m_notes.size(); ++i)
        Line(out, "  " + formula.m_notes[i], i < 2 ? kKeep : "");
}

void WriteOneFormula(std::ostream& out, const CLimitFormula& formula, bool formFeeds)
{
    if (formFeeds) {
        Line(out, "", kNewPageNumberedOne);
        WritePageTitle(out, formula.m_name);
        Line(out, "");
    } else {
        WriteBoldTitle(out, formula.m_name);
        Line(out, "", kKeep);
    }
    WriteLimits(out, formula);
    WriteNotes(out, formula);
    if (!formFeeds) {
        Line(out, "");
        Line(out, "");
    }
}

} // namespace

void WriteCombinationTable(const COxideCombinationArray& combinations, CStringArrayEx& lines, std::string& header)
{
    std::size_t nameWidth = std::string_view("Name").size();
    std::size_t formulaWidth = std::string_view("Formula").size();
    for (const auto& combination : combinations) {
        nameWidth = std::max(nameWidth, combination->m_name.size());
        formulaWidth = std::max(formulaWidth, combination->GetFormula().size());
    }
    nameWidth += 2;
    formulaWidth += 2;
    header = Padded("Name", nameWidth) + Padded("Formula", formulaWidth) + "Plot range";
    lines.clear();
    for (const auto& combination : combinations) {
        lines.push_back(Padded(combination->m_name, nameWidth) + Padded(combination->GetFormula(), formulaWidth) +
                        PlotNumber(combination->m_plotMin) + " - " + PlotNumber(combination->m_plotMax));
    }
}

void WriteLimitFormulaSummary(std::ostream& out, const CLimitFormulaDB& database, const std::string& path,
                              std::span<const int> indices, bool withHeader, const CLimitFormula* formula,
                              bool formFeeds)
{
    if (withHeader) {
        WriteDatabaseHeader(out, database, path, formFeeds);
        WriteCombinationSection(out, database, formFeeds);
    }
    if (formula) {
        WriteOneFormula(out, *formula, formFeeds);
        return;
    }
    for (const int index : indices) {
        if (index >= 0 && index < database.GetCount())
            WriteOneFormula(out, database.GetAt(index), formFeeds);
    }
}
