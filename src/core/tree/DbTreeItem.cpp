#include "tree/DbTreeItem.h"

#include "support/CompareNoCase.h"
#include "support/PathHelpers.h"
#include "support/TextHelpers.h"

#include <ostream>
#include <utility>

namespace {

constexpr const char* kDbTreeFileType = "Oxidarium Database Tree Items";

// The extensions in the order they are matched when an entry is read.
constexpr std::pair<const char*, DbTreeItemType> kExtensionOrder[] = {
    {"ele", DbTreeItemType::Elements},      {"mat", DbTreeItemType::Materials},
    {"sub", DbTreeItemType::Substitutions}, {"glz", DbTreeItemType::Glazes},
    {"lim", DbTreeItemType::LimitFormulas}, {"txt", DbTreeItemType::TextFile},
    {"grt", DbTreeItemType::GraphTemplates},
};

CDbTreeItemList& List(CParamFileContext* context)
{
    return *static_cast<CDbTreeItemList*>(context);
}

int OnName(CParamFileContext* context, const char*, const void* value)
{
    CDbTreeItemList& list = List(context);
    if (const int result = list.CheckLastRecord(); result != 0)
        return result;
    auto item = std::make_unique<CDbTreeItem>();
    item->path = ParamText(value);
    list.m_records.push_back(std::move(item));
    return 0;
}

int OnTitle(CParamFileContext* context, const char*, const void* value)
{
    CDbTreeItemList& list = List(context);
    if (list.NoCurrentRecord())
        return -1;
    list.CurrentRecord().title = ParamText(value);
    return 0;
}

int OnType(CParamFileContext* context, const char*, const void* value)
{
    CDbTreeItemList& list = List(context);
    if (list.NoCurrentRecord())
        return -1;
    list.CurrentRecord().SetTypeFromExtension(ParamText(value));
    return 0;
}

int OnFileType(CParamFileContext* context, const char*, const void* value)
{
    if (EqualsNoCase(ParamText(value), kDbTreeFileType))
        return 0;
    List(context).m_errorText = std::string("Incorrect file type: ") + ParamText(value);
    return 1;
}

int OnVersion(CParamFileContext* context, const char*, const void* value)
{
    List(context).version = ParamInt(value);
    return 0;
}

int OnEnd(CParamFileContext* context, const char*, const void*)
{
    return List(context).CheckLastRecord();
}

ParamDesc s_dbTreeKeys[] = {
    {"name", 's', OnName, 0, 0, 0, 0},
    {"title", 's', OnTitle, 0, 0, 0, 0},
    // An item's last line; the items follow each other without blank lines.
    {"type", 's', OnType, PF_ENDS_FILE, 0, 0, 0},
    {"filetype", 's', OnFileType, PF_REQUIRED | PF_ONCE, 0, 0, 0},
    {"version", 'i', OnVersion, PF_REQUIRED | PF_ONCE | PF_MIN_INCL | PF_MAX_INCL, 1, 2, 0},
    {nullptr, 0, OnEnd, 0, 0, 0, 0},
};

bool InRange(int index, std::size_t count)
{
    return index >= 0 && static_cast<std::size_t>(index) < count;
}

} // namespace

const char* DbTreeItemTypeText(DbTreeItemType type)
{
    switch (type) {
    case DbTreeItemType::Elements: return "ele";
    case DbTreeItemType::Materials: return "mat";
    case DbTreeItemType::Substitutions: return "sub";
    case DbTreeItemType::LimitFormulas: return "lim";
    case DbTreeItemType::Glazes: return "glz";
    case DbTreeItemType::TextFile: return "txt";
    case DbTreeItemType::GraphTemplates: return "grt";
    case DbTreeItemType::Unknown: break;
    }
    return "unknown";
}

std::optional<DbTreeItemType> DbTreeItemTypeFromFileType(DbFileType kind)
{
    switch (kind) {
    case DbFileType::Elements: return DbTreeItemType::Elements;
    case DbFileType::Materials: return DbTreeItemType::Materials;
    case DbFileType::Substitutions: return DbTreeItemType::Substitutions;
    case DbFileType::LimitFormulas: return DbTreeItemType::LimitFormulas;
    case DbFileType::Glazes: return DbTreeItemType::Glazes;
    case DbFileType::GraphTemplates: return DbTreeItemType::GraphTemplates;
    case DbFileType::TextFile: return DbTreeItemType::TextFile;
    case DbFileType::Unknown:
    case DbFileType::DbTreeItems:
    case DbFileType::Preferences: break;
    }
    return std::nullopt;
}

