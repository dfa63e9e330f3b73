#pragma once

// Shared set-up of the chart builder tests: the glaze tools' world (an application with open
// glaze databases, a materials database of six simple materials), graphs available, the
// graph-template document with its default colours, the display-list engine and a 600 x 300
// fake chart window.

#include "core/graphs/ChartTestSupport.h"
#include "core/tools/GlazeToolsTestSupport.h"
#include "elements/ElementTable.h"
#include "graphs/Graph.h"
#include "graphs/GraphTypesDoc.h"

#include <initializer_list>
#include <utility>

// A graph whose chart the tests define and read through its engine.
class CTestGraph : public CGraph {
public:
    using CGraph::Engine;
};

class GraphBuildTestBase : public GlazeToolsTestBase {
protected:
    GraphBuildTestBase()
    {
        m_app.m_bGraphsAvailable = 1;
        g_prefs.decanalysis = 3;
        g_prefs.decanalysispct = 2;
    }

    // Grams of a recipe given as moles of oxides, each oxide by element number.
    static double Grams(std::initializer_list<std::pair<int, double>> oxides)
    {
        double grams = 0.0;
        for (const auto& [z, moles] : oxides)
            grams += moles * GetElementTable()[z].oxideMW;
        return grams;
    }

    // Unity 0.3 K2O, 0.7 CaO, 0.4 Al2O3, 3.0 SiO2: 0.3 mol of feldspar, 0.7 of whiting, 0.1 of
    // kaolin and 1.0 of silica.
    static CGlaze WorkedGlaze(const std::string& name = "Worked glaze")
    {
        constexpr int kH = 1, kC = 6, kAl = 13, kSi = 14, kK = 19, kCa = 20;
        return MakeGlaze(name, {{"Feldspar", Grams({{kK, 0.3}, {kAl, 0.3}, {kSi, 1.8}})},
                                {"Whiting", Grams({{kCa, 0.7}, {kC, 0.7}})},
                                {"Kaolin", Grams({{kAl, 0.1}, {kSi, 0.2}, {kH, 0.2}})},
                                {"Silica", Grams({{kSi, 1.0}})}});
    }

    int Build(CGraph& graph, CGlazesDoc* glazeDb, CGlaze* glaze)
    {
        return graph.Build(&m_window, &m_window, &m_host, glazeDb, glaze);
    }

    CInstalledChartEngine<> m_engine;
    CGraphTypesDoc m_graphTypes;
    CFakeChartWindow m_window{{0, 0, 600, 300}};
    CRecordingNotifyTarget m_host;
};
