#include "support/ListView31.h"

#include "core/support/CheckedItems.h"
#include "framework/DocTemplate.h"
#include "framework/Document.h"
#include "framework/MdiFrame.h"
#include "shell/OxidariumApp.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// The columns where a painted row has ink, as runs [start, end).
std::vector<std::pair<int, int>> InkRuns(const QImage& image)
{
    std::vector<std::pair<int, int>> runs;
    int start = -1;
    for (int x = 0; x <= image.width(); ++x) {
        bool ink = false;
        for (int y = 0; x < image.width() && y < image.height() && !ink; ++y)
            ink = qGray(image.pixel(x, y)) < 128;
        if (ink && start < 0)
            start = x;
        if (!ink && start >= 0) {
            runs.emplace_back(start, x);
            start = -1;
        }
    }
    return runs;
}

// Paints row through the view's delegate, as the list does, onto a white strip.
QImage PaintRow(CListView31& view, int row)
{
    QImage image(1200, view.RowHeight(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QStyleOptionViewItem option;
    option.initFrom(&view);
    option.rect = image.rect();
    option.font = view.font();
    option.state = QStyle::State_Enabled;
    option.palette.setColor(QPalette::Text, Qt::black);
    option.palette.setColor(QPalette::Base, Qt::white);
    option.widget = &view;
    view.itemDelegate()->paint(&painter, option, view.model()->index(row, 0));
    return image;
}

// A database list as the derived views make it: several rows may be selected.
class CRecordList : public CListView31 {
public:
    CRecordList() { SetExtendedSelection(true); }
    void OnInitialUpdate() override { AddStrings({"a\t1", "b\t2", "c\t3"}); }
};

QFont PixelFont(int pixels)
{
    QFont font = QApplication::font();
    font.setPixelSize(pixels);
    return font;
}

} // namespace

TEST(ListView31Test, TabSeparatedFieldsStartAtEvery32DialogUnitsAlsoAfterAFontChange)
{
    CListView31 view;
    view.setFont(PixelFont(12));
    view.AddString("I\tI\tI");
    view.AddString(std::string(40, 'W') + "\tI"); // overruns several stops
    const int base = view.DialogBaseUnitX();
    ASSERT_GT(base, 0);
    EXPECT_EQ(view.DialogUnitsToPixels(32), 8 * base);
    EXPECT_EQ(view.FieldPositions(0), (std::vector<int>{0, 8 * base, 16 * base}));
    const std::vector<int> overrun = view.FieldPositions(1);
    ASSERT_EQ(overrun.size(), 2u);
    EXPECT_EQ(overrun[1] % (8 * base), 0);
    EXPECT_GT(overrun[1], QFontMetrics(view.font()).horizontalAdvance(QString(40, 'W')));

    // The delegate draws each field at its stop (allowing for the letter's side bearing).
    const auto runs = InkRuns(PaintRow(view, 0));
    ASSERT_EQ(runs.size(), 3u);
    for (std::size_t i = 0; i < runs.size(); ++i)
        EXPECT_NEAR(runs[i].first, view.TextMargin() + ItemAt(view.FieldPositions(0), i), 3) << "field " << i;

    view.setFont(PixelFont(24));
    const int bigBase = view.DialogBaseUnitX();
    ASSERT_GT(bigBase, base);
    EXPECT_EQ(view.FieldPositions(0), (std::vector<int>{0, 8 * bigBase, 16 * bigBase}));
    const auto bigRuns = InkRuns(PaintRow(view, 0));
    ASSERT_EQ(bigRuns.size(), 3u);
    EXPECT_NEAR(bigRuns[2].first, view.TextMargin() + 16 * bigBase, 3);
}

TEST(ListView31Test, SeveralStopsAreUsedInTurnThenTheDefaultSpacingContinues)
{
    CListView31 view;
    view.setFont(PixelFont(12));
    view.AddString("\ta\tb\tc");
    view.SetTabStops({40, 10}); // given in any order
    const int base = view.DialogBaseUnitX();
    const int p10 = view.DialogUnitsToPixels(10);
    const int p40 = view.DialogUnitsToPixels(40);
    const std::vector<int> positions = view.FieldPositions(0);
    ASSERT_EQ(positions.size(), 4u);
    EXPECT_EQ(positions[1], p10) << "a leading tab goes to the first stop";
    EXPECT_EQ(positions[2], p40);
    // After the last stop (40 units, 10 characters) the next default stop is 64 units.
    ASSERT_LT(p40 + QFontMetrics(view.font()).horizontalAdvance("b"), 16 * base);
    EXPECT_EQ(positions[3], 16 * base);
    EXPECT_EQ(view.PixelsToDialogUnits(8 * base), 32);

    view.SetTabStops(20);
    EXPECT_EQ(ItemAt(view.FieldPositions(0), 3), 3 * view.DialogUnitsToPixels(20)) << "one stop repeats";
}

TEST(ListView31Test, RowsKeepTheCoresBytesAndShowThemAsWindows1252)
{
    CListView31 view;
    EXPECT_EQ(view.AddString("Cost \x80 5"), 0);
    EXPECT_EQ(view.InsertString(0, "first"), 0);
    EXPECT_EQ(view.InsertString(-1, "last"), 2);
    EXPECT_EQ(view.InsertString(9, "nowhere"), -1);
    EXPECT_EQ(view.GetText(1), "Cost \x80 5");
    EXPECT_EQ(view.model()->index(1, 0).data().toString(), QString::fromUtf8("Cost \xE2\x82\xAC 5"));
    EXPECT_EQ(view.GetText(7), "");
    EXPECT_EQ(view.DeleteString(0), 2);
    EXPECT_EQ(view.DeleteString(5), -1);
    EXPECT_EQ(view.GetText(0), "Cost \x80 5");

    view.ResetContent();
    view.ResetContent(); // emptying an empty list changes nothing
    EXPECT_EQ(view.GetCount(), 0);
    EXPECT_EQ(view.GetTopIndex(), 0);
    EXPECT_EQ(view.GetCurSel(), -1);
    view.AddStrings({"x", "y"});
    EXPECT_EQ(view.GetCount(), 2);
    EXPECT_TRUE(view.SetCurSel(1));
    EXPECT_EQ(view.GetCurSel(), 1);
}

// A long list of costly rows fills at once: a row is built when it is first drawn or read, by
// its index at that time, and only once. Rows move with their records as the glaze list moves
// them (the records first, then the rows), and an unbuilt row is built from the record that
// stands at its place.
TEST(ListView31Test, RowsFilledUnbuiltAreBuiltOnceWhenFirstNeeded)
{
    std::vector<std::string> records{"r0", "r1", "r2", "r3", "r4"};
    int builds = 0;
    CListView31 view;
    view.AddRows(5, [&](int row) {
        ++builds;
        return records[static_cast<std::size_t>(row)] + "\tx";
    });
    ASSERT_EQ(view.GetCount(), 5);
    EXPECT_EQ(builds, 0);
    EXPECT_EQ(view.model()->index(1, 0).data().toString(), QString("r1\tx"));
    EXPECT_EQ(builds, 1);

    std::swap(records[1], records[0]); // row 1 up: a built row moves
    EXPECT_TRUE(view.MoveString(1, 0));
    std::swap(records[3], records[4]); // row 3 down: unbuilt rows move
    EXPECT_TRUE(view.MoveString(3, 4));
    EXPECT_FALSE(view.MoveString(0, 5));
    for (int row = 0; row < 5; ++row)
        EXPECT_EQ(view.GetText(row), records[static_cast<std::size_t>(row)] + "\tx") << row;
    EXPECT_EQ(view.GetText(0), "r1\tx");
    EXPECT_EQ(builds, 5);

    // Emptying drops the builder; rows added afterwards are plain.
    view.ResetContent();
    view.AddStrings({"x"});
    EXPECT_EQ(view.GetText(0), "x");
    EXPECT_EQ(builds, 5);
}

TEST(ListView31Test, SelectionCaretAndTopRow)
{
    CListView31 view;
    view.resize(300, 200);
    std::vector<std::string> rows;
    for (int i = 0; i < 200; ++i)
        rows.push_back("row " + std::to_string(i));
    view.AddStrings(rows);
    view.show();
    QApplication::processEvents();

    // Single selection: one row at a time.
    EXPECT_FALSE(view.HasExtendedSelection());
    view.SetSel(3);
    view.SetSel(5);
    EXPECT_EQ(view.GetSelItems(), std::vector<int>{5});
    EXPECT_EQ(view.GetCurSel(), 5);
    EXPECT_TRUE(view.SetCurSel(-1));
    EXPECT_EQ(view.GetSelCount(), 0);

    view.SetExtendedSelection(true);
    view.SetSel(7);
    view.SetSel(2);
    view.SelItemRange(true, 10, 12);
    EXPECT_EQ(view.GetSelItems(), (std::vector<int>{2, 7, 10, 11, 12}));
    EXPECT_TRUE(view.GetSel(11));
    EXPECT_FALSE(view.GetSel(3));
    EXPECT_FALSE(view.SetSel(200)) << "a bad index changes nothing";
    view.SetSel(11, false);
    EXPECT_EQ(view.GetSelCount(), 4);

    EXPECT_TRUE(view.SetCaretIndex(150));
    EXPECT_EQ(view.GetCaretIndex(), 150);
    EXPECT_EQ(view.GetSelItems(), (std::vector<int>{2, 7, 10, 12})) << "the caret leaves the selection alone";
    EXPECT_EQ(view.GetCurSel(), 150) << "an extended list answers its caret row";

    // Deleting a row moves the selection of the rows after it.
    view.DeleteString(0);
    EXPECT_EQ(view.GetSelItems(), (std::vector<int>{1, 6, 9, 11}));

    EXPECT_TRUE(view.SetTopIndex(40));
    EXPECT_EQ(view.GetTopIndex(), 40);
    view.SetSel(-1);
    EXPECT_EQ(view.GetSelCount(), 199);
    view.SetSel(-1, false);
    EXPECT_EQ(view.GetSelCount(), 0);
}

// Thousands of separate rows are selected, and read back, in one step each: row by row the
// selection model took time growing with the square of their number. Repeated, unsorted and
// out-of-range rows are taken as a set.
TEST(ListView31Test, ManySeparateRowsAreSelectedAndReadBackAtOnce)
{
    CListView31 view;
    view.SetExtendedSelection(true);
    view.AddStrings(std::vector<std::string>(30000, "row"));
    std::vector<int> picked{29999, -1, 30000, 6, 6};
    for (int row = 29990; row >= 0; row -= 3)
        picked.push_back(row);
    view.SelectRows(picked);
    std::vector<int> expected;
    for (int row = 2; row <= 29990; row += 3)
        expected.push_back(row);
    expected.insert(expected.begin() + 2, 6);
    expected.push_back(29999);
    EXPECT_EQ(view.GetSelItems(), expected);
    EXPECT_EQ(view.GetSelCount(), static_cast<int>(expected.size()));

    // Rows next to selected ones join them; a deselected row leaves a gap.
    view.SelectRows(std::vector<int>{3, 4});
    view.SetSel(4, false);
    EXPECT_EQ(ItemAt(view.GetSelItems(), 0), 2);
    EXPECT_EQ(ItemAt(view.GetSelItems(), 1), 3);
    EXPECT_EQ(ItemAt(view.GetSelItems(), 2), 5);
    EXPECT_EQ(view.GetSelCount(), static_cast<int>(expected.size()) + 1);
}

TEST(ListView31Test, TheHorizontalScrollBarCoversTheExtentAndTheWidestRowDrawn)
{
    CListView31 view;
    view.resize(200, 150);
    view.AddString("short");
    view.show();
    QApplication::processEvents();
    EXPECT_EQ(view.horizontalScrollBar()->maximum(), 0);

    view.SetHorizontalExtent(900);
    QApplication::processEvents();
    EXPECT_EQ(view.horizontalScrollBar()->maximum(), 900 - view.viewport()->width());

    view.SetHorizontalExtent(0);
    view.AddString("wide\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\tend");
    view.viewport()->repaint();
    QApplication::processEvents();
    const int wide = LastItem(view.FieldPositions(1)) + QFontMetrics(view.font()).horizontalAdvance("end");
    EXPECT_EQ(view.horizontalScrollBar()->maximum(), wide + 2 * view.TextMargin() - view.viewport()->width());
}

TEST(ListView31Test, ADerivedViewKeepsItsSelectionStyleInADocumentWindow)
{
    COxidariumApp app;
    CMDIMainFrame frame;
    frame.show();
    CDocTemplate docTemplate(77, "\nRecords\nRecords\n\n\n\n", [] { return std::make_unique<CDocument>(); });
    InstallViewFactory<CRecordList>(docTemplate);
    ASSERT_NE(docTemplate.OpenDocumentFile(""), nullptr);
    auto* view = dynamic_cast<CRecordList*>(frame.ActiveView());
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->HasExtendedSelection());
    EXPECT_EQ(view->GetCount(), 3);
    view->SelItemRange(true, 0, 2);
    EXPECT_EQ(view->GetSelItems(), (std::vector<int>{0, 1, 2}));
    view->ResetContent();
    EXPECT_EQ(view->GetSelCount(), 0);
    EXPECT_EQ(view->AddString("d"), 0) << "the emptied list stays usable";
    ASSERT_NE(frame.ActiveChildFrame(), nullptr);
    frame.ActiveChildFrame()->CloseFrame();
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
