#include "glazes/HyperGlazeText.h"

#include "framework/MessageService.h"
#include "glazes/InsightImport.h"
#include "glazes/ReciparyText.h"
#include "support/CompareNoCase.h"
#include "support/MessagePath.h"
#include "support/NumberText.h"
#include "support/PathHelpers.h"
#include "support/StringArrayEx.h"
#include "support/TextHelpers.h"
#include "support/TextLines.h"

#include <algorithm>
#include <memory>
#include <vector>
#include <ostream>

namespace {

constexpr int kFieldCount = 51;
// The note is the record's free text and the first field a line break may fall in: names,
// cone and amounts before it never hold one. So a record's first line reaches at least the note,
// and a line that falls short of it is a record cut short, never the start of a longer one.
constexpr std::size_t kNoteField = 39;
constexpr int kNoteWidth = 70;
constexpr char kAmountSeparator = 29; // group separator between the amounts of one list
constexpr const char* kLineEnd = "\r";

constexpr const char* kNothingImported = "\nNothing was imported.";
constexpr int kLeftOutListed = 10; // records named in the left-out message; the rest counted

bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

// A field as a record of the export holds it: text with no control characters other than TAB,
// the amount separator, the vertical tab that database exports put for a line break inside a
// field, and a line break itself. Random bytes or a file of another kind fail this at once.
bool IsRecordField(std::string_view raw)
{
    return std::none_of(raw.begin(), raw.end(), [](char c) {
        return static_cast<unsigned char>(c) < 32 && c != '\t' && c != '\v' && c != kAmountSeparator &&
               !IsLineBreak(c);
    });
}

// The lines of a field that holds line breaks (CR, LF or CR LF), each trimmed.
std::vector<std::string> FieldLines(std::string_view raw)
{
    std::vector<std::string> lines(1);
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (!IsLineBreak(raw[i])) {
            lines.back() += raw[i];
            continue;
        }
        if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n')
            ++i;
        lines.emplace_back();
    }
    for (std::string& line : lines)
        TrimString(line);
    return lines;
}

// A one-line field's value: trimmed, a line break inside it read as a blank.
std::string FieldValue(std::string_view raw)
{
    std::string value;
    for (const std::string& line : FieldLines(raw)) {
        if (!line.empty())
            value += value.empty() ? line : " " + line;
    }
    return value;
}

// The name a record that was left out is told by: its first field, on one line.
std::string RecordName(std::string_view record)
{
    std::string name = FieldValue(record.substr(0, record.find('\t')));
    std::replace_if(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 32; }, ' ');
    constexpr std::size_t kNameShown = 60;
    if (name.size() > kNameShown)
        name = name.substr(0, kNameShown) + "...";
    return name;
}

// Turns one record's fields into a glaze appended to the target list.
class CRecordReader {
public:
    CRecordReader(CGlazeList& target, CImportedAmounts& amounts) : m_target(target), m_amounts(amounts) {}
    // False, adding nothing, when the record has fewer than 51 fields or a field holds control
    // characters no record holds. line: where the record starts in the file, from 1.
    bool TakeRecord(std::string_view record, long long line);

private:
    void TakeField(int number, std::string_view raw);
    void AddIngredient(CIngredientList& into, const std::string& name);
    void SetAmounts(CIngredientList& lines, const std::string& value);

    CGlazeList& m_target;
    CImportedAmounts& m_amounts;
    std::unique_ptr<CGlaze> m_glaze;
    long long m_line = 0;
};

void CRecordReader::AddIngredient(CIngredientList& into, const std::string& name)
{
    if (name.empty())
        return;
    into.Add(CanonicalMaterialName(name), 0.0);
    m_glaze->InvalidateAnalysis();
}

// The amounts in the order of the materials; a line whose amount no recipe holds is left out.
void CRecordReader::SetAmounts(CIngredientList& lines, const std::string& value)
{
    CStringArrayEx pieces;
    pieces.AddTextLines(value, std::string(1, kAmountSeparator));
    const int count = std::min(lines.GetCount(), static_cast<int>(pieces.size()));
    std::vector<int> leftOut;
    for (int i = 0; i < count; ++i) {
        std::string text = pieces[static_cast<std::size_t>(i)];
        TrimString(text);
        CIngredient& line = lines.GetAt(i);
        line.m_amount = m_amounts.Read(text, m_line);
        if (m_amounts.LeavesOut(line.m_amount, m_line, m_glaze->m_name, line.m_name, text))
            leftOut.push_back(i);
    }
    for (auto i = leftOut.rbegin(); i != leftOut.rend(); ++i)
        lines.RemoveAt(*i);
    m_glaze->InvalidateAnalysis();
}

bool CRecordReader::TakeRecord(std::string_view record, long long line)
{
    m_line = line;
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (static_cast<int>(fields.size()) < kFieldCount - 1) {
        const std::size_t end = record.find('\t', start);
        if (end == std::string_view::npos)
            return false;
        fields.push_back(record.substr(start, end - start));
        start = end + 1;
    }
    fields.push_back(record.substr(start)); // the last field runs to the end of the record
    if (!std::all_of(fields.begin(), fields.end(), IsRecordField))
        return false;
    m_glaze = std::make_unique<CGlaze>(FieldValue(fields[0]));
    for (int number = 1; number < kFieldCount; ++number)
        TakeField(number, fields[static_cast<std::size_t>(number)]);
    m_target.InsertCopyAt(m_target.GetCount(), *m_glaze);
    return true;
}

