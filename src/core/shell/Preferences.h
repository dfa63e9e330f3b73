#pragma once

// Every user setting of the program, and the last choices of many dialogs.
//
// Two instances live for the whole run: `g_prefs`, the working copy that every part of the
// program reads, and `g_savedPrefs`, the stored copy that mirrors the preferences file. Both are
// created and destroyed by the application context (shell/AppContext.h), the stored copy first.
//
// The persisted settings are named after their keys in the preferences file, so that the file's
// key table, its writer and the Preferences dialog all use one name per setting. "Bool" settings
// are ints holding 0 or 1: the file writes them as "y" when above 0, and the dialogs exchange
// them as check-box states.
//
// The remembered dialog settings (the block after the fonts) are never written to the file: they
// start from their defaults and the owning dialogs read and write them in `g_prefs` for the run.

#include "shell/Backup.h"
#include "support/LogFont.h"
#include "support/StringArrayEx.h"

#include <array>
#include <string>

// The chemistry that the element lists and oxide lists of the preferences are checked against.
// The element table and the formula reader stand above the preferences, so whoever reads or
// checks the preferences file hands the checks in (materials/ChemistryListChecks.h gives the
// program's).
class CPreferenceListChecks {
public:
    virtual ~CPreferenceListChecks() = default;
    // 1 when text is not a well-formed element list (elements/ElementList.h), else 0.
    virtual int IsBadElementList(const std::string& text, bool allowLoss, bool allowNk) const = 0;
    // 1 when text is not a well-formed oxide list, else 0.
    virtual int IsBadOxideList(const std::string& text) const = 0;
};

class CPreferences {
public:
    // Every member takes its default (SetDefaults); no file path, version 0.
    CPreferences();
    ~CPreferences();

    // Copies every member: both groups of settings, the file path, the version and the last
    // error text. Each string list becomes a copy of the other's.
    CPreferences(const CPreferences&);
    CPreferences& operator=(const CPreferences&);

    // Puts every setting of both groups back to its default and refills the lists. The file
    // path, the version, the last error text and the Make Limit Formula combination list keep
    // their values.
    void SetDefaults();

    // Orders two material type names by the preferred order of `mattyp`: -1, 0 or 1.
    int CompareMaterialTypes(const std::string& a, const std::string& b) const;

    // Orders two glaze description values for sorting a glaze list by the description column
    // `column` (the glaze column letter, either case): by the position of the values in that
    // column's vocabulary, or ignoring case only when `alphabetical` is set. Empty values sort
    // last. Returns -1, 0 or 1.
    int CompareDescriptors(const std::string& a, const std::string& b, char column,
                           bool alphabetical) const;

    // The vocabulary that a glaze description column letter selects (either case), or null.
    const CStringArrayEx* DescriptorVocabulary(char column) const;

    // The font every font setting starts with: 9 point fixed-pitch "Courier New".
    static CLogFont DefaultFont();

    // The backup method and directory (`backtyp`, `backdir`) as the settings every save uses.
    CBackupSettings GetBackupSettings() const { return CBackupSettings{backtyp, backdir}; }

    // Recomputes the current colour of every named colour from its base colour and `coltyp`
    // (0 Monochrome: greys; otherwise the colours themselves). See shell/NamedColors.h.
    void ApplyColorScheme() const;

    // --- the preferences file (PreferencesFile.cpp) ----------------------------------------

    // Reads the preferences file into a freshly constructed object: the HTML texts and the
    // colours from the profile, then the file named by the profile (default "prefs.dat" in the
    // program directory), its lists checked by Validate with checks. 0 when the file was read
    // or does not exist (the path is then emptied and the defaults stay, silently); 1 when it
    // could not be read, with the failure shown and every setting back at its default. A file
    // that failed is marked (m_strUnreadFilePath) so that Save keeps a copy of it before
    // replacing it.
    int Load(const CPreferenceListChecks& checks);

    // Writes every persisted setting to the file (a new "prefs.dat" in the program directory
    // when no path is stored), after the backup that the working preferences ask for. A file
    // that the last Load could not read is first copied to its path + ".bad"; when that copy
    // fails nothing is written. The file is written through the safe-save helper, so a failed
    // write leaves the old file intact. 0 when written, 1 when not (the reason has been shown).
    int Save();

    // Points the object at "prefs.dat" in directory (made a full path) and records that path
    // in the profile: start-up calls this on the stored copy when a data directory was handed
    // over, before loading when the directory holds the file (so the user's file is read, not
    // replaced) and before saving, so that the preferences file lives with the data.
    void SetFileDirectory(const std::string& directory);

