#pragma once

// The database tree's catalogue entries and the .dbt file that stores them.
//
// Every entry names one database file (or plain text file) by its full path, with the title
// shown in the tree and the kind of file. The list keeps the entries in display and file order
// and reads and writes the .dbt file:
//
//     filetype = Oxidarium Database Tree Items
//     version =  2
//
//     name  = /data/glazes.glz
//     title = My glazes
//     type  = glz
//
// The tree numbers its kinds itself (DbTreeItemType): graph templates and text files are 7 and 6
// here, but 6 and 8 as DbFileType. Files already on disk use this numbering's extensions, so the
// two enumerations stay apart and are converted where a probed file is added.

#include "support/DbFileType.h"
#include "support/ParamFile.h"

#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

enum class DbTreeItemType : int {
    Unknown = 0,
    Elements = 1,
    Materials = 2,
    Substitutions = 3,
    LimitFormulas = 4,
    Glazes = 5,
    TextFile = 6,
    GraphTemplates = 7,
};

// Number of tree kinds, Unknown included: the size of the per-kind flag arrays.
inline constexpr int kDbTreeItemTypeCount = 8;

// The kind's file-name extension without the dot ("glz"); "unknown" for Unknown and for values
// outside the enumeration.
const char* DbTreeItemTypeText(DbTreeItemType type);

// The tree kind of a probed file, or nothing for kinds the tree does not catalogue (unknown
// files, database trees, preferences).
std::optional<DbTreeItemType> DbTreeItemTypeFromFileType(DbFileType kind);

// The file kind of a tree kind (Unknown for Unknown and values outside the enumeration).
DbFileType DbFileTypeFromTreeItemType(DbTreeItemType type);

// The default catalogue file in the data directory.
inline constexpr const char* kDefaultDbTreeFileName = "databasetree.dbt";

class CDbTreeItem {
public:
    // Stores text as typeText and sets type from it: "ele", "mat", "sub", "glz", "lim", "txt" and
    // "grt", compared whole and ignoring case; any other text gives Unknown (and is kept).
    void SetTypeFromExtension(std::string_view text);
    // Stores the kind and its table text ("unknown" outside 1..7).
    void SetTypeCode(DbTreeItemType code);

    std::string path;     // full path of the file; the entry's key (compared ignoring case)
    std::string title;    // the database name shown in the tree
    std::string typeText; // the kind as read from the file or set from the code
    DbTreeItemType type = DbTreeItemType::Unknown;
    bool isOpen = false;          // the file is open in the program now; never stored
    void* treeHandle = nullptr;   // the tree node showing the entry; the view's, never stored
};

class CDbTreeItemList : public CParamFileContextOf<CDbTreeItem> {
public:
    int GetCount() const { return static_cast<int>(m_records.size()); }
    // The entry at index, or null when the index is out of range.
    CDbTreeItem* GetAt(int index);
    const CDbTreeItem* GetAt(int index) const;

    // Deletes every entry.
    void Clear() { m_records.clear(); }

    // Inserts a copy of item at index 0..count (count appends); other indexes do nothing.
    void InsertItem(int index, const CDbTreeItem& item);
    // Overwrites the entry at index 0..count-1 with item's fields.
    void SetItem(int index, const CDbTreeItem& item);
    // Deletes the entry at index and closes the gap.
    void RemoveItem(int index);
    // Index of the first entry whose path equals path ignoring case, or -1.
    int FindByPath(std::string_view path) const;
    // Stable ascending sort, ignoring case, by title when byTitle, else by path.
    void Sort(bool byTitle);

    // Replaces the entries with those read from in. 0 on success; otherwise the reader's code
    // (1 for a wrong file type), the message in m_errorText and the list empty.
    int Read(std::istream& in);
    // Writes the header and every entry; 0 on success, 1 when the stream failed.
    int Write(std::ostream& out) const;

    // Called before a new entry is started and at the end of a read: the place to validate the
    // entry just finished. Every entry is acceptable as it stands.
    int CheckLastRecord() { return 0; }

    int version = 0; // the "version" of the last file read
};
