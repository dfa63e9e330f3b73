// The Preferences dialog's data: which control edits which setting, moving the settings in and
// out of the controls, the checks of the lists, and taking the edited settings over.

#include "shell/PreferencesDlg.h"

#include "elements/ElementList.h"
#include "framework/Cp1252.h"
#include "framework/MessageService.h"
#include "materials/ChemistryListChecks.h"
#include "shell/OxidariumApp.h"
#include "shell/PreferencesPage.h"
#include "support/NumberField.h"
#include "support/NumberText.h"
#include "support/TextHelpers.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFontInfo>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

using P = CPreferences;

enum class Bind { Text, List, Check, Radio, Int, Double };

// One control and the setting it edits. A radio group is known by its first button.
struct Binding {
    int page;
    int id;
    Bind kind;
    std::string P::*text = nullptr;
    CStringArrayEx P::*list = nullptr;
    int P::*number = nullptr;
    double P::*real = nullptr;
};

constexpr Binding T(int page, int id, std::string P::*member) { return {page, id, Bind::Text, member}; }
constexpr Binding L(int page, int id, CStringArrayEx P::*member) { return {page, id, Bind::List, nullptr, member}; }
constexpr Binding C(int page, int id, int P::*member) { return {page, id, Bind::Check, nullptr, nullptr, member}; }
constexpr Binding R(int page, int id, int P::*member) { return {page, id, Bind::Radio, nullptr, nullptr, member}; }
constexpr Binding N(int page, int id, int P::*member) { return {page, id, Bind::Int, nullptr, nullptr, member}; }
constexpr Binding D(int page, int id, double P::*member)
{
    return {page, id, Bind::Double, nullptr, nullptr, nullptr, member};
}

// The decimals of the eight number contexts, and their least decimals, in the rows' order.
constexpr int P::*kDecimals[kDecimalsRowCount] = {
    &P::decrecipe, &P::decrecipepct, &P::decrecipeinput, &P::decanalysis,
    &P::decanalysispct, &P::decremainders, &P::decformulas, &P::declimformulas,
};
constexpr int P::*kLeastDecimals[kDecimalsRowCount] = {
    &P::tzsrecipe, &P::tzsrecipepct, &P::tzsrecipeinput, &P::tzsanalysis,
    &P::tzsanalysispct, &P::tzsremainders, &P::tzsformulas, &P::tzslimformulas,
};

