#include "framework/DocTemplate.h"

#include "framework/Document.h"
#include "framework/View.h"
#include "support/PathHelpers.h"

#include <algorithm>

CDocTemplate::CDocTemplate(unsigned resourceId, std::string docString, DocumentFactory documentFactory)
    : m_nResourceId(resourceId), m_docString(std::move(docString)), m_documentFactory(std::move(documentFactory))
{
}

CDocTemplate::~CDocTemplate()
{
    // Destroy newest first, as documents are closed at exit.
    while (!m_documents.empty())
        m_documents.pop_back();
    for (auto undo = m_atDestruction.rbegin(); undo != m_atDestruction.rend(); ++undo)
        (*undo)();
}

std::string CDocTemplate::GetDocString(DocStringIndex index) const
{
    std::size_t start = 0;
    for (int i = 0; i < index; ++i) {
        const auto next = m_docString.find('\n', start);
        if (next == std::string::npos)
            return std::string();
        start = next + 1;
    }
    const auto end = m_docString.find('\n', start);
    return m_docString.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::vector<CDocument*> CDocTemplate::GetDocuments() const
{
    std::vector<CDocument*> documents;
    documents.reserve(m_documents.size());
    for (const auto& document : m_documents)
        documents.push_back(document.get());
    return documents;
}

bool CDocTemplate::HasDocument(const CDocument* document) const
{
    return std::any_of(m_documents.begin(), m_documents.end(),
                       [document](const auto& owned) { return owned.get() == document; });
}

CDocument* CDocTemplate::FindDocumentByPath(const std::string& path) const
{
    if (path.empty())
        return nullptr;
    for (const auto& document : m_documents) {
        if (IsSamePath(document->GetPathName(), path))
            return document.get();
    }
    return nullptr;
}

void CDocTemplate::SetDefaultTitle(CDocument& document)
{
    std::string name = GetDocString(docName);
    if (name.empty())
        name = "Untitled";
    document.SetTitle(name + std::to_string(++m_nUntitledCount));
}

bool CDocTemplate::CreateFrame(CDocument& document, bool visible)
{
    if (!m_frameFactory)
        return true;
    if (!m_frameFactory(*this, document, visible))
        return false;
    for (CView* view : std::vector<CView*>(document.GetViews()))
        view->OnInitialUpdate();
    return true;
}

CDocument* CDocTemplate::AddDocument(std::unique_ptr<CDocument> document, bool createFrame, bool visible)
{
    CDocument* raw = document.get();
    raw->m_pDocTemplate = this;
    m_documents.push_back(std::move(document));
    if (createFrame && !CreateFrame(*raw, visible)) {
        DestroyDocument(raw);
        return nullptr;
    }
    return raw;
}

CDocument* CDocTemplate::OpenDocumentFile(const std::string& path, bool visible)
{
    if (CDocument* open = FindDocumentByPath(path)) {
        for (CView* view : open->GetViews()) {
            if (view->GetFrame()) {
                view->GetFrame()->ActivateFrame();
                break;
            }
        }
        return open;
    }
    if (!m_documentFactory)
        return nullptr;
    std::unique_ptr<CDocument> owned = m_documentFactory();
    if (!owned)
        return nullptr;
    CDocument* document = owned.get();
    document->m_pDocTemplate = this;
    m_documents.push_back(std::move(owned));
    try {
        if (!StartDocument(*document, path, visible)) {
            DestroyDocument(document);
            return nullptr;
        }
    } catch (...) {
        // Out of memory half-way through a file, say: no half-read document stays open.
        DestroyDocument(document);
        throw;
    }
    return document;
}

bool CDocTemplate::StartDocument(CDocument& document, const std::string& path, bool visible)
{
    if (path.empty()) {
        SetDefaultTitle(document);
        if (!document.OnNewDocument())
            return false;
    } else {
        // The path is set before reading, so a document that fails to read its file can clear
        // it (and stay open untitled) without the template putting it back.
        document.SetPathName(path);
        if (!document.OnOpenDocument(path))
            return false;
    }
    return CreateFrame(document, visible);
}

void CDocTemplate::DestroyDocument(CDocument* document)
{
    const auto it = std::find_if(m_documents.begin(), m_documents.end(),
                                 [document](const auto& owned) { return owned.get() == document; });
    if (it == m_documents.end())
        return;
    std::unique_ptr<CDocument> doomed = std::move(*it);
    m_documents.erase(it);
    doomed.reset();
}

CDocTemplate* CDocManager::AddDocTemplate(std::unique_ptr<CDocTemplate> docTemplate)
{
    m_templates.push_back(std::move(docTemplate));
    return m_templates.back().get();
}

std::vector<CDocTemplate*> CDocManager::GetTemplates() const
{
    std::vector<CDocTemplate*> templates;
    for (const auto& docTemplate : m_templates)
        templates.push_back(docTemplate.get());
    return templates;
}

bool CDocManager::SaveAllModified(SaveModifiedFor reason)
{
    for (const auto& docTemplate : m_templates) {
        for (CDocument* document : docTemplate->GetDocuments()) {
            if (docTemplate->HasDocument(document) && !document->SaveModified(reason))
                return false;
        }
    }
    return true;
}

void CDocManager::CloseAllDocuments()
{
    for (const auto& docTemplate : m_templates) {
        for (CDocument* document : docTemplate->GetDocuments()) {
            if (docTemplate->HasDocument(document))
                document->OnCloseDocument();
        }
    }
}
