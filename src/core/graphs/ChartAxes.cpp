// The rectangular axes of bars, areas, points and boxes: room for their labels, grid lines,
// axis lines with ticks and labels, and the layout values the builders read back.

#include "graphs/ChartDrawing.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

constexpr double kTickShare = 0.012; // of the area's height
constexpr double kGapShare = 0.006;
// Names turned upright under the plot, or beside it, leave the plot these shares of the region's
// height and width at least; longer ones are shortened with "...".
constexpr double kPlotShareUnderNames = 0.25;
constexpr double kPlotShareBesideNames = 0.5;
constexpr int kGridColor = 7;
constexpr int kWallColor = 8;

} // namespace

std::vector<bool> ChartNamesShown(const CChart& chart, std::span<const double> places,
                                  std::span<const std::string> names, double size)
{
    // Boxes that reach less than half a pixel into each other show no overlap: a line's box holds
    // room above and below its letters.
    const double slack = 0.5 / (chart.PixelsPerUnit() * chart.CurrentArea().unitScale);
    std::vector<bool> shown(places.size(), false);
    bool any = false;
    double last = 0.0;
    for (std::size_t i = 0; i < places.size() && i < names.size(); ++i) {
        if (names[i].empty() || (any && std::fabs(places[i] - last) < size - slack))
            continue;
        shown[i] = true;
        any = true;
        last = places[i];
    }
    return shown;
}

namespace {

// The steps (in ticks) at which numbers at evenly spaced ticks can be thinned, every k-th from the
// foot, so that they step evenly and reach the far end: the divisors of the axis' intervals, from
// the fewest steps that hold a number, `size` of the axis, on.
std::vector<std::size_t> EvenSteps(std::span<const double> places, double size)
{
    const std::size_t intervals = places.empty() ? 0 : places.size() - 1;
    if (intervals == 0)
        return {1};
    const double step = std::fabs(places[1] - places[0]);
    const double fewest = step > 0.0 ? std::ceil(size / step - 1e-9) : static_cast<double>(intervals);
    std::vector<std::size_t> steps;
    for (std::size_t k = 1; k <= intervals; ++k) {
        if (intervals % k == 0 && static_cast<double>(k) >= fewest)
            steps.push_back(k);
    }
    return steps;
}

} // namespace

std::vector<bool> ChartNumbersShown(const CChart& chart, std::span<const double> places,
                                    std::span<const std::string> numbers, double size)
{
    const double slack = 0.5 / (chart.PixelsPerUnit() * chart.CurrentArea().unitScale);
    const std::size_t n = std::min(places.size(), numbers.size());
    std::vector<bool> shown(places.size(), false);
    // Seen askew, the places stand unevenly: each step of each divisor is measured.
    for (const std::size_t k : EvenSteps(places.first(n), 0.0)) {
        bool apart = true;
        for (std::size_t i = k; i < n && apart; i += k)
            apart = std::fabs(places[i] - places[i - k]) >= size - slack;
        if (apart) {
            for (std::size_t i = 0; i < n; i += k)
                shown[i] = true;
            return shown;
        }
    }
    if (n > 0)
        shown[0] = true;
    return shown;
}

namespace {

// Whether two boxes of pixels come within `reach` of each other.
bool Near(const CChartPixelArea& a, const CChartPixelArea& b, double reach)
{
    return a.left - reach < b.right && b.left < a.right + reach && a.top - reach < b.bottom && b.top < a.bottom + reach;
}

// Whether a box of pixels stands clear of the axes' lines, ticks and numbers: `beside` pixels from
// what of them stands beside it at its height (numbers side by side with another axis' would read
// as one row), a blank from the rest.
bool ClearOfAxes(const CChartPixelArea& box, std::span<const CChartValueAxisInk* const> axes, double beside,
                 double blank)
{
    const auto clear = [&](const CChartPixelArea& ink) {
        const double reach = box.top < ink.bottom && ink.top < box.bottom ? beside : blank;
        return box.left - reach >= ink.right || ink.left >= box.right + reach || box.top - blank >= ink.bottom ||
               ink.top >= box.bottom + blank;
    };
    for (const CChartValueAxisInk* axis : axes) {
        if ((axis->lined && !clear(axis->line)) || !std::all_of(axis->numbers.begin(), axis->numbers.end(), clear))
            return false;
    }
    return true;
}

} // namespace

CChartPixelArea CChart::PixelArea(double left, double bottom, double right, double top) const
{
    const CChartPointD low = ToMain(std::min(left, right), std::min(bottom, top));
    const CChartPointD high = ToMain(std::max(left, right), std::max(bottom, top));
    return {UnitsToPixelsX(low.x), UnitsToPixelsY(high.y), UnitsToPixelsX(high.x), UnitsToPixelsY(low.y)};
}

CChartPixelArea CChart::TextPixelArea(double x, double y, int align, const CChartFont& font, const std::string& text) const
{
    const double width = TextWidthUnits(font, text);
    const double left = (align & 0x01) ? x - width : (align & 0x02) ? x - width / 2.0 : x;
    const double bottom = (align & 0x100) ? y - TextHeightUnits(font) : y;
    return PixelArea(left, bottom, left + width, bottom + TextHeightUnits(font));
}

