// Building and rendering the oxide bar chart ("One glaze - Oxides (bar)", fifteen oxides and
// remainders in unity, grid lines and outlined bars) of each of 1,000 generated glazes into a
// 600 x 300 off-screen image, as the graph window draws it. Reported as charts per second.
//
// The engine's own cost: the same 1,000 pictures drawn straight with QPainter calls prepared
// beforehand (every polygon, line and text already in pixels, pens, brushes and fonts made), the
// least any program drawing these pictures pays. Both run in one program, one after the other:
// the ratio of their charts per second is the engine's overhead (target: at most 1.5).

#include "glazes/Glaze.h"
#include "graphs/Chart.h"
#include "graphs/ChartCanvasQt.h"
#include "graphs/Graph.h"
#include "graphs/GraphTypeTable.h"
#include "graphs/GraphTypesDoc.h"
#include "graphs/QtChartEngine.h"
#include "materials/MaterialsDoc.h"
#include "shell/AppContext.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"
#include "support/NumberText.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPolygonF>

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kGlazes = 1000;
constexpr int kMaterials = 40;
constexpr int kIngredients = 6;

const char* const kOxides[] = {"SiO2", "Al2O3", "B2O3", "Li2O", "Na2O", "K2O", "MgO", "CaO",
                               "SrO",  "BaO",   "ZnO",  "TiO2", "ZrO2", "Fe2O3"};

std::string MaterialName(int n) { return std::string("Material ").append(std::to_string(n)); }

void FillMaterials(CMaterialArray& database, std::mt19937& random)
{
    std::uniform_int_distribution<int> oxide(0, static_cast<int>(std::size(kOxides)) - 1);
    std::uniform_real_distribution<double> amount(1.0, 60.0);
    for (int n = 0; n < kMaterials; ++n) {
        std::string formula = "%";
        for (int i = 0; i < 4; ++i)
            formula.append("  ").append(FormatDoubleFixed(amount(random), 2)).append(" ").append(kOxides[oxide(random)]);
        CMaterial material(MaterialName(n));
        material.SetFormula(formula);
        material.m_available = 1;
        database.InsertCopy(database.GetCount(), material);
    }
    database.BuildIndex();
}

// A chart window of the graph window's usual size on an imagined screen.
class CBenchWindow : public CChartWindow {
public:
    CCoreRect GetScreenRect() const override { return {0, 0, 600, 300}; }
    const CChartMetrics& GetChartMetrics() const override { return GetQtChartMetrics(); }
};

// The glazes, the template and the engine of both benchmarks.
class CBarChartsWorld {
public:
    CBarChartsWorld()
    {
        engine.ChartLibOpen("", "C");
        SetChartEngine(&engine);
        app.m_bGraphsAvailable = 1;
        std::mt19937 random(20261207);
        FillMaterials(materials.Materials(), random);
        std::uniform_int_distribution<int> material(0, kMaterials - 1);
        std::uniform_real_distribution<double> amount(2.0, 40.0);
        for (int n = 0; n < kGlazes; ++n) {
            glazes.push_back(std::make_unique<CGlaze>("Glaze " + std::to_string(n)));
            for (int i = 0; i < kIngredients; ++i)
                glazes.back()->m_components.Add(MaterialName(material(random)), amount(random));
        }
        bars.ResetDefaults(kGraphOneBarOxides);
        bars.bpoxides = "3,11,19,12,20,38,56,30,110,13,5,111,14,22,112";
        bars.oxtype = 0;
        bars.gridy = 1;
    }
    ~CBarChartsWorld() { SetChartEngine(nullptr); }

    CAppContext context;
    COxidariumApp app;
    CQtChartEngine engine;
    CMaterialsDoc materials;
    CGraphTypesDoc templates; // the oxide colours
    std::vector<std::unique_ptr<CGlaze>> glazes;
    CGraphTemplate bars{"Unity formula (bar)"};
    CBenchWindow window;
};

