// The calculator's suggestions and the recipe so far: Use Material, Undo Last Material and Make
// Suggestion.

#include "tools/BatchCalculator.h"

#include "materials/MaterialArray.h"
#include "support/NumberFormat.h"
#include "support/NumberText.h"
#include "support/TextHelpers.h"

namespace {

constexpr int kSodium = 11;
constexpr int kPotassium = 19;

} // namespace

// --- suggestions ----------------------------------------------------------------------------------

int CBatchCalculator::SuggestionElement(int e) const
{
    if (!IsValidElementNumber(e))
        return -1;
    if (m_combineKNa && (e == kSodium || e == kPotassium))
        e = 0;
    const double remainder = m_remainders[static_cast<std::size_t>(e)];
    // Nothing is suggested for less than one amount step's worth of the oxide.
    if (!(remainder > PowerOfTen(-g_prefs.decremainders))
        || PowerOfTen(-g_prefs.decrecipeinput) > remainder * GetElementTable()[e].oxideMW)
        return -1;
    return e;
}

bool CBatchCalculator::MaySuggest(const CMaterial& material, int e, const std::vector<char>& suggested,
                                  int index) const
{
    return !suggested[static_cast<std::size_t>(index)] && material.m_atoms[static_cast<std::size_t>(e)] > 0.0
           && (material.m_available != 0 || g_prefs.sugunav != 0);
}

void CBatchCalculator::AddSuggestion(const CMaterial& material, int z, double amount)
{
    m_suggestions.Add(material.m_name + " (" + GetElementTable()[z].oxide + ")", amount);
}

void CBatchCalculator::SplitSuggestion(const std::string& suggestion, std::string& name, std::string& oxide)
{
    const std::size_t open = suggestion.rfind(" (");
    name = suggestion.substr(0, open);
    oxide = open == std::string::npos ? std::string() : suggestion.substr(open + 1);
}

void CBatchCalculator::SelectSuggestion(int i)
{
    if (!m_suggestions.IsValidIndex(i))
        return;
    const CIngredient suggestion = m_suggestions.GetAt(i);
    std::string name;
    std::string oxide;
    SplitSuggestion(suggestion.m_name, name, oxide);
    SelectMaterial(name);
    AnalyseAmount(suggestion.m_amount, nullptr);
}

void CBatchCalculator::ComputeSuggestions()
{
    m_suggestions.clear();
    CMaterialArray* materials = Materials();
    if (!materials || materials->GetCount() == 0 || m_suggestionOrder[0] < 0)
        return;
    std::vector<char> suggested(static_cast<std::size_t>(materials->GetCount()), 0);
    for (int entry : m_suggestionOrder) {
        if (entry < 0)
            break;
        if (!m_suggestions.empty() && !g_prefs.sugextend)
            break;
        const int e = SuggestionElement(entry);
        if (e < 0)
            continue;
        if (g_prefs.sugtol > 0.0)
            SuggestWithTolerance(e, suggested);
        else
            SuggestPassOne(e, suggested);
        if (g_prefs.sugmulti)
            SuggestPassTwo(e, suggested);
    }
}

// Materials whose limiting amount also meets oxide e, named after e.
void CBatchCalculator::SuggestPassOne(int e, std::vector<char>& suggested)
{
    CMaterialArray& materials = *Materials();
    const double remainder = m_remainders[static_cast<std::size_t>(e)];
    for (int i = 0; i < materials.GetCount(); ++i) {
        const CMaterial& material = *materials.GetAt(i);
        if (!MaySuggest(material, e, suggested, i))
            continue;
        int limiter = -1;
        const double amount = LimitingAmount(material, &limiter);
        if (!(amount > 0.0))
            continue;
        if (remainder - amount * OxideMolesPerUnit(material, e) < PowerOfTen(-g_prefs.decremainders)) {
            AddSuggestion(material, e, amount);
            suggested[static_cast<std::size_t>(i)] = 1;
        }
    }
}

// Materials held back by another oxide before they meet e, named after that oxide.
void CBatchCalculator::SuggestPassTwo(int e, std::vector<char>& suggested)
{
    CMaterialArray& materials = *Materials();
    const double remainder = m_remainders[static_cast<std::size_t>(e)];
    for (int i = 0; i < materials.GetCount(); ++i) {
        const CMaterial& material = *materials.GetAt(i);
        if (!MaySuggest(material, e, suggested, i))
            continue;
        int limiter = -1;
        const double amount = LimitingAmount(material, &limiter);
        if (!(amount > 0.0))
            continue;
        if (remainder - amount * OxideMolesPerUnit(material, e) >= PowerOfTen(-g_prefs.decremainders)) {
            AddSuggestion(material, limiter, amount);
            suggested[static_cast<std::size_t>(i)] = 1;
        }
    }
}

