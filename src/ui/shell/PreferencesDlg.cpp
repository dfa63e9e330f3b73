#include "shell/PreferencesDlg.h"

#include "framework/Cp1252.h"
#include "framework/FileDialogService.h"
#include "framework/MessageService.h"
#include "framework/UpdateHint.h"
#include "materials/MaterialsDoc.h"
#include "shell/OxidariumApp.h"
#include "shell/PreferencesPage.h"
#include "shell/RecipeSizeDlg.h"
#include "support/CompareNoCase.h"
#include "support/DbFileType.h"
#include "support/PrintSurface.h"
#include "support/TextHelpers.h"
#include "support/TextPrinter.h"
#include "support/ToggleButton.h"
#include "support/UiHelpers.h"

#include <QFontDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>

#include <algorithm>

namespace {

constexpr const char* kPageCaptions[kPreferencesPageCount] = {
    "Files", "Materials", "Glaze Descriptions", "Glaze Report",
    "Utilities and Printing", "List Views", "Miscellaneous 1", "Miscellaneous 2",
};
constexpr int kFirstPageButtonId = 2590;

constexpr const char* kGlazeFilesFilter = "Database Files (*.glz)|*.glz|All Files (*.*)|*.*||";
constexpr const char* kTextFilesFilter = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||";
constexpr const char* kExpertFilter = "Expert Files (*.exp)|*.exp|All Files (*.*)|*.*||";
constexpr const char* kProgramFilter = "Executable Files (*.exe)|*.exe|All Files (*.*)|*.*||";

// Page area and command buttons, in dialog units.
constexpr int kPageLeft = 7;
constexpr int kPageTop = 39;
constexpr int kButtonRow = 248;

// Appends lines at the end of a list edit: on a line of their own, each ending its line.
void AppendLines(QPlainTextEdit& edit, const std::vector<std::string>& lines)
{
    QTextCursor cursor = edit.textCursor();
    cursor.movePosition(QTextCursor::End);
    if (!edit.toPlainText().section(QLatin1Char('\n'), -1).isEmpty())
        cursor.insertText(QStringLiteral("\n"));
    for (const std::string& line : lines)
        cursor.insertText(FromCp1252(line) + QLatin1Char('\n'));
    edit.setTextCursor(cursor);
}

} // namespace

CPreferencesDlg::CPreferencesDlg(const CPreferences& prefs, QWidget* parent)
    : CStyledDialog(parent, kHelpPreferencesDlg), values(prefs)
{
    backgroundColor = GetNamedColor("dlg_pref_bkg");
    setWindowTitle(QStringLiteral("Preferences"));
    ResizeDlu(357, 269);
    CreateButtons();
    setFixedSize(size());
}

CPreferencesDlg::~CPreferencesDlg() = default;

void CPreferencesDlg::CreateButtons()
{
    for (int i = 0; i < kPreferencesPageCount; ++i) {
        auto* button = new CToggleButton(this);
        SetControlId(button, kFirstPageButtonId + i);
        button->setText(QString::fromLatin1(kPageCaptions[i]));
        PlaceDlu(button, 7 + (i % 4) * 86, 5 + (i / 4) * 16, 82, 14);
        connect(button, &QAbstractButton::clicked, this, [this, i] { ShowPage(i + 1); });
        m_pageButtons[static_cast<std::size_t>(i)] = button;
    }
    m_saveAndUse = AddButton(QStringLiteral("Save and Use"), PrefResultSaveAndUse, 7, kButtonRow, 60, 14);
    m_use = AddButton(QStringLiteral("Use"), PrefResultUse, 73, kButtonRow, 50, 14);
    m_cancel = AddButton(QStringLiteral("Cancel"), PrefResultCancel, 246, kButtonRow, 50, 14);
    m_help = AddHelpButton(330, kButtonRow, 20, 14);
    connect(m_saveAndUse, &QPushButton::clicked, this, [this] { OnConfirm(PrefResultSaveAndUse); });
    connect(m_use, &QPushButton::clicked, this, [this] { OnConfirm(PrefResultUse); });
    connect(m_cancel, &QPushButton::clicked, this, &CPreferencesDlg::reject);
}

