#include "textfile/TextFileViewBase.h"

#include "framework/MessageService.h"
#include "support/NumberText.h"
#include "support/TextHelpers.h"
#include "textfile/TextFileCommands.h"
#include "textfile/TextFileDoc.h"

#include <ostream>

namespace {

constexpr int kMinTabSize = 1;
constexpr int kMaxTabSize = 100;

// The lines joined by line breaks: the last line gets none, so that the lines read back are
// exactly these (an empty control is one empty line).
std::string JoinLines(const CStringArrayEx& lines)
{
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += "\r\n";
        text += lines[i];
    }
    return text;
}

} // namespace

CTextFileDoc* CTextFileViewBase::TextDocument() const
{
    return dynamic_cast<CTextFileDoc*>(GetDocument());
}

void CTextFileViewBase::OnInitialUpdate()
{
    CView::OnInitialUpdate();
    if (CTextFileDoc* textDoc = TextDocument()) {
        // A document opened before its window was built hands over what it read.
        const bool modified = textDoc->IsModified();
        const CStringArrayEx pending = textDoc->TakePendingLines();
        if (!pending.empty())
            LoadLines(pending);
        textDoc->SetModifiedFlag(modified);
    }
    MoveCaretToStart();
    UpdateTitle();
}

std::string CTextFileViewBase::CaptionText(const std::string& text) const
{
    if (!text.empty())
        return text;
    const CDocument* doc = GetDocument();
    if (doc && !doc->GetPathName().empty())
        return doc->GetPathName();
    if (doc && !doc->GetTitle().empty())
        return doc->GetTitle();
    return "<untitled>";
}

void CTextFileViewBase::UpdateTitle(const std::string& text)
{
    const CDocument* doc = GetDocument();
    if (text.empty() && doc && !doc->GetPathName().empty())
        SetFileCaption(doc->GetPathName());
    else
        SetCaption(CaptionText(text));
}

void CTextFileViewBase::AppendLine(const std::string& text)
{
    CStringArrayEx lines;
    lines.push_back(text);
    AppendLines(lines);
}

void CTextFileViewBase::AppendLines(const CStringArrayEx& lines)
{
    if (lines.empty())
        return;
    std::string added;
    const int count = GetLineCount();
    if (count > 0 && !GetLineText(count - 1).empty())
        added = "\r\n";
    for (const std::string& line : lines) {
        added += line;
        added += "\r\n";
    }
    AppendControlText(added);
    // An undo across text the program added would mix the user's edit with the program's.
    ResetUndo();
    if (CTextFileDoc* doc = TextDocument())
        doc->SetModifiedFlag(true);
}

void CTextFileViewBase::ClearText()
{
    SetControlText(std::string());
    ResetUndo();
    if (CTextFileDoc* doc = TextDocument())
        doc->SetModifiedFlag(true);
}

void CTextFileViewBase::LoadLines(const CStringArrayEx& lines)
{
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    SetRedraw(false);
    SetControlText(text);
    MoveCaretToStart();
    SetRedraw(true);
    ResetUndo();
}

void CTextFileViewBase::ReadLines(CStringArrayEx& lines, bool skipEmpty, bool dropTrailingEmpty)
{
    lines.clear();
    const int count = GetLineCount();
    lines.reserve(static_cast<std::size_t>(count > 0 ? count : 0));
    for (int i = 0; i < count; ++i) {
        std::string line = GetLineText(i);
        TrimStringRight(line);
        if (skipEmpty && line.empty())
            continue;
        lines.push_back(std::move(line));
    }
    if (dropTrailingEmpty)
        lines.RemoveTrailingEmpty();
}

bool CTextFileViewBase::WriteText(std::ostream& out)
{
    CStringArrayEx lines;
    ReadLines(lines, false, true);
    for (const std::string& line : lines)
        out << line << '\n';
    out.flush();
    return static_cast<bool>(out);
}

void CTextFileViewBase::ResetUndo()
{
    editUndo = false;
    snapshotUndo = false;
    undoLines.clear();
    EmptyControlUndo();
}

void CTextFileViewBase::PutLines(const CStringArrayEx& lines)
{
    SetRedraw(false);
    SetControlText(JoinLines(lines));
    MoveCaretToStart();
    SetRedraw(true);
    if (CTextFileDoc* doc = TextDocument())
        doc->SetModifiedFlag(true);
}

void CTextFileViewBase::ReplaceWholeText(CStringArrayEx snapshot, const CStringArrayEx& lines)
{
    undoLines = std::move(snapshot);
    PutLines(lines);
    editUndo = false;
    snapshotUndo = true;
}

