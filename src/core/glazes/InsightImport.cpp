#include "glazes/InsightImport.h"

#include "framework/MessageService.h"
#include "materials/MaterialsDoc.h"
#include "shell/DocumentRead.h"
#include "shell/Preferences.h"
#include "support/CompareNoCase.h"
#include "support/InputFile.h"
#include "support/LineOStream.h"
#include "support/MessagePath.h"
#include "support/NumberFormat.h"
#include "support/NumberText.h"
#include "support/PathHelpers.h"
#include "support/TextHelpers.h"

#include <memory>
#include <ostream>

namespace {

constexpr const char* kVersionError = ": Incorrect version number (should be >= 4.0)";
constexpr std::size_t kLeftOutLinesListed = 10; // lines named in the message; the rest counted
constexpr const char* kPrematureEndError = ": Premature end of file";
constexpr double kLowestVersion = 4.0;

// Where the reader stands in a recipe text.
enum class RecipeState {
    Version,     // number lines up to "rcp"
    SkipHeader,  // the line after "rcp"
    Name,
    Material,
    SkipAmount,  // version 4.0 with bare LF ends: the line between material and amount
    Amount,
    AfterEof,    // up to "notes"
    Notes,       // up to "endnotes"
};

class CRecipeReader {
public:
    CRecipeReader(bool lfLineEnds, CGlazeList& target, CImportedAmounts& amounts)
        : m_lfLineEnds(lfLineEnds), m_target(target), m_amounts(amounts)
    {
    }

    // Takes one trimmed line, numbered from 1; false with the error text when the recipe cannot
    // go on.
    bool TakeLine(const std::string& line, long long number, std::string& error);
    // The end of the text: false with the error text when a recipe was left unfinished.
    bool AtEnd(std::string& error);

private:
    bool TakeVersionLine(const std::string& line, std::string& error);
    void FinishGlaze();

    const bool m_lfLineEnds;
    CGlazeList& m_target;
    CImportedAmounts& m_amounts;
    RecipeState m_state = RecipeState::Version;
    double m_version = 0.0;
    bool m_skipLine = false;
    // Set after a recipe's "endnotes": the text may end there, or hold the next recipe.
    bool m_betweenRecipes = false;
    std::unique_ptr<CGlaze> m_glaze;
    std::string m_material;
};

bool CRecipeReader::TakeVersionLine(const std::string& line, std::string& error)
{
    if (!EqualsNoCase(line, "rcp")) {
        m_version = ParseDouble(line);
        return true;
    }
    if (m_version < kLowestVersion) {
        error = kVersionError;
        return false;
    }
    m_skipLine = m_version == kLowestVersion && m_lfLineEnds;
    m_glaze = std::make_unique<CGlaze>(kInsightGlazeName);
    m_betweenRecipes = false;
    m_state = RecipeState::SkipHeader;
    return true;
}

bool CRecipeReader::TakeLine(const std::string& line, long long number, std::string& error)
{
    switch (m_state) {
    case RecipeState::Version:
        return TakeVersionLine(line, error);
    case RecipeState::SkipHeader:
        m_state = RecipeState::Name;
        break;
    case RecipeState::Name:
        m_glaze->m_name = line;
        m_state = RecipeState::Material;
        break;
    case RecipeState::Material:
        if (EqualsNoCase(line, "eof")) {
            m_state = RecipeState::AfterEof;
        } else {
            m_material = CanonicalMaterialName(line);
            m_state = m_skipLine ? RecipeState::SkipAmount : RecipeState::Amount;
        }
        break;
    case RecipeState::SkipAmount:
        m_state = RecipeState::Amount;
        break;
    case RecipeState::Amount:
        if (const double amount = m_amounts.Read(line, number);
            !m_amounts.LeavesOut(amount, number, m_glaze->m_name, m_material, line)) {
            m_glaze->m_components.Add(m_material, amount);
            m_glaze->InvalidateAnalysis();
        }
        m_state = RecipeState::Material;
        break;
    case RecipeState::AfterEof:
        if (EqualsNoCase(line, "notes"))
            m_state = RecipeState::Notes;
        break;
    case RecipeState::Notes:
        if (EqualsNoCase(line, "endnotes"))
            FinishGlaze();
        else
            m_glaze->m_notes.push_back(line);
        break;
    }
    return true;
}

void CRecipeReader::FinishGlaze()
{
    m_glaze->m_notes.RemoveLeadingEmpty();
    m_glaze->m_notes.RemoveTrailingEmpty();
    m_target.InsertCopyAt(m_target.GetCount(), *m_glaze);
    m_glaze.reset();
    m_state = RecipeState::Version;
    m_version = 0.0;
    m_betweenRecipes = true;
}

bool CRecipeReader::AtEnd(std::string& error)
{
    // A recipe without notes, or whose notes run to the end without "endnotes", is complete.
    if (m_state == RecipeState::AfterEof || m_state == RecipeState::Notes) {
        FinishGlaze();
        return true;
    }
    if (m_state == RecipeState::Version && m_betweenRecipes)
        return true;
    error = kPrematureEndError;
    return false;
}

// The first line, the version Insight wrote, tells a file's line ends: a CR LF further on (a note
// pasted in) must not change how every amount of the file is read.
bool FirstLineEndsWithCrLf(std::string_view text)
{
    const std::size_t end = text.find('\n');
    return end != std::string_view::npos && end > 0 && text[end - 1] == '\r';
}

std::string FormatTypedAmount(double amount)
{
    std::string text = FormatFixed(amount, g_prefs.decrecipeinput);
    StripTrailingZeros(text, g_prefs.tzsrecipeinput);
    return text;
}

void WriteIngredientLines(std::ostream& out, const CIngredientList& lines)
{
    for (const auto& line : lines)
        out << line->m_name << "  " << FormatTypedAmount(line->m_amount) << '\n';
}

} // namespace

