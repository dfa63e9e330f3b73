#include "materials/FormulaConversionDlg.h"

#include "core/support/CheckedItems.h"
#include "elements/ElementTable.h"
#include "materials/FormulaConversion.h"
#include "materials/Material.h"
#include "shell/AppContext.h"
#include "shell/Preferences.h"
#include "ui/support/OverlapCheck.h"
#include "ui/support/TestFolders.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

std::vector<bool> Enabled(const CFormulaConversionDlg& dialog)
{
    return std::vector<bool>(dialog.enabled.begin(), dialog.enabled.end());
}

CMaterial Parsed(const std::string& formula)
{
    CMaterial material("new material");
    EXPECT_EQ(material.SetFormula(formula), 0) << formula;
    return material;
}

} // namespace

TEST(FormulaConversionDlgTest, AMaterialDecidesTheConversionsAndTheUnityTargets)
{
    CAppContext context;
    g_prefs.ApplyColorScheme();
    CFormulaConversionDlg dialog;
    dialog.SetMaterial(Parsed("% 60 SiO2  20 Al2O3  10 CaCO3  5 Fe2O3  5 LOI"));
    EXPECT_EQ(Enabled(dialog), (std::vector<bool>{true, false, true, true, true, true, true, false, true}));
    EXPECT_TRUE(dialog.loiApplies);
    EXPECT_EQ(dialog.unityCodes, (std::vector<int>{-1, -2, -3, kUnitySeparator, 13, 14, 26, kUnitySeparator, 20,
                                                   kUnitySeparator, 1002}));
    EXPECT_EQ(ItemAt(dialog.unityTexts, 0), "Alkalis");
    EXPECT_EQ(ItemAt(dialog.unityTexts, 4), "Al2O3");
    EXPECT_EQ(ItemAt(dialog.unityTexts, 8), "CaO");
    EXPECT_EQ(ItemAt(dialog.unityTexts, 10), "CaCO3");

    g_prefs.m_nFormConvChoice = 7; // remembered, but Remove Forced % Sum does not apply here
    g_prefs.m_nFormConvUnityTarget = 14;
    dialog.InitDialog();
    EXPECT_EQ(dialog.Radio(kConvertOxidizeAndForce)->text(), QStringLiteral("Oxidize and Force % Sum"));
    EXPECT_FALSE(dialog.Radio(kConvertToWeightPercent)->isEnabled());
    EXPECT_TRUE(dialog.UnityCombo()->isEnabled());
    EXPECT_EQ(dialog.UnityCombo()->currentText(), QStringLiteral("SiO2"));
    EXPECT_FALSE(dialog.LoiCombo()->isHidden());
    EXPECT_EQ(dialog.LoiCombo()->currentText(), QStringLiteral("O2"));
    EXPECT_FALSE(dialog.LoiCombo()->isEnabled()) << "no conversion chosen yet";
    EXPECT_EQ(dialog.DecimalsEdit()->text(), QString::number(g_prefs.decformulas));
    dialog.show(); // the children of a dialog never shown all count as hidden
    EXPECT_EQ(OverlappingControls(dialog), std::vector<std::string>());
    dialog.hide();
        dialog.grab().save(ScreenshotFolder() + "/formula-conversion.png");

    dialog.UnityCombo()->setCurrentIndex(4);
    emit dialog.UnityCombo()->activated(4);
    EXPECT_TRUE(dialog.Radio(kConvertToUnity)->isChecked()) << "choosing a target chooses Convert to Unity";
    EXPECT_TRUE(dialog.LoiCombo()->isEnabled());
    dialog.LoiCombo()->setCurrentIndex(2); // CO2
    // A count of decimals is a whole number: "2x" and "2.5" are refused, not read as 2.
    for (const char* refused : {"2x", "2.5"}) {
        dialog.DecimalsEdit()->setText(QString::fromLatin1(refused));
        dialog.accept();
        EXPECT_EQ(dialog.result(), 0) << refused;
        EXPECT_EQ(g_prefs.m_nFormConvChoice, 7) << refused;
    }
    dialog.DecimalsEdit()->setText(QStringLiteral("2"));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.choice, kConvertToUnity);
    EXPECT_EQ(dialog.unityTarget, 13);
    EXPECT_EQ(dialog.loiOxide, 6);
    EXPECT_EQ(g_prefs.m_nFormConvChoice, kConvertToUnity);
    EXPECT_EQ(g_prefs.m_nFormConvUnityTarget, 13);
    EXPECT_EQ(g_prefs.m_nFormConvLoiOxide, 6);
    EXPECT_EQ(g_prefs.m_nFormConvDecimals, 2);
}

