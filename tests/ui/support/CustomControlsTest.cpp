#include "support/NotesEdit.h"
#include "support/RightClickListBox.h"
#include "support/TabEdit.h"
#include "support/ToggleButton.h"
#include "support/UiHelpers.h"

#include "core/shell/FakeMessageService.h"
#include "framework/MessageService.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>

#include <gtest/gtest.h>

namespace {

const CColor kOffBackground{200, 200, 200};
const CColor kOnBackground{0, 0, 160};
const CColor kOffText{0, 0, 0};
const CColor kOnText{255, 255, 255};

QColor Pixel(const QImage& image, int x, int y)
{
    return image.pixelColor(x, y);
}

// Counts the Tab notices a partner receives.
class CTabPartner : public QObject {
public:
    int notices = 0;
    bool event(QEvent* event) override
    {
        if (event->type() == CTabEdit::PartnerEventType()) {
            ++notices;
            return true;
        }
        return QObject::event(event);
    }
};

QStringList BlockTexts(const QPlainTextEdit& edit)
{
    QStringList texts;
    for (QTextBlock block = edit.document()->begin(); block.isValid(); block = block.next())
        texts << block.text();
    return texts;
}

// Makes the text area of the box exactly width pixels wide.
void SetTextAreaWidth(CNotesEdit& edit, int width)
{
    edit.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edit.show();
    QApplication::processEvents();
    edit.resize(width + edit.width() - edit.viewport()->width(), 200);
    QApplication::processEvents();
}

} // namespace

TEST(ToggleButtonTest, OnButtonsCarryArrowsAndLookPressedWhenTheStateIsThePressedValue)
{
    QWidget owner;
    CToggleButton button(&owner);
    button.resize(120, 24);
    button.Setup(kOffBackground, kOnBackground, kOffText, kOnText, CToggleButton::ArrowDown, 1, 1, "Cap");
    EXPECT_EQ(button.DisplayText(), QStringLiteral("VV  Cap  VV"));
    EXPECT_EQ(button.text(), QStringLiteral("Cap")) << "where a form reads the caption back to recolour it";
    QImage on = button.grab().toImage();
    EXPECT_EQ(Pixel(on, 0, 0), QColor(Qt::black)); // sunken: dark top-left
    EXPECT_EQ(Pixel(on, 119, 23), QColor(Qt::white));
    EXPECT_EQ(Pixel(on, 3, 3), QColor(0, 0, 160));

    button.state = 0;
    button.Redraw();
    EXPECT_EQ(button.DisplayText(), QStringLiteral("Cap"));
    QImage off = button.grab().toImage();
    EXPECT_EQ(Pixel(off, 0, 0), QColor(Qt::white)); // raised
    EXPECT_EQ(Pixel(off, 118, 22), QColor(Qt::black)); // double bottom-right line
    EXPECT_EQ(Pixel(off, 3, 3), QColor(200, 200, 200));

    // State equal to the pressed value looks pressed even with the off colours.
    button.pressedValue = 0;
    QImage pressedOff = button.grab().toImage();
    EXPECT_EQ(Pixel(pressedOff, 0, 0), QColor(Qt::black));
    EXPECT_EQ(Pixel(pressedOff, 3, 3), QColor(200, 200, 200));

    const char* expected[] = {"Cap", "Cap  >>", "<<  Cap", "VV  Cap  VV", "^^  Cap  ^^"};
    for (int style = 0; style <= 4; ++style) {
        button.Setup(kOffBackground, kOnBackground, kOffText, kOnText, style, 1, 2, "Cap");
        EXPECT_EQ(button.DisplayText(), QString::fromLatin1(expected[style])) << style;
    }
}

