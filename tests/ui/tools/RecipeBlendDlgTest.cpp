#include "tools/RecipeBlendDlg.h"

#include "core/support/CheckedItems.h"
#include "tools/MixGlazesDlg.h"
#include "tools/ToolCommands.h"
#include "ui/glazes/GlazeDlgTestFixture.h"
#include "ui/support/OverlapCheck.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

class RecipeBlendDlgTest : public GlazeDlgFixture {
protected:
    // The message boxes shown so far, emptied.
    std::vector<std::string> TakeMessages()
    {
        std::vector<std::string> texts;
        for (const auto& box : m_messages.boxes)
            texts.push_back(box.text);
        m_messages.boxes.clear();
        return texts;
    }
};

void SetText(QLineEdit* edit, const QString& text)
{
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

} // namespace

TEST_F(RecipeBlendDlgTest, ALineBlendThroughItsDialogMakesTheNewDatabase)
{
    g_prefs.m_nBlendPointsAB = 3;
    CGlazesDoc* made = nullptr;
    WhenDialogShows<CLineBlendDlg>([this](CLineBlendDlg& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Line Blend"));
        EXPECT_EQ(dialog.helpId, 367u);
        // The lists hold the database's glazes; the selected rows preset the end glazes.
        ASSERT_EQ(dialog.GlazeList(0)->count(), 5);
        EXPECT_EQ(dialog.GlazeList(1)->itemText(4), QStringLiteral("Blue Satin"));
        EXPECT_EQ(dialog.GlazeList(0)->currentText(), QStringLiteral("Celadon"));
        EXPECT_EQ(dialog.GlazeList(1)->currentText(), QStringLiteral("Matte White"));
        EXPECT_EQ(dialog.GlazeList(2), nullptr);
        EXPECT_EQ(dialog.PointsACEdit(), nullptr);
        EXPECT_EQ(dialog.PointsABEdit()->text(), QStringLiteral("3"));
        SaveScreenshot(dialog, "LineBlendDlg");
        // 0 points is refused with the range message and the dialog stays.
        SetText(dialog.PointsABEdit(), QStringLiteral("0"));
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(TakeMessages(), std::vector<std::string>{"Please enter an integer between 1 and 99."});
        dialog.GlazeList(1)->setCurrentIndex(3);
        SetText(dialog.PointsABEdit(), QStringLiteral("2"));
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    });
    made = RunLineBlendCommand(*m_doc, {0, 2}, nullptr);
    ASSERT_NE(made, nullptr);
    ASSERT_NE(made, m_doc);
    // Celadon, two points between, Blue Matte.
    EXPECT_EQ(made->GetGlazeCount(), 4);
    EXPECT_EQ(g_prefs.m_nBlendPointsAB, 2);
    EXPECT_EQ(m_doc->GetGlazeCount(), 5);

    // Cancel makes nothing and keeps the remembered count.
    WhenDialogShows<CLineBlendDlg>([](CLineBlendDlg& dialog) {
        EXPECT_EQ(dialog.PointsABEdit()->text(), QStringLiteral("2"));
        SetText(dialog.PointsABEdit(), QStringLiteral("7"));
        QTest::mouseClick(dialog.CancelButton(), Qt::LeftButton);
    });
    EXPECT_EQ(RunLineBlendCommand(*m_doc, {}, nullptr), nullptr);
    EXPECT_EQ(g_prefs.m_nBlendPointsAB, 2);
}

