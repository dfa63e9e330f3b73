#pragma once

// How alike two materials' chemistry is, for Find Similar Materials.

class CMaterial;

// Number of entries of the enable and score arrays; only 0..5 are categories.
inline constexpr int kSimilarityEntries = 32;
inline constexpr int kSimilarityCategories = 6;

// Scores two analysed materials from 0 to 100 in six categories (identical distributions give
// 100, disjoint ones 0):
//   0 non-volatile oxides by weight, 1 non-volatile oxides by moles,
//   2 all oxides by weight,          3 all oxides by moles,
//   4 alkali oxides by weight,       5 alkali oxides by moles (0 when either has no alkali).
// enabled and scores hold kSimilarityEntries entries. Disabled entries score 0. Entries 6..31
// are not categories: they score 0 and never count. Returns the mean of the enabled categories,
// 0 when none is enabled. A material compared with itself scores 100 in every enabled entry
// without any arithmetic.
double ScoreAnalysisSimilarity(const CMaterial* a, const CMaterial* b, const int* enabled, double* scores);
