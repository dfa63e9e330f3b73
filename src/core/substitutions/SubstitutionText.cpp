#include "substitutions/SubstitutionText.h"

#include "shell/Preferences.h"
#include "substitutions/SubstitutionList.h"
#include "support/NumberFormat.h"
#include "support/TextHelpers.h"

#include <algorithm>
#include <ostream>
#include <vector>

namespace {

// The text printer's layout characters, as the lines here combine them.
constexpr const char* kKeep = "\x01";
constexpr const char* kHidden = "\x02";
constexpr const char* kHiddenNotInFile = "\x02\x04";
constexpr const char* kRunningHeaders = "\x05\x06";
constexpr const char* kNewPage = "\x0c";
constexpr const char* kNewPageNumberedOne = "\x0c\x07";
constexpr const char* kTallKeep = "\x0f\x01";
constexpr const char* kRuleTallKeep = "\x19\x0f\x01";

// Width of a set column's material name.
constexpr int kNameWidth = 18;

void Line(std::ostream& out, const std::string& text, const char* markers = "")
{
    out << text << markers << '\n';
}

// The title: running headers on a new page, or a tall ruled heading kept with what follows.
void WriteTitle(std::ostream& out, const std::string& title, bool formFeeds)
{
    const std::string dashes(title.size(), '-');
    if (formFeeds) {
        Line(out, title, kRunningHeaders);
        Line(out, dashes, kHidden);
    } else {
        Line(out, title, kTallKeep);
        Line(out, dashes, kRuleTallKeep);
        Line(out, "", kKeep);
    }
}

int RowCount(const CSubstitution& s)
{
    return std::max(s.m_set1.GetCount(), s.m_set2.GetCount());
}

} // namespace

CSubstitutionTextFormat CSubstitutionTextFormat::FromPreferences()
{
    return {g_prefs.prtuseffs > 0, g_prefs.decrecipe, g_prefs.tzsrecipe};
}

std::string SubstitutionSetColumn(const CIngredientList& set, int row, const CSubstitutionTextFormat& format)
{
    const int decimals = std::clamp(format.decimals, 0, 30);
    if (row < 0 || row >= set.GetCount() || !set[static_cast<std::size_t>(row)])
        return std::string(static_cast<std::size_t>(decimals + 23), ' ');
    const CIngredient& line = set.GetAt(row);
    std::string amount = FormatNumberWidth(line.m_amount, 3, decimals);
    BlankTrailingZeros(amount, format.keepDecimals);
    std::string name = line.m_name;
    PadRightString(name, kNameWidth);
    return amount + " " + name;
}

void WriteSubstitutionSummary(std::ostream& out, const CSubstitution& s, const CSubstitutionTextFormat& format)
{
    if (format.formFeeds) {
        Line(out, "", kNewPageNumberedOne);
        WriteTitle(out, s.m_name, true);
        Line(out, "", kHidden);
    } else {
        WriteTitle(out, s.m_name, false);
    }
    const int rows = RowCount(s);
    if (rows > 0) {
        const int decimals = std::clamp(format.decimals, 0, 30);
        Line(out, "For:" + std::string(static_cast<std::size_t>(decimals + 22), ' ') + "Substitute:", kKeep);
        for (int i = 0; i < rows; ++i)
            Line(out, "   " + SubstitutionSetColumn(s.m_set1, i, format) + "   " +
                          SubstitutionSetColumn(s.m_set2, i, format), kKeep);
    }
    if (!s.m_notes.empty()) {
        Line(out, "", kKeep);
        for (const std::string& note : s.m_notes)
            Line(out, note, kKeep);
    }
    if (!format.formFeeds) {
        Line(out, "");
        Line(out, "");
    }
}

namespace {

void WriteTableHeading(std::ostream& out, const CSubstitutionList& list, const std::string& path,
                       bool formFeeds)
{
    WriteTitle(out, list.m_dbName.empty() ? path : list.m_dbName, formFeeds);
    if (!list.m_dbName.empty()) {
        Line(out, "File: " + path);
        Line(out, "");
    }
    for (const std::string& info : list.m_infoLines)
        Line(out, info);
    if (formFeeds) {
        Line(out, "", kNewPage);
    } else {
        for (int i = 0; i < 3; ++i)
            Line(out, "");
    }
}

// The footnote of a substitution's notes: "(k) " before the first line, as many blanks before
// the others.
void AddFootnote(std::vector<std::string>& footnotes, const CSubstitution& s, int number)
{
    const std::string mark = "(" + std::to_string(number) + ") ";
    const std::string indent(mark.size(), ' ');
    for (std::size_t i = 0; i < s.m_notes.size(); ++i)
        footnotes.push_back((i == 0 ? mark : indent) + s.m_notes[i] + kKeep);
    footnotes.push_back(kHiddenNotInFile);
}

} // namespace

void WriteSubstitutionTable(std::ostream& out, const CSubstitutionList& list, const std::string& path,
                            const CSubstitutionTextFormat& format)
{
    WriteTableHeading(out, list, path, format.formFeeds);
    std::vector<std::string> footnotes;
    int footnoteCount = 0;
    for (const auto& record : list.m_records) {
        if (!record || RowCount(*record) == 0)
            continue;
        const CSubstitution& s = *record;
        std::string mark;
        if (!s.m_notes.empty()) {
            ++footnoteCount;
            mark = " (" + std::to_string(footnoteCount) + ")";
            AddFootnote(footnotes, s, footnoteCount);
        }
        for (int i = 0; i < RowCount(s); ++i) {
            const std::string set1 = SubstitutionSetColumn(s.m_set1, i, format);
            const std::string set2 = SubstitutionSetColumn(s.m_set2, i, format);
            if (i == 0)
                Line(out, "For: " + set1 + "  Sub: " + set2 + " " + mark, kKeep);
            else
                Line(out, "     " + set1 + "       " + set2, kKeep);
        }
        Line(out, "");
        Line(out, "");
    }
    for (const std::string& footnote : footnotes)
        out << footnote << '\n';
}