TEST_F(RecipeBlendDlgTest, TriaxialAndSquareDialogsCheckTheirPointCounts)
{
    CTriaxialBlendDlg triaxial(*m_doc);
    triaxial.request = MakeRecipeBlendRequest(kTriaxialBlend, {1});
    triaxial.InitDialog();
    EXPECT_EQ(triaxial.windowTitle(), QStringLiteral("Triaxial Blend"));
    EXPECT_EQ(triaxial.GlazeList(0)->currentIndex(), 1);
    EXPECT_EQ(triaxial.GlazeList(1)->currentIndex(), -1);
    EXPECT_EQ(triaxial.GlazeList(3), nullptr);
    SetText(triaxial.PointsABEdit(), QStringLiteral("100"));
    triaxial.accept();
    EXPECT_EQ(triaxial.result(), QDialog::Rejected);
    SetText(triaxial.PointsABEdit(), QStringLiteral("99"));
    triaxial.accept();
    EXPECT_EQ(triaxial.result(), QDialog::Accepted);
    EXPECT_EQ(triaxial.request.pointsAB, 99);
    EXPECT_EQ(triaxial.request.endpoints, (std::array<int, 4>{1, -1, -1, -1}));
    triaxial.show();
    SaveScreenshot(triaxial, "TriaxialBlendDlg");

    CSquareBlendDlg square(*m_doc);
    square.request = MakeRecipeBlendRequest(kSquareBlend, {0, 1, 2, 3});
    square.InitDialog();
    EXPECT_EQ(square.windowTitle(), QStringLiteral("Square Blend"));
    EXPECT_EQ(square.helpId, 407u);
    EXPECT_EQ(square.GlazeList(3)->currentText(), QStringLiteral("Blue Matte"));
    SetText(square.PointsABEdit(), QStringLiteral("1"));
    SetText(square.PointsACEdit(), QStringLiteral("x"));
    square.accept();
    EXPECT_EQ(square.result(), QDialog::Rejected);
    SetText(square.PointsACEdit(), QStringLiteral("4"));
    square.GlazeList(2)->setCurrentIndex(4);
    square.accept();
    EXPECT_EQ(square.result(), QDialog::Accepted);
    EXPECT_EQ(square.request.endpoints, (std::array<int, 4>{0, 1, 4, 3}));
    EXPECT_EQ(square.request.pointsAB, 1);
    EXPECT_EQ(square.request.pointsAC, 4);
    EXPECT_EQ(TakeMessages(), (std::vector<std::string>{"Please enter an integer between 1 and 99.",
                                                        "Please enter an integer between 1 and 99."}));
    square.show();
    SaveScreenshot(square, "SquareBlendDlg");

    // A database without glazes gives empty lists and hands back -1 positions.
    m_doc->RemoveAllGlazes();
    CLineBlendDlg empty(*m_doc);
    empty.request = MakeRecipeBlendRequest(kLineBlend, {});
    empty.InitDialog();
    EXPECT_EQ(empty.GlazeList(0)->count(), 0);
    empty.accept();
    EXPECT_EQ(empty.request.endpoints, (std::array<int, 4>{-1, -1, -1, -1}));
}

TEST_F(RecipeBlendDlgTest, MixGlazesTakesPartsAndAnEmptyFirstEntry)
{
    int inserted = -2;
    WhenDialogShows<CMixGlazesDlg>([](CMixGlazesDlg& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Mix Glazes"));
        ASSERT_EQ(dialog.GlazeList(0)->count(), 6);
        EXPECT_EQ(dialog.GlazeList(0)->itemText(0), QString());
        EXPECT_EQ(dialog.GlazeList(0)->currentText(), QStringLiteral("Temmoku"));
        EXPECT_EQ(dialog.GlazeList(1)->currentText(), QStringLiteral("Blue Satin"));
        EXPECT_EQ(dialog.GlazeList(2)->currentIndex(), -1);
        EXPECT_EQ(dialog.PartsEdit(0)->text(), QStringLiteral("1"));
        EXPECT_EQ(dialog.PartsEdit(2)->text(), QStringLiteral("0"));
        SaveScreenshot(dialog, "MixGlazesDlg");
        SetText(dialog.PartsEdit(1), QStringLiteral("3"));
        dialog.GlazeList(2)->setCurrentIndex(0); // the empty entry: no glaze
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
        EXPECT_EQ(dialog.positions, (std::array<int, 4>{2, 5, 0, -1}));
        EXPECT_EQ(dialog.request.glazes, (std::array<int, 4>{1, 4, -1, -1}));
        EXPECT_EQ(dialog.request.parts[1], 3.0);
    });
    inserted = RunMixGlazesCommand(*m_doc, {1, 4}, m_list, nullptr);
    // The mixture goes in after the lower-standing source.
    EXPECT_EQ(inserted, 5);
    EXPECT_EQ(m_doc->GetGlazeCount(), 6);

    // Average Glazes has no dialog.
    EXPECT_EQ(RunAverageGlazesCommand(*m_doc, {0, 1}, m_list), 2);
    EXPECT_EQ(Found(m_doc->GetGlaze(2)).m_name, "Average of 2 glazes");
}

TEST_F(RecipeBlendDlgTest, TheGlazeRowsStandOneBelowAnother)
{
    CTriaxialBlendDlg triaxial(*m_doc);
    triaxial.request = MakeRecipeBlendRequest(kTriaxialBlend, {1});
    triaxial.InitDialog();
    EXPECT_EQ(OverlappingControls(triaxial), std::vector<std::string>());
    EXPECT_LT(triaxial.GlazeList(0)->y(), triaxial.GlazeList(1)->y());
    EXPECT_LT(triaxial.GlazeList(1)->y(), triaxial.GlazeList(2)->y());
    // The dialog is sized to its rows: it ends just below its buttons.
    const QRect ok = triaxial.OkButton()->geometry();
    EXPECT_LT(triaxial.height() - ok.bottom(), ok.height()) << triaxial.height();
}
