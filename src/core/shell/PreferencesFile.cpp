// Reading and writing the preferences file "prefs.dat": the key table of the reader, the
// written layout, and Load and Save with their messages.

#include "shell/Preferences.h"

#include "framework/MessageService.h"
#include "shell/Backup.h"
#include "shell/DocumentRead.h"
#include "shell/NamedColors.h"
#include "support/CompareNoCase.h"
#include "support/InputFile.h"
#include "support/MessagePath.h"
#include "support/NumberFormat.h"
#include "support/ParamFile.h"
#include "support/PathHelpers.h"
#include "support/Profile.h"
#include "support/SafeFile.h"
#include "support/Services.h"
#include "support/TextHelpers.h"

#include <ostream>
#include <string_view>

namespace {

constexpr const char* kProfileSection = "Preferences";
constexpr const char* kProfileKey = "PrefFileName";
constexpr const char* kHtmlSection = "HTML";
constexpr const char* kUsingDefaults = "\n\nUsing default preferences";
// A file that could not be read is kept under its name with this ending before it is replaced.
constexpr const char* kUnreadCopyEnding = ".bad";

// --- the persisted settings, in the order and with the line starts of the written file -------

enum class Kind { Text, Bool, Int, Double, List, Font };

struct Setting {
    const char* prefix; // the line's start as written; the key is its first word
    Kind kind;
    bool blankAfter;    // an empty line follows (after the last line of a list)
    std::string CPreferences::*text = nullptr;
    int CPreferences::*number = nullptr;
    double CPreferences::*real = nullptr;
    CStringArrayEx CPreferences::*list = nullptr;
    CLogFont CPreferences::*font = nullptr;
};

constexpr Setting Txt(const char* prefix, std::string CPreferences::*member, bool blank = false)
{
    return {prefix, Kind::Text, blank, member};
}
constexpr Setting Yn(const char* prefix, int CPreferences::*member, bool blank = false)
{
    return {prefix, Kind::Bool, blank, nullptr, member};
}
constexpr Setting Num(const char* prefix, int CPreferences::*member, bool blank = false)
{
    return {prefix, Kind::Int, blank, nullptr, member};
}
constexpr Setting Real(const char* prefix, double CPreferences::*member, bool blank = false)
{
    return {prefix, Kind::Double, blank, nullptr, nullptr, member};
}
constexpr Setting Lst(const char* prefix, CStringArrayEx CPreferences::*member, bool blank = false)
{
    return {prefix, Kind::List, blank, nullptr, nullptr, nullptr, member};
}
constexpr Setting Fnt(const char* prefix, CLogFont CPreferences::*member, bool blank = false)
{
    return {prefix, Kind::Font, blank, nullptr, nullptr, nullptr, nullptr, member};
}

using P = CPreferences;

const Setting kSettings[] = {
    Txt("matshort = ", &P::matshort), Txt("matext1  = ", &P::matext1), Txt("matext2  = ", &P::matext2),
    Txt("matext3  = ", &P::matext3), Txt("mattab   = ", &P::mattab, true),
    Txt("glzshort = ", &P::glzshort), Txt("glzext1  = ", &P::glzext1), Txt("glzext2  = ", &P::glzext2),
    Txt("glzext3  = ", &P::glzext3), Txt("glztab   = ", &P::glztab, true),
    Txt("sugord   = ", &P::sugord), Yn("sugunav  = ", &P::sugunav), Yn("sugmulti = ", &P::sugmulti),
    Yn("sugextend= ", &P::sugextend), Num("rmndfmt  = ", &P::rmndfmt), Real("sugtol   = ", &P::sugtol),
    Num("sugtoltyp= ", &P::sugtoltyp, true),
    Num("hazvis   = ", &P::hazvis), Txt("hazwarn  = ", &P::hazwarn, true),
    Num("unavvis  = ", &P::unavvis),
    Yn("andes      = ", &P::andes), Yn("ancostsum  = ", &P::ancostsum), Yn("anrec      = ", &P::anrec),
    Yn("anvar      = ", &P::anvar), Yn("annotes    = ", &P::annotes), Yn("anhaznotes = ", &P::anhaznotes),
    Yn("anchem     = ", &P::anchem), Yn("anchadd    = ", &P::anchadd), Yn("anchunity  = ", &P::anchunity),
    Yn("anchwtpct  = ", &P::anchwtpct), Yn("anchmolpct = ", &P::anchmolpct),
    Yn("ancheln    = ", &P::ancheln), Yn("anchmatn   = ", &P::anchmatn), Yn("anchexpan  = ", &P::anchexpan),
    Yn("anchvisco  = ", &P::anchvisco), Yn("anchvolat  = ", &P::anchvolat),
    Yn("anchexpert = ", &P::anchexpert), Yn("anchlimform= ", &P::anchlimform),
    Yn("ancost     = ", &P::ancost), Yn("anffs      = ", &P::anffs, true),
    Yn("emptydesc  = ", &P::emptydesc, true),
    Lst("mattyp  = ", &P::mattyp, true),
    Lst("glzrng  = ", &P::glzrng), Lst("glztyp  = ", &P::glztyp), Lst("glzftyp = ", &P::glzftyp),
    Lst("glzcol  = ", &P::glzcol), Lst("glzvtex = ", &P::glzvtex), Lst("glzqual = ", &P::glzqual),
    Lst("glzxpar = ", &P::glzxpar), Lst("glzxtal = ", &P::glzxtal), Lst("glzbub  = ", &P::glzbub),
    Lst("glzflaw = ", &P::glzflaw), Lst("glzflow = ", &P::glzflow), Lst("glzdur  = ", &P::glzdur),
    Lst("glztest = ", &P::glztest, true),
    Lst("glzfile = ", &P::glzfile), Lst("txtfile = ", &P::txtfile), Txt("texted  = ", &P::texted),
    Txt("imgview = ", &P::imgview), Num("backtyp = ", &P::backtyp), Txt("backdir = ", &P::backdir),
    Lst("expert = ", &P::expert), Txt("datefmt = ", &P::datefmt), Num("coltyp  = ", &P::coltyp),
    Num("prtlmar   = ", &P::prtlmar), Num("prtrmar   = ", &P::prtrmar), Num("prttmar   = ", &P::prttmar),
    Num("prtbmar   = ", &P::prtbmar), Fnt("prtfont   = ", &P::prtfont), Yn("prtuseffs = ", &P::prtuseffs),
    Txt("prttimest = ", &P::prttimest), Txt("prtpgnum  = ", &P::prtpgnum),
    Num("prtrecsize = ", &P::prtrecsize), Txt("prtrecsizelist = ", &P::prtrecsizelist, true),
    Txt("formedcol1 = ", &P::formedcol1), Txt("formedcol2 = ", &P::formedcol2),
    Txt("formedcol3 = ", &P::formedcol3), Txt("formedcol4 = ", &P::formedcol4),
    Yn("formedbrkcmplx = ", &P::formedbrkcmplx),
    Txt("optimizecol1 = ", &P::optimizecol1), Txt("optimizecol2 = ", &P::optimizecol2),
    Txt("optimizecol3 = ", &P::optimizecol3), Txt("optimizecol4 = ", &P::optimizecol4),
    Num("optimizetol  = ", &P::optimizetol),
    Num("decrecipe      = ", &P::decrecipe), Num("decrecipepct   = ", &P::decrecipepct),
    Num("decrecipeinput = ", &P::decrecipeinput), Num("decanalysis    = ", &P::decanalysis),
    Num("decanalysispct = ", &P::decanalysispct), Num("decremainders  = ", &P::decremainders),
    Num("decformulas    = ", &P::decformulas), Num("declimformulas = ", &P::declimformulas),
    Num("tzsrecipe      = ", &P::tzsrecipe), Num("tzsrecipepct   = ", &P::tzsrecipepct),
    Num("tzsrecipeinput = ", &P::tzsrecipeinput), Num("tzsanalysis    = ", &P::tzsanalysis),
    Num("tzsanalysispct = ", &P::tzsanalysispct), Num("tzsremainders  = ", &P::tzsremainders),
    Num("tzsformulas    = ", &P::tzsformulas), Num("tzslimformulas = ", &P::tzslimformulas),
    Fnt("edboxfont  = ", &P::edboxfont), Fnt("textvfont  = ", &P::textvfont),
    Fnt("glzrepfont = ", &P::glzrepfont),
};

std::string_view KeyOf(const Setting& setting)
{
    const std::string_view prefix(setting.prefix);
    return prefix.substr(0, prefix.find_first_of(" ="));
}

const Setting* FindSetting(std::string_view key)
{
    for (const Setting& setting : kSettings)
        if (KeyOf(setting) == key)
            return &setting;
    return nullptr;
}

// --- reading ---------------------------------------------------------------------------------

class CPreferencesReader : public CParamFileContext {
public:
    explicit CPreferencesReader(CPreferences& prefs) : m_prefs(prefs) {}
    CPreferences& m_prefs;
};

CPreferences& PrefsOf(CParamFileContext* context)
{
    return static_cast<CPreferencesReader*>(context)->m_prefs;
}

int OnSetting(CParamFileContext* context, const char* key, const void* value)
{
    const Setting* setting = FindSetting(key);
    if (setting == nullptr)
        return -1;
    CPreferences& prefs = PrefsOf(context);
    switch (setting->kind) {
    case Kind::Text: prefs.*setting->text = ParamText(value); break;
    case Kind::Bool: prefs.*setting->number = (ParamChar(value) == 'y' || ParamChar(value) == 'Y') ? 1 : 0; break;
    case Kind::Int: prefs.*setting->number = ParamInt(value); break;
    case Kind::Double: prefs.*setting->real = ParamDouble(value); break;
    case Kind::List: (prefs.*setting->list).push_back(ParamText(value)); break;
    case Kind::Font: prefs.*setting->font = StringToLogFont(ParamText(value)); break;
    }
    return 0;
}

int OnFileType(CParamFileContext* context, const char*, const void* value)
{
    if (EqualsNoCase(ParamText(value), kPreferencesFileType))
        return 0;
    context->m_errorText = std::string("Incorrect file type: ") + ParamText(value);
    return 1;
}

int OnVersion(CParamFileContext* context, const char*, const void* value)
{
    PrefsOf(context).m_nVersion = ParamInt(value);
    return 0;
}

int OnEnd(CParamFileContext*, const char*, const void*)
{
    return 0;
}

constexpr std::uint32_t kRange = PF_ONCE | PF_MIN_INCL | PF_MAX_INCL;

constexpr ParamDesc S(const char* key) { return {key, 's', OnSetting, PF_ONCE, 0, 0, 0}; }
constexpr ParamDesc C(const char* key) { return {key, 'c', OnSetting, PF_ONCE, 0, 0, 0}; }
constexpr ParamDesc L(const char* key) { return {key, 's', OnSetting, 0, 0, 0, 0}; }
constexpr ParamDesc I(const char* key, double min, double max) { return {key, 'i', OnSetting, kRange, min, max, 0}; }
constexpr ParamDesc Dec(const char* key) { return I(key, 1, 12); }
constexpr ParamDesc Tzs(const char* key) { return {key, 'i', OnSetting, PF_ONCE | PF_MAX_INCL, 0, 12, 0}; }

// Static, not const: the reader counts the occurrences of each key in the entries.
ParamDesc s_prefsKeys[] = {
    S("matshort"), S("matext1"), S("matext2"), S("matext3"), S("mattab"),
    S("glzshort"), S("glzext1"), S("glzext2"), S("glzext3"), S("glztab"), S("sugord"),
    C("sugunav"), C("sugmulti"), C("sugextend"),
    I("rmndfmt", 0, 3), {"sugtol", 'd', OnSetting, kRange, 0, 100, 0}, I("sugtoltyp", 0, 1),
    I("hazvis", 0, 2), S("hazwarn"), I("unavvis", 0, 1),
    C("andes"), C("ancostsum"), C("anrec"), C("anvar"), C("annotes"), C("anhaznotes"), C("anchem"),
    C("anchadd"), C("anchunity"), C("anchwtpct"), C("anchmolpct"), C("ancheln"), C("anchmatn"),
    C("anchexpan"), C("anchvisco"), C("anchvolat"), C("anchexpert"), C("anchlimform"), C("ancost"),
    C("anffs"), C("emptydesc"),
    L("mattyp"), L("glzrng"), L("glztyp"), L("glzftyp"), L("glzcol"), L("glzvtex"), L("glzqual"),
    L("glzxpar"), L("glzxtal"), L("glzbub"), L("glzflaw"), L("glzflow"), L("glzdur"), L("glztest"),
    L("glzfile"), L("txtfile"),
    S("texted"), S("imgview"), I("backtyp", 0, 3), S("backdir"), L("expert"), S("datefmt"),
    I("coltyp", 0, 1),
    I("prtlmar", 1, 9999), I("prtrmar", 1, 9999), I("prttmar", 1, 9999), I("prtbmar", 1, 9999),
    C("prtuseffs"), S("prttimest"), S("prtpgnum"), S("prtfont"),
    {"prtrecsize", 'i', OnSetting, PF_ONCE, 0, 0, 0},
    S("prtrecsizelist"), S("formedcol1"), S("formedcol2"), S("formedcol3"), S("formedcol4"),
    C("formedbrkcmplx"),
    S("optimizecol1"), S("optimizecol2"), S("optimizecol3"), S("optimizecol4"), Dec("optimizetol"),
    Dec("decrecipe"), Dec("decrecipepct"), Dec("decrecipeinput"), Dec("decanalysis"),
    Dec("decanalysispct"), Dec("decremainders"), Dec("decformulas"), Dec("declimformulas"),
    Tzs("tzsrecipe"), Tzs("tzsrecipepct"), Tzs("tzsrecipeinput"), Tzs("tzsanalysis"),
    Tzs("tzsanalysispct"), Tzs("tzsremainders"), Tzs("tzsformulas"), Tzs("tzslimformulas"),
    S("edboxfont"), S("textvfont"), S("glzrepfont"),
    {"filetype", 's', OnFileType, PF_ONCE | PF_REQUIRED, 0, 0, 0},
    {"version", 'i', OnVersion, kRange | PF_REQUIRED, 1, 2, 0},
    {nullptr, 0, OnEnd, 0, 0, 0, 0},
};

// --- writing ---------------------------------------------------------------------------------

void WriteSetting(std::ostream& out, const CPreferences& prefs, const Setting& setting)
{
    switch (setting.kind) {
    case Kind::Text: out << setting.prefix << OneLineValue(prefs.*setting.text) << '\n'; break;
    case Kind::Bool: out << setting.prefix << (prefs.*setting.number > 0 ? 'y' : 'n') << '\n'; break;
    case Kind::Int: out << setting.prefix << std::to_string(prefs.*setting.number) << '\n'; break;
    case Kind::Double: out << setting.prefix << FormatFixed(prefs.*setting.real, 8) << '\n'; break;
    case Kind::Font: out << setting.prefix << OneLineValue(LogFontToString(prefs.*setting.font)) << '\n'; break;
    case Kind::List:
        for (const std::string& item : prefs.*setting.list)
            out << setting.prefix << OneLineValue(item) << '\n';
        break;
    }
    if (setting.blankAfter)
        out << '\n';
}

bool WritePreferences(std::ostream& out, const CPreferences& prefs)
{
    out << "filetype = " << kPreferencesFileType << '\n';
    out << "version =  " << kPreferencesFileVersion << "\n\n";
    for (const Setting& setting : kSettings)
        WriteSetting(out, prefs, setting);
    return static_cast<bool>(out);
}

// --- messages and the profile ----------------------------------------------------------------

void ShowMessage(const std::string& text, unsigned helpId)
{
    AppMessageBox(text, MsgOk | MsgIconExclamation, helpId);
}

std::string ProfileString(const char* section, const char* key, const std::string& defaultValue)
{
    CProfile* profile = GetProfile();
    return profile ? profile->GetString(section, key, defaultValue) : defaultValue;
}

void WriteProfileString(const char* section, const char* key, const std::string& value)
{
    if (CProfile* profile = GetProfile())
        profile->WriteString(section, key, value);
}

std::string DefaultFilePath()
{
    return GetFullPathString(MakeFilePath(GetProgramDirectory(), kPreferencesFileName));
}

} // namespace

