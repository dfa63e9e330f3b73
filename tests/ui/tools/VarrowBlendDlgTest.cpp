#include "tools/VarrowBlendDlg.h"

#include "ui/support/CheckedWidgets.h"
#include "ui/support/OverlapCheck.h"
#include "core/support/CheckedItems.h"
#include "FieldCaption.h"
#include "tools/ToolCommands.h"
#include "ui/glazes/GlazeDlgTestFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

class VarrowBlendDlgTest : public GlazeDlgFixture {
protected:
    VarrowBlendDlgTest()
    {
        g_prefs.decrecipepct = 2;
        g_prefs.tzsrecipepct = 0;
        if (m_doc && m_doc->GetGlazeCount() > 0) // else the fixture's SetUp stops the test
            Found(m_doc->GetGlaze(0)).m_additions.Add("Rutile", 4);
    }
    // The control with id id; a missing one fails the test and a blank one stands in.
    template <class Widget>
    static Widget* At(const CVarrowBlendDlg& dialog, int id,
                      std::source_location where = std::source_location::current())
    {
        return &Control(dialog.FindControl<Widget>(id), where);
    }
    static void Type(CVarrowBlendDlg& dialog, int id, const QString& text)
    {
        QLineEdit* edit = At<QLineEdit>(dialog, id);
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    static QString Shown(const CVarrowBlendDlg& dialog, int id) { return At<QLabel>(dialog, id)->text(); }
};

using Id = CVarrowBlendDlg::ControlId;

} // namespace

