#pragma once

// The eight pages of the Preferences dialog. A page is a child window of the dialog with a
// background of its own ("dlg_pref_tab") and its controls, each known by its control id (the
// control's object name). A page holds no data: the Preferences dialog finds the controls by id,
// moves the settings in and out of them and handles every button and notification.

#include "shell/NamedColors.h"

#include <QString>
#include <QWidget>

#include <initializer_list>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// Page numbers, in the order of the page buttons.
enum PreferencesPageNumber : int {
    PrefPageFiles = 1,
    PrefPageMaterials = 2,
    PrefPageGlazeDescriptions = 3,
    PrefPageGlazeReport = 4,
    PrefPageUtilities = 5,
    PrefPageListViews = 6,
    PrefPageMisc1 = 7,
    PrefPageMisc2 = 8,
};
inline constexpr int kPreferencesPageCount = 8;

// Control ids of the pages, named after the setting they edit or the action they start.
enum PreferencesControlId : int {
    // 1 Files
    IdcGlzFile = 2472, IdcBrowseGlzFile = 2473, IdcTxtFile = 2474, IdcBrowseTxtFile = 2475,
    IdcBackupNone = 2460, IdcBackupBak = 2457, IdcBackupCopy = 2458, IdcBackupCascade = 2459,
    IdcBackDir = 2466, IdcBrowseBackDir = 2467, IdcExpert = 2470, IdcBrowseExpert = 2471,
    // 2 Materials
    IdcMatTyp = 2506, IdcSetMatTyp = 2526,
    IdcRmndMolecular = 5340, IdcRmndWeight = 5341, IdcRmndPctMolecular = 5342, IdcRmndPctWeight = 5343,
    IdcSugUnav = 2451, IdcSugMulti = 2452, IdcSugExtend = 2453, IdcSugOrd = 2450, IdcSugTol = 2454,
    IdcSugTolMolecular = 2455, IdcSugTolWeight = 2456,
    IdcHazLow = 2504, IdcHazMedium = 2505, IdcHazHigh = 2503, IdcHazWarn = 2502,
    IdcUnavLow = 2508, IdcUnavHigh = 2511,
    // 3 Glaze Descriptions
    IdcGlzRng = 2495, IdcGlzTyp = 2497, IdcGlzFTyp = 2493, IdcGlzQual = 2494, IdcGlzCol = 2489,
    IdcGlzXpar = 2499, IdcGlzVTex = 2498, IdcGlzXtal = 2500, IdcGlzBub = 2488, IdcGlzFlow = 2492,
    IdcGlzFlaw = 2491, IdcGlzDur = 2490, IdcGlzTest = 2496,
    // 4 Glaze Report
    IdcAnDes = 2444, IdcAnRec = 2447, IdcAnCostSum = 2443, IdcAnVar = 2449, IdcAnNotes = 2446,
    IdcAnHazNotes = 2445, IdcAnChem = 2432, IdcAnChUnity = 2438, IdcAnChWtPct = 2436,
    IdcAnChMolPct = 2437, IdcAnChExpan = 2433, IdcAnChVisco = 2439, IdcAnChVolat = 2440,
    IdcAnChEln = 2431, IdcAnChMatn = 2435, IdcAnChLimForm = 2441, IdcAnChExpert = 2434,
    IdcAnCost = 2442, IdcAnFfs = 2448,
    // 5 Utilities and Printing
    IdcTextEd = 2480, IdcBrowseTextEd = 2481, IdcImgView = 2482, IdcBrowseImgView = 2483,
    IdcPrtTMar = 2523, IdcPrtBMar = 2519, IdcPrtLMar = 2521, IdcPrtRMar = 2522, IdcPrtFont = 2520,
    IdcPrtUseFfs = 2524, IdcPrtTimeSt = 2517, IdcTestTimeSt = 2518, IdcPrtPgNum = 2515,
    IdcTestPgNum = 2516, IdcRecipeSizes = 2525,
    // 6 List Views
    IdcMatShort = 2509, IdcMatExt1 = 2510, IdcMatExt2 = 2512, IdcMatExt3 = 2513, IdcMatTab = 2514,
    IdcGlzShort = 2484, IdcGlzExt1 = 2485, IdcGlzExt2 = 2486, IdcGlzExt3 = 2487, IdcGlzTab = 2501,
    // 7 Miscellaneous 1
    IdcFormEdCol1 = 2545, IdcFormEdCol2 = 2546, IdcFormEdCol3 = 2547, IdcFormEdCol4 = 2548,
    IdcFormEdDefaults = 2544, IdcFormEdBrkCmplx = 2549,
    IdcDecFirst = 2527,      // 2527..2534: decimals, recipe amount to limit formulas
    IdcTzsFirst = 2535,      // 2535..2542: least decimals of the same rows
    IdcDecimalsDefaults = 2543,
    // 8 Miscellaneous 2
    IdcDateFmt = 2463, IdcTestDateFmt = 2464, IdcAnChAdd = 2430, IdcEmptyDesc = 2465,
    IdcColMonochrome = 2461, IdcColMulticolor = 2462,
    IdcEdBoxFont = 2552, IdcTextVFont = 2550, IdcGlzRepFont = 2551,
};
inline constexpr int kDecimalsRowCount = 8;

