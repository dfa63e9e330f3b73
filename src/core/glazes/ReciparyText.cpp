#include "glazes/ReciparyText.h"

#include "framework/MessageService.h"
#include "glazes/InsightImport.h"
#include "shell/Preferences.h"
#include "support/CompareNoCase.h"
#include "support/MessagePath.h"
#include "support/NumberFormat.h"
#include "support/NumberText.h"
#include "support/PathHelpers.h"
#include "support/TextHelpers.h"

#include <array>
#include <memory>
#include <ostream>

namespace {

constexpr int kNoteWidth = 70;
// A line this long among the first three means the text was split at the wrong delimiter.
constexpr std::size_t kLongestOpeningLine = 512;
constexpr double kMissingAmount = 99999.0;
constexpr const char* kMissingName = "XXXXXX";

constexpr const char* kGlazeNameLabel = "Glaze name:";
constexpr const char* kRecipeLabel = "Recipe:";
constexpr const char* kAlsoAddLabel = "Also add:";
constexpr const char* kCommentsLabel = "Comments:";

struct CDescriptionLabel {
    const char* label;
    int field; // GlazeField
};

// In the order they are tested: "Surface texture:" before "Surface:".
constexpr std::array<CDescriptionLabel, 17> kDescriptionLabels = {{
    {"Cone:", kGlazeFieldRange},
    {"Date:", kGlazeFieldDate},
    {"Color:", kGlazeFieldColor},
    {"Testing:", kGlazeFieldTested},
    {"Tested:", kGlazeFieldTested},
    {"Surface texture:", kGlazeFieldQuality},
    {"Surface:", kGlazeFieldQuality},
    {"Firing:", kGlazeFieldFiretype},
    {"Glaze type:", kGlazeFieldType},
    {"Transparency:", kGlazeFieldTransparency},
    {"Visual texture:", kGlazeFieldVisTexture},
    {"Crystals:", kGlazeFieldCrystals},
    {"Bubbles:", kGlazeFieldBubbles},
    {"Flow:", kGlazeFieldFlow},
    {"Flaws:", kGlazeFieldFlaws},
    {"Durability:", kGlazeFieldDurability},
    {"Source:", kGlazeFieldSource},
}};

// Sections the collection writes after a glaze's comments; they end the comments.
constexpr std::array<const char*, 5> kCommentEnds = {"Possible Health Hazards:", "Analyses:", "Unity Formula",
                                                      "Percentage Analysis:", "Estimated Thermal Expansion:"};

enum class ReciparyState { Seeking, Description, Recipe, AfterTotals, Additions, Comments };
// Decided by the first ingredient line of a source, for all its lines.
enum class AmountOrder { Undecided, AmountFirst, NameFirst };

// The text after label with its leading whitespace removed.
std::string ValueAfter(const std::string& line, std::string_view label)
{
    std::string value = line.substr(label.size());
    return TrimStringLeft(value);
}

// Takes the last whitespace-separated token off text (which is trimmed on the right first) and
// returns it; text keeps what stood before it.
std::string TakeLastToken(std::string& text)
{
    TrimStringRight(text);
    std::size_t start = text.size();
    while (start > 0 && !IsWhitespaceChar(text[start - 1]))
        --start;
    std::string token = text.substr(start);
    text.erase(start);
    TrimStringRight(text);
    return token;
}

// True when text is written as a number, usable or not ("12", "-5", "0x10", "nan", "inf"), rather
// than a word that ends a name.
bool LooksLikeNumber(std::string_view text)
{
    std::size_t used = 0;
    ParseDoublePrefix(text, used);
    if (used > 0)
        return true;
    if (!text.empty() && (text[0] == '+' || text[0] == '-'))
        text.remove_prefix(1);
    return EqualsNoCase(text, "nan") || EqualsNoCase(text, "inf") || EqualsNoCase(text, "infinity");
}

// True when text is a number written as 0 ("0", "0.00"): an amount, as the exports write an amount
// of 0, unlike a missing one or one that only reads as 0 ("nan", "0x10").
bool IsWrittenZero(std::string_view text)
{
    double value = 1.0;
    return ReadNumberText(text, value) && value == 0.0;
}

class CReciparyReader {
public:
    CReciparyReader(CGlazeList& target, CImportedAmounts& amounts) : m_target(target), m_amounts(amounts) {}