void BM_OxideBarChartsRendered(benchmark::State& state)
{
    CBarChartsWorld world;
    QImage image(600, 300, QImage::Format_RGB32);
    std::size_t primitives = 0;
    for (auto _ : state) {
        for (const auto& glaze : world.glazes) {
            CGraph graph;
            graph.SetTemplate(world.bars);
            graph.Build(&world.window, &world.window, nullptr, nullptr, glaze.get());
            if (const CChart* chart = graph.GetChart()) {
                image = RenderChartImage(*chart);
                primitives += chart->Primitives().size();
            }
        }
    }
    benchmark::DoNotOptimize(primitives);
    benchmark::DoNotOptimize(image);
    state.SetItemsProcessed(state.iterations() * kGlazes);
    state.counters["charts/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kGlazes, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_OxideBarChartsRendered)->Unit(benchmark::kMillisecond);

// One picture as QPainter calls ready to make.
struct CRawStep {
    enum Kind { Polygon, Polyline, Text } kind = Polygon;
    QPolygonF points;
    QPen pen;
    QBrush brush;
    QFont font;
    QString text;
    QPointF at;
    int angle = 0;
};

std::vector<CRawStep> RawSteps(const CChart& chart)
{
    std::vector<CRawStep> steps;
    for (const CChartPrimitive& p : chart.Primitives()) {
        CRawStep step;
        for (const CChartPointD& point : p.points)
            step.points << QPointF(chart.UnitsToPixelsX(point.x), chart.UnitsToPixelsY(point.y));
        const QColor color(p.color.r, p.color.g, p.color.b);
        switch (p.type) {
        case CChartPrimitive::Type::Polygon: {
            const bool filled = p.pattern != kChartPatternHollow;
            step.brush = filled ? QBrush(color) : QBrush(Qt::NoBrush);
            step.pen = p.outlineWidth > 0.0 ? QPen(QColor(p.outline.r, p.outline.g, p.outline.b), p.outlineWidth)
                                            : QPen(color, 1.0);
            break;
        }
        case CChartPrimitive::Type::Polyline:
            step.kind = CRawStep::Polyline;
            step.pen = QPen(color, p.lineWidth, Qt::SolidLine, Qt::FlatCap);
            break;
        case CChartPrimitive::Type::Text:
            step.kind = CRawStep::Text;
            step.font = QFontFromChartFont(p.font);
            step.text = QString::fromLatin1(p.text.data(), static_cast<qsizetype>(p.text.size()));
            step.pen = QPen(color);
            step.at = step.points.front();
            step.angle = p.angle;
            step.points.clear();
            step.points << QPointF(0.0, QFontMetricsF(step.font).ascent());
            break;
        case CChartPrimitive::Type::Image:
            continue;
        }
        steps.push_back(std::move(step));
    }
    return steps;
}

void DrawRawSteps(const std::vector<CRawStep>& steps, QImage& image)
{
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (const CRawStep& step : steps) {
        painter.setPen(step.pen);
        switch (step.kind) {
        case CRawStep::Polygon:
            painter.setBrush(step.brush);
            painter.drawPolygon(step.points);
            break;
        case CRawStep::Polyline:
            painter.drawPolyline(step.points);
            break;
        case CRawStep::Text:
            painter.setFont(step.font);
            if (step.angle == 0) {
                painter.drawText(step.at + step.points.front(), step.text);
                break;
            }
            painter.translate(step.at);
            painter.rotate(-step.angle);
            painter.drawText(step.points.front(), step.text);
            painter.resetTransform();
            break;
        }
    }
}

void BM_OxideBarChartsRawQPainter(benchmark::State& state)
{
    CBarChartsWorld world;
    std::vector<std::vector<CRawStep>> pictures;
    for (const auto& glaze : world.glazes) {
        CGraph graph;
        graph.SetTemplate(world.bars);
        graph.Build(&world.window, &world.window, nullptr, nullptr, glaze.get());
        if (const CChart* chart = graph.GetChart())
            pictures.push_back(RawSteps(*chart));
    }
    QImage image(600, 300, QImage::Format_RGB32);
    for (auto _ : state) {
        for (const auto& picture : pictures)
            DrawRawSteps(picture, image);
    }
    benchmark::DoNotOptimize(image);
    state.SetItemsProcessed(state.iterations() * kGlazes);
    state.counters["charts/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kGlazes, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_OxideBarChartsRawQPainter)->Unit(benchmark::kMillisecond);

// Markers of many glazes of distinct analyses, few of which cover one another: the 900,000
// markers of 100,000 glazes against a formula of nine limits (the limit chart of every glaze) and
// the 100,000 points of a scatter, at random places over the plot of a 600 x 300 chart, built and
// rendered as the graph window draws them. Target: each under 1 s (Release build).
void BM_MarkersOfDistinctGlazes(benchmark::State& state)
{
    constexpr int kMarkerGlazes = 100000;
    constexpr int kLimits = 9;
    const bool limits = state.range(0) == 0;
    std::mt19937 random(20261208);
    std::uniform_real_distribution<double> place(0.0, 1.0);
    std::vector<double> xs, ys;
    const int count = limits ? kMarkerGlazes * kLimits : kMarkerGlazes;
    for (int k = 0; k < count; ++k) {
        xs.push_back(limits ? 100.0 + 180.0 * (k % kLimits) : place(random));
        ys.push_back(limits ? 900.0 * place(random) : place(random));
    }
    std::size_t primitives = 0;
    QImage image;
    for (auto _ : state) {
        CChart chart(GetQtChartMetrics(), 0.0, 0.0, 600.0, 300.0, 1000.0);
        chart.ChartDefBegin();
        if (limits) {
            chart.ChartSetShapeGeometry(kMarkerGlazes, kLimits, ys);
            chart.ChartSetMarkerX(count, xs);
            chart.ChartSetMarkerColors(1, std::vector<int>{10});
            chart.ChartSetMarkerSymbols(1, std::vector<int>{13});
            chart.ChartDrawMarkers(50.0, 50.0);
        } else {
            chart.ChartSetXData(count, xs);
            chart.ChartSetData(count, 1, ys);
            chart.ChartSetKind(kChartPoints, 0, 0);
        }
        chart.ChartDefEnd();
        image = RenderChartImage(chart);
        primitives = chart.Primitives().size();
    }
    benchmark::DoNotOptimize(image);
    state.SetLabel(limits ? "900,000 limit markers" : "100,000 scatter points");
    state.counters["primitives"] = static_cast<double>(primitives);
}
BENCHMARK(BM_MarkersOfDistinctGlazes)->ArgName("scatter")->DenseRange(0, 1)->Unit(benchmark::kMillisecond);

} // namespace
