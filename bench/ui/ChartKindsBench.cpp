// Every chart kind over a database of 100,000 glazes: the shipped template of the kind, its data
// sets all glazes of the database, built by the program's engine and rendered into the graph
// window's 600 x 300 image, as the graph window draws it; and every bar kind again with true 3-D
// bars. Target: each under 1 s (Release build). Each at a device pixel ratio of 1 and of 2 (a
// screen at 200 %, the image 1200 x 600 pixels), where the same chart may cost at most four
// times as much: the pixels it fills.
//
// The graph window itself at 1600 x 1000 over the same glazes: a repaint of its unchanged chart
// of every kind and of the true 3-D bar kinds (what uncovering or moving the window costs; target
// under 20 ms), and a resize of the true 3-D bar kinds at five sizes, which draws the chart at
// the new size and paints it, as the graph view does at every size change (target under 0.5 s at
// every size), over the 100,000 glazes, over 12,000 (rows of boxes a fraction of a pixel deep
// but not many to the pixel), over 8,000 and 16,000 of a dozen oxides each (rows some tenths of
// a pixel deep: the most boxes whose every face shows), at pixel ratios 1 and 2; and the oxide
// chart's resize over 1,000 to 100,000 glazes of twelve oxides at ratio 1 at the five sizes,
// where what it draws must not fall as the count grows: no count more than 1.1 times what a
// larger count draws.
//
// The databases are generated (bench/generated): 1,000 materials, and 100,000 glazes whose
// recipes use them (and databases of 12,000 such glazes, and of 8,000 whose recipes start with a
// frit of twelve oxides, each glaze's oxides charted as twelve bars). The limit charts draw against the shipped "Cone 6 gloss".
//
// "peak MB" is the process's peak resident memory after the kind's runs (the database included;
// run one kind per process, with --benchmark_filter, for a kind's own peak). The chart of every
// glaze by each of its materials holds only the bars its recipes give. The generated glazes have
// few distinct analyses, so their markers fall on few places: the markers of many thousand
// glazes of distinct analyses are measured apart (BM_MarkersOfDistinctGlazes).

#include "GeneratedDatabases.h"

#include "glazes/Glaze.h"
#include "glazes/GlazesDoc.h"
#include "graphs/Chart.h"
#include "graphs/ChartCanvasQt.h"
#include "graphs/Graph.h"
#include "graphs/GraphTypeTable.h"
#include "graphs/GraphTypesDoc.h"
#include "graphs/GraphWnd.h"
#include "graphs/QtChartEngine.h"
#include "limits/LimitFormulaDB.h"
#include "materials/MaterialsDoc.h"
#include "shell/AppContext.h"
#include "shell/OxidariumApp.h"

#include <QCoreApplication>
#include <QImage>
#include <QPixmap>
#include <QRectF>
#include <QSize>
#include <QWindow>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <utility>

