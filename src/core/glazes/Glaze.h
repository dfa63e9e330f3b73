#pragma once

// One glaze of a glaze database: its descriptive texts, its recipe (components and additions, by
// weight or by volume), variations and notes, the cone range derived from its range text, the
// date value derived from its date text, a lazily computed chemical analysis and an optional set
// of optimization parameters.
//
// Ownership: a glaze owns its ingredient lists, its string lists, its analysis and its
// optimization parameters. Copies are deep and never share an analysis: a copy starts without
// one and computes its own on demand.
//
// The analysis is a cache of the recipe's chemistry. Whatever changes the chemistry (the
// recipe, the range, the by-volume state, the batch size) must call InvalidateAnalysis; the
// views also call it when the elements or materials change. Code that edits m_components,
// m_additions, m_byVol, m_batchSize or m_range directly is responsible for that call.
//
// A glaze may only be constructed while an application context exists: a new glaze takes
// today's date in the format of the working preferences.

#include "glazes/IngredientList.h"
#include "support/StringArrayEx.h"

#include <array>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

class CGlazeAnalysis;
class CMaterial;
class CGlazeSearchCriteria;
class CGlazeSearchCriterion;
class COptimizationParams;

// One row of the cone table: an Orton cone (022 to 01 stored as -22 to -1; there is no cone 0)
// and the temperature at which it bends.
struct CConeTableRow {
    int cone;
    int celsius;
    int fahrenheit;
};

// 36 rows in ascending order, then the closing row {40, 32767, 32767}, which only bounds the band
// of the last cone.
inline constexpr int kConeTableRows = 36;
extern const std::array<CConeTableRow, kConeTableRows + 1> g_coneTable;

// The cone whose band [its Celsius value, the next row's) holds the temperature; -23 below the
// first row; cone 14 from 1388 on.
int ConeFromTemperature(int celsius);
// The Celsius value of the first row whose cone is at or above the given one (576 for any cone up
// to 022, 1136 for cone 0); 0 for a cone above 14.
int TemperatureFromCone(int cone);

// Field numbers of SetField (the glaze list's Set Field command).
enum GlazeField : int {
    kGlazeFieldName = 1,
    kGlazeFieldIndex = 2,
    kGlazeFieldSource = 3,
    kGlazeFieldDate = 4,
    kGlazeFieldType = 5,
    kGlazeFieldRange = 6,
    kGlazeFieldFiretype = 7,
    kGlazeFieldColor = 8,
    kGlazeFieldVisTexture = 9,
    kGlazeFieldQuality = 10,
    kGlazeFieldTransparency = 11,
    kGlazeFieldCrystals = 12,
    kGlazeFieldBubbles = 13,
    kGlazeFieldFlow = 14,
    kGlazeFieldDurability = 15,
    kGlazeFieldFlaws = 16,
    kGlazeFieldTested = 17,
    kGlazeFieldImageFile = 18,
    kGlazeFieldNoteFile = 19,
    kGlazeFieldAddVariation = 20,
    kGlazeFieldAddNote = 21,
    kGlazeFieldByVolume = 22,
    kGlazeFieldBatchSize = 23,
    kGlazeFieldLimitFormula = 24,
};

class CGlaze {
public:
    // Every text empty but the name and today's date; every number 0; no analysis, no
    // optimization parameters.
    explicit CGlaze(std::string name = "new glaze");
    // Copies the texts, the flags, the batch size, both recipes and both string lists; derives
    // the cones, temperatures and date value again; copies the optimization parameters when the
    // source has them. The analysis is not copied.
    CGlaze(const CGlaze& other);
    // The same as the copy; the glaze's own analysis is dropped. Assigning to itself does nothing.
    CGlaze& operator=(const CGlaze& other);
    ~CGlaze();

    // Sets one field from a text (see GlazeField); other numbers do nothing. The date re-derives
    // the date value; the range re-derives cones and temperatures; by volume is set when the
    // text begins with t, T, y or Y; the batch size is the text's leading number (a negative
    // number gives 0). Range, by volume and batch size drop the analysis.
    void SetField(int field, const std::string& text);

    // The cached analysis; computed first when there is none. Never null.
    const CGlazeAnalysis& GetAnalysis() const;
    // Drops the cached analysis.
    void InvalidateAnalysis();
    bool HasAnalysis() const { return m_analysis != nullptr; }
    // Fills a fresh analysis from the recipe (only GetAnalysis calls it).
    void ComputeAnalysis(CGlazeAnalysis& analysis) const;
    // The viscosity index and surface tension at the low and high cone (the last step of
    // ComputeAnalysis).
    void EstimateViscosityAndSurfaceTension(CGlazeAnalysis& analysis) const;

    // The ten texts of the analysis panes (lines end with CR LF): 0 to 2 unity formula, weight
    // and mole percentages as narrow lists; 3 to 5 the same as three-column tables; 6 to 9 the
    // recipe as entered, scaled to the batch, in percent and with costs.
    void FormatAnalysisPanes(std::string& unityList, std::string& weightList, std::string& moleList,
                             std::string& unityTable, std::string& weightTable, std::string& moleTable,
                             std::string& recipeAmounts, std::string& batchAmounts, std::string& percentages,
                             std::string& costs) const;

