// The rectangular axes of bars, areas, points and boxes: room for their labels, grid lines,
// axis lines with ticks and labels, and the layout values the builders read back.

#include "graphs/ChartDrawing.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kTickShare = 0.012; // of the area's height
constexpr double kGapShare = 0.006;
constexpr double kLabelShareLimit = 0.4; // labels take at most this share of the region
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

// Of numbers at evenly spaced `places` along their axis, each taking `size` of it, those drawn:
// every k-th from the foot, k the fewest steps that hold a number, and the far end, in place of
// the k-th before it where the two would meet. False where not even the two ends stand apart.
bool EveryKthAndTheEnds(std::span<const double> places, double size, std::vector<bool>& shown)
{
    const std::size_t n = places.size();
    shown.assign(n, n > 0);
    if (n < 2)
        return true;
    const double step = std::fabs(places[1] - places[0]);
    const std::size_t k =
        step > 0.0 ? std::max<std::size_t>(1, static_cast<std::size_t>(std::ceil(size / step - 1e-9))) : n;
    for (std::size_t i = 1; i < n; ++i)
        shown[i] = i % k == 0;
    const std::size_t last = n - 1, before = last - last % k;
    if (!shown[last] && before > 0 && std::fabs(places[last] - places[before]) < size)
        shown[before] = false;
    shown[last] = true;
    return std::fabs(places[last] - places[0]) >= size;
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

void CChart::DrawValueAxisNumbers(std::span<const CChartPointD> anchors, int align, const CChartFont& font,
                                  std::span<const std::string> numbers, bool across, bool footBefore)
{
    numbers = numbers.first(std::min(numbers.size(), anchors.size()));
    anchors = anchors.first(numbers.size());
    std::vector<CChartValueAxisInk>& axes = m_draw->valueAxes;
    if (axes.empty() || axes.back().upward == across)
        axes.push_back({CChartPixelArea(), false, !across, {}, {}, {}}); // numbers without a line of their own
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
    const double height = TextHeightUnits(font), blank = TextWidthUnits(font, " ");
    const double pixels = PixelsPerUnit() * CurrentArea().unitScale;
    const double slack = 0.5 / pixels; // boxes reaching less than half a pixel into each other
    double widest = 0.0;
    for (const std::string& number : numbers)
        widest = std::max(widest, TextWidthUnits(font, number));
    std::vector<double> places;
    for (const CChartPointD& anchor : anchors)
        places.push_back(across ? anchor.x : anchor.y);
    // Turned upright, numbers read along their axis, never as one row with another axis' ink:
    // a blank keeps them apart.
    const auto clearOfAxes = [&](const CChartPixelArea& box, bool turned) {
        return ClearOfAxes(box, others, (turned ? blank : height) * pixels, blank * pixels);
    };
    // Each number's anchor and alignment: a lying axis' foot may stand before its line's start,
    // level with the other numbers, its right edge a quarter blank away.
    std::vector<CChartPointD> at(anchors.begin(), anchors.end());
    std::vector<int> aligns(at.size(), align);
    if (footBefore && across && own.lined && !at.empty()) {
        at[0] = {FromMain(own.start).x - blank / 4.0, anchors[0].y};
        aligns[0] = (align & 0x100) | 0x01;
    }
    // Side by side each takes the widest number's width and a blank (three pixels at least); one
    // above another a line; turned upright, the widest number's length and that blank.
    const double apart = std::max(blank, 3.0 / pixels);
    for (const bool turned : {false, true}) {
        if (turned && across)
            break;
        const double size = across || turned ? widest + apart : height - slack;
        std::vector<bool> shown;
        bool clear = EveryKthAndTheEnds(places, size, shown);
        std::vector<CChartPixelArea> boxes;
        bool footLeft = false; // a foot before the line's start that finds no room there
        for (std::size_t i = 0; i < numbers.size() && clear; ++i) {
            if (shown[i] && !numbers[i].empty()) {
                const CChartPixelArea box = NumberPixelArea(at[i], aligns[i], turned, font, numbers[i]);
                const bool stands = clearOfAxes(box, turned) && ((at[i] == anchors[i] && !turned) || ClearOfTexts(box, 1.0));
                const bool left = i == 0 && at[i] != anchors[i] && !stands;
                footLeft = footLeft || left;
                shown[i] = shown[i] && !left;
                clear = stands || left;
                if (stands)
                    boxes.push_back(box);
            }
        }
        if (!clear)
            continue;
        // A foot that finds no room before the line's start hangs from it, the first number
        // after it giving way where the two would meet.
        if (footLeft) {
            const CChartPointD hang = {FromMain(own.start).x, anchors[0].y};
            const CChartPixelArea box = NumberPixelArea(hang, align & 0x100, false, font, numbers[0]);
            std::size_t next = 1;
            while (next < numbers.size() && !shown[next])
                ++next;
            const bool meets = !boxes.empty() && Near(box, boxes.front(), apart * pixels);
            if (clearOfAxes(box, false) && ClearOfTexts(box, 1.0) && !(meets && next + 1 >= numbers.size())) {
                if (meets) {
                    shown[next] = false;
                    boxes.erase(boxes.begin());
                }
                at[0] = hang;
                aligns[0] = align & 0x100;
                shown[0] = true;
                boxes.insert(boxes.begin(), box);
                footLeft = false;
            }
        }
        // The foot of an upright axis whose number would touch one of a lying axis' numbers (the
        // two feet in the corner of a plot) or a name under the plot stands on its tick rather
        // than level with it; turned, it rises from its tick.
        if (!across && !boxes.empty() && !numbers[0].empty()) {
            bool meets = !ClearOfTexts(boxes.front(), 1.0, numbers[0]);
            for (const CChartValueAxisInk& axis : std::span(axes).first(axes.size() - 1)) {
                for (const CChartPixelArea& number : axis.upward ? std::span<const CChartPixelArea>() : axis.numbers)
                    meets = meets || Near(boxes.front(), number, blank * pixels);
            }
            const double rise = turned ? TextWidthUnits(font, numbers[0]) / 2.0 : height / 2.0;
            const CChartPointD raised = {at[0].x, at[0].y + rise};
            const CChartPixelArea box = NumberPixelArea(raised, align, turned, font, numbers[0]);
            // A number between the ends that the raised foot would meet gives way to it.
            const bool meetsNext = boxes.size() >= 2 && Near(box, boxes[1], 0.0);
            if (meets && (!meetsNext || boxes.size() > 2) && ClearOfTexts(box, 1.0, numbers[0])) {
                at[0] = raised;
                boxes.front() = box;
                for (std::size_t next = 1; meetsNext && next < numbers.size(); ++next) {
                    if (shown[next] && !numbers[next].empty()) {
                        shown[next] = false;
                        boxes.erase(boxes.begin() + 1);
                        break;
                    }
                }
            } else if (!ClearOfTexts(boxes.front(), -0.5, numbers[0])) {
                // Over a name, and with no room to rise: it tries the places left to an end.
                shown[0] = false;
                boxes.erase(boxes.begin());
                footLeft = true;
            }
        }
        for (std::size_t i = 0; i < numbers.size(); ++i) {
            if (shown[i])
                AddNumber(at[i], aligns[i], turned, font, numbers[i]);
        }
        own.numbers.insert(own.numbers.end(), boxes.begin(), boxes.end());
        // The others stand; the foot tries the places left to an end of its own.
        if (footLeft)
            DrawValueAxisEnds(own, others, std::span(at).first(1), std::span(aligns).first(1), font,
                              numbers.first(1));
        return;
    }
    DrawValueAxisEnds(own, others, at, aligns, font, numbers);
}

void CChart::DrawValueAxisEnds(CChartValueAxisInk& own, std::span<const CChartValueAxisInk* const> others,
                               std::span<const CChartPointD> anchors, std::span<const int> aligns,
                               const CChartFont& font, std::span<const std::string> numbers)
{
    if (numbers.empty())
        return;
    const CChartArea& area = CurrentArea();
    const double height = TextHeightUnits(font), blank = TextWidthUnits(font, " ");
    const double pixels = PixelsPerUnit() * area.unitScale;
    const auto stands = [&](const CChartPixelArea& box, bool turned) {
        return InsideArea(box) && ClearOfTexts(box, 1.0) &&
               ClearOfAxes(box, others, (turned ? blank : height) * pixels, blank * pixels);
    };
    // Where each end may stand, in turn: at its place; on an upright axis turned there, or turned
    // within the line's length (the foot rising from its tick, the far end hanging from its
    // own); the foot of a lying axis hanging from its start, or before its start, level with it
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
            places.push_back({anchors[i], aligns[i], true});
            places.push_back({{anchors[i].x, anchors[i].y + (far ? -half : half)}, aligns[i], true});
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
            if (stands(box, place.turned)) {
                AddNumber(place.at, place.align, place.turned, font, numbers[i]);
                own.numbers.push_back(box);
                break;
            }
        }
    }
}

