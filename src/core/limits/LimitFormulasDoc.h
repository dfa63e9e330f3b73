#pragma once

// The limit-formulas document: the one limit-formula database of the running program.
//
// It owns the database (formulas, name, information lines, oxide combinations) in .lim files and
// compiles new formulas from glazes. While it lives g_pLimitFormulasDoc points at it and its
// database is the current limit-formula database, against which every limit is evaluated; both
// are cleared when it is destroyed. The file, the edit forms, the list operations and their
// notices (kind 4, limit formulas) are those of every record database (RecordDatabaseDoc.h).

#include "limits/LimitFormulaClipboard.h"
#include "limits/LimitFormulaDB.h"
#include "records/RecordDatabaseDocOf.h"

#include <iosfwd>
#include <span>
#include <string>
#include <vector>

class CLimitFormulasDoc;
class CMakeLimitFormulaRequest;

// Commands of the limit-formulas document (menu texts in the comments).
enum LimitFormulasDocCommand : unsigned {
    CmdSaveLimitFormulaDb = 32788,   // "&Save Limit Formula Database"
    CmdRevertLimitFormulaDb = 32789, // "&Revert To Saved"
    CmdSaveLimitFormulaDbAs = 32874, // "Save &As..."
    CmdNewLimitFormulaDb = 32875,    // "&New Limit Formula Database"
    CmdOpenLimitFormulaDb = 32876,   // "&Open Limit Formula Database..."
};

// The document template's string: only the window title.
inline constexpr const char* kLimitFormulasDocString = "Limit Formulas\n\n\n\n\n\n";

// Help contexts of the document's messages.
inline constexpr unsigned kLimitFormulaOpenErrorHelpId = 0x30119;
inline constexpr unsigned kLimitFormulaReadErrorHelpId = 0x30120;
inline constexpr unsigned kLimitFormulaBackupQuestionHelpId = 0x30121;
inline constexpr unsigned kLimitFormulaWriteErrorHelpId = 0x30122;
inline constexpr unsigned kMakeLimitFormulaHelpId = 371;

using CLimitFormulaAccess =
    CNamedListAccess<CLimitFormulaDB, CLimitFormula, &CLimitFormulaDB::m_formulas, &CLimitFormulaDB::m_name>;

// What the document asks of one limit-formula edit form, and the forms as the user interface
// provides them (RecordDatabaseDoc.h).
using CLimitFormulaEditLink = CRecordEditLink;
using CLimitFormulaEditViews = CRecordEditViewsOf<CLimitFormulasDoc>;

inline CLimitFormulaEditViews* GetLimitFormulaEditViews()
{
    return static_cast<CLimitFormulaEditViews*>(GetRecordEditViews(DbFileType::LimitFormulas));
}
inline void SetLimitFormulaEditViews(CLimitFormulaEditViews* views)
{
    SetRecordEditViews(DbFileType::LimitFormulas, views);
}

class CLimitFormulasDoc : public CRecordDatabaseDocOf<CLimitFormulaAccess> {
public:
    // An empty database; sets g_pLimitFormulasDoc, registers the singleton and installs the
    // database as the current limit-formula database.
    CLimitFormulasDoc();
    // Clears the three (only where they still point here).
    ~CLimitFormulasDoc() override;

    CLimitFormulaDB& Database() { return m_records; }
    const CLimitFormulaDB& Database() const { return m_records; }

    // --- record operations: each marks the document modified ---

    void RemoveFormula(int n) { RemoveRecord(n); }
    void InsertFormula(int n, const CLimitFormula& formula) { InsertRecord(n, formula); }
    void SetFormula(int n, const CLimitFormula& formula) { SetRecord(n, formula); }

    // Compiles the formula the request describes (CompileLimitFormula), writes its statistics to
    // the Information window when asked, and appends it. Returns its index; -1 after a message
    // when no glaze was used.
    int CompileFromGlazes(const CMakeLimitFormulaRequest& request);

    // The summary (LimitFormulaSummary.h) of formula, or when it is null of the formulas at
    // indices, with the current print preferences.
    void WriteSummary(std::ostream& out, std::span<const int> indices, bool withHeader,
                      const CLimitFormula* formula) const;

protected:
    // The database is emptied without its combinations; a new one gets the fourteen default
    // combinations.
    void ResetRecords() override { m_records.Reset(); }
    void StartNewDatabase() override;
    CLimitFormulaDB& Clipboard() const override { return g_limitFormulaClipboard; }
    // A subset carries every combination.
    void CopySettingsTo(CLimitFormulaDB& subset) const override { subset.m_combinations = m_records.m_combinations; }
};

// The one limit-formulas document, or null when none exists.
extern CLimitFormulasDoc* g_pLimitFormulasDoc;