void CPreferences::SetFileDirectory(const std::string& directory)
{
    m_strFilePath = GetFullPathString(MakeFilePath(directory, kPreferencesFileName));
    WriteProfileString(kProfileSection, kProfileKey, m_strFilePath);
}

namespace {

// The HTML export texts live in the profile; every load writes all three back.
void LoadHtmlTexts(CPreferences& prefs)
{
    prefs.m_strHtmlHeader = ProfileString(kHtmlSection, "Header", prefs.m_strHtmlHeader);
    prefs.m_strHtmlTop = ProfileString(kHtmlSection, "Top", prefs.m_strHtmlTop);
    prefs.m_strHtmlBottom = ProfileString(kHtmlSection, "Bottom", prefs.m_strHtmlBottom);
    WriteProfileString(kHtmlSection, "Header", prefs.m_strHtmlHeader);
    WriteProfileString(kHtmlSection, "Top", prefs.m_strHtmlTop);
    WriteProfileString(kHtmlSection, "Bottom", prefs.m_strHtmlBottom);
}

// The file's lines replace the built-in vocabularies instead of adding to them.
void ClearVocabularies(CPreferences& prefs)
{
    for (CStringArrayEx* list : {&prefs.mattyp, &prefs.glzrng, &prefs.glztyp, &prefs.glzftyp, &prefs.glzcol,
                                 &prefs.glzvtex, &prefs.glzqual, &prefs.glzxpar, &prefs.glzxtal, &prefs.glzbub,
                                 &prefs.glzflaw, &prefs.glzflow, &prefs.glzdur, &prefs.glztest})
        list->clear();
}

// Reads the file at prefs.m_strFilePath; an empty result, or the message of the failure and its
// help context.
std::string ReadPreferencesFile(CPreferences& prefs, const CPreferenceListChecks& checks, unsigned& helpId)
{
    const std::string& path = prefs.m_strFilePath;
    CInputFile in;
    if (!in.Open(path)) {
        helpId = kHelpPrefsOpenError;
        return in.OpenFailure();
    }
    if (const std::string unfinished = UnfinishedSaveMessage(path); !unfinished.empty())
        ShowMessage(unfinished, kHelpPrefsReadError);
    CBusyScope busy;
    CPreferencesReader reader(prefs);
    const int result = ParseParameterFile(reader.m_errorText, in, s_prefsKeys, &reader, 0);
    prefs.m_strErrorText = reader.m_errorText;
    if (result != 0) {
        helpId = kHelpPrefsReadError;
        return MessagePath(path) + ": " + prefs.m_strErrorText;
    }
    if (const int bad = prefs.Validate(checks); bad != 0) {
        helpId = kHelpPrefsValidateError;
        return MessagePath(path) + ": " + CPreferences::ValidationMessage(bad);
    }
    // Read all the same; told before a save writes the values as they were read.
    if (const std::string notes = ReadNotesMessage(path, reader.m_readNotes); !notes.empty())
        ShowMessage(notes, kHelpPrefsReadError);
    return std::string();
}

} // namespace