void CPreferencesDlg::CreatePages()
{
    if (m_pagesCreated)
        return;
    m_pagesCreated = true;
    m_pages = {new CPrefFilesPage(this), new CPrefMaterialsPage(this), new CPrefGlazeDescPage(this),
               new CPrefGlazeReportPage(this), new CPrefUtilitiesPage(this), new CPrefListViewsPage(this),
               new CPrefMisc1Page(this), new CPrefMisc2Page(this)};
    const CDialogUnits units(font());
    for (CPreferencesPage* page : m_pages) {
        page->move(units.X(kPageLeft), units.Y(kPageTop));
        page->hide();
    }
    ConnectPageControls();
}

void CPreferencesDlg::OnInitDialog()
{
    CreatePages();
    ControlsFromValues();
    for (int i = 0; i < kPreferencesPageCount; ++i) {
        CToggleButton* button = m_pageButtons[static_cast<std::size_t>(i)];
        button->Setup(GetNamedColor("dlg_pref_bkg"), GetNamedColor("dlg_pref_tab"), CColor{0, 0, 0},
                      CColor{0, 0, 0}, CToggleButton::ArrowNone, 1, 0, kPageCaptions[i]);
    }
    const int remembered = values.m_nPrefsPage;
    ShowPage(remembered >= 1 && remembered <= kPreferencesPageCount ? remembered : PrefPageFiles);
}

CPreferencesPage* CPreferencesDlg::Page(int n) const
{
    return n >= 1 && n <= kPreferencesPageCount ? m_pages[static_cast<std::size_t>(n - 1)] : nullptr;
}

CToggleButton* CPreferencesDlg::PageButton(int n) const
{
    return n >= 1 && n <= kPreferencesPageCount ? m_pageButtons[static_cast<std::size_t>(n - 1)] : nullptr;
}

void CPreferencesDlg::ShowPage(int n)
{
    InitDialog();
    if (n == m_currentPage)
        return;
    if (CPreferencesPage* current = Page(m_currentPage)) {
        current->hide();
        PageButton(m_currentPage)->state = 0;
        PageButton(m_currentPage)->Redraw();
    }
    CPreferencesPage* next = Page(n);
    if (next == nullptr) {
        m_currentPage = -1;
        return;
    }
    next->show();
    PageButton(n)->state = 1;
    PageButton(n)->Redraw();
    m_currentPage = n;
}

void CPreferencesDlg::OnConfirm(int result)
{
    if (!ValuesFromControls())
        return;
    const int bad = Validate();
    if (bad != 0) {
        ShowPage(PageOfField(bad));
        AppMessageBox(ValidationMessage(bad), MsgOk | MsgIconError, kHelpPrefsFieldError);
        return;
    }
    done(result);
}

// Escape and the window's close box answer as the Cancel button does.
void CPreferencesDlg::reject()
{
    done(PrefResultCancel);
}

// --- the page controls' actions ---------------------------------------------------------------

void CPreferencesDlg::ConnectPageControls()
{
    ConnectBrowseButtons();
    ConnectActionButtons();
    if (auto* backupDirectory = FindControl<QLineEdit>(IdcBackDir))
        connect(backupDirectory, &QLineEdit::editingFinished, this, &CPreferencesDlg::OnBackupDirectoryLeft);
}

void CPreferencesDlg::ConnectButton(int id, const std::function<void()>& action)
{
    if (auto* button = FindControl<QPushButton>(id))
        connect(button, &QPushButton::clicked, this, action);
}

void CPreferencesDlg::ConnectBrowseButtons()
{
    ConnectButton(IdcBrowseGlzFile, [this] {
        BrowseForFiles(IdcGlzFile, kGlazeFilesFilter, "Database files to load automatically...", true);
    });
    ConnectButton(IdcBrowseTxtFile, [this] {
        BrowseForFiles(IdcTxtFile, kTextFilesFilter, "Text files to load automatically...", true);
    });
    ConnectButton(IdcBrowseExpert, [this] { BrowseForFiles(IdcExpert, kExpertFilter, "Glaze Expert File", false); });
    ConnectButton(IdcBrowseTextEd, [this] { BrowseForProgram(IdcTextEd, "Text Editor"); });
    ConnectButton(IdcBrowseImgView, [this] { BrowseForProgram(IdcImgView, "Image File Viewer"); });
    ConnectButton(IdcBrowseBackDir, [this] { BrowseForBackupFolder(); });
}

