#include "GraphTypesFixture.h"

#include "ui/support/CheckedWidgets.h"
#include "core/support/CheckedItems.h"
#include "graphs/ChartCanvasQt.h"
#include "graphs/ChartDrawing.h"
#include "graphs/Graph.h"
#include "graphs/GraphView.h"
#include "graphs/GraphWnd.h"

#include <QImage>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <set>

#include <gtest/gtest.h>

namespace {

using namespace graphtest;

// The shipped templates of the recipe, cost, material-type, average, statistics and many-glaze
// charts, with the glaze of the database each draws: the one-glaze charts the first glaze (the
// third for the additions of its recipe), the many-glaze charts every glaze or the selected ones.
// A row with a pixel ratio is shown once more whole, its graph window as a screen of that ratio
// (a screen at 200 %) shows it, whatever the screen the tests run on. A row may draw its axis
// text at another size, in another window or with a 3-D look.
struct CShot {
    const char* templateName;
    int glaze;
    qreal ratio = 0.0;
    int axisText = 100; // percent; 0 the template's
    QSize size{820, 520};
    bool look = false;
    // Where not negative: no text stands over another, and numbers side by side stand `clear`
    // pixels apart at least.
    double clear = -1.0;
};
const CShot kShots[] = {
    {"Oxide sources (bar)", 0},
    {"Recipe (pie)", 2, 2.0},
    {"Recipe (bar)", 2},
    {"Recipe and oxides (bar)", 0},
    {"Material costs (pie)", 0},
    {"Material costs (bar)", 0},
    {"Material types (pie)", 2},
    {"Material types (bar)", 2},
    {"Average glaze (pie)", 0},
    {"Average glaze (bar)", 0},
    {"Averages: database and selection (bar)", 0},
    {"Expansion (histogram)", 0},
    {"Main oxides (box & whiskers)", 0},
    {"Selected glazes: oxides (bar)", 0, 2.0},
    {"Selected glazes: recipes (bar)", 0},
    {"Selected glazes: material types (bar)", 0},
    // Regression: names turned under the plot and longer than the room kept there ran out of the
    // chart at their start ("heline Syenite" at the window's first size): the room follows the
    // longest name, and where the window cannot hold a name it is shortened at its end.
    {"Recipe (bar)", 0, 0.0, 160, {620, 300}},
    {"Recipe and oxides (bar)", 0, 2.0, 160, {620, 300}, true},
    {"Material costs (bar)", 0, 0.0, 100, {200, 200}},
    {"Selected glazes: recipes (bar)", 0, 0.0, 160, {360, 280}},
    // Regressions: texts over each other in small windows. The triaxial's bottom corner names over
    // each other, over the side title and the legend; the 3-D scatter's corner numbers "0" and
    // "0.0" over each other, and its turned numbers on the slanted axes under three pixels
    // apart; a pie's labels over the top title; the histogram's "3" over the side title.
    {"Fluxes (triaxial)", 0, 0.0, 0, {640, 130}, false, 0.0},
    {"Fluxes (triaxial)", 0, 0.0, 0, {160, 120}, false, 0.0},
    {"Fluxes (triaxial)", 0, 0.0, 0, {200, 760}, false, 0.0},
    {"Silica, alumina and calcia (3D scatter)", 0, 0.0, 0, {620, 300}, false, 3.0},
    {"Silica, alumina and calcia (3D scatter)", 0, 0.0, 0, {1400, 360}, false, 3.0},
    {"Silica, alumina and calcia (3D scatter)", 0, 0.0, 0, {900, 200}, false, 3.0},
    {"Recipe (pie)", 0, 0.0, 0, {700, 112}, false, 0.0},
    {"Material costs (pie)", 0, 0.0, 0, {160, 120}, false, 0.0},
    {"Expansion (histogram)", 0, 0.0, 160, {700, 112}, false, 0.0},
};

// Numbers side by side (at one height) that stand less than `clear` pixels apart: " [a|b]".
std::string NumbersCloserThan(const CChart& chart, double clear)
{
    std::vector<std::pair<QRectF, std::string>> numbers;
    for (const CChartPrimitive& p : chart.Primitives()) {
        if (p.type == CChartPrimitive::Type::Text && !p.text.empty() && p.text.find_first_not_of("0123456789.") == std::string::npos)
            numbers.push_back({PixelRect(chart, p), p.text});
    }
    std::string close;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        for (std::size_t j = i + 1; j < numbers.size(); ++j) {
            if (numbers[i].first.adjusted(-clear, 0.5, clear, -0.5).intersects(numbers[j].first))
                close += " [" + numbers[i].second + "|" + numbers[j].second + "]";
        }
    }
    return close;
}

