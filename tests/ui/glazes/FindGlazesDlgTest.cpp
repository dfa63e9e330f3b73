#include "glazes/FindGlazesDlg.h"

#include "core/support/CheckedItems.h"
#include "ui/support/CheckedWidgets.h"
#include "GlazeDlgTestFixture.h"
#include "glazes/GlazeListDlgCommands.h"
#include "glazes/GlazeSearchCriteria.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

class FindGlazesDlgTest : public GlazeDlgFixture {};

void ChooseField(CFindGlazesDlg& dialog, int row, int field)
{
    QComboBox* fields = dialog.FieldCombo(row);
    ASSERT_NE(fields, nullptr);
    fields->setCurrentIndex(fields->findData(field));
    emit fields->activated(fields->currentIndex());
}

MatchCriteria Criteria(CFindGlazesDlg& dialog)
{
    MatchCriteria request;
    dialog.request = &request;
    dialog.accept();
    dialog.request = nullptr;
    return request;
}

// The one criterion the controls make.
CGlazeSearchCriterion Only(CFindGlazesDlg& dialog)
{
    const MatchCriteria request = Criteria(dialog);
    EXPECT_EQ(request.m_criteria.m_criteria.size(), 1u);
    return request.m_criteria.m_criteria.empty() ? CGlazeSearchCriterion() : *request.m_criteria.m_criteria[0];
}

} // namespace

TEST_F(FindGlazesDlgTest, TwoCriteriaSelectTheMatchingGlazesAndAreRememberedForTheNextRun)
{
    m_selection.rows = {0};
    int refills = 0;
    WhenDialogShows<CFindGlazesDlg>([](CFindGlazesDlg& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Find Glazes"));
        EXPECT_NE(dialog.findChild<QPushButton*>(QString::number(kHelpButtonId)), nullptr) << "its help button";
        QTest::keyClicks(dialog.ColorCombo()->lineEdit(), QStringLiteral("blue"));
        ChooseField(dialog, 0, kSearchType);
        EXPECT_EQ(dialog.ValueCombo(0)->count(), static_cast<int>(g_prefs.glztyp.size()));
        QTest::keyClicks(dialog.ValueCombo(0)->lineEdit(), QStringLiteral(" matte "));
        GroupButton(dialog.SearchGroup(), 1).click();
        GroupButton(dialog.ActionGroup(), kFindSelect).click();
        SaveScreenshot(dialog, "FindGlazesDlg");
        QTest::mouseClick(dialog.SearchButton(), Qt::LeftButton);
    });
    EXPECT_TRUE(RunFindGlazes(*m_doc, m_list, nullptr, [&refills] { ++refills; }));

    // "blue" in the colour and "matte" in the type: Celadon is blue but glossy.
    EXPECT_EQ(m_selection.rows, (std::vector<int>{3, 4}));
    ASSERT_EQ(m_messages.boxes.size(), 1u);
    EXPECT_EQ(m_messages.At(0).text, "Number of glazes found by search: 2");
    EXPECT_EQ(m_messages.At(0).helpId, kGlazesFoundHelpId);
    EXPECT_EQ(m_messages.At(0).Icon(), static_cast<unsigned>(MsgIconInformation));
    EXPECT_EQ(refills, 0);
    EXPECT_EQ(g_prefs.m_strFindColor, "blue");
    EXPECT_EQ(g_prefs.m_nFindField[0], kSearchType);
    EXPECT_EQ(g_prefs.m_strFindValue[0], "matte");

    // The next run opens with those choices; "meeting ANY criteria" and "Add to selection" then
    // add every blue or matte glaze to the selection.
    m_selection.rows = {1};
    const int oxide = g_prefs.m_nFindOxide;
    g_prefs.m_nFindOxide = 20; // a remembered oxide is shown again, too
    WhenDialogShows<CFindGlazesDlg>([](CFindGlazesDlg& dialog) {
        EXPECT_EQ(dialog.OxideCombo()->currentData().toInt(), 20);
        dialog.OxideCombo()->setCurrentIndex(0);
        EXPECT_EQ(dialog.ColorCombo()->currentText(), QStringLiteral("blue"));
        EXPECT_EQ(dialog.FieldCombo(0)->currentText(), QStringLiteral("Glaze Type"));
        EXPECT_EQ(dialog.ValueCombo(0)->currentText(), QStringLiteral("matte"));
        GroupButton(dialog.CombineGroup(), kCombineAny).click();
        GroupButton(dialog.ActionGroup(), kFindAddToSelection).click();
        QTest::mouseClick(dialog.SearchButton(), Qt::LeftButton);
    });
    EXPECT_TRUE(RunFindGlazes(*m_doc, m_list, nullptr));
    EXPECT_EQ(m_selection.rows, (std::vector<int>{1, 0, 2, 3, 4}));
    g_prefs.m_nFindOxide = oxide;
    EXPECT_EQ(m_messages.Last().text, "Number of glazes found by search: 4");

    // Without any criterion the user is asked first; No ends the command.
    m_messages.answers = {MsgResultNo};
    WhenDialogShows<CFindGlazesDlg>([](CFindGlazesDlg& dialog) {
        QTest::mouseClick(dialog.ClearButton(), Qt::LeftButton);
        QTest::mouseClick(dialog.SearchButton(), Qt::LeftButton);
    });
    EXPECT_FALSE(RunFindGlazes(*m_doc, m_list, nullptr));
    EXPECT_EQ(m_messages.Last().text, "There are no search criteria - all glazes will match. Continue?");
    EXPECT_EQ(m_messages.Last().helpId, kNoSearchCriteriaHelpId);
}

