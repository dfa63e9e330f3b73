#include "GraphTypesFixture.h"
#include "ui/support/CheckedWidgets.h"
#include "core/support/CheckedItems.h"

#include "graphs/GraphColorsDlg.h"
#include "graphs/GraphSettingsDlg.h"
#include "graphs/StylePicker.h"
#include "limits/LimitFormulasDoc.h"
#include "ui/support/OverlapCheck.h"

#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace graphtest;

namespace {

class GraphDialogsTest : public GraphTypesFixture {};

} // namespace

TEST_F(GraphDialogsTest, SettingsDialogRoundTrip)
{
    CGraphTemplate gone("deleted meanwhile");
    CGraphSettingsDlg dialog(&m_frame);
    dialog.graphTemplate = &gone;
    dialog.graphType = 16;
    dialog.glazeDb = m_glazeDoc;
    dialog.glaze = m_glazeDoc->GetGlaze(2);
    dialog.units = -1;
    // Opened as the graph window opens it: the controls are made while the dialog shows.
    dialog.show();
    EXPECT_TRUE(dialog.Combo(kGsTemplate)->isVisible());
    EXPECT_TRUE(dialog.MonochromeCheck()->isVisible());
    // Every graph type's name fits in its combo beside the arrow.
    QComboBox* types = dialog.Combo(kGsType);
    ASSERT_NE(types, nullptr);
    for (int row = 0; row < types->count(); ++row)
        EXPECT_LT(types->fontMetrics().horizontalAdvance(types->itemText(row)), types->width() - 30) << row;
    EXPECT_EQ(dialog.Combo(kGsTemplate)->currentIndex(), -1) << "a template no longer in the database";
    EXPECT_EQ(dialog.Combo(kGsType)->currentData().toInt(), 16);
    EXPECT_EQ(dialog.Combo(kGsDatabase)->currentText(), QStringLiteral("Starter Glazes"));
    EXPECT_EQ(dialog.Combo(kGsGlaze)->currentIndex(), 3) << "(none) comes first";
    EXPECT_EQ(dialog.Combo(kGsUnits)->currentText(), QStringLiteral("(default)"));
    EXPECT_EQ(dialog.Combo(kGsLimitFormula)->currentText(), QStringLiteral("(default)"));
    dialog.grab().save(ScreenshotPath("graph_settings_dialog"));

    // Choosing a template selects its type; choosing a database leaves the glaze at "(none)".
    QComboBox* templates = dialog.Combo(kGsTemplate);
    ASSERT_NE(templates, nullptr);
    templates->setCurrentIndex(8);
    emit templates->activated(8);
    EXPECT_EQ(dialog.Combo(kGsType)->currentData().toInt(), kGraphTriaxial);
    QComboBox* databases = dialog.Combo(kGsDatabase);
    ASSERT_NE(databases, nullptr);
    emit databases->activated(1);
    EXPECT_EQ(dialog.Combo(kGsGlaze)->currentText(), QStringLiteral("(none)"));
    dialog.MonochromeCheck()->setChecked(true);
    dialog.Combo(kGsUnits)->setCurrentIndex(2);
    dialog.accept();
    EXPECT_EQ(dialog.graphTemplate, &m_doc->Database().GetAt(8));
    EXPECT_EQ(dialog.graphType, kGraphTriaxial);
    EXPECT_EQ(dialog.glazeDb, m_glazeDoc);
    EXPECT_EQ(dialog.glaze, nullptr);
    EXPECT_EQ(dialog.units, 2);
    EXPECT_EQ(dialog.monochrome, 1);

    // Unity, the first of the units, is a setting like the others.
    CGraphSettingsDlg unity(&m_frame);
    unity.units = 0;
    unity.show();
    EXPECT_EQ(unity.Combo(kGsUnits)->currentText().toStdString(), "Unity");
    unity.accept();
    EXPECT_EQ(unity.units, 0);

    // So is the first template, which brings its type along.
    ASSERT_GT(m_doc->Database().GetCount(), 0);
    CGraphSettingsDlg first(&m_frame);
    first.graphType = kGraphTriaxial;
    first.show();
    first.Combo(kGsTemplate)->setCurrentIndex(0);
    emit first.Combo(kGsTemplate)->activated(0);
    first.accept();
    EXPECT_EQ(first.graphTemplate, &m_doc->Database().GetAt(0));
    EXPECT_EQ(first.graphType, RecordAt(m_doc->Database(), 0).type);
}

