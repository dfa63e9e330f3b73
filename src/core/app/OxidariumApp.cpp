#include "shell/OxidariumApp.h"

#include "framework/Document.h"
#include "framework/FileDialogService.h"
#include "framework/MessageService.h"
#include "framework/UpdateHint.h"
#include "framework/View.h"
#include "glazes/GlazesDoc.h"
#include "support/CompareNoCase.h"
#include "support/PathHelpers.h"
#include "support/DbFileType.h"
#include "textfile/Information.h"

#include <algorithm>
#include <string_view>

COxidariumApp* g_pApp = nullptr;

namespace {

constexpr unsigned kHelpFinderId = 2002;
constexpr unsigned kHelpQuitId = 2003;
constexpr unsigned kFirstCommandHelpId = 2000;

std::function<void(CDocument&)> s_glazeDatabaseEmptier;

constexpr int kGlazesKind = static_cast<int>(DbFileType::Glazes);
constexpr int kTextFileKind = static_cast<int>(DbFileType::TextFile);
constexpr unsigned kOpenDialogHelpId = 301;
constexpr const char* kSearchResultsName = "Search Results";

// The execute requests of the desktop shell, tried in this order.
constexpr std::array<const char*, 3> kDDEPrefixes{"[open(\"", "[print(\"", "[printto(\""};

std::vector<CDocument*> TemplateDocuments(const CDocTemplate* docTemplate)
{
    return docTemplate ? docTemplate->GetDocuments() : std::vector<CDocument*>();
}

} // namespace

COxidariumApp::COxidariumApp()
{
    g_pApp = this;
    SetMessageBoxHost(this);
}

