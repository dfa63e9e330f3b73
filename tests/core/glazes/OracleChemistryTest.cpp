// Compares our glaze chemistry with the analyses that a public glaze database computed for its
// own recipes: fired weight percentages, loss on ignition and mole percentages. The data stands
// beside the checkout and is read in place; without it the test skips.

#include "GlazeAnalysisTestSupport.h"
#include "TestPaths.h"
#include "elements/ElementTable.h"
#include "support/NumberText.h"
#include "support/TextHelpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <string>
#include <vector>

namespace {

const std::string kDataDir = std::string(OXI_ORACLE_DIR) + "/glazy/";

struct SIngredientRow {
    std::string id;
    std::string percentage; // as written
    bool additional = false;
};

// One record of the recipe or material file: what the test needs of it.
struct SRecord {
    std::string id;
    std::string name;
    std::vector<SIngredientRow> ingredients;
    std::vector<std::pair<std::string, std::string>> analysis; // oxide (or LOI), value as written
};

std::size_t IndentOf(const std::string& line)
{
    const std::size_t first = line.find_first_not_of(' ');
    return first == std::string::npos ? line.size() : first;
}

// "key: value" without the indent; the value loses its single quotes.
bool SplitKeyValue(const std::string& text, std::string& key, std::string& value)
{
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos)
        return false;
    key = text.substr(0, colon);
    value = colon + 1 < text.size() ? text.substr(colon + 1) : std::string();
    TrimString(value);
    if (value.size() >= 2 && value.front() == '\'' && value.back() == '\'')
        value = value.substr(1, value.size() - 2);
    return true;
}

// The list of records of one file: "-" at the margin starts a record; its keys stand two blanks
// in; "Ingredients" holds "-" items at four blanks with fields at six; "Percent Analysis" holds
// oxide values at four blanks. Everything else is skipped.
std::vector<SRecord> ReadRecords(const std::string& path)
{
    std::vector<SRecord> records;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    std::string section;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::size_t indent = IndentOf(line);
        const std::string text = line.substr(indent);
        if (indent == 0 && text == "-") {
            records.emplace_back();
            continue;
        }
        if (records.empty())
            continue;
        SRecord& record = records.back();
        std::string key;
        std::string value;
        if (indent == 4 && text == "-" && section == "Ingredients") {
            record.ingredients.emplace_back();
        } else if (!SplitKeyValue(text, key, value)) {
            continue;
        } else if (indent == 2) {
            section = key;
            if (key == "ID")
                record.id = value;
            else if (key == "Name")
                record.name = value;
        } else if (indent == 4 && section == "Percent Analysis") {
            record.analysis.emplace_back(key, value);
        } else if (indent == 6 && section == "Ingredients" && !record.ingredients.empty()) {
            SIngredientRow& row = record.ingredients.back();
            if (key == "ID")
                row.id = value;
            else if (key == "Percentage")
                row.percentage = value;
            else if (key == "Additional")
                row.additional = value == "true";
        }
    }
    return records;
}

// The cells of one CSV line; a quoted cell may hold commas and doubled quotes.
std::vector<std::string> SplitCsvLine(const std::string& line)
{
    std::vector<std::string> cells(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"')
            cells.back() += line[++i];
        else if (c == '"')
            quoted = !quoted;
        else if (c == ',' && !quoted)
            cells.emplace_back();
        else
            cells.back() += c;
    }
    return cells;
}

// Mole percentages by recipe id and column name (`<oxide>_percent_mol`).
std::map<std::string, std::map<std::string, double>> ReadMolePercentages(const std::string& path)
{
    std::map<std::string, std::map<std::string, double>> rows;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    std::vector<std::string> header;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::vector<std::string> cells = SplitCsvLine(line);
        if (header.empty()) {
            header = cells;
            continue;
        }
        auto& row = rows[cells[0]];
        for (std::size_t i = 0; i < cells.size() && i < header.size(); ++i) {
            const std::string& column = header[i];
            const std::string suffix = "_percent_mol";
            if (column.size() > suffix.size() && column.ends_with(suffix))
                row[column.substr(0, column.size() - suffix.size())] = ParseDouble(cells[i]);
        }
    }
    return rows;
}

// Element number of an oxide text of the element table, or -1.
int ElementOfOxide(const std::string& oxide)
{
    const CElementRecord* table = GetElementTable();
    for (int z = 1; z < kElementCount; ++z)
        if (table[z].oxide == oxide)
            return z;
    return -1;
}