// Materials that meet oxide e while bringing no more than the tolerated share of oxides that
// are not wanted (or wanted less).
void CBatchCalculator::SuggestWithTolerance(int e, std::vector<char>& suggested)
{
    CMaterialArray& materials = *Materials();
    for (int i = 0; i < materials.GetCount(); ++i) {
        const CMaterial& material = *materials.GetAt(i);
        if (!MaySuggest(material, e, suggested, i))
            continue;
        const double amount = RoundedAmount(Need(e, material), e, material);
        if (!(amount > 0.0))
            continue;
        if (UndesiredShare(material, amount) <= g_prefs.sugtol) {
            AddSuggestion(material, e, amount);
            suggested[static_cast<std::size_t>(i)] = 1;
        }
    }
}

double CBatchCalculator::UndesiredShare(const CMaterial& material, double amount) const
{
    const CElementRecord* table = GetElementTable();
    double excess = 0.0;
    double useful = 0.0;
    for (int z = 0; z < kElementCount; ++z) {
        if (!IsCounted(z) || !(material.m_atoms[static_cast<std::size_t>(z)] > 0.0))
            continue;
        double provided = OxideMolesPerUnit(material, z) * amount;
        double wanted = m_remainders[static_cast<std::size_t>(z)];
        if (g_prefs.sugtoltyp == 1) {
            provided *= table[z].oxideMW;
            wanted *= table[z].oxideMW;
        }
        if (provided > wanted) {
            excess += provided - wanted;
            provided = wanted;
        }
        useful += provided;
    }
    if (excess + useful == 0.0)
        excess = 1.0;
    const double whole = excess + useful;
    // A whole that is not positive (only with malformed oxide weights) cannot be judged: the
    // material counts as all undesired.
    if (!(whole > 0.0))
        return 100.0;
    return excess * 100.0 / whole;
}

void CBatchCalculator::RecomputeSuggestions()
{
    m_suggestionCursor = 0;
    ComputeSuggestions();
}

void CBatchCalculator::MakeSuggestion()
{
    if (m_suggestions.empty()) {
        SelectMaterial("");
        return;
    }
    if (m_suggestionCursor < 0 || m_suggestionCursor >= m_suggestions.GetCount())
        m_suggestionCursor = 0;
    SelectSuggestion(m_suggestionCursor);
    ++m_suggestionCursor;
}

// --- the recipe so far ----------------------------------------------------------------------------

std::string CBatchCalculator::FormatRecipeBoxLine(const CIngredient& line)
{
    std::string number = FormatNumberWidth(line.m_amount, 4, g_prefs.decrecipeinput);
    StripTrailingZeros(number, g_prefs.tzsrecipeinput);
    return line.m_name + "\t" + GetLeadingWhitespace(number) + number + "\r\n";
}

void CBatchCalculator::RebuildRecipeBox()
{
    m_recipeBoxText.clear();
    for (const auto& line : m_recipe)
        m_recipeBoxText += FormatRecipeBoxLine(*line);
}

bool CBatchCalculator::UseMaterial()
{
    std::string name = m_materialText;
    TrimString(name);
    // The amount the user typed counts only when all of it is a number.
    double amount = 0.0;
    ReadNumberText(m_amountText, amount);
    if (name.empty() || !(amount > 0.0))
        return false;
    m_recipe.Add(name, amount);
    m_recipeBoxText += FormatRecipeBoxLine(m_recipe.GetAt(m_recipe.GetCount() - 1));
    SubtractMaterial(name, amount);
    ShowRemainders();
    SelectMaterial("");
    RecomputeSuggestions();
    return true;
}

void CBatchCalculator::UndoLastMaterial()
{
    if (m_recipe.empty())
        return;
    const CIngredient last = m_recipe.GetAt(m_recipe.GetCount() - 1);
    m_recipe.RemoveAt(m_recipe.GetCount() - 1);
    RebuildRecipeBox();
    RecomputeRemainders();
    SelectMaterial(last.m_name);
    AnalyseAmount(last.m_amount, nullptr);
    RecomputeSuggestions();
}