    // Checks the lists of the file (element and oxide lists through checks): 0 when all are well
    // formed, else the number (1..19) of the first bad one. With version 1 the eight
    // column-letter strings are raised to upper case first.
    int Validate(const CPreferenceListChecks& checks);
    // The message of a Validate result n (1..19); empty for other numbers.
    static std::string ValidationMessage(int n);

    // --- persisted settings (member name = key in the preferences file) -------------------

    // Column letters of the material list views, and the table view's element list.
    std::string matshort;
    std::string matext1;
    std::string matext2;
    std::string matext3;
    std::string mattab;
    // Column letters of the glaze list views, and the table view's element list.
    std::string glzshort;
    std::string glzext1;
    std::string glzext2;
    std::string glzext3;
    std::string glztab;
    // Batch calculation: oxide suggestion order (element list) and suggestion options.
    std::string sugord;
    int sugunav = 0;
    int sugmulti = 0;
    int sugextend = 0;
    int rmndfmt = 0;     // remainder format: 0 molecular, 1 weight, 2 % molecular, 3 % weight
    double sugtol = 0.0; // tolerance for undesired oxides, in percent (0..100)
    int sugtoltyp = 0;   // unit of that tolerance: 0 % molecular, 1 % weight
    // Hazards and unavailable materials in glaze recipes.
    int hazvis = 0;      // 0 low, 1 medium, 2 high
    std::string hazwarn;
    int unavvis = 0;     // 0 low, 1 high
    // Sections of the glaze report and of its chemical analysis.
    int andes = 0;
    int ancostsum = 0;
    int anrec = 0;
    int anvar = 0;
    int annotes = 0;
    int anhaznotes = 0;
    int anchem = 0;
    int anchadd = 0;     // additions take part in the chemistry of glazes
    int anchunity = 0;
    int anchwtpct = 0;
    int anchmolpct = 0;
    int ancheln = 0;
    int anchmatn = 0;
    int anchexpan = 0;
    int anchvolat = 0;
    int anchvisco = 0;
    int anchexpert = 0;
    int anchlimform = 0;
    int ancost = 0;
    int anffs = 0;
    // Material types in their preferred order, and the vocabularies of the glaze descriptions.
    CStringArrayEx mattyp;
    CStringArrayEx glzrng;
    CStringArrayEx glztyp;
    CStringArrayEx glzftyp;
    CStringArrayEx glzcol;
    CStringArrayEx glzvtex;
    CStringArrayEx glzqual;
    CStringArrayEx glzxpar;
    CStringArrayEx glzxtal;
    CStringArrayEx glzbub;
    CStringArrayEx glzflaw;
    CStringArrayEx glzflow;
    CStringArrayEx glzdur;
    CStringArrayEx glztest;
    // Files opened at start-up, outside programs, backups and colours.
    CStringArrayEx glzfile;
    CStringArrayEx txtfile;
    std::string texted;
    std::string imgview;
    int backtyp = 0;     // 0 none, 1 file.BAK, 2 copy to directory, 3 cascade to directory
    int coltyp = 0;      // 0 monochrome, 1 multicolour
    std::string backdir;
    CStringArrayEx expert;
    std::string datefmt; // strftime pattern of the date of new records
    // Printing: margins in 0.001 inch, page texts, recipe batch sizes.
    int prtlmar = 0;
    int prtrmar = 0;
    int prttmar = 0;
    int prtbmar = 0;
    int prtuseffs = 0;
    std::string prttimest;
    std::string prtpgnum;
    int emptydesc = 0;
    int prtrecsize = 0;  // 0 working batch size, 1 original recipe size, 2 custom sizes
    std::string prtrecsizelist;
    // Edit Formula dialog columns (oxide formulas, comma separated).
    std::string formedcol1;
    std::string formedcol2;
    std::string formedcol3;
    std::string formedcol4;
    int formedbrkcmplx = 0;
    // Optimize dialog columns (element lists) and its tolerance in decimals.
    std::string optimizecol1;
    std::string optimizecol2;
    std::string optimizecol3;
    std::string optimizecol4;
    int optimizetol = 0;
    // Decimals shown, and the least decimals kept when trailing zeros are stripped (-1: all
    // trailing zeros and a bare decimal point go), per number context.
    int decrecipe = 0;
    int decrecipepct = 0;
    int decrecipeinput = 0;
    int decanalysis = 0;
    int decanalysispct = 0;
    int decremainders = 0;
    int decformulas = 0;
    int declimformulas = 0;
    int tzsrecipe = 0;
    int tzsrecipepct = 0;
    int tzsrecipeinput = 0;
    int tzsanalysis = 0;
    int tzsanalysispct = 0;
    int tzsremainders = 0;
    int tzsformulas = 0;
    int tzslimformulas = 0;
    // Fonts; heights are in tenths of a point.
    CLogFont edboxfont;
    CLogFont textvfont;
    CLogFont glzrepfont;
    CLogFont prtfont;