void CPreferencesDlg::ConnectActionButtons()
{
    ConnectButton(IdcSetMatTyp, [this] { SetMaterialTypesFromDatabase(); });
    ConnectButton(IdcFormEdDefaults, [this] { SetFormulaColumnDefaults(); });
    ConnectButton(IdcDecimalsDefaults, [this] { SetDecimalsDefaults(); });
    ConnectButton(IdcTestDateFmt, [this] { TestDateFormat(IdcDateFmt, kHelpPrefsDateTest); });
    ConnectButton(IdcTestTimeSt, [this] { TestDateFormat(IdcPrtTimeSt, kHelpPrefsTimestampTest); });
    ConnectButton(IdcTestPgNum, [this] { TestPageNumberFormat(); });
    ConnectButton(IdcRecipeSizes, [this] { EditRecipeSizes(); });
    ConnectButton(IdcEdBoxFont, [this] { ChooseFontFor(values.edboxfont, FindControl<QPushButton>(IdcEdBoxFont)); });
    ConnectButton(IdcTextVFont, [this] { ChooseFontFor(values.textvfont, FindControl<QPushButton>(IdcTextVFont)); });
    ConnectButton(IdcGlzRepFont, [this] { ChooseFontFor(values.glzrepfont, FindControl<QPushButton>(IdcGlzRepFont)); });
    ConnectButton(IdcPrtFont, [this] { ChooseFontFor(values.prtfont, FindControl<QPushButton>(IdcPrtFont)); });
}

void CPreferencesDlg::BrowseForFiles(int listId, const char* filter, const char* title, bool multiple)
{
    CFileDialogRequest request;
    request.mode = multiple ? CFileDialogRequest::Mode::OpenMultiple : CFileDialogRequest::Mode::Open;
    request.title = title;
    request.filter = filter;
    request.flags = FileDlgFileMustExist | FileDlgHideReadOnly;
    const CFileDialogResult answer = AskForFiles(request);
    auto* edit = FindControl<QPlainTextEdit>(listId);
    if (answer.outcome != CFileDialogResult::Outcome::Ok || answer.paths.empty() || edit == nullptr)
        return;
    if (multiple)
        AppendLines(*edit, answer.paths);
    else
        AppendLines(*edit, {answer.paths.front()});
}

void CPreferencesDlg::BrowseForProgram(int editId, const char* title)
{
    CFileDialogRequest request;
    request.title = title;
    request.filter = kProgramFilter;
    request.flags = FileDlgFileMustExist | FileDlgHideReadOnly;
    const CFileDialogResult answer = AskForFiles(request);
    if (answer.outcome == CFileDialogResult::Outcome::Ok && !answer.paths.empty())
        FindControl<QLineEdit>(editId)->setText(FromCp1252(answer.paths.front()));
}

void CPreferencesDlg::BrowseForBackupFolder()
{
    std::string folder = BrowseForFolder(this, "Select a folder for backup files");
    if (folder.empty())
        return;
    if (folder.size() == 2 && folder[1] == ':')
        folder += '\\';
    FindControl<QLineEdit>(IdcBackDir)->setText(FromCp1252(folder));
}

std::string CPreferencesDlg::CleanBackupDirectory(std::string text)
{
    if (text.empty())
        return text;
    while (text.size() > 3 && (text.back() == '\\' || text.back() == '/'))
        text.pop_back();
    if (text.size() == 2 && text[1] == ':')
        return text + '\\';
    // "/" and "/x" are folders of this system; other short texts name none.
    if (text.size() < 3 && text.front() != '/')
        text.clear();
    return text;
}

void CPreferencesDlg::OnBackupDirectoryLeft()
{
    auto* edit = FindControl<QLineEdit>(IdcBackDir);
    const std::string text = ToCp1252(edit->text());
    const std::string cleaned = CleanBackupDirectory(text);
    if (cleaned != text)
        edit->setText(FromCp1252(cleaned));
}

void CPreferencesDlg::SetMaterialTypesFromDatabase()
{
    if (g_pMaterialsDoc == nullptr)
        return;
    CStringArrayEx types;
    const CMaterialArray& materials = g_pMaterialsDoc->Materials();
    for (int i = 0; i < materials.GetCount(); ++i) {
        const std::string& type = materials.GetAt(i)->m_type;
        const auto known = [&type](const std::string& seen) { return EqualsNoCase(seen, type); };
        if (!type.empty() && std::none_of(types.begin(), types.end(), known))
            types.push_back(type);
    }
    QStringList lines;
    for (const std::string& type : types)
        lines.push_back(FromCp1252(type));
    FindControl<QPlainTextEdit>(IdcMatTyp)->setPlainText(lines.join(QLatin1Char('\n')));
}

