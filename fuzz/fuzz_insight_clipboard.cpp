// A recipe pasted from Insight's clipboard: the title line names the scope, the other lines are
// the ingredients. Every line comes out trimmed, and splitting an entire recipe over the present
// additions keeps every line exactly once.

#include "FuzzFiles.h"
#include "glazes/InsightImport.h"
#include "glazes/IngredientList.h"
#include "support/CompareNoCase.h"
#include "support/StringArrayEx.h"

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

namespace {

bool IsTrimmed(const std::string& text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    return text.empty() || (!blank(text.front()) && !blank(text.back()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string title;
    CStringArrayEx lines;
    const int scope = ReadInsightClipboardRecipe(text, title, lines);
    FuzzCheck(IsTrimmed(title));
    CIngredientList received;
    CIngredientList present;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        FuzzCheck(IsTrimmed(lines[i]));
        received.Add(lines[i], static_cast<double>(i));
        if (i % 3 == 1)
            present.Add(lines[i], 0.0);
    }
    CIngredientList components;
    CIngredientList additions;
    SplitInsightRecipe(received, present, components, additions);
    FuzzCheck(components.GetCount() + additions.GetCount() == received.GetCount());
    for (int i = 0; i < additions.GetCount(); ++i) {
        bool named = false;
        for (int j = 0; j < present.GetCount() && !named; ++j)
            named = EqualsNoCase(additions.GetAt(i).m_name, present.GetAt(j).m_name);
        FuzzCheck(named);
    }

    // The recipe written back for Insight reads to the same scope and line count.
    std::ostringstream out;
    FuzzCheck(WriteInsightClipboardRecipe(out, "fuzz", scope, components, additions) == 0);
    std::string titleAgain;
    CStringArrayEx linesAgain;
    ReadInsightClipboardRecipe(out.str(), titleAgain, linesAgain);
    return 0;
}