namespace {

constexpr int kGlazes = 100000;
constexpr int kFewerGlazes = 12000;
constexpr int kPeakGlazes = 8000;
// Twice the 8,000, of the same twelve oxides: rows of boxes deeper than a pixel at the largest
// sizes.
constexpr int kLargerPeakGlazes = 16000;
// The first material of every recipe of the 8,000, beside the generated ones: twelve oxides.
constexpr const char* kTwelveOxideFrit = "Twelve-oxide frit";
constexpr const char* kTwelveOxideFritRecord = "name      = Twelve-oxide frit\ndate      = 01/15/2025\ncode      = F00012\n"
                                               "type      = frit\nmapto     = \nformula   = % 50 SiO2  18 Al2O3  5 B2O3  3 CaO  "
                                               "2 MgO  8 Na2O  4 K2O  2 ZnO  1 Li2O  2 BaO  2 SrO  2 TiO2  1 LOI\n"
                                               "density   = 60.0\navailable = y\ncostperlb = 2.25\n\n";
// The twelve oxides' codes (their elements' numbers), the oxide list of the oxide charts of the
// 8,000 glazes.
constexpr const char* kTwelveOxides = "14,13,5,20,12,11,19,30,3,56,38,22";
constexpr int kMaterials = 1000;
constexpr const char* kLimitFormulaName = "Cone 6 gloss";

class CBenchWindow : public CChartWindow {
public:
    CCoreRect GetScreenRect() const override { return {0, 0, 600, 300}; }
    const CChartMetrics& GetChartMetrics() const override { return GetQtChartMetrics(); }
};

// The program's documents on the generated databases and the shipped templates, made once.
class CChartWorld {
public:
    CChartWorld()
    {
        const std::string directory = m_dir.path().toStdString();
        WriteGeneratedFile(directory + "/materials.mat", GeneratedMaterialsFile(kMaterials) + kTwelveOxideFritRecord);
        WriteGeneratedFile(directory + "/glazes.glz", GeneratedGlazesFile(kGlazes, kMaterials));
        WriteGeneratedFile(directory + "/fewer.glz", GeneratedGlazesFile(kFewerGlazes, kMaterials));
        WriteGeneratedFile(directory + "/peak.glz", GeneratedGlazesFile(kPeakGlazes, kMaterials, kTwelveOxideFrit));
        m_materials.OnOpenDocument(directory + "/materials.mat");
        m_glazes.OnOpenDocument(directory + "/glazes.glz");
        m_fewerGlazes.OnOpenDocument(directory + "/fewer.glz");
        m_peakGlazes.OnOpenDocument(directory + "/peak.glz");
        // The analyses belong to the database, not to the chart: they are worked out once here,
        // as showing them in the list window does.
        for (CGlazesDoc* glazes : {&m_glazes, &m_fewerGlazes, &m_peakGlazes}) {
            for (int i = 0; i < glazes->Glazes().GetCount(); ++i)
                glazes->Glazes().GetAt(i).GetAnalysis();
        }
        std::ifstream templates(OXI_SHIPPED_DATA_DIR "/graphtypes.grt", std::ios::binary);
        m_templates.Database().Read(templates);
        m_engine.ChartLibOpen("", "C");
        SetChartEngine(&m_engine);
        m_app.m_bGraphsAvailable = 1;
        std::ifstream limits(OXI_SHIPPED_DATA_DIR "/tarnell.lim", std::ios::binary);
        m_limits.Read(limits);
    }
    ~CChartWorld() { SetChartEngine(nullptr); }

    static CChartWorld& Get()
    {
        static CChartWorld world;
        return world;
    }

    // The shipped template of the kind, every data set all glazes of the current database.
    CGraphTemplate TemplateOf(int kind) const
    {
        CGraphTemplate result("Bench");
        result.ResetDefaults(kind);
        const CGraphTemplateDatabase& database = m_templates.Database();
        for (int i = 0; i < database.GetCount(); ++i) {
            if (database.GetAt(i).type == kind) {
                result = database.GetAt(i);
                break;
            }
        }
        if (result.m_dataSources.GetCount() == 0)
            result.m_dataSources.InsertAt(0, CGraphDataSource("All"));
        for (int i = 0; i < result.m_dataSources.GetCount(); ++i) {
            result.m_dataSources.GetAt(i).dsdb = kDataSourceCurrentDatabase;
            result.m_dataSources.GetAt(i).dsglz = kDataSourceAllGlazes;
        }
        result.limform = kLimitFormulaName;
        return result;
    }

