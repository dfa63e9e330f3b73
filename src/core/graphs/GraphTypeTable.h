#pragma once

// The 25 kinds of chart a template can draw, and what each one uses.
//
// g_graphTypeTable is indexed by graph type (a template's "type") and ends with a row whose id
// is -1. The flags decide which settings a template summary, the editor's pages and the chart
// builders care about.

enum GraphType : int {
    kGraphOnePieOxides = 0,
    kGraphOneBarOxides = 1,
    kGraphOneLimitFormula = 2,
    kGraphOneOxidesAndRecipe = 3,
    kGraphOnePieRecipe = 4,
    kGraphOneBarRecipe = 5,
    kGraphOneRecipeAndOxides = 6,
    kGraphOnePieCost = 7,
    kGraphOneBarCost = 8,
    kGraphOnePieMaterialTypes = 9,
    kGraphOneBarMaterialTypes = 10,
    kGraphAveragePieOxides = 11,
    kGraphAverageBarOxides = 12,
    kGraphAveragesBarOxides = 13,
    kGraphAverageLimitFormula = 14,
    kGraphAveragesLimitFormula = 15,
    kGraphHistogram = 16,
    kGraphBoxAndWhiskers = 17,
    kGraphManyBarOxides = 18,
    kGraphManyLimitFormula = 19,
    kGraphManyBarRecipe = 20,
    kGraphManyBarMaterialTypes = 21,
    kGraphScatter = 22,
    kGraphScatter3D = 23,
    kGraphTriaxial = 24,
    kGraphTypeCount = 25,
};

struct GraphTypeInfo {
    int id;       // the graph type; -1 ends the table
    int one;      // draws one glaze
    int avg;      // averages or statistics of many glazes
    int many;     // many glazes side by side
    int pie;
    int bar;
    int axes;     // scatter or triaxial axes
    int oxides;   // uses the oxide list or the plotted variables
    int limit;    // compares with a limit formula
    const char* longName;
    const char* shortName;
};

extern const GraphTypeInfo g_graphTypeTable[kGraphTypeCount + 1];

// The row of a graph type, or null for a type outside 0..24.
const GraphTypeInfo* GetGraphTypeInfo(int type);
