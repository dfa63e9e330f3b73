#include "shell/PreferencesPage.h"

#include "support/DialogStyle.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

QString GroupName(int firstId)
{
    return QStringLiteral("group") + QString::number(firstId);
}

} // namespace

CPreferencesPage::CPreferencesPage(QWidget* parent, int pageNumber)
    : QWidget(parent), number(pageNumber), backgroundColor(GetNamedColor("dlg_pref_tab"))
{
    setObjectName(QStringLiteral("page") + QString::number(pageNumber));
    QPalette colors = palette();
    colors.setColor(QPalette::Window, ToQColor(backgroundColor));
    setPalette(colors);
    setAutoFillBackground(true);
    const CDialogUnits units(font());
    resize(units.X(kPreferencesPageWidth), units.Y(kPreferencesPageHeight));
}

QButtonGroup* CPreferencesPage::RadioGroup(int firstId) const
{
    return findChild<QButtonGroup*>(GroupName(firstId), Qt::FindDirectChildrenOnly);
}

void CPreferencesPage::Place(QWidget* control, int x, int y, int width, int height) const
{
    control->setGeometry(CDialogUnits(font()).Rect(x, y, width, height));
}

QLabel* CPreferencesPage::AddLabel(const QString& text, int x, int y, int width, int height)
{
    auto* label = new QLabel(text, this);
    label->setTextFormat(Qt::PlainText);
    Place(label, x, y, width, height);
    return label;
}

QLineEdit* CPreferencesPage::AddEdit(int id, int x, int y, int width, int height)
{
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::number(id));
    Place(edit, x, y, width, height);
    return edit;
}

QPlainTextEdit* CPreferencesPage::AddListEdit(int id, int x, int y, int width, int height)
{
    auto* edit = new QPlainTextEdit(this);
    edit->setObjectName(QString::number(id));
    edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    edit->setTabChangesFocus(true);
    Place(edit, x, y, width, height);
    return edit;
}

QPlainTextEdit* CPreferencesPage::AddLabelledList(const QString& label, int id, int x, int y, int width, int height)
{
    AddLabel(label, x, y, width);
    return AddListEdit(id, x, y + 10, width, height);
}

QPushButton* CPreferencesPage::AddButton(const QString& text, int id, int x, int y, int width, int height)
{
    auto* button = new QPushButton(text, this);
    button->setObjectName(QString::number(id));
    Place(button, x, y, width, height);
    return button;
}

QCheckBox* CPreferencesPage::AddCheck(const QString& text, int id, int x, int y, int width, int height)
{
    auto* check = new QCheckBox(text, this);
    check->setObjectName(QString::number(id));
    Place(check, x, y, width, height);
    return check;
}

QButtonGroup* CPreferencesPage::AddRadioGroup(std::initializer_list<Radio> radios, int y, int height)
{
    auto* group = new QButtonGroup(this);
    int value = 0;
    for (const Radio& radio : radios) {
        auto* button = new QRadioButton(QString::fromLatin1(radio.text), this);
        button->setObjectName(QString::number(radio.id));
        Place(button, radio.x, y, radio.width, height);
        if (value == 0)
            group->setObjectName(GroupName(radio.id));
        group->addButton(button, value++);
    }
    return group;
}

CPrefFilesPage::CPrefFilesPage(QWidget* parent) : CPreferencesPage(parent, PrefPageFiles)
{
    AddLabelledList(QStringLiteral("Automatically load glaze database files :"), IdcGlzFile, 7, 5, 270, 38);
    AddButton(QStringLiteral("Browse..."), IdcBrowseGlzFile, 284, 15, 50);
    AddLabelledList(QStringLiteral("Automatically load text files :"), IdcTxtFile, 7, 57, 270, 30);
    AddButton(QStringLiteral("Browse..."), IdcBrowseTxtFile, 284, 67, 50);
    AddLabel(QStringLiteral("Backup Method :"), 7, 104, 100);
    AddRadioGroup({{IdcBackupNone, "None", 15, 45},
                   {IdcBackupBak, "file.BAK", 65, 55},
                   {IdcBackupCopy, "Copy to Directory", 125, 85},
                   {IdcBackupCascade, "Cascade to Directory", 215, 100}},
                  115);
    AddLabel(QStringLiteral("Backup Directory :"), 7, 133, 68);
    AddEdit(IdcBackDir, 77, 131, 200);
    AddButton(QStringLiteral("Browse..."), IdcBrowseBackDir, 284, 130, 50);
    AddLabelledList(QStringLiteral("Glaze Experts :"), IdcExpert, 7, 150, 270, 38);
    AddButton(QStringLiteral("Browse..."), IdcBrowseExpert, 284, 160, 50);
}

