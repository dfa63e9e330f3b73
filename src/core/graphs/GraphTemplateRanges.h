#pragma once

// The range of every count and size a graph template carries. A template comes from a file or a
// clipboard that may have been written anywhere, or from the editor's fields: the reader keeps a
// value outside its range as it is stored and says so, the editor does not store one, and a graph
// bounds its copy before building, so that no chart allocates or computes from an unchecked
// number.

#include "graphs/GraphTemplate.h"

#include <span>

struct SGraphTemplateRange {
    const char* key;
    int CGraphTemplate::*member;
    int min;
    int max;
};

// Every ranged setting of a template, by its .grt key.
std::span<const SGraphTemplateRange> GraphTemplateRanges();

// The range of a setting; null for a setting without one.
const SGraphTemplateRange* FindGraphTemplateRange(int CGraphTemplate::*member);

// Brings every ranged setting of the template into its range.
void BoundGraphTemplate(CGraphTemplate& graphTemplate);