DbFileType DbFileTypeFromTreeItemType(DbTreeItemType type)
{
    switch (type) {
    case DbTreeItemType::Elements: return DbFileType::Elements;
    case DbTreeItemType::Materials: return DbFileType::Materials;
    case DbTreeItemType::Substitutions: return DbFileType::Substitutions;
    case DbTreeItemType::LimitFormulas: return DbFileType::LimitFormulas;
    case DbTreeItemType::Glazes: return DbFileType::Glazes;
    case DbTreeItemType::TextFile: return DbFileType::TextFile;
    case DbTreeItemType::GraphTemplates: return DbFileType::GraphTemplates;
    case DbTreeItemType::Unknown: break;
    }
    return DbFileType::Unknown;
}

void CDbTreeItem::SetTypeFromExtension(std::string_view text)
{
    typeText.assign(text);
    type = DbTreeItemType::Unknown;
    for (const auto& [extension, kind] : kExtensionOrder) {
        if (EqualsNoCase(text, extension)) {
            type = kind;
            return;
        }
    }
}

void CDbTreeItem::SetTypeCode(DbTreeItemType code)
{
    type = code;
    typeText = DbTreeItemTypeText(code);
}

CDbTreeItem* CDbTreeItemList::GetAt(int index)
{
    return InRange(index, m_records.size()) ? m_records[static_cast<std::size_t>(index)].get() : nullptr;
}

const CDbTreeItem* CDbTreeItemList::GetAt(int index) const
{
    return InRange(index, m_records.size()) ? m_records[static_cast<std::size_t>(index)].get() : nullptr;
}

void CDbTreeItemList::InsertItem(int index, const CDbTreeItem& item)
{
    if (index < 0 || static_cast<std::size_t>(index) > m_records.size())
        return;
    m_records.insert(m_records.begin() + index, std::make_unique<CDbTreeItem>(item));
}

void CDbTreeItemList::SetItem(int index, const CDbTreeItem& item)
{
    CDbTreeItem* entry = GetAt(index);
    if (entry && entry != &item)
        *entry = item;
}

void CDbTreeItemList::RemoveItem(int index)
{
    if (InRange(index, m_records.size()))
        m_records.erase(m_records.begin() + index);
}

int CDbTreeItemList::FindByPath(std::string_view path) const
{
    for (std::size_t i = 0; i < m_records.size(); ++i) {
        if (IsSamePath(m_records[i]->path, path))
            return static_cast<int>(i);
    }
    return -1;
}

void CDbTreeItemList::Sort(bool byTitle)
{
    // A bubble sort that swaps only strictly greater neighbours: entries with equal keys keep
    // their order, which the user arranged.
    auto key = [byTitle](const std::unique_ptr<CDbTreeItem>& item) -> const std::string& {
        return byTitle ? item->title : item->path;
    };
    for (std::size_t end = m_records.size(); end > 1; --end) {
        bool swapped = false;
        for (std::size_t i = 0; i + 1 < end; ++i) {
            if (CompareNoCase(key(m_records[i]), key(m_records[i + 1])) > 0) {
                std::swap(m_records[i], m_records[i + 1]);
                swapped = true;
            }
        }
        if (!swapped)
            break;
    }
}

int CDbTreeItemList::Read(std::istream& in)
{
    Clear();
    version = 0;
    const int result = ParseParameterFile(m_errorText, in, s_dbTreeKeys, this, 0);
    if (result != 0)
        Clear();
    return result;
}

int CDbTreeItemList::Write(std::ostream& out) const
{
    out << "filetype = " << kDbTreeFileType << '\n' << std::flush;
    out << "version =  2\n" << std::flush;
    out << '\n' << std::flush;
    for (const auto& item : m_records) {
        // The tree takes no name with a line break; one that came in anyway stays on its line.
        out << "name  = " << OneLineValue(item->path) << '\n' << std::flush;
        out << "title = " << OneLineValue(item->title) << '\n' << std::flush;
        out << "type  = " << OneLineValue(item->typeText) << '\n' << std::flush;
    }
    return out.fail() ? 1 : 0;
}
