#pragma once

// The in-program clipboards: Cut, Copy and Paste of database records never use the system
// clipboard (which carries only texts and charts). Each record kind has one clipboard, a global
// collection of the same class as that kind's database, holding copies of the records copied
// last. The application context owns them (shell/AppContext.h); they live for the whole run, so
// closing or reloading the database a record came from does not touch its copy.
//
// The protocol the list and edit views follow, the same for every kind:
//   Copy  (list view): with at least one row selected, the clipboard is cleared (records freed,
//         name and settings back to their defaults) and a copy of each selected record is
//         appended in row order. With nothing selected the clipboard stays as it was.
//   Copy  (edit view): cleared the same way, then a copy of the record as the form shows it.
//   Cut:  Copy, then the list view's Delete of the selected rows.
//   Paste: at the first selected row (0 when none). An empty clipboard or a position past the
//         end does nothing. Otherwise a copy of each clipboard record is inserted at position,
//         position + 1, ... in clipboard order, and one notice with the kind's "inserted" code
//         and the position follows. The clipboard keeps its records for further pastes.
//
// A clipboard class takes part by providing, beside its class, four functions found by
// argument-dependent look-up:
//   void ClearClipboard(C&);  int ClipboardCount(const C&);
//   const R& ClipboardRecord(const C&, int);  void AppendToClipboard(C&, const R&);

#include "framework/DocRegistry.h"
#include "support/DbFileType.h"

#include <cstdint>
#include <span>

class CView;

// The notice code that announces records inserted into a database of the kind (0 for kinds
// without records to paste).
int InsertedRecordsHintCode(DbFileType kind);

// Where a paste goes and who announces it.
struct CPasteTarget {
    CView* sender = nullptr;          // the view pasting (it refreshes itself)
    const void* document = nullptr;   // the document receiving the records
    DbFileType kind = DbFileType::Unknown;
    int position = 0;                 // first selected row, 0 when none
    int count = 0;                    // records in the database now
};

// Copy from a list view: rows are the selected rows in ascending order; recordAt(row) gives the
// record of a row (null ones are skipped). False, with the clipboard unchanged, when no row is
// selected.
template <class Clipboard, class RecordAt>
bool CopyRowsToClipboard(Clipboard& clipboard, std::span<const int> rows, RecordAt recordAt)
{
    if (rows.empty())
        return false;
    ClearClipboard(clipboard);
    for (int row : rows) {
        if (const auto* record = recordAt(row))
            AppendToClipboard(clipboard, *record);
    }
    return true;
}

// Copy from an edit view: the clipboard holds a copy of record alone.
template <class Clipboard, class Record>
void CopyRecordToClipboard(Clipboard& clipboard, const Record& record)
{
    ClearClipboard(clipboard);
    AppendToClipboard(clipboard, record);
}

// Cut: Copy, then deleteRows() (the list view's Delete of the same rows). False when no row
// is selected: nothing is copied or deleted.
template <class Clipboard, class RecordAt, class DeleteRows>
bool CutRowsToClipboard(Clipboard& clipboard, std::span<const int> rows, RecordAt recordAt, DeleteRows deleteRows)
{
    if (!CopyRowsToClipboard(clipboard, rows, recordAt))
        return false;
    deleteRows();
    return true;
}

// Paste: insertCopy(index, record) inserts a copy into the database (through its document, which
// marks itself modified). Returns the number of records pasted; the caller selects the rows
// position .. position + result - 1.
template <class Clipboard, class InsertCopy>
int PasteFromClipboard(const Clipboard& clipboard, const CPasteTarget& target, InsertCopy insertCopy)
{
    const int pasted = ClipboardCount(clipboard);
    if (pasted == 0 || target.position < 0 || target.position > target.count)
        return 0;
    for (int k = 0; k < pasted; ++k)
        insertCopy(target.position + k, ClipboardRecord(clipboard, k));
    BroadcastUpdate(target.sender, target.document, static_cast<int>(target.kind),
                                   InsertedRecordsHintCode(target.kind), target.position, 0);
    return pasted;
}