CPrefMaterialsPage::CPrefMaterialsPage(QWidget* parent) : CPreferencesPage(parent, PrefPageMaterials)
{
    AddLabelledList(QStringLiteral("Material Types :"), IdcMatTyp, 7, 5, 100, 150);
    AddButton(QStringLiteral("Set from Material List"), IdcSetMatTyp, 7, 170, 100);

    AddLabel(QStringLiteral("Remainder format :"), 120, 5, 120);
    AddRadioGroup({{IdcRmndMolecular, "Molecular", 128, 50},
                   {IdcRmndWeight, "Weight", 180, 42},
                   {IdcRmndPctMolecular, "% Molecular", 224, 58},
                   {IdcRmndPctWeight, "% Weight", 284, 50}},
                  15);
    AddCheck(QStringLiteral("Suggest unavailable materials"), IdcSugUnav, 120, 30, 200);
    AddCheck(QStringLiteral("Multiple Suggestion Passes"), IdcSugMulti, 120, 42, 200);
    AddCheck(QStringLiteral("Extended Suggestions"), IdcSugExtend, 120, 54, 200);
    AddLabel(QStringLiteral("Oxide Suggestion Order :"), 120, 69, 150);
    AddEdit(IdcSugOrd, 120, 79, 215);
    AddLabel(QStringLiteral("Suggestion tolerance for undesired oxides :"), 120, 97, 160);
    AddEdit(IdcSugTol, 282, 95, 35);
    AddRadioGroup({{IdcSugTolMolecular, "% Molecular", 128, 60}, {IdcSugTolWeight, "% Weight", 192, 60}}, 109);
    AddLabel(QStringLiteral("Material Hazard Visibility in Glaze Recipes :"), 120, 125, 215);
    AddRadioGroup({{IdcHazLow, "Low", 128, 40}, {IdcHazMedium, "Medium", 170, 50}, {IdcHazHigh, "High", 222, 40}},
                  135);
    AddLabel(QStringLiteral("Hazard Warning String :"), 120, 151, 90);
    AddEdit(IdcHazWarn, 212, 149, 123);
    AddLabel(QStringLiteral("Material Unavailability Visibility in Glaze Recipes :"), 120, 167, 215);
    AddRadioGroup({{IdcUnavLow, "Low", 128, 40}, {IdcUnavHigh, "High", 170, 40}}, 177);
}

CPrefGlazeDescPage::CPrefGlazeDescPage(QWidget* parent) : CPreferencesPage(parent, PrefPageGlazeDescriptions)
{
    struct Field {
        int id;
        const char* label;
    };
    static constexpr Field kFields[] = {
        {IdcGlzRng, "Range"}, {IdcGlzTyp, "Glaze Type"}, {IdcGlzFTyp, "Firing Type"},
        {IdcGlzQual, "Surface"}, {IdcGlzCol, "Color"}, {IdcGlzXpar, "Transparency"},
        {IdcGlzVTex, "Visual Texture"}, {IdcGlzXtal, "Crystals"}, {IdcGlzBub, "Bubbles"},
        {IdcGlzFlow, "Flow"}, {IdcGlzFlaw, "Flaws"}, {IdcGlzDur, "Durability"}, {IdcGlzTest, "Testing"},
    };
    constexpr int kColumns = 5;
    for (int i = 0; i < static_cast<int>(std::size(kFields)); ++i) {
        const int x = 7 + (i % kColumns) * 67;
        const int y = 3 + (i / kColumns) * 65;
        AddLabelledList(QString::fromLatin1(kFields[i].label), kFields[i].id, x, y, 63, 52);
    }
}

