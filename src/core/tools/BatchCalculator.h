#pragma once

// The formula-to-batch calculator: turns a chemical formula (moles of oxides) into a batch
// recipe (materials in grams) that the user assembles one material at a time. It keeps what is
// still to be supplied of each oxide (the remainders; a negative remainder is an excess), tells
// what a material provides and how much of it meets each oxide, proposes materials with amounts
// (suggestions) and keeps the recipe built so far.
//
// The Formula to Batch Calculation dialog is a thin screen over this class: it copies its edit
// boxes into the public texts (m_formulaText, m_materialText, m_amountText) before calling an
// operation, and afterwards shows the public results (the box texts, the two message lines, the
// remainder rows, the amount choices, the recipe box, the selected material row and the rows of
// the Original recipe / Suggestions list). The class changes no database: on OK (FinishOk) the
// recipe so far is split into the caller's components and additions after the pattern of the
// old recipe.
//
// Every operation reads the working preferences when it runs: the remainder tolerance t is
// 10^-decremainders and the amount step s is 10^-decrecipeinput; the suggestion order is parsed
// from sugord by Start and PreferencesChanged. Failures are message boxes with the stop icon.
//
// Element 0 stands for sodium and potassium together (KNaO). The counted oxides are the
// non-volatile ones, entry 0 only while K and Na are combined, and entries 11 (Na) and 19 (K)
// only while they are not.

#include "elements/ElementList.h"
#include "elements/ElementTable.h"
#include "glazes/IngredientList.h"
#include "shell/Preferences.h"

#include <array>
#include <string>
#include <vector>

class CMaterial;
class CMaterialArray;

// Help context of the calculator's dialog and its messages.
inline constexpr unsigned kBatchCalcHelpId = 366;

// Units of the remainder lists.
enum BatchRemainderUnit : int {
    kRemainderMolecular = 0,
    kRemainderWeight = 1,
    kRemainderMolePercent = 2,
    kRemainderWeightPercent = 3,
};

// What the list beside the recipe box shows.
enum BatchListMode : int {
    kBatchListOriginalRecipe = 0,
    kBatchListSuggestions = 1,
};

// The three remainder lists, left to right.
enum BatchRemainderList : int {
    kRemainderListAlkali = 0,
    kRemainderListNeutral = 1,
    kRemainderListOther = 2,
    kRemainderListCount = 3,
};

// Item data of an addition in the Original recipe list: this plus its index.
inline constexpr int kBatchAdditionItemBase = 1000;

// One row of a list box: its text and its item data.
struct CBatchListRow {
    std::string text;
    int data = 0;

    bool operator==(const CBatchListRow&) const = default;
};

// For the material being looked at: the amount of it that meets one oxide.
struct CBatchAmountChoice {
    std::string oxide;
    double amount = 0.0;
};

class CBatchCalculator {
public:
    // Works on the given materials database; null: the open materials document's, looked up
    // at each use (no database then means no materials).
    explicit CBatchCalculator(CMaterialArray* materials = nullptr);

    // --- the caller's recipe: filled before Start, the result after FinishOk ---
    CIngredientList m_originalComponents;
    CIngredientList m_originalAdditions;
    // The caller's recipe is by volume: it comes in as weights and the result goes back as
    // volumes.
    bool m_resultByVolume = false;

    // The dialog's start: the suggestion order is parsed, the formula is built from the original
    // recipe, the recipe so far is emptied, the material cleared and the suggestions computed.
    void Start();
    // OK: the recipe so far goes into the original components and additions, after the pattern
    // of the original split. False, handing nothing back and keeping the recipe so far, when the
    // result is to be by volume and a line has no density: a message names every such line, so
    // the user can undo it and try again instead of losing the calculation.
    bool FinishOk();

    // --- the calculator's operations ---

    // The formula of the original recipe (moles of oxide), kept at full precision, and its text
    // in the formula box; then ParseFormula and ShowRemainders.
    void BuildFormulaFromRecipe();
    // The remainders from the formula box: the kept recipe formula when the text is the one
    // BuildFormulaFromRecipe wrote (ignoring case), else the parsed text. Entries below t
    // become 0; the totals are summed over the counted oxides.
    void ParseFormula();
    // Takes what amount of the named material supplies off the remainders (an unknown name
    // changes nothing).
    void SubtractMaterial(const std::string& name, double amount);
    // ParseFormula, SubtractMaterial for every line of the recipe so far, ShowRemainders.
    void RecomputeRemainders();
    // Fills the three remainder lists in the remainder unit.
    void ShowRemainders();
    // Looks at a material (an empty or unknown name clears): the provides line, the amount
    // choices, the smallest of them analysed, the material's row selected.
    void SelectMaterial(const std::string& name);
    // The amount box and the analysis line for amount of the material (null: the one the
    // material box names).
    void AnalyseAmount(double amount, const CMaterial* material);
    // The drop-down rows of the amount box from the amount choices.
    void FillAmountChoices();
    // The suggestions, with or without the tolerance for undesired oxides.
    void ComputeSuggestions();
    // The suggestion cursor back to the first, then ComputeSuggestions.
    void RecomputeSuggestions();
    // Adds the material box's material with the amount box's amount (both must be given, the
    // amount above 0) to the recipe so far. True when a line was added.
    bool UseMaterial();
    // Takes the last line off the recipe so far and puts its material and amount back into the
    // boxes. Nothing happens with an empty recipe.
    void UndoLastMaterial();
    // Shows the next suggestion in the boxes, cycling; clears the material when there is none.
    void MakeSuggestion();

    // --- the dialog's other events ---

