#include "glazes/CheckIngredients.h"

#include "ui/support/CheckedWidgets.h"
#include "ui/support/OverlapCheck.h"
#include "core/support/CheckedItems.h"
#include "GlazeDlgTestFixture.h"
#include "core/framework/RecordingView.h"
#include "core/shell/ScriptedEditViews.h"
#include "core/textfile/FakeTextView.h"
#include "glazes/CheckIngredientsDlg.h"
#include "glazes/CheckIngredientsMapDlg.h"
#include "glazes/CheckIngredientsSkipDlg.h"
#include "glazes/GlazeAnalysis.h"
#include "textfile/Information.h"
#include "textfile/TextFileDoc.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <deque>

namespace {

// Answers the disposition questions from a script and notes what each question preselected.
class CScriptedPrompter : public CCheckIngredientsPrompter {
public:
    struct Answer {
        int result;
        int action = kCheckNoAction;
        std::string target;
    };
    int AskUnknown(const std::string& name, int& action, std::string& target) override
    {
        asked.push_back(name);
        preselected.push_back(action);
        if (unknown.empty()) {
            ADD_FAILURE() << "an unscripted question about the unknown ingredient " << name;
            return 2; // Cancel
        }
        const Answer answer = unknown.front();
        unknown.pop_front();
        action = answer.action;
        target = answer.target;
        return answer.result;
    }
    int AskUnavailable(const std::string& name) override
    {
        asked.push_back(name);
        if (unavailable.empty()) {
            ADD_FAILURE() << "an unscripted question about the unavailable ingredient " << name;
            return 2; // Cancel
        }
        const int result = unavailable.front();
        unavailable.pop_front();
        return result;
    }
    std::deque<Answer> unknown;
    std::deque<int> unavailable;
    std::vector<std::string> asked;
    std::vector<int> preselected;
};

class CheckIngredientsTest : public GlazeDlgFixture {
protected:
    CheckIngredientsTest()
    {
        m_texts->SetFrameFactory([this](CDocTemplate&, CDocument& document, bool) {
            m_textFrames.push_back(std::make_unique<CFakeTextFrame>(document));
            return true;
        });
        g_pTextFileTemplate = m_texts.get();
        // The same unknown name in other letters, and a third unknown material.
        if (!m_doc || m_doc->GetGlazeCount() != 5)
            return; // the fixture's SetUp stops the test
        Found(m_doc->GetGlaze(2)).m_additions.Add("RED IRON OXIDE", 2);
        Found(m_doc->GetGlaze(4)).m_additions.Add("Tin Oxide", 3);
        Found(m_doc->GetGlaze(4)).InvalidateAnalysis();
        Found(m_doc->GetGlaze(2)).InvalidateAnalysis();
    }
    ~CheckIngredientsTest() override
    {
        if (g_pInformationDoc)
            g_pInformationDoc->OnCloseDocument();
        g_pTextFileTemplate = nullptr;
    }
    static std::string Information()
    {
        return g_pInformationDoc ? FakeViewOf(g_pInformationDoc).Text() : "";
    }
    CCheckIngredientsOptions Prompting() const
    {
        CCheckIngredientsOptions options;
        options.listInformation = 0;
        options.prompt = 1;
        return options;
    }

    std::unique_ptr<CDocTemplate> m_texts = CreateTextFileTemplate();
    std::vector<std::unique_ptr<CFakeTextFrame>> m_textFrames;
};

using Notices = std::vector<std::pair<int, int>>;

} // namespace

