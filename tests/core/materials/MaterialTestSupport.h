#pragma once

// Shared set-up of the material tests: fresh program globals, formula amounts written with a
// chosen number of decimals, and a record made from a formula text.

#include "materials/Material.h"
#include "shell/AppContext.h"
#include "shell/Preferences.h"

#include <gtest/gtest.h>

#include <string>

class MaterialTestBase : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_prefs.decformulas = 2;
        g_prefs.tzsformulas = -1;
    }

    // A record whose formula must parse.
    static CMaterial Parsed(const std::string& formula)
    {
        CMaterial material("test");
        std::string error;
        int position = -1;
        EXPECT_EQ(material.SetFormula(formula, &error, &position), 0) << formula << ": " << error;
        return material;
    }

    CAppContext m_context;
};
