#include "materials/MaterialArray.h"

#include "core/support/CheckedItems.h"
#include "core/materials/MaterialTestSupport.h"
#include "core/shell/FakeMessageService.h"
#include "core/support/FakeServices.h"
#include "shell/OxidariumApp.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using ::testing::ElementsAre;

class MaterialArrayTest : public MaterialTestBase {
protected:
    // Appends a material; formula must parse (or be empty).
    CMaterial& Add(const std::string& name, const std::string& code = "", const std::string& formula = "")
    {
        CMaterial& m = m_db.AppendNewRecord(name);
        m.m_code = code;
        m.UpdateDisplayKey();
        EXPECT_EQ(m.SetFormula(formula), 0) << formula;
        return m;
    }
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const auto& m : m_db.Records())
            names.push_back(m->m_name);
        return names;
    }
    std::string Found(const std::string& text)
    {
        const CMaterial* m = m_db.FindMaterial(std::string_view(text));
        return m ? m->m_name : "<none>";
    }

    CMaterialArray m_db;
};

TEST_F(MaterialArrayTest, LookUpsByEveryKindOfKey)
{
    CMaterial& kaolin = Add("Kaolin", "EPK", "Al2O3 2SiO2 2H2O");
    kaolin.SetField(2, "China Clay");
    kaolin.SetField(4, "CC");
    kaolin.m_akaCodes.push_back("KC"); // a code without an other name stands for the material
    Add("Silica", "SIL", "SiO2");
    Add("Nepheline", "NS", "% 60 SiO2  24 Al2O3  16 Na2O");

    EXPECT_EQ(Found("kaolin"), "Kaolin");
    EXPECT_EQ(Found("epk"), "Kaolin");
    EXPECT_EQ(Found("CHINA CLAY"), "Kaolin");
    EXPECT_EQ(Found("cc"), "Kaolin");
    EXPECT_EQ(Found("Kc"), "Kaolin");
    EXPECT_EQ(Found("sio2"), "Silica");
    EXPECT_EQ(Found("al2o3 2sio2 2h2o"), "Kaolin");
    EXPECT_EQ(Found("% 60 SiO2  24 Al2O3  16 Na2O"), "<none>"); // % formulas are no keys
    EXPECT_EQ(Found(""), "<none>");
    EXPECT_EQ(Found("Silica (200 mesh)"), "Silica");
    EXPECT_EQ(Found("  Silica  (x)"), "<none>"); // leading blanks are kept

    // Canonical look-ups rewrite the text to the name (or the other name a code belongs to).
    std::string text = "epk";
    EXPECT_EQ(m_db.FindMaterial(text, true), m_db.GetAt(0));
    EXPECT_EQ(text, "Kaolin");
    text = "EPK   (washed)";
    m_db.FindMaterial(text, true);
    EXPECT_EQ(text, "Kaolin (washed)");
    text = "cc";
    m_db.FindMaterial(text, true);
    EXPECT_EQ(text, "China Clay");
    text = "kc";
    m_db.FindMaterial(text, true);
    EXPECT_EQ(text, "Kaolin");
    text = "sio2";
    m_db.FindMaterial(text, true);
    EXPECT_EQ(text, "Silica");
    text = "china clay";
    m_db.FindMaterial(text, true);
    EXPECT_EQ(text, "China Clay");
    text = "Unknown  (note)";
    EXPECT_EQ(m_db.FindMaterial(text, true), nullptr);
    EXPECT_EQ(text, "Unknown (note)");
    text = "EPK";
    m_db.FindMaterial(text, false);
    EXPECT_EQ(text, "EPK");
}

