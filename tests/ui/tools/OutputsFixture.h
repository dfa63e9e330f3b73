#pragma once

// The running program on the four glazes of tests/data/glazes/outputs.glz (boron and iron, a
// recipe by volume, additions, a material no database holds) and the materials of outputs.mat,
// for the tests that compare whole outputs with expected files (core/support/ExpectedFile.h).
// An output is made under several settings of the preferences, each applied as the Preferences
// dialog applies them and put back afterwards; the messages shown follow each setting's output.

#include "ProgramFixture.h"
#include "core/support/CheckedItems.h"
#include "core/support/ExpectedFile.h"

#include "framework/UpdateHint.h"
#include "glazes/GlazeEditView.h"
#include "shell/Preferences.h"
#include "support/DbFileType.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

struct COutputSetting {
    const char* name;
    std::function<void(CPreferences&)> change;
};

inline const COutputSetting kDefaultPreferences{"default preferences", [](CPreferences&) {}};

class OutputsFixture : public ProgramFixture {
protected:
    OutputsFixture() : ProgramFixture(Data("outputs.mat"))
    {
        if (m_started && g_pGlazesTemplate)
            m_doc = dynamic_cast<CGlazesDoc*>(g_pGlazesTemplate->OpenDocumentFile(Data("outputs.glz")));
        m_list = ListOf(m_doc);
    }
    void SetUp() override
    {
        ASSERT_TRUE(m_started);
        ASSERT_NE(m_list, nullptr);
        ASSERT_EQ(m_doc->GetGlazeCount(), 4);
    }

    static std::string Data(const char* name) { return std::string(OXI_TEST_DATA_DIR) + "/glazes/" + name; }

    // run under every setting, each under its heading "=== <setting>".
    std::string EverySetting(const std::vector<COutputSetting>& settings, const std::function<std::string()>& run)
    {
        std::string text;
        const CPreferences defaults = g_prefs;
        for (const COutputSetting& setting : settings) {
            setting.change(g_prefs);
            Announce();
            text += "=== " + std::string(setting.name) + "\n" + run() + Messages();
            g_prefs = defaults;
        }
        Announce();
        return text;
    }
    // output of each glaze in turn, each under its heading "--- <name>".
    std::string EveryGlaze(const std::function<std::string(int)>& output)
    {
        std::string text;
        for (int glaze = 0; glaze < m_doc->GetGlazeCount(); ++glaze)
            text += "--- " + m_doc->GetGlaze(glaze)->m_name + "\n" + output(glaze);
        return text;
    }
    static void Announce()
    {
        COxidariumApp::BroadcastUpdate(nullptr, nullptr, static_cast<int>(DbFileType::Preferences),
                                       HintPreferencesChanged, 0, 0);
    }
    std::string Messages()
    {
        std::string text;
        for (const std::string& message : m_box.messages.Texts())
            text += "[message] " + message + "\n";
        m_box.messages.boxes.clear();
        return text;
    }

    // The edit form of a glaze (opened the first time), made the active window.
    CGlazeEditView* Form(int glaze)
    {
        CGlazeEditView*& form = m_forms[glaze];
        if (!form) {
            const int indices[] = {glaze};
            EXPECT_TRUE(GetGlazeViews()->OpenEditView(*m_doc, indices, false));
            form = dynamic_cast<CGlazeEditView*>(LastItem(m_doc->GetViews()));
        }
        Activate(form);
        return form;
    }

    CGlazesDoc* m_doc = nullptr;
    CGlazesView* m_list = nullptr;
    std::map<int, CGlazeEditView*> m_forms;
};
