#pragma once

// A new database of one record kind opened in its list window inside a main frame, holding the
// records the test names, with a temporary profile and scripted message boxes and file dialogs.
//
// Kind gives the document and record types (Doc, Record), the list template's resource id and
// document string (kList, kDocString), the type of the kind's edit windows the test keeps
// (EditViews, made by MakeEditViews before the list template) and Install(list, editViews),
// which installs both; an optional Uninstall() runs first when the test ends.

#include "records/RecordListView.h"

#include "core/framework/FakeFileDialogs.h"
#include "core/support/CheckedItems.h"
#include "core/shell/FakeMessageService.h"
#include "framework/DocTemplate.h"
#include "framework/MdiFrame.h"
#include "shell/AppContext.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"
#include "support/MergeDlg.h"
#include "support/Profile.h"

#include <QApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

// Takes every option of the merge dialog that is up: all records, replacing those of the same name.
inline void ReplaceAllWhenMerging()
{
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<CMergeDlg*>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "the merge dialog is not showing";
            if (QWidget* other = QApplication::activeModalWidget())
                other->close();
            return;
        }
        dialog->SelectAllButton()->click();
        dialog->ReplaceExistingRadio()->setChecked(true);
        dialog->accept();
    });
}

template <class Kind>
class RecordWindowsFixture : public ::testing::Test {
protected:
    using Doc = typename Kind::Doc;
    using Record = typename Kind::Record;

    RecordWindowsFixture(int frameWidth, int frameHeight, std::initializer_list<const char*> names)
    {
        SetProfile(&profile);
        g_prefs.ApplyColorScheme();
        Kind::Install(listTemplate, editViews);
        frame.resize(frameWidth, frameHeight);
        frame.show();
        doc = dynamic_cast<Doc*>(listTemplate.OpenDocumentFile(std::string()));
        view = doc ? dynamic_cast<CRecordListView*>(ItemAt(doc->GetViews(), 0)) : nullptr;
        if (!view)
            return; // SetUp reports it
        int index = 0;
        for (const char* name : names) {
            if (index == 0)
                doc->SetRecord(0, Record(name));
            else
                doc->InsertRecord(index, Record(name));
            ++index;
        }
        view->FillList(0, -1, true);
    }
    ~RecordWindowsFixture() override
    {
        if constexpr (requires { Kind::Uninstall(); })
            Kind::Uninstall();
        SetProfile(nullptr);
    }

    // A database that did not open in its list window stops each test here.
    void SetUp() override
    {
        ASSERT_NE(doc, nullptr);
        ASSERT_NE(view, nullptr);
    }

    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (int i = 0; i < doc->GetRecordCount(); ++i)
            names.push_back(doc->GetRecordName(i));
        return names;
    }
    // Selects rows in the list (and nothing else) and carries out command id there.
    bool Run(unsigned id, std::initializer_list<int> rows)
    {
        view->SetSel(-1, false);
        for (int row : rows)
            view->SetSel(row, true);
        return view->RunCommand(id);
    }
    const CRecordListCommands& Commands() const { return view->ListKind().commands; }

    QTemporaryDir dir;
    CProfile profile{dir.path().toStdString() + "/Oxidarium.ini"};
    CAppContext context;
    CFakeMessageService messages;
    CFakeFileDialogs dialogs;
    COxidariumApp app;
    typename Kind::EditViews editViews{Kind::MakeEditViews()};
    CDocTemplate listTemplate{Kind::kList, Kind::kDocString, [] { return std::make_unique<Doc>(); }};
    CMDIMainFrame frame;
    Doc* doc = nullptr;
    CRecordListView* view = nullptr; // the kind's list window
};
