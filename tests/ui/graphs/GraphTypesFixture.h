#pragma once

// The graph-template windows over the shipped graphtypes.grt, with the shipped materials and
// glazes open so that previews draw real charts; fake message boxes, file dialogs and clipboard,
// and a temporary profile and directory.

#include "TestPaths.h"
#include "core/support/CheckedItems.h"
#include "core/framework/FakeFileDialogs.h"
#include "core/framework/RecordingView.h"
#include "core/graphs/ChartTestSupport.h"
#include "core/shell/FakeMessageService.h"
#include "core/support/FakeServices.h"
#include "framework/DocTemplate.h"
#include "framework/MdiFrame.h"
#include "glazes/GlazesDoc.h"
#include "glazes/GlazesView.h"
#include "graphs/GraphTypeEditView.h"
#include "graphs/GraphTypeTable.h"
#include "graphs/GraphVariable.h"
#include "graphs/GraphTypesDoc.h"
#include "graphs/GraphTypesView.h"
#include "graphs/QtChartEngine.h"
#include "materials/MaterialsDoc.h"
#include "shell/AppContext.h"
#include "shell/Backup.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"
#include "support/DbFileType.h"
#include "support/Profile.h"
#include "ui/support/TestFolders.h"
#include "ui/support/ModalWatchdog.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QTimer>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <vector>

#include <unistd.h>

namespace graphtest {

namespace fs = std::filesystem;

// Runs act on the modal dialog of type Dialog once it is up; any other modal window is closed
// so that the test never hangs.
template <class Dialog>
void WhenModal(std::function<void(Dialog&)> act)
{
    QTimer::singleShot(0, [act, atWork = CModalDriverToken::Make()] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "the expected dialog is not showing";
            if (QWidget* other = QApplication::activeModalWidget())
                other->close();
            return;
        }
        act(*dialog);
    });
}

inline std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

inline QString ScreenshotPath(const char* name)
{
    return ScreenshotFolder() + "/" + name + ".png";
}

// What a person reads a chart by: the filled slices, bars, boxes and points, each in its
// colour. Counts the solid data cells of the picture at least a pixel in each direction, and
// those whose colour shows somewhere along the middle row or column of their box (in the
// picture's own pixels, at its pixel ratio).
struct CCellColours {
    int cells = 0;
    int shown = 0;
};

inline bool ShowsColour(const QImage& image, int x, int y, CColor color)
{
    if (!image.rect().contains(x, y))
        return false;
    const QColor seen = image.pixelColor(x, y);
    return std::abs(seen.red() - color.r) <= 40 && std::abs(seen.green() - color.g) <= 40 &&
           std::abs(seen.blue() - color.b) <= 40;
}

inline CCellColours CellColoursShown(const CChart& chart, const QImage& image)
{
    CCellColours result;
    const double ratio = image.devicePixelRatio();
    const auto device = [ratio](double pixel) { return static_cast<int>(std::floor(pixel * ratio)); };
    for (const CChartPrimitive& p : chart.Primitives()) {
        const int left = static_cast<int>(std::ceil(chart.UnitsToPixelsX(p.left)));
        const int right = static_cast<int>(std::floor(chart.UnitsToPixelsX(p.left + p.width)));
        const int top = static_cast<int>(std::ceil(chart.UnitsToPixelsY(p.bottom + p.height)));
        const int bottom = static_cast<int>(std::floor(chart.UnitsToPixelsY(p.bottom)));
        if (p.type != CChartPrimitive::Type::Polygon || p.hitKind != CChartPrimitive::kHitCell ||
            p.pattern != kChartPatternSolid || right <= left || bottom <= top)
            continue;
        bool shown = false;
        const int middleY = device((top + bottom) / 2.0), middleX = device((left + right) / 2.0);
        for (int x = device(left); x < device(right) && !shown; ++x)
            shown = ShowsColour(image, x, middleY, p.color);
        for (int y = device(top); y < device(bottom) && !shown; ++y)
            shown = ShowsColour(image, middleX, y, p.color);
        ++result.cells;
        result.shown += shown ? 1 : 0;
    }
    return result;
}

