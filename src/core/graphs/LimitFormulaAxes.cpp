// The bars of the limit-formula charts: one floating bar per usable limit of the formula, from
// its lower to its upper bound on the scale of its combination. The chart's value axis has the
// scale of the first slot; a run of limits with another plot maximum follows an empty gap slot
// that carries a value axis of that scale, and its bars are drawn in proportion.

#include "graphs/Graph.h"

#include "graphs/GraphAxisFlags.h"
#include "limits/LimitFormulaDB.h"
#include "support/NumberFormat.h"

#include <cfloat>
#include <cmath>

namespace {

constexpr int kDefaultValueTicks = 5;

constexpr int kFloatingBars = 0x80;
constexpr int kHorizontalBars = 0xA00;
constexpr int kNoLabels = 0x01;
constexpr int kFirstGrid = 0x04;
constexpr int kSecondGrid = 0x08;
constexpr int kBarKindFlags = 0x20;
constexpr int kBarColor = 7;
constexpr int kMonoBarColor = 15;
constexpr int kMostGapSlots = 16;

double Ratio(double a, double b) { return b != 0.0 ? a / b : 0.0; }

// The number a slot's value axis writes at `value`.
std::string AxisNumber(const CLimitSlot& slot, double value)
{
    return slot.byPercent ? FormatFixed(value, 0) + "%" : FormatFixed(value, 1);
}

// What of a value axis' ticks `tick` long reaches the side of its numbers: none where they point
// away (the default), all where they point at them (tickin 2), half where they cross the line.
double TicksTowardNumbers(int tickin, double tick) { return tickin == 0 ? 0.0 : tickin == 2 ? tick : tick / 2.0; }

// Why a limit on a listed combination cannot be drawn, or nothing: a plot maximum that is no
// number above 0 gives no scale, and bounds that are no finite numbers, or a minimum above the
// maximum, give no bar.
std::string LimitProblem(const CLimit& limit, const COxideCombination& combination)
{
    if (!(combination.m_plotMax > 0.0) || !std::isfinite(combination.m_plotMax))
        return "Combination " + combination.m_name + " has no plot maximum above 0; its limit is not drawn";
    // The reader saturates a number too large for a double ("1e999") to the largest one.
    const auto boundless = [](double v) { return !std::isfinite(v) || std::fabs(v) >= DBL_MAX; };
    const bool finite = (!limit.HasMinimum() || !boundless(limit.GetMinimum())) &&
                        (!limit.HasMaximum() || !boundless(limit.GetMaximum()));
    if (!finite || (limit.HasMinimum() && limit.HasMaximum() && limit.GetMinimum() > limit.GetMaximum()))
        return "Limit " + limit.m_comboName + " = " + limit.GetRange() + " contradicts itself and is not drawn";
    return std::string();
}

// The slots of the formula's usable limits (their combination is listed and has a plot maximum
// above 0, their bounds agree), a gap of `gapSlots` empty slots before every change of scale.
// problem: why the first limit on a listed combination was left out, or nothing.
std::vector<CLimitSlot> MakeSlots(const CLimitFormula& formula, const CLimitFormulaDB* database, int gapSlots,
                                  std::string& problem)
{
    std::vector<CLimitSlot> slots;
    for (int i = 0; i < formula.m_limits.GetCount(); ++i) {
        const CLimit& limit = formula.m_limits.GetAt(i);
        const COxideCombination* combination = database ? database->m_combinations.FindByName(limit.m_comboName) : nullptr;
        if (!combination)
            continue;
        if (std::string why = LimitProblem(limit, *combination); !why.empty()) {
            if (problem.empty())
                problem = std::move(why);
            continue;
        }
        const CLimitSlot slot{i, limit.m_byPercent != 0, 0.0, combination->m_plotMax};
        const bool rescaled = !slots.empty() && slot.max != slots.back().max;
        for (int k = 0; k < gapSlots && rescaled; ++k)
            slots.push_back({-1, slot.byPercent, slot.min, slot.max});
        slots.push_back(slot);
    }
    return slots;
}

// The bars (base, height) of the limit slots in proportion to the first slot's scale, and their
// labels: the combinations' names as the combination list writes them.
void MakeBars(const CLimitFormula& formula, const CLimitFormulaDB& database, const std::vector<CLimitSlot>& slots,
              std::vector<double>& bars, std::vector<std::string>& names)
{
    bars.assign(2 * slots.size(), 0.0);
    names.assign(slots.size(), std::string());
    for (std::size_t j = 0; j < slots.size(); ++j) {
        if (slots[j].limit < 0)
            continue;
        const CLimit& limit = formula.m_limits.GetAt(slots[j].limit);
        const double base = limit.HasMinimum() ? limit.GetMinimum() : 0.0;
        const double top = limit.HasMaximum() ? limit.GetMaximum() : slots[j].max;
        const double scale = slots[j].max != slots[0].max ? slots[0].max / slots[j].max : 1.0;
        bars[2 * j] = base * scale;
        bars[2 * j + 1] = (top - base) * scale;
        names[j] = database.m_combinations.FindByName(limit.m_comboName)->m_name;
    }
}

// The category axis, and the value axis on the first slot's scale.
void SetLimitAxes(CChartEngine& engine, const CGraphTemplate& t, const CLimitSlot& first)
{
    engine.ChartSetAxisX((t.xtop ? kAxisSideFirst : kAxisSideSecond) + TickFlags(t.tickin, t.xtop != 0) +
                             (t.xvert ? kAxisVerticalLabels : 0),
                         0, 0, 0.0, 0.0);
    engine.ChartSetAxisY((t.yrt ? kAxisSideSecond : kAxisSideFirst) + TickFlags(t.tickin, (t.barhor != 0) != (t.yrt != 0)) +
                             kAxisFixedScale,
                         t.yman ? t.ytick : kDefaultValueTicks, 0, first.max, 0.0);
    if (first.byPercent)
        engine.ChartSetAxisFormat(1, "##0\\%");
}

} // namespace

