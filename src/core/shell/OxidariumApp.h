#pragma once

// The application object: start-up and shut-down, message boxes with a help context, help by
// context number, the update broadcast, the document registry, the open-document look-ups and
// the application's own commands. The Qt layer derives its application object from this one
// and completes the steps that need windows; g_pApp points at the object while it lives.

#include "framework/DocRegistry.h"
#include "framework/DocTemplate.h"
#include "framework/MessageService.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CDocument;
class CView;
enum class SaveModifiedFor;

// What the command line asks for. The automation, embedding and registration switches of other
// desktops mean nothing here and never reach this.
struct CCommandLineInfo {
    std::string m_strFileName; // a file to open as a glaze database (absolute); empty for none
};

// The result actions of a Find Glazes request.
enum FindGlazesAction : int {
    kFindSelect = 0,
    kFindAddToSelection = 1,
    kFindCopyToNewDatabase = 2,
    kFindMoveToNewDatabase = 3,
};

// A Find Glazes request as the application runs it over the open glaze databases. The glaze
// list fills it from its own request: the fields the application reads, and how one glaze list
// view searches its database.
struct CGlazeSearchRun {
    bool allDatabases = false;
    int action = kFindSelect;
    // The new database that Copy and Move fill; set by SearchGlazeDatabases.
    CDocument* resultsDatabase = nullptr;
    // Runs the request over the view's database and returns the number of glazes found, or -1
    // when the view is not a glaze list.
    std::function<int(CView* view)> searchView;
    // Gives a glaze database its database name (unset: a CGlazesDoc takes it directly).
    std::function<void(CDocument& document, const std::string& name)> setDatabaseName;
};

// A Make Limit Formula request as the application hands it to the glaze lists.
struct CGlazeStatisticsRun {
    bool allDatabases = false;
    // Adds the statistics of the view's glazes to the request; false when the view is not a
    // glaze list.
    std::function<bool(CView* view)> accumulate;
    // Makes the new limit formula from the request.
    std::function<void()> compile;
};

// How a new glaze database is emptied (its template starts it with one new glaze). Without
// one installed, a glaze database document (CGlazesDoc) is emptied by the document itself.
void SetGlazeDatabaseEmptier(std::function<void(CDocument& document)> emptier);

class COxidariumApp : public CMessageBoxHost {
public:
    COxidariumApp();
    ~COxidariumApp() override;
    COxidariumApp(const COxidariumApp&) = delete;
    COxidariumApp& operator=(const COxidariumApp&) = delete;

    // --- start-up and shut-down (OxidariumAppStartup.cpp) ---

    // Starts the program: the data-location hand-off, the splash, the document registry, the
    // preferences, the main window, the singleton databases and the start-up files, in that
    // order. False ends the program.
    virtual bool InitInstance();
    // Closes what start-up opened that outlives the windows; returns the program's exit code.
    virtual int ExitInstance();
    // Asks every modified document, template by template, whether to save; false on Cancel.
    // Exit asks before closing, Save All Databases for the save alone.
    bool SaveAllModified(SaveModifiedFor reason);
    // Writes to the profile's "Files" section the path of each default database present in the
    // current directory (the tree file excepted); a missing file leaves its key alone.
    void WriteDefaultDatabasePaths();
    virtual void ShowSplash() {}
    virtual void CloseSplash() {}

    // The directory the program reads beside itself: the executable's, unless one was set
    // (tests use a directory of their own).
    std::string GetProgramDir() const;
    void SetProgramDir(const std::string& directory) { m_strProgramDir = directory; }

    // --- services (OxidariumApp.cpp) ---

    // Appends a line to the Information window, or empties it (made first when needed).
    void ShowInformation(const std::string& text);
    void ClearInformation();
    // A new, empty, untitled glaze database announced as opened; null without one.
    CDocument* NewGlazeDatabase();
    // Runs a Find Glazes request over the asking view's database or every open glaze
    // database; returns the number of glazes found.
    int SearchGlazeDatabases(CView* view, CGlazeSearchRun& request);
    // Lets the asking view, or every glaze list, add its statistics to a Make Limit Formula
    // request, then makes the formula.
    void ApplyToGlazesViews(CView* view, CGlazeStatisticsRun& request);
    // An execute request of the desktop shell: [open("file")], [print("file")] or
    // [printto("file")...]. Brings the main window forward and opens a ".glz" file as a glaze
    // database; true when the request had that form.
    bool OnDDECommand(const std::string& command);

