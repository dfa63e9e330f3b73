#include "graphs/GraphTypeTable.h"

const GraphTypeInfo g_graphTypeTable[kGraphTypeCount + 1] = {
    // id one avg many pie bar axes oxides limit
    {0, 1, 0, 0, 1, 0, 0, 1, 0, "One glaze - Oxides (pie)", "Oxides"},
    {1, 1, 0, 0, 0, 1, 0, 1, 0, "One glaze - Oxides (bar)", "Oxides"},
    {2, 1, 0, 0, 0, 0, 0, 1, 1, "One glaze - Limit Formula (bar)", "Oxides"},
    {3, 1, 0, 0, 0, 1, 0, 1, 0, "One glaze - Oxides and Recipe (bar)", "Oxides and Recipe"},
    {4, 1, 0, 0, 1, 0, 0, 0, 0, "One glaze - Recipe (pie)", "Recipe"},
    {5, 1, 0, 0, 0, 1, 0, 0, 0, "One glaze - Recipe (bar)", "Recipe"},
    {6, 1, 0, 0, 0, 1, 0, 1, 0, "One glaze - Recipe and Oxides (bar)", "Recipe and Oxides"},
    {7, 1, 0, 0, 1, 0, 0, 0, 0, "One glaze - Cost (pie)", "Material Costs"},
    {8, 1, 0, 0, 0, 1, 0, 0, 0, "One glaze - Cost (bar)", "Material Costs"},
    {9, 1, 0, 0, 1, 0, 0, 0, 0, "One glaze - Material Types (pie)", "Material Types"},
    {10, 1, 0, 0, 0, 1, 0, 0, 0, "One glaze - Material Types (bar)", "Material Types"},
    {11, 0, 1, 0, 1, 0, 0, 1, 0, "Average of many glazes - Oxides (pie)", "Oxides (average)"},
    {12, 0, 1, 0, 0, 1, 0, 1, 0, "Average of many glazes - Oxides (bar)", "Oxides (average)"},
    {13, 0, 1, 0, 0, 1, 0, 1, 0, "Averages of many glazes - Oxides (bar)", "Oxides (average)"},
    {14, 0, 1, 0, 0, 0, 0, 1, 1, "Average of many glazes - Limit Formula (bar)", "Oxides (average)"},
    {15, 0, 1, 0, 0, 0, 0, 1, 1, "Averages of many glazes - Limit Formula (bar)", "Oxides (average)"},
    {16, 0, 1, 0, 0, 0, 0, 1, 0, "Histogram of many glazes - Oxide (area)", "Oxide (histogram)"},
    {17, 0, 1, 0, 0, 0, 0, 1, 0, "Many glazes - Oxide Statistics (box & whiskers)", "Oxides"},
    {18, 0, 0, 1, 0, 1, 0, 1, 0, "Many glazes - Oxides (bar)", "Oxides"},
    {19, 0, 0, 1, 0, 0, 0, 1, 1, "Many glazes - Limit Formula (bar)", "Oxides"},
    {20, 0, 0, 1, 0, 1, 0, 0, 0, "Many glazes - Recipe (bar)", "Recipe"},
    {21, 0, 0, 1, 0, 1, 0, 0, 0, "Many glazes - Material Types (bar)", "Material Types"},
    {22, 0, 0, 1, 0, 0, 1, 1, 0, "Many glazes - Oxides (scatter)", "Oxides"},
    {23, 0, 0, 1, 0, 0, 1, 1, 0, "Many glazes - Oxides (3D scatter)", "Oxides"},
    {24, 0, 0, 1, 0, 0, 1, 1, 0, "Many glazes - Oxides (triaxial)", "Oxides"},
    {-1, 0, 0, 0, 0, 0, 0, 0, 0, "", ""},
};

const GraphTypeInfo* GetGraphTypeInfo(int type)
{
    if (type < 0 || type >= kGraphTypeCount)
        return nullptr;
    return &g_graphTypeTable[type];
}
