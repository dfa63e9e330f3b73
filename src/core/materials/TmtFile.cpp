// The TMT state machine and the TMT writer.

#include "materials/TmtFile.h"

#include "elements/ElementTable.h"
#include "materials/FormulaConversion.h"
#include "materials/Material.h"
#include "materials/MaterialArray.h"
#include "materials/MaterialsDoc.h"
#include "shell/Preferences.h"
#include "support/CompareNoCase.h"
#include "support/NumberFormat.h"
#include "support/NumberText.h"
#include "support/ParamFile.h"
#include "support/TextHelpers.h"

#include <cmath>
#include <ostream>
#include <vector>

namespace {

// A price per kilogram becomes a price per pound with this factor, and back with the other.
constexpr double kKilogramsPerPound = 0.4535970244035199;
constexpr double kPoundsPerKilogram = 2.2046;
// The first lines of a TMT text are short; a longer one means lines that were not split.
constexpr std::size_t kLongestFirstLine = 200;
constexpr int kCheckedFirstLines = 3;
// Elements that a written file defines and lists (103 is left out, as Insight's table ends there).
constexpr int kLastWrittenElement = 102;
constexpr int kMainRoles = kRoleAlkali | kRoleNeutral | kRoleAcid;
// An oxide below this many moles per gram is not written.
constexpr double kSmallestWrittenAtoms = 0.000005;

// The number that follows a key's prefix ("Property12" -> 12; none -> 0).
int NumberAfter(const std::string& key, std::size_t prefixLength)
{
    return ParseInt(std::string_view(key).substr(prefixLength));
}

std::size_t LengthWithoutCarriageReturn(const std::string& line)
{
    return !line.empty() && line.back() == '\r' ? line.size() - 1 : line.size();
}

} // namespace

// --- name tables ----------------------------------------------------------------------------------

void CTmtNameTable::Set(int index, const std::string& name)
{
    if (index >= 0)
        m_names[index] = name;
}

const std::string& CTmtNameTable::Get(int index) const
{
    static const std::string empty;
    const auto found = m_names.find(index);
    return found == m_names.end() ? empty : found->second;
}

// --- reading --------------------------------------------------------------------------------------

CTmtReader::CTmtReader(CMaterialArray& target, int* roles, double* expansions, bool costPerPound)
    : m_target(target), m_roles(roles), m_expansions(expansions), m_costPerPound(costPerPound)
{
}

CTmtReader::~CTmtReader() = default;

int CTmtReader::Fail(const char* text)
{
    m_errorText = text;
    return 1;
}

int CTmtReader::ReadLine(std::string line)
{
    ++m_lineCount;
    if (m_lineCount <= kCheckedFirstLines && LengthWithoutCarriageReturn(line) > kLongestFirstLine)
        return Fail(": File does not have proper line termination");
    TrimBuffer(line);
    if (line.empty())
        return 0;
    if (m_state == State::Signature) {
        if (EqualsNoCase(line, "5.0TMT"))
            m_state = State::Between;
        return 0;
    }
    if (line[0] == '<')
        return ReadSectionLine(line);
    if (m_state == State::Between)
        return 0;

    char* key = nullptr;
    char* value = nullptr;
    if (SplitParameterLine(line.data(), &key, &value) != 0)
        return Fail(": Parse error");
    // A NUL byte ends the line's text early, after blanks the trimming above did not see.
    std::string valueText(value);
    TrimBufferRight(valueText);
    switch (m_state) {
    case State::Header: ReadHeaderKey(key, valueText); return 0;
    case State::Oxide: ReadOxideKey(key, valueText); return 0;
    case State::Material: ReadMaterialKey(key, valueText); return 0;
    default: return Fail(": (Internal state error)");
    }
}

int CTmtReader::Finish()
{
    return EndSection();
}

int CTmtReader::EndSection()
{
    const State ended = m_state;
    if (m_state != State::Signature)
        m_state = State::Between;
    return ended == State::Material ? FinishMaterial() : 0;
}

int CTmtReader::ReadSectionLine(const std::string& line)
{
    if (int rc = EndSection())
        return rc;
    if (EqualsNoCase(line, "<Header>")) {
        m_state = State::Header;
    } else if (EqualsNoCase(line, "<Oxide>")) {
        m_state = State::Oxide;
        m_element = 0;
    } else if (EqualsNoCase(line, "<Material>")) {
        m_state = State::Material;
        m_material = std::make_unique<CMaterial>("TMT material");
        m_formula.clear();
        m_weight.clear();
    }
    return 0;
}