bool CChart::ClearOfTexts(const CChartPixelArea& box, double reach, std::string_view again) const
{
    for (const CChartPrimitive& p : m_primitives) {
        if (p.type != CChartPrimitive::Type::Text)
            continue;
        const CChartPixelArea other{UnitsToPixelsX(p.left), UnitsToPixelsY(p.bottom + p.height),
                                    UnitsToPixelsX(p.left + p.width), UnitsToPixelsY(p.bottom)};
        const bool same = !again.empty() && p.text == again && std::fabs(other.left - box.left) < 0.5 &&
                          std::fabs(other.top - box.top) < 0.5;
        if (Near(box, other, reach) && !same)
            return false;
    }
    return true;
}

bool CChart::ClearOfNumbers(const CChartPixelArea& box, double reach) const
{
    for (const CChartValueAxisInk& axis : m_draw->valueAxes) {
        for (const CChartPixelArea& number : axis.numbers) {
            if (Near(box, number, reach))
                return false;
        }
    }
    return true;
}

bool CChart::InsideArea(const CChartPixelArea& box) const
{
    const CChartPixelArea room = PixelArea(0.0, 0.0, CurrentArea().width, CurrentArea().height);
    return box.left >= room.left && box.right <= room.right && box.top >= room.top && box.bottom <= room.bottom;
}

bool CChart::NameStandsClear(double x, double y, int align, const CChartFont& font, const std::string& name) const
{
    const CChartPixelArea box = TextPixelArea(x, y, align, font, name);
    // Boxes that reach less than half a pixel into each other show no overlap: a line's box holds
    // room above and below its letters.
    return InsideArea(box) && ClearOfNumbers(box, -0.5);
}

void CChart::NoteValueAxis(double x, double y, double length, bool upward, double from, double to)
{
    CChartValueAxisInk axis;
    axis.lined = true;
    axis.upward = upward;
    axis.line = upward ? PixelArea(x + from, y, x + to, y + length) : PixelArea(x, y + from, x + length, y + to);
    axis.start = upward ? ToMain(x, std::min(y, y + length)) : ToMain(std::min(x, x + length), y);
    axis.end = upward ? ToMain(x, std::max(y, y + length)) : ToMain(std::max(x, x + length), y);
    m_draw->valueAxes.push_back(std::move(axis));
}

namespace {

// The middle of a box of pixels along an axis.
double Middle(const CChartPixelArea& box, bool upward)
{
    return upward ? (box.top + box.bottom) / 2.0 : (box.left + box.right) / 2.0;
}

} // namespace

CChartPixelArea CChart::NumberPixelArea(const CChartPointD& at, int align, bool turned, const CChartFont& font,
                                        const std::string& number) const
{
    if (!turned)
        return TextPixelArea(at.x, at.y, align, font, number);
    // Turned, it stands a line wide, its middle level with the tick.
    const double width = TextHeightUnits(font), length = TextWidthUnits(font, number);
    const double left = (align & 0x01) ? at.x - width : at.x;
    const double bottom = at.y + TextHeightUnits(font) / 2.0 - length / 2.0;
    return PixelArea(left, bottom, left + width, bottom + length);
}

void CChart::AddNumber(const CChartPointD& at, int align, bool turned, const CChartFont& font,
                       const std::string& number)
{
    if (!turned) {
        AddText(at.x, at.y, align, font, PaletteColor(0), 0, number);
        return;
    }
    const double length = TextWidthUnits(font, number);
    AddText(at.x, at.y + TextHeightUnits(font) / 2.0 - length / 2.0, align & 0x01, font, PaletteColor(0), 90, number);
}


// A value axis' numbers as DrawValueAxisNumbers is given them, and the axes they keep clear of.
struct CChartNumbersPlan {
    CChartValueAxisInk& own;
    std::span<const CChartValueAxisInk* const> others;
    std::span<const CChartPointD> anchors;
    int align;
    const CChartFont& font;
    std::span<const std::string> numbers;
    bool across;
};

bool CChart::ByItsTick(const CChartValueAxisInk& own, const CChartPixelArea& box, bool far) const
{
    const std::vector<double>& ticks = own.ticks;
    if (ticks.size() < 2)
        return true;
    // Toward the axis' other end a number reads as its tick's while its middle lies nearer that
    // tick than the next one; beyond its end of the axis nothing else claims it.
    const double tick = far ? ticks.back() : ticks.front(), next = far ? ticks[ticks.size() - 2] : ticks[1];
    const double inward = (Middle(box, own.upward) - tick) * (next > tick ? 1.0 : -1.0);
    return inward < std::fabs(next - tick) / 2.0 - 0.5;
}

void CChart::DrawValueAxisNumbers(std::span<const CChartPointD> anchors, int align, const CChartFont& font,
                                  std::span<const std::string> numbers, bool across, bool footBefore)
{
    numbers = numbers.first(std::min(numbers.size(), anchors.size()));
    anchors = anchors.first(numbers.size());
    std::vector<CChartValueAxisInk>& axes = m_draw->valueAxes;
    if (axes.empty() || axes.back().upward == across)
        axes.push_back({CChartPixelArea(), false, !across, {}, {}, {}, {}, {}}); // numbers without a line of their own
    CChartValueAxisInk& own = axes.back();
    // The value axes drawn before that run its way; one drawn again in its place is itself, and
    // with the same numbers (the bars' outline pass) shows what it showed then: placed again
    // among them, a number would find its own place taken and stand elsewhere, a second time.
    std::vector<const CChartValueAxisInk*> others;
    for (const CChartValueAxisInk& axis : std::span(axes).first(axes.size() - 1)) {
        const bool again = axis.lined && own.lined && axis.end == own.end;
        if (again && axis.upward == own.upward && std::ranges::equal(axis.texts, numbers))
            return;
        if (axis.upward == own.upward && !again)
            others.push_back(&axis);
    }
    own.texts.assign(numbers.begin(), numbers.end());
    own.ticks.clear();
    for (std::size_t i = 0; i < numbers.size(); ++i)
        own.ticks.push_back(Middle(NumberPixelArea(anchors[i], align, false, font, numbers[i]), !across));
    CChartNumbersPlan plan{own, others, anchors, align, font, numbers, across};
    for (const bool turned : {false, true}) {
        if (!(turned && across) && PlaceValueAxisNumbers(plan, turned, footBefore))
            return;
    }
    std::vector<int> aligns(anchors.size(), align);
    DrawValueAxisEnds(own, others, anchors, aligns, font, numbers);
}