CPrefGlazeReportPage::CPrefGlazeReportPage(QWidget* parent) : CPreferencesPage(parent, PrefPageGlazeReport)
{
    AddCheck(QStringLiteral("Show Glaze Description"), IdcAnDes, 7, 7, 150);
    AddCheck(QStringLiteral("Show Recipe"), IdcAnRec, 7, 20, 150);
    AddCheck(QStringLiteral("Show Cost Summary"), IdcAnCostSum, 7, 33, 150);
    AddCheck(QStringLiteral("Show Variations"), IdcAnVar, 7, 46, 150);
    AddCheck(QStringLiteral("Show Glaze Notes"), IdcAnNotes, 7, 59, 150);
    AddCheck(QStringLiteral("Show Hazard Notes"), IdcAnHazNotes, 7, 72, 150);
    AddCheck(QStringLiteral("Show Cost Analysis"), IdcAnCost, 7, 98, 150);

    AddCheck(QStringLiteral("Show Chemical Analysis"), IdcAnChem, 170, 7, 160);
    struct Section {
        int id;
        const char* text;
    };
    static constexpr Section kSections[] = {
        {IdcAnChUnity, "Unity formula"}, {IdcAnChWtPct, "Weight percentages"},
        {IdcAnChMolPct, "Molecular percentages"}, {IdcAnChExpan, "Thermal expansion"},
        {IdcAnChVisco, "Viscosity && surface tension"}, {IdcAnChVolat, "Oxide volatilities"},
        {IdcAnChEln, "Element notes"}, {IdcAnChMatn, "Material notes"},
        {IdcAnChLimForm, "Limit formula comparison"}, {IdcAnChExpert, "Glaze expert(s)"},
    };
    int y = 20;
    for (const Section& section : kSections) {
        AddCheck(QString::fromLatin1(section.text), section.id, 182, y, 150);
        y += 13;
    }
    AddCheck(QStringLiteral("Extra formfeeds between report sections"), IdcAnFfs, 7, 180, 250);
}

CPrefUtilitiesPage::CPrefUtilitiesPage(QWidget* parent) : CPreferencesPage(parent, PrefPageUtilities)
{
    AddLabel(QStringLiteral("Text Editor :"), 7, 7, 60);
    AddEdit(IdcTextEd, 70, 5, 208);
    AddButton(QStringLiteral("Browse..."), IdcBrowseTextEd, 284, 4, 50);
    AddLabel(QStringLiteral("Image Viewer :"), 7, 24, 60);
    AddEdit(IdcImgView, 70, 22, 208);
    AddButton(QStringLiteral("Browse..."), IdcBrowseImgView, 284, 21, 50);

    AddLabel(QStringLiteral("Printing (values in 0.001 inch) :"), 7, 45, 150);
    AddLabel(QStringLiteral("Top Margin"), 15, 59, 52);
    AddEdit(IdcPrtTMar, 70, 57, 35);
    AddLabel(QStringLiteral("Bottom Margin"), 15, 75, 52);
    AddEdit(IdcPrtBMar, 70, 73, 35);
    AddLabel(QStringLiteral("Left Margin"), 115, 59, 52);
    AddEdit(IdcPrtLMar, 170, 57, 35);
    AddLabel(QStringLiteral("Right Margin"), 115, 75, 52);
    AddEdit(IdcPrtRMar, 170, 73, 35);
    AddLabel(QStringLiteral("Printer Font..."), 222, 47, 110);
    AddButton(QStringLiteral("Printer Font..."), IdcPrtFont, 222, 57, 112, 30);
    AddCheck(QStringLiteral("Formfeeds and Page Headers :"), IdcPrtUseFfs, 15, 95, 150);

    AddLabel(QStringLiteral("Timestamp format :"), 15, 114, 78);
    AddEdit(IdcPrtTimeSt, 95, 112, 120);
    AddButton(QStringLiteral("Test"), IdcTestTimeSt, 222, 111, 40);
    AddLabel(QStringLiteral("Page number format :"), 15, 131, 78);
    AddEdit(IdcPrtPgNum, 95, 129, 120);
    AddButton(QStringLiteral("Test"), IdcTestPgNum, 222, 128, 40);
    AddButton(QStringLiteral("Glaze Recipe Batch Sizes..."), IdcRecipeSizes, 15, 155, 130);
}

