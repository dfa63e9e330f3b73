#include "shell/RecipeSizeDlg.h"

#include "framework/Cp1252.h"
#include "shell/Preferences.h"
#include "shell/PreferencesDlg.h"
#include "support/NumberField.h"
#include "support/TextHelpers.h"

#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <sstream>

namespace {

constexpr int kSizesEditId = 7087;
constexpr int kChoiceIds[] = {7088, 7089, 7090};
constexpr const char* kChoiceTexts[] = {"Working Batch size", "Original recipe size", "Custom sizes :"};

} // namespace

CRecipeSizePrefsDlg::CRecipeSizePrefsDlg(QWidget* parent) : CStyledDialog(parent, kHelpRecipeSizeDlg)
{
    backgroundColor = GetNamedColor("dlg_pref_tab");
    setWindowTitle(QStringLiteral("Recipe Size Preferences"));
    CreateControls();
}

void CRecipeSizePrefsDlg::CreateControls()
{
    ResizeDlu(262, 122);
    auto* question =
        new QLabel(QStringLiteral("At what batch sizes would you like your recipes to be printed ?"), this);
    PlaceDlu(question, 7, 7, 248, 8);
    m_choices = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        auto* radio = new QRadioButton(QString::fromLatin1(kChoiceTexts[i]), this);
        SetControlId(radio, kChoiceIds[i]);
        PlaceDlu(radio, 15, 21 + i * 13, i == 2 ? 62 : 120, 10);
        m_choices->addButton(radio, i);
    }
    m_sizes = new QLineEdit(this);
    SetControlId(m_sizes, kSizesEditId);
    PlaceDlu(m_sizes, 80, 46, 175, 12);
    auto* hint = new QLabel(QStringLiteral("Enter the recipe batch sizes to print, separated by commas. Use \"R\" for "
                                           "the original recipe size and \"W\" for the Working Batch size."),
                            this);
    hint->setWordWrap(true);
    PlaceDlu(hint, 15, 64, 240, 26);

    m_saveAndUse = AddButton(QStringLiteral("Save and Use"), PrefResultSaveAndUse, 7, 100, 60, 14);
    m_use = AddButton(QStringLiteral("Use"), PrefResultUse, 73, 100, 50, 14);
    m_cancel = AddButton(QStringLiteral("Cancel"), PrefResultCancel, 175, 100, 50, 14);
    m_help = AddHelpButton(235, 100, 20, 14);
    connect(m_saveAndUse, &QPushButton::clicked, this, [this] { OnConfirm(PrefResultSaveAndUse); });
    connect(m_use, &QPushButton::clicked, this, [this] { OnConfirm(PrefResultUse); });
    connect(m_cancel, &QPushButton::clicked, this, &CRecipeSizePrefsDlg::reject);
    setFixedSize(size());
}

void CRecipeSizePrefsDlg::OnInitDialog()
{
    if (okForm) {
        m_saveAndUse->setText(QStringLiteral("OK"));
        m_use->hide();
    }
    if (QAbstractButton* chosen = m_choices->button(choice))
        chosen->setChecked(true);
    m_sizes->setText(FromCp1252(sizes));
}

void CRecipeSizePrefsDlg::OnConfirm(int result)
{
    // Each custom size is a recipe size: none may be beyond what a recipe holds.
    if (m_choices->checkedId() == 2) {
        std::stringstream entries(ToCp1252(m_sizes->text()));
        for (std::string entry; std::getline(entries, entry, ',');) {
            if (IsNumberBeyond(entry, kMaxRecipeAmount)) {
                RefuseField(m_sizes, NumberRangeMessage(0.0, kMaxRecipeAmount));
                return;
            }
        }
    }
    InitDialog();
    choice = m_choices->checkedId();
    sizes = ToCp1252(m_sizes->text());
    done(result);
}

// Escape and the close box answer as Cancel does.
void CRecipeSizePrefsDlg::reject()
{
    done(PrefResultCancel);
}

void TakeRecipeSizeResult(const CRecipeSizePrefsDlg& dialog, int result)
{
    if (result != PrefResultUse && result != PrefResultSaveAndUse)
        return;
    std::string sizes = dialog.sizes;
    TrimString(sizes);
    g_prefs.prtrecsize = dialog.choice;
    g_prefs.prtrecsizelist = sizes;
    if (result == PrefResultSaveAndUse) {
        g_savedPrefs.prtrecsize = dialog.choice;
        g_savedPrefs.prtrecsizelist = sizes;
        g_savedPrefs.Save();
    }
}

void SetUpRecipeBatchSizes()
{
    CRecipeSizePrefsDlg dialog(nullptr);
    dialog.choice = g_prefs.prtrecsize;
    dialog.sizes = g_prefs.prtrecsizelist;
    const int result = dialog.exec();
    TakeRecipeSizeResult(dialog, result);
}
