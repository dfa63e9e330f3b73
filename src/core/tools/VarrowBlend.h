#pragma once

// The Varrow recipe blend: a rectangle of test glazes built from one starting recipe. Corner C
// (lower left, high flux) is the chosen lines of the start glaze; corner A (upper left, high
// alumina) replaces part of C by a kaolin material, corner D (lower right, high silica) part of C
// by a silica material, and corner B (upper right) part of C by both. The command writes into a
// new untitled glaze database the corner recipes at a batch size, the whole grid of blends
// between the corners (as material weights or as liquid volumes of the four corner glazes), or
// both, with information lines that document the test.
//
// The Varrow Recipe Blend dialog fills a CVarrowBlendRequest; RunVarrowBlend does the rest.

#include "glazes/IngredientList.h"

#include <string>

class CGlaze;
class CGlazeList;
class CGlazesDoc;

enum VarrowNaming : int {
    kVarrowNameByNumber = 0,
    kVarrowNameByPercentages = 1,
};

enum VarrowAmounts : int {
    kVarrowMaterialWeights = 0,
    kVarrowLiquidVolumes = 1,
};

inline constexpr double kDefaultVarrowCornerBatch = 300.0;
inline constexpr double kDefaultVarrowBlendBatch = 100.0;
inline constexpr int kMaxVarrowPoints = 99;

// What the Varrow Recipe Blend dialog collects.
struct CVarrowBlendRequest {
    int startGlaze = -1; // glaze C: its index in the current database
    // The start glaze's ticked component and addition lines, from the start glaze as
    // PrepareVarrowStartGlaze makes it (by weight, components summing to 100).
    CIngredientList components;
    CIngredientList additions;
    double kaolinA = 40.0; // percent of kaolin in A (the rest is C)
    double silicaD = 50.0; // percent of silica in D
    double kaolinB = 25.0; // percent of kaolin and of silica in B
    double silicaB = 40.0;
    int kaolinMaterial = -1; // indices into the materials database's list
    int silicaMaterial = -1;
    bool generateCorners = false; // "Generate the corner glaze recipes"
    bool generateAll = false;     // "Generate all glazes in the blend"
    double cornerBatch = kDefaultVarrowCornerBatch; // grams of each corner recipe
    double blendBatch = kDefaultVarrowBlendBatch;   // liquid volume of each grid glaze
    int pointsCD = 3; // intermediate points between C and D (horizontal)
    int pointsCA = 5; // between C and A (vertical)
    int naming = kVarrowNameByNumber;
    int amounts = kVarrowMaterialWeights;
};

// The start glaze as the dialog lists its lines: a copy converted to weights whose components
// are scaled to 100 (additions by the same factor). 0 on success; 1 when it cannot be converted
// to weight (scaled then holds the unconverted copy).
int PrepareVarrowStartGlaze(const CGlaze& start, CGlaze& scaled);

// Builds the new database's glazes, name and information lines into result (emptied first).
// Percentages are held to 0..100, point counts to 0..99, and a batch size that is not positive
// takes its default. 0 on success; 1, with nothing built, when the request has no start glaze in
// source, no component line, or a kaolin or silica material that is not in the materials
// database (the dialog refuses these before).
int BuildVarrowBlend(const CVarrowBlendRequest& request, const CGlazeList& source, CGlazeList& result);

// The command after its dialog's OK: builds the blend and puts it into a new glaze database,
// which is returned; null when nothing was made.
CGlazesDoc* RunVarrowBlend(const CVarrowBlendRequest& request, CGlazesDoc& source);