    // --- remembered dialog settings (for the run only, never in the file) -----------------

    // Glaze edit view pages: nonzero draws the analysis panes on white instead of in colour.
    int m_nMonoPanes = 0;
    // HTML export of glazes; kept in the profile by the preferences file's loader.
    std::string m_strHtmlHeader;
    std::string m_strHtmlTop;
    std::string m_strHtmlBottom;
    // Preferences dialog: the page shown last (1..8).
    int m_nPrefsPage = 0;
    // Materials list: last Sort choice and the element of the oxide sort.
    int m_nMatSortChoice = 0;
    int m_nMatSortOxide = 0;
    // Glaze edit view: batch calculation scope (0 components, 1 additions, 2 entire recipe).
    int m_nBatchScope = 0;
    // Glaze list: last import or export choice.
    int m_nGlazeImportExport = 0;
    // Glaze list: Re-sort criterion, alphabetical flag and element of the oxide criteria.
    int m_nGlazeSortCriterion = 0;
    int m_nGlazeSortAlphabetical = 0;
    int m_nGlazeSortElement = 0;
    // Glaze list: Set Field scope, field and value.
    int m_nGlazeSetFieldScope = 0;
    int m_nGlazeSetFieldChoice = 0;
    std::string m_strGlazeSetFieldValue;
    // Materials list: Set Field scope, field and value.
    int m_nMatSetFieldScope = 0;
    int m_nMatSetFieldChoice = 0;
    std::string m_strMatSetFieldValue;
    // Glaze list: Resequence scope and starting value.
    int m_nResequenceScope = 0;
    std::string m_strResequenceStart;
    // Find Glazes: the criteria, the three field rows and the search options.
    std::string m_strFindRange;
    std::string m_strFindFiringType;
    int m_nFindFiringTypeExact = 0;
    std::string m_strFindColor;
    int m_nFindColorExact = 0;
    std::array<int, 3> m_nFindField{};
    std::array<std::string, 3> m_strFindValue;
    std::array<int, 3> m_nFindExact{};
    int m_nFindAllGlazes = 0;
    int m_nFindAllDatabases = 0;
    int m_nFindCombineMode = 0;
    int m_nFindAction = 0;
    std::string m_strFindAnyField1;
    std::string m_strFindAnyField2;
    std::string m_strFindMaterial;
    int m_nFindOxide = 0; // element number; 999 for none
    std::string m_strFindLimitFormula;
    // Line, triaxial and square blends: points between the end points.
    int m_nBlendPointsAB = 0;
    int m_nBlendPointsAC = 0;
    // Make Limit Formula: name, based-on formula, chosen combinations and options. The
    // combination list is not touched by SetDefaults.
    std::string m_strMakeLimName;
    std::string m_strMakeLimBasedOn;
    CStringArrayEx m_makeLimCombinations;
    int m_nMakeLimBasedOnChoice = 0; // 0 limit formula, 1 oxide combinations
    int m_nMakeLimWeightPct = 0;
    int m_nMakeLimAllGlazes = 0;
    int m_nMakeLimAllDatabases = 0;
    int m_nMakeLimStatsToNotes = 0;
    int m_nMakeLimStatsToInfo = 0;
    // Check Ingredients: scope, what to look for and what to do with the results.
    int m_nCheckIngrScope = 0; // 0 selected, 1 all glazes
    int m_nCheckIngrUnavailable = 0;
    int m_nCheckIngrUnknown = 0;
    int m_nCheckIngrListInfo = 0;
    int m_nCheckIngrSelect = 0;
    int m_nCheckIngrPrompt = 0;
    // Formula Conversion dialog: last conversion, unity target, LOI oxide, decimals and least
    // decimals (-1: none kept yet, the formula decimals preferences are offered).
    int m_nFormConvChoice = 0;
    int m_nFormConvUnityTarget = 0;
    int m_nFormConvLoiOxide = 0;
    int m_nFormConvDecimals = 0;
    int m_nFormConvMinDecimals = 0;
    // Optimize dialog: result pane modes (left: 1 recipe, 2 cost; right: 1 unity, 2 weight %,
    // 3 molecular %).
    int m_nOptimizeLeftPane = 0;
    int m_nOptimizeRightPane = 0;
    // Find Similar Glazes.
    int m_nSimGlzCompare = 0;       // 0 selected, 1 all glazes
    int m_nSimGlzCompareDb = 0;     // 0 current, 1 all databases
    int m_nSimGlzCompareTo = 0;
    int m_nSimGlzCompareToDb = 0;
    std::array<int, 8> m_nSimGlzMeasures{};
    int m_nSimGlzScoreDisplay = 0;  // 0 all scores, 1 composite only
    int m_nSimGlzHowMany = 0;       // 0 show top, 1 show all
    int m_nSimGlzTopCount = 0;
    double m_dSimGlzCutoff = 0.0;   // percent
    int m_nSimGlzSelectSimilar = 0;
    int m_nSimGlzIncludeAdditions = 0; // 2: take anchadd when the dialog opens
    int m_nSimGlzLessVerbose = 0;
    int m_nSimGlzSummaryOnly = 0;
    // Find Similar Materials.
    int m_nSimMatCompare = 0;
    int m_nSimMatCompareTo = 0;
    std::array<int, 6> m_nSimMatMeasures{};
    int m_nSimMatScoreDisplay = 0;
    int m_nSimMatHowMany = 0;
    int m_nSimMatTopCount = 0;
    double m_dSimMatCutoff = 0.0;
    int m_nSimMatSelectSimilar = 0;
    int m_nSimMatLessVerbose = 0;
    int m_nSimMatSummaryOnly = 0;
    // Varrow recipe blend: material names, corner percentages, batch sizes, point counts,
    // naming and units.
    std::string m_strVarrowKaolin;
    std::string m_strVarrowSilica;
    double m_dVarrowKaolinA = 0.0;
    double m_dVarrowSilicaD = 0.0;
    double m_dVarrowKaolinB = 0.0;
    double m_dVarrowSilicaB = 0.0;
    double m_dVarrowUnused = 0.0; // carried with the block; no dialog field reads it
    double m_dVarrowCornerBatch = 0.0;
    double m_dVarrowBlendBatch = 0.0;
    int m_nVarrowPointsCD = 0;
    int m_nVarrowPointsCA = 0;
    int m_nVarrowNaming = 0;
    int m_nVarrowUnits = 0;
    // Make Shopping List: glazes, recipe size, unit and the size text.
    int m_nShopGlazes = 0;
    int m_nShopRecipeSize = 0;
    int m_nShopUnit = 0;
    std::string m_strShopSizeText;

