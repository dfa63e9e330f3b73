#include "materials/SelectMaterialDlg.h"

#include "ui/support/CheckedWidgets.h"
#include "materials/MaterialsDoc.h"
#include "shell/AppContext.h"
#include "shell/Preferences.h"
#include "support/DialogStyle.h"

#include <QFontMetrics>
#include <QListWidget>
#include <QTest>

#include <gtest/gtest.h>

TEST(SelectMaterialDlgTest, ListsDisplayKeysWithNothingSelected)
{
    CAppContext context;
    g_prefs.ApplyColorScheme();
    CMaterialsDoc doc;
    CMaterial silica("Silica");
    silica.m_code = "SIL";
    silica.UpdateDisplayKey();
    doc.InsertMaterial(0, silica);
    doc.InsertMaterial(1, CMaterial("Whiting"));

    CSelectMaterialDlg dialog(nullptr, 343);
    dialog.InitDialog();
    EXPECT_EQ(dialog.helpId, 343u);
    ASSERT_EQ(dialog.List()->count(), 2);
    EXPECT_EQ(ListRow(dialog.List(), 0).text(), QStringLiteral("SIL\tSilica"));
    EXPECT_EQ(ListRow(dialog.List(), 1).text(), QStringLiteral("\tWhiting"));
    // The names stand in one column past the codes, whether a code comes before them or not.
    const auto* columns = qobject_cast<const CTabStopDelegate*>(dialog.List()->itemDelegate());
    ASSERT_NE(columns, nullptr);
    const int code = QFontMetrics(dialog.List()->font()).horizontalAdvance(QStringLiteral("SIL"));
    EXPECT_EQ(columns->NextStop(code), columns->NextStop(0));
    EXPECT_GT(columns->NextStop(0), code);
    dialog.accept();
    EXPECT_EQ(dialog.selectedRow, -1) << "OK without a row chooses none";

    // A double click on a row is OK with that row.
    CSelectMaterialDlg pick(nullptr, 343);
    pick.show();
    QListWidget* list = pick.List();
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->count(), 2);
    const QPoint second = list->visualItemRect(list->item(1)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, second);
    EXPECT_EQ(pick.result(), QDialog::Accepted);
    EXPECT_EQ(pick.selectedRow, 1);
}
