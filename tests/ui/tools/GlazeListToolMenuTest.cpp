// The recipe tools as a potter reaches them: from the Utilities menu of the glaze list window of
// the running program, on the shipped databases.

#include "ProgramFixture.h"
#include "ui/support/CheckedWidgets.h"
#include "core/support/CheckedItems.h"
#include "core/framework/RecordingView.h"
#include "glazes/Glaze.h"
#include "glazes/GlazeAnalysis.h"
#include "glazes/SetGlazeFieldDlg.h"
#include "materials/MaterialsDoc.h"
#include "shell/Preferences.h"
#include "tools/FindSimilarGlazesDlg.h"
#include "tools/MixGlazesDlg.h"
#include "support/ProgressDlg.h"
#include "tools/RecipeBlendDlg.h"
#include "tools/ShoppingListDlg.h"
#include "tools/VarrowBlendDlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace {

const QStringList kLineBlendEntry{"&Utilities", "&Blend", "&Line Blend..."};
const QStringList kTriaxialBlendEntry{"&Utilities", "&Blend", "&Triaxial Blend..."};
const QStringList kSquareBlendEntry{"&Utilities", "&Blend", "S&quare Blend..."};
const QStringList kVarrowBlendEntry{"&Utilities", "&Blend", "V&arrow Recipe Blend..."};
const QStringList kMixGlazesEntry{"&Utilities", "&Blend", "Mi&x Glazes..."};
const QStringList kAverageGlazesEntry{"&Utilities", "&Blend", "A&verage Glazes"};
const QStringList kFindSimilarEntry{"&Utilities", "Fin&d Similar Glazes"};
const QStringList kShoppingListEntry{"&Utilities", "Shopping List..."};
const QStringList kOptimizeEntry{"&Utilities", "&Optimize..."};

class GlazeListToolMenuTest : public ProgramFixture {
protected:
    GlazeListToolMenuTest() : m_doc(OpenShippedGlazes()), m_list(ListOf(m_doc)) {}
    void SetUp() override
    {
        ASSERT_TRUE(m_started);
        ASSERT_NE(m_list, nullptr);
    }

    // The glaze database window that is active now.
    CGlazesDoc* ActiveGlazes() const { return dynamic_cast<CGlazesDoc*>(Frame().ActiveDocument()); }
    static std::vector<std::string> Names(const CGlazesDoc& doc)
    {
        std::vector<std::string> names;
        for (int i = 0; i < doc.GetGlazeCount(); ++i)
            names.push_back(Found(doc.GetGlaze(i)).m_name);
        return names;
    }
    static void Type(QLineEdit* edit, const QString& text)
    {
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }

    CGlazesDoc* m_doc;
    CGlazesView* m_list;
};

} // namespace

TEST_F(GlazeListToolMenuTest, TheToolEntriesFollowTheSelectionAndTheDatabaseSize)
{
    ASSERT_TRUE(m_started);
    ASSERT_NE(m_list, nullptr);
    ASSERT_EQ(m_doc->GetGlazeCount(), 10);
    for (const QStringList& always : {kFindSimilarEntry, kShoppingListEntry, kOptimizeEntry, kLineBlendEntry, kTriaxialBlendEntry,
                                      kSquareBlendEntry, kVarrowBlendEntry, kMixGlazesEntry})
        EXPECT_TRUE(IsEnabled(always)) << always.last().toStdString();
    EXPECT_FALSE(IsEnabled(kAverageGlazesEntry)) << "nothing selected";
    Select(*m_list, {2});
    EXPECT_TRUE(IsEnabled(kAverageGlazesEntry));

    // Each blend needs as many glazes as it has ends; the searches and Optimize need none.
    const auto keep = [this](int count) {
        while (m_doc->GetGlazeCount() > count)
            m_doc->DeleteGlaze(m_doc->GetGlazeCount() - 1);
        COxidariumApp::BroadcastUpdate(nullptr, m_doc, 5, HintGlazesReplaced, 0, 0);
    };
    keep(3);
    EXPECT_FALSE(IsEnabled(kSquareBlendEntry));
    EXPECT_TRUE(IsEnabled(kTriaxialBlendEntry));
    keep(2);
    EXPECT_FALSE(IsEnabled(kTriaxialBlendEntry));
    EXPECT_TRUE(IsEnabled(kLineBlendEntry));
    EXPECT_TRUE(IsEnabled(kMixGlazesEntry));
    keep(1);
    EXPECT_FALSE(IsEnabled(kLineBlendEntry));
    EXPECT_FALSE(IsEnabled(kMixGlazesEntry));
    EXPECT_TRUE(IsEnabled(kVarrowBlendEntry));
    keep(0);
    EXPECT_FALSE(IsEnabled(kVarrowBlendEntry));
    EXPECT_FALSE(IsEnabled(kAverageGlazesEntry));
    for (const QStringList& always : {kFindSimilarEntry, kShoppingListEntry, kOptimizeEntry})
        EXPECT_TRUE(IsEnabled(always)) << always.last().toStdString();
}