// Names, other names and codes never hold parentheses: Set Field brackets them as the edit form
// does, so the material is found by its own name. A name with parentheses that an older file
// holds is still found whole, and a mapping to it resolves.
TEST_F(MaterialArrayTest, KeysWithParentheses)
{
    Add("Silica", "SIL", "SiO2");
    Add("x");
    m_db.SetField(1, 1, "Feldspar (Custer)");
    m_db.SetField(1, 3, "F(C)");
    m_db.SetField(1, 2, "Custer (Soda)");
    m_db.SetField(1, 4, "(CS)");
    ASSERT_EQ(m_db.GetCount(), 2);
    const CMaterial& custer = RecordAt(m_db, 1);
    EXPECT_EQ(custer.m_name, "Feldspar [Custer]");
    EXPECT_EQ(custer.m_code, "F[C]");
    EXPECT_EQ(custer.m_akaNames, (CStringArrayEx{"Custer [Soda]"}));
    EXPECT_EQ(custer.m_akaCodes, (CStringArrayEx{"[CS]"}));
    EXPECT_EQ(custer.m_displayKey, "F[C]\tFeldspar [Custer]");
    for (const char* key : {"Feldspar [Custer]", "f[c]", "Custer [Soda]", "[cs]", "Feldspar [Custer] (fine)"})
        EXPECT_EQ(Found(key), "Feldspar [Custer]") << key;

    RecordAt(m_db, 1).m_name = "Old (1998)";
    m_db.InvalidateIndex();
    EXPECT_EQ(Found("old (1998)"), "Old (1998)");
    EXPECT_EQ(Found("Silica (200 mesh)"), "Silica");
    std::string text = "OLD (1998)";
    m_db.FindMaterial(text, true);
    EXPECT_EQ(text, "Old (1998)");
    Add("Mapped").m_mapTo = "Old (1998)";
    int status = -1;
    EXPECT_EQ(m_db.ResolveMapping(m_db.GetAt(2), &status), m_db.GetAt(1));
    EXPECT_EQ(status, MappingOk);
}

// The index copies its keys: changing a key through the collection must not leave look-ups
// finding the old key or missing the new one.
TEST_F(MaterialArrayTest, EveryChangeOfAKeyRebuildsTheIndex)
{
    Add("Whiting", "WH", "CaCO3");
    Add("Talc", "", "3MgO 4SiO2 H2O");
    EXPECT_EQ(Found("whiting"), "Whiting");
    EXPECT_TRUE(m_db.IsIndexValid());

    m_db.SetField(0, 1, "Calcium Carbonate");
    EXPECT_FALSE(m_db.IsIndexValid());
    EXPECT_EQ(Found("whiting"), "<none>");
    EXPECT_EQ(Found("calcium carbonate"), "Calcium Carbonate");
    m_db.SetField(0, 3, "CC");
    EXPECT_EQ(Found("WH"), "<none>");
    EXPECT_EQ(Found("cc"), "Calcium Carbonate");
    m_db.SetField(1, 2, "Steatite");
    EXPECT_EQ(Found("steatite"), "Talc");
    m_db.SetField(1, 4, "ST");
    EXPECT_EQ(Found("st"), "Talc");
    m_db.SetField(1, 10, "MgO");
    EXPECT_EQ(Found("mgo"), "Talc");
    EXPECT_EQ(Found("3MgO 4SiO2 H2O"), "<none>");
    m_db.SetField(1, 6, "flux"); // not a key: the index stays
    EXPECT_TRUE(m_db.IsIndexValid());

    // Replacing and reordering move keys to other positions.
    CMaterial feldspar("Feldspar");
    m_db.ReplaceAt(0, feldspar);
    EXPECT_EQ(Found("cc"), "<none>");
    EXPECT_EQ(Found("feldspar"), "Feldspar");
    m_db.Swap(0, 1);
    EXPECT_EQ(m_db.FindMaterial(std::string_view("feldspar")), m_db.GetAt(1));
    m_db.RemoveAt(0);
    EXPECT_EQ(Found("talc"), "<none>");
    EXPECT_EQ(m_db.FindMaterial(std::string_view("feldspar")), m_db.GetAt(0));

    // A formula that no longer parses after a change of the element table loses its key (and
    // its analysis) but keeps its text.
    Add("Magnesia", "", "MgO");
    EXPECT_EQ(Found("mgo"), "Magnesia");
    ASSERT_EQ(m_db.GetCount(), 2);
    RecordAt(m_db, 1).m_formula = "Xx9"; // as if the element table had changed under it
    m_db.ReparseFormulas();
    EXPECT_EQ(RecordAt(m_db, 1).m_formula, "Xx9");
    EXPECT_EQ(Found("mgo"), "<none>");
    EXPECT_EQ(Found("xx9"), "<none>");
}

