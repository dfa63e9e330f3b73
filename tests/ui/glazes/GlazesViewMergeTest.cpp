#include "GlazeEditViewFixture.h"

#include "glazes/GlazesView.h"

namespace {

class GlazesViewMergeTest : public GlazeEditViewFixture {};

} // namespace

TEST_F(GlazesViewMergeTest, AFileThatCannotBeOpenedIsNamedOnceAndNothingChanges)
{
    ASSERT_NE(OpenShipped(), nullptr);
    const int count = m_doc->GetGlazeCount();
    const std::string path = m_dir.path().toStdString() + "/missing.glz";
    m_dialogs.AnswerPath(path);
    ASSERT_TRUE(ListView()->RunCommand(CmdGlzMerge));
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{"Unable to merge file " + path}));
    EXPECT_EQ(m_doc->GetGlazeCount(), count);
    EXPECT_FALSE(m_doc->IsModified());
}