// The recipe, cost, material-type, average, statistics and many-glaze charts of the shipped
// templates and glazes, as graph windows draw them, saved as screenshots for a person to
// look at.
class GlazeChartScreenshotsTest : public GraphTypesFixture {
protected:
    GlazeChartScreenshotsTest()
    {
        g_pGraphViewTemplate = &m_graphViewTemplate;
        InstallGraphViewTemplate(m_graphViewTemplate);
        // The shipped materials carry no prices: give the recipe of the first glaze some.
        CMaterialArray& materials = m_materials.Materials();
        const std::pair<const char*, double> prices[] = {
            {"Nepheline Syenite", 0.45}, {"Wollastonite", 0.40}, {"Whiting", 0.20},
            {"Zinc Oxide", 2.60},        {"Kaolin", 0.35},       {"Silica", 0.25},
        };
        for (const auto& [name, price] : prices)
            Found(materials.FindMaterial(std::string_view(name))).m_costPerLb = price;
        for (int i = 0; i < m_glazeDoc->GetGlazeCount(); ++i)
            Found(m_glazeDoc->GetGlaze(i)).InvalidateAnalysis();
    }
    ~GlazeChartScreenshotsTest() override
    {
        for (CView* view : m_doc->GetViews()) {
            if (auto* graph = dynamic_cast<CGraphView*>(view))
                graph->GetFrame()->CloseFrame();
        }
        Flush();
        g_pGraphViewTemplate = nullptr;
    }

    int TemplateIndex(const std::string& name) const
    {
        const std::vector<std::string> names = Names();
        const auto at = std::find(names.begin(), names.end(), name);
        EXPECT_NE(at, names.end()) << name;
        return at == names.end() ? 0 : static_cast<int>(at - names.begin());
    }

    CDocTemplate m_graphViewTemplate{kGraphViewResourceId, kGraphTypesDocString, nullptr};
};

