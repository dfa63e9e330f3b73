#pragma once

// The whole program, started as a potter starts it on a private copy of the shipped databases
// (handed over as its data directory): every document template with its real windows, the main
// window and its menus. Message boxes and file dialogs are scripted. Menu entries are found by
// their captions along the menu bar and run as a click runs them: the menu is brought up to
// date first, and a disabled entry does not run.

#include "TestPaths.h"
#include "ui/support/ModalDialogTest.h"
#include "framework/Cp1252.h"
#include "framework/MdiFrame.h"
#include "glazes/GlazesDoc.h"
#include "glazes/GlazesView.h"
#include "app/MainFrame.h"
#include "app/OxidariumAppUi.h"
#include "textfile/Information.h"
#include "textfile/TextFileDoc.h"
#include "textfile/TextFileViewBase.h"
#include "ui/shell/ShellSandbox.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QStringList>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <string>

class ProgramFixture : public ::testing::Test {
protected:
    // materials: a materials database to start with in place of the shipped one.
    explicit ProgramFixture(const std::string& materials = std::string())
    {
        for (const char* name :
             {"elements.ele", "materials.mat", "glazes.glz", "substitutions.sub", "tarnell.lim", "graphtypes.grt"})
            CShellSandbox::CopyFile(std::string(OXI_SHIPPED_DATA_DIR) + "/" + name, m_box.dataDir + "/" + name);
        if (!materials.empty())
            CShellSandbox::CopyFile(materials, m_box.dataDir + "/materials.mat");
        CShellSandbox::WriteFile(m_box.programDir + "/datalocation.txt", m_box.dataDir + "\n");
        m_app.SetProgramDir(m_box.programDir);
        m_started = m_app.InitInstance();
        m_app.CloseSplash();
        m_box.messages.boxes.clear();
    }
    ~ProgramFixture() override
    {
        m_app.ExitInstance();
        CShellSandbox::FlushEvents();
    }

    CMainFrame& Frame() const { return *m_app.MainFrame(); }

    // The shipped glaze database, opened and its window made the active one.
    CGlazesDoc* OpenShippedGlazes()
    {
        if (!g_pGlazesTemplate)
            return nullptr;
        auto* doc = dynamic_cast<CGlazesDoc*>(g_pGlazesTemplate->OpenDocumentFile(m_box.dataDir + "/glazes.glz"));
        // The tests reach the ten glazes by their places: a database that opened short is none.
        if (doc && doc->GetGlazeCount() != 10) {
            ADD_FAILURE() << "the shipped glazes opened with " << doc->GetGlazeCount() << " glazes, not 10";
            return nullptr;
        }
        if (doc)
            Activate(ListOf(doc));
        return doc;
    }
    static CGlazesView* ListOf(const CGlazesDoc* doc)
    {
        return doc ? dynamic_cast<CGlazesView*>(doc->GetListView()) : nullptr;
    }
    void Activate(CView* view)
    {
        if (view && view->GetFrame())
            view->GetFrame()->ActivateFrame();
        QApplication::processEvents();
    }
    static void Select(CGlazesView& list, std::initializer_list<int> rows)
    {
        list.DeselectAll();
        for (int row : rows)
            list.SelectGlaze(row);
    }

    // The entry at the end of a path of captions ("&Utilities", "&Blend", "&Line Blend..."),
    // with every menu on the way brought up to date as opening it would; null when missing.
    QAction* MenuEntry(const QStringList& path) const
    {
        QList<QAction*> actions = Frame().menuBar()->actions();
        QAction* found = nullptr;
        for (const QString& caption : path) {
            found = nullptr;
            for (QAction* action : actions) {
                if (action->text() == caption)
                    found = action;
            }
            if (!found)
                return nullptr;
            if (QMenu* menu = found->menu()) {
                emit menu->aboutToShow();
                actions = menu->actions();
            }
        }
        return found;
    }
    bool IsEnabled(const QStringList& path) const
    {
        QAction* action = MenuEntry(path);
        EXPECT_NE(action, nullptr) << path.join(" > ").toStdString();
        return action && action->isEnabled();
    }
    // Clicks the entry; false (and nothing runs) when it is missing or disabled.
    bool Choose(const QStringList& path) const
    {
        QAction* action = MenuEntry(path);
        if (!action || !action->isEnabled())
            return false;
        action->trigger();
        return true;
    }


    // The Information window's text, one "\n" after each line.
    static std::string Information()
    {
        CTextFileDoc* information = g_pInformationDoc;
        CTextFileViewBase* view = information ? information->GetTextView() : nullptr;
        if (!view)
            return std::string();
        CStringArrayEx lines;
        view->ReadLines(lines, false, true);
        std::string text;
        for (const std::string& line : lines)
            text += line + "\n";
        return text;
    }


    CShellSandbox m_box;
    COxidariumAppUi m_app;
    bool m_started = false;
};
