#include "tools/ShoppingListDlg.h"

#include "framework/Cp1252.h"
#include "shell/Preferences.h"
#include "support/NumberField.h"

#include <QButtonGroup>
#include <QLineEdit>

#include <algorithm>

namespace {

// What the size field shows before anything was typed into it.
constexpr const char* kDefaultSizeText = "100";

} // namespace

CShoppingListDlg::CShoppingListDlg(QWidget* parent)
    : CToolDlg(parent, kShoppingListDlgHelpId, "ged_tab")
{
    setWindowTitle(QStringLiteral("Make Shopping List"));
    AddGroup(QStringLiteral("Glazes"), 8, 4, 200, 40);
    m_glazes = new QButtonGroup(this);
    AddRadio(m_glazes, QStringLiteral("Currently selected glazes"), IdSelectedGlazes, kShopSelectedGlazes, 14, 16, 180);
    AddRadio(m_glazes, QStringLiteral("All glazes in the current database"), IdAllGlazes, kShopAllGlazes, 14, 28, 180);

    AddGroup(QStringLiteral("Size of each glaze"), 8, 50, 200, 52);
    m_size = new QButtonGroup(this);
    AddRadio(m_size, QStringLiteral("Working batch size"), IdWorkingBatchSize, kShopWorkingBatchSize, 14, 62, 180);
    AddRadio(m_size, QStringLiteral("Recipe size"), IdRecipeSize, kShopRecipeSize, 14, 74, 180);
    AddRadio(m_size, QStringLiteral("Size :"), IdCustomSize, kShopCustomSize, 14, 86, 34);
    m_sizeText = AddEdit(IdSizeText, 50, 85, 50);
    AddLabel(QStringLiteral("grams"), 0, 104, 87, 30);

    AddGroup(QStringLiteral("Amounts in"), 8, 108, 200, 28);
    m_unit = new QButtonGroup(this);
    AddRadio(m_unit, QStringLiteral("Pounds (lb)"), IdPounds, kShopPounds, 14, 120, 60);
    AddRadio(m_unit, QStringLiteral("Kilograms (kg)"), IdKilograms, kShopKilograms, 76, 120, 66);
    AddRadio(m_unit, QStringLiteral("Grams (g)"), IdGrams, kShopGrams, 146, 120, 56);

    AddOkCancelHelp(8, 144);
    ResizeDlu(216, 166);
    setFixedSize(size());
}

void CShoppingListDlg::OnInitDialog()
{
    request.glazes = g_prefs.m_nShopGlazes;
    request.recipeSize = g_prefs.m_nShopRecipeSize;
    request.unit = g_prefs.m_nShopUnit;
    request.sizeText = g_prefs.m_strShopSizeText.empty() ? kDefaultSizeText : g_prefs.m_strShopSizeText;
    CheckRadioValue(m_glazes, request.glazes);
    CheckRadioValue(m_size, request.recipeSize);
    CheckRadioValue(m_unit, request.unit);
    m_sizeText->setText(FromCp1252(request.sizeText));
}

void CShoppingListDlg::accept()
{
    // The report reads the number the size begins with ("500g" is 500 g): "1e308 g" would be
    // 1e308 g, and its totals "inf lb".
    if (m_size->checkedId() == kShopCustomSize && !(ShoppingSizeOf(ToCp1252(m_sizeText->text())) <= kMaxRecipeAmount)) {
        RefuseField(m_sizeText, NumberRangeMessage(0.0, kMaxRecipeAmount));
        return;
    }
    InitDialog();
    request.glazes = std::max(0, m_glazes->checkedId());
    request.recipeSize = std::max(0, m_size->checkedId());
    request.unit = std::max(0, m_unit->checkedId());
    request.sizeText = ToCp1252(m_sizeText->text());
    g_prefs.m_nShopGlazes = request.glazes;
    g_prefs.m_nShopRecipeSize = request.recipeSize;
    g_prefs.m_nShopUnit = request.unit;
    g_prefs.m_strShopSizeText = request.sizeText;
    CToolDlg::accept();
}
