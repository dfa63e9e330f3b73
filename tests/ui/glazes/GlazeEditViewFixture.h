#pragma once

// Glaze edit and report windows inside a main frame, on the shipped databases: a temporary
// profile, scripted message boxes, file dialogs and clipboard, the shipped materials, limit
// formulas and substitutions, and the glaze template with its real list windows.

#include "glazes/GlazeAnalysisView.h"
#include "core/support/CheckedItems.h"
#include "glazes/GlazeEditView.h"
#include "ui/glazes/GlazeEditViewAccess.h"

#include "TestPaths.h"
#include "core/framework/FakeFileDialogs.h"
#include "core/framework/RecordingView.h"
#include "core/shell/FakeMessageService.h"
#include "core/support/FakeServices.h"
#include "framework/DocTemplate.h"
#include "framework/MdiFrame.h"
#include "glazes/GlazesDoc.h"
#include "glazes/GlazesView.h"
#include "graphs/GraphTypesDoc.h"
#include "limits/LimitFormulasDoc.h"
#include "materials/MaterialsDoc.h"
#include "shell/AppContext.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"
#include "substitutions/SubstitutionsDoc.h"
#include "support/Profile.h"
#include "support/TabEdit.h"
#include "ui/support/TestFolders.h"
#include "ui/support/ModalDialogTest.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

// Runs act on the modal dialog of type T that the next call opens, from inside its event loop.
template <class T>
void WhenModal(const std::function<void(T*)>& act)
{
    WhenDialogShows<T>([act](T& dialog) { act(&dialog); });
}

// Records what the glaze windows ask of the graph window, in place of opening it.
struct CGraphRequestRecorder : CGlazeViews {
    CGlazeEditLink* AsEditView(CView*) override { return nullptr; }
    CGlazeAnalysisLink* AsAnalysisView(CView*) override { return nullptr; }
    bool OpenGlazeGraphView(CGlazesDoc&, const CGlazeGraphRequest& request) override
    {
        requests.push_back(request);
        return true;
    }
    std::vector<CGlazeGraphRequest> requests;
};

class GlazeEditViewFixture : public ::testing::Test {
protected:
    GlazeEditViewFixture()
    {
        SetProfile(&m_profile);
        g_prefs.ApplyColorScheme();
        g_prefs.backtyp = CBackupSettings::None;
        m_materials.OnOpenDocument(Shipped("materials.mat"));
        m_limits.OnOpenDocument(Shipped("tarnell.lim"));
        m_substitutions.OnOpenDocument(Shipped("substitutions.sub"));
        g_pGlazesTemplate = m_glazesTemplate.get();
        g_pGlazeEditTemplate = &m_editTemplate;
        g_pGlazeAnalysisTemplate = &m_analysisTemplate;
        InstallGlazesTemplate(*m_glazesTemplate);
        InstallGlazeEditTemplate(m_editTemplate);
        InstallGlazeAnalysisTemplate(m_analysisTemplate);
        m_frame.resize(1000, 760);
        m_frame.show();
        QApplication::setActiveWindow(&m_frame);
        QApplication::processEvents();
    }
    ~GlazeEditViewFixture() override
    {
        m_recorder.reset();
        for (CMDIChildFrame* frame : m_frame.ChildFrames())
            delete frame;
        m_graphTypes.reset();
        SetGlazeViews(nullptr);
        g_pGlazesTemplate = nullptr;
        g_pGlazeEditTemplate = nullptr;
        g_pGlazeAnalysisTemplate = nullptr;
        SetProfile(nullptr);
    }

    static std::string Shipped(const std::string& name) { return std::string(OXI_SHIPPED_DATA_DIR) + "/" + name; }

    // The shipped glaze database, with a recorder of the notices its views receive.
    CGlazesDoc* OpenShipped()
    {
        m_doc = dynamic_cast<CGlazesDoc*>(m_app.OpenAndAnnounce(g_pGlazesTemplate, Shipped("glazes.glz"), 5));
        if (m_doc)
            m_recorder = std::make_unique<CRecordingFrame>(*m_doc, "recorder");
        // The tests reach the ten glazes by their places: a database that opened short is none.
        if (m_doc && m_doc->GetGlazeCount() != 10) {
            ADD_FAILURE() << "the shipped glazes opened with " << m_doc->GetGlazeCount() << " glazes, not 10";
            return nullptr;
        }
        return m_doc;
    }
    CGlazesView* ListView() const { return m_doc ? dynamic_cast<CGlazesView*>(m_doc->GetListView()) : nullptr; }

