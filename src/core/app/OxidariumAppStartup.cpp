// Start-up and shut-down of the application object.

#include "shell/OxidariumApp.h"

#include "elements/ElementsDoc.h"
#include "framework/CommandGuard.h"
#include "framework/Document.h"
#include "framework/MessageService.h"
#include "framework/UpdateHint.h"
#include "glazes/GlazeFilePrefetch.h"
#include "glazes/GlazesDoc.h"
#include "graphs/ChartEngine.h"
#include "graphs/GraphTypesDoc.h"
#include "limits/LimitFormulasDoc.h"
#include "materials/ChemistryListChecks.h"
#include "materials/MaterialsDoc.h"
#include "shell/AppContext.h"
#include "shell/Preferences.h"
#include "substitutions/SubstitutionsDoc.h"
#include "support/DbFileType.h"
#include "support/InputFile.h"
#include "support/MessagePath.h"
#include "support/PathHelpers.h"
#include "support/Profile.h"
#include "textfile/TextFileDoc.h"
#include "tree/DbTreeDoc.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>

namespace {

constexpr const char* kHandOverFileName = "datalocation.txt";
constexpr const char* kDbTreeFileName = "databasetree.dbt";
constexpr const char* kFilesSection = "Files";
constexpr const char* kDirectoriesSection = "Directories";
constexpr const char* kStartingKey = "Starting";
constexpr const char* kChartEngineFailedText =
    "Could not open the chart engine! Graphs will not work. See the Help file Troubleshooting section.";

// Resource ids of the templates (their menus carry the same numbers).
constexpr unsigned kDbTreeTemplateId = 4;
constexpr unsigned kElementsTemplateId = 5;
constexpr unsigned kMaterialsTemplateId = 6;
constexpr unsigned kSubstitutionsTemplateId = 7;
constexpr unsigned kLimitFormulasTemplateId = 8;
constexpr unsigned kMaterialEditTemplateId = 10;
constexpr unsigned kSubstitutionEditTemplateId = 11;
constexpr unsigned kLimitFormulaEditTemplateId = 12;
constexpr unsigned kGlazeEditTemplateId = 13;
constexpr unsigned kGlazeAnalysisTemplateId = 14;
constexpr unsigned kGraphTypesTemplateId = 15;
constexpr unsigned kGraphTypeEditTemplateId = 16;
constexpr unsigned kGraphViewTemplateId = 17;

// The default databases of a data directory and the profile keys that name them.
struct DefaultDatabase {
    const char* fileName;
    const char* profileKey;
};
constexpr DefaultDatabase kDefaultDatabases[] = {
    {"elements.ele", "ElementDBFileName"},
    {"materials.mat", "MaterialDBFileName"},
    {"substitutions.sub", "SubstitutionDBFileName"},
    {"tarnell.lim", "LimitFormulaDBFileName"},
    {"graphtypes.grt", "GraphTypeDBFileName"},
};

std::string ProfileString(const char* section, const char* key, const std::string& defaultValue = std::string())
{
    const CProfile* profile = GetProfile();
    return profile ? profile->GetString(section, key, defaultValue) : defaultValue;
}

void WriteProfileString(const char* section, const char* key, const std::string& value)
{
    if (CProfile* profile = GetProfile())
        profile->WriteString(section, key, value);
}

// The whole first line of the file, without its line end and trailing blanks; empty when the
// file cannot be read.
std::string ReadFirstLine(const std::string& path)
{
    CInputFile in;
    std::string line;
    if (!in.Open(path) || !std::getline(in, line))
        return std::string();
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
        line.pop_back();
    return line;
}

bool ChangeDirectory(const std::string& directory)
{
    if (directory.empty())
        return false;
    std::error_code ec;
    std::filesystem::current_path(directory, ec);
    return !ec;
}

template <typename DocT>
DocT* OpenSingleton(CDocTemplate* docTemplate, const char* profileKey)
{
    if (!docTemplate)
        return nullptr;
    return dynamic_cast<DocT*>(docTemplate->OpenDocumentFile(ProfileString(kFilesSection, profileKey), true));
}

} // namespace

