#pragma once

// The information pop-up: a small modeless window beside a chart that shows the text of a
// clicked chart element (a cell text or a graph's message text). Its owner (a graph view, a
// glaze edit page, the template editor) creates it once, sets caption and text on each click,
// and hands it the whole graph text as its full information. It sizes itself to the text.
// Ctrl+C copies the text to the clipboard, Ctrl+I to the Information window, Ctrl+F the full
// information to the Information window; the right button offers the same as a menu.
//
// Closing it emits Closed(this) and then deletes it: the owner drops its pointer on Closed.

#include <QDialog>
#include <QFont>
#include <QWidget>

#include <string>

class QAction;
class QMenu;

// The pop-up's text: drawn line by line (lines end with CR LF) on light grey, 5 pixels in from
// the left and top, in the preferences' edit-box font (or the system font).
class CInfoPopupText : public QWidget {
public:
    static constexpr int kMargin = 5;

    explicit CInfoPopupText(QWidget* parent = nullptr);

    void SetText(const std::string& text);
    const std::string& GetText() const { return m_text; }
    void SetUsePreferencesFont(bool use) { m_usePreferencesFont = use; }
    QFont TextFont() const;
    // The text's size: the widest line and the lines' heights (an empty line measured as one
    // blank), with the margins on both sides.
    QSize MeasureText() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::string m_text;
    bool m_usePreferencesFont = true;
};

class CInfoPopupDlg : public QDialog {
    Q_OBJECT

public:
    // Commands of the pop-up's keys and menu.
    enum Command : int {
        CmdCopyToClipboard = 33331,
        CmdCopyToInformation = 33332,
        CmdCopyFullInfo = 33333,
    };
    // The window and text sizes as laid out (the text never gets smaller, the border stays).
    static constexpr int kTemplateWidth = 170;
    static constexpr int kTemplateHeight = 50;
    static constexpr int kTemplateTextWidth = 160;
    static constexpr int kTemplateTextHeight = 40;

    // Creates and shows the window at once.
    explicit CInfoPopupDlg(QWidget* owner);

    // Sets the text, sizes the window to it and repaints.
    void ShowText(const std::string& text);
    void SetCaption(const std::string& text);
    void SetFullInfo(const std::string& text) { m_fullInfo = text; }
    const std::string& GetFullInfo() const { return m_fullInfo; }
    QWidget* GetOwner() const { return m_owner; }
    CInfoPopupText* TextControl() const { return m_textControl; }

    // Runs a command of the keys and menu.
    void OnCommand(int command);
    // The menu of the right button (also for the owner, at a position in the pop-up).
    void ShowContextMenu(const QPoint& clientPosition);
    // The menu with its three commands (the caller owns it).
    QMenu* CreateContextMenu();
    // Escape closes the window like its close button.
    void reject() override { close(); }

signals:
    void Closed(CInfoPopupDlg* popup);

protected:
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    CInfoPopupText* m_textControl;
    std::string m_fullInfo;
    QWidget* m_owner;
};