TEST_F(CheckIngredientsTest, UnknownAndUnavailableMaterialsAreListedAndTheirGlazesSelected)
{
    CCheckIngredientsOptions options;
    options.unavailable = 1;
    options.selectGlazes = 1;
    CScriptedPrompter prompter;
    CCheckIngredients check(*m_doc, m_list);
    check.Run(options, prompter);
    EXPECT_EQ(Information(), "Unknown materials:\r\n"
                             "  Red Iron Oxide\r\n"
                             "  Tin Oxide\r\n"
                             "  Zircopax\r\n"
                             "\r\n"
                             "Unavailable materials:\r\n"
                             "  Rutile\r\n"
                             "\r\n");
    EXPECT_EQ(m_selection.rows, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_TRUE(prompter.asked.empty());
    EXPECT_TRUE(m_messages.boxes.empty());
    EXPECT_TRUE(TakeNotices().empty());

    // Known, available materials only: both lists say so and nothing is selected.
    for (int n = 4; n >= 1; --n)
        m_doc->DeleteGlaze(n);
    CCheckIngredients clean(*m_doc, m_list);
    clean.Run(options, prompter);
    EXPECT_EQ(Information(), "No unknown materials\r\nNo unavailable materials\r\n");
    EXPECT_TRUE(m_selection.rows.empty());

    // Nothing to check.
    options.allGlazes = 0;
    CCheckIngredients(*m_doc, m_list).Run(options, prompter);
    ASSERT_EQ(m_messages.boxes.size(), 1u);
    EXPECT_EQ(m_messages.At(0).text, "No glazes to check!");
    EXPECT_EQ(m_messages.At(0).helpId, kNoGlazesToCheckHelpId);
}

TEST_F(CheckIngredientsTest, ChangeToRenamesTheIngredientInEveryLetterCase)
{
    CScriptedPrompter prompter;
    prompter.unknown = {{1, kCheckChangeTo, "Rutile"}, {kCheckSkipId, kCheckNoAction, ""}, {kCheckSkipId, kCheckNoAction, ""}};
    m_doc->GetGlaze(0)->m_additions.Add("Red Iron Oxide", 1);
    ASSERT_EQ(Found(m_doc->GetGlaze(1)).GetAnalysis().componentItems.at(2).flags, kItemNotInDatabase);
    int refills = 0;
    CCheckIngredients check(*m_doc, m_list);
    check.Run(Prompting(), prompter, [&refills] { ++refills; });
    EXPECT_EQ(prompter.asked, (std::vector<std::string>{"Red Iron Oxide", "Tin Oxide", "Zircopax"}));
    EXPECT_EQ(Found(m_doc->GetGlaze(1)).m_components.at(2)->m_name, "Rutile");
    EXPECT_EQ(Found(m_doc->GetGlaze(2)).m_additions.at(0)->m_name, "Rutile");
    EXPECT_EQ(Found(m_doc->GetGlaze(2)).m_components.at(2)->m_name, "Zircopax");
    // The renamed recipe's chemistry finds the material it now names (marked not available).
    EXPECT_EQ(Found(m_doc->GetGlaze(1)).GetAnalysis().componentItems.at(2).flags, kItemNotAvailable);
    EXPECT_TRUE(m_doc->IsModified());
    ASSERT_EQ(m_messages.boxes.size(), 1u);
    EXPECT_EQ(m_messages.At(0).text, "Summary of changes:\n  1 ingredient name changed\n");
    EXPECT_EQ(m_messages.At(0).helpId, kCheckSummaryHelpId);
    EXPECT_EQ(Found(m_doc->GetGlaze(0)).m_additions.at(0)->m_name, "Rutile");
    // Only the glazes renamed are announced (glaze 4 is flagged for another name): a form on an
    // unchanged glaze has nothing to ask about.
    EXPECT_EQ(TakeNotices(), (Notices{{HintGlazeChanged, 0}, {HintGlazeChanged, 1}, {HintGlazeChanged, 2}}));
    EXPECT_EQ(refills, 1);
    EXPECT_EQ(m_materials.Materials().GetCount(), 5);
}

TEST_F(CheckIngredientsTest, CreatingMaterialsCountsThemAndOffersToEditThem)
{
    // Create All at the first name creates all three.
    CScriptedPrompter prompter;
    prompter.unknown = {{kCheckCreateAllId, kCheckNoAction, ""}};
    m_messages.answers = {MsgResultOk, MsgResultNo};
    CCheckIngredients(*m_doc, m_list).Run(Prompting(), prompter);
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{
                                      "Summary of changes:\n  3 new materials created\n",
                                      "Don't forget to set up the new materials you created!\nDo you want to edit them now?"}));
    EXPECT_EQ(m_messages.At(1).helpId, kEditNewMaterialsHelpId);
    ASSERT_EQ(m_materials.Materials().GetCount(), 8);
    EXPECT_EQ(RecordAt(m_materials.Materials(), 5).m_name, "Red Iron Oxide");
    EXPECT_EQ(RecordAt(m_materials.Materials(), 7).m_type, "new");
    EXPECT_EQ(TakeNotices(), (Notices{{HintMaterialsReplaced, 0}}));
    // Every glaze of the database is computed again against the new materials.
    EXPECT_TRUE(Found(m_doc->GetGlaze(4)).GetAnalysis().IsValid());
}