// Checks that the data cells of the chart's picture show their colours (a few points may lie
// under later ones).
inline void ExpectReadableChart(const QImage& image, const CChart* chart, const char* shot)
{
    ASSERT_NE(chart, nullptr) << shot;
    const CCellColours colours = CellColoursShown(*chart, image);
    EXPECT_GT(colours.cells, 0) << shot;
    EXPECT_GE(colours.shown * 4, colours.cells * 3) << shot << ": " << colours.shown << " of " << colours.cells;
}

// Saves the chart window's picture for review and checks that its data cells show their colours.
inline void ExpectReadableChart(QWidget& window, const CChart* chart, const char* shot)
{
    const QImage image = window.grab().toImage();
    EXPECT_TRUE(image.save(ScreenshotPath(shot))) << shot;
    ExpectReadableChart(image, chart, shot);
}

// A primitive's bounding box in pixels of the chart.
inline QRectF PixelRect(const CChart& chart, const CChartPrimitive& p)
{
    return QRectF(QPointF(chart.UnitsToPixelsX(p.left), chart.UnitsToPixelsY(p.bottom + p.height)),
                  QPointF(chart.UnitsToPixelsX(p.left + p.width), chart.UnitsToPixelsY(p.bottom)));
}

// What a person cannot read: each text that runs out of the chart, or over another text or one
// of the given boxes (in pixels, named for the report), or within `clear` pixels of it, as
// " [text out of the chart]" or " [text over other]"; empty when all stand clear.
inline std::string CrowdedTexts(const CChart& chart, std::vector<std::pair<QRectF, std::string>> boxes = {},
                                double clear = 0.0)
{
    const QRectF whole(0.0, 0.0, chart.PixelWidth(), chart.PixelHeight());
    std::vector<std::pair<QRectF, std::string>> texts = std::move(boxes);
    std::string crowded;
    for (const CChartPrimitive& p : chart.Primitives()) {
        if (p.type != CChartPrimitive::Type::Text)
            continue;
        const QRectF r = PixelRect(chart, p);
        if (!whole.contains(r))
            crowded += " [" + p.text + " out of the chart]";
        for (const auto& [other, text] : texts) {
            if (r.adjusted(0.5 - clear, 0.5 - clear, clear - 0.5, clear - 0.5).intersects(other))
                crowded += " [" + p.text + " over " + text + "]";
        }
        texts.push_back({r, p.text});
    }
    return crowded;
}

inline const std::vector<std::string> kShippedNames = {
    "Oxide groups (pie)",     "Unity formula (bar)",           "Recipe (pie)",
    "Recipe (bar)",           "Material types (pie)",          "Limit formula (bar)",
    "Silica and alumina (scatter)", "Expansion (histogram)",   "Fluxes (triaxial)",
    "Main oxides (box & whiskers)",
    "Material costs (pie)", "Material costs (bar)", "Material types (bar)", "Oxide sources (bar)",
    "Recipe and oxides (bar)", "Average glaze (pie)", "Average glaze (bar)",
    "Averages: database and selection (bar)", "Selected glazes: oxides (bar)", "Selected glazes: recipes (bar)",
    "Selected glazes: material types (bar)",
    "Silica, alumina and calcia (3D scatter)", "Limit formula, average (bar)", "Limit formula, averages (bar)",
    "Limit formula, each glaze (bar)",
};
inline const int kShippedCount = static_cast<int>(kShippedNames.size());

