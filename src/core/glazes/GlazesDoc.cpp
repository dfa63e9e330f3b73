#include "glazes/GlazesDoc.h"

#include "framework/DocRegistry.h"
#include "framework/DocTemplate.h"
#include "framework/FileDialogService.h"
#include "framework/MessageService.h"
#include "framework/UpdateHint.h"
#include "framework/View.h"
#include "glazes/GlazeFilePrefetch.h"
#include "materials/Material.h"
#include "materials/MaterialsDoc.h"
#include "shell/DocumentFile.h"
#include "shell/DocumentRead.h"
#include "support/DbFileType.h"
#include "support/InputFile.h"
#include "support/MessagePath.h"
#include "support/Services.h"

#include <algorithm>

#include <unistd.h>

namespace {

constexpr int kGlazesKind = static_cast<int>(DbFileType::Glazes);
constexpr const char* kGlazeFileFilter = "Database Files (*.glz)|*.glz|All Files (*.*)|*.*||";

CGlazeViews* s_glazeViews = nullptr;

void Warn(const std::string& text, unsigned helpId)
{
    AppMessageBox(text, MsgOk | MsgIconExclamation, helpId);
}

bool HasView(const std::vector<CView*>& views, const CView* view)
{
    return view && std::find(views.begin(), views.end(), view) != views.end();
}

} // namespace

CGlazeViews* GetGlazeViews()
{
    return s_glazeViews;
}

void SetGlazeViews(CGlazeViews* views)
{
    s_glazeViews = views;
}

std::unique_ptr<CDocTemplate> CreateGlazesTemplate()
{
    return std::make_unique<CDocTemplate>(kGlazesTemplateId, kGlazesDocString,
                                          [] { return std::make_unique<CGlazesDoc>(); });
}

CGlazesDoc::CGlazesDoc()
{
    m_nSaveQuestionHelpId = kGlazeSaveQuestionHelpId;
}

CGlazesDoc::~CGlazesDoc() = default;

CGlaze* CGlazesDoc::GetGlaze(int index)
{
    return m_glazes.m_glazes.IsValidIndex(index) ? &m_glazes.GetAt(index) : nullptr;
}

const CGlaze* CGlazesDoc::GetGlaze(int index) const
{
    return m_glazes.m_glazes.IsValidIndex(index) ? &m_glazes.GetAt(index) : nullptr;
}

void CGlazesDoc::GetRecordRows(std::vector<CRecordRow>& rows) const
{
    rows.clear();
    for (int i = 0; i < m_glazes.GetCount(); ++i)
        rows.push_back({i, m_glazes.GetAt(i).m_name});
}

// --- record operations ----------------------------------------------------------------------------

void CGlazesDoc::DeleteGlaze(int index)
{
    m_glazes.RemoveAt(index);
    SetModifiedFlag();
}

std::vector<std::unique_ptr<CGlaze>> CGlazesDoc::TakeGlazes(std::span<const int> rows)
{
    std::vector<std::unique_ptr<CGlaze>> taken;
    for (auto row = rows.rbegin(); row != rows.rend(); ++row)
        taken.push_back(m_glazes.TakeAt(*row));
    SetModifiedFlag();
    return taken;
}

void CGlazesDoc::InsertGlaze(int index, const CGlaze& glaze)
{
    m_glazes.InsertCopyAt(index, glaze);
    SetModifiedFlag();
}

void CGlazesDoc::ReplaceGlaze(int index, const CGlaze& glaze)
{
    m_glazes.AssignAt(index, glaze);
    SetModifiedFlag();
}

void CGlazesDoc::SwapGlazes(int a, int b)
{
    m_glazes.m_glazes.SwapItems(a, b);
    SetModifiedFlag();
}

void CGlazesDoc::MoveGlaze(int from, int to)
{
    m_glazes.Move(from, to);
    SetModifiedFlag();
}

void CGlazesDoc::SortGlazes(int criterion, bool alphabetical, int element)
{
    m_glazes.SortBy(criterion, alphabetical, element);
    SetModifiedFlag();
}

void CGlazesDoc::SetGlazeField(int index, int field, const std::string& text)
{
    CGlaze* glaze = GetGlaze(index);
    if (!glaze)
        return;
    glaze->SetField(field, text);
    SetModifiedFlag();
}