// Regression (the monkey: a step of minutes): Glazes to Materials of a few thousand glazes
// appends a material for each and looks materials up for the next, and every append rebuilt the
// whole index. An appended material joins the index as it stands, with the answers a rebuild
// would give.
TEST_F(MaterialArrayTest, AMaterialAppendedJoinsTheIndexWithoutARebuild)
{
    Add("Whiting", "WH", "CaCO3");
    Add("Talc", "", "3MgO 4SiO2 H2O");
    for (int i = 0; i < 20; ++i)
        Add("Stain " + std::to_string(i * 7));
    ASSERT_EQ(Found("whiting"), "Whiting");
    int status = 99;
    std::string text = "ta";
    ASSERT_EQ(m_db.FindByPrefix(text, false, &status), m_db.GetAt(1)); // the tree is linked
    // Every key and the beginnings of each, by look-up and by prefix.
    const auto answers = [this] {
        std::vector<std::pair<const CMaterial*, int>> found;
        for (const auto& m : m_db.Records()) {
            for (std::size_t length = 1; length <= m->m_name.size(); ++length) {
                std::string prefix = m->m_name.substr(0, length);
                int prefixStatus = 0;
                found.emplace_back(m_db.FindByPrefix(prefix, false, &prefixStatus), prefixStatus);
            }
            found.emplace_back(m_db.FindMaterial(std::string_view(m->m_name)), 0);
        }
        return found;
    };

    CMaterial frit("Whiting Frit");
    frit.m_code = "WF";
    m_db.InsertCopy(m_db.GetCount(), frit);
    m_db.InsertCopy(m_db.GetCount(), CMaterial("whiting")); // the first in the database answers
    EXPECT_TRUE(m_db.IsIndexValid()) << "appending rebuilt nothing";
    EXPECT_EQ(m_db.FindMaterial(std::string_view("WHITING")), m_db.GetAt(0));
    EXPECT_EQ(Found("wf"), "Whiting Frit");
    text = "whiting f";
    EXPECT_EQ(m_db.FindByPrefix(text, false, &status), m_db.GetAt(22));
    const auto grown = answers();
    m_db.InvalidateIndex();
    EXPECT_EQ(answers(), grown) << "the answers of an index built anew";

    for (int i = 0; i < 40; ++i) // past the hash table's room
        m_db.InsertCopy(m_db.GetCount(), CMaterial("Glaze " + std::to_string(i)));
    EXPECT_TRUE(m_db.IsIndexValid());
    EXPECT_EQ(Found("glaze 39"), "Glaze 39");
    EXPECT_EQ(Found("talc"), "Talc");
    const auto regrown = answers();
    m_db.InvalidateIndex();
    EXPECT_EQ(answers(), regrown);
    // Inserting anywhere else moves materials: the index is built anew.
    m_db.InsertCopy(0, CMaterial("Alumina"));
    EXPECT_FALSE(m_db.IsIndexValid());
    EXPECT_EQ(m_db.FindMaterial(std::string_view("whiting")), m_db.GetAt(1));
}

TEST_F(MaterialArrayTest, PrefixLookUps)
{
    CMaterial& potash = Add("Potash Feldspar", "PF");
    potash.SetField(2, "Potassium Feldspar");
    Add("Soda Feldspar", "SF");
    Add("Silica");

    int status = 99;
    std::string text = "pot";
    EXPECT_EQ(m_db.FindByPrefix(text, true, &status), m_db.GetAt(0)); // name and alias: one material
    EXPECT_EQ(status, PrefixFound);
    EXPECT_TRUE(text == "Potash Feldspar" || text == "Potassium Feldspar") << text;
    text = "s";
    EXPECT_EQ(m_db.FindByPrefix(text, true, &status), nullptr);
    EXPECT_EQ(status, PrefixAmbiguous);
    EXPECT_EQ(text, "s");
    text = "si";
    EXPECT_EQ(m_db.FindByPrefix(text, false, &status), m_db.GetAt(2));
    EXPECT_EQ(text, "si");
    text = "sod (x)";
    EXPECT_EQ(m_db.FindByPrefix(text, true, &status), m_db.GetAt(1));
    EXPECT_EQ(text, "Soda Feldspar (x)");
    text = "";
    EXPECT_EQ(m_db.FindByPrefix(text, true, &status), nullptr);
    EXPECT_EQ(status, PrefixNone);
    text = "zz";
    EXPECT_EQ(m_db.FindByPrefix(text, true, &status), nullptr);
    EXPECT_EQ(status, PrefixNone);
}