// Page by page, in the order the values are moved.
const Binding kBindings[] = {
    L(1, IdcGlzFile, &P::glzfile), L(1, IdcTxtFile, &P::txtfile), R(1, IdcBackupNone, &P::backtyp),
    T(1, IdcBackDir, &P::backdir), L(1, IdcExpert, &P::expert),

    L(2, IdcMatTyp, &P::mattyp), R(2, IdcRmndMolecular, &P::rmndfmt), C(2, IdcSugUnav, &P::sugunav),
    C(2, IdcSugMulti, &P::sugmulti), C(2, IdcSugExtend, &P::sugextend), T(2, IdcSugOrd, &P::sugord),
    D(2, IdcSugTol, &P::sugtol), R(2, IdcSugTolMolecular, &P::sugtoltyp), R(2, IdcHazLow, &P::hazvis),
    T(2, IdcHazWarn, &P::hazwarn), R(2, IdcUnavLow, &P::unavvis),

    L(3, IdcGlzRng, &P::glzrng), L(3, IdcGlzTyp, &P::glztyp), L(3, IdcGlzFTyp, &P::glzftyp),
    L(3, IdcGlzQual, &P::glzqual), L(3, IdcGlzCol, &P::glzcol), L(3, IdcGlzXpar, &P::glzxpar),
    L(3, IdcGlzVTex, &P::glzvtex), L(3, IdcGlzXtal, &P::glzxtal), L(3, IdcGlzBub, &P::glzbub),
    L(3, IdcGlzFlow, &P::glzflow), L(3, IdcGlzFlaw, &P::glzflaw), L(3, IdcGlzDur, &P::glzdur),
    L(3, IdcGlzTest, &P::glztest),

    C(4, IdcAnDes, &P::andes), C(4, IdcAnRec, &P::anrec), C(4, IdcAnCostSum, &P::ancostsum),
    C(4, IdcAnVar, &P::anvar), C(4, IdcAnNotes, &P::annotes), C(4, IdcAnHazNotes, &P::anhaznotes),
    C(4, IdcAnChem, &P::anchem), C(4, IdcAnChUnity, &P::anchunity), C(4, IdcAnChWtPct, &P::anchwtpct),
    C(4, IdcAnChMolPct, &P::anchmolpct), C(4, IdcAnChExpan, &P::anchexpan), C(4, IdcAnChVisco, &P::anchvisco),
    C(4, IdcAnChVolat, &P::anchvolat), C(4, IdcAnChEln, &P::ancheln), C(4, IdcAnChMatn, &P::anchmatn),
    C(4, IdcAnChLimForm, &P::anchlimform), C(4, IdcAnChExpert, &P::anchexpert), C(4, IdcAnCost, &P::ancost),
    C(4, IdcAnFfs, &P::anffs),

    T(5, IdcTextEd, &P::texted), T(5, IdcImgView, &P::imgview), N(5, IdcPrtTMar, &P::prttmar),
    N(5, IdcPrtBMar, &P::prtbmar), N(5, IdcPrtLMar, &P::prtlmar), N(5, IdcPrtRMar, &P::prtrmar),
    C(5, IdcPrtUseFfs, &P::prtuseffs), T(5, IdcPrtTimeSt, &P::prttimest), T(5, IdcPrtPgNum, &P::prtpgnum),

    T(6, IdcMatShort, &P::matshort), T(6, IdcMatExt1, &P::matext1), T(6, IdcMatExt2, &P::matext2),
    T(6, IdcMatExt3, &P::matext3), T(6, IdcMatTab, &P::mattab), T(6, IdcGlzShort, &P::glzshort),
    T(6, IdcGlzExt1, &P::glzext1), T(6, IdcGlzExt2, &P::glzext2), T(6, IdcGlzExt3, &P::glzext3),
    T(6, IdcGlzTab, &P::glztab),

    T(7, IdcFormEdCol1, &P::formedcol1), T(7, IdcFormEdCol2, &P::formedcol2),
    T(7, IdcFormEdCol3, &P::formedcol3), T(7, IdcFormEdCol4, &P::formedcol4),
    C(7, IdcFormEdBrkCmplx, &P::formedbrkcmplx),
    N(7, IdcDecFirst + 0, kDecimals[0]), N(7, IdcDecFirst + 1, kDecimals[1]), N(7, IdcDecFirst + 2, kDecimals[2]),
    N(7, IdcDecFirst + 3, kDecimals[3]), N(7, IdcDecFirst + 4, kDecimals[4]), N(7, IdcDecFirst + 5, kDecimals[5]),
    N(7, IdcDecFirst + 6, kDecimals[6]), N(7, IdcDecFirst + 7, kDecimals[7]),
    N(7, IdcTzsFirst + 0, kLeastDecimals[0]), N(7, IdcTzsFirst + 1, kLeastDecimals[1]),
    N(7, IdcTzsFirst + 2, kLeastDecimals[2]), N(7, IdcTzsFirst + 3, kLeastDecimals[3]),
    N(7, IdcTzsFirst + 4, kLeastDecimals[4]), N(7, IdcTzsFirst + 5, kLeastDecimals[5]),
    N(7, IdcTzsFirst + 6, kLeastDecimals[6]), N(7, IdcTzsFirst + 7, kLeastDecimals[7]),

    T(8, IdcDateFmt, &P::datefmt), C(8, IdcAnChAdd, &P::anchadd), C(8, IdcEmptyDesc, &P::emptydesc),
    R(8, IdcColMonochrome, &P::coltyp),
};