bool CChart::PlaceValueAxisNumbers(const CChartNumbersPlan& plan, bool turned, bool footBefore)
{
    const std::span<const CChartPointD> anchors = plan.anchors;
    const std::span<const std::string> numbers = plan.numbers;
    const std::size_t n = numbers.size();
    if (n == 0)
        return true;
    const double height = TextHeightUnits(plan.font), apart = BlankApart(plan.font);
    const double pixels = PixelsPerUnit() * CurrentArea().unitScale;
    double widest = 0.0;
    std::vector<double> places;
    for (std::size_t i = 0; i < n; ++i) {
        widest = std::max(widest, TextWidthUnits(plan.font, numbers[i]));
        places.push_back(plan.across ? anchors[i].x : anchors[i].y);
    }
    // Side by side each takes the widest number's width and a blank; one above another a line
    // (boxes reaching less than half a pixel into each other); turned upright, the widest
    // number's length and that blank.
    const bool sideBySide = plan.across || turned;
    const double size = sideBySide ? widest + apart : height - 0.5 / pixels;
    if (std::fabs(places.back() - places.front()) < size)
        return false;
    std::vector<bool> fallback;
    for (const std::size_t k : EvenSteps(places, size)) {
        std::vector<bool> shown(n, false);
        bool stand = true;
        for (std::size_t i = k; i < n && stand; i += k) {
            const CChartPixelArea box = NumberPixelArea(anchors[i], plan.align, turned, plan.font, numbers[i]);
            shown[i] = !numbers[i].empty();
            // Turned upright a number reaches across what stands beside its axis: it keeps clear of
            // the texts there too.
            stand = !shown[i] || (ClearOfAxes(box, plan.others, (turned ? apart : height) * pixels, apart * pixels) &&
                                  (!turned || ClearOfTexts(box, 1.0)));
            if (!stand && i + 1 == n)
                return false; // the far end stands nowhere at its place, at any step
        }
        if (!stand)
            continue;
        // The foot keeps clear of the next number shown, as neighbours keep clear of each other.
        const std::optional<CChartPixelArea> next =
            n > 1 && !numbers[k].empty()
                ? std::optional(NumberPixelArea(anchors[k], plan.align, turned, plan.font, numbers[k]))
                : std::nullopt;
        const std::optional<CFootPlace> foot =
            PlaceFoot(plan, turned, footBefore, next, sideBySide ? apart * pixels : -0.5);
        if (foot || numbers[0].empty()) {
            if (foot)
                AddValueAxisNumber(plan.own, foot->at, foot->align, turned, plan.font, numbers[0]);
            DrawShownNumbers(plan, shown, turned);
            return true;
        }
        if (fallback.empty())
            fallback = shown;
    }
    if (fallback.empty())
        return false;
    // The others stand, every k-th; the foot, with no place by its tick there, tries the places
    // left to an end of its own.
    DrawShownNumbers(plan, fallback, turned);
    const int align = plan.align;
    DrawValueAxisEnds(plan.own, plan.others, anchors.first(1), std::span(&align, 1), plan.font, numbers.first(1));
    return true;
}

void CChart::DrawShownNumbers(const CChartNumbersPlan& plan, const std::vector<bool>& shown, bool turned)
{
    for (std::size_t i = 0; i < shown.size(); ++i) {
        if (shown[i])
            AddValueAxisNumber(plan.own, plan.anchors[i], plan.align, turned, plan.font, plan.numbers[i]);
    }
}

void CChart::AddValueAxisNumber(CChartValueAxisInk& own, const CChartPointD& at, int align, bool turned,
                                const CChartFont& font, const std::string& number)
{
    own.numbers.push_back(NumberPixelArea(at, align, turned, font, number));
    AddNumber(at, align, turned, font, number);
}

