#pragma once

// The document base: a database or text file the program has open.
//
// A document owns its records, knows its path, title and modified flag, and tells its views
// about changes (UpdateAllViews). Documents are owned by their document template; closing a
// document's last frame closes the document, and its template destroys it.
//
// Saving follows one pattern for every kind: SaveModified asks "Save changes to %1?" when the
// document is modified; DoSave asks for a path when it has none (through the file-dialog
// service), calls OnSaveDocument, and on success takes the new path.

#include "framework/CmdTarget.h"
#include "framework/FileDialogService.h"
#include "support/FileStamp.h"

#include <map>
#include <string>
#include <vector>

class CDocTemplate;

// One row of a pick-one list of a document's records: the record's index and the row's text
// (fields separated by tabs).
struct CRecordRow {
    int index = -1;
    std::string text;
};
class CFrameHost;
class CUpdateHint;
class CView;

// Why a document is asked to save its changes: its windows are about to close or its contents
// to be replaced (Exit, its last window closed, Open or New over it), or it is only to be saved
// (Save All Databases). An edit window that keeps the stored version of its record over another
// window's save stops a closing, but lets a save go on without its edits.
enum class SaveModifiedFor { Closing, SavingOnly };

class CDocument : public CCmdTarget {
public:
    CDocument();
    ~CDocument() override;
    CDocument(const CDocument&) = delete;
    CDocument& operator=(const CDocument&) = delete;

    // True while the object is a document that has not been destroyed.
    static bool IsLive(const void* object);

    const std::string& GetPathName() const { return m_strPathName; }
    // Sets the path and the title (the path's file name).
    virtual void SetPathName(const std::string& path, bool addToRecentFiles = true);
    void ClearPathName() { m_strPathName.clear(); }
    const std::string& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(const std::string& title);

    bool IsModified() const { return m_bModified; }
    virtual void SetModifiedFlag(bool modified = true) { m_bModified = modified; }

    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

    // The database name stored in the document's file ("dbname"); empty for kinds without one.
    virtual std::string GetDatabaseName() const { return std::string(); }

    // The rows a "Select One" list shows for this document's records; none by default.
    virtual void GetRecordRows(std::vector<CRecordRow>& rows) const { rows.clear(); }

    // For the single document of a singleton database kind: lets the user save or discard its
    // changes, replaces its contents with the file and announces the reload. 0 when done, 1 when
    // the user cancelled (or the kind has no such operation).
    virtual int OpenDatabaseFile(const std::string& /*path*/) { return 1; }

    // Views.
    void AddView(CView* view);
    void RemoveView(CView* view);
    const std::vector<CView*>& GetViews() const { return m_views; }
    // Hands the hint to every view but the sender. Views removed during the call are skipped.
    void UpdateAllViews(CView* sender, const CUpdateHint* hint = nullptr);
    // A notice of BroadcastUpdate, heard by every open document before any view hears it: a
    // document whose data follows another database (material analyses follow the element table)
    // brings it up to date here, whether or not a window shows it. Nothing by default.
    virtual void OnBroadcastNotice(const CUpdateHint& /*hint*/) {}

    // Life cycle; each returns false on failure.
    virtual bool OnNewDocument();
    virtual bool OnOpenDocument(const std::string& path);
    virtual bool OnSaveDocument(const std::string& path);
    virtual void DeleteContents() {}
    // Closes every frame of the document; the template then destroys it.
    virtual void OnCloseDocument();
    // OnCloseDocument announced to every window, before (HintDocumentClosing) and after
    // (HintDocumentClosed, whose object is then only the identity of the destroyed document),
    // under the kind given: windows of other documents let go of the records they held of it.
    void CloseAnnounced(int kind);
    // A frame calls this after it closed and its view left: when no other frame shows the
    // document, the document closes (unless it is kept without windows).
    void OnFrameClosed();
    // A document that must live while the program runs (a singleton database) stays open when
    // its last window closes; only OnCloseDocument closes it.
    void KeepWithoutWindows(bool keep) { m_bKeepWithoutWindows = keep; }

    // Asks whether to save a modified document: true to go on (saved or discarded), false to stop.
    virtual bool SaveModified(SaveModifiedFor reason);
    // Saves to the current path, or asks for one when there is none or the file is read-only.
    virtual bool DoFileSave();
    // Saves to path, or asks for a path when path is empty; replace takes the new path.
    virtual bool DoSave(const std::string& path, bool replace = true);
    // The Save As question of this kind of document (title, filter, extension, help); the
    // default is built from the template's document string.
    virtual CFileDialogRequest GetSaveAsRequest() const;
    // Whether the frame may close (the document's last frame asks SaveModified).
    virtual bool CanCloseFrame(CFrameHost* frame);
    // Revert To Saved is offered while the document has a path and something to revert: it is
    // modified, or a window holds unsaved edits of its records.
    bool CanRevertToSaved() const { return (m_bModified || FormsHoldEdits()) && !m_strPathName.empty(); }
    // Whether an edit window holds unsaved edits of the document's records.
    virtual bool FormsHoldEdits() const { return false; }

    // What a file was when this document last read or wrote it, taken before reading (so that a
    // change during the read counts as a change) or from the file just written.
    void RememberFileState(const std::string& path, const CFileStamp& stamp);
    // Before a save over path: true to go on. When the document read or wrote path and the file
    // has changed since (another copy of the program or an editor saved it), asks "<path> has
    // been changed by another program since it was opened. Replace it with this version?";
    // No gives false. A file that is gone is not asked about: nothing of it would be lost.
    bool ConfirmReplaceChangedFile(const std::string& path, unsigned helpId) const;

    // Help context of the save question; kinds may use their own.
    unsigned m_nSaveQuestionHelpId = 0x30141;
    // Whether a save made from the save question (DoFileSave) takes the path it saved to; kinds
    // whose question must leave the document's path as it was clear it.
    bool m_bSaveAsTakesPath = true;

protected:
    // The name the save question shows: the path, else the title, else "Untitled".
    std::string SaveQuestionName() const;

private:
    friend class CDocTemplate;
    friend class CView;
    void DetachView(CView* view);

    std::string m_strPathName;
    std::string m_strTitle;
    bool m_bModified = false;
    bool m_bClosing = false;
    bool m_bKeepWithoutWindows = false;
    CDocTemplate* m_pDocTemplate = nullptr;
    std::vector<CView*> m_views;
    std::map<std::string, CFileStamp> m_fileStates; // by full path
};

// Replaces "%1" in a message with a value (the framework's prompt strings use it).
std::string FormatMessage1(const std::string& format, const std::string& value);