    // "Restart from Formula": a written formula is parsed, an empty box is rebuilt from the
    // original recipe; the recipe so far starts again.
    void RestartFromFormula();
    // "Combine K and Na".
    void SetCombineKNa(bool combine);
    // A remainder unit radio (outside 0..3 does nothing).
    void SetRemainderUnit(int unit);
    // "Original recipe" / "Suggestions" (outside 0..1 does nothing).
    void SetListMode(int mode);
    // The material box loses the focus: its text is completed to a material of the database in
    // canonical form (the whole text, else the first material a name or code begins with) and
    // looked at.
    void LeaveMaterialBox();
    // An oxide picked in a remainder list: the amount of the looked-at material that supplies
    // its whole remainder, unrounded (0 when there is no such amount).
    void SelectRemainderOxide(int z);
    // A row picked in the materials list (-1: none).
    void SelectMaterialAt(int index);
    // A row picked in the Original recipe / Suggestions list, by its item data (-1: none).
    void SelectListItem(int data);
    // After the Batch Calculation Preferences were applied.
    void PreferencesChanged();
    // The formula box loses the focus: line breaks become blanks and the text is trimmed;
    // false, after the message, when it does not parse.
    bool CheckFormulaBox();
    // Before Convert Formula: material takes the formula box's text as its formula. 0 when it
    // can be converted; otherwise 1 after the message.
    int PrepareFormulaConversion(CMaterial& material) const;
    // The text of the "?" box beside the material box; empty when the box is empty.
    std::string BuildMaterialInformation() const;

    // --- what the dialog shows ---

    // Rows of the Original recipe / Suggestions list in the present list mode.
    std::vector<CBatchListRow> BuildListRows() const;

    std::string m_formulaText;  // the formula box
    std::string m_materialText; // the material box
    std::string m_amountText;   // the amount box
    std::string m_providesLine; // "...provides :" and the oxides
    std::string m_analysisLine; // what the amount satisfies or provides in excess
    std::array<std::vector<CBatchListRow>, kRemainderListCount> m_remainderRows;
    std::vector<CBatchListRow> m_amountChoiceRows; // the amount box's drop-down
    std::string m_recipeBoxText; // the Recipe so far box, one line per recipe line
    int m_selectedMaterial = -1; // the materials list's selected row

    // --- state ---

    const OxideVector& GetRemainders() const { return m_remainders; }
    const OxideVector& GetRecipeFormula() const { return m_recipeFormula; }
    double GetTotalMoles() const { return m_totalMoles; }
    double GetTotalWeight() const { return m_totalWeight; }
    const CIngredientList& GetRecipe() const { return m_recipe; }
    const CIngredientList& GetSuggestions() const { return m_suggestions; }
    const std::vector<CBatchAmountChoice>& GetAmountChoices() const { return m_amountChoices; }
    bool GetCombineKNa() const { return m_combineKNa; }
    int GetRemainderUnit() const { return m_remainderUnit; }
    int GetListMode() const { return m_listMode; }
    int GetSuggestionCursor() const { return m_suggestionCursor; }

    // True when z is one of the counted oxides.
    bool IsCounted(int z) const;

private:
    CMaterialArray* Materials() const;
    CMaterial* FindMaterial(const std::string& name) const;
    // m(z) / ncat(z): moles of oxide z per unit weight of the material.
    static double OxideMolesPerUnit(const CMaterial& material, int z);
    // The amount of the material that supplies exactly the remainder of z; 0 when the material
    // holds none of it (or the quotient is not finite).
    double Need(int z, const CMaterial& material) const;
    // The exact amount x rounded to the amount step for oxide z of the material.
    double RoundedAmount(double x, int z, const CMaterial& material) const;
    // The smallest rounded need over the counted oxides of the material (its oxide in limiter);
    // 0 and -1 when it holds none.
    double LimitingAmount(const CMaterial& material, int* limiter) const;
    // The suggestion element that stands for e now (K and Na become KNaO when combined), or -1
    // when e has nothing left worth suggesting.
    int SuggestionElement(int e) const;
    void SuggestPassOne(int e, std::vector<char>& suggested);
    void SuggestPassTwo(int e, std::vector<char>& suggested);
    void SuggestWithTolerance(int e, std::vector<char>& suggested);
    // The undesired share, in percent, of amount of the material aimed at oxide e.
    double UndesiredShare(const CMaterial& material, double amount) const;
    bool MaySuggest(const CMaterial& material, int e, const std::vector<char>& suggested, int index) const;
    void AddSuggestion(const CMaterial& material, int z, double amount);
    // Selects the material of suggestion i and analyses its proposed amount.
    void SelectSuggestion(int i);
    // The material name and the oxide (in parentheses) of a suggestion "material (oxide)"; the
    // oxide is the last parenthesised part, so a material name with parentheses stays whole.
    static void SplitSuggestion(const std::string& suggestion, std::string& name, std::string& oxide);
    // "name TAB amount" with the amount in 4 integer places, and CR LF.
    static std::string FormatRecipeBoxLine(const CIngredient& line);
    void RebuildRecipeBox();
    // The value of remainder z in the remainder unit.
    double RemainderInUnit(int z) const;

    CMaterialArray* m_materials = nullptr;
    CIngredientList m_recipe;      // the recipe so far, in the order used
    CIngredientList m_suggestions; // "material (oxide)" with the proposed amount
    std::vector<CBatchAmountChoice> m_amountChoices;
    OxideVector m_remainders;
    OxideVector m_recipeFormula;
    std::string m_keptFormulaText; // the text BuildFormulaFromRecipe last wrote
    double m_totalMoles = 0.0;
    double m_totalWeight = 0.0;
    bool m_combineKNa = false;
    int m_remainderUnit = kRemainderMolecular;
    int m_listMode = kBatchListOriginalRecipe;
    std::array<int, kElementListCapacity> m_suggestionOrder{};
    int m_suggestionCursor = 0;
};
