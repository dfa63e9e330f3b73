// The checks of the preferences' lists: the column letters here, the element lists and oxide
// lists through the chemistry handed in. Every read of the preferences file runs them, and the
// preference dialogs apply them to their fields.

#include "shell/Preferences.h"
#include "support/CompareNoCase.h"

#include <algorithm>
#include <array>

namespace {

int HasCharacterOutside(const std::string& text, const char* allowed)
{
    return text.find_first_not_of(allowed) == std::string::npos ? 0 : 1;
}

const char* const kValidationMessages[] = {
    "Error in 'matshort' (list of columns in Material List Normal view)",
    "Error in 'matext1' (list of columns in Material List Extended view 1)",
    "Error in 'matext2' (list of columns in Material List Extended view 2)",
    "Error in 'matext3' (list of columns in Material List Extended view 3)",
    "Error in 'mattab' (list of elements in Material List Table view)",
    "Error in 'glzshort' (list of columns in Glaze List Normal view)",
    "Error in 'glzext1' (list of columns in Glaze List Extended view 1)",
    "Error in 'glzext2' (list of columns in Glaze List Extended view 2)",
    "Error in 'glzext3' (list of columns in Glaze List Extended view 3)",
    "Error in 'glztab' (list of elements in Glaze List Table view)",
    "Error in 'sugord' (list of elements in Batch Calculation Oxide Suggestion Order)",
    "Error in 'formedcol1' (Formula Edit dialog first column)",
    "Error in 'formedcol2' (Formula Edit dialog second column)",
    "Error in 'formedcol3' (Formula Edit dialog third column)",
    "Error in 'formedcol4' (Formula Edit dialog fourth column)",
    "Error in 'optimizecol1' (Optimize dialog first column)",
    "Error in 'optimizecol2' (Optimize dialog second column)",
    "Error in 'optimizecol3' (Optimize dialog third column)",
    "Error in 'optimizecol4' (Optimize dialog fourth column)",
};

} // namespace

int IsBadMaterialColumnList(const std::string& text)
{
    return HasCharacterOutside(text, kMaterialColumnLetters);
}

int IsBadGlazeColumnList(const std::string& text)
{
    return HasCharacterOutside(text, kGlazeColumnLetters);
}

std::string CPreferences::ValidationMessage(int n)
{
    constexpr int count = static_cast<int>(std::size(kValidationMessages));
    return n >= 1 && n <= count ? kValidationMessages[n - 1] : std::string();
}

int CPreferences::Validate(const CPreferenceListChecks& checks)
{
    if (m_nVersion == 1) {
        for (std::string* columns : {&matshort, &matext1, &matext2, &matext3, &glzshort, &glzext1, &glzext2, &glzext3})
            *columns = UpperCaseAscii(*columns);
    }
    const std::array<bool, 19> bad = {
        IsBadMaterialColumnList(matshort) != 0, IsBadMaterialColumnList(matext1) != 0,
        IsBadMaterialColumnList(matext2) != 0, IsBadMaterialColumnList(matext3) != 0,
        checks.IsBadElementList(mattab, true, true) != 0,
        IsBadGlazeColumnList(glzshort) != 0, IsBadGlazeColumnList(glzext1) != 0,
        IsBadGlazeColumnList(glzext2) != 0, IsBadGlazeColumnList(glzext3) != 0,
        checks.IsBadElementList(glztab, false, true) != 0,
        checks.IsBadElementList(sugord, false, false) != 0,
        checks.IsBadOxideList(formedcol1) != 0, checks.IsBadOxideList(formedcol2) != 0,
        checks.IsBadOxideList(formedcol3) != 0, checks.IsBadOxideList(formedcol4) != 0,
        checks.IsBadElementList(optimizecol1, true, true) != 0, checks.IsBadElementList(optimizecol2, true, true) != 0,
        checks.IsBadElementList(optimizecol3, true, true) != 0, checks.IsBadElementList(optimizecol4, true, true) != 0,
    };
    const auto first = std::find(bad.begin(), bad.end(), true);
    return first == bad.end() ? 0 : static_cast<int>(first - bad.begin()) + 1;
}