CPrefListViewsPage::CPrefListViewsPage(QWidget* parent) : CPreferencesPage(parent, PrefPageListViews)
{
    struct Row {
        int id;
        const char* label;
        int width;
    };
    static constexpr Row kMaterialRows[] = {
        {IdcMatShort, "Normal View columns :", 130}, {IdcMatExt1, "Extended View 1 columns :", 130},
        {IdcMatExt2, "Extended View 2 columns :", 130}, {IdcMatExt3, "Extended View 3 columns :", 130},
        {IdcMatTab, "Table View columns :", 220},
    };
    static constexpr Row kGlazeRows[] = {
        {IdcGlzShort, "Normal View columns :", 130}, {IdcGlzExt1, "Extended View 1 columns :", 130},
        {IdcGlzExt2, "Extended View 2 columns :", 130}, {IdcGlzExt3, "Extended View 3 columns :", 130},
        {IdcGlzTab, "Table View columns :", 220},
    };
    int y = 5;
    const auto addRows = [this, &y](const char* title, const Row (&rows)[5]) {
        AddLabel(QString::fromLatin1(title), 7, y, 150);
        y += 13;
        for (const Row& row : rows) {
            AddLabel(QString::fromLatin1(row.label), 15, y + 2, 95);
            AddEdit(row.id, 112, y, row.width);
            y += 15;
        }
        y += 10;
    };
    addRows("Material List View:", kMaterialRows);
    addRows("Glaze List View:", kGlazeRows);
}

CPrefMisc1Page::CPrefMisc1Page(QWidget* parent) : CPreferencesPage(parent, PrefPageMisc1)
{
    AddLabel(QStringLiteral("Edit Formula dialog box:"), 7, 4, 150);
    for (int column = 0; column < 4; ++column) {
        const int y = 15 + column * 14;
        AddLabel(QStringLiteral("Col ") + QString::number(column + 1), 15, y + 2, 25);
        AddEdit(IdcFormEdCol1 + column, 42, y, 230);
    }
    AddButton(QStringLiteral("Set Defaults"), IdcFormEdDefaults, 280, 15, 55);
    AddCheck(QStringLiteral("Automatically break apart complex components on entry"), IdcFormEdBrkCmplx, 15, 72,
             300);

    static constexpr const char* kRows[kDecimalsRowCount] = {
        "Recipe (amount)", "Recipe (pct)", "Recipe (input)", "Analysis (unity)",
        "Analysis (pct)", "Remainders", "Formulas", "Limit formulas",
    };
    AddLabel(QStringLiteral("Numeric Formats"), 7, 89, 100);
    AddLabel(QStringLiteral("Decimals"), 130, 89, 45);
    AddLabel(QStringLiteral("(minimum)"), 180, 89, 45);
    for (int row = 0; row < kDecimalsRowCount; ++row) {
        const int y = 100 + row * 12;
        AddLabel(QString::fromLatin1(kRows[row]), 15, y + 2, 110);
        AddEdit(IdcDecFirst + row, 130, y, 35, 11);
        AddEdit(IdcTzsFirst + row, 180, y, 35, 11);
    }
    AddButton(QStringLiteral("Set Defaults"), IdcDecimalsDefaults, 240, 100, 55);
}

CPrefMisc2Page::CPrefMisc2Page(QWidget* parent) : CPreferencesPage(parent, PrefPageMisc2)
{
    AddLabel(QStringLiteral("Glaze Date Format :"), 7, 7, 80);
    AddEdit(IdcDateFmt, 90, 5, 120);
    AddButton(QStringLiteral("Test"), IdcTestDateFmt, 217, 4, 40);
    AddCheck(QStringLiteral("Include Additions in chemical analyses of glazes"), IdcAnChAdd, 7, 26, 300);
    AddCheck(QStringLiteral("Show empty glaze description fields in report and printouts"), IdcEmptyDesc, 7, 40,
             300);
    AddLabel(QStringLiteral("Program Colors:"), 7, 58, 80);
    AddRadioGroup({{IdcColMonochrome, "Monochrome", 15, 70}, {IdcColMulticolor, "Multicolor", 90, 70}}, 69);

    AddLabel(QStringLiteral("Fonts:"), 7, 88, 80);
    struct FontRow {
        int id;
        const char* label;
    };
    static constexpr FontRow kFonts[] = {
        {IdcEdBoxFont, "Edit Box Font..."}, {IdcTextVFont, "Text View Font..."},
        {IdcGlzRepFont, "Report View Font..."},
    };
    int y = 99;
    for (const FontRow& row : kFonts) {
        AddLabel(QString::fromLatin1(row.label), 15, y + 7, 80);
        AddButton(QString::fromLatin1(row.label), row.id, 100, y, 160, 22);
        y += 28;
    }
}