std::optional<CChart::CFootPlace> CChart::PlaceFoot(const CChartNumbersPlan& plan, bool turned, bool footBefore,
                                                    const std::optional<CChartPixelArea>& next, double near)
{
    const std::string& number = plan.numbers[0];
    const CChartPointD at = plan.anchors[0];
    const double height = TextHeightUnits(plan.font), blank = TextWidthUnits(plan.font, " ");
    const double pixels = PixelsPerUnit() * CurrentArea().unitScale;
    const double apart = BlankApart(plan.font);
    const auto stands = [&](const CFootPlace& place, double textReach) {
        const CChartPixelArea box = NumberPixelArea(place.at, place.align, turned, plan.font, number);
        return ClearOfAxes(box, plan.others, (turned ? apart : height) * pixels, apart * pixels) &&
               ByItsTick(plan.own, box, false) && !(next && Near(box, *next, near)) &&
               (textReach == HUGE_VAL || ClearOfTexts(box, textReach, number));
    };
    // A lying axis' foot may stand before its line's start, level with the other numbers, its
    // right edge a quarter blank away; where it finds no room there, it hangs from the start.
    if (footBefore && plan.across && plan.own.lined) {
        const double start = FromMain(plan.own.start).x;
        for (const CFootPlace place : {CFootPlace{{start - blank / 4.0, at.y}, (plan.align & 0x100) | 0x01},
                                       CFootPlace{{start, at.y}, plan.align & 0x100}}) {
            if (stands(place, 1.0))
                return place;
        }
        return std::nullopt;
    }
    const CFootPlace level{at, plan.align};
    if (plan.across)
        return stands(level, HUGE_VAL) ? std::optional(level) : std::nullopt;
    // The foot of an upright axis whose number would touch one of a lying axis' numbers (the two
    // feet in the corner of a plot) or a name under the plot rises toward standing on its tick
    // (turned, rising from it) while its middle stays nearer its tick than the next; where that
    // does not clear them, it stands level with its tick where it only touches them, and over a
    // name nowhere.
    const CChartPixelArea box = NumberPixelArea(at, plan.align, turned, plan.font, number);
    bool meets = !ClearOfTexts(box, 1.0, number);
    for (const CChartValueAxisInk& axis : m_draw->valueAxes) {
        for (const CChartPixelArea& other : axis.upward ? std::span<const CChartPixelArea>() : axis.numbers)
            meets = meets || Near(box, other, blank * pixels);
    }
    if (!meets)
        return stands(level, HUGE_VAL) ? std::optional(level) : std::nullopt;
    // It rises as little as clears them, an eighth of the way at a time.
    const double rise = turned ? TextWidthUnits(plan.font, number) / 2.0 : height / 2.0;
    for (int eighth = 1; eighth <= 8; ++eighth) {
        const CFootPlace raised{{at.x, at.y + rise * eighth / 8.0}, plan.align};
        if (stands(raised, 1.0))
            return raised;
    }
    return stands(level, -0.5) ? std::optional(level) : std::nullopt;
}

void CChart::DrawValueAxisEnds(CChartValueAxisInk& own, std::span<const CChartValueAxisInk* const> others,
                               std::span<const CChartPointD> anchors, std::span<const int> aligns,
                               const CChartFont& font, std::span<const std::string> numbers)
{
    if (numbers.empty())
        return;
    const CChartArea& area = CurrentArea();
    const double height = TextHeightUnits(font), blank = TextWidthUnits(font, " "), apart = BlankApart(font);
    const double pixels = PixelsPerUnit() * area.unitScale;
    const auto stands = [&](const CChartPixelArea& box, bool turned, bool far) {
        return InsideArea(box) && ClearOfTexts(box, 1.0) && ByItsTick(own, box, far) &&
               ClearOfAxes(box, others, (turned ? apart : height) * pixels, apart * pixels);
    };
    // Where each end may stand, in turn, wherever it reads as its tick's: at its place; on an
    // upright axis turned there, or turned and moved into the line's length, an eighth of the way
    // at a time (up to the foot rising from its tick, the far end hanging from its own); the foot of a lying axis hanging from its start, or before its start, level with it
    // (where the names beside the bars leave room) or rising up to half a line over the name
    // below; the far end over the top of an upright axis or after the end of a lying one.
    struct CPlace {
        CChartPointD at;
        int align;
        bool turned;
    };
    const double gap = blank / 4.0;
    for (const bool far : {false, true}) {
        const std::size_t i = far ? numbers.size() - 1 : 0;
        if (numbers[i].empty() || (far && i == 0))
            continue;
        std::vector<CPlace> places{{anchors[i], aligns[i], false}};
        if (own.upward) {
            const double half = TextWidthUnits(font, numbers[i]) / 2.0;
            for (int eighth = 0; eighth <= 8; ++eighth)
                places.push_back({{anchors[i].x, anchors[i].y + (far ? -half : half) * eighth / 8.0}, aligns[i], true});
        }
        if (own.lined) {
            const CChartPointD line = FromMain(own.end), start = FromMain(own.start);
            if (far && own.upward)
                places.push_back({{line.x, line.y + gap}, 0x02, false});
            else if (far)
                places.push_back({{line.x + gap, anchors[i].y}, aligns[i] & 0x100, false});
            else if (!own.upward)
                places.push_back({{start.x, anchors[i].y}, aligns[i] & 0x100, false});
            for (int rise = 0; !far && !own.upward && rise <= 4; ++rise)
                places.push_back({{start.x - gap, anchors[i].y + height * rise / 8.0}, (aligns[i] & 0x100) | 0x01, false});
        }
        for (const CPlace& place : places) {
            const CChartPixelArea box = NumberPixelArea(place.at, place.align, place.turned, font, numbers[i]);
            if (stands(box, place.turned, far)) {
                AddValueAxisNumber(own, place.at, place.align, place.turned, font, numbers[i]);
                break;
            }
        }
    }
}