void CTmtReader::ReadHeaderKey(const std::string& key, const std::string& value)
{
    if (StartsWithNoCase(key, "OxideProperty")) {
        m_oxideProperties.Set(NumberAfter(key, 13), value);
    } else if (StartsWithNoCase(key, "Unity") && key.size() >= 10 && key[5] >= '0' && key[5] <= '9' &&
               StartsWithNoCase(key.substr(6), "Name")) {
        m_unityGroups.Set(key[5] - '0', value);
    } else if (StartsWithNoCase(key, "RecipeProperty")) {
        m_materialProperties.Set(NumberAfter(key, 14), value);
    } else if (StartsWithNoCase(key, "MaterialType")) {
        m_materialTypes.Set(NumberAfter(key, 12), value);
    }
}

void CTmtReader::ReadOxideKey(const std::string& key, const std::string& value)
{
    if (EqualsNoCase(key, "Name")) {
        m_oxideNames[UpperCaseAscii(value)] = value;
        const CElementRecord* table = GetElementTable();
        for (int z = 1; z < kElementCount; ++z) {
            if (table[z].oxide == value) {
                m_element = z;
                m_roles[z] = kRoleAcid; // every named oxide starts as an acid
                break;
            }
        }
    } else if (StartsWithNoCase(key, "Property")) {
        const int property = NumberAfter(key, 8);
        if (m_element == 0 || !m_oxideProperties.Has(property) || !EqualsNoCase(m_oxideProperties.Get(property), "expan"))
            return;
        // A value near the double limit would overflow to infinity: the element keeps its own.
        const double expansion = ParseDouble(value) * 10.0;
        if (std::isfinite(expansion))
            m_expansions[m_element] = expansion;
    } else if (StartsWithNoCase(key, "Unity")) {
        if (m_element == 0 || !EqualsNoCase(value, "Yes"))
            return;
        const std::string& group = m_unityGroups.Get(NumberAfter(key, 5));
        if (EqualsNoCase(group, "RO"))
            m_roles[m_element] = kRoleAlkali;
        else if (EqualsNoCase(group, "R2O3"))
            m_roles[m_element] = kRoleNeutral;
    }
}

void CTmtReader::ReadMaterialKey(const std::string& key, const std::string& value)
{
    if (EqualsNoCase(key, "Name")) {
        m_material->SetField(1, value); // the name, as a look-up key
    } else if (EqualsNoCase(key, "Weight")) {
        m_weight = value;
    } else if (EqualsNoCase(key, "Type")) {
        const int type = ParseInt(value);
        if (type >= 0 && type < m_materialTypes.Size())
            m_material->m_type = m_materialTypes.Get(type);
    } else if (StartsWithNoCase(key, "Property")) {
        if (!EqualsNoCase(m_materialProperties.Get(NumberAfter(key, 8)), "cost/kg"))
            return;
        const double cost = ParseDouble(value) * (m_costPerPound ? kKilogramsPerPound : 1.0);
        if (cost > 0.0)
            m_material->m_costPerLb = cost;
    } else if (const auto oxide = m_oxideNames.find(UpperCaseAscii(key)); oxide != m_oxideNames.end() && !value.empty()) {
        // The oxide is written as its definition spells it: a key in other capitals ("al2o3")
        // would not read back as a formula.
        std::string amount = value;
        StripTrailingZerosAll(amount);
        if (!m_formula.empty())
            m_formula += "  ";
        m_formula += amount + " " + oxide->second;
    }
}

int CTmtReader::FinishMaterial()
{
    std::unique_ptr<CMaterial> material = std::move(m_material);
    if (!material)
        return Fail(": (Internal state error)");
    if (material->SetFormula(m_formula) != 0)
        return Fail(": Bad material formula");
    // The file's weight holds what the oxides do not show (water, carbonate); it is kept as a
    // forced weight. A missing or unreadable weight forces nothing, and a weight the oxides
    // cannot reach leaves the plain formula.
    const double weight = ParseDouble(m_weight);
    if (!m_formula.empty() && IsNumberText(m_weight) && weight > 0.0 &&
        RoundToPowerOfTen(material->m_formulaWeight - weight, -3) != 0.0) {
        if (material->SetFormula("[MW=" + m_weight + "] " + m_formula) != 0)
            material->SetFormula(m_formula);
    }
    m_target.InsertCopy(m_target.GetCount(), *material);
    return 0;
}

// --- writing --------------------------------------------------------------------------------------

