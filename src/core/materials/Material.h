#pragma once

// One raw material of the materials database: names and codes, descriptive fields and notes,
// the formula text, its parsed components and the analysis computed from them.
//
// The components and the analysis block are always the result of parsing m_formula: they are
// never copied or edited on their own, and every change of the formula goes through SetFormula
// or KeepFormula. A formula text that does not parse (a typo in a hand-edited file) is kept as
// it was read, with the empty analysis of a material without a formula, so that it is written
// back unchanged and Check Database names it.
// m_displayKey is rebuilt by UpdateDisplayKey; code that sets m_name or m_code directly calls it
// afterwards.

#include "elements/ElementTable.h"
#include "materials/FormulaComponent.h"
#include "support/SlotValues.h"
#include "support/StringArrayEx.h"

#include <string>
#include <string_view>

// An amount as formulas write it: FormatFixed with the preference decformulas, then
// StripTrailingZeros with tzsformulas.
std::string FormatFormulaAmount(double value);

class CMaterial {
public:
    // Name set, code empty, type "new", today's date (preference datefmt), numbers 0, every list
    // empty, and an empty formula (analysis all zero).
    explicit CMaterial(std::string_view name = "new material");
    // Copies every field; the components and the analysis are parsed again from the formula (a
    // formula that does not parse is copied as text, KeepFormula).
    CMaterial(const CMaterial& other);
    CMaterial& operator=(const CMaterial& other);
    CMaterial(CMaterial&&) noexcept = default;
    CMaterial& operator=(CMaterial&&) noexcept = default;
    ~CMaterial() = default;

    // --- formula and analysis (formula engine) ---

    // m_formula = text, then ParseFormula. 0 on success. On an error the formula becomes empty
    // (so the analysis is all zero), the failed parse's message and position are given back
    // (either pointer may be null) and -1 is returned.
    int SetFormula(const std::string& text, std::string* errorText = nullptr, int* errorPos = nullptr);
    // As SetFormula, but a text that does not parse stays the formula text (its analysis is the
    // empty one): for what a file, a copy or a changed element table hands over, which must not
    // lose the user's text. 0 when it parsed, -1 when not.
    int KeepFormula(const std::string& text);
    // True when the formula text is not empty but did not parse.
    bool HasUnreadableFormula() const;

    // Parses m_formula into m_components and the analysis block. 0, or the engine's error code
    // with the message and position (the analysis is then partly built; SetFormula clears it).
    int ParseFormula(std::string* errorText, int* errorPos);

    // accumulator[i] += k * m_atoms[i] for all 104 slots, slot 0 included.
    void AddScaledAnalysis(double* accumulator, double k) const;

    // --- components and formula text ---

    // The formula text made of the components: the prefix chosen by the flags, then each
    // component (amount text and a blank when there is one, then the component text), separated
    // by two blanks.
    void BuildFormulaText(std::string& output, bool weightPercent, bool molePercent, bool forcedMW,
                          const std::string& mwText, bool forcedSum, const std::string& sumText) const;
    // BuildFormulaText with the record's own kind and forced values, then SetFormula.
    int RebuildFormula(std::string* errorText = nullptr, int* errorPos = nullptr);

    // Classifies the components and orders them: oxides and single-element components grouped by
    // element in display order, then compounds, then LOI; otherwise the old order is kept.
    void OrderComponents();
    // Components whose texts are equal ignoring case are added into the first of them; the
    // others, and every component written with an amount of 0, are removed.
    void MergeDuplicateComponents();
    // Rewrites every amount text as its formatted value. usePreferences (or decimals < 0) takes
    // the formula decimals and trailing-zero rule of the preferences; decimals is capped at 12.
    void ReformatAmounts(bool usePreferences, int decimals, int trailingZeros);

    // Brings a % formula to 100: mode 0 scales every amount, mode 1 adds the missing weight
    // percentage as LOI. Then corrects the rounding remainder, preferring whole numbers.
    void NormalizePercentages(int mode);
    // Parses text in a scratch record and normalises it with the mode (as NormalizePercentages).
    // An empty text: 0, untouched. A text that does not parse: 1, unchanged. Otherwise the text
    // becomes the normalised formula and 0 is returned.
    static int CheckFormula(std::string* text, int mode);

    // --- formula conversions (FormulaConversion.h) ---
    // Each leaves the record as it was when its conditions do not hold, and never leaves it
    // without its formula.

