#pragma once

// What every dialog of the program shares: a background of a named colour, Help through the "?"
// button and F1, Enter that does not close the dialog, a one-time initialisation when the dialog
// first appears, and placement of controls in dialog units (so layouts follow the dialog font).
// Also the delegate that lines up tab-separated list rows at tab stops.

#include "shell/NamedColors.h"

#include <QDialog>
#include <QStyledItemDelegate>

#include <string>
#include <vector>

class QAbstractButton;
class QPushButton;
class QWidget;

// The control id of every dialog's Help button.
inline constexpr int kHelpButtonId = 4200;

QColor ToQColor(const CColor& color);

// Opens a help topic through the application object (or straight through the message service
// when no application object exists).
void ShowDialogHelp(unsigned helpId);

// The edit-box font of the preferences ("edboxfont"), or fallback while no preferences exist.
QFont EditBoxFont(const QFont& fallback);

// Dialog units of a font: horizontal units are a quarter of the average width of the letters,
// vertical units an eighth of the font height.
class CDialogUnits {
public:
    explicit CDialogUnits(const QFont& font);
    int X(int units) const;
    int Y(int units) const;
    QRect Rect(int x, int y, int width, int height) const;

private:
    int m_baseX;
    int m_baseY;
};

class CStyledDialog : public QDialog {
    Q_OBJECT

public:
    CStyledDialog(QWidget* parent, unsigned helpId);

    // Runs OnInitDialog once. Showing the dialog does it; tests may call it to drive the
    // controls without showing the dialog.
    void InitDialog();
    bool IsInitialized() const { return m_initialized; }

    // Help context of the dialog's "?" button and of F1.
    unsigned helpId;
    // The background; callers may change it before the dialog is shown.
    CColor backgroundColor;

protected:
    // Builds and loads the controls; called once, before the dialog first appears.
    virtual void OnInitDialog() {}
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

    // Places a control at a rectangle given in dialog units.
    void PlaceDlu(QWidget* control, int x, int y, int width, int height) const;
    // Sets the dialog's client size in dialog units.
    void ResizeDlu(int width, int height);
    // A push button with a control id (its object name) placed in dialog units.
    QPushButton* AddButton(const QString& text, int id, int x, int y, int width, int height);
    // The "?" button wired to help.
    QPushButton* AddHelpButton(int x, int y, int width, int height);
    // Gives a control its control id as object name.
    static void SetControlId(QWidget* control, int id);

    void OnHelp();

private:
    void ApplyBackground();
    void KeepEnterFromClosing();

    bool m_initialized = false;
};

// Paints list rows whose fields are separated by tabs, each field starting at the next tab stop
// (pixels from the row's text start). Past the last stop, stops repeat at the last interval.
class CTabStopDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    explicit CTabStopDelegate(QObject* parent = nullptr) : QStyledItemDelegate(parent) {}

    void SetTabStops(std::vector<int> stops) { m_stops = std::move(stops); }
    const std::vector<int>& TabStops() const { return m_stops; }
    // The x offset at which the field after a tab starts, for text that reached x so far.
    int NextStop(int x) const;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    std::vector<int> m_stops;
};

// Tab stops given in dialog units, as pixels for the font.
std::vector<int> TabStopsFromDlu(const QFont& font, const std::vector<int>& units);