    // The database of 100,000 glazes, of 12,000 or of 8,000.
    CGlazesDoc& Glazes(int count = kGlazes)
    {
        return count == kFewerGlazes ? m_fewerGlazes : count == kPeakGlazes ? m_peakGlazes : m_glazes;
    }
    // A database of `count` glazes whose recipes start with the twelve-oxide frit, made when first
    // asked for.
    CGlazesDoc& TwelveOxideGlazes(int count)
    {
        if (count == kPeakGlazes)
            return m_peakGlazes;
        std::unique_ptr<CGlazesDoc>& glazes = m_twelveOxideGlazes[count];
        if (!glazes) {
            const std::string path = m_dir.path().toStdString() + "/twelve-" + std::to_string(count) + ".glz";
            WriteGeneratedFile(path, GeneratedGlazesFile(count, kMaterials, kTwelveOxideFrit));
            glazes = std::make_unique<CGlazesDoc>();
            glazes->OnOpenDocument(path);
            for (int i = 0; i < glazes->Glazes().GetCount(); ++i)
                glazes->Glazes().GetAt(i).GetAnalysis();
        }
        return *glazes;
    }

private:
    QTemporaryDir m_dir;
    CAppContext m_context;
    COxidariumApp m_app;
    CMaterialsDoc m_materials;
    CGlazesDoc m_glazes;
    CGlazesDoc m_fewerGlazes;
    CGlazesDoc m_peakGlazes;
    std::map<int, std::unique_ptr<CGlazesDoc>> m_twelveOxideGlazes;
    CGraphTypesDoc m_templates;
    CQtChartEngine m_engine;
    CLimitFormulaDB m_limits;
    CCurrentLimitFormulaDBScope m_limitsScope{m_limits};
};

// Builds and renders the template's chart over the database, as the graph window does at the
// device pixel ratio, each run.
void MeasureChart(benchmark::State& state, const CGraphTemplate& graphTemplate, int ratio)
{
    CChartWorld& world = CChartWorld::Get();
    CGlaze* first = &world.Glazes().Glazes().GetAt(0);
    CBenchWindow window;
    std::size_t primitives = 0;
    QImage image;
    for (auto _ : state) {
        CGraph graph;
        graph.SetTemplate(graphTemplate);
        graph.Build(&window, &window, nullptr, &world.Glazes(), first);
        if (const CChart* chart = graph.GetChart()) {
            image = QImage(600 * ratio, 300 * ratio, QImage::Format_RGB32);
            image.setDevicePixelRatio(ratio);
            PaintChartImage(*chart, image, QRectF(0.0, 0.0, 600.0, 300.0));
            primitives = chart->Primitives().size();
        }
    }
    benchmark::DoNotOptimize(image);
    state.SetLabel(g_graphTypeTable[graphTemplate.type].longName);
    state.counters["primitives"] = static_cast<double>(primitives);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_ChartKindOver100000Glazes(benchmark::State& state)
{
    MeasureChart(state, CChartWorld::Get().TemplateOf(static_cast<int>(state.range(0))), static_cast<int>(state.range(1)));
}
BENCHMARK(BM_ChartKindOver100000Glazes)
    ->ArgNames({"kind", "ratio"})
    ->ArgsProduct({benchmark::CreateDenseRange(0, kGraphTypeCount - 1, 1), {1, 2}})
    ->Unit(benchmark::kMillisecond);

// The bar kinds with "3-D" and "true 3-D" ticked in their template, seen as the template editor
// sets a new template's view (rotation 20, elevation 10, in perspective): bars in a box, one row
// of boxes behind the other.
CGraphTemplate TrueThreeDimensionalTemplateOf(int kind)
{
    CGraphTemplate turned = CChartWorld::Get().TemplateOf(kind);
    turned.piebar3d = 1;
    turned.true3d = 1;
    turned.persp3d = 1;
    turned.rot3d = 20;
    turned.elev3d = 10;
    return turned;
}

void BM_TrueThreeDimensionalBarKindOver100000Glazes(benchmark::State& state)
{
    MeasureChart(state, TrueThreeDimensionalTemplateOf(static_cast<int>(state.range(0))), static_cast<int>(state.range(1)));
}

void TrueThreeDimensionalBarKinds(benchmark::internal::Benchmark* benchmark)
{
    for (int kind = 0; kind < kGraphTypeCount; ++kind) {
        if (g_graphTypeTable[kind].bar)
            benchmark->Arg(kind);
    }
}

void TrueThreeDimensionalBarKindsAtTwoRatios(benchmark::internal::Benchmark* benchmark)
{
    for (int kind = 0; kind < kGraphTypeCount; ++kind) {
        for (const int ratio : {1, 2}) {
            if (g_graphTypeTable[kind].bar)
                benchmark->Args({kind, ratio});
        }
    }
}
BENCHMARK(BM_TrueThreeDimensionalBarKindOver100000Glazes)
    ->ArgNames({"kind", "ratio"})
    ->Apply(TrueThreeDimensionalBarKindsAtTwoRatios)
    ->Unit(benchmark::kMillisecond);

// A graph window of 1600 x 1000 on the screen, its chart built over the database of `glazes`
// glazes as the graph view builds it: with the window as host, at the window's size.
// Draws the graph's chart again in the window from the reading its build kept, when it kept one;
// false when it did not (or the graph cannot: then the window rebuilds).
template <typename Graph>
bool RedrawFromTheReading(Graph& graph, CGraphWnd& window)
{
    if constexpr (requires { graph.Redraw(&window, &window, nullptr); graph.KeepsItsReading(); }) {
        if (!graph.KeepsItsReading())
            return false;
        window.SetGraph(nullptr);
        graph.Redraw(&window, &window, nullptr);
        window.SetGraph(&graph);
        return true;
    } else {
        return false;
    }
}

class CShownGraphWindow {
public:
    explicit CShownGraphWindow(const CGraphTemplate& graphTemplate, int glazes = kGlazes)
        : CShownGraphWindow(graphTemplate, CChartWorld::Get().Glazes(glazes))
    {
    }
    CShownGraphWindow(const CGraphTemplate& graphTemplate, CGlazesDoc& glazes)
        : m_template(graphTemplate), m_glazes(glazes)
    {
        m_screen.resize(1600, 1000);
        m_window = new CGraphWnd(&m_screen);
        m_window->setGeometry(0, 0, 1600, 1000);
        m_screen.show();
        // A window paints only once the platform shows it.
        for (int wait = 0; wait < 1000 && !(m_screen.windowHandle() && m_screen.windowHandle()->isExposed()); ++wait)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        Rebuild();
    }
    ~CShownGraphWindow() { m_window->SetGraph(nullptr); }

    void Rebuild()
    {
        m_window->SetGraph(nullptr);
        m_graph = std::make_unique<CGraph>();
        m_graph->SetTemplate(m_template);
        m_window->BuildGraph(*m_graph, nullptr, &m_glazes, &m_glazes.Glazes().GetAt(0));
        m_window->SetGraph(m_graph.get());
    }
    // What the graph window does at a size change: the chart drawn again from the graph's reading
    // where the build kept one (a build that cannot keeps to Rebuild), else built anew.
    void Resize()
    {
        if (!RedrawFromTheReading(*m_graph, *m_window))
            Rebuild();
    }
    CGraphWnd& Window() { return *m_window; }
    // Paints the window now at the device pixel ratio: at 1 on the screen, at another into an
    // image of the window at that ratio (kept from one paint to the next, as a screen's is), as a
    // screen of that ratio has it painted.
    void Paint(int ratio)
    {
        if (ratio == 1) {
            m_window->repaint();
            return;
        }
        const QSize pixels = m_window->size() * ratio;
        if (m_scaled.size() != pixels) {
            m_scaled = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
            m_scaled.setDevicePixelRatio(ratio);
        }
        m_window->render(&m_scaled);
    }
    std::size_t Primitives() const { return m_graph->GetChart() ? m_graph->GetChart()->Primitives().size() : 0; }

private:
    CGraphTemplate m_template;
    CGlazesDoc& m_glazes;
    QWidget m_screen;
    CGraphWnd* m_window; // a child of m_screen
    std::unique_ptr<CGraph> m_graph;
    QImage m_scaled;
};

// Repaints the window's unchanged chart: the first paint after the build is not measured.
void MeasureRepaint(benchmark::State& state, const CGraphTemplate& graphTemplate)
{
    CShownGraphWindow shown(graphTemplate);
    shown.Window().repaint();
    for (auto _ : state)
        shown.Window().repaint();
    state.SetLabel(g_graphTypeTable[graphTemplate.type].longName);
    state.counters["primitives"] = static_cast<double>(shown.Primitives());
}

void BM_RepaintOfAnUnchangedChartAt1600x1000(benchmark::State& state)
{
    MeasureRepaint(state, CChartWorld::Get().TemplateOf(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_RepaintOfAnUnchangedChartAt1600x1000)
    ->ArgName("kind")
    ->DenseRange(0, kGraphTypeCount - 1)
    ->Unit(benchmark::kMillisecond);

void BM_RepaintOfAnUnchangedTrueThreeDimensionalChartAt1600x1000(benchmark::State& state)
{
    MeasureRepaint(state, TrueThreeDimensionalTemplateOf(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_RepaintOfAnUnchangedTrueThreeDimensionalChartAt1600x1000)
    ->ArgName("kind")
    ->Apply(TrueThreeDimensionalBarKinds)
    ->Unit(benchmark::kMillisecond);

// The window made smaller and larger in turn (at the window's first size, 620 x 300, with 600 x
// 290; 1400 x 900 with 1300 x 840; 1600 x 1000 with 1500 x 940; 1800 x 1100 with 1700 x 1040;
// 1920 x 1200 with 1800 x 1130), over 100,000 glazes, 16,000, 12,000 and 8,000, at device pixel
// ratios 1 and 2: each size change draws the chart at the new size and paints it. "process ms" is the processor time of every thread of the process (the
// picture is painted on several), for a machine that others share. With OXI_BENCH_PICTURES naming
// a folder, the larger size's picture is saved there (true-3d-kind-18-1400x900-100000-ratio-2.png),
// to set beside another build's.
const std::pair<QSize, QSize> kResizes[] = {{{620, 300}, {600, 290}},   {{1400, 900}, {1300, 840}},
                                            {{1600, 1000}, {1500, 940}}, {{1800, 1100}, {1700, 1040}},
                                            {{1920, 1200}, {1800, 1130}}};

// The larger and smaller size of the resize whose larger size is `width` wide.
std::pair<QSize, QSize> ResizeOfWidth(std::int64_t width)
{
    return *std::find_if(std::begin(kResizes), std::end(kResizes),
                         [&](const auto& resize) { return resize.first.width() == width; });
}

void MeasureResize(benchmark::State& state, const CGraphTemplate& turned, CGlazesDoc& glazes,
                   std::pair<QSize, QSize> sizes, int ratio)
{
    const auto [larger, smaller] = sizes;
    CShownGraphWindow shown(turned, glazes);
    shown.Window().setGeometry(0, 0, larger.width(), larger.height());
    shown.Rebuild();
    shown.Paint(ratio);
    bool small = false;
    double building = 0.0, painting = 0.0;
    std::size_t primitives = shown.Primitives(); // at the larger size
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    for (auto _ : state) {
        small = !small;
        const QSize size = small ? smaller : larger;
        shown.Window().setGeometry(0, 0, size.width(), size.height());
        const auto start = std::chrono::steady_clock::now();
        shown.Resize();
        const auto built = std::chrono::steady_clock::now();
        shown.Paint(ratio);
        building += std::chrono::duration<double, std::milli>(built - start).count();
        painting += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - built).count();
        if (!small)
            primitives = shown.Primitives();
    }
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    const auto milliseconds = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    const double process = milliseconds(after.ru_utime) + milliseconds(after.ru_stime) - milliseconds(before.ru_utime) -
                           milliseconds(before.ru_stime);
    state.SetLabel(g_graphTypeTable[turned.type].longName);
    // Where a resize's time goes: building the chart at the new size, and drawing its picture.
    state.counters["build ms"] = benchmark::Counter(building, benchmark::Counter::kAvgIterations);
    state.counters["paint ms"] = benchmark::Counter(painting, benchmark::Counter::kAvgIterations);
    state.counters["process ms"] = benchmark::Counter(process, benchmark::Counter::kAvgIterations);
    state.counters["primitives"] = static_cast<double>(primitives);
    if (const QString folder = qEnvironmentVariable("OXI_BENCH_PICTURES"); !folder.isEmpty()) {
        shown.Window().setGeometry(0, 0, larger.width(), larger.height());
        shown.Rebuild();
        QImage picture(larger * ratio, QImage::Format_ARGB32_Premultiplied);
        picture.setDevicePixelRatio(ratio);
        shown.Window().render(&picture);
        picture.save(QStringLiteral("%1/true-3d-kind-%2-%3x%4-%5-ratio-%6.png")
                         .arg(folder)
                         .arg(turned.type)
                         .arg(larger.width())
                         .arg(larger.height())
                         .arg(glazes.Glazes().GetCount())
                         .arg(ratio));
    }
}

void BM_ResizeOfATrueThreeDimensionalChart(benchmark::State& state)
{
    CGraphTemplate turned = TrueThreeDimensionalTemplateOf(static_cast<int>(state.range(0)));
    const int glazes = static_cast<int>(state.range(2));
    const bool twelveOxides = glazes == kPeakGlazes || glazes == kLargerPeakGlazes;
    if (twelveOxides)
        turned.bpoxides = kTwelveOxides;
    CChartWorld& world = CChartWorld::Get();
    MeasureResize(state, turned, twelveOxides ? world.TwelveOxideGlazes(glazes) : world.Glazes(glazes),
                  ResizeOfWidth(state.range(1)), static_cast<int>(state.range(3)));
}

void TrueThreeDimensionalBarKindsAtEverySize(benchmark::internal::Benchmark* benchmark)
{
    for (int kind = 0; kind < kGraphTypeCount; ++kind) {
        for (const auto& [larger, smaller] : kResizes) {
            for (const int glazes : {kPeakGlazes, kFewerGlazes, kLargerPeakGlazes, kGlazes}) {
                for (const int ratio : {1, 2}) {
                    if (g_graphTypeTable[kind].bar)
                        benchmark->Args({kind, larger.width(), glazes, ratio});
                }
            }
        }
    }
}
BENCHMARK(BM_ResizeOfATrueThreeDimensionalChart)
    ->ArgNames({"kind", "width", "glazes", "ratio"})
    ->Apply(TrueThreeDimensionalBarKindsAtEverySize)
    ->Unit(benchmark::kMillisecond);

// The oxide chart of glazes of twelve oxides, from 1,000 glazes to 100,000, at ratio 1, at the
// five sizes: what it draws ("primitives") must not fall as the count grows, no count above 1.1
// times what a larger count draws (fewer glazes would wait longer), and a resize must take under
// 0.5 s at every count.
void BM_ResizeOfTwelveOxidesByGlazeCount(benchmark::State& state)
{
    CGraphTemplate turned = TrueThreeDimensionalTemplateOf(kGraphManyBarOxides);
    turned.bpoxides = kTwelveOxides;
    MeasureResize(state, turned, CChartWorld::Get().TwelveOxideGlazes(static_cast<int>(state.range(1))),
                  ResizeOfWidth(state.range(0)), 1);
}
BENCHMARK(BM_ResizeOfTwelveOxidesByGlazeCount)
    ->ArgNames({"width", "glazes"})
    ->ArgsProduct({{620, 1400, 1600, 1800, 1920}, {1000, 2000, 3000, 4000, 5000, 6000, 8000, 10000, 12000, 16000, 24000, 40000, 100000}})
    ->Unit(benchmark::kMillisecond);

} // namespace