int CGraph::SetupLimitFormulaAxes(const std::string& title, const CLimitFormula& formula,
                                  std::vector<CLimitSlot>& slots, ChartPlotArea& area)
{
    const CLimitFormulaDB* database = GetCurrentLimitFormulaDB();
    std::string problem;
    slots = MakeSlots(formula, database, m_limitGapSlots, problem);
    if (slots.empty()) {
        m_errorText = "Limit formula contains no usable limits";
        return 0;
    }
    // The usable limits are drawn: what was left out is a flaw of the chart, told by the notice
    // box (the error box is for a chart not drawn).
    m_noticeText = problem;
    const int n = static_cast<int>(slots.size());
    std::vector<double> bars;
    std::vector<std::string> names;
    MakeBars(formula, *database, slots, bars, names);
    CChartEngine& engine = Engine();
    engine.ChartDefBegin();
    SetLimitFormulaTitles(title, formula.m_name, barhor != 0);
    engine.ChartSetData(n, 2, bars);
    engine.ChartSetPointLabels(n, names);
    SetFonts();
    engine.ChartSetBarGap(100 - barwid);
    const int barColor = mono ? kMonoBarColor : kBarColor;
    engine.ChartSetColors(2, std::vector<int>{barColor, barColor});
    engine.ChartSetPatterns(2, std::vector<int>{0, 0});
    SetLimitAxes(engine, *this, slots[0]);
    if (m_limitEndColumns > 0) {
        // The longest of the gaps' feet and far ends (their digits are as wide as each other).
        const auto longer = [](const std::string& a, const std::string& b) { return a.size() < b.size(); };
        std::string foot, far;
        for (const CLimitSlot& slot : slots) {
            if (slot.limit < 0) {
                foot = std::max(foot, AxisNumber(slot, slot.min), longer);
                far = std::max(far, AxisNumber(slot, slot.max), longer);
            }
        }
        engine.ChartKeepRoomForEnds(foot, far, m_limitEndColumns);
    }
    const int options = kFloatingBars + (barhor ? kHorizontalBars : 0) + (labels ? 0 : kNoLabels);
    const bool firstGrid = (barhor ? gridy : gridx) != 0;
    const bool secondGrid = (barhor ? gridx : gridy) != 0;
    engine.ChartSetKind(kChartBar, options + (firstGrid ? kFirstGrid : 0) + (secondGrid ? kSecondGrid : 0),
                        kBarKindFlags);
    if (borders) {
        // The outline pass: the bars again, hollow and black, over the coloured ones.
        engine.ChartSetPatterns(2, std::vector<int>{kChartPatternHollow, kChartPatternHollow});
        engine.ChartSetColors(2, std::vector<int>{0, 0});
        engine.ChartSetKind(kChartBar, options, kBarKindFlags);
    }
    DrawPlotFrame(false);
    ReadPlotArea(area);
    engine.ChartDefEnd();
    int columns = 0;
    if (const int wanted = GapSlotsWanted(slots, area, columns); wanted > m_limitGapSlots || columns > m_limitEndColumns) {
        m_limitGapSlots = std::max(wanted, m_limitGapSlots);
        m_limitEndColumns = std::max(columns, m_limitEndColumns);
        m_rebuildWithWiderGaps = true;
        return 0;
    }
    DrawLimitValueAxes(slots, area);
    return n;
}

