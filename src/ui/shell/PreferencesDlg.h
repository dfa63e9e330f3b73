#pragma once

// "Preferences": eight pages of settings under two rows of page buttons. The dialog edits a copy
// of the preferences and ends with "Save and Use" (2007), "Use" (2006) or Cancel (2); what the
// program does with the result is RunPreferencesDialog's (or TakePreferencesDialogResult's)
// business. Every page control is bound to the preference member of the same meaning; the
// dialog moves the values in when it opens and reads them back when the user confirms.

#include "shell/Preferences.h"
#include "support/DialogStyle.h"

#include <array>
#include <functional>
#include <string>

class CPreferencesPage;
class CToggleButton;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// Modal results of the preference dialogs.
enum PreferencesDialogResult : int {
    PrefResultCancel = 2,
    PrefResultUse = 2006,
    PrefResultSaveAndUse = 2007,
};

// Help contexts of the Preferences dialog.
inline constexpr unsigned kHelpPreferencesDlg = 310;
inline constexpr unsigned kHelpPrefsFieldError = 0x30110;
inline constexpr unsigned kHelpPrefsDateTest = 0x30111;
inline constexpr unsigned kHelpPrefsTimestampTest = 0x30112;
inline constexpr unsigned kHelpPrefsPageNumberTest = 0x30113;

// The text the four font buttons show in their font.
inline constexpr const char* kFontSampleText = "AaBbYyZz...";

class CPreferencesDlg : public CStyledDialog {
    Q_OBJECT

public:
    // The dialog edits a copy of prefs and opens on its remembered page.
    CPreferencesDlg(const CPreferences& prefs, QWidget* parent = nullptr);
    ~CPreferencesDlg() override;

    // The dialog's copy of the settings: filled from the preferences, read back from the
    // controls by "Save and Use" and "Use".
    CPreferences values;

    // Shows page n (1..8) and draws its button down; a number outside 1..8 only hides the
    // page shown. Nothing happens when n is the page shown.
    void ShowPage(int n);
    // The page shown, -1 before the first.
    int CurrentPage() const { return m_currentPage; }

    // Checks the lists of the copy: 0 when all are good, else the number (1..15) of the first
    // bad one. Afterwards the suggestion tolerance lies within 0..100.
    int Validate();
    static std::string ValidationMessage(int n);
    // The page that holds the field of a Validate result.
    static int PageOfField(int n);

    // Moves the copy into the controls, or reads the controls back into it. Reading fails (after
    // a message, with the field's page shown and the field focused) when a number field holds
    // no number.
    void ControlsFromValues();
    bool ValuesFromControls();

    // What the Save and Use and Use buttons do: read back, validate, end with result.
    void OnConfirm(int result);

    // Runs the font dialog on font (a setting of the copy) and, after OK, stores the chosen font
    // with its height in tenths of a point and shows the sample in it on sampleButton.
    void ChooseFontFor(CLogFont& font, QPushButton* sampleButton);
    // The chosen font as a stored font description; fields the font dialog does not set keep
    // those of previous.
    static CLogFont LogFontFromQFont(const QFont& font, const CLogFont& previous);

    // The backup directory text as it stands after the edit lost the focus.
    static std::string CleanBackupDirectory(std::string text);

    // Every control of every page, by control id; null when there is none.
    template <class Control>
    Control* FindControl(int id) const
    {
        return findChild<Control*>(QString::number(id));
    }
    CPreferencesPage* Page(int n) const;
    CToggleButton* PageButton(int n) const;
    QPushButton* SaveAndUseButton() const { return m_saveAndUse; }
    QPushButton* UseButton() const { return m_use; }
    QPushButton* CancelButton() const { return m_cancel; }
    QPushButton* HelpButton() const { return m_help; }

public slots:
    void reject() override;

protected:
    void OnInitDialog() override;

private:
    void CreateButtons();
    void CreatePages();
    void ConnectPageControls();
    void ConnectButton(int id, const std::function<void()>& action);
    void ConnectBrowseButtons();
    void ConnectActionButtons();
    void ShowFontSamples();
    void ShowFontSample(QPushButton* button, const CLogFont& font);

    void BrowseForFiles(int listId, const char* filter, const char* title, bool multiple);
    void BrowseForProgram(int editId, const char* title);
    void BrowseForBackupFolder();
    void OnBackupDirectoryLeft();
    void SetMaterialTypesFromDatabase();
    void SetFormulaColumnDefaults();
    void SetDecimalsDefaults();
    void TestDateFormat(int editId, unsigned helpId);
    void TestPageNumberFormat();
    void EditRecipeSizes();

    std::array<CPreferencesPage*, 8> m_pages{};
    std::array<CToggleButton*, 8> m_pageButtons{};
    int m_currentPage = -1;
    bool m_pagesCreated = false;
    QPushButton* m_saveAndUse = nullptr;
    QPushButton* m_use = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_help = nullptr;
};

// The edited settings of the dialog's copy taken into prefs after "Use" or "Save and Use":
// every setting the dialog edits, with the warning text trimmed, the decimals brought into
// 1..12, the least decimals into -1..decimals, and the colour scheme applied at once.
void TakeEditedPreferences(const CPreferences& edited, CPreferences& prefs);

// The end of a Preferences dialog run on prefs (the program runs it on g_prefs): the page shown
// last is remembered in any case; after "Use" or "Save and Use" the settings are taken, after
// "Save and Use" the stored copy becomes prefs and is written to the preferences file, and then
// every view hears of the change (kind 9, code 31). Returns result.
int TakePreferencesDialogResult(CPreferencesDlg& dialog, int result, CPreferences& prefs);

// The stored copy made equal to working and written to the preferences file. The stored copy
// keeps its own file (path, version and the mark of a file that could not be read), which the
// working copy may know only from an earlier state. 0 when written.
int SaveWorkingPreferences(const CPreferences& working);

// The Preferences command: runs the dialog modally over parent on g_prefs. Returns the result.
int RunPreferencesDialog(QWidget* parent);