TEST_F(GlazeListToolMenuTest, BlendsFromTheMenuOpenNewDatabasesOfNamedGlazes)
{
    Select(*m_list, {0, 5});
    WhenDialogShows<CLineBlendDlg>([this](CLineBlendDlg& dialog) {
        EXPECT_EQ(dialog.GlazeList(0)->currentText(), QStringLiteral("Cone 6 Clear"));
        EXPECT_EQ(dialog.GlazeList(1)->currentText(), QStringLiteral("4-3-2-1 Clear"));
        // 0 and 100 points are refused with the range message; the dialog stays.
        for (const char* refused : {"0", "100"}) {
            Type(dialog.PointsABEdit(), QString::fromLatin1(refused));
            QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
            EXPECT_TRUE(dialog.isVisible()) << refused;
        }
        Type(dialog.PointsABEdit(), QStringLiteral("2"));
        SaveScreenshot(dialog, "menu-line-blend");
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    });
    ASSERT_TRUE(Choose(kLineBlendEntry));
    EXPECT_EQ(m_box.messages.Texts(), (std::vector<std::string>{"Please enter an integer between 1 and 99.",
                                                                "Please enter an integer between 1 and 99."}));
    CGlazesDoc* line = ActiveGlazes();
    ASSERT_NE(line, nullptr);
    ASSERT_NE(line, m_doc);
    EXPECT_EQ(line->GetDbName(), "Line Blend");
    EXPECT_EQ(Names(*line), (std::vector<std::string>{"100% A, 0% B", "66.7% A, 33.3% B", "33.3% A, 66.7% B",
                                                      "0% A, 100% B"}));
    ASSERT_NE(ListOf(line), nullptr);
    EXPECT_EQ(ListOf(line)->GetCount(), 4) << "the new window lists the blend";
    SaveScreenshot(*ListOf(line)->window(), "menu-line-blend-result");
    EXPECT_EQ(m_doc->GetGlazeCount(), 10) << "the source database is not changed";

    // 1 and 99 points are the limits that are accepted.
    Activate(m_list);
    Select(*m_list, {0, 1, 2});
    WhenDialogShows<CTriaxialBlendDlg>([](CTriaxialBlendDlg& dialog) {
        Type(dialog.PointsABEdit(), QStringLiteral("1"));
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    });
    ASSERT_TRUE(Choose(kTriaxialBlendEntry));
    ASSERT_NE(ActiveGlazes(), m_doc);
    EXPECT_EQ(ActiveGlazes()->GetDbName(), "Triaxial Blend");
    EXPECT_EQ(ActiveGlazes()->GetGlazeCount(), 6);

    Activate(m_list);
    Select(*m_list, {0, 1, 2, 3});
    WhenDialogShows<CSquareBlendDlg>([](CSquareBlendDlg& dialog) {
        EXPECT_EQ(dialog.GlazeList(3)->currentText(), QStringLiteral("Cone 10 Celadon"));
        Type(dialog.PointsABEdit(), QStringLiteral("99"));
        Type(dialog.PointsACEdit(), QStringLiteral("1"));
        SaveScreenshot(dialog, "menu-square-blend");
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    });
    ASSERT_TRUE(Choose(kSquareBlendEntry));
    ASSERT_NE(ActiveGlazes(), m_doc);
    EXPECT_EQ(ActiveGlazes()->GetDbName(), "Square Blend");
    EXPECT_EQ(ActiveGlazes()->GetGlazeCount(), 101 * 3);
}

TEST_F(GlazeListToolMenuTest, VarrowBlendFromTheMenu)
{
    // No "Kaolin" in the database, but a "Clay": the kaolin choice opens on it.
    ASSERT_NE(g_pMaterialsDoc, nullptr);
    CMaterialArray& materials = g_pMaterialsDoc->Materials();
    const CMaterial* kaolin = materials.FindMaterial("Kaolin");
    ASSERT_NE(kaolin, nullptr);
    CMaterial clay = *kaolin;
    clay.m_name = "Clay";
    clay.m_code.clear();
    g_pMaterialsDoc->ReplaceMaterial(materials.IndexOf(kaolin), clay);
    Select(*m_list, {1});
    WhenDialogShows<CVarrowBlendDlg>([](CVarrowBlendDlg& dialog) {
        using Id = CVarrowBlendDlg::ControlId;
        EXPECT_EQ(dialog.FindControl<QComboBox>(Id::IdGlazeC)->currentText(), QStringLiteral("Cone 6 Zircon White"));
        EXPECT_EQ(dialog.FindControl<QComboBox>(Id::IdKaolinMaterial)->currentText(), QStringLiteral("Clay"));
        // Without a component line: the message, and the dialog stays.
        QListWidget* lines = dialog.IncludeList();
        ASSERT_NE(lines, nullptr);
        ASSERT_EQ(lines->count(), 7) << "six components and the zircon addition";
        for (int row = 0; row < 6; ++row)
            ListRow(lines, row).setSelected(false);
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
        EXPECT_TRUE(dialog.isVisible());
        lines->selectAll();
        dialog.FindControl<QCheckBox>(Id::IdGenerateCorners)->setChecked(true);
        dialog.FindControl<QCheckBox>(Id::IdGenerateAll)->setChecked(true);
        Type(dialog.FindControl<QLineEdit>(Id::IdCornerBatch), QStringLiteral("0"));
        Type(dialog.FindControl<QLineEdit>(Id::IdPointsCD), QStringLiteral("3"));
        Type(dialog.FindControl<QLineEdit>(Id::IdPointsCA), QStringLiteral("5"));
        SaveScreenshot(dialog, "menu-varrow-blend");
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    });
    ASSERT_TRUE(Choose(kVarrowBlendEntry));
    EXPECT_EQ(m_box.messages.Texts(), std::vector<std::string>{"No components in Glaze C"});
    EXPECT_EQ(g_prefs.m_dVarrowCornerBatch, 300.0) << "a corner size of 0 becomes 300";
    CGlazesDoc* made = ActiveGlazes();
    ASSERT_NE(made, nullptr);
    ASSERT_NE(made, m_doc);
    // The four corners, then the grid of (3 + 2) x (5 + 2) glazes.
    EXPECT_EQ(made->GetGlazeCount(), 4 + 35);
}

