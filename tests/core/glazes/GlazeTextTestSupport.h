#pragma once

// Shared set-up of the glaze import and export tests: fresh program globals, scripted message
// boxes and clipboard, a materials database holding "Silica" (so that a line "silica" comes back
// in the database's spelling), a scratch directory and helpers for glazes and fixture files.

#include "glazes/GlazeList.h"
#include "core/support/CheckedItems.h"
#include "materials/MaterialsDoc.h"
#include "shell/AppContext.h"
#include "core/shell/FakeMessageService.h"
#include "core/support/FakeServices.h"
#include "TestPaths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <unistd.h>
#include <utility>

class GlazeTextTest : public ::testing::Test {
protected:
    using Lines = std::initializer_list<std::pair<const char*, double>>;

    void SetUp() override
    {
        m_dir = std::filesystem::temp_directory_path() /
                ("oxi-glztext-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
        CMaterialArray& materials = m_materials.Materials();
        materials.InsertCopy(0, CMaterial("Silica"));
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    static std::string Fixture(const std::string& name)
    {
        return std::string(OXI_TEST_DATA_DIR) + "/glazes/" + name;
    }

    // Writes bytes into the scratch directory; returns the path.
    std::string WriteFile(const std::string& name, const std::string& bytes) const
    {
        const std::string path = (m_dir / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    static std::string ReadFile(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    static void ExpectLines(const CIngredientList& list, Lines expected)
    {
        ASSERT_EQ(list.GetCount(), static_cast<int>(expected.size()));
        int i = 0;
        for (const auto& [name, amount] : expected) {
            EXPECT_EQ(RecordAt(list, i).m_name, name);
            EXPECT_DOUBLE_EQ(RecordAt(list, i).m_amount, amount) << name;
            ++i;
        }
    }

    static CGlaze MakeGlaze(const std::string& name, Lines components, Lines additions = {})
    {
        CGlaze glaze(name);
        for (const auto& [material, amount] : components)
            glaze.m_components.Add(material, amount);
        for (const auto& [material, amount] : additions)
            glaze.m_additions.Add(material, amount);
        return glaze;
    }

    static void Append(CGlazeList& list, const CGlaze& glaze) { list.InsertCopyAt(list.GetCount(), glaze); }

    CAppContext m_context;
    CFakeMessageService m_messages;
    CFakeClipboard m_clipboard;
    CMaterialsDoc m_materials;
    std::filesystem::path m_dir;
};
