// The glazes that a graph's data sources select (and whether a kept reading still has them),
// and the four chart titles of each chart family.

#include "graphs/Graph.h"

#include "glazes/Glaze.h"
#include "glazes/GlazesDoc.h"
#include "graphs/GraphTypeTable.h"
#include "shell/OxidariumApp.h"

namespace {

// The glaze databases a data source names: the current one, every open one, or the one with
// its database name.
std::vector<CGlazesDoc*> DataSourceDatabases(const CGraphDataSource& source, CGlazesDoc* current)
{
    std::vector<CGlazesDoc*> databases;
    switch (source.dsdb) {
    case kDataSourceCurrentDatabase:
        if (current)
            databases.push_back(current);
        break;
    case kDataSourceAllDatabases:
        if (g_pApp) {
            std::vector<CDocument*> documents;
            g_pApp->GetGlazeDocs(documents);
            for (CDocument* document : documents) {
                if (auto* glazes = dynamic_cast<CGlazesDoc*>(document))
                    databases.push_back(glazes);
            }
        }
        break;
    case kDataSourceNamedDatabase:
        if (g_pApp) {
            if (auto* glazes = dynamic_cast<CGlazesDoc*>(g_pApp->FindGlazeDocByDbName(source.dsdbname)))
                databases.push_back(glazes);
        }
        break;
    default:
        break;
    }
    return databases;
}

// The next automatic text of a pie, in the order the positions ask for them.
struct CAutoTexts {
    const std::string* texts[2];
    int next = 0;
    std::string Take() { return next < 2 ? *texts[next++] : std::string(); }
};

} // namespace

int CGraph::CollectDataSetGlazes(std::vector<CGlaze*>& glazes, int index, CGlazesDoc* glazeDb, CGlaze* glaze) const
{
    if (!m_dataSources.IsValidIndex(index))
        return static_cast<int>(glazes.size());
    const CGraphDataSource& source = m_dataSources.GetAt(index);
    for (CGlazesDoc* database : DataSourceDatabases(source, glazeDb)) {
        switch (source.dsglz) {
        case kDataSourceCurrentGlaze:
            if (glaze)
                glazes.push_back(glaze);
            break;
        case kDataSourceSelectedGlazes:
        case kDataSourceAllGlazes:
            database->GetSelectedGlazes(glazes, source.dsglz == kDataSourceAllGlazes);
            break;
        default:
            for (const std::string& name : source.dsgname) {
                if (CGlaze* found = database->Glazes().FindByName(name))
                    glazes.push_back(found);
            }
            break;
        }
    }
    return static_cast<int>(glazes.size());
}

int CGraph::CollectAllGlazes(std::vector<CGlaze*>& glazes, CGlazesDoc* glazeDb, CGlaze* glaze) const
{
    for (int i = 0; i < m_dataSources.GetCount(); ++i)
        CollectDataSetGlazes(glazes, i, glazeDb, glaze);
    return static_cast<int>(glazes.size());
}

CGlaze* CGraph::FirstGlaze(CGlazesDoc* glazeDb, CGlaze* glaze) const
{
    for (int i = 0; i < m_dataSources.GetCount(); ++i) {
        std::vector<CGlaze*> glazes;
        if (CollectDataSetGlazes(glazes, i, glazeDb, glaze) > 0)
            return glazes.front();
    }
    return nullptr;
}

void CGraph::NoteReadGlazes(CGlazesDoc* glazeDb, CGlaze* glaze)
{
    std::vector<CGlaze*> glazes;
    CollectAllGlazes(glazes, glazeDb, glaze);
    m_readGlazeDb = glazeDb;
    m_readGlaze = glaze;
    m_readGlazes = std::move(glazes);
}

// Gathering a hundred thousand glazes again costs a thousandth of drawing their chart.
bool CGraph::KeepsItsReading() const
{
    if (!m_drawReading)
        return false;
    std::vector<CGlaze*> glazes;
    glazes.reserve(m_readGlazes.size());
    CollectAllGlazes(glazes, m_readGlazeDb, m_readGlaze);
    return glazes == m_readGlazes;
}

// What it was read from stays until the next reading is noted: it is read only with a reading.
void CGraph::DropReading() { m_drawReading = nullptr; }

