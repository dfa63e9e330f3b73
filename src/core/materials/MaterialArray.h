#pragma once

// The materials database in memory: the owned material records in database order, the
// database's own settings (name, information lines, currency, cost and density units, cost
// decimals), the name index behind every look-up, the list operations of the views, the
// resolution of material mappings ("mapto" links from one material to another) and the Check
// Database pass.
//
// The materials document owns one collection; the materials clipboard is another.
//
// The name index is built lazily by the first look-up after a change. Every operation here that
// adds, removes, replaces, reorders or re-keys records marks it stale; code that changes a
// record's name, code, other names, other-name codes or formula through GetAt must call
// InvalidateIndex afterwards (or use SetField, which does).
//
// The collection is the reading context of its file format (MaterialFile.cpp): the reader's key
// handlers append records and fill the last one.

#include "materials/Material.h"
#include "materials/NameIndex.h"
#include "support/ParamFile.h"
#include "support/ParamFilePieces.h"
#include "support/StringArrayEx.h"

#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The file type written in, and required of, every materials database file.
inline constexpr const char* kMaterialFileType = "Oxidarium Materials";
// The name of a new or reset database, and of the materials clipboard.
inline constexpr const char* kDefaultMaterialDbName = "Materials";
inline constexpr const char* kDefaultCurrencySymbol = "$";

// Whether a key of the file belongs to the database's header (name, information lines, currency,
// units, file type, version) rather than to a material.
bool IsMaterialFileHeaderKey(const char* key);

// The sort orders of the Sort dialog, by sort kind: each a run of key letters, the last letter
// the primary order (n name, c code, a available first, t type, d density, $ cost, m mapping,
// V loss on ignition, W share of one oxide).
inline constexpr int kMaterialSortKindCount = 11;
extern const char* const g_materialSortSpecs[kMaterialSortKindCount];

// Results of ResolveMapping and GetMappedValues.
enum MappingStatus : int {
    MappingOk = 0,
    MappingMissing = 1, // a link names no material
    MappingLoop = 2,    // the chain comes back to its start or is 20 links or longer
};

// Results of FindByPrefix.
enum PrefixStatus : int {
    PrefixFound = 0,
    PrefixNone = -1,
    PrefixAmbiguous = -2,
};

class CMaterialArray : public CParamFileContext {
public:
    using RecordList = std::vector<std::unique_ptr<CMaterial>>;

    static constexpr int kCostPerPound = 0;
    static constexpr int kCostPerKilogram = 1;
    static constexpr int kDensityPerCup = 0;
    static constexpr int kDensityPerDeciliter = 1;
    // At most this many look-ups follow a mapping chain.
    static constexpr int kMaxMappingLookups = 20;

    CMaterialArray();
    ~CMaterialArray() override;
    CMaterialArray(const CMaterialArray&) = delete;
    CMaterialArray& operator=(const CMaterialArray&) = delete;

    // Drops every record and puts every setting back to its default.
    void ResetToDefaults();

    // --- records ---

    int GetCount() const { return static_cast<int>(m_records.size()); }
    bool IsValidIndex(int index) const { return index >= 0 && index < GetCount(); }
    // The record at index, or null when the index is out of range.
    CMaterial* GetAt(int index);
    const CMaterial* GetAt(int index) const;
    const RecordList& Records() const { return m_records; }
    // Position of the record, -1 when it is null or not in this collection.
    int IndexOf(const CMaterial* material) const;

    // Operations of the views. An index out of range does nothing.
    void RemoveAt(int index) { TakeAt(index); }
    // The material at index taken out of the array (null out of range), for the caller to keep.
    std::unique_ptr<CMaterial> TakeAt(int index);
    // Every material taken out of the array, for the caller to keep; the settings stay.
    RecordList TakeAll();
    // Records that TakeAll took, back in place of whatever the array holds.
    void PutBackAll(RecordList records);
    void InsertCopy(int index, const CMaterial& material); // index 0..count
    void ReplaceAt(int index, const CMaterial& material);
    void Swap(int a, int b);
    // Moving towards the front puts the record at to; towards the back at to - 1 (before the
    // record that stood at to).
    void Move(int from, int to);
    // Sorts by g_materialSortSpecs[kind]; oxide is the element of the W key (outside 0..103:
    // silicon). A kind outside the table does nothing.
    void Sort(int kind, int oxide);
    // Multiply every cost, or every density, by factor and keep the factor, so that a window
    // holding a number read before (an edit form keeping its edits) converts it as the records
    // were converted.
    void ScaleCosts(double factor);
    void ScaleDensities(double factor);
    // Every factor the costs and the densities were multiplied by, in turn, for the life of the
    // collection (a read or a reset keeps them, so that a count taken before stays a place in
    // the list).
    const std::vector<double>& CostScalings() const { return m_costScalings; }
    const std::vector<double>& DensityScalings() const { return m_densityScalings; }
    // Sets every formula again from its own text, so that analyses follow the element table.
    void ReparseFormulas();
    // The record's SetField; a change of a key marks the index stale. A density or cost is
    // stored as the file keeps it.
    void SetField(int index, int field, const std::string& text);

    // --- look-ups ---

    void InvalidateIndex() { m_indexValid = false; }
    bool IsIndexValid() const { return m_indexValid; }
    void BuildIndex();

