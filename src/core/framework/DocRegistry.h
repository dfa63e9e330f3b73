#pragma once

// The document registry: the one document of each singleton database kind, the document
// templates, and the update broadcast that visits every view of every open document.
//
// The registry belongs to the framework, so that documents announce their changes and find the
// singleton databases without knowing the application object. The application object fills the
// template pointers at start-up and keeps COxidariumApp::BroadcastUpdate and its singleton look-ups
// as the named entry points; they forward here.

#include <cstdint>
#include <vector>

class CDocTemplate;
class CDocument;
class CView;

// The one document of a singleton kind (DbFileType 1, 2, 3, 4, 6 or 7), or null.
CDocument* GetSingletonDocument(int kind);
// Singleton documents register themselves when they are constructed and leave when destroyed.
void SetSingletonDocument(int kind, CDocument* document);
// Leaves the registration only when it still names document.
void ClearSingletonDocument(int kind, const CDocument* document);

// Sends a change notice to every open document and then to every view of them, in this order:
// elements, materials, substitutions, limit formulas, database tree, each glaze database, graph
// templates, each text document. Every document hears it (CDocument::OnBroadcastNotice) before
// any view does. The sending view is skipped; a document that closes during the broadcast is not
// called any more, and a notice sent from inside a view's OnUpdate completes before the outer
// one goes on.
void BroadcastUpdate(CView* sender, const void* object, int kind, int code, int index, std::uintptr_t extra);
// The same for a merge's notice that records were replaced (CUpdateHint::m_merged).
void BroadcastMerge(CView* sender, const void* object, int kind, int code, std::uintptr_t extra,
                    const std::vector<const void*>& replaced);

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
