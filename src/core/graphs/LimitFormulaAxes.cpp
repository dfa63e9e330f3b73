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
#include <span>

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

// The numbers of a slot's value axis at its ticks, from its foot.
std::vector<std::string> AxisNumbers(const CLimitSlot& slot, int ticks)
{
    std::vector<std::string> texts;
    for (int k = 0; k <= ticks; ++k)
        texts.push_back(AxisNumber(slot, static_cast<double>(k) / ticks * (slot.max - slot.min) + slot.min));
    return texts;
}

// The room that holds both axes' numbers and ends.
CChartAxisRoom Widest(const CChartAxisRoom& a, const CChartAxisRoom& b)
{
    return {std::max(a.away, b.away),   std::max(a.gap, b.gap),     std::max(a.across, b.across),
            std::max(a.turned, b.turned), std::max(a.clear, b.clear), std::max(a.clearTurned, b.clearTurned),
            std::max(a.ends, b.ends)};
}

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

// The bars of the slots, and their names.
void SetLimitBars(CChartEngine& engine, const CLimitFormula& formula, const CLimitFormulaDB& database,
                  const std::vector<CLimitSlot>& slots)
{
    std::vector<double> bars;
    std::vector<std::string> names;
    MakeBars(formula, database, slots, bars, names);
    const int n = static_cast<int>(slots.size());
    engine.ChartSetData(n, 2, bars);
    engine.ChartSetPointLabels(n, names);
}

// Room beyond the lines' ends for the gap axes' ends, the longest of their feet and of their far
// ends (their digits are as wide as each other), in `columns` columns.
void KeepRoomForEnds(CChartEngine& engine, const std::vector<CLimitSlot>& slots, int columns)
{
    const auto longer = [](const std::string& a, const std::string& b) { return a.size() < b.size(); };
    std::string foot, far;
    for (const CLimitSlot& slot : slots) {
        if (slot.limit < 0) {
            foot = std::max(foot, AxisNumber(slot, slot.min), longer);
            far = std::max(far, AxisNumber(slot, slot.max), longer);
        }
    }
    engine.ChartKeepRoomForEnds(foot, far, columns);
}

// What the value axis of a gap slot takes across its line, its ticks half a line of its text
// long (CChartAxisRoom).
CChartAxisRoom AxisRoom(CChartEngine& engine, const CGraphTemplate& t, const CLimitSlot& slot, int ticks, double line)
{
    return engine.ChartMeasureValueAxis(3, t.barhor == 0, TicksTowardNumbers(t.tickin, line / 2.0),
                                        AxisNumbers(slot, ticks));
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
    slots = MakeSlots(formula, database, 1, problem);
    if (slots.empty()) {
        m_errorText = "Limit formula contains no usable limits";
        return 0;
    }
    // The usable limits are drawn: what was left out is a flaw of the chart, told by the notice
    // box (the error box is for a chart not drawn).
    m_noticeText = problem;
    CChartEngine& engine = Engine();
    engine.ChartDefBegin();
    SetLimitFormulaTitles(title, formula.m_name, barhor != 0);
    SetLimitBars(engine, formula, *database, slots);
    SetFonts();
    engine.ChartSetBarGap(100 - barwid);
    const int barColor = mono ? kMonoBarColor : kBarColor;
    engine.ChartSetColors(2, std::vector<int>{barColor, barColor});
    engine.ChartSetPatterns(2, std::vector<int>{0, 0});
    SetLimitAxes(engine, *this, slots[0]);
    const int options = kFloatingBars + (barhor ? kHorizontalBars : 0) + (labels ? 0 : kNoLabels);
    const bool firstGrid = (barhor ? gridy : gridx) != 0;
    const bool secondGrid = (barhor ? gridx : gridy) != 0;
    const int kind = options + (firstGrid ? kFirstGrid : 0) + (secondGrid ? kSecondGrid : 0);
    // The plot the chart gets with a slot for each gap tells how many each gap needs, and
    // whether their axes' ends stand beyond their lines in room the chart keeps there.
    engine.ChartPlanKind(kChartBar, kind, kBarKindFlags);
    ReadPlotArea(area);
    int columns = 0;
    if (const int gapSlots = GapSlotsWanted(slots, area, columns); gapSlots > 1) {
        slots = MakeSlots(formula, database, gapSlots, problem);
        SetLimitBars(engine, formula, *database, slots);
    }
    if (columns > 0) {
        // The room kept for the ends takes some of the plot: planned again, its axes may stand
        // closer and their ends need more columns.
        KeepRoomForEnds(engine, slots, columns);
        engine.ChartPlanKind(kChartBar, kind, kBarKindFlags);
        ReadPlotArea(area);
        int more = 0;
        GapSlotsWanted(slots, area, more);
        if (more > columns)
            KeepRoomForEnds(engine, slots, more);
    }
    engine.ChartSetKind(kChartBar, kind, kBarKindFlags);
    if (borders) {
        // The outline pass: the bars again, hollow and black, over the coloured ones.
        engine.ChartSetPatterns(2, std::vector<int>{kChartPatternHollow, kChartPatternHollow});
        engine.ChartSetColors(2, std::vector<int>{0, 0});
        engine.ChartSetKind(kChartBar, options, kBarKindFlags);
    }
    DrawPlotFrame(false);
    ReadPlotArea(area);
    engine.ChartDefEnd();
    DrawLimitValueAxes(slots, area);
    return static_cast<int>(slots.size());
}