    // Opens path (empty: a new document) through the template and announces the document as
    // opened with the kind; null when nothing opened.
    CDocument* OpenAndAnnounce(CDocTemplate* docTemplate, const std::string& path, int kind);
    // The application's file commands.
    void OnNewGlazeDatabase();
    void OnOpenGlazeDatabase();
    void OnNewTextWindow();
    void OnOpenTextFile();

    // Shows a message box (MessageBoxType flags) whose Help opens helpId; returns the button.
    int MessageBoxWithHelp(const std::string& text, unsigned type, unsigned helpId) override;

    // Opens help: while a message box is up, that box's topic wins. Otherwise ids below 2000
    // are topics, 2002 opens the index, 2003 closes help, and other ids do nothing.
    void ShowHelp(unsigned helpId) override;

    // The update broadcast and the singleton look-ups of the document registry
    // (framework/DocRegistry.h), under the application's names.
    static void BroadcastUpdate(CView* sender, const void* object, int kind, int code, int index,
                                std::uintptr_t extra)
    {
        ::BroadcastUpdate(sender, object, kind, code, index, extra);
    }
    static CDocument* GetSingletonDocument(int kind) { return ::GetSingletonDocument(kind); }
    static void SetSingletonDocument(int kind, CDocument* document) { ::SetSingletonDocument(kind, document); }

    // Open-document look-ups.
    CDocument* FindOpenDocument(const std::string& path) const;
    bool IsDocumentOpen(const std::string& path) const { return FindOpenDocument(path) != nullptr; }
    void GetGlazeDocTitles(std::vector<std::string>& titles) const;
    void GetGlazeDocs(std::vector<CDocument*>& documents) const;
    int CountGlazeDocs() const;
    CDocument* GetGlazeDoc(int n) const;
    int IndexOfGlazeDoc(const CDocument* document) const;
    CDocument* FindGlazeDocByDbName(const std::string& name) const;

    // Cascade position for the next MDI child window.
    struct Point {
        int x = 0;
        int y = 0;
        bool operator==(const Point&) const = default;
    };
    Point NextChildWindowPos();

    CDocManager m_docManager;

    // Help context of the message box that is up, 0 when none.
    unsigned m_nBoxHelpId = 0;
    int m_nNextChildX = 0;
    int m_nNextChildY = 0;
    // Cascade step in pixels: a sizing frame plus a menu bar; the Qt layer sets the real value.
    int m_nCascadeStep = 23;

    CCommandLineInfo m_cmdInfo;
    // 1 while the chart engine is open: graph windows and graph panes exist only then.
    int m_bGraphsAvailable = 0;
    // 1 when "datalocation.txt" named a usable data directory at this start.
    int m_bDataLocationHandedOver = 0;
    // Set once a shell request reached the program: the user is in charge of it from then on.
    bool m_bUserControl = false;
    // The code ExitInstance returns (the event loop's result, set by the caller).
    int m_nExitCode = 0;

protected:
    // Start-up steps the Qt layer completes. RegisterDocTemplates creates the templates of the
    // documents that exist; the Qt layer then gives them their windows.
    virtual void RegisterDocTemplates();
    virtual bool CreateMainFrame() { return true; }
    // Shows the main window, arranges minimised windows and closes the splash after a second.
    virtual void ShowMainWindow() {}
    // Shows the main window for a shell request and brings it to the front.
    virtual void BringMainWindowForward() {}

private:
    // Opens the installed chart engine (graphs/ChartEngine.h) and sets m_bGraphsAvailable from
    // the answer; ExitInstance closes it when it opened.
    void OpenChartEngine();
    void CloseChartEngine();
    // Installs the profile's save-failure notice: a message box.
    void TellProfileSaveFailures();
    void TakeDataLocationHandOver();
    void RememberStartingDirectory();
    void LoadPreferences();
    void OpenSingletonDatabases();
    // The glaze databases start-up opens: the command line's file, else the preferences' list.
    std::vector<std::string> StartupGlazeFiles() const;
    void OpenStartupFiles();
    void RebuildDatabaseTree();
    void ForgetOwnTemplates();

    std::string m_strProgramDir;
    bool m_bChartEngineOpen = false;
};

extern COxidariumApp* g_pApp;

// The file an execute request of the desktop shell names. The request must begin exactly with
// [open(" , [print(" or [printto(" ; the name runs to the next double quote. False for any
// other text (the name is then left empty).
bool ParseDDECommand(const std::string& command, std::string& fileName);

// True when the name ends in ".glz", ignoring case.
bool HasGlazeExtension(const std::string& name);
