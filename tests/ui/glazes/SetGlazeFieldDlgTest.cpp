#include "glazes/SetGlazeFieldDlg.h"

#include "ui/support/CheckedWidgets.h"
#include "core/support/CheckedItems.h"
#include "GlazeDlgTestFixture.h"
#include "glazes/GlazeListDlgCommands.h"
#include "glazes/ResequenceDlg.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

class SetGlazeFieldDlgTest : public GlazeDlgFixture {};

using Notices = std::vector<std::pair<int, int>>;

void ChooseField(CSetGlazeFieldDlg& dialog, int field)
{
    QComboBox* fields = dialog.FieldCombo();
    ASSERT_NE(fields, nullptr);
    fields->setCurrentIndex(fields->findData(field));
    emit fields->activated(fields->currentIndex());
}

QStringList Values(const CSetGlazeFieldDlg& dialog)
{
    QStringList values;
    for (int row = 0; row < dialog.ValueCombo()->count(); ++row)
        values << dialog.ValueCombo()->itemText(row);
    return values;
}

} // namespace

TEST_F(SetGlazeFieldDlgTest, SetFieldChangesTheSelectedGlazesInOneBulkChange)
{
    m_selection.rows = {1, 3};
    int refills = 0;
    WhenDialogShows<CSetGlazeFieldDlg>([](CSetGlazeFieldDlg& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Set Field"));
        // Each field offers its own values, and choosing one empties the value.
        dialog.ValueCombo()->setEditText(QStringLiteral("left over"));
        ChooseField(dialog, kGlazeFieldByVolume);
        EXPECT_EQ(Values(dialog), (QStringList{"No", "Yes"}));
        EXPECT_EQ(dialog.ValueCombo()->currentText(), QString());
        ChooseField(dialog, kGlazeFieldBatchSize);
        EXPECT_EQ(Values(dialog), (QStringList{"100", "500", "1000", "5000", "10000"}));
        // A size no recipe holds is refused with the range message, text that is no number
        // ("12abc", not 12) with its own; the dialog stays.
        for (const char* refused : {"1e999", "12abc"}) {
            dialog.ValueCombo()->setEditText(QString::fromLatin1(refused));
            QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
            EXPECT_TRUE(dialog.isVisible()) << refused;
        }
        ChooseField(dialog, kGlazeFieldName);
        EXPECT_TRUE(Values(dialog).isEmpty());
        ChooseField(dialog, kGlazeFieldColor);
        EXPECT_EQ(Values(dialog).size(), static_cast<int>(g_prefs.glzcol.size()));
        QTest::keyClicks(dialog.ValueCombo()->lineEdit(), QStringLiteral("Red"));
        GroupButton(dialog.ScopeGroup(), 0).click();
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    });
    EXPECT_TRUE(RunSetGlazeField(*m_doc, m_list, nullptr, [this, &refills] {
        ++refills;
        m_selection.rows.clear(); // a refilled list forgets its selection
    }));

    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{"Please enter a number between 0 and 999999999.",
                                                            "Please enter a number."}));
    EXPECT_EQ(TakeNotices(), (Notices{{HintBulkChangeBegins, 0},
                                      {HintGlazeChanged, 1},
                                      {HintGlazeChanged, 3},
                                      {HintBulkChangeEndsRefreshDocument, 0}}));
    std::vector<std::string> colors;
    for (int n = 0; n < m_doc->GetGlazeCount(); ++n)
        colors.push_back(Found(m_doc->GetGlaze(n)).m_color);
    EXPECT_EQ(colors, (std::vector<std::string>{"Blue green", "Red", "White", "Red", "Light blue"}));
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_EQ(refills, 1);
    EXPECT_EQ(m_selection.rows, (std::vector<int>{1, 3}));
    EXPECT_EQ(g_prefs.m_nGlazeSetFieldScope, 0);
    EXPECT_EQ(g_prefs.m_nGlazeSetFieldChoice, kGlazeFieldColor);
    EXPECT_EQ(g_prefs.m_strGlazeSetFieldValue, "Red");

    // The next run opens with the same choices; all glazes then get the field.
    WhenDialogShows<CSetGlazeFieldDlg>([](CSetGlazeFieldDlg& dialog) {
        EXPECT_EQ(dialog.FieldCombo()->currentText(), QStringLiteral("Color"));
        EXPECT_EQ(dialog.ValueCombo()->currentText(), QStringLiteral("Red"));
        GroupButton(dialog.ScopeGroup(), 1).click();
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    });
    EXPECT_TRUE(RunSetGlazeField(*m_doc, m_list, nullptr));
    EXPECT_EQ(TakeNotices().size(), 7u);
    EXPECT_EQ(Found(m_doc->GetGlaze(0)).m_color, "Red");
}

