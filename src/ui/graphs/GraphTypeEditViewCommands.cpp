// The editor's commands: moving between templates, new templates, Save as New, the graph-template
// clipboard, limited access, closing, the notes dialog, the colour lists and Open Graph.

#include "graphs/GraphTypeEditView.h"

#include "framework/Cp1252.h"
#include "framework/UpdateHint.h"
#include "glazes/GlazesDoc.h"
#include "graphs/GraphColorsDlg.h"
#include "graphs/GraphTemplateClipboard.h"
#include "graphs/GraphTemplateDatabase.h"
#include "graphs/GraphTypesView.h"
#include "shell/AppContext.h"
#include "shell/Clipboards.h"
#include "shell/NamedColors.h"
#include "support/EditTextDlg.h"
#include "support/NotesEdit.h"
#include "support/PlainTextEditLines.h"
#include "support/SelectOneDlg.h"

#include <QComboBox>
#include <QLineEdit>

namespace {

constexpr unsigned kSelectTemplateHelpId = 324;
constexpr unsigned kNotesDialogHelpId = 321;

// Holds the preview back while the form moves to another template, and redraws it after.
class CNavigationScope {
public:
    CNavigationScope(bool& flag, CGraphTypeEditView& view) : m_flag(flag), m_view(view) { m_flag = true; }
    ~CNavigationScope()
    {
        m_flag = false;
        m_view.RedrawPreview();
    }
    CNavigationScope(const CNavigationScope&) = delete;
    CNavigationScope& operator=(const CNavigationScope&) = delete;

private:
    bool& m_flag;
    CGraphTypeEditView& m_view;
};

} // namespace

void CGraphTypeEditView::EditPrevious()
{
    CNavigationScope scope(m_bNavigating, *this);
    if (m_bSubset) {
        if (m_subsetPos <= 0 || !AskAndSave())
            return;
        --m_subsetPos;
        LoadTemplate(m_subsetIndexes[static_cast<std::size_t>(m_subsetPos)]);
        return;
    }
    if (m_templateIndex == 0) {
        InsertNew();
        return;
    }
    if (m_templateIndex < 0 || !AskAndSave())
        return;
    LoadTemplate(m_templateIndex - 1);
}

void CGraphTypeEditView::EditNext()
{
    CNavigationScope scope(m_bNavigating, *this);
    if (m_bSubset) {
        if (m_subsetPos >= m_subsetCount - 1 || !AskAndSave())
            return;
        ++m_subsetPos;
        LoadTemplate(m_subsetIndexes[static_cast<std::size_t>(m_subsetPos)]);
        return;
    }
    if (m_templateIndex < 0)
        return;
    if (m_templateIndex == TemplateCount() - 1) {
        AppendNew();
        return;
    }
    if (AskAndSave())
        LoadTemplate(m_templateIndex + 1);
}

void CGraphTypeEditView::JumpTo()
{
    CGraphTypesDoc* doc = GraphTypesDoc();
    if (!doc)
        return;
    CSelectOneDlg dialog(this, kSelectTemplateHelpId);
    dialog.caption = "Select a Graph Template";
    dialog.backgroundColor = GetNamedColor("grted_tab");
    if (m_bSubset) {
        for (const CGraphTemplate* graphTemplate : m_subsetTemplates)
            dialog.names.push_back(graphTemplate->m_name);
        dialog.preselect = m_subsetPos;
    } else {
        dialog.document = doc;
        dialog.preselect = m_templateIndex;
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selection < 0)
        return;
    const int current = m_bSubset ? m_subsetPos : m_templateIndex;
    CNavigationScope scope(m_bNavigating, *this);
    if (dialog.selection == current || !AskAndSave())
        return;
    if (m_bSubset) {
        m_subsetPos = dialog.selection;
        LoadTemplate(m_subsetIndexes[static_cast<std::size_t>(m_subsetPos)]);
    } else {
        LoadTemplate(dialog.selection);
    }
}

void CGraphTypeEditView::InsertAndLoad(int position)
{
    CGraphTypesDoc* doc = GraphTypesDoc();
    if (!doc || position < 0 || position > TemplateCount())
        return;
    doc->InsertTemplate(position, NewGraphTemplate());
    Broadcast(HintGraphTemplatesInserted, position, nullptr);
    LoadTemplate(position);
}

void CGraphTypeEditView::InsertNew()
{
    if (m_bSubset || !m_pTemplate || !AskAndSave())
        return;
    InsertAndLoad(m_templateIndex);
}

void CGraphTypeEditView::AppendNew()
{
    if (m_bSubset || !m_pTemplate || !AskAndSave())
        return;
    InsertAndLoad(m_templateIndex + 1);
}

// The stored version stays where it is (as a copy inserted before it); the form's template moves
// one down and takes the edits, so both versions are kept.
void CGraphTypeEditView::SaveAsNew()
{
    CGraphTypesDoc* doc = GraphTypesDoc();
    if (!doc || !m_pTemplate || m_templateIndex < 0)
        return;
    const int position = m_templateIndex;
    const std::string storedName = m_pTemplate->m_name;
    doc->InsertTemplate(position, *m_pTemplate);
    Broadcast(HintGraphTemplatesInserted, position, nullptr);
    if (m_bSubset)
        RefreshSubset();
    else
        m_templateIndex = doc->Database().IndexOf(m_pTemplate);
    if (Text(kGeName) == storedName)
        SetText(kGeName, storedName + " (new)");
    m_bModified = true;
    SaveChangesButton();
    UpdateButtons();
}

