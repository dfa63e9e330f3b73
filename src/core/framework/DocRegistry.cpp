#include "framework/DocRegistry.h"

#include "framework/DocTemplate.h"
#include "framework/Document.h"
#include "framework/UpdateHint.h"
#include "support/DbFileType.h"

#include <array>
#include <vector>

CDocTemplate* g_pGlazesTemplate = nullptr;
CDocTemplate* g_pDbTreeTemplate = nullptr;
CDocTemplate* g_pElementsTemplate = nullptr;
CDocTemplate* g_pMaterialsTemplate = nullptr;
CDocTemplate* g_pSubstitutionsTemplate = nullptr;
CDocTemplate* g_pLimitFormulasTemplate = nullptr;
CDocTemplate* g_pTextFileTemplate = nullptr;
CDocTemplate* g_pGraphTypesTemplate = nullptr;
CDocTemplate* g_pMaterialEditTemplate = nullptr;
CDocTemplate* g_pSubstitutionEditTemplate = nullptr;
CDocTemplate* g_pLimitFormulaEditTemplate = nullptr;
CDocTemplate* g_pGlazeEditTemplate = nullptr;
CDocTemplate* g_pGlazeAnalysisTemplate = nullptr;
CDocTemplate* g_pGraphTypeEditTemplate = nullptr;
CDocTemplate* g_pGraphViewTemplate = nullptr;

namespace {

std::array<CDocument*, 10> s_singletons{};

bool IsSingletonKind(int kind)
{
    return kind >= 0 && kind < static_cast<int>(s_singletons.size());
}

void AddDocumentsOf(const CDocTemplate* docTemplate, std::vector<CDocument*>& receivers)
{
    if (!docTemplate)
        return;
    for (CDocument* document : docTemplate->GetDocuments())
        receivers.push_back(document);
}

void AddSingleton(DbFileType kind, std::vector<CDocument*>& receivers)
{
    if (CDocument* document = GetSingletonDocument(static_cast<int>(kind)))
        receivers.push_back(document);
}

} // namespace

CDocument* GetSingletonDocument(int kind)
{
    return IsSingletonKind(kind) ? s_singletons[static_cast<std::size_t>(kind)] : nullptr;
}

void SetSingletonDocument(int kind, CDocument* document)
{
    if (!IsSingletonKind(kind))
        return;
    s_singletons[static_cast<std::size_t>(kind)] = document;
    // A singleton lives while the program runs, even when its last window (say, a graph view on
    // the graph templates) closes.
    if (document)
        document->KeepWithoutWindows(true);
}

void ClearSingletonDocument(int kind, const CDocument* document)
{
    if (GetSingletonDocument(kind) == document)
        SetSingletonDocument(kind, nullptr);
}

namespace {

void Broadcast(const CUpdateHint& hint)
{
    CView* sender = hint.m_pSender;
    // The receivers are fixed before anyone reacts: documents that open meanwhile wait for the
    // next notice, and documents that close meanwhile are skipped.
    std::vector<CDocument*> receivers;
    for (DbFileType singleton : {DbFileType::Elements, DbFileType::Materials, DbFileType::Substitutions,
                                 DbFileType::LimitFormulas, DbFileType::DbTreeItems})
        AddSingleton(singleton, receivers);
    AddDocumentsOf(g_pGlazesTemplate, receivers);
    AddSingleton(DbFileType::GraphTemplates, receivers);
    AddDocumentsOf(g_pTextFileTemplate, receivers);

    // Every document's data is brought up to date before any window shows it.
    for (CDocument* document : receivers) {
        if (CDocument::IsLive(document))
            document->OnBroadcastNotice(hint);
    }
    for (CDocument* document : receivers) {
        if (CDocument::IsLive(document))
            document->UpdateAllViews(sender, &hint);
    }
}

} // namespace

void BroadcastUpdate(CView* sender, const void* object, int kind, int code, int index, std::uintptr_t extra)
{
    Broadcast(CUpdateHint(sender, object, kind, code, index, extra));
}

void BroadcastMerge(CView* sender, const void* object, int kind, int code, std::uintptr_t extra,
                    const std::vector<const void*>& replaced)
{
    CUpdateHint hint(sender, object, kind, code, 0, extra);
    hint.m_merged = &replaced;
    Broadcast(hint);
}
