#include "GlazeEditViewFixture.h"

#include "core/support/CheckedItems.h"
#include "glazes/GlazesView.h"
#include "support/MergeDlg.h"

#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include <fstream>

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

TEST_F(GlazesViewMergeTest, AppendingLeavesTheEditWindowsAndTheirEditsAlone)
{
    ASSERT_NE(OpenShipped(), nullptr);
    // The form is on the glaze whose name comes in: appended, it replaces nothing to ask about.
    CGlazeEditView* view = OpenEdit(1);
    GlazeForm::NotesEdit(view)->setPlainText(QStringLiteral("unsaved"));
    const int count = m_doc->GetGlazeCount();
    const std::string source = m_dir.path().toStdString() + "/incoming.glz";
    std::ofstream(source, std::ios::binary) << "filetype = Oxidarium Glazes\nversion =  2\n\ndbname  = In\n\n"
                                               "name   = " << Found(m_doc->GetGlaze(1)).m_name << "\n";
    m_dialogs.AnswerPath(source);
    WhenModal<CMergeDlg>([](CMergeDlg* dialog) {
        ASSERT_EQ(dialog->List()->count(), 1);
        EXPECT_TRUE(dialog->List()->item(0)->text().startsWith(QLatin1Char('*'))) << "a name the database holds";
        dialog->AppendAllRadio()->setChecked(true);
        dialog->SelectAllButton()->click();
        dialog->OkButton()->click();
    });
    ASSERT_TRUE(ListView()->RunCommand(CmdGlzMerge));
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{});
    ASSERT_EQ(m_doc->GetGlazeCount(), count + 1);
    EXPECT_EQ(Found(m_doc->GetGlaze(count)).m_name, Found(m_doc->GetGlaze(1)).m_name)
        << "a glaze of the same name is appended";
    ASSERT_EQ(CountViews<CGlazeEditView>(), 1);
    EXPECT_EQ(GlazeForm::NotesEdit(view)->toPlainText(), QStringLiteral("unsaved"));
}