void CTextFileViewBase::RemoveBlankLines(bool all)
{
    CStringArrayEx snapshot;
    ReadLines(snapshot, false, false);
    CStringArrayEx lines;
    ReadLines(lines, all, !all);
    ReplaceWholeText(std::move(snapshot), lines);
}

void CTextFileViewBase::Alphabetize(bool ascending, bool caseSensitive)
{
    CStringArrayEx snapshot;
    ReadLines(snapshot, false, false);
    // The empty line after the last line break is no line to sort.
    CStringArrayEx lines;
    ReadLines(lines, false, true);
    lines.Sort(ascending, caseSensitive);
    ReplaceWholeText(std::move(snapshot), lines);
}

void CTextFileViewBase::TabsToSpaces()
{
    std::string answer;
    if (!AskTabSize(answer))
        return;
    TabsToSpaces(ParseInt(answer));
}

bool CTextFileViewBase::TabsToSpaces(int spaces)
{
    if (spaces < kMinTabSize || spaces > kMaxTabSize) {
        AppMessageBox("Spaces must be in range 1 to 100", MsgOk | MsgIconError, kTabRangeHelpId);
        return false;
    }
    CStringArrayEx snapshot;
    ReadLines(snapshot, false, false);
    CStringArrayEx lines = snapshot;
    for (std::string& line : lines)
        ExpandTabsString(line, spaces);
    ReplaceWholeText(std::move(snapshot), lines);
    return true;
}

void CTextFileViewBase::Undo()
{
    if (snapshotUndo) {
        const CStringArrayEx lines = undoLines;
        PutLines(lines);
        snapshotUndo = false;
        editUndo = false;
        undoLines.clear();
        EmptyControlUndo();
    } else if (editUndo) {
        ControlUndo();
        editUndo = false;
        if (CTextFileDoc* doc = TextDocument())
            doc->SetModifiedFlag(true);
    }
}

void CTextFileViewBase::OnTextEdited()
{
    if (CTextFileDoc* doc = TextDocument())
        doc->SetModifiedFlag(true);
    editUndo = true;
    snapshotUndo = false;
}

void CTextFileViewBase::StopBeingInformation()
{
    CTextFileDoc* doc = TextDocument();
    if (!doc)
        return;
    doc->ForgetInformation();
    doc->SetTitle(std::string());
    UpdateTitle();
}

bool CTextFileViewBase::OnCommand(unsigned id)
{
    switch (id) {
    case CmdEditUndo:
        Undo();
        return true;
    case CmdRemoveBlankLinesAll:
    case CmdRemoveBlankLinesTrailing:
        RemoveBlankLines(id == CmdRemoveBlankLinesAll);
        return true;
    case CmdTabsToSpaces:
        TabsToSpaces();
        return true;
    case CmdAlphabetizeForward:
    case CmdAlphabetizeReverse:
    case CmdAlphabetizeForwardCase:
    case CmdAlphabetizeReverseCase:
        Alphabetize(id == CmdAlphabetizeForward || id == CmdAlphabetizeForwardCase,
                    id == CmdAlphabetizeForwardCase || id == CmdAlphabetizeReverseCase);
        return true;
    case CmdInformationWindow:
        StopBeingInformation();
        return true;
    case CmdTextEmail:
        return true;
    case CmdHelp:
    case CmdContextHelp: {
        const CTextFileDoc* doc = TextDocument();
        AppShowHelp(doc && doc->IsInformationDoc() ? kInformationWindowHelpId : kTextWindowHelpId);
        return true;
    }
    default:
        return false;
    }
}

bool CTextFileViewBase::OnUpdateCommand(CCmdUI& ui)
{
    switch (ui.m_nID) {
    case CmdEditUndo:
        ui.Enable(CanUndo());
        return true;
    case CmdInformationWindow: {
        const CTextFileDoc* doc = TextDocument();
        const bool information = doc && doc->IsInformationDoc();
        ui.Enable(information);
        ui.SetCheck(information ? 1 : 0);
        return true;
    }
    case CmdTextEmail:
        ui.Enable(false);
        return true;
    case CmdRemoveBlankLinesAll:
    case CmdRemoveBlankLinesTrailing:
    case CmdTabsToSpaces:
    case CmdAlphabetizeForward:
    case CmdAlphabetizeReverse:
    case CmdAlphabetizeForwardCase:
    case CmdAlphabetizeReverseCase:
    case CmdHelp:
    case CmdContextHelp:
        ui.Enable(true);
        return true;
    default:
        return false;
    }
}