void CGlazesDoc::RemoveAllGlazes()
{
    m_glazes.m_glazes.clear();
}

int CGlazesDoc::ConvertGlazeToMaterial(std::span<const int> indices, bool asFrit)
{
    int made = 0;
    for (int index : indices) {
        const CGlaze* glaze = GetGlaze(index);
        if (!glaze)
            continue;
        CMaterial material("new material");
        if (!g_pMaterialsDoc || glaze->ConvertToMaterial(material, asFrit) != 0) {
            AppMessageBox("Unable to convert " + glaze->m_name + " to material", MsgOk | MsgIconExclamation,
                          kGlazeConvertErrorHelpId);
            continue;
        }
        g_pMaterialsDoc->InsertMaterial(g_pMaterialsDoc->Materials().GetCount(), material);
        ++made;
    }
    return made;
}

// --- the list view's selection -----------------------------------------------------------------------

void CGlazesDoc::SetListView(CView* view, CGlazeListSelection* selection)
{
    m_pListView = view;
    m_pSelection = selection;
}

CView* CGlazesDoc::GetListView() const
{
    // A list view that has gone no longer counts, even when it forgot to say so.
    return HasView(GetViews(), m_pListView) ? m_pListView : nullptr;
}

CGlazeListSelection* CGlazesDoc::Selection() const
{
    return GetListView() ? m_pSelection : nullptr;
}

void CGlazesDoc::GetSelectedGlazes(std::vector<CGlaze*>& glazes, bool all)
{
    if (all) {
        for (int i = 0; i < m_glazes.GetCount(); ++i)
            glazes.push_back(&m_glazes.GetAt(i));
        return;
    }
    if (const CGlazeListSelection* selection = Selection()) {
        for (int row : selection->GetSelectedRows()) {
            if (CGlaze* glaze = GetGlaze(row))
                glazes.push_back(glaze);
        }
    }
}

int CGlazesDoc::GetSelectedCount(bool all) const
{
    if (all)
        return m_glazes.GetCount();
    const CGlazeListSelection* selection = Selection();
    return selection ? static_cast<int>(selection->GetSelectedRows().size()) : 0;
}

void CGlazesDoc::ClearSelection()
{
    if (CGlazeListSelection* selection = Selection())
        selection->ClearSelection();
}

void CGlazesDoc::SelectGlaze(int index)
{
    CGlazeListSelection* selection = Selection();
    if (selection && m_glazes.m_glazes.IsValidIndex(index))
        selection->SelectRow(index);
}

void CGlazesDoc::SelectGlazes(std::span<const int> indices)
{
    CGlazeListSelection* selection = Selection();
    if (!selection)
        return;
    std::vector<int> rows;
    rows.reserve(indices.size());
    for (int index : indices) {
        if (m_glazes.m_glazes.IsValidIndex(index))
            rows.push_back(index);
    }
    selection->SelectRows(rows);
}

// --- edit and analysis views ---------------------------------------------------------------------------

void CGlazesDoc::CloseGlazeViews()
{
    CGlazeViews* views = GetGlazeViews();
    if (!views)
        return;
    const std::vector<CView*> snapshot = GetViews();
    for (CView* view : snapshot) {
        // An earlier close may have taken this view with it.
        if (!HasView(GetViews(), view))
            continue;
        CGlazeEditLink* link = views->AsEditView(view);
        if (link)
            link->SetChanged(false);
        if (CFrameHost* frame = view->GetFrame(); frame && (link || views->AsAnalysisView(view)))
            frame->CloseFrame();
    }
}

std::vector<CEditForm> CGlazesDoc::EditFormsOf(std::span<const int> indices, bool all) const
{
    std::vector<CEditForm> forms;
    CGlazeViews* views = GetGlazeViews();
    for (CView* view : views ? GetViews() : std::vector<CView*>{}) {
        CGlazeEditLink* link = views->AsEditView(view);
        if (link && (all || std::find(indices.begin(), indices.end(), link->GetGlazeIndex()) != indices.end()))
            forms.emplace_back(view, link);
    }
    return forms;
}

bool CGlazesDoc::ConfirmDeleteWithEditViews(std::span<const int> indices, RecordGoes goes)
{
    return ConfirmDeleteWithForms(EditFormsOf(indices, false), goes);
}