void CGraphTypeEditView::CopyTemplate()
{
    StoreCurrentDataSource();
    CGraphTemplate graphTemplate("new graph template");
    // Settings without a control (ovftype) come from the working copy.
    graphTemplate = m_template;
    StoreControlsIntoTemplate(graphTemplate);
    CopyRecordToClipboard(g_graphTemplateClipboard, graphTemplate);
}

void CGraphTypeEditView::CutTemplate()
{
    CopyTemplate();
    CloseQuietly();
}

void CGraphTypeEditView::PasteTemplate()
{
    if (!CAppContext::IsActive() || ClipboardCount(g_graphTemplateClipboard) == 0)
        return;
    LoadTemplateIntoControls(ClipboardRecord(g_graphTemplateClipboard, 0));
    m_bModified = false;
    SetModified(true);
    UpdateControlStates();
    UpdateButtons();
}

// --- limited access -------------------------------------------------------------------------------

void CGraphTypeEditView::StartSubset(const std::vector<int>& indexes)
{
    m_subsetIndexes.clear();
    m_subsetTemplates.clear();
    const CGraphTemplateDatabase* database = Database();
    for (int index : indexes) {
        if (database && index >= 0 && index < database->GetCount()) {
            m_subsetIndexes.push_back(index);
            m_subsetTemplates.push_back(&database->GetAt(index));
        }
    }
    m_bSubset = true;
    m_subsetCount = static_cast<int>(m_subsetIndexes.size());
    m_subsetPos = m_subsetCount > 0 ? 0 : -1;
    LoadTemplate(m_subsetCount > 0 ? m_subsetIndexes.front() : -1);
}

bool CGraphTypeEditView::RefreshSubset()
{
    const CGraphTemplateDatabase* database = Database();
    std::vector<const CGraphTemplate*> templates;
    std::vector<int> indexes;
    bool found = false;
    for (const CGraphTemplate* graphTemplate : m_subsetTemplates) {
        const int index = database ? database->IndexOf(graphTemplate) : -1;
        if (index < 0)
            continue;
        if (graphTemplate == m_pTemplate) {
            m_subsetPos = static_cast<int>(templates.size());
            m_templateIndex = index;
            found = true;
        }
        templates.push_back(graphTemplate);
        indexes.push_back(index);
    }
    m_subsetTemplates = std::move(templates);
    m_subsetIndexes = std::move(indexes);
    m_subsetCount = static_cast<int>(m_subsetIndexes.size());
    return m_pTemplate && !found;
}

void CGraphTypeEditView::LeaveSubset()
{
    m_subsetTemplates.clear();
    m_subsetIndexes.clear();
    m_bSubset = false;
    m_subsetPos = -1;
    m_subsetCount = 0;
    UpdateButtons();
}

// --- closing, notes, colours, graphs --------------------------------------------------------------

void CGraphTypeEditView::CloseView()
{
    if (!AskAndSave())
        return;
    CloseQuietly();
}

void CGraphTypeEditView::EditNotes()
{
    CEditTextDlg dialog(this, Text(kGeName) + " - Notes", kNotesDialogHelpId, 0);
    dialog.backgroundColor = GetNamedColor("grted_bkg");
    auto* notes = Ctl<QPlainTextEdit>(kGeNotes);
    dialog.text = CoreTextFromEdit(*notes);
    if (dialog.exec() != QDialog::Accepted)
        return;
    notes->setPlainText(EditTextFromCore(dialog.text));
    notes->moveCursor(QTextCursor::Start);
    SetModified(true);
}

void CGraphTypeEditView::EditColors()
{
    CGraphTypesDoc* doc = GraphTypesDoc();
    if (!doc || !EditGraphColorLists(this, *doc))
        return;
    Broadcast(HintGraphColorsChanged, 0, nullptr);
    InvalidatePreview();
}

void CGraphTypeEditView::OpenGraph()
{
    CGraphTypesDoc* doc = GraphTypesDoc();
    if (!doc || !m_pTemplate || !AskAndSave())
        return;
    if (CView* shown = doc->FindGraphView(m_pTemplate)) {
        if (CFrameHost* frame = shown->GetFrame())
            frame->ActivateFrame();
        return;
    }
    const auto pointerOf = [this](int id) -> void* {
        const QComboBox* combo = Ctl<QComboBox>(id);
        return combo->currentIndex() >= 0 ? reinterpret_cast<void*>(combo->currentData().value<quintptr>()) : nullptr;
    };
    OpenGraphView(*doc, m_pTemplate, static_cast<CGlazesDoc*>(pointerOf(kGeGraphDatabase)),
                  static_cast<CGlaze*>(pointerOf(kGeGraphGlaze)));
}