double CGraph::UseAxisTextFont()
{
    Engine().ChartSetTextFont(txaxfam, txaxsty, txaxsiz, 0);
    return Engine().ChartGetTextHeight();
}

int CGraph::GapSlotsWanted(const std::vector<CLimitSlot>& slots, const ChartPlotArea& a, int& columns)
{
    const double line = UseAxisTextFont();
    const double length = barhor ? a.height : a.width;
    const int ticks = static_cast<int>(barhor ? a.horizontalTicks : a.verticalTicks);
    columns = 0;
    int limits = 0, gaps = 0, fewest = static_cast<int>(slots.size());
    std::vector<const CLimitSlot*> axes; // the last empty slot of each gap carries its axis
    for (std::size_t j = 0, run = 0; j < slots.size(); ++j) {
        if (slots[j].limit >= 0) {
            ++limits;
            ++run;
        } else if (j + 1 < slots.size() && slots[j + 1].limit >= 0) {
            axes.push_back(&slots[j]);
            fewest = std::min(fewest, static_cast<int>(run));
            run = 0;
        }
    }
    gaps = static_cast<int>(axes.size());
    if (gaps == 0 || !labels || line <= 0.0 || length <= 0.0 || ticks <= 0)
        return 1;
    CChartAxisRoom room = AxisRoom(Engine(), *this, *axes.front(), ticks, line);
    for (const CLimitSlot* slot : std::span(axes).subspan(1))
        room = Widest(room, AxisRoom(Engine(), *this, *slot, ticks, line));
    // A gap holds its axis' numbers as the engine measures them (upright, across where they can,
    // else turned, a line wide), a gap clear of the name of the slot before, which reaches half a
    // line from its middle, and clear of the ticks of the axis before, which reach half a line
    // toward them. A limit's slot keeps a third of a line at least: where even that leaves too
    // little room, the axes' ends stand beyond their lines, in as many columns as neighbours
    // need to stand as far apart as their ends do.
    int g = 1;
    for (; g < kMostGapSlots; ++g) {
        const double slot = length / (limits + gaps * g);
        const auto holds = [&](double numbers, double clear) {
            return g * slot + slot / 2.0 - line / 2.0 >= numbers + room.gap &&
                   (fewest + g) * slot >= line / 2.0 + numbers + clear;
        };
        const bool hold = holds(room.turned, room.clearTurned) || (!barhor && holds(room.across, room.clear));
        columns = hold ? 0 : std::clamp(static_cast<int>(std::ceil(room.ends / ((fewest + g) * slot))), 1, kMostEndColumns);
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
    // numbers stand where the engine measures them, level with their ticks.
    const double line = UseAxisTextFont();
    const double tick = line / 2.0;
    for (std::size_t j = 0; j < slots.size() && ticks > 0; ++j) {
        const CLimitSlot& slot = slots[j];
        if (slot.limit >= 0 || (j + 1 < slots.size() && slots[j + 1].limit < 0))
            continue; // a limit, or a gap's empty slot before the one that carries its axis
        const std::vector<std::string> texts = AxisNumbers(slot, ticks);
        const double end = static_cast<double>(j) + 1.0;
        if (!barhor) {
            const double p = (end - a.horizontalMin) * Ratio(a.width, a.horizontalMax - a.horizontalMin) + a.left;
            engine.ChartDrawValueAxis(p, a.bottom, a.height, tick, ticks, tickin == 0 ? 5 : tickin == 2 ? 4 : 6);
            if (labels) {
                const double away = AxisRoom(engine, *this, slot, ticks, line).away;
                engine.ChartSetAxisPartB(p - away, a.bottom, a.height / ticks, ticks + 1, 3, 0x04, texts);
            }
        } else {
            const double p = (a.bottom + a.height) - (end - a.verticalMin) * Ratio(a.height, a.verticalMax - a.verticalMin);
            engine.ChartDrawValueAxis(a.left, p, a.width, tick, ticks, tickin == 0 ? 0 : tickin == 2 ? 1 : 2);
            if (labels) {
                const double away = AxisRoom(engine, *this, slot, ticks, line).away;
                engine.ChartSetAxisPartA(a.left, p + away, a.width / ticks, ticks + 1, 3, 2, texts);
            }
        }
    }
}