TEST_F(VarrowBlendDlgTest, LinesSharesAndChecks)
{
    // Every blank around the number is doubled.
    EXPECT_EQ(VarrowIncludeLine(30.0, "Silica", false), "  30.    %  Silica");
    EXPECT_EQ(VarrowIncludeLine(4.5, "Rutile", true), "+     4.5  %  Rutile");
    EXPECT_EQ(VarrowShareText(120.0, 0.0), "0");
    EXPECT_EQ(VarrowShareText(33.33, 0.0), "66.7");
    EXPECT_EQ(VarrowShareText(60.0, 50.0), "0");

    CVarrowBlendDlg dialog(*m_doc);
    dialog.request.startGlaze = 0;
    dialog.InitDialog();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Varrow Recipe Blend"));
    EXPECT_EQ(CaptionFault(*dialog.IncludeList(), "Include these lines :"), "");
    EXPECT_EQ(CaptionFault(*At<QComboBox>(dialog, Id::IdGlazeC), "Glaze C (starting recipe) :"), "");
    // The defaults of the working preferences; the kaolin and silica found by their usual names.
    EXPECT_EQ(At<QLineEdit>(dialog, Id::IdKaolinA)->text(), QStringLiteral("40"));
    EXPECT_EQ(At<QLineEdit>(dialog, Id::IdSilicaD)->text(), QStringLiteral("50"));
    EXPECT_EQ(At<QLineEdit>(dialog, Id::IdCornerBatch)->text(), QStringLiteral("300"));
    EXPECT_EQ(At<QLineEdit>(dialog, Id::IdPointsCD)->text(), QStringLiteral("3"));
    EXPECT_EQ(At<QComboBox>(dialog, Id::IdKaolinMaterial)->currentText(), QStringLiteral("Kaolin"));
    EXPECT_EQ(At<QComboBox>(dialog, Id::IdSilicaMaterial)->currentText(), QStringLiteral("Silica"));
    EXPECT_EQ(Shown(dialog, Id::IdKaolinName), QStringLiteral("Kaolin"));
    EXPECT_EQ(Shown(dialog, Id::IdShareA), QStringLiteral("60"));
    EXPECT_EQ(Shown(dialog, Id::IdShareB), QStringLiteral("35"));
    EXPECT_EQ(Shown(dialog, Id::IdUnit), QStringLiteral("g"));

    // Celadon's lines, components scaled to 100, every line selected; the addition tagged 1000.
    QListWidget* lines = dialog.IncludeList();
    ASSERT_NE(lines, nullptr);
    ASSERT_EQ(lines->count(), 5);
    EXPECT_EQ(ListRow(lines, 0).text(), QStringLiteral("  30.    %  Silica"));
    EXPECT_EQ(ListRow(lines, 4).text(), QStringLiteral("+     4.    %  Rutile"));
    EXPECT_EQ(ListRow(lines, 4).data(Qt::UserRole).toInt(), 1000);
    EXPECT_EQ(lines->selectedItems().size(), 5);

    // Typing shows glaze C's share; the check boxes enable their controls; units change the label.
    Type(dialog, Id::IdKaolinA, QStringLiteral("120"));
    EXPECT_EQ(Shown(dialog, Id::IdShareA), QStringLiteral("0"));
    At<QCheckBox>(dialog, Id::IdGenerateCorners)->setChecked(false);
    At<QCheckBox>(dialog, Id::IdGenerateAll)->setChecked(false);
    EXPECT_FALSE(At<QLineEdit>(dialog, Id::IdCornerBatch)->isEnabled());
    EXPECT_FALSE(At<QLineEdit>(dialog, Id::IdPointsCA)->isEnabled());
    At<QCheckBox>(dialog, Id::IdGenerateCorners)->click();
    At<QCheckBox>(dialog, Id::IdGenerateAll)->click();
    EXPECT_TRUE(At<QLineEdit>(dialog, Id::IdCornerBatch)->isEnabled());
    EXPECT_TRUE(At<QLineEdit>(dialog, Id::IdPointsCA)->isEnabled());
    At<QRadioButton>(dialog, Id::IdVolumes)->click();
    EXPECT_EQ(Shown(dialog, Id::IdUnit), QStringLiteral("ml"));

    // Without components: the message, and the dialog stays open.
    for (int row = 0; row < 4; ++row)
        ListRow(lines, row).setSelected(false);
    dialog.accept();
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"No components in Glaze C"});
    EXPECT_EQ(m_messages.Last().helpId, kVarrowCheckHelpId);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(g_prefs.m_dVarrowKaolinA, 40.0);

    // Point counts beyond 0 to 99 are refused with the range message, not clamped.
    m_messages.boxes.clear();
    Type(dialog, Id::IdPointsCA, QStringLiteral("100"));
    dialog.accept();
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Please enter an integer between 0 and 99."});
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    Type(dialog, Id::IdPointsCA, QStringLiteral("4"));

    // Clamped and defaulted values are kept on OK, with the chosen lines.
    ListRow(lines, 0).setSelected(true);
    ListRow(lines, 2).setSelected(true);
    Type(dialog, Id::IdCornerBatch, QStringLiteral("0"));
    Type(dialog, Id::IdKaolinB, QStringLiteral("80"));
    Type(dialog, Id::IdSilicaB, QStringLiteral("120"));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.request.kaolinA, 100.0);
    EXPECT_EQ(dialog.request.cornerBatch, 300.0);
    EXPECT_DOUBLE_EQ(dialog.request.kaolinB + dialog.request.silicaB, 100.0);
    EXPECT_DOUBLE_EQ(dialog.request.kaolinB, 80.0 * 100.0 / 180.0); // 80 and 100 shrink in proportion
    ASSERT_EQ(dialog.request.components.GetCount(), 2);
    EXPECT_EQ(RecordAt(dialog.request.components, 1).m_name, "Kaolin");
    EXPECT_EQ(dialog.request.additions.GetCount(), 1);
    EXPECT_EQ(g_prefs.m_dVarrowKaolinA, 100.0);
    EXPECT_EQ(g_prefs.m_nVarrowUnits, 1);
    EXPECT_EQ(g_prefs.m_strVarrowKaolin, "Kaolin");
    EXPECT_EQ(g_prefs.m_strVarrowSilica, "Silica");
}

