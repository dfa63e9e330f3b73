#pragma once

// A data source of a graph template: which glaze databases and which of their glazes a chart
// draws as one data set, and the colour, symbol and pattern of that set.
//
// A template owns its data sources; copying a template copies them (CGraphDataSourceArray is a
// deep-copying list). The members are named after their .grt keys.

#include "support/NamedItemList.h"
#include "support/StringArrayEx.h"

#include <string>

// Values of dsdb: which glaze databases.
enum GraphDataSourceDatabase : int {
    kDataSourceCurrentDatabase = 0,
    kDataSourceAllDatabases = 1,
    kDataSourceNamedDatabase = 2, // the open database named dsdbname
};

// Values of dsglz: which glazes of each database.
enum GraphDataSourceGlazes : int {
    kDataSourceCurrentGlaze = 0,
    kDataSourceSelectedGlazes = 1,
    kDataSourceAllGlazes = 2,
    kDataSourceNamedGlazes = 3, // the glazes named in dsgname
};

class CGraphDataSource {
public:
    // Every number and flag 0, no database or glaze names.
    explicit CGraphDataSource(std::string name = std::string()) : m_name(std::move(name)) {}

    bool operator==(const CGraphDataSource&) const = default;

    std::string m_name;     // dsname
    int dsdb = 0;           // GraphDataSourceDatabase
    int dsglz = 0;          // GraphDataSourceGlazes
    int dscol = 0;          // colour index of the chart palette
    int dssym = 0;          // symbol
    int dspat = 0;          // fill pattern
    int dscp = 0;           // flag: the pattern together with the colour
    std::string dsdbname;   // database name for dsdb 2
    CStringArrayEx dsgname; // glaze names for dsglz 3
};

// The owned data sources of one template, in chart order. Indexes outside the list (0..count for
// an insert) do nothing.
class CGraphDataSourceArray : public CNamedItemList<CGraphDataSource> {
public:
    CGraphDataSourceArray() = default;
    CGraphDataSourceArray(const CGraphDataSourceArray& other);
    CGraphDataSourceArray& operator=(const CGraphDataSourceArray& other);
    CGraphDataSourceArray(CGraphDataSourceArray&&) noexcept = default;
    CGraphDataSourceArray& operator=(CGraphDataSourceArray&&) noexcept = default;

    // Compares the sources, not their addresses.
    bool operator==(const CGraphDataSourceArray& other) const;

    CGraphDataSource& GetAt(int i) { return *(*this)[static_cast<std::size_t>(i)]; }
    const CGraphDataSource& GetAt(int i) const { return *(*this)[static_cast<std::size_t>(i)]; }

    // Inserts a copy of source before i.
    void InsertAt(int i, const CGraphDataSource& source);
    // Inserts a copy of source after i.
    void InsertAfter(int i, const CGraphDataSource& source) { InsertAt(i + 1, source); }
    // Assigns every field of source to the source at i.
    void SetAt(int i, const CGraphDataSource& source);
    void RemoveAt(int i);
    void RemoveAll() { clear(); }
};
