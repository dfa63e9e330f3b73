#include "glazes/LimitComparisonChart.h"

#include "glazes/GlazeAnalysis.h"
#include "limits/LimitFormulaDB.h"
#include "support/NumberText.h"

#include <algorithm>
#include <cmath>
#include <ostream>
#include <string_view>

namespace {

constexpr char kKeepWithNext = '\x01';

// The axis the rows are drawn against. It starts as 0 to -1 by unity, which no limit matches, so
// the first row always gets an axis of its own.
struct SAxis {
    double minimum = 0.0;
    double maximum = -1.0;
    bool byPercent = false;
};

struct SLayout {
    int nameWidth = 0;
    int gap = 0;
    int barWidth = 0;
    int divisions = 0;
    bool keep = false;
    int FirstColumn() const { return nameWidth + gap; }
};

// Removes a final '0' up to count times.
std::string DropFinalZeros(std::string text, int count)
{
    for (int i = 0; i < count && !text.empty() && text.back() == '0'; ++i)
        text.pop_back();
    return text;
}

void EndLine(std::ostream& out, const SLayout& layout)
{
    if (layout.keep)
        out << kKeepWithNext;
    out << '\n';
}

// Puts text into line centred on column (integer halves of its length), growing the line.
void PlaceCentred(std::string& line, std::string_view text, int column)
{
    const int start = std::max(0, column - static_cast<int>(text.size()) / 2);
    const std::size_t end = static_cast<std::size_t>(start) + text.size();
    if (line.size() < end)
        line.resize(end, ' ');
    line.replace(static_cast<std::size_t>(start), text.size(), text);
}

// A new axis for a limit on combination: an empty line and the labels of the bar's ends and
// middle.
SAxis WriteAxis(std::ostream& out, const COxideCombination& combination, bool byPercent, const SLayout& layout)
{
    SAxis axis;
    axis.byPercent = byPercent;
    std::string labels[3];
    if (byPercent) {
        axis.minimum = 0.0;
        axis.maximum = 100.0;
        labels[0] = "0 %";
        labels[1] = "50 %";
        labels[2] = "100 %";
    } else {
        axis.minimum = combination.m_plotMin;
        axis.maximum = combination.m_plotMax;
        if (axis.minimum == axis.maximum) {
            axis.minimum = 0.0;
            axis.maximum = 1.0;
        }
        const double middle = axis.minimum + (axis.maximum - axis.minimum) * 0.5;
        labels[0] = DropFinalZeros(FormatDoubleFixed(axis.minimum, 2), 1);
        labels[1] = DropFinalZeros(FormatDoubleFixed(middle, 3), 2);
        labels[2] = DropFinalZeros(FormatDoubleFixed(axis.maximum, 2), 1);
    }
    const int first = layout.FirstColumn();
    std::string line;
    PlaceCentred(line, labels[0], first);
    PlaceCentred(line, labels[1], first + layout.barWidth / 2);
    PlaceCentred(line, labels[2], first + layout.barWidth);
    out << '\n' << line;
    EndLine(out, layout);
    return axis;
}

bool SameAxis(const SAxis& axis, const COxideCombination& combination, bool byPercent)
{
    if (axis.byPercent != byPercent)
        return false;
    if (byPercent)
        return axis.minimum == 0.0 && axis.maximum == 100.0;
    return axis.minimum == combination.m_plotMin && axis.maximum == combination.m_plotMax;
}

// The bar column of x. The position is clamped just outside the bar before it becomes an int,
// so huge, reversed or degenerate ranges give a column that is simply not drawn.
int ColumnOf(double x, const SAxis& axis, int barWidth)
{
    const double position = std::floor((x - axis.minimum) * barWidth / (axis.maximum - axis.minimum) + 0.5);
    if (std::isnan(position))
        return -1;
    return static_cast<int>(std::clamp(position, -1.0, static_cast<double>(barWidth) + 1.0));
}

bool InBar(int column, int barWidth)
{
    return column >= 0 && column <= barWidth;
}

// Blanks with ':' at every tick.
std::string EmptyBar(const SLayout& layout)
{
    std::string bar(static_cast<std::size_t>(layout.barWidth) + 1, ' ');
    if (layout.divisions > 0) {
        for (long long i = 0; i <= layout.divisions; ++i)
            bar[static_cast<std::size_t>(i * layout.barWidth / layout.divisions)] = ':';
    }
    return bar;
}

// '-' over the columns from first to last (kept inside the bar), ';' over ticks.
void FillRange(std::string& bar, int first, int last)
{
    first = std::max(first, 0);
    last = std::min(last, static_cast<int>(bar.size()) - 1);
    for (int c = first; c <= last; ++c) {
        char& cell = bar[static_cast<std::size_t>(c)];
        cell = cell == ':' ? ';' : '-';
    }
}

void PutMark(std::string& bar, int column, char mark)
{
    if (InBar(column, static_cast<int>(bar.size()) - 1))
        bar[static_cast<std::size_t>(column)] = mark;
}

std::string DrawRange(const CLimit& limit, const SAxis& axis, const SLayout& layout)
{
    std::string bar = EmptyBar(layout);
    const int minColumn = limit.HasMinimum() ? ColumnOf(limit.GetMinimum(), axis, layout.barWidth) : 0;
    const int maxColumn = limit.HasMaximum() ? ColumnOf(limit.GetMaximum(), axis, layout.barWidth) : 0;
    if (limit.HasMinimum() && limit.HasMaximum())
        FillRange(bar, minColumn + 1, maxColumn - 1);
    else if (limit.HasMinimum())
        FillRange(bar, minColumn + 1, layout.barWidth);
    else if (limit.HasMaximum())
        FillRange(bar, 0, maxColumn - 1);
    if (limit.HasMinimum())
        PutMark(bar, minColumn, limit.IsMinimumInclusive() ? '|' : '<');
    if (limit.HasMaximum())
        PutMark(bar, maxColumn, limit.IsMaximumInclusive() ? '|' : '>');
    return bar;
}

void WriteRow(std::ostream& out, std::string_view name, const std::string& bar, const std::string& value,
              const SLayout& layout)
{
    const std::size_t width = static_cast<std::size_t>(layout.nameWidth);
    name = name.substr(0, std::min(width, name.size()));
    const std::string gap(static_cast<std::size_t>(layout.gap), ' ');
    out << std::string(width - name.size(), ' ') << name << gap << bar << gap << value;
    EndLine(out, layout);
}

void WriteLimitRow(std::ostream& out, const CGlazeAnalysis& analysis, const CLimit& limit,
                   const COxideCombination& combination, SAxis& axis, const SLayout& layout)
{
    const bool byPercent = limit.m_byPercent != 0;
    if (!SameAxis(axis, combination, byPercent))
        axis = WriteAxis(out, combination, byPercent, layout);
    limit.ParseRange();
    std::string bar = DrawRange(limit, axis, layout);
    const double value = combination.GetValue(analysis, byPercent);
    if (analysis.IsValid() && value >= axis.minimum && value <= axis.maximum)
        PutMark(bar, ColumnOf(value, axis, layout.barWidth), limit.IsAnalysisWithin(analysis) ? '*' : 'o');
    const std::string text = byPercent ? FormatDoubleFixed(value, 1) + " %" : FormatDoubleFixed(value, 2);
    WriteRow(out, combination.m_name, bar, text, layout);
}

} // namespace

void WriteLimitComparisonChart(std::ostream& out, const CGlazeAnalysis& analysis, const std::string& formulaName,
                               int nameWidth, int gap, int barWidth, int divisions, int keep)
{
    const CLimitFormulaDB* database = GetCurrentLimitFormulaDB();
    const CLimitFormula* formula = database ? database->FindFormulaByName(formulaName) : nullptr;
    if (!formula || formula->m_limits.GetCount() == 0)
        return;
    SLayout layout;
    layout.nameWidth = std::max(0, nameWidth);
    layout.gap = std::max(0, gap);
    layout.barWidth = std::max(0, barWidth);
    layout.divisions = divisions;
    layout.keep = keep != 0;

    SAxis axis;
    for (int i = 0; i < formula->m_limits.GetCount(); ++i) {
        const CLimit& limit = formula->m_limits.GetAt(i);
        const COxideCombination* combination = database->m_combinations.FindByName(limit.m_comboName);
        if (combination) {
            WriteLimitRow(out, analysis, limit, *combination, axis, layout);
            continue;
        }
        // The next limit gets a new axis.
        out << '\n';
        axis = SAxis();
        WriteRow(out, limit.m_comboName, "???", std::string(), layout);
    }
}
