#pragma once

// Shared set-up of the glaze chemistry tests: fresh program globals, an open materials database
// priced per kilogram, materials made from formula texts and glazes made from recipe lines.

#include "glazes/Glaze.h"
#include "glazes/GlazeAnalysis.h"
#include "materials/MaterialsDoc.h"
#include "shell/AppContext.h"
#include "shell/Preferences.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>

class GlazeChemistryTestBase : public ::testing::Test {
protected:
    GlazeChemistryTestBase() { m_doc.Materials().m_costUnit = CMaterialArray::kCostPerKilogram; }

    // An available material whose formula must parse.
    CMaterial& AddMaterial(const std::string& name, const std::string& formula, double price = 0.0,
                           double density = 0.0)
    {
        CMaterial material(name);
        std::string error;
        EXPECT_EQ(material.SetFormula(formula, &error), 0) << formula << ": " << error;
        material.m_available = 1;
        material.m_costPerLb = price;
        material.m_density = density;
        CMaterialArray& database = m_doc.Materials();
        database.InsertCopy(database.GetCount(), material);
        return *database.GetAt(database.GetCount() - 1);
    }

    using Lines = std::initializer_list<std::pair<const char*, double>>;

    static CGlaze MakeGlaze(Lines components, Lines additions = {}, const std::string& range = "")
    {
        CGlaze glaze("test glaze");
        for (const auto& [name, amount] : components)
            glaze.m_components.Add(name, amount);
        for (const auto& [name, amount] : additions)
            glaze.m_additions.Add(name, amount);
        glaze.SetField(kGlazeFieldRange, range);
        return glaze;
    }

    CAppContext m_context;
    CMaterialsDoc m_doc;
};