int CInsightIO::ReadRecipeText(std::string_view text, char delimiter, bool lfLineEnds, CGlazeList& target,
                               std::string& error, CImportedAmounts* amounts)
{
    error.clear();
    CImportedAmounts untold;
    CRecipeReader reader(lfLineEnds, target, amounts ? *amounts : untold);
    long long number = 0;
    for (std::string& line : SplitImportLines(text, delimiter)) {
        if (!reader.TakeLine(TrimString(line), ++number, error))
            return 1;
    }
    return reader.AtEnd(error) ? 0 : 1;
}

int CInsightIO::ImportRecipes(CGlazeList& target, std::vector<std::string>& paths, bool fromClipboard)
{
    if (fromClipboard)
        paths.assign(1, kClipboardSourceName);
    for (const std::string& path : paths) {
        std::string text;
        std::string error;
        char delimiter = '\n';
        bool lfLineEnds = true; // clipboard text is read as LF-delimited lines
        if (fromClipboard) {
            text = ReadImportClipboard();
        } else if (ReadImportFile(path, text, error)) {
            delimiter = LineDelimiterOf(text);
            lfLineEnds = delimiter == '\n' && !FirstLineEndsWithCrLf(text);
        }
        CImportedAmounts amounts;
        if (error.empty())
            ReadRecipeText(text, delimiter, lfLineEnds, target, error, &amounts);
        amounts.Report(path, kInsightImportErrorHelpId);
        if (!error.empty() &&
            AppMessageBox(MessagePath(path) + error, MsgOkCancel | MsgIconExclamation, kInsightImportErrorHelpId) ==
                MsgResultCancel) {
            target.Reset();
            return 0;
        }
    }
    return target.GetCount();
}

std::string CInsightIO::SuggestedFileName(std::string_view glazeName)
{
    constexpr std::size_t kLongest = 8;
    std::string name;
    for (const char c : glazeName) {
        const bool letterOrDigit = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        if (letterOrDigit && name.size() < kLongest)
            name += c;
    }
    return (name.empty() ? std::string("glaze") : name) + ".rcp";
}

int CInsightIO::WriteRecipes(std::ostream& out, const CGlazeList& glazes, std::span<const int> indices)
{
    bool first = true;
    for (const int index : indices) {
        if (index < 0 || index >= glazes.GetCount())
            continue;
        const CGlaze& glaze = glazes.GetAt(index);
        if (!first)
            out << '\n';
        first = false;
        out << "5.0\nRCP\nSTANDARD.MDT\n" << glaze.m_name << '\n';
        for (const CIngredientList* list : {&glaze.m_components, &glaze.m_additions}) {
            for (const auto& line : *list)
                out << line->m_name << '\n' << FormatDoubleFixed(line->m_amount, 2) << '\n';
        }
        out << "EOF\n0\nNOTES\n";
        for (const std::string& note : glaze.m_notes)
            out << note << '\n';
        out << "ENDNOTES\n";
    }
    return out ? 0 : 1;
}

