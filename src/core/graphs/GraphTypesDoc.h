#pragma once

// The graph-templates document: the one graph-template database of the running program.
//
// It owns the database (templates, name, information lines, colour lists) in .grt files. Three
// kinds of view share it: the list view, the template editors and the graph views.
// g_pGraphTypesDoc points at it while it lives. The file, the editors, the list operations and
// their notices (kind 6, graph templates) are those of every record database
// (RecordDatabaseDoc.h).
//
// A file that cannot be opened or read leaves, after a message, a database without templates (a
// failed read also resets the information lines and the colours), no path and an empty profile
// value as it was, so the next start tries the user's file again. The list window is never closed while the
// program runs: closing it minimises it.

#include "graphs/GraphTemplateClipboard.h"
#include "graphs/GraphTemplateDatabase.h"
#include "records/RecordDatabaseDocOf.h"

#include <iosfwd>
#include <span>
#include <string>

class CGraphTypesDoc;

// Commands of the graph-templates document (menu texts in the comments).
enum GraphTypesDocCommand : unsigned {
    CmdNewGraphTypeDb = 33100,    // "&New Graph Template Database"
    CmdOpenGraphTypeDb = 33101,   // "&Open Graph Template Database..."
    CmdSaveGraphTypeDb = 33102,   // "&Save Graph Template Database"
    CmdSaveGraphTypeDbAs = 33103, // "Save &As..."
    CmdRevertGraphTypeDb = 33104, // "&Revert To Saved"
};

// The document template's string: only the window title.
inline constexpr const char* kGraphTypesDocString = "Graph Templates\n\n\n\n\n\n";
// The open and save dialogs' filter.
inline constexpr const char* kGraphTemplateFileFilter = "Graph Template Files (*.grt)|*.grt|All Files (*.*)|*.*||";

// Help contexts of the document's messages.
inline constexpr unsigned kGraphTypesOpenErrorHelpId = 0x30119;
inline constexpr unsigned kGraphTypesReadErrorHelpId = 0x30120;
inline constexpr unsigned kGraphTypesBackupQuestionHelpId = 0x30121;
inline constexpr unsigned kGraphTypesWriteErrorHelpId = 0x30122;

// What the document asks of one template editor: the record edit link of every kind.
using CGraphTypeEditLink = CRecordEditLink;

// What the document asks of one graph view.
class CGraphViewLink {
public:
    virtual ~CGraphViewLink() = default;
    // The database template the view draws, or null.
    virtual const CGraphTemplate* GetShownTemplate() const = 0;
};

// The editors and graph views of the user interface, as the document tells them apart from the
// list view. The user interface installs one; without one every view is the list view. Graph
// views close like any window.
class CGraphTemplateViews : public CRecordEditViewsOf<CGraphTypesDoc> {
public:
    // The view as a template editor (a graph view), or null when it is another kind of view.
    CGraphTypeEditLink* AsEditView(CView* view) override = 0;
    virtual CGraphViewLink* AsGraphView(CView* view) = 0;
    bool ClosesFreely(CView* view) final { return AsGraphView(view) != nullptr; }
};

inline CGraphTemplateViews* GetGraphTemplateViews()
{
    return static_cast<CGraphTemplateViews*>(GetRecordEditViews(DbFileType::GraphTemplates));
}
inline void SetGraphTemplateViews(CGraphTemplateViews* views)
{
    SetRecordEditViews(DbFileType::GraphTemplates, views);
}

using CGraphTemplateAccess = CNamedListAccess<CGraphTemplateDatabase, CGraphTemplate,
                                              &CGraphTemplateDatabase::m_templates, &CGraphTemplateDatabase::m_name>;

class CGraphTypesDoc : public CRecordDatabaseDocOf<CGraphTemplateAccess> {
public:
    // No templates, the name "Graph Templates", the default colours; sets g_pGraphTypesDoc and
    // registers the singleton.
    CGraphTypesDoc();
    // Clears g_pGraphTypesDoc and the registration (only where they still point here).
    ~CGraphTypesDoc() override;

    CGraphTemplateDatabase& Database() { return m_records; }
    const CGraphTemplateDatabase& Database() const { return m_records; }

    // --- record operations: each marks the document modified ---

    void RemoveTemplate(int i) { RemoveRecord(i); }
    // Inserts a copy before i.
    void InsertTemplate(int i, const CGraphTemplate& graphTemplate) { InsertRecord(i, graphTemplate); }
    void SetTemplate(int i, const CGraphTemplate& graphTemplate) { SetRecord(i, graphTemplate); }
    // The colours dialog's result: both colour lists.
    void SetColorLists(const CMaterialTypeColorList& materialTypes, const COxideColorList& oxides);

    // --- views ---

    // The first editor of this document on template n, else null.
    CView* FindEditView(int n) const;
    // The first graph view of this document that draws the template, else null.
    CView* FindGraphView(const CGraphTemplate* graphTemplate) const;

    // The summary lines (GraphTemplateSummary.h) of graphTemplate, or when it is null of the
    // templates at positions (those out of range skipped), with the current print preferences.
    void WriteGraphTemplateSummary(std::ostream& out, std::span<const int> positions,
                                   const CGraphTemplate* graphTemplate) const;

    // A new template draws the oxides of the glaze being edited: one data source,
    // "[current glaze]".
    CGraphTemplate NewRecord() const override;

protected:
    // Open empties the templates and keeps the name, information lines and colours until the
    // file is read; New keeps them too.
    void ResetRecords() override { m_records.m_templates.clear(); }
    CGraphTemplateDatabase& Clipboard() const override { return g_graphTemplateClipboard; }
};

// The one graph-templates document, or null when none exists.
extern CGraphTypesDoc* g_pGraphTypesDoc;
