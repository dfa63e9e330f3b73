#pragma once

// A small world for the glaze dialogs and their commands: a temporary profile, a materials
// database of five materials, a limit-formula database, and one glaze database of five glazes
// opened through the glaze template, whose list is a recording view with a scripted selection
// and beside which a second recording view hears every notice the list sends.

#include "core/framework/RecordingView.h"
#include "core/support/CheckedItems.h"
#include "ui/support/ModalDialogTest.h"
#include "core/shell/FakeMessageService.h"
#include "framework/DocTemplate.h"
#include "glazes/GlazesDoc.h"
#include "limits/LimitFormulasDoc.h"
#include "materials/MaterialsDoc.h"
#include "shell/AppContext.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"
#include "support/Profile.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

class CScriptedSelection : public CGlazeListSelection {
public:
    std::vector<int> GetSelectedRows() const override { return rows; }
    void ClearSelection() override { rows.clear(); }
    void SelectRow(int row) override { rows.push_back(row); }
    std::vector<int> rows;
};

class GlazeDlgFixture : public ::testing::Test {
protected:
    GlazeDlgFixture()
    {
        m_dir = std::filesystem::temp_directory_path() /
                ("oxi-glzdlg-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
        m_profile = std::make_unique<CProfile>((m_dir / "profile.ini").string());
        SetProfile(m_profile.get());
        g_prefs.ApplyColorScheme();
        AddMaterial("Silica", "SiO2");
        AddMaterial("Whiting", "CaCO3");
        AddMaterial("Kaolin", "Al2O3 2SiO2 2H2O");
        AddMaterial("Custer Feldspar", "K2O Al2O3 6SiO2");
        AddMaterial("Rutile", "TiO2", 0);
        m_limits.OnNewDocument();
        m_template->SetFrameFactory([this](CDocTemplate&, CDocument& document, bool) {
            m_frames.push_back(std::make_unique<CRecordingFrame>(document, "list"));
            return true;
        });
        g_pGlazesTemplate = m_template.get();
        m_doc = dynamic_cast<CGlazesDoc*>(m_app.OpenAndAnnounce(g_pGlazesTemplate, std::string(), 5));
        if (!m_doc || m_frames.empty())
            return; // SetUp stops the test
        m_doc->RemoveAllGlazes();
        AddGlaze("Celadon", "Glossy", "Blue green", {{"Silica", 30}, {"Whiting", 20}, {"Kaolin", 20}, {"Custer Feldspar", 30}});
        AddGlaze("Temmoku", "Glossy", "Black", {{"Silica", 30}, {"Whiting", 20}, {"Red Iron Oxide", 10}});
        AddGlaze("Matte White", "Matte", "White", {{"Whiting", 25}, {"Kaolin", 25}, {"Zircopax", 10}});
        AddGlaze("Blue Matte", "Matte", "Blue", {{"Silica", 20}, {"Whiting", 30}, {"Kaolin", 30}, {"Rutile", 5}});
        AddGlaze("Blue Satin", "Satin Matte", "Light blue", {{"Silica", 25}, {"Whiting", 25}, {"Custer Feldspar", 50}});
        m_doc->SetModifiedFlag(false);
        m_list = m_frames.at(0)->view.get();
        m_doc->SetListView(m_list, &m_selection);
        m_observer = std::make_unique<CRecordingFrame>(*m_doc, "other");
    }
    // The tests reach the five materials and glazes by their places.
    void SetUp() override
    {
        ASSERT_NE(m_doc, nullptr);
        ASSERT_NE(m_list, nullptr);
        ASSERT_EQ(m_materials.Materials().GetCount(), 5);
        ASSERT_EQ(m_doc->GetGlazeCount(), 5);
    }
    ~GlazeDlgFixture() override
    {
        if (m_doc)
            m_doc->SetListView(nullptr, nullptr);
        m_observer.reset();
        g_pGlazesTemplate = nullptr;
        SetProfile(nullptr);
        std::filesystem::remove_all(m_dir);
    }

    void AddMaterial(const std::string& name, const std::string& formula, int available = 1)
    {
        CMaterial material(name);
        material.SetFormula(formula);
        material.m_available = available;
        m_materials.InsertMaterial(m_materials.Materials().GetCount(), material);
    }
    void AddGlaze(const std::string& name, const std::string& type, const std::string& color,
                  std::initializer_list<std::pair<const char*, double>> lines)
    {
        CGlaze glaze(name);
        glaze.m_type = type;
        glaze.m_color = color;
        for (const auto& [material, amount] : lines)
            glaze.m_components.Add(material, amount);
        m_doc->InsertGlaze(m_doc->GetGlazeCount(), glaze);
    }
    std::vector<std::string> GlazeNames() const
    {
        std::vector<std::string> names;
        for (int n = 0; n < m_doc->GetGlazeCount(); ++n)
            names.push_back(Found(m_doc->GetGlaze(n)).m_name);
        return names;
    }
    // (code, index) of the notices the other view heard, cleared afterwards.
    std::vector<std::pair<int, int>> TakeNotices()
    {
        std::vector<std::pair<int, int>> notices;
        for (const CReceivedHint& hint : m_observer->view->received)
            notices.emplace_back(hint.code, hint.index);
        m_observer->view->received.clear();
        return notices;
    }

    std::filesystem::path m_dir;
    std::unique_ptr<CProfile> m_profile;
    CAppContext m_context;
    CFakeMessageService m_messages;
    COxidariumApp m_app;
    CMaterialsDoc m_materials;
    CLimitFormulasDoc m_limits;
    std::unique_ptr<CDocTemplate> m_template = CreateGlazesTemplate();
    std::vector<std::unique_ptr<CRecordingFrame>> m_frames;
    CGlazesDoc* m_doc = nullptr;
    CRecordingView* m_list = nullptr;
    CScriptedSelection m_selection;
    std::unique_ptr<CRecordingFrame> m_observer;
};
