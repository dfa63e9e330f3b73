#pragma once

// Material edit windows on a small materials database inside a main frame: a temporary profile,
// scripted message boxes, and a recorder of the notices the materials document's views receive
// (it also keeps the document open while edit windows come and go).

#include "materials/MaterialEditView.h"

#include "core/framework/RecordingView.h"
#include "core/support/CheckedItems.h"
#include "core/shell/FakeMessageService.h"
#include "framework/DocTemplate.h"
#include "framework/MdiFrame.h"
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
#include <functional>
#include <memory>
#include <source_location>
#include <string>
#include <vector>

// Runs act on the modal dialog of type T that the next call opens, from inside its event loop.
template <class T>
void RunWhenModal(const std::function<void(T*)>& act)
{
    WhenDialogShows<T>([act](T& dialog) { act(&dialog); });
}

inline CMaterial MakeMaterial(const std::string& name, const std::string& code, const std::string& formula,
                              double density = 0.0, double cost = 0.0)
{
    CMaterial material(name);
    material.m_code = code;
    material.UpdateDisplayKey();
    material.SetFormula(formula);
    material.m_density = density;
    material.m_costPerLb = cost;
    material.m_available = 1;
    return material;
}

class MaterialEditViewFixture : public ::testing::Test {
protected:
    MaterialEditViewFixture()
    {
        SetProfile(&m_profile);
        g_prefs.ApplyColorScheme();
        g_pMaterialsTemplate = &m_materialsTemplate;
        g_pMaterialEditTemplate = &m_editTemplate;
        InstallMaterialEditTemplate(m_editTemplate);
        m_frame.resize(900, 700);
        m_frame.show();
        QApplication::setActiveWindow(&m_frame);
        m_doc = static_cast<CMaterialsDoc*>(m_materialsTemplate.OpenDocumentFile(""));
        if (!m_doc)
            return; // SetUp stops the test
        m_recorder = std::make_unique<CRecordingFrame>(*m_doc, "recorder");
        CMaterialArray& materials = m_doc->Materials();
        materials.ResetToDefaults();
        materials.InsertCopy(0, MakeMaterial("Silica", "SIL", "SiO2", 2.6, 0.25));
        CMaterial kaolin = MakeMaterial("Kaolin", "KAO", "Al2O3 2SiO2 2H2O", 2.6, 0.3);
        kaolin.m_akaNames = {"China Clay", "EPK"};
        kaolin.m_akaCodes = {"", "EPK1"};
        materials.InsertCopy(1, kaolin);
        materials.InsertCopy(2, MakeMaterial("Whiting", "WHI", "CaCO3", 2.7, 0.12));
        materials.InsertCopy(3, MakeMaterial("Talc", "TAL", "3MgO 4SiO2 H2O", 2.7, 0.2));
        m_doc->SetModifiedFlag(false);
        QApplication::processEvents();
    }
    // The tests reach the four materials by their places.
    void SetUp() override
    {
        ASSERT_NE(m_doc, nullptr);
        ASSERT_EQ(Database().GetCount(), 4);
    }
    ~MaterialEditViewFixture() override
    {
        for (CMDIChildFrame* frame : m_frame.ChildFrames())
            delete frame;
        m_recorder.reset();
        SetMaterialEditViews(nullptr);
        g_pMaterialsTemplate = nullptr;
        g_pMaterialEditTemplate = nullptr;
        SetProfile(nullptr);
    }

    // Opens an edit window on the record at index, as the list's Edit command does.
    CMaterialEditView* Open(int index)
    {
        const std::size_t before = m_doc->GetViews().size();
        EXPECT_EQ(m_doc->OpenEditView(index), 1);
        EXPECT_EQ(m_doc->GetViews().size(), before + 1);
        return dynamic_cast<CMaterialEditView*>(LastItem(m_doc->GetViews()));
    }
    CMaterialEditView* OpenLimited(const CStringArrayEx& names)
    {
        m_doc->OpenLimitedEditView(names);
        return dynamic_cast<CMaterialEditView*>(LastItem(m_doc->GetViews()));
    }
    int EditViewCount() const
    {
        return static_cast<int>(std::count_if(m_doc->GetViews().begin(), m_doc->GetViews().end(), [](CView* view) {
            return dynamic_cast<CMaterialEditView*>(view) != nullptr;
        }));
    }
    static void FlushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    CMaterialArray& Database() const { return m_doc->Materials(); }
    std::string NameAt(int index, std::source_location where = std::source_location::current()) const
    {
        return RecordAt(Database(), index, where).m_name;
    }
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
    bool Enabled(unsigned id) const { return m_frame.QueryCommand(id).m_bEnabled; }

    QTemporaryDir m_dir;
    CProfile m_profile{m_dir.path().toStdString() + "/Oxidarium.ini"};
    CAppContext m_context;
    CFakeMessageService m_messages;
    COxidariumApp m_app;
    CDocTemplate m_materialsTemplate{6, kMaterialsDocString, [] { return std::make_unique<CMaterialsDoc>(); }};
    CDocTemplate m_editTemplate{kMaterialEditResourceId, "Material Edit\n\n\n\n\n\n",
                                [] { return std::make_unique<CMaterialsDoc>(); }};
    CMDIMainFrame m_frame;
    CMaterialsDoc* m_doc = nullptr;
    std::unique_ptr<CRecordingFrame> m_recorder;
};