TEST_F(FindGlazesDlgTest, MovingMatchesNeverLosesThemAndCopyingLeavesTheSource)
{
    MatchCriteria request;
    request.m_criteria.Add(kSearchType, kSearchContains, "matte");
    request.m_action = kFindMoveToNewDatabase;
    // No database to take them: nothing moves.
    EXPECT_EQ(ApplyFindResult(*m_doc, request, m_list), 3);
    EXPECT_EQ(m_doc->GetGlazeCount(), 5);

    CGlazesDoc target;
    const int before = target.GetGlazeCount();
    request.m_pTarget = &target;
    request.m_action = kFindCopyToNewDatabase;
    EXPECT_EQ(ApplyFindResult(*m_doc, request, m_list), 3);
    EXPECT_EQ(target.GetGlazeCount(), before + 3);
    EXPECT_EQ(m_doc->GetGlazeCount(), 5);
    EXPECT_TRUE(TakeNotices().empty());

    request.m_action = kFindMoveToNewDatabase;
    int refills = 0;
    EXPECT_EQ(ApplyFindResult(*m_doc, request, m_list, [&refills] { ++refills; }), 3);
    EXPECT_EQ(GlazeNames(), (std::vector<std::string>{"Celadon", "Temmoku"}));
    EXPECT_EQ(TakeNotices(), (std::vector<std::pair<int, int>>{{HintGlazesDeleted, 2}}));
    EXPECT_EQ(refills, 1);

    // Through the command, Copy to New Database puts the matches into a new database of search
    // results and leaves the source as it was.
    WhenDialogShows<CFindGlazesDlg>([](CFindGlazesDlg& dialog) {
        QTest::mouseClick(dialog.ClearButton(), Qt::LeftButton);
        ChooseField(dialog, 0, kSearchType);
        QTest::keyClicks(dialog.ValueCombo(0)->lineEdit(), QStringLiteral("glossy"));
        GroupButton(dialog.ActionGroup(), kFindCopyToNewDatabase).click();
        QTest::mouseClick(dialog.SearchButton(), Qt::LeftButton);
    });
    EXPECT_TRUE(RunFindGlazes(*m_doc, m_list, nullptr));
    ASSERT_EQ(m_frames.size(), 2u);
    const auto* results = dynamic_cast<const CGlazesDoc*>(m_frames[1]->view->GetDocument());
    ASSERT_NE(results, nullptr);
    EXPECT_EQ(results->GetDbName(), "Search Results");
    EXPECT_EQ(results->GetGlazeCount(), 2);
    EXPECT_EQ(GlazeNames(), (std::vector<std::string>{"Celadon", "Temmoku"}));
}

