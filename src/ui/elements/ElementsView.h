#pragma once

// The elements window: the working element table drawn as a periodic table, one cell per
// element 1..103 in the colour of its ceramic role, with a large cell and an information area for
// the current element and an "Information" button.
//
// It is the one place where roles are edited directly (Change Role, Revert Role to Default,
// Revert All); it opens the Element Information dialog and the database notes, moves the current
// element with the arrow keys, and prints the element list and element summaries. Changes are
// announced with kind 1 (elements), code 1 and the element number (-1 for all), this view as
// sender; the view repaints itself for its own changes.

#include "elements/ElementRecord.h"
#include "framework/View.h"
#include "shell/AppCommandIds.h"

#include <QWidget>

#include <array>
#include <iosfwd>
#include <string>

class CDocTemplate;
class CElementCellButton;
class CElementInfoArea;
class CElementInfoDlg;
class CElementValueButton;
class CElementsDoc;
class CLabelButton;
class CTextPrinter;
class QPushButton;

// Commands of the elements window (menu texts in the comments).
enum ElementsViewCommand : unsigned {
    CmdElementEditInformation = 32050, // "Edit &Information..."
    CmdElementRevertAll = 32051,       // "Revert &All"
    CmdElementRevertRole = 32052,      // "&Revert Role to Default\tShift+Left"
    CmdElementChangeRole = 32053,      // "&Change Role\tShift+Right"
    CmdElementMoveUp = 32054,          // Up
    CmdElementMoveDown = 32055,        // Down
    CmdElementMoveRight = 32056,       // Right
    CmdElementMoveLeft = 32057,        // Left
    CmdElementDatabaseNotes = 32796,   // "Database &Notes..."
    CmdElementPrintSelected = 32812,   // Print Selected Elements > "&Print..."
    CmdElementPreviewSelected = 32813, // Print Selected Elements > "Print Pre&view..."
    CmdElementWriteSelected = 32814,   // Print Selected Elements > "Write to &File..."
    CmdElementPrintList = 32815,       // Print Element List > "&Print..."
    CmdElementPreviewList = 32816,     // Print Element List > "Print Pre&view..."
    CmdElementWriteList = 32817,       // Print Element List > "Write to &File..."
    CmdElementMerge = 32860,           // merging another elements database: nothing to do
    CmdElementFilePrint = 57607,       // the framework's Print of the present report
    CmdElementHelp = CmdShellHelp,     // "&Help" (F1)
    CmdElementHelpButton = 4200,       // the window's "?" button
    CmdElementContextHelp = 57670,
};

// The elements template's resource id (its menu) and the window's help topics.
inline constexpr unsigned kElementsResourceId = 5;
inline constexpr unsigned kElementsHelpId = 200;
inline constexpr unsigned kElementInfoHelpId = 332;
inline constexpr unsigned kElementNotesHelpId = 322;
inline constexpr unsigned kRevertRolesHelpId = 0x30400;
inline constexpr unsigned kRevertExpansionsHelpId = 0x30401;

class CElementsView : public QWidget, public CView {
    Q_OBJECT

public:
    // The form in dialog units.
    static constexpr int kFormWidth = 352;
    static constexpr int kFormHeight = 250;
    // What the two reports print.
    enum PrintMode : int { PrintSummaries = 1, PrintList = 2 };

    CElementsView();
    ~CElementsView() override;

    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, const CUpdateHint* hint) override;
    bool OnCommand(unsigned id) override;
    bool OnUpdateCommand(CCmdUI& ui) override;
    // Carries out a command as a menu would: only when it is enabled.
    bool RunCommand(unsigned id);
    // The form's size: the window is fitted to it.
    QSize sizeHint() const override { return minimumSize(); }

    // Makes newZ the current element: cell oldZ is drawn raised, cell newZ sunken, and the
    // large cell and the information area show newZ. Numbers outside 1..103 are not drawn.
    void SelectElement(int oldZ, int newZ);

    // The element the arrow key of the move command leads to from z (z itself when none).
    static int MoveTarget(int z, unsigned command);
    // Where the cell of element z stands, in dialog units (an empty rectangle outside 1..103).
    static QRect CellRectDlu(int z);

    // The parts of the window.
    CElementCellButton* Cell(int z) const;
    CElementValueButton* LargeCell() const { return m_largeCell; }
    CElementInfoArea* InfoArea() const { return m_infoArea; }
    CLabelButton* InformationButton() const { return m_infoButton; }

    // The Element Information dialog filled for element z from the working record and its
    // defaults, and what OK stores from it (the document is marked modified; nothing announced).
    void FillInfoDialog(CElementInfoDlg& dialog, int z) const;
    void StoreInfoDialog(const CElementInfoDlg& dialog, int z);

    // The report of the present print mode, and a text printer set up for it.
    void WriteReport(std::ostream& out) const;
    void FillPrinter(CTextPrinter& printer) const;

    int m_selZ = 1;                               // the current element
    int m_printMode = PrintList;                  // PrintSummaries or PrintList
    std::array<int, kElementCount> m_printSelect{}; // summaries to print, by element number

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    CElementsDoc* ElementsDoc() const;
    void CreateParts();
    void OnCellClicked(int z);
    void OnCellDoubleClicked(int z);
    void RepaintAll();
    void SetCaption(const std::string& caption);
    void BringForward();
    void BroadcastElement(int index);
    void OnChangeRole();
    void OnRevertRole();
    void OnRevertAll();
    void OnEditInformation();
    void OnDatabaseNotes();
    void OnMove(unsigned command);
    bool ChooseElementsToPrint();
    void RunPrint(unsigned id);
    bool CanRevertRole() const;

    std::array<CElementCellButton*, kElementCount> m_cells{};
    CElementValueButton* m_largeCell = nullptr;
    CElementInfoArea* m_infoArea = nullptr;
    CLabelButton* m_infoButton = nullptr;
    QPushButton* m_helpButton = nullptr;
};

// The elements window's menu bar (resource 5).
void RegisterElementsMenu();
// Gives the elements template its window (a CElementsView) and registers its menu.
void InstallElementsTemplate(CDocTemplate& docTemplate);
