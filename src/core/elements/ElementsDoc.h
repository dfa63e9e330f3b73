#pragma once

// The elements document: the one document that owns the working element table.
//
// Exactly one exists while the program runs. Start-up opens it from the profile's
// "Files"/"ElementDBFileName" (an empty path gives the defaults), and its window is only ever
// minimised, so g_pElementsDoc stays valid until exit. While it lives it installs its table as
// the working element table, so GetElementTable() hands out the document's records; without a
// document GetElementTable() gives the built-in defaults.
//
// Every reload (New, Open, Revert To Saved) replaces the table in place and is announced with
// kind 1, code HintElementsReplaced; saves announce HintDocumentSaved (also after a failed or
// cancelled save, so that views refresh their captions either way); RevertElement and
// RevertAllElements announce HintElementChanged with the element number, or -1 for all.
//
// A file that cannot be opened or read leaves, after a message, the defaults with no path and
// the profile value as it was, so the next start tries the user's file again.

#include "elements/ElementFile.h"
#include "framework/Document.h"

#include <iosfwd>
#include <string>
#include <vector>

class CFrameHost;
class CView;

// Commands of the elements document (menu texts in the comments).
enum ElementsDocCommand : unsigned {
    CmdSaveElementDb = 32783,   // "Save Element Database"
    CmdRevertElementDb = 32784, // "Revert To Saved"
    CmdSaveElementDbAs = 32870, // "Save As..."
    CmdOpenElementDb = 32871,   // "Open Element Database..."
    CmdNewElementDb = 32872,    // "New Element Database"
};

// The document template's string: only the window title.
inline constexpr const char* kElementsDocString = "Elements\n\n\n\n\n\n";

// Help contexts of the document's messages.
inline constexpr unsigned kElementOpenErrorHelpId = 0x30119;
inline constexpr unsigned kElementReadErrorHelpId = 0x30120;
inline constexpr unsigned kElementBackupQuestionHelpId = 0x30121;
inline constexpr unsigned kElementWriteErrorHelpId = 0x30122;

class CElementsDoc : public CDocument, public CElementFile {
public:
    // The defaults, named "Elements (default)"; sets g_pElementsDoc, registers the singleton and
    // installs the table as the working element table.
    CElementsDoc();
    // Clears g_pElementsDoc and everything the constructor registered (only where it still
    // points at this document).
    ~CElementsDoc() override;

    std::string GetDatabaseName() const override { return m_dbName; }
    // Sets the database name and marks the document modified.
    void SetDatabaseName(const std::string& name);

    // The Select One rows: one per element 1..103 whose role puts it in the alkali, neutral or
    // acid group (elements that are only volatile or not expected are left out), reading
    // "number\tsymbol\tname"; a row's index is the element number.
    void GetRecordRows(std::vector<CRecordRow>& rows) const override;

    // Lets the user save or discard changes (Cancel: 1, nothing else happens), then reloads the
    // document from path and announces it; 0 when done.
    int OpenFile(const std::string& path);
    int OpenDatabaseFile(const std::string& path) override { return OpenFile(path); }

    // Element operations of the user: the record (or every record) goes back to the defaults,
    // with the notes as mode says, the document is marked modified and the change announced as
    // coming from sender (null: from the document).
    void RevertElement(int z, ENotesRevert mode, CView* sender = nullptr);
    void RevertAllElements(ENotesRevert mode, CView* sender = nullptr);

    // The working table. Edits through it neither mark the document modified nor announce
    // anything: the editing command does both.
    CElementTable& Elements() { return m_elements; }
    const CElementTable& Elements() const { return m_elements; }

    // The element list report, with the current print preferences (see ElementPrinting.h).
    void WriteElementList(std::ostream& out) const;

    // Document life.
    bool OnNewDocument() override;
    // Always true: a file that cannot be opened or read leaves the defaults after a message.
    bool OnOpenDocument(const std::string& path) override;
    bool OnSaveDocument(const std::string& path) override;
    CFileDialogRequest GetSaveAsRequest() const override;
    // The elements window is never closed by the user: it is minimised instead.
    bool CanCloseFrame(CFrameHost* frame) override;

    bool OnCommand(unsigned id) override;
    bool OnUpdateCommand(CCmdUI& ui) override;

private:
    // Back to the built-in contents: default records, default name, no information lines.
    void ResetToDefaults();
    // Reads path over the defaults: false after a message when it cannot be opened or read
    // (one that says the defaults are used, but for a revert, which puts the table back).
    bool ReadElementFile(const std::string& path, CFileStamp& stamp, bool reverting);
    // Revert To Saved, after the question that says the unsaved changes go (ConfirmRevertToSaved):
    // a file that cannot be read (gone, of another kind, damaged) leaves the table, its path and
    // its modified flag as they were, after the message; so does one that may have been cut short,
    // unless the user reverts to it all the same.
    bool RevertToSaved();
    void OnFileOpen();
    void BroadcastElements(int code, int index, CView* sender = nullptr);

};

// The one elements document, or null when none exists.
extern CElementsDoc* g_pElementsDoc;