TEST_F(MaterialArrayTest, MappingChains)
{
    // M0 -> M1 -> ... -> M19: 19 links resolve; M0 of a chain of 20 links does not.
    for (int i = 0; i < 21; ++i)
        Add("M" + std::to_string(i), "", i == 20 ? "SiO2" : "").m_mapTo = i < 20 ? "m" + std::to_string(i + 1) : "";
    int status = -1;
    EXPECT_EQ(m_db.ResolveMapping(m_db.GetAt(1), &status), m_db.GetAt(20));
    EXPECT_EQ(status, MappingOk);
    EXPECT_EQ(m_db.ResolveMapping(m_db.GetAt(0), &status), nullptr);
    EXPECT_EQ(status, MappingLoop);
    EXPECT_TRUE(m_db.MapsTo(m_db.GetAt(1), m_db.GetAt(20)));
    EXPECT_TRUE(m_db.MapsTo(m_db.GetAt(0), m_db.GetAt(20))); // the 20th look-up still counts
    ASSERT_EQ(m_db.GetCount(), 21);
    RecordAt(m_db, 20).m_mapTo = "M21";
    Add("M21");
    EXPECT_FALSE(m_db.MapsTo(m_db.GetAt(0), m_db.GetAt(21)));
    RecordAt(m_db, 20).m_mapTo.clear();
    EXPECT_TRUE(m_db.MapsTo(m_db.GetAt(0), m_db.GetAt(5)));
    EXPECT_EQ(m_db.ResolveMapping(m_db.GetAt(20), &status), m_db.GetAt(20)); // no mapping: itself

    m_db.ResetToDefaults();
    CMaterial& a = Add("A");
    Add("B").m_mapTo = "A";
    a.m_mapTo = "B";
    EXPECT_EQ(m_db.ResolveMapping(&a, &status), nullptr);
    EXPECT_EQ(status, MappingLoop);
    a.m_mapTo = "A";
    EXPECT_EQ(m_db.ResolveMapping(&a, &status), nullptr);
    EXPECT_EQ(status, MappingLoop);
    a.m_mapTo = "Nowhere";
    EXPECT_EQ(m_db.ResolveMapping(&a, &status), nullptr);
    EXPECT_EQ(status, MappingMissing);
    EXPECT_FALSE(m_db.MapsTo(&a, m_db.GetAt(1)));

    CMaterial& target = Add("Target", "", "CaCO3");
    target.m_density = 80.0;
    target.m_costPerLb = 0.3;
    target.m_available = 1;
    a.m_mapTo = "Target (any remark)";
    double density = -1;
    double cost = -1;
    int available = -1;
    std::string formula = "untouched";
    EXPECT_EQ(m_db.GetMappedValues(&a, &density, &cost, &available, &formula), MappingOk);
    EXPECT_EQ(density, 80.0);
    EXPECT_EQ(cost, 0.3);
    EXPECT_EQ(available, 1);
    EXPECT_EQ(formula, "CaCO3");
    a.m_mapTo = "Nowhere";
    density = -1;
    formula = "untouched";
    EXPECT_EQ(m_db.GetMappedValues(&a, &density, &cost, &available, &formula), MappingMissing);
    EXPECT_EQ(density, -1);
    EXPECT_EQ(formula, "untouched");
}

TEST_F(MaterialArrayTest, MoveInsertRemoveAndBadIndices)
{
    for (const char* name : {"A", "B", "C", "D", "E", "F"})
        Add(name);
    m_db.Move(2, 5);
    EXPECT_THAT(Names(), ElementsAre("A", "B", "D", "E", "C", "F"));
    m_db.Move(4, 4);
    m_db.Move(4, 6);
    EXPECT_THAT(Names(), ElementsAre("A", "B", "D", "E", "C", "F"));
    m_db.Move(5, 2);
    EXPECT_THAT(Names(), ElementsAre("A", "B", "F", "D", "E", "C"));

    m_db.InsertCopy(6, CMaterial("G"));
    m_db.InsertCopy(0, CMaterial("Z"));
    m_db.InsertCopy(9, CMaterial("bad"));
    m_db.InsertCopy(-1, CMaterial("bad"));
    EXPECT_THAT(Names(), ElementsAre("Z", "A", "B", "F", "D", "E", "C", "G"));
    m_db.RemoveAt(8);
    m_db.RemoveAt(-1);
    m_db.ReplaceAt(8, CMaterial("bad"));
    m_db.Swap(0, 8);
    m_db.RemoveAt(0);
    EXPECT_THAT(Names(), ElementsAre("A", "B", "F", "D", "E", "C", "G"));
    EXPECT_EQ(m_db.IndexOf(m_db.GetAt(3)), 3);
    EXPECT_EQ(m_db.IndexOf(nullptr), -1);
    CMaterial outsider("A");
    EXPECT_EQ(m_db.IndexOf(&outsider), -1);
    EXPECT_EQ(m_db.GetAt(7), nullptr);
}

