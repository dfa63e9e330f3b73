#include "ui/support/ProcessStateCheck.h"

#include "framework/DocRegistry.h"
#include "framework/FileDialogService.h"
#include "framework/MdiFrame.h"
#include "framework/MenuDef.h"
#include "framework/MessageService.h"
#include "glazes/GlazesDoc.h"
#include "graphs/ChartEngine.h"
#include "graphs/GraphTypesDoc.h"
#include "graphs/GraphView.h"
#include "app/AppCommands.h"
#include "shell/AppContext.h"
#include "shell/OxidariumApp.h"
#include "support/Profile.h"

#include <QApplication>
#include <QWidget>

#include <filesystem>
#include <map>
#include <string>

namespace {

bool s_changed = false;

using State = std::map<std::string, std::string>;

std::string Pointer(const void* p)
{
    return p ? "set" : "none";
}

State Snapshot()
{
    State state;
    state["message service"] = Pointer(GetMessageService());
    state["file dialog service"] = Pointer(GetFileDialogService());
    state["message box host"] = Pointer(GetMessageBoxHost());
    state["profile"] = Pointer(GetProfile());
    state["application object"] = Pointer(g_pApp);
    state["application context"] = CAppContext::IsActive() ? "active" : "none";
    state["main window"] = Pointer(CMDIMainFrame::Instance());
    state["chart engine"] = Pointer(GetChartEngine());
    state["glaze windows"] = Pointer(GetGlazeViews());
    state["graph template windows"] = Pointer(GetGraphTemplateViews());
    const std::pair<const char*, CDocTemplate*> templates[] = {
        {"glazes", g_pGlazesTemplate}, {"tree", g_pDbTreeTemplate}, {"elements", g_pElementsTemplate},
        {"materials", g_pMaterialsTemplate}, {"substitutions", g_pSubstitutionsTemplate},
        {"limit formulas", g_pLimitFormulasTemplate}, {"text", g_pTextFileTemplate},
        {"graph templates", g_pGraphTypesTemplate}, {"material edit", g_pMaterialEditTemplate},
        {"substitution edit", g_pSubstitutionEditTemplate}, {"limit formula edit", g_pLimitFormulaEditTemplate},
        {"glaze edit", g_pGlazeEditTemplate}, {"glaze analysis", g_pGlazeAnalysisTemplate},
        {"graph template edit", g_pGraphTypeEditTemplate}, {"graph", g_pGraphViewTemplate}};
    for (const auto& [name, docTemplate] : templates)
        state[std::string(name) + " template"] = Pointer(docTemplate);
    for (int kind = 0; kind < 10; ++kind)
        state["singleton database " + std::to_string(kind)] = Pointer(GetSingletonDocument(kind));
    // The program's own menu bars (resource ids 2 to 17) are data that every start and every
    // installed window kind registers alike; a test's own menu bars must go with the test.
    std::string menus;
    for (unsigned id = 0; id < 1000; ++id) {
        if (FindMenuBar(id) && (id < kMainMenuResourceId || id > kGraphViewResourceId))
            menus += std::to_string(id) + " ";
    }
    state["menu bars of test kinds"] = menus;
    std::error_code ec;
    state["current directory"] = std::filesystem::current_path(ec).string();
    int windows = 0;
    for (const QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible())
            ++windows;
    }
    state["open top-level windows"] = std::to_string(windows);
    return state;
}

class CProcessStateCheck : public ::testing::EmptyTestEventListener {
public:
    void OnTestStart(const ::testing::TestInfo&) override { m_before = Snapshot(); }

    void OnTestEnd(const ::testing::TestInfo& info) override
    {
        const State after = Snapshot();
        for (const auto& [name, value] : m_before) {
            const std::string& now = after.at(name);
            if (now == value)
                continue;
            s_changed = true;
            std::printf("[  LEAKED  ] %s.%s left the process changed: %s was \"%s\", is \"%s\"\n",
                        info.test_suite_name(), info.name(), name.c_str(), value.c_str(), now.c_str());
        }
    }

private:
    State m_before;
};

} // namespace

void InstallProcessStateCheck()
{
    ::testing::UnitTest::GetInstance()->listeners().Append(new CProcessStateCheck);
}

bool ProcessStateChanged()
{
    return s_changed;
}
