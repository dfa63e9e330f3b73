#include "shell/OxidariumApp.h"

#include "framework/Document.h"
#include "shell/MessageService.h"
#include "shell/UpdateHint.h"
#include "support/CompareNoCase.h"
#include "support/DbFileType.h"

COxidariumApp* g_pApp = nullptr;

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

constexpr unsigned kHelpFinderId = 2002;
constexpr unsigned kHelpQuitId = 2003;
constexpr unsigned kFirstCommandHelpId = 2000;
constexpr int kSmallScreenHeight = 600;

std::array<CDocument*, 10> s_singletons{};

std::vector<CDocument*> TemplateDocuments(const CDocTemplate* docTemplate)
{
    return docTemplate ? docTemplate->GetDocuments() : std::vector<CDocument*>();
}

} // namespace

COxidariumApp::COxidariumApp()
{
    g_pApp = this;
}

COxidariumApp::~COxidariumApp()
{
    if (g_pApp == this)
        g_pApp = nullptr;
}

int COxidariumApp::MessageBoxWithHelp(const std::string& text, unsigned type, unsigned helpId)
{
    CMessageService* service = GetMessageService();
    if (!service)
        return DefaultMessageBoxResult(type);
    const unsigned outer = m_nBoxHelpId;
    m_nBoxHelpId = helpId;
    const int result = service->ShowMessageBox(text, kMessageCaption, type, helpId);
    m_nBoxHelpId = outer;
    return result;
}

void COxidariumApp::ShowHelp(unsigned helpId)
{
    CMessageService* service = GetMessageService();
    if (!service)
        return;
    if (m_nBoxHelpId != 0) {
        service->ShowHelp(HelpRequest::Context, m_nBoxHelpId);
        return;
    }
    if (helpId < kFirstCommandHelpId)
        service->ShowHelp(HelpRequest::Context, helpId);
    else if (helpId == kHelpFinderId)
        service->ShowHelp(HelpRequest::Finder, 0);
    else if (helpId == kHelpQuitId)
        service->ShowHelp(HelpRequest::Quit, 0);
}

CDocument* COxidariumApp::GetSingletonDocument(int kind)
{
    return kind >= 0 && kind < static_cast<int>(s_singletons.size()) ? s_singletons[static_cast<std::size_t>(kind)]
                                                                      : nullptr;
}

void COxidariumApp::SetSingletonDocument(int kind, CDocument* document)
{
    if (kind >= 0 && kind < static_cast<int>(s_singletons.size()))
        s_singletons[static_cast<std::size_t>(kind)] = document;
}

void COxidariumApp::BroadcastUpdate(CView* sender, const void* object, int kind, int code, int index,
                                    std::uintptr_t extra)
{
    const CUpdateHint hint(sender, object, kind, code, index, extra);
    // The receivers are fixed before anyone reacts: documents that open meanwhile wait for the
    // next notice, and documents that close meanwhile are skipped.
    std::vector<CDocument*> receivers;
    for (DbFileType singleton : {DbFileType::Elements, DbFileType::Materials, DbFileType::Substitutions,
                                 DbFileType::LimitFormulas, DbFileType::DbTreeItems}) {
        if (CDocument* document = GetSingletonDocument(static_cast<int>(singleton)))
            receivers.push_back(document);
    }
    for (CDocument* document : TemplateDocuments(g_pGlazesTemplate))
        receivers.push_back(document);
    if (CDocument* graphs = GetSingletonDocument(static_cast<int>(DbFileType::GraphTemplates)))
        receivers.push_back(graphs);
    for (CDocument* document : TemplateDocuments(g_pTextFileTemplate))
        receivers.push_back(document);

    for (CDocument* document : receivers) {
        if (CDocument::IsLive(document))
            document->UpdateAllViews(sender, &hint);
    }
}

CDocument* COxidariumApp::FindOpenDocument(const std::string& path) const
{
    for (DbFileType kind : {DbFileType::Elements, DbFileType::Materials, DbFileType::Substitutions,
                            DbFileType::LimitFormulas, DbFileType::GraphTemplates}) {
        CDocument* document = GetSingletonDocument(static_cast<int>(kind));
        if (document && EqualsNoCase(document->GetPathName(), path))
            return document;
    }
    for (const CDocTemplate* docTemplate : {g_pGlazesTemplate, g_pTextFileTemplate}) {
        for (CDocument* document : TemplateDocuments(docTemplate)) {
            if (EqualsNoCase(document->GetPathName(), path))
                return document;
        }
    }
    return nullptr;
}

void COxidariumApp::GetGlazeDocTitles(std::vector<std::string>& titles) const
{
    titles.clear();
    for (const CDocument* document : TemplateDocuments(g_pGlazesTemplate))
        titles.push_back(document->GetTitle());
}

void COxidariumApp::GetGlazeDocs(std::vector<CDocument*>& documents) const
{
    documents = TemplateDocuments(g_pGlazesTemplate);
}

int COxidariumApp::CountGlazeDocs() const
{
    return static_cast<int>(TemplateDocuments(g_pGlazesTemplate).size());
}

CDocument* COxidariumApp::GetGlazeDoc(int n) const
{
    const std::vector<CDocument*> documents = TemplateDocuments(g_pGlazesTemplate);
    return n >= 0 && n < static_cast<int>(documents.size()) ? documents[static_cast<std::size_t>(n)] : nullptr;
}

int COxidariumApp::IndexOfGlazeDoc(const CDocument* document) const
{
    const std::vector<CDocument*> documents = TemplateDocuments(g_pGlazesTemplate);
    for (std::size_t i = 0; i < documents.size(); ++i) {
        if (documents[i] == document)
            return static_cast<int>(i);
    }
    return -1;
}

CDocument* COxidariumApp::FindGlazeDocByDbName(const std::string& name) const
{
    for (CDocument* document : TemplateDocuments(g_pGlazesTemplate)) {
        const std::string dbName = document->GetDatabaseName();
        if (!dbName.empty() && EqualsNoCase(dbName, name))
            return document;
    }
    return nullptr;
}

COxidariumApp::Point COxidariumApp::NextChildWindowPos()
{
    const int step = m_nCascadeStep;
    const Point position{m_nNextChildX, m_nNextChildY};
    m_nNextChildX += step;
    m_nNextChildY += step;
    if (m_nNextChildY > 6 * step) {
        m_nNextChildY = 0;
        m_nNextChildX -= 3 * step;
        if (m_nNextChildX > 15 * step)
            m_nNextChildX = 0;
    }
    return position;
}

int AppMessageBox(const std::string& text, unsigned type, unsigned helpId)
{
    if (g_pApp)
        return g_pApp->MessageBoxWithHelp(text, type, helpId);
    CMessageService* service = GetMessageService();
    return service ? service->ShowMessageBox(text, kMessageCaption, type, helpId) : DefaultMessageBoxResult(type);
}

bool IsSmallScreen()
{
    CMessageService* service = GetMessageService();
    return service && service->ScreenHeight() < kSmallScreenHeight;
}