std::string COxidariumApp::GetProgramDir() const
{
    return m_strProgramDir.empty() ? GetProgramDirectory() : m_strProgramDir;
}

bool COxidariumApp::InitInstance()
{
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    TellProfileSaveFailures();
    TakeDataLocationHandOver();
    RememberStartingDirectory();
    ShowSplash();
    OpenChartEngine();
    RegisterDocTemplates();
    LoadPreferences();
    // The glaze databases are read meanwhile; the documents opening them take what was read.
    const CGlazeFilePrefetch glazeFiles(StartupGlazeFiles());
    if (!CreateMainFrame())
        return false;
    if (m_bDataLocationHandedOver)
        WriteDefaultDatabasePaths();
    OpenSingletonDatabases();
    OpenStartupFiles();
    RebuildDatabaseTree();
    ShowMainWindow();
    return true;
}

int COxidariumApp::ExitInstance()
{
    const int result = m_nExitCode;
    CloseChartEngine();
    CloseSplash();
    return result;
}

bool COxidariumApp::SaveAllModified(SaveModifiedFor reason)
{
    return m_docManager.SaveAllModified(reason);
}

// Window places and the databases to open come back at the next start only when the profile
// can be saved: the first save that fails says so, with its reason (the profile tells once).
void COxidariumApp::TellProfileSaveFailures()
{
    if (CProfile* profile = GetProfile())
        profile->SetSaveFailureNotice(
            [](const std::string& message) { AppMessageBox(message, MsgOk | MsgIconExclamation, 0); });
}

// A helper (the run script) hands over the data directory by leaving its path in
// "datalocation.txt" beside the program. The file serves one start only.
void COxidariumApp::TakeDataLocationHandOver()
{
    m_bDataLocationHandedOver = 0;
    const std::string handOverPath = MakeFilePath(GetProgramDir(), kHandOverFileName);
    if (!FileExists(handOverPath))
        return;
    const std::string directory = ReadFirstLine(handOverPath);
    std::error_code ec;
    std::filesystem::remove(handOverPath, ec);
    if (!ChangeDirectory(directory)) {
        // Going on as if the data were there would write the profile and the preferences
        // file for a directory the program is not in.
        MessageBoxWithHelp(std::string("The data directory named in ") + kHandOverFileName +
                               " cannot be opened: \"" + MessagePath(directory) + "\"",
                           MsgOk | MsgIconExclamation, 0);
        return;
    }
    m_bDataLocationHandedOver = 1;
}

// Graphs are available only when the chart engine opens; without it every graph window and
// graph pane stays away until the program ends.
void COxidariumApp::OpenChartEngine()
{
    CChartEngine* engine = GetChartEngine();
    m_bChartEngineOpen = engine && engine->ChartLibOpen("", "C") == 0;
    m_bGraphsAvailable = m_bChartEngineOpen ? 1 : 0;
    if (!m_bChartEngineOpen)
        MessageBoxWithHelp(kChartEngineFailedText, MsgOk | MsgIconExclamation, 0);
}

void COxidariumApp::CloseChartEngine()
{
    if (!m_bChartEngineOpen)
        return;
    m_bChartEngineOpen = false;
    m_bGraphsAvailable = 0;
    if (CChartEngine* engine = GetChartEngine())
        engine->ChartLibClose();
}

void COxidariumApp::RememberStartingDirectory()
{
    std::string starting = GetCurrentDirectoryString();
    if (IsSamePath(starting, GetProgramDir()))
        starting = ProfileString(kDirectoriesSection, kStartingKey, starting);
    WriteProfileString(kDirectoriesSection, kStartingKey, starting);
}

