#pragma once

// The world of the batch calculation and optimize dialog tests: a temporary profile and
// preferences directory, the starter materials database that ships with the program, a
// limit-formula database, and one glaze database opened through the glaze template holding the
// Leach 4321 glaze, so that the Load Optimization Parameters dialog finds a glaze to load from.

#include "TestPaths.h"
#include "ui/support/ModalDialogTest.h"
#include "core/framework/RecordingView.h"
#include "core/shell/FakeMessageService.h"
#include "framework/DocTemplate.h"
#include "glazes/Glaze.h"
#include "glazes/GlazesDoc.h"
#include "limits/LimitFormulasDoc.h"
#include "materials/MaterialsDoc.h"
#include "shell/AppContext.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"
#include "support/Profile.h"

#include <QApplication>
#include <QDir>
#include <QFocusEvent>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

class BatchOptDlgFixture : public ::testing::Test {
protected:
    BatchOptDlgFixture()
    {
        m_dir = std::filesystem::temp_directory_path() /
                ("oxi-batchopt-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
        m_profile = std::make_unique<CProfile>((m_dir / "profile.ini").string());
        SetProfile(m_profile.get());
        g_savedPrefs.SetFileDirectory(m_dir.string());
        g_prefs.ApplyColorScheme();
        std::ifstream in(std::string(OXI_SHIPPED_DATA_DIR) + "/materials.mat");
        EXPECT_EQ(m_materials.Materials().Read(in), 0);
        m_limits.OnNewDocument();
        m_template->SetFrameFactory([this](CDocTemplate&, CDocument& document, bool) {
            m_frames.push_back(std::make_unique<CRecordingFrame>(document, "list"));
            return true;
        });
        g_pGlazesTemplate = m_template.get();
        m_glazes = dynamic_cast<CGlazesDoc*>(m_app.OpenAndAnnounce(g_pGlazesTemplate, std::string(), 5));
        m_glazes->RemoveAllGlazes();
        CGlaze leach("Leach 4321");
        for (const auto& [name, amount] : LeachRecipe())
            leach.m_components.Add(name, amount);
        m_glazes->InsertGlaze(0, leach);
        m_glazes->SetModifiedFlag(false);
    }
    ~BatchOptDlgFixture() override
    {
        g_pGlazesTemplate = nullptr;
        SetProfile(nullptr);
        std::filesystem::remove_all(m_dir);
    }

    static std::vector<std::pair<std::string, double>> LeachRecipe()
    {
        return {{"Potash Feldspar", 40}, {"Silica", 30}, {"Whiting", 20}, {"Kaolin", 10}};
    }


    // The user leaves a field (Tab to the next one), and comes into one.
    static void Leave(QWidget* widget)
    {
        QFocusEvent event(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(widget, &event);
    }
    static void Enter(QWidget* widget)
    {
        QFocusEvent event(QEvent::FocusIn, Qt::TabFocusReason);
        QApplication::sendEvent(widget, &event);
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
    CGlazesDoc* m_glazes = nullptr;
};