COxidariumApp::~COxidariumApp()
{
    // The template globals must not outlive the templates this object owns.
    ForgetOwnTemplates();
    if (GetMessageBoxHost() == this)
        SetMessageBoxHost(nullptr);
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

CDocument* COxidariumApp::FindOpenDocument(const std::string& path) const
{
    // Untitled documents have no path: an empty path names no open document.
    if (path.empty())
        return nullptr;
    for (DbFileType kind : {DbFileType::Elements, DbFileType::Materials, DbFileType::Substitutions,
                            DbFileType::LimitFormulas, DbFileType::GraphTemplates}) {
        CDocument* document = GetSingletonDocument(static_cast<int>(kind));
        if (document && IsSamePath(document->GetPathName(), path))
            return document;
    }
    for (const CDocTemplate* docTemplate : {g_pGlazesTemplate, g_pTextFileTemplate}) {
        for (CDocument* document : TemplateDocuments(docTemplate)) {
            if (IsSamePath(document->GetPathName(), path))
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

bool ParseDDECommand(const std::string& command, std::string& fileName)
{
    fileName.clear();
    for (const char* prefix : kDDEPrefixes) {
        const std::string_view start(prefix);
        if (command.compare(0, start.size(), start) != 0)
            continue;
        const std::size_t end = command.find('"', start.size());
        if (end == std::string::npos)
            return false;
        fileName = command.substr(start.size(), end - start.size());
        return true;
    }
    return false;
}

bool HasGlazeExtension(const std::string& name)
{
    return name.size() >= 4 && EqualsNoCase(std::string_view(name).substr(name.size() - 4), ".glz");
}

void SetGlazeDatabaseEmptier(std::function<void(CDocument& document)> emptier)
{
    s_glazeDatabaseEmptier = std::move(emptier);
}

void COxidariumApp::ShowInformation(const std::string& text)
{
    ::ShowInformation(text);
}

void COxidariumApp::ClearInformation()
{
    ::ClearInformation();
}

CDocument* COxidariumApp::OpenAndAnnounce(CDocTemplate* docTemplate, const std::string& path, int kind)
{
    if (!docTemplate)
        return nullptr;
    CDocument* document = docTemplate->OpenDocumentFile(path, true);
    if (document)
        BroadcastUpdate(nullptr, document, kind, HintDocumentOpened, 0, 0);
    return document;
}

CDocument* COxidariumApp::NewGlazeDatabase()
{
    if (!g_pGlazesTemplate)
        return nullptr;
    CDocument* document = g_pGlazesTemplate->OpenDocumentFile(std::string(), true);
    if (!document)
        return nullptr;
    if (s_glazeDatabaseEmptier)
        s_glazeDatabaseEmptier(*document);
    else if (auto* glazes = dynamic_cast<CGlazesDoc*>(document))
        glazes->RemoveAllGlazes();
    BroadcastUpdate(nullptr, document, kGlazesKind, HintDocumentOpened, 0, 0);
    return document;
}

int COxidariumApp::SearchGlazeDatabases(CView* view, CGlazeSearchRun& request)
{
    const bool toNewDatabase =
        request.action == kFindCopyToNewDatabase || request.action == kFindMoveToNewDatabase;
    if (toNewDatabase)
        request.resultsDatabase = NewGlazeDatabase();
    int found = 0;
    if (!request.allDatabases) {
        if (view && request.searchView)
            found = std::max(0, request.searchView(view));
    } else if (request.searchView) {
        for (CDocument* document : TemplateDocuments(g_pGlazesTemplate)) {
            if (document == request.resultsDatabase)
                continue;
            for (CView* glazeView : std::vector<CView*>(document->GetViews()))
                found += std::max(0, request.searchView(glazeView));
        }
    }
    CDocument* results = request.resultsDatabase;
    if (toNewDatabase && results && CDocument::IsLive(results)) {
        if (request.setDatabaseName)
            request.setDatabaseName(*results, kSearchResultsName);
        else if (auto* glazes = dynamic_cast<CGlazesDoc*>(results))
            glazes->SetDbName(kSearchResultsName);
        results->SetModifiedFlag(true);
        BroadcastUpdate(nullptr, results, kGlazesKind, HintGlazesReplaced, 0, 0);
    }
    return found;
}

void COxidariumApp::ApplyToGlazesViews(CView* view, CGlazeStatisticsRun& request)
{
    if (request.accumulate) {
        if (!request.allDatabases) {
            if (view)
                request.accumulate(view);
        } else {
            for (CDocument* document : TemplateDocuments(g_pGlazesTemplate)) {
                for (CView* glazeView : std::vector<CView*>(document->GetViews()))
                    request.accumulate(glazeView);
            }
        }
    }
    if (request.compile)
        request.compile();
}

bool COxidariumApp::OnDDECommand(const std::string& command)
{
    std::string fileName;
    if (!ParseDDECommand(command, fileName))
        return false;
    BringMainWindowForward();
    // Print requests only open the file: nothing is printed.
    if (HasGlazeExtension(fileName))
        OpenAndAnnounce(g_pGlazesTemplate, fileName, kGlazesKind);
    m_bUserControl = true;
    return true;
}

namespace {

std::vector<std::string> AskForFilesToOpen(const char* title, const char* filter)
{
    CFileDialogRequest request;
    request.mode = CFileDialogRequest::Mode::OpenMultiple;
    request.title = title;
    request.filter = filter;
    request.flags = FileDlgHideReadOnly;
    request.helpId = kOpenDialogHelpId;
    const CFileDialogResult answer = AskForFiles(request);
    if (answer.outcome != CFileDialogResult::Outcome::Ok)
        return {};
    return answer.paths;
}

} // namespace

void COxidariumApp::OnNewGlazeDatabase()
{
    OpenAndAnnounce(g_pGlazesTemplate, std::string(), kGlazesKind);
}

void COxidariumApp::OnOpenGlazeDatabase()
{
    if (!g_pGlazesTemplate)
        return;
    for (const std::string& path :
         AskForFilesToOpen("Glaze Database File Open", "Database Files (*.glz)|*.glz|All Files (*.*)|*.*||"))
        OpenAndAnnounce(g_pGlazesTemplate, path, kGlazesKind);
}

void COxidariumApp::OnNewTextWindow()
{
    if (g_pTextFileTemplate)
        g_pTextFileTemplate->OpenDocumentFile(std::string(), true);
}

void COxidariumApp::OnOpenTextFile()
{
    if (!g_pTextFileTemplate)
        return;
    for (const std::string& path :
         AskForFilesToOpen("Text File Open", "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||"))
        OpenAndAnnounce(g_pTextFileTemplate, path, kTextFileKind);
}