TEST_F(CheckIngredientsTest, MappingAndMarkingAvailableAreSummedUp)
{
    CScriptedPrompter prompter;
    prompter.unknown = {{1, kCheckCreateAndMap, "Silica"}, {1, kCheckCreate, ""}, {1, kCheckMakeAlias, "no such"}};
    prompter.unavailable = {1};
    CCheckIngredientsOptions options = Prompting();
    options.unavailable = 1;
    m_messages.answers = {MsgResultOk, MsgResultNo};
    CCheckIngredients(*m_doc, m_list).Run(options, prompter);
    // After a creating choice the next question offers "Create new material".
    EXPECT_EQ(prompter.preselected, (std::vector<int>{kCheckNoAction, kCheckCreate, kCheckCreate}));
    ASSERT_FALSE(m_messages.boxes.empty());
    EXPECT_EQ(m_messages.At(0).text, "Summary of changes:\n"
                                        "  2 new materials created (1 mapped)\n"
                                        "  1 material made available\n"
                                        "  1 unspecified error\n");
    const CMaterial* mapped = m_materials.Materials().GetAt(5);
    ASSERT_NE(mapped, nullptr);
    EXPECT_EQ(mapped->m_mapTo, "Silica");
    EXPECT_EQ(mapped->m_formula, "SiO2");
    EXPECT_EQ(Found(m_materials.Materials().FindMaterial(std::string_view("Rutile"))).m_available, 1);
}

TEST_F(CheckIngredientsTest, MakeAliasGivesTheMaterialTheNameAndSaysSo)
{
    CScriptedPrompter prompter;
    prompter.unknown = {{1, kCheckMakeAlias, "Rutile"}, {kCheckSkipId, kCheckNoAction, ""}, {kCheckSkipId, kCheckNoAction, ""}};
    CCheckIngredients(*m_doc, m_list).Run(Prompting(), prompter);
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{"Summary of changes:\n  1 material alias added\n"}));
    // A name changed besides is summed up with it.
    CCheckIngredients both(*m_doc, m_list);
    both.namesChanged = both.aliasesAdded = 1;
    EXPECT_EQ(both.SummaryText(), "Summary of changes:\n  1 ingredient name changed\n  1 material alias added\n");
    EXPECT_EQ(Found(m_materials.Materials().FindMaterial(std::string_view("Rutile"))).m_akaNames,
              (CStringArrayEx{"Red Iron Oxide"}));
}

