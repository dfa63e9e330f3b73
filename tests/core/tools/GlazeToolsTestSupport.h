#pragma once

// Shared set-up of the tests of the tools that work on several glazes: fresh program globals, a
// materials database, an application object with the glaze template whose documents each get a
// recording list window with a scripted selection, and helpers to fill a glaze database.

#include "core/framework/RecordingView.h"
#include "core/shell/FakeMessageService.h"
#include "core/textfile/FakeTextView.h"
#include "framework/DocTemplate.h"
#include "glazes/Glaze.h"
#include "glazes/GlazesDoc.h"
#include "materials/MaterialsDoc.h"
#include "shell/AppContext.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"
#include "textfile/TextFileDoc.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// The rows a glaze list shows selected, as the user interface would report them.
class CScriptedSelection : public CGlazeListSelection {
public:
    std::vector<int> GetSelectedRows() const override { return rows; }
    void ClearSelection() override { rows.clear(); }
    void SelectRow(int row) override { rows.push_back(row); }
    std::vector<int> rows;
};

// One glaze database's list window: a recording view and its selection.
struct CGlazeListWindow {
    CGlazeListWindow(CDocument& document) : frame(document, "list")
    {
        if (auto* glazes = dynamic_cast<CGlazesDoc*>(&document))
            glazes->SetListView(frame.view.get(), &selection);
    }
    CRecordingFrame frame;
    CScriptedSelection selection;
};

// The Information window of the test: the text template with a window that records whether it
// is minimised. Closes the window when it goes.
class CInformationWindowFixture {
public:
    struct Frame : CFakeTextFrame {
        using CFakeTextFrame::CFakeTextFrame;
        void MinimizeFrame() override { ++minimized; }
        void ActivateFrame() override { ++activated; }
        int minimized = 0;
        int activated = 0;
    };

    CInformationWindowFixture()
    {
        m_template->SetFrameFactory([this](CDocTemplate&, CDocument& document, bool) {
            frames.push_back(std::make_unique<Frame>(document));
            return true;
        });
        g_pTextFileTemplate = m_template.get();
    }
    ~CInformationWindowFixture()
    {
        if (g_pInformationDoc)
            g_pInformationDoc->OnCloseDocument();
        g_pTextFileTemplate = nullptr;
    }
    // The window's text, lines joined by "\r\n".
    std::string Text() const
    {
        return g_pInformationDoc ? FakeViewOf(g_pInformationDoc).Text() : "";
    }

    std::vector<std::unique_ptr<Frame>> frames;

private:
    std::unique_ptr<CDocTemplate> m_template = CreateTextFileTemplate();
};

class GlazeToolsTestBase : public ::testing::Test {
protected:
    using Lines = std::initializer_list<std::pair<const char*, double>>;

    GlazeToolsTestBase()
    {
        m_template->SetFrameFactory([this](CDocTemplate&, CDocument& document, bool) {
            m_windows.push_back(std::make_unique<CGlazeListWindow>(document));
            return true;
        });
        g_pGlazesTemplate = m_template.get();
        for (const char* name : {"Silica", "Whiting", "Kaolin", "Alumina", "Feldspar", "Rutile"})
            AddMaterial(name);
    }
    ~GlazeToolsTestBase() override { g_pGlazesTemplate = nullptr; }

    // A material with a simple formula per name, density 2 so volume recipes convert.
    CMaterial& AddMaterial(const std::string& name)
    {
        static const std::pair<const char*, const char*> formulas[] = {
            {"Silica", "SiO2"},   {"Whiting", "CaCO3"},          {"Kaolin", "Al2O3 2SiO2 2H2O"},
            {"Alumina", "Al2O3"}, {"Feldspar", "K2O Al2O3 6SiO2"}, {"Rutile", "TiO2"},
        };
        CMaterial material(name);
        for (const auto& [known, formula] : formulas) {
            if (name == known) {
                EXPECT_EQ(material.SetFormula(formula, nullptr), 0) << formula;
            }
        }
        material.m_available = 1;
        material.m_density = 2.0;
        CMaterialArray& database = m_materials.Materials();
        database.InsertCopy(database.GetCount(), material);
        return *database.GetAt(database.GetCount() - 1);
    }

    static CGlaze MakeGlaze(const std::string& name, Lines components, Lines additions = {})
    {
        CGlaze glaze(name);
        for (const auto& [material, amount] : components)
            glaze.m_components.Add(material, amount);
        for (const auto& [material, amount] : additions)
            glaze.m_additions.Add(material, amount);
        return glaze;
    }

    // A new glaze database holding copies of the glazes, not modified, its notices cleared.
    CGlazesDoc* NewDatabase(const std::vector<CGlaze>& glazes, const std::string& dbName = "Glazes")
    {
        auto* document = dynamic_cast<CGlazesDoc*>(m_app.NewGlazeDatabase());
        if (!document) {
            ADD_FAILURE() << "no new glaze database";
            document = &StandIn().document;
        }
        for (const CGlaze& glaze : glazes)
            document->InsertGlaze(document->GetGlazeCount(), glaze);
        document->SetDbName(dbName);
        document->SetModifiedFlag(false);
        for (auto& window : m_windows)
            window->frame.view->received.clear();
        return document;
    }

    // The list window of a document.
    CGlazeListWindow& WindowOf(const CDocument* document)
    {
        for (auto& window : m_windows)
            if (window->frame.view && window->frame.view->GetDocument() == document)
                return *window;
        ADD_FAILURE() << "no window";
        return StandIn().window;
    }

    // The components (or additions) as (name, amount) pairs.
    static std::vector<std::pair<std::string, double>> LinesOf(const CIngredientList& list)
    {
        std::vector<std::pair<std::string, double>> lines;
        for (const auto& line : list)
            lines.emplace_back(line->m_name, line->m_amount);
        return lines;
    }

    // Expects the lines to hold these names with these amounts (within 1e-6), in order.
    static void ExpectLines(const CIngredientList& list, std::vector<std::pair<std::string, double>> expected)
    {
        const auto lines = LinesOf(list);
        ASSERT_EQ(lines.size(), expected.size());
        for (std::size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(lines[i].first, expected[i].first) << i;
            EXPECT_NEAR(lines[i].second, expected[i].second, 1e-6) << lines[i].first;
        }
    }

    CAppContext m_context;
    CFakeMessageService m_messages;
    COxidariumApp m_app;
    CMaterialsDoc m_materials;
    std::unique_ptr<CDocTemplate> m_template = CreateGlazesTemplate();
    std::vector<std::unique_ptr<CGlazeListWindow>> m_windows;

private:
    // What a helper hands back when the program made no database or window: a blank database
    // and its window of the test's own, so the test fails with a report and goes on.
    struct SStandIn {
        CGlazesDoc document;
        CGlazeListWindow window{document};
    };
    SStandIn& StandIn()
    {
        if (!m_standIn)
            m_standIn = std::make_unique<SStandIn>();
        return *m_standIn;
    }
    std::unique_ptr<SStandIn> m_standIn;
};
