#include "support/AnchoredDialog.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSizeGrip>

#include <gtest/gtest.h>

namespace {

// Distances of a control to the four edges of its dialog.
struct Margins {
    int left, top, right, bottom;
    bool operator==(const Margins&) const = default;
};

Margins EdgeDistances(const QWidget& control, const QWidget& dialog)
{
    const QRect place = control.geometry();
    return {place.x(), place.y(), dialog.width() - (place.x() + place.width()),
            dialog.height() - (place.y() + place.height())};
}

class CTestAnchoredDialog : public CAnchoredDialog {
public:
    CTestAnchoredDialog()
    {
        resize(400, 300);
        stretch = new QLabel(QStringLiteral("stretch"), this);
        stretch->setGeometry(10, 20, 300, 200);
        corner = new QPushButton(QStringLiteral("OK"), this);
        corner->setGeometry(320, 260, 70, 25);
        centred = new QLabel(QStringLiteral("centre"), this);
        centred->setGeometry(180, 130, 40, 20);
    }
    void OnInitDialog() override
    {
        InitLayout();
        AddAnchor(stretch, AnchorTopLeft, AnchorBottomRight);
        AddAnchor(corner, AnchorBottomRight, AnchorNone);
        AddAnchor(centred, AnchorCentre, AnchorNone);
    }
    QLabel* stretch;
    QPushButton* corner;
    QLabel* centred;
};

void ResizeAndSettle(QWidget& widget, int w, int h)
{
    widget.resize(w, h);
    QApplication::processEvents();
}

} // namespace

TEST(AnchoredDialogTest, AnchoredControlsFollowTheDialogWhichNeverShrinksBelowItsFirstSize)
{
    CTestAnchoredDialog dialog;
    dialog.show();
    QApplication::processEvents();
    ASSERT_TRUE(dialog.IsLayoutInitialized());
    const QSize first = dialog.size();
    const Margins stretchMargins = EdgeDistances(*dialog.stretch, dialog);
    const Margins cornerMargins = EdgeDistances(*dialog.corner, dialog);
    const QSize cornerSize = dialog.corner->size();

    ResizeAndSettle(dialog, 640, 500);
    ASSERT_EQ(dialog.size(), QSize(640, 500));
    // Top left and bottom right: all four distances stay, the control grows.
    EXPECT_EQ(EdgeDistances(*dialog.stretch, dialog), stretchMargins);
    EXPECT_EQ(dialog.stretch->size(), QSize(540, 400));
    // Bottom right and none: same size, same distance to the right and bottom edges.
    EXPECT_EQ(dialog.corner->size(), cornerSize);
    EXPECT_EQ(EdgeDistances(*dialog.corner, dialog).right, cornerMargins.right);
    EXPECT_EQ(EdgeDistances(*dialog.corner, dialog).bottom, cornerMargins.bottom);
    // Centre and none: keeps its offset from the centre (width 640 / 2 = 320, was 200).
    EXPECT_EQ(dialog.centred->geometry(), QRect(300, 230, 40, 20));

    ResizeAndSettle(dialog, 100, 80);
    EXPECT_EQ(dialog.size(), first);
    EXPECT_EQ(dialog.minimumSize(), first);
    EXPECT_EQ(EdgeDistances(*dialog.stretch, dialog), stretchMargins);

    // Without the minimum in force the dialog may become smaller.
    dialog.SetMinimumSizeInForce(false);
    ResizeAndSettle(dialog, 300, 250);
    EXPECT_EQ(dialog.size(), QSize(300, 250));
}

TEST(AnchoredDialogTest, TheSizeGripShowsUntilItIsTurnedOff)
{
    CTestAnchoredDialog dialog;
    dialog.show();
    QApplication::processEvents();
    auto* grip = dialog.findChild<QSizeGrip*>();
    ASSERT_NE(grip, nullptr);
    EXPECT_TRUE(grip->isVisible());
    // The grip sits in the bottom-right corner, above the controls.
    EXPECT_EQ(grip->geometry().bottomRight(), dialog.rect().bottomRight());

    dialog.ShowSizeGrip(false);
    EXPECT_FALSE(dialog.IsSizeGripShown());
    auto* hidden = dialog.findChild<QSizeGrip*>();
    EXPECT_TRUE(hidden == nullptr || !hidden->isVisible());
}