void COxidariumApp::RegisterDocTemplates()
{
    // The fifteen templates, in this order. The second views (edit forms, the analysis view and
    // the graph view) open windows on documents of the first ones; their templates carry the
    // window kind (menu bar) and never open a file themselves.
    const auto add = [this](unsigned id, const char* strings, CDocTemplate::DocumentFactory factory) {
        return m_docManager.AddDocTemplate(std::make_unique<CDocTemplate>(id, strings, std::move(factory)));
    };
    g_pGlazesTemplate = m_docManager.AddDocTemplate(CreateGlazesTemplate());
    g_pDbTreeTemplate = add(kDbTreeTemplateId, kDbTreeDocString, [] { return std::make_unique<CDbTreeDoc>(); });
    g_pElementsTemplate =
        add(kElementsTemplateId, kElementsDocString, [] { return std::make_unique<CElementsDoc>(); });
    g_pMaterialsTemplate =
        add(kMaterialsTemplateId, kMaterialsDocString, [] { return std::make_unique<CMaterialsDoc>(); });
    g_pSubstitutionsTemplate = add(kSubstitutionsTemplateId, kSubstitutionsDocString,
                                   [] { return std::make_unique<CSubstitutionsDoc>(); });
    g_pLimitFormulasTemplate = add(kLimitFormulasTemplateId, kLimitFormulasDocString,
                                   [] { return std::make_unique<CLimitFormulasDoc>(); });
    g_pTextFileTemplate = m_docManager.AddDocTemplate(CreateTextFileTemplate());
    g_pGraphTypesTemplate =
        add(kGraphTypesTemplateId, kGraphTypesDocString, [] { return std::make_unique<CGraphTypesDoc>(); });
    g_pMaterialEditTemplate = add(kMaterialEditTemplateId, "Material Edit\n\n\n\n\n\n", nullptr);
    g_pSubstitutionEditTemplate = add(kSubstitutionEditTemplateId, "Substitution Edit\n\n\n\n\n\n", nullptr);
    g_pLimitFormulaEditTemplate = add(kLimitFormulaEditTemplateId, "Limit Formula Edit\n\n\n\n\n\n", nullptr);
    g_pGlazeEditTemplate = add(kGlazeEditTemplateId, "Glaze Edit\n\n\n\n\n\n", nullptr);
    g_pGlazeAnalysisTemplate = add(kGlazeAnalysisTemplateId, "Glaze Analysis\n\n\n\n\n\n", nullptr);
    g_pGraphTypeEditTemplate = add(kGraphTypeEditTemplateId, "Graph Template Edit\n\n\n\n\n\n", nullptr);
    g_pGraphViewTemplate = add(kGraphViewTemplateId, "Graph\n\n\n\n\n\n", nullptr);
}

void COxidariumApp::LoadPreferences()
{
    if (!CAppContext::IsActive())
        return;
    // With a handed-over data location the preferences live in the data directory. A file
    // already there is the user's and is what gets read; otherwise the file the profile names
    // (or the program's) is read and then moves into the data directory.
    const std::string dataDirectory = m_bDataLocationHandedOver ? GetCurrentDirectoryString() : std::string();
    if (!dataDirectory.empty() && FileExists(MakeFilePath(dataDirectory, kPreferencesFileName)))
        g_savedPrefs.SetFileDirectory(dataDirectory);
    g_savedPrefs.Load(CChemistryListChecks());
    if (!dataDirectory.empty())
        g_savedPrefs.SetFileDirectory(dataDirectory);
    g_prefs = g_savedPrefs;
    if (!dataDirectory.empty())
        g_savedPrefs.Save();
}

void COxidariumApp::WriteDefaultDatabasePaths()
{
    const std::string directory = GetCurrentDirectoryString();
    for (const DefaultDatabase& database : kDefaultDatabases) {
        const std::string path = MakeFilePath(directory, database.fileName);
        if (FileExists(path))
            WriteProfileString(kFilesSection, database.profileKey, path);
    }
}