TEST_F(MaterialArrayTest, SortOrders)
{
    auto add = [this](const char* name, double cost, double density, int available, const char* type) {
        CMaterial& m = Add(name);
        m.m_costPerLb = cost;
        m.m_density = density;
        m.m_available = available;
        m.m_type = type;
    };
    add("delta", 0.0, 5.0, 1, "clay");
    add("Alpha", 2.0, 0.0, 0, "silica");
    add("charlie", 1.0, 5.0, 1, "frit");
    add("bravo", 0.0, -1.0, 0, "clay");
    add("Echo", 1.0, 3.0, 0, "unknown type");

    m_db.Sort(7, 0); // "n$": priced ascending, ties by name, unknown costs last by name
    EXPECT_THAT(Names(), ElementsAre("charlie", "Echo", "Alpha", "bravo", "delta"));
    m_db.Sort(0, 0);
    EXPECT_THAT(Names(), ElementsAre("Alpha", "bravo", "charlie", "delta", "Echo"));
    m_db.Sort(6, 0); // "nd"
    EXPECT_THAT(Names(), ElementsAre("Echo", "charlie", "delta", "Alpha", "bravo"));
    m_db.Sort(2, 0); // "na": available first, by name
    EXPECT_THAT(Names(), ElementsAre("charlie", "delta", "Alpha", "bravo", "Echo"));
    m_db.Sort(3, 0); // "nta": available first, then by type order, then name
    EXPECT_THAT(Names(), ElementsAre("charlie", "delta", "bravo", "Alpha", "Echo"));
    m_db.Sort(99, 0);
    EXPECT_THAT(Names(), ElementsAre("charlie", "delta", "bravo", "Alpha", "Echo"));

    // "nW": the share of silica; records without oxides (no formula) last, by name.
    m_db.ResetToDefaults();
    Add("Silica", "", "SiO2");
    Add("Empty B");
    Add("Kaolin", "", "Al2O3 2SiO2 2H2O");
    Add("Empty A");
    Add("Whiting", "", "CaCO3");
    m_db.Sort(10, 500); // an oxide outside the table is silicon
    EXPECT_THAT(Names(), ElementsAre("Whiting", "Kaolin", "Silica", "Empty A", "Empty B"));
    m_db.Sort(9, 14); // "nV": LOI ascending
    EXPECT_THAT(Names(), ElementsAre("Empty A", "Empty B", "Silica", "Kaolin", "Whiting"));

    ASSERT_EQ(m_db.GetCount(), 5);
    RecordAt(m_db, 0).m_mapTo = "zz";
    RecordAt(m_db, 3).m_mapTo = "Aa";
    m_db.Sort(8, 0); // "nm": mapped first by target, unmapped by name
    EXPECT_THAT(Names(), ElementsAre("Kaolin", "Empty A", "Empty B", "Silica", "Whiting"));
}

TEST_F(MaterialArrayTest, ScalingAndBusyCursor)
{
    CFakeBusy busy;
    CMaterial& m = Add("A");
    m.m_costPerLb = 2.0;
    m.m_density = 10.0;
    EXPECT_EQ(Found("A"), "A");
    EXPECT_EQ(busy.begun, 1); // the index was built once
    m_db.ScaleCosts(2.2);
    m_db.ScaleDensities(0.5);
    EXPECT_DOUBLE_EQ(m.m_costPerLb, 4.4);
    EXPECT_DOUBLE_EQ(m.m_density, 5.0);
    EXPECT_EQ(Found("A"), "A");
    EXPECT_EQ(busy.begun, 1);
    EXPECT_EQ(busy.depth, 0);
}

class MaterialCheckTest : public MaterialArrayTest {
protected:
    CFakeMessageService m_messages;
    COxidariumApp m_app;
};

