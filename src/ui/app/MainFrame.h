#pragma once

// The program's main window: the workspace of document windows with the menus and a status bar.
//
// It remembers its placement in the profile ("PositionAndSize": the last normal rectangle and
// whether it was left minimised, normal or maximised) and opens there again, fitted wholly onto
// the screen it opens on at the present scale, its frame too. It opens glaze databases dropped on
// it, carries the Window menu's commands and shows in a status pane what the active window holds.

#include "framework/MdiFrame.h"

#include <QRect>

#include <string>

class QLabel;

// The frame of every document window. Views set their window's caption themselves.
using CNamedMDIChildWnd = CMDIChildFrame;

class CMainFrame : public CMDIMainFrame {
    Q_OBJECT

public:
    // Window states as the profile stores them.
    static constexpr int kStyleMinimized = -1;
    static constexpr int kStyleNormal = 0;
    static constexpr int kStyleMaximized = 1;

    // Reads the placement from the profile and places the window (not shown yet).
    explicit CMainFrame(QWidget* parent = nullptr);
    // Writes the placement to the profile.
    ~CMainFrame() override;

    // Shows the window in the state the profile gave: maximised, minimised or normal.
    void ShowInStoredState();

    // Opens each path that ends in ".glz" (any case) as a glaze database and announces it;
    // other files are ignored.
    void OpenDroppedFiles(const QStringList& paths);

    // What the document pane shows for the active window: the document's part (its kind and
    // record count, or the text caret) followed by the view's selection count.
    std::string DocumentPaneText() const;
    QLabel* DocumentPane() const { return m_documentPane; }

    // Lines up the minimised document windows along the bottom of the workspace.
    void ArrangeIcons();

    // The last normal window rectangle and the state (kStyle...).
    QRect Placement() const { return m_placement; }
    int Style() const { return m_nStyle; }

    bool OnCommand(unsigned id) override;
    bool OnUpdateCommand(CCmdUI& ui) override;

protected:
    void UpdateStatusPanes() override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void ReadPlacement();
    void WritePlacement() const;
    void TrackPlacement();
    void FitFrameOnScreen();
    void CreateStatusPanes();
    // Status prompts for the menu entries, and the main menu's inert Edit item disabled.
    void DecorateMenuBar();

    QRect m_placement{10, 10, 500, 400};
    int m_nStyle = kStyleNormal;
    // The frame the desktop puts around the window is still to be brought onto the screen.
    bool m_frameToFit = false;
    // It was, and the document windows are to stand inside the smaller workspace.
    bool m_windowsToFit = false;
    QLabel* m_documentPane = nullptr;
    QLabel* m_capsPane = nullptr;
    QLabel* m_numPane = nullptr;
    QMetaObject::Connection m_decorateConnection;
};
