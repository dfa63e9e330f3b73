#pragma once

// The glaze report window: a read-only text window on one glaze of a glaze database that shows
// the glaze's full report (the screen lines of WriteGlazeReport, without the paper-only lines).
// From it the user steps to the previous or next glaze, jumps to any glaze, opens the glaze in
// an edit window, and prints, previews or writes to a file the glaze's summary, recipe or report.
//
// It follows the change notices: it rebuilds the report when the chemistry behind it or the
// glaze changes, finds its glaze again when glazes move, and closes itself when its glaze is
// deleted or the database is reverted.

#include "framework/View.h"
#include "glazes/GlazesDoc.h"
#include "support/LogFont.h"

#include <QPlainTextEdit>

#include <string>

class CDocTemplate;
class CGlaze;
class CTextPrinter;

// Commands of the report window (menu texts in the comments).
enum GlazeAnalysisCommand : unsigned {
    CmdGanEdit = 32998,            // "&Edit"
    CmdGanJump = 33055,            // "&Jump to..."
    CmdGanPrevious = 32999,        // "&Previous Glaze"
    CmdGanNext = 33000,            // "&Next Glaze"
    CmdGanOpenGraph = 33309,       // "Open &Graph"
    CmdGanCloseView = 32894,       // "&Close View"
    CmdGanHelp = 32000,            // "&Help"
};

inline constexpr unsigned kGlazeAnalysisResourceId = 14;
inline constexpr unsigned kGlazeAnalysisHelpId = 232;

class CGlazeAnalysisView : public QPlainTextEdit, public CView, public CGlazeAnalysisLink {
    Q_OBJECT

public:
    // The size of a new report window.
    static constexpr int kInitialWidth = 620;
    static constexpr int kInitialHeight = 300;

    CGlazeAnalysisView();
    ~CGlazeAnalysisView() override;

    // --- CView ---
    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, const CUpdateHint* hint) override;
    bool OnCommand(unsigned id) override;
    bool OnUpdateCommand(CCmdUI& ui) override;

    // --- CGlazeAnalysisLink ---
    int GetGlazeIndex() const override { return m_nIndex; }

    // Shows glaze index of the document; outside the list no glaze is shown and the text stays.
    void FillReport(int index);
    const CGlaze* ShownGlaze() const { return m_pGlaze; }

    void OnEditGlaze();
    void OnJump();
    void OnPrevious();
    void OnNext();
    void OnOpenGraph();

    // The lines of a print kind (1 summary, 2 recipe, 3 report) of the shown glaze.
    void FillPrinter(CTextPrinter& printer, int kind);
    int printKind = 1;

private:
    CGlazesDoc* GlazesDoc() const;
    void ApplyReportFont();
    void PrintGlaze(unsigned id);
    void CloseQuietly();
    // The shown glaze found again after glazes moved; false when it is gone.
    bool FindGlazeAgain();
    void Refresh();

    int m_nIndex = -1;
    const CGlaze* m_pGlaze = nullptr;
    bool m_bFrozen = false;
    bool m_bClosing = false;
    CLogFont m_reportFont;
};

// The report window's menu bar (resource 14).
void RegisterGlazeAnalysisMenu();
// Gives the report template its windows and menu, and installs the glaze views.
void InstallGlazeAnalysisTemplate(CDocTemplate& docTemplate);
// A new report window on document (null when no window could be made); the caller fills it.
CGlazeAnalysisView* CreateGlazeAnalysisWindow(CGlazesDoc& document);
// Lets the glaze databases and their lists reach the edit and report windows; with a template,
// until that template is destroyed.
void InstallGlazeViews();
void InstallGlazeViews(CDocTemplate& docTemplate);
// Whether a glaze's graph can be opened: charts can be drawn and there is a graph template.
bool CanOpenGlazeGraph();
// A new graph window on document as request says, through the installed glaze views.
void OpenGlazeGraph(CGlazesDoc& document, const CGlazeGraphRequest& request);