// Regression: the notice that the materials changed closed every material form, its unsaved edits
// gone without a question. The forms on the materials a disposition changes are asked first;
// Cancel there cancels as in a disposition. Then: every material form was asked, and a No
// dropped its edits, though the disposition left its material alone.
TEST_F(CheckIngredientsTest, CancelLeavesRecipesAndMaterialsAlone)
{
    CScriptedViews<CMaterialEditViews, CScriptedLink> materialForms(DbFileType::Materials);
    CRecordingFrame form(m_materials, "material form");
    materialForms.Script(form.view.get()).answer = MsgResultCancel;
    materialForms.Script(form.view.get()).index =
        m_materials.Materials().IndexOf(m_materials.Materials().FindMaterial(std::string_view("Rutile")));
    CRecordingFrame alone(m_materials, "another material's form");
    materialForms.Script(alone.view.get()).answer = MsgResultNo;
    const struct {
        std::deque<CScriptedPrompter::Answer> unknown;
        std::deque<int> unavailable;
        std::vector<int> selected;
    } roads[] = {
        {{{1, kCheckCreate, ""}, {2, kCheckNoAction, ""}}, {}, {1, 2, 4}}, // Cancel at the second name
        {{{1, kCheckMakeAlias, "Rutile"}, {kCheckSkipAllId, kCheckNoAction, ""}}, {}, {1, 2, 4}}, // Cancel in Rutile's form
        // Cancel at the unavailable material, after a name to create
        {{{1, kCheckCreate, ""}, {kCheckSkipId, kCheckNoAction, ""}, {kCheckSkipId, kCheckNoAction, ""}}, {2}, {1, 2, 3, 4}},
    };
    for (const auto& road : roads) {
        CScriptedPrompter prompter;
        prompter.unknown = road.unknown;
        prompter.unavailable = road.unavailable;
        CCheckIngredientsOptions options = Prompting();
        options.selectGlazes = 1;
        options.unavailable = road.unavailable.empty() ? 0 : 1;
        CCheckIngredients check(*m_doc, m_list);
        check.Run(options, prompter);
        EXPECT_TRUE(check.abandoned);
        EXPECT_EQ(m_materials.Materials().GetCount(), 5);
        EXPECT_TRUE(m_messages.boxes.empty());
        EXPECT_FALSE(m_doc->IsModified());
        // The glazes with problems are selected all the same.
        EXPECT_EQ(m_selection.rows, road.selected);
    }
    EXPECT_EQ(materialForms.Script(form.view.get()).asked, 1);
    EXPECT_EQ(materialForms.Script(alone.view.get()).asked, 0);
    EXPECT_TRUE(materialForms.Script(alone.view.get()).changed);
}

TEST_F(CheckIngredientsTest, TheDialogsRunTheCommand)
{
    WhenDialogShows<CCheckIngredientsDlg>([](CCheckIngredientsDlg& first) {
        EXPECT_EQ(first.windowTitle(), QStringLiteral("Check Ingredients"));
        EXPECT_TRUE(first.UnknownCheck()->isChecked());
        EXPECT_TRUE(first.ListCheck()->isChecked());
        EXPECT_FALSE(first.PromptCheck()->isChecked());
        EXPECT_EQ(first.ScopeGroup()->checkedId(), 1);
        EXPECT_EQ(OverlappingControls(first), std::vector<std::string>());
        first.ListCheck()->setChecked(false);
        first.PromptCheck()->setChecked(true);
        QTest::mouseClick(first.OkButton(), Qt::LeftButton);
        WhenDialogShows<CCheckIngredientsMapDlg>([](CCheckIngredientsMapDlg& map) {
            EXPECT_EQ(map.NameLabel()->text(), QStringLiteral("Red Iron Oxide"));
            SaveScreenshot(map, "CheckIngredientsMapDlg");
            QTest::mouseClick(map.CreateAllButton(), Qt::LeftButton);
        });
    });
    m_messages.answers = {MsgResultOk, MsgResultNo};
    int refills = 0;
    EXPECT_TRUE(RunCheckIngredients(*m_doc, m_list, nullptr, [&refills] { ++refills; }));
    EXPECT_EQ(m_materials.Materials().GetCount(), 8);
    EXPECT_EQ(refills, 1);
    EXPECT_EQ(g_prefs.m_nCheckIngrPrompt, 1);
    EXPECT_EQ(g_prefs.m_nCheckIngrListInfo, 0);
}

