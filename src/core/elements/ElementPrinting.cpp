#include "elements/ElementPrinting.h"

#include "elements/ElementTable.h"
#include "shell/Preferences.h"
#include "support/NumberFormat.h"
#include "support/TextHelpers.h"

#include <ostream>

namespace {

// The text printer's layout characters, as the lines here combine them.
constexpr const char* kKeep = "\x01";
constexpr const char* kHidden = "\x02";
constexpr const char* kRunningHeaders = "\x05\x06"; // first-page and later-page header
constexpr const char* kNewPage = "\x0c";
constexpr const char* kNewPageNumberedOne = "\x0c\x07";
constexpr const char* kTallKeep = "\x0f\x01";
constexpr const char* kRuleKeep = "\x19\x01";
constexpr const char* kTallRuleKeep = "\x19\x0f\x01";

void Line(std::ostream& out, const std::string& text, const char* markers = "")
{
    out << text << markers << '\n';
}

std::string Dashes(const std::string& text)
{
    return std::string(text.size(), '-');
}

std::string PaddedRight(std::string text, int width)
{
    return PadRightString(text, width);
}

// A report's title: running headers with form feeds, else a tall ruled heading kept together
// with the line after it.
void WriteHeading(std::ostream& out, const std::string& title, bool formFeeds)
{
    if (formFeeds) {
        Line(out, title, kRunningHeaders);
        Line(out, Dashes(title), kHidden);
    } else {
        Line(out, title, kTallKeep);
        Line(out, Dashes(title), kTallRuleKeep);
        Line(out, "", kKeep);
    }
}

std::string SummaryExpansionText(const CElementRecord& element)
{
    std::string text = IsUnknownExpansion(element.expansion)
                           ? std::string("(unknown)")
                           : FormatFixed(element.expansion, 2) + " x 10e-7 per degree C";
    if (element.unusual)
        text += " (unusual effects)";
    return text;
}

std::string ListExpansionText(const CElementRecord& element)
{
    std::string text = IsUnknownExpansion(element.expansion)
                           ? std::string("(unknown)")
                           : FormatNumberWidth(element.expansion, 1, 2) + " x10e-7/deg C";
    if (element.unusual)
        text += " (U.E.)";
    return text;
}

void WriteNoteLines(std::ostream& out, const CElementRecord& element)
{
    if (!element.annotations.empty()) {
        Line(out, "");
        for (const std::string& line : element.annotations)
            Line(out, line, kKeep);
    }
    if (!element.notes.empty()) {
        Line(out, "");
        Line(out, "Notes:", kKeep);
        // Only the first two note lines stay with the heading: long notes may break.
        for (std::size_t i = 0; i < element.notes.size(); ++i)
            Line(out, element.notes[i], i < 2 ? kKeep : "");
    }
}

} // namespace

const char* ElementSummaryRoleWord(std::int32_t role)
{
    const bool amphoteric = (role & kRoleAmphoteric) != 0;
    if (role & kRoleAlkali)
        return amphoteric ? "Alkali (amphoteric)" : "Alkali";
    if (role & kRoleNeutral)
        return "Neutral";
    if (role & kRoleAcid)
        return amphoteric ? "Acid (amphoteric)" : "Acid";
    if (role & kRoleVolatile)
        return "Volatile";
    return "Not Expected";
}

const char* ElementListRoleWord(std::int32_t role)
{
    const bool amphoteric = (role & kRoleAmphoteric) != 0;
    if (role & kRoleAlkali)
        return amphoteric ? "Alkali (amph.)" : "Alkali";
    if (role & kRoleNeutral)
        return "Neutral";
    if (role & kRoleAcid)
        return amphoteric ? "Acid (amph.)" : "Acid";
    if (role & kRoleVolatile)
        return "(volatile)";
    return "(not expected)";
}

void WriteElementSummary(std::ostream& out, const CElementRecord& element, bool formFeeds)
{
    const std::string title = std::to_string(element.z) + "  " + element.symbol + " " + element.name;
    if (formFeeds) {
        Line(out, "", kNewPageNumberedOne);
        Line(out, title, kRunningHeaders);
        Line(out, Dashes(title), kHidden);
        Line(out, "", kHidden);
    } else {
        WriteHeading(out, title, false);
    }
    Line(out, "Atomic weight:   " + FormatFixed(element.weight, 1), kKeep);
    Line(out, "Oxide:           " + element.oxide, kKeep);
    Line(out, "Oxide mol. wt. : " + FormatFixed(element.oxideMW, 1), kKeep);
    Line(out, std::string("Ceramic role:    ") + ElementSummaryRoleWord(element.role), kKeep);
    Line(out, "Expansion:       " + SummaryExpansionText(element), kKeep);
    WriteNoteLines(out, element);
    if (!formFeeds) {
        Line(out, "");
        Line(out, "");
    }
}

void WriteElementSummaries(std::ostream& out, const CElementRecord* table, const int flags[kElementCount],
                           bool formFeeds)
{
    for (int z = 1; z < kElementCount; ++z) {
        if (flags[z])
            WriteElementSummary(out, table[z], formFeeds);
    }
}

void WriteElementSummaries(std::ostream& out, const int flags[kElementCount])
{
    WriteElementSummaries(out, GetElementTable(), flags, g_prefs.prtuseffs > 0);
}

std::string FormatElementListRow(const CElementRecord& element)
{
    // "%-3d %-2s  %5.1f  %-13s %-5s %6.1f  %-14s %s"
    return PaddedRight(std::to_string(element.z), 3) + " " + PaddedRight(element.symbol, 2) + "  " +
           FormatNumberWidth(element.weight, 3, 1) + "  " + PaddedRight(element.name, 13) + " " +
           PaddedRight(element.oxide, 5) + " " + FormatNumberWidth(element.oxideMW, 4, 1) + "  " +
           PaddedRight(ElementListRoleWord(element.role), 14) + " " + ListExpansionText(element);
}

void WriteElementList(std::ostream& out, const CElementRecord* table, const std::string& dbName,
                      const std::string& path, const CStringArrayEx& infoLines, bool formFeeds)
{
    WriteHeading(out, dbName.empty() ? path : dbName, formFeeds);
    if (!dbName.empty()) {
        Line(out, "File: " + path);
        Line(out, "");
    }
    for (const std::string& line : infoLines)
        Line(out, line);
    if (!formFeeds)
        Line(out, "");

    const std::string columns = " Z  Sym Weight Name          Oxide   M.W.  Ceramic Role   Expansion";
    if (formFeeds) {
        Line(out, "", kNewPage);
        Line(out, columns, kRunningHeaders);
        Line(out, Dashes(columns), kHidden);
    } else {
        Line(out, columns, kKeep);
        Line(out, Dashes(columns), kRuleKeep);
    }
    for (int z = 1; z < kElementCount; ++z)
        Line(out, FormatElementListRow(table[z]));
}