namespace {

// Every line is one "key=value" line: a name holding a line break stays on it.
void WriteLine(std::ostream& out, const std::string& text)
{
    out << OneLineValue(text) << std::endl;
}

void WriteOxideDefinitions(std::ostream& out)
{
    const CElementRecord* table = GetElementTable();
    WriteLine(out, "<Oxide Definitions>");
    for (int role : {kRoleAlkali, kRoleNeutral, kRoleAcid}) {
        for (int z = 1; z <= kLastWrittenElement; ++z) {
            const CElementRecord& element = table[z];
            if (!(element.role & role))
                continue;
            WriteLine(out, "<Oxide>");
            WriteLine(out, " Name=" + element.oxide);
            WriteLine(out, " Weight=" + FormatFixed(element.oxideMW, 5));
            // An unknown coefficient is left out rather than written as a value.
            if (element.expansion != -999.0)
                WriteLine(out, " Property1=" + FormatFixed(element.expansion * 0.1, 3));
            WriteLine(out, std::string(" Unity1=") + (role == kRoleAlkali ? "Yes" : "No"));
            WriteLine(out, std::string(" Unity2=") + (role == kRoleNeutral ? "Yes" : "No"));
            WriteLine(out, std::string(" Ratio1=") + (z == 13 ? "B" : z == 14 ? "T" : "N"));
            WriteLine(out, std::string(" Ratio2=") + (z == 13 ? "B" : (z == 14 || z == 5) ? "T" : "N"));
        }
    }
}

void WriteMaterial(std::ostream& out, const CMaterial& record, const CStringArrayEx& types, bool perPound)
{
    CMaterial material(record);
    if (!material.m_isMolecular)
        ConvertFormulaToUnity(material, kUnityOnAlkalis, kDefaultLoiOxide);
    const double weight = material.m_formulaWeight;
    int type = 1;
    for (std::size_t i = 0; i < types.size(); ++i) {
        if (EqualsNoCase(types[i], material.m_type)) {
            type = static_cast<int>(i) + 1;
            break;
        }
    }
    WriteLine(out, "<Material>");
    WriteLine(out, " Name=" + material.m_name);
    const bool forced = material.m_hasForcedMW && material.m_forcedMW != 0.0;
    WriteLine(out, " Weight=" + (forced ? material.m_forcedMWText : FormatFixed(weight, 3)));
    WriteLine(out, " Type=" + std::to_string(type));
    WriteLine(out, " Property1=" + FormatFixed(material.m_costPerLb * (perPound ? kPoundsPerKilogram : 1.0), 2));
    const CElementRecord* table = GetElementTable();
    for (int z = 1; z <= kLastWrittenElement; ++z) {
        const double atoms = material.m_atoms[static_cast<std::size_t>(z)];
        if (!(table[z].role & kMainRoles) || !(atoms > kSmallestWrittenAtoms))
            continue;
        WriteLine(out, " " + table[z].oxide + "=" + FormatFixed(DivideByCationCount(weight * atoms, table[z].ncat), 5));
    }
}

} // namespace

void WriteTmtFile(std::ostream& out, const CMaterialArray& materials, std::span<const int> indices)
{
    std::vector<const CMaterial*> chosen;
    for (int index : indices) {
        if (const CMaterial* material = materials.GetAt(index))
            chosen.push_back(material);
    }
    CStringArrayEx types = g_prefs.mattyp;
    for (const CMaterial* material : chosen) {
        bool known = false;
        for (const std::string& type : types)
            known = known || EqualsNoCase(type, material->m_type);
        if (!known)
            types.push_back(material->m_type);
    }

    for (const char* line : {" 5.0TMT", "<Header>", " Ratio1Name=Si:Al", " Ratio2Name=SiB:Al", " Unity1Name=RO",
                             " Unity2Name=R2O3", " OxideProperty1=Expan", " RecipeProperty1=Cost/kg"})
        WriteLine(out, line);
    WriteLine(out, " Rows=" + std::to_string(chosen.size()));
    for (std::size_t i = 0; i < types.size(); ++i)
        WriteLine(out, " MaterialType" + std::to_string(i + 1) + "=" + types[i]);
    WriteOxideDefinitions(out);
    WriteLine(out, "<Material Definitions>");
    const bool perPound = materials.m_costUnit == CMaterialArray::kCostPerPound;
    for (const CMaterial* material : chosen)
        WriteMaterial(out, *material, types, perPound);
    WriteLine(out, "<EOF>");
}

void WriteTmtFile(std::ostream& out, std::span<const int> indices)
{
    if (g_pMaterialsDoc)
        WriteTmtFile(out, g_pMaterialsDoc->Materials(), indices);
}