bool CGlazesDoc::AskMergeForms(CMergePlan& plan)
{
    return plan.AskForms([this](int glaze) {
        const int one[] = {glaze};
        return EditFormsOf(one, false);
    });
}

bool CGlazesDoc::FormsHoldEdits() const
{
    return AnyHoldsChanges(EditFormsOf({}, true));
}

bool CGlazesDoc::AskEditFormsOf(std::span<const int> indices, FormsAsked when)
{
    return AskForms(EditFormsOf(indices, false), when);
}

bool CGlazesDoc::AskEveryEditForm(FormsAsked when)
{
    return AskForms(EditFormsOf({}, true), when);
}

CView* CGlazesDoc::FindEditView(int index) const
{
    CGlazeViews* views = GetGlazeViews();
    for (CView* view : GetViews()) {
        const CGlazeEditLink* link = views ? views->AsEditView(view) : nullptr;
        if (link && link->GetGlazeIndex() == index)
            return view;
    }
    return nullptr;
}

CView* CGlazesDoc::FindAnalysisView(int index) const
{
    CGlazeViews* views = GetGlazeViews();
    for (CView* view : GetViews()) {
        const CGlazeAnalysisLink* link = views ? views->AsAnalysisView(view) : nullptr;
        if (link && link->GetGlazeIndex() == index)
            return view;
    }
    return nullptr;
}

// --- document life -------------------------------------------------------------------------------------

bool CGlazesDoc::OnNewDocument()
{
    if (!CDocument::OnNewDocument())
        return false;
    m_glazes.Reset();
    m_glazes.InsertCopyAt(0, CGlaze("new glaze"));
    SetModifiedFlag(false);
    return true;
}

bool CGlazesDoc::ReadFile(const std::string& path, CGlazeList& list, CFileStamp& stamp) const
{
    int result = 0;
    stamp = CFileStamp::Of(path);
    ReportUnfinishedSave(path, kGlazeReadErrorHelpId);
    if (!CGlazeFilePrefetch::Take(path, list, result)) {
        CInputFile in;
        if (!in.Open(path)) {
            Warn(in.OpenFailure(), kGlazeOpenErrorHelpId);
            return false;
        }
        stamp = in.Stamp();
        CBusyScope busy;
        result = list.ReadFile(in);
    }
    if (result != 0) {
        Warn(MessagePath(path) + ": " + list.m_errorText, kGlazeReadErrorHelpId);
        return false;
    }
    return true;
}

bool CGlazesDoc::OnOpenDocument(const std::string& path)
{
    // The path is kept even when the read fails, so the caller can still name the file.
    SetPathName(path);
    m_glazes.Reset();
    CFileStamp stamp;
    const bool loaded = ReadFile(path, m_glazes, stamp);
    if (loaded) {
        ReportReadNotes(path, m_glazes, kGlazeReadErrorHelpId);
        RememberFileState(path, stamp);
    }
    SetModifiedFlag(false);
    return loaded;
}

bool CGlazesDoc::RevertToSaved(CNamedItemList<CGlaze>* gone)
{
    const std::string path = GetPathName();
    const std::vector<CEditForm> forms = EditFormsOf({}, true);
    if (path.empty() || !ConfirmRevertToSaved(*this, forms, kGlazeSaveQuestionHelpId))
        return false;
    // Read aside first: a file that has become unreadable must not cost the glazes in memory.
    CGlazeList fresh;
    CFileStamp stamp;
    if (!ReadFile(path, fresh, stamp))
        return false;
    // A file cut short reads without an error: what is left of it replaces nothing unasked.
    const CParamReadNotes& notes = fresh.m_readNotes;
    if (!ConfirmRevertToCutFile(path, notes, kGlazeReadErrorHelpId))
        return false;
    ReportReadNotes(path, notes, kGlazeReadErrorHelpId, true);
    RememberFileState(path, stamp);
    std::swap(m_glazes.m_glazes, fresh.m_glazes);
    if (gone)
        *gone = std::move(fresh.m_glazes);
    m_glazes.m_name = std::move(fresh.m_name);
    m_glazes.m_infoLines = std::move(fresh.m_infoLines);
    m_glazes.m_version = fresh.m_version;
    SetModifiedFlag(false);
    for (const auto& [view, link] : forms)
        link->SetChanged(false);
    return true;
}