TEST_F(FindGlazesDlgTest, ControlsBecomeCriteria)
{
    CFindGlazesDlg dialog;
    dialog.InitDialog();

    // Exact beside an empty colour asks for glazes without a colour.
    dialog.ColorExactCheck()->setChecked(true);
    const CGlazeSearchCriterion color = Only(dialog);
    EXPECT_EQ(color.m_field, kSearchColor);
    EXPECT_EQ(color.m_operator, kSearchEquals);
    EXPECT_EQ(color.m_text, "");
    dialog.ColorExactCheck()->setChecked(false);

    // Dates: a year or a month alone stands for all of it.
    ChooseField(dialog, 1, kSearchDate);
    struct DateCase {
        const char* text;
        int op;
        int date1;
        int date2;
    };
    for (const DateCase& c : {DateCase{">= 2002", kSearchOnOrAfter, 20020000, 0},
                              DateCase{"<2002", kSearchBefore, 20020000, 0},
                              DateCase{"2002", kSearchBetween, 20020000, 20021231},
                              DateCase{"<= 3/2002", kSearchOnOrBefore, 20020331, 0},
                              DateCase{"> 3/15/02", kSearchAfter, 20020315, 0}}) {
        dialog.ValueCombo(1)->setEditText(QString::fromLatin1(c.text));
        const CGlazeSearchCriterion date = Only(dialog);
        EXPECT_EQ(date.m_field, kSearchDate) << c.text;
        EXPECT_EQ(date.m_operator, c.op) << c.text;
        EXPECT_EQ(date.m_date1, c.date1) << c.text;
        EXPECT_EQ(date.m_date2, c.date2) << c.text;
    }
    ChooseField(dialog, 1, kSearchByVolume);
    dialog.ValueCombo(1)->setEditText(QStringLiteral("yes"));
    EXPECT_EQ(Only(dialog).m_low, 1);
    ChooseField(dialog, 1, 0);

    // The range, firing and colour boxes offer the words of the preferences.
    for (const auto& [combo, words] : {std::pair{dialog.RangeCombo(), &g_prefs.glzrng},
                                       {dialog.FiringCombo(), &g_prefs.glzftyp}, {dialog.ColorCombo(), &g_prefs.glzcol}}) {
        std::vector<std::string> items;
        for (int i = 0; i < combo->count(); ++i)
            items.push_back(combo->itemText(i).toStdString());
        EXPECT_EQ(items, static_cast<const std::vector<std::string>&>(*words));
    }
    EXPECT_EQ(dialog.ColorCombo()->itemText(0), QStringLiteral("Clear"));

    // A range without digits adds nothing; one with cones adds the overlap test.
    dialog.RangeCombo()->setEditText(QStringLiteral("low fire"));
    EXPECT_TRUE(Criteria(dialog).m_criteria.m_criteria.empty());
    dialog.RangeCombo()->setEditText(QStringLiteral("6-10"));
    const CGlazeSearchCriterion range = Only(dialog);
    EXPECT_EQ(range.m_field, kSearchConeRange);
    EXPECT_EQ(range.m_low, 6);
    EXPECT_EQ(range.m_high, 10);
    dialog.RangeCombo()->setEditText(QString());

    // Material, oxide and limit formula; the limit formula box offers the database's formulas.
    ASSERT_GT(m_limits.Database().GetCount(), 0);
    ASSERT_EQ(dialog.LimitFormulaCombo()->count(), m_limits.Database().GetCount());
    EXPECT_EQ(dialog.LimitFormulaCombo()->itemText(0).toStdString(), RecordAt(m_limits.Database(), 0).m_name);
    // The material field is trimmed as it is left.
    dialog.MaterialEdit()->setText(QStringLiteral("  Silica "));
    emit dialog.MaterialEdit()->editingFinished();
    EXPECT_EQ(dialog.MaterialEdit()->text(), QStringLiteral("Silica"));
    dialog.MaterialEdit()->setText(QStringLiteral("\"Red Iron Oxide\""));
    dialog.OxideCombo()->setCurrentIndex(dialog.OxideCombo()->findData(20));
    dialog.LimitFormulaCombo()->setEditText(QStringLiteral("NEW limit formula"));
    MatchCriteria request = Criteria(dialog);
    ASSERT_EQ(request.m_criteria.m_criteria.size(), 3u);
    EXPECT_EQ(request.m_criteria.m_criteria[0]->m_field, kSearchMaterial);
    EXPECT_EQ(request.m_criteria.m_criteria[0]->m_text, "red iron oxide");
    EXPECT_EQ(request.m_criteria.m_criteria[1]->m_element, 20);
    EXPECT_EQ(request.m_criteria.m_criteria[2]->m_limitFormula, &m_limits.Database().GetAt(0));

    // Clear empties the criteria but keeps the radio choices.
    GroupButton(dialog.ActionGroup(), kFindCopyToNewDatabase).click();
    dialog.ExactCheck(2)->setChecked(true);
    QTest::mouseClick(dialog.ClearButton(), Qt::LeftButton);
    EXPECT_TRUE(Criteria(dialog).m_criteria.m_criteria.empty());
    EXPECT_EQ(dialog.OxideCombo()->currentText(), QStringLiteral("<none>"));
    EXPECT_EQ(dialog.ActionGroup()->checkedId(), kFindCopyToNewDatabase);
}

TEST_F(FindGlazesDlgTest, TheMaterialTextTakesTheDatabaseSpelling)
{
    CFindGlazesDlg dialog;
    dialog.InitDialog();
    const auto leave = [&dialog](const char* typed) {
        dialog.MaterialEdit()->setText(QString::fromLatin1(typed));
        dialog.NormalizeMaterial();
        return dialog.MaterialEdit()->text().toStdString();
    };
    EXPECT_EQ(leave("  silica "), "Silica");
    EXPECT_EQ(leave("whit"), "Whiting");
    EXPECT_EQ(leave("\"whit"), "\"whit");
    EXPECT_EQ(leave("unobtainium"), "unobtainium");
}

// Each field a row offers searches the glaze field of its name.
TEST_F(FindGlazesDlgTest, EachOfferedFieldSearchesItsOwnGlazeField)
{
    CFindGlazesDlg dialog;
    dialog.InitDialog();
    const std::pair<const char*, int> fields[] = {
        {"Glaze Type", kSearchType},   {"Flow", kSearchFlow},           {"Flaws", kSearchFlaws},
        {"Durability", kSearchDurability}, {"Testing", kSearchTested}, {"Image File", kSearchImageFile},
        {"Note File", kSearchNoteFile}, {"Variations", kSearchVariations}, {"Notes", kSearchNotes},
        {"By Volume", kSearchByVolume}};
    QComboBox* combo = dialog.FieldCombo(0);
    ASSERT_NE(combo, nullptr);
    for (const auto& [label, field] : fields) {
        const int at = combo->findText(QString::fromLatin1(label));
        ASSERT_GE(at, 0) << label;
        EXPECT_EQ(combo->itemData(at).toInt(), field) << label;
    }
}
