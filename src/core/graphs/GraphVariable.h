#pragma once

// The quantities a chart can plot, by code. Templates name them in their oxide list
// ("bpoxides"), their scatter, triaxial and histogram axes and the oxide colour entries.
//
// Codes 0 to 103 are the oxides of the element table by element number (0 is sodium and
// potassium together); the codes above are totals, remainders and glaze properties. Codes 117 and
// 122 to 124 are unused slots that still have a colour entry.

#include <string>

enum GraphVariable : int {
    kGraphVarFirstOxide = 0,
    kGraphVarLastOxide = 103,
    kGraphVarLoi = 104,
    kGraphVarAlkalis = 105,
    kGraphVarNeutrals = 106,
    kGraphVarAcids = 107,
    kGraphVarUnexpected = 108,
    kGraphVarVolatiles = 109,
    kGraphVarOtherAlkalis = 110,
    kGraphVarOtherNeutrals = 111,
    kGraphVarOtherAcids = 112,
    kGraphVarOtherUnexpected = 113,
    kGraphVarOtherVolatiles = 114,
    kGraphVarOtherNonvolatiles = 115, // the non-volatile remainder
    kGraphVarOtherOxides = 116,       // the whole remainder
    kGraphVarSiAlRatio = 118,
    kGraphVarExpansion = 119,
    kGraphVarViscosity = 120,
    kGraphVarCost = 121,
    kGraphVarAverageTemp = 125,
    kGraphVarHighestTemp = 126,
    kGraphVarLowestTemp = 127,
    kGraphVariableCount = 128,
};

inline constexpr bool IsOxideVariable(int code) { return code >= kGraphVarFirstOxide && code <= kGraphVarLastOxide; }
inline constexpr bool IsGraphVariable(int code) { return code >= 0 && code < kGraphVariableCount; }

// The name a template summary gives a code: the oxide formula of the current element table for
// 0..103, "LOI", "All alkalis", ... "Minimum temperature" for 104..127, "???" otherwise.
std::string GetSummaryVariableLabel(int code);
