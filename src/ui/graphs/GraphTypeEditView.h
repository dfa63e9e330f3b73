#pragma once

// The graph-template editor: a form that edits one template of the graph-template database at a
// time, on a working copy, over six pages (Type/Titles, Styles, Axes, Data, Data Sources,
// Graph) with a live preview of the unsaved state on the Graph page. Save Changes, or Yes to the
// save question, writes the copy back and announces it (kind 6, code 18). The form steps through
// the database (Previous, Next, Jump to, Insert new, Append new) or, in limited access, through
// the templates chosen in the list; it copies and pastes templates through the graph-template
// clipboard and prints or writes its chart and the summary of the template as it stands.
//
// It is a record edit form (records/RecordEditView.h): the record, its save question, the
// navigation, limited access, Save as New and the button row are the base's.
// InstallGraphTypeEditTemplate gives the edit template (resource 16) its menu bar.

#include "framework/CoalescedCall.h"
#include "framework/MenuDef.h"
#include "graphs/GraphOutput.h"
#include "graphs/GraphDataSource.h"
#include "graphs/GraphTemplate.h"
#include "graphs/GraphTemplatePage.h"
#include "graphs/GraphTypesDoc.h"
#include "records/RecordEditView.h"

#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

class CDocTemplate;
class CGlaze;
class CGlazesDoc;
class CGraphPreview;
class CGraphTemplateDatabase;
class CTextPrinter;
class CToggleButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// Commands of the editor window (menu texts in the comments).
enum GraphTypeEditCommand : unsigned {
    CmdGrtEditCut = 33201,             // "Cu&t"
    CmdGrtEditCopy = 33202,            // "&Copy"
    CmdGrtEditPaste = 33203,           // "&Paste"
    CmdGrtEditInsertNew = 33204,       // "&Insert new"
    CmdGrtEditAppendNew = 33205,       // "&Append new"
    CmdGrtEditPrevious = 33206,        // "&Previous Graph Template"
    CmdGrtEditNext = 33207,            // "&Next Graph Template"
    CmdGrtEditJumpTo = 33208,          // "&Jump to..."
    CmdGrtEditLimitedAccess = 33209,   // "&Limited Access"
    CmdGrtEditCloseView = 33210,       // "&Close View"
    CmdGrtEditColors = 33300,          // "Material and Oxide &Colors..."
    CmdGrtEditPrintGraph = 33305,      // "&Print..." (Print Graph)
    CmdGrtEditPreviewGraph = 33306,    // "Print Pre&view..."
    CmdGrtEditWriteGraph = 33307,      // "Write to &File..."
    CmdGrtEditOpenGraph = 33308,       // "Open &Graph"
    CmdGrtEditSaveAsNew = 33325,       // "Save as &New"
    CmdGrtEditPrintSummary = 33328,    // "&Print..." (Print Graph Template)
    CmdGrtEditPreviewSummary = 33329,  // "Print Pre&view..."
    CmdGrtEditWriteSummary = 33330,    // "Write to &File..."
    CmdGrtEditCopyGraph = 33335,       // "Copy Graph to &Clipboard"
    CmdGrtEditWriteGraphFile = 33336,  // "Write Graph to &File"
    CmdGrtEditHelp = 32000,
    CmdGrtEditContextHelp = 57670,
};

// Form messages: the pages' Ctrl+B, Ctrl+N and Ctrl+S, and the arrow keys of the Graph page.
enum GraphTypeEditMessage : int {
    kMsgPreviousPage = 1124,
    kMsgNextPage = 1125,
    kMsgSaveAndNext = 1126,
    kMsgPreviousGlaze = 1134,
    kMsgNextGlaze = 1135,
    kMsgPreviousType = 1136,
    kMsgNextType = 1137,
    kMsgPreviousLimit = 1138,
    kMsgNextLimit = 1139,
    kMsgPreviousTemplate = 1140,
    kMsgNextTemplate = 1141,
    kMsgPreviousDatabase = 1142,
    kMsgNextDatabase = 1143,
};

// The edit template's resource id (its menu), help topics and the preview's pop-up menu.
inline constexpr unsigned kGraphTypeEditResourceId = 16;
inline constexpr unsigned kGraphTypeEditHelpId = 271;
inline constexpr unsigned kGraphSaveQuestionHelpId = 196928;
inline constexpr unsigned kGraphPageErrorHelpId = 200961;
inline constexpr unsigned kGraphPreviewPopupMenuId = 304;