TEST_F(MaterialCheckTest, CheckDatabaseShowsEveryProblemInOrder)
{
    Add("A", "X", "SiO2");
    Add("B", "", "Al2O3");
    Add("MgO", "", "BaO");
    Add("C", "x", "CaO");  // code shared with A
    Add("M", "", "MgO");   // its formula is a key an earlier name finds
    Add("D").m_mapTo = "Nowhere";
    Add("E", "", "He2O").m_mapTo = "E";

    const auto flags = m_db.CheckDatabase();
    ASSERT_TRUE(flags.has_value());
    EXPECT_THAT(*flags, ElementsAre(1, 0, 1, 1, 1, 1, 1));
    EXPECT_THAT(m_messages.Texts(),
                ElementsAre("Materials \"A\" and \"C\" have an identical name or code",
                            "Materials \"MgO\" and \"M\" have an identical name or code", "No more duplicates found",
                            "Material \"D\" maps to a material not in the database", "Material \"E\" maps to a loop",
                            "No more bad mappings found", "Material \"D\" has no formula",
                            "No more invalid formulas found",
                            "Material \"E\" contains unexpected element He", "No more unexpected elements found"));
    ASSERT_EQ(m_messages.boxes.size(), 10u);
    EXPECT_EQ(m_messages.At(0).type, unsigned(MsgOkCancel | MsgIconExclamation));
    EXPECT_EQ(m_messages.At(0).helpId, 0x30202u);
    EXPECT_EQ(m_messages.At(2).type, unsigned(MsgOkCancel | MsgIconInformation));
    EXPECT_EQ(m_messages.At(2).helpId, 0x30204u);
    EXPECT_EQ(m_messages.At(3).helpId, 0x30205u);
    EXPECT_EQ(m_messages.At(5).helpId, 0x30207u);
    EXPECT_EQ(m_messages.At(6).helpId, 0x30208u);
    EXPECT_EQ(m_messages.At(7).helpId, 0x30211u);
    EXPECT_EQ(m_messages.At(8).helpId, 0x30212u);
    EXPECT_EQ(m_messages.At(9).helpId, 0x30214u);
}

TEST_F(MaterialCheckTest, CancelEndsTheCheck)
{
    Add("A", "X", "SiO2");
    Add("B", "x", "SiO2");
    m_messages.answers = {MsgResultCancel};
    EXPECT_FALSE(m_db.CheckDatabase().has_value());
    EXPECT_THAT(m_messages.Texts(), ElementsAre("Materials \"A\" and \"B\" have an identical name or code"));

    // Cancel in a closing box ends it too.
    m_messages.boxes.clear();
    m_messages.answers = {MsgResultOk, MsgResultOk, MsgResultCancel};
    ASSERT_EQ(m_db.GetCount(), 2);
    RecordAt(m_db, 1).m_code = "Y";
    m_db.InvalidateIndex();
    RecordAt(m_db, 1).SetFormula("He2O Fe2O3");
    EXPECT_FALSE(m_db.CheckDatabase().has_value());
    EXPECT_THAT(m_messages.Texts(),
                ElementsAre("All material names and codes are unique", "All material mappings are okay",
                            "All formulas are okay"));
}

TEST_F(MaterialCheckTest, CheckOfAnEmptyDatabase)
{
    const auto flags = m_db.CheckDatabase();
    ASSERT_TRUE(flags.has_value());
    EXPECT_TRUE(flags->empty());
    EXPECT_THAT(m_messages.Texts(), ElementsAre("All material names and codes are unique",
                                                "All material mappings are okay", "All formulas are okay",
                                                "No unexpected elements found"));
    EXPECT_EQ(m_messages.At(0).helpId, 0x30203u);
    EXPECT_EQ(m_messages.At(1).helpId, 0x30206u);
    EXPECT_EQ(m_messages.At(2).helpId, 0x30210u);
    EXPECT_EQ(m_messages.At(3).helpId, 0x30213u);

    // Two unexpected elements are listed in element order, plural.
    m_messages.boxes.clear();
    Add("Gas", "", "Ar He");
    m_db.CheckDatabase();
    EXPECT_THAT(m_messages.Texts(), ElementsAre("All material names and codes are unique",
                                                "All material mappings are okay", "All formulas are okay",
                                                "Material \"Gas\" contains unexpected elements He Ar",
                                                "No more unexpected elements found"));
}

} // namespace
