#pragma once

// A plain text document: a .txt file, an empty text window, or the Information window into which
// the program writes its reports.
//
// The text lives in the document's view (a text control). Until the view exists (a document is
// opened before its window is built) the lines wait in the document and the view takes them
// when it first shows the document; a document without any view keeps them there.
//
// g_pInformationDoc names the document that currently serves as the Information window. A
// document stops being the Information window when it is saved, closed, or when the user
// unchecks "Information Window"; the next report then opens a new one.

#include "framework/Document.h"
#include "support/StringArrayEx.h"

#include <iosfwd>
#include <memory>
#include <string>

class CDocTemplate;
class CFrameHost;
class CInputFile;
class CTextFileViewBase;

// Help contexts of the text documents' messages.
inline constexpr unsigned kTextOpenErrorHelpId = 0x30800;
inline constexpr unsigned kTextReadErrorHelpId = 0x30801;
inline constexpr unsigned kTextBackupQuestionHelpId = 0x30121;
inline constexpr unsigned kTextWriteErrorHelpId = 0x30122;
inline constexpr unsigned kTextSaveDialogHelpId = 303;
inline constexpr unsigned kTextUnsavableHelpId = 0x30123;

// The question before a save that would write "?" for characters a Windows-1252 file cannot
// hold (names as the view gives them, "α (U+03B1), → (U+2192)"); OK saves, Cancel saves nothing.
std::string UnsavableCharactersQuestion(const std::string& path, const std::string& names);

// Resource id of the text-file template (its menu is registered under the same number) and the
// template's document string.
inline constexpr unsigned kTextFileResourceId = 9;
inline constexpr const char* kTextFileDocString = "Text File\n\n\n\n\n\n";

class CTextFileDoc : public CDocument {
public:
    CTextFileDoc() = default;
    ~CTextFileDoc() override;

    bool OnNewDocument() override;
    // Reads the file line by line (lines end with the file's own delimiter: LF, CR LF or a lone
    // CR; a last line without one is kept; lines of any length stay whole). A file that cannot
    // be opened or read is reported and leaves the text as it was; false then.
    bool OnOpenDocument(const std::string& path) override;
    // Backup first, then the text written through the safe-save helper. A text holding
    // characters the file cannot hold is saved only when the user agrees to "?" in their place.
    // A failed or declined save leaves the text and the modified flag as they were. A saved
    // Information window becomes an ordinary text document.
    bool OnSaveDocument(const std::string& path) override;
    // Announces the closing (kind 8, code 36), stops being the Information window, closes, and
    // announces that the document is gone (code 37, the pointer only an identity).
    void OnCloseDocument() override;
    // True at once when not modified or when this is the Information window; else asks.
    bool SaveModified(SaveModifiedFor reason) override;
    bool DoSave(const std::string& path, bool replace = true) override;
    CFileDialogRequest GetSaveAsRequest() const override;

    bool OnCommand(unsigned id) override;
    bool OnUpdateCommand(CCmdUI& ui) override;

    // The view showing the text (the first text view of the document), or null.
    CTextFileViewBase* GetTextView() const;

    // Forwarded to the view (or kept until there is one).
    void AppendLine(const std::string& text);
    void AppendLines(const CStringArrayEx& lines);
    void ClearText();
    // Writes the text: blanks at line ends removed, empty lines at the end dropped, each line
    // followed by '\n'. False when the stream failed.
    bool WriteText(std::ostream& out);

    bool IsInformationDoc() const;
    // Clears g_pInformationDoc when it names this document.
    void ForgetInformation();

    // The lines waiting for the view; the view calls this once when it first shows them.
    CStringArrayEx TakePendingLines();

    // "Revert To Saved": the file read again in place of the text, after the question that says
    // the unsaved changes go (ConfirmRevertToSaved; Cancel keeps the text).
    void RevertToSaved();

    // True when the text fits the file, or when the user accepts "?" for what does not.
    bool ConfirmUnsavableCharacters(const std::string& path) const;

private:
    // Replaces the whole text by lines without marking the document modified.
    void LoadLines(const CStringArrayEx& lines);
    void Save(bool saveAs);
    void BroadcastText(int code) const;

    CStringArrayEx m_pendingLines;
    bool m_closing = false;
};

extern CTextFileDoc* g_pInformationDoc;

// Reads a text file into lines, split at the delimiter that LineDelimiterOf finds (a CR LF
// pair is one break either way). The text after the last break is a line when it is not empty.
// 0 on success, 1 when the file cannot be opened, 2 on a read error.
int ReadTextFileLines(const std::string& path, CStringArrayEx& lines);
// The same from a file already open.
int ReadTextFileLines(CInputFile& in, CStringArrayEx& lines);

// The text-file template: resource 9, documents of CTextFileDoc. The Qt layer installs its
// frame factory.
std::unique_ptr<CDocTemplate> CreateTextFileTemplate();