// The template Insert new makes: "new graph template" with one data source, "[current glaze]".
CGraphTemplate NewGraphTemplate();

// The message of key presses in the editor (0 for a key it does not translate): Ctrl+B, Ctrl+N,
// Ctrl+S always; the arrow keys with Ctrl, Shift or both on the Graph page.
int TranslateEditorKey(int key, Qt::KeyboardModifiers modifiers, bool graphPage);

class CGraphTypeEditView : public CRecordEditView {
    Q_OBJECT

public:
    CGraphTypeEditView();
    ~CGraphTypeEditView() override;

    // --- CView ---
    void OnInitialUpdate() override;

    // Shows graphTemplate on the form as the working copy (the stored template is untouched).
    void LoadTemplateIntoControls(const CGraphTemplate& graphTemplate);
    // Reads every control into graphTemplate; its data sources become copies of the working ones.
    void StoreControlsIntoTemplate(CGraphTemplate& graphTemplate);
    // Save Changes: stores the form and shows it as stored, on the same data source and text group.
    bool SaveChanges() override;
    // Marks the form changed and the preview stale (every page edit does).
    void MarkModified();

    void ShowPage(int page);
    int CurrentPage() const { return m_currentPage; }

    // --- state, for the menu and for tests ---
    const CGraphTemplate* StoredTemplate() const { return static_cast<const CGraphTemplate*>(CurrentIdentity()); }
    const CGraphTemplate& WorkingTemplate() const { return m_template; }
    const CGraphDataSourceArray& WorkingDataSources() const { return m_dataSources; }
    int CurrentDataSource() const { return m_currentDataSource; }
    bool IsPreviewStale() const { return m_bPreviewStale; }
    int PrintMode() const { return m_printMode; }

    // --- controls ---
    QWidget* Control(int id) const;
    template <class T>
    T* Ctl(int id) const
    {
        return qobject_cast<T*>(Control(id));
    }
    CToggleButton* TabButton(int page) const;
    CGraphTemplatePage* PageWidget(int page) const;
    QWidget* PreviewArea() const;

    // --- commands (GraphTypeEditViewCommands.cpp) ---
    void Copy() override;
    void Paste() override;
    void EditNotes();
    void EditColors();
    void OpenGraph();

    // --- the data-sources page (GraphTypeEditViewDataSources.cpp) ---
    void SelectDataSource(int index);
    void AddDataSource();
    void DeleteDataSource();
    void MoveDataSource(int direction);
    void SetDataSourceName();
    void StoreCurrentDataSource();
    void DataSourceChanged();
    void ChooseDatabaseRadio(int value);
    void ChooseDatabaseRow(int row);
    void ChooseGlazeRadio(int value);
    void CheckAllGlazes(bool check);
    void CheckSelectedGlazes();
    void ChooseDsColorSet(int set);
    void ChooseDsColor(int color);
    void ChooseDsSymbol(int symbol);
    void ChooseDsPattern(int pattern);
    void SetDsUsePattern(bool on);
    // Refills the page's database list and glaze list and the Graph page's combos.
    void RefreshGlazeLists();

    // --- keys and form messages (GraphTypeEditViewKeys.cpp) ---
    void OnFormMessage(int message);

    // --- output (GraphTypeEditViewOutput.cpp) ---
    void InvalidatePreview();
    void RedrawPreview();
    void PrintOutput(unsigned id);
    void CopyGraph();
    // The summary of the template as the form shows it.
    void FillPrinter(CTextPrinter& printer) override;
    // Opens the preview chart's pop-up menu at a global position.
    void ShowPreviewMenu(const QPoint& globalPosition);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

    // --- CRecordEditView ---
    void ShowRecordAt(int index) override;
    void WriteRecord(int index) override;
    void AfterRecordMoved() override;
    QLineEdit* NameField() const override;
    // The name and the short name of the form's graph type.
    std::string CaptionFor(const std::string& name) const override;
    void OnOtherNotice(const CUpdateHint& hint) override;
    bool UpdateKindCommand(CCmdUI& ui) override;
    bool RunKindCommand(unsigned id) override;

private:
    CGraphTypesDoc* GraphTypesDoc() const;

