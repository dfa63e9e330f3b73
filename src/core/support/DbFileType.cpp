#include "support/DbFileType.h"

namespace {

char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    }
    return true;
}

} // namespace

const char* DbFileTypeText(DbFileType kind)
{
    switch (kind) {
    case DbFileType::Elements: return "Oxidarium Elements";
    case DbFileType::Materials: return "Oxidarium Materials";
    case DbFileType::Substitutions: return "Oxidarium Substitutions";
    case DbFileType::LimitFormulas: return "Oxidarium Limit Formulas";
    case DbFileType::Glazes: return "Oxidarium Glazes";
    case DbFileType::GraphTemplates: return "Oxidarium Graph Templates";
    case DbFileType::DbTreeItems: return "Oxidarium Database Tree Items";
    case DbFileType::TextFile: return "Text File";
    case DbFileType::Preferences: return "Oxidarium Preferences";
    case DbFileType::Unknown: break;
    }
    return "";
}

DbFileType DbFileTypeFromText(std::string_view text)
{
    // The order in which the header probe has always compared the texts.
    static constexpr DbFileType kOrder[] = {
        DbFileType::Glazes,      DbFileType::Materials,      DbFileType::Substitutions,
        DbFileType::LimitFormulas, DbFileType::Elements,     DbFileType::GraphTemplates,
        DbFileType::Preferences, DbFileType::DbTreeItems,    DbFileType::TextFile,
    };
    for (const DbFileType kind : kOrder) {
        if (EqualsIgnoringCase(text, DbFileTypeText(kind)))
            return kind;
    }
    return DbFileType::Unknown;
}
