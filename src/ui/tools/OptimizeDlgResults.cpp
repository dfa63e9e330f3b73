// The Optimize dialog's Find Optimal Recipe and its Results page: the recipe, its cost and its
// chemistry as texts for the two panes.

#include "tools/OptimizeDlg.h"

#include "framework/Cp1252.h"
#include "glazes/Glaze.h"
#include "glazes/GlazeAnalysis.h"
#include "materials/MaterialsDoc.h"
#include "shell/Preferences.h"
#include "support/NumberFormat.h"
#include "support/TextHelpers.h"
#include "tools/Optimizer.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTextOption>

#include <algorithm>
#include <cmath>

namespace {

// Places before the point: 1 below 10, else the digits of the integer part.
int IntegerDigits(double total)
{
    if (!(total >= 10.0))
        return 1;
    return static_cast<int>(std::floor(std::log10(total))) + 1;
}

// An amount right-aligned, trailing zeros removed down to kept decimals (kept below -1: none
// removed), with every leading blank doubled so the numbers stay in line in any font.
std::string PaneNumber(double value, int digits, int decimals, int kept)
{
    std::string text = FormatNumberWidth(value, digits, decimals);
    if (kept >= -1)
        StripTrailingZeros(text, kept);
    return GetLeadingWhitespace(text) + text;
}

QString PaneText(std::string text)
{
    std::erase(text, '\r');
    return FromCp1252(text);
}

} // namespace

void COptimizeDlg::OnFindOptimalRecipe()
{
    InitDialog();
    if (!CheckValueFields())
        return;
    GatherParams();
    trace = m_debug->isChecked();
    std::string message;
    COptimizer optimizer;
    optimizer.m_solverSeed = solverSeed;
    optimizer.Run(params, resultRecipe, message, trace);
    ShowStatus(message);
    BuildResultTexts();
    ShowPanes();
    ShowPage(kOptPageResults);
}

void COptimizeDlg::BuildResultTexts()
{
    recipeText.clear();
    costText.clear();
    unityText.clear();
    weightText.clear();
    moleText.clear();
    if (resultRecipe.empty())
        return;
    const double total = resultRecipe.GetTotalAmount();
    const int digits = IntegerDigits(total);
    for (const auto& line : resultRecipe) {
        recipeText += line->m_name + "\t" +
                      PaneNumber(line->m_amount, digits, g_prefs.decrecipeinput, g_prefs.tzsrecipeinput) + "\r\n";
    }
    recipeText += "\r\nTotal\t" + PaneNumber(total, digits, g_prefs.decrecipeinput, g_prefs.tzsrecipeinput) + "\r\n";

    CGlaze glaze("new glaze");
    glaze.m_components = resultRecipe;
    BuildCostText(glaze);
    std::string unityList, weightList, moleList, recipeAmounts, batchAmounts, percentages, costs;
    glaze.FormatAnalysisPanes(unityList, weightList, moleList, unityText, weightText, moleText, recipeAmounts,
                              batchAmounts, percentages, costs);
}

// Each material's cost is its share of the cost of a kilogram, for the recipe's total in grams.
void COptimizeDlg::BuildCostText(const CGlaze& glaze)
{
    const CGlazeAnalysis& analysis = glaze.GetAnalysis();
    const std::string currency = g_pMaterialsDoc ? g_pMaterialsDoc->Materials().m_currencySymbol : std::string();
    const int decimals = g_pMaterialsDoc ? g_pMaterialsDoc->Materials().m_costPlacesRight : 2;
    const double total = resultRecipe.GetTotalAmount();
    std::vector<double> costs;
    double totalCost = 0.0;
    for (int n = 0; n < resultRecipe.GetCount(); ++n) {
        const std::size_t index = static_cast<std::size_t>(n);
        const double share = index < analysis.componentItems.size() ? analysis.componentItems[index].cost : 0.0;
        costs.push_back(total * 0.001 * share);
        totalCost += costs.back();
    }
    const int digits = IntegerDigits(totalCost) + 1;
    auto number = [&](double value) { return PaneNumber(value, digits, decimals, -2); };
    for (int n = 0; n < resultRecipe.GetCount(); ++n) {
        const std::string& name = resultRecipe.GetAt(n).m_name;
        const std::string amount = number(costs[static_cast<std::size_t>(n)]);
        costText += n == 0 ? name + "\t" + currency + "\t" + amount + "\r\n" : name + "\t\t" + amount + "\r\n";
    }
    costText += "\r\nTotal\t" + currency + "\t" + number(totalCost) + "\r\n";
    costText += "Cost per kg\t" + currency + "\t" + number(analysis.costPerKg) + "\r\n";
    if (analysis.loiFraction < 1.0) {
        costText += "Cost per kg fired\t" + currency + "\t" + number(analysis.costPerKg / (1.0 - analysis.loiFraction)) +
                    "\r\n";
    }
}

void COptimizeDlg::ShowPanes()
{
    const QString left = PaneText(leftPaneMode == 2 ? costText : recipeText);
    // The stops every 5 units from 65 on; a material name too long for the first stop moves
    // them all right, so the amounts stay in one column.
    const QFontMetrics metrics(m_leftPane->font());
    int widest = 0;
    for (const QString& line : left.split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line.section(QLatin1Char('\t'), 0, 0)));
    const std::vector<int> stops = TabStopsFromDlu(font(), {65, 70, 75, 80, 85, 90, 95, 100});
    const int shift = std::max(0, widest + metrics.horizontalAdvance(QLatin1Char(' ')) - stops.front());
    QList<QTextOption::Tab> tabs;
    for (int stop : stops)
        tabs.append(QTextOption::Tab(stop + shift, QTextOption::LeftTab));
    QTextOption option = m_leftPane->document()->defaultTextOption();
    option.setTabs(tabs);
    m_leftPane->document()->setDefaultTextOption(option);
    m_leftPane->setPlainText(left);
    const std::string* right[3] = {&unityText, &weightText, &moleText};
    m_rightPane->setPlainText(PaneText(*right[std::clamp(rightPaneMode, 1, 3) - 1]));
    m_leftButtons->button(leftPaneMode == 2 ? 2 : 1)->setChecked(true);
    m_rightButtons->button(std::clamp(rightPaneMode, 1, 3))->setChecked(true);
}