CChartAxisRoom CChart::ValueAxisRoom(const CChartFont& font, bool upward, double tickReach,
                                     std::span<const std::string> numbers) const
{
    CChartAxisRoom room;
    const double line = TextHeightUnits(font), blank = BlankApart(font);
    double widest = 0.0;
    for (const std::string& number : numbers)
        widest = std::max(widest, TextWidthUnits(font, number));
    room.gap = line / 8.0;
    room.away = tickReach + room.gap;
    room.across = room.away + (upward ? widest : line);
    room.turned = room.away + line;
    // Numbers side by side with another axis' ink keep a line clear of it (a blank, two axes
    // read as one row); turned upright they read along their axis.
    room.clear = line;
    room.clearTurned = blank;
    // Ends beyond the lines: lying, one above another a line and a pixel apart, as texts keep
    // clear of each other; upright, turned, a line wide and a blank apart.
    room.ends = line + (upward ? blank : 1.0 / (PixelsPerUnit() * CurrentArea().unitScale));
    return room;
}

bool CChart::EndsStandBeyond() const { return !m_def->endsBeyond[0].empty() || !m_def->endsBeyond[1].empty(); }

double CChart::BlankApart(const CChartFont& font) const
{
    return std::max(TextWidthUnits(font, " "), 3.0 / (PixelsPerUnit() * CurrentArea().unitScale));
}

void CChart::DrawValueAxisEndsBeyond(const CChartFont& font, std::span<const std::string> numbers)
{
    std::vector<CChartValueAxisInk>& axes = m_draw->valueAxes;
    if (axes.empty() || !axes.back().lined || numbers.empty())
        return;
    CChartValueAxisInk& own = axes.back();
    const double height = TextHeightUnits(font), away = ChartGetAreaHeight() * (kTickShare + kGapShare);
    const double apart = BlankApart(font);
    // Turned upright side by side with another axis' numbers, ends read as one with them unless a
    // blank apart; under or over the plot they stand clear of the others' lines and ticks, which
    // end at the plot's edge. Lying, they stand one above another, each level with its axis.
    std::vector<const CChartValueAxisInk*> others;
    for (const CChartValueAxisInk& axis : std::span(axes).first(axes.size() - 1)) {
        if (axis.upward == own.upward)
            others.push_back(&axis);
    }
    const double blank = apart * PixelsPerUnit() * CurrentArea().unitScale;
    const CChartPointD start = FromMain(own.start), end = FromMain(own.end);
    // An end reaching across the line of another axis beside its own would read as that one's.
    const auto acrossAnother = [&](const CChartPixelArea& box) {
        return std::any_of(axes.begin(), axes.end() - 1, [&](const CChartValueAxisInk& axis) {
            const CChartPointD a = FromMain(axis.start), b = FromMain(axis.end);
            const CChartPixelArea line = PixelArea(a.x, a.y, b.x, b.y); // the line alone, not its ticks
            return axis.lined && axis.upward == own.upward &&
                   (own.upward ? box.left < line.right && line.left < box.right
                               : box.top < line.bottom && line.top < box.bottom);
        });
    };
    for (const bool far : {false, true}) {
        const std::string& number = far ? numbers.back() : numbers.front();
        if (number.empty() || (far && numbers.size() < 2))
            continue;
        const double length = TextWidthUnits(font, number);
        // Each column as wide as the room's widest end of that side, and a blank apart.
        const double column = TextWidthUnits(font, m_def->endsBeyond[far ? 1 : 0]) + apart;
        for (int c = 0; c < m_def->endsColumns; ++c) {
            const double beyond = away + c * column;
            // Turned, a number's middle lies half its length over its anchor and half a line under.
            const CChartPointD at =
                !own.upward ? CChartPointD{far ? end.x + beyond : start.x - beyond, start.y - height / 2.0}
                : far       ? CChartPointD{end.x - height / 2.0, end.y + beyond + length / 2.0 - height / 2.0}
                            : CChartPointD{start.x - height / 2.0, start.y - beyond - length / 2.0 - height / 2.0};
            const int align = !own.upward && !far ? 0x01 : 0;
            const CChartPixelArea box = NumberPixelArea(at, align, own.upward, font, number);
            if (InsideArea(box) && ClearOfTexts(box, 1.0) && (!own.upward || ClearOfAxes(box, others, blank, 0.0)) &&
                !acrossAnother(box)) {
                AddNumber(at, align, own.upward, font, number);
                own.numbers.push_back(box);
                break;
            }
        }
    }
}

CChartAxes::CChartAxes(CChart& chart, CChartAxisPlan horizontal, CChartAxisPlan vertical, int options)
    : m_chart(chart), m_h(std::move(horizontal)), m_v(std::move(vertical)), m_labels((options & 1) == 0),
      m_gridVertical((options & 4) != 0), m_gridHorizontal((options & 8) != 0), m_font(chart.FontOf(2))
{
    m_textHeight = chart.TextHeightUnits(m_font);
    m_tick = chart.ChartGetAreaHeight() * kTickShare;
    m_gap = chart.ChartGetAreaHeight() * kGapShare;
    // Each end stands a tick and a gap beyond its line's end, in one of the columns kept there
    // (CChart::DrawValueAxisEndsBeyond).
    const std::array<std::string, 2>& ends = chart.Definition().endsBeyond;
    if (m_labels && m_h.category != m_v.category) {
        const int columns = chart.Definition().endsColumns;
        const double apart = chart.BlankApart(m_font);
        const auto room = [&](const std::string& end) {
            return end.empty() ? 0.0 : m_tick + m_gap + columns * (chart.TextWidthUnits(m_font, end) + apart) - apart;
        };
        m_footRoom = room(ends[0]);
        m_farRoom = room(ends[1]);
    }
}