    // The dispatcher of the Formula Conversion dialog: mode is a FormulaConversionMode; target
    // the unity target (element, -1..-3 group, 1000 + component index); decimals >= 0 replaces
    // the formula decimals and trailing-zero preferences for the call; loiOxide the element
    // whose oxide an LOI component becomes in a conversion to moles. Other modes do nothing.
    void ConvertFormula(int mode, int target, int decimals, int trailingZeros, int loiOxide);
    // Molecular or % molecular (sum 100) to % weight; a forced weight becomes a forced sum 100.
    void ConvertToWeightPercent();
    // Molecular or % weight (sum 100) to % molecular; no forced values.
    void ConvertToMolecularPercent(int loiOxide);
    // To the smallest whole-number ratio (else amounts over the smallest); a forced % sum
    // becomes a forced weight. A formula of weight 0 becomes empty.
    void ConvertToMolecular(int loiOxide);
    // Compounds of several elements become their oxides and bare elements.
    void BreakApartComponents();
    // Non-volatile oxides only, with the old weight (or % sum) forced, so the LOI is kept.
    void OxidizeAndForceMolecularWeight();
    void OxidizeAndForcePercentSum();
    // The forced oxygen is given to the elements as oxides.
    void RemoveForcedMolecularWeight();
    void RemoveForcedPercentSum();
    // % weight: volatile components and LOI are collected into one LOI component.
    void ConvertVolatilesToLoi();

    // --- fields ---

    // m_displayKey = code + TAB + name.
    void UpdateDisplayKey();
    // Sets one field from a text (the database's Set Field and the imports): 1 name, 2 add other
    // name, 3 code, 4 code of the last other name, 5 date, 6 type, 7 density, 8 available,
    // 9 cost, 10 formula, 11 map-to, 12..14 replace notes, analysis notes, hazard notes,
    // 15..17 add to them. Other numbers do nothing. Names, other names and codes take square
    // brackets for parentheses (BracketParentheses), so that look-ups find them.
    void SetField(int field, const std::string& text);

    // The search of Find Materials and Check Material, ignoring case: whole set, a field must
    // equal the text, else contain it. Fields in order, each when its flag is set: name, code,
    // formula, other names, other-name codes, analysis notes, hazard notes, notes. With whole and
    // takeSpelling, the text becomes the matching field as this record spells it (an other-name
    // code gives its other name, or the name when that is empty; notes change nothing).
    bool Matches(std::string* text, bool inName, bool inCode, bool inFormula, bool inNotes,
                 bool whole, bool takeSpelling) const;
    // Whole match on name, code and formula; an empty text never matches.
    bool MatchesExactly(std::string* text, bool takeSpelling) const;
    // Whole match on name, code, other names and their codes, ignoring case; an empty text never
    // matches. The duplicate test of Check Material.
    bool MatchesNameOrCode(const std::string& text) const;

    std::string m_name;
    std::string m_date;
    std::string m_code;
    CStringArrayEx m_akaNames;  // other names
    CStringArrayEx m_akaCodes;  // the code of each other name, same index; empty when none
    std::string m_type;
    std::string m_mapTo;        // name of the material this one maps to
    std::string m_formula;
    double m_density = 0.0;
    int m_available = 0;        // 1 available, 0 not
    double m_costPerLb = 0.0;
    CStringArrayEx m_notes;
    CStringArrayEx m_anNotes;   // analysis notes
    CStringArrayEx m_hazNotes;  // hazard notes
    CFormulaComponentList m_components;

    // --- analysis block: the result of parsing m_formula ---
    // The two vectors are indexed by element number and hold only the elements of the formula.
    CSlotValues m_atoms;          // moles of each element per gram of raw material (0: K + Na)
    double m_formulaWeight = 0.0; // W, weight of one formula unit (after forced values)
    CSlotValues m_oxides;         // weight of each oxide per unit weight of fired oxides; oxygen 0
    double m_oxideSum = 0.0;      // sum of m_oxides over z = 1..103
    double m_firedWeight = 0.0;   // N, weight of the non-volatile oxides of one formula unit
    double m_loi = 0.0;           // loss on ignition as a fraction: 1 - fired yield
    double m_firedYield = 0.0;    // N / W
    bool m_isMolecular = false;   // exactly one kind is set for a non-empty formula
    bool m_isWeightPercent = false;
    bool m_isMolePercent = false;
    double m_percentSum = 0.0;    // sum of a % formula's amounts, or its forced sum
    bool m_hasUnexpected = false; // an element whose role is "not expected" is present
    bool m_hasForcedMW = false;
    std::string m_forcedMWText;
    double m_forcedMW = 0.0;
    double m_naturalWeight = 0.0; // the formula weight before forced values
    bool m_hasForcedSum = false;
    std::string m_forcedSumText;
    double m_forcedSum = 0.0;
    double m_parsedPercentSum = 0.0; // the % sum as written, before a forced sum replaced it

    std::string m_displayKey;     // code + TAB + name: what list views sort and show

private:
    // Everything the formula gives but the element values (ParseFormula replaces or clears them).
    void ResetAnalysis();
    // ParseFormula's reading; analysed tells whether the values were computed.
    int ParseFormulaText(std::string* errorText, int* errorPos, bool& analysed);
    // Weights, oxide fractions, fired yield and LOI from the element counts per formula unit in
    // atoms (only the slots of present, within 1..103, are read: every other count is 0), which
    // become counts per gram and are kept in m_atoms.
    void ComputeAnalysis(const CElementRecord* table, double* atoms, const CSlotValues::Mask& present);
    void CopyFieldsFrom(const CMaterial& other);
};
