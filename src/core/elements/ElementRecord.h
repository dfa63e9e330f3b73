#pragma once

// The element record: one of the 104 entries z = 0..103 of the element table, the
// element together with the one oxide in which it is counted, its ceramic role and the glaze
// coefficients of that oxide. Also the role flags, their letters and colour keys, the Change Role
// cycle, and the constant built-in rows `g_defaultElements`.
//
// Records are plain values: they copy and assign whole. `symbol` and `name` always point at the
// constant texts of `g_defaultElements`. Owned, possibly-null note arrays are
// `CStringArrayEx` values here; an empty array stands for a missing one.

#include "support/StringArrayEx.h"

#include <cstdint>
#include <string>
#include <string_view>

// Number of records in the element table; element numbers are 0..kElementCount-1.
inline constexpr int kElementCount = 104;
// Element 8, oxygen: its weight and symbol build every oxide's weight and text.
inline constexpr int kOxygenZ = 8;

inline constexpr bool IsValidElementNumber(int z) { return z >= 0 && z < kElementCount; }

// `ElementRole` flag bits of `role` and `rolered`. A well-formed role holds exactly one of the
// five group bits, and kRoleAmphoteric only beside kRoleAlkali or kRoleAcid.
enum ElementRole : std::int32_t {
    kRoleNotExpected = 0x01, // letter "x": not expected in ceramic materials
    kRoleVolatile = 0x02,    // letter "v"
    kRoleNeutral = 0x04,     // letter "2"
    kRoleAcid = 0x08,        // letter "3"
    kRoleAlkali = 0x10,      // letter "1"
    kRoleAmphoteric = 0x80,  // letter "p", added to alkali or acid
};

// The five group bits, in display-order sequence: alkali, neutral, acid, volatile, not expected.
inline constexpr std::int32_t kRoleGroups[5] = {kRoleAlkali, kRoleNeutral, kRoleAcid, kRoleVolatile,
                                                kRoleNotExpected};
inline constexpr std::int32_t kRoleGroupMask =
    kRoleAlkali | kRoleNeutral | kRoleAcid | kRoleVolatile | kRoleNotExpected;

// Role letters as element files write them: starts from 0, each character adds its bit
// ('1' 0x10, '2' 0x04, '3' 0x08, 'p' 0x80, 'v' 0x02, 'x' 0x01); any other character is skipped.
// So "3p" is 0x88, "" is 0 and "1 3" is 0x18.
constexpr std::int32_t ParseRoleLetters(std::string_view letters)
{
    std::int32_t role = 0;
    for (char c : letters) {
        switch (c) {
        case '1': role |= kRoleAlkali; break;
        case '2': role |= kRoleNeutral; break;
        case '3': role |= kRoleAcid; break;
        case 'p': role |= kRoleAmphoteric; break;
        case 'v': role |= kRoleVolatile; break;
        case 'x': role |= kRoleNotExpected; break;
        default: break;
        }
    }
    return role;
}

// Role letters as element files are written: "x" when 0x01 is set; else "v" when
// 0x02 is set; else at most one of "1" (0x10), "2" (0x04), "3" (0x08), tested in that order;
// then "p" when 0x80 is set. A role of 0 gives "".
std::string FormatRoleLetters(std::int32_t role);

// Colour key of a periodic-table cell: acid first ("el_acid", with 0x80 "el_acidamph"), then
// neutral ("el_neut"), alkali ("el_alk", with 0x80 "el_alkamph"), volatile ("el_volatile"),
// else "el_notexp".
const char* RoleColourKey(std::int32_t role);

// The Change Role command's cycle: 0x10 -> 0x90 -> 0x04 -> 0x88 -> 0x08 -> 0x02 -> 0x01 -> 0x10,
// the rows tested in that order; a role matching no row (for example 0) becomes 0.
std::int32_t NextRoleInCycle(std::int32_t role);

// Oxide text: the cation part (empty for ncat 0 or less, the symbol for 1, else the symbol and
// ncat) followed by the oxygen part (empty for nan 0 or less, the oxygen symbol for 1, else the
// oxygen symbol and nan). Al with 2 and 3 gives "Al2O3".
std::string BuildOxideText(std::string_view symbol, int ncat, int nan, std::string_view oxygenSymbol = "O");

// Oxide molecular weight: ncat x atomic weight + nan x oxygen weight; a count of 0 or less
// contributes nothing.
double OxideMolecularWeight(double atomicWeight, int ncat, int nan, double oxygenWeight);

// value / ncat, and 0 when ncat is 0 or less: every division by a cation count goes through
// here, so a malformed count never produces inf or NaN.
inline double DivideByCationCount(double value, int ncat) { return ncat > 0 ? value / ncat : 0.0; }

