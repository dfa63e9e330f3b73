#pragma once

// Fakes of the chart tests: text metrics with round numbers, a window of a given screen
// rectangle, a host that records the chart's notices, and the program's display-list engine
// installed for a test's lifetime.

#include "graphs/Chart.h"
#include "graphs/DisplayListEngine.h"
#include "graphs/Graph.h"

#include <cstdint>
#include <string>
#include <vector>

// Every character 6 pixels wide, every line 10 pixels high, whatever the font.
class CFakeChartMetrics : public CChartMetrics {
public:
    double TextWidth(const CChartFont&, const std::string& text) const override { return 6.0 * static_cast<double>(text.size()); }
    double TextHeight(const CChartFont&) const override { return 10.0; }
    bool CanReadImage(const std::string& path) const override { return path == "readable.png"; }
};

// A chart engine (the display-list engine, or the Qt one in widget tests), opened and installed
// while the object lives.
template <class EngineT = CDisplayListEngine>
class CInstalledChartEngine : public EngineT {
public:
    CInstalledChartEngine() : m_previous(GetChartEngine())
    {
        this->ChartLibOpen("", "C");
        SetChartEngine(this);
    }
    ~CInstalledChartEngine() override { SetChartEngine(m_previous); }

private:
    CChartEngine* m_previous;
};

class CFakeChartWindow : public CChartWindow {
public:
    explicit CFakeChartWindow(CCoreRect rect) : rect(rect) {}
    CCoreRect GetScreenRect() const override { return rect; }
    const CChartMetrics& GetChartMetrics() const override { return metrics; }
    CCoreRect rect;
    CFakeChartMetrics metrics;
};

struct CChartNotice {
    unsigned message = 0;
    unsigned kind = 0;
    std::uint64_t data = 0;
    bool operator==(const CChartNotice&) const = default;
};

class CRecordingNotifyTarget : public CChartNotifyTarget {
public:
    void OnChartMessage(unsigned message, unsigned kind, std::uint64_t data) override
    {
        notices.push_back({message, kind, data});
    }
    std::vector<CChartNotice> notices;
};

// The texts a chart drew, in drawing order.
inline std::vector<std::string> DrawnTexts(const CChart& chart)
{
    std::vector<std::string> texts;
    for (const CChartPrimitive& p : chart.Primitives()) {
        if (p.type == CChartPrimitive::Type::Text)
            texts.push_back(p.text);
    }
    return texts;
}

// The primitives that answer a click with a data cell.
inline std::vector<const CChartPrimitive*> CellPrimitives(const CChart& chart)
{
    std::vector<const CChartPrimitive*> cells;
    for (const CChartPrimitive& p : chart.Primitives()) {
        if (p.hitKind == CChartPrimitive::kHitCell)
            cells.push_back(&p);
    }
    return cells;
}