TEST_F(GraphDialogsTest, ColorsDialogMaterialTypes)
{
    CGraphColorsDlg dialog(&m_frame);
    dialog.materialTypes = m_doc->Database().m_materialTypeColors;
    dialog.oxides = m_doc->Database().m_oxideColors;
    dialog.InitDialog();
    const int types = dialog.materialTypes.GetCount();
    ASSERT_GT(types, 1);
    ASSERT_GT(dialog.OxideList()->count(), 0);
    EXPECT_EQ(ListRow(dialog.OxideList(), 0).text(), QStringLiteral("All Alkalis"));
    EXPECT_FALSE(dialog.Swatch(0)->isEnabled()) << "nothing chosen yet";
    // Regression: the row a list makes current when it gets the focus counted as a choice.
    QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(dialog.MaterialTypeList(), &focusIn);
    EXPECT_EQ(dialog.selectedType, -1);
    EXPECT_FALSE(dialog.Swatch(0)->isEnabled());

    // Preferences' types are added once only.
    dialog.LoadFromPreferences();
    const int afterPreferences = dialog.materialTypes.GetCount();
    dialog.LoadFromPreferences();
    EXPECT_EQ(dialog.materialTypes.GetCount(), afterPreferences);
    CMaterial stain;
    stain.m_name = "Cobalt blue stain";
    stain.m_type = "Stains";
    m_materials.InsertMaterial(0, stain);
    ASSERT_EQ(dialog.materialTypes.Find("Stains"), nullptr);
    dialog.LoadFromMaterialList();
    EXPECT_GE(dialog.materialTypes.GetCount(), afterPreferences);
    // ...and every type the materials name.
    const CMaterialArray& shipped = m_materials.Materials();
    ASSERT_GT(shipped.GetCount(), 0);
    for (int i = 0; i < shipped.GetCount(); ++i) {
        const std::string& type = Found(shipped.GetAt(i)).m_type;
        EXPECT_TRUE(type.empty() || dialog.materialTypes.Find(type)) << type;
    }

    // A colour-set press on a separator row changes no entry.
    const COxideColorList oxides = dialog.oxides;
    const CMaterialTypeColorList materials = dialog.materialTypes;
    int separator = 0;
    while (ListRow(dialog.OxideList(), separator).data(Qt::UserRole).toInt() != kGraphVariableSeparator)
        ++separator;
    dialog.OxideList()->setCurrentRow(separator);
    EXPECT_EQ(dialog.shownColor, 0);
    EXPECT_EQ(dialog.shownPattern, 0) << "a separator shows no pattern";
    QTest::mouseClick(dialog.ColorSetRadio(4), Qt::LeftButton);
    EXPECT_EQ(dialog.oxides, oxides);
    EXPECT_EQ(dialog.materialTypes, materials);

    // Renaming, colouring and deleting the last material type.
    ASSERT_GT(dialog.materialTypes.GetCount(), 0);
    const int last = dialog.materialTypes.GetCount() - 1;
    dialog.MaterialTypeList()->setCurrentRow(last);
    EXPECT_EQ(dialog.selectedOxideRow, -1) << "the oxide list is deselected";
    QTest::keyClicks(dialog.NameEdit(), "X");
    EXPECT_EQ(LastItem(dialog.materialTypes[static_cast<std::size_t>(last)].m_name), 'X');
    // The patterns show black, and in the type's colour once they are used with it.
    QTest::mouseClick(dialog.Swatch(3), Qt::LeftButton);
    const int colour = dialog.materialTypes[static_cast<std::size_t>(last)].color;
    EXPECT_NE(colour, 0);
    EXPECT_EQ(dialog.PatternButton(2)->ColorIndex(), 0);
    QTest::mouseClick(dialog.UsePatternCheck(), Qt::LeftButton);
    EXPECT_EQ(dialog.materialTypes[static_cast<std::size_t>(last)].colorWithPattern, 1);
    EXPECT_EQ(dialog.PatternButton(2)->ColorIndex(), colour);
    QTest::mouseClick(dialog.Button(kGcDelete), Qt::LeftButton);
    EXPECT_EQ(dialog.materialTypes.GetCount(), last);
    EXPECT_EQ(dialog.selectedType, -1);
    EXPECT_FALSE(dialog.Button(kGcDelete)->isEnabled());

    // New adds a type at the end while none is chosen, else right after the chosen one.
    QTest::mouseClick(dialog.Button(kGcAddNew), Qt::LeftButton);
    ASSERT_EQ(dialog.materialTypes.GetCount(), last + 1);
    EXPECT_EQ(dialog.materialTypes[static_cast<std::size_t>(last)].m_name, "new type");
    dialog.MaterialTypeList()->setCurrentRow(0);
    QTest::mouseClick(dialog.Button(kGcAddNew), Qt::LeftButton);
    ASSERT_EQ(dialog.materialTypes.GetCount(), last + 2);
    EXPECT_EQ(dialog.materialTypes[1].m_name, "new type");
    EXPECT_EQ(dialog.MaterialTypeList()->currentRow(), 1);
}