void CPreferencesDlg::SetFormulaColumnDefaults()
{
    const CPreferences defaults;
    const std::string* columns[] = {&defaults.formedcol1, &defaults.formedcol2, &defaults.formedcol3,
                                    &defaults.formedcol4};
    for (int i = 0; i < 4; ++i)
        FindControl<QLineEdit>(IdcFormEdCol1 + i)->setText(FromCp1252(*columns[i]));
}

void CPreferencesDlg::TestDateFormat(int editId, unsigned helpId)
{
    const std::string pattern = ToCp1252(FindControl<QLineEdit>(editId)->text());
    if (pattern.empty())
        return;
    std::string now;
    AppMessageBox(GetTodayString(now, pattern), MsgOk | MsgIconInformation, helpId);
}

void CPreferencesDlg::TestPageNumberFormat()
{
    const std::string pattern = ToCp1252(FindControl<QLineEdit>(IdcPrtPgNum)->text());
    if (pattern.empty())
        return;
    AppMessageBox(FormatPageNumber(pattern, 1), MsgOk | MsgIconInformation, kHelpPrefsPageNumberTest);
}

void CPreferencesDlg::EditRecipeSizes()
{
    CRecipeSizePrefsDlg dialog(this);
    dialog.okForm = true;
    dialog.choice = values.prtrecsize;
    dialog.sizes = values.prtrecsizelist;
    const int result = dialog.exec();
    if (result != PrefResultSaveAndUse && result != PrefResultUse)
        return;
    values.prtrecsize = dialog.choice;
    values.prtrecsizelist = dialog.sizes;
    TrimString(values.prtrecsizelist);
}

// --- fonts --------------------------------------------------------------------------------------

void CPreferencesDlg::ShowFontSample(QPushButton* button, const CLogFont& font)
{
    if (button == nullptr)
        return;
    button->setFont(QFontFromLogFont(font));
    button->setText(QString::fromLatin1(kFontSampleText));
}

void CPreferencesDlg::ShowFontSamples()
{
    ShowFontSample(FindControl<QPushButton>(IdcEdBoxFont), values.edboxfont);
    ShowFontSample(FindControl<QPushButton>(IdcTextVFont), values.textvfont);
    ShowFontSample(FindControl<QPushButton>(IdcGlzRepFont), values.glzrepfont);
    ShowFontSample(FindControl<QPushButton>(IdcPrtFont), values.prtfont);
}

void CPreferencesDlg::ChooseFontFor(CLogFont& font, QPushButton* sampleButton)
{
    QFontDialog dialog(QFontFromLogFont(font), this);
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    dialog.setWindowTitle(QStringLiteral("Font"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    font = LogFontFromQFont(dialog.selectedFont(), font);
    ShowFontSample(sampleButton, font);
}

// --- the run and its result -------------------------------------------------------------------

int SaveWorkingPreferences(const CPreferences& working)
{
    const std::string path = g_savedPrefs.m_strFilePath;
    const int version = g_savedPrefs.m_nVersion;
    const std::string errorText = g_savedPrefs.m_strErrorText;
    const std::string unreadPath = g_savedPrefs.m_strUnreadFilePath;
    g_savedPrefs = working;
    g_savedPrefs.m_strFilePath = path;
    g_savedPrefs.m_nVersion = version;
    g_savedPrefs.m_strErrorText = errorText;
    g_savedPrefs.m_strUnreadFilePath = unreadPath;
    return g_savedPrefs.Save();
}

int TakePreferencesDialogResult(CPreferencesDlg& dialog, int result, CPreferences& prefs)
{
    if (dialog.CurrentPage() >= 1)
        prefs.m_nPrefsPage = dialog.CurrentPage();
    if (result != PrefResultUse && result != PrefResultSaveAndUse)
        return result;
    TakeEditedPreferences(dialog.values, prefs);
    if (result == PrefResultSaveAndUse)
        SaveWorkingPreferences(prefs);
    COxidariumApp::BroadcastUpdate(nullptr, nullptr, static_cast<int>(DbFileType::Preferences),
                                   HintPreferencesChanged, 0, 0);
    return result;
}

int RunPreferencesDialog(QWidget* parent)
{
    CPreferencesDlg dialog(g_prefs, parent);
    const int result = dialog.exec();
    return TakePreferencesDialogResult(dialog, result, g_prefs);
}
