// Writing a glaze database file. The layout (the blanks in the prefixes included) is fixed:
// other readers and existing files rely on it.

#include "glazes/GlazeList.h"

#include "shell/Preferences.h"
#include "support/NumberFormat.h"
#include "support/NumberText.h"
#include "support/TextHelpers.h"
#include "glazes/OptimizationParams.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <ostream>
#include <string_view>

namespace {

// Where a double still resolves every whole number; from here on rounding to decimals would move
// the value itself.
constexpr double kWholeNumberLimit = 4503599627370496.0; // 2^52

// The text is handed to the stream in blocks of about this size.
constexpr std::size_t kFlushSize = 1 << 16;

// The decimals the file keeps of an amount: those the recipes are shown and typed with, and five
// at least.
int FileDecimals()
{
    return std::max({g_prefs.decrecipe, g_prefs.decrecipeinput, 5});
}

class CGlazeFileWriter {
public:
    explicit CGlazeFileWriter(std::ostream& out) : m_out(out), m_decimals(FileDecimals())
    {
        m_text.reserve(kFlushSize + 4096);
    }

    void Header(const CGlazeList& list);
    void Glaze(const CGlaze& glaze);
    void OptimizationParams(const COptimizationParams& params);

    // Hands the remaining text to the stream; false when the stream failed.
    bool Finish()
    {
        Flush();
        return !m_out.fail();
    }

private:
    void Line(std::string_view prefix, std::string_view value);
    void Number(std::string_view prefix, double value);
    void Integer(std::string_view prefix, int value);
    void Empty();
    void FlushWhenFull()
    {
        if (m_text.size() >= kFlushSize)
            Flush();
    }
    void Flush()
    {
        m_out.write(m_text.data(), static_cast<std::streamsize>(m_text.size()));
        m_text.clear();
    }

    std::ostream& m_out;
    const int m_decimals;
    std::string m_text;
};

// An amount or batch size as the file holds it: the recipe decimals, no trailing zeros. A
// negative, not-a-number or infinite value never reaches a file: it is written as 0.
std::string FormatFileNumber(double value, int decimals)
{
    if (!std::isfinite(value) || !(value > 0.0))
        return "0";
    // So large a value is a whole number already; its exact digits read back unchanged.
    if (value >= kWholeNumberLimit)
        return FormatDoubleFixed(value, 0);
    // Fewer decimals where the double holds fewer, so that a value read back from the file is
    // written again with the same text.
    while (decimals > 0 && value * PowerOfTen(decimals) >= kWholeNumberLimit)
        --decimals;
    std::string text = FormatFixed(value, decimals);
    StripTrailingZerosAll(text);
    return text;
}

void CGlazeFileWriter::Line(std::string_view prefix, std::string_view value)
{
    m_text.append(prefix);
    AppendOneLineValue(m_text, value);
    m_text.push_back('\n');
}

void CGlazeFileWriter::Number(std::string_view prefix, double value)
{
    m_text.append(prefix);
    m_text.append(FormatFileNumber(value, m_decimals));
    m_text.push_back('\n');
}

void CGlazeFileWriter::Integer(std::string_view prefix, int value)
{
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    m_text.append(prefix);
    m_text.append(digits, result.ptr);
    m_text.push_back('\n');
}

void CGlazeFileWriter::Empty()
{
    m_text.push_back('\n');
}

void CGlazeFileWriter::Header(const CGlazeList& list)
{
    Line("filetype = ", kGlazeFileType);
    Line("version =  ", "2");
    Empty();
    Line("dbname  = ", list.m_name);
    for (const std::string& line : list.m_infoLines)
        Line("I = |", line);
    Empty();
}

void CGlazeFileWriter::Glaze(const CGlaze& glaze)
{
    Line("name   = ", glaze.m_name);
    Line("index  = ", glaze.m_index);
    Line("date   = ", glaze.m_date);
    Line("source = ", glaze.m_source);
    Line("type   = ", glaze.m_type);
    Line("range  = ", glaze.m_range);
    Line("firetype     = ", glaze.m_firetype);
    Line("color        = ", glaze.m_color);
    Line("vistexture   = ", glaze.m_vistexture);
    Line("quality      = ", glaze.m_quality);
    Line("transparency = ", glaze.m_transparency);
    Line("xtals        = ", glaze.m_xtals);
    Line("bubbles      = ", glaze.m_bubbles);
    Line("flow         = ", glaze.m_flow);
    Line("durability   = ", glaze.m_durability);
    Line("flaws     = ", glaze.m_flaws);
    Line("tested    = ", glaze.m_tested);
    Line("imagefile = ", glaze.m_imagefile);
    Line("notefile  =  ", glaze.m_notefile);
    Line("limform   =  ", glaze.m_limform);
    Line("by_vol    = ", glaze.m_byVol ? "y" : "n");
    Number("batchsize = ", glaze.m_batchSize);
    for (const auto& line : glaze.m_components) {
        if (!line)
            continue;
        Line("component = ", line->m_name);
        Number("amount    = ", line->m_amount);
    }
    for (const auto& line : glaze.m_additions) {
        if (!line)
            continue;
        Line("addition  = ", line->m_name);
        Number("addamount = ", line->m_amount);
    }
    for (const std::string& line : glaze.m_variations)
        Line("var  = |", line);
    for (const std::string& line : glaze.m_notes)
        Line("note = |", line);
    Empty();
    if (const COptimizationParams* params = glaze.FindOptimizationParams())
        OptimizationParams(*params);
    FlushWhenFull();
}

void CGlazeFileWriter::OptimizationParams(const COptimizationParams& params)
{
    for (const COxideConstraint& constraint : params.m_oxideConstraints)
        Line("optox  = ", constraint.Format());
    for (const CMaterialConstraint& constraint : params.m_materialConstraints)
        Line("optmat = ", constraint.Format());
    for (const std::string& name : params.m_excludedMaterials)
        Line("optmex = ", name);
    Integer("optoct = ", params.m_oxideUnit);
    Integer("optmct = ", params.m_materialUnit);
    Integer("optaaa = ", params.m_allMaterials);
    Line("optodt = ", params.m_oxideTolerance);
    Line("optmdt = ", params.m_materialTolerance);
    Integer("optgmm = ", params.m_maximize);
    Integer("optgt  = ", params.m_goal);
    Integer("optrfr = ", params.m_firedWeight);
    Line("optsiz = ", params.m_recipeSize);
    Line("optexp = ", params.m_expansionConstraint.Format());
    Empty();
}

} // namespace

bool AmountWrittenAsZero(double amount)
{
    return amount > 0.0 && FormatFileNumber(amount, FileDecimals()) == "0";
}

int CGlazeList::Write(std::ostream& out) const
{
    CGlazeFileWriter writer(out);
    writer.Header(*this);
    for (const auto& glaze : m_glazes)
        if (glaze)
            writer.Glaze(*glaze);
    return writer.Finish() ? 0 : 1;
}