TEST(FormulaConversionDlgTest, ForcedValuesAndBulkUse)
{
    CAppContext context;
    CFormulaConversionDlg forced;
    forced.SetMaterial(Parsed("[MW=150] CaO  SiO2"));
    EXPECT_EQ(Enabled(forced), (std::vector<bool>{true, true, false, false, false, false, false, true, false}));
    EXPECT_FALSE(forced.loiApplies);
    EXPECT_EQ(ItemAt(forced.unityCodes, 0), -1);

    CFormulaConversionDlg all;
    all.SetAllConversions();
    EXPECT_EQ(Enabled(all), std::vector<bool>(9, true));
    ASSERT_GE(all.unityCodes.size(), 8u);
    EXPECT_EQ(std::vector<int>(all.unityCodes.begin(), all.unityCodes.begin() + 8),
              (std::vector<int>{-1, -2, -3, kUnitySeparator, 13, 14, 26, kUnitySeparator}));
    // Then every other non-volatile element once: no alumina, silica or iron again, no carbon.
    EXPECT_EQ(std::count(all.unityCodes.begin(), all.unityCodes.end(), 13), 1);
    EXPECT_EQ(std::count(all.unityCodes.begin(), all.unityCodes.end(), 26), 1);
    EXPECT_EQ(std::count(all.unityCodes.begin(), all.unityCodes.end(), 6), 0);
    EXPECT_EQ(std::count(all.unityCodes.begin(), all.unityCodes.end(), 20), 1);
    EXPECT_EQ(all.loiOxide, kDefaultLoiOxide);

    // OK without a choice ends the dialog as Cancel.
    g_prefs.m_nFormConvChoice = -1;
    g_prefs.m_nFormConvDecimals = 0; // remembered from the last conversion
    g_prefs.m_nFormConvMinDecimals = 0;
    all.InitDialog();
    EXPECT_EQ(all.DecimalsEdit()->text(), QStringLiteral("0"));
    EXPECT_TRUE(all.LoiCombo()->isHidden()) << "materials converted together keep their own LOI oxide";
    all.accept();
    EXPECT_EQ(all.result(), QDialog::Rejected);
    EXPECT_EQ(g_prefs.m_nFormConvChoice, -1);
}

// A volatile oxide of the formula (CO2, H2O) is a unity target of its own; a fixed oxide is not
// listed again as a component.
TEST(FormulaConversionDlgTest, AVolatileOxideIsAUnityTarget)
{
    CAppContext context;
    g_prefs.ApplyColorScheme();
    CFormulaConversionDlg dialog;
    dialog.SetMaterial(Parsed("% 56 CaO  44 CO2"));
    EXPECT_EQ(dialog.unityCodes, (std::vector<int>{-1, kUnitySeparator, 20, kUnitySeparator, 1001}));
    EXPECT_EQ(LastItem(dialog.unityTexts), "CO2");

    // Only main elements: one separator after them, none for the other elements it lacks.
    CFormulaConversionDlg clay;
    clay.SetMaterial(Parsed("Al2O3  2SiO2"));
    EXPECT_EQ(clay.unityCodes, (std::vector<int>{-2, -3, kUnitySeparator, 13, 14, kUnitySeparator}));
}

// Hydrogen is volatile in the shipped table; given another role in the Elements window it is a
// unity target like any element of that role, in every list of targets.
TEST(FormulaConversionDlgTest, HydrogenWithAnotherRoleIsAUnityTarget)
{
    CAppContext context;
    CElementTable working;
    working.SetRole(1, kRoleAlkali);
    const CWorkingElementTableScope scope(working);
    CFormulaConversionDlg dialog;
    dialog.SetMaterial(Parsed("H2O  SiO2"));
    EXPECT_EQ(dialog.unityCodes,
              (std::vector<int>{-1, -3, kUnitySeparator, 14, kUnitySeparator, 1, kUnitySeparator}));
    CFormulaConversionDlg all;
    all.SetAllConversions();
    EXPECT_EQ(std::count(all.unityCodes.begin(), all.unityCodes.end(), 1), 1);
}