void CGraph::ApplyTitles(const std::string& top, const std::string& bottom, const std::string& left,
                         const std::string& right)
{
    CChartEngine& chart = Engine();
    if (!top.empty())
        chart.ChartSetTitleA(top);
    if (!bottom.empty())
        chart.ChartSetTitleB(bottom);
    if (!left.empty())
        chart.ChartSetTitleC(left);
    if (ttllftv)
        chart.ChartSetSideTitleStyle(6, 0);
    if (!right.empty())
        chart.ChartSetTitleD(right);
    if (ttlrtv)
        chart.ChartSetSideTitleStyle(11, 0);
    m_title = top;
}

void CGraph::SetPieTitles(const std::string& first, const std::string& second)
{
    CAutoTexts automatic{{&first, &second}};
    const std::string top = ttltopa ? automatic.Take() : ttltop;
    const std::string bottom = ttlbota ? automatic.Take() : ttlbot;
    const std::string left = ttllfta ? automatic.Take() : ttllft;
    const std::string right = ttlrta ? automatic.Take() : ttlrt;
    ApplyTitles(top, bottom, left, right);
}

void CGraph::SetBarTitles(const std::string& title, const std::string& valueTitle, bool horizontal)
{
    if (horizontal) {
        ApplyTitles(ttltopa ? title : ttltop, ttlbota ? valueTitle : ttlbot,
                    ttllfta ? (ttltopa ? std::string() : title) : ttllft,
                    ttlrta ? (ttltopa || ttllfta ? std::string() : title) : ttlrt);
        return;
    }
    // The value title goes to the Y axis' side first, then to the other side.
    const std::string left = !ttllfta ? ttllft : !yrt ? valueTitle : (ttlrta ? std::string() : valueTitle);
    const std::string right = !ttlrta ? ttlrt : yrt ? valueTitle : (ttllfta ? std::string() : valueTitle);
    ApplyTitles(ttltopa ? title : ttltop, ttlbota ? (ttltopa ? std::string() : title) : ttlbot, left, right);
}

void CGraph::SetHistogramTitles(const std::string& title, const std::string& xText, const std::string& yText)
{
    ApplyTitles(ttltopa ? title : ttltop, ttlbota ? xText : ttlbot, ttllfta ? (yrt ? std::string() : yText) : ttllft,
                ttlrta ? (yrt ? yText : std::string()) : ttlrt);
}

void CGraph::SetScatterTitles(const std::string& title)
{
    std::string xLabel, xFormat, yLabel, yFormat, zLabel, zFormat;
    GetVariableLabel(xoxide, xLabel, xFormat);
    GetVariableLabel(yoxide, yLabel, yFormat);
    GetVariableLabel(zoxide, zLabel, zFormat);
    const std::string bottom = type == kGraphScatter3D ? xLabel + "      /      " + zLabel : xLabel;
    ApplyTitles(ttltopa ? title : ttltop, ttlbota ? bottom : ttlbot, ttllfta ? (yrt ? std::string() : yLabel) : ttllft,
                ttlrta ? (yrt ? yLabel : std::string()) : ttlrt);
    if (!xFormat.empty())
        Engine().ChartSetAxisFormat(0, xFormat);
    if (!yFormat.empty())
        Engine().ChartSetAxisFormat(1, yFormat);
    if (type == kGraphScatter3D && !zFormat.empty())
        Engine().ChartSetAxisFormat(3, zFormat);
}

void CGraph::SetTriaxialTitles(const std::string& title, const std::string& leftText)
{
    ApplyTitles(ttltopa ? title : ttltop, ttlbota ? "  " : ttlbot, ttllfta ? leftText : ttllft,
                ttlrta ? std::string() : ttlrt);
}

void CGraph::SetLimitFormulaTitles(const std::string& title, const std::string& valueTitle, bool horizontal)
{
    ApplyTitles(ttltopa ? title : ttltop, ttlbota ? (horizontal ? std::string() : valueTitle) : ttlbot,
                ttllfta ? (horizontal ? valueTitle : std::string()) : ttllft, ttlrta ? std::string() : ttlrt);
}
