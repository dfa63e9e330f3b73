#pragma once

// The limit-formula database: the formulas in the user's order, the database's name and
// information lines, and the oxide combinations the limits refer to. The limit-formula document
// owns one; the limit-formula clipboard is another.
//
// Limits are evaluated against the current database: the one the limit-formula document
// installs with SetCurrentLimitFormulaDB while it exists (tests install their own). With none
// installed no combination is found and every limit fails.
//
// The database is the reading context of its file: the reader appends formulas (records) and
// combinations (items) and fills the last one.

#include "limits/LimitFormula.h"
#include "limits/OxideCombination.h"
#include "support/NamedItemList.h"
#include "support/ParamFile.h"
#include "support/StringArrayEx.h"

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>

// The name of a new or emptied database, and of the limit-formula clipboard.
inline constexpr const char* kDefaultLimitFormulaDbName = "Limit Formulas";
// The "filetype" of a .lim file.
inline constexpr const char* kLimitFormulaFileType = "Oxidarium Limit Formulas";

class CLimitFormulaDB : public CParamFileContext {
public:
    CLimitFormulaDB() = default;
    CLimitFormulaDB(const CLimitFormulaDB&) = delete;
    CLimitFormulaDB& operator=(const CLimitFormulaDB&) = delete;
    // Uninstalls itself when it is the current database.
    ~CLimitFormulaDB() override;

    // Drops every formula, combination and information line; the name becomes "Limit Formulas".
    void Reset();

    int GetCount() const { return m_formulas.GetCount(); }
    // Valid indexes only.
    CLimitFormula& GetAt(int n) { return *m_formulas[static_cast<std::size_t>(n)]; }
    const CLimitFormula& GetAt(int n) const { return *m_formulas[static_cast<std::size_t>(n)]; }

    // Positions outside the array are ignored (0..count for an insert). Reordering goes through
    // m_formulas.MoveItem and m_formulas.SwapItems.
    void RemoveFormula(int n) { m_formulas.RemoveAt(n); }
    // Inserts a copy before n.
    void InsertFormula(int n, const CLimitFormula& formula) { m_formulas.InsertCopy(n, formula); }
    // Assigns formula into the record at n.
    void SetFormula(int n, const CLimitFormula& formula) { m_formulas.AssignAt(n, formula); }

    // The position of the formula itself (compared by identity), or -1: lets a view tell whether
    // the formula it holds still exists.
    int FindFormula(const CLimitFormula* formula) const { return m_formulas.IndexOf(formula); }
    // The first formula named name, ignoring case, or null.
    const CLimitFormula* FindFormulaByName(std::string_view name) const { return m_formulas.FindByName(name); }

    // Orders two glazes' limit-formula names: empty names last; names equal ignoring case, or
    // with plain set, ignoring case; otherwise names of this database first, in database
    // order, then the others ignoring case. -1, 0 or 1.
    int CompareFormulaNames(const std::string& a, const std::string& b, bool plain) const;

    // Appends the fourteen default combinations ("Na2O" ... "Si:Al").
    void AddDefaultCombinations();

    // Makes the union (CLimit::kUnion) or intersection (any other mode) of the formulas at
    // selected (list order; positions outside the database are skipped), named "Union of 3
    // limit formulas" and the like, and inserts it after the last of them. Returns its
    // position, or -1 when nothing valid was selected.
    int CombineFormulas(std::span<const int> selected, int mode);

    // The .lim file (LimitFormulaFile.cpp). Read empties the database first, and again when the
    // read fails, so a failed read leaves neither formulas nor combinations; it returns 0 or the
    // reader's error code with the message in m_errorText. Write returns 0, or 1 when the stream
    // failed.
    int Read(std::istream& in);
    int Write(std::ostream& out) const;

    // The reader's view: the formula (the combination) being read is the last one.
    bool NoCurrentRecord() const override { return m_formulas.empty(); }
    bool NoCurrentItem() const override { return m_combinations.empty(); }
    CLimitFormula& CurrentRecord() { return *m_formulas.back(); }
    COxideCombination& CurrentItem() { return *m_combinations.back(); }

    CNamedItemList<CLimitFormula> m_formulas;
    std::string m_name = kDefaultLimitFormulaDbName; // header key "dbname"
    CStringArrayEx m_infoLines;                      // header key "I"
    COxideCombinationArray m_combinations;
    int m_version = 0;                               // the "version" of the last file read
};

// CLimitFormulaDB::CompareFormulaNames on database; with none every name counts as unlisted.
int CompareLimitFormulaNames(const CLimitFormulaDB* database, const std::string& a, const std::string& b,
                             bool plain);

// The database limits are evaluated against, or null.
CLimitFormulaDB* GetCurrentLimitFormulaDB();
// Installs database (null for none) and returns the one installed before.
CLimitFormulaDB* SetCurrentLimitFormulaDB(CLimitFormulaDB* database);

// Installs a database for the lifetime of the object and then puts back the one installed before.
class CCurrentLimitFormulaDBScope {
public:
    explicit CCurrentLimitFormulaDBScope(CLimitFormulaDB& database)
        : m_previous(SetCurrentLimitFormulaDB(&database))
    {
    }
    ~CCurrentLimitFormulaDBScope() { SetCurrentLimitFormulaDB(m_previous); }
    CCurrentLimitFormulaDBScope(const CCurrentLimitFormulaDBScope&) = delete;
    CCurrentLimitFormulaDBScope& operator=(const CCurrentLimitFormulaDBScope&) = delete;

private:
    CLimitFormulaDB* m_previous;
};