    // Takes one line (trimmed on the right); false when the user cancelled.
    bool TakeLine(const std::string& line);
    // Finishes the glaze in progress.
    void AtEnd() { FinishGlaze(); }

private:
    bool TakeRecipeLine(const std::string& line);
    void TakeDescriptionLine(const std::string& line);
    void TakeCommentLine(const std::string& line);
    bool TakeIngredient(const std::string& line, CIngredientList& into);
    void StartGlaze(const std::string& name);
    void FinishGlaze();

    CGlazeList& m_target;
    CImportedAmounts& m_amounts;
    long long m_line = 0; // the number of the line being read, from 1
    ReciparyState m_state = ReciparyState::Seeking;
    AmountOrder m_order = AmountOrder::Undecided;
    bool m_twoColumns = false;
    std::unique_ptr<CGlaze> m_glaze;
};

void CReciparyReader::StartGlaze(const std::string& name)
{
    m_glaze = std::make_unique<CGlaze>(name);
    m_state = ReciparyState::Description;
}

void CReciparyReader::FinishGlaze()
{
    if (!m_glaze)
        return;
    m_glaze->m_notes.Reflow(kNoteWidth);
    // The blank line that separates blocks would otherwise end the notes, and grow by one on
    // every export and import.
    m_glaze->m_notes.RemoveTrailingEmpty();
    m_target.InsertCopyAt(m_target.GetCount(), *m_glaze);
    m_glaze.reset();
}

bool CReciparyReader::TakeLine(const std::string& line)
{
    ++m_line;
    // A new block ends the one in progress wherever it stands, so a glaze whose block has no
    // "Comments:" line is neither lost nor merged into its predecessor.
    if (StartsWithNoCase(line, kGlazeNameLabel)) {
        FinishGlaze();
        StartGlaze(ValueAfter(line, kGlazeNameLabel));
        return true;
    }
    switch (m_state) {
    case ReciparyState::Seeking:
        break;
    case ReciparyState::Description:
        TakeDescriptionLine(line);
        break;
    case ReciparyState::Recipe:
    case ReciparyState::Additions:
        return TakeRecipeLine(line);
    case ReciparyState::AfterTotals:
        if (StartsWithNoCase(line, kAlsoAddLabel))
            m_state = ReciparyState::Additions;
        else if (StartsWithNoCase(line, kCommentsLabel))
            m_state = ReciparyState::Comments;
        break;
    case ReciparyState::Comments:
        TakeCommentLine(line);
        break;
    }
    return true;
}

void CReciparyReader::TakeDescriptionLine(const std::string& line)
{
    for (const CDescriptionLabel& entry : kDescriptionLabels) {
        if (StartsWithNoCase(line, entry.label)) {
            m_glaze->SetField(entry.field, ValueAfter(line, entry.label));
            return;
        }
    }
    if (StartsWithNoCase(line, kRecipeLabel)) {
        m_twoColumns = line.find("Percent") != std::string::npos && line.find("Batch") != std::string::npos;
        m_state = ReciparyState::Recipe;
        return;
    }
    std::string text = line;
    if (!TrimStringLeft(text).empty()) {
        m_glaze->m_notes.push_back(text);
        m_glaze->m_notes.emplace_back();
    }
}

bool CReciparyReader::TakeRecipeLine(const std::string& line)
{
    std::string text = line;
    TrimStringLeft(text);
    if (text.empty())
        return true;
    if (text.find("Total") != std::string::npos) {
        m_state = ReciparyState::AfterTotals;
    } else if (StartsWithNoCase(text, kAlsoAddLabel)) {
        m_state = ReciparyState::Additions;
    } else if (StartsWithNoCase(text, kCommentsLabel)) {
        m_state = ReciparyState::Comments;
    } else {
        return TakeIngredient(
            text, m_state == ReciparyState::Recipe ? m_glaze->m_components : m_glaze->m_additions);
    }
    return true;
}

void CReciparyReader::TakeCommentLine(const std::string& line)
{
    for (const char* end : kCommentEnds) {
        if (StartsWithNoCase(line, end)) {
            FinishGlaze();
            m_state = ReciparyState::Seeking;
            return;
        }
    }
    if (!line.empty() || !m_glaze->m_notes.empty())
        m_glaze->m_notes.push_back(line);
}

bool CReciparyReader::TakeIngredient(const std::string& line, CIngredientList& into)
{
    if (m_order == AmountOrder::Undecided)
        m_order = ParseDouble(line) > 0.0 ? AmountOrder::AmountFirst : AmountOrder::NameFirst;
    std::string name;
    std::string amountText;
    if (m_order == AmountOrder::AmountFirst) {
        const std::size_t blank = line.find_first_of(" \t\n\v\f\r");
        amountText = line.substr(0, blank);
        if (blank != std::string::npos)
            name = line.substr(blank);
        TrimStringLeft(name);
    } else {
        name = line;
        amountText = TakeLastToken(name);
        if (m_twoColumns)
            TakeLastToken(name); // the percent column
        TrimString(name);
    }
    // A negative amount, or one no recipe holds, leaves its line out, named at the end; no amount,
    // or one that reads as 0 but is no number ("nan", "0x10"), is asked about, naming the line.
    // One too small for the glaze file ("0.000004", "1e-320") is there: it reads as 0 and is named
    // at the end; a 0 written as a number ("0.00") is an amount of 0.
    const double written = ParseDouble(amountText);
    const bool tooSmall = AmountWrittenAsZero(written);
    const bool zero = IsWrittenZero(amountText);
    double amount = written > 0.0 ? m_amounts.Read(amountText, m_line) : zero ? 0.0 : written;
    if (m_amounts.LeavesOut(amount, m_line, m_glaze->m_name, name, amountText))
        return true;
    if (!(amount > 0.0) && !tooSmall && !zero) {
        const std::string question = "Missing ingredient amount?\n Glaze: " + m_glaze->m_name + "\n Line reads: " +
                                     line + "\n(setting amount to 99999.0)";
        if (AppMessageBox(question, MsgOkCancel | MsgIconExclamation, kReciparyMissingAmountHelpId) ==
            MsgResultCancel)
            return false;
        amount = kMissingAmount;
        // A line without any amount is the material's name whole ("Custer Feldspar"); an amount
        // that is there but unusable leaves the name before it.
        if (!LooksLikeNumber(amountText))
            name = line;
    }
    if (name.empty()) {
        const std::string question =
            "Missing ingredient name?\n Glaze: " + m_glaze->m_name + "\n(setting name to 'XXXXXX')";
        if (AppMessageBox(question, MsgOkCancel, kReciparyMissingNameHelpId) == MsgResultCancel)
            return false;
        name = kMissingName;
    }
    into.Add(CanonicalMaterialName(name), amount);
    m_glaze->InvalidateAnalysis();
    return true;
}

void WriteField(std::ostream& out, const char* label, const std::string& value)
{
    if (!value.empty() || g_prefs.emptydesc)
        out << label << value << '\n';
}

void WriteIngredients(std::ostream& out, const CIngredientList& lines, double factor)
{
    for (const auto& line : lines) {
        out << line->m_name << '\t' << FormatFixed(factor * line->m_amount, g_prefs.decrecipepct) << '\t'
            << FormatFixed(line->m_amount, g_prefs.decrecipe) << '\n';
    }
}

void WriteGlaze(std::ostream& out, const CGlaze& glaze)
{
    out << "Glaze name: " << glaze.m_name << '\n';
    WriteField(out, "Cone: ", glaze.m_range);
    WriteField(out, "Color: ", glaze.m_color);
    WriteField(out, "Testing: ", glaze.m_tested);
    WriteField(out, "Surface texture: ", glaze.m_quality);
    WriteField(out, "Firing: ", glaze.m_firetype);
    WriteField(out, "Glaze type: ", glaze.m_type);
    WriteField(out, "Transparency: ", glaze.m_transparency);
    WriteField(out, "Visual texture: ", glaze.m_vistexture);
    WriteField(out, "Crystals: ", glaze.m_xtals);
    WriteField(out, "Bubbles: ", glaze.m_bubbles);
    WriteField(out, "Flow: ", glaze.m_flow);
    WriteField(out, "Flaws: ", glaze.m_flaws);
    WriteField(out, "Durability: ", glaze.m_durability);
    WriteField(out, "Source: ", glaze.m_source);
    WriteField(out, "Date: ", glaze.m_date);
    out << '\n';

    const double total = glaze.m_components.GetTotalAmount();
    const double factor = total > 0.0 ? 100.0 / total : 1.0;
    out << "Recipe:\tPercent\tBatch\n";
    WriteIngredients(out, glaze.m_components, factor);
    out << "Totals:\t" << FormatFixed(factor * total, g_prefs.decrecipepct) << " %\t"
        << FormatFixed(total, g_prefs.decrecipe) << " g\n\n";
    if (glaze.m_additions.GetCount() > 0) {
        out << "Also add:\n";
        WriteIngredients(out, glaze.m_additions, factor);
        out << '\n';
    }

    out << "Comments:\n";
    if (glaze.m_byVol)
        out << "Recipe in parts by volume.\n";
    for (const std::string& note : glaze.m_notes)
        out << note << '\n';
    if (!glaze.m_variations.empty()) {
        out << "Variations --\n";
        for (const std::string& variation : glaze.m_variations)
            out << variation << '\n';
    }
    out << '\n';
}

} // namespace

