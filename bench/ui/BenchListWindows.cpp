#include "BenchListWindows.h"

#include "GeneratedDatabases.h"

#include "framework/DocTemplate.h"
#include "framework/MdiFrame.h"
#include "glazes/GlazesDoc.h"
#include "glazes/GlazesView.h"
#include "materials/MaterialsDoc.h"
#include "materials/MaterialsView.h"
#include "shell/AppContext.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"
#include "support/DbFileType.h"
#include "support/Profile.h"

#include <QApplication>
#include <QTemporaryDir>

#include <string>

// Members in the order they must be made (the profile's folder first) and go (the windows first).
struct CBenchListWindows::CParts {
    QTemporaryDir dir;
    CProfile profile{dir.path().toStdString() + "/Oxidarium.ini"};
    CAppContext context;
    COxidariumApp app;
    CDocTemplate materialsTemplate{kMaterialsResourceId, kMaterialsDocString,
                                   [] { return std::make_unique<CMaterialsDoc>(); }};
    std::unique_ptr<CDocTemplate> glazesTemplate = CreateGlazesTemplate();
    CMDIMainFrame frame;
};

CBenchListWindows::CBenchListWindows(int materialCount, int glazeCount, int recipeMaterials)
    : m_parts(std::make_unique<CParts>())
{
    SetProfile(&m_parts->profile);
    g_prefs.ApplyColorScheme();
    const std::string directory = m_parts->dir.path().toStdString();
    WriteGeneratedFile(directory + "/materials.mat", GeneratedMaterialsFile(materialCount));
    WriteGeneratedFile(directory + "/glazes.glz", GeneratedGlazesFile(glazeCount, recipeMaterials));
    g_pMaterialsTemplate = &m_parts->materialsTemplate;
    g_pGlazesTemplate = m_parts->glazesTemplate.get();
    InstallMaterialsTemplate(m_parts->materialsTemplate);
    InstallGlazesTemplate(*m_parts->glazesTemplate);
    m_parts->frame.resize(1000, 700);
    m_parts->frame.show();
    materials = static_cast<CMaterialsDoc*>(m_parts->materialsTemplate.OpenDocumentFile(directory + "/materials.mat"));
    materialsView = dynamic_cast<CMaterialsView*>(materials->GetViews().front());
    glazes = dynamic_cast<CGlazesDoc*>(m_parts->app.OpenAndAnnounce(g_pGlazesTemplate, directory + "/glazes.glz",
                                                                    static_cast<int>(DbFileType::Glazes)));
    glazesView = dynamic_cast<CGlazesView*>(glazes->GetListView());
    QApplication::processEvents();
}

CBenchListWindows::~CBenchListWindows()
{
    g_pMaterialsTemplate = nullptr;
    g_pGlazesTemplate = nullptr;
    SetProfile(nullptr);
}