double CChartAxes::RoomForEnds(const CChartAxisPlan& names) const
{
    return !names.category ? 0.0 : names.farSide ? m_farRoom : m_footRoom;
}

void CChartAxes::SetDepth(double dx, double dy)
{
    m_dx = std::max(dx, 0.0);
    m_dy = std::max(dy, 0.0);
}

bool CChartAxes::LabelsFitSlots() const
{
    for (const std::string& label : m_h.labels) {
        for (const std::string& line : WrapChartText(m_chart, m_font, label, m_slotWidth)) {
            if (m_chart.TextWidthUnits(m_font, line) > m_slotWidth)
                return false;
        }
    }
    return true;
}

std::vector<double> CChartAxes::MajorPositions(const CChartAxisPlan& axis) const
{
    std::vector<double> positions;
    if (axis.category) {
        for (int i = 0; i <= axis.count; ++i)
            positions.push_back(i);
        return positions;
    }
    for (int i = 0; i <= axis.scale.majors; ++i)
        positions.push_back(axis.scale.min + axis.scale.Step() * i);
    return positions;
}

std::string CChartAxes::FittedName(const std::string& name, double room) const
{
    std::string fitted = ElideChartText(m_chart, m_font, name, room);
    return m_chart.TextWidthUnits(m_font, fitted) <= room ? fitted : std::string();
}

double CChartAxes::LabelBand(const CChartAxisPlan& axis, bool horizontalAxis, double slotSize, double nameRoom) const
{
    if (!m_labels)
        return m_tick;
    double size = 0.0;
    if (axis.category) {
        const bool turned = horizontalAxis && (axis.flags & CChartAxisSettings::kVerticalLabels);
        for (const std::string& label : axis.labels) {
            if (!horizontalAxis || turned)
                size = std::max(size, m_chart.TextWidthUnits(m_font, FittedName(label, nameRoom)));
            else
                size = std::max(size, m_textHeight * static_cast<double>(WrapChartText(m_chart, m_font, label, slotSize).size()));
        }
    } else if (horizontalAxis) {
        size = m_textHeight;
    } else {
        for (const std::string& number : Numbers(axis, MajorPositions(axis)))
            size = std::max(size, m_chart.TextWidthUnits(m_font, number));
    }
    return m_tick + m_gap + size;
}

CChartRect CChartAxes::Layout(const CChartRect& region)
{
    CChartRect plot = region;
    if (m_hidden) {
        plot.right -= m_dx;
        plot.top -= m_dy;
        return plot;
    }
    // The room kept for the ends of a builder's value axes lies between the plot and the names
    // on their side, and is kept on the other side where the axis' own numbers leave less.
    // Names follow the longest of them, as far as they leave the plot its share of the region.
    m_vNameRoom = region.Width() * (1.0 - kPlotShareBesideNames) - m_tick - m_gap - RoomForEnds(m_v);
    const double verticalBand = LabelBand(m_v, false, 0.0, m_vNameRoom) + RoomForEnds(m_v);
    (m_v.farSide ? plot.right : plot.left) += m_v.farSide ? -verticalBand : verticalBand;
    if (m_labels && !m_h.category) {
        const double last = m_chart.TextWidthUnits(m_font, FormatChartNumber(m_h.scale.max, m_h.format, m_h.scale.Step()));
        (m_v.farSide ? plot.left : plot.right) +=
            m_v.farSide ? std::max(last / 2.0, m_footRoom) : -std::max(last / 2.0, m_farRoom);
    }
    // An upright value axis keeps a line over its top: room for the far end of a value axis that
    // a builder draws beside it, where its numbers cannot stand (CChart::DrawValueAxisNumbers).
    if (m_labels && !m_v.category) {
        if (m_h.farSide)
            plot.bottom += std::max(m_textHeight / 2.0, m_footRoom);
        else
            plot.top -= std::max(m_textHeight + m_gap, m_farRoom);
    }
    // The ends of a builder's lying axes stand level with their lines, half a line under the
    // lowest (or over the highest, across from the numbers).
    if (m_labels && !m_h.category && m_footRoom + m_farRoom > 0.0)
        (m_h.farSide ? plot.bottom : plot.top) += m_h.farSide ? m_textHeight / 2.0 : -m_textHeight / 2.0;
    plot.right -= m_dx;
    plot.top -= m_dy;
    m_slotWidth = m_h.category && m_h.count > 0 ? plot.Width() / m_h.count : plot.Width();
    // Labels with a word wider than their slot would run into each other: they stand upright.
    if (m_labels && m_h.category && !LabelsFitSlots())
        m_h.flags |= CChartAxisSettings::kVerticalLabels;
    // Upright, they stand a line wide about their slots' middles: the last keeps within the region.
    if (m_labels && m_h.category && (m_h.flags & CChartAxisSettings::kVerticalLabels) && m_h.count > 0) {
        const double n = m_h.count, width = (region.right - m_textHeight / 2.0 - plot.left) * n / (n - 0.5);
        if (width < plot.Width() && width > 0.0) {
            plot.right = plot.left + width;
            m_slotWidth = width / n;
        }
    }
    m_hNameRoom = plot.Height() - region.Height() * kPlotShareUnderNames - m_tick - m_gap - RoomForEnds(m_h);
    const double horizontalBand = LabelBand(m_h, true, m_slotWidth, m_hNameRoom) + RoomForEnds(m_h);
    (m_h.farSide ? plot.top : plot.bottom) += m_h.farSide ? -horizontalBand : horizontalBand;
    // Whatever the labels ask, the plot keeps a tenth of the region.
    if (plot.Width() < region.Width() * 0.1)
        plot.right = plot.left + region.Width() * 0.1;
    if (plot.Height() < region.Height() * 0.1)
        plot.top = plot.bottom + region.Height() * 0.1;
    return plot;
}