    // GraphTypeEditView.cpp: the form.
    void BuildForm();
    void BuildPages();
    void ConnectForm();
    void UpdateCaption();
    void ApplyNotesFont();

    // GraphTypeEditViewBinding.cpp: loading and storing the fields, enabled states.
    void ConnectPages();
    void ConnectStylePage();
    void ConnectDataPages();
    void FillFixedLists();
    void FillLimitFormulaCombo();
    void LoadFields(const CGraphTemplate& graphTemplate);
    void StoreFields(CGraphTemplate& graphTemplate);
    // False, after the field's message, when a count or size lies outside its range or a field
    // holds no number ("12abc", "0,5"). Fields the graph type disables are not checked.
    bool CheckFieldRanges();
    bool IsFieldEnabled(int id) const;
    void ShowRangeMessage(int id, int min, int max);
    // The page that holds control id.
    void ShowFieldPage(int id);
    bool CanSaveForm() override { return CheckFieldRanges(); }
    void LoadOxideSelections(const CGraphTemplate& graphTemplate);
    void StoreOxideSelections(CGraphTemplate& graphTemplate);
    void ShowTextGroup(int group);
    void StoreTextStyle();
    void UpdateControlStates();
    void UpdateStateCaptions(int type);
    void OnTypeChosen();
    void OnTitleEdited(int radioGroupId);
    // A title box got the focus; false when watched is no title box.
    bool HandleTitleFocus(QObject* watched);
    void BrowseImage();
    void EnableWithBuddy(int id, bool enable);

    // Field helpers.
    bool Checked(int id) const;
    void SetChecked(int id, bool checked);
    int RadioValue(int groupId) const;
    void SetRadioValue(int groupId, int value);
    std::string Text(int id) const;
    void SetText(int id, const std::string& text);
    int IntField(int id) const;
    void SetIntField(int id, int value);
    double DoubleField(int id) const;
    void SetDoubleField(int id, double value);

    // GraphTypeEditViewDataSources.cpp
    void FillDataSourceList();
    void LoadDataSourceControls();
    void ReadDataSourceControls(CGraphDataSource& source) const;
    void FillDatabaseList(const std::string& selectName);
    void FillGlazeCheckList(const CStringArrayEx& checkedNames);
    void ShowDsPickers();
    CGlazesDoc* SelectedListDatabase() const;

    // GraphTypeEditViewKeys.cpp
    void StepPage(int direction);
    void FocusPageControl(int page);
    void StepGlaze(int direction);
    void StepDatabase(int direction, bool lastGlaze);
    void StepType(int direction);
    void StepLimitFormula(int direction);
    void FillGraphDatabaseCombo();
    void FillGraphGlazeCombo(int select);

    // The form's state.
    CGraphTemplate m_template;
    CGraphDataSourceArray m_dataSources;
    int m_currentDataSource = -1;
    CGraphDataSource m_dataSource;
    std::array<int, 18> m_textStyles{};
    int m_currentTextGroup = -1;
    int m_currentPage = 0;
    bool m_bDataSourceModified = false;
    bool m_bPreviewStale = true;
    bool m_bFrozen = false;
    int m_printMode = 0;
    std::unique_ptr<CGraphPreview> m_preview;

    std::array<CGraphTemplatePage*, kGraphEditPageCount> m_pages{};
    std::array<CToggleButton*, kGraphEditPageCount> m_tabs{};
    std::map<int, QWidget*> m_controls;
    std::map<int, QLabel*> m_buddies;
    std::map<int, QButtonGroup*> m_radioGroups;
    // The glaze lists hold every glaze of a database: a burst of glaze notices refills them once.
    CCoalescedCall m_refreshGlazeLists{this, [this] {
                                           RefreshGlazeLists();
                                           InvalidatePreview();
                                       }};
};

// Opens a new editor window on the document (not yet loaded with a template); null when no
// window can be made.
CGraphTypeEditView* OpenGraphTypeEditView(CGraphTypesDoc& document);

// The editor window's menu bar (resource 16) and the preview's pop-up menu (304).
void RegisterGraphTypeEditMenu();
CMenuDef GraphPreviewPopupMenu();
// The status-bar prompt of an editor command, or null for another command.
const char* GraphTypeEditCommandPrompt(unsigned id);
// Gives the edit template its window and registers its menu.
void InstallGraphTypeEditTemplate(CDocTemplate& docTemplate);