void CRecordReader::TakeField(int number, std::string_view raw)
{
    if (number == 39) { // the note: each of its lines, re-flowed
        for (std::string& line : FieldLines(raw))
            m_glaze->m_notes.push_back(std::move(line));
        while (!m_glaze->m_notes.empty() && m_glaze->m_notes.back().empty())
            m_glaze->m_notes.pop_back();
        m_glaze->m_notes.Reflow(kNoteWidth);
        return;
    }
    const std::string value = FieldValue(raw);
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
    case 42: m_glaze->SetField(kGlazeFieldDate, value); break;
    case 47: m_glaze->m_type = value; break;
    default: break;
    }
}

bool IsBlankLine(std::string_view line)
{
    return std::all_of(line.begin(), line.end(), [](char c) { return c == ' ' || IsLineBreak(c); });
}

std::size_t CountTabs(std::string_view line)
{
    return static_cast<std::size_t>(std::count(line.begin(), line.end(), '\t'));
}

std::string LeftOutMessage(const std::vector<CLeftOutRecord>& leftOut)
{
    const std::size_t count = leftOut.size();
    std::string text = std::to_string(count) +
                       (count == 1 ? " record could not be read and was left out:" : " records could not be read and were left out:");
    for (std::size_t i = 0; i < count && i < kLeftOutListed; ++i)
        text += "\nrecord " + std::to_string(leftOut[i].number) + " \"" + leftOut[i].name + "\"";
    if (count > kLeftOutListed)
        text += "\nand " + std::to_string(count - kLeftOutListed) + " more";
    return text;
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

int CHyperGlazeIO::ImportRecords(CGlazeList& target, std::string_view text, char lineDelimiter,
                                 std::vector<CLeftOutRecord>* leftOut, CImportedAmounts* amounts)
{
    // A record is one line with 50 TABs. A line that reaches the note but has fewer is joined
    // with the lines after it (the note or a later field holding a line break) as long as they
    // bring no more TABs than the record lacks. A line that ends before the note, or whose next
    // line brings more TABs, is a record cut short: it is left out, and the next one starts there.
    constexpr std::size_t kTabs = kFieldCount - 1;
    constexpr std::size_t kNone = std::string_view::npos;
    CImportedAmounts untold;
    CRecordReader reader(target, amounts ? *amounts : untold);
    int number = 0;
    long long line = 0, recordLine = 0;
    std::size_t recordStart = kNone, recordEnd = 0, recordTabs = 0;
    const auto finishRecord = [&] {
        if (recordStart == kNone)
            return;
        ++number;
        const std::string_view record = text.substr(recordStart, recordEnd - recordStart);
        if (!reader.TakeRecord(record, recordLine) && leftOut)
            leftOut->push_back({number, RecordName(record)});
        recordStart = kNone;
    };
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find(lineDelimiter, start);
        if (end == kNone)
            end = text.size();
        const std::string_view lineText = text.substr(start, end - start);
        ++line;
        const std::size_t tabs = CountTabs(lineText);
        if (recordStart != kNone && (recordTabs < kNoteField || recordTabs + tabs > kTabs))
            finishRecord();
        if (recordStart == kNone && !IsBlankLine(lineText)) {
            recordStart = start;
            recordLine = line;
            recordTabs = 0;
        }
        if (recordStart != kNone) {
            recordTabs += tabs;
            recordEnd = end;
            if (recordTabs >= kTabs)
                finishRecord();
        }
        start = end + 1;
    }
    finishRecord();
    return target.GetCount();
}

bool CHyperGlazeIO::IsLabelledText(std::string_view text)
{
    // The first line that shows a form decides it: labelled text may open with other lines (a
    // disclaimer, say), and either form may hold a "Glaze name:" line further on, in a note.
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = text.substr(start, end - start);
        if (CountTabs(line) >= kNoteField)
            return false;
        const std::size_t first = std::min(line.find_first_not_of(' '), line.size());
        if (StartsWithNoCase(line.substr(first), "Glaze name:"))
            return true;
        start = end + 1;
    }
    return false;
}

int CHyperGlazeIO::ImportRecipes(CGlazeList& target, const std::string& path)
{
    std::string text;
    std::string error;
    if (!ReadImportFile(path, text, error)) {
        AppMessageBox(MessagePath(path) + error, MsgOk | MsgIconExclamation, kGlazeImportErrorHelpId);
        return target.GetCount();
    }
    // Labelled text passes through other programs and editors, and comes back with its line
    // ends mixed (a first line ended by LF before lines ended by CR, say): a sampled delimiter
    // would run lines together and lose whole recipes, so every kind of line end ends a line.
    if (IsLabelledText(text))
        return CReciparyIO::ImportText(target, text, LineBreaks::Any, path);
    // A record's fields may hold line breaks of the other kind: records end at the line end the
    // text mostly uses.
    const char delimiter = LineDelimiterOf(text);
    const int before = target.GetCount();
    std::vector<CLeftOutRecord> leftOut;
    CImportedAmounts amounts;
    const int after = ImportRecords(target, text, delimiter, &leftOut, &amounts);
    // Records that were there but could not be read are named whether or not others came in;
    // a file holding NUL bytes is no text at all, and its lines are no records to name.
    const bool isText = text.find('\0') == std::string::npos;
    if (!leftOut.empty() && (after != before || isText))
        AppMessageBox(MessagePath(path) + ": " + LeftOutMessage(leftOut) + (after == before ? kNothingImported : ""),
                      MsgOk | MsgIconExclamation, kGlazeImportErrorHelpId);
    else if (after == before)
        AppMessageBox(MessagePath(path) + ": " + kNoRecordsMessage, MsgOk | MsgIconExclamation, kGlazeImportErrorHelpId);
    amounts.Report(path, kGlazeImportErrorHelpId);
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