double CChartAxes::X(const CChartRect& plot, double value) const
{
    if (m_h.category)
        return plot.left + (m_h.count > 0 ? value / m_h.count : 0.0) * plot.Width();
    return plot.left + m_h.scale.Fraction(value) * plot.Width();
}

double CChartAxes::Y(const CChartRect& plot, double value) const
{
    if (m_v.category)
        return plot.top - (m_v.count > 0 ? value / m_v.count : 0.0) * plot.Height();
    return plot.bottom + m_v.scale.Fraction(value) * plot.Height();
}

void CChartAxes::DrawGrid(const CChartRect& plot)
{
    if (m_hidden)
        return;
    const CColor grid = m_chart.PaletteColor(kGridColor);
    const bool depth = m_dx > 0.0 || m_dy > 0.0;
    if (depth) {
        const CColor wall = m_chart.PaletteColor(kWallColor);
        const double l = plot.left, b = plot.bottom, r = plot.right, t = plot.top;
        m_chart.AddPolyline({{l, b}, {l + m_dx, b + m_dy}, {r + m_dx, b + m_dy}, {r, b}}, wall, 1.0, 0);
        m_chart.AddPolyline({{l, t}, {l + m_dx, t + m_dy}, {r + m_dx, t + m_dy}, {r + m_dx, b + m_dy}}, wall, 1.0, 0);
        m_chart.AddPolyline({{l + m_dx, b + m_dy}, {l + m_dx, t + m_dy}}, wall, 1.0, 0);
    }
    const std::vector<double> horizontal = MajorPositions(m_h);
    const std::vector<double> vertical = MajorPositions(m_v);
    for (std::size_t i = 1; m_gridVertical && i + 1 < horizontal.size(); ++i) {
        const double x = X(plot, horizontal[i]) + m_dx;
        m_chart.AddPolyline({{x, plot.bottom + m_dy}, {x, plot.top + m_dy}}, grid, 1.0, 0);
    }
    for (std::size_t i = 1; m_gridHorizontal && i + 1 < vertical.size(); ++i) {
        const double y = Y(plot, vertical[i]);
        if (depth)
            m_chart.AddPolyline({{plot.left, y}, {plot.left + m_dx, y + m_dy}, {plot.right + m_dx, y + m_dy}}, grid, 1.0, 0);
        else
            m_chart.AddPolyline({{plot.left, y}, {plot.right, y}}, grid, 1.0, 0);
    }
}

double CChartAxes::TickFrom(int flags) const
{
    if (flags & CChartAxisSettings::kTicksIncreasing)
        return 0.0;
    return (flags & CChartAxisSettings::kTicksDecreasing) ? -m_tick : -m_tick / 2.0;
}

double CChartAxes::TickTo(int flags) const
{
    if (flags & CChartAxisSettings::kTicksDecreasing)
        return 0.0;
    return (flags & CChartAxisSettings::kTicksIncreasing) ? m_tick : m_tick / 2.0;
}

std::vector<std::string> CChartAxes::Numbers(const CChartAxisPlan& axis, std::span<const double> values) const
{
    std::vector<std::string> numbers;
    for (double value : values)
        numbers.push_back(FormatChartNumber(value, axis.format, axis.scale.Step()));
    return numbers;
}

std::vector<bool> CChartAxes::NamesShown(const CChartAxisPlan& axis, const CChartRect& plot, double size) const
{
    const std::size_t count = std::min(static_cast<std::size_t>(std::max(axis.count, 0)), axis.labels.size());
    std::vector<double> places;
    for (std::size_t j = 0; j < count; ++j)
        places.push_back(&axis == &m_h ? X(plot, j + 0.5) : Y(plot, j + 0.5));
    return ChartNamesShown(m_chart, places, std::span(axis.labels).first(count), size);
}

