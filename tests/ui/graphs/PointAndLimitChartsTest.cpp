#include "GraphViewFixture.h"

#include "ui/support/CheckedWidgets.h"
#include "core/support/CheckedItems.h"
#include "glazes/GlazesView.h"
#include "graphs/Graph.h"
#include "graphs/GraphWnd.h"
#include "limits/LimitFormulaDB.h"
#include "support/NumberText.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <iterator>
#include <set>
#include <sstream>

namespace {

using namespace graphtest;
using ::testing::Contains;

bool IsNumber(const CChartPrimitive& p)
{
    return p.type == CChartPrimitive::Type::Text && !p.text.empty() &&
           p.text.find_first_not_of("0123456789.%") == std::string::npos;
}

// The value axes running one way (upright or lying): the lines of that way longer than a few
// lines of text, in pixels.
std::vector<QRectF> ValueAxes(const CChart& chart, bool upright)
{
    std::vector<QRectF> axes;
    for (const CChartPrimitive& p : chart.Primitives()) {
        const QRectF r = PixelRect(chart, p);
        if (p.type == CChartPrimitive::Type::Polyline && (upright ? r.width() < 1.0 && r.height() > 24.0
                                                                  : r.height() < 1.0 && r.width() > 24.0))
            axes.push_back(r);
    }
    const auto across = [upright](const QRectF& r) { return upright ? r.center().x() : r.center().y(); };
    std::sort(axes.begin(), axes.end(), [&](const QRectF& a, const QRectF& b) { return across(a) < across(b); });
    return axes;
}

// The numbers of value axes that read as one: " [a|b]" for each two at one height that stand less
// than 3 pixels apart (to a millionth), or, where another value axis' line or ticks stand between
// them (the value axes run upright or lying), the later less than a line's height clear of them
// (a blank, turned upright).
std::string NumbersRunTogether(const CChart& chart, bool upright)
{
    std::vector<std::pair<QRectF, std::string>> numbers;
    std::vector<double> heights; // of a line of each: a number turned upright is a line wide
    std::vector<bool> turned;    // turned upright, a number reads along its axis, not as a row
    const std::vector<QRectF> axes = ValueAxes(chart, upright);
    std::vector<QRectF> lines;
    for (const CChartPrimitive& p : chart.Primitives()) {
        if (IsNumber(p)) {
            numbers.push_back({PixelRect(chart, p), p.text});
            heights.push_back(p.angle != 0 ? numbers.back().first.width() : numbers.back().first.height());
            turned.push_back(p.angle != 0);
        }
        // The value axes' lines and their ticks (the names' axis carries no number).
        const QRectF r = PixelRect(chart, p);
        if (p.type == CChartPrimitive::Type::Polyline &&
            std::any_of(axes.begin(), axes.end(), [&](const QRectF& axis) {
                return r.adjusted(-0.5, -0.5, 0.5, 0.5).intersects(axis.adjusted(-0.5, -0.5, 0.5, 0.5));
            }))
            lines.push_back(r);
    }
    std::string together;
    for (const auto& [a, first] : numbers) {
        for (std::size_t j = 0; j < numbers.size(); ++j) {
            const auto& [b, second] = numbers[j];
            if (a.right() > b.left() || std::min(a.bottom(), b.bottom()) - std::max(a.top(), b.top()) < 0.5)
                continue; // not a before b at one height
            // Ends before every lying axis' start and after every one's end read as no row.
            const bool beyondEnds = !upright && std::all_of(axes.begin(), axes.end(), [&](const QRectF& axis) {
                                        return a.right() <= axis.left() && b.left() >= axis.right();
                                    });
            if (beyondEnds)
                continue;
            double ink = a.right(); // the right edge of the last line or tick between them
            // The ends of a lying axis beyond its line stand level with it, its ticks between them.
            const auto levelWith = [&](const QRectF& line) {
                return !upright && std::any_of(axes.begin(), axes.end(), [&](const QRectF& axis) {
                           return axis.center().y() > std::max(a.top(), b.top()) &&
                                  axis.center().y() < std::min(a.bottom(), b.bottom()) &&
                                  line.adjusted(-0.5, -0.5, 0.5, 0.5).intersects(axis.adjusted(-0.5, -0.5, 0.5, 0.5));
                       });
            };
            for (const QRectF& line : lines) {
                if (line.left() > a.right() && line.right() < b.left() && line.top() < b.bottom() &&
                    line.bottom() > b.top() && !levelWith(line))
                    ink = std::max(ink, line.right());
            }
            if (b.left() - ink < (ink > a.right() && !turned[j] ? heights[j] : 3.0) - 1e-6)
                together += " [" + first + "|" + second + "]";
        }
    }
    return together;
}

// The value axes running one way that do not show both their ends: " [i: foot]", " [i: far end]"
// for the i-th (left to right, top down). A number belongs to the first axis at or beyond its
// middle (left of an upright one or over its top; over a lying one, or before its start or after
// its end, level with it), the chart's own lying axis to the last; it is an end when it stands
// by the axis' foot or far end, or beyond it. A number along its axis reads as one of its ticks,
// its middle nearer that tick than the next (" [number off its ticks]"), none stands over its
// axis' line (" [number over its line]"), and with `middles`, an axis shows a number between its
// ends too (" [i: no middle]"). The numbers of an axis step evenly, as many ticks and as much
// value apart (" [i: uneven at value]"). Without `bothEnds`, an axis may show only some of its numbers.
std::string AxesWithoutTheirEnds(const CChart& chart, bool upright, bool middles = false, bool bothEnds = true)
{
    const std::vector<QRectF> axes = ValueAxes(chart, upright);
    std::vector<QRectF> ticks;
    for (const CChartPrimitive& p : chart.Primitives()) {
        const QRectF r = PixelRect(chart, p);
        if (p.type == CChartPrimitive::Type::Polyline && (upright ? r.height() < 1.0 && r.width() <= 24.0
                                                                  : r.width() < 1.0 && r.height() <= 24.0))
            ticks.push_back(r);
    }
    std::vector<bool> between(axes.size(), false);
    std::string missing;
    std::vector<std::pair<bool, bool>> ends(axes.size(), {false, false});
    std::vector<std::vector<std::pair<long, double>>> steps(axes.size()); // tick and value of each number
    for (const CChartPrimitive& p : chart.Primitives()) {
        if (!IsNumber(p) || axes.empty())
            continue;
        const QPointF middle = PixelRect(chart, p).center();
        std::size_t i = 0;
        while (i + 1 < axes.size() && (upright ? axes[i].center().x() : axes[i].center().y()) <
                                          (upright ? middle.x() : middle.y()) - 0.5)
            ++i;
        const QRectF& axis = axes[i];
        if (upright && axis.center().x() < middle.x() - 0.5)
            continue; // right of every upright axis
        auto& [foot, far] = ends[i];
        // A number reads as the tick nearest its middle where the next is half a step farther
        // (by half a pixel): a foot hanging from a lying axis' start or rising from an upright
        // one's, a far end hanging from the top, as long as their middles stay so.
        std::vector<double> at;
        for (const QRectF& tick : ticks) {
            if (upright ? tick.left() <= axis.center().x() + 0.5 && tick.right() >= axis.center().x() - 0.5
                        : tick.top() <= axis.center().y() + 0.5 && tick.bottom() >= axis.center().y() - 0.5)
                at.push_back(upright ? tick.center().y() : tick.center().x());
        }
        std::sort(at.begin(), at.end());
        double spacing = HUGE_VAL;
        for (std::size_t k = 1; k < at.size(); ++k)
            spacing = at[k] - at[k - 1] > 0.5 ? std::min(spacing, at[k] - at[k - 1]) : spacing;
        const double along = upright ? middle.y() : middle.x();
        const auto by = [&](double tick) { return std::fabs(along - tick) < spacing / 2.0 - 0.5; };
        const QRectF box = PixelRect(chart, p);
        const bool level = std::any_of(at.begin(), at.end(), by);
        const bool atFoot = upright ? along >= axis.bottom() - 1.0 || by(axis.bottom()) : along <= axis.left() + 1.0 || by(axis.left());
        const bool atEnd = upright ? along <= axis.top() + 1.0 || by(axis.top()) : along >= axis.right() - 1.0 || by(axis.right());
        foot = foot || atFoot;
        far = far || atEnd;
        between[i] = between[i] || (!atFoot && !atEnd);
        const bool inside = upright ? along > axis.top() - 1.0 && along < axis.bottom() + 1.0
                                    : along > axis.left() - 1.0 && along < axis.right() + 1.0;
        if (inside && !level)
            missing += " [" + p.text + " off its ticks]";
        // The tick it reads as, counted from the foot.
        const auto nearest = std::min_element(at.begin(), at.end(), [&](double a, double b) {
            return std::fabs(a - along) < std::fabs(b - along);
        });
        if (!at.empty() && (level || !inside)) {
            const long k = nearest - at.begin();
            steps[i].push_back({upright ? static_cast<long>(at.size()) - 1 - k : k, ParseDouble(p.text)});
        }
        const QPointF line = axis.center();
        const bool crosses = upright ? box.left() + 0.5 < line.x() && line.x() < box.right() - 0.5 &&
                                           box.top() + 0.5 < axis.bottom() && axis.top() < box.bottom() - 0.5
                                     : box.top() + 0.5 < line.y() && line.y() < box.bottom() - 0.5 &&
                                           box.left() + 0.5 < axis.right() && axis.left() < box.right() - 0.5;
        if (crosses)
            missing += " [" + p.text + " over its line]";
    }
    for (std::size_t i = 0; i < axes.size(); ++i) {
        // Numbers step evenly, each at its own tick: as many ticks and as much value apart.
        std::sort(steps[i].begin(), steps[i].end());
        steps[i].erase(std::unique(steps[i].begin(), steps[i].end()), steps[i].end());
        for (std::size_t k = 2; k < steps[i].size(); ++k) {
            const auto [a, va] = steps[i][k - 2];
            const auto [b, vb] = steps[i][k - 1];
            const auto [c, vc] = steps[i][k];
            if (c - b != b - a || std::fabs((vc - vb) - (vb - va)) > 1e-6 * std::max(1.0, std::fabs(vc)))
                missing += " [" + std::to_string(i) + ": uneven at " + FormatDoubleFixed(vc, 2) + "]";
        }
        if (middles && !between[i])
            missing += " [" + std::to_string(i) + ": no middle]";
        if (bothEnds && !ends[i].first)
            missing += " [" + std::to_string(i) + ": foot]";
        if (bothEnds && !ends[i].second)
            missing += " [" + std::to_string(i) + ": far end]";
    }
    return missing;
}

// The scatter, triaxial and limit-formula charts as a potter opens them: a graph window on a
// shipped template over the shipped glazes, a few of them selected in the glaze list.
class PointAndLimitChartsTest : public GraphViewFixture {
protected:
    PointAndLimitChartsTest()
    {
        for (CView* view : m_glazeDoc->GetViews()) {
            if (auto* list = dynamic_cast<CGlazesView*>(view)) {
                list->DeselectAll();
                for (int row : {0, 1, 2})
                    list->SelectGlaze(row);
            }
        }
    }