TEST_F(GlazeChartScreenshotsTest, EveryRecipeAverageAndManyGlazeTemplateDrawsTheShippedGlazes)
{
    // Each shipped template of these charts draws its own kind.
    m_glazeDoc->ClearSelection();
    for (int row : {3, 4, 6})
        m_glazeDoc->SelectGlaze(row);
    std::set<int> types;
    for (const CShot& shot : kShots) {
        const auto& [templateName, glaze, ratio, axisText, size, look, clear] = shot;
        CGraphView* view = OpenGraphWindow(*m_doc);
        ASSERT_NE(view, nullptr);
        Control(dynamic_cast<QWidget*>(view->GetFrame())).resize(size);
        CGraphTemplate graphTemplate = m_doc->Database().GetAt(TemplateIndex(templateName));
        graphTemplate.txaxsiz = axisText > 0 ? axisText : graphTemplate.txaxsiz;
        graphTemplate.piebar3d = look ? 1 : graphTemplate.piebar3d;
        graphTemplate.true3d = look ? 0 : graphTemplate.true3d;
        view->SetGraph(&graphTemplate, m_glazeDoc, m_glazeDoc->GetGlaze(glaze), nullptr, -1, -1);
        Flush();
        ASSERT_NE(view->Graph(), nullptr) << templateName;
        EXPECT_EQ(view->Graph()->m_errorText, "") << templateName;
        EXPECT_GT(view->Graph()->m_rows, 0) << templateName;
        EXPECT_FALSE(view->Graph()->GetText().empty()) << templateName;
        types.insert(graphTemplate.type);
        const std::string name = "chart-type-" + std::to_string(graphTemplate.type) +
                                 ((axisText > 0 && axisText != 100) || look ? "-text-" + std::to_string(axisText) : "") +
                                 (size != QSize(820, 520) ? "-" + std::to_string(size.width()) : "");
        // The rows of small windows are about their texts: slices and points a few pixels wide
        // there need not show every colour.
        if (clear < 0.0)
            ExpectReadableChart(*view->ChartWindow(), view->ChartWindow()->Chart(), name.c_str());
        else
            EXPECT_TRUE(view->ChartWindow()->grab().toImage().save(ScreenshotPath(name.c_str()))) << name;
        const CChart& chart = *view->ChartWindow()->Chart();
        EXPECT_EQ(CrowdedTexts(chart).find("out of the chart"), std::string::npos) << name << CrowdedTexts(chart);
        if (clear >= 0.0) {
            EXPECT_EQ(CrowdedTexts(chart) + NumbersCloserThan(chart, clear), "") << name;
        }
        if (size == QSize(CGraphView::kInitialWidth, CGraphView::kInitialHeight) && !look) {
            const std::vector<std::string> texts = DrawnTexts(chart);
            for (const std::string& label : chart.Definition().pointLabels)
                EXPECT_NE(std::find(texts.begin(), texts.end(), label), texts.end()) << name << ": " << label;
        }
        // Regression: the histogram's two corner numbers touched. Texts stand a pixel apart.
        if (std::string(templateName) == "Expansion (histogram)") {
            EXPECT_EQ(CrowdedTexts(*view->ChartWindow()->Chart(), {}, 1.0), "") << templateName;
        }
        // Regression: a pie's labels ran out of a narrow window: they are shortened to its room.
        if (std::string(templateName).ends_with("(pie)")) {
            Control(dynamic_cast<QWidget*>(view->GetFrame())).resize(300, 520);
            Flush();
            EXPECT_EQ(CrowdedTexts(*view->ChartWindow()->Chart()).find("out of the chart"), std::string::npos)
                << templateName << CrowdedTexts(*view->ChartWindow()->Chart());
            ExpectReadableChart(*view->ChartWindow(), view->ChartWindow()->Chart(), (name + "-narrow").c_str());
            Control(dynamic_cast<QWidget*>(view->GetFrame())).resize(size);
            Flush();
        }
        if (ratio > 0.0) {
            QWidget& frame = Control(dynamic_cast<QWidget*>(view->GetFrame()));
            QImage window((QSizeF(frame.size()) * ratio).toSize(), QImage::Format_RGB32);
            window.setDevicePixelRatio(ratio);
            frame.render(&window);
            const std::string whole = name + "-window-ratio-" + std::to_string(static_cast<int>(ratio));
            EXPECT_TRUE(window.save(ScreenshotPath(whole.c_str()))) << whole;
            const QRect chart(view->ChartWindow()->mapTo(&frame, QPoint(0, 0)), view->ChartWindow()->size());
            QImage shown = window.copy(QRectF(QPointF(chart.topLeft()) * ratio, QSizeF(chart.size()) * ratio).toRect());
            shown.setDevicePixelRatio(ratio);
            ExpectReadableChart(shown, view->ChartWindow()->Chart(), whole.c_str());
        }
        if (!size.isEmpty()) {
            CGraphTemplate sized = graphTemplate;
            sized.txaxsiz = axisText > 0 ? axisText : sized.txaxsiz;
            view->SetGraph(&sized, m_glazeDoc, m_glazeDoc->GetGlaze(glaze), nullptr, -1, -1);
            Control(dynamic_cast<QWidget*>(view->GetFrame())).resize(size);
            Flush();
            const CChart& chart = *view->ChartWindow()->Chart();
            EXPECT_EQ(CrowdedTexts(chart) + NumbersCloserThan(chart, clear), "")
                << templateName << " at " << size.width() << " x " << size.height();
        }
        view->GetFrame()->CloseFrame();
        Flush();
    }
    EXPECT_EQ(types, (std::set<int>{3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 16, 17, 18, 20, 21, 23, 24}));

    // Regression: with every glaze selected the recipe bars are a few pixels wide, and their
    // outlines covered them: the chart was black and matched none of its legend's colours.
    for (int row = 0; row < m_glazeDoc->GetGlazeCount(); ++row)
        m_glazeDoc->SelectGlaze(row);
    CGraphView* view = OpenGraphWindow(*m_doc);
    ASSERT_NE(view, nullptr);
    Control(dynamic_cast<QWidget*>(view->GetFrame())).resize(820, 520);
    view->SetGraph(&m_doc->Database().GetAt(TemplateIndex("Selected glazes: recipes (bar)")), m_glazeDoc,
                   m_glazeDoc->GetGlaze(0), nullptr, -1, -1);
    Flush();
    EXPECT_EQ(view->Graph()->GetTitle(), "Materials in 10 glazes");
    ExpectReadableChart(*view->ChartWindow(), view->ChartWindow()->Chart(), "chart-type-20-every-glaze");
}