void CChartAxes::DrawHorizontalAxis(const CChartRect& plot)
{
    const CColor black = m_chart.PaletteColor(0);
    const double y = m_h.farSide ? plot.top : plot.bottom;
    m_chart.AddPolyline({{plot.left, y}, {plot.right, y}}, black, 1.0, 0);
    const std::vector<double> majors = MajorPositions(m_h);
    const int minors = m_h.category ? 0 : m_h.scale.minors;
    for (std::size_t i = 0; i < majors.size(); ++i) {
        const double x = X(plot, majors[i]);
        m_chart.AddPolyline({{x, y + TickFrom(m_h.flags)}, {x, y + TickTo(m_h.flags)}}, black, 1.0, 0);
        for (int k = 1; k <= minors && i + 1 < majors.size(); ++k) {
            const double xm = x + (X(plot, majors[i + 1]) - x) * k / (minors + 1);
            m_chart.AddPolyline({{xm, y + TickFrom(m_h.flags) / 2.0}, {xm, y + TickTo(m_h.flags) / 2.0}}, black, 1.0, 0);
        }
    }
    if (!m_h.category)
        m_chart.NoteValueAxis(plot.left, y, plot.Width(), false, TickFrom(m_h.flags), TickTo(m_h.flags));
    if (!m_labels)
        return;
    const double away = m_tick + m_gap + RoomForEnds(m_h);
    const double labelY = m_h.farSide ? y + away : y - away;
    if (!m_h.category) {
        std::vector<CChartPointD> anchors;
        for (double value : majors)
            anchors.push_back({X(plot, value), labelY});
        m_chart.DrawValueAxisNumbers(anchors, m_h.farSide ? 0x02 : 0x102, m_font, Numbers(m_h, majors), true);
        return;
    }
    const bool turned = (m_h.flags & CChartAxisSettings::kVerticalLabels) != 0;
    // Upright names a line high side by side; wrapped ones fit their places.
    const std::vector<bool> shown = NamesShown(m_h, plot, turned ? m_textHeight : 0.0);
    for (int j = 0; j < static_cast<int>(shown.size()); ++j) {
        if (!shown[static_cast<std::size_t>(j)])
            continue;
        const double x = X(plot, j + 0.5);
        const std::string& label = m_h.labels[static_cast<std::size_t>(j)];
        if (turned) {
            m_chart.AddText(x, labelY, m_h.farSide ? 0x02 : 0x102, m_font, black, 90, FittedName(label, m_hNameRoom));
            continue;
        }
        const std::vector<std::string> lines = WrapChartText(m_chart, m_font, label, m_slotWidth);
        for (std::size_t k = 0; k < lines.size(); ++k) {
            const double offset = m_textHeight * static_cast<double>(m_h.farSide ? lines.size() - 1 - k : k);
            m_chart.AddText(x, m_h.farSide ? labelY + offset : labelY - offset, m_h.farSide ? 0x02 : 0x102, m_font,
                            black, 0, lines[k]);
        }
    }
}

void CChartAxes::DrawVerticalAxis(const CChartRect& plot)
{
    const CColor black = m_chart.PaletteColor(0);
    const double x = m_v.farSide ? plot.right : plot.left;
    m_chart.AddPolyline({{x, plot.bottom}, {x, plot.top}}, black, 1.0, 0);
    const std::vector<double> majors = MajorPositions(m_v);
    const int minors = m_v.category ? 0 : m_v.scale.minors;
    for (std::size_t i = 0; i < majors.size(); ++i) {
        const double y = Y(plot, majors[i]);
        m_chart.AddPolyline({{x + TickFrom(m_v.flags), y}, {x + TickTo(m_v.flags), y}}, black, 1.0, 0);
        for (int k = 1; k <= minors && i + 1 < majors.size(); ++k) {
            const double ym = y + (Y(plot, majors[i + 1]) - y) * k / (minors + 1);
            m_chart.AddPolyline({{x + TickFrom(m_v.flags) / 2.0, ym}, {x + TickTo(m_v.flags) / 2.0, ym}}, black, 1.0, 0);
        }
    }
    if (!m_v.category)
        m_chart.NoteValueAxis(x, plot.bottom, plot.Height(), true, TickFrom(m_v.flags), TickTo(m_v.flags));
    if (!m_labels)
        return;
    const double away = m_tick + m_gap + RoomForEnds(m_v);
    const double labelX = m_v.farSide ? x + away : x - away;
    const int align = m_v.farSide ? 0 : 0x01;
    const double half = m_textHeight / 2.0;
    if (!m_v.category) {
        std::vector<CChartPointD> anchors;
        for (double value : majors)
            anchors.push_back({labelX, Y(plot, value) - half});
        m_chart.DrawValueAxisNumbers(anchors, align, m_font, Numbers(m_v, majors), false);
        return;
    }
    // A name that would stand over a number of the value axis, or out of a window too short for
    // the names, is left out.
    const std::vector<bool> shown = NamesShown(m_v, plot, m_textHeight);
    for (std::size_t j = 0; j < shown.size(); ++j) {
        const double y = Y(plot, j + 0.5) - half;
        const std::string name = shown[j] ? FittedName(m_v.labels[j], m_vNameRoom) : std::string();
        if (!name.empty() && m_chart.NameStandsClear(labelX, y, align, m_font, name))
            m_chart.AddText(labelX, y, align, m_font, black, 0, name);
    }
}

void CChartAxes::DrawAxes(const CChartRect& plot)
{
    if (m_hidden)
        return;
    DrawHorizontalAxis(plot);
    DrawVerticalAxis(plot);
}

void CChartAxes::StoreLayout(const CChartRect& plot)
{
    auto& v = m_chart.CurrentLayout().values;
    v[0] = m_h.category ? m_h.count : m_h.scale.max;
    v[1] = m_h.category ? 0.0 : m_h.scale.min;
    v[2] = m_v.category ? m_v.count : m_v.scale.max;
    v[3] = m_v.category ? 0.0 : m_v.scale.min;
    v[4] = plot.Width();
    v[5] = plot.Height();
    v[6] = plot.left;
    v[7] = plot.bottom;
    v[13] = m_h.category ? m_h.count : m_h.scale.majors;
    v[14] = m_h.category ? 0 : m_h.scale.minors;
    v[15] = m_v.category ? m_v.count : m_v.scale.majors;
    v[16] = m_v.category ? 0 : m_v.scale.minors;
}
