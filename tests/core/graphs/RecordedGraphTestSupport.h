#pragma once

// Set-up of the tests of the recipe, average, statistics and many-glaze charts: the chart
// builders' world with the recording engine, material types of their own, and the recorded
// definition of a build with its numbers rounded to millionths.

#include "core/support/CheckedItems.h"
#include "core/graphs/GraphBuildTestSupport.h"
#include "core/graphs/RecordingChartEngine.h"

#include <sstream>
#include <string>
#include <vector>

class RecordedGraphTest : public GraphBuildTestBase {
protected:
    RecordedGraphTest()
    {
        g_prefs.decrecipepct = 1;
        g_prefs.anchadd = 0;
        g_prefs.mattyp = {"silica", "flux", "clay", "colorant"};
        SetType("Silica", "silica");
        SetType("Whiting", "flux");
        SetType("Feldspar", "flux");
        SetType("Kaolin", "clay");
        SetType("Rutile", "colorant");
    }

    void SetType(const std::string& material, const std::string& type)
    {
        m_materials.Materials().FindMaterial(std::string_view(material))->m_type = type;
    }

    // A graph of the type with the template defaults (weight percent, every entry kept).
    static CGraph& Init(CGraph& graph, int type, const std::string& oxides = "105,106,107")
    {
        graph.type = type;
        graph.bpoxides = oxides;
        return graph;
    }

    // Appends a data source of the current database: the glazes of these names, or all of them.
    static CGraph& AddSource(CGraph& graph, const std::string& name, int color, std::vector<std::string> glazes = {})
    {
        CGraphDataSource source(name);
        source.dsglz = glazes.empty() ? kDataSourceAllGlazes : kDataSourceNamedGlazes;
        for (const std::string& glaze : glazes)
            source.dsgname.push_back(glaze);
        source.dscol = color;
        graph.m_dataSources.InsertAt(graph.m_dataSources.GetCount(), source);
        return graph;
    }

    // The calls from ChartDefBegin on of a build that must succeed.
    std::vector<std::string> Definition(CGraph& graph, CGlazesDoc* glazeDb, CGlaze* glaze)
    {
        m_recorder.calls.clear();
        EXPECT_GE(Build(graph, glazeDb, glaze), 0);
        EXPECT_EQ(graph.m_errorText, "");
        std::vector<std::string> calls;
        for (const std::string& call : m_recorder.CallsFrom("ChartDefBegin"))
            calls.push_back(Rounded(call));
        return calls;
    }
    // The error text of a build, and that it defined nothing.
    std::string Refusal(CGraph& graph, CGlazesDoc* glazeDb, CGlaze* glaze)
    {
        m_recorder.calls.clear();
        EXPECT_GE(Build(graph, glazeDb, glaze), 0);
        EXPECT_TRUE(m_recorder.Calls("ChartDefBegin").empty());
        EXPECT_TRUE(graph.m_cellTexts.empty());
        EXPECT_TRUE(graph.m_textLines.empty());
        return graph.m_errorText;
    }
    // The one recorded call that starts with prefix, rounded ("" when there is none).
    std::string Call(const std::string& prefix) const
    {
        const std::vector<std::string> calls = m_recorder.Calls(prefix);
        return calls.empty() ? std::string() : Rounded(ItemAt(calls, 0));
    }

    // The numbers of the last list ("[...]") of the first call that starts with prefix.
    std::vector<double> Numbers(const std::string& prefix) const
    {
        const std::vector<std::string> calls = m_recorder.Calls(prefix);
        std::vector<double> numbers;
        if (calls.empty())
            return numbers;
        const std::string& call = ItemAt(calls, 0);
        const std::size_t open = call.rfind('[');
        std::istringstream in(call.substr(open + 1, call.rfind(']') - open - 1));
        for (std::string word; in >> word;)
            numbers.push_back(std::stod(word));
        return numbers;
    }

    static std::string Rounded(const std::string& call) { return CRecordingChartEngine::Rounded(call); }

    CRecordingChartEngine m_recorder;
};
