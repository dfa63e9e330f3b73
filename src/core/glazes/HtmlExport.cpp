#include "glazes/HtmlExport.h"

#include "shell/Preferences.h"
#include "support/NumberFormat.h"
#include "support/TextHelpers.h"

#include <ostream>
#include <vector>

namespace {

constexpr int kNameWidth = 22;
constexpr int kPercentPlaces = 3;
constexpr int kBatchPlaces = 5;

std::string Anchor(int position)
{
    std::string digits = std::to_string(position);
    if (digits.size() < 4)
        digits.insert(0, 4 - digits.size(), '0');
    return "glz" + digits;
}

// "c" before a bare cone number; a range that names its unit (cone, C, F) keeps its own text.
const char* ConePrefix(const std::string& range)
{
    return range.find_first_of("cCF") == std::string::npos ? "c" : "";
}

void WriteIndexLine(std::ostream& out, const CGlaze& glaze, int position)
{
    out << "<LI><A HREF=\"#" << Anchor(position) << "\"><B>" << EscapeHtml(glaze.m_name) << "</B>  --  "
        << EscapeHtml(glaze.m_type) << "  --  " << ConePrefix(glaze.m_range) << EscapeHtml(glaze.m_range)
        << "  --  " << EscapeHtml(glaze.m_firetype) << "</A><P>\n";
}

void WriteDescription(std::ostream& out, const char* label, const std::string& value)
{
    if (!value.empty() || g_prefs.emptydesc)
        out << "<B>" << label << "</B> " << EscapeHtml(value) << "<BR>\n";
}

// "%-22s  %s    %s": the name padded before escaping, so the columns line up on the page.
void WriteRow(std::ostream& out, const std::string& name, double percent, double batch)
{
    std::string padded = name;
    PadRightString(padded, kNameWidth);
    out << EscapeHtml(padded) << "  " << FormatNumberWidth(percent, kPercentPlaces, g_prefs.decrecipepct)
        << "    " << FormatNumberWidth(batch, kBatchPlaces, g_prefs.decrecipe) << '\n';
}

void WriteRecipe(std::ostream& out, const CGlaze& glaze)
{
    const double total = glaze.m_components.GetTotalAmount();
    const double factor = total > 0.0 ? 100.0 / total : 1.0;
    out << "<B>Recipe:</B> (Percent, Batch)<BR><PRE>";
    for (const auto& line : glaze.m_components)
        WriteRow(out, line->m_name, factor * line->m_amount, line->m_amount);
    out << std::string(kNameWidth, ' ') << "  " << std::string(static_cast<std::size_t>(g_prefs.decrecipepct + 4), '-')
        << "    " << std::string(static_cast<std::size_t>(g_prefs.decrecipe + 6), '-') << '\n';
    WriteRow(out, "Totals:", factor * total, total);
    out << "</PRE><P>\n";
    if (glaze.m_additions.GetCount() > 0) {
        out << "\n<B>Also add:</B><BR>\n<PRE>";
        for (const auto& line : glaze.m_additions)
            WriteRow(out, line->m_name, factor * line->m_amount, line->m_amount);
        out << "</PRE><P>\n\n";
    }
}

void WriteComments(std::ostream& out, const CGlaze& glaze)
{
    out << "<B>Comments:</B><BR><PRE>\n";
    if (glaze.m_byVol)
        out << "Recipe in parts by volume.\n";
    for (const std::string& note : glaze.m_notes)
        out << EscapeHtml(note) << '\n';
    if (!glaze.m_variations.empty()) {
        out << "Variations --\n";
        for (const std::string& variation : glaze.m_variations)
            out << EscapeHtml(variation) << '\n';
    }
    out << "</PRE><P>\n\n<HR>\n\n";
}

void WriteSection(std::ostream& out, const CGlaze& glaze, int position)
{
    out << "<H3><A NAME=\"" << Anchor(position) << "\"></A>Glaze name: " << EscapeHtml(glaze.m_name) << "</H3>\n";
    WriteDescription(out, "Glaze type:", glaze.m_type);
    WriteDescription(out, "Cone:", glaze.m_range);
    WriteDescription(out, "Firing:", glaze.m_firetype);
    WriteDescription(out, "Surface texture:", glaze.m_quality);
    WriteDescription(out, "Transparency:", glaze.m_transparency);
    WriteDescription(out, "Color:", glaze.m_color);
    WriteDescription(out, "Visual texture:", glaze.m_vistexture);
    WriteDescription(out, "Crystals:", glaze.m_xtals);
    WriteDescription(out, "Bubbles:", glaze.m_bubbles);
    WriteDescription(out, "Flow:", glaze.m_flow);
    WriteDescription(out, "Flaws:", glaze.m_flaws);
    WriteDescription(out, "Durability:", glaze.m_durability);
    WriteDescription(out, "Testing:", glaze.m_tested);
    WriteDescription(out, "Source:", glaze.m_source);
    WriteDescription(out, "Date:", glaze.m_date);
    out << "<P>\n";
    WriteRecipe(out, glaze);
    WriteComments(out, glaze);
}

} // namespace

std::string EscapeHtml(std::string_view text)
{
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        case '\'': escaped += "&#39;"; break;
        default: escaped += c; break;
        }
    }
    return escaped;
}

int CHtmlExport::WriteGlazes(std::ostream& out, const CGlazeList& glazes, std::span<const int> indices)
{
    std::vector<const CGlaze*> chosen;
    for (const int index : indices) {
        if (index >= 0 && index < glazes.GetCount())
            chosen.push_back(&glazes.GetAt(index));
    }
    out << "<HTML><HEAD>\n" << g_prefs.m_strHtmlHeader << "\n</HEAD><BODY>\n\n" << g_prefs.m_strHtmlTop
        << "\n\n<HR>\n\n<UL>\n";
    for (std::size_t i = 0; i < chosen.size(); ++i)
        WriteIndexLine(out, *chosen[i], static_cast<int>(i));
    out << "</UL>\n\n<HR>\n\n";
    for (std::size_t i = 0; i < chosen.size(); ++i)
        WriteSection(out, *chosen[i], static_cast<int>(i));
    out << g_prefs.m_strHtmlBottom << "\n\n</BODY></HTML>\n";
    return out ? 0 : 1;
}
