#pragma once

// The element table: 104 element records, index = element number z.
//
// The table exists twice: the constant defaults (`g_defaultElements`, built into records once,
// see ElementRecord.h) and a working table, a `CElementTable` that the elements document
// owns and installs while it exists. Every other part reads the table only through
// `GetElementTable`, which returns the installed working table, else the defaults, and orders
// element lists through `GetElementDisplayOrder`.

#include "elements/ElementRecord.h"

#include <array>

// An array of doubles indexed by element number; zero-filled when made.
struct OxideVector : std::array<double, kElementCount> {
    OxideVector() : std::array<double, kElementCount>{} {}
    void Clear() { fill(0.0); }
};

// 104 element numbers in display order.
using ElementDisplayOrder = std::array<int, kElementCount>;

// A full table of 104 records. Made from the defaults; the operations of the elements
// document (`RevertElement`, `SetRole`, `SetOxide`, ...) live here so that the document only
// forwards to them. Every operation ignores an element number outside 0..103. None of them marks
// anything modified or broadcasts: their callers do.
class CElementTable {
public:
    // Filled from the defaults (notes mode 2: the defaults' empty note arrays).
    CElementTable();

    // Pointer to the first of the 104 records (index = z).
    const CElementRecord* Records() const { return m_records.data(); }
    // Record z; z must be 0..103.
    const CElementRecord& operator[](int z) const { return m_records[static_cast<std::size_t>(z)]; }
    CElementRecord& operator[](int z) { return m_records[static_cast<std::size_t>(z)]; }

    // Copies default record z over record z; the note arrays follow the mode.
    void RevertElement(int z, ENotesRevert mode);
    // RevertElement for z = 0..103.
    void RevertAllElements(ENotesRevert mode);

    // Store `role` or `rolered` as given.
    void SetRole(int z, std::int32_t flags);
    void SetReductionRole(int z, std::int32_t flags);

    // Oxide rebuild (a negative count keeps the current one), with oxygen (z 8) of this table.
    void SetOxide(int z, int ncat, int nan);
    void SetReductionOxide(int z, int ncatred, int nanred);

    // Replace the element's note or annotation lines with a copy of lines (null: none).
    void SetNotes(int z, const CStringArrayEx* lines);
    void SetAnnotations(int z, const CStringArrayEx* lines);

    bool operator==(const CElementTable&) const = default;

private:
    std::array<CElementRecord, kElementCount> m_records;
};

// Pointer to the first of the 104 records (index = z): the installed working table's, else the
// defaults'. Callers read fields directly.
const CElementRecord* GetElementTable();

// Installs the working table that GetElementTable hands out (null: none, the defaults again).
// Returns the table that was installed before. The table must outlive its installation.
const CElementTable* InstallWorkingElementTable(const CElementTable* table);
// Removes the installed working table; GetElementTable returns the defaults again.
void RemoveWorkingElementTable();
// The installed working table, or null.
const CElementTable* GetWorkingElementTable();

// Installs a working table for the lifetime of the object and then puts back whatever was
// installed before (for tests, and for the elements document's lifetime).
class CWorkingElementTableScope {
public:
    explicit CWorkingElementTableScope(const CElementTable& table)
        : m_previous(InstallWorkingElementTable(&table))
    {
    }
    ~CWorkingElementTableScope() { InstallWorkingElementTable(m_previous); }
    CWorkingElementTableScope(const CWorkingElementTableScope&) = delete;
    CWorkingElementTableScope& operator=(const CWorkingElementTableScope&) = delete;

private:
    const CElementTable* m_previous;
};

// Display order: five passes over the role groups alkali (0x10), neutral (0x04), acid (0x08),
// volatile (0x02), not expected (0x01); in each, priorities 1, 2, 3; in each, z ascending. An
// element is listed under the first group and priority that it matches (amphoteric elements
// sort with their group). Elements that match none (no group bit, or a priority outside 1..3,
// as an element file can give) are appended at the end in z order. So the order always holds
// exactly 104 entries, each element once.
ElementDisplayOrder GetElementDisplayOrder(const CElementRecord* table);
// The order of GetElementTable().
ElementDisplayOrder GetElementDisplayOrder();
// The array form: fills exactly 104 ints of the caller's array.
void GetElementDisplayOrder(int* order);
