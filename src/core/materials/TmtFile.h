#pragma once

// Insight TMT material-definition files.
//
// A TMT text is a run of lines; everything before the signature line "5.0TMT" is ignored. Then
// come sections in any order and number, each opened by its section line: "<Header>" names the
// oxide properties, unity groups, material properties and material types by number; "<Oxide>"
// defines one oxide (its name, properties, unity groups); "<Material>" one material (name,
// weight, type, properties and the amount of each oxide named so far). Any other line starting
// with "<" ("<Oxide Definitions>", "<EOF>") only ends the section. Inside a section every line is
// key=value.
//
// Reading fills a material collection (CMaterialArray::ReadTmtFile, MaterialArray.h, built on
// CTmtReader below) and two per-element arrays of imported roles and expansion coefficients;
// writing (WriteTmtFile) puts chosen materials of the open materials database after the
// definitions of every alkali, neutral and acid oxide of the element table. The materials list's
// Import command hands the read results to the databases through ImportTmtFile.

#include <cstdint>
#include <iosfwd>
#include <map>
#include <memory>
#include <span>
#include <string>

class CMaterial;
class CMaterialArray;
class CView;

// Help context of every message of the TMT reader.
inline constexpr unsigned kTmtReadErrorHelpId = 0x30270;

// The source name that messages and information lines use for clipboard text.
inline constexpr const char* kTmtClipboardSource = "Clipboard";

// A table of names indexed by a number from the file. Sparse, so that a file naming entry
// 2000000000 costs one entry; its size is one more than the largest number named.
class CTmtNameTable {
public:
    void Set(int index, const std::string& name);
    // The name of entry index; empty when it was never named.
    const std::string& Get(int index) const;
    bool Has(int index) const { return m_names.count(index) != 0; }
    long long Size() const { return m_names.empty() ? 0 : static_cast<long long>(m_names.rbegin()->first) + 1; }

private:
    std::map<int, std::string> m_names;
};

// The TMT state machine: hand it the lines of a text one by one, then Finish. Materials are
// appended to the target collection; the roles and expansions of the oxides that the text names
// are written into the arrays (104 entries each, indexed by element number; entry 0 is never
// touched).
class CTmtReader {
public:
    // costPerPound: the receiving database counts costs per pound, so a cost per kilogram from
    // the file is converted.
    CTmtReader(CMaterialArray& target, int* roles, double* expansions, bool costPerPound);
    ~CTmtReader();
    CTmtReader(const CTmtReader&) = delete;
    CTmtReader& operator=(const CTmtReader&) = delete;

    // One line as read (not yet trimmed). 0, or non-zero with the message in ErrorText().
    int ReadLine(std::string line);
    // The end of the input: a material section still open is completed.
    int Finish();

    // The error text, beginning ": " ("Parse error", "Bad material formula", ...).
    const std::string& ErrorText() const { return m_errorText; }
    // Lines handed in so far, empty lines included.
    int LineCount() const { return m_lineCount; }

private:
    enum class State { Signature, Between, Header, Oxide, Material };

    int Fail(const char* text);
    int ReadSectionLine(const std::string& line);
    int EndSection();
    void ReadHeaderKey(const std::string& key, const std::string& value);
    void ReadOxideKey(const std::string& key, const std::string& value);
    void ReadMaterialKey(const std::string& key, const std::string& value);
    int FinishMaterial();

    CMaterialArray& m_target;
    int* m_roles;
    double* m_expansions;
    bool m_costPerPound;
    State m_state = State::Signature;
    int m_lineCount = 0;
    std::string m_errorText;

    CTmtNameTable m_oxideProperties;
    CTmtNameTable m_unityGroups;
    CTmtNameTable m_materialProperties;
    CTmtNameTable m_materialTypes;
    // The oxide names defined so far: upper-cased name -> the name as its definition spells it.
    std::map<std::string, std::string> m_oxideNames;
    int m_element = 0;                       // the oxide section's element, 0 for none
    std::unique_ptr<CMaterial> m_material;   // the open material section's record
    std::string m_formula;                   // its formula text so far
    std::string m_weight;                    // its weight as written
};

// Writes the materials of the open materials database at the given indices, in that order, as a
// TMT text: the header, the oxide definitions, the materials and "<EOF>". Indices outside the
// database are skipped; without an open materials database nothing is written. Each line is
// flushed; the stream's state tells whether writing failed.
void WriteTmtFile(std::ostream& out, std::span<const int> indices);
// The same from a given collection.
void WriteTmtFile(std::ostream& out, const CMaterialArray& materials, std::span<const int> indices);

// The options of the Import Insight TMT File command (template 153, "Import from Insight TMT
// file..."), in the dialog's member order.
struct STmtImportOptions {
    bool expansions = false;       // "Oxide Expansions" (2681)
    bool materials = true;         // "Materials" (2680)
    bool roles = false;            // "Oxide Roles" (2682)
    bool clearExpansions = false;  // "Clear all expansions first" (2683)
    bool notExpectedFirst = false; // "Set all nonvolatiles to Not Expected first" (2684)
};

// What an import did, for the list view's refill.
struct STmtImportResult {
    int status = 0;          // 0 read; 1 the reader failed (after its message), nothing changed
    int oldCount = 0;        // materials in the database before the import
    int importedCount = 0;   // materials appended
    bool elementsChanged = false;
};

// The Import command after its two dialogs: reads the file at path (null: the clipboard) and,
// as the options say, appends the materials to the open materials database as Merge appends a
// file's (the materials mapped to one of them take its values, as after a Paste; then one
// notice, code materials inserted with the old count, sent from sender) and sets the element
// roles and expansions through the elements document (one notice, elements reloaded). Each
// database records the import in its information lines.
STmtImportResult ImportTmtFile(const STmtImportOptions& options, const std::string* path, CView* sender = nullptr);