// The pixel box round the data cells of a chart: its slices, bars, boxes and points.
QRectF CellBounds(const CChart& chart)
{
    QRectF box;
    for (const CChartPrimitive* p : CellPrimitives(chart))
        box = box.isNull() ? PixelRect(chart, *p) : box.united(PixelRect(chart, *p));
    return box;
}

// True when the pixel (x, y) of the chart lies within a pixel of the face.
bool WithinAPixelOf(const CChart& chart, const CChartPrimitive& face, double x, double y)
{
    bool inside = false;
    double nearest = HUGE_VAL;
    for (std::size_t i = 0, j = face.points.size() - 1; i < face.points.size(); j = i++) {
        const QPointF a(chart.UnitsToPixelsX(face.points[j].x), chart.UnitsToPixelsY(face.points[j].y));
        const QPointF b(chart.UnitsToPixelsX(face.points[i].x), chart.UnitsToPixelsY(face.points[i].y));
        if ((a.y() > y) != (b.y() > y) && x < (b.x() - a.x()) * (y - a.y()) / (b.y() - a.y()) + a.x())
            inside = !inside;
        const QPointF edge = b - a;
        const double length = QPointF::dotProduct(edge, edge);
        const double along = length > 0.0 ? std::clamp(QPointF::dotProduct(QPointF(x, y) - a, edge) / length, 0.0, 1.0) : 0.0;
        nearest = std::min(nearest, std::hypot(x - a.x() - along * edge.x(), y - a.y() - along * edge.y()));
    }
    return inside || nearest <= 1.0;
}

// The chart drawn at the pixel ratio as the graph window draws it on a screen of that ratio, each
// ratio x ratio pixels of it averaged into one.
QImage AveragedPicture(const CChart& chart, int ratio)
{
    const int width = static_cast<int>(std::lround(chart.PixelWidth()));
    const int height = static_cast<int>(std::lround(chart.PixelHeight()));
    QImage fine(width * ratio, height * ratio, QImage::Format_RGB32);
    fine.setDevicePixelRatio(ratio);
    PaintChartImage(chart, fine, QRectF(0.0, 0.0, width, height));
    QImage picture(width, height, QImage::Format_RGB32);
    const int n = ratio * ratio;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            int red = 0, green = 0, blue = 0;
            for (int k = 0; k < n; ++k) {
                const QRgb c = fine.pixel(x * ratio + k % ratio, y * ratio + k / ratio);
                red += qRed(c);
                green += qGreen(c);
                blue += qBlue(c);
            }
            picture.setPixel(x, y, qRgb((red + n / 2) / n, (green + n / 2) / n, (blue + n / 2) / n));
        }
    }
    return picture;
}