// A file may hold fewer oxide colours than there are codes: colouring a code past the end of
// the list fills the list up to it. OK drops the material types left without a name.
TEST_F(GraphDialogsTest, ColorsDialogGrowsAShortOxideListAndDropsNamelessTypes)
{
    CMaterialTypeColorList types = m_doc->Database().m_materialTypeColors;
    ASSERT_GT(types.GetCount(), 1);
    types[0].m_name.clear();
    COxideColorList shortList = m_doc->Database().m_oxideColors;
    ASSERT_GT(shortList.GetCount(), 3);
    shortList.resize(3);
    m_doc->SetColorLists(types, shortList);
    int code = -1;
    WhenModal<CGraphColorsDlg>([&code](CGraphColorsDlg& dialog) {
        for (int row = 0; row < dialog.OxideList()->count() && code < 0; ++row) {
            dialog.OxideList()->setCurrentRow(row);
            code = dialog.selectedOxideCode >= 3 && dialog.selectedOxideCode < 128 ? dialog.selectedOxideCode : -1;
        }
        QTest::mouseClick(dialog.ColorSetRadio(2), Qt::LeftButton);
        dialog.accept();
    });
    ASSERT_TRUE(EditGraphColorLists(&m_frame, *m_doc));
    ASSERT_GE(code, 3);
    const COxideColorList& oxides = m_doc->Database().m_oxideColors;
    ASSERT_EQ(oxides.GetCount(), code + 1);
    EXPECT_EQ(oxides[static_cast<std::size_t>(code)].code, code);
    EXPECT_EQ(oxides[static_cast<std::size_t>(code)].color / kGraphColorSetSize, 2);
    EXPECT_EQ(oxides[3].code, 3);
    ASSERT_EQ(m_doc->Database().m_materialTypeColors.GetCount(), types.GetCount() - 1);
    EXPECT_EQ(m_doc->Database().m_materialTypeColors[0].m_name, types[1].m_name);
}

TEST_F(GraphDialogsTest, ColorsDialogLayout)
{
    CGraphColorsDlg dialog(&m_frame);
    dialog.InitDialog();
    EXPECT_EQ(OverlappingControls(dialog), std::vector<std::string>());
    // The swatches stand in four columns, and the pattern buttons in the same columns under them.
    for (int k = 4; k < kGraphColorSetSize; ++k)
        EXPECT_EQ(dialog.Swatch(k)->x(), dialog.Swatch(k % 4)->x()) << k;
    for (int p = 0; p < 4; ++p)
        EXPECT_EQ(dialog.PatternButton(p)->x(), dialog.Swatch(p)->x()) << p;
}

