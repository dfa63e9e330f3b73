#pragma once

// The list window of a record database (materials, limit formulas, substitutions, graph
// templates): one row per record, in database order, several rows selectable. The window is made
// with the document at start-up and waits minimised; closing it only minimises it.
//
// CRecordListView carries what every such list does: filling the rows (a kind gives the row
// texts and measures its tab stops), keeping the selection, the caret and the top row across a
// refill and a change of view mode, the notices of its kind, the shared commands with their
// enabling (edit, edit limited, cut, copy, paste, delete, select all, invert selection, insert and
// append new, shift up and down, selected to top, alphabetize, database notes, merge, save
// selected as, help), the context menu and the double click. The commands go through the
// document's list operations (records/RecordDatabaseDoc.h), which ask the edit windows first where
// records are deleted or replaced; the view refreshes itself and ignores its own notices.
//
// A kind states its command ids and texts in a CRecordListKind and overrides the hooks for its
// own columns, notices and commands.

#include "framework/MenuDef.h"
#include "support/ListView31.h"
#include "records/RecordMenus.h"

#include <string>
#include <vector>

class CRecordDatabaseDoc;
class CStringArrayEx;

// The ids a kind gives the shared list commands.
struct CRecordListCommands {
    unsigned edit;
    unsigned editLimited;
    unsigned cut;
    unsigned copy;
    unsigned paste;
    unsigned deleteRows;
    unsigned selectAll;
    unsigned invertSelection;
    unsigned insertNew;
    unsigned appendNew;
    unsigned shiftUp;
    unsigned shiftDown;
    unsigned selectedToTop;
    unsigned alphabetize;
    unsigned databaseNotes;
    unsigned merge;
    unsigned saveSelected;
    unsigned help;
    unsigned contextHelp;
    // The view modes "&Names" (0) and "Names and N&otes" (1); 0 for a kind with views of its own.
    unsigned names = 0;
    unsigned namesAndNotes = 0;
};

// What one kind of list window states about itself.
struct CRecordListKind {
    CRecordListCommands commands;
    CRecordWords words; // prompts, the merge dialog, " contains no ...!"
    unsigned helpId;         // the window's help topic
    int initialWidth;
    int initialHeight;
    // The database notes dialog.
    const char* notesCaption;
    unsigned notesHelpId;
    const char* notesColor;
    // Merge and Save Selected As.
    const char* mergeTitle;
    unsigned mergeHelpId;
    unsigned mergeEmptyHelpId;
    const char* mergeListColor;
    const char* saveSelectedTitle;
    // A tab stop before the name column, in dialog units (0 for none).
    int firstTabStop = 0;
    // Shift Up is enabled with any selection (it does nothing with the first row selected).
    bool shiftUpWithFirstRow = false;
    // Alphabetize is enabled on an empty database too.
    bool alphabetizeWhenEmpty = false;
};

class CRecordListView : public CListView31 {
public:
    explicit CRecordListView(const CRecordListKind& kind);

    const CRecordListKind& ListKind() const { return m_kind; }

    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, const CUpdateHint* hint) override;
    bool OnCommand(unsigned id) override;
    bool OnUpdateCommand(CCmdUI& ui) override;

    // Rebuilds every row. top becomes the first visible row; select (0 or more, limited to the
    // last row) is selected and becomes the caret row without scrolling; the tab stops are
    // measured again when setTabStops is set.
    void FillList(int top, int select, bool setTabStops);
    // Changes the view mode keeping the selection, the caret and the top row.
    void SetViewMode(int mode);
    int ViewMode() const { return m_nViewMode; }
    // The row text of record n: its name, or in view mode 1 the name, a tab and the notes
    // joined with blanks into at most kNotesWidth characters.
    static constexpr int kNotesWidth = 1000;
    virtual std::string RowText(int n) const;

    // --- the shared commands (RecordListViewCommands.cpp) ---
    void OnEdit();
    void OnEditLimited();
    void OnCopy();
    void OnCut();
    void OnPaste();
    void OnDelete();
    void OnInvertSelection();
    void InsertNewAt(int position);
    void OnShiftUp();
    void OnShiftDown();
    void OnSelectedToTop();
    void OnAlphabetize();
    void OnDatabaseNotes();
    void OnMerge();
    void OnSaveSelected();

protected:
    CRecordDatabaseDoc* RecordDoc() const;
    int RecordCount() const;
    void Broadcast(int code, int index, const void* record = nullptr);
    // The document's title and the frame's caption become the database name.
    void SetCaption();
    // Selects the rows again after a refill (rows beyond the end select nothing).
    void Reselect(const std::vector<int>& rows);
    // Refills keeping the selection, the caret and the top row.
    void RefillKeepingSelection();
    // Selects row as the caret row without scrolling the list.
    void SetCaretQuietly(int row);

    // --- hooks of a kind ---

    // The notes of record n that view mode 1 shows; none by default.
    virtual const CStringArrayEx* RecordNotes(int /*n*/) const { return nullptr; }
    // Measures the tab stops and the horizontal extent for the rows; by default the first stop
    // of the kind, then one after the widest name.
    virtual void MeasureTabStops();
    // Before a fill, after the tab stops: settles what RowText needs (the kind's columns). Rows
    // are built by RowText when the list first shows or reads them.
    virtual void PrepareRows() {}
    // A notice of another kind or code than the shared ones; the default ignores it.
    virtual void OnOtherNotice(const CUpdateHint& /*hint*/) {}
    // After New, Open, Revert or a merge that replaced records; the default fills from the top.
    virtual void OnRecordsReplaced() { FillList(0, -1, true); }
    // The kind's own commands; false for a command it does not know.
    virtual bool UpdateKindCommand(CCmdUI& /*ui*/) { return false; }
    virtual bool RunKindCommand(unsigned /*id*/) { return false; }
    // With "Sort after merge": alphabetizes by default.
    virtual void SortAfterMerge() { OnAlphabetize(); }
    // The right button's menu.
    CMenuDef PopupMenu() const override = 0;
    // Edits the record double-clicked.
    bool OnLeftDoubleClick(const QPoint& position) override;

    // The file question of a merge with the title; empty when the user cancelled.
    std::string AskForMergeFile(const char* title) const;
    // The merge dialog over the names read from path, each marked where the database already
    // has one so named (existing).
    struct CMergeChoice {
        bool accepted = false;
        std::vector<int> chosen; // ascending
        int method = 0;          // kMergeAppendAll or kMergeReplaceExisting
        bool sortAfter = false;
    };
    CMergeChoice AskWhatToMerge(const std::string& path, const char* kindWord, const std::vector<std::string>& names,
                                const std::vector<int>& existing, bool offerSort);

    int m_nViewMode = 0;

private:
    bool UpdateSharedCommand(CCmdUI& ui);
    bool RunSharedCommand(unsigned id);
    void RefillAfterMerge(int appended, int oldCount);

    const CRecordListKind& m_kind;
};