// Some 10,000 clicks over the bars of a chart that draws only what shows: each one that answers a
// bar answers a glaze (and item) with a face within a pixel of the click where every box is drawn.
void ExpectClicksAnswerBarsDrawnThere(const CChart& culled, const CChart& whole, const char* shot)
{
    std::vector<std::pair<std::pair<int, int>, const CChartPrimitive*>> faces;
    for (const CChartPrimitive* p : CellPrimitives(whole))
        faces.push_back({{p->column, p->row}, p});
    std::sort(faces.begin(), faces.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    // On a grid not aligned with the pixels.
    const QRectF bars = CellBounds(culled);
    const double step = std::max(2.0, std::sqrt(bars.width() * bars.height() / 10000.0)) + 0.37;
    int clicks = 0, elsewhere = 0;
    std::string first;
    for (double y = bars.top() + 0.5; y < bars.bottom(); y += step) {
        for (double x = bars.left() + 0.5; x < bars.right(); x += step) {
            const CChartHit hit = culled.HitTest(x, y);
            if (hit.kind != CChartPrimitive::kHitCell)
                continue;
            ++clicks;
            const auto [from, to] = std::equal_range(faces.begin(), faces.end(), std::pair{std::pair{hit.column, hit.row}, nullptr},
                                                     [](const auto& a, const auto& b) { return a.first < b.first; });
            if (std::none_of(from, to, [&](const auto& face) { return WithinAPixelOf(whole, *face.second, x, y); })) {
                if (elsewhere++ == 0)
                    first = "glaze " + std::to_string(hit.column) + " at " + std::to_string(x) + ", " + std::to_string(y);
            }
        }
    }
    EXPECT_GT(clicks, 1000) << shot;
    EXPECT_EQ(elsewhere, 0) << shot << ": of " << clicks << " clicks, the first " << first;
}

// Regression: the true 3-D bars took the longest label's width off all four sides of the plot
// before they fitted the box, so that at the graph window's first size a recipe's bars shrank
// to a stamp under labels that ran into each other.
TEST_F(GlazeChartScreenshotsTest, TrueThreeDimensionalBarsReadAtTheWindowsFirstSize)
{
    m_glazeDoc->ClearSelection();
    for (int row : {3, 4, 6})
        m_glazeDoc->SelectGlaze(row);
    for (const CShot& shot : kShots) {
        const char* templateName = shot.templateName;
        CGraphTemplate turned = m_doc->Database().GetAt(TemplateIndex(templateName));
        if (!ItemAt(g_graphTypeTable, static_cast<std::size_t>(turned.type)).bar)
            continue;
        turned.txaxsiz = shot.axisText;
        turned.piebar3d = 1;
        turned.true3d = 1;
        turned.rot3d = 20;
        turned.elev3d = 10;
        CGraphView* view = OpenGraphWindow(*m_doc);
        ASSERT_NE(view, nullptr);
        view->SetGraph(&turned, m_glazeDoc, m_glazeDoc->GetGlaze(shot.glaze), nullptr, -1, -1);
        Flush();
        ASSERT_EQ(Control(dynamic_cast<QWidget*>(view->GetFrame())).size(),
                  QSize(CGraphView::kInitialWidth, CGraphView::kInitialHeight));
        const CChart* chart = view->ChartWindow()->Chart();
        ASSERT_NE(chart, nullptr) << templateName;
        EXPECT_EQ(view->Graph()->m_errorText, "") << templateName;
        // Stacked boxes hide each other's tops: the pictures are for a person to judge.
        const std::string name = "chart-true-3d-type-" + std::to_string(turned.type) + "-text-" + std::to_string(shot.axisText);
        EXPECT_TRUE(view->ChartWindow()->grab().save(ScreenshotPath(name.c_str()))) << name;
        const QRectF bars = CellBounds(*chart);
        EXPECT_GE(bars.width(), 180.0) << templateName;
        EXPECT_GE(bars.height(), 90.0) << templateName;
        // Every text stands inside the chart, clear of every other and of the bars.
        std::vector<std::pair<QRectF, std::string>> faces;
        for (const CChartPrimitive* p : CellPrimitives(*chart))
            faces.push_back({PixelRect(*chart, *p), "a bar"});
        EXPECT_EQ(CrowdedTexts(*chart, faces), "") << templateName;
        view->GetFrame()->CloseFrame();
        Flush();
    }
}

// Many glazes one behind another, or many items side by side, put boxes many to a pixel: those
// that later boxes cover are left out, where rows are far thinner than a pixel boxes draw their
// fronts alone, and the rows of a column that show only slivers are drawn in runs. The picture
// stays the one every box draws: with rows a few and wide boxes, the same to the byte; else,
// averaged over 4 x 4 pixels it differs little anywhere, and few pixels differ by much
// (antialiased edges and outlines, and the fine texture of walls of rows a hundredth of a pixel
// deep). Regressions: rows falling with depth show their sides, each row's outline a sliver of
// it; leaving out all but a few rows a quarter pixel apart turned the grey mix of thousands of
// glazes' outlines into stripes of a few glazes' colours. A hundred thousand glazes drew every
// row's sliver, 300,000 faces and seconds for each size of the window; their runs draw a few
// faces to the pixel, the top of a column in the colours of the glazes that reach it. Rows from a
// 64th of a pixel to a pixel apart drew every face: 10,000 glazes drew more than 100,000 glazes.
// A run answered a click as its farthest row, which may be short while another row of the run
// reaches the click: a click named a glaze whose bar was not there. Rows some tenths of a pixel
// apart drew every face: 8,000 glazes of a dozen oxides drew 288,000 faces, twice what a hundred
// thousand glazes draw. At pixel ratio 2 the picture is the one at ratio 1, only sharper: each
// outline as wide in the chart's pixels (drawn a device pixel wide, they showed pale).
TEST_F(GlazeChartScreenshotsTest, TrueThreeDimensionalBarsOfManyGlazesDrawWhatEveryBoxDraws)
{
    // Under AddressSanitizer every box of a hundred thousand glazes takes many seconds to draw: a
    // quarter of them, still rows hundreds to a pixel, walk the same roads.
#if defined(__SANITIZE_ADDRESS__)
    constexpr int kMostGlazes = 25000, kMostFewer = 20;
#else
    constexpr int kMostGlazes = 100000, kMostFewer = 50;
#endif
    struct CMany {
        int items;
        int glazes;
        int itemsOfAGlaze; // all of them, or as many as a recipe has
        const char* shot;
        bool frontsAlone = true; // rows thinner than a pixel
        bool sameToTheByte = false;
        // What the last row rises above the first (so that every top shows), or falls below it
        // (so that each row's side shows beside the nearer rows, heights smooth instead of in runs).
        double rise = 0.0;
        QSize size{400, 250};
        // Heights glaze by glaze, as analyses vary (one glaze in 30 the tallest), not in runs.
        bool glazeByGlaze = false;
        int fewer = 1;          // every box's faces are at least so many times those drawn
        int mostOffBlock = 48;  // the most a 4 x 4 block may differ (where the picture is closer, a
                                // little more than it differs now)
        bool clicks = false;    // clicked over (ExpectClicksAnswerBarsDrawnThere)
        // The pixel ratio the culled picture is drawn at, each ratio x ratio pixels averaged (a
        // thousand rows' outlines a sliver apart mix a shade apart at 2: some 1.5 % of the pixels
        // of a dozen oxides by 8,000 glazes, every box drawn; outlines a device pixel wide, 7 %).
        int ratio = 1;
        std::size_t mostPrimitives = SIZE_MAX; // whatever the glaze count (8,000 of a dozen drew 288,000)
        double mostFarOff = 0.005;             // the share of pixels that may differ by much
        int fewerGlazes = 0; // so many glazes draw no more than 1.1 times what the row's glazes draw
    };
    for (const CMany& many : {CMany{3, 1500, 3, "chart-true-3d-many-glazes", false, true},
                              CMany{2, 8000, 2, "chart-true-3d-very-many-glazes", true, false, 0.0, {400, 250}, false, 8},
                              CMany{1500, 3000, 3, "chart-true-3d-many-items", false, false, 0.0, {400, 250}, false, 3},
                              CMany{250, 12000, 2, "chart-true-3d-many-items-and-glazes", true, false, 8.0, {400, 250},
                                    false, 10},
                              CMany{3, 20000, 3, "chart-true-3d-many-glazes-falling", true, false, -8.0, {620, 300},
                                    false, 20, 26},
                              CMany{3, 10000, 3, "chart-true-3d-ten-thousand-glazes", true, false, 0.0, {1400, 900},
                                    true, 2, 40, true},
                              CMany{3, kMostGlazes, 3, "chart-true-3d-hundred-thousand-glazes", true, false, 0.0,
                                    {620, 300}, true, kMostFewer, 40, true},
                              CMany{3, 60, 3, "chart-true-3d-deep-rows", false, true},
                              CMany{12, 8000, 12, "chart-true-3d-dozen-oxides-ratio-2", true, false, 0.0, {1600, 1000},
                                    false, 2, 56, false, 2, 200000, 0.025},
                              CMany{3, 20000, 3, "chart-true-3d-many-glazes-falling-ratio-2", true, false, -8.0,
                                    {620, 300}, false, 20, 48, false, 2},
                              // Under a fixed budget these drew every end face (144,000) or every
                              // face (72,000) of their boxes, more than 100,000 glazes draw at
                              // their sizes (some 136,000 and 49,000 here); at 620 x 300 more than
                              // 1.25 times that, and twice what 1,000 glazes draw (36,000).
                              CMany{12, 12000, 12, "chart-true-3d-twelve-thousand-of-a-dozen", true, false, 0.0,
                                    {1400, 900}, false, 2, 56, false, 1, 100000, 0.025},
                              CMany{12, 2000, 12, "chart-true-3d-two-thousand-of-a-dozen", true, false, 0.0,
                                    {620, 300}, false, 2, 56, false, 1, 61000, 0.025},
                              // Fewer glazes drew more: every face of 2,000 (72,000) against the end
                              // faces of 3,000 at 1400 x 900 (36,000), the end faces of 8,000
                              // (96,000) against runs eight rows deep of 10,000 at 1920 x 1200
                              // (52,000), and at 620 x 300 every face of 3,000 (36,000) against the
                              // runs of 4,000 (21,000).
                              CMany{12, 3000, 12, "chart-true-3d-three-thousand-of-a-dozen", true, false, 0.0,
                                    {1400, 900}, false, 1, 36, false, 1, SIZE_MAX, 0.001, 2000},
                              CMany{12, 10000, 12, "chart-true-3d-ten-thousand-of-a-dozen", true, false, 0.0,
                                    {1920, 1200}, false, 1, 46, false, 1, SIZE_MAX, 0.01, 8000},
                              CMany{12, 4000, 12, "chart-true-3d-four-thousand-of-a-dozen-ratio-2", true, false, 0.0,
                                    {620, 300}, false, 1, 64, false, 2, SIZE_MAX, 0.02, 3000}}) {
        // Heights in runs, as glazes of a database often share an analysis, or glaze by glaze.
        const auto define = [&many](CChart& chart, int glazes) {
            std::vector<CChartValueAt> values;
            for (int glaze = 0; glaze < glazes; ++glaze) {
                for (int k = 0; k < many.itemsOfAGlaze; ++k) {
                    const int item = (glaze * 7 + k * (many.items / many.itemsOfAGlaze)) % many.items;
                    const double height = many.rise < 0.0  ? 20.0 + item
                                          : many.glazeByGlaze ? 2.0 + (item * 7 + glaze * 13) % 30 / 3.0
                                                              : 2.0 + (item * 5 + glaze / 7 * 3) % 11;
                    values.push_back({item, glaze, height + many.rise * glaze / glazes});
                }
            }
            chart.ChartDefBegin();
            chart.ChartSetSparseData(many.items, glazes, values);
            chart.ChartSetView(7, 20, 10, 0);
            chart.ChartSetDepth(7, 100, 50, 50);
        };
        CChart culled(GetQtChartMetrics(), 0.0, 0.0, many.size.width(), many.size.height(), 1000.0);
        define(culled, many.glazes);
        culled.ChartSetKind(kChartBarTrue3D, 0, 0x20);
        CChart whole(GetQtChartMetrics(), 0.0, 0.0, many.size.width(), many.size.height(), 1000.0);
        define(whole, many.glazes);
        DrawBar3DChart(whole, 0, DrawChartDecorations(whole, kChartBarTrue3D), true);
        const QImage drawn = AveragedPicture(culled, many.ratio), every = RenderChartImage(whole);
        EXPECT_TRUE(drawn.save(ScreenshotPath(many.shot))) << many.shot;
        EXPECT_TRUE(every.save(ScreenshotPath((std::string(many.shot) + "-every-box").c_str()))) << many.shot;
        ASSERT_EQ(drawn.size(), every.size());
        EXPECT_LE(culled.Primitives().size() * (many.frontsAlone ? 3 : 2), whole.Primitives().size() * 2) << many.shot;
        EXPECT_LE(culled.Primitives().size() * many.fewer, whole.Primitives().size()) << many.shot;
        EXPECT_LE(culled.Primitives().size(), many.mostPrimitives) << many.shot;
        if (many.fewerGlazes > 0) {
            CChart fewer(GetQtChartMetrics(), 0.0, 0.0, many.size.width(), many.size.height(), 1000.0);
            define(fewer, many.fewerGlazes);
            fewer.ChartSetKind(kChartBarTrue3D, 0, 0x20);
            EXPECT_LE(fewer.Primitives().size() * 10, culled.Primitives().size() * 11) << many.shot;
        }
        if (many.clicks)
            ExpectClicksAnswerBarsDrawnThere(culled, whole, many.shot);
        if (many.sameToTheByte) {
            EXPECT_TRUE(drawn == every) << many.shot;
            continue;
        }
        const auto difference = [](QRgb a, QRgb b) {
            return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                             std::abs(qBlue(a) - qBlue(b))});
        };
        int farOff = 0, worstBlock = 0;
        for (int top = 0; top + 4 <= drawn.height(); top += 4) {
            for (int left = 0; left + 4 <= drawn.width(); left += 4) {
                int red = 0, green = 0, blue = 0;
                for (int y = top; y < top + 4; ++y) {
                    for (int x = left; x < left + 4; ++x) {
                        const QRgb a = drawn.pixel(x, y), b = every.pixel(x, y);
                        farOff += difference(a, b) > 64 ? 1 : 0;
                        red += qRed(a) - qRed(b);
                        green += qGreen(a) - qGreen(b);
                        blue += qBlue(a) - qBlue(b);
                    }
                }
                worstBlock = std::max({worstBlock, std::abs(red) / 16, std::abs(green) / 16, std::abs(blue) / 16});
            }
        }
        EXPECT_LE(worstBlock, many.mostOffBlock) << many.shot;
        EXPECT_LT(farOff, drawn.width() * drawn.height() * many.mostFarOff) << many.shot;
    }
}

} // namespace