int CPreferences::Load(const CPreferenceListChecks& checks)
{
    // What the load writes back to the profile is saved once, at the end.
    const CProfileWriteBatch profileWrites(GetProfile());
    m_nVersion = 0;
    LoadHtmlTexts(*this);
    LoadNamedColors();
    ApplyColorScheme();

    m_strFilePath = GetFullPathString(ProfileString(kProfileSection, kProfileKey, DefaultFilePath()));
    WriteProfileString(kProfileSection, kProfileKey, m_strFilePath);
    m_strUnreadFilePath.clear();
    if (!FileExists(m_strFilePath)) {
        m_strFilePath.clear();
        return 0;
    }

    ClearVocabularies(*this);
    unsigned helpId = 0;
    const std::string failure = ReadPreferencesFile(*this, checks, helpId);
    if (failure.empty()) {
        ApplyColorScheme();
        return 0;
    }
    ShowMessage(failure + kUsingDefaults, helpId);
    SetDefaults();
    m_strUnreadFilePath = m_strFilePath;
    return 1;
}

namespace {

// Before a file that the last load could not read is replaced, a copy of it is kept beside it.
// False (with the reason shown) when that copy cannot be made: the file must then stay.
bool KeepUnreadFile(CPreferences& prefs)
{
    const std::string& path = prefs.m_strFilePath;
    if (prefs.m_strUnreadFilePath.empty() || prefs.m_strUnreadFilePath != path || !FileExists(path))
        return true;
    const std::string copy = path + kUnreadCopyEnding;
    if (!CopyFileForBackup(path, copy)) {
        ShowMessage("Backup: error copying " + MessagePath(path) + " to " + MessagePath(copy) +
                        "\n\nThe preferences file could not be read at start-up and is not replaced"
                        " without a copy.",
                    kHelpPrefsBackupError);
        return false;
    }
    prefs.m_strUnreadFilePath.clear();
    return true;
}

} // namespace

int CPreferences::Save()
{
    if (!m_strFilePath.empty() && FileExists(m_strFilePath)) {
        if (!ConfirmBackupBeforeSave(m_strFilePath, kHelpPrefsBackupError))
            return 1;
    } else if (m_strFilePath.empty()) {
        m_strFilePath = DefaultFilePath();
        WriteProfileString(kProfileSection, kProfileKey, m_strFilePath);
    }
    if (!KeepUnreadFile(*this))
        return 1;

    const std::string& path = m_strFilePath;
    CSafeFileWriter writer(path);
    if (!writer.Open()) {
        ShowMessage(SaveFailureMessage(path, SafeSaveResult::OpenFailed, writer.FailureReason()), kHelpPrefsCreateError);
        return 1;
    }
    bool written = false;
    {
        CBusyScope busy;
        written = WritePreferences(writer.Stream(), *this);
    }
    if (!written || writer.Commit() != SafeSaveResult::Ok) {
        writer.Abandon();
        ShowMessage(SaveFailureMessage(path, SafeSaveResult::WriteFailed, writer.FailureReason()), kHelpPrefsWriteError);
        return 1;
    }
    return 0;
}