int WriteInsightClipboardRecipe(std::ostream& out, const std::string& name, int scope,
                                const CIngredientList& components, const CIngredientList& additions)
{
    out << name;
    if (scope == kInsightComponents)
        out << " (components only)";
    else if (scope == kInsightAdditions)
        out << " (additions only)";
    out << '\n';
    if (scope != kInsightAdditions)
        WriteIngredientLines(out, components);
    if (scope != kInsightComponents)
        WriteIngredientLines(out, additions);
    return out ? 0 : 1;
}

int ReadInsightClipboardRecipe(std::string_view text, std::string& title, CStringArrayEx& lines)
{
    title.clear();
    lines.clear();
    bool first = true;
    for (std::string& line : SplitImportLines(text, '\n')) {
        TrimString(line);
        if (first)
            title = line;
        else if (!line.empty())
            lines.push_back(line);
        first = false;
    }
    if (title.find("(components only)") != std::string::npos)
        return kInsightComponents;
    if (title.find("(additions only)") != std::string::npos)
        return kInsightAdditions;
    return kInsightEntireRecipe;
}

void SplitInsightRecipe(const CIngredientList& received, const CIngredientList& presentAdditions,
                        CIngredientList& components, CIngredientList& additions)
{
    CIngredientList newComponents;
    CIngredientList newAdditions;
    for (const auto& line : received) {
        CIngredientList& into = presentAdditions.FindByName(line->m_name) ? newAdditions : newComponents;
        into.InsertAt(into.GetCount(), *line);
    }
    components = std::move(newComponents);
    additions = std::move(newAdditions);
}

double CImportedAmounts::Read(std::string_view text, long long line)
{
    std::size_t used = 0;
    const double amount = ParseDoublePrefix(text, used);
    // Kept, an amount the file writes as 0 would come back from the next save as none.
    if (AmountWrittenAsZero(amount)) {
        if (m_notes.notNumbers.Add(line))
            m_notes.notNumbers.text = "\"" + std::string(text) + "\" is less than a recipe keeps; read as 0";
        return 0.0;
    }
    // An empty amount reads as 0 and loses nothing.
    if (used != text.size() && m_notes.notNumbers.Add(line))
        m_notes.notNumbers.text = "\"" + std::string(text) + "\" is not a number; read as " + FormatDoubleShortest(amount);
    return amount;
}

bool CImportedAmounts::LeavesOut(double amount, long long line, const std::string& glaze, const std::string& material,
                                 std::string_view text)
{
    if (amount >= 0.0 && amount <= kMaxRecipeAmount)
        return false;
    m_leftOut.push_back("line " + std::to_string(line) + " (" + glaze + "): " + material + " " + std::string(text));
    return true;
}

std::string CImportedAmounts::Message(const std::string& source) const
{
    std::string message = ReadNotesMessage(source, m_notes);
    if (m_leftOut.empty())
        return message;
    const std::size_t count = m_leftOut.size();
    message += (message.empty() ? "" : "\n\n") + MessagePath(source) + ": " + std::to_string(count) +
               (count == 1 ? " ingredient line was left out, its amount negative or more than a recipe holds:"
                           : " ingredient lines were left out, their amounts negative or more than a recipe holds:");
    for (std::size_t i = 0; i < count && i < kLeftOutLinesListed; ++i)
        message += "\n" + m_leftOut[i];
    if (count > kLeftOutLinesListed)
        message += "\nand " + std::to_string(count - kLeftOutLinesListed) + " more";
    return message;
}

void CImportedAmounts::Report(const std::string& source, unsigned helpId) const
{
    if (const std::string message = Message(source); !message.empty())
        AppMessageBox(message, MsgOk | MsgIconExclamation, helpId);
}

bool ReadImportFile(const std::string& path, std::string& text, std::string& error)
{
    CInputFile in;
    if (in.Open(path) && in.ReadAll(text))
        return true;
    error = ": " + in.OpenFailureWords();
    return false;
}

std::string ReadImportClipboard()
{
    CClipboardInput input;
    input.Open();
    return input.Text();
}

CStringArrayEx SplitImportLines(std::string_view text, char delimiter)
{
    CStringArrayEx lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find(delimiter, start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::string CanonicalMaterialName(std::string name)
{
    if (!g_pMaterialsDoc)
        return name;
    std::string probe = name;
    return g_pMaterialsDoc->FindMaterial(probe) ? probe : name;
}