TEST_F(GlazeListToolMenuTest, MixAndAverageInsertBesideTheirSources)
{
    CRecordingFrame other(*m_doc, "other");
    WhenDialogShows<CMixGlazesDlg>([](CMixGlazesDlg& dialog) {
        // Slots 2 and 4 take rows 7 and 3 (list position k is glaze k - 1).
        dialog.GlazeList(1)->setCurrentIndex(8);
        dialog.GlazeList(3)->setCurrentIndex(4);
        Type(dialog.PartsEdit(1), QStringLiteral("3"));
        Type(dialog.PartsEdit(3), QStringLiteral("1"));
        SaveScreenshot(dialog, "menu-mix-glazes");
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    });
    Select(*m_list, {});
    ASSERT_TRUE(Choose(kMixGlazesEntry));
    ASSERT_EQ(m_doc->GetGlazeCount(), 11);
    EXPECT_EQ(Found(m_doc->GetGlaze(8)).m_name, "75% Cone 10 Shino Style  25% Cone 10 Celadon");
    ASSERT_EQ(other.view->received.size(), 1u);
    EXPECT_EQ(other.view->At(0).code, HintGlazesInserted);
    EXPECT_EQ(other.view->At(0).index, 8);
    EXPECT_EQ(m_list->GetCount(), 11) << "the list shows the new glaze in its row";
    EXPECT_NE(m_list->GetText(8).find("75% Cone 10 Shino Style"), std::string::npos) << m_list->GetText(8);

    other.view->received.clear();
    Select(*m_list, {0, 1});
    ASSERT_TRUE(Choose(kAverageGlazesEntry));
    EXPECT_EQ(Found(m_doc->GetGlaze(2)).m_name, "Average of 2 glazes");
    ASSERT_EQ(other.view->received.size(), 1u);
    EXPECT_EQ(other.view->At(0).index, 2);
    EXPECT_EQ(m_list->GetSelItems(), (std::vector<int>{0, 1})) << "the selection stays";
}

// Regression: Set Field over every glaze, then File > Revert To Saved dropped the changes without
// a question. The revert asks once, naming the file; Enter (Cancel) keeps every glaze as set.
TEST_F(GlazeListToolMenuTest, RevertToSavedAfterSetFieldOverAllAsksFirst)
{
    WhenDialogShows<CSetGlazeFieldDlg>([](CSetGlazeFieldDlg& dialog) {
        QComboBox* fields = dialog.FieldCombo();
        fields->setCurrentIndex(fields->findData(kGlazeFieldColor));
        emit fields->activated(fields->currentIndex());
        dialog.ValueCombo()->setEditText(QStringLiteral("Red"));
        GroupButton(dialog.ScopeGroup(), 1).click();
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    });
    ASSERT_TRUE(Choose({"&Utilities", "Set &Field..."}));
    ASSERT_TRUE(m_doc->IsModified());
    const auto colors = [this] {
        std::vector<std::string> all;
        for (int i = 0; i < m_doc->GetGlazeCount(); ++i)
            all.push_back(Found(m_doc->GetGlaze(i)).m_color);
        return all;
    };
    const std::vector<std::string> set = colors();
    EXPECT_EQ(set, std::vector<std::string>(10, "Red"));
    m_box.messages.boxes.clear();
    ASSERT_TRUE(Choose({"&File", "&Revert To Saved"}));
    EXPECT_EQ(m_box.messages.Texts(), std::vector<std::string>{"Revert To Saved drops the unsaved changes to " +
                                                               m_box.dataDir + "/glazes.glz."});
    EXPECT_EQ(m_box.messages.Last().type & MsgDefaultMask, unsigned(MsgDefaultButton2));
    EXPECT_EQ(colors(), set);
    EXPECT_TRUE(m_doc->IsModified());
    m_box.messages.answers = {MsgResultOk};
    ASSERT_TRUE(Choose({"&File", "&Revert To Saved"}));
    EXPECT_NE(colors(), set);
    EXPECT_FALSE(m_doc->IsModified());
}