bool CGlazesDoc::OnSaveDocument(const std::string& path)
{
    const bool written = WriteDocumentFile(*this, path, kGlazeBackupQuestionHelpId, kGlazeWriteErrorHelpId,
                                           [this](std::ostream& out) { return m_glazes.Write(out) == 0; });
    if (!written)
        return false;
    SetModifiedFlag(false);
    return true;
}

void CGlazesDoc::OnCloseDocument()
{
    CloseAnnounced(kGlazesKind);
}

bool CGlazesDoc::SaveModified(SaveModifiedFor reason)
{
    if (!AskEveryEditForm(reason == SaveModifiedFor::Closing ? FormsAsked::BeforeClose : FormsAsked::BeforeSave))
        return false;
    if (!IsModified())
        return true;
    const int answer = AppMessageBox(FormatMessage1("Save changes to %1?", SaveQuestionName()),
                                     MsgYesNoCancel | MsgIconExclamation, kGlazeSaveQuestionHelpId);
    if (answer == MsgResultCancel)
        return false;
    if (answer == MsgResultNo)
        return true;
    return DoFileSave();
}

bool CGlazesDoc::CanCloseFrame(CFrameHost* frame)
{
    CGlazeViews* views = GetGlazeViews();
    for (CView* view : GetViews()) {
        if (!frame || view->GetFrame() != frame)
            continue;
        if (CGlazeEditLink* link = views ? views->AsEditView(view) : nullptr) {
            const CEditForm form{view, link};
            return AskForms({&form, 1}, FormsAsked::BeforeOwnClose);
        }
        if (views && views->AsAnalysisView(view))
            return true;
        // The list view: its edit and analysis views go with it, once every question was
        // answered (a Cancel to the database's question keeps them all open, edits and all).
        frame->ActivateFrame();
        if (!SaveModified(SaveModifiedFor::Closing))
            return false;
        CloseGlazeViews();
        return true;
    }
    return true;
}

CFileDialogRequest CGlazesDoc::GetSaveAsRequest() const
{
    CFileDialogRequest request = CDocument::GetSaveAsRequest();
    request.title = "Glaze Database Save As...";
    request.defaultExtension = "glz";
    request.filter = kGlazeFileFilter;
    request.flags = FileDlgHideReadOnly | FileDlgPathMustExist | FileDlgOverwritePrompt;
    return request;
}

void CGlazesDoc::SaveCommand(bool saveAs)
{
    if (!AskEveryEditForm(FormsAsked::BeforeSave))
        return;
    const std::string path = saveAs ? std::string() : GetPathName();
    // Only a save that happened is announced: listeners take the notice for a file on disk.
    if (DoSave(path, true))
        BroadcastUpdate(nullptr, this, kGlazesKind, HintDocumentSaved, 0, 0);
}

bool CGlazesDoc::OnCommand(unsigned id)
{
    switch (id) {
    case CmdSaveGlazeDb:
    case CmdSaveGlazeDbAs:
        SaveCommand(id == CmdSaveGlazeDbAs);
        return true;
    case CmdCloseGlazeDb:
        // The close destroys this document: nothing may follow it.
        if (SaveModified(SaveModifiedFor::Closing))
            OnCloseDocument();
        return true;
    case CmdRevertGlazeDb: {
        // The glazes read before go only once every window has heard of the new ones: a graph
        // window may redraw from its glaze before its own notice comes.
        CNamedItemList<CGlaze> gone;
        if (RevertToSaved(&gone))
            BroadcastUpdate(nullptr, this, kGlazesKind, HintGlazesReplaced, 0, 0);
        return true;
    }
    default:
        return false;
    }
}

bool CGlazesDoc::OnUpdateCommand(CCmdUI& ui)
{
    switch (ui.m_nID) {
    case CmdRevertGlazeDb:
        ui.Enable(CanRevertToSaved());
        return true;
    case CmdSaveGlazeDb:
    case CmdSaveGlazeDbAs:
    case CmdCloseGlazeDb:
        ui.Enable(true);
        return true;
    default:
        return false;
    }
}