TEST_F(CheckIngredientsTest, TheUnknownIngredientDialogEnablesTheBoxOfItsChoice)
{
    CMaterial aliased(*m_materials.Materials().GetAt(0));
    aliased.m_akaNames.push_back("Flint");
    aliased.m_akaCodes.push_back("");
    m_materials.ReplaceMaterial(0, aliased);

    CCheckIngredientsMapDlg dialog;
    dialog.name = "Red Iron Oxide";
    dialog.choice = kCheckMakeAlias;
    dialog.InitDialog();
    EXPECT_TRUE(dialog.TargetCombo(kCheckMakeAlias)->isEnabled());
    EXPECT_FALSE(dialog.TargetCombo(kCheckChangeTo)->isEnabled());
    EXPECT_EQ(dialog.TargetCombo(kCheckChangeTo)->findText(QStringLiteral("Flint")), 5);
    EXPECT_EQ(dialog.TargetCombo(kCheckMakeAlias)->findText(QStringLiteral("Flint")), -1);
    GroupButton(dialog.ChoiceGroup(), kCheckCreate).click();
    EXPECT_FALSE(dialog.TargetCombo(kCheckMakeAlias)->isEnabled());
    GroupButton(dialog.ChoiceGroup(), kCheckChangeTo).click();
    EXPECT_TRUE(dialog.TargetCombo(kCheckChangeTo)->isEnabled());
    // The name can be typed as well as picked.
    QLineEdit* typed = dialog.TargetCombo(kCheckChangeTo)->lineEdit();
    ASSERT_NE(typed, nullptr);
    typed->clear();
    QTest::keyClicks(typed, "Flint");
    // Skip All takes the choice showing before it ends.
    QTest::mouseClick(dialog.SkipAllButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), kCheckSkipAllId);
    EXPECT_EQ(dialog.choice, kCheckChangeTo);
    EXPECT_EQ(dialog.target, "Flint");

    CCheckIngredientsSkipDlg skip;
    skip.name = "Rutile";
    skip.InitDialog();
    EXPECT_EQ(skip.NameLabel()->text(), QStringLiteral("Rutile"));
    QTest::mouseClick(skip.SkipButton(), Qt::LeftButton);
    EXPECT_EQ(skip.result(), kCheckSkipId);
}

TEST_F(CheckIngredientsTest, SkipAllKeepsTheAnswersGivenAndGoesOnToUnavailableMaterials)
{
    CScriptedPrompter prompter;
    prompter.unknown = {{1, kCheckCreate, ""}, {kCheckSkipAllId, kCheckNoAction, ""}};
    prompter.unavailable = {1};
    CCheckIngredientsOptions options = Prompting();
    options.unavailable = 1;
    m_messages.answers = {MsgResultOk, MsgResultNo};
    CCheckIngredients check(*m_doc, m_list);
    check.Run(options, prompter);
    EXPECT_FALSE(check.abandoned);
    EXPECT_EQ(prompter.asked.size(), 3u); // two unknown names, then the unavailable one
    ASSERT_FALSE(m_messages.boxes.empty());
    EXPECT_EQ(m_messages.At(0).text, "Summary of changes:\n"
                                        "  1 new material created\n"
                                        "  1 material made available\n");
    EXPECT_EQ(m_materials.Materials().GetCount(), 6);
}

// Every choice shows as it was given, and OK hands back each one the user turned over.
TEST_F(CheckIngredientsTest, TheDialogShowsTheChoicesItWasGivenAndKeepsTheOnesChanged)
{
    for (const int given : {1, 0}) {
        CCheckIngredientsDlg dialog;
        CCheckIngredientsOptions& options = dialog.options;
        options.allGlazes = options.unknown = options.unavailable = given;
        options.selectGlazes = options.listInformation = options.prompt = given;
        dialog.InitDialog();
        QCheckBox* const checks[] = {dialog.UnknownCheck(), dialog.UnavailableCheck(), dialog.SelectCheck(),
                                     dialog.ListCheck(), dialog.PromptCheck()};
        EXPECT_EQ(dialog.ScopeGroup()->checkedId(), given);
        for (QCheckBox* check : checks) {
            EXPECT_EQ(check->isChecked(), given != 0) << check->text().toStdString();
            check->setChecked(given == 0);
        }
        EXPECT_EQ(dialog.helpId, 375u) << "its help topic";
        GroupButton(dialog.ScopeGroup(), 1 - given).click();
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
        const int turned = 1 - given;
        EXPECT_EQ((std::vector<int>{options.allGlazes, options.unknown, options.unavailable, options.selectGlazes,
                                    options.listInformation, options.prompt}),
                  std::vector<int>(6, turned));
    }
}
