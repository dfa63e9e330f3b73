#include "glazes/HyperGlazeText.h"

#include "framework/MessageService.h"
#include "glazes/InsightImport.h"
#include "glazes/ReciparyText.h"
#include "support/NumberText.h"
#include "support/PathHelpers.h"
#include "support/StringArrayEx.h"
#include "support/TextHelpers.h"

#include <algorithm>
#include <memory>
#include <ostream>

namespace {

constexpr int kFieldCount = 51;
constexpr int kNoteWidth = 70;
constexpr char kAmountSeparator = 29; // group separator between the amounts of one list
constexpr const char* kLineEnd = "\r";

// A field as a record of the export holds it: text on one line, with no control characters
// other than TAB, the amount separator and the vertical tab that database exports put for a
// line break inside a field (the line end left of a CR LF pair aside). Random bytes or a file
// of another kind fail this at once.
bool IsRecordField(std::string_view raw, int number)
{
    const auto isLineEnd = [](char c) { return c == '\r' || c == '\n'; };
    if (number == 0)
        while (!raw.empty() && isLineEnd(raw.front()))
            raw.remove_prefix(1);
    if (number == kFieldCount - 1)
        while (!raw.empty() && isLineEnd(raw.back()))
            raw.remove_suffix(1);
    return std::none_of(raw.begin(), raw.end(), [](char c) {
        return static_cast<unsigned char>(c) < 32 && c != '\t' && c != '\v' && c != kAmountSeparator;
    });
}

// The fields of one record as they arrive, turned into a glaze when every field was one of a
// record.
class CRecordReader {
public:
    explicit CRecordReader(CGlazeList& target) : m_target(target) {}
    void TakeField(int number, const std::string& value, bool recordField);

private:
    void AddIngredient(CIngredientList& into, const std::string& name);
    void SetAmounts(CIngredientList& lines, const std::string& value);

    CGlazeList& m_target;
    std::unique_ptr<CGlaze> m_glaze;
    bool m_recognised = false;
};

void CRecordReader::AddIngredient(CIngredientList& into, const std::string& name)
{
    if (name.empty())
        return;
    into.Add(CanonicalMaterialName(name), 0.0);
    m_glaze->InvalidateAnalysis();
}

void CRecordReader::SetAmounts(CIngredientList& lines, const std::string& value)
{
    CStringArrayEx pieces;
    pieces.AddTextLines(value, std::string(1, kAmountSeparator));
    for (int i = 0; i < lines.GetCount() && i < static_cast<int>(pieces.size()); ++i)
        lines.GetAt(i).m_amount = ParseDouble(pieces[static_cast<std::size_t>(i)]);
    m_glaze->InvalidateAnalysis();
}

void CRecordReader::TakeField(int number, const std::string& value, bool recordField)
{
    if (number == 0) {
        m_glaze = std::make_unique<CGlaze>(value);
        m_recognised = recordField;
        return;
    }
    m_recognised = m_recognised && recordField;
    if (number >= 4 && number <= 22 && number % 2 == 0) {
        AddIngredient(m_glaze->m_components, value);
        return;
    }
    if (number >= 24 && number <= 30 && number % 2 == 0) {
        AddIngredient(m_glaze->m_additions, value);
        return;
    }
    switch (number) {
    case 1: m_glaze->SetField(kGlazeFieldRange, value); break;
    case 2: m_glaze->m_color = value; break;
    case 3: m_glaze->m_quality = value; break;
    case 32: SetAmounts(m_glaze->m_components, value); break;
    case 33: SetAmounts(m_glaze->m_additions, value); break;
    case 37: m_glaze->m_firetype = value; break;
    case 38: m_glaze->m_tested = value; break;
    case 39:
        if (!value.empty()) {
            m_glaze->m_notes.push_back(value);
            m_glaze->m_notes.Reflow(kNoteWidth);
        }
        break;
    case 42: m_glaze->SetField(kGlazeFieldDate, value); break;
    case 47: m_glaze->m_type = value; break;
    case kFieldCount - 1:
        if (m_recognised)
            m_target.InsertCopyAt(m_target.GetCount(), *m_glaze);
        break;
    default: break;
    }
}

void WriteLine(std::ostream& out, const char* label, const std::string& value)
{
    out << label << value << kLineEnd;
}

void WriteLineWhenSet(std::ostream& out, const char* label, const std::string& value)
{
    if (!value.empty())
        WriteLine(out, label, value);
}

void WriteIngredients(std::ostream& out, const CIngredientList& lines)
{
    for (const auto& line : lines)
        out << line->m_name << '\t' << FormatDoubleFixed(line->m_amount, 2) << kLineEnd;
}

void WriteGlaze(std::ostream& out, const CGlaze& glaze)
{
    WriteLine(out, "Glaze name: ", glaze.m_name);
    WriteLine(out, "Cone: ", glaze.m_range);
    WriteLine(out, "Color: ", glaze.m_color);
    WriteLine(out, "Testing: ", glaze.m_tested);
    WriteLine(out, "Surface: ", glaze.m_quality);
    WriteLine(out, "Firing: ", glaze.m_firetype);
    WriteLineWhenSet(out, "Glaze type: ", glaze.m_type);
    WriteLineWhenSet(out, "Transparency: ", glaze.m_transparency);
    WriteLineWhenSet(out, "Visual texture: ", glaze.m_vistexture);
    WriteLineWhenSet(out, "Crystals: ", glaze.m_xtals);
    WriteLineWhenSet(out, "Bubbles: ", glaze.m_bubbles);
    WriteLineWhenSet(out, "Flow: ", glaze.m_flow);
    WriteLineWhenSet(out, "Flaws: ", glaze.m_flaws);
    WriteLineWhenSet(out, "Durability: ", glaze.m_durability);
    WriteLineWhenSet(out, "Source: ", glaze.m_source);
    out << "Recipe:" << kLineEnd;
    WriteIngredients(out, glaze.m_components);
    // Additions under their own label (HyperGlaze's own text uses it too): run on after the
    // components they would read back as part of the base recipe.
    if (glaze.m_additions.GetCount() > 0) {
        out << "Also add:" << kLineEnd;
        WriteIngredients(out, glaze.m_additions);
    }
    out << "Comments:" << kLineEnd;
    if (glaze.m_byVol)
        out << "Recipe given by volume." << kLineEnd;
    for (const std::string& note : glaze.m_notes)
        out << note << kLineEnd;
    if (!glaze.m_variations.empty()) {
        out << "Variations --" << kLineEnd;
        for (const std::string& variation : glaze.m_variations)
            out << variation << kLineEnd;
    }
}

} // namespace