    // --- the file behind the stored copy ----------------------------------------------------

    std::string m_strFilePath; // full path of the preferences file; empty when none was read
    int m_nVersion = 0;        // version read from the file; 0 before loading
    std::string m_strErrorText; // error text of the last read of the file
    // Full path of a file that existed but could not be read by the last Load; empty when none.
    // Save does not replace that file before it has kept a copy of it.
    std::string m_strUnreadFilePath;

private:
    void SetPersistedDefaults();
    void SetListDefaults();
    void SetRememberedDefaults();
    void SetSearchDefaults();
};

// The name of the preferences file, and the profile entry that holds its full path.
inline constexpr const char* kPreferencesFileName = "prefs.dat";
inline constexpr const char* kPreferencesFileType = "Oxidarium Preferences";
inline constexpr int kPreferencesFileVersion = 2;

// Help contexts of the preferences file's messages.
inline constexpr unsigned kHelpPrefsOpenError = 0x30131;
inline constexpr unsigned kHelpPrefsReadError = 0x30120;
inline constexpr unsigned kHelpPrefsValidateError = 0x30132;
inline constexpr unsigned kHelpPrefsBackupError = 0x30121;
inline constexpr unsigned kHelpPrefsCreateError = 0x30134;
inline constexpr unsigned kHelpPrefsWriteError = 0x30133;

// The column letters a material list view (a glaze list view) may show, and the checks of a
// column list: 1 when the text holds any other character, else 0 (an empty text is good).
inline constexpr const char* kMaterialColumnLetters = "NCADFTMWHR$* ";
inline constexpr const char* kGlazeColumnLetters = "NDTRFSPCVXBOAU?YZL:;!@&^%$1234#* ";
int IsBadMaterialColumnList(const std::string& text);
int IsBadGlazeColumnList(const std::string& text);

// The working and the stored preferences; valid while an application context exists.
extern CPreferences& g_prefs;
extern CPreferences& g_savedPrefs;