bool CChart::EndsStandBeyond() const { return !m_def->endsBeyond[0].empty() || !m_def->endsBeyond[1].empty(); }

double CChart::EndsColumnsApart(const CChartFont& font) const
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
    const double apart = EndsColumnsApart(font);
    // Turned upright side by side, the ends of two axes read as one unless a blank apart (lying,
    // they stand one above another).
    const double blank = apart * PixelsPerUnit() * CurrentArea().unitScale;
    const auto besideAnother = [&](const CChartPixelArea& box) {
        return own.upward && std::any_of(axes.begin(), axes.end() - 1, [&](const CChartValueAxisInk& axis) {
                   return std::ranges::any_of(axis.numbers, [&](const CChartPixelArea& n) {
                       return box.top < n.bottom && n.top < box.bottom && box.left - blank < n.right &&
                              n.left < box.right + blank;
                   });
               });
    };
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
            if (InsideArea(box) && ClearOfTexts(box, 1.0) && !besideAnother(box) && !acrossAnother(box)) {
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
        const double apart = chart.EndsColumnsApart(m_font);
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

double CChartAxes::LabelBand(const CChartAxisPlan& axis, bool horizontalAxis, double slotSize) const
{
    if (!m_labels)
        return m_tick;
    double size = 0.0;
    const double regionLimit = kLabelShareLimit * m_chart.ChartGetAreaHeight();
    if (axis.category) {
        const bool turned = horizontalAxis && (axis.flags & CChartAxisSettings::kVerticalLabels);
        for (const std::string& label : axis.labels) {
            if (!horizontalAxis || turned)
                size = std::max(size, std::min(m_chart.TextWidthUnits(m_font, label), regionLimit));
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
    const double verticalBand = LabelBand(m_v, false, 0.0) + RoomForEnds(m_v);
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
    const double horizontalBand = LabelBand(m_h, true, m_slotWidth) + RoomForEnds(m_h);
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
            m_chart.AddText(x, labelY, m_h.farSide ? 0x02 : 0x102, m_font, black, 90, label);
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
        if (shown[j] && m_chart.NameStandsClear(labelX, y, align, m_font, m_v.labels[j]))
            m_chart.AddText(labelX, y, align, m_font, black, 0, m_v.labels[j]);
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