const char* const kFieldMessages[] = {
    "Error in 'Material List Normal View columns'",
    "Error in 'Material List Extended View 1 columns'",
    "Error in 'Material List Extended View 2 columns'",
    "Error in 'Material List Extended View 3 columns'",
    "Error in 'Material List Table View columns'",
    "Error in 'Glaze List Normal View columns'",
    "Error in 'Glaze List Extended View 1 columns'",
    "Error in 'Glaze List Extended View 2 columns'",
    "Error in 'Glaze List Extended View 3 columns'",
    "Error in 'Glaze List Table View columns'",
    "Error in 'Oxide Suggestion Order'",
    "Error in 'Formula Edit column 1'",
    "Error in 'Formula Edit column 2'",
    "Error in 'Formula Edit column 3'",
    "Error in 'Formula Edit column 4'",
};

// A stored font's pitch and family for a chosen font: fixed pitch in the modern family, or
// variable pitch in the Swiss family.
constexpr std::uint8_t kVariablePitchSwiss = 0x22;

QString ListText(const CStringArrayEx& list)
{
    QStringList lines;
    for (const std::string& item : list)
        lines.push_back(FromCp1252(item));
    return lines.join(QLatin1Char('\n'));
}

// Each line trimmed at both ends; empty lines dropped.
CStringArrayEx ListFromText(const QString& text)
{
    CStringArrayEx list;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        std::string item = ToCp1252(line);
        if (!TrimString(item).empty())
            list.push_back(std::move(item));
    }
    return list;
}

void SetRadioValue(QButtonGroup& group, int value)
{
    if (QAbstractButton* button = group.button(value)) {
        button->setChecked(true);
        return;
    }
    group.setExclusive(false);
    for (QAbstractButton* button : group.buttons())
        button->setChecked(false);
    group.setExclusive(true);
}

} // namespace

void CPreferencesDlg::ControlsFromValues()
{
    InitDialog();
    for (const Binding& binding : kBindings) {
        switch (binding.kind) {
        case Bind::Text: FindControl<QLineEdit>(binding.id)->setText(FromCp1252(values.*binding.text)); break;
        case Bind::List: FindControl<QPlainTextEdit>(binding.id)->setPlainText(ListText(values.*binding.list)); break;
        case Bind::Check: FindControl<QCheckBox>(binding.id)->setChecked(values.*binding.number > 0); break;
        case Bind::Radio: SetRadioValue(*Page(binding.page)->RadioGroup(binding.id), values.*binding.number); break;
        case Bind::Int:
            FindControl<QLineEdit>(binding.id)->setText(QString::number(values.*binding.number));
            break;
        case Bind::Double:
            FindControl<QLineEdit>(binding.id)->setText(FromCp1252(FormatDoubleShortest(values.*binding.real)));
            break;
        }
    }
    ShowFontSamples();
}

bool CPreferencesDlg::ValuesFromControls()
{
    InitDialog();
    for (const Binding& binding : kBindings) {
        bool read = true;
        switch (binding.kind) {
        case Bind::Text: values.*binding.text = ToCp1252(FindControl<QLineEdit>(binding.id)->text()); break;
        case Bind::List:
            values.*binding.list = ListFromText(FindControl<QPlainTextEdit>(binding.id)->toPlainText());
            break;
        case Bind::Check: values.*binding.number = FindControl<QCheckBox>(binding.id)->isChecked() ? 1 : 0; break;
        case Bind::Radio: values.*binding.number = Page(binding.page)->RadioGroup(binding.id)->checkedId(); break;
        case Bind::Int:
            read = ReadWholeNumberText(ToCp1252(FindControl<QLineEdit>(binding.id)->text()), values.*binding.number);
            break;
        case Bind::Double:
            read = ReadNumberText(ToCp1252(FindControl<QLineEdit>(binding.id)->text()), values.*binding.real);
            break;
        }
        if (!read) {
            ShowPage(binding.page);
            return RefuseField(FindControl<QLineEdit>(binding.id),
                               binding.kind == Bind::Int ? kEnterWholeNumberMessage : kEnterNumberMessage);
        }
    }
    return true;
}

