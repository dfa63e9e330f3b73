// Placeholders of chart builders not written yet: each one only says so in the chart's
// error box. Whoever writes these builders defines them in a file of their own and deletes
// this file.

#include "graphs/Graph.h"

namespace {

constexpr const char* kNotYetDrawn = "This kind of chart is not drawn yet";

} // namespace

void CGraph::BuildRecipeBar(CGlazesDoc*, CGlaze*) { m_errorText = kNotYetDrawn; }
void CGraph::BuildCostBar(CGlazesDoc*, CGlaze*) { m_errorText = kNotYetDrawn; }
void CGraph::BuildMaterialTypesBar(CGlazesDoc*, CGlaze*) { m_errorText = kNotYetDrawn; }