// The largest difference seen, with where it was seen.
struct SWorst {
    double difference = 0.0;
    std::string where;
    void Note(double d, const std::string& at)
    {
        if (d > difference) {
            difference = d;
            where = at;
        }
    }
    std::string Text() const { return FormatDoubleFixed(difference, 5) + " (" + where + ")"; }
};

class OracleChemistryTest : public GlazeChemistryTestBase {
protected:
    void SetUp() override
    {
        if (!std::filesystem::exists(kDataDir + "glazy-20260227-sample-recipes.yaml"))
            GTEST_SKIP() << "outside reference data not present: " << kDataDir;
        g_prefs.anchadd = 1;
    }

    // Each material as a percent-by-weight formula of its analysis, loss on ignition included,
    // named by its id.
    void AddMaterials(const std::vector<SRecord>& materials)
    {
        for (const SRecord& material : materials) {
            std::string formula = "%";
            for (const auto& [oxide, value] : material.analysis) {
                if (ParseDouble(value) > 0.0)
                    formula += "  " + value + " " + oxide;
            }
            AddMaterial(material.id, formula);
        }
    }

    static CGlaze MakeRecipe(const SRecord& recipe)
    {
        CGlaze glaze(recipe.name);
        for (const SIngredientRow& row : recipe.ingredients)
            (row.additional ? glaze.m_additions : glaze.m_components).Add(row.id, ParseDouble(row.percentage));
        return glaze;
    }
};

TEST_F(OracleChemistryTest, SampleRecipesMatchTheOutsideAnalyses)
{
    const std::vector<SRecord> materials = ReadRecords(kDataDir + "glazy-20260227-sample-materials.yaml");
    const std::vector<SRecord> recipes = ReadRecords(kDataDir + "glazy-20260227-sample-recipes.yaml");
    const auto molePercentages = ReadMolePercentages(kDataDir + "glazy-20201210-glazes-molpct-sample.csv");
    ASSERT_GE(materials.size(), 100u);
    ASSERT_GE(recipes.size(), 200u);
    AddMaterials(materials);

    SWorst weight, loi, mole;
    int moleRecipes = 0;
    for (const SRecord& recipe : recipes) {
        const std::string label = recipe.id + " " + recipe.name;
        CGlaze glaze = MakeRecipe(recipe);
        const CGlazeAnalysis& a = glaze.GetAnalysis();
        ASSERT_TRUE(a.IsValid()) << label;

        // Fired weight percentages: the raw analysis over the oxides that remain.
        double outsideLoi = 0.0;
        std::vector<double> expected(kElementCount, 0.0);
        for (const auto& [oxide, value] : recipe.analysis) {
            if (oxide == "LOI") {
                outsideLoi = ParseDouble(value);
                continue;
            }
            const int z = ElementOfOxide(oxide);
            ASSERT_GE(z, 1) << label << ": " << oxide;
            expected[z] = ParseDouble(value);
        }
        for (int z = 1; z < kElementCount; ++z) {
            const double ours = a.weightFraction[z] * 100.0;
            const double theirs = expected[z] / (100.0 - outsideLoi) * 100.0;
            EXPECT_NEAR(ours, theirs, 0.03) << label << ": weight % of " << GetElementTable()[z].oxide;
            weight.Note(std::fabs(ours - theirs), label + " " + GetElementTable()[z].oxide);
        }
        EXPECT_NEAR(a.loiFraction * 100.0, outsideLoi, 0.01) << label;
        loi.Note(std::fabs(a.loiFraction * 100.0 - outsideLoi), label);

        const auto row = molePercentages.find(recipe.id);
        if (row == molePercentages.end())
            continue;
        ++moleRecipes;
        for (const auto& [oxide, value] : row->second) {
            if (oxide == "KNaO")
                continue; // potassium and sodium again
            const int z = ElementOfOxide(oxide);
            const double ours = z >= 1 ? a.moleFraction[z] * 100.0 : 0.0;
            EXPECT_NEAR(ours, value, 0.01) << label << ": mole % of " << oxide;
            mole.Note(std::fabs(ours - value), label + " " + oxide);
        }
    }
    EXPECT_GE(moleRecipes, 150);
    std::cout << "[ oracle   ] " << recipes.size() << " recipes, " << moleRecipes
              << " with mole percentages\n[ oracle   ] worst weight %: " << weight.Text()
              << "\n[ oracle   ] worst LOI %: " << loi.Text() << "\n[ oracle   ] worst mole %: " << mole.Text()
              << "\n";
}

} // namespace