TEST(Draw3DFrameTest, EdgesRunInsideTheRectangleAndOnlyRaisedFramesDoubleAtTheBottomRight)
{
    auto draw = [](bool sunken, bool doubled, bool lightGrey) {
        QImage image(10, 10, QImage::Format_RGB32);
        image.fill(QColor(100, 100, 100));
        QPainter painter(&image);
        painter.setPen(QColor(1, 2, 3));
        Draw3DFrame(painter, QRect(0, 0, 10, 10), sunken, doubled, lightGrey);
        EXPECT_EQ(painter.pen().color(), QColor(1, 2, 3));
        return image;
    };
    const QImage raised = draw(false, true, false);
    EXPECT_EQ(Pixel(raised, 0, 5), QColor(Qt::white));
    EXPECT_EQ(Pixel(raised, 1, 5), QColor(Qt::white));
    EXPECT_EQ(Pixel(raised, 9, 5), QColor(Qt::black));
    EXPECT_EQ(Pixel(raised, 8, 5), QColor(Qt::black));
    EXPECT_EQ(Pixel(raised, 5, 8), QColor(Qt::black));
    EXPECT_EQ(Pixel(raised, 5, 2), QColor(100, 100, 100));

    const QImage sunken = draw(true, true, true);
    EXPECT_EQ(Pixel(sunken, 5, 0), QColor(Qt::black));
    EXPECT_EQ(Pixel(sunken, 5, 1), QColor(Qt::black));
    EXPECT_EQ(Pixel(sunken, 5, 9), QColor(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(Pixel(sunken, 5, 8), QColor(100, 100, 100)); // no inner line at the bottom

    const QImage single = draw(false, false, false);
    EXPECT_EQ(Pixel(single, 1, 5), QColor(100, 100, 100));
}

TEST(TabEditTest, TabTypesATabWithoutPartnerAndOnlyNotifiesThePartnerOtherwise)
{
    QWidget form;
    auto* edit = new CTabEdit(&form);
    auto* next = new QLineEdit(&form);
    next->move(0, 120);
    form.show();
    edit->setFocus();
    QApplication::processEvents();

    QTest::keyClicks(edit, QStringLiteral("ab"));
    QTest::keyClick(edit, Qt::Key_Tab);
    EXPECT_EQ(edit->toPlainText(), QStringLiteral("ab\t"));
    EXPECT_TRUE(edit->hasFocus());

    CTabPartner partner;
    edit->SetPartner(&partner);
    QSignalSpy spy(edit, &CTabEdit::tabToPartner);
    QTest::keyClick(edit, Qt::Key_Tab);
    EXPECT_EQ(edit->toPlainText(), QStringLiteral("ab\t"));
    EXPECT_EQ(partner.notices, 1);
    EXPECT_EQ(spy.count(), 1);
    EXPECT_TRUE(edit->hasFocus());
}

TEST(NotesEditTest, CtrlWWrapsToTheCharactersThatFitTheBox)
{
    CNotesEdit edit;
    edit.SetAverageCharWidth(8);
    SetTextAreaWidth(edit, 100);
    ASSERT_EQ(edit.viewport()->width(), 100);
    EXPECT_EQ(edit.WrapWidth(), 20); // 100 / 8 - 2 = 10, raised to 20

    edit.setPlainText(QStringLiteral("alpha beta gamma delta epsilon\nzeta eta\n\ntheta iota kappa lambda mu"));
    QTest::keyClick(&edit, Qt::Key_W, Qt::ControlModifier);
    EXPECT_EQ(BlockTexts(edit), QStringList({"alpha beta gamma", "delta epsilon zeta", "eta", "",
                                              "theta iota kappa", "lambda mu", ""}));
    // The caret stood at the start, so it goes to the start.
    EXPECT_EQ(edit.textCursor().position(), 0);

    // Undo takes the whole re-wrap back.
    edit.undo();
    EXPECT_EQ(edit.toPlainText(),
              QStringLiteral("alpha beta gamma delta epsilon\nzeta eta\n\ntheta iota kappa lambda mu"));

    SetTextAreaWidth(edit, 400);
    EXPECT_EQ(edit.WrapWidth(), 48);
    SetTextAreaWidth(edit, 2000);
    EXPECT_EQ(edit.WrapWidth(), 160);
}

TEST(NotesEditTest, CtrlWKeepsLongTextWholeAndTheCaretAtTheEnd)
{
    CNotesEdit edit;
    edit.SetAverageCharWidth(8);
    SetTextAreaWidth(edit, 400); // 48 characters
    // A paragraph of 1,500 words, far longer than any line limit of the edit helpers, then a
    // second paragraph.
    QString words;
    for (int i = 0; i < 1500; ++i)
        words += QStringLiteral("word%1 ").arg(i % 10);
    edit.setPlainText(words.trimmed() + QStringLiteral("\n\nlast paragraph"));
    edit.moveCursor(QTextCursor::End);
    edit.Rewrap();

    QStringList lines = BlockTexts(edit);
    ASSERT_GE(lines.size(), 4);
    EXPECT_EQ(lines.takeLast(), QString());
    EXPECT_EQ(lines.takeLast(), QStringLiteral("last paragraph"));
    EXPECT_EQ(lines.takeLast(), QString());
    for (const QString& line : lines)
        EXPECT_LE(line.size(), 48);
    EXPECT_EQ(lines.join(QLatin1Char(' ')), words.trimmed());
    EXPECT_TRUE(edit.textCursor().atEnd());
}

TEST(RightClickListBoxTest, ARightClickIsReportedWithTheNoticeTheIdAndThePoint)
{
    CRightClickListBox list;
    list.controlId = 2004;
    list.addItems({"one", "two"});
    list.resize(200, 100);
    list.show();
    QApplication::processEvents();
    QSignalSpy spy(&list, &CRightClickListBox::rightClicked);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(spy.count(), 0);
    QTest::mouseClick(list.viewport(), Qt::RightButton, {}, QPoint(7, 9));
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 1234);
    EXPECT_EQ(spy.at(0).at(1).toInt(), 2004);
    EXPECT_EQ(spy.at(0).at(2).toPoint(), QPoint(7, 9));
    // The click is then handled as usual: the row under it becomes current.
    EXPECT_EQ(list.currentRow(), 0);
}

TEST(BrowseForFolderTest, OnlyAnExistingFolderWithAWritablePathIsTaken)
{
    CFakeMessageService messages;
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());

    EXPECT_EQ(FolderFromChoice(QString()), "");
    EXPECT_TRUE(messages.boxes.empty());

    EXPECT_EQ(FolderFromChoice(root.path()), root.path().toStdString());
    EXPECT_TRUE(messages.boxes.empty());

    EXPECT_EQ(FolderFromChoice(root.path() + QStringLiteral("/missing")), "");
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.At(0).text, "Couldn't get directory");
    EXPECT_EQ(messages.At(0).Icon(), static_cast<unsigned>(MsgIconError));

    // A name the program's texts cannot hold would come back as another folder's name.
    const QString foreign = root.path() + QStringLiteral("/\u96EA");
    ASSERT_TRUE(QDir().mkpath(foreign));
    EXPECT_EQ(FolderFromChoice(foreign), "");
    EXPECT_EQ(messages.boxes.size(), 2u);
}
