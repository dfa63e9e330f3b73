#pragma once

// The edit windows of a record database, as its document opens and asks them
// (records/RecordDatabaseDoc.h): second windows on the one document, made here through the kind's
// edit template, never by opening a document through the template. A kind installs one
// CRecordEditWindows with the two steps that put a new window on its records.

#include "framework/DocTemplate.h"
#include "framework/MdiFrame.h"
#include "records/RecordDatabaseDoc.h"
#include "records/RecordEditView.h"

#include <type_traits>
#include <utility>
#include <vector>

template <class ViewT, class DocT, class Base = CRecordEditViewsOf<DocT>>
class CRecordEditWindows : public Base {
public:
    // Puts a new window on the record at index, or on the records at the indices.
    using Load = void (*)(ViewT& view, int index);
    using LoadLimited = void (*)(ViewT& view, const std::vector<int>& indices);
    using Link = std::remove_pointer_t<decltype(std::declval<Base&>().AsEditView(nullptr))>;

    CRecordEditWindows(Load load, LoadLimited loadLimited) : m_load(load), m_loadLimited(loadLimited) {}
    // The windows of a form on the edit-view base.
    CRecordEditWindows()
        requires std::is_base_of_v<CRecordEditView, ViewT>
        : CRecordEditWindows([](ViewT& view, int index) { view.LoadRecord(index); },
                             [](ViewT& view, const std::vector<int>& indices) { view.SetLimitedIndices(indices); })
    {
    }

    // The edit template the windows are made with (its menu and title).
    void SetTemplate(CDocTemplate* editTemplate) { m_template = editTemplate; }
    CDocTemplate* Template() const { return m_template; }
    // Makes the windows with editTemplate and installs them through the kind's setter until
    // that template is destroyed: then the kind has no edit windows again.
    void InstallWith(CDocTemplate& editTemplate, void (*install)(Base*))
    {
        m_template = &editTemplate;
        install(this);
        editTemplate.AtDestruction([this, editTemplate = &editTemplate, install] {
            if (m_template != editTemplate)
                return;
            m_template = nullptr;
            install(nullptr);
        });
    }

    bool OpenEditView(DocT& document, int index) override
    {
        ViewT* view = Create(document);
        if (view)
            m_load(*view, index);
        return view != nullptr;
    }
    bool OpenLimitedEditView(DocT& document, const std::vector<int>& indices) override
    {
        ViewT* view = Create(document);
        if (view)
            m_loadLimited(*view, indices);
        return view != nullptr;
    }
    Link* AsEditView(CView* view) override { return dynamic_cast<ViewT*>(view); }

    // A new window on the document, its initial update done and its frame active; null when no
    // window could be made.
    ViewT* Create(DocT& document) { return OpenViewWindow<ViewT>(m_template, document); }

private:
    Load m_load;
    LoadLimited m_loadLimited;
    CDocTemplate* m_template = nullptr;
};