double CGraph::UseAxisTextFont()
{
    Engine().ChartSetTextFont(txaxfam, txaxsty, txaxsiz, 0);
    return Engine().ChartGetTextHeight();
}

int CGraph::GapSlotsWanted(const std::vector<CLimitSlot>& slots, const ChartPlotArea& a, int& columns)
{
    CChartEngine& engine = Engine();
    const double line = UseAxisTextFont();
    const double length = barhor ? a.height : a.width;
    columns = 0;
    int limits = 0, gaps = 0, fewest = static_cast<int>(slots.size());
    for (std::size_t j = 0, run = 0; j < slots.size(); ++j) {
        if (slots[j].limit >= 0) {
            ++limits;
            ++run;
        } else if (j + 1 < slots.size() && slots[j + 1].limit >= 0) {
            ++gaps; // the last empty slot of a gap carries the axis
            fewest = std::min(fewest, static_cast<int>(run));
            run = 0;
        }
    }
    if (gaps == 0 || !labels || line <= 0.0 || length <= 0.0)
        return 1;
    // A gap holds what of its axis' ticks reach the numbers' side, the numbers an eighth of a
    // line beyond, a line of them (upright, turned where they cannot stand across), and an
    // eighth of a line clear of the names of the slot before, which reach half a line from its
    // middle. The numbers also keep a blank clear of the ticks of the axis before (half a line
    // across both sides), limits and gap away.
    const double own = TicksTowardNumbers(tickin, line / 2.0) + 1.125 * line;
    const double blank = engine.ChartMeasureTextWidth(3, 0, " ");
    const double between = line / 2.0 + 1.125 * line + blank;
    // A limit's slot keeps a third of a line at least: where even that leaves too little room,
    // an axis keeps what of its numbers stand. Where the gaps cannot hold a line of numbers, the
    // axes' ends stand beyond their lines, in as many columns as neighbours need to stand as far
    // apart as their ends do: lying, level with their axes, a line (and a tenth); upright,
    // turned, a line wide and a blank.
    const double ends = barhor ? 1.1 * line : line + blank;
    int g = 1;
    for (; g < kMostGapSlots; ++g) {
        const double slot = length / (limits + gaps * g);
        const bool hold = g * slot + slot / 2.0 >= own + 0.625 * line && (fewest + g) * slot >= between;
        columns = hold ? 0 : std::clamp(static_cast<int>(std::ceil(ends / ((fewest + g) * slot))), 1, kMostEndColumns);
        if (hold || length / (limits + gaps * (g + 1)) < line / 3.0)
            break;
    }
    return g;
}

void CGraph::DrawLimitValueAxes(const std::vector<CLimitSlot>& slots, const ChartPlotArea& a)
{
    CChartEngine& engine = Engine();
    const int ticks = static_cast<int>(barhor ? a.horizontalTicks : a.verticalTicks);
    // The ticks are half a line of the axis' text long, whatever the window's size, and the
    // numbers stand an eighth of a line beyond what of them reaches the numbers' side (over a
    // lying axis, left of an upright one), level with their ticks.
    const double line = UseAxisTextFont();
    const double tick = line / 2.0, away = TicksTowardNumbers(tickin, tick) + line / 8.0;
    for (std::size_t j = 0; j < slots.size() && ticks > 0; ++j) {
        const CLimitSlot& slot = slots[j];
        if (slot.limit >= 0 || (j + 1 < slots.size() && slots[j + 1].limit < 0))
            continue; // a limit, or a gap's empty slot before the one that carries its axis
        std::vector<std::string> texts;
        for (int k = 0; k <= ticks; ++k) {
            const double value = static_cast<double>(k) / ticks * (slot.max - slot.min) + slot.min;
            texts.push_back(AxisNumber(slot, value));
        }
        const double end = static_cast<double>(j) + 1.0;
        if (!barhor) {
            const double p = (end - a.horizontalMin) * Ratio(a.width, a.horizontalMax - a.horizontalMin) + a.left;
            engine.ChartDrawValueAxis(p, a.bottom, a.height, tick, ticks, tickin == 0 ? 5 : tickin == 2 ? 4 : 6);
            if (labels)
                engine.ChartSetAxisPartB(p - away, a.bottom, a.height / ticks, ticks + 1, 3, 0x04, texts);
        } else {
            const double p = (a.bottom + a.height) - (end - a.verticalMin) * Ratio(a.height, a.verticalMax - a.verticalMin);
            engine.ChartDrawValueAxis(a.left, p, a.width, tick, ticks, tickin == 0 ? 0 : tickin == 2 ? 1 : 2);
            if (labels)
                engine.ChartSetAxisPartA(a.left, p + away, a.width / ticks, ticks + 1, 3, 2, texts);
        }
    }
}