    // An edit window on glaze index, as the list's Edit command opens it.
    CGlazeEditView* OpenEdit(int index)
    {
        const int indices[] = {index};
        EXPECT_TRUE(GetGlazeViews()->OpenEditView(*m_doc, indices, false));
        return dynamic_cast<CGlazeEditView*>(LastItem(m_doc->GetViews()));
    }
    CGlazeEditView* OpenLimited(std::vector<int> indices)
    {
        EXPECT_TRUE(GetGlazeViews()->OpenEditView(*m_doc, indices, true));
        return dynamic_cast<CGlazeEditView*>(LastItem(m_doc->GetViews()));
    }
    CGlazeAnalysisView* OpenReport(int index)
    {
        EXPECT_TRUE(GetGlazeViews()->OpenAnalysisView(*m_doc, index));
        return dynamic_cast<CGlazeAnalysisView*>(LastItem(m_doc->GetViews()));
    }
    // Puts the caret into a field of the edit window, as a click would.
    void Focus(CGlazeEditView* view, QWidget* field)
    {
        view->GetFrame()->ActivateFrame();
        QApplication::setActiveWindow(&m_frame);
        field->setFocus();
        QApplication::processEvents();
    }
    // An edit window on glaze index of the shipped database, on its Recipe page with the caret in
    // the emptied Components field.
    CGlazeEditView* OpenEmptyRecipe(int index)
    {
        if (!OpenShipped())
            return nullptr;
        CGlazeEditView* view = OpenEdit(index);
        if (!view)
            return nullptr;
        view->ShowPage(kPageRecipe);
        GlazeForm::ComponentsEdit(view)->clear();
        Focus(view, GlazeForm::ComponentsEdit(view));
        return view;
    }
    template <class View>
    int CountViews() const
    {
        int count = 0;
        for (CView* view : m_doc->GetViews())
            count += dynamic_cast<View*>(view) != nullptr ? 1 : 0;
        return count;
    }
    static void FlushDeletes()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
    }
    // (code, index) of the notices heard, cleared afterwards.
    std::vector<std::pair<int, int>> TakeNotices()
    {
        std::vector<std::pair<int, int>> notices;
        for (const CReceivedHint& hint : m_recorder->view->received)
            notices.emplace_back(hint.code, hint.index);
        m_recorder->view->received.clear();
        return notices;
    }
    static void Screenshot(QWidget* widget, const char* name)
    {
        const QString folder = ScreenshotFolder();
        QDir().mkpath(folder);
        EXPECT_TRUE(widget->grab().save(folder + "/" + name + ".png")) << name;
    }

    QTemporaryDir m_dir;
    CProfile m_profile{m_dir.path().toStdString() + "/Oxidarium.ini"};
    CAppContext m_context;
    CFakeMessageService m_messages;
    CFakeFileDialogs m_dialogs;
    CFakeClipboard m_clipboard;
    COxidariumApp m_app;
    CMaterialsDoc m_materials;
    CLimitFormulasDoc m_limits;
    CSubstitutionsDoc m_substitutions;
    std::unique_ptr<CDocTemplate> m_glazesTemplate = CreateGlazesTemplate();
    CDocTemplate m_editTemplate{kGlazeEditResourceId, "Glaze Edit\n\n\n\n\n\n", [] { return std::make_unique<CGlazesDoc>(); }};
    CDocTemplate m_analysisTemplate{kGlazeAnalysisResourceId, "Glaze Report\n\n\n\n\n\n",
                                    [] { return std::make_unique<CGlazesDoc>(); }};
    CMDIMainFrame m_frame;
    CGlazesDoc* m_doc = nullptr;
    std::unique_ptr<CRecordingFrame> m_recorder;
    std::unique_ptr<CGraphTypesDoc> m_graphTypes; // made by the tests of the graph panes
};
