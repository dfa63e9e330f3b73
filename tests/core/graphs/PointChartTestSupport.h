#pragma once

// Set-up of the tests of the scatter, triaxial and limit-formula charts: glazes of known unity
// (1 CaO, a Al2O3, s SiO2) in one database, data sources that name them, and the recorded calls
// of a build with their numbers rounded to millionths.

#include "core/graphs/GraphBuildTestSupport.h"
#include "core/graphs/RecordingChartEngine.h"

#include <string>
#include <vector>

class PointChartTest : public GraphBuildTestBase {
protected:
    static constexpr int kAl = 13, kSi = 14, kCa = 20;

    // 1 CaO, a Al2O3 and s SiO2 in unity.
    static CGlaze UnityGlaze(const std::string& name, double a, double s)
    {
        constexpr int kC = 6;
        return MakeGlaze(name, {{"Whiting", Grams({{kCa, 1.0}, {kC, 1.0}})},
                                {"Alumina", Grams({{kAl, a}})},
                                {"Silica", Grams({{kSi, s}})}});
    }

    // A data source of the current database naming its glazes.
    void AddSource(const std::string& name, int color, int symbol, CStringArrayEx glazes)
    {
        CGraphDataSource source(name);
        source.dsglz = kDataSourceNamedGlazes;
        source.dscol = color;
        source.dssym = symbol;
        source.dsgname = std::move(glazes);
        m_graph.m_dataSources.InsertAt(m_graph.m_dataSources.GetCount(), source);
    }

    // The calls from ChartDefBegin on (numbers rounded), of a build that must draw.
    std::vector<std::string> Definition()
    {
        m_recorder.calls.clear();
        EXPECT_GE(Build(m_graph, m_db, m_glazeOfHost), 0);
        EXPECT_EQ(m_graph.m_errorText, "");
        std::vector<std::string> calls;
        for (const std::string& call : m_recorder.CallsFrom("ChartDefBegin"))
            calls.push_back(Rounded(call));
        return calls;
    }
    // The error text of a build that defines nothing.
    std::string Refusal()
    {
        m_recorder.calls.clear();
        EXPECT_GE(Build(m_graph, m_db, m_glazeOfHost), 0);
        EXPECT_TRUE(m_recorder.Calls("ChartDefBegin").empty());
        return m_graph.m_errorText;
    }
    // The recorded calls that start with prefix, numbers rounded.
    std::vector<std::string> Calls(const std::string& prefix) const
    {
        std::vector<std::string> calls;
        for (const std::string& call : m_recorder.Calls(prefix))
            calls.push_back(Rounded(call));
        return calls;
    }
    static std::string Rounded(const std::string& call) { return CRecordingChartEngine::Rounded(call); }

    CGlazesDoc* m_db = nullptr;
    CGlaze* m_glazeOfHost = nullptr; // the glaze the host hands to the graph
    CRecordingChartEngine m_recorder;
    CGraph m_graph;
};