class GraphTypesFixture : public ::testing::Test {
protected:
    GraphTypesFixture()
    {
        g_prefs.ApplyColorScheme();
        g_prefs.backtyp = CBackupSettings::None;
        m_dir = fs::temp_directory_path() / ("oxi-grtwin-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        m_profile = std::make_unique<CProfile>((m_dir / "profile.ini").string());
        SetProfile(m_profile.get());
        m_app.m_bGraphsAvailable = 1;
        m_materials.OnOpenDocument(OXI_SHIPPED_DATA_DIR "/materials.mat");
        g_pGlazesTemplate = m_glazes.get();
        g_pGraphTypesTemplate = &m_list;
        g_pGraphTypeEditTemplate = &m_edit;
        InstallGlazesTemplate(*m_glazes);
        InstallGraphTypesTemplate(m_list);
        InstallGraphTypeEditTemplate(m_edit);
        m_frame.resize(1000, 760);
        m_frame.show();
        QApplication::setActiveWindow(&m_frame);
        m_glazeDoc = dynamic_cast<CGlazesDoc*>(m_app.OpenAndAnnounce(
            g_pGlazesTemplate, OXI_SHIPPED_DATA_DIR "/glazes.glz", static_cast<int>(DbFileType::Glazes)));
        m_doc = dynamic_cast<CGraphTypesDoc*>(m_list.OpenDocumentFile(OXI_SHIPPED_DATA_DIR "/graphtypes.grt"));
        for (CView* view : m_doc ? m_doc->GetViews() : std::vector<CView*>{})
            m_view = m_view ? m_view : dynamic_cast<CGraphTypesView*>(view);
        QApplication::processEvents();
    }
    ~GraphTypesFixture() override
    {
        SetGraphTemplateViews(nullptr);
        g_pGlazesTemplate = nullptr;
        g_pGraphTypesTemplate = nullptr;
        g_pGraphTypeEditTemplate = nullptr;
        SetProfile(nullptr);
        fs::remove_all(m_dir);
    }

    // The tests read the shipped templates and glazes by their places: a database that did not
    // open, or opened short, stops each test here instead of ending the run on a bad index.
    void SetUp() override
    {
        ASSERT_NE(m_doc, nullptr);
        ASSERT_NE(m_view, nullptr);
        ASSERT_EQ(Names(), kShippedNames);
        ASSERT_NE(m_glazeDoc, nullptr);
        ASSERT_EQ(m_glazeDoc->GetGlazeCount(), 10);
    }

    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (int i = 0; i < m_doc->Database().GetCount(); ++i)
            names.push_back(RecordAt(m_doc->Database(), i).m_name);
        return names;
    }
    void Select(std::initializer_list<int> rows) const
    {
        m_view->SetSel(-1, false);
        for (int row : rows)
            m_view->SetSel(row, true);
    }
    std::vector<CGraphTypeEditView*> Editors() const
    {
        std::vector<CGraphTypeEditView*> views;
        for (CView* view : m_doc->GetViews()) {
            if (auto* edit = dynamic_cast<CGraphTypeEditView*>(view))
                views.push_back(edit);
        }
        return views;
    }
    CGraphTypeEditView* OpenEditorOn(int row)
    {
        Select({row});
        EXPECT_TRUE(m_view->RunCommand(CmdGrtListEdit));
        const auto views = Editors();
        return views.empty() ? nullptr : views.back();
    }
    static void Flush()
    {
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    static std::vector<int> Codes(const CRecordingFrame& recorder)
    {
        std::vector<int> codes;
        for (const CReceivedHint& hint : recorder.view->received)
            codes.push_back(hint.code);
        return codes;
    }

    fs::path m_dir;
    std::unique_ptr<CProfile> m_profile;
    CAppContext m_context;
    CInstalledChartEngine<CQtChartEngine> m_engine;
    CFakeMessageService m_messages;
    CFakeFileDialogs m_dialogs;
    CFakeClipboard m_clipboard;
    COxidariumApp m_app;
    CMaterialsDoc m_materials;
    std::unique_ptr<CDocTemplate> m_glazes = CreateGlazesTemplate();
    CDocTemplate m_list{kGraphTypesResourceId, kGraphTypesDocString, [] { return std::make_unique<CGraphTypesDoc>(); }};
    CDocTemplate m_edit{kGraphTypeEditResourceId, kGraphTypesDocString, nullptr};
    CMDIMainFrame m_frame;
    CGlazesDoc* m_glazeDoc = nullptr;
    CGraphTypesDoc* m_doc = nullptr;
    CGraphTypesView* m_view = nullptr;
};

} // namespace graphtest