void COxidariumApp::OpenSingletonDatabases()
{
    g_pElementsDoc = OpenSingleton<CElementsDoc>(g_pElementsTemplate, "ElementDBFileName");
    g_pMaterialsDoc = OpenSingleton<CMaterialsDoc>(g_pMaterialsTemplate, "MaterialDBFileName");
    g_pSubstitutionsDoc =
        OpenSingleton<CSubstitutionsDoc>(g_pSubstitutionsTemplate, "SubstitutionDBFileName");
    g_pLimitFormulasDoc =
        OpenSingleton<CLimitFormulasDoc>(g_pLimitFormulasTemplate, "LimitFormulaDBFileName");
    g_pGraphTypesDoc = OpenSingleton<CGraphTypesDoc>(g_pGraphTypesTemplate, "GraphTypeDBFileName");
    g_pDbTreeDoc = OpenSingleton<CDbTreeDoc>(g_pDbTreeTemplate, "DbTreeFileName");
}

std::vector<std::string> COxidariumApp::StartupGlazeFiles() const
{
    // A file named on the command line is taken as a glaze database whatever its extension.
    if (!m_cmdInfo.m_strFileName.empty())
        return {m_cmdInfo.m_strFileName};
    if (!CAppContext::IsActive())
        return {};
    return std::vector<std::string>(g_prefs.glzfile.begin(), g_prefs.glzfile.end());
}

void COxidariumApp::OpenStartupFiles()
{
    constexpr int kGlazes = static_cast<int>(DbFileType::Glazes);
    constexpr int kTextFile = static_cast<int>(DbFileType::TextFile);
    // Copies: opening a document may change the preferences' lists. A command-line file comes
    // without the text files.
    const std::vector<std::string> glazeFiles = StartupGlazeFiles();
    const bool withTextFiles = m_cmdInfo.m_strFileName.empty() && CAppContext::IsActive();
    const CStringArrayEx textFiles = withTextFiles ? g_prefs.txtfile : CStringArrayEx();
    // A file too large for the memory left is refused on its own; the program starts without it.
    for (const std::string& path : glazeFiles)
        RunGuarded("open " + MessagePath(path), [&] { OpenAndAnnounce(g_pGlazesTemplate, path, kGlazes); });
    for (const std::string& path : textFiles)
        RunGuarded("open " + MessagePath(path), [&] { OpenAndAnnounce(g_pTextFileTemplate, path, kTextFile); });
}

void COxidariumApp::RebuildDatabaseTree()
{
    if (!g_pDbTreeDoc)
        return;
    if (m_bDataLocationHandedOver) {
        const std::string dataDirectory = GetCurrentDirectoryString();
        const std::string programDirectory = GetProgramDir();
        g_pDbTreeDoc->AddDirectory(dataDirectory);
        if (!IsSamePath(dataDirectory, programDirectory))
            g_pDbTreeDoc->AddDirectory(programDirectory);
        g_pDbTreeDoc->DoSave(MakeFilePath(dataDirectory, kDbTreeFileName), true);
    }
    g_pDbTreeDoc->RemoveInvalidItems(true);
}

void COxidariumApp::ForgetOwnTemplates()
{
    CDocTemplate** globals[] = {
        &g_pGlazesTemplate,          &g_pDbTreeTemplate,           &g_pElementsTemplate,
        &g_pMaterialsTemplate,       &g_pSubstitutionsTemplate,    &g_pLimitFormulasTemplate,
        &g_pTextFileTemplate,        &g_pGraphTypesTemplate,       &g_pMaterialEditTemplate,
        &g_pSubstitutionEditTemplate, &g_pLimitFormulaEditTemplate, &g_pGlazeEditTemplate,
        &g_pGlazeAnalysisTemplate,   &g_pGraphTypeEditTemplate,    &g_pGraphViewTemplate,
    };
    const std::vector<CDocTemplate*> own = m_docManager.GetTemplates();
    for (CDocTemplate** global : globals) {
        if (std::find(own.begin(), own.end(), *global) != own.end())
            *global = nullptr;
    }
}
