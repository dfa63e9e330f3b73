#pragma once

// The change notice that every view of every open document receives.
//
// Whatever changes a database, opens, saves or closes a document, or changes the preferences,
// announces it with BroadcastUpdate. The notice names the sending view (which
// does not receive it), the document concerned, the database kind, an event code, a record index
// and one further value. The hint lives on the sender's stack for one broadcast: receivers must
// not keep it or its pointers.

#include <cstdint>
#include <vector>

class CDocument;
class CView;

// Event codes. The codes of different database kinds do not overlap, so a view may recognise a
// notice by its code alone. Code 0 is not used.
enum UpdateHintCode : int {
    HintElementChanged = 1,            // index: element number, -1 for all
    HintElementsReplaced = 2,
    HintMaterialChanged = 3,           // index: material; extra: the record
    HintMaterialsInserted = 4,         // index: first new material
    HintMaterialsDeleted = 5,          // index: first deleted material
    HintMaterialsReordered = 6,        // index: new index of a moved material, else 0
    HintMaterialsReplaced = 7,         // extra: the document for a merge
    HintSubstitutionChanged = 8,
    HintSubstitutionsInserted = 9,
    HintSubstitutionsDeleted = 10,
    HintSubstitutionsReordered = 11,
    HintSubstitutionsReplaced = 12,
    HintGlazeChanged = 13,
    HintGlazesInserted = 14,
    HintGlazesDeleted = 15,
    HintGlazesReordered = 16,
    HintGlazesReplaced = 17,
    HintGraphTemplateChanged = 18,
    HintGraphTemplatesInserted = 19,
    HintGraphTemplatesDeleted = 20,
    HintGraphTemplatesReordered = 21,
    HintGraphTemplatesReplaced = 22,
    HintGraphColorsChanged = 23,
    HintLimitFormulaChanged = 24,
    HintLimitFormulasInserted = 25,
    HintLimitFormulasDeleted = 26,
    HintLimitFormulasReordered = 27,
    HintLimitFormulasReplaced = 28,
    HintOxideCombinationsChanged = 29,
    HintDbTreeChanged = 30,
    HintPreferencesChanged = 31,
    HintBringFrameForward = 32,        // sent to one document only
    HintBringFrameForwardWithNotes = 33, // sent to one document only
    HintDocumentOpened = 34,
    HintDocumentSaved = 35,
    HintDocumentClosing = 36,
    HintDocumentClosed = 37,           // object: an identity only, never to be dereferenced
    HintDatabaseNotesChanged = 38,
    HintBulkChangeBegins = 39,
    HintBulkChangeEndsRefreshAll = 40,
    HintBulkChangeEndsRefreshDocument = 41,
};

class CUpdateHint {
public:
    CUpdateHint(CView* sender, const void* object, int kind, int code, int index, std::uintptr_t extra)
        : m_pSender(sender), m_pObject(object), m_nKind(kind), m_nCode(code), m_nIndex(index), m_extra(extra)
    {
    }

    // The document the notice concerns, or null when the object is not a live document.
    CDocument* Document() const;

    CView* m_pSender;       // the view that made the change, null for documents and dialogs
    const void* m_pObject;  // the document concerned (compare only for HintDocumentClosed)
    int m_nKind;            // DbFileType of the database concerned
    int m_nCode;            // UpdateHintCode
    int m_nIndex;           // record index, 0 when the code gives it no meaning, -1 for all
    std::uintptr_t m_extra; // the changed record, the document for a merge, else 0
    // A merge's notice that records were replaced: the records it assigned over (their
    // identities), so that the windows on the records it left alone stay. Null for a database
    // read anew or rewritten whole, whose windows all go.
    const std::vector<const void*>* m_merged = nullptr;

    // Whether the notice leaves the record alone: a merge that did not replace it.
    bool LeavesRecord(const void* record) const;
};

// Views recognise a record carried in a hint by comparing it with this.
inline std::uintptr_t HintExtra(const void* pointer)
{
    return reinterpret_cast<std::uintptr_t>(pointer);
}
