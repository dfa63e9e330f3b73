#include "substitutions/GlazeSubstitution.h"

#include "core/support/CheckedItems.h"
#include "core/shell/FakeMessageService.h"
#include "glazes/Glaze.h"
#include "glazes/GlazeAnalysis.h"
#include "glazes/GlazesDoc.h"
#include "materials/MaterialsDoc.h"
#include "shell/AppContext.h"
#include "substitutions/Substitution.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

// A substitution applied to a glaze of a glaze database: to the components and to the additions,
// with the answer whether anything changed, the database marked changed and the analysis made
// anew from the new recipe.
TEST(GlazeSubstitutionTest, ChangesComponentsOrAdditionsAndTheAnalysisFollows)
{
    CAppContext context;
    CFakeMessageService messages;
    CMaterialsDoc materials;
    for (const auto& [name, formula] : {std::pair{"Whiting", "CaCO3"}, std::pair{"Magnesite", "MgCO3"},
                                        std::pair{"Silica", "SiO2"}}) {
        CMaterial material(name);
        material.SetFormula(formula);
        materials.InsertMaterial(materials.Materials().GetCount(), material);
    }
    CGlazesDoc doc;
    CGlaze inComponents("Matte");
    inComponents.m_components.Add("Whiting", 20.0);
    inComponents.m_components.Add("Silica", 80.0);
    CGlaze inAdditions("Clear");
    inAdditions.m_components.Add("Silica", 100.0);
    inAdditions.m_additions.Add("Whiting", 5.0);
    doc.InsertGlaze(0, inComponents);
    doc.InsertGlaze(1, inAdditions);
    doc.SetModifiedFlag(false);

    CSubstitution substitution("whiting to magnesite");
    substitution.m_set1.Add("Whiting", 1.0);
    substitution.m_set2.Add("Magnesite", 1.0);

    ASSERT_EQ(doc.GetGlazeCount(), 2);
    CGlaze& matte = Found(doc.GetGlaze(0));
    ASSERT_EQ(matte.GetAnalysis().componentItems.at(0).material->m_name, "Whiting");
    EXPECT_EQ(ApplySubstitution(doc, 0, substitution, 0), 1);
    EXPECT_TRUE(doc.IsModified());
    ASSERT_GE(matte.m_components.GetCount(), 1);
    EXPECT_EQ(RecordAt(matte.m_components, 0).m_name, "Magnesite");
    EXPECT_EQ(matte.GetAnalysis().componentItems.at(0).material->m_name, "Magnesite");

    doc.SetModifiedFlag(false);
    EXPECT_EQ(ApplySubstitution(doc, 1, substitution, 0), 1) << "a change in the additions alone counts";
    ASSERT_GE(Found(doc.GetGlaze(1)).m_additions.GetCount(), 1);
    EXPECT_EQ(RecordAt(Found(doc.GetGlaze(1)).m_additions, 0).m_name, "Magnesite");
    EXPECT_EQ(ApplySubstitution(doc, 1, substitution, 1), 1) << "and back";
    ASSERT_GE(Found(doc.GetGlaze(1)).m_additions.GetCount(), 1);
    EXPECT_EQ(RecordAt(Found(doc.GetGlaze(1)).m_additions, 0).m_name, "Whiting");

    // A recipe by volume is substituted by weight: 2 dl of whiting at 90 g/dl are 180 g of
    // magnesite, 6 dl at 30 g/dl. While magnesite has no density the recipe stays as it was, and
    // the answer names it.
    CGlaze measured("Measured");
    measured.m_byVol = 1;
    measured.m_components.Add("Whiting", 2.0);
    doc.InsertGlaze(2, measured);
    materials.Materials().FindMaterial(std::string_view("Whiting"))->m_density = 90.0;
    std::vector<std::string> noDensity;
    EXPECT_EQ(ApplySubstitution(doc, 2, substitution, 0, &noDensity), -1);
    EXPECT_EQ(noDensity, std::vector<std::string>{"Magnesite"});
    EXPECT_EQ(RecordAt(Found(doc.GetGlaze(2)).m_components, 0).m_amount, 2.0);
    materials.Materials().FindMaterial(std::string_view("Magnesite"))->m_density = 30.0;
    EXPECT_EQ(ApplySubstitution(doc, 2, substitution, 0), 1);
    EXPECT_NEAR(RecordAt(Found(doc.GetGlaze(2)).m_components, 0).m_amount, 6.0, 1e-12);

    // Nothing to replace: the answer is 0; no such glaze: 0, and the database stays as it was.
    EXPECT_EQ(ApplySubstitution(doc, 0, substitution, 0), 0);
    doc.SetModifiedFlag(false);
    EXPECT_EQ(ApplySubstitution(doc, 3, substitution, 0), 0);
    EXPECT_FALSE(doc.IsModified());

    // Nothing to replace leaves the lines of one material as they are, by volume too (silica 1
    // and 0.5 dl, and 0.25 and 0.25 dl), and the database unmodified; by volume too a change in
    // the additions alone counts, and merges them as the substitution merges its lines.
    materials.Materials().FindMaterial(std::string_view("Silica"))->m_density = 100.0;
    CGlaze doubled("Doubled");
    doubled.m_byVol = 1;
    doubled.m_components.Add("Silica", 1.0);
    doubled.m_components.Add("silica", 0.5);
    doubled.m_additions.Add("Silica", 0.25);
    doubled.m_additions.Add("SILICA", 0.25);
    doc.InsertGlaze(3, doubled);
    doc.SetModifiedFlag(false);
    EXPECT_EQ(ApplySubstitution(doc, 3, substitution, 0), 0);
    EXPECT_FALSE(doc.IsModified());
    using Lines = std::vector<std::pair<std::string, double>>;
    const auto lines = [](const CIngredientList& list) {
        Lines found;
        for (const auto& line : list)
            found.emplace_back(line->m_name, line->m_amount);
        return found;
    };
    CGlaze& merged = Found(doc.GetGlaze(3));
    EXPECT_EQ(lines(merged.m_components), (Lines{{"Silica", 1.0}, {"silica", 0.5}}));
    EXPECT_EQ(lines(merged.m_additions), (Lines{{"Silica", 0.25}, {"SILICA", 0.25}}));
    merged.m_additions.Add("Whiting", 2.0);
    EXPECT_EQ(ApplySubstitution(doc, 3, substitution, 0), 1);
    EXPECT_EQ(lines(merged.m_additions), (Lines{{"Silica", 0.5}, {"Magnesite", 6.0}}));
}

} // namespace