int CReciparyIO::ImportText(CGlazeList& target, std::string_view text, LineBreaks breaks, const std::string& source)
{
    CImportedAmounts amounts;
    CReciparyReader reader(target, amounts);
    int lineCount = 0;
    for (std::string& line : SplitLines(text, breaks)) {
        ++lineCount;
        if (lineCount <= 3 && line.size() > kLongestOpeningLine) {
            AppMessageBox(MessagePath(source) + ": File does not have proper line termination line " + std::to_string(lineCount),
                          MsgOk | MsgIconExclamation, kGlazeImportErrorHelpId);
            target.Reset();
            return 0;
        }
        if (!reader.TakeLine(TrimStringRight(line))) {
            target.Reset();
            return 0;
        }
    }
    reader.AtEnd();
    amounts.Report(source, kGlazeImportErrorHelpId);
    return target.GetCount();
}

int CReciparyIO::ImportRecipes(CGlazeList& target, const std::string& path)
{
    if (path.empty())
        return ImportText(target, ReadImportClipboard(), '\n', kClipboardSourceName);
    std::string text;
    std::string error;
    if (!ReadImportFile(path, text, error)) {
        AppMessageBox(MessagePath(path) + error, MsgOk | MsgIconExclamation, kGlazeImportErrorHelpId);
        return target.GetCount();
    }
    return ImportText(target, text, LineDelimiterOf(text), path);
}

int CReciparyIO::ExportRecipes(std::ostream& out, const CGlazeList& glazes, std::span<const int> indices)
{
    for (const int index : indices) {
        if (index >= 0 && index < glazes.GetCount())
            WriteGlaze(out, glazes.GetAt(index));
    }
    return out ? 0 : 1;
}
