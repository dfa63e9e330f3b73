#include "graphs/GraphTypesDoc.h"

#include "framework/UpdateHint.h"
#include "graphs/GraphTemplateSummary.h"
#include "shell/Preferences.h"

CGraphTypesDoc* g_pGraphTypesDoc = nullptr;

namespace {

const CRecordDatabaseKind kGraphTemplatesKind = {
    .kind = DbFileType::GraphTemplates,
    .title = "Graph Templates",
    .profileKey = "GraphTypeDBFileName",
    .fileFilter = kGraphTemplateFileFilter,
    .defaultExtension = "grt",
    .openTitle = "Open GraphType Database...",
    .saveAsTitle = "GraphType Database Save As...",
    .newRecordName = "new graph template",
    .openDialogHelpId = 0,
    .saveDialogHelpId = 303,
    .openErrorHelpId = kGraphTypesOpenErrorHelpId,
    .readErrorHelpId = kGraphTypesReadErrorHelpId,
    .backupHelpId = kGraphTypesBackupQuestionHelpId,
    .writeErrorHelpId = kGraphTypesWriteErrorHelpId,
    .hints = {HintGraphTemplateChanged, HintGraphTemplatesInserted, HintGraphTemplatesDeleted,
              HintGraphTemplatesReordered, HintGraphTemplatesReplaced},
    .commands = {CmdNewGraphTypeDb, CmdOpenGraphTypeDb, CmdSaveGraphTypeDb, CmdSaveGraphTypeDbAs,
                 CmdRevertGraphTypeDb},
    .mergeOpenErrorHelpId = 0x31111,
    .shiftDownAnnouncesOldRow = true,
};

CGraphTemplateViews* Views()
{
    return GetGraphTemplateViews();
}

} // namespace

CGraphTypesDoc::CGraphTypesDoc() : CRecordDatabaseDocOf(kGraphTemplatesKind)
{
    g_pGraphTypesDoc = this;
}

CGraphTypesDoc::~CGraphTypesDoc()
{
    if (g_pGraphTypesDoc == this)
        g_pGraphTypesDoc = nullptr;
}

CGraphTemplate CGraphTypesDoc::NewRecord() const
{
    CGraphTemplate graphTemplate(Kind().newRecordName);
    CGraphDataSource source("new data source");
    source.m_name = "[current glaze]";
    graphTemplate.m_dataSources.InsertAt(0, source);
    return graphTemplate;
}

void CGraphTypesDoc::SetColorLists(const CMaterialTypeColorList& materialTypes, const COxideColorList& oxides)
{
    m_records.m_materialTypeColors = materialTypes;
    m_records.m_oxideColors = oxides;
    SetModifiedFlag();
}

void CGraphTypesDoc::WriteGraphTemplateSummary(std::ostream& out, std::span<const int> positions,
                                               const CGraphTemplate* graphTemplate) const
{
    const bool formFeeds = g_prefs.prtuseffs > 0;
    if (graphTemplate) {
        ::WriteGraphTemplateSummary(out, *graphTemplate, formFeeds);
        return;
    }
    for (const int i : positions) {
        if (const CGraphTemplate* at = RecordAt(i))
            ::WriteGraphTemplateSummary(out, *at, formFeeds);
    }
}

// --- views ----------------------------------------------------------------------------------------

CView* CGraphTypesDoc::FindEditView(int n) const
{
    for (CView* view : GetViews()) {
        const CGraphTypeEditLink* link = Views() && view ? Views()->AsEditView(view) : nullptr;
        if (link && link->EditedRecordIndex() == n)
            return view;
    }
    return nullptr;
}

CView* CGraphTypesDoc::FindGraphView(const CGraphTemplate* graphTemplate) const
{
    for (CView* view : GetViews()) {
        const CGraphViewLink* link = Views() && view ? Views()->AsGraphView(view) : nullptr;
        if (link && link->GetShownTemplate() == graphTemplate)
            return view;
    }
    return nullptr;
}