    // With every material found: 0 and nothing added. Otherwise appends the recipe lines
    // (components, then additions) whose material is not in the database and returns 1.
    int GetMissingMaterials(std::vector<const CIngredient*>& lines) const;
    // Appends the material of every component and addition marked not available; 1 when any
    // was appended.
    int GetUnavailableMaterials(std::vector<const CMaterial*>& materials) const;

    // The optimization parameters, created with their defaults on first use.
    COptimizationParams& GetOptimizationParams();
    // Null when the glaze has none.
    const COptimizationParams* FindOptimizationParams() const { return m_optParams.get(); }

    // m_lowCone, m_highCone, m_lowTemp and m_highTemp from m_range.
    void ParseRange();
    // m_dateValue from m_date.
    void UpdateDateValue();

    // --- sections of the glaze report (GlazeReportChemistry.cpp), each written from the
    // glaze's analysis into a line stream ---

    // The viscosity and surface tension indices at the glaze's cones, or what is not known.
    void WriteViscosityLines(std::ostream& out) const;
    // The oxides of the glaze that begin to volatilise by its high cone (nothing without one).
    void WriteVolatilizationLines(std::ostream& out) const;
    // The annotation lines of the glaze's materials and oxides, as the preferences ask.
    void WriteAnnotations(std::ostream& out) const;
    // The comparison chart with the glaze's limit formula, when the current limit-formula
    // database holds it with at least one limit.
    void WriteLimitFormulaComparison(std::ostream& out) const;

    // True when the glaze meets the criteria as their combine mode asks.
    bool MatchesCriteria(const CGlazeSearchCriteria& criteria) const;

    // --- similarity (GlazeSimilarity.cpp) ---

    // Measure slots of ComputeSimilarity: 0 to 5 oxides (non-volatile by weight and by moles,
    // all by weight and by moles, alkali by weight and by moles), then these.
    static constexpr int kSimilaritySlots = 32;
    static constexpr int kSimilarityIngredients = 16;       // shared recipe lines
    static constexpr int kSimilarityIngredientAmounts = 17; // shared lines and their shares
    static constexpr int kSimilarityNameLetters = 20;       // letters of the two names
    // How alike glazes a and b are, in percent per flagged measure (flags and scores hold
    // kSimilaritySlots entries; a flagged slot without a measure of its own keeps the caller's
    // score) and as their mean, which is returned. A glaze against itself scores 100.
    static double ComputeSimilarity(const CGlaze* a, const CGlaze* b, const int* flags, double* scores);

    // --- recipe operations (GlazeListOps*.cpp); each drops the analysis when it changes the
    // recipe ---

    // Converts the recipe to volumes (target 1), to weights (0) or to the other form (-1)
    // through the densities of the materials database. 0 on success or when the recipe already
    // has the wanted form (or the target is none of these); 1, with nothing changed, when a
    // line's material is unknown or has no positive density.
    int ConvertWeightVolume(int target);
    // Scales every component and addition so that the components (with includeAdditions, the
    // components and additions together) add up to batch. 1, with nothing changed, when that
    // total is not positive or batch is not a positive number; else 0.
    int ScaleRecipe(double batch, bool includeAdditions);
    // Fills material with a frit (asFrit) or a mixture made from the glaze's chemistry. 0 on
    // success; 1, material untouched, when the analysis is not valid; for a frit the formula
    // parser's result.
    int ConvertToMaterial(CMaterial& material, bool asFrit) const;

    std::string m_name;
    std::string m_index;
    std::string m_source;
    std::string m_date;
    std::string m_type;
    std::string m_range;
    std::string m_firetype;
    std::string m_color;
    std::string m_vistexture;
    std::string m_quality;
    std::string m_transparency;
    std::string m_xtals;
    std::string m_bubbles;
    std::string m_flow;
    std::string m_durability;
    std::string m_flaws;
    std::string m_tested;
    std::string m_imagefile;
    std::string m_notefile;
    std::string m_limform;       // name of the limit formula the glaze is compared with
    int m_byVol = 0;             // 1: the amounts are volumes
    double m_batchSize = 0.0;    // preferred batch size; 0 for none
    CIngredientList m_components;
    CIngredientList m_additions; // in the units of the components, kept apart from them
    CStringArrayEx m_variations;
    CStringArrayEx m_notes;
    // Derived from m_range by ParseRange.
    int m_lowCone = 0;
    int m_highCone = 0;
    int m_lowTemp = 0;           // degrees Celsius
    int m_highTemp = 0;
    // Derived from m_date by UpdateDateValue: yyyymmdd, later dates larger, 0 for no date.
    int m_dateValue = 0;

private:
    void CopyFieldsFrom(const CGlaze& other);
    bool MatchesCriterion(const CGlazeSearchCriterion& criterion) const;

    mutable std::unique_ptr<CGlazeAnalysis> m_analysis;
    std::unique_ptr<COptimizationParams> m_optParams;
};
