// The built-in defaults of every setting.

#include "shell/Preferences.h"

namespace {

// A list default is one text split at each comma; a final comma adds no empty item.
void SetList(CStringArrayEx& list, const std::string& items)
{
    list.clear();
    list.AddTextLines(items, ",");
}

const char* const kGlazeTypes =
    "Aluminum matt,Ash,Ash (Volcanic),Aventurine,Barium matt,Bristol,Calcium matt,Carbon trap,"
    "Celadon,Chrome-tin pink,Chun,Copper red,Copper red (Flambe),Copper red (Oxblood),"
    "Copper red (Peach bloom),Copper red (Sang de boeuf),Crackle,Crater,Crystalline,Dolomite,"
    "Fake ash,High-fire,Kuan,Lichen,Local reduction,Low fire,Low fire (Alkaline),"
    "Low fire (Boron),Low fire (Fritted),Low fire (Lead),Magnesium matt,Majolica,Mid-fire,"
    "Once-fire,Raku,Raku (Crackle),Raku (Copper luster),Raku (Copper matt),Raku (Reduction),"
    "Shino,Slip glaze,Stoneware,Strontium matt,Temmoku,Temmoku (Hare's fur),Temmoku (Kaki),"
    "Temmoku (Oilspot),"
    "Temmoku (Partridge feather),Temmoku (Pigskin),Temmoku (Tea dust),Temmoku (Tessha),"
    "Zinc matt,Casting slip,China paint,Clay,Clay (Bone china),Clay (Earthenware),"
    "Clay (Porcelain),Clay (Stoneware),Egyptian paste,Engobe,Kiln wash,Luster,Stain,"
    "Terra sigillata";

} // namespace

void CPreferences::SetPersistedDefaults()
{
    matshort = "CN";
    matext1 = "CNF";
    matext2 = "CNTA$DF";
    matext3 = "CNMTA$DWF";
    mattab = "K Na Ca Mg Ba Zn Pb B Al Si Zr LOI";
    glzshort = "N";
    glzext1 = "NRF";
    glzext2 = "NRFCSP";
    glzext3 = "N123:;@&^%$";
    glztab = "K Na Ca Mg Ba Zn Pb B Al Si Zr";
    sugord = "K B P Li Na Mg Ca Pb Ba Sr Zn Al Zr Si Sn Ti Fe Cu Co Ni Mn Cr V";
    sugunav = 1;
    sugmulti = 1;
    sugextend = 0;
    rmndfmt = 0;
    sugtol = 0.0;
    sugtoltyp = 0;
    hazvis = 2;
    hazwarn = "Health warning!";
    unavvis = 1;

    andes = ancostsum = anrec = anvar = annotes = anhaznotes = anchem = 1;
    anchadd = anchunity = anchwtpct = anchmolpct = ancheln = anchmatn = anchexpan = 1;
    anchvolat = 1;
    anchvisco = 0;
    anchexpert = anchlimform = ancost = 1;
    anffs = 0;

    texted.clear();
    imgview.clear();
    backtyp = 0;
    coltyp = 1;
    backdir.clear();
    datefmt = "%m/%d/%Y";

    prtlmar = prtrmar = prttmar = prtbmar = 750;
    prtuseffs = 1;
    prttimest = "%c";
    prtpgnum = "%d";
    emptydesc = 0;
    prtrecsize = 0;
    prtrecsizelist = "100,500,1000,2000,5000";

    formedcol1 = "Na2O,K2O,MgO,CaO,Li2O,ZnO,SrO,BaO,PbO";
    formedcol2 = "Al2O3,B2O3";
    formedcol3 = "SiO2,P2O5,TiO2,Fe2O3,ZrO2,SnO2";
    formedcol4 = "LOI,H2O,CO2,SO3,F2,Cl2";
    formedbrkcmplx = 0;
    optimizecol1 = "Na,K,Mg,Ca,Li,Zn,Sr,Ba,Pb,,Nk";
    optimizecol2 = "Al,B,,Si,P,Ti,Fe,Zr,Sn";
    optimizecol3 = "Fe,Cu,Co,Ni,Mn,Cr,V";
    optimizecol4.clear();
    optimizetol = 8;

    decrecipe = 2;
    decrecipepct = 1;
    decrecipeinput = 3;
    decanalysis = 2;
    decanalysispct = 1;
    decremainders = 5;
    decformulas = 3;
    declimformulas = 3;
    tzsrecipe = 2;
    tzsrecipepct = 1;
    tzsrecipeinput = -1;
    tzsanalysis = 2;
    tzsanalysispct = 1;
    tzsremainders = 5;
    tzsformulas = -1;
    tzslimformulas = 1;

    edboxfont = textvfont = glzrepfont = prtfont = DefaultFont();
}

void CPreferences::SetListDefaults()
{
    SetList(mattyp, "frit,feldspar,clay,flux,opacifier,alumina,silica,colorant,miscellaneous");
    glzrng.clear();
    SetList(glztyp, kGlazeTypes);
    SetList(glzftyp, "Oxidation,Reduction,Ox. or Red.,Raku,Salt - Soda,Wood,Saggar");
    SetList(glzcol, "Clear,White,Black,Blue,Green,Yellow,Brown,Tan,Red,Orange,Pink,Lavender,"
                    "Purple,Turquoise,Gray");
    SetList(glzvtex, "Speckled,Mottled,Orange peel");
    SetList(glzqual, "Gloss,Semi-gloss,Waxy,Satin matt,Matt,Crater,Lichen");
    SetList(glzxpar, "Transparent,Translucent,Semi-opaque,Opaque");
    SetList(glzxtal, "None,Small,Medium,Large");
    SetList(glzbub, "None,Few,Many");
    SetList(glzflaw, "Pinholes,Crawls,Crazes,Shivers");
    SetList(glzflow, "None,Slight,Moderate,Extreme");
    SetList(glzdur, "Good,Medium,Poor");
    SetList(glztest, "Tested,Untested");
    glzfile.clear();
    txtfile.clear();
    expert.clear();
}

