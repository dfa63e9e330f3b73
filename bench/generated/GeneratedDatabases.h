#pragma once

// Large databases for the benchmarks, generated the same way every time: a materials database
// like a big supplier catalogue and glaze databases whose recipes use its materials.
//
// Materials are named "Material 00042" (code "M00042"); every third has an other name with a
// code, every tenth maps to the one before it (and carries its values, as a saved database
// does), and their formulas cycle through ten common kinds. Glazes are named
// "Glaze 00042 <colour>" with every description field filled, six components and one addition
// taken from the first materialCount materials, and a note.

#include <string>

// The text of a materials database file of count materials.
std::string GeneratedMaterialsFile(int count);
// The text of a glaze database file of count glazes whose recipes use the materials of a
// generated database of materialCount materials (at least 10); with `first` named, every glaze's
// first component is that material.
std::string GeneratedGlazesFile(int count, int materialCount, const char* first = nullptr);

// The text of a key = value file of records five-key records, about 100 bytes a record (the
// reader's benchmarks; KeyValueReading.h reads it).
std::string GeneratedKeyValueFile(int records);

// Writes text to path; false on failure.
bool WriteGeneratedFile(const std::string& path, const std::string& text);