TEST(GraphVariableRows, GroupsInOrder)
{
    const std::vector<CGraphVariableRow> colors = BuildGraphVariableRows(GraphVariableList::Colors);
    ASSERT_FALSE(colors.empty());
    EXPECT_EQ(colors.front(), (CGraphVariableRow{"All Alkalis", 105}));
    EXPECT_EQ(colors.back(), (CGraphVariableRow{"Cost/kg", 121}));
    const std::vector<CGraphVariableRow> fields = BuildGraphVariableRows(GraphVariableList::Fields);
    EXPECT_EQ(LastItem(fields), (CGraphVariableRow{"   ----------", 129}));
    const std::vector<CGraphVariableRow> histogram = BuildGraphVariableRows(GraphVariableList::Histogram);
    EXPECT_EQ(LastItem(histogram), (CGraphVariableRow{"Temperature (min)", 127}));
    for (const CGraphVariableRow& row : histogram) {
        EXPECT_FALSE(row.code >= 110 && row.code <= 114) << row.text;
        if (row.code == 129) {
            EXPECT_EQ(row.text, "  ----------");
        }
    }
    // Silica sits among the acids, after "All Acids".
    const auto acids = std::find(fields.begin(), fields.end(), CGraphVariableRow{"All Acids", 107});
    const auto silica = std::find(fields.begin(), fields.end(), CGraphVariableRow{"SiO2", 14});
    ASSERT_NE(silica, fields.end());
    EXPECT_LT(acids, silica);
    // Water, of element 1, is the first of the volatiles.
    const auto volatiles = std::find(fields.begin(), fields.end(), CGraphVariableRow{"All Volatiles", kGraphVarVolatiles});
    ASSERT_NE(volatiles, fields.end());
    ASSERT_NE(volatiles + 1, fields.end());
    EXPECT_EQ(*(volatiles + 1), (CGraphVariableRow{"H2O", 1}));
    // Each of the five groups ends in a separator; the other oxides close the list, with one.
    EXPECT_EQ(std::count(fields.begin(), fields.end(), CGraphVariableRow{"   ----------", 129}), 6);
    EXPECT_EQ(*(fields.end() - 2), (CGraphVariableRow{"All other oxides", kGraphVarOtherOxides}));
}

// Every symbol sample looks its own, drawn as the charts draw their markers, inside a frame
// whose dark edge is at the bottom right until the sample is the chosen one.
TEST(StylePickerTest, EverySymbolSampleLooksItsOwn)
{
    std::vector<QImage> samples;
    for (int symbol = 0; symbol < kGraphSymbolCount; ++symbol) {
        CLineStyleButton button(symbol);
        button.resize(20, 20);
        button.SetColorIndex(4);
        QImage image(20, 20, QImage::Format_RGB32);
        button.render(&image);
        samples.push_back(image);
    }
    for (int a = 0; a < kGraphSymbolCount; ++a) {
        for (int b = a + 1; b < kGraphSymbolCount; ++b)
            EXPECT_NE(samples[a], samples[b]) << "symbols " << a << " and " << b;
    }
    // The sample's box runs from (4, 4) to (13, 13) round the centre (9, 9).
    const QColor white(Qt::white);
    const auto inked = [&](int symbol, int x, int y) { return samples[symbol].pixelColor(x, y) != white; };
    EXPECT_TRUE(inked(10, 9, 5) && inked(10, 5, 9)) << "the plus: upright and level strokes";
    EXPECT_FALSE(inked(10, 5, 12));
    EXPECT_TRUE(inked(11, 5, 12) && inked(11, 5, 5)) << "the cross: both diagonals";
    EXPECT_FALSE(inked(11, 9, 5));
    EXPECT_TRUE(inked(12, 9, 5) && inked(12, 5, 9) && inked(12, 5, 12) && inked(12, 5, 5)) << "the star: all four";
    EXPECT_TRUE(inked(5, 4, 9) && !inked(5, 3, 9) && !inked(5, 5, 9)) << "the hollow square: a one-pixel outline";
    EXPECT_EQ(samples[0].pixelColor(19, 19), QColor(Qt::black));
    EXPECT_EQ(samples[0].pixelColor(0, 0), white);

    // A shown button chosen or no longer chosen paints its new frame without waiting for another
    // reason to paint (a grab would paint it anew, so the paints themselves are looked at).
    struct CFramesPainted : QObject {
        std::vector<bool> chosen;
        bool eventFilter(QObject* watched, QEvent* event) override
        {
            if (event->type() == QEvent::Paint)
                chosen.push_back(static_cast<CStylePickerButton*>(watched)->IsHighlighted());
            return false;
        }
    } painted;
    CColorSwatchButton swatch;
    swatch.resize(20, 20);
    swatch.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&swatch));
    QApplication::processEvents();
    swatch.installEventFilter(&painted);
    swatch.SetHighlighted(true);
    QApplication::processEvents();
    swatch.SetHighlighted(false);
    QApplication::processEvents();
    EXPECT_EQ(painted.chosen, (std::vector<bool>{true, false}));
}