// Size of the page area in dialog units.
inline constexpr int kPreferencesPageWidth = 343;
inline constexpr int kPreferencesPageHeight = 200;

class CPreferencesPage : public QWidget {
public:
    // One radio button of a group: its control id, caption, left edge and width in dialog
    // units (the group's buttons share one row).
    struct Radio {
        int id;
        const char* text;
        int x;
        int width;
    };

    CPreferencesPage(QWidget* parent, int pageNumber);

    int number;
    CColor backgroundColor;

    // The radio group whose first button has this control id; null when there is none.
    QButtonGroup* RadioGroup(int firstId) const;

protected:
    // Control builders; positions and sizes are in dialog units of the page's font.
    QLabel* AddLabel(const QString& text, int x, int y, int width, int height = 8);
    QLineEdit* AddEdit(int id, int x, int y, int width, int height = 12);
    // A multi-line edit showing one list item per line.
    QPlainTextEdit* AddListEdit(int id, int x, int y, int width, int height);
    QPushButton* AddButton(const QString& text, int id, int x, int y, int width, int height = 14);
    QCheckBox* AddCheck(const QString& text, int id, int x, int y, int width, int height = 10);
    // Radio buttons that exclude each other (and only each other); the button listed n-th
    // stands for the value n.
    QButtonGroup* AddRadioGroup(std::initializer_list<Radio> radios, int y, int height = 10);
    // A label over a list edit, as the description and file pages show them.
    QPlainTextEdit* AddLabelledList(const QString& label, int id, int x, int y, int width, int height);

private:
    void Place(QWidget* control, int x, int y, int width, int height) const;
};

class CPrefFilesPage : public CPreferencesPage {
public:
    explicit CPrefFilesPage(QWidget* parent);
};

class CPrefMaterialsPage : public CPreferencesPage {
public:
    explicit CPrefMaterialsPage(QWidget* parent);
};

class CPrefGlazeDescPage : public CPreferencesPage {
public:
    explicit CPrefGlazeDescPage(QWidget* parent);
};

class CPrefGlazeReportPage : public CPreferencesPage {
public:
    explicit CPrefGlazeReportPage(QWidget* parent);
};

class CPrefUtilitiesPage : public CPreferencesPage {
public:
    explicit CPrefUtilitiesPage(QWidget* parent);
};

class CPrefListViewsPage : public CPreferencesPage {
public:
    explicit CPrefListViewsPage(QWidget* parent);
};

class CPrefMisc1Page : public CPreferencesPage {
public:
    explicit CPrefMisc1Page(QWidget* parent);
};

class CPrefMisc2Page : public CPreferencesPage {
public:
    explicit CPrefMisc2Page(QWidget* parent);
};