int CPreferencesDlg::Validate()
{
    const bool bad[] = {
        IsBadMaterialColumnList(values.matshort) != 0, IsBadMaterialColumnList(values.matext1) != 0,
        IsBadMaterialColumnList(values.matext2) != 0, IsBadMaterialColumnList(values.matext3) != 0,
        IsBadElementList(values.mattab, true, true) != 0,
        IsBadGlazeColumnList(values.glzshort) != 0, IsBadGlazeColumnList(values.glzext1) != 0,
        IsBadGlazeColumnList(values.glzext2) != 0, IsBadGlazeColumnList(values.glzext3) != 0,
        IsBadElementList(values.glztab, false, true) != 0,
        IsBadElementList(values.sugord, false, false) != 0,
        IsBadOxideList(values.formedcol1) != 0, IsBadOxideList(values.formedcol2) != 0,
        IsBadOxideList(values.formedcol3) != 0, IsBadOxideList(values.formedcol4) != 0,
    };
    const auto first = std::find(std::begin(bad), std::end(bad), true);
    if (first != std::end(bad))
        return static_cast<int>(first - std::begin(bad)) + 1;
    values.sugtol = std::clamp(values.sugtol, 0.0, 100.0);
    return 0;
}

std::string CPreferencesDlg::ValidationMessage(int n)
{
    constexpr int count = static_cast<int>(std::size(kFieldMessages));
    return n >= 1 && n <= count ? kFieldMessages[n - 1] : std::string();
}

int CPreferencesDlg::PageOfField(int n)
{
    if (n >= 1 && n <= 10)
        return PrefPageListViews;
    if (n == 11)
        return PrefPageMaterials;
    if (n >= 12 && n <= 15)
        return PrefPageMisc1;
    return -1;
}

void CPreferencesDlg::SetDecimalsDefaults()
{
    const CPreferences defaults;
    for (int row = 0; row < kDecimalsRowCount; ++row) {
        FindControl<QLineEdit>(IdcDecFirst + row)->setText(QString::number(defaults.*kDecimals[row]));
        FindControl<QLineEdit>(IdcTzsFirst + row)->setText(QString::number(defaults.*kLeastDecimals[row]));
    }
}

CLogFont CPreferencesDlg::LogFontFromQFont(const QFont& font, const CLogFont& previous)
{
    CLogFont chosen = previous;
    double points = font.pointSizeF();
    if (points <= 0)
        points = QFontInfo(font).pointSizeF();
    chosen.height = static_cast<int>(std::lround(points * 10.0));
    chosen.width = 0;
    chosen.weight = font.weight();
    chosen.italic = font.italic() ? 1 : 0;
    chosen.underline = font.underline() ? 1 : 0;
    chosen.strikeOut = font.strikeOut() ? 1 : 0;
    chosen.faceName = ToCp1252(font.family());
    chosen.pitchAndFamily = QFontInfo(font).fixedPitch() ? CLogFont::kDefaultPitchAndFamily : kVariablePitchSwiss;
    return chosen;
}

void TakeEditedPreferences(const CPreferences& edited, CPreferences& prefs)
{
    for (const Binding& binding : kBindings) {
        switch (binding.kind) {
        case Bind::Text: prefs.*binding.text = edited.*binding.text; break;
        case Bind::List: prefs.*binding.list = edited.*binding.list; break;
        case Bind::Check:
        case Bind::Radio:
        case Bind::Int: prefs.*binding.number = edited.*binding.number; break;
        case Bind::Double: prefs.*binding.real = edited.*binding.real; break;
        }
    }
    prefs.edboxfont = edited.edboxfont;
    prefs.textvfont = edited.textvfont;
    prefs.glzrepfont = edited.glzrepfont;
    prefs.prtfont = edited.prtfont;
    prefs.prtrecsize = edited.prtrecsize;
    prefs.prtrecsizelist = edited.prtrecsizelist;

    TrimString(prefs.hazwarn);
    for (int row = 0; row < kDecimalsRowCount; ++row) {
        int& decimals = prefs.*kDecimals[row];
        decimals = std::clamp(decimals, 1, 12);
        int& least = prefs.*kLeastDecimals[row];
        least = std::clamp(least, -1, decimals);
    }
    prefs.ApplyColorScheme();
}