void CPreferences::SetRememberedDefaults()
{
    m_nMonoPanes = 0;
    m_strHtmlHeader = "<TITLE></TITLE>";
    m_strHtmlTop.clear();
    m_strHtmlBottom.clear();
    m_nPrefsPage = 1;
    m_nMatSortChoice = 0;
    m_nMatSortOxide = 0;
    m_nBatchScope = 0;
    m_nGlazeImportExport = 0;
    m_nGlazeSortCriterion = 0;
    m_nGlazeSortAlphabetical = 0;
    m_nGlazeSortElement = 14; // silicon
    m_nGlazeSetFieldScope = 0;
    m_nGlazeSetFieldChoice = 0;
    m_strGlazeSetFieldValue.clear();
    m_nMatSetFieldScope = 0;
    m_nMatSetFieldChoice = 0;
    m_strMatSetFieldValue.clear();
    m_nResequenceScope = 0;
    m_strResequenceStart = "1";

    m_strFindRange.clear();
    m_strFindFiringType.clear();
    m_nFindFiringTypeExact = 0;
    m_strFindColor.clear();
    m_nFindColorExact = 0;
    m_nFindField.fill(0);
    m_strFindValue.fill(std::string());
    m_nFindExact.fill(0);
    m_nFindAllGlazes = 1;
    m_nFindAllDatabases = 0;
    m_nFindCombineMode = 0;
    m_nFindAction = 0;
    m_strFindAnyField1.clear();
    m_strFindAnyField2.clear();
    m_strFindMaterial.clear();
    m_nFindOxide = 999;
    m_strFindLimitFormula.clear();

    m_nBlendPointsAB = 5;
    m_nBlendPointsAC = 5;

    m_strMakeLimName = "100";
    m_strMakeLimBasedOn.clear();
    m_nMakeLimBasedOnChoice = 0;
    m_nMakeLimWeightPct = 0;
    m_nMakeLimAllGlazes = 0;
    m_nMakeLimAllDatabases = 0;
    m_nMakeLimStatsToNotes = 0;
    m_nMakeLimStatsToInfo = 1;

    m_nCheckIngrScope = 1;
    m_nCheckIngrUnavailable = 0;
    m_nCheckIngrUnknown = 1;
    m_nCheckIngrListInfo = 1;
    m_nCheckIngrSelect = 0;
    m_nCheckIngrPrompt = 0;

    m_nFormConvChoice = 0;
    m_nFormConvUnityTarget = -1;
    m_nFormConvLoiOxide = 8; // oxygen
    m_nFormConvDecimals = -1;
    m_nFormConvMinDecimals = -1;

    m_nOptimizeLeftPane = 1;
    m_nOptimizeRightPane = 1;
}

// The similarity searches, the Varrow blend and the shopping list.
void CPreferences::SetSearchDefaults()
{
    m_nSimGlzCompare = 0;
    m_nSimGlzCompareDb = 0;
    m_nSimGlzCompareTo = 1;
    m_nSimGlzCompareToDb = 0;
    m_nSimGlzMeasures = {1, 0, 0, 0, 0, 0, 0, 0};
    m_nSimGlzScoreDisplay = 0;
    m_nSimGlzHowMany = 0;
    m_nSimGlzTopCount = 5;
    m_dSimGlzCutoff = 90.0;
    m_nSimGlzSelectSimilar = 1;
    m_nSimGlzIncludeAdditions = 2;
    m_nSimGlzLessVerbose = 0;
    m_nSimGlzSummaryOnly = 0;

    m_nSimMatCompare = 0;
    m_nSimMatCompareTo = 1;
    m_nSimMatMeasures = {1, 0, 0, 0, 0, 0};
    m_nSimMatScoreDisplay = 0;
    m_nSimMatHowMany = 0;
    m_nSimMatTopCount = 5;
    m_dSimMatCutoff = 80.0;
    m_nSimMatSelectSimilar = 1;
    m_nSimMatLessVerbose = 0;
    m_nSimMatSummaryOnly = 0;

    m_strVarrowKaolin.clear();
    m_strVarrowSilica.clear();
    m_dVarrowKaolinA = 40.0;
    m_dVarrowSilicaD = 50.0;
    m_dVarrowKaolinB = 25.0;
    m_dVarrowSilicaB = 40.0;
    m_dVarrowUnused = 0.0;
    m_dVarrowCornerBatch = 300.0;
    m_dVarrowBlendBatch = 100.0;
    m_nVarrowPointsCD = 3;
    m_nVarrowPointsCA = 5;
    m_nVarrowNaming = 0;
    m_nVarrowUnits = 0;

    m_nShopGlazes = 0;
    m_nShopRecipeSize = 0;
    m_nShopUnit = 0;
    m_strShopSizeText.clear();
}