TEST_F(VarrowBlendDlgTest, TheCommandRemembersItsChoicesAndMakesTheBlend)
{
    // No "Kaolin" any more, but a "Clay": the kaolin list opens on it.
    CMaterial clay = *m_materials.Materials().GetAt(2);
    clay.m_name = "Clay";
    m_materials.ReplaceMaterial(2, clay);
    g_prefs.m_nVarrowPointsCD = 1;
    g_prefs.m_nVarrowPointsCA = 1;
    WhenDialogShows<CVarrowBlendDlg>([](CVarrowBlendDlg& dialog) {
        EXPECT_EQ(At<QComboBox>(dialog, Id::IdGlazeC)->currentText(), QStringLiteral("Blue Satin"));
        EXPECT_EQ(At<QComboBox>(dialog, Id::IdKaolinMaterial)->currentText(), QStringLiteral("Clay"));
        At<QCheckBox>(dialog, Id::IdGenerateCorners)->setChecked(true);
        At<QCheckBox>(dialog, Id::IdGenerateAll)->setChecked(true);
        SaveScreenshot(dialog, "VarrowBlendDlg");
        EXPECT_EQ(OverlappingControls(dialog), std::vector<std::string>());
        for (const auto& [id, caption] : {std::pair{Id::IdCornerBatch, "Batch size of each corner :"},
                                          {Id::IdBlendBatch, "Size of each glaze :"},
                                          {Id::IdPointsCD, "Points between C and D :"},
                                          {Id::IdPointsCA, "Points between C and A :"}, {Id::IdSilicaD, "%"}})
            EXPECT_EQ(CaptionFault(*At<QLineEdit>(dialog, id), caption), "") << caption;
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    });
    CGlazesDoc* made = RunVarrowBlendCommand(*m_doc, {4}, nullptr);
    ASSERT_NE(made, nullptr);
    // Four corners, then a grid of 3 x 3 glazes.
    EXPECT_EQ(made->GetGlazeCount(), 4 + 9);
    EXPECT_EQ(g_prefs.m_strVarrowKaolin, "Clay");

    // The next opening shows the last OK's choices.
    WhenDialogShows<CVarrowBlendDlg>([](CVarrowBlendDlg& dialog) {
        EXPECT_TRUE(At<QCheckBox>(dialog, Id::IdGenerateCorners)->isChecked());
        EXPECT_TRUE(At<QCheckBox>(dialog, Id::IdGenerateAll)->isChecked());
        EXPECT_EQ(At<QComboBox>(dialog, Id::IdKaolinMaterial)->currentText(), QStringLiteral("Clay"));
        EXPECT_EQ(At<QComboBox>(dialog, Id::IdGlazeC)->currentIndex(), -1);
        EXPECT_EQ(dialog.IncludeList()->count(), 0);
        QTest::mouseClick(dialog.CancelButton(), Qt::LeftButton);
    });
    EXPECT_EQ(RunVarrowBlendCommand(*m_doc, {}, nullptr), nullptr);
}

// What the user typed and chose is what the blend is made of.
TEST_F(VarrowBlendDlgTest, ATypedCornerBatchAndWeightsAreKept)
{
    CVarrowBlendDlg dialog(*m_doc);
    dialog.request.startGlaze = 0;
    dialog.InitDialog();
    QCheckBox* corners = At<QCheckBox>(dialog, Id::IdGenerateCorners);
    if (!corners->isChecked())
        corners->click(); // the corner batch is typed only when corners are made
    ASSERT_TRUE(At<QLineEdit>(dialog, Id::IdCornerBatch)->isEnabled());
    // A size that is no number is refused, not read as the number it begins with.
    Type(dialog, Id::IdCornerBatch, QStringLiteral("4,5"));
    dialog.accept();
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Please enter a number."});
    EXPECT_EQ(dialog.result(), 0);
    Type(dialog, Id::IdCornerBatch, QStringLiteral("450"));
    At<QRadioButton>(dialog, Id::IdVolumes)->click();
    At<QRadioButton>(dialog, Id::IdWeights)->click();
    dialog.accept();
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.request.cornerBatch, 450.0);
    EXPECT_EQ(dialog.request.amounts, kVarrowMaterialWeights);
}