// What reverting a record does with its note arrays (`CElementsDoc::RevertElement`).
enum class ENotesRevert {
    Keep = 0,      // the record keeps its notes and annotations
    Delete = 1,    // they are dropped; the record takes the defaults' empty arrays
    Construct = 2, // the defaults' empty arrays are taken (used while a table is built);
                   // with value arrays this is the same as Delete
};

struct CElementRecord {
    std::int32_t z = 0;            // element number 0..103, equal to the record's index
    double weight = 0.0;           // atomic weight (z 0: mean of sodium and potassium)
    const char* symbol = "";       // constant text of the default table; "KNa" for z 0
    const char* name = "";         // constant text of the default table
    double expansion = 0.0;        // 10^-7 per degree C per 1 % of the oxide by weight; -999 unknown
    std::int32_t unusual = 0;      // nonzero: the oxide causes unusual expansion effects
    double viscosity = 0.0;        // per 1 % of the oxide by weight
    double stension = 0.0;         // dynes per cm per 1 % of the oxide by weight; -999 unknown
    std::int32_t ncat = 0;         // element atoms in the oxide formula
    std::int32_t nan = 0;          // oxygen atoms in the oxide formula
    std::string oxide;             // oxide formula text, for example "Al2O3"
    double oxideMW = 0.0;          // oxide molecular weight
    std::int32_t priority = 0;     // 1..3, order inside the role group in display order
    std::int32_t role = 0;         // ElementRole flags of the oxide
    std::int32_t hazards = 0;      // hazard bits, carried uninterpreted
    std::int32_t difoxinred = 0;   // nonzero: a different oxide forms in reduction
    std::int32_t ncatred = 0;      // element atoms in the reduction oxide
    std::int32_t nanred = 0;       // oxygen atoms in the reduction oxide
    std::string oxideRed;          // reduction oxide formula text
    double oxideRedMW = 0.0;       // reduction oxide molecular weight
    std::int32_t rolered = 0;      // ElementRole flags of the reduction oxide
    CStringArrayEx notes;          // Element Information note lines; empty = none
    CStringArrayEx annotations;    // note lines printed with the glaze report; empty = none

    // Stores the role flags as given (no check: element files may hold malformed roles).
    void SetRole(std::int32_t flags) { role = flags; }
    void SetReductionRole(std::int32_t flags) { rolered = flags; }

    // Oxide rebuild: a negative count keeps the current one; both counts are stored, then
    // `oxideMW` and `oxide` are rebuilt from this record's weight and symbol and the given
    // oxygen record's weight and symbol (take it from the same table).
    void SetOxide(int newNcat, int newNan, const CElementRecord& oxygen);
    // The same on `ncatred`, `nanred`, `oxideRed` and `oxideRedMW`.
    void SetReductionOxide(int newNcatred, int newNanred, const CElementRecord& oxygen);

    // Replaces the note lines or annotation lines with a copy of lines (null: none).
    void SetNotes(const CStringArrayEx* lines);
    void SetAnnotations(const CStringArrayEx* lines);

    // Copies defaults whole over this record; the note arrays follow the mode.
    void RevertTo(const CElementRecord& defaults, ENotesRevert mode);

    // Moles of oxide from moles of the element: atoms / ncat, 0 when ncat is 0 or less.
    double OxideMolesFromAtoms(double atoms) const { return DivideByCationCount(atoms, ncat); }

    // Equal when every field is: `symbol` and `name` by their text (a null pointer reads as ""),
    // never by where the text lives.
    bool operator==(const CElementRecord& other) const;
};

// One constant row of the built-in table, in the column order of the reference table. Rows are
// plain constant data (constant-initialised, so no initialisation-order problems); the reduction
// fields default to the common case: no different oxide, ncatred 1, nanred 0, `oxideRed` equal to
// the symbol (null here), weight 0, rolered alkali.
struct SDefaultElementRow {
    std::int32_t z;
    const char* symbol;
    const char* name;
    double weight;
    const char* oxide;
    std::int32_t ncat;
    std::int32_t nan;
    double oxideMW;
    std::int32_t priority;
    const char* roleLetters; // the role as letters, as element files write it
    double expansion;
    std::int32_t unusual;
    double viscosity;
    double stension;
    std::int32_t hazards;
    std::int32_t difoxinred = 0;
    std::int32_t ncatred = 1;
    std::int32_t nanred = 0;
    const char* oxideRed = nullptr; // null: the symbol
    double oxideRedMW = 0.0;
    std::int32_t rolered = kRoleAlkali;
};

// `g_defaultElements`: the built-in table, 104 constant rows in z order. Never changes.
extern const SDefaultElementRow g_defaultElements[kElementCount];

// The record built from one default row (no notes, no annotations).
CElementRecord MakeDefaultElementRecord(const SDefaultElementRow& row);

// The 104 default records, built once from `g_defaultElements` on first use (index = z).
const CElementRecord* GetDefaultElementRecords();

// Default record z; for z outside 0..103 an empty record (all zero, empty texts).
const CElementRecord& GetDefaultElement(int z);
