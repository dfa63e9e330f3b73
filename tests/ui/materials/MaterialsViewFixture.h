#pragma once

// A materials list window on a copy of the shipped starter database, inside a main frame, with
// a temporary profile, scripted message boxes and file dialogs, a recorder of the notices the
// materials document's views receive, and a stand-in for the material edit views.

#include "materials/MaterialsView.h"

#include "TestPaths.h"
#include "core/framework/FakeFileDialogs.h"
#include "core/framework/RecordingView.h"
#include "core/support/CheckedItems.h"
#include "core/shell/FakeMessageService.h"
#include "framework/DocTemplate.h"
#include "framework/MdiFrame.h"
#include "glazes/GlazesDoc.h"
#include "materials/MaterialsDoc.h"
#include "shell/AppContext.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"
#include "support/Profile.h"
#include "ui/support/ModalDialogTest.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <source_location>
#include <string>
#include <vector>

// Runs act on the modal dialog of type T that the next call opens, from inside its event loop.
template <class T>
void OnModal(const std::function<void(T*)>& act)
{
    WhenDialogShows<T>([act](T& dialog) { act(&dialog); });
}

// Records what the list asks of the material edit views.
class CFakeMaterialEditViews : public CMaterialEditViews {
public:
    bool OpenEditView(CMaterialsDoc& /*document*/, int index) override
    {
        opened.push_back(index);
        return true;
    }
    bool OpenLimitedEditView(CMaterialsDoc& /*document*/, const std::vector<int>& indices) override
    {
        limited = indices;
        return true;
    }
    CMaterialEditLink* AsEditView(CView* /*view*/) override { return nullptr; }

    std::vector<int> opened;
    std::vector<int> limited;
};

class MaterialsViewFixture : public ::testing::Test {
protected:
    MaterialsViewFixture()
    {
        SetProfile(&m_profile);
        SetMaterialEditViews(&m_editViews);
        g_prefs.ApplyColorScheme();
        m_path = Dir() + "/materials.mat";
        std::filesystem::copy_file(std::string(OXI_SHIPPED_DATA_DIR) + "/materials.mat", m_path);
        g_pMaterialsTemplate = &m_materialsTemplate;
        g_pGlazesTemplate = &m_glazesTemplate;
        InstallMaterialsTemplate(m_materialsTemplate);
        m_frame.resize(900, 600);
        m_frame.show();
        QApplication::setActiveWindow(&m_frame);
        m_doc = static_cast<CMaterialsDoc*>(m_materialsTemplate.OpenDocumentFile(m_path));
        m_view = m_doc ? dynamic_cast<CMaterialsView*>(ItemAt(m_doc->GetViews(), 0)) : nullptr;
        if (m_view)
            m_view->GetFrame()->ActivateFrame();
        if (m_doc)
            m_recorder = std::make_unique<CRecordingFrame>(*m_doc, "recorder");
        QApplication::processEvents();
    }
    // The tests reach the shipped materials by their places: a database that did not open, or
    // opened short, stops each test here.
    void SetUp() override
    {
        ASSERT_NE(m_doc, nullptr);
        ASSERT_NE(m_view, nullptr);
        ASSERT_EQ(Database().GetCount(), 43);
    }
    ~MaterialsViewFixture() override
    {
        m_recorder.reset();
        g_pMaterialsTemplate = nullptr;
        g_pGlazesTemplate = nullptr;
        SetMaterialEditViews(nullptr);
        SetProfile(nullptr);
    }

    std::string Dir() const { return m_dir.path().toStdString(); }
    CMaterialArray& Database() const { return m_doc->Materials(); }
    std::string Row(int index) const { return m_view->GetText(index); }
    std::string NameAt(int index, std::source_location where = std::source_location::current()) const
    {
        return RecordAt(Database(), index, where).m_name;
    }
    int IndexOf(const std::string& name) const
    {
        for (int i = 0; i < Database().GetCount(); ++i) {
            if (NameAt(i) == name)
                return i;
        }
        return -1;
    }
    void Select(std::initializer_list<int> rows) const
    {
        m_view->SetSel(-1, false);
        for (int row : rows)
            m_view->SetSel(row, true);
    }
    bool Enabled(unsigned id) const { return m_frame.QueryCommand(id).m_bEnabled; }
    const std::vector<CReceivedHint>& Hints() const { return m_recorder->view->received; }
    // The last notice and notice number index: one that did not come fails the test there.
    const CReceivedHint& LastHint(std::source_location where = std::source_location::current()) const
    {
        return m_recorder->view->Last(where);
    }
    const CReceivedHint& Hint(std::size_t index, std::source_location where = std::source_location::current()) const
    {
        return m_recorder->view->At(index, where);
    }
    int CountHints(int code) const
    {
        return static_cast<int>(std::count_if(Hints().begin(), Hints().end(),
                                              [code](const CReceivedHint& hint) { return hint.code == code; }));
    }

    QTemporaryDir m_dir;
    CProfile m_profile{m_dir.path().toStdString() + "/Oxidarium.ini"};
    CAppContext m_context;
    CFakeMessageService m_messages;
    CFakeFileDialogs m_dialogs;
    CFakeMaterialEditViews m_editViews;
    COxidariumApp m_app;
    CDocTemplate m_glazesTemplate{2, "Glazes\nGlazes\nGlazes\nGlaze Files (*.glz)\n.glz\nGlazes\nGlazes",
                                  [] { return std::make_unique<CGlazesDoc>(); }};
    CDocTemplate m_materialsTemplate{kMaterialsResourceId, kMaterialsDocString,
                                     [] { return std::make_unique<CMaterialsDoc>(); }};
    CMDIMainFrame m_frame;
    std::string m_path;
    CMaterialsDoc* m_doc = nullptr;
    CMaterialsView* m_view = nullptr;
    std::unique_ptr<CRecordingFrame> m_recorder;
};
