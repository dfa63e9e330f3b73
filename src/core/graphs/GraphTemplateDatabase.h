#pragma once

// The graph-template database: the templates in the user's order, the database's name and
// information lines, and the two colour lists every chart shares. The graph-templates document
// owns one; the graph-template clipboard is another.
//
// The database is also the reading context of its .grt file (GraphTemplateFile.cpp): the reader
// appends templates (records), material-type colours (items) and oxide colours (sub-items) and
// fills the last one of each; data sources go to the last template's last data source.

#include "graphs/GraphColorLists.h"
#include "graphs/GraphTemplate.h"
#include "support/NamedItemList.h"
#include "support/ParamFile.h"
#include "support/StringArrayEx.h"

#include <iosfwd>
#include <string>
#include <string_view>

// The name of a new database, and of the graph-template clipboard.
inline constexpr const char* kDefaultGraphTemplateDbName = "Graph Templates";
// The "filetype" of a .grt file.
inline constexpr const char* kGraphTemplateFileType = "Oxidarium Graph Templates";

class CGraphTemplateDatabase : public CParamFileContext {
public:
    // No templates, named "Graph Templates", both colour lists at their defaults.
    CGraphTemplateDatabase();
    CGraphTemplateDatabase(const CGraphTemplateDatabase&) = delete;
    CGraphTemplateDatabase& operator=(const CGraphTemplateDatabase&) = delete;

    int GetCount() const { return m_templates.GetCount(); }
    // Valid indexes only.
    CGraphTemplate& GetAt(int i) { return *m_templates[static_cast<std::size_t>(i)]; }
    const CGraphTemplate& GetAt(int i) const { return *m_templates[static_cast<std::size_t>(i)]; }

    // Indexes outside the list (0..count for an insert) do nothing. Reordering goes through
    // m_templates (SwapItems, MoveItem, SortByName).
    void RemoveAt(int i) { m_templates.RemoveAt(i); }
    // Inserts a copy of graphTemplate before i.
    void InsertAt(int i, const CGraphTemplate& graphTemplate) { m_templates.InsertCopy(i, graphTemplate); }
    // Assigns graphTemplate to the template at i.
    void SetAt(int i, const CGraphTemplate& graphTemplate) { m_templates.AssignAt(i, graphTemplate); }
    // The position of the template itself (by identity), or -1.
    int IndexOf(const CGraphTemplate* graphTemplate) const { return m_templates.IndexOf(graphTemplate); }
    // The first template of that name, ignoring case, or null.
    CGraphTemplate* FindByName(std::string_view name) { return m_templates.FindByName(name); }

    // The template after the given one (wrapping round, the given one tested last; an absent or
    // null one starts at the first) that is offered on the glaze edit view's Analysis page
    // (glzedan), or Limit Formula page (glzedlf). When none is, the given template when it is
    // in the database, else null.
    const CGraphTemplate* NextAnalysisTemplate(const CGraphTemplate* graphTemplate) const;
    const CGraphTemplate* NextLimitTemplate(const CGraphTemplate* graphTemplate) const;

    // No templates, no information lines, default colours; the name becomes "Graph Templates".
    void Reset();

    // The .grt file. Read empties the templates, information lines and colour lists, then reads;
    // the name and version keep their values unless the file sets them. It returns 0, or the
    // reader's error code with the message in m_errorText, and then leaves no templates, no
    // information lines and the default colours. Write returns 0, or 1 when the stream failed.
    int Read(std::istream& in);
    int Write(std::ostream& out) const;

    // The reader's view of the record being read: the last template, material-type colour and
    // oxide colour, and the last data source of the last template.
    bool NoCurrentRecord() const override { return m_templates.empty(); }
    bool NoCurrentItem() const override { return m_materialTypeColors.empty(); }
    std::string DescribeCurrentRecord() const override;
    bool NoCurrentSubItem() const { return m_oxideColors.empty(); }
    bool NoCurrentDataSource() const { return NoCurrentRecord() || m_templates.back()->m_dataSources.empty(); }
    CGraphTemplate& CurrentRecord() { return *m_templates.back(); }
    CMaterialTypeColor& CurrentItem() { return m_materialTypeColors.back(); }
    COxideColor& CurrentSubItem() { return m_oxideColors.back(); }
    CGraphDataSource& CurrentDataSource() { return *CurrentRecord().m_dataSources.back(); }

    CNamedItemList<CGraphTemplate> m_templates;
    std::string m_name = kDefaultGraphTemplateDbName; // dbname
    CStringArrayEx m_infoLines;                       // I
    CMaterialTypeColorList m_materialTypeColors;
    COxideColorList m_oxideColors;
    int m_version = 0; // the version of the last file read
};
