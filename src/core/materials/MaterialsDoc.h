#pragma once

// The materials document: the one materials database of the running program.
//
// It owns the collection in .mat files and keeps mapped materials in step with the materials
// they map to. g_pMaterialsDoc points at it while it lives; every glaze calculation finds its
// materials through it. The file, the edit views, the list operations and their notices (kind 2,
// materials) are those of every record database (RecordDatabaseDoc.h); besides, it announces
// HintMaterialChanged with the record index when a mapped material was refreshed.
//
// A file that cannot be opened or read leaves, after a message, an empty database with the
// default settings, no path and the profile value as it was, so the next start tries it again.
// The list window is never closed while the program runs: closing it minimises it.

#include "materials/MaterialArray.h"
#include "materials/MaterialClipboard.h"
#include "shell/Clipboards.h"
#include "records/RecordDatabaseDocOf.h"
#include "support/CompareNoCase.h"

#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class CMaterialsDoc;

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

// The materials collection keeps its records in its own list, beside a look-up index that each
// change invalidates.
struct CMaterialAccess {
    using CollectionType = CMaterialArray;
    using RecordType = CMaterial;

    static int Count(const CMaterialArray& c) { return c.GetCount(); }
    static const CMaterial* At(const CMaterialArray& c, int i) { return c.GetAt(i); }
    static int IndexOf(const CMaterialArray& c, const CMaterial* record) { return c.IndexOf(record); }
    // By name alone (not code, other names or formula), ignoring case.
    static int FindByName(const CMaterialArray& c, std::string_view name)
    {
        for (int i = 0; i < c.GetCount(); ++i) {
            if (EqualsNoCase(c.GetAt(i)->m_name, name))
                return i;
        }
        return -1;
    }
    static void Insert(CMaterialArray& c, int i, const CMaterial& record) { c.InsertCopy(i, record); }
    static void Remove(CMaterialArray& c, int i) { c.RemoveAt(i); }
    static std::shared_ptr<void> Take(CMaterialArray& c, int i) { return c.TakeAt(i); }
    static std::shared_ptr<void> TakeAll(CMaterialArray& c)
    {
        return std::make_shared<CMaterialArray::RecordList>(c.TakeAll());
    }
    static void PutBackAll(CMaterialArray& c, const std::shared_ptr<void>& all)
    {
        c.PutBackAll(std::move(*std::static_pointer_cast<CMaterialArray::RecordList>(all)));
    }
    static void Assign(CMaterialArray& c, int i, const CMaterial& record) { c.ReplaceAt(i, record); }
    static void Swap(CMaterialArray& c, int i, int j) { c.Swap(i, j); }
    static void Move(CMaterialArray& c, int from, int to) { c.Move(from, to); }
    static void SortByName(CMaterialArray& c) { c.Sort(0, 0); }
    static std::string& DatabaseName(CMaterialArray& c) { return c.m_dbName; }
    static const std::string& DatabaseName(const CMaterialArray& c) { return c.m_dbName; }
};

// What the document asks of one material edit view, and the views as the user interface
// provides them (RecordDatabaseDoc.h).
using CMaterialEditLink = CRecordEditLink;
using CMaterialEditViews = CRecordEditViewsOf<CMaterialsDoc>;

inline CMaterialEditViews* GetMaterialEditViews()
{
    return static_cast<CMaterialEditViews*>(GetRecordEditViews(DbFileType::Materials));
}
inline void SetMaterialEditViews(CMaterialEditViews* views)
{
    SetRecordEditViews(DbFileType::Materials, views);
}

class CMaterialsDoc : public CRecordDatabaseDocOf<CMaterialAccess> {
public:
    // An empty database with the default settings; sets g_pMaterialsDoc and registers the
    // singleton.
    CMaterialsDoc();
    // Clears g_pMaterialsDoc and the registration (only where they still point here).
    ~CMaterialsDoc() override;

    CMaterialArray& Materials() { return m_records; }
    const CMaterialArray& Materials() const { return m_records; }

    // --- record operations: each marks the document modified ---

    void InsertMaterial(int index, const CMaterial& material) { InsertRecord(index, material); }
    void DeleteMaterial(int index) { RemoveRecord(index); }
    void ReplaceMaterial(int index, const CMaterial& material) { SetRecord(index, material); }
    void SwapMaterials(int a, int b) { SwapRecords(a, b); }
    void MoveMaterial(int from, int to) { MoveRecord(from, to); }
    void SortMaterials(int kind, int oxide);
    // The record's SetField, when the index is in range.
    void SetMaterialField(int index, int field, const std::string& text);

    // The collection's look-up with the text rewritten to its canonical form.
    CMaterial* FindMaterial(std::string& text);
    // Stores the database name and marks the document modified.
    void SetDatabaseName(const std::string& name)
    {
        m_records.m_dbName = name;
        SetModifiedFlag();
    }
    // The Select One rows: one per material in list order, reading its display key
    // ("code\tname"); a row's index is the material's index.
    void GetRecordRows(std::vector<CRecordRow>& rows) const override;
    std::string BuildCostFormat() const { return m_records.BuildCostFormat(); }
    std::string FormatCost(double cost) const { return m_records.FormatCost(cost); }
    std::optional<std::vector<int>> CheckDatabase() { return m_records.CheckDatabase(); }

    // Gives every mapped material the density, cost, availability and formula of the end of its
    // chain. Reports updated and bad mappings when showMessages is set; announces each refreshed
    // record when broadcast is set.
    void UpdateMappedMaterials(bool showMessages, bool broadcast);
    // Brings one material (an edit view's working copy) in step with its mapping; returns the
    // mapping status (0 for a material without mapping, which stays as it is).
    int ApplyMapping(CMaterial& material);

    // Lets the user save or discard changes (Cancel: 1, nothing else happens), then reloads the
    // document from path and announces it; 0 when done.
    int OpenFile(const std::string& path) { return OpenDatabase(path); }

    // Opens an edit view restricted to the materials the names find; names that find no
    // material are skipped, and nothing opens when none does.
    using CRecordDatabaseDoc::OpenLimitedEditView;
    void OpenLimitedEditView(const CStringArrayEx& names);

    // --- texts (MaterialText.h), with the current print preferences ---

    // The text of material, or when it is null of the records at indices, one after the other.
    void WriteMaterialText(std::ostream& out, std::span<const int> indices, const CMaterial* material) const;
    // The heading and the table of every material in a list-view format 0..4.
    void WriteMaterialsTableText(std::ostream& out, int format) const;
    void BuildMaterialsTable(CStringArrayEx& lines, std::string& title, int format) const;

    // A changed or replaced element table: every formula is read again, so that the analyses
    // (and every glaze calculation) follow it before any window redraws.
    void OnBroadcastNotice(const CUpdateHint& hint) override;

protected:
    void ResetRecords() override { m_records.ResetToDefaults(); }
    CMaterialArray& Clipboard() const override { return g_materialClipboard; }
    // A subset keeps the units its costs and densities are counted in.
    void CopySettingsTo(CMaterialArray& subset) const override;
    // Mapped materials take their values from the ends of their chains.
    void OnRecordsRead() override { UpdateMappedMaterials(true, false); }
    void OnRecordsInserted() override { UpdateMappedMaterials(true, true); }
};

// The one materials document, or null when none exists.
extern CMaterialsDoc* g_pMaterialsDoc;