TEST_F(SetGlazeFieldDlgTest, ResequenceNumbersTheIndexFieldsAfterThePattern)
{
    EXPECT_EQ(ResequenceTexts("T-10b", 3), (std::vector<std::string>{"T-10b", "T-11b", "T-12b"}));
    EXPECT_EQ(ResequenceTexts("X", 3), (std::vector<std::string>{"X1", "X2", "X3"}));
    EXPECT_EQ(ResequenceTexts("A001", 2), (std::vector<std::string>{"A1", "A2"}));
    EXPECT_EQ(ResequenceTexts("R-9x", 2), (std::vector<std::string>{"R-9x", "R-10x"}));

    m_selection.rows = {0, 2, 4};
    WhenDialogShows<CResequenceDlg>([](CResequenceDlg& dialog) {
        EXPECT_EQ(dialog.StartEdit()->text(), QStringLiteral("1"));
        dialog.StartEdit()->setText(QStringLiteral("G7"));
        GroupButton(dialog.ScopeGroup(), 0).click();
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    });
    EXPECT_TRUE(RunResequence(*m_doc, m_list, nullptr));
    const auto indexes = [this] {
        std::vector<std::string> texts;
        for (int n = 0; n < m_doc->GetGlazeCount(); ++n)
            texts.push_back(Found(m_doc->GetGlaze(n)).m_index);
        return texts;
    };
    EXPECT_EQ(indexes(), (std::vector<std::string>{"G7", "", "G8", "", "G9"}));
    EXPECT_EQ(TakeNotices(), (Notices{{HintBulkChangeBegins, 0},
                                      {HintGlazeChanged, 0},
                                      {HintGlazeChanged, 2},
                                      {HintGlazeChanged, 4},
                                      {HintBulkChangeEndsRefreshDocument, 0}}));
    EXPECT_EQ(g_prefs.m_strResequenceStart, "G7");

    // The next run offers the same pattern; all glazes then take numbers.
    WhenDialogShows<CResequenceDlg>([](CResequenceDlg& dialog) {
        EXPECT_EQ(dialog.StartEdit()->text(), QStringLiteral("G7"));
        GroupButton(dialog.ScopeGroup(), 1).click();
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    });
    EXPECT_TRUE(RunResequence(*m_doc, m_list, nullptr));
    EXPECT_EQ(indexes(), (std::vector<std::string>{"G7", "G8", "G9", "G10", "G11"}));
}

// Each field the dialog offers sets the glaze field of its name.
TEST_F(SetGlazeFieldDlgTest, EachOfferedFieldSetsItsOwnGlazeField)
{
    CSetGlazeFieldDlg dialog;
    dialog.InitDialog();
    const std::pair<const char*, int> fields[] = {
        {"Name", 1},       {"Date", 4},        {"Glaze Type", 5},  {"Range", 6},        {"Surface", 10},
        {"Color", 8},      {"Flaws", 16},      {"Durability", 15}, {"By Volume", 22},   {"Working Batch Size", 23},
        {"Source", 3},     {"Limit Formula", 24}};
    QComboBox* combo = dialog.FieldCombo();
    ASSERT_NE(combo, nullptr);
    for (const auto& [label, field] : fields) {
        const int at = combo->findText(QString::fromLatin1(label));
        ASSERT_GE(at, 0) << label;
        EXPECT_EQ(combo->itemData(at).toInt(), field) << label;
    }
}