    // A window of the template named `name` drawn as graph type `type`, compared with the limit
    // formula named `formula` (none when empty); its picture saved under `shot`.
    const CGraph& Draw(const std::string& name, int type, const std::string& formula, const char* shot,
                       QSize size = QSize(860, 520))
    {
        const CGraphTemplateDatabase& templates = m_doc->Database();
        const CGraphTemplate* found = nullptr;
        for (int i = 0; i < templates.GetCount(); ++i)
            found = RecordAt(templates, i).m_name == name ? &templates.GetAt(i) : found;
        EXPECT_NE(found, nullptr) << name;
        CLimitFormula* limits = nullptr;
        for (int i = 0; i < m_limits.Database().GetCount(); ++i)
            limits = RecordAt(m_limits.Database(), i).m_name == formula ? &m_limits.Database().GetAt(i) : limits;
        return DrawIn(found, limits, type, size, shot);
    }

    // A new graph window of graphTemplate in the given size, drawn as type and checked as readable.
    const CGraph& DrawIn(const CGraphTemplate* graphTemplate, CLimitFormula* limits, int type, QSize size,
                         const char* shot)
    {
        CGraphView* view = OpenGraphWindow(*m_doc);
        if (!view) {
            ADD_FAILURE() << "no graph window";
            static const CGraph none;
            return none;
        }
        view->SetGraph(graphTemplate, m_glazeDoc, m_glazeDoc->GetGlaze(0), limits, -1, type);
        Control(dynamic_cast<QWidget*>(view->GetFrame())).resize(size);
        Flush();
        ExpectReadableChart(*view->ChartWindow(), view->ChartWindow()->Chart(), shot);
        return *view->Graph();
    }
};

TEST_F(PointAndLimitChartsTest, ScattersOfTheShippedGlazes)
{
    const CGraph& flat = Draw("Silica and alumina (scatter)", kGraphScatter, "", "chart-22-scatter");
    EXPECT_EQ(flat.m_errorText, "");
    EXPECT_EQ(flat.GetTitle(), "Data for 10 glazes");
    EXPECT_EQ(flat.m_columns, 2);
    const CChart* chart = flat.GetChart();
    ASSERT_NE(chart, nullptr);
    EXPECT_GE(CellPrimitives(*chart).size(), 10u);

    const CGraph& deep = Draw("Silica, alumina and calcia (3D scatter)", -1, "", "chart-23-scatter-3d");
    EXPECT_EQ(deep.m_errorText, "");
    ASSERT_NE(deep.GetChart(), nullptr);
    EXPECT_GE(CellPrimitives(*deep.GetChart()).size(), 10u);

    const CGraph& triangle = Draw("Fluxes (triaxial)", kGraphTriaxial, "", "chart-24-triaxial");
    EXPECT_EQ(triangle.m_errorText, "");
    ASSERT_NE(triangle.GetChart(), nullptr);
    EXPECT_GT(CellPrimitives(*triangle.GetChart()).size(), 0u);

    // Regression: 130 and 150 pixels high, the Al2O3 axis' foot, rising clear of the SiO2 axis'
    // one, stood level with the next tick or half way to it ("0.0, 0.8, 1.2, 1.6" on evenly spaced
    // lines), and the 3-D scatter's Al2O3 axis read "0.0, 1.0, 1.5" 240 pixels wide: a number
    // stands by its own tick or is not drawn, and an axis' numbers step evenly.
    for (const QSize size : {QSize(640, 130), QSize(1000, 150)}) {
        const CGraph& low = Draw("Silica and alumina (scatter)", kGraphScatter, "", "chart-22-scatter-low", size);
        ASSERT_NE(low.GetChart(), nullptr);
        EXPECT_EQ(AxesWithoutTheirEnds(*low.GetChart(), true, false, false), "") << size.width();
    }
    const CGraph& narrow = Draw("Silica, alumina and calcia (3D scatter)", -1, "", "chart-23-scatter-3d-narrow", {240, 760});
    ASSERT_NE(narrow.GetChart(), nullptr);
    std::map<long, std::vector<std::pair<double, double>>> columns; // upright numbers by their right edges
    for (const CChartPrimitive& p : narrow.GetChart()->Primitives()) {
        if (IsNumber(p) && p.angle == 0)
            columns[std::lround(PixelRect(*narrow.GetChart(), p).right())].push_back({p.bottom, ParseDouble(p.text)});
    }
    for (auto& [right, column] : columns) {
        std::sort(column.begin(), column.end());
        for (std::size_t k = 2; k < column.size(); ++k)
            EXPECT_NEAR(column[k].second - column[k - 1].second, column[1].second - column[0].second, 1e-9) << right;
    }

    // Regression: the corner numbers of the scatter's two axes touched ("0.00.0"), and the
    // triaxial's corner names stood over a long bottom title: texts stand a pixel clear of each
    // other.
    EXPECT_EQ(CrowdedTexts(*chart, {}, 1.0), "");
    const CGraphTemplateDatabase& templates = m_doc->Database();
    for (int i = 0; i < templates.GetCount(); ++i) {
        if (RecordAt(templates, i).m_name != "Fluxes (triaxial)")
            continue;
        CGraphTemplate titled = templates.GetAt(i);
        titled.ttlbota = 0;
        titled.ttlbot = "Fluxes of the selected glazes by their unity formulas, without boron";
        ASSERT_EQ(titled.ttlbot.size(), 68u);
        const CGraph& graph = DrawIn(&titled, nullptr, kGraphTriaxial, QSize(740, 400), "chart-24-triaxial-titled");
        ASSERT_NE(graph.GetChart(), nullptr);
        EXPECT_EQ(CrowdedTexts(*graph.GetChart(), {}, 1.0), "");
    }
}

TEST_F(PointAndLimitChartsTest, LimitFormulaChartsOfTheShippedGlazes)
{
    const CGraph& one = Draw("Limit formula (bar)", kGraphOneLimitFormula, "Cone 6 gloss", "chart-02-limit-formula");
    EXPECT_EQ(one.m_errorText, "");
    EXPECT_EQ(one.GetTitle(), "Cone 6 Clear");
    const CGraph& mean =
        Draw("Limit formula, average (bar)", -1, "Cone 10 gloss", "chart-14-limit-average");
    EXPECT_EQ(mean.m_errorText, "");
    EXPECT_EQ(mean.GetTitle(), "Average of 3 glazes");
    const CGraph& sets =
        Draw("Limit formula, averages (bar)", -1, "Cone 10 gloss", "chart-15-limit-averages");
    EXPECT_EQ(sets.m_errorText, "");
    EXPECT_EQ(sets.m_columns, 2);
    // Opened without a limit formula (from the glaze list), each limit template names its own.
    const CGraph& own = Draw("Limit formula (bar)", -1, "", "chart-02-limit-formula-of-template");
    EXPECT_EQ(own.m_errorText, "");
    EXPECT_EQ(own.limform, "Cone 6 gloss");
    const CGraph& many =
        Draw("Limit formula, each glaze (bar)", -1, "", "chart-19-limit-many");
    EXPECT_EQ(many.m_errorText, "");
    EXPECT_EQ(many.GetTitle(), "Data for 3 glazes");
}

// Regression: a limit that a limit chart leaves out (its combination has no plot maximum) was
// written in the red error box across the finished chart, over its bottom title or its last
// label. It is the notice of a drawn chart: a box in the corner, its text shown when clicked.
TEST_F(PointAndLimitChartsTest, ALimitLeftOutIsTheNoticeOfTheDrawnChart)
{
    Found(m_limits.Database().m_combinations.FindByName("Si:Al")).m_plotMax = 0.0;
    CLimitFormula* formula = nullptr;
    for (int i = 0; i < m_limits.Database().GetCount(); ++i)
        formula = RecordAt(m_limits.Database(), i).m_name == "Cone 6 gloss" ? &m_limits.Database().GetAt(i) : formula;
    ASSERT_NE(formula, nullptr);
    CGraphTemplate bars = m_doc->Database().GetAt(5);
    ASSERT_EQ(bars.m_name, "Limit formula (bar)");
    RecordAt(bars.m_dataSources, 0).dsglz = 1; // the selected glazes
    for (int type : {kGraphOneLimitFormula, kGraphAverageLimitFormula, kGraphAveragesLimitFormula, kGraphManyLimitFormula}) {
        for (int lying : {0, 1}) {
            bars.barhor = lying;
            CGraphView* view = OpenGraphWindow(*m_doc);
            ASSERT_NE(view, nullptr);
            view->SetGraph(&bars, m_glazeDoc, m_glazeDoc->GetGlaze(0), formula, -1, type);
            Flush();
            const std::string what = std::to_string(type) + (lying ? " lying" : " standing");
            const CGraph& graph = *view->Graph();
            EXPECT_EQ(graph.m_errorText, "") << what;
            EXPECT_EQ(graph.m_noticeText, "Combination Si:Al has no plot maximum above 0; its limit is not drawn") << what;
            ASSERT_NE(graph.GetChart(), nullptr) << what;
            ASSERT_NE(graph.GetChart(), nullptr);
            const CChart& chart = *graph.GetChart();
            QRectF box;
            for (const CChartPrimitive& p : chart.Primitives())
                box = p.hitKind == CChartPrimitive::kHitObject ? PixelRect(chart, p) : box;
            ASSERT_FALSE(box.isNull()) << what;
            EXPECT_EQ(chart.HitTest(box.center().x(), box.center().y()).kind, CChartPrimitive::kHitObject) << what;
            EXPECT_EQ(graph.GetMessageText(chart.HitTest(box.center().x(), box.center().y()).objectId), graph.m_noticeText);
            EXPECT_EQ(CrowdedTexts(chart, {{box, "the notice box"}}), "") << what;
            if (type == kGraphManyLimitFormula && lying) {
                EXPECT_TRUE(view->ChartWindow()->grab().save(ScreenshotPath("chart-19-limit-left-out-lying")));
            } else if (type == kGraphOneLimitFormula && !lying) {
                EXPECT_TRUE(view->ChartWindow()->grab().save(ScreenshotPath("chart-02-limit-left-out")));
            }
            view->GetFrame()->CloseFrame();
            Flush();
        }
    }
}

// Regression: the limit charts left limits unnamed at the graph window's first size: names too
// many to stand apart were thinned by places, every other one drawn, and the empty places between
// groups (which carry the value axes of other scales) took their turns. Names are left out only
// where they would stand over a drawn one; where they fit, every limit is named. Regression: the
// numbers of those value axes ran together in narrow windows ("2.04.06.08.010.0"), and upright
// bars put one axis' numbers against the ticks of the axis before it ("1.010.020.0"): numbers at
// one height stand a few pixels apart, and a line's height apart where an axis runs between them.
// Regression: the chart's own value axis was never thinned ("0.00.20.40.60.81.0" 300 pixels
// wide); two axes' numbers stood a blank apart ("1.0 10.0", read as one row); an axis that
// could not keep clear of the one before showed no number, three of them side by side; and
// the legend broke its words ("Starte r Glazes"). Where an axis' numbers cannot stand, its far
// end stands over its top; a legend word stays whole.
TEST_F(PointAndLimitChartsTest, EveryLimitIsNamedWhereTheNamesFit)
{
    CLimitFormula* formula = nullptr;
    for (int i = 0; i < m_limits.Database().GetCount(); ++i)
        formula = RecordAt(m_limits.Database(), i).m_name == "Cone 6 gloss" ? &m_limits.Database().GetAt(i) : formula;
    ASSERT_NE(formula, nullptr);
    // The places of the shipped formula's nine limits, and of the other five combinations after them.
    const std::vector<std::string> places = {"KNaO", "CaO", "MgO", "ZnO", "BaO", "", "B2O3", "", "Al2O3", "", "SiO2",
                                             "", "Si:Al", "", "Na2O", "K2O", "Li2O", "SrO", "PbO"};
    struct CSize {
        QSize size;
        bool everyCombination; // else the nine shipped limits
        bool allNamed;         // the names fit (upright, beside no legend)
        bool upright = false;  // the bars stand, which the shipped templates lay down
        bool middles = false;  // every value axis shows a number between its ends too
        int textSize = 100;    // the axis text's size, percent
        bool ends = true;      // the gaps hold their axes' ends (else the numbers shown stand clear, by their ticks)
    };
    // Every value axis shows its two ends, each number level with its tick: a gap takes the
    // room its axis' numbers need, names giving way. Where a limit's bar would grow thinner
    // than a third of a line, an axis keeps what of its numbers stand, its foot hanging from
    // its start (700 x 180, 300 x 200, 900 x 200, 200 x 200) or rising from its tick where no
    // other place is left (200 x 200 upright) or where it would stand over a name (400 x 400
    // upright, turned). Where the gaps cannot hold a line of numbers (150 pixels high, 14 limits
    // in 200 x 200, upright beside a legend 200 and 220 pixels wide), each axis shows its ends
    // alone beyond its line, clear of it; where the axes stand closer than their ends need (112
    // pixels high; upright at 160 %, three columns at 230 x 1000), their ends take turns in columns. In the smallest windows (200 x 120, 200 x 140)
    // the chart's own numbers keep three pixels apart and its foot, drawn again by the outline
    // pass, stands once; upright at 200 x 120 a foot gives way to a name where it cannot rise.
    // A foot rises only as far as it stays by its tick, or is left out (upright at 200 x 140, and
    // at 160 % in 200 x 200). Regression: lying at 160 % in 700 x 112 and 160 x 120, names stood
    // over the turned side title; upright at 160 % in 200 x 140 and 200 x 200, "Si:Al" ran out
    // of the chart.
    const CSize sizes[] = {{{700, 180}, false, false},
                           {{300, 400}, false, true},
                           {{300, 520}, false, true},
                           {{360, 280}, false, true, true, true},
                           {{460, 640}, false, true, true, true},
                           {{240, 400}, false, true, true},
                           {{300, 900}, false, true, true},
                           {{300, 280}, false, true, true},
                           {{300, 880}, false, true, true},
                           {{620, 300}, false, true, true, false, 160},
                           {{200, 200}, false, false},
                           {{200, 200}, false, true, true},
                           {{700, 112}, false, false},
                           {{700, 112}, false, true, true, false, 100, false},
                           {{1000, 150}, false, false},
                           {{200, 120}, false, false},
                           {{640, 130}, false, false, false, false, 160},
                           {{700, 112}, false, false, false, false, 160, false},
                           {{160, 120}, false, false, false, false, 160, false},
                           {{200, 140}, false, false, true, false, 160, false},
                           {{200, 200}, false, false, true, false, 160, false},
                           // From here on every combination is limited.
                           {{620, 300}, true, false},
                           {{400, 250}, true, false},
                           {{800, 450}, true, true},
                           {{1600, 1000}, true, true},
                           {{300, 200}, true, false},
                           {{460, 400}, true, true, true},
                           {{900, 200}, true, false},
                           {{200, 200}, true, false},
                           {{200, 300}, true, false, true},
                           {{220, 900}, true, false, true},
                           {{400, 400}, true, false, true},
                           {{200, 140}, true, false, true, false, 100, false},
                           {{200, 120}, true, false},
                           {{200, 120}, true, false, true, false, 100, false},
                           {{230, 170}, true, false, true},
                           {{300, 380}, true, false, true, false, 160},
                           {{230, 1000}, true, false, true, false, 160}};
    for (const CSize& size : sizes) {
        if (size.everyCombination && formula->m_limits.GetCount() == 9) {
            for (const char* combination : {"Na2O", "K2O", "Li2O", "SrO", "PbO"})
                formula->m_limits.Add(CLimit(combination, "<= 0.1"));
        }
        const std::size_t count = size.everyCombination ? places.size() : 13;
        for (const char* kind : {"Limit formula (bar)", "Limit formula, average (bar)", "Limit formula, averages (bar)",
                                 "Limit formula, each glaze (bar)"}) {
            const std::string what = std::string(kind) + " " + std::to_string(size.size.width()) + " x " +
                                     std::to_string(size.size.height()) + (size.upright ? " upright" : "") + " " +
                                     std::to_string(size.textSize) + "%";
            CGraphView* view = OpenGraphWindow(*m_doc);
            ASSERT_NE(view, nullptr);
            Control(dynamic_cast<QWidget*>(view->GetFrame())).resize(size.size);
            const std::vector<std::string> names = Names();
            const int shipped = static_cast<int>(std::find(names.begin(), names.end(), kind) - names.begin());
            ASSERT_LT(shipped, kShippedCount) << kind;
            CGraphTemplate graphTemplate = m_doc->Database().GetAt(shipped);
            graphTemplate.barhor = size.upright ? 0 : graphTemplate.barhor;
            graphTemplate.txaxsiz = size.textSize;
            view->SetGraph(&graphTemplate, m_glazeDoc, m_glazeDoc->GetGlaze(0), formula, -1, -1);
            Flush();
            ASSERT_EQ(view->Graph()->m_errorText, "") << what;
            const CChart& chart = *view->ChartWindow()->Chart();
            // The names drawn, by their places.
            std::vector<std::pair<std::size_t, QRectF>> named;
            for (const CChartPrimitive& p : chart.Primitives()) {
                const auto at = std::find(places.begin(), places.begin() + count, p.text);
                if (p.type == CChartPrimitive::Type::Text && at != places.begin() + count && !p.text.empty())
                    named.push_back({static_cast<std::size_t>(at - places.begin()), PixelRect(chart, p)});
            }
            ASSERT_TRUE(named.size() >= 2 || !size.allNamed) << what;
            EXPECT_EQ(CrowdedTexts(chart), "") << what;
            EXPECT_EQ(NumbersRunTogether(chart, size.upright), "") << what;
            // The chart's own value axis and one at each change of scale (upright at 200 x 120, and
            // under 150 pixels high at 160 %, the plot is too short for their lines to read as axes).
            if ((!size.upright || size.size != QSize(200, 120)) && (size.size.height() >= 150 || size.textSize == 100)) {
                EXPECT_EQ(ValueAxes(chart, size.upright).size(), size.everyCombination ? 6u : 5u) << what;
            }
            EXPECT_EQ(AxesWithoutTheirEnds(chart, size.upright, size.middles, size.ends), "") << what;
            const bool sets = std::string(kind).find("averages") != std::string::npos ||
                              std::string(kind).find("each") != std::string::npos;
            // The legend beside the charts of data sets (a quarter of the width) holds whole words of
            // the data sets' titles, a word too wide for it shortened with "...".
            const int type = view->Graph()->type;
            const bool legend = type == kGraphAveragesLimitFormula || type == kGraphManyLimitFormula;
            std::set<std::string> words;
            for (int source = 0; source < view->Graph()->m_dataSources.GetCount(); ++source) {
                std::istringstream title(view->Graph()->GetDataSetTitle(source, m_glazeDoc, nullptr));
                words.insert(std::istream_iterator<std::string>(title), std::istream_iterator<std::string>());
            }
            for (const CChartPrimitive& p : chart.Primitives()) {
                std::istringstream line(p.text);
                for (auto word = std::istream_iterator<std::string>(line);
                     legend && p.type == CChartPrimitive::Type::Text && p.left > chart.ChartGetWidth() * 0.75 &&
                     word != std::istream_iterator<std::string>();
                     ++word)
                    EXPECT_TRUE(words.contains(*word) || std::any_of(words.begin(), words.end(), [&](const std::string& whole) {
                                    const std::string stem = word->substr(0, word->size() - 3);
                                    return word->ends_with("...") && stem.size() < whole.size() && whole.starts_with(stem);
                                }))
                        << what << ": " << *word << " in the legend";
            }
            if (named.size() < 2) { // the smallest windows may shorten every name
                view->GetFrame()->CloseFrame();
                Flush();
                continue;
            }
            // A gap takes as many empty places as its axis' numbers need: the places lie evenly,
            // top down, each gap's the same.
            std::size_t gap = 1;
            const auto placeOf = [&](std::size_t at, std::size_t gapPlaces) {
                return at + (gapPlaces - 1) * static_cast<std::size_t>(std::count(places.begin(), places.begin() + at, ""));
            };
            double best = 1e9;
            for (std::size_t gapPlaces = 1; gapPlaces <= 16; ++gapPlaces) {
                const double from = named.front().second.center().y(), to = named.back().second.center().y();
                const double step = (to - from) / static_cast<double>(placeOf(named.back().first, gapPlaces) -
                                                                      placeOf(named.front().first, gapPlaces));
                double off = 0.0;
                for (const auto& [at, box] : named)
                    off = std::max(off, std::fabs(from + step * static_cast<double>(placeOf(at, gapPlaces) -
                                                                                  placeOf(named.front().first, gapPlaces)) -
                                                  box.center().y()));
                if (off < best)
                    best = off, gap = gapPlaces;
            }
            // Each name left out would stand over a drawn one or a number, or out of the chart.
            std::vector<QRectF> numbers;
            for (const CChartPrimitive& p : chart.Primitives()) {
                if (IsNumber(p))
                    numbers.push_back(PixelRect(chart, p));
            }
            const double first = named.front().second.center().y();
            const double pitch = (named.back().second.center().y() - first) /
                                 static_cast<double>(placeOf(named.back().first, gap) - placeOf(named.front().first, gap));
            std::string unnamed;
            for (std::size_t place = 0; place < count; ++place) {
                if (places[place].empty() ||
                    std::any_of(named.begin(), named.end(), [place](const auto& n) { return n.first == place; }))
                    continue;
                unnamed += " " + places[place];
                const double steps =
                    static_cast<double>(placeOf(place, gap)) - static_cast<double>(placeOf(named.front().first, gap));
                QRectF wouldBe = named.front().second;
                wouldBe.moveCenter({wouldBe.center().x(), first + pitch * steps});
                const QRectF inner = wouldBe.adjusted(0.5, 0.5, -0.5, -0.5);
                EXPECT_TRUE(std::any_of(named.begin(), named.end(), [&](const auto& n) { return inner.intersects(n.second); }) ||
                            std::any_of(numbers.begin(), numbers.end(), [&](const QRectF& n) { return inner.intersects(n); }) ||
                            !QRectF(0.0, 0.0, chart.PixelWidth(), chart.PixelHeight()).contains(wouldBe))
                    << what << ": " << places[place] << " left out with room of its own";
            }
            if (size.allNamed && !(size.upright && sets)) {
                EXPECT_EQ(unnamed, "") << what;
            } else if (!size.allNamed && !size.everyCombination) {
                EXPECT_NE(unnamed, "") << what;
            }
            if (size.size == QSize(620, 300) && std::string(kind) == "Limit formula (bar)") {
                EXPECT_TRUE(view->ChartWindow()->grab().save(ScreenshotPath("chart-02-limit-every-name")));
            }
            view->GetFrame()->CloseFrame();
            Flush();
        }
    }
}

// Regression: with more glazes than its height holds, the legend's last entry stood half below
// the chart. Entries that do not fit are left out whole, and the legend says how many.
TEST_F(PointAndLimitChartsTest, ALegendOfManyGlazesCountsThoseItLeavesOut)
{
    auto* many = dynamic_cast<CGlazesDoc*>(m_app.NewGlazeDatabase());
    ASSERT_NE(many, nullptr);
    many->DeleteGlaze(0);
    for (int i = 0; i < 30; ++i) {
        CGlaze glaze = Found(m_glazeDoc->GetGlaze(i % 10));
        glaze.m_name = "Glaze number " + std::to_string(i + 1);
        many->InsertGlaze(i, glaze);
    }
    CGraphTemplate side = m_doc->Database().GetAt(18);
    ASSERT_EQ(side.m_name, "Selected glazes: oxides (bar)");
    RecordAt(side.m_dataSources, 0).dsglz = 2; // every glaze of the database
    CGraphView* view = OpenGraphWindow(*m_doc);
    ASSERT_NE(view, nullptr);
    view->SetGraph(&side, many, many->GetGlaze(0), nullptr, -1, -1);
    Flush();
    ASSERT_EQ(view->Graph()->m_errorText, "");
    EXPECT_EQ(view->Graph()->GetTitle(), "Oxides in 30 glazes");
    const CChart& chart = *view->ChartWindow()->Chart();
    std::vector<std::string> legend;
    for (const CChartPrimitive& p : chart.Primitives()) {
        if (p.type == CChartPrimitive::Type::Text && p.left >= chart.ChartGetLayout(10) - 1e-9)
            legend.push_back(p.text);
    }
    ASSERT_GE(legend.size(), 3u);
    const std::size_t shown = legend.size() - 1;
    EXPECT_EQ(legend[shown - 1], "Glaze number " + std::to_string(shown));
    EXPECT_EQ(legend.back(), "+ " + std::to_string(30 - shown) + " more");
    EXPECT_EQ(CrowdedTexts(chart), "");
    EXPECT_TRUE(view->ChartWindow()->grab().save(ScreenshotPath("chart-18-legend-of-30-glazes")));
}

// Regression: a glaze of two data sets was counted twice in the title of a scatter ("Data for
// 20 glazes" for 10 glazes), and the window's caption kept naming the template's own graph type
// after Ctrl+Up or Ctrl+Down had drawn the next one.
TEST_F(PointAndLimitChartsTest, ScatterTitlesCountEachGlazeOnceAndTheCaptionFollowsTheGraphType)
{
    for (int row = 0; row < m_glazeDoc->GetGlazeCount(); ++row)
        m_glazeDoc->SelectGlaze(row);
    CGraphView* view = OpenGraphWindow(*m_doc);
    ASSERT_NE(view, nullptr);
    const CGraphTemplate& scatter = m_doc->Database().GetAt(6);
    ASSERT_EQ(scatter.m_name, "Silica and alumina (scatter)");
    view->SetGraph(&scatter, m_glazeDoc, m_glazeDoc->GetGlaze(0), nullptr, -1, -1);
    Flush();
    const auto caption = [view] { return Control(dynamic_cast<QWidget*>(view->GetFrame())).windowTitle(); };
    const auto title = [view] { return view->Graph()->GetTitle(); };
    EXPECT_EQ(caption(), "Silica and alumina (scatter)");
    EXPECT_EQ(title(), "Data for 10 glazes");
    EXPECT_EQ(view->Graph()->m_columns, 2);
    EXPECT_THAT(DrawnTexts(*view->ChartWindow()->Chart()), Contains("Data for 10 glazes"));
    Key(*view, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(caption(), "Silica and alumina (scatter): Many glazes - Oxides (3D scatter)");
    EXPECT_EQ(title(), "Data for 10 glazes");
    Key(*view, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(caption(), "Silica and alumina (scatter): Many glazes - Oxides (triaxial)");
    EXPECT_EQ(title(), "Data for 10 glazes");
    Key(*view, Qt::Key_Up, Qt::ControlModifier);
    Key(*view, Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(caption(), "Silica and alumina (scatter)");
    // The next glaze and the next template: the template's name, the chart of its glazes.
    Key(*view, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(caption(), "Silica and alumina (scatter)");
    Key(*view, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(caption(), "Expansion (histogram)");
}

} // namespace

namespace {

// The shipped templates turned three-dimensional, at a few rotations and elevations.
class ThreeDimensionalChartsTest : public PointAndLimitChartsTest {
protected:
    const CGraph& DrawTurned(const std::string& name, int type, int rotation, int elevation, const char* shot,
                             const std::function<void(CGraphTemplate&)>& change = {})
    {
        const CGraphTemplateDatabase& templates = m_doc->Database();
        const std::size_t before = m_turned.size();
        for (int i = 0; i < templates.GetCount(); ++i) {
            if (RecordAt(templates, i).m_name == name)
                m_turned.push_back(std::make_unique<CGraphTemplate>(templates.GetAt(i)));
        }
        if (m_turned.size() == before) {
            ADD_FAILURE() << "no template \"" << name << "\"";
            m_turned.push_back(std::make_unique<CGraphTemplate>(name));
        }
        CGraphTemplate& turned = *m_turned.back();
        turned.m_name = shot;
        turned.piebar3d = 1;
        turned.rot3d = rotation;
        turned.elev3d = elevation;
        if (change)
            change(turned);
        return DrawIn(&turned, nullptr, type, QSize(760, 460), shot);
    }
    std::vector<std::unique_ptr<CGraphTemplate>> m_turned;
};

TEST_F(ThreeDimensionalChartsTest, PiesBarsAndScattersTurned)
{
    struct Shot {
        const char* name;
        int type;
        int rotation;
        int elevation;
        const char* file;
        std::size_t cells;
    };
    const Shot shots[] = {
        {"Oxide groups (pie)", kGraphOnePieOxides, 0, 30, "chart-3d-pie-30", 3},
        {"Oxide groups (pie)", kGraphOnePieOxides, 120, 75, "chart-3d-pie-75-turned", 3},
        {"Unity formula (bar)", kGraphOneBarOxides, 20, 10, "chart-3d-bar-20-10", 0},
        {"Unity formula (bar)", kGraphOneBarOxides, -60, 40, "chart-3d-bar-minus60-40", 0},
        {"Unity formula (bar)", kGraphOneBarOxides, 180, -30, "chart-3d-bar-180-minus30", 0},
        {"Silica and alumina (scatter)", kGraphScatter3D, 20, 10, "chart-3d-scatter-20-10", 0},
        {"Silica and alumina (scatter)", kGraphScatter3D, -120, 35, "chart-3d-scatter-minus120-35", 0},
        {"Silica and alumina (scatter)", kGraphScatter3D, 45, -20, "chart-3d-scatter-45-minus20", 0},
    };
    for (const Shot& shot : shots) {
        const CGraph& graph = DrawTurned(shot.name, shot.type, shot.rotation, shot.elevation, shot.file);
        EXPECT_EQ(graph.m_errorText, "") << shot.file;
        ASSERT_NE(graph.GetChart(), nullptr) << shot.file;
        ASSERT_NE(graph.GetChart(), nullptr);
        EXPECT_GT(CellPrimitives(*graph.GetChart()).size(), 0u) << shot.file;
    }
}

} // namespace

namespace {

// Regression: zoomed into a small triangle, the left corner's long label ran off the chart.
TEST_F(ThreeDimensionalChartsTest, AZoomedTriangleKeepsItsCornerLabelsInsideTheChart)
{
    const CGraph& graph = DrawTurned("Fluxes (triaxial)", kGraphTriaxial, 0, 0, "chart-24-triaxial-zoomed", [](CGraphTemplate& t) {
        t.piebar3d = 0;
        t.xman = 1;
        t.xmin = 20.0;
        t.xmax = 60.0;
        t.yman = 1;
        t.ymin = 10.0;
    });
    ASSERT_EQ(graph.m_errorText, "");
    ASSERT_NE(graph.GetChart(), nullptr);
    const CChart& chart = *graph.GetChart();
    int corners = 0;
    for (const CChartPrimitive& p : chart.Primitives()) {
        if (p.type != CChartPrimitive::Type::Text)
            continue;
        corners += p.text.find(", ") != std::string::npos ? 1 : 0;
        EXPECT_GE(p.left, 0.0) << p.text;
        EXPECT_LE(p.left + p.width, chart.ChartGetWidth() + 1e-9) << p.text;
        EXPECT_GE(p.bottom, 0.0) << p.text;
        EXPECT_LE(p.bottom + p.height, chart.ChartGetHeight() + 1e-9) << p.text;
    }
    EXPECT_EQ(corners, 3);
}

// A background image under the scatter's plot area and the triaxial's triangle; an image that
// cannot be read leaves a notice and the chart.
TEST_F(ThreeDimensionalChartsTest, BackgroundImagesLieUnderThePoints)
{
    const QString file = QString::fromStdString((m_dir / "kiln.png").string());
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(QColor(250, 220, 160));
    ASSERT_TRUE(picture.save(file));
    for (const char* name : {"Silica and alumina (scatter)", "Fluxes (triaxial)"}) {
        const CGraphTemplateDatabase& templates = m_doc->Database();
        for (int i = 0; i < templates.GetCount(); ++i) {
            if (RecordAt(templates, i).m_name == name)
                m_turned.push_back(std::make_unique<CGraphTemplate>(templates.GetAt(i)));
        }
        m_turned.back()->ovfile = file.toStdString();
        CGraphView* view = OpenGraphWindow(*m_doc);
        ASSERT_NE(view, nullptr);
        view->SetGraph(m_turned.back().get(), m_glazeDoc, m_glazeDoc->GetGlaze(0), nullptr, -1, -1);
        Control(dynamic_cast<QWidget*>(view->GetFrame())).resize(760, 460);
        Flush();
        const CGraph& graph = *view->Graph();
        EXPECT_EQ(graph.m_noticeText, "") << name;
        const QImage shot = view->ChartWindow()->grab().toImage();
        EXPECT_TRUE(shot.save(ScreenshotPath(m_turned.back()->type == kGraphScatter ? "chart-22-scatter-background"
                                                                                    : "chart-24-triaxial-background")));
        // The plot area's lower left quarter shows the picture's colour somewhere.
        ASSERT_NE(graph.GetChart(), nullptr);
        const CChart& chart = *graph.GetChart();
        const double left = chart.ChartGetLayout(6), bottom = chart.ChartGetLayout(7);
        const double width = chart.ChartGetLayout(4), height = chart.ChartGetLayout(5);
        const QPoint inside(static_cast<int>(chart.UnitsToPixelsX(left + width * 0.5)),
                            static_cast<int>(chart.UnitsToPixelsY(bottom + height * 0.1)));
        EXPECT_EQ(shot.pixelColor(inside * shot.devicePixelRatio()), QColor(250, 220, 160)) << name;
    }
    m_turned.back()->ovfile = (m_dir / "missing.png").string();
    CGraphView* view = OpenGraphWindow(*m_doc);
    ASSERT_NE(view, nullptr);
    view->SetGraph(m_turned.back().get(), m_glazeDoc, m_glazeDoc->GetGlaze(0), nullptr, -1, kGraphScatter);
    Flush();
    EXPECT_EQ(view->Graph()->m_noticeText, "Could not read background image file");
    EXPECT_EQ(view->Graph()->m_errorText, "");
}

} // namespace
