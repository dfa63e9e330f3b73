#pragma once

// The whole program, started as a potter starts it on a private copy of the shipped databases
// (handed over as its data directory): every document template with its real windows, the main
// window and its menus. Message boxes and file dialogs are scripted. Menu entries are found by
// their captions along the menu bar and run as a click runs them: the menu is brought up to
// date first, and a disabled entry does not run.

#include "TestPaths.h"
#include "framework/Cp1252.h"
#include "framework/MdiFrame.h"
#include "glazes/GlazesDoc.h"
#include "glazes/GlazesView.h"
#include "shell/MainFrame.h"
#include "shell/OxidariumAppUi.h"
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
    ProgramFixture()
    {
        for (const char* name :
             {"elements.ele", "materials.mat", "glazes.glz", "substitutions.sub", "tarnell.lim", "graphtypes.grt"})
            CShellSandbox::CopyFile(std::string(OXI_SHIPPED_DATA_DIR) + "/" + name, m_box.dataDir + "/" + name);
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
        auto* doc = dynamic_cast<CGlazesDoc*>(g_pGlazesTemplate->OpenDocumentFile(m_box.dataDir + "/glazes.glz"));
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

    // Runs drive on the next modal dialog of type Dialog once it is up (exec() shows it).
    template <class Dialog>
    static void WhenDialogShows(std::function<void(Dialog&)> drive, int triesLeft = 200)
    {
        QTimer::singleShot(5, [drive = std::move(drive), triesLeft]() mutable {
            auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            if (dialog && dialog->isVisible()) {
                drive(*dialog);
                return;
            }
            if (triesLeft <= 0) {
                ADD_FAILURE() << "no dialog came up";
                if (QWidget* other = QApplication::activeModalWidget())
                    other->close();
                return;
            }
            WhenDialogShows<Dialog>(std::move(drive), triesLeft - 1);
        });
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

    static void SaveScreenshot(QWidget& widget, const char* name)
    {
        const QString folder = QString(OXI_BUILD_DIR) + "/screenshots";
        QDir().mkpath(folder);
        EXPECT_TRUE(widget.grab().save(folder + "/" + name + ".png"));
    }

    CShellSandbox m_box;
    COxidariumAppUi m_app;
    bool m_started = false;
};
