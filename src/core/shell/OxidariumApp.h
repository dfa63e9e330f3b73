#pragma once

// The application object's core services: message boxes with a help context, help by context
// number, the update broadcast, the document registry and the open-document look-ups. The Qt
// application owns one instance; g_pApp points at it while it lives.

#include "framework/DocTemplate.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class CDocument;
class CView;

class COxidariumApp {
public:
    COxidariumApp();
    virtual ~COxidariumApp();
    COxidariumApp(const COxidariumApp&) = delete;
    COxidariumApp& operator=(const COxidariumApp&) = delete;

    // Shows a message box (MessageBoxType flags) whose Help opens helpId; returns the button.
    int MessageBoxWithHelp(const std::string& text, unsigned type, unsigned helpId);

    // Opens help: while a message box is up, that box's topic wins. Otherwise ids below 2000
    // are topics, 2002 opens the index, 2003 closes help, and other ids do nothing.
    void ShowHelp(unsigned helpId);

    // Sends a change notice to every view of every open document, in this order: elements,
    // materials, substitutions, limit formulas, database tree, each glaze database, graph
    // templates, each text document. The sending view is skipped; a document that closes during
    // the broadcast is not called any more.
    static void BroadcastUpdate(CView* sender, const void* object, int kind, int code, int index,
                                std::uintptr_t extra);

    // The one document of a singleton kind (DbFileType 1, 2, 3, 4, 6 or 7), or null.
    static CDocument* GetSingletonDocument(int kind);
    // Singleton documents register themselves when they are constructed and leave when
    // destroyed.
    static void SetSingletonDocument(int kind, CDocument* document);

    // Open-document look-ups.
    CDocument* FindOpenDocument(const std::string& path) const;
    bool IsDocumentOpen(const std::string& path) const { return FindOpenDocument(path) != nullptr; }
    void GetGlazeDocTitles(std::vector<std::string>& titles) const;
    void GetGlazeDocs(std::vector<CDocument*>& documents) const;
    int CountGlazeDocs() const;
    CDocument* GetGlazeDoc(int n) const;
    int IndexOfGlazeDoc(const CDocument* document) const;
    CDocument* FindGlazeDocByDbName(const std::string& name) const;

    // Cascade position for the next MDI child window.
    struct Point {
        int x = 0;
        int y = 0;
        bool operator==(const Point&) const = default;
    };
    Point NextChildWindowPos();

    CDocManager m_docManager;

    // Help context of the message box that is up, 0 when none.
    unsigned m_nBoxHelpId = 0;
    int m_nNextChildX = 0;
    int m_nNextChildY = 0;
    // Cascade step in pixels: a sizing frame plus a menu bar; the Qt layer sets the real value.
    int m_nCascadeStep = 23;
};

extern COxidariumApp* g_pApp;

// Template pointers of the document registry, set at start-up (null until then).
extern CDocTemplate* g_pGlazesTemplate;
extern CDocTemplate* g_pDbTreeTemplate;
extern CDocTemplate* g_pElementsTemplate;
extern CDocTemplate* g_pMaterialsTemplate;
extern CDocTemplate* g_pSubstitutionsTemplate;
extern CDocTemplate* g_pLimitFormulasTemplate;
extern CDocTemplate* g_pTextFileTemplate;
extern CDocTemplate* g_pGraphTypesTemplate;
extern CDocTemplate* g_pMaterialEditTemplate;
extern CDocTemplate* g_pSubstitutionEditTemplate;
extern CDocTemplate* g_pLimitFormulaEditTemplate;
extern CDocTemplate* g_pGlazeEditTemplate;
extern CDocTemplate* g_pGlazeAnalysisTemplate;
extern CDocTemplate* g_pGraphTypeEditTemplate;
extern CDocTemplate* g_pGraphViewTemplate;

// A message box with a help context through the application object, or straight through the
// message service when no application object exists (tools and tests without one).
int AppMessageBox(const std::string& text, unsigned type, unsigned helpId);

// True when the screen is less than 600 pixels high; dialogs then use compact layouts.
bool IsSmallScreen();
