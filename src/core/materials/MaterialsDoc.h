#pragma once

// The materials document: the one materials database of the running program.
//
// It owns the collection, opens and saves .mat files, offers every editing operation of the
// views as a document operation that marks the document modified, keeps mapped materials in
// step with the materials they map to, and opens material edit views. g_pMaterialsDoc points at
// it while it lives; every glaze calculation finds its materials through it.
//
// Notices it sends, all of kind 2 (materials): HintMaterialChanged with the record index when a
// mapped material was refreshed, HintMaterialsReplaced after New, Open and Revert,
// HintDocumentSaved after Save and Save As. The views send the codes of their own edits.
//
// A file that cannot be opened or read leaves, after a message, an empty database with the
// default settings, no path and the profile value as it was, so the next start tries it again.
// The list window is never closed while the program runs: closing it minimises it.

#include "framework/Document.h"
#include "materials/MaterialArray.h"

#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <vector>

class CFrameHost;
class CMaterialsDoc;
class CView;

// Commands of the materials document (menu texts in the comments).
enum MaterialsDocCommand : unsigned {
    CmdSaveMaterialDb = 32781,   // "&Save Material Database"
    CmdRevertMaterialDb = 32782, // "&Revert To Saved"
    CmdSaveMaterialDbAs = 32867, // "Save &As..."
    CmdNewMaterialDb = 32868,    // "&New Material Database"
    CmdOpenMaterialDb = 32869,   // "&Open Material Database..."
};

// The document template's string: only the window title.
inline constexpr const char* kMaterialsDocString = "Materials\n\n\n\n\n\n";

// Help contexts of the document's messages.
inline constexpr unsigned kMaterialOpenErrorHelpId = 0x30119;
inline constexpr unsigned kMaterialReadErrorHelpId = 0x30120;
inline constexpr unsigned kMaterialBackupQuestionHelpId = 0x30121;
inline constexpr unsigned kMaterialWriteErrorHelpId = 0x30122;
inline constexpr unsigned kMaterialMappingsUpdatedHelpId = 0x30200;
inline constexpr unsigned kMaterialBadMappingsHelpId = 0x30201;

// What the document asks of one material edit view.
class CMaterialEditLink {
public:
    virtual ~CMaterialEditLink() = default;
    // Asks whether to save the view's unsaved changes: MsgResultYes, MsgResultNo or
    // MsgResultCancel (No without asking when there are none).
    virtual int AskSaveChanges() = 0;
    // Writes the view's record back into the database.
    virtual void SaveToDatabase() = 0;
    // Sets or clears the view's unsaved-changes state.
    virtual void SetChanged(bool changed) = 0;
};

// The material edit views of the user interface, as the document reaches them. The user
// interface installs one; without one there are no edit views.
class CMaterialEditViews {
public:
    virtual ~CMaterialEditViews() = default;
    // Opens an edit frame on the document, positioned on the record at index (out of range: on
    // no record). False when no frame could be made.
    virtual bool OpenEditView(CMaterialsDoc& document, int index) = 0;
    // Opens an edit frame restricted to the records at the indices.
    virtual bool OpenLimitedEditView(CMaterialsDoc& document, const std::vector<int>& indices) = 0;
    // The view as a material edit view, or null when it is another kind of view.
    virtual CMaterialEditLink* AsEditView(CView* view) = 0;
};

CMaterialEditViews* GetMaterialEditViews();
void SetMaterialEditViews(CMaterialEditViews* views);

class CMaterialsDoc : public CDocument {
public:
    // An empty database with the default settings; sets g_pMaterialsDoc and registers the
    // singleton.
    CMaterialsDoc();
    // Clears g_pMaterialsDoc and the registration (only where they still point here).
    ~CMaterialsDoc() override;

    CMaterialArray& Materials() { return m_materials; }
    const CMaterialArray& Materials() const { return m_materials; }

    // --- record operations: each marks the document modified ---

    void InsertMaterial(int index, const CMaterial& material);
    void DeleteMaterial(int index);
    void ReplaceMaterial(int index, const CMaterial& material);
    void SwapMaterials(int a, int b);
    void MoveMaterial(int from, int to);
    void SortMaterials(int kind, int oxide);
    // The record's SetField, when the index is in range.
    void SetMaterialField(int index, int field, const std::string& text);

    // The collection's look-up with the text rewritten to its canonical form.
    CMaterial* FindMaterial(std::string& text);
    std::string GetDatabaseName() const override { return m_materials.m_dbName; }
    // Stores the database name and marks the document modified.
    void SetDatabaseName(const std::string& name)
    {
        m_materials.m_dbName = name;
        SetModifiedFlag();
    }
    // The Select One rows: one per material in list order, reading its display key
    // ("code\tname"); a row's index is the material's index.
    void GetRecordRows(std::vector<CRecordRow>& rows) const override;
    std::string BuildCostFormat() const { return m_materials.BuildCostFormat(); }
    std::string FormatCost(double cost) const { return m_materials.FormatCost(cost); }
    std::optional<std::vector<int>> CheckDatabase() { return m_materials.CheckDatabase(); }

    // Gives every mapped material the density, cost, availability and formula of the end of its
    // chain. Reports updated and bad mappings when showMessages is set; announces each refreshed
    // record when broadcast is set.
    void UpdateMappedMaterials(bool showMessages, bool broadcast);
    // Brings one material (an edit view's working copy) in step with its mapping; returns the
    // mapping status (0 for a material without mapping, which stays as it is).
    int ApplyMapping(CMaterial& material);

    // Lets the user save or discard changes (Cancel: 1, nothing else happens), then reloads the
    // document from path and announces it; 0 when done.
    int OpenFile(const std::string& path);
    int OpenDatabaseFile(const std::string& path) override { return OpenFile(path); }

    // Edit views. OpenEditView returns 0 when no frame could be made. OpenLimitedEditView skips
    // names that find no material and opens nothing when none does. AskEditViews asks every
    // edit view about its unsaved changes (Yes saves); with close each is closed afterwards.
    // 0 when the user cancelled, else 1.
    int OpenEditView(int index);
    void OpenLimitedEditView(const CStringArrayEx& names);
    int AskEditViews(bool close);

    // --- texts (MaterialText.h), with the current print preferences ---

    // The text of material, or when it is null of the records at indices, one after the other.
    void WriteMaterialText(std::ostream& out, std::span<const int> indices, const CMaterial* material) const;
    // The heading and the table of every material in a list-view format 0..4.
    void WriteMaterialsTableText(std::ostream& out, int format) const;
    void BuildMaterialsTable(CStringArrayEx& lines, std::string& title, int format) const;

    // --- document life ---

    bool OnNewDocument() override;
    // Always true: a file that cannot be opened or read leaves an empty database after a message.
    bool OnOpenDocument(const std::string& path) override;
    bool OnSaveDocument(const std::string& path) override;
    CFileDialogRequest GetSaveAsRequest() const override;
    bool SaveModified() override;
    bool CanCloseFrame(CFrameHost* frame) override;
    // Stores the path only: the title stays as the document template made it.
    void SetPathName(const std::string& path, bool addToRecentFiles = true) override;

    bool OnCommand(unsigned id) override;
    bool OnUpdateCommand(CCmdUI& ui) override;

private:
    void Broadcast(int code, int index, const void* record = nullptr);
    void OnFileOpen();
    // The save question of one edit view; false when the user cancelled.
    bool AskEditView(CView* view, CMaterialEditLink& link, bool close);

    CMaterialArray m_materials;
};

// The one materials document, or null when none exists.
extern CMaterialsDoc* g_pMaterialsDoc;
