#include "materials/SetMaterialFieldDlg.h"

#include "materials/MaterialArray.h"

#include "shell/AppContext.h"
#include "shell/Preferences.h"
#include "ui/support/TestFolders.h"

#include <QComboBox>
#include <QDir>
#include <QRadioButton>

#include <gtest/gtest.h>

namespace {

QStringList Items(const QComboBox* combo)
{
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts << combo->itemText(i);
    return texts;
}

} // namespace

TEST(SetMaterialFieldDlgTest, ValueChoicesFollowTheField)
{
    CAppContext context;
    g_prefs.ApplyColorScheme();
    CSetMaterialFieldDlg dialog;
    dialog.scope = 1;
    dialog.fieldPosition = 5; // "Available"
    dialog.valueText = "Yes";
    dialog.InitDialog();
    EXPECT_EQ(dialog.FieldCombo()->count(), kMaterialFieldChoiceCount);
    EXPECT_EQ(dialog.FieldCombo()->currentText(), QStringLiteral("Available"));
    EXPECT_EQ(Items(dialog.ValueCombo()), (QStringList{"No", "Yes"}));
    EXPECT_EQ(dialog.ValueCombo()->currentText(), QStringLiteral("Yes"));
    EXPECT_TRUE(dialog.AllRadio()->isChecked());
        dialog.show();
    dialog.grab().save(ScreenshotFolder() + "/set-material-field.png");

    // Another field empties both the value text and its list.
    dialog.FieldCombo()->setCurrentIndex(0);
    EXPECT_TRUE(Items(dialog.ValueCombo()).isEmpty());
    EXPECT_EQ(dialog.ValueCombo()->currentText(), QString());

    dialog.FieldCombo()->setCurrentIndex(2); // "Type": the preferred types
    EXPECT_EQ(dialog.ValueCombo()->count(), static_cast<int>(g_prefs.mattyp.size()));
    EXPECT_EQ(dialog.ValueCombo()->itemText(0), QStringLiteral("frit"));

    // Density and cost are numbers: "2,6" is refused, not set as 2.
    dialog.FieldCombo()->setCurrentIndex(3); // "Density"
    dialog.ValueCombo()->setEditText(QStringLiteral("2,6"));
    dialog.accept();
    EXPECT_EQ(dialog.result(), 0) << "the dialog stays open";

    dialog.FieldCombo()->setCurrentIndex(10); // "Analysis Notes"
    dialog.ValueCombo()->setEditText(QStringLiteral("from the supplier"));
    dialog.SelectedRadio()->setChecked(true);
    dialog.accept();
    EXPECT_EQ(dialog.scope, 0);
    EXPECT_EQ(dialog.fieldPosition, 10);
    EXPECT_EQ(dialog.fieldNumber, 13);
    EXPECT_EQ(dialog.valueText, "from the supplier");
}

// Each field the dialog offers sets the material field of its name. Regression: a density or cost
// with more places than the file keeps was set as typed, and came back rounded from the file; it is
// set as the file keeps it, in the database's cost places.
TEST(SetMaterialFieldDlgTest, EachOfferedFieldSetsItsOwnMaterialField)
{
    CAppContext context;
    const auto set = [](const char* label, const char* value, int costPlaces = 2) {
        CMaterialArray materials;
        materials.m_costPlacesRight = costPlaces;
        CMaterial silica("Silica");
        silica.m_notes.assign(1, "old");
        silica.m_anNotes.assign(1, "old");
        silica.m_hazNotes.assign(1, "old");
        materials.InsertCopy(0, silica);
        for (const SMaterialFieldChoice& choice : g_materialFieldChoices) {
            if (std::string(choice.label) == label)
                materials.SetField(0, choice.field, value);
        }
        const CMaterial* material = materials.GetAt(0);
        if (!material)
            ADD_FAILURE() << "the material was not inserted";
        return material ? *material : CMaterial();
    };
    EXPECT_EQ(set("Name", "Flint").m_name, "Flint");
    EXPECT_EQ(set("Code", "FL").m_code, "FL");
    EXPECT_EQ(set("Type", "glass former").m_type, "glass former");
    EXPECT_DOUBLE_EQ(set("Density", "2.655").m_density, 2.7);
    EXPECT_DOUBLE_EQ(set("Cost", "1.505").m_costPerLb, 1.51);
    EXPECT_DOUBLE_EQ(set("Cost", "0.8536", 3).m_costPerLb, 0.854);
    EXPECT_EQ(set("Available", "Yes").m_available, 1);
    EXPECT_EQ(set("Formula", "SiO2").m_formula, "SiO2");
    EXPECT_EQ(set("Formula", "SiO2").m_mapTo, "");
    EXPECT_EQ(set("Map to", "Flint").m_mapTo, "Flint");
    EXPECT_EQ(set("Date", "2026-12-09").m_date, "2026-12-09");
    using Lines = std::vector<std::string>;
    EXPECT_EQ(Lines(set("Notes", "new").m_notes), (Lines{"new"}));
    EXPECT_EQ(Lines(set("Notes (appended)", "new").m_notes), (Lines{"old", "new"}));
    EXPECT_EQ(Lines(set("Analysis Notes", "new").m_anNotes), (Lines{"new"}));
    EXPECT_EQ(Lines(set("Analysis Notes (appended)", "new").m_anNotes), (Lines{"old", "new"}));
    EXPECT_EQ(Lines(set("Hazard Notes", "new").m_hazNotes), (Lines{"new"}));
    EXPECT_EQ(Lines(set("Hazard Notes (appended)", "new").m_hazNotes), (Lines{"old", "new"}));
}