    // The one material look-up: by name, code, molecular formula, other name or other-name
    // code, ignoring case. A text "name (remark)" looks up the part before '(' (trailing blanks
    // removed) unless the whole text is a key itself (a name from an older file that holds
    // parentheses, or a formula such as "Ca3(PO4)2"). With canonical set the text is rewritten to the found key's display name
    // (a code gives the name), followed by a blank and the remark when there is one; an unknown
    // name keeps its spelling but loses the blanks before the remark.
    CMaterial* FindMaterial(std::string& text, bool canonical);
    // Not canonical: the text is left alone.
    CMaterial* FindMaterial(std::string_view text);
    // The material a key beginning with text belongs to; status PrefixFound, PrefixNone or
    // PrefixAmbiguous (null then). The text is rewritten only when found and canonical.
    CMaterial* FindByPrefix(std::string& text, bool canonical, int* status);

    // The end of material's mapping chain (the material itself when it maps to nothing), or
    // null with status MappingMissing or MappingLoop. A chain resolves when its end is at most
    // 19 links away.
    const CMaterial* ResolveMapping(const CMaterial* material, int* status);
    // True when following material's links reaches target within 20 look-ups.
    bool MapsTo(const CMaterial* material, const CMaterial* target);
    // ResolveMapping's status; on MappingOk the out-values (each may be null) receive the end
    // material's density, cost, availability and formula text, otherwise they are untouched.
    int GetMappedValues(const CMaterial* material, double* density, double* cost, int* available,
                        std::string* formula);

    // Duplicate keys, bad mappings, missing or invalid formulas and unexpected elements, one
    // OK/Cancel box per problem and a closing box per pass. One flag per record (1 reported), or
    // nothing when the user cancelled a box.
    std::optional<std::vector<int>> CheckDatabase();

    // --- cost texts ---

    // The printf-style format of a cost column: "%<left + right + 1>.<right>f".
    std::string BuildCostFormat() const;
    // The cost right-aligned in left + right + 1 places with right decimals.
    std::string FormatCost(double cost) const;

    // --- the .mat file (MaterialFile.cpp) ---

    // Resets, then reads the file. 0 on success; otherwise the reader's result, the message in
    // m_errorText, and the collection reset again (no records). A large file is read in pieces on
    // several threads (support/ParamFilePieces.h), with the result one read gives; options
    // choose the threads and pieces.
    int Read(std::istream& in, const CParamPieceOptions& options = {});
    // Writes the whole file; non-zero when the stream failed.
    int Write(std::ostream& out) const;
    // A density and a cost as the file keeps them, in the database's own units: one decimal, and
    // the cost places right. What the user types is stored so, so that the form, the list and the
    // file show one number (the file's format stays, since other programs read it).
    static double KeptDensity(double density);
    double KeptCost(double cost) const;

    // --- Insight TMT files (TmtFile.h) ---

    // Reads a TMT file (path null: the clipboard's text) and appends its materials at the end;
    // roles and expansions (104 entries each, filled by the caller) receive what the text says
    // of the oxides it names. 0 on success; 1 after a message, with every record dropped and
    // the settings back at their defaults.
    int ReadTmtFile(const std::string* path, int* roles, double* expansions);
    // The same from a stream whose lines end with delimiter; source (a path or "Clipboard")
    // begins the message.
    int ReadTmt(std::istream& in, char delimiter, const std::string& source, int* roles, double* expansions);

    // For the reader: a new record named name at the end.
    CMaterial& AppendNewRecord(std::string_view name);
    bool NoCurrentRecord() const override { return m_records.empty(); }
    CMaterial& CurrentRecord() { return *m_records.back(); }

    // --- settings (file keys in the comments) ---

    std::string m_dbName = kDefaultMaterialDbName; // dbname
    CStringArrayEx m_infoLines;                    // I
    std::string m_currencySymbol = kDefaultCurrencySymbol; // cursym
    int m_costUnit = kCostPerPound;                // costunit
    int m_costPlacesRight = 2;                     // costrod: decimals of a cost
    int m_costPlacesLeft = 3;                      // costlod: digits before the point
    int m_densityUnit = kDensityPerCup;            // densunit
    int m_fileVersion = 2;                         // version of the last file read

private:
    void AddIndexKeys(int record);
    // The index node of a look-up text, or -1; remark receives where the text's remark begins
    // (npos when it has none).
    int FindKeyNode(std::string_view text, std::size_t& remark);
    int CheckNamesAndCodes(std::vector<int>& flags);
    int CheckMappings(std::vector<int>& flags);
    int CheckFormulas(std::vector<int>& flags);
    int CheckUnexpectedElements(std::vector<int>& flags);

    RecordList m_records;
    CNameIndex m_index;
    bool m_indexValid = false;
    std::vector<double> m_costScalings;
    std::vector<double> m_densityScalings;
};

// Position of the first slot of records that holds pointer; -1 when it is null or absent.
template <class Record>
int PtrArrayIndexOf(const std::vector<std::unique_ptr<Record>>& records, const Record* pointer)
{
    if (!pointer)
        return -1;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (records[i].get() == pointer)
            return static_cast<int>(i);
    }
    return -1;
}