int CHyperGlazeIO::ImportRecords(CGlazeList& target, std::string_view text, char lineDelimiter)
{
    CRecordReader reader(target);
    std::size_t position = 0;
    int number = 0;
    while (position < text.size()) {
        const char delimiter = number == kFieldCount - 1 ? lineDelimiter : '\t';
        std::size_t end = text.find(delimiter, position);
        if (end == std::string_view::npos)
            end = text.size(); // the last field of the text, read like getline does
        const std::string_view raw = text.substr(position, end - position);
        std::string value(raw);
        position = end + 1;
        reader.TakeField(number, TrimString(value), IsRecordField(raw, number));
        number = (number + 1) % kFieldCount;
    }
    return target.GetCount();
}

bool CHyperGlazeIO::IsLabelledText(std::string_view text)
{
    for (std::size_t start = 0; start < text.size();) {
        std::size_t first = start;
        while (first < text.size() && text[first] == ' ')
            ++first;
        if (StartsWithNoCase(text.substr(first), "Glaze name:"))
            return true;
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    return false;
}

int CHyperGlazeIO::ImportRecipes(CGlazeList& target, const std::string& path)
{
    std::string text;
    if (!ReadImportFile(path, text)) {
        AppMessageBox(path + ": Error opening file", MsgOk | MsgIconExclamation, kGlazeImportErrorHelpId);
        return target.GetCount();
    }
    const char delimiter = DetectLineDelimiter(path);
    if (IsLabelledText(text))
        return CReciparyIO::ImportText(target, text, delimiter, path);
    const int before = target.GetCount();
    const int after = ImportRecords(target, text, delimiter);
    if (after == before)
        AppMessageBox(path + ": " + kNoRecordsMessage, MsgOk | MsgIconExclamation, kGlazeImportErrorHelpId);
    return after;
}

int CHyperGlazeIO::ExportRecipes(std::ostream& out, const CGlazeList& glazes, std::span<const int> indices)
{
    for (const int index : indices) {
        if (index >= 0 && index < glazes.GetCount())
            WriteGlaze(out, glazes.GetAt(index));
    }
    return out ? 0 : 1;
}
