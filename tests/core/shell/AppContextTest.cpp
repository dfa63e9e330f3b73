#include "shell/AppContext.h"

#include "shell/Preferences.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

std::vector<std::string> s_events;

void RecordEvent(const char* name, bool created)
{
    s_events.push_back(std::string(created ? "create " : "destroy ") + name);
}

class AppContextTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        s_events.clear();
        CAppContext::SetLifecycleObserver(&RecordEvent);
    }
    void TearDown() override { CAppContext::SetLifecycleObserver(nullptr); }
};

} // namespace

TEST_F(AppContextTest, CreatesStoredCopyFirstAndDestroysInReverse)
{
    ASSERT_FALSE(CAppContext::IsActive());
    {
        CAppContext context;
        EXPECT_TRUE(context.OwnsGlobals());
        EXPECT_TRUE(CAppContext::IsActive());
        EXPECT_THAT(s_events, ElementsAre("create g_savedPrefs", "create g_prefs", "create g_materialClipboard",
                                              "create g_substitutionClipboard", "create g_glazeClipboard",
                                              "create g_limitFormulaClipboard", "create g_graphTemplateClipboard"));

        EXPECT_NE(&g_prefs, &g_savedPrefs);
        EXPECT_EQ(g_prefs.glztyp.size(), 65u);
        EXPECT_EQ(g_savedPrefs.mattab, "K Na Ca Mg Ba Zn Pb B Al Si Zr LOI");
        s_events.clear();
    }
    EXPECT_THAT(s_events, ElementsAre("destroy g_graphTemplateClipboard", "destroy g_limitFormulaClipboard",
                                      "destroy g_glazeClipboard", "destroy g_substitutionClipboard",
                                      "destroy g_materialClipboard", "destroy g_prefs", "destroy g_savedPrefs"));
    EXPECT_FALSE(CAppContext::IsActive());
}

TEST_F(AppContextTest, EveryContextStartsFromFreshDefaults)
{
    {
        CAppContext context;
        g_prefs.decrecipe = 9;
        g_prefs.glzrng.push_back("Cone 10");
        g_savedPrefs.m_strFilePath = "/data/prefs.dat";
    }
    CAppContext context;
    EXPECT_EQ(g_prefs.decrecipe, 2);
    EXPECT_TRUE(g_prefs.glzrng.empty());
    EXPECT_TRUE(g_savedPrefs.m_strFilePath.empty());
}

TEST_F(AppContextTest, InnerContextLeavesTheGlobalsAlone)
{
    CAppContext outer;
    g_prefs.m_nBlendPointsAB = 7;
    s_events.clear();
    {
        CAppContext inner;
        EXPECT_FALSE(inner.OwnsGlobals());
    }
    EXPECT_THAT(s_events, IsEmpty());
    EXPECT_TRUE(CAppContext::IsActive());
    EXPECT_EQ(g_prefs.m_nBlendPointsAB, 7);
}
