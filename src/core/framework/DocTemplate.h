#pragma once

// A document template: one kind of document with the window it opens in.
//
// The template creates documents of its kind (the document factory), opens or starts them, and
// asks the Qt layer to build a frame with a view for each (the frame factory; core tests give
// one that makes recording views). It owns its documents, in creation order, and destroys a
// document when the document closes.

#include <functional>
#include <memory>
#include <string>
#include <vector>

class CDocument;
enum class SaveModifiedFor;

class CDocTemplate {
public:
    // Fields of the template's document string, "\n"-separated in this order.
    enum DocStringIndex {
        windowTitle,
        docName,
        fileNewName,
        filterName,
        filterExt,
        regFileTypeId,
        regFileTypeName,
    };

    using DocumentFactory = std::function<std::unique_ptr<CDocument>()>;
    // Builds a frame with a view on the document (visible or hidden); false on failure.
    using FrameFactory = std::function<bool(CDocTemplate& docTemplate, CDocument& document, bool visible)>;

    CDocTemplate(unsigned resourceId, std::string docString, DocumentFactory documentFactory);
    ~CDocTemplate();
    CDocTemplate(const CDocTemplate&) = delete;
    CDocTemplate& operator=(const CDocTemplate&) = delete;

    unsigned GetResourceId() const { return m_nResourceId; }
    std::string GetDocString(DocStringIndex index) const;
    void SetFrameFactory(FrameFactory factory) { m_frameFactory = std::move(factory); }
    // Runs undo when the template is destroyed, after its documents: whoever installs something
    // process-wide for this template's windows takes it away again with the template.
    void AtDestruction(std::function<void()> undo) { m_atDestruction.push_back(std::move(undo)); }

    // Opens path as a document of this kind, or starts a new document when path is empty.
    // A path that a document of this template already has (compared ignoring case) activates
    // that document instead of opening the file twice. Returns null on failure.
    CDocument* OpenDocumentFile(const std::string& path, bool visible = true);

    // Documents of this template, in creation order.
    std::vector<CDocument*> GetDocuments() const;
    bool HasDocument(const CDocument* document) const;
    CDocument* FindDocumentByPath(const std::string& path) const;

    // Takes a document into the template without opening anything (for singleton documents
    // that are filled by their own code), and builds its frame when a factory is set.
    CDocument* AddDocument(std::unique_ptr<CDocument> document, bool createFrame, bool visible = true);

private:
    friend class CDocument;
    // Destroys a closed document.
    void DestroyDocument(CDocument* document);
    bool CreateFrame(CDocument& document, bool visible);
    // Reads (or starts) the document and opens its window; false when either fails.
    bool StartDocument(CDocument& document, const std::string& path, bool visible);
    void SetDefaultTitle(CDocument& document);

    std::vector<std::function<void()>> m_atDestruction;
    unsigned m_nResourceId;
    std::string m_docString;
    DocumentFactory m_documentFactory;
    FrameFactory m_frameFactory;
    std::vector<std::unique_ptr<CDocument>> m_documents;
    int m_nUntitledCount = 0;
};

// The registered templates, in registration order, and what is done to all documents at exit.
class CDocManager {
public:
    CDocTemplate* AddDocTemplate(std::unique_ptr<CDocTemplate> docTemplate);
    std::vector<CDocTemplate*> GetTemplates() const;

    // Asks every modified document, template by template, whether to save; false when the user
    // cancelled.
    bool SaveAllModified(SaveModifiedFor reason);
    // Closes every document of every template.
    void CloseAllDocuments();

private:
    std::vector<std::unique_ptr<CDocTemplate>> m_templates;
};
